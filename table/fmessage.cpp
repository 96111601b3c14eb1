#include "fmessage.hpp"

#include "engine/cards.hpp"
#include "engine/twips.hpp"
#include "platform/qt_message_boxes.hpp"
#include "table/table_resources.hpp"

#include <algorithm>
#include <initializer_list>

#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace corvane {
namespace {

QRect Twips(int nLeft, int nTop, int nWidth, int nHeight) {
    return {TwipsToPixelsTruncated(nLeft), TwipsToPixelsTruncated(nTop),
            TwipsToPixelsTruncated(nWidth), TwipsToPixelsTruncated(nHeight)};
}

// The window frame adds this much to the client width, in twips.
constexpr int kFrameTwips = 120;
constexpr int kClientHeight = 1515;

} // namespace

FMessage::FMessage(Hint hint, int nCard, QWidget* pParent)
    : QDialog(pParent), imgMessage_(new QLabel(this)), lblMessage0_(new QLabel(this)),
      lblMessage1_(new QLabel(this)) {
    setObjectName(QStringLiteral("FMessage"));
    setWindowTitle(QStringLiteral("The Corvane Game"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    imgMessage_->setObjectName(QStringLiteral("imgMessage"));
    imgMessage_->setGeometry(Twips(240, 240, 480, 480));
    imgMessage_->setPixmap(
        Picture(PictureRole::ProgramIcon, 0, imgMessage_->size(), devicePixelRatioF()));

    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    lblMessage0_->setObjectName(QStringLiteral("lblMessage0"));
    lblMessage0_->setGeometry(Twips(960, 330, 1965, 195));
    lblMessage1_->setObjectName(QStringLiteral("lblMessage1"));
    lblMessage1_->setGeometry(Twips(960, 570, 1965, 195));
    for (QLabel* pLabel : {lblMessage0_, lblMessage1_}) {
        pLabel->setFont(font);
    }

    cmdMessage_ = new QPushButton(QStringLiteral("&OK"), this);
    cmdMessage_->setObjectName(QStringLiteral("cmdMessage"));
    cmdMessage_->setGeometry(Twips(960, 1000, 1215, 375));
    cmdMessage_->setDefault(true);
    connect(cmdMessage_, &QPushButton::clicked, this, &FMessage::cmdMessage_Click);

    Form_Load(hint, nCard);
}

void FMessage::Form_Load(Hint hint, int nCard) {
    const bool bWide = hint == Hint::NoCard || hint == Hint::WrongCard;
    const int nWidth = bWide ? 3180 : 2820;
    cmdMessage_->move(TwipsToPixelsTruncated(bWide ? 960 : 720), cmdMessage_->y());
    // Wide enough for the title bar to show the whole title; the controls keep
    // their places about the middle.
    const int nDesignWidth = TwipsToPixelsTruncated(nWidth - kFrameTwips);
    const int nClientWidth = std::max(nDesignWidth, TitleBarWidth(windowTitle()));
    for (QWidget* pControl :
         std::initializer_list<QWidget*>{imgMessage_, lblMessage0_, lblMessage1_, cmdMessage_}) {
        pControl->move(pControl->x() + (nClientWidth - nDesignWidth) / 2, pControl->y());
    }
    setFixedSize(nClientWidth, TwipsToPixelsTruncated(kClientHeight));

    QString s0;
    QString s1;
    switch (hint) {
    case Hint::NoCard:
        s0 = QStringLiteral("You do not have any cards");
        s1 = QStringLiteral("to play, so pay the pot!");
        break;
    case Hint::WrongCard:
        s0 = QStringLiteral("You cannot play this card!");
        break;
    case Hint::MustPlay:
        s0 = QStringLiteral("You MUST play the");
        s1 = QStringLiteral("Seven of Hearts!");
        break;
    case Hint::CanPlayOne:
        s0 = QStringLiteral("You can play the");
        s1 = QString::fromStdString(GetCardName(nCard)) + QLatin1Char('!');
        break;
    case Hint::CanPlayTwo:
        s0 = QStringLiteral("You have several");
        s1 = QStringLiteral("cards you can play!");
        break;
    }
    lblMessage0_->setText(s0);
    lblMessage1_->setText(s1);
    for (QLabel* pLabel : {lblMessage0_, lblMessage1_}) {
        // A substitute font a little wider than the design's may need more room.
        pLabel->resize(std::max(pLabel->width(), pLabel->sizeHint().width()), pLabel->height());
    }

    // A little above the middle of the screen.
    if (const QScreen* pScreen = parentWidget() != nullptr ? parentWidget()->screen() : screen()) {
        const QRect area = pScreen->geometry();
        move(area.left() + static_cast<int>((area.width() - width()) / 2.0),
             area.top() + static_cast<int>((area.height() - height()) / 2.2));
    }
}

void FMessage::cmdMessage_Click() {
    accept();
}

} // namespace corvane
