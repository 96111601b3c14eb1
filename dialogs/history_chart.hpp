// The chart of the statistics dialog: the user's recent games, each one's
// winnings as a bar above or below zero, the running total as a line, and the
// points where the level changed marked on the game axis.
#pragma once

#include "storage/game_db.hpp"

#include <cstdint>
#include <vector>

class QChart;

namespace corvane {

// Builds the chart of games (oldest first), the newest being game nLastGame of
// the user, whose total winnings are now nTotal.
QChart* MakeHistoryChart(const std::vector<HistoryRec>& games, int nLastGame, std::int32_t nTotal);

} // namespace corvane
