// The wave resource behind each sound of the game. Pure, so the engine side
// and its tests can use it without Qt.
#pragma once

#include "engine/sound.hpp"

#include <array>

namespace corvane {

// The wave resource number that plays for a sound.
int SoundResourceNumber(Sound sound);

// The resource numbers that hold sounds, ascending; each one has a file.
inline constexpr std::array<int, 13> kSoundResources = {101, 102, 103, 104, 106, 107, 108,
                                                        109, 111, 112, 113, 114, 115};

} // namespace corvane
