// The pictures and sounds built into the program as Qt resources, and how to
// get at them. Call InitTableResources() once before any of the others: the
// resources live in a static library, and the linker keeps them only when
// something refers to them.
#pragma once

#include <span>
#include <vector>

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace corvane {

// Also installs the font substitutes below.
void InitTableResources();

// Lets the window and dialogs name the fonts they were designed with: "MS
// Sans Serif" (and "Eras Demi ITC", the pay-the-pot button's) become
// Liberation Sans, "Times New Roman" becomes Liberation Serif, with DejaVu as
// the fallback for each.
void InstallFontSubstitutes();

// What a picture is for; the resource number picks one of several where the
// role has more than one (backgrounds 100, 200, 300, 400; suit icons 100 to
// 103 for Clubs, Diamonds, Hearts, Spades; the dialog bitmap 101).
enum class PictureRole {
    Background,   // the table surface, one per level group
    DialogBitmap, // the thinking figure behind dialogs
    SuitIcon,     // the last-card suit symbol on a seat panel
    SadFace,      // shown after a seat paid the pot
    PotButton,    // the face of the pay-the-pot button
    ProgramIcon,
    HelpPicture, // the how-to-play panel's picture
};

// The resource path of a picture, or an empty string for an unknown one.
QString PicturePath(PictureRole role, int nResource = 0);

// The picture's size at a device pixel ratio of 1; empty for an unknown one.
QSize PictureSize(PictureRole role, int nResource = 0);

// Renders the picture to fill logicalSize (its own size when empty) at the
// given device pixel ratio. A null pixmap for an unknown picture. Rendering
// takes a few milliseconds for a background: do it when the size changes,
// not while painting.
QPixmap Picture(PictureRole role, int nResource = 0, QSize logicalSize = {}, qreal dpr = 1.0);

// The same as an image, which may be drawn on any thread: start-up draws its
// largest pictures on a worker while the window is being built.
QImage PictureImage(PictureRole role, int nResource = 0, QSize logicalSize = {}, qreal dpr = 1.0);

// A picture kept at build time as raw pixels at this size, used where the
// program's resources hold them (no drawing, no decoding, no copy): three
// bytes a pixel for an opaque one, else premultiplied ARGB. Null when there is
// none; PictureImage uses it when it is there.
QImage PrerenderedPixels(PictureRole role, int nResource, QSize pixels);
// An SVG file drawn at this many pixels; null when it cannot be read.
QImage RenderSvg(const QString& sPath, QSize pixels);

// The program icon's pictures at these pixel sizes, drawn on any thread, and
// the icon made of them.
std::vector<QImage> ProgramIconImages(std::span<const int> sizes);
QIcon ProgramIcon(std::vector<QImage> images);

// The complete wave file of sound resource nResource (101 to 115), or an
// empty array for a number that holds no sound.
QByteArray SoundWave(int nResource);

} // namespace corvane
