// The engine's procedures: a hand from the deal to the pay-out, the user's turn,
// the end of a game and the change of user. Every visible or audible effect is a
// call on the port; the state is brought up to date before each such call, so
// whoever watches the port always sees a consistent game.
#include "game.hpp"

#include "cards.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>

namespace corvane {
namespace {

// SplitMix64: a small, well-mixed generator for the shuffle. It is reseeded from
// the clock at every shuffle, so neighbouring tick counts must still give
// unrelated decks.
class ShuffleRandom {
public:
    explicit ShuffleRandom(std::uint64_t nSeed) : m_state(nSeed) {}

    // The integer part of a uniform value in [0, 1) times n: each 64-bit output
    // serves two draws of 32 bits.
    int Below(std::uint32_t n) {
        if (m_bHaveSpare) {
            m_bHaveSpare = false;
            return static_cast<int>((std::uint64_t{m_nSpare} * n) >> 32U);
        }
        m_state += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = m_state;
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        z ^= z >> 31U;
        m_nSpare = static_cast<std::uint32_t>(z >> 32U);
        m_bHaveSpare = true;
        return static_cast<int>(((z & 0xFFFFFFFFULL) * n) >> 32U);
    }

private:
    std::uint64_t m_state;
    std::uint32_t m_nSpare = 0;
    bool m_bHaveSpare = false;
};

constexpr std::array<const char*, 4> kHandSuffix{" (1st Hand)", " (2nd Hand)", " (3rd Hand)",
                                                 " (4th Hand)"};
constexpr std::array<int, 4> kLevelBackground{100, 200, 300, 400};

} // namespace

Game::Game(MGlobal& globals, GamePort& port, OpponentTurns& opponents)
    : m_g(globals), m_port(port), m_opponents(opponents) {}

void Game::LoadDeck() {
    for (int i = 0; i < kCardsInDeck; ++i) {
        m_state.Deck[i] = i;
    }
    ShuffleDeck();
}

void Game::StartGame(bool bNewGame) {
    GameState& s = m_state;
    s.bUserTurn = false;
    s.bHandOver = false;
    s.bSevenHeartsPlayed = false;
    // The new hand is dealt before anything is shown, so that every panel update
    // already sees all 52 cards in the new hands.
    s.SetCardsPlayed({});
    s.Moves.clear();
    InitializeCardArrays();
    ShuffleDeck();
    DealCards();
    SortCards(s.UserHand);
    SortIntoSuits(s.UserHand);
    ClearTable();
    InitializeDisplay(bNewGame);
    PlayersAnte();
    DrawUserHand();

    PlayCards();

    if (s.bSevenHeartsPlayed) {
        SortCardsPlayed();
        ClearTable();
        DrawCardsPlayed();
        DrawUserHand();
        s.bUserCanPlay = CanUserPlay();
    } else {
        // The user holds the Seven of Hearts; the click handler accepts only that card.
        s.bUserCanPlay = true;
    }
    s.bUserTurn = true;
    SetPlayerFill(kUserSeat, kMarkerMoving);
}

void Game::InitializeDisplay(bool bNewGame) {
    if (bNewGame) {
        m_state.nFunds.fill(kStartingFunds);
        m_state.nPot = 0;
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            ShowFunds(nSeat);
        }
        ShowPot();
    }
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        SetPlayerFill(nSeat, kMarkerWaiting);
        m_port.SetCardsLeft(nSeat, std::to_string(m_state.nCardsLeft[nSeat]));
        m_port.SetLastCard(nSeat, LastCardPanel{});
    }
}

void Game::InitializeCardArrays() {
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        m_state.Hand(nSeat).assign(kCardsInHand, 0);
        m_state.nCardsLeft[nSeat] = kCardsInHand;
    }
}

void Game::PlayersAnte() {
    // No test of funds: every seat has at least $1 when a hand starts.
    for (int& nFunds : m_state.nFunds) {
        nFunds -= kAnte;
    }
    m_state.nPot += 4 * kAnte;
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        ShowFunds(nSeat);
    }
    ShowPot();
}

