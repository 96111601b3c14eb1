// The recording port's bookkeeping.
#include "engine/testing/recording_port.hpp"

#include <algorithm>
#include <numeric>

namespace corvane::testing {
namespace {

// Enumerators as the record of calls spells them.
const char* Name(Sound sound) {
    static constexpr std::array<const char*, 14> kNames{
        "WrongCard",   "MustPlay",    "PlayCard",    "PayPot",   "OtherPlayers",
        "UserWon",     "OtherWon",    "SoundOn",     "SoundOff", "HighScore",
        "OverPlayer1", "OverPlayer2", "OverPlayer3", "OverPot"};
    return kNames.at(static_cast<std::size_t>(sound));
}

const char* Name(Hint hint) {
    static constexpr std::array<const char*, 5> kNames{"NoCard", "WrongCard", "MustPlay",
                                                       "CanPlayOne", "CanPlayTwo"};
    return kNames.at(static_cast<std::size_t>(hint));
}

const char* Name(DialogAnswer answer) {
    static constexpr std::array<const char*, 7> kNames{"-",  "Exit",   "Ok",    "Yes",
                                                       "No", "Change", "Replay"};
    return kNames.at(static_cast<std::size_t>(answer));
}

const char* Name(UserDialogExit exitButton) {
    static constexpr std::array<const char*, 3> kNames{"Design", "Exit", "Cancel"};
    return kNames.at(static_cast<std::size_t>(exitButton));
}

} // namespace

void RecordingPort::Record(const std::string& sCall) {
    if (bRecord) {
        Calls.push_back(sCall);
    }
    if (onCall) {
        onCall(sCall);
    }
}

int RecordingPort::Count(const std::string& sPrefix) const {
    return static_cast<int>(std::count_if(Calls.begin(), Calls.end(), [&](const std::string& c) {
        return c.compare(0, sPrefix.size(), sPrefix) == 0;
    }));
}

void RecordingPort::SetAmt(int nSeat, int nFunds) {
    Amt.at(nSeat) = nFunds; // a seat beyond the four throws
    Record("SetAmt " + std::to_string(nSeat) + " " + std::to_string(nFunds));
}

void RecordingPort::SetPot(int nNewPot) {
    nPot = nNewPot;
    Record("SetPot " + std::to_string(nNewPot));
}

void RecordingPort::SetCardsLeft(int nSeat, int nCardsLeft) {
    CardsLeft.at(nSeat) = nCardsLeft;
    Record("SetCardsLeft " + std::to_string(nSeat) + " " + std::to_string(nCardsLeft));
}

void RecordingPort::SetLastCard(int nSeat, int nCard) {
    LastCard.at(nSeat) = nCard;
    const std::string sShown = nCard == kPaidThePot   ? "sad"
                               : nCard == kNoLastCard ? "-"
                                                      : std::to_string(nCard);
    Record("SetLastCard " + std::to_string(nSeat) + " " + sShown);
}

void RecordingPort::SetPlayerFill(int nSeat, std::uint32_t nColour) {
    Fill.at(nSeat) = nColour;
    Record("SetPlayerFill " + std::to_string(nSeat) + " " + std::to_string(nColour));
}

void RecordingPort::ClearTable() {
    TableCards.clear();
    Record("ClearTable");
}

void RecordingPort::DrawCardsPlayed(const std::vector<int>& CardsPlayed) {
    TableCards.insert(TableCards.end(), CardsPlayed.begin(), CardsPlayed.end());
    Record("DrawCardsPlayed " + std::to_string(CardsPlayed.size()));
}

void RecordingPort::DrawUserHand(const std::vector<int>& UserHand, int nHandLeft, int nHandTop,
                                 int nCardSpacing) {
    HandCards = UserHand;
    Record("DrawUserHand " + std::to_string(UserHand.size()) + " " + std::to_string(nHandLeft) +
           " " + std::to_string(nHandTop) + " " + std::to_string(nCardSpacing));
}

void RecordingPort::FlyCard(int nSeat, int nCard) {
    Record("FlyCard " + std::to_string(nSeat) + " " + std::to_string(nCard));
}

void RecordingPort::SetCaption(int nLevel, int nHand) {
    Caption = g_.sTitle + LevelCaption(nLevel, nHand);
    Record("SetCaption " + Caption);
}

void RecordingPort::SetPracticeCaption(int nLevel, int nHand) {
    Caption = g_.sTitle + " - Practice" + LevelCaption(nLevel, nHand);
    Record("SetCaption " + Caption);
}

void RecordingPort::SetBackground(int nBitmap) {
    nBackground = nBitmap;
    Record("SetBackground " + std::to_string(nBitmap));
}

void RecordingPort::SetHourglass(bool bBusy) {
    Record(std::string("SetHourglass ") + (bBusy ? "on" : "off"));
}

void RecordingPort::SetInputEnabled(bool bEnabled) {
    bInputEnabled = bEnabled;
    Record(std::string("SetInputEnabled ") + (bEnabled ? "on" : "off"));
}

void RecordingPort::PlaySoundRes(Sound sound) {
    Sounds.push_back(sound);
    Record(std::string("PlaySoundRes ") + Name(sound));
}

void RecordingPort::WaitForPause() {
    ++nPauses;
    Record("WaitForPause");
    // The window's timer keeps ticking until the engine's count-down is done.
    while (pGame != nullptr && !pGame->State().bDelayDone) {
        pGame->tmrCount_Timer();
    }
}

void RecordingPort::ShowMessage(Hint hint, int nCard) {
    Messages.push_back(hint);
    nMessageCard = nCard;
    Record(std::string("ShowMessage ") + Name(hint));
}

DialogAnswer RecordingPort::ShowHandOver(bool bOfferReplay) {
    ++nHandOvers;
    DialogAnswer answer = DialogAnswer::Ok;
    if (!HandOverAnswers.empty()) {
        answer = HandOverAnswers.front();
        HandOverAnswers.pop_front();
    }
    Record("ShowHandOver");
    return bOfferReplay || answer != DialogAnswer::Replay ? answer : DialogAnswer::Ok;
}

DialogAnswer RecordingPort::ShowGameOver() {
    ++nGameOvers;
    // What the game-over dialog does: book the game and rank the seats.
    const std::array<int, 4>& aFunds = Amt;
    ++g_.nNumGames;
    g_.nWinnings += aFunds[3] - 200;
    const std::array<const std::string*, 4> names{&g_.sLeftName, &g_.sTopName, &g_.sRightName,
                                                  &g_.sUserName};
    std::array<int, 4> order{0, 1, 2, 3};
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return aFunds[a] > aFunds[b]; });
    for (int p = 0; p < 4; ++p) {
        g_.Standings[p] =
            StandingRec{*names[order[p]], static_cast<std::int16_t>(aFunds[order[p]])};
    }
    g_.bUserWon = g_.Standings[0].sName == g_.sUserName;
    if (onGameOver) {
        onGameOver();
    }
    const DialogAnswer answer = NextGameOverAnswer();
    Record(std::string("ShowGameOver ") + Name(answer));
    return answer;
}

