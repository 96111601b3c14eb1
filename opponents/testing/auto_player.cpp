// Computer play for the user's seat, through the user's own actions.
#include "opponents/testing/auto_player.hpp"

#include "engine/cards.hpp"
#include "opponents/strategies.hpp"

#include <algorithm>

namespace corvane::testing {

std::optional<SeatStrategy> ParseSeatStrategy(const std::string& sName) {
    if (sName == "Easy") {
        return SeatStrategy::Easy;
    }
    if (sName == "Medium") {
        return SeatStrategy::Medium;
    }
    if (sName == "Hard") {
        return SeatStrategy::Hard;
    }
    if (sName == "Random") {
        return SeatStrategy::Random;
    }
    return std::nullopt;
}

const char* SeatStrategyName(SeatStrategy strategy) {
    switch (strategy) {
    case SeatStrategy::Easy:
        return "Easy";
    case SeatStrategy::Medium:
        return "Medium";
    case SeatStrategy::Hard:
        return "Hard";
    case SeatStrategy::Random:
        break;
    }
    return "Random";
}

int AutoPlayer::ChooseCard(Game& game) {
    GameState& s = game.State();
    if (!s.bSevenHeartsPlayed) {
        return kSevenOfHearts;
    }
    if (strategy_ == SeatStrategy::Random) {
        std::uniform_int_distribution<std::size_t> pick(0, s.UserPlayable.size() - 1);
        return s.UserPlayable[pick(rng_)];
    }
    // The same candidate lists an opponent builds, from the user's hand.
    const std::uint64_t hand = s.nHandMask[kUserSeat];
    CardList& DownCards = DownCards_;
    CardList& UpCards = UpCards_;
    CollectCandidatesFromMask(hand, s.nTableMask, DownCards, UpCards);
    const int nDown = static_cast<int>(DownCards.size());
    const int nUp = static_cast<int>(UpCards.size());
    const RandomSource rnd{game.Globals().lSeed, game.GameClock()};
    switch (strategy_) {
    case SeatStrategy::Hard:
        return GetBestHardCardFromMask(hand, nDown, nUp, DownCards, UpCards, rnd);
    case SeatStrategy::Medium:
        return GetBestMediumCardFromMask(hand, nDown, nUp, DownCards, UpCards, rnd);
    default:
        return GetBestEasyCardFromMask(hand, nDown, nUp, DownCards, UpCards, rnd);
    }
}

void ClickUserCard(Game& game, int nCard) {
    const GameState& s = game.State();
    const auto it = std::find(s.UserHand.begin(), s.UserHand.end(), nCard);
    const auto nIndex = static_cast<int>(it - s.UserHand.begin());
    game.Form_MouseDown(static_cast<float>(s.nHandLeft + nIndex * s.nCardSpacing + 100),
                        static_cast<float>(s.nHandTop + 700));
    game.Form_Click();
}

bool AutoPlayer::Move(Game& game) {
    return MakeUserMove(game, [this](Game& g) { return ChooseCard(g); });
}

void PerSeatOpponents::PlayerTurn(Game& game, int nSeat) {
    game.Globals().nSkillLevel = levels_[nSeat];
    opponents_.PlayerTurn(game, nSeat);
}

} // namespace corvane::testing
