// Playouts through the real engine. Changes to the engine's port or state touch
// this file only.
#include "coach/headless_game.hpp"

#include "engine/cards.hpp"
#include "engine/testing/null_ports.hpp"
#include "opponents/strategies.hpp"

#include <algorithm>
#include <bit>

namespace corvane::coach {

// Nothing is shown or asked during a playout: the engine leaves out the calls
// that only show the play, and a pause, should one come, ends at once.
class HeadlessGame::SilentPort final : public testing::NullTablePort,
                                       public testing::NullProgramPort,
                                       public Clock {
public:
    Game* pGame = nullptr;

    bool ShowsPlay() const override { return false; }

    void WaitForPause() override {
        pGame->State().nDelay = 0;
        pGame->State().bDelayDone = true;
    }
    // The playout is the last hand of its game and ends with no answer: the base
    // answers the game-over dialogs with none.

    // The generator is never left at 0, so the clock is never read for a seed.
    std::uint32_t TickCount() override { return 1; }
    Date Now() override { return Date{}; }
};

// The real opponents with a level per seat; the advised seat's first move is
// given, and when it sits left of the turn the seats before it have moved already.
class HeadlessGame::SeatTurns final : public Opponents {
public:
    std::array<int, 4> Levels{};
    int nFirstSeat = 0;
    int nFirstCard = kPayThePot;
    bool bFirstPending = false;

    void PlayerTurn(Game& game, int nSeat) override {
        if (bFirstPending && nSeat < nFirstSeat) {
            return;
        }
        Opponents::PlayerTurn(game, nSeat);
        if (nSeat == nFirstSeat) {
            bFirstPending = false;
        }
    }

protected:
    int ChooseCard(Game& game, int nSeat, int nDown, int nUp) override {
        if (bFirstPending && nSeat == nFirstSeat) {
            return nFirstCard;
        }
        game.Globals().nSkillLevel = Levels[nSeat];
        return Opponents::ChooseCard(game, nSeat, nDown, nUp);
    }
};

namespace {

// Highest first: the order the table keeps its cards in, so they count as sorted.
std::vector<int> CardsOf(std::uint64_t nMask) {
    std::vector<int> cards;
    cards.reserve(static_cast<std::size_t>(std::popcount(nMask)));
    for (; nMask != 0; nMask &= ~(std::uint64_t{1} << (63 - std::countl_zero(nMask)))) {
        cards.push_back(63 - std::countl_zero(nMask));
    }
    return cards;
}

} // namespace

HeadlessGame::HeadlessGame()
    : pPort_(std::make_unique<SilentPort>()), pTurns_(std::make_unique<SeatTurns>()),
      pGame_(std::make_unique<Game>(g_, *pPort_, *pPort_, *pPort_, *pTurns_)) {
    pPort_->pGame = pGame_.get();
    g_.sUserName = "User";
    g_.sLeftName = "Left";
    g_.sTopName = "Top";
    g_.sRightName = "Right";
}

HeadlessGame::~HeadlessGame() = default;

void HeadlessGame::SetUp(const Position& pos, const std::array<std::uint64_t, 4>& hands,
                         std::int32_t lSeed) {
    GameState& s = pGame_->State();
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        s.SetHand(nSeat, CardsOf(hands[nSeat]));
    }
    s.SetCardsPlayed(CardsOf(pos.nTableMask));
    s.Moves.clear();
    s.nCardsLeft = pos.nCardsLeft;
    s.nFunds = pos.nFunds;
    s.nPot = pos.nPot;
    s.bSevenHeartsPlayed = pos.bSevenHeartsPlayed;
    s.bHandOver = false;
    s.bGameOver = false;
    s.bUserTurn = false;
    s.nHand = kHandsPerGame - 1;
    s.UserTag = DialogAnswer::None;
    g_.lSeed = lSeed;
    g_.bUserWon = false;
    pTurns_->Levels = pos.Levels;
}

PlayoutResult HeadlessGame::Play(const Position& pos, const std::array<std::uint64_t, 4>& hands,
                                 int nChoice, std::int32_t lSeed) {
    SetUp(pos, hands, lSeed);
    GameState& s = pGame_->State();
    pTurns_->nFirstSeat = pos.nSeat;
    pTurns_->nFirstCard = nChoice;
    pTurns_->bFirstPending = pos.nSeat != kUserSeat;
    if (pos.nSeat == kUserSeat) {
        s.bUserCanPlay = !s.bSevenHeartsPlayed || pGame_->CanUserPlay();
        s.bUserTurn = true;
        pGame_->DrawUserHand();
        UserMove(nChoice);
    } else {
        pGame_->PlayCards();
        if (!s.bHandOver) {
            s.bUserCanPlay = pGame_->CanUserPlay();
            s.bUserTurn = true;
            pGame_->DrawUserHand();
        }
    }
    // Someone can always lay a card, so a hand ends within 52 rounds of moves; the
    // bound only guards against a move the engine refuses.
    for (int nMoves = 0; s.bUserTurn && !s.bHandOver && nMoves < 4 * kCardsInDeck; ++nMoves) {
        UserMove(s.bUserCanPlay ? UserChoice() : kPayThePot);
    }
    PlayoutResult result;
    result.nDollars = s.nFunds[pos.nSeat] - pos.nFunds[pos.nSeat];
    result.bWon = s.nCardsLeft[pos.nSeat] == 0;
    result.nFunds = s.nFunds;
    result.nOthersPaid =
        static_cast<int>(std::count_if(s.Moves.begin(), s.Moves.end(), [&pos](const HandMove& m) {
            return m.nCard < 0 && m.nSeat != pos.nSeat;
        }));
    return result;
}

int HeadlessGame::UserChoice() {
    GameState& s = pGame_->State();
    if (!s.bSevenHeartsPlayed) {
        return kSevenOfHearts;
    }
    DownCards_.clear();
    UpCards_.clear();
    CollectCandidates(s.UserHand, s.nTableMask, DownCards_, UpCards_);
    const int nDown = static_cast<int>(DownCards_.size());
    const int nUp = static_cast<int>(UpCards_.size());
    const RandomSource rnd{g_.lSeed, *pPort_};
    switch (pTurns_->Levels[kUserSeat]) {
    case 2:
        return GetBestHardCard(s.UserHand, nDown, nUp, DownCards_, UpCards_, rnd);
    case 1:
        return GetBestMediumCard(s.UserHand, nDown, nUp, DownCards_, UpCards_, rnd);
    default:
        return GetBestEasyCard(s.UserHand, nDown, nUp, DownCards_, UpCards_, rnd);
    }
}

void HeadlessGame::UserMove(int nChoice) {
    GameState& s = pGame_->State();
    if (nChoice == kPayThePot) {
        pGame_->cmdUser_Click();
        return;
    }
    const auto it = std::find(s.UserHand.begin(), s.UserHand.end(), nChoice);
    const auto nIndex = static_cast<int>(it - s.UserHand.begin());
    // A click inside the strip of the card that the overlapping hand leaves visible.
    pGame_->Form_MouseDown(static_cast<float>(s.nHandLeft + nIndex * s.nCardSpacing + 100),
                           static_cast<float>(s.nHandTop + 700));
    pGame_->Form_Click();
}

} // namespace corvane::coach
