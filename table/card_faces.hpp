// The 52 card faces, drawn by this program: white rounded cards with pips for
// Ace to Ten and a two-headed figure for the Jack, Queen and King. Each face
// carries its rank and suit in the top-left corner, small enough to stay in
// sight where the table rows and the fanned hand overlap the cards.
//
// Faces are rendered once per (size, device pixel ratio) and kept; the window
// prepares the size it needs when it is resized and only copies pixmaps while
// painting.
#pragma once

#include <array>
#include <list>
#include <memory>

#include <QImage>
#include <QPixmap>
#include <QRectF>
#include <QSize>
#include <QTransform>

class QPainter;
class QSvgRenderer;

namespace corvane {

// Choices of the view options that change how a face is drawn.
struct FaceStyle {
    bool bFourColour = false;   // clubs green, diamonds blue
    bool bLargeIndices = false; // a taller corner index

    bool operator==(const FaceStyle&) const = default;
};

class CardFaces {
public:
    // The face size at a device pixel ratio of 1 (about 1070 x 1430 twips).
    static constexpr int kWidth = 71;
    static constexpr int kHeight = 96;
    static constexpr int kCards = 52;
    // How many different sizes stay cached at once.
    static constexpr std::size_t kSizesKept = 4;

    CardFaces();
    ~CardFaces();
    CardFaces(const CardFaces&) = delete;
    CardFaces& operator=(const CardFaces&) = delete;
    CardFaces(CardFaces&&) = delete;
    CardFaces& operator=(CardFaces&&) = delete;

    // Loads the suit drawings and reports the face size at 1x. False when the
    // drawings cannot be loaded (the resources were not initialised).
    bool Init(int& nWidth, int& nHeight);

    // Renders all 52 faces for this logical size and pixel ratio unless they
    // are cached already.
    void Prepare(QSize logicalSize, qreal dpr);

    // The face of card nCard (4 x rank + suit) for this logical size and
    // pixel ratio: a pixmap of logicalSize x dpr device pixels whose device
    // pixel ratio is dpr. Rendered on the spot if Prepare was not called for
    // the size. A null pixmap for a number outside 0 to 51 or before Init.
    QPixmap Face(int nCard, QSize logicalSize, qreal dpr);

    // Draws card nCard face up into target, given in the painter's current
    // coordinates (twips, say, under the window's scale). The face used has
    // the pixels the target covers on the device and is copied one to one
    // with its corner on the nearest device pixel, so it stays sharp at any
    // scale; prepare that size with Prepare(SizeFor(...)) beforehand so that
    // painting only copies.
    void Draw(QPainter& painter, const QRectF& target, int nCard);

    // The logical face size (device pixels divided by the device pixel
    // ratio) that target covers under the world transform.
    static QSize SizeFor(const QTransform& world, const QRectF& target);

    // Drops every cached face and the suit drawings; Init starts again.
    void Release();

    // A new style drops the cached faces; the next Prepare renders them anew.
    void SetStyle(const FaceStyle& style);
    const FaceStyle& Style() const { return style_; }

    // Draws one face into an image of the given device pixel size, uncached.
    // Null before Init or for a bad card number.
    QImage RenderFace(int nCard, QSize pixelSize) const;

    bool IsReady() const { return bReady_; }

    // A seat panel's suit symbol (suit 0 to 3) in this style's colours, filling
    // a pixmap of logicalSize x dpr device pixels. Null before Init.
    QPixmap SuitIcon(int nSuit, QSize logicalSize, qreal dpr) const;

private:
    struct SizeEntry {
        QSize size;
        qreal dpr = 1.0;
        std::array<QPixmap, kCards> faces;
    };

    SizeEntry& Entry(QSize logicalSize, qreal dpr);
    void Paint(QPainter& painter, int nCard) const;
    QSvgRenderer* SuitDrawing(int nSuit) const;
    void PrepareFourColourSuits();
    void PaintSuit(QPainter& painter, int nSuit, QPointF centre, qreal rSize,
                   bool bUpsideDown) const;
    void PaintIndex(QPainter& painter, int nRank, int nSuit) const;
    void PaintPips(QPainter& painter, int nRank, int nSuit) const;
    void PaintCourt(QPainter& painter, int nRank, int nSuit) const;
    void PaintFigure(QPainter& painter, int nRank, int nSuit) const;

    bool bReady_ = false;
    FaceStyle style_;
    std::array<std::unique_ptr<QSvgRenderer>, 4> suits_;
    // Clubs and Diamonds in the four-colour deck's colours.
    std::array<std::unique_ptr<QSvgRenderer>, 2> fourColourSuits_;
    std::list<SizeEntry> sizes_; // most recently used first
};

} // namespace corvane
