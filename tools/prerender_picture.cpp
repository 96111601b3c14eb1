// Draws one of the table's SVG pictures at build time, the way the program
// itself would draw it at that size, and writes its raw pixels as the program
// uses them where they lie: OUT.rgb three bytes a pixel (for an opaque
// picture), OUT.argb four bytes of premultiplied colour; rows padded to four bytes.
// Usage: corvane-prerender-picture OUT.rgb|OUT.argb NAME WIDTH HEIGHT
// (NAME is the picture's file name without .svg, e.g. pay_pot).
#include "table/table_resources.hpp"

#include <cstdio>
#include <cstdlib>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QString>

namespace {

bool SaveRaw(const QImage& image, QImage::Format format, const QString& sPath) {
    // The program's own conversion, so that the pixels are those it would draw.
    const QImage pixels = image.convertToFormat(format);
    QFile file(sPath);
    const QByteArray bytes = QByteArrayView(pixels.constBits(), pixels.sizeInBytes()).toByteArray();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[]) {
    // Texts in the pictures need the font database of a GUI application.
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    bool bWidth = false;
    bool bHeight = false;
    const QSize pixels(args.value(3).toInt(&bWidth), args.value(4).toInt(&bHeight));
    if (args.size() != 5 || !bWidth || !bHeight || pixels.isEmpty()) {
        std::fputs("usage: corvane-prerender-picture OUT.rgb|OUT.argb NAME WIDTH HEIGHT\n", stderr);
        return EXIT_FAILURE;
    }
    corvane::InitTableResources();
    const QImage image =
        corvane::RenderSvg(QStringLiteral(":/corvane/pictures/%1.svg").arg(args[2]), pixels);
    const QImage::Format format = args[1].endsWith(QStringLiteral(".rgb"))
                                      ? QImage::Format_RGB888
                                      : QImage::Format_ARGB32_Premultiplied;
    if (image.isNull() || !SaveRaw(image, format, args[1])) {
        std::fprintf(stderr, "cannot draw %s into %s\n", qPrintable(args[2]), qPrintable(args[1]));
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
