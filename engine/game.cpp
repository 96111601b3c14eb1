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
    explicit ShuffleRandom(std::uint64_t nSeed) : state_(nSeed) {}

    // 64 fresh bits; each output serves two draws, its low half first.
    std::uint64_t Next() {
        state_ += 0x9E3779B97F4A7C15ULL;
        std::uint64_t z = state_;
        z = (z ^ (z >> 30U)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27U)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31U);
    }

private:
    std::uint64_t state_;
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

// The suits present in a set of four (one bit per suit), highest first.
struct RankSuits {
    std::array<int, 4> Suits{};
    std::size_t nCount = 0;
};
constexpr std::array<RankSuits, 16> kRankSuits = [] {
    std::array<RankSuits, 16> table{};
    for (std::size_t m = 0; m < 16; ++m) {
        for (int nSuit = 3; nSuit >= 0; --nSuit) {
            if (((m >> nSuit) & 1U) != 0) {
                table[m].Suits[table[m].nCount++] = nSuit;
            }
        }
    }
    return table;
}();

} // namespace

Game::Game(MGlobal& globals, TablePort& table, ProgramPort& program, Clock& clock,
           OpponentTurns& opponents)
    : g_(globals), table_(table), bShowsPlay_(table.ShowsPlay()), program_(program), clock_(clock),
      opponents_(opponents) {}

void Game::LoadDeck() {
    for (int i = 0; i < kCardsInDeck; ++i) {
        state_.Deck[i] = i;
    }
    ShuffleDeck();
}

void Game::StartGame(bool bNewGame) {
    GameState& s = state_;
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
    if (practice_) {
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
    if (!practice_) {
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
        state_.nFunds.fill(kStartingFunds);
        state_.nPot = 0;
        for (int nSeat = 0; nSeat < 4; ++nSeat) {
            ShowFunds(nSeat);
        }
        ShowPot();
    }
    state_.nLastCard.fill(kNoLastCard);
    if (!bShowsPlay_) {
        return;
    }
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        table_.SetPlayerFill(nSeat, kMarkerWaiting);
        table_.SetCardsLeft(nSeat, state_.nCardsLeft[nSeat]);
        table_.SetLastCard(nSeat, kNoLastCard);
    }
}

void Game::InitializeCardArrays() {
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        state_.Hand(nSeat).assign(kCardsInHand, 0);
        state_.nHandMask[nSeat] = 0;
        state_.nCardsLeft[nSeat] = kCardsInHand;
    }
}

void Game::PlayersAnte() {
    // No test of funds: every seat has at least $1 when a hand starts.
    for (int& nFunds : state_.nFunds) {
        nFunds -= kAnte;
    }
    state_.nPot += 4 * kAnte;
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        ShowFunds(nSeat);
    }
    ShowPot();
}

void Game::ShuffleDeck() {
    // A random permutation drawn by rejection: positions are drawn until all 52
    // have come up once, and the deck is read out in the order they came.
    const std::array<int, 52> Temp = state_.Deck;
    ShuffleRandom rnd(clock_.TickCount());
    std::uint64_t nUsed = 0;
    std::size_t n = 0;
    // Each draw is the integer part of a uniform value in [0, 1) times 52, made
    // from one half of a 64-bit output, the low half first. A draw is written to
    // the next free place whether it is new or not, and only a new one keeps it:
    // which draws repeat cannot be foreseen, so a branch on it would mostly miss.
    const auto bDraw = [&](std::uint64_t nHalf) {
        const std::uint64_t r = (nHalf * kCardsInDeck) >> 32U;
        const std::uint64_t nBit = std::uint64_t{1} << r;
        state_.Deck[n] = Temp[r];
        n += (nUsed & nBit) == 0 ? 1U : 0U;
        nUsed |= nBit;
        return n == kCardsInDeck;
    };
    for (;;) {
        const std::uint64_t z = rnd.Next();
        if (bDraw(z & 0xFFFFFFFFULL) || bDraw(z >> 32U)) {
            break;
        }
    }
}

void Game::DealCards() {
    // One card at a time round the table, from the left opponent to the user.
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        std::vector<int>& hand = state_.Hand(nSeat);
        std::uint64_t nMask = 0;
        for (int k = 0; k < kCardsInHand; ++k) {
            const int c = state_.Deck[4 * k + nSeat];
            hand[k] = c;
            nMask |= CardBit(c);
        }
        state_.nHandMask[nSeat] = nMask;
    }
}

