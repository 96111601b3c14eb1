// The engine's procedures: a hand from the deal to the pay-out, the user's turn,
// the end of a game and the change of user. Every visible or audible effect is a
// call on a port; the state is brought up to date before each such call, so
// whoever watches the port always sees a consistent game.
#include "game.hpp"

#include "cards.hpp"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cstdint>
#include <utility>

namespace corvane {
namespace {

// SplitMix64: a small, well-mixed generator for the shuffle. It is reseeded from
// the clock at every shuffle, so neighbouring tick counts must still give
// unrelated decks.
class ShuffleRandom {
public:
    explicit ShuffleRandom(std::uint64_t nSeed) : m_state(nSeed) {}

    // 64 fresh bits; each output serves two draws, its low half first.
    std::uint64_t Next() {
        m_state += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = m_state;
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }

private:
    std::uint64_t m_state;
};

// Writes n in decimal into s, reusing the string's storage.
void SetDecimal(std::string& s, int n) {
    std::array<char, 12> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), n);
    s.assign(buf.data(), res.ptr);
}

constexpr std::array<const char*, 4> kHandSuffix{" (1st Hand)", " (2nd Hand)", " (3rd Hand)",
                                                 " (4th Hand)"};
constexpr std::array<int, 4> kLevelBackground{100, 200, 300, 400};

} // namespace

Game::Game(MGlobal& globals, TablePort& table, ProgramPort& program, Clock& clock,
           OpponentTurns& opponents)
    : m_g(globals), m_table(table), m_program(program), m_clock(clock), m_opponents(opponents) {}

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
    s.CardsPlayed.clear();
    s.nCardsPlayed = 0;
    s.nTableMask = 0;
    s.nSortedMask = 0;
    s.Moves.clear();
    if (m_practice) {
        // A practice hand is dealt the cards of the deal it plays again.
        RestoreDeal();
    } else {
        InitializeCardArrays();
        ShuffleDeck();
        DealCards();
        // The user's hand in ascending order, grouped so that black and red
        // alternate: Clubs, Diamonds, Spades, Hearts.
        int i = 0;
        for (const int nSuit : {0, 1, 3, 2}) {
            for (std::uint64_t m = s.nHandMask[kUserSeat] & (kClubsMask << nSuit); m != 0;
                 m &= m - 1) {
                s.UserHand[i++] = std::countr_zero(m);
            }
        }
    }
    ClearTable();
    InitializeDisplay(bNewGame);
    if (!m_practice) {
        TakeDealSnapshot();
    }
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
        m_table.SetCardsLeft(nSeat, m_state.nCardsLeft[nSeat]);
        m_state.nLastCard[nSeat] = kNoLastCard;
        m_table.SetLastCard(nSeat, kNoLastCard);
    }
}

void Game::InitializeCardArrays() {
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        m_state.Hand(nSeat).assign(kCardsInHand, 0);
        m_state.nHandMask[nSeat] = 0;
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
    ShuffleRandom rnd(m_clock.TickCount());
    std::uint64_t nUsed = 0;
    int n = 0;
    // Each draw is the integer part of a uniform value in [0, 1) times 52, made
    // from one half of a 64-bit output, the low half first.
    for (;;) {
        const std::uint64_t z = rnd.Next();
        std::uint64_t r = ((z & 0xFFFFFFFFULL) * kCardsInDeck) >> 32U;
        if (((nUsed >> r) & 1U) == 0) {
            nUsed |= std::uint64_t{1} << r;
            m_state.Deck[n++] = Temp[r];
            if (n == kCardsInDeck) {
                break;
            }
        }
        r = ((z >> 32U) * kCardsInDeck) >> 32U;
        if (((nUsed >> r) & 1U) == 0) {
            nUsed |= std::uint64_t{1} << r;
            m_state.Deck[n++] = Temp[r];
            if (n == kCardsInDeck) {
                break;
            }
        }
    }
}

void Game::DealCards() {
    // One card at a time round the table, from the left opponent to the user.
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        std::vector<int>& hand = m_state.Hand(nSeat);
        std::uint64_t nMask = 0;
        for (int k = 0; k < kCardsInHand; ++k) {
            const int c = m_state.Deck[4 * k + nSeat];
            hand[k] = c;
            nMask |= CardBit(c);
        }
        m_state.nHandMask[nSeat] = nMask;
    }
}

