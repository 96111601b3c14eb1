// The one conversion between twips, the unit the table and the dialogs are
// laid out in, and screen pixels at the design size.
#pragma once

namespace corvane {

inline constexpr int kTwipsPerPixel = 15;

// The nearest whole pixel; with an odd factor no twip count falls halfway.
constexpr int TwipsToPixels(int nTwips) {
    return nTwips >= 0 ? (nTwips + kTwipsPerPixel / 2) / kTwipsPerPixel
                       : -((kTwipsPerPixel / 2 - nTwips) / kTwipsPerPixel);
}

// Whole pixels with the remainder dropped, as the small forms place their controls.
constexpr int TwipsToPixelsTruncated(int nTwips) {
    return nTwips / kTwipsPerPixel;
}

constexpr int PixelsToTwips(int nPixels) {
    return nPixels * kTwipsPerPixel;
}

} // namespace corvane
