#include "card_faces.hpp"

#include "table_resources.hpp"

#include <cmath>

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QSvgRenderer>

namespace corvane {

namespace {

// Faces are designed in a 71 x 96 unit space and scaled to the target size.
constexpr qreal kW = CardFaces::kWidth;
constexpr qreal kH = CardFaces::kHeight;
constexpr QPointF kCentre{kW / 2, kH / 2};

const QColor kRed(0xc8, 0x1d, 0x32);
const QColor kBlack(0x1b, 0x1b, 0x1f);
const QColor kGold(0xe3, 0xb2, 0x3c);
const QColor kGoldDark(0x8a, 0x62, 0x10);
const QColor kSkin(0xf4, 0xd3, 0xb0);
const QColor kCream(0xfb, 0xf4, 0xde);

// The four-colour deck's Clubs and Diamonds.
const QColor kClubGreen(0x14, 0x80, 0x2e);
const QColor kDiamondBlue(0x1c, 0x4f, 0xd8);

bool IsRed(int nSuit) {
    return nSuit == 1 || nSuit == 2;
}

QColor SuitColour(int nSuit, const FaceStyle& style) {
    if (style.bFourColour && nSuit == 0) {
        return kClubGreen;
    }
    if (style.bFourColour && nSuit == 1) {
        return kDiamondBlue;
    }
    return IsRed(nSuit) ? kRed : kBlack;
}

// A suit drawing with its one fill colour replaced.
std::unique_ptr<QSvgRenderer> RecolouredSuit(int nSuit, const QColor& colour) {
    QFile file(PicturePath(PictureRole::SuitIcon, 100 + nSuit));
    if (!file.open(QIODevice::ReadOnly)) {
        return nullptr;
    }
    QString sSvg = QString::fromUtf8(file.readAll());
    // A plain search: a regular expression would load its engine at start for this alone.
    const QString sFill = QStringLiteral("fill=\"#");
    constexpr qsizetype kDigits = 6;
    for (qsizetype i = sSvg.indexOf(sFill); i >= 0; i = sSvg.indexOf(sFill, i + 1)) {
        const qsizetype nDigits = i + sFill.size();
        if (sSvg.mid(nDigits + kDigits, 1) == QLatin1String("\"")) {
            sSvg.replace(nDigits - 1, kDigits + 1, colour.name());
        }
    }
    auto renderer = std::make_unique<QSvgRenderer>(sSvg.toUtf8());
    return renderer->isValid() ? std::move(renderer) : nullptr;
}

const char* RankText(int nRank) {
    static constexpr std::array<const char*, 13> kRanks = {"A", "2", "3",  "4", "5", "6", "7",
                                                           "8", "9", "10", "J", "Q", "K"};
    return kRanks[nRank];
}

// The suit icon draws its shape inside a 28-unit square centred in 32 units.
constexpr qreal kSuitViewToShape = 32.0 / 28.0;

// Where the corner index sits. The table rows leave the top 260 of 1430 twips
// of a card in sight (17.4 units) and the hand the left 360 of 1070 (23.9
// units); the index stays inside both, the large one too.
struct IndexLayout {
    qreal rLeft;
    qreal rTop;
    qreal rCapHeight;
    qreal rRight;
    qreal rSuit;
    qreal rGap;
};
constexpr IndexLayout kIndex{2.6, 2.8, 11.0, 22.6, 7.8, 0.7};
constexpr IndexLayout kLargeIndex{1.6, 1.6, 14.2, 23.4, 8.6, 0.5};

// Pip positions: three columns, rows from top (0) to bottom (1).
constexpr qreal kPipLeft = 21.0;
constexpr qreal kPipMiddle = kW / 2;
constexpr qreal kPipRight = 50.0;
constexpr qreal kPipTop = 24.0;
constexpr qreal kPipBottom = 72.0;
constexpr qreal kPipSize = 11.0;

struct Pip {
    qreal x;
    qreal row; // 0 top to 1 bottom
};

std::vector<Pip> PipLayout(int nRank) {
    const qreal L = kPipLeft;
    const qreal M = kPipMiddle;
    const qreal R = kPipRight;
    std::vector<Pip> pips;
    const auto sides = [&](std::initializer_list<qreal> rows) {
        for (const qreal row : rows) {
            pips.push_back({L, row});
            pips.push_back({R, row});
        }
    };
    switch (nRank + 1) {
    case 2:
        pips = {{M, 0}, {M, 1}};
        break;
    case 3:
        pips = {{M, 0}, {M, 0.5}, {M, 1}};
        break;
    case 4:
        sides({0, 1});
        break;
    case 5:
        sides({0, 1});
        pips.push_back({M, 0.5});
        break;
    case 6:
        sides({0, 0.5, 1});
        break;
    case 7:
        sides({0, 0.5, 1});
        pips.push_back({M, 0.25});
        break;
    case 8:
        sides({0, 0.5, 1});
        pips.push_back({M, 0.25});
        pips.push_back({M, 0.75});
        break;
    case 9:
        sides({0, 1.0 / 3, 2.0 / 3, 1});
        pips.push_back({M, 0.5});
        break;
    case 10:
        sides({0, 1.0 / 3, 2.0 / 3, 1});
        pips.push_back({M, 1.0 / 6});
        pips.push_back({M, 5.0 / 6});
        break;
    default:
        break;
    }
    return pips;
}

QFont IndexFont() {
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
                      QStringLiteral("Arial")});
    font.setBold(true);
    font.setPixelSize(100);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

} // namespace