bool Game::CanUserPlay() {
    GameState& s = m_state;
    std::vector<int>& playable = s.UserPlayable;
    playable.clear();
    const std::uint64_t nHand = s.nHandMask[kUserSeat];
    const auto add = [&playable](int c) { playable.push_back(c); };
    ForEachRowCard(s.nTableMask, nHand, add, add);
    for (std::uint64_t m = nHand & kSevensMask; m != 0; m &= m - 1) {
        playable.push_back(std::countr_zero(m));
    }
    return !s.UserPlayable.empty();
}

void Game::PlayCards() {
    GameState& s = m_state;
    m_table.SetInputEnabled(false);
    int nWinner = -1;
    for (int nSeat = kLeftSeat; nSeat <= kRightSeat; ++nSeat) {
        m_opponents.PlayerTurn(*this, nSeat);
        if (s.bHandOver) {
            nWinner = nSeat;
            break;
        }
    }
    m_table.SetInputEnabled(true);
    if (nWinner >= 0) {
        // The table shows the winning card, and the user's hand what it pays for.
        ClearTable();
        SortCardsPlayed();
        DrawCardsPlayed();
        DrawUserHand();
        SettleHand(nWinner);
    }
}

void Game::SettleHand(int nWinner) {
    GameState& s = m_state;
    const std::array<const std::string*, 4> names{&m_g.sLeftName, &m_g.sTopName, &m_g.sRightName,
                                                  &m_g.sUserName};
    m_g.sWinnerName = *names[nWinner];
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        if (nSeat != nWinner) {
            PayCardsLeft(nSeat);
        }
    }
    // After an opponent's win the whole row of funds is brought up to date; the
    // user, who pays nothing, sees the three that paid.
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        if (nSeat != nWinner || nWinner != kUserSeat) {
            ShowFunds(nSeat);
        }
    }
    ShowPot();
    SetDecimal(m_g.sPotWon, s.nPot);
    s.nFunds[nWinner] += s.nPot;
    s.nPot = 0;
    ShowFunds(nWinner);
    ShowPot();
    if (m_practice) {
        return; // a practice books nothing and the game's hands are not counted
    }
    KeepFinishedDeal();
    RecordHand();

    const bool bBelowOne =
        std::any_of(s.nFunds.begin(), s.nFunds.end(), [](int n) { return n < 1; });
    const bool bLastHand = s.nHand == kHandsPerGame - 1;
    s.bGameOver = bBelowOne || bLastHand;
    // A seat below $1 after an opponent's win in hands one to three still sees
    // the standings first; the user's own win ends such a game at once.
    const bool bStandings = !bLastHand && (nWinner != kUserSeat || !bBelowOne);
    if (bStandings) {
        ++s.nHand;
        s.UserTag = DialogAnswer::None;
        SetUserTag(m_program.ShowHandOver(!s.bGameOver && m_lastDeal.has_value()));
        m_table.SetCaption(m_state.nLevel, m_state.nHand);
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
        std::array<char, 12> buf{};
        const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), m_state.nFunds[nSeat]);
        scores[nSeat]->resize(nSize - 1);
        scores[nSeat]->emplace_back(buf.data(), res.ptr);
    }
}

void Game::ShowLastCard(int nSeat, int nCard) {
    const int nLeft = m_state.nCardsLeft[nSeat] - 1;
    m_state.nCardsLeft[nSeat] = nLeft;
    if (nLeft == 0) {
        m_state.bHandOver = true;
    }
    m_state.nLastCard[nSeat] = nCard;
    m_table.SetLastCard(nSeat, nCard);
    m_table.SetCardsLeft(nSeat, nLeft);
}

void Game::LayCard(int nSeat, int nIndex) {
    std::vector<int>& hand = m_state.Hand(nSeat);
    const int nCard = hand[nIndex];
    m_state.Moves.push_back(HandMove{nSeat, nCard, m_state.nTableMask});
    AddToCardsPlayed(nCard);
    RemoveCard(hand, nIndex);
    m_state.nHandMask[nSeat] &= ~CardBit(nCard);
    ShowLastCard(nSeat, nCard);
}

