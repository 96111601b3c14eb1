#include "window_icon_sizes.hpp"

#include <array>

namespace corvane {

namespace {

#if defined(_WIN32)
// The shell's large views show the 256-px icon.
constexpr std::array kSizes{16, 24, 32, 48, 64, 128, 256};
#else
// An X11 window is sent no icon above 128 px.
constexpr std::array kSizes{16, 24, 32, 48, 64, 128};
#endif

} // namespace

std::span<const int> WindowIconSizes() {
    return kSizes;
}

} // namespace corvane