bool Game::CanUserPlay() {
    GameState& s = state_;
    const std::uint64_t nHand = s.nHandMask[kUserSeat];
    const RowEnds ends = RowEndCards(s.nTableMask, nHand);
    CardList& playable = s.UserPlayable;
    playable.clear();
    playable.AppendBySuit(ends.nDown, false);
    playable.AppendBySuit(ends.nUp, true);
    playable.AppendBySuit(nHand & kSevensMask, false);
    return !playable.empty();
}

void Game::PlayCards() {
    GameState& s = state_;
    if (bShowsPlay_) {
        table_.SetInputEnabled(false);
    }
    int nWinner = -1;
    for (int nSeat = kLeftSeat; nSeat <= kRightSeat; ++nSeat) {
        opponents_.PlayerTurn(*this, nSeat);
        if (s.bHandOver) {
            nWinner = nSeat;
            break;
        }
    }
    if (bShowsPlay_) {
        table_.SetInputEnabled(true);
    }
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
    GameState& s = state_;
    const std::array<const std::string*, 4> names{&g_.sLeftName, &g_.sTopName, &g_.sRightName,
                                                  &g_.sUserName};
    g_.sWinnerName = *names[nWinner];
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
    SetDecimal(g_.sPotWon, s.nPot);
    s.nFunds[nWinner] += s.nPot;
    s.nPot = 0;
    ShowFunds(nWinner);
    ShowPot();
    if (practice_) {
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
        SetUserTag(program_.ShowHandOver(!s.bGameOver && lastDeal_ != nullptr));
        table_.SetCaption(state_.nLevel, state_.nHand);
    }
}

void Game::PayCardsLeft(int nSeat) {
    const int nAmount = kPerCardLeft * state_.nCardsLeft[nSeat];
    state_.nFunds[nSeat] -= nAmount;
    state_.nPot += nAmount;
}

void Game::RecordHand() {
    const auto nSize = static_cast<std::size_t>(state_.nHand) + 1;
    std::array<std::vector<std::string>*, 4> scores{&g_.ScoresOne, &g_.ScoresTwo, &g_.ScoresThree,
                                                    &g_.ScoresUser};
    for (int nSeat = 0; nSeat < 4; ++nSeat) {
        std::array<char, 12> buf{};
        const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), state_.nFunds[nSeat]);
        scores[nSeat]->resize(nSize - 1);
        scores[nSeat]->emplace_back(buf.data(), res.ptr);
    }
}

void Game::ShowLastCard(int nSeat, int nCard) {
    const int nLeft = state_.nCardsLeft[nSeat] - 1;
    state_.nCardsLeft[nSeat] = nLeft;
    if (nLeft == 0) {
        state_.bHandOver = true;
    }
    state_.nLastCard[nSeat] = nCard;
    if (bShowsPlay_) {
        table_.SetLastCard(nSeat, nCard);
        table_.SetCardsLeft(nSeat, nLeft);
    }
}

void Game::LayCard(int nSeat, int nIndex) {
    std::vector<int>& hand = state_.Hand(nSeat);
    const int nCard = hand[nIndex];
    state_.Moves.push_back(HandMove{nSeat, nCard, state_.nTableMask});
    AddToCardsPlayed(nCard);
    RemoveCard(hand, nIndex);
    state_.nHandMask[nSeat] &= ~CardBit(nCard);
    ShowLastCard(nSeat, nCard);
}

void Game::AddToCardsPlayed(int nCard) {
    GameState& s = state_;
    const std::uint64_t nBit = CardBit(nCard);
    // A new card below every card of a sorted table keeps it sorted; any other
    // waits for the next sort, which reads the whole table from its set.
    const bool bStillSorted =
        s.nSortedMask == s.nTableMask && (s.nTableMask & (nBit | (nBit - 1U))) == 0;
    s.nSortedMask = bStillSorted ? s.nTableMask | nBit : ~(s.nTableMask | nBit);
    s.CardsPlayed.push_back(nCard);
    ++s.nCardsPlayed;
    s.nTableMask |= nBit;
}

