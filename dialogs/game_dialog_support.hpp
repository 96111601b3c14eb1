// Pieces the end-of-hand, game-over, top-ten and high-score dialogs share: the
// sound callback, twips-based placement of controls, the leading-number rule
// and where a dialog goes on the screen.
#pragma once

#include "engine/sound.hpp"
#include "engine/twips.hpp"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QLabel;
class QPushButton;
class QWidget;

namespace corvane {

// Plays a sound and returns when it has ended (the window's PlaySoundRes).
using SoundPlayer = std::function<void(Sound)>;

// A rectangle given in twips, in pixels. Each edge is converted on its own, so
// controls that share an edge in twips share it on screen.
QRect TwipsRect(int nLeft, int nTop, int nWidth, int nHeight);

inline const QColor kBlue{0, 0, 255};
inline const QColor kPurple{128, 0, 128};

// A label child of pParent at a place given in twips.
QLabel* MakeLabel(QWidget* pParent, const QString& sObjectName, const QString& sCaption,
                  const QRect& rcTwips);
QPushButton* MakeButton(QWidget* pParent, const QString& sObjectName, const QString& sCaption,
                        const QRect& rcTwips);

// The font the dialogs were designed with, "MS Sans Serif" (substituted where
// it is missing).
QFont DesignFont(int nPointSize, bool bBold = false);

// The colour a label's text is drawn in.
void SetForeColour(QWidget& w, const QColor& colour);
QColor ForeColour(const QWidget& w);

// The text's leading integer: blanks skipped, an optional sign, then digits; 0
// when the text does not start with a number. Held to the 32-bit range.
std::int32_t LeadingInteger(std::string_view sText);

// Centres the dialog across the primary screen's free area and puts its top at
// (free height - dialog height) / dDivisor below the area's top, never above it.
void PlaceOnScreen(QWidget& dialog, double dDivisor);

// The divisors: most dialogs sit in the middle, some a little above it.
inline constexpr double kCentred = 2.0;
inline constexpr double kAboveCentre = 2.2;

} // namespace corvane