CardFaces::CardFaces() = default;
CardFaces::~CardFaces() = default;

bool CardFaces::Init(int& nWidth, int& nHeight) {
    nWidth = kWidth;
    nHeight = kHeight;
    if (bReady_) {
        return true;
    }
    for (int nSuit = 0; nSuit < 4; ++nSuit) {
        auto renderer =
            std::make_unique<QSvgRenderer>(PicturePath(PictureRole::SuitIcon, 100 + nSuit));
        if (!renderer->isValid()) {
            Release();
            return false;
        }
        suits_[static_cast<std::size_t>(nSuit)] = std::move(renderer);
    }
    bReady_ = true;
    PrepareFourColourSuits();
    return true;
}

void CardFaces::PrepareFourColourSuits() {
    // Made only once the four-colour faces are chosen.
    if (bReady_ && style_.bFourColour && !fourColourSuits_[0]) {
        fourColourSuits_[0] = RecolouredSuit(0, kClubGreen);
        fourColourSuits_[1] = RecolouredSuit(1, kDiamondBlue);
    }
}

void CardFaces::Release() {
    sizes_.clear();
    for (auto& renderer : suits_) {
        renderer.reset();
    }
    for (auto& renderer : fourColourSuits_) {
        renderer.reset();
    }
    bReady_ = false;
}

void CardFaces::SetStyle(const FaceStyle& style) {
    if (style == style_) {
        return;
    }
    style_ = style;
    sizes_.clear();
    PrepareFourColourSuits();
}

CardFaces::SizeEntry& CardFaces::Entry(QSize logicalSize, qreal dpr) {
    for (auto it = sizes_.begin(); it != sizes_.end(); ++it) {
        if (it->size == logicalSize && qFuzzyCompare(it->dpr, dpr)) {
            sizes_.splice(sizes_.begin(), sizes_, it);
            return sizes_.front();
        }
    }
    if (sizes_.size() >= kSizesKept) {
        sizes_.pop_back();
    }
    sizes_.push_front(SizeEntry{logicalSize, dpr, {}});
    return sizes_.front();
}

void CardFaces::Prepare(QSize logicalSize, qreal dpr) {
    if (!bReady_ || logicalSize.isEmpty() || dpr <= 0.0) {
        return;
    }
    SizeEntry& entry = Entry(logicalSize, dpr);
    for (int nCard = 0; nCard < kCards; ++nCard) {
        QPixmap& face = entry.faces[static_cast<std::size_t>(nCard)];
        if (face.isNull()) {
            QImage image = RenderFace(nCard, (QSizeF(logicalSize) * dpr).toSize());
            image.setDevicePixelRatio(dpr);
            face = QPixmap::fromImage(std::move(image));
        }
    }
}

