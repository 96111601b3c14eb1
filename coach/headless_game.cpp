// Playouts through the real engine. Changes to the engine's port or state touch
// this file only.
#include "coach/headless_game.hpp"

#include "engine/cards.hpp"
#include "opponents/strategies.hpp"

#include <algorithm>

namespace corvane::coach {

class HeadlessGame::SilentPort final : public TablePort, public ProgramPort, public Clock {
public:
    Game* pGame = nullptr;

    void SetAmt(int, int) override {}
    void SetPot(int) override {}
    void SetCardsLeft(int, int) override {}
    void SetLastCard(int, int) override {}
    void SetPlayerFill(int, std::uint32_t) override {}
    int TableWidth() override { return 9630; }
    void ClearTable() override {}
    void DrawCardsPlayed(const std::vector<int>&) override {}
    void DrawUserHand(const std::vector<int>&, int, int, int) override {}
    void FlyCard(int, int) override {}
    void SetCaption(int, int) override {}
    void SetBackground(int) override {}
    void SetHourglass(bool) override {}
    void SetInputEnabled(bool) override {}
    void PlaySoundRes(Sound) override {}
    void WaitForPause() override {
        pGame->State().nDelay = 0;
        pGame->State().bDelayDone = true;
    }
    void ShowMessage(Hint, int) override {}

    void SetPracticeCaption(int, int) override {}
    DialogAnswer ShowHandOver(bool) override { return DialogAnswer::Ok; }
    // The playout is the last hand of its game and ends with no answer.
    DialogAnswer ShowGameOver() override { return DialogAnswer::None; }
    DialogAnswer ShowGameOverAnswers() override { return DialogAnswer::None; }
    void ShowPracticeResult(int, int) override {}
    void ShowHighScore() override {}
    void ShowTopTen() override {}
    DialogAnswer ShowUserName(UserDialogExit) override { return DialogAnswer::None; }
    void SaveSettings() override {}
    void TopTenLoad() override {}
    void TopTenSave() override {}
    void HandleDBError() override {}
    void Unload() override {}

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

std::vector<int> CardsOf(std::uint64_t nMask) {
    std::vector<int> cards;
    for (int c = 0; c < kCardsInDeck; ++c) {
        if (InMask(nMask, c)) {
            cards.push_back(c);
        }
    }
    return cards;
}

} // namespace

HeadlessGame::HeadlessGame()
    : m_pPort(std::make_unique<SilentPort>()), m_pTurns(std::make_unique<SeatTurns>()),
      m_pGame(std::make_unique<Game>(m_g, *m_pPort, *m_pPort, *m_pPort, *m_pTurns)) {
    m_pPort->pGame = m_pGame.get();
    m_g.sUserName = "User";
    m_g.sLeftName = "Left";
    m_g.sTopName = "Top";
    m_g.sRightName = "Right";
}

HeadlessGame::~HeadlessGame() = default;

void HeadlessGame::SetUp(const Position& pos, const std::array<std::uint64_t, 4>& hands,
                         std::int32_t lSeed) {
    GameState& s = m_pGame->State();
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
    m_g.lSeed = lSeed;
    m_g.bUserWon = false;
    m_pTurns->Levels = pos.Levels;
}

PlayoutResult HeadlessGame::Play(const Position& pos, const std::array<std::uint64_t, 4>& hands,
                                 int nChoice, std::int32_t lSeed) {
    SetUp(pos, hands, lSeed);
    GameState& s = m_pGame->State();
    m_pTurns->nFirstSeat = pos.nSeat;
    m_pTurns->nFirstCard = nChoice;
    m_pTurns->bFirstPending = pos.nSeat != kUserSeat;
    if (pos.nSeat == kUserSeat) {
        s.bUserCanPlay = !s.bSevenHeartsPlayed || m_pGame->CanUserPlay();
        s.bUserTurn = true;
        m_pGame->DrawUserHand();
        UserMove(nChoice);
    } else {
        m_pGame->PlayCards();
        if (!s.bHandOver) {
            s.bUserCanPlay = m_pGame->CanUserPlay();
            s.bUserTurn = true;
            m_pGame->DrawUserHand();
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
    result.nOthersPaid =
        static_cast<int>(std::count_if(s.Moves.begin(), s.Moves.end(), [&pos](const HandMove& m) {
            return m.nCard < 0 && m.nSeat != pos.nSeat;
        }));
    return result;
}

int HeadlessGame::UserChoice() {
    GameState& s = m_pGame->State();
    if (!s.bSevenHeartsPlayed) {
        return kSevenOfHearts;
    }
    m_DownCards.clear();
    m_UpCards.clear();
    CollectCandidates(s.UserHand, s.nTableMask, m_DownCards, m_UpCards);
    const int nDown = static_cast<int>(m_DownCards.size());
    const int nUp = static_cast<int>(m_UpCards.size());
    const RandomSource rnd{m_g.lSeed, *m_pPort};
    switch (m_pTurns->Levels[kUserSeat]) {
    case 2:
        return GetBestHardCard(s.UserHand, nDown, nUp, m_DownCards, m_UpCards, rnd);
    case 1:
        return GetBestMediumCard(s.UserHand, nDown, nUp, m_DownCards, m_UpCards, rnd);
    default:
        return GetBestEasyCard(s.UserHand, nDown, nUp, m_DownCards, m_UpCards, rnd);
    }
}

void HeadlessGame::UserMove(int nChoice) {
    GameState& s = m_pGame->State();
    if (nChoice == kPayThePot) {
        m_pGame->cmdUser_Click();
        return;
    }
    const auto it = std::find(s.UserHand.begin(), s.UserHand.end(), nChoice);
    const auto nIndex = static_cast<int>(it - s.UserHand.begin());
    // A click inside the strip of the card that the overlapping hand leaves visible.
    m_pGame->Form_MouseDown(static_cast<float>(s.nHandLeft + nIndex * s.nCardSpacing + 100),
                            static_cast<float>(s.nHandTop + 700));
    m_pGame->Form_Click();
}

} // namespace corvane::coach
