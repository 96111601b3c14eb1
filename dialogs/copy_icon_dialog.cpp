// The desktop-shortcut offer.
#include "copy_icon_dialog.hpp"

#include "dialog_support.hpp"
#include "table/table_resources.hpp"

#include <array>

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

FCopyIcon::FCopyIcon(MGlobal& g, std::function<void()> copyLink, QWidget* pParent)
    : QDialog(pParent), g_(g), copyLink_(std::move(copyLink)) {
    setObjectName(QStringLiteral("FCopyIcon"));
    setWindowTitle(QStringLiteral("Add Corvane's Icon to Desktop"));

    auto* imgThinker = new QLabel(this);
    imgThinker->setObjectName(QStringLiteral("imgThinker"));
    imgThinker->setPixmap(Picture(PictureRole::DialogBitmap, 101, QSize(96, 96)));

    auto* pText = new QVBoxLayout;
    QFont font(QStringLiteral("Times New Roman"));
    font.setPointSize(12);
    const std::array lines = {"We were wondering?", "We couldn't find an icon for",
                              "Corvane on your desktop.", "Would you like to add one now?"};
    for (int i = 0; i < 4; ++i) {
        auto* pLabel = new QLabel(QString::fromLatin1(lines[i]), this);
        pLabel->setObjectName(QStringLiteral("lblCopyIcon%1").arg(i));
        pLabel->setFont(font);
        pText->addWidget(pLabel);
    }
    chkDontAsk_ = new QCheckBox(QStringLiteral("Don't ask in the future"), this);
    chkDontAsk_->setObjectName(QStringLiteral("chkDontAsk"));
    pText->addWidget(chkDontAsk_);

    auto* pTop = new QHBoxLayout;
    pTop->addWidget(imgThinker);
    pTop->addLayout(pText);

    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch();
    const std::array captions = {"&Yes", "&No"};
    for (int i = 0; i < 2; ++i) {
        auto* pButton = new QPushButton(QString::fromLatin1(captions[i]), this);
        pButton->setObjectName(QStringLiteral("cmdYesNo%1").arg(i));
        pButton->setAutoDefault(false);
        connect(pButton, &QPushButton::clicked, this, [this, i] { cmdYesNo_Click(i); });
        // Enter takes the offer; Escape declines it.
        pButton->setDefault(i == 0);
        pButtons->addWidget(pButton);
    }
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pTop);
    pLayout->addLayout(pButtons);
}

void FCopyIcon::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    CenterForm(*this);
}

void FCopyIcon::cmdYesNo_Click(int nIndex) {
    if (chkDontAsk_->isChecked()) {
        g_.bCopyLnk = false;
    }
    if (nIndex == 0 && copyLink_) {
        copyLink_();
    }
    done(nIndex == 0 ? QDialog::Accepted : QDialog::Rejected);
}

void FCopyIcon::reject() {
    // Closing the window answers No, with the check box still heard.
    cmdYesNo_Click(1);
}

} // namespace corvane
