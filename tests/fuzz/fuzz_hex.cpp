// Hexadecimal texts as they arrive in replies: the lenient and the strict reader, the
// numbers of digit texts in every base, and the round trip through BytesToHex.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "server/hex_text.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace veltra;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const std::string lenient = HexToBytes(text);
    FUZZ_CHECK(lenient.size() == (size + 1) / 2);

    const std::optional<std::string> strict = HexToBytesStrict(text);
    if (strict) {
        FUZZ_CHECK(*strict == lenient);
        std::string upper(text);
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        FUZZ_CHECK(BytesToHex(*strict) == upper);
    }

    // Any bytes survive the way out and back.
    const std::string hex = BytesToHex(text);
    FUZZ_CHECK(hex.size() == 2 * size);
    FUZZ_CHECK(HexToBytes(hex) == text);
    FUZZ_CHECK(HexToBytesStrict(hex) == std::optional<std::string>(std::string(text)));

    // The four base codes, and one that is none of them.
    for (const int base : {0, 1, 2, 3, 7}) ParseNumber(text, base);
    return 0;
}