QPixmap CardFaces::Face(int nCard, QSize logicalSize, qreal dpr) {
    if (!bReady_ || nCard < 0 || nCard >= kCards || logicalSize.isEmpty() || dpr <= 0.0) {
        return {};
    }
    QPixmap& face = Entry(logicalSize, dpr).faces[static_cast<std::size_t>(nCard)];
    if (face.isNull()) {
        QImage image = RenderFace(nCard, (QSizeF(logicalSize) * dpr).toSize());
        image.setDevicePixelRatio(dpr);
        face = QPixmap::fromImage(std::move(image));
    }
    return face;
}

QSize CardFaces::SizeFor(const QTransform& world, const QRectF& target) {
    return world.mapRect(target).size().toSize();
}

void CardFaces::Draw(QPainter& painter, const QRectF& target, int nCard) {
    const qreal dpr = painter.device() != nullptr ? painter.device()->devicePixelRatioF() : 1.0;
    const QTransform world = painter.worldTransform();
    const QPixmap face = Face(nCard, SizeFor(world, target), dpr);
    if (face.isNull()) {
        return;
    }
    if (world.type() > QTransform::TxScale) {
        painter.drawPixmap(target, face, QRectF(face.rect()));
        return;
    }
    // One face pixel to one device pixel: snap the corner to the pixel grid
    // and draw unscaled, rather than stretch by the rounding of the size.
    const QPointF corner = world.map(target.topLeft());
    const QPointF snapped(std::round(corner.x() * dpr) / dpr, std::round(corner.y() * dpr) / dpr);
    painter.save();
    painter.resetTransform();
    painter.drawPixmap(snapped, face);
    painter.restore();
}

QImage CardFaces::RenderFace(int nCard, QSize pixelSize) const {
    if (!bReady_ || nCard < 0 || nCard >= kCards || pixelSize.isEmpty()) {
        return {};
    }
    QImage image(pixelSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.scale(pixelSize.width() / kW, pixelSize.height() / kH);
    Paint(painter, nCard);
    painter.end();
    return image;
}

void CardFaces::Paint(QPainter& painter, int nCard) const {
    const int nRank = nCard / 4;
    const int nSuit = nCard % 4;

    // The card: white, rounded, with a thin grey border on the pixel grid at 1x.
    painter.setPen(QPen(QColor(0x55, 0x55, 0x55), 1.0));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(0.5, 0.5, kW - 1, kH - 1), 4.5, 4.5);

    PaintIndex(painter, nRank, nSuit);
    painter.save();
    painter.translate(kCentre);
    painter.rotate(180);
    painter.translate(-kCentre);
    PaintIndex(painter, nRank, nSuit);
    painter.restore();

    if (nRank >= 10) {
        PaintCourt(painter, nRank, nSuit);
    } else {
        PaintPips(painter, nRank, nSuit);
    }
}

QSvgRenderer* CardFaces::SuitDrawing(int nSuit) const {
    const auto i = static_cast<std::size_t>(nSuit);
    if (style_.bFourColour && nSuit < 2 && fourColourSuits_[i]) {
        return fourColourSuits_[i].get();
    }
    return suits_[i].get();
}

