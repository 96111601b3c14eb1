// The about box.
#include "about_dialog.hpp"

#include "dialogs/dialog_support.hpp"
#include "table/table_resources.hpp"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

FAbout::FAbout(QWidget* pParent) : QDialog(pParent) {
    setObjectName(QStringLiteral("FAbout"));
    setWindowTitle(QStringLiteral("About Corvane..."));

    auto* imgAbout = new QLabel(this);
    imgAbout->setObjectName(QStringLiteral("imgAbout"));
    imgAbout->setPixmap(Picture(PictureRole::ProgramIcon, 0, QSize(64, 64)));

    auto* lblTitle = new QLabel(QStringLiteral("The Game of Corvane"), this);
    lblTitle->setObjectName(QStringLiteral("lblAboutTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setPointSize(titleFont.pointSize() + 6);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);

    auto* lblCredits = new QLabel(
        QStringLiteral("Version 2.2\n"
                       "A card game of sevens for one player and three computer opponents.\n"
                       "Cards, pictures and sounds are drawn by the program itself.\n"
                       "Built with C++ and Qt."),
        this);
    lblCredits->setObjectName(QStringLiteral("lblAboutCredits"));

    auto* cmdAbout = new QPushButton(QStringLiteral("&OK"), this);
    cmdAbout->setObjectName(QStringLiteral("cmdAbout"));
    cmdAbout->setDefault(true);
    connect(cmdAbout, &QPushButton::clicked, this, &QDialog::accept);

    auto* pText = new QVBoxLayout;
    pText->addWidget(lblTitle);
    pText->addWidget(lblCredits);
    auto* pTop = new QHBoxLayout;
    pTop->addWidget(imgAbout, 0, Qt::AlignTop);
    pTop->addLayout(pText);
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch();
    pButtons->addWidget(cmdAbout);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pTop);
    pLayout->addLayout(pButtons);
}

void FAbout::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    PlaceAboveMiddle(*this);
}

} // namespace corvane
