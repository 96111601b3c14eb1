// The drawn card table: a surface laid out in twips (9630 x 6690, the design
// size of the window) and shown through one transform that scales it to the
// widget with its aspect kept, centred, the margins filled. Cards are kept as a
// list of drawings in twips and replayed on every paint, so the table looks as
// last drawn after any exposure or resize and stays sharp at any scale. The
// panels and the pay-the-pot button are child widgets placed by the same
// transform.
#pragma once

#include "table/card_faces.hpp"
#include "table/table_resources.hpp"

#include <array>
#include <cstdint>
#include <functional>
#include <future>
#include <vector>

#include <QColor>
#include <QPixmap>
#include <QPointF>
#include <QRect>
#include <QTransform>
#include <QWidget>

class QLabel;
class QPushButton;

namespace corvane {

struct CardDrawing {
    int x = 0; // top-left corner, twips
    int y = 0;
    int nCard = 0;
};

class TableView final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTableWidth = 9630;
    static constexpr int kTableHeight = 6690;
    static constexpr int kCardWidth = 1070;
    static constexpr int kCardHeight = 1430;

    explicit TableView(QWidget* pParent = nullptr);
    ~TableView() override;
    TableView(const TableView&) = delete;
    TableView& operator=(const TableView&) = delete;
    TableView(TableView&&) = delete;
    TableView& operator=(TableView&&) = delete;

    // Starts the card faces; false when they cannot be drawn.
    bool InitCards(int& nWidth, int& nHeight);

    // Twips to widget coordinates, and back.
    QTransform ToWidget() const { return xf_; }
    QPointF ToTwips(QPointF widgetPos) const;
    // The widget point at a position in twips.
    QPoint WidgetPoint(QPointF twips) const;
    // The widget rectangle covered by a rectangle in twips.
    QRect WidgetRect(const QRectF& twips) const;

    // The retained drawings.
    void ClearCards();
    void AddCard(int x, int y, int nCard);
    // Moves the last drawing: a flight that leaves no trail.
    void ReplaceLastCard(int x, int y, int nCard);
    const std::vector<CardDrawing>& Drawings() const { return drawings_; }

    // The hint's mark, a frame round a rectangle of the table: the part in sight
    // of card nCard of the hand (raised with the card when it is lifted), or the
    // pay-the-pot button with nCard -1; an empty rectangle for none.
    void SetHintMark(const QRect& twips, int nCard = -1);
    QRect HintMark() const { return hintMark_; }
    int HintCard() const { return nHintCard_; }
    // How far a marked card of the hand stands above its place, in twips.
    static constexpr int kPlayableLift = 150;
    static constexpr int kHighlightLift = 300;
    // Cards of the user's hand drawn lifted (one bit per card number), and the
    // card of the keyboard highlight (-1 for none), drawn higher with a ring.
    void SetHandMarks(std::uint64_t nLifted, int nHighlight);
    std::uint64_t LiftedCards() const { return nLifted_; }
    int HighlightedCard() const { return nHighlight_; }
    // How the card faces are drawn.
    void SetFaceStyle(const FaceStyle& style);

    void SetBackground(int nBitmap);
    int Background() const { return nBackground_; }
    // A seat's turn marker, as an &HBBGGRR colour.
    void SetPlayerFill(int nSeat, std::uint32_t nColour);
    std::uint32_t PlayerFill(int nSeat) const { return fills_.at(nSeat); }

    // Puts a widget at a rectangle of the table; its font, when fPoints is
    // above 0, keeps the point size the design gives at 15 twips a pixel.
    void Place(QWidget* pWidget, const QRect& twips, double fPoints = 0.0);
    // Shows a picture on a label (stretched to the label) or as the face of a
    // button (at its design size, scaled with the table); re-rendered sharp on
    // every resize.
    void SetPicture(QWidget* pWidget, PictureRole role, int nResource = 0);
    void ClearPicture(QWidget* pWidget);

    // Called with positions in twips.
    std::function<void(QPointF, Qt::MouseButton)> onMouseDown;
    std::function<void()> onClick;
    std::function<void(QPointF)> onMouseMove;
    // Called after every paint, for timing the frames.
    std::function<void()> onPainted;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;

private:
    struct Placement {
        QWidget* pWidget = nullptr;
        QRect twips;
        double fPoints = 0.0;
    };
    struct PictureKey {
        QWidget* pWidget;
        PictureRole role;
        int nResource;
    };
    // A background being drawn on a worker, for the size and ratio it was started with.
    struct BackgroundAhead {
        int nBitmap = 0;
        QSize size;
        qreal dpr = 0.0;
        std::future<QImage> image;
    };

    int LiftOf(int nCard) const;
    // A point on the raised part of a lifted card, moved to the same card where
    // the hand lies, so that the game's hit test finds the card the player sees.
    QPointF UnliftedPoint(QPointF twips) const;
    void PaintBackground(QPainter& painter, const QRegion& dirty) const;
    void PaintHighlightRing(QPainter& painter, std::size_t nIndex) const;
    void PlaceOne(const Placement& p);
    void Relayout();
    void PrepareArt();
    void RenderPicture(const PictureKey& key);
    qreal Dpr() const;

    CardFaces faces_;
    std::vector<CardDrawing> drawings_;
    std::vector<Placement> placed_;
    std::vector<PictureKey> pictures_;
    std::array<std::uint32_t, 4> fills_{};
    std::uint64_t nLifted_ = 0;
    int nHighlight_ = -1;
    int nBackground_ = 100;
    // The surface is opaque: three bytes a pixel hold it exactly, where a
    // pixmap would take four.
    QImage background_;
    BackgroundAhead backgroundAhead_;
    QColor margin_{0x20, 0x20, 0x20};
    QRect hintMark_;
    int nHintCard_ = -1;
    QTransform xf_;
    QRect tableRect_; // the table in widget coordinates
    qreal fPreparedDpr_ = 0.0;
    QSize faceSize_; // of a card under the current transform
    QPoint pressPos_;
    bool bLeftPressed_ = false;
    bool bScreenHooked_ = false;
};

// An &HBBGGRR colour as Qt's.
QColor VbColour(std::uint32_t nColour);

} // namespace corvane
