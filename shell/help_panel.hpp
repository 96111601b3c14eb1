// picHelp: the how-to-play panel that the main window lays over the table.
#pragma once

#include <QWidget>

class QLabel;

namespace corvane {

class HelpPanel final : public QWidget {
public:
    // Hidden until the How to Play command shows it.
    explicit HelpPanel(QWidget* pParent = nullptr);

    void cmdHelp_Click();
    // lblHelp(13) to lblHelp(24).
    QLabel* lblHelp(int nIndex) const;

private:
    QLabel* lblHelp_[25] = {};
};

} // namespace corvane
