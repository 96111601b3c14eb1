// The chart of the statistics dialog: the user's recent games, each one's
// winnings as a bar above or below zero, the running total as a line, and the
// points where the level changed marked on the game axis.
//
// The chart lives in a small library of its own, loaded when a statistics
// dialog first has games to show, so that the charting libraries are not
// loaded and relocated at every start of the program.
#pragma once

#include "storage/game_db.hpp"

#include <cstdint>
#include <vector>

class QWidget;

namespace corvane {

// What the chart library exports, under the name kHistoryChartEntry: a view of
// the chart of games (oldest first), the newest being game nLastGame of the
// user, whose total winnings are now nTotal.
using HistoryChartEntry = QWidget* (*)(const std::vector<HistoryRec>& games, int nLastGame,
                                       std::int32_t nTotal, QWidget* pParent);
inline constexpr const char* kHistoryChartEntry = "CorvaneMakeHistoryChartView";
// The chart library's file name without its platform's prefix and suffix; it
// is looked for in the application's library paths (its own folder first).
inline constexpr const char* kHistoryChartLibrary = "corvane_history_chart";

// The chart view, made by the chart library; nullptr when that library cannot be loaded.
QWidget* MakeHistoryChartView(const std::vector<HistoryRec>& games, int nLastGame,
                              std::int32_t nTotal, QWidget* pParent);

} // namespace corvane
