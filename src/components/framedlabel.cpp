// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/framedlabel.h"

#include <QPainter>

namespace vocatrix {

void TFramedLabel::SetStyle(TFrameStyle value) {
  style_ = value;
  AdjustBounds();
  update();
}

void TFramedLabel::SetOffsetX(int value) {
  offsetX_ = value;
  AdjustBounds();
  update();
}

void TFramedLabel::SetOffsetY(int value) {
  offsetY_ = value;
  AdjustBounds();
  update();
}

void TFramedLabel::DrawCopy(QPainter& canvas, int dx, int dy, const QColor& color) {
  QRect r = rect();
  if (style_ == TFrameStyle::Framed || style_ == TFrameStyle::Raised)
    r.adjust(offsetX_, offsetY_, -offsetX_, -offsetY_);
  r.translate(dx, dy);
  canvas.setFont(font());
  canvas.setPen(color);
  DrawLabelText(canvas, r, TextFlags::ExpandTabs | TextFlags::WordBreak | TextFlags::NoClip | AlignmentFlag());
}

void TFramedLabel::Paint(QPainter& canvas) {
  if (!Transparent()) canvas.fillRect(rect(), Color());
  canvas.setBrush(Qt::NoBrush);
  const int ox = offsetX_;
  const int oy = offsetY_;
  const QColor black = Qt::black;
  const QColor light = palette().color(QPalette::Light);
  switch (style_) {
    case TFrameStyle::Framed:
    case TFrameStyle::Raised: {
      // Raised lights the upper left copies and darkens the lower right ones.
      const QColor upper = style_ == TFrameStyle::Raised ? light : black;
      DrawCopy(canvas, -ox, oy, black);
      DrawCopy(canvas, ox, -oy, black);
      DrawCopy(canvas, -ox, -oy, upper);
      DrawCopy(canvas, -ox, 0, upper);
      DrawCopy(canvas, 0, -oy, upper);
      DrawCopy(canvas, ox, 0, black);
      DrawCopy(canvas, 0, oy, black);
      DrawCopy(canvas, ox, oy, black);
      break;
    }
    case TFrameStyle::Shadow:
      DrawCopy(canvas, ox, oy, black);
      break;
    case TFrameStyle::Normal:
      break;
  }
  DrawCopy(canvas, 0, 0, FontColor());
}

void TFramedLabel::DrawLabelText(QPainter& canvas, QRect& rect, int flags) {
  // The font and colour were set by DrawCopy (or by AdjustBounds); only a
  // disabled label turns every copy grey.
  QString text = LabelText();
  if ((flags & TextFlags::CalcRect) && (text.isEmpty() || (ShowAccelChar() && text == "&"))) text += ' ';
  if (!ShowAccelChar()) flags |= TextFlags::NoPrefix;
  if (!isEnabled()) canvas.setPen(GrayText());
  DrawText(canvas, rect, flags | TextFlags::NoClip, text);
}

void TFramedLabel::AdjustBounds() {
  if (!AutoSize()) return;
  const QRect before = geometry();
  TClonedLabel::AdjustBounds();
  QRect r = geometry();
  if (Alignment() == TAlignment::RightJustify) r.moveLeft(r.left() - 4 * offsetX_);
  r.setWidth(r.width() + 4 * offsetX_);
  r.setHeight(r.height() + 2 * offsetY_);
  if (r != before) setGeometry(r);
}

}  // namespace vocatrix
