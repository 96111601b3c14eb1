// PBKDF2 through OpenSSL's libcrypto, the library the cipher itself uses.
#include "key_cache.hpp"

#include "db.hpp"
#include "engine_library.hpp"

#include <cstring>
#include <stdexcept>
#include <string_view>

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

// The raw key for a salt, or an empty string when the library fails.
std::string Derive(const Salt& salt) {
    const db::EngineLibrary* pEngine = nullptr;
    try {
        pEngine = &db::Engine();
    } catch (const db::DbError&) {
        return {}; // the open that needs the key reports the missing library
    }
    StartCrypto();
    std::array<unsigned char, kKeyBytes> key{};
    if (pEngine->pPbkdf2(kDBPassword, static_cast<int>(std::strlen(kDBPassword)), salt.data(),
                         static_cast<int>(salt.size()), kKdfIterations, kKeyBytes,
                         key.data()) != 1) {
        return {};
    }
    std::string sRaw = "x'";
    AppendHex(sRaw, key);
    AppendHex(sRaw, salt);
    sRaw += "'";
    return sRaw;
}

} // namespace

void StartCrypto() {
    db::Engine().pInitCrypto(OPENSSL_INIT_NO_LOAD_CONFIG | OPENSSL_INIT_NO_LOAD_CRYPTO_STRINGS,
                             nullptr);
}

KeyCache::~KeyCache() {
    if (worker_.joinable()) {
        worker_.join();
    }
}

KeyCache::KeyCache(const KeyCache& other) : KeyCache(other.Enabled()) {
    *this = other;
}

KeyCache& KeyCache::operator=(const KeyCache& other) {
    if (this != &other) {
        const std::scoped_lock lock(m_, other.m_);
        bEnabled_ = other.bEnabled_;
        nDerivations_ = other.nDerivations_;
        keys_ = other.keys_;
    }
    return *this;
}

int KeyCache::Derivations() const {
    const std::lock_guard lock(m_);
    return nDerivations_;
}

const std::string& KeyCache::RawKey(const Salt& salt) {
    std::unique_lock lock(m_);
    derived_.wait(lock, [&] { return !pending_.contains(salt); });
    if (const auto it = keys_.find(salt); it != keys_.end()) {
        return it->second;
    }
    // The lock is not held while deriving: opens of other files go on meanwhile.
    pending_.insert(salt);
    lock.unlock();
    std::string sRaw = Derive(salt);
    lock.lock();
    pending_.erase(salt);
    derived_.notify_all();
    if (sRaw.empty()) {
        throw std::runtime_error("key derivation failed");
    }
    ++nDerivations_;
    return keys_.emplace(salt, std::move(sRaw)).first->second;
}

void KeyCache::DeriveAhead(const Salt& salt) {
    if (!bEnabled_) {
        return;
    }
    if (worker_.joinable()) {
        worker_.join();
    }
    worker_ = std::thread([this, salt] {
        try {
            RawKey(salt);
        } catch (const std::runtime_error&) {
            // The open that needs the key derives it again and reports the failure.
        }
    });
}

} // namespace corvane
