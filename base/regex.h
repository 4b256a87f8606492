// Perl-compatible regular expressions (PCRE2) in UTF-8 mode: compile once, then
// first match, all matches, whole-text match, with capture groups.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace veltra {

struct RegexMatch {
    size_t offset = 0;                // byte offset of the whole match in the subject
    size_t length = 0;                // byte length of the whole match
    std::vector<std::string> groups;  // [0] the whole match, then each group ("" when unset)

    const std::string& Group(size_t index) const;
};

class Regex {
  public:
    // Compiles the pattern in UTF mode; characters, not bytes, are the units, and
    // a subject that is not valid UTF-8 simply finds no match there.
    explicit Regex(std::string_view pattern);

    // False when the pattern did not compile; every search then finds nothing.
    bool IsValid() const { return code != nullptr; }

    // The first match at or after byte offset start.
    std::optional<RegexMatch> FirstMatch(std::string_view text, size_t start = 0) const;
    // Every non-overlapping match, left to right.
    std::vector<RegexMatch> AllMatches(std::string_view text) const;
    // A match covering the whole text, or nothing.
    std::optional<RegexMatch> WholeMatch(std::string_view text) const;

  private:
    std::optional<RegexMatch> Match(std::string_view text, size_t start, unsigned options) const;

    std::shared_ptr<void> code;  // pcre2_code_8, shared by copies
};

}  // namespace veltra
