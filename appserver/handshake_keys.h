// Handshake keys derived from a server secret and a time window, so the server keeps
// no state per client and instances sharing the secret accept each other's keys.
#pragma once

#include <array>
#include <cstdint>
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

    std::string secret;
    int windowSeconds;
};

}  // namespace veltra
