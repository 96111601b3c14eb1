// The game-over dialog: books the finished game into the user's record, ranks
// the four seats through the database, and asks whether to play again.
#pragma once

#include "engine/mglobal.hpp"
#include "engine/program_port.hpp"
#include "game_dialog_support.hpp"
#include "storage/game_db.hpp"

#include <array>
#include <functional>
#include <string>

#include <QDialog>
#include <QLabel>
#include <QTimer>

namespace corvane {

class FGameOver final : public QDialog {
    Q_OBJECT

public:
    // Books the game at once: asFundsCaptions are the main window's four funds
    // captions (index = seat), nLevel the level the game was played at (from 0),
    // setWinnings receives the new caption of its winnings label, and the user
    // record with the game's history row and the standings go through env.
    // bUserWon is decided here, as soon as the standings are known.
    FGameOver(MGlobal& g, StorageEnv& env, const std::array<std::string, 4>& asFundsCaptions,
              int nLevel, const std::function<void(const std::string&)>& setWinnings,
              SoundPlayer playSound, QWidget* pParent = nullptr);
    // The question again over the standings already in g, after a practice of
    // the game's last deal: nothing is booked, ranked or played.
    explicit FGameOver(MGlobal& g, QWidget* pParent = nullptr);

    // Yes, No, Change or Replay from the four buttons; None only when the
    // dialog closed itself after a database failure. Escape and the frame's
    // close button do nothing: the game waits for one of the answers.
    DialogAnswer Answer() const { return answer_; }

    // Whether the standings were read from the database and are shown.
    bool HasStandings() const { return bStandings_; }

    void reject() override {}

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void BuildControls();
    void ShowStandings();
    void cmdYesNo_Click(int nIndex);
    void tmrScore_Timer();

    MGlobal& g_;
    SoundPlayer playSound_;
    std::array<QLabel*, 4> lblPlayer_{};
    std::array<QLabel*, 4> lblAmt_{};
    DialogAnswer answer_ = DialogAnswer::None;
    bool bStandings_ = false;
    bool bDone_ = false;
    QTimer tmrScore_;
};

} // namespace corvane
