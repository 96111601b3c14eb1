// The sizes of a window's icon that the window system takes from a program.
#pragma once

#include <span>

namespace corvane {

// Pixel sizes (square), smallest first; drawing a larger one would only be held.
std::span<const int> WindowIconSizes();

} // namespace corvane
