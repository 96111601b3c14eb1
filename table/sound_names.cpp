#include "sound_names.hpp"

#include <cstddef>

namespace corvane {

int SoundResourceNumber(Sound sound) {
    // In the order of the Sound enumerators, each with its name in the
    // resources. A wrong card and the forced Seven share one warning sound.
    static constexpr std::array<int, 14> kTable{
        101, // WRONGCRD
        101, // MUSTPLAY
        102, // PLAYCARD
        103, // PAYPOT
        104, // OTH_PLAYERS
        106, // USERWON
        107, // OTHWON
        108, // SOUNDON
        109, // SOUNDOFF
        111, // HIGHSCORE
        112, // OVERPLAYER1
        113, // OVERPLAYER2
        114, // OVERPLAYER3
        115, // OVERPOT
    };
    return kTable.at(static_cast<std::size_t>(sound));
}

} // namespace corvane
