// The RC4 stream cipher: key scheduling over every key byte, no keystream dropped.
#pragma once

#include <string>
#include <string_view>

namespace veltra {

// data combined with the keystream of key; the same call encrypts and decrypts.
// An empty key leaves the data unchanged.
std::string Rc4(std::string_view key, std::string_view data);

}  // namespace veltra
