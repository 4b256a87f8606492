// RC4 through OpenSSL's EVP interface. OpenSSL 3 keeps RC4 in the legacy provider;
// loading it switches the implicit default provider off, so both are loaded once.
#include "server/rc4_cipher.h"

#include <openssl/evp.h>
#include <openssl/provider.h>

#include <memory>

namespace veltra {
namespace {

const EVP_CIPHER* Rc4Cipher() {
    static const EVP_CIPHER* cipher = [] {
        OSSL_PROVIDER_load(nullptr, "legacy");
        OSSL_PROVIDER_load(nullptr, "default");
        return EVP_CIPHER_fetch(nullptr, "RC4", nullptr);
    }();
    return cipher;
}

}  // namespace

std::string Rc4(std::string_view key, std::string_view data) {
    if (key.empty() || data.empty()) return std::string(data);
    const EVP_CIPHER* cipher = Rc4Cipher();
    if (cipher == nullptr) return {};
    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> ctx(EVP_CIPHER_CTX_new(),
                                                                        &EVP_CIPHER_CTX_free);
    if (!ctx || EVP_EncryptInit_ex2(ctx.get(), cipher, nullptr, nullptr, nullptr) != 1) return {};
    if (EVP_CIPHER_CTX_set_key_length(ctx.get(), static_cast<int>(key.size())) != 1) return {};
    const auto* keyBytes = reinterpret_cast<const unsigned char*>(key.data());
    if (EVP_EncryptInit_ex2(ctx.get(), nullptr, keyBytes, nullptr, nullptr) != 1) return {};
    std::string out(data.size(), '\0');
    int written = 0;
    // RC4 keeps the length, so the whole input is processed in one update.
    if (EVP_EncryptUpdate(ctx.get(), reinterpret_cast<unsigned char*>(out.data()), &written,
                          reinterpret_cast<const unsigned char*>(data.data()),
                          static_cast<int>(data.size())) != 1) {
        return {};
    }
    out.resize(static_cast<size_t>(written));
    return out;
}

}  // namespace veltra
