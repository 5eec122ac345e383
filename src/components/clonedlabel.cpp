// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/clonedlabel.h"

#include <QEvent>
#include <QImage>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace vocatrix {

TCustomClonedLabel::TCustomClonedLabel(QWidget* parent) : QWidget(parent) { resize(65, 17); }

void TCustomClonedLabel::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  update();
}

void TCustomClonedLabel::SetAutoSize(bool value) {
  autoSize_ = value;
  AdjustBounds();
}

void TCustomClonedLabel::SetWordWrap(bool value) {
  wordWrap_ = value;
  AdjustBounds();
}

void TCustomClonedLabel::SetShowAccelChar(bool value) {
  if (showAccelChar_ == value) return;
  showAccelChar_ = value;
  UpdateAccelerator();
  update();
}

void TCustomClonedLabel::SetFocusControl(QWidget* control) {
  focusControl_ = control;
  UpdateAccelerator();
}

void TCustomClonedLabel::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  update();
}

void TCustomClonedLabel::SetCaption(const QString& caption) {
  if (caption_ == caption) return;
  caption_ = caption;
  UpdateAccelerator();
  update();
  AdjustBounds();
}

QColor TCustomClonedLabel::Color() const { return palette().color(QPalette::Window); }

void TCustomClonedLabel::SetColor(const QColor& color) {
  QPalette p = palette();
  p.setColor(QPalette::Window, color);
  setPalette(p);
}

QColor TCustomClonedLabel::FontColor() const { return palette().color(QPalette::WindowText); }

void TCustomClonedLabel::SetFontColor(const QColor& color) {
  // The disabled group keeps its grey.
  QPalette p = palette();
  p.setColor(QPalette::Active, QPalette::WindowText, color);
  p.setColor(QPalette::Inactive, QPalette::WindowText, color);
  setPalette(p);
}

QColor TCustomClonedLabel::GrayText() const { return palette().color(QPalette::Disabled, QPalette::WindowText); }

int TCustomClonedLabel::AlignmentFlag() const {
  switch (alignment_) {
    case TAlignment::RightJustify: return TextFlags::Right;
    case TAlignment::Center: return TextFlags::Centre;
    case TAlignment::LeftJustify: break;
  }
  return TextFlags::Left;
}

void TCustomClonedLabel::DrawText(QPainter& canvas, QRect& rect, int flags, const QString& text) {
  int qt = Qt::AlignTop;
  if (flags & TextFlags::ExpandTabs) qt |= Qt::TextExpandTabs;
  if (flags & TextFlags::WordBreak) qt |= Qt::TextWordWrap;
  if (flags & TextFlags::Right) qt |= Qt::AlignRight;
  else if (flags & TextFlags::Centre) qt |= Qt::AlignHCenter;
  else qt |= Qt::AlignLeft;
  if (!(flags & TextFlags::NoPrefix)) qt |= Qt::TextShowMnemonic;
  if (flags & TextFlags::NoClip) qt |= Qt::TextDontClip;
  if (flags & TextFlags::CalcRect) {
    // Measuring keeps the top left corner and takes the text's extent.
    const QRect bounds = canvas.fontMetrics().boundingRect(rect, qt & ~Qt::AlignRight & ~Qt::AlignHCenter, text);
    rect.setSize(bounds.size());
    return;
  }
  canvas.drawText(rect, qt, text);
}

void TCustomClonedLabel::DrawLabelText(QPainter& canvas, QRect& rect, int flags) {
  QString text = LabelText();
  // An empty label, or one showing only an accelerator mark, keeps the height
  // of one line.
  if ((flags & TextFlags::CalcRect) && (text.isEmpty() || (showAccelChar_ && text == "&"))) text += ' ';
  if (!showAccelChar_) flags |= TextFlags::NoPrefix;
  canvas.setFont(font());
  canvas.setPen(isEnabled() ? FontColor() : GrayText());
  DrawText(canvas, rect, flags, text);
}

void TCustomClonedLabel::Paint(QPainter& canvas) {
  if (!transparent_) canvas.fillRect(rect(), Color());
  canvas.setBrush(Qt::NoBrush);
  QRect r = rect();
  DrawLabelText(canvas, r, TextFlags::ExpandTabs | TextFlags::WordBreak | AlignmentFlag());
}

void TCustomClonedLabel::AdjustBounds() {
  if (!autoSize_) return;
  // Measured on a screen-like device, as the label is not being painted now.
  QImage device(1, 1, QImage::Format_RGB32);
  QPainter canvas(&device);
  canvas.setFont(font());
  QRect r = rect();
  int flags = TextFlags::CalcRect | TextFlags::ExpandTabs;
  if (wordWrap_) flags |= TextFlags::WordBreak;
  DrawLabelText(canvas, r, flags);
  const int left = alignment_ == TAlignment::RightJustify ? x() + width() - r.width() : x();
  setGeometry(left, y(), r.width(), r.height());
}

void TCustomClonedLabel::paintEvent(QPaintEvent*) {
  QPainter canvas(this);
  Paint(canvas);
}

void TCustomClonedLabel::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange) AdjustBounds();
  if (event->type() == QEvent::EnabledChange) update();
  QWidget::changeEvent(event);
}

void TCustomClonedLabel::UpdateAccelerator() {
  if (shortcutId_) releaseShortcut(shortcutId_);
  shortcutId_ = 0;
  if (!focusControl_ || !showAccelChar_) return;
  const QKeySequence key = QKeySequence::mnemonic(caption_);
  if (!key.isEmpty()) shortcutId_ = grabShortcut(key);
}

bool TCustomClonedLabel::event(QEvent* event) {
  if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(event)->shortcutId() == shortcutId_) {
    QWidget* target = focusControl_;
    if (target && isEnabled() && showAccelChar_ && target->isEnabled() && target->isVisible() &&
        target->focusPolicy() != Qt::NoFocus) {
      target->setFocus(Qt::ShortcutFocusReason);
      return true;
    }
    return false;
  }
  return QWidget::event(event);
}

void TCustomClonedLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Click();
  QWidget::mouseReleaseEvent(event);
}

}  // namespace vocatrix
