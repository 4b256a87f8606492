// Hexadecimal conversions.
#include "server/hex_text.h"

#include "base/text_integer.h"

namespace veltra {
namespace {

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'z') return c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string BytesToHex(std::string_view bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        hex.push_back(kDigits[b >> 4]);
        hex.push_back(kDigits[b & 0x0F]);
    }
    return hex;
}

std::string HexToBytes(std::string_view hex) {
    std::string bytes;
    bytes.reserve(hex.size() / 2 + 1);
    for (size_t i = 0; i < hex.size(); i += 2) {
        bytes.push_back(static_cast<char>(ParseNumber(hex.substr(i, 2), kBase16) & 0xFF));
    }
    return bytes;
}

std::optional<std::string> HexToBytesStrict(std::string_view hex) {
    if (hex.size() % 2 != 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(hex.size() / 2);
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = DigitValue(hex[i]);
        const int low = DigitValue(hex[i + 1]);
        if (high < 0 || high > 15 || low < 0 || low > 15) return std::nullopt;
        bytes.push_back(static_cast<char>(high * 16 + low));
    }
    return bytes;
}

int64_t ParseNumber(std::string_view digits, int baseCode) {
    int base = 10;
    switch (baseCode) {
        case kBase16:
            base = 16;
            break;
        case kBase8:
            base = 8;
            break;
        case kBase2:
            base = 2;
            break;
        default:
            return IntegerOfText(digits);
    }
    uint64_t value = 0;
    uint64_t weight = 1;
    for (size_t k = digits.size(); k-- > 0;) {
        const int digit = DigitValue(digits[k]);
        if (digit >= 0 && digit < base) value += static_cast<uint64_t>(digit) * weight;
        weight *= static_cast<uint64_t>(base);
    }
    return static_cast<int64_t>(value);
}

}  // namespace veltra
