// Draws one of the table's SVG pictures into a PNG at build time, the way the
// program itself would draw it at that size.
// Usage: corvane-prerender-picture OUT.png NAME WIDTH HEIGHT
// (NAME is the picture's file name without .svg, e.g. pay_pot).
#include "table/table_resources.hpp"

#include <cstdio>
#include <cstdlib>

#include <QGuiApplication>
#include <QImage>
#include <QString>

int main(int argc, char* argv[]) {
    // Texts in the pictures need the font database of a GUI application.
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    bool bWidth = false;
    bool bHeight = false;
    const QSize pixels(args.value(3).toInt(&bWidth), args.value(4).toInt(&bHeight));
    if (args.size() != 5 || !bWidth || !bHeight || pixels.isEmpty()) {
        std::fputs("usage: corvane-prerender-picture OUT.png NAME WIDTH HEIGHT\n", stderr);
        return EXIT_FAILURE;
    }
    corvane::InitTableResources();
    const QImage image =
        corvane::RenderSvg(QStringLiteral(":/corvane/pictures/%1.svg").arg(args[2]), pixels);
    if (image.isNull() || !image.save(args[1], "PNG")) {
        std::fprintf(stderr, "cannot draw %s into %s\n", qPrintable(args[2]), qPrintable(args[1]));
        return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
