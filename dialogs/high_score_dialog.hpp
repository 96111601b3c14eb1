// The congratulation for an outstanding new top-ten score, over the thinking
// figure, with a fanfare half a second after it opens.
#pragma once

#include "game_dialog_support.hpp"

#include <QDialog>
#include <QPixmap>
#include <QTimer>

namespace corvane {

class FHighScore final : public QDialog {
    Q_OBJECT

public:
    explicit FHighScore(SoundPlayer playSound, QWidget* pParent = nullptr);

protected:
    void showEvent(QShowEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void tmrHighScore_Timer();

    SoundPlayer playSound_;
    // Rendered once for the screen's pixel ratio; painting only copies it.
    QPixmap background_;
    bool bDone_ = false;
    QTimer tmrHighScore_;
};

} // namespace corvane
