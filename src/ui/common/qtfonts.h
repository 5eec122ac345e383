// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lesson fonts (TFont) on Qt widgets.

#include <QColor>
#include <QFont>

#include "base/font.h"

class QWidget;

namespace vocatrix::ui {

// The RGB or system colour of a font description.
QColor ToQColor(TColor color);

// Face, size in points, the four styles and the pitch.
QFont ToQFont(const TFont& font);

// A widget's font as a lesson font: face, size in points, the four styles,
// black.
TFont FontOfQFont(const QFont& font);

// Gives a widget the font and its colour as text colour.
void ApplyFontTo(QWidget* widget, const TFont& font);

// Makes the Windows face names of the fixed layouts ("MS Sans Serif",
// "System") resolve to installed faces of matching size.
void InstallFontSubstitutions();

}  // namespace vocatrix::ui