void Game::SortCardsPlayed() {
    // Highest first, so that each lower card of a column is drawn over the one above.
    if (state_.nSortedMask == state_.nTableMask) {
        return;
    }
    // The table holds distinct cards, so reading its set from the top sorts it:
    // rank by rank, each rank's suits found in a table of the sixteen sets of four.
    state_.nSortedMask = state_.nTableMask;
    std::array<int, kCardsInDeck + 3> Sorted; // NOLINT(cppcoreguidelines-pro-type-member-init)
    std::size_t n = 0;
    for (int r = 12; r >= 0; --r) {
        const auto nSuits = static_cast<std::size_t>((state_.nTableMask >> (4U * r)) & 0xFU);
        const RankSuits& suits = kRankSuits[nSuits];
        for (std::size_t j = 0; j < 4; ++j) {
            Sorted[n + j] = 4 * r + suits.Suits[j];
        }
        n += suits.nCount;
    }
    std::copy_n(Sorted.begin(), n, state_.CardsPlayed.begin());
}

void Game::PayThePot(int nSeat) {
    state_.Moves.push_back(HandMove{nSeat, -1, state_.nTableMask});
    state_.nFunds[nSeat] -= kPayThePot;
    state_.nPot += kPayThePot;
    ShowFunds(nSeat);
    ShowPot();
    state_.nLastCard[nSeat] = kPaidThePot;
    if (bShowsPlay_) {
        table_.SetLastCard(nSeat, kPaidThePot);
    }
    SetPlayerFill(nSeat, kMarkerWaiting);
}

void Game::Pause() {
    if (!bShowsPlay_) {
        return; // nothing to hold on a table nobody sees
    }
    state_.nDelay = kPauseTicks;
    while (!state_.bDelayDone) {
        table_.WaitForPause();
    }
    state_.bDelayDone = false;
}

void Game::ClearTable() {
    if (bShowsPlay_) {
        table_.ClearTable();
    }
}

void Game::DrawCardsPlayed() {
    if (bShowsPlay_) {
        table_.DrawCardsPlayed(state_.CardsPlayed);
    }
}

void Game::DrawUserHand() {
    GameState& s = state_;
    s.nCardSpacing = kCardSpacing;
    const int n = static_cast<int>(s.UserHand.size());
    s.nHandLeft = table_.TableWidth() / 2 - ((n - 1) * kCardSpacing + kCardWidthTwips) / 2;
    s.nHandTop = kHandTop;
    if (bShowsPlay_) {
        table_.DrawUserHand(s.UserHand, s.nHandLeft, s.nHandTop, s.nCardSpacing);
    }
}

void Game::ShowFunds(int nSeat) {
    if (bShowsPlay_) {
        table_.SetAmt(nSeat, state_.nFunds[nSeat]);
    }
}

void Game::ShowPot() {
    if (bShowsPlay_) {
        table_.SetPot(state_.nPot);
    }
}

void Game::Form_MouseDown(float x, float y) {
    state_.sngMouseX = x;
    state_.sngMouseY = y;
}

int Game::HitTestHand(float x, float y) const {
    const GameState& s = state_;
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
    // The card is the last one whose left edge is at or before x. The quotient
    // guesses it; the edge test, in the same arithmetic as the drawing, settles it.
    auto bEdgeReached = [&](int k) { return left + static_cast<float>(k) * spacing <= x; };
    int nIndex = spacing > 0 ? std::clamp(static_cast<int>((x - left) / spacing), 0, n - 1) : 0;
    while (nIndex > 0 && !bEdgeReached(nIndex)) {
        --nIndex;
    }
    while (nIndex < n - 1 && bEdgeReached(nIndex + 1)) {
        ++nIndex;
    }
    return nIndex;
}

void Game::Form_Click() {
    GameState& s = state_;
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
        PlaySoundRes(Sound::WrongCard);
        table_.ShowMessage(Hint::NoCard, -1);
        return;
    }
    const int c = s.UserHand[i];
    if (!IsUserCardLegal(s, c)) {
        PlaySoundRes(Sound::WrongCard);
        table_.ShowMessage(Hint::WrongCard, -1);
        return;
    }
    s.bSevenHeartsPlayed = true;

    PlaySoundRes(Sound::PlayCard);
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
    GameState& s = state_;
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
        PlaySoundRes(Sound::MustPlay);
        table_.ShowMessage(hint, nCard);
        return;
    }
    PlaySoundRes(Sound::PayPot);
    s.bUserTurn = false;
    PayThePot(kUserSeat);
    PlayCards();
    ContinueAfterUserAction();
}