QPixmap CardFaces::SuitIcon(int nSuit, QSize logicalSize, qreal dpr) const {
    if (!bReady_ || nSuit < 0 || nSuit > 3 || logicalSize.isEmpty() || dpr <= 0.0) {
        return {};
    }
    QImage image((QSizeF(logicalSize) * dpr).toSize(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        SuitDrawing(nSuit)->render(&painter, QRectF(QPointF(0, 0), QSizeF(image.size())));
    }
    image.setDevicePixelRatio(dpr);
    return QPixmap::fromImage(std::move(image));
}

void CardFaces::PaintSuit(QPainter& painter, int nSuit, QPointF centre, qreal rSize,
                          bool bUpsideDown) const {
    const qreal rView = rSize * kSuitViewToShape;
    painter.save();
    painter.translate(centre);
    if (bUpsideDown) {
        painter.rotate(180);
    }
    SuitDrawing(nSuit)->render(&painter, QRectF(-rView / 2, -rView / 2, rView, rView));
    painter.restore();
}

void CardFaces::PaintIndex(QPainter& painter, int nRank, int nSuit) const {
    static const QFont font = IndexFont();
    // Scale glyphs by the height of a capital, so every rank stands equally tall.
    static const qreal rCap = [] {
        QPainterPath probe;
        probe.addText(0, 0, IndexFont(), QStringLiteral("K"));
        return probe.boundingRect().height();
    }();

    QPainterPath text;
    if (nRank == 9) {
        // Set the Ten's two digits close together (the font's spacing would
        // leave a gap as wide as a stroke), so it needs less narrowing.
        text.addText(0, 0, font, QStringLiteral("1"));
        QPainterPath zero;
        zero.addText(0, 0, font, QStringLiteral("0"));
        const qreal rShift = text.boundingRect().right() + 6.0 - zero.boundingRect().left();
        text.addPath(zero.translated(rShift, 0));
    } else {
        text.addText(0, 0, font, QString::fromLatin1(RankText(nRank)));
    }
    const QRectF bounds = text.boundingRect();
    const IndexLayout& at = style_.bLargeIndices ? kLargeIndex : kIndex;
    const qreal rScale = at.rCapHeight / rCap;
    // Ten is two glyphs wide: narrow it rather than leave the strip.
    const qreal rRoom = at.rRight - at.rLeft - at.rGap - at.rSuit;
    const qreal rScaleX = std::min(rScale, rRoom / bounds.width());

    QTransform place;
    place.translate(at.rLeft - bounds.left() * rScaleX, at.rTop + at.rCapHeight);
    place.scale(rScaleX, rScale);
    painter.setPen(Qt::NoPen);
    painter.setBrush(SuitColour(nSuit, style_));
    painter.drawPath(place.map(text));

    const qreal rTextRight = at.rLeft + bounds.width() * rScaleX;
    PaintSuit(painter, nSuit,
              QPointF(rTextRight + at.rGap + at.rSuit / 2, at.rTop + at.rCapHeight / 2), at.rSuit,
              false);
}

void CardFaces::PaintPips(QPainter& painter, int nRank, int nSuit) const {
    if (nRank == 0) {
        // The Ace: one large pip, the Spade larger still.
        PaintSuit(painter, nSuit, kCentre, nSuit == 3 ? 34.0 : 28.0, false);
        return;
    }
    for (const Pip& pip : PipLayout(nRank)) {
        const qreal y = kPipTop + pip.row * (kPipBottom - kPipTop);
        // Pips below the middle face the other way, as on a printed card.
        PaintSuit(painter, nSuit, QPointF(pip.x, y), kPipSize, pip.row > 0.5);
    }
}

void CardFaces::PaintCourt(QPainter& painter, int nRank, int nSuit) const {
    const QRectF frame(13.5, 18.5, 44.0, 59.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kCream);
    painter.drawRect(frame);

    // Two half figures, the lower one turned round, clipped to the frame.
    painter.save();
    painter.setClipRect(frame);
    for (int nHalf = 0; nHalf < 2; ++nHalf) {
        painter.save();
        if (nHalf == 1) {
            painter.translate(kCentre);
            painter.rotate(180);
            painter.translate(-kCentre);
        }
        painter.translate(frame.left(), frame.top());
        painter.scale(frame.width() / 45.0, frame.height() / 2 / 30.0);
        PaintFigure(painter, nRank, nSuit);
        painter.restore();
    }
    painter.restore();

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(SuitColour(nSuit, style_), 0.5));
    painter.drawLine(QPointF(frame.left(), kCentre.y()), QPointF(frame.right(), kCentre.y()));
    painter.setPen(QPen(kGoldDark, 0.8));
    painter.drawRect(frame);
}

