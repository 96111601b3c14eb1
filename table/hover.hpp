// Which corner of the table the pointer has just moved into, for the hover
// sounds. Pure, in twips, so the edge cases can be checked without a window.
#pragma once

#include "engine/sound.hpp"

namespace corvane {

// The corners that answer to the pointer; the user's own corner has none.
enum class HoverZone { None, Pot, Seat0, Seat1, Seat2 };

// The zone entered by a move from the stored position (nLastX, nLastY) to
// (x, y), or None. A zone counts as entered only when the move crosses one of
// its inner edges; the pot strip wins over the seats, and the seats answer
// only with bAnimals.
HoverZone EnteredZone(double x, double y, int nLastX, int nLastY, bool bAnimals);

// The sound a zone other than None plays.
Sound HoverSound(HoverZone zone);

// The position stored for the next move: the nearest whole twip, halves to even.
int RoundHalfEven(double v);

} // namespace corvane
