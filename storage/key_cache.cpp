// PBKDF2 through OpenSSL's libcrypto, the library the cipher itself uses.
#include "key_cache.hpp"

#include <cstring>
#include <stdexcept>
#include <string_view>

#include <openssl/evp.h>

namespace corvane {

namespace {

constexpr int kKdfIterations = 64000;
constexpr int kKeyBytes = 32;

template <std::size_t N>
void AppendHex(std::string& s, const std::array<unsigned char, N>& bytes) {
    constexpr std::string_view kHex = "0123456789ABCDEF";
    for (const unsigned char b : bytes) {
        s += kHex[b >> 4];
        s += kHex[b & 0x0F];
    }
}

} // namespace

const std::string& KeyCache::RawKey(const Salt& salt) {
    const auto it = keys_.find(salt);
    if (it != keys_.end()) {
        return it->second;
    }
    std::array<unsigned char, kKeyBytes> key{};
    if (PKCS5_PBKDF2_HMAC_SHA1(kDBPassword, static_cast<int>(std::strlen(kDBPassword)), salt.data(),
                               static_cast<int>(salt.size()), kKdfIterations, kKeyBytes,
                               key.data()) != 1) {
        throw std::runtime_error("key derivation failed");
    }
    ++nDerivations_;
    std::string sRaw = "x'";
    AppendHex(sRaw, key);
    AppendHex(sRaw, salt);
    sRaw += "'";
    return keys_.emplace(salt, std::move(sRaw)).first->second;
}

} // namespace corvane