void Game::ShuffleDeck() {
    // A random permutation drawn by rejection: positions are drawn until all 52
    // have come up once, and the deck is read out in the order they came.
    const std::array<int, 52> Temp = m_state.Deck;
    ShuffleRandom rnd(m_port.TickCount());
    std::array<int, 52> Used{};
    std::array<bool, 52> bUsed{};
    int nUsed = 0;
    while (nUsed < kCardsInDeck) {
        const int r = rnd.Below(kCardsInDeck);
        if (!bUsed[r]) {
            bUsed[r] = true;
            Used[nUsed++] = r;
        }
    }
    for (int i = 0; i < kCardsInDeck; ++i) {
        m_state.Deck[i] = Temp[Used[i]];
    }
}

void Game::DealCards() {
    // One card at a time round the table, from the left opponent to the user.
    for (int i = 0; i < kCardsInDeck; ++i) {
        m_state.Hand(i % 4)[i / 4] = m_state.Deck[i];
    }
}

bool Game::CanUserPlay() {
    GameState& s = m_state;
    s.UserPlayable.clear();
    const RowEnds ends = CollectRowEnds(s.nTableMask);
    const std::uint64_t nHand = CardMask(s.UserHand);
    for (int k = 0; k < ends.nLow; ++k) {
        if (InMask(nHand, ends.Low[k] - 4)) {
            s.UserPlayable.push_back(ends.Low[k] - 4);
        }
    }
    for (int k = 0; k < ends.nHigh; ++k) {
        if (InMask(nHand, ends.High[k] + 4)) {
            s.UserPlayable.push_back(ends.High[k] + 4);
        }
    }
    for (int c = 24; c <= 27; ++c) {
        if (InMask(nHand, c)) {
            s.UserPlayable.push_back(c);
        }
    }
    return !s.UserPlayable.empty();
}

void Game::PlayCards() {
    GameState& s = m_state;
    m_port.SetInputEnabled(false);
    int nWinner = -1;
    for (int nSeat = kLeftSeat; nSeat <= kRightSeat; ++nSeat) {
        m_opponents.PlayerTurn(*this, nSeat);
        if (s.bHandOver) {
            nWinner = nSeat;
            break;
        }
    }
    m_port.SetInputEnabled(true);
    if (nWinner >= 0) {
        EndHandForOpponent(nWinner);
    }
}

void Game::EndHandForOpponent(int nWinner) {
    GameState& s = m_state;
    const std::array<const std::string*, 3> names{&m_g.sLeftName, &m_g.sTopName, &m_g.sRightName};
    m_g.sWinnerName = *names[nWinner];

    ClearTable();
    SortCardsPlayed();
    DrawCardsPlayed();
    DrawUserHand();
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        if (nSeat != nWinner) {
            PayCardsLeft(nSeat);
        }
    }
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        ShowFunds(nSeat);
    }
    ShowPot();
    m_g.sPotWon = std::to_string(s.nPot);
    s.nFunds[nWinner] += s.nPot;
    s.nPot = 0;
    ShowFunds(nWinner);
    ShowPot();
    RecordHand();

    if (std::any_of(s.nFunds.begin(), s.nFunds.end(), [](int n) { return n < 1; })) {
        s.bGameOver = true;
    }
    // A seat below $1 after hands one to three still sees the standings first.
    if (s.nHand == kHandsPerGame - 1) {
        s.bGameOver = true;
    } else {
        ++s.nHand;
        m_port.ShowHandOver();
        m_port.SetCaption(m_g.sTitle + LevelCaption());
    }
}

void Game::PayCardsLeft(int nSeat) {
    const int nAmount = kPerCardLeft * m_state.nCardsLeft[nSeat];
    m_state.nFunds[nSeat] -= nAmount;
    m_state.nPot += nAmount;
}

void Game::RecordHand() {
    const auto nSize = static_cast<std::size_t>(m_state.nHand) + 1;
    std::array<std::vector<std::string>*, 4> scores{&m_g.ScoresOne, &m_g.ScoresTwo,
                                                    &m_g.ScoresThree, &m_g.ScoresUser};
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        scores[nSeat]->resize(nSize);
        (*scores[nSeat])[nSize - 1] = std::to_string(m_state.nFunds[nSeat]);
    }
}