// One half of a court figure in a 45 x 30 box whose bottom edge is the
// middle of the card: shoulders in a robe, a face, and the headwear and
// attribute that tell the King, the Queen and the Jack apart.
void CardFaces::PaintFigure(QPainter& painter, int nRank, int nSuit) const {
    const bool bRed = IsRed(nSuit);
    const QColor robe = bRed ? QColor(0xb8, 0x20, 0x2f) : QColor(0x23, 0x42, 0x7a);
    const QColor lining = bRed ? QColor(0x23, 0x42, 0x7a) : QColor(0xb8, 0x20, 0x2f);
    const QPen outline(QColor(0x3a, 0x24, 0x14), 0.45);

    // The suit in the corner of the frame.
    PaintSuit(painter, nSuit, QPointF(4.6, 4.8), 5.6, false);

    // Hair behind the head.
    painter.setPen(outline);
    if (nRank == 11) {
        QPainterPath hair;
        hair.moveTo(15.0, 15.0);
        hair.cubicTo(13.0, 3.0, 32.0, 3.0, 30.0, 15.0);
        hair.cubicTo(31.5, 19.0, 32.5, 21.0, 31.0, 23.0);
        hair.lineTo(14.0, 23.0);
        hair.cubicTo(12.5, 21.0, 13.5, 19.0, 15.0, 15.0);
        painter.setBrush(QColor(0x9a, 0x62, 0x2a));
        painter.drawPath(hair);
    }

    // Shoulders in the robe, with a gold collar and the suit on the chest.
    QPainterPath robePath;
    robePath.moveTo(3.0, 30.5);
    robePath.cubicTo(3.0, 22.5, 9.0, 19.0, 16.0, 18.5);
    robePath.lineTo(29.0, 18.5);
    robePath.cubicTo(36.0, 19.0, 42.0, 22.5, 42.0, 30.5);
    robePath.closeSubpath();
    painter.setBrush(robe);
    painter.drawPath(robePath);

    QPainterPath sleeve;
    sleeve.moveTo(3.5, 30.5);
    sleeve.cubicTo(4.0, 25.0, 7.0, 22.0, 10.5, 21.0);
    sleeve.lineTo(12.5, 30.5);
    sleeve.closeSubpath();
    painter.setBrush(lining);
    painter.drawPath(sleeve);

    QPainterPath collar;
    collar.moveTo(15.5, 18.6);
    collar.lineTo(22.5, 26.0);
    collar.lineTo(29.5, 18.6);
    collar.lineTo(26.0, 18.6);
    collar.lineTo(22.5, 22.5);
    collar.lineTo(19.0, 18.6);
    collar.closeSubpath();
    painter.setBrush(kGold);
    painter.drawPath(collar);

    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(33.5, 25.5), 3.2, 3.2);
    PaintSuit(painter, nSuit, QPointF(33.5, 25.6), 4.0, false);

    // The face.
    painter.setPen(outline);
    painter.setBrush(kSkin);
    painter.drawEllipse(QPointF(22.5, 12.8), 5.0, 5.8);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x2b, 0x1d, 0x12));
    painter.drawEllipse(QPointF(20.6, 12.2), 0.6, 0.7);
    painter.drawEllipse(QPointF(24.4, 12.2), 0.6, 0.7);
    painter.setPen(QPen(QColor(0xa0, 0x40, 0x30), 0.5));
    painter.drawLine(QPointF(21.4, 16.0), QPointF(23.6, 16.0));

    painter.setPen(outline);
    if (nRank == 12) {
        // King: a white beard and a crown with three points and a jewel.
        QPainterPath beard;
        beard.moveTo(17.6, 13.5);
        beard.cubicTo(18.0, 20.5, 21.0, 22.5, 22.5, 22.5);
        beard.cubicTo(24.0, 22.5, 27.0, 20.5, 27.4, 13.5);
        beard.cubicTo(26.0, 17.0, 19.0, 17.0, 17.6, 13.5);
        painter.setBrush(QColor(0xf2, 0xf0, 0xea));
        painter.drawPath(beard);
        painter.setPen(QPen(QColor(0xa0, 0x40, 0x30), 0.5));
        painter.drawLine(QPointF(21.4, 16.6), QPointF(23.6, 16.6));

        QPainterPath crown;
        crown.moveTo(16.8, 8.6);
        crown.lineTo(16.0, 1.8);
        crown.lineTo(19.3, 4.8);
        crown.lineTo(22.5, 0.6);
        crown.lineTo(25.7, 4.8);
        crown.lineTo(29.0, 1.8);
        crown.lineTo(28.2, 8.6);
        crown.closeSubpath();
        painter.setPen(QPen(kGoldDark, 0.45));
        painter.setBrush(kGold);
        painter.drawPath(crown);
        painter.setPen(Qt::NoPen);
        painter.setBrush(kRed);
        painter.drawEllipse(QPointF(22.5, 6.4), 1.1, 1.1);
        painter.setBrush(QColor(0x2d, 0x6c, 0xc0));
        painter.drawEllipse(QPointF(18.6, 7.1), 0.7, 0.7);
        painter.drawEllipse(QPointF(26.4, 7.1), 0.7, 0.7);
    } else if (nRank == 11) {
        // Queen: a gold circlet with three pearls, and a flower in her hand.
        painter.setPen(QPen(kGoldDark, 0.45));
        painter.setBrush(kGold);
        painter.drawRect(QRectF(17.2, 6.0, 10.6, 2.0));
        painter.setBrush(QColor(0xfb, 0xfb, 0xf4));
        for (const qreal x : {19.2, 22.5, 25.8}) {
            painter.drawEllipse(QPointF(x, x == 22.5 ? 4.0 : 4.8), 1.2, 1.2);
        }
        painter.setPen(QPen(QColor(0x2f, 0x7a, 0x3a), 0.6));
        painter.drawLine(QPointF(8.0, 28.0), QPointF(9.5, 20.0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0xe8, 0x5a, 0x8a));
        for (int k = 0; k < 5; ++k) {
            const qreal a = k * 2.0 * M_PI / 5.0;
            painter.drawEllipse(QPointF(9.6 + 1.5 * std::cos(a), 18.6 + 1.5 * std::sin(a)), 1.2,
                                1.2);
        }
        painter.setBrush(kGold);
        painter.drawEllipse(QPointF(9.6, 18.6), 0.9, 0.9);
    } else {
        // Jack: a cap with a feather, and a halberd at his side.
        painter.setPen(QPen(QColor(0x4a, 0x4a, 0x4a), 0.7));
        painter.drawLine(QPointF(39.0, 3.5), QPointF(39.0, 30.5));
        QPainterPath blade;
        blade.moveTo(39.0, 0.8);
        blade.lineTo(40.6, 4.2);
        blade.lineTo(43.4, 5.5);
        blade.lineTo(40.2, 7.6);
        blade.lineTo(39.0, 7.0);
        blade.closeSubpath();
        painter.setPen(QPen(QColor(0x55, 0x55, 0x60), 0.4));
        painter.setBrush(QColor(0xc8, 0xcc, 0xd4));
        painter.drawPath(blade);

        QPainterPath cap;
        cap.moveTo(16.2, 10.2);
        cap.cubicTo(16.0, 3.0, 29.0, 3.0, 28.8, 10.2);
        cap.lineTo(30.0, 10.8);
        cap.lineTo(15.0, 10.8);
        cap.closeSubpath();
        painter.setPen(outline);
        painter.setBrush(lining);
        painter.drawPath(cap);
        painter.setBrush(kGold);
        painter.drawRect(QRectF(15.6, 9.0, 13.8, 1.6));

        QPainterPath feather;
        feather.moveTo(26.5, 6.0);
        feather.cubicTo(30.0, 1.0, 35.0, 0.5, 37.0, 1.5);
        feather.cubicTo(34.0, 3.0, 31.0, 6.0, 27.5, 8.0);
        feather.closeSubpath();
        painter.setBrush(QColor(0x3f, 0x9a, 0x4a));
        painter.drawPath(feather);
    }
}

} // namespace corvane
