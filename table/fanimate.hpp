// The animation-speed dialog: a scroll bar from the slowest flight (80, at
// the left) to none (0, at the right), in thousands of the speed setting.
// Modeless; only OK (also Enter and Esc) stores the value.
#pragma once

#include "engine/mglobal.hpp"

#include <QDialog>

class QPushButton;
class QScrollBar;

namespace corvane {

class FAnimate final : public QDialog {
    Q_OBJECT
public:
    explicit FAnimate(MGlobal& g, QWidget* pParent = nullptr);

    // 0 "&Reset" puts the thumb on "Normal"; 1 "&OK" stores and closes.
    void cmdAnim_Click(int nIndex);

    // The speed the thumb shows, in thousands: 80 at the left end, 0 at the right.
    int Value() const;
    void SetValue(int nValue);

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void Form_Load();

    MGlobal& g_;
    QScrollBar* scrAnim_;
};

} // namespace corvane