void Game::ShowLastCard(int nSeat, int nCard) {
    const int nLeft = m_state.nCardsLeft[nSeat] - 1;
    m_state.nCardsLeft[nSeat] = nLeft;
    if (nLeft == 0) {
        m_state.bHandOver = true;
    }
    LastCardPanel panel;
    panel.sCardNo = GetCardLabel(nCard);
    panel.nSuitIcon = 100 + Suit(nCard);
    m_port.SetLastCard(nSeat, panel);
    m_port.SetCardsLeft(nSeat, std::to_string(nLeft));
}

void Game::LayCard(int nSeat, int nIndex) {
    std::vector<int>& hand = m_state.Hand(nSeat);
    const int nCard = hand[nIndex];
    m_state.Moves.push_back(HandMove{nSeat, nCard, m_state.nTableMask});
    AddToCardsPlayed(nCard);
    RemoveCard(hand, nIndex);
    ShowLastCard(nSeat, nCard);
}

void Game::AddToCardsPlayed(int nCard) {
    m_state.CardsPlayed.push_back(nCard);
    ++m_state.nCardsPlayed;
    m_state.nTableMask |= std::uint64_t{1} << nCard;
}

void Game::SortCardsPlayed() {
    // Highest first, so that each lower card of a column is drawn over the one above.
    // The table holds distinct cards, so reading its set from the top sorts it.
    std::uint64_t nTable = m_state.nTableMask;
    std::size_t i = 0;
    while (nTable != 0) {
        const int c = 63 - std::countl_zero(nTable);
        m_state.CardsPlayed[i++] = c;
        nTable &= ~(std::uint64_t{1} << c);
    }
}

void Game::PayThePot(int nSeat) {
    m_state.Moves.push_back(HandMove{nSeat, -1, m_state.nTableMask});
    m_state.nFunds[nSeat] -= kPayThePot;
    m_state.nPot += kPayThePot;
    ShowFunds(nSeat);
    ShowPot();
    LastCardPanel panel;
    panel.bSad = true;
    panel.bCardNoVisible = false;
    m_port.SetLastCard(nSeat, panel);
    SetPlayerFill(nSeat, kMarkerWaiting);
}

void Game::Pause() {
    m_state.nDelay = kPauseTicks;
    while (!m_state.bDelayDone) {
        m_port.WaitForPause();
    }
    m_state.bDelayDone = false;
}

void Game::ClearTable() {
    m_port.ClearTable();
}

void Game::DrawCardsPlayed() {
    m_port.DrawCardsPlayed(m_state.CardsPlayed);
}

void Game::DrawUserHand() {
    GameState& s = m_state;
    s.nCardSpacing = kCardSpacing;
    const int n = static_cast<int>(s.UserHand.size());
    s.nHandLeft = m_port.TableWidth() / 2 - ((n - 1) * kCardSpacing + kCardWidthTwips) / 2;
    s.nHandTop = kHandTop;
    m_port.DrawUserHand(s.UserHand, s.nHandLeft, s.nHandTop, s.nCardSpacing);
}

void Game::SetPlayerFill(int nSeat, std::uint32_t nColour) {
    m_port.SetPlayerFill(nSeat, nColour);
}

void Game::ShowFunds(int nSeat) {
    m_port.SetAmt(nSeat, std::to_string(m_state.nFunds[nSeat]));
}

void Game::ShowPot() {
    m_port.SetPot("$" + std::to_string(m_state.nPot));
}

void Game::Form_MouseDown(float x, float y) {
    m_state.sngMouseX = x;
    m_state.sngMouseY = y;
}

