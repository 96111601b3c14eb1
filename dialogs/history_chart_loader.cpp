// Finds the chart library in the library paths and asks it for the view.
#include "history_chart.hpp"

#include <QCoreApplication>
#include <QLibrary>
#include <QWidget>

namespace corvane {

QWidget* MakeHistoryChartView(const std::vector<HistoryRec>& games, int nLastGame,
                              std::int32_t nTotal, QWidget* pParent) {
    for (const QString& sFolder : QCoreApplication::libraryPaths()) {
        // Once loaded the library stays, so a later dialog finds it at once.
        QLibrary library(sFolder + QLatin1Char('/') + QLatin1String(kHistoryChartLibrary));
        const QFunctionPointer pEntry = library.resolve(kHistoryChartEntry);
        if (pEntry != nullptr) {
            // A library hands out bare function pointers; the chart library's
            // entry has the type declared beside its name.
            // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
            const auto pMake = reinterpret_cast<HistoryChartEntry>(pEntry);
            return pMake(games, nLastGame, nTotal, pParent);
        }
    }
    return nullptr;
}

} // namespace corvane
