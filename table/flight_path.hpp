// The positions an opponent's card passes through on its way to the table:
// 5-pixel steps (at 15 twips a pixel) from the seat's side along the card's
// row or column, then one last step exactly onto its place. Pure, in twips.
#pragma once

#include "engine/twips.hpp"

#include <vector>

namespace corvane {

struct TwipsPoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TwipsPoint&, const TwipsPoint&) = default;
};

inline constexpr int kFlightStepPixels = 5;

// Seat 0 comes in from the left edge, seat 1 from the top edge, seat 2 from
// just beyond the right edge of a table nTableWidth twips wide, so that every
// flight is in sight from its first steps whatever the screen and wherever the
// window stands. The last point is the card's place in the rows. Empty for
// another seat or a number that is not a card.
std::vector<TwipsPoint> FlightPath(int nSeat, int nCard, int nTableWidth);

// The real wait before each step, in microseconds, for the animation-speed
// setting: none at 0 (or below), about a second across the table at 80000.
long long FlightStepMicroseconds(long lAnimSpeed);

} // namespace corvane
