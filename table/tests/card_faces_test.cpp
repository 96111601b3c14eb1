#include "table/card_faces.hpp"
#include "table/table_resources.hpp"

#include <QCryptographicHash>
#include <QPainter>
#include <QSet>
#include <QtTest>

using corvane::CardFaces;

namespace {

bool IsRedInk(QColor c) {
    return c.alpha() > 200 && c.red() > 150 && c.green() < 110 && c.blue() < 110;
}

bool IsBlackInk(QColor c) {
    return c.alpha() > 200 && c.red() < 100 && c.green() < 100 && c.blue() < 100;
}

// The four-colour deck's Clubs and Diamonds.
bool IsGreenInk(QColor c) {
    return c.alpha() > 200 && c.green() > 90 && c.green() > c.red() + 50 &&
           c.green() > c.blue() + 40;
}

bool IsBlueInk(QColor c) {
    return c.alpha() > 200 && c.blue() > 150 && c.blue() > c.red() + 80 &&
           c.blue() > c.green() + 60;
}

int CountWhere(const QImage& image, const QRect& area, bool (*pIs)(QColor)) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += pIs(image.pixelColor(x, y)) ? 1 : 0;
        }
    }
    return n;
}

struct Ink {
    int nRed = 0;
    int nBlack = 0;
};

Ink CountInk(const QImage& image, const QRect& area) {
    Ink ink;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            ink.nRed += IsRedInk(c) ? 1 : 0;
            ink.nBlack += IsBlackInk(c) ? 1 : 0;
        }
    }
    return ink;
}

QByteArray Digest(const QImage& image) {
    const QImage converted = image.convertToFormat(QImage::Format_ARGB32);
    return QCryptographicHash::hash(QByteArrayView(converted.constBits(), converted.sizeInBytes()),
                                    QCryptographicHash::Sha1);
}

bool IsRedSuit(int nCard) {
    return nCard % 4 == 1 || nCard % 4 == 2;
}

// The top-left corner that stays in sight both in a table row (the top 260
// of 1430 twips) and in the fanned hand (the left 360 of 1070), in pixels of
// a face of the given size, leaving out the border.
QRect VisibleCorner(QSize size) {
    const int nRight = size.width() * 360 / 1070;
    const int nBottom = size.height() * 260 / 1430;
    const int nBorder = std::max(2, size.width() / 35);
    return QRect(QPoint(nBorder, nBorder), QPoint(nRight - 1, nBottom - 1));
}

} // namespace

class CardFacesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { corvane::InitTableResources(); }

    void initReportsTheSizeAndReleaseForgets() {
        CardFaces faces;
        QVERIFY(faces.Face(0, QSize(71, 96), 1.0).isNull());
        int nWidth = 0;
        int nHeight = 0;
        QVERIFY(faces.Init(nWidth, nHeight));
        QCOMPARE(nWidth, 71);
        QCOMPARE(nHeight, 96);
        QVERIFY(!faces.Face(0, QSize(71, 96), 1.0).isNull());
        faces.Release();
        QVERIFY(!faces.IsReady());
        QVERIFY(faces.Face(0, QSize(71, 96), 1.0).isNull());
        QVERIFY(faces.Init(nWidth, nHeight));
        QVERIFY(!faces.Face(0, QSize(71, 96), 1.0).isNull());
    }

    void badCardNumbersGiveNothing() {
        CardFaces faces;
        int nWidth = 0;
        int nHeight = 0;
        QVERIFY(faces.Init(nWidth, nHeight));
        QVERIFY(faces.Face(-1, QSize(71, 96), 1.0).isNull());
        QVERIFY(faces.Face(52, QSize(71, 96), 1.0).isNull());
        QVERIFY(faces.Face(0, QSize(), 1.0).isNull());
        QVERIFY(faces.Face(0, QSize(71, 96), 0.0).isNull());
        QVERIFY(faces.RenderFace(52, QSize(71, 96)).isNull());
    }

    void everyFaceIsDifferentEvenInItsVisibleCorner_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1x") << QSize(71, 96);
        QTest::newRow("2x") << QSize(142, 192);
        QTest::newRow("small") << QSize(53, 72);
    }

    void everyFaceIsDifferentEvenInItsVisibleCorner() {
        QFETCH(QSize, size);
        CardFaces faces;
        int nWidth = 0;
        int nHeight = 0;
        QVERIFY(faces.Init(nWidth, nHeight));
        QSet<QByteArray> whole;
        QSet<QByteArray> corners;
        for (int nCard = 0; nCard < 52; ++nCard) {
            const QImage face = faces.RenderFace(nCard, size);
            QCOMPARE(face.size(), size);
            whole.insert(Digest(face));
            corners.insert(Digest(face.copy(VisibleCorner(size))));
        }
        QCOMPARE(whole.size(), 52);
        QCOMPARE(corners.size(), 52);
    }

    void theCornerShowsTheSuitColour_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("bFourColour");
        QTest::addColumn<bool>("bLarge");
        QTest::newRow("1x") << QSize(71, 96) << false << false;
        QTest::newRow("2x") << QSize(142, 192) << false << false;
        QTest::newRow("four-colour, large, 1x") << QSize(71, 96) << true << true;
        QTest::newRow("large 2x") << QSize(142, 192) << false << true;
    }

    void theCornerShowsTheSuitColour() {
        QFETCH(QSize, size);
        QFETCH(bool, bFourColour);
        QFETCH(bool, bLarge);
        CardFaces faces;
        CardFaces plain;
        int nWidth = 0;
        int nHeight = 0;
        QVERIFY(faces.Init(nWidth, nHeight) && plain.Init(nWidth, nHeight));
        faces.SetStyle(corvane::FaceStyle{bFourColour, bLarge});
        const int nArea = size.width() * size.height() / (71 * 96);
        for (int nCard = 0; nCard < 52; ++nCard) {
            const QImage face = faces.RenderFace(nCard, size);
            const Ink ink = CountInk(face, VisibleCorner(size));
            if (bLarge) {
                // The large index covers clearly more of the corner.
                const QImage small = plain.RenderFace(nCard, size);
                const auto inked = [](QColor c) {
                    return c.alpha() > 200 && c.saturation() + 255 - c.value() > 180;
                };
                QVERIFY2(CountWhere(face, VisibleCorner(size), inked) >
                             CountWhere(small, VisibleCorner(size), inked) * 11 / 10,
                         qPrintable(QString::number(nCard)));
            }
            if (bFourColour && nCard % 4 < 2) {
                // Clubs green, Diamonds blue, in the corner and on the pips.
                const auto pIs = nCard % 4 == 0 ? &IsGreenInk : &IsBlueInk;
                QVERIFY2(CountWhere(face, VisibleCorner(size), pIs) >= 20 * nArea,
                         qPrintable(QString::number(nCard)));
                QVERIFY2(ink.nRed + ink.nBlack == 0, qPrintable(QString::number(nCard)));
                if (nCard < 40) {
                    QVERIFY(CountWhere(face, QRect(12, 18, 47, 60), pIs) > 40);
                }
            } else if (IsRedSuit(nCard)) {
                QVERIFY2(ink.nRed >= 20 * nArea, qPrintable(QString::number(nCard)));
                QVERIFY2(ink.nBlack == 0, qPrintable(QString::number(nCard)));
            } else {
                QVERIFY2(ink.nBlack >= 20 * nArea, qPrintable(QString::number(nCard)));
                QVERIFY2(ink.nRed == 0, qPrintable(QString::number(nCard)));
            }
            // Outside the corner, along the top, nothing but the white card,
            // so a row shows only the index.
            // (Clear of the rounded corner's border.)
            const QRect rest(QPoint(size.width() * 360 / 1070, size.height() / 16),
                             QPoint(size.width() * 9 / 10, size.height() * 260 / 1430 - 1));
            const Ink stray = CountInk(face, rest);
            QVERIFY2(stray.nRed + stray.nBlack == 0, qPrintable(QString::number(nCard)));
        }
    }

    void cardsAreWhiteAndRoundedWithABorder() {
        CardFaces faces;
        int nWidth = 0;
        int nHeight = 0;
        QVERIFY(faces.Init(nWidth, nHeight));
        for (int nCard = 0; nCard < 52; ++nCard) {
            const QImage face = faces.RenderFace(nCard, QSize(71, 96));
            QCOMPARE(face.pixelColor(0, 0).alpha(), 0); // rounded corner
            QCOMPARE(face.pixelColor(70, 95).alpha(), 0);
            const QColor border = face.pixelColor(35, 0);
            QVERIFY(border.alpha() == 255 && border.red() < 160);
            const QColor paper = face.pixelColor(66, 20);
            QCOMPARE(paper, QColor(Qt::white));
        }
    }

    void pipsHaveTheSuitColour() {
        CardFaces faces;
        int nWidth = 0;
        int nHeight = 0;
        QVERIFY(faces.Init(nWidth, nHeight));
        for (int nCard = 0; nCard < 40; ++nCard) {
            const QImage face = faces.RenderFace(nCard, QSize(71, 96));
            const Ink ink = CountInk(face, QRect(12, 18, 47, 60));
            if (IsRedSuit(nCard)) {
                QVERIFY(ink.nRed > 40 && ink.nBlack == 0);
            } else {
                QVERIFY(ink.nBlack > 40 && ink.nRed == 0);
            }
        }
        // The Ace's single pip sits in the middle.
        for (int nSuit = 0; nSuit < 4; ++nSuit) {
            const QColor centre = faces.RenderFace(nSuit, QSize(71, 96)).pixelColor(35, 48);
            QVERIFY(IsRedSuit(nSuit) ? IsRedInk(centre) : IsBlackInk(centre));
        }
    }

    void facesAreCachedPerSizeAndPixelRatio() {
        CardFaces faces;
        int nWidth = 0;
        int nHeight = 0;
        QVERIFY(faces.Init(nWidth, nHeight));
        const QSize size(71, 96);
        faces.Prepare(size, 1.0);
        const QPixmap first = faces.Face(26, size, 1.0);
        QCOMPARE(faces.Face(26, size, 1.0).cacheKey(), first.cacheKey());
        QCOMPARE(first.size(), size);
        QCOMPARE(first.devicePixelRatio(), 1.0);

        // At twice the pixel ratio: the same logical size, rendered with
        // twice the pixels rather than scaled up.
        const QPixmap sharp = faces.Face(26, size, 2.0);
        QVERIFY(sharp.cacheKey() != first.cacheKey());
        QCOMPARE(sharp.size(), QSize(142, 192));
        QCOMPARE(sharp.devicePixelRatio(), 2.0);
        QCOMPARE(sharp.deviceIndependentSize(), QSizeF(size));
        QImage rendered = faces.RenderFace(26, QSize(142, 192));
        QCOMPARE(Digest(sharp.toImage()), Digest(rendered));
        QVERIFY(Digest(first.toImage().scaled(142, 192)) != Digest(rendered));
        QCOMPARE(faces.Face(26, size, 2.0).cacheKey(), sharp.cacheKey());
        QCOMPARE(faces.Face(26, size, 1.0).cacheKey(), first.cacheKey());
    }

    void drawPlacesASharpFaceUnderAnyScale_data() {
        QTest::addColumn<qreal>("rScale");
        QTest::addColumn<qreal>("dpr");
        QTest::newRow("1x") << 1.0 << 1.0;
        QTest::newRow("scaled") << 1.5 << 1.0;
        QTest::newRow("hi-dpi") << 1.0 << 2.0;
        QTest::newRow("both") << 0.8 << 2.0;
    }

    void drawPlacesASharpFaceUnderAnyScale() {
        QFETCH(qreal, rScale);
        QFETCH(qreal, dpr);
        CardFaces faces;
        int nWidth = 0;
        int nHeight = 0;
        QVERIFY(faces.Init(nWidth, nHeight));

        // The table draws in twips: 15 to a pixel at 1x.
        QImage table(QSize(300, 300) * dpr, QImage::Format_ARGB32_Premultiplied);
        table.setDevicePixelRatio(dpr);
        table.fill(Qt::darkGreen);
        const QRectF target(300, 300, 1070, 1430);
        QPainter painter(&table);
        painter.scale(rScale / 15.0, rScale / 15.0);
        const QSize size = CardFaces::SizeFor(painter.worldTransform(), target);
        QCOMPARE(size, QSize(qRound(1070 * rScale / 15), qRound(1430 * rScale / 15)));
        faces.Prepare(size, dpr);
        faces.Draw(painter, target, 26);
        painter.end();

        // Pixel for pixel the face rendered at the device size.
        const QImage face = faces.RenderFace(26, (QSizeF(size) * dpr).toSize());
        const QPoint origin = (QPointF(20, 20) * rScale * dpr).toPoint();
        int nDifferent = 0;
        for (int y = 4; y < face.height() - 4; ++y) {
            for (int x = 4; x < face.width() - 4; ++x) {
                nDifferent += table.pixel(origin + QPoint(x, y)) != face.pixel(x, y) ? 1 : 0;
            }
        }
        QCOMPARE(nDifferent, 0);
    }

    void onlyAFewSizesAreKept() {
        CardFaces faces;
        int nWidth = 0;
        int nHeight = 0;
        QVERIFY(faces.Init(nWidth, nHeight));
        const qint64 nFirst = faces.Face(7, QSize(71, 96), 1.0).cacheKey();
        for (int i = 1; i <= static_cast<int>(CardFaces::kSizesKept); ++i) {
            faces.Face(7, QSize(71 + i, 96 + i), 1.0);
        }
        // Pushed out by newer sizes, so drawn again.
        QVERIFY(faces.Face(7, QSize(71, 96), 1.0).cacheKey() != nFirst);
    }
};

QTEST_MAIN(CardFacesTest)
#include "card_faces_test.moc"
