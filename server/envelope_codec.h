// The two-layer RC4 envelope of the application server protocol, both directions:
// the client seals requests and opens data; the local application server opens
// requests and seals data. The keys live here only, so both sides always agree.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace veltra {

// The fixed envelope key, joined at run time from its pieces.
std::string EnvelopeKey();

// The data key of a call: its rand times the fixed factor, in plain decimal digits.
std::string DataKeyText(int64_t rand);

// Client: the escaped request text under the envelope key, hex, under the handshake
// key, hex (upper case).
std::string EncryptRequest(std::string_view escapedRequest, std::string_view handshakeKey);

// Server: undoes EncryptRequest; nullopt when either layer is not hexadecimal text.
std::optional<std::string> DecryptRequest(std::string_view hexBody, std::string_view handshakeKey);

// Server: the handshake key under the envelope key, as hex text.
std::string SealHandshakeKey(std::string_view handshakeKey);

// Client: the handshake key from the hex text of a handshake reply (lenient hex),
// cut at the first zero byte.
std::string OpenHandshakeKey(std::string_view hexData);

// Server: an encrypted data member: the payload's UTF-8 bytes under the data key,
// hex, under the envelope key, hex.
std::string SealData(std::string_view payloadUtf8, int64_t rand);

// Client: the payload bytes of an encrypted data member (lenient hex, as received).
std::string OpenData(std::string_view hexData, int64_t rand);

}  // namespace veltra
