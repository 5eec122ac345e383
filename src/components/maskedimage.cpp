// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/maskedimage.h"

#include <QMouseEvent>
#include <QPainter>

namespace vocatrix {

namespace {

// A picture with a palette becomes 8-bit indexed, so the palette survives
// every later copy; one without a palette stays as it is.
QImage Normalised(const QImage& picture) {
  if (picture.isNull()) return {};
  if (picture.colorCount() > 0 && picture.format() != QImage::Format_Indexed8)
    return picture.convertToFormat(QImage::Format_Indexed8, picture.colorTable());
  return picture;
}

// A colour that is not in the table (palettes of bitmaps are opaque, so one
// with no alpha is almost always free).
QRgb UnusedColor(const QList<QRgb>& table) {
  QRgb candidate = qRgba(0, 0, 0, 0);
  while (table.contains(candidate)) ++candidate;
  return candidate;
}

}  // namespace

TMaskedImage::TMaskedImage(QWidget* parent) : QWidget(parent) { resize(105, 105); }

void TMaskedImage::SetPicture(const QImage& picture) {
  picture_ = Normalised(picture);
  RebuildImage();
}

void TMaskedImage::SetMask(const QImage& mask) { mask_ = mask; }

void TMaskedImage::SetStyle(TMaskStyle value) {
  style_ = value;
  update();
}

void TMaskedImage::SetStretch(bool value) {
  if (stretch_ == value) return;
  stretch_ = value;
  RebuildImage();
}

void TMaskedImage::SetCenter(bool value) {
  if (center_ == value) return;
  center_ = value;
  RebuildImage();
}

void TMaskedImage::SetAutoSize(bool value) {
  autoSize_ = value;
  RebuildImage();
}

void TMaskedImage::RebuildImage() {
  if (autoSize_ && picture_.width() >= 1 && picture_.height() >= 1) resize(picture_.size());
  BuildMasks();
  update();
}

void TMaskedImage::RecolorIndex(QImage& bitmap, int index, QRgb color) {
  QList<QRgb> table = bitmap.colorTable();
  if (index < 0 || index >= table.size()) return;
  const QRgb match = table[index];
  for (QRgb& entry : table)
    if (entry == match) entry = color;
  bitmap.setColorTable(table);
}

void TMaskedImage::BuildMasks() {
  foreImage_ = picture_.isNull() ? QImage() : picture_.convertToFormat(QImage::Format_RGB32);
  if (style_ == TMaskStyle::Masked) {
    maskImage_ = mask_;
  } else if (picture_.colorCount() > 0) {
    maskImage_ = picture_;
    // The transparent entry first takes a colour found nowhere else, so that
    // blackening the other entries cannot catch it even when it is black
    // itself; only then does it turn white.
    const int clear = transparentIndex_;
    const bool hasClear = clear < maskImage_.colorCount();
    if (hasClear) RecolorIndex(maskImage_, clear, UnusedColor(maskImage_.colorTable()));
    const QRgb marker = hasClear ? maskImage_.color(clear) : 0;
    for (int i = 0; i < 256; ++i)
      if (i != clear && i < maskImage_.colorCount() && (!hasClear || maskImage_.color(i) != marker))
        RecolorIndex(maskImage_, i, qRgb(0, 0, 0));
    RecolorIndex(maskImage_, clear, qRgb(255, 255, 255));
  } else {
    // A picture without a palette has no transparent colour: all opaque.
    maskImage_ = QImage(picture_.size(), QImage::Format_RGB32);
    maskImage_.fill(Qt::black);
  }
  if (maskImage_.isNull() || foreImage_.isNull()) return;
  // The inverted mask (white where opaque) blackens the transparent parts.
  QImage inverted(maskImage_.size(), QImage::Format_RGB32);
  {
    QPainter p(&inverted);
    p.setCompositionMode(QPainter::RasterOp_NotSource);
    p.drawImage(0, 0, maskImage_);
  }
  QPainter p(&foreImage_);
  p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  p.drawImage(foreImage_.rect(), inverted);
}

QRect TMaskedImage::DestRect() const {
  if (stretch_) return rect();
  if (center_)
    return QRect(QPoint((width() - picture_.width()) / 2, (height() - picture_.height()) / 2), picture_.size());
  return QRect(QPoint(0, 0), picture_.size());
}

void TMaskedImage::paintEvent(QPaintEvent*) {
  if (foreImage_.isNull() || maskImage_.isNull()) return;
  QPainter p(this);
  const QRect dest = DestRect();
  p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  p.drawImage(dest, maskImage_);
  p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
  p.drawImage(dest, foreImage_);
}

void TMaskedImage::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit Click();
  QWidget::mouseReleaseEvent(event);
}

}  // namespace vocatrix
