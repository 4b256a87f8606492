// The PCRE2 wrapper.
#include "base/regex.h"

#include <pcre2.h>

namespace veltra {
namespace {

pcre2_code* Code(const std::shared_ptr<void>& code) {
    return static_cast<pcre2_code*>(code.get());
}

}  // namespace

const std::string& RegexMatch::Group(size_t index) const {
    static const std::string kEmpty;
    return index < groups.size() ? groups[index] : kEmpty;
}

Regex::Regex(std::string_view pattern) {
    int error = 0;
    PCRE2_SIZE errorOffset = 0;
    pcre2_code* compiled =
        pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(),
                      PCRE2_UTF | PCRE2_MATCH_INVALID_UTF, &error, &errorOffset, nullptr);
    if (compiled != nullptr) {
        code = std::shared_ptr<void>(compiled,
                                     [](void* p) { pcre2_code_free(static_cast<pcre2_code*>(p)); });
    }
}

std::optional<RegexMatch> Regex::Match(std::string_view text, size_t start,
                                       unsigned options) const {
    if (!code || start > text.size()) return std::nullopt;
    pcre2_code* compiled = Code(code);
    std::unique_ptr<pcre2_match_data, decltype(&pcre2_match_data_free)> data(
        pcre2_match_data_create_from_pattern(compiled, nullptr), &pcre2_match_data_free);
    if (!data) return std::nullopt;
    const int rc = pcre2_match(compiled, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(),
                               start, options, data.get(), nullptr);
    if (rc <= 0) return std::nullopt;
    const PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(data.get());
    const uint32_t pairs = pcre2_get_ovector_count(data.get());
    RegexMatch match;
    match.offset = ovector[0];
    match.length = ovector[1] - ovector[0];
    match.groups.reserve(pairs);
    for (uint32_t i = 0; i < pairs; ++i) {
        const PCRE2_SIZE from = ovector[2 * i];
        const PCRE2_SIZE to = ovector[2 * i + 1];
        if (i >= static_cast<uint32_t>(rc) || from == PCRE2_UNSET || to < from) {
            match.groups.emplace_back();
        } else {
            match.groups.emplace_back(text.substr(from, to - from));
        }
    }
    return match;
}

std::optional<RegexMatch> Regex::FirstMatch(std::string_view text, size_t start) const {
    return Match(text, start, 0);
}

std::vector<RegexMatch> Regex::AllMatches(std::string_view text) const {
    std::vector<RegexMatch> matches;
    size_t start = 0;
    while (start <= text.size()) {
        std::optional<RegexMatch> m = Match(text, start, 0);
        if (!m) break;
        size_t next = m->offset + m->length;
        if (m->length == 0) {
            // An empty match: step over one whole character before searching again.
            next = m->offset + 1;
            while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80)
                ++next;
        }
        matches.push_back(std::move(*m));
        start = next;
    }
    return matches;
}

std::optional<RegexMatch> Regex::WholeMatch(std::string_view text) const {
    return Match(text, 0, PCRE2_ANCHORED | PCRE2_ENDANCHORED);
}

}  // namespace veltra
