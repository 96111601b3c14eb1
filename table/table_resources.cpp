#include "table_resources.hpp"

#include <array>
#include <cstdint>
#include <utility>

#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QResource>
#include <QSvgRenderer>

// Outside any namespace, as the resource initialiser requires.
static void InitTableQrc() {
    Q_INIT_RESOURCE(table);
}

namespace corvane {

void InitTableResources() {
    InitTableQrc();
    InstallFontSubstitutes();
}

void InstallFontSubstitutes() {
    const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    const QStringList serif{QStringLiteral("Liberation Serif"), QStringLiteral("DejaVu Serif")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("Eras Demi ITC"), sans);
    QFont::insertSubstitutions(QStringLiteral("Times New Roman"), serif);
}

namespace {

struct PictureEntry {
    PictureRole role{};
    int nResource = 0;
    const char* sPath = nullptr;
    QSize size;
};

// The table is 9630 x 6690 twips, 642 x 446 pixels at 15 twips a pixel.
constexpr QSize kTableSize{642, 446};

const PictureEntry* FindPicture(PictureRole role, int nResource) {
    static const auto kPictures = std::to_array<PictureEntry>({
        {PictureRole::Background, 100, ":/corvane/pictures/background_100.svg", kTableSize},
        {PictureRole::Background, 200, ":/corvane/pictures/background_200.svg", kTableSize},
        {PictureRole::Background, 300, ":/corvane/pictures/background_300.svg", kTableSize},
        {PictureRole::Background, 400, ":/corvane/pictures/background_400.svg", kTableSize},
        {PictureRole::DialogBitmap, 101, ":/corvane/pictures/bitmap_101.svg", {404, 404}},
        {PictureRole::SuitIcon, 100, ":/corvane/pictures/suit_100.svg", {32, 32}},
        {PictureRole::SuitIcon, 101, ":/corvane/pictures/suit_101.svg", {32, 32}},
        {PictureRole::SuitIcon, 102, ":/corvane/pictures/suit_102.svg", {32, 32}},
        {PictureRole::SuitIcon, 103, ":/corvane/pictures/suit_103.svg", {32, 32}},
        {PictureRole::SadFace, 0, ":/corvane/pictures/sad_face.svg", {32, 32}},
        {PictureRole::PotButton, 0, ":/corvane/pictures/pay_pot.svg", {94, 38}},
        {PictureRole::ProgramIcon, 0, ":/corvane/pictures/corvane.svg", {256, 256}},
        {PictureRole::HelpPicture, 0, ":/corvane/pictures/help.svg", {200, 130}},
    });
    for (const PictureEntry& entry : kPictures) {
        if (entry.role == role && entry.nResource == nResource) {
            return &entry;
        }
    }
    return nullptr;
}

} // namespace

QString PicturePath(PictureRole role, int nResource) {
    const PictureEntry* entry = FindPicture(role, nResource);
    return entry == nullptr ? QString() : QString::fromLatin1(entry->sPath);
}

QSize PictureSize(PictureRole role, int nResource) {
    const PictureEntry* entry = FindPicture(role, nResource);
    return entry == nullptr ? QSize() : entry->size;
}

namespace {

// Where the program's resources keep a picture's raw pixels at this size.
QString PrerenderedPath(PictureRole role, int nResource, QSize pixels, const char* sType) {
    const PictureEntry* entry = FindPicture(role, nResource);
    if (entry == nullptr) {
        return {};
    }
    return QStringLiteral(":/corvane/prerendered/%1_%2x%3.%4")
        .arg(QFileInfo(QString::fromLatin1(entry->sPath)).completeBaseName())
        .arg(pixels.width())
        .arg(pixels.height())
        .arg(QLatin1String(sType));
}

} // namespace

QImage PrerenderedPixels(PictureRole role, int nResource, QSize pixels) {
    struct Kind {
        const char* sType;
        int nBytes;
        QImage::Format format;
    };
    static constexpr std::array<Kind, 2> kKinds{
        {{"argb", 4, QImage::Format_ARGB32_Premultiplied}, {"rgb", 3, QImage::Format_RGB888}}};
    for (const Kind& kind : kKinds) {
        const QResource resource(PrerenderedPath(role, nResource, pixels, kind.sType));
        // Rows padded to four bytes, stored uncompressed, so that an image can
        // use them where they lie.
        const qsizetype nRow = (qsizetype{pixels.width()} * kind.nBytes + 3) / 4 * 4;
        // Only the address's alignment is looked at.
        // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast)
        const auto nAddress = reinterpret_cast<std::uintptr_t>(resource.data());
        if (resource.isValid() && resource.compressionAlgorithm() == QResource::NoCompression &&
            resource.size() == nRow * pixels.height() && nAddress % 4 == 0) {
            return {resource.data(), pixels.width(), pixels.height(), nRow, kind.format};
        }
    }
    return {};
}

QImage RenderSvg(const QString& sPath, QSize pixels) {
    QSvgRenderer renderer(sPath);
    if (!renderer.isValid() || pixels.isEmpty()) {
        return {};
    }
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(pixels)));
    return image;
}

QImage PictureImage(PictureRole role, int nResource, QSize logicalSize, qreal dpr) {
    const PictureEntry* entry = FindPicture(role, nResource);
    if (entry == nullptr || dpr <= 0.0) {
        return {};
    }
    if (logicalSize.isEmpty()) {
        logicalSize = entry->size;
    }
    const QSize pixels = (QSizeF(logicalSize) * dpr).toSize();
    // A picture drawn at build time, when there is one for this size, spares
    // the start the SVG's parsing and drawing (and the fonts of its texts).
    QImage image = PrerenderedPixels(role, nResource, pixels);
    if (image.isNull()) {
        image = RenderSvg(QString::fromLatin1(entry->sPath), pixels);
    }
    image.setDevicePixelRatio(dpr);
    return image;
}

QPixmap Picture(PictureRole role, int nResource, QSize logicalSize, qreal dpr) {
    return QPixmap::fromImage(PictureImage(role, nResource, logicalSize, dpr));
}

std::vector<QImage> ProgramIconImages(std::span<const int> sizes) {
    std::vector<QImage> images;
    for (const int nSize : sizes) {
        images.push_back(PictureImage(PictureRole::ProgramIcon, 0, QSize(nSize, nSize)));
    }
    return images;
}

QIcon ProgramIcon(std::vector<QImage> images) {
    QIcon icon;
    // Moved, so each size is held once, by the icon.
    for (QImage& image : images) {
        icon.addPixmap(QPixmap::fromImage(std::move(image)));
    }
    return icon;
}

QByteArray SoundWave(int nResource) {
    QFile file(QStringLiteral(":/corvane/sounds/%1.wav").arg(nResource));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

} // namespace corvane
