// FCopyIcon: offers to put the program's shortcut on the desktop.
#pragma once

#include "engine/mglobal.hpp"

#include <functional>

#include <QDialog>

class QCheckBox;

namespace corvane {

class FCopyIcon final : public QDialog {
public:
    // copyLink copies the shortcut (the Yes button).
    FCopyIcon(MGlobal& g, std::function<void()> copyLink, QWidget* pParent = nullptr);

    // Index 0 Yes, 1 No. "Don't ask in the future" acts with either.
    void cmdYesNo_Click(int nIndex);

protected:
    void showEvent(QShowEvent* pEvent) override;
    void reject() override;

private:
    MGlobal& g_;
    std::function<void()> copyLink_;
    QCheckBox* chkDontAsk_;
};

} // namespace corvane
