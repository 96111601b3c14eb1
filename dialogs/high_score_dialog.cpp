#include "high_score_dialog.hpp"

#include "table/table_resources.hpp"

#include <array>

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>

namespace corvane {

namespace {

constexpr int kBitmap = 101;

// The picture stands at the right, its empty left strip under the ends of the
// words; its left edge is drawn out under the rest of the text.
constexpr int kPictureSide = 340;

// Design geometry in twips.
constexpr int kClientWidth = 7800;
constexpr int kClientHeight = kPictureSide * kTwipsPerPixel;
constexpr int kTextLeft = 240;
constexpr int kTextWidth = 4080;
constexpr int kFirstLineTop = 240;
constexpr int kLinePitch = 390;

} // namespace

FHighScore::FHighScore(SoundPlayer playSound, QWidget* pParent)
    : QDialog(pParent), playSound_(std::move(playSound)) {
    setObjectName(QStringLiteral("FHighScore"));
    setWindowTitle(QStringLiteral("Congratulations! "));
    setFont(DesignFont(10, true));

    const std::array<const char*, 6> lines = {
        "Well Done!!!",
        "You have an excellent score!",
        "You should email it to us and",
        "you may be on our next month's",
        "International TopTen List.",
        "See \"File | Send Score\" for info.",
    };
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const int nTop = kFirstLineTop + kLinePitch * static_cast<int>(i) + (i > 0 ? 120 : 0);
        auto* pLabel =
            MakeLabel(this, QStringLiteral("lblHighScore%1").arg(i), QString::fromLatin1(lines[i]),
                      QRect(kTextLeft, nTop, kTextWidth, kLinePitch));
        if (i == 0) {
            pLabel->setFont(DesignFont(14, true));
        }
    }
    auto* pOK =
        MakeButton(this, QStringLiteral("CmdHighScore"), QStringLiteral("&OK"),
                   QRect(kTextLeft + (kTextWidth - 1215) / 2, kClientHeight - 615, 1215, 375));
    pOK->setFont(DesignFont(8));
    pOK->setDefault(true);
    connect(pOK, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
    PlaceOnScreen(*this, kCentred);

    background_ = Picture(PictureRole::DialogBitmap, kBitmap, QSize(kPictureSide, kPictureSide),
                          devicePixelRatioF());

    tmrHighScore_.setObjectName(QStringLiteral("tmrHighScore"));
    tmrHighScore_.setInterval(500);
    connect(&tmrHighScore_, &QTimer::timeout, this, &FHighScore::tmrHighScore_Timer);
}

void FHighScore::showEvent(QShowEvent* pEvent) {
    QDialog::showEvent(pEvent);
    if (!bDone_ && !tmrHighScore_.isActive()) {
        tmrHighScore_.start();
    }
}

void FHighScore::paintEvent(QPaintEvent* pEvent) {
    QDialog::paintEvent(pEvent);
    if (background_.isNull()) {
        return;
    }
    QPainter painter(this);
    const int nPictureLeft = width() - kPictureSide;
    const int nEdgePixels = static_cast<int>(background_.devicePixelRatio());
    painter.drawPixmap(QRect(0, 0, nPictureLeft, height()), background_,
                       QRect(0, 0, nEdgePixels, background_.height()));
    painter.drawPixmap(nPictureLeft, 0, background_);
}

void FHighScore::tmrHighScore_Timer() {
    tmrHighScore_.stop();
    if (bDone_) {
        return;
    }
    bDone_ = true;
    if (playSound_) {
        playSound_(Sound::HighScore);
    }
}

} // namespace corvane
