// Reading a seat's knowledge off the game, and its legal choices.
#include "coach/position.hpp"

#include "engine/cards.hpp"

namespace corvane::coach {

Position PositionFromGame(const GameState& s, int nSeat, const std::array<int, 4>& Levels,
                          std::int32_t lSeed) {
    Position pos;
    pos.nSeat = nSeat;
    // A seat's last card stays in its list after it is laid; the count decides.
    pos.nHandMask = CardMask(s.Hand(nSeat)) & ~s.nTableMask;
    pos.nTableMask = s.nTableMask;
    pos.bSevenHeartsPlayed = s.bSevenHeartsPlayed;
    pos.nCardsLeft = s.nCardsLeft;
    pos.Moves = s.Moves;
    pos.nFunds = s.nFunds;
    pos.nPot = s.nPot;
    pos.nHand = s.nHand;
    pos.Levels = Levels;
    pos.lSeed = lSeed;
    return pos;
}

std::vector<int> LegalChoices(const Position& pos) {
    std::vector<int> choices;
    if (!pos.bSevenHeartsPlayed) {
        if (InMask(pos.nHandMask, kSevenOfHearts)) {
            choices.push_back(kSevenOfHearts);
        }
        return choices;
    }
    const auto add = [&choices](int c) { choices.push_back(c); };
    ForEachRowCard(pos.nTableMask, pos.nHandMask, add, add);
    for (int c = 24; c <= 27; ++c) {
        if (InMask(pos.nHandMask, c)) {
            choices.push_back(c);
        }
    }
    if (choices.empty()) {
        choices.push_back(kPayThePot);
    }
    return choices;
}

std::uint64_t OpenCards(std::uint64_t nTableMask) {
    std::uint64_t nOpen = 0;
    const auto add = [&nOpen](int c) { nOpen |= CardBit(c); };
    ForEachRowCard(nTableMask, kDeckMask, add, add);
    for (int c = 24; c <= 27; ++c) {
        if (!InMask(nTableMask, c)) {
            nOpen |= std::uint64_t{1} << c;
        }
    }
    return nOpen;
}

std::uint64_t ForbiddenCards(const Position& pos, int nSeat) {
    std::uint64_t nForbidden = 0;
    for (const HandMove& m : pos.Moves) {
        if (m.nSeat == nSeat && m.nCard < 0) {
            nForbidden |= OpenCards(m.nTableMask);
        }
    }
    return nForbidden;
}

} // namespace corvane::coach
