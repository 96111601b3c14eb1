// The message boxes and the beep of the running program, drawn by Qt.
#pragma once

#include "message_box.hpp"

class QString;
class QWidget;

namespace corvane {

// The width a window needs for its title bar to show sTitle whole: the title
// in a bold face, and room for the frame's icon and buttons.
int TitleBarWidth(const QString& sTitle);

class QtMessageBoxes final : public MessageBoxes {
public:
    // Boxes are centred on pParent, or on the screen when it is null.
    explicit QtMessageBoxes(QWidget* pParent = nullptr) : pParent_(pParent) {}
    void SetParent(QWidget* pParent) { pParent_ = pParent; }

    void Show(const std::string& sText, const std::string& sTitle, MsgIcon icon) override;
    MsgAnswer AskYesNo(const std::string& sText, const std::string& sTitle, MsgIcon icon) override;
    void Beep() override;

private:
    QWidget* pParent_;
};

} // namespace corvane
