// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/multilabel.h"

#include <QPainter>
#include <algorithm>

namespace vocatrix {

TMultiLabel::TMultiLabel(QWidget* parent) : TFramedLabel(parent) {}

void TMultiLabel::SetText(const QStringList& lines) {
  if (&lines == &text_) return;
  text_ = lines;
  update();
  AdjustBounds();
}

int TMultiLabel::LineHeight(const QFontMetrics& metrics) const {
  int extra = 0;
  switch (Style()) {
    case TFrameStyle::Framed:
    case TFrameStyle::Raised: extra = 2 * OffsetY(); break;
    case TFrameStyle::Shadow: extra = OffsetY(); break;
    case TFrameStyle::Normal: break;
  }
  return metrics.height() + std::max(0, metrics.leading()) + extra;
}

void TMultiLabel::DrawLabelText(QPainter& canvas, QRect& rect, int flags) {
  if (!ShowAccelChar()) flags |= TextFlags::NoPrefix;
  if (!isEnabled()) canvas.setPen(GrayText());
  const int lineHeight = LineHeight(canvas.fontMetrics());
  QRect line = rect;
  if (flags & TextFlags::CalcRect) {
    // Measuring takes the widest line and the height of all lines, so that
    // an auto-sized multi-line label shows every line.
    int width = 0;
    for (const QString& text : text_) {
      QRect r = line;
      DrawText(canvas, r, flags, text);
      width = std::max(width, r.width());
    }
    rect.setSize(QSize(width, lineHeight * static_cast<int>(text_.size())));
    return;
  }
  for (const QString& text : text_) {
    DrawText(canvas, line, flags, text);
    line.translate(0, lineHeight);  // top-aligned and unclipped: only the top matters
  }
}

}  // namespace vocatrix
