// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A windowless picture control that draws a bitmap with transparent parts,
// so that the background beneath shows through. Transparency comes from one
// palette colour of the picture or from a separate black-and-white mask, and
// drawing uses the two raster passes: the mask ANDed into the background,
// then the picture, blackened where it is transparent, ORed over it.

#include <QImage>
#include <QWidget>
#include <cstdint>

namespace vocatrix {

enum class TMaskStyle { Transparent, Masked };

class TMaskedImage : public QWidget {
  Q_OBJECT
 public:
  explicit TMaskedImage(QWidget* parent = nullptr);

  // Kept as an 8-bit indexed image when the given one has a palette.
  const QImage& Picture() const { return picture_; }
  void SetPicture(const QImage& picture);
  // Black where the picture is opaque, white where it is transparent.
  const QImage& Mask() const { return mask_; }
  void SetMask(const QImage& mask);
  TMaskStyle Style() const { return style_; }
  void SetStyle(TMaskStyle value);
  std::uint8_t TransparentIndex() const { return transparentIndex_; }
  void SetTransparentIndex(std::uint8_t value) { transparentIndex_ = value; }
  bool Stretch() const { return stretch_; }
  void SetStretch(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);

  // The picture with every transparent pixel black, and its mask.
  const QImage& ForeImage() const { return foreImage_; }
  const QImage& MaskImage() const { return maskImage_; }

  // Takes the picture's size (with AutoSize), builds the masks and repaints.
  void RebuildImage();
  void BuildMasks();
  // Replaces, over the whole bitmap, the colour of palette entry `index` by
  // `color`: every palette entry of that colour changes, so the replacement
  // goes by colour, not by index. Nothing when there is no such entry.
  static void RecolorIndex(QImage& bitmap, int index, QRgb color);

 signals:
  void Click();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QRect DestRect() const;

  QImage picture_;
  QImage mask_;
  TMaskStyle style_ = TMaskStyle::Transparent;
  std::uint8_t transparentIndex_ = 0;
  bool stretch_ = false;
  bool center_ = false;
  bool autoSize_ = false;
  QImage foreImage_;
  QImage maskImage_;
};

}  // namespace vocatrix
