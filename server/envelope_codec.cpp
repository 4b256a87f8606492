// Envelope keys and the two RC4 layers.
#include "server/envelope_codec.h"

#include <array>

#include "server/hex_text.h"
#include "server/rc4_cipher.h"

namespace veltra {
namespace {

// Multiplies every call's rand into its data key.
constexpr int64_t kDataKeyFactor = 918273645;

}  // namespace

std::string EnvelopeKey() {
    // Six numbers alternating with five letter groups; never stored whole.
    const std::array<int, 6> numbers = {37, 5, 208, 61, 4, 93};
    const std::array<const char*, 5> letters = {"vq", "k", "zt", "m", "hx"};
    std::string key;
    for (size_t i = 0; i < numbers.size(); ++i) {
        key += std::to_string(numbers[i]);
        if (i < letters.size()) key += letters[i];
    }
    return key;
}

std::string DataKeyText(int64_t rand) {
    return std::to_string(rand * kDataKeyFactor);
}

std::string EncryptRequest(std::string_view escapedRequest, std::string_view handshakeKey) {
    const std::string inner = BytesToHex(Rc4(EnvelopeKey(), escapedRequest));
    return BytesToHex(Rc4(handshakeKey, inner));
}

std::optional<std::string> DecryptRequest(std::string_view hexBody, std::string_view handshakeKey) {
    const std::optional<std::string> outer = HexToBytesStrict(hexBody);
    if (!outer) return std::nullopt;
    const std::optional<std::string> inner = HexToBytesStrict(Rc4(handshakeKey, *outer));
    if (!inner) return std::nullopt;
    return Rc4(EnvelopeKey(), *inner);
}

std::string SealHandshakeKey(std::string_view handshakeKey) {
    return BytesToHex(Rc4(EnvelopeKey(), handshakeKey));
}

std::string OpenHandshakeKey(std::string_view hexData) {
    std::string key = Rc4(EnvelopeKey(), HexToBytes(hexData));
    const size_t zero = key.find('\0');
    if (zero != std::string::npos) key.resize(zero);
    return key;
}

std::string SealData(std::string_view payloadUtf8, int64_t rand) {
    const std::string inner = BytesToHex(Rc4(DataKeyText(rand), payloadUtf8));
    return BytesToHex(Rc4(EnvelopeKey(), inner));
}

std::string OpenData(std::string_view hexData, int64_t rand) {
    const std::string inner = Rc4(EnvelopeKey(), HexToBytes(hexData));
    return Rc4(DataKeyText(rand), HexToBytes(inner));
}

}  // namespace veltra
