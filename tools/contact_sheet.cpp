// Renders every card face and built-in picture into one PNG, to look at the
// artwork after changing it: corvane-contact-sheet out.png [scale]
#include "engine/twips.hpp"
#include "table/card_faces.hpp"
#include "table/table_resources.hpp"

#include <array>
#include <cstdio>
#include <span>

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    // What is left of the command line once Qt has taken its own options.
    const std::span<char*> args(argv, static_cast<std::size_t>(argc));
    if (argc < 2) {
        std::fprintf(stderr, "usage: corvane-contact-sheet out.png [scale]\n");
        return 2;
    }
    const qreal rScale = argc > 2 ? QString::fromLocal8Bit(args[2]).toDouble() : 1.0;
    corvane::InitTableResources();
    corvane::CardFaces faces;
    int nWidth = 0;
    int nHeight = 0;
    if (!faces.Init(nWidth, nHeight)) {
        std::fprintf(stderr, "card faces could not be loaded\n");
        return 1;
    }
    using corvane::PictureRole;
    const QSize card = (QSizeF(nWidth, nHeight) * rScale).toSize();
    const int nGap = 8;
    const int nSheetWidth =
        std::max(13 * (card.width() + nGap) + nGap, 4 * (330 + nGap) + nGap + 260);
    const int nCardsHeight = 4 * (card.height() + nGap) + nGap;
    // Below the cards: the overlapped table rows and hand, then the pictures.
    const int nRowStep = qRound(260.0 / corvane::kTwipsPerPixel * rScale);
    const int nHandStep = qRound(360.0 / corvane::kTwipsPerPixel * rScale);
    const int nOverlapHeight = 12 * nRowStep + card.height() + 2 * nGap;
    const int nSheetHeight = nCardsHeight + nOverlapHeight + 240 + 420 + 4 * nGap;
    QImage sheet(nSheetWidth, nSheetHeight, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(0x60, 0x60, 0x68));
    QPainter painter(&sheet);

    for (int nSuit = 0; nSuit < 4; ++nSuit) {
        for (int nRank = 0; nRank < 13; ++nRank) {
            painter.drawPixmap(nGap + nRank * (card.width() + nGap),
                               nGap + nSuit * (card.height() + nGap),
                               faces.Face(4 * nRank + nSuit, card, 1.0));
        }
    }

    // A Hearts column as the table shows it (King at the top, each lower card
    // 260 twips further down) and a fanned hand 360 twips apart.
    int y = nCardsHeight;
    const QPixmap felt = corvane::Picture(PictureRole::Background, 100,
                                          QSize(nSheetWidth - 2 * nGap, nOverlapHeight));
    painter.drawPixmap(nGap, y, felt);
    for (int nRank = 12; nRank >= 0; --nRank) {
        painter.drawPixmap(nGap * 2, y + nGap + (12 - nRank) * nRowStep,
                           faces.Face(4 * nRank + 2, card, 1.0));
    }
    for (int nRank = 12; nRank >= 0; --nRank) {
        painter.drawPixmap(nGap * 4 + card.width(), y + nGap + (12 - nRank) * nRowStep,
                           faces.Face(4 * nRank + 3, card, 1.0));
    }
    const std::array<int, 13> nHandCards = {0, 9, 17, 21, 26, 30, 36, 39, 42, 44, 47, 49, 51};
    for (int i = 0; i < 13; ++i) {
        painter.drawPixmap(nGap * 6 + 2 * card.width() + i * nHandStep, y + nGap + 40,
                           faces.Face(nHandCards[i], card, 1.0));
    }
    y += nOverlapHeight + nGap;

    int x = nGap;
    for (const int nBackground : {100, 200, 300, 400}) {
        const QPixmap picture =
            corvane::Picture(PictureRole::Background, nBackground, QSize(330, 229));
        painter.drawPixmap(x, y, picture);
        x += 330 + nGap;
    }
    y += 229 + nGap;
    x = nGap;
    const auto draw = [&](PictureRole role, int nResource, QSize size = {}) {
        const QPixmap picture = corvane::Picture(role, nResource, size);
        painter.fillRect(QRect(QPoint(x, y), picture.size()), QColor(0xdd, 0xdd, 0xdd));
        painter.drawPixmap(x, y, picture);
        x += picture.width() + nGap;
    };
    draw(PictureRole::DialogBitmap, 101);
    draw(PictureRole::ProgramIcon, 0);
    draw(PictureRole::HelpPicture, 0);
    for (int nIcon = 100; nIcon <= 103; ++nIcon) {
        draw(PictureRole::SuitIcon, nIcon);
    }
    draw(PictureRole::SadFace, 0);
    draw(PictureRole::PotButton, 0);
    draw(PictureRole::SadFace, 0, QSize(96, 96));
    draw(PictureRole::PotButton, 0, QSize(188, 76));
    painter.end();
    if (!sheet.save(QString::fromLocal8Bit(args[1]))) {
        std::fprintf(stderr, "cannot write %s\n", args[1]);
        return 1;
    }
    return 0;
}
