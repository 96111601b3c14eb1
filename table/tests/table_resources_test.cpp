// The built-in pictures, fonts and sounds: each one there, at its size, a real
// picture or an audible wave, and nothing for numbers that have none.
#include "platform/wave_file.hpp"
#include "table/sound_names.hpp"
#include "table/table_resources.hpp"

#include <array>
#include <set>

#include <QFontInfo>
#include <QtTest>

using corvane::PictureRole;

namespace {

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

class TableResourcesTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { corvane::InitTableResources(); }

    void everyPictureLoadsAtItsSize() {
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
        }
        // The tables are drawn for the window's design size.
        QCOMPARE(corvane::PictureSize(PictureRole::Background, 400), QSize(642, 446));
    }

    void picturesLookTheirPart() {
        // Suit icons in their colour with a clear corner.
        for (int nSuit = 0; nSuit < 4; ++nSuit) {
            const QImage icon = corvane::Picture(PictureRole::SuitIcon, 100 + nSuit).toImage();
            QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
            const QColor centre = icon.pixelColor(16, 17);
            QCOMPARE(centre.alpha(), 255);
            QCOMPARE(centre.red() > 150 && centre.green() < 80, nSuit == 1 || nSuit == 2);
            QCOMPARE(centre.red() < 60 && centre.green() < 60 && centre.blue() < 60,
                     nSuit == 0 || nSuit == 3);
        }
        // The four tables look different: their mean colours lie well apart.
        QList<QColor> means;
        for (const int n : {100, 200, 300, 400}) {
            const QColor b = corvane::Picture(PictureRole::Background, n)
                                 .toImage()
                                 .scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                 .pixelColor(0, 0);
            for (const QColor& a : means) {
                QVERIFY(std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                            std::abs(a.blue() - b.blue()) >
                        40);
            }
            means.append(b);
        }
        const QIcon icon = corvane::ProgramIcon(corvane::ProgramIconImages(std::array{16, 128}));
        QCOMPARE(icon.availableSizes(), QList<QSize>({QSize(16, 16), QSize(128, 128)}));
    }

    void unknownPicturesGiveNothingAndTheDesignFontsHaveSubstitutes() {
        QVERIFY(corvane::Picture(PictureRole::Background, 500).isNull());
        QVERIFY(corvane::Picture(PictureRole::SuitIcon, 104).isNull());
        QVERIFY(corvane::Picture(PictureRole::DialogBitmap, 100).isNull());
        QVERIFY(corvane::PicturePath(PictureRole::Background, 101).isEmpty());
        QVERIFY(corvane::PictureSize(PictureRole::Background, 0).isEmpty());
        for (const auto& [sFont, sFamily] : {std::pair{"MS Sans Serif", "Liberation Sans"},
                                             {"Eras Demi ITC", "Liberation Sans"},
                                             {"Times New Roman", "Liberation Serif"}}) {
            QCOMPARE(QFontInfo(QFont(QString::fromLatin1(sFont))).family(), QString(sFamily));
        }
    }

    void everySoundIsAShortWaveOfItsLength() {
        // The lengths the game's timing was made for, in seconds.
        const QMap<int, double> lengths{{101, 0.2}, {102, 0.3}, {103, 0.7}, {104, 0.4}, {106, 3.5},
                                        {107, 1.9}, {108, 0.5}, {109, 0.6}, {111, 4.6}, {112, 0.6},
                                        {113, 1.0}, {114, 0.8}, {115, 0.7}};
        qsizetype nTotal = 0;
        for (const int nResource : corvane::kSoundResources) {
            const QByteArray bytes = corvane::SoundWave(nResource);
            nTotal += bytes.size();
            const auto wave =
                corvane::ParseWave(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   static_cast<std::size_t>(bytes.size()));
            QVERIFY2(wave && wave->format == corvane::WaveSampleFormat::S16LE &&
                         wave->nChannels == 1 &&
                         (wave->nSampleRate == 22050 || wave->nSampleRate == 44100),
                     qPrintable(QString::number(nResource)));
            const double dSeconds =
                double(wave->nSampleBytes / wave->nBlockAlign) / wave->nSampleRate;
            QVERIFY2(std::abs(dSeconds - lengths.value(nResource)) < 0.05,
                     qPrintable(QStringLiteral("%1: %2 s").arg(nResource).arg(dSeconds)));
            // Audible, and never clipped.
            int nPeak = 0;
            for (std::size_t i = 0; i + 1 < wave->nSampleBytes; i += 2) {
                const auto nSample =
                    static_cast<std::int16_t>(wave->pSamples[i] | (wave->pSamples[i + 1] << 8));
                nPeak = std::max(nPeak, std::abs(int(nSample)));
            }
            QVERIFY2(nPeak > 8000 && nPeak < 32767, qPrintable(QString::number(nResource)));
        }
        QVERIFY(nTotal < 1500 * 1024);
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

QTEST_MAIN(TableResourcesTest)
#include "table_resources_test.moc"
