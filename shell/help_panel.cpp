// The how-to-play panel. Its texts are the game's own rules sheet, word for word.
#include "help_panel.hpp"

#include "table/table_resources.hpp"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace corvane {

namespace {

constexpr auto kHelpTexts = std::to_array<std::pair<int, const char*>>({
    {24, "How to Play:"},
    {23, "Each player starts with $200 and then \"Pays the Pot\" $5 at the beginning of each hand. "
         "(automatic)  If you cannot play a card when it is your turn then you have to \"Pay the "
         "Pot\" $5.  At the end of each hand, you  pay the pot an addtional $5 for each card you "
         "have left. (automatic)"},
    {22, "The Pot:"},
    {21, "The Rules:"},
    {20, "The player with the \"Seven of Hearts\" starts the hand.  When it is your turn you can "
         "play any card which is adjacent (above or below) a card that is already played (or) you "
         "can play a \"Seven\" to open up another suit.  If you cannot play then you have to \"Pay "
         "the Pot\".  The first player to play all of their cards wins the pot.  There are four "
         "hands within a game."},
    {19, "The Strategy:"},
    {18, "The basic strategy of Corvane is to block your opponents from playing, while getting "
         "your own cards out.   Here are some guidelines to follow..."},
    {17, "1."},
    {16, "The BEST card to play is one that leads to one of your other cards of the SAME suit.  "
         "You need your opponents to play the cards in between BEFORE you can play your 2nd card, "
         "so the sooner you get the 1st card out the better."},
    {15, "2."},
    {14, "If you do not have any cards to play that lead to other cards then the NEXT best card to "
         "play is the one that is the farthest from seven.  ( king - high /  ace - low )"},
    {13, "Corvane is a fun, challenging and yet easy to learn game!!!"},
});

// The panel's design height in pixels, and the size of its text there.
constexpr double kDesignHeight = 449.0;
constexpr int kDesignTextPixels = 11;
// The title is this much larger than the other texts.
constexpr int kTitleExtraPixels = 5;
constexpr int kSmallestTextPixels = 6;

} // namespace

HelpPanel::HelpPanel(QWidget* pParent) : QWidget(pParent) {
    setObjectName(QStringLiteral("picHelp"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, QColor(0xFF, 0xFF, 0xE8));
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);

    for (const auto& [nIndex, sText] : kHelpTexts) {
        auto* pLabel = new QLabel(QString::fromUtf8(sText), this);
        pLabel->setObjectName(QStringLiteral("lblHelp%1").arg(nIndex));
        pLabel->setWordWrap(true);
        pLabel->setTextFormat(Qt::PlainText);
        lblHelp_[nIndex] = pLabel;
    }
    for (const int nHeading : {24, 22, 21, 19}) {
        QFont font = lblHelp_[nHeading]->font();
        font.setBold(true);
        font.setUnderline(nHeading != 24);
        lblHelp_[nHeading]->setFont(font);
    }
    QFont slogan = lblHelp_[13]->font();
    slogan.setItalic(true);
    lblHelp_[13]->setFont(slogan);

    auto* imgHelp = new QLabel(this);
    imgHelp->setObjectName(QStringLiteral("imgHelp"));
    imgHelp->setPixmap(Picture(PictureRole::HelpPicture, 0, {}, devicePixelRatioF()));

    auto* cmdHelp = new QPushButton(QStringLiteral("&Close"), this);
    cmdHelp->setObjectName(QStringLiteral("cmdHelp"));
    connect(cmdHelp, &QPushButton::clicked, this, [this] { cmdHelp_Click(); });
    cmdHelp_ = cmdHelp;

    auto* pGrid = new QGridLayout;
    pGrid->setColumnStretch(1, 1);
    int nRow = 0;
    auto AddSection = [&](int nHeading, int nText) {
        pGrid->addWidget(lblHelp_[nHeading], nRow++, 0, 1, 2);
        pGrid->addWidget(lblHelp_[nText], nRow++, 0, 1, 2);
    };
    AddSection(21, 20);
    AddSection(22, 23);
    AddSection(19, 18);
    pGrid->addWidget(lblHelp_[17], nRow, 0, Qt::AlignTop);
    pGrid->addWidget(lblHelp_[16], nRow++, 1);
    pGrid->addWidget(lblHelp_[15], nRow, 0, Qt::AlignTop);
    pGrid->addWidget(lblHelp_[14], nRow++, 1);

    auto* pTop = new QHBoxLayout;
    pTop->addWidget(imgHelp, 0, Qt::AlignTop);
    auto* pTitle = new QVBoxLayout;
    pTitle->addWidget(lblHelp_[24]);
    pTitle->addWidget(lblHelp_[13]);
    pTop->addLayout(pTitle, 1);

    auto* pBottom = new QHBoxLayout;
    pBottom->addStretch();
    pBottom->addWidget(cmdHelp);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pTop);
    pLayout->addLayout(pGrid);
    pLayout->addStretch();
    pLayout->addLayout(pBottom);
    SetTextSize(kDesignTextPixels);
    hide();
}

void HelpPanel::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    FitText();
}

void HelpPanel::FitText() {
    const int nLargest =
        std::max(kSmallestTextPixels,
                 static_cast<int>(std::lround(kDesignTextPixels * height() / kDesignHeight)));
    for (int nPixels = nLargest; nPixels >= kSmallestTextPixels; --nPixels) {
        SetTextSize(nPixels);
        layout()->invalidate();
        if (layout()->totalHeightForWidth(width()) <= height()) {
            return;
        }
    }
}

void HelpPanel::SetTextSize(int nPixels) {
    for (QLabel* pLabel : lblHelp_) {
        if (pLabel != nullptr) {
            QFont font = pLabel->font();
            font.setPixelSize(pLabel == lblHelp_[24] ? nPixels + kTitleExtraPixels : nPixels);
            pLabel->setFont(font);
        }
    }
    QFont font = cmdHelp_->font();
    font.setPixelSize(nPixels);
    cmdHelp_->setFont(font);
}

void HelpPanel::cmdHelp_Click() {
    hide();
}

QLabel* HelpPanel::lblHelp(int nIndex) const {
    return nIndex >= 13 && nIndex <= 24 ? lblHelp_[nIndex] : nullptr;
}

} // namespace corvane
