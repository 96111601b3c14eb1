// The end-of-hand dialog: the winner of the hand, the pot taken, and every
// seat's funds after each hand of the game so far with the leader in blue.
#pragma once

#include "engine/mglobal.hpp"
#include "engine/program_port.hpp"
#include "game_dialog_support.hpp"

#include <QDialog>
#include <QTimer>

namespace corvane {

class FHandOver final : public QDialog {
    Q_OBJECT

public:
    // Reads the names, the winner, the pot and the four score lists of g once,
    // here; playSound plays the win or lose sound half a second after showing.
    // With bOfferReplay a second button asks for the hand's deal again.
    FHandOver(const MGlobal& g, SoundPlayer playSound, QWidget* pParent = nullptr,
              bool bOfferReplay = false);

    // Ok, Replay, or None when closed by the frame or Escape.
    DialogAnswer Answer() const { return answer_; }

    // The seat whose funds after the last hand are highest, by the leading
    // number of each score; on equal funds the higher seat leads. Seat 0 when
    // there are no scores.
    static int GetHighScore(const MGlobal& g);

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void tmrScore_Timer();

    SoundPlayer playSound_;
    DialogAnswer answer_ = DialogAnswer::None;
    bool bUserWonHand_ = false;
    bool bDone_ = false;
    QTimer tmrScore_;
};

} // namespace corvane
