// picHelp: the how-to-play panel that the main window lays over the table.
#pragma once

#include <array>

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

protected:
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    // The largest text size, up to the design's at the panel's scale, at which
    // every text shows whole.
    void FitText();
    void SetTextSize(int nPixels);

    std::array<QLabel*, 25> lblHelp_{};
    QWidget* cmdHelp_ = nullptr;
};

} // namespace corvane