void Game::AddToCardsPlayed(int nCard) {
    GameState& s = m_state;
    const std::uint64_t nBit = CardBit(nCard);
    std::vector<int>& table = s.CardsPlayed;
    if (s.nSortedMask == s.nTableMask && (s.nTableMask & nBit) == 0) {
        // Still in order: the card goes after every higher card on the table, and
        // the lower ones move up by one.
        const auto nHigher = static_cast<std::size_t>(CountCards(s.nTableMask & ~(nBit - 1U)));
        table.push_back(nCard);
        std::copy_backward(table.begin() + static_cast<std::ptrdiff_t>(nHigher), table.end() - 1,
                           table.end());
        table[nHigher] = nCard;
        s.nSortedMask = s.nTableMask | nBit;
    } else {
        table.push_back(nCard);
        s.nSortedMask = ~(s.nTableMask | nBit);
    }
    ++s.nCardsPlayed;
    s.nTableMask |= nBit;
}

void Game::SortCardsPlayed() {
    // Highest first, so that each lower card of a column is drawn over the one above.
    // Cards laid since the last sort were put in their places as they came.
    if (m_state.nSortedMask == m_state.nTableMask) {
        return;
    }
    // The table holds distinct cards, so reading its set from the top sorts it.
    m_state.nSortedMask = m_state.nTableMask;
    std::uint64_t nTable = m_state.nTableMask;
    std::size_t i = 0;
    while (nTable != 0) {
        const int c = 63 - std::countl_zero(nTable);
        m_state.CardsPlayed[i++] = c;
        nTable &= ~CardBit(c);
    }
}

void Game::PayThePot(int nSeat) {
    m_state.Moves.push_back(HandMove{nSeat, -1, m_state.nTableMask});
    m_state.nFunds[nSeat] -= kPayThePot;
    m_state.nPot += kPayThePot;
    ShowFunds(nSeat);
    ShowPot();
    m_state.nLastCard[nSeat] = kPaidThePot;
    m_table.SetLastCard(nSeat, kPaidThePot);
    SetPlayerFill(nSeat, kMarkerWaiting);
}

void Game::Pause() {
    m_state.nDelay = kPauseTicks;
    while (!m_state.bDelayDone) {
        m_table.WaitForPause();
    }
    m_state.bDelayDone = false;
}

void Game::ClearTable() {
    m_table.ClearTable();
}

void Game::DrawCardsPlayed() {
    m_table.DrawCardsPlayed(m_state.CardsPlayed);
}

void Game::DrawUserHand() {
    GameState& s = m_state;
    s.nCardSpacing = kCardSpacing;
    const int n = static_cast<int>(s.UserHand.size());
    s.nHandLeft = m_table.TableWidth() / 2 - ((n - 1) * kCardSpacing + kCardWidthTwips) / 2;
    s.nHandTop = kHandTop;
    m_table.DrawUserHand(s.UserHand, s.nHandLeft, s.nHandTop, s.nCardSpacing);
}

void Game::ShowFunds(int nSeat) {
    m_table.SetAmt(nSeat, m_state.nFunds[nSeat]);
}

void Game::ShowPot() {
    m_table.SetPot(m_state.nPot);
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
        m_table.PlaySoundRes(Sound::WrongCard);
        m_table.ShowMessage(Hint::NoCard, -1);
        return;
    }
    const int c = s.UserHand[i];
    if (!IsUserCardLegal(s, c)) {
        m_table.PlaySoundRes(Sound::WrongCard);
        m_table.ShowMessage(Hint::WrongCard, -1);
        return;
    }
    s.bSevenHeartsPlayed = true;

    m_table.PlaySoundRes(Sound::PlayCard);
    LayCard(kUserSeat, i);
    SortCardsPlayed();
    ClearTable();
    DrawCardsPlayed();

    if (s.bHandOver) {
        SettleHand(kUserSeat);
    } else {
        s.bUserTurn = false;
        DrawUserHand();
        SetPlayerFill(kUserSeat, kMarkerWaiting);
        PlayCards();
    }
    ContinueAfterUserAction();
}

void Game::cmdUser_Click() {
    GameState& s = m_state;
    if (!s.bUserTurn || s.bHandOver) {
        return;
    }
    if (s.bUserCanPlay) {
        Hint hint = Hint::CanPlayTwo;
        int nCard = -1;
        if (!s.bSevenHeartsPlayed) {
            hint = Hint::MustPlay;
        } else if (s.UserPlayable.size() == 1) {
            hint = Hint::CanPlayOne;
            nCard = s.UserPlayable[0];
        }
        m_table.PlaySoundRes(Sound::MustPlay);
        m_table.ShowMessage(hint, nCard);
        return;
    }
    m_table.PlaySoundRes(Sound::PayPot);
    s.bUserTurn = false;
    PayThePot(kUserSeat);
    PlayCards();
    ContinueAfterUserAction();
}

