// The database key, derived from the password once per run for each file.
//
// The file's cipher turns the password into the real key with PBKDF2-HMAC-SHA1
// (64000 rounds, the 16-byte salt at the start of the file). That costs tens of
// milliseconds on every open, far more than any of the game's jobs, so the cache
// does the same derivation once per salt and opens the file with the raw key and
// its salt. The file itself is unchanged: the password still opens it anywhere.
//
// The program starts the derivation on a worker thread at launch, so the cache
// may be asked from two threads at once: a key being derived is waited for, not
// derived twice.
#pragma once

#include <array>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace corvane {

// The password of the game database.
inline constexpr const char* kDBPassword = "qzvtrko";

using Salt = std::array<unsigned char, 16>;

// Starts the crypto library for the key and the cipher alone: the system-wide
// configuration and the error texts it would otherwise load cost half a
// megabyte and are never used here. Safe from any thread; the first call counts.
void StartCrypto();

class KeyCache {
public:
    // Disabled, every open hands the password to the cipher, which derives anew.
    explicit KeyCache(bool bEnabled = true) : bEnabled_(bEnabled) {}
    // Waits for a derivation started ahead.
    ~KeyCache();
    // A copy has the keys derived so far (a process forked for a test keeps its parent's).
    KeyCache(const KeyCache& other);
    KeyCache& operator=(const KeyCache& other);
    KeyCache(KeyCache&&) = delete;
    KeyCache& operator=(KeyCache&&) = delete;

    bool Enabled() const { return bEnabled_; }
    // The raw key form x'<key hex><salt hex>' for a file with this salt.
    const std::string& RawKey(const Salt& salt);
    // Starts deriving the key for this salt on a worker thread, so that the first
    // open finds it ready. Nothing when disabled.
    void DeriveAhead(const Salt& salt);
    // How many derivations were made (to show that a file is keyed once).
    int Derivations() const;

private:
    bool bEnabled_;
    mutable std::mutex m_;
    std::condition_variable derived_;
    int nDerivations_ = 0;
    std::map<Salt, std::string> keys_;
    std::set<Salt> pending_; // being derived by some thread
    std::thread worker_;
};

} // namespace corvane
