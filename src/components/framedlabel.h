// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A label whose caption carries an outline, a raised edge or a drop shadow,
// made of copies of the text displaced by OffsetX and OffsetY.

#include "components/clonedlabel.h"

namespace vocatrix {

enum class TFrameStyle { Framed, Raised, Shadow, Normal };

class TFramedLabel : public TClonedLabel {
  Q_OBJECT
 public:
  explicit TFramedLabel(QWidget* parent = nullptr) : TClonedLabel(parent) {}

  TFrameStyle Style() const { return style_; }
  void SetStyle(TFrameStyle value);
  int OffsetX() const { return offsetX_; }
  void SetOffsetX(int value);
  int OffsetY() const { return offsetY_; }
  void SetOffsetY(int value);

 protected:
  void Paint(QPainter& canvas) override;
  void AdjustBounds() override;
  void DrawLabelText(QPainter& canvas, QRect& rect, int flags) override;
  // One copy of the text, displaced by (dx, dy), in the given colour.
  void DrawCopy(QPainter& canvas, int dx, int dy, const QColor& color);

 private:
  TFrameStyle style_ = TFrameStyle::Framed;
  int offsetX_ = 0;
  int offsetY_ = 0;
};

}  // namespace vocatrix
