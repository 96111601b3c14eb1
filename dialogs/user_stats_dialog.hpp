// FUserStats: the current user's totals and average, with a reset, and a chart
// of the user's recent games.
#pragma once

#include "engine/mglobal.hpp"
#include "storage/game_db.hpp"
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
    FUserStats(MGlobal& g, StorageEnv& env, UserDisplay& display, QWidget* pParent = nullptr);

    // How many of the newest games the chart shows.
    static constexpr int kChartGames = 100;

    // Index 0 Reset, 1 Close.
    void cmdUserStats_Click(int nIndex);

protected:
    void showEvent(QShowEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void ShowTotals();
    void ShowHistory();

    MGlobal& g_;
    StorageEnv& env_;
    UserDisplay& display_;
    std::array<QLabel*, 3> lblStats_{};
    QWidget* chtHistory_ = nullptr; // made by the chart library
    QLabel* lblHistory_ = nullptr;  // says why there is no chart
    QPixmap background_;
};

} // namespace corvane