DialogAnswer RecordingPort::ShowGameOverAnswers() {
    const DialogAnswer answer = NextGameOverAnswer();
    Record(std::string("ShowGameOverAnswers ") + Name(answer));
    return answer;
}

DialogAnswer RecordingPort::NextGameOverAnswer() {
    DialogAnswer answer = DefaultGameOver;
    if (!GameOverAnswers.empty()) {
        answer = GameOverAnswers.front();
        GameOverAnswers.pop_front();
    }
    return answer;
}

void RecordingPort::ShowPracticeResult(int nThisTime, int nInGame) {
    Record("ShowPracticeResult " + std::to_string(nThisTime) + " " + std::to_string(nInGame));
}

void RecordingPort::ShowHighScore() {
    ++nHighScores;
    Record("ShowHighScore");
}

void RecordingPort::ShowTopTen() {
    ++nTopTens;
    Record("ShowTopTen " + std::to_string(g_.nTopTenPos));
}

DialogAnswer RecordingPort::ShowUserName(UserDialogExit exitButton) {
    LastExitButton = exitButton;
    DialogAnswer answer = DialogAnswer::Ok;
    if (!UserNameAnswers.empty()) {
        answer = UserNameAnswers.front();
        UserNameAnswers.pop_front();
    }
    Record(std::string("ShowUserName ") + Name(exitButton) + " " + Name(answer));
    return answer;
}

void RecordingPort::SaveSettings() {
    Record("SaveSettings");
}

void RecordingPort::TopTenLoad() {
    if (pGame != nullptr) {
        std::copy(StoredTopTen.begin(), StoredTopTen.end(), pGame->State().TopTen.begin());
    }
    Record("TopTenLoad");
}

void RecordingPort::TopTenSave() {
    if (pGame != nullptr) {
        std::copy_n(pGame->State().TopTen.begin(), 10, StoredTopTen.begin());
    }
    Record("TopTenSave");
}

void RecordingPort::HandleDBError() {
    Record("HandleDBError");
}

void RecordingPort::Unload() {
    bUnloaded = true;
    Record("Unload");
}

std::uint32_t RecordingPort::TickCount() {
    nTick += nTickStep;
    return nTick;
}

} // namespace corvane::testing