int Game::HitTestHand(float x, float y) const {
    const GameState& s = m_state;
    const int n = static_cast<int>(s.UserHand.size());
    if (n == 0) {
        return -1;
    }
    const auto left = static_cast<float>(s.nHandLeft);
    const auto spacing = static_cast<float>(s.nCardSpacing);
    const auto top = static_cast<float>(s.nHandTop);
    const float lastLeft = left + static_cast<float>(n - 1) * spacing;
    if (x < left || x > lastLeft + kCardWidthTwips || y < top || y > top + kCardHeightTwips) {
        return -1;
    }
    if (n == 1) {
        return 0;
    }
    if (x > lastLeft) {
        return n - 1;
    }
    int nIndex = 0;
    for (int k = 1; k < n; ++k) {
        if (left + static_cast<float>(k) * spacing <= x) {
            ++nIndex;
        }
    }
    return nIndex;
}

void Game::Form_Click() {
    GameState& s = m_state;
    // Once a hand is over nothing is left to play until the next deal, even if
    // the game-over dialog was closed without an answer.
    if (!s.bUserTurn || s.bHandOver) {
        return;
    }
    const int i = HitTestHand(s.sngMouseX, s.sngMouseY);
    if (i < 0) {
        return;
    }
    if (!s.bUserCanPlay) {
        m_g.sMessage = "NOCARD";
        m_port.PlaySoundRes("WRONGCRD");
        m_port.ShowMessage();
        return;
    }
    const int c = s.UserHand[i];
    if (!IsUserCardLegal(s, c)) {
        m_g.sMessage = "WRONGCRD";
        m_port.PlaySoundRes("WRONGCRD");
        m_port.ShowMessage();
        return;
    }
    s.bSevenHeartsPlayed = true;

    m_port.PlaySoundRes("PLAYCARD");
    LayCard(kUserSeat, i);
    SortCardsPlayed();
    ClearTable();
    DrawCardsPlayed();

    bool bGameOver = false;
    if (s.bHandOver) {
        // The user's last card: the opponents pay for the cards they still hold.
        for (int nSeat = kLeftSeat; nSeat <= kRightSeat; ++nSeat) {
            PayCardsLeft(nSeat);
        }
        for (int nSeat = kLeftSeat; nSeat <= kRightSeat; ++nSeat) {
            ShowFunds(nSeat);
        }
        ShowPot();
        m_g.sPotWon = std::to_string(s.nPot);
        m_g.sWinnerName = m_g.sUserName;
        s.nFunds[kUserSeat] += s.nPot;
        s.nPot = 0;
        ShowFunds(kUserSeat);
        ShowPot();
        RecordHand();
        bGameOver = s.nHand == kHandsPerGame - 1 ||
                    std::any_of(s.nFunds.begin(), s.nFunds.end(), [](int n) { return n < 1; });
        if (!bGameOver) {
            ++s.nHand;
            m_port.ShowHandOver();
            m_port.SetCaption(m_g.sTitle + LevelCaption());
        }
    } else {
        s.bUserTurn = false;
        DrawUserHand();
        SetPlayerFill(kUserSeat, kMarkerWaiting);
        PlayCards();
        bGameOver = s.bGameOver;
        s.bGameOver = false;
    }
    ContinueAfterUserAction(bGameOver);
}

void Game::cmdUser_Click() {
    GameState& s = m_state;
    if (!s.bUserTurn || s.bHandOver) {
        return;
    }
    if (s.bUserCanPlay) {
        if (!s.bSevenHeartsPlayed) {
            m_g.sMessage = "MUSTPLAY";
        } else if (s.UserPlayable.size() == 1) {
            m_g.sMessage = "CANPLAY1";
            m_g.sMessageCard = GetCardName(s.UserPlayable[0]);
        } else {
            m_g.sMessage = "CANPLAY2";
        }
        m_port.PlaySoundRes("MUSTPLAY");
        m_port.ShowMessage();
        return;
    }
    m_port.PlaySoundRes("PAYPOT");
    s.bUserTurn = false;
    PayThePot(kUserSeat);
    PlayCards();
    const bool bGameOver = s.bGameOver;
    s.bGameOver = false;
    ContinueAfterUserAction(bGameOver);
}

