// The database key, derived from the password once per run for each file.
//
// The file's cipher turns the password into the real key with PBKDF2-HMAC-SHA1
// (64000 rounds, the 16-byte salt at the start of the file). That costs tens of
// milliseconds on every open, far more than any of the game's jobs, so the cache
// does the same derivation once per salt and opens the file with the raw key and
// its salt. The file itself is unchanged: the password still opens it anywhere.
#pragma once

#include <array>
#include <map>
#include <string>

namespace corvane {

// The password of the game database.
inline constexpr const char* kDBPassword = "qzvtrko";

using Salt = std::array<unsigned char, 16>;

class KeyCache {
public:
    // Disabled, every open hands the password to the cipher, which derives anew.
    explicit KeyCache(bool bEnabled = true) : bEnabled_(bEnabled) {}

    bool Enabled() const { return bEnabled_; }
    // The raw key form x'<key hex><salt hex>' for a file with this salt.
    const std::string& RawKey(const Salt& salt);
    // How many derivations were made (to show that a file is keyed once).
    int Derivations() const { return nDerivations_; }

private:
    bool bEnabled_;
    int nDerivations_ = 0;
    std::map<Salt, std::string> keys_;
};

} // namespace corvane
