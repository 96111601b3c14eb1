#include "table_view.hpp"

#include "engine/twips.hpp"

#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

namespace corvane {
namespace {

// Twips a point: a font of p points is p * 20 twips high.
constexpr double kTwipsPerPoint = 20.0;

// The corner frames round the four seat areas.
constexpr std::array<QRect, 4> kFrames{QRect(0, 0, 1815, 2415), QRect(0, 4200, 1815, 2415),
                                       QRect(7800, 0, 1815, 2415), QRect(7800, 4200, 1815, 2415)};
// The turn markers behind the players' names, by seat.
constexpr std::array<QRect, 4> kMarkers{QRect(120, 4320, 1575, 375), QRect(120, 120, 1575, 375),
                                        QRect(7920, 120, 1575, 375), QRect(7920, 4320, 1575, 375)};
constexpr std::uint32_t kMarkerBorder = 0x404040;

QImage BackgroundImage(int nBitmap, QSize size, qreal dpr) {
    QImage image = PictureImage(PictureRole::Background, nBitmap, size, dpr);
    image.convertTo(QImage::Format_RGB888);
    return image;
}

} // namespace

QColor VbColour(std::uint32_t nColour) {
    return {static_cast<int>(nColour & 0xFFU), static_cast<int>((nColour >> 8U) & 0xFFU),
            static_cast<int>((nColour >> 16U) & 0xFFU)};
}

TableView::TableView(QWidget* pParent) : QWidget(pParent) {
    setObjectName(QStringLiteral("tblTable"));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    fills_.fill(0xFF80FF);
    // A third of the design size still shows every panel.
    setMinimumSize(kTableWidth / (3 * kTwipsPerPixel), kTableHeight / (3 * kTwipsPerPixel));
    // The design scale until the first resize.
    xf_ = QTransform::fromScale(1.0 / kTwipsPerPixel, 1.0 / kTwipsPerPixel);
    // The background takes longest to draw: unless the build kept its pixels
    // for this size, a worker draws it while the window is being built, ready
    // for the first layout.
    const QSize design = WidgetRect(QRectF(0, 0, kTableWidth, kTableHeight)).size();
    const qreal dpr = Dpr();
    if (PrerenderedPixels(PictureRole::Background, nBackground_, (QSizeF(design) * dpr).toSize())
            .isNull()) {
        backgroundAhead_ = {nBackground_, design, dpr,
                            std::async(std::launch::async, [nBitmap = nBackground_, design, dpr] {
                                return BackgroundImage(nBitmap, design, dpr);
                            })};
    }
}

TableView::~TableView() {
    faces_.Release();
}

bool TableView::InitCards(int& nWidth, int& nHeight) {
    const bool bOk = faces_.Init(nWidth, nHeight);
    PrepareArt();
    return bOk;
}

QSize TableView::sizeHint() const {
    return {642, 446};
}

QPointF TableView::ToTwips(QPointF widgetPos) const {
    return xf_.inverted().map(widgetPos);
}

QPoint TableView::WidgetPoint(QPointF twips) const {
    return xf_.map(twips).toPoint();
}

QRect TableView::WidgetRect(const QRectF& twips) const {
    const QRectF r = xf_.mapRect(twips);
    return {QPoint(static_cast<int>(std::lround(r.left())), static_cast<int>(std::lround(r.top()))),
            QPoint(static_cast<int>(std::lround(r.right())) - 1,
                   static_cast<int>(std::lround(r.bottom())) - 1)};
}

void TableView::ClearCards() {
    drawings_.clear();
    update();
}

void TableView::AddCard(int x, int y, int nCard) {
    drawings_.push_back({x, y, nCard});
    // A face is drawn the first time its card is laid, here rather than while painting.
    faces_.Face(nCard, faceSize_, fPreparedDpr_);
    // Only the new card's box needs painting; one pixel more for the rounding.
    update(WidgetRect(QRectF(x, y, kCardWidth, kCardHeight)).adjusted(-1, -1, 1, 1));
}

void TableView::ReplaceLastCard(int x, int y, int nCard) {
    if (drawings_.empty()) {
        AddCard(x, y, nCard);
        return;
    }
    const CardDrawing old = drawings_.back();
    drawings_.back() = {x, y, nCard};
    // One rectangle round the card's old and new boxes: a step moves it a few
    // pixels, and a single rectangle lets the paint copy the table's pixels
    // straight across instead of walking a region's bands.
    update(WidgetRect(QRectF(old.x, old.y, kCardWidth, kCardHeight)
                          .united(QRectF(x, y, kCardWidth, kCardHeight)))
               .adjusted(-1, -1, 1, 1));
}

void TableView::SetHandMarks(std::uint64_t nLifted, int nHighlight) {
    const bool bChanged = nLifted != nLifted_ || nHighlight != nHighlight_;
    const bool bAny = nLifted != 0 || nHighlight >= 0;
    nLifted_ = nLifted;
    nHighlight_ = nHighlight;
    // The marks reach past the cards' own boxes; the cards were just drawn anew
    // when there are any.
    if (bChanged || bAny) {
        update();
    }
}

void TableView::SetFaceStyle(const FaceStyle& style) {
    if (style == faces_.Style()) {
        return;
    }
    faces_.SetStyle(style);
    PrepareArt();
    for (const PictureKey& key : pictures_) {
        if (key.role == PictureRole::SuitIcon) {
            RenderPicture(key);
        }
    }
    update();
}

int TableView::LiftOf(int nCard) const {
    if (nCard == nHighlight_) {
        return kHighlightLift;
    }
    const bool bLifted = nCard >= 0 && nCard < 64 && ((nLifted_ >> nCard) & 1U) != 0;
    return bLifted ? kPlayableLift : 0;
}

void TableView::SetBackground(int nBitmap) {
    if (nBitmap == nBackground_ && !background_.isNull()) {
        return;
    }
    nBackground_ = nBitmap;
    PrepareArt();
    update();
}

void TableView::SetPlayerFill(int nSeat, std::uint32_t nColour) {
    fills_.at(nSeat) = nColour;
    update(WidgetRect(kMarkers.at(nSeat)).adjusted(-1, -1, 1, 1));
}

void TableView::Place(QWidget* pWidget, const QRect& twips, double fPoints) {
    placed_.push_back({pWidget, twips, fPoints});
    if (auto* pLabel = qobject_cast<QLabel*>(pWidget)) {
        // The panels only show; the table under them takes the mouse.
        pLabel->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    PlaceOne(placed_.back());
}

void TableView::SetPicture(QWidget* pWidget, PictureRole role, int nResource) {
    const PictureKey key{pWidget, role, nResource};
    auto it = std::find_if(pictures_.begin(), pictures_.end(),
                           [pWidget](const PictureKey& k) { return k.pWidget == pWidget; });
    if (it == pictures_.end()) {
        pictures_.push_back(key);
    } else {
        *it = key;
    }
    // Before the first layout the label has no size yet: the layout renders it.
    if (!tableRect_.isEmpty()) {
        RenderPicture(key);
    }
}

void TableView::ClearPicture(QWidget* pWidget) {
    std::erase_if(pictures_, [pWidget](const PictureKey& k) { return k.pWidget == pWidget; });
    if (auto* pLabel = qobject_cast<QLabel*>(pWidget)) {
        pLabel->clear();
    }
}

qreal TableView::Dpr() const {
    return devicePixelRatioF();
}

void TableView::RenderPicture(const PictureKey& key) {
    const qreal dpr = Dpr();
    if (auto* pLabel = qobject_cast<QLabel*>(key.pWidget)) {
        // The seat panels' suit symbols take the card faces' colours.
        QPixmap pixmap = key.role == PictureRole::SuitIcon
                             ? faces_.SuitIcon(key.nResource - 100, pLabel->size(), dpr)
                             : QPixmap();
        if (pixmap.isNull()) {
            pixmap = Picture(key.role, key.nResource, pLabel->size(), dpr);
        }
        pLabel->setPixmap(pixmap);
    } else if (auto* pButton = qobject_cast<QPushButton*>(key.pWidget)) {
        const QSizeF design = QSizeF(PictureSize(key.role, key.nResource)) * kTwipsPerPixel;
        const QSize size = xf_.mapRect(QRectF(QPointF(0, 0), design)).size().toSize();
        pButton->setIconSize(size);
        pButton->setIcon(QIcon(Picture(key.role, key.nResource, size, dpr)));
    }
}

void TableView::PlaceOne(const Placement& p) {
    p.pWidget->setGeometry(WidgetRect(p.twips));
    if (p.fPoints > 0.0) {
        QFont font = p.pWidget->font();
        font.setPixelSize(
            std::max(1, static_cast<int>(std::lround(p.fPoints * kTwipsPerPoint * xf_.m11()))));
        p.pWidget->setFont(font);
    }
}

void TableView::Relayout() {
    for (const Placement& p : placed_) {
        PlaceOne(p);
    }
    for (const PictureKey& key : pictures_) {
        RenderPicture(key);
    }
}

void TableView::PrepareArt() {
    const qreal dpr = Dpr();
    fPreparedDpr_ = dpr;
    if (tableRect_.isEmpty()) {
        return;
    }
    QImage image;
    if (backgroundAhead_.image.valid()) {
        QImage ahead = backgroundAhead_.image.get();
        if (backgroundAhead_.nBitmap == nBackground_ &&
            backgroundAhead_.size == tableRect_.size() &&
            qFuzzyCompare(backgroundAhead_.dpr, dpr)) {
            image = std::move(ahead);
        }
    }
    if (image.isNull()) {
        image = BackgroundImage(nBackground_, tableRect_.size(), dpr);
    }
    if (!image.isNull()) {
        // The margins continue the surface's edge, a little darker.
        margin_ = image.pixelColor(1, image.height() / 2).darker(140);
    }
    background_ = std::move(image);
    // Only the faces on the table now; the others when their card is first laid.
    faceSize_ = CardFaces::SizeFor(xf_, QRectF(0, 0, kCardWidth, kCardHeight));
    for (const CardDrawing& d : drawings_) {
        faces_.Face(d.nCard, faceSize_, dpr);
    }
}

void TableView::resizeEvent(QResizeEvent* pEvent) {
    QWidget::resizeEvent(pEvent);
    const double fScale = std::min(static_cast<double>(width()) / kTableWidth,
                                   static_cast<double>(height()) / kTableHeight);
    const double dx = (width() - kTableWidth * fScale) / 2.0;
    const double dy = (height() - kTableHeight * fScale) / 2.0;
    // The table's corner on a whole pixel keeps the pictures on the pixel grid.
    xf_ = QTransform(fScale, 0, 0, fScale, std::round(dx), std::round(dy));
    tableRect_ = WidgetRect(QRectF(0, 0, kTableWidth, kTableHeight));
    PrepareArt();
    Relayout();
}

void TableView::showEvent(QShowEvent* pEvent) {
    QWidget::showEvent(pEvent);
    if (!bScreenHooked_ && window()->windowHandle() != nullptr) {
        bScreenHooked_ = true;
        // A move to a screen of another pixel ratio needs the art at that ratio.
        connect(window()->windowHandle(), &QWindow::screenChanged, this, [this] {
            if (!qFuzzyCompare(fPreparedDpr_, Dpr())) {
                PrepareArt();
                Relayout();
                update();
            }
        });
    }
}

void TableView::SetHintMark(const QRect& twips, int nCard) {
    if (twips != hintMark_ || nCard != nHintCard_) {
        hintMark_ = twips;
        nHintCard_ = nCard;
        update();
    }
}

void TableView::paintEvent(QPaintEvent* pEvent) {
    QPainter painter(this);
    const QRect dirty = pEvent->rect();
    // The margins only: the table's own pixels cover the rest.
    for (const QRect& r : background_.isNull() ? QRegion(dirty) : QRegion(dirty) - tableRect_) {
        painter.fillRect(r, margin_);
    }
    PaintBackground(painter, pEvent->region());

    painter.setTransform(xf_);
    // Frames and markers: a one-pixel border of the design, inside the shape.
    const double fPen = kTwipsPerPixel;
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(Qt::black, fPen));
    for (const QRect& r : kFrames) {
        painter.drawRect(QRectF(r).adjusted(fPen / 2, fPen / 2, -fPen / 2, -fPen / 2));
    }
    painter.setPen(QPen(VbColour(kMarkerBorder), fPen));
    for (std::size_t nSeat = 0; nSeat < kMarkers.size(); ++nSeat) {
        painter.setBrush(VbColour(fills_[nSeat]));
        painter.drawRect(
            QRectF(kMarkers[nSeat]).adjusted(fPen / 2, fPen / 2, -fPen / 2, -fPen / 2));
    }

    std::size_t nRing = drawings_.size();
    for (std::size_t i = 0; i < drawings_.size(); ++i) {
        const CardDrawing& d = drawings_[i];
        const QRectF target(d.x, d.y - LiftOf(d.nCard), kCardWidth, kCardHeight);
        if (xf_.mapRect(target).toAlignedRect().intersects(dirty)) {
            faces_.Draw(painter, target, d.nCard);
        }
        if (d.nCard == nHighlight_) {
            nRing = i;
        }
    }
    if (nRing < drawings_.size()) {
        PaintHighlightRing(painter, nRing);
    }
    if (!hintMark_.isEmpty()) {
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(QColor(0x00, 0xC0, 0xFF), 4 * fPen));
        painter.drawRect(
            QRectF(hintMark_.translated(0, nHintCard_ >= 0 ? -LiftOf(nHintCard_) : 0)));
    }
    painter.end();
    if (onPainted) {
        onPainted();
    }
}

