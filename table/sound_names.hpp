// The names the game plays sounds by, and the wave resource behind each.
// Pure, so the engine side and its tests can use it without Qt.
#pragma once

#include <array>
#include <string_view>

namespace corvane {

// The wave resource number for a sound name, or 0 for a name the game does
// not know. Names are compared exactly: case and spaces matter.
int SoundResourceNumber(std::string_view sName);

// The resource numbers that hold sounds, ascending; each one has a file.
inline constexpr std::array<int, 13> kSoundResources = {101, 102, 103, 104, 106, 107, 108,
                                                        109, 111, 112, 113, 114, 115};

} // namespace corvane
