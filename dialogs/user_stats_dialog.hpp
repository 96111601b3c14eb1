// FUserStats: the current user's totals and average, with a reset.
#pragma once

#include "engine/mglobal.hpp"
#include "platform/message_box.hpp"
#include "user_display.hpp"

#include <array>
#include <cstdint>
#include <string>

#include <QDialog>
#include <QPixmap>

class QLabel;

namespace corvane {

// "$" + the winnings per game, truncated toward zero; "$0" below one game.
std::string AverageWinningsText(std::int32_t nWinnings, std::int16_t nNumGames);

class FUserStats final : public QDialog {
public:
    FUserStats(MGlobal& g, MessageBoxes& msg, UserDisplay& display, QWidget* pParent = nullptr);

    // Index 0 Reset, 1 Close.
    void cmdUserStats_Click(int nIndex);

protected:
    void showEvent(QShowEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void ShowTotals();

    MGlobal& g_;
    MessageBoxes& msg_;
    UserDisplay& display_;
    std::array<QLabel*, 3> lblStats_{};
    QPixmap background_;
};

} // namespace corvane
