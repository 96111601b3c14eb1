#include "sound_names.hpp"

#include <array>
#include <utility>

namespace corvane {

int SoundResourceNumber(std::string_view sName) {
    // A wrong card and the forced Seven share one warning sound.
    static constexpr std::array<std::pair<std::string_view, int>, 14> kTable{{
        {"WRONGCRD", 101},
        {"MUSTPLAY", 101},
        {"PLAYCARD", 102},
        {"PAYPOT", 103},
        {"OTH_PLAYERS", 104},
        {"USERWON", 106},
        {"OTHWON", 107},
        {"SOUNDON", 108},
        {"SOUNDOFF", 109},
        {"HIGHSCORE", 111},
        {"OVERPLAYER1", 112},
        {"OVERPLAYER2", 113},
        {"OVERPLAYER3", 114},
        {"OVERPOT", 115},
    }};
    for (const auto& [sKnown, nResource] : kTable) {
        if (sKnown == sName) {
            return nResource;
        }
    }
    return 0;
}

} // namespace corvane
