// FViewOptions: how the table is drawn. OK takes the choices into g.View; the
// caller stores them and redraws the table.
#pragma once

#include "engine/mglobal.hpp"

#include <array>

#include <QDialog>

class QCheckBox;

namespace corvane {

class FViewOptions final : public QDialog {
public:
    explicit FViewOptions(MGlobal& g, QWidget* pParent = nullptr);

    void cmdOK_Click();

private:
    MGlobal& g_;
    std::array<QCheckBox*, 5> chkView_{};
};

} // namespace corvane
