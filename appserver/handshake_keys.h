// Handshake keys derived from a server secret and a time window, so the server keeps
// no state per client and instances sharing the secret accept each other's keys.
// Thread-safe.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>
#include <string>

namespace veltra {

class HandshakeKeys {
  public:
    // windowSeconds >= 1: a key issued at any moment stays accepted for at least one
    // whole window and at most two.
    explicit HandshakeKeys(std::string secret, int windowSeconds = 300);

    // The key handed out at `now`: 16 lower-case hexadecimal digits.
    std::string KeyAt(int64_t now) const;
    // The keys a request is accepted with at `now`: the current window's, then the
    // previous one's.
    std::array<std::string, 2> AcceptedAt(int64_t now) const;

  private:
    std::string KeyOfWindow(int64_t window) const;
    int64_t WindowOf(int64_t now) const;

    std::string secret;
    int windowSeconds;
    // The keys of the last two windows asked for: every request needs one.
    mutable std::mutex cacheMutex;
    mutable std::array<int64_t, 2> cachedWindows = {INT64_MIN, INT64_MIN};
    mutable std::array<std::string, 2> cachedKeys;
};

}  // namespace veltra
