// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/qtfonts.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

// The Windows system colour indices 0 to 24 as palette roles.
QPalette::ColorRole RoleOfSystemColor(unsigned index) {
  switch (index) {
    case 0: return QPalette::Button;           // clScrollBar
    case 1: return QPalette::Window;           // clBackground
    case 2: return QPalette::Highlight;        // clActiveCaption
    case 3: return QPalette::Mid;              // clInactiveCaption
    case 4: return QPalette::Window;           // clMenu
    case 5: return QPalette::Base;             // clWindow
    case 6: return QPalette::Shadow;           // clWindowFrame
    case 7: return QPalette::WindowText;       // clMenuText
    case 8: return QPalette::Text;             // clWindowText
    case 9: return QPalette::HighlightedText;  // clCaptionText
    case 10: return QPalette::Mid;             // clActiveBorder
    case 11: return QPalette::Mid;             // clInactiveBorder
    case 12: return QPalette::Dark;            // clAppWorkSpace
    case 13: return QPalette::Highlight;       // clHighlight
    case 14: return QPalette::HighlightedText; // clHighlightText
    case 15: return QPalette::Button;          // clBtnFace
    case 16: return QPalette::Mid;             // clBtnShadow
    case 17: return QPalette::PlaceholderText; // clGrayText
    case 18: return QPalette::ButtonText;      // clBtnText
    case 19: return QPalette::WindowText;      // clInactiveCaptionText
    case 20: return QPalette::Light;           // clBtnHighlight
    case 21: return QPalette::Shadow;          // cl3DDkShadow
    case 22: return QPalette::Midlight;        // cl3DLight
    case 23: return QPalette::ToolTipText;     // clInfoText
    case 24: return QPalette::ToolTipBase;     // clInfoBk
    default: return QPalette::Text;
  }
}

}  // namespace

QColor ToQColor(TColor color) {
  if (color == clNone) return QColor(Qt::black);
  if (color & kSystemColorFlag) return QApplication::palette().color(RoleOfSystemColor(color & 0xFFu));
  return QColor(static_cast<int>(color & 0xFFu), static_cast<int>((color >> 8) & 0xFFu),
                static_cast<int>((color >> 16) & 0xFFu));
}

QFont ToQFont(const TFont& font) {
  QFont result(ToQString(font.Name));
  result.setPointSize(font.Size > 0 ? font.Size : 10);
  result.setBold(font.Bold);
  result.setItalic(font.Italic);
  result.setUnderline(font.Underline);
  result.setStrikeOut(font.StrikeOut);
  if (font.Pitch != TFontPitch::Default) result.setFixedPitch(font.Pitch == TFontPitch::Fixed);
  return result;
}

TFont FontOfQFont(const QFont& font) {
  TFont result;
  result.SetName(ToLessonString(font.family()));
  if (font.pointSize() > 0) result.Size = font.pointSize();
  else if (font.pixelSize() > 0) result.Size = std::max(1, font.pixelSize() * 72 / 96);
  result.Bold = font.bold();
  result.Italic = font.italic();
  result.Underline = font.underline();
  result.StrikeOut = font.strikeOut();
  return result;
}

void ApplyFontTo(QWidget* widget, const TFont& font) {
  widget->setFont(ToQFont(font));
  QPalette palette = widget->palette();
  const QColor color = ToQColor(font.Color);
  palette.setColor(QPalette::Text, color);
  palette.setColor(QPalette::WindowText, color);
  palette.setColor(QPalette::ButtonText, color);
  widget->setPalette(palette);
}

void InstallFontSubstitutions() {
  QFont::insertSubstitution("MS Sans Serif", "Liberation Sans");
  QFont::insertSubstitution("System", "Liberation Sans");
}

}  // namespace vocatrix::ui
