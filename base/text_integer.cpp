// Leading-integer parsing without exceptions or locale dependence.
#include "base/text_integer.h"

#include <limits>

namespace veltra {

int64_t IntegerOfText(std::string_view text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    // Accumulate as a negative number so that INT64_MIN is reachable.
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    int64_t value = 0;
    bool saturated = false;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        const int digit = text[i] - '0';
        if (value < (kMin + digit) / 10) {
            saturated = true;
            value = kMin;
            continue;
        }
        value = value * 10 - digit;
    }
    if (negative) return value;
    if (saturated || value == kMin) return std::numeric_limits<int64_t>::max();
    return -value;
}

int32_t Int32OfText(std::string_view text) {
    return WrapInt32(IntegerOfText(text));
}

}  // namespace veltra
