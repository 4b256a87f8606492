// Character-set conversion through glibc's iconv.
#include "base/gbk_text.h"

#include <iconv.h>

#include <cerrno>
#include <vector>

namespace veltra {
namespace {

struct Conversion {
    std::string output;
    bool complete = false;  // every input byte converted
};

Conversion Convert(std::string_view input, const char* to, const char* from, bool skipBad) {
    Conversion result;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return result;
    std::vector<char> buffer(input.size() * 2 + 16);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    bool failed = false;
    while (inLeft > 0) {
        char* out = buffer.data();
        size_t outLeft = buffer.size();
        const size_t rc = iconv(cd, &in, &inLeft, &out, &outLeft);
        result.output.append(buffer.data(), buffer.size() - outLeft);
        if (rc != static_cast<size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        failed = true;
        if (!skipBad || inLeft == 0) break;
        // Drop one offending byte and go on (EILSEQ), or stop at a truncated tail.
        if (errno == EINVAL) break;
        ++in;
        --inLeft;
    }
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    iconv_close(cd);
    result.complete = !failed && inLeft == 0;
    return result;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) {
    Conversion c = Convert(utf8, "GBK", "UTF-8", false);
    if (!c.complete) return std::nullopt;
    return std::move(c.output);
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) {
    Conversion c = Convert(gbk, "UTF-8", "GBK", false);
    if (!c.complete) return std::nullopt;
    return std::move(c.output);
}

std::string Utf8ToGbkLossy(std::string_view utf8) {
    return Convert(utf8, "GBK", "UTF-8", true).output;
}

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        size_t len;
        uint32_t cp;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + len > n) return false;
        for (size_t k = 1; k < len; ++k) {
            const auto cc = static_cast<unsigned char>(bytes[i + k]);
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
        if ((len == 2 && cp < 0x80) || (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000) ||
            cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += len;
    }
    return true;
}

}  // namespace veltra
