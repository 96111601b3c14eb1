// A computer seat's turn, the same for all three seats.
#include "opponents/opponent_turn.hpp"

#include "engine/cards.hpp"
#include "opponents/strategies.hpp"

#include <cstddef>

namespace corvane {
namespace {

int IndexOf(const std::vector<int>& Cards, int nCard) {
    // Every place is looked at, from the last: where a card sits in a hand is as
    // good as random, so an early way out would mostly be mispredicted.
    int nIndex = -1;
    for (auto i = static_cast<int>(Cards.size()); i-- > 0;) {
        nIndex = Cards[static_cast<std::size_t>(i)] == nCard ? i : nIndex;
    }
    return nIndex;
}

} // namespace

void Opponents::PlayerTurn(Game& game, int nSeat) {
    GameState& s = game.State();
    std::vector<int>& hand = s.Hand(nSeat);

    game.SetPlayerFill(nSeat, kMarkerMoving);
    s.DownCards.clear();
    s.UpCards.clear();

    if (!s.bSevenHeartsPlayed) {
        // Before the hand is opened a seat without the Seven of Hearts just waits.
        if ((s.nHandMask[nSeat] & CardBit(kSevenOfHearts)) != 0) {
            game.FlyCard(nSeat, kSevenOfHearts);
            game.LayCard(nSeat, IndexOf(hand, kSevenOfHearts));
            game.PlaySoundRes(Sound::OtherPlayers);
            s.bSevenHeartsPlayed = true;
        }
    } else {
        const std::uint64_t nHand = s.nHandMask[nSeat];
        CollectCandidatesFromMask(nHand, s.nTableMask, s.DownCards, s.UpCards);
        const int nDown = static_cast<int>(s.DownCards.size());
        const int nUp = static_cast<int>(s.UpCards.size());
        if (nDown == 0 && nUp == 0) {
            // Paying ends the turn at once: no sound and no pause.
            game.PayThePot(nSeat);
            return;
        }
        const int nCard = ChooseCard(game, nSeat, nDown, nUp);
        game.FlyCard(nSeat, nCard);
        game.LayCard(nSeat, IndexOf(hand, nCard));
        game.PlaySoundRes(Sound::OtherPlayers);
    }

    game.Pause();
    game.SetPlayerFill(nSeat, kMarkerWaiting);
}

int Opponents::ChooseCard(Game& game, int nSeat, int nDown, int nUp) {
    GameState& s = game.State();
    const std::uint64_t nHand = s.nHandMask[nSeat];
    const RandomSource rnd{game.Globals().lSeed, game.GameClock()};
    switch (game.Globals().nSkillLevel) {
    case 2:
        return GetBestHardCardFromMask(nHand, nDown, nUp, s.DownCards, s.UpCards, rnd);
    case 1:
        return GetBestMediumCardFromMask(nHand, nDown, nUp, s.DownCards, s.UpCards, rnd);
    default:
        return GetBestEasyCardFromMask(nHand, nDown, nUp, s.DownCards, s.UpCards, rnd);
    }
}

} // namespace corvane