void Game::ContinueAfterUserAction() {
    GameState& s = state_;
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
    if (practice_) {
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
    SetUserTag(program_.ShowGameOver());
    if (g_.bDBError) {
        program_.HandleDBError();
        return;
    }
    if (g_.bUserWon) {
        program_.TopTenLoad();
        if (g_.bDBError) {
            program_.HandleDBError();
            return;
        }
        if (IsTopTen()) {
            program_.TopTenSave();
            if (g_.bDBError) {
                program_.HandleDBError();
                return;
            }
            program_.ShowTopTen();
            if (g_.bDBError) {
                program_.HandleDBError();
                return;
            }
        }
    }
    ActOnGameOverAnswer();
}

void Game::AskGameOverAnswers() {
    state_.UserTag = DialogAnswer::None;
    SetUserTag(program_.ShowGameOverAnswers());
    ActOnGameOverAnswer();
}

void Game::ActOnGameOverAnswer() {
    GameState& s = state_;
    if (s.UserTag == DialogAnswer::Replay) {
        // The game is booked and its top ten settled before the practice.
        BeginPractice(PracticeResume::GameOverAnswers);
    } else if (s.UserTag == DialogAnswer::Yes) {
        s.bGameOver = false;
        EraseScores(g_);
        s.nHand = 0;
        if (g_.bUserWon) {
            table_.SetHourglass(true);
            ++s.nLevel;
            table_.SetBackground(kLevelBackground[s.nLevel % 4]);
            table_.SetHourglass(false);
        }
        table_.SetCaption(state_.nLevel, state_.nHand);
        StartGame(true);
    } else if (s.UserTag == DialogAnswer::No) {
        program_.Unload();
    } else if (s.UserTag == DialogAnswer::Change) {
        program_.SaveSettings();
        s.UserTag = DialogAnswer::None;
        SetUserTag(program_.ShowUserName(UserDialogExit::Design));
        if (g_.bDBError) {
            program_.HandleDBError();
            return;
        }
        if (s.UserTag != DialogAnswer::Exit) {
            ResetForNewGame();
            StartGame(true);
        } else {
            program_.Unload();
        }
    }
}

void Game::SetUserTag(DialogAnswer answer) {
    // A dialog closed without an answer leaves the box as it was.
    if (answer != DialogAnswer::None) {
        state_.UserTag = answer;
    }
}

void Game::ResetForNewGame() {
    DropPractice();
    lastDeal_.reset(); // the new user's game replays none of the former one's deals
    state_.bGameOver = false;
    state_.nLevel = 0;
    EraseScores(g_);
    state_.nHand = 0;
    table_.SetBackground(kLevelBackground[0]);
    table_.SetCaption(state_.nLevel, state_.nHand);
}

bool Game::IsTopTen() {
    std::array<TopTenRec, 11>& TopTen = state_.TopTen;
    const std::int16_t nScore = g_.Standings[0].nFunds;
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
    g_.nTopTenPos = nPos;
    if (nScore >= kHighScore) {
        program_.ShowHighScore();
    }
    // The new entry goes in at its place; an equal score stays above it and the
    // former tenth drops out.
    std::rotate(TopTen.begin() + nPos, TopTen.begin() + 9, TopTen.begin() + 10);
    TopTen[nPos] = TopTenRec{g_.sUserName, nScore, clock_.Now()};
    return true;
}

void Game::ChangeUser(bool bNewStart) {
    program_.SaveSettings();
    state_.UserTag = DialogAnswer::None;
    SetUserTag(program_.ShowUserName(bNewStart ? UserDialogExit::Exit : UserDialogExit::Cancel));
    if (g_.bDBError) {
        program_.HandleDBError();
        return;
    }
    if (state_.UserTag != DialogAnswer::Exit) {
        ResetForNewGame();
        StartGame(true);
    } else if (bNewStart) {
        program_.Unload();
    }
}

std::string LevelCaption(int nLevel, int nHand) {
    return " - Level " + std::to_string(nLevel + 1) +
           kHandSuffix.at(static_cast<std::size_t>(nHand));
}

} // namespace corvane