void Game::ContinueAfterUserAction(bool bGameOver) {
    GameState& s = m_state;
    if (!s.bHandOver) {
        SortCardsPlayed();
        ClearTable();
        DrawCardsPlayed();
        DrawUserHand();
        s.bUserCanPlay = CanUserPlay();
        s.bUserTurn = true;
        SetPlayerFill(kUserSeat, kMarkerMoving);
        return;
    }
    if (!bGameOver) {
        StartGame(false);
        return;
    }

    // An answer left from an earlier dialog must not be taken for this one's.
    s.sUserTag.clear();
    if (auto sAnswer = m_port.ShowGameOver()) {
        s.sUserTag = *sAnswer;
    }
    if (m_g.bDBError) {
        m_port.HandleDBError();
        return;
    }
    if (m_g.bUserWon) {
        m_port.TopTenLoad();
        if (m_g.bDBError) {
            m_port.HandleDBError();
            return;
        }
        if (IsTopTen()) {
            m_port.TopTenSave();
            if (m_g.bDBError) {
                m_port.HandleDBError();
                return;
            }
            m_port.ShowTopTen();
            if (m_g.bDBError) {
                m_port.HandleDBError();
                return;
            }
        }
    }

    if (s.sUserTag == "YES") {
        s.bGameOver = false;
        EraseScores(m_g);
        s.nHand = 0;
        if (m_g.bUserWon) {
            m_port.SetHourglass(true);
            ++s.nLevel;
            m_port.SetBackground(kLevelBackground[s.nLevel % 4]);
            m_port.SetHourglass(false);
        }
        m_port.SetCaption(m_g.sTitle + LevelCaption());
        StartGame(true);
    } else if (s.sUserTag == "NO") {
        m_port.Unload();
    } else if (s.sUserTag == "CHANGE") {
        m_port.SaveSettings();
        s.sUserTag.clear();
        if (auto sAnswer = m_port.ShowUserName("E&xit")) {
            s.sUserTag = *sAnswer;
        }
        if (m_g.bDBError) {
            m_port.HandleDBError();
            return;
        }
        if (s.sUserTag != "X") {
            ResetForNewGame();
            StartGame(true);
        } else {
            m_port.Unload();
        }
    }
}

void Game::ResetForNewGame() {
    m_state.bGameOver = false;
    m_state.nLevel = 0;
    EraseScores(m_g);
    m_state.nHand = 0;
    m_port.SetBackground(kLevelBackground[0]);
    m_port.SetCaption(m_g.sTitle + LevelCaption());
}

bool Game::IsTopTen() {
    std::array<TopTenRec, 11>& TopTen = m_state.TopTen;
    const std::int16_t nScore = m_g.Standings[0].nFunds;
    int nPos = -1;
    for (int i = 0; i < 10; ++i) {
        if (nScore > TopTen[i].nScore) {
            nPos = i;
            break;
        }
    }
    if (nPos < 0) {
        return false;
    }
    m_g.nTopTenPos = nPos;
    if (nScore >= kHighScore) {
        m_port.ShowHighScore();
    }
    // The new entry goes in at its place; an equal score stays above it and the
    // former tenth drops out.
    std::rotate(TopTen.begin() + nPos, TopTen.begin() + 9, TopTen.begin() + 10);
    TopTen[nPos] = TopTenRec{m_g.sUserName, nScore, m_port.Now()};
    return true;
}

void Game::ChangeUser(bool bNewStart) {
    m_port.SaveSettings();
    m_state.sUserTag.clear();
    if (auto sAnswer = m_port.ShowUserName(bNewStart ? "&Exit" : "&Cancel")) {
        m_state.sUserTag = *sAnswer;
    }
    if (m_g.bDBError) {
        m_port.HandleDBError();
        return;
    }
    if (m_state.sUserTag != "X") {
        ResetForNewGame();
        StartGame(true);
    } else if (bNewStart) {
        m_port.Unload();
    }
}

std::string Game::LevelCaption() const {
    return " - Level " + std::to_string(m_state.nLevel + 1) + kHandSuffix[m_state.nHand];
}

} // namespace corvane