void TableView::PaintBackground(QPainter& painter, const QRegion& dirty) const {
    if (background_.isNull()) {
        return;
    }
    // In bands of at most 64 rows: a taller copy is split among Qt's painting
    // threads, and a busy system may not run them at once, which holds up the
    // frame far longer than copying the few rows of a moving card takes. At a
    // fractional ratio a band's edge could fall between pixels, so the part
    // goes in one piece there.
    constexpr int kBandRows = 64;
    const QRect table(tableRect_.topLeft(), background_.deviceIndependentSize().toSize());
    const qreal dpr = background_.devicePixelRatio();
    const bool bWhole = dpr != std::floor(dpr);
    for (const QRect& r : dirty) {
        const QRect part = r & table;
        const int nBand =
            bWhole ? std::max(1, part.height()) : std::max(1, static_cast<int>(kBandRows / dpr));
        for (int y = part.top(); y <= part.bottom(); y += nBand) {
            const QRect band(part.left(), y, part.width(), std::min(nBand, part.bottom() + 1 - y));
            const QRectF source(QPointF(band.topLeft() - table.topLeft()) * dpr,
                                QSizeF(band.size()) * dpr);
            painter.drawImage(band, background_, source);
        }
    }
}

// A ring round the part of the highlighted card left in sight: dark outside,
// bright inside, so it shows on the white faces and on every table alike. Its
// width is in twips and grows with the table.
void TableView::PaintHighlightRing(QPainter& painter, std::size_t nIndex) const {
    const auto cardPath = [this](const CardDrawing& d) {
        QPainterPath path;
        path.addRoundedRect(QRectF(d.x, d.y - LiftOf(d.nCard), kCardWidth, kCardHeight), 60, 60);
        return path;
    };
    QPainterPath ring = cardPath(drawings_[nIndex]);
    for (std::size_t j = nIndex + 1; j < drawings_.size(); ++j) {
        ring = ring.subtracted(cardPath(drawings_[j]));
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0x10, 0x10, 0x10), 5 * kTwipsPerPixel, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.drawPath(ring);
    painter.setPen(QPen(QColor(0xff, 0xd4, 0x00), 2.5 * kTwipsPerPixel, Qt::SolidLine, Qt::RoundCap,
                        Qt::RoundJoin));
    painter.drawPath(ring);
    painter.restore();
}