void Game::ContinueAfterUserAction() {
    GameState& s = m_state;
    // The game-over sequence takes the flag over; an answer that plays on sets it anew.
    const bool bGameOver = std::exchange(s.bGameOver, false);
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
    if (m_practice) {
        FinishPractice();
        return;
    }
    if (!bGameOver) {
        if (s.UserTag == DialogAnswer::Replay) {
            BeginPractice(PracticeResume::NextHand);
        } else {
            StartGame(false);
        }
        return;
    }

    // An answer left from an earlier dialog must not be taken for this one's.
    s.UserTag = DialogAnswer::None;
    SetUserTag(m_program.ShowGameOver());
    if (m_g.bDBError) {
        m_program.HandleDBError();
        return;
    }
    if (m_g.bUserWon) {
        m_program.TopTenLoad();
        if (m_g.bDBError) {
            m_program.HandleDBError();
            return;
        }
        if (IsTopTen()) {
            m_program.TopTenSave();
            if (m_g.bDBError) {
                m_program.HandleDBError();
                return;
            }
            m_program.ShowTopTen();
            if (m_g.bDBError) {
                m_program.HandleDBError();
                return;
            }
        }
    }
    ActOnGameOverAnswer();
}

void Game::AskGameOverAnswers() {
    m_state.UserTag = DialogAnswer::None;
    SetUserTag(m_program.ShowGameOverAnswers());
    ActOnGameOverAnswer();
}

void Game::ActOnGameOverAnswer() {
    GameState& s = m_state;
    if (s.UserTag == DialogAnswer::Replay) {
        // The game is booked and its top ten settled before the practice.
        BeginPractice(PracticeResume::GameOverAnswers);
    } else if (s.UserTag == DialogAnswer::Yes) {
        s.bGameOver = false;
        EraseScores(m_g);
        s.nHand = 0;
        if (m_g.bUserWon) {
            m_table.SetHourglass(true);
            ++s.nLevel;
            m_table.SetBackground(kLevelBackground[s.nLevel % 4]);
            m_table.SetHourglass(false);
        }
        m_table.SetCaption(m_state.nLevel, m_state.nHand);
        StartGame(true);
    } else if (s.UserTag == DialogAnswer::No) {
        m_program.Unload();
    } else if (s.UserTag == DialogAnswer::Change) {
        m_program.SaveSettings();
        s.UserTag = DialogAnswer::None;
        SetUserTag(m_program.ShowUserName(UserDialogExit::Design));
        if (m_g.bDBError) {
            m_program.HandleDBError();
            return;
        }
        if (s.UserTag != DialogAnswer::Exit) {
            ResetForNewGame();
            StartGame(true);
        } else {
            m_program.Unload();
        }
    }
}

void Game::SetUserTag(DialogAnswer answer) {
    // A dialog closed without an answer leaves the box as it was.
    if (answer != DialogAnswer::None) {
        m_state.UserTag = answer;
    }
}

void Game::ResetForNewGame() {
    DropPractice();
    m_lastDeal.reset(); // the new user's game replays none of the former one's deals
    m_state.bGameOver = false;
    m_state.nLevel = 0;
    EraseScores(m_g);
    m_state.nHand = 0;
    m_table.SetBackground(kLevelBackground[0]);
    m_table.SetCaption(m_state.nLevel, m_state.nHand);
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
        m_program.ShowHighScore();
    }
    // The new entry goes in at its place; an equal score stays above it and the
    // former tenth drops out.
    std::rotate(TopTen.begin() + nPos, TopTen.begin() + 9, TopTen.begin() + 10);
    TopTen[nPos] = TopTenRec{m_g.sUserName, nScore, m_clock.Now()};
    return true;
}

void Game::ChangeUser(bool bNewStart) {
    m_program.SaveSettings();
    m_state.UserTag = DialogAnswer::None;
    SetUserTag(m_program.ShowUserName(bNewStart ? UserDialogExit::Exit : UserDialogExit::Cancel));
    if (m_g.bDBError) {
        m_program.HandleDBError();
        return;
    }
    if (m_state.UserTag != DialogAnswer::Exit) {
        ResetForNewGame();
        StartGame(true);
    } else if (bNewStart) {
        m_program.Unload();
    }
}

std::string LevelCaption(int nLevel, int nHand) {
    return " - Level " + std::to_string(nLevel + 1) +
           kHandSuffix.at(static_cast<std::size_t>(nHand));
}

} // namespace corvane
