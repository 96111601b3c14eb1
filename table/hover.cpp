#include "hover.hpp"

#include <cmath>

namespace corvane {
namespace {

// The inner edges of the corner frames, in twips.
constexpr double kLeftEdge = 1815;  // right edge of the left frames
constexpr double kRightEdge = 7800; // left edge of the right frames
constexpr double kUpperEdge = 2505; // lower edge of the upper frames
constexpr double kLowerEdge = 4200; // upper edge of the lower frames

bool EnteredPot(double x, double y, double px, double py) {
    return (x <= kLeftEdge && px > kLeftEdge && y >= kUpperEdge && y <= kLowerEdge) ||
           (y >= kUpperEdge && py < kUpperEdge && x <= kLeftEdge) ||
           (y <= kLowerEdge && py > kLowerEdge && x <= kLeftEdge);
}

bool EnteredSeat0(double x, double y, double px, double py) {
    return (x <= kLeftEdge && px > kLeftEdge && y >= kLowerEdge) ||
           (y >= kLowerEdge && py < kLowerEdge && x <= kLeftEdge);
}

bool EnteredSeat1(double x, double y, double px, double py) {
    return (x <= kLeftEdge && px > kLeftEdge && y <= kUpperEdge) ||
           (y <= kUpperEdge && py > kUpperEdge && x <= kLeftEdge);
}

bool EnteredSeat2(double x, double y, double px, double py) {
    return (x >= kRightEdge && px < kRightEdge && y <= kUpperEdge) ||
           (y <= kUpperEdge && py > kUpperEdge && x >= kRightEdge);
}

} // namespace

HoverZone EnteredZone(double x, double y, int nLastX, int nLastY, bool bAnimals) {
    const auto px = static_cast<double>(nLastX);
    const auto py = static_cast<double>(nLastY);
    if (EnteredPot(x, y, px, py)) {
        return HoverZone::Pot;
    }
    if (!bAnimals) {
        return HoverZone::None;
    }
    if (EnteredSeat0(x, y, px, py)) {
        return HoverZone::Seat0;
    }
    if (EnteredSeat1(x, y, px, py)) {
        return HoverZone::Seat1;
    }
    if (EnteredSeat2(x, y, px, py)) {
        return HoverZone::Seat2;
    }
    return HoverZone::None;
}

Sound HoverSound(HoverZone zone) {
    switch (zone) {
    case HoverZone::Seat0:
        return Sound::OverPlayer1;
    case HoverZone::Seat1:
        return Sound::OverPlayer2;
    case HoverZone::Seat2:
        return Sound::OverPlayer3;
    case HoverZone::Pot:
    case HoverZone::None:
        break;
    }
    return Sound::OverPot;
}

int RoundHalfEven(double v) {
    // The default rounding mode of the floating-point unit rounds halves to even.
    return static_cast<int>(std::nearbyint(v));
}

} // namespace corvane