void TableView::mousePressEvent(QMouseEvent* pEvent) {
    pressPos_ = pEvent->position().toPoint();
    bLeftPressed_ = pEvent->button() == Qt::LeftButton;
    if (onMouseDown) {
        onMouseDown(UnliftedPoint(ToTwips(pEvent->position())), pEvent->button());
    }
}

QPointF TableView::UnliftedPoint(QPointF twips) const {
    // The last drawn card is the one on top.
    // NOLINTNEXTLINE(modernize-loop-convert): the analyser's ranges cannot read this library's.
    for (auto it = drawings_.rbegin(); it != drawings_.rend(); ++it) {
        const CardDrawing& d = *it;
        const int nLift = LiftOf(d.nCard);
        if (QRectF(d.x, d.y - nLift, kCardWidth, kCardHeight).contains(twips)) {
            if (nLift > 0 && twips.y() < d.y) {
                return {static_cast<double>(d.x) + 1, static_cast<double>(d.y) + 1};
            }
            return twips;
        }
    }
    return twips;
}

void TableView::mouseReleaseEvent(QMouseEvent* pEvent) {
    const bool bClick = bLeftPressed_ && pEvent->button() == Qt::LeftButton &&
                        (pEvent->position().toPoint() - pressPos_).manhattanLength() <=
                            QApplication::startDragDistance();
    bLeftPressed_ = false;
    if (bClick && onClick) {
        onClick();
    }
}

void TableView::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    // The second press of a double click is not a second click on the table:
    // a quick double click on a card plays it once.
    bLeftPressed_ = false;
    pEvent->accept();
}

void TableView::mouseMoveEvent(QMouseEvent* pEvent) {
    if (onMouseMove) {
        onMouseMove(ToTwips(pEvent->position()));
    }
}

} // namespace corvane
