// The hint dialog: one or two short lines telling the user why a click on the
// hand or on the pay-the-pot button did nothing. Modal; OK, Enter or Esc close it.
#pragma once

#include "engine/table_port.hpp"

#include <QDialog>

class QLabel;
class QPushButton;

namespace corvane {

class FMessage final : public QDialog {
    Q_OBJECT
public:
    // Shows the hint; nCard is the card a CanPlayOne hint names.
    FMessage(Hint hint, int nCard, QWidget* pParent = nullptr);

    void cmdMessage_Click();

private:
    void Form_Load(Hint hint, int nCard);

    QLabel* imgMessage_;
    QLabel* lblMessage0_;
    QLabel* lblMessage1_;
    QPushButton* cmdMessage_;
};

} // namespace corvane
