// Tooltips for the boxes on the table. The panels' labels let the mouse through
// to the table beneath them, so the table's tooltip requests are answered here
// with the tip of the label under the pointer.
#pragma once

#include <QObject>

namespace corvane {

class TableView;

class PanelTooltips final : public QObject {
    Q_OBJECT
public:
    explicit PanelTooltips(TableView& table);

    // Gives each seat's funds, cards-left and last-card boxes and the winnings
    // box their tips, or takes them away.
    void SetEnabled(bool bEnabled);

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    TableView& table_;
};

} // namespace corvane
