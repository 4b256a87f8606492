// Keys are the first half of MD5(secret, window number).
#include "appserver/handshake_keys.h"

#include <algorithm>

#include "base/md5_hex.h"

namespace veltra {

HandshakeKeys::HandshakeKeys(std::string secret, int windowSeconds)
    : secret(std::move(secret)), windowSeconds(std::max(1, windowSeconds)) {}

std::string HandshakeKeys::KeyOfWindow(int64_t window) const {
    return Md5Hex(secret + "|" + std::to_string(window)).substr(0, 16);
}

std::string HandshakeKeys::KeyAt(int64_t now) const {
    const int64_t window = now / windowSeconds - (now % windowSeconds < 0 ? 1 : 0);
    return KeyOfWindow(window);
}

std::array<std::string, 2> HandshakeKeys::AcceptedAt(int64_t now) const {
    const int64_t window = now / windowSeconds - (now % windowSeconds < 0 ? 1 : 0);
    return {KeyOfWindow(window), KeyOfWindow(window - 1)};
}

}  // namespace veltra
