// Keys are the first half of MD5(secret, window number).
#include "appserver/handshake_keys.h"

#include <algorithm>

#include "base/md5_hex.h"

namespace veltra {

HandshakeKeys::HandshakeKeys(std::string secret, int windowSeconds)
    : secret(std::move(secret)), windowSeconds(std::max(1, windowSeconds)) {}

int64_t HandshakeKeys::WindowOf(int64_t now) const {
    return now / windowSeconds - (now % windowSeconds < 0 ? 1 : 0);
}

std::string HandshakeKeys::KeyOfWindow(int64_t window) const {
    std::lock_guard<std::mutex> lock(cacheMutex);
    for (size_t i = 0; i < cachedWindows.size(); ++i) {
        if (cachedWindows[i] == window) return cachedKeys[i];
    }
    const size_t slot = window % 2 == 0 ? 0 : 1;
    cachedWindows[slot] = window;
    cachedKeys[slot] = Md5Hex(secret + "|" + std::to_string(window)).substr(0, 16);
    return cachedKeys[slot];
}

std::string HandshakeKeys::KeyAt(int64_t now) const {
    return KeyOfWindow(WindowOf(now));
}

std::array<std::string, 2> HandshakeKeys::AcceptedAt(int64_t now) const {
    const int64_t window = WindowOf(now);
    return {KeyOfWindow(window), KeyOfWindow(window - 1)};
}

}  // namespace veltra
