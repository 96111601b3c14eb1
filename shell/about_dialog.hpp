// FAbout: the program's picture, title and credits.
#pragma once

#include <QDialog>

namespace corvane {

class FAbout final : public QDialog {
public:
    explicit FAbout(QWidget* pParent = nullptr);

protected:
    void showEvent(QShowEvent* pEvent) override;
};

} // namespace corvane
