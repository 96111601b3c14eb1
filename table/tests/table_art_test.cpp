// The table's built-in art. The card faces: each one its own even in the corner
// that stays in sight, the index and pips in the suit's colour (four colours when
// chosen), and drawn sharp under any scale and pixel ratio. The pictures, fonts and
// sounds: each one there, at its size, a picture of its own or a wave the table
// can play, and nothing for numbers that have none.
#include "platform/wave_file.hpp"
#include "table/card_faces.hpp"
#include "table/sound_names.hpp"
#include "table/table_resources.hpp"

#include <array>
#include <set>

#include <QCryptographicHash>
#include <QFontInfo>
#include <QPainter>
#include <QtTest>

using corvane::CardFaces;
using corvane::PictureRole;

namespace {

enum class Ink { Red, Black, Green, Blue, Any };

// Clubs green and Diamonds blue are the four-colour deck's; Any is the dark
// or saturated ink of an index.
bool IsInk(QColor c, Ink ink) {
    if (c.alpha() <= 200) {
        return false;
    }
    switch (ink) {
    case Ink::Red:
        return c.red() > 150 && c.green() < 110 && c.blue() < 110;
    case Ink::Black:
        return c.red() < 100 && c.green() < 100 && c.blue() < 100;
    case Ink::Green:
        return c.green() > 90 && c.green() > c.red() + 50 && c.green() > c.blue() + 40;
    case Ink::Blue:
        return c.blue() > 150 && c.blue() > c.red() + 80 && c.blue() > c.green() + 60;
    case Ink::Any:
        return c.saturation() + 255 - c.value() > 180;
    }
    return false;
}

int CountInk(const QImage& image, const QRect& area, Ink ink) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += IsInk(image.pixelColor(x, y), ink) ? 1 : 0;
        }
    }
    return n;
}

QByteArray Digest(const QImage& image) {
    const QImage converted = image.convertToFormat(QImage::Format_ARGB32);
    return QCryptographicHash::hash(QByteArrayView(converted.constBits(), converted.sizeInBytes()),
                                    QCryptographicHash::Sha1);
}

// The top-left corner that stays in sight both in a table row (the top 260
// of 1430 twips) and in the fanned hand (the left 360 of 1070), in pixels of
// a face of the given size, leaving out the border.
QRect VisibleCorner(QSize size) {
    const int nBorder = std::max(2, size.width() / 35);
    return {QPoint(nBorder, nBorder),
            QPoint(size.width() * 360 / 1070 - 1, size.height() * 260 / 1430 - 1)};
}

void Ready(CardFaces& faces) {
    int nWidth = 0;
    int nHeight = 0;
    QVERIFY(faces.Init(nWidth, nHeight));
    QCOMPARE(QSize(nWidth, nHeight), QSize(71, 96));
}

// How many distinct colours a picture uses, up to a limit.
int DistinctColours(const QImage& image, int nLimit = 50) {
    QSet<QRgb> colours;
    for (int y = 0; y < image.height() && colours.size() < nLimit; y += 2) {
        for (int x = 0; x < image.width(); x += 2) {
            colours.insert(image.pixel(x, y));
        }
    }
    return static_cast<int>(colours.size());
}

} // namespace

class TableArtTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { corvane::InitTableResources(); }

    void nothingBeforeInitOrAfterReleaseOrForBadNumbersAndOldSizesGo() {
        CardFaces faces;
        const QSize size(71, 96);
        QVERIFY(faces.Face(0, size, 1.0).isNull());
        Ready(faces);
        Ready(faces);
        const QPixmap first = faces.Face(0, size, 1.0);
        for (const int nCard : {-1, 52}) {
            QVERIFY(faces.Face(nCard, size, 1.0).isNull() &&
                    faces.RenderFace(nCard, size).isNull());
        }
        QVERIFY(faces.Face(0, QSize(), 1.0).isNull() && faces.Face(0, size, 0.0).isNull());
        // Kept until pushed out by newer sizes, then drawn again.
        QCOMPARE(faces.Face(0, size, 1.0).cacheKey(), first.cacheKey());
        for (int i = 1; i <= static_cast<int>(CardFaces::kSizesKept); ++i) {
            faces.Face(7, size + QSize(i, i), 1.0);
        }
        QVERIFY(faces.Face(0, size, 1.0).cacheKey() != first.cacheKey());
        faces.Release();
        QVERIFY(!faces.IsReady() && faces.Face(0, size, 1.0).isNull());
        Ready(faces);
        QVERIFY(!faces.Face(0, size, 1.0).isNull());
    }

    void everyFaceIsItsOwnAndShowsTheSuitColour_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("bFourColour");
        QTest::addColumn<bool>("bLarge");
        QTest::newRow("1x") << QSize(71, 96) << false << false;
        QTest::newRow("2x") << QSize(142, 192) << false << false;
        QTest::newRow("four-colour, large, 1x") << QSize(71, 96) << true << true;
        QTest::newRow("large 2x") << QSize(142, 192) << false << true;
        QTest::newRow("small") << QSize(53, 72) << false << false;
    }

    void everyFaceIsItsOwnAndShowsTheSuitColour() {
        QFETCH(QSize, size);
        QFETCH(bool, bFourColour);
        QFETCH(bool, bLarge);
        CardFaces faces;
        CardFaces plain;
        Ready(faces);
        Ready(plain);
        faces.SetStyle(corvane::FaceStyle{bFourColour, bLarge});
        const int nScale = size.width() / 71;
        const QRect corner = VisibleCorner(size);
        const QRect pips(QPoint(12, 18) * nScale, QSize(47, 60) * nScale);
        // Outside the corner, along the top, only the white card, so a row
        // shows just the index (clear of the rounded corner's border).
        const QRect rest(QPoint(size.width() * 360 / 1070, size.height() / 16),
                         QPoint(size.width() * 9 / 10, size.height() * 260 / 1430 - 1));
        // Each face its own, even in the corner that stays in sight.
        QSet<QByteArray> corners;
        for (int nCard = 0; nCard < 52; ++nCard) {
            const QImage face = faces.RenderFace(nCard, size);
            QCOMPARE(face.size(), size);
            corners.insert(Digest(face.copy(corner)));
            if (nScale == 0) {
                continue; // at the smallest size, only that each face is its own
            }
            const QString sCard = QString::number(nCard);
            const int nSuit = nCard % 4;
            Ink ink = nSuit == 1 || nSuit == 2 ? Ink::Red : Ink::Black;
            if (bFourColour && nSuit < 2) {
                ink = nSuit == 0 ? Ink::Green : Ink::Blue;
            }
            // No ink of another colour in the corner or on the pips.
            const auto stray = [&](const QRect& area) {
                return (ink == Ink::Red ? 0 : CountInk(face, area, Ink::Red)) +
                       (ink == Ink::Black ? 0 : CountInk(face, area, Ink::Black));
            };
            QVERIFY2(CountInk(face, corner, ink) >= 20 * nScale * nScale, qPrintable(sCard));
            QVERIFY2(stray(corner) == 0, qPrintable(sCard));
            QVERIFY2(CountInk(face, rest, Ink::Red) + CountInk(face, rest, Ink::Black) == 0,
                     qPrintable(sCard));
            if (nCard < 40) {
                QVERIFY2(CountInk(face, pips, ink) > 40 && stray(pips) == 0, qPrintable(sCard));
            }
            if (nCard < 4) {
                // The Ace's single pip sits in the middle.
                QVERIFY(IsInk(face.pixelColor(size.width() / 2, size.height() / 2), ink));
            }
            if (bLarge) {
                // The large index covers clearly more of the corner.
                QVERIFY2(CountInk(face, corner, Ink::Any) >
                             CountInk(plain.RenderFace(nCard, size), corner, Ink::Any) * 11 / 10,
                         qPrintable(sCard));
            }
            // White, rounded, with a dark border.
            QCOMPARE(face.pixelColor(0, 0).alpha(), 0);
            QCOMPARE(face.pixelColor(size.width() - 1, size.height() - 1).alpha(), 0);
            const QColor border = face.pixelColor(size.width() / 2, 0);
            QVERIFY(border.alpha() == 255 && border.red() < 160);
            QCOMPARE(face.pixelColor(size.width() * 66 / 71, size.height() * 20 / 96),
                     QColor(Qt::white));
        }
        QCOMPARE(corners.size(), 52);
    }

    void drawPlacesACachedSharpFaceUnderAnyScale_data() {
        QTest::addColumn<qreal>("rScale");
        QTest::addColumn<qreal>("dpr");
        QTest::newRow("1x") << 1.0 << 1.0;
        QTest::newRow("scaled") << 1.5 << 1.0;
        QTest::newRow("hi-dpi") << 1.0 << 2.0;
        QTest::newRow("both") << 0.8 << 2.0;
    }

    void drawPlacesACachedSharpFaceUnderAnyScale() {
        QFETCH(qreal, rScale);
        QFETCH(qreal, dpr);
        CardFaces faces;
        Ready(faces);

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
        const QPixmap prepared = faces.Face(26, size, dpr);
        faces.Draw(painter, target, 26);
        painter.end();
        QCOMPARE(faces.Face(26, size, dpr).cacheKey(), prepared.cacheKey());

        // Pixel for pixel the face rendered at the device size, inside its smoothed edge.
        const QImage face = faces.RenderFace(26, (QSizeF(size) * dpr).toSize());
        const QRect inner = face.rect().adjusted(4, 4, -4, -4);
        QImage drawn = table.copy(inner.translated((QPointF(20, 20) * rScale * dpr).toPoint()));
        drawn.setDevicePixelRatio(1.0);
        QCOMPARE(drawn.convertToFormat(QImage::Format_ARGB32),
                 face.copy(inner).convertToFormat(QImage::Format_ARGB32));
    }

    void everyPictureLoadsAtItsSizeAndUnknownOnesGiveNothing() {
        struct Case {
            PictureRole role;
            int nResource;
            bool bOpaque;
        };
        std::vector<Case> cases{{PictureRole::DialogBitmap, 101, true}};
        for (const auto role : {PictureRole::SadFace, PictureRole::PotButton,
                                PictureRole::ProgramIcon, PictureRole::HelpPicture}) {
            cases.push_back({role, 0, false});
        }
        for (const int n : {100, 101, 102, 103}) {
            cases.push_back({PictureRole::SuitIcon, n, false});
            cases.push_back({PictureRole::Background, (n - 99) * 100, true});
        }
        QSet<QByteArray> pictures;
        for (const auto& [role, nResource, bOpaque] : cases) {
            const QString sCase = QStringLiteral("%1/%2").arg(int(role)).arg(nResource);
            const QSize size = corvane::PictureSize(role, nResource);
            const QImage image = corvane::Picture(role, nResource).toImage();
            QVERIFY2(!size.isEmpty() && image.size() == size, qPrintable(sCase));
            QVERIFY2(DistinctColours(image) >= 10, qPrintable(sCase + ": a blank"));
            for (const QPoint p : {QPoint(0, 0), QPoint(size.width() - 1, size.height() - 1),
                                   QPoint(size.width() / 2, size.height() / 2)}) {
                QVERIFY2(!bOpaque || image.pixelColor(p).alpha() == 255, qPrintable(sCase));
            }
            // Sharp at twice the pixel ratio, and stretched to any size asked for.
            const QPixmap sharp = corvane::Picture(role, nResource, size, 2.0);
            QVERIFY(sharp.size() == size * 2 && sharp.devicePixelRatio() == 2.0);
            QCOMPARE(corvane::Picture(role, nResource, QSize(50, 20)).size(), QSize(50, 20));
            pictures.insert(Digest(image));
        }
        QCOMPARE(pictures.size(), static_cast<qsizetype>(cases.size())); // each one its own
        const QIcon icon = corvane::ProgramIcon(corvane::ProgramIconImages(std::array{16, 128}));
        QCOMPARE(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(128, 128)}));
        // Nothing for numbers that have no picture; the design fonts have substitutes.
        QVERIFY(corvane::Picture(PictureRole::Background, 500).isNull());
        QVERIFY(corvane::PicturePath(PictureRole::Background, 101).isEmpty());
        QVERIFY(corvane::PictureSize(PictureRole::Background, 0).isEmpty());
        for (const auto& [sFont, sFamily] : {std::pair{"MS Sans Serif", "Liberation Sans"},
                                             {"Eras Demi ITC", "Liberation Sans"},
                                             {"Times New Roman", "Liberation Serif"}}) {
            QCOMPARE(QFontInfo(QFont(QString::fromLatin1(sFont))).family(), QString(sFamily));
        }
    }

    void everySoundIsAWaveTheTableCanPlay() {
        for (const int nResource : corvane::kSoundResources) {
            const QByteArray bytes = corvane::SoundWave(nResource);
            const auto wave =
                corvane::ParseWave(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()));
            QVERIFY2(wave && wave->format == corvane::WaveSampleFormat::S16LE &&
                         wave->nChannels == 1 &&
                         (wave->nSampleRate == 22050 || wave->nSampleRate == 44100),
                     qPrintable(QString::number(nResource)));
        }
        QVERIFY(corvane::SoundWave(105).isEmpty());
        // Each wave is reached, and only the wrong card and the forced Seven share one.
        std::set<int> used;
        for (int n = 0; n <= static_cast<int>(corvane::Sound::OverPot); ++n) {
            used.insert(corvane::SoundResourceNumber(static_cast<corvane::Sound>(n)));
        }
        QVERIFY(std::ranges::equal(used, corvane::kSoundResources));
        QCOMPARE(corvane::SoundResourceNumber(corvane::Sound::WrongCard),
                 corvane::SoundResourceNumber(corvane::Sound::MustPlay));
    }
};

QTEST_MAIN(TableArtTest)
#include "table_art_test.moc"
