// Small helpers shared by the dialogs of this library.
#pragma once

#include <string>

#include <QString>

class QWidget;

namespace corvane {

// Centred across the screen, the top at (screen height - height) / 2.2: a little
// above the middle, where the user and about dialogs sit.
void PlaceAboveMiddle(QWidget& w);

// Centred on the screen.
void CenterForm(QWidget& w);

// Leading and trailing blanks removed.
std::string TrimmedText(const QString& s);

inline QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace corvane
