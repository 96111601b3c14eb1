// Everything the table window keeps about the game in play. The window owns one
// of these for the whole run; the engine's procedures read and write it.
#pragma once

#include "cards.hpp"
#include "mglobal.hpp"
#include "program_port.hpp"
#include "table_port.hpp"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

// Colours of a seat's turn marker, as &HBBGGRR numbers.
inline constexpr std::uint32_t kMarkerWaiting = 0xFF80FF; // pink
inline constexpr std::uint32_t kMarkerMoving = 0x00FFFF;  // yellow

// Layout of the user's fanned hand and the size of a card, in twips.
inline constexpr int kHandTop = 5100;
inline constexpr int kCardSpacing = 360;
inline constexpr int kCardWidthTwips = 1070;
inline constexpr int kCardHeightTwips = 1430;

// Money rules, in dollars.
inline constexpr int kStartingFunds = 200;
inline constexpr int kAnte = 5;
inline constexpr int kPayThePot = 5;
inline constexpr int kPerCardLeft = 5;
inline constexpr int kHandsPerGame = 4;
inline constexpr int kHighScore = 500;

// Timer ticks an opponent's move is held on the table before the next seat moves.
inline constexpr int kPauseTicks = 20;

// One move of a hand: seat nSeat laid nCard, or paid the pot when nCard is -1
// (it held no legal card then), with the table as it was before the move.
struct HandMove {
    int nSeat = 0;
    int nCard = -1;
    std::uint64_t nTableMask = 0;
};

struct GameState {
    std::array<int, 52> Deck{};
    std::vector<int> LeftHand;
    std::vector<int> TopHand;
    std::vector<int> RightHand;
    std::vector<int> UserHand;
    // Each seat's cards as a set, one bit per card, kept in step with its hand:
    // the legal cards are read from it with a few shifts on every turn.
    std::array<std::uint64_t, 4> nHandMask{};
    // Every card on the table, in the order played until it is sorted descending.
    std::vector<int> CardsPlayed;
    int nCardsPlayed = 0;
    // The cards of CardsPlayed as a set, one bit per card; the turns read the row
    // ends from it many times a round, so it is kept in step rather than rebuilt.
    std::uint64_t nTableMask = 0;
    // The table as it was when CardsPlayed was last in descending order; while it
    // matches no sort is needed, and a card laid below every other keeps it so.
    std::uint64_t nSortedMask = 0;
    // Every move of the hand so far, in order, as the user saw them; the coach
    // reads from it what each seat may hold.
    std::vector<HandMove> Moves;
    // The user's legal cards this turn, in the order the hints use.
    CardList UserPlayable;
    // An opponent's candidates during its turn; empty outside it.
    CardList DownCards;
    CardList UpCards;
    std::array<TopTenRec, 11> TopTen{};

    bool bSevenHeartsPlayed = false;
    bool bHandOver = false;
    bool bGameOver = false;
    int nHandLeft = 0;
    int nHandTop = 0;
    int nCardSpacing = 0;
    float sngMouseX = 0;
    float sngMouseY = 0;
    bool bUserCanPlay = false;
    int nDelay = 0;
    bool bDelayDone = false;
    bool bUserTurn = false;
    int nHand = 0;  // 0..3 within the game
    int nLevel = 0; // shown as nLevel + 1
    std::array<int, 4> nFunds{};
    int nPot = 0;
    // Each seat's cards-left count, as its panel shows it: 13 at the deal.
    std::array<int, 4> nCardsLeft{13, 13, 13, 13};
    // What each seat's last-card box shows: a card, kNoLastCard or kPaidThePot.
    std::array<int, 4> nLastCard{kNoLastCard, kNoLastCard, kNoLastCard, kNoLastCard};
    // The answer box of the modal dialogs.
    DialogAnswer UserTag = DialogAnswer::None;

    // Puts exactly these cards on the table (for setting up positions).
    void SetCardsPlayed(std::vector<int> Cards);
    // Gives seat nSeat exactly these cards, in this order (for setting up positions).
    void SetHand(int nSeat, std::vector<int> Cards);

    // The hand of seat nSeat: 0 left, 1 top, 2 right, 3 the user.
    std::vector<int>& Hand(int nSeat) {
        return nSeat == 0 ? LeftHand : nSeat == 1 ? TopHand : nSeat == 2 ? RightHand : UserHand;
    }
    const std::vector<int>& Hand(int nSeat) const {
        return nSeat == 0 ? LeftHand : nSeat == 1 ? TopHand : nSeat == 2 ? RightHand : UserHand;
    }
};

// Whether the user may lay nCard now: the Seven of Hearts before it opens the
// hand, afterwards a card of UserPlayable.
bool IsUserCardLegal(const GameState& s, int nCard);

} // namespace corvane
