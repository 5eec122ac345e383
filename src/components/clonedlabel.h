// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A plain, windowless text label drawn by the program itself; the base of the
// framed and the multi-line label.

#include <QColor>
#include <QPointer>
#include <QString>
#include <QWidget>

class QPainter;

namespace vocatrix {

enum class TAlignment { LeftJustify, RightJustify, Center };

// Text-drawing flags of DrawLabelText, combined with |.
namespace TextFlags {
constexpr int ExpandTabs = 0x01;
constexpr int WordBreak = 0x02;
constexpr int Left = 0x00;
constexpr int Right = 0x04;
constexpr int Centre = 0x08;
constexpr int NoPrefix = 0x10;
constexpr int CalcRect = 0x20;  // measure into the rectangle instead of drawing
constexpr int NoClip = 0x40;
}  // namespace TextFlags

class TCustomClonedLabel : public QWidget {
  Q_OBJECT
 public:
  explicit TCustomClonedLabel(QWidget* parent = nullptr);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  bool AutoSize() const { return autoSize_; }
  virtual void SetAutoSize(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  // Cleared by itself when that control is destroyed.
  QWidget* FocusControl() const { return focusControl_; }
  void SetFocusControl(QWidget* control);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  // The background (the palette's window colour).
  QColor Color() const;
  void SetColor(const QColor& color);
  // The font colour (the palette's window-text colour).
  QColor FontColor() const;
  void SetFontColor(const QColor& color);

  // Text flags for the current Alignment.
  int AlignmentFlag() const;

 signals:
  void Click();

 protected:
  virtual void Paint(QPainter& canvas);
  virtual void AdjustBounds();
  virtual void DrawLabelText(QPainter& canvas, QRect& rect, int flags);
  virtual QString LabelText() const { return caption_; }

  // Draws or measures text into rect with the painter's font and pen.
  static void DrawText(QPainter& canvas, QRect& rect, int flags, const QString& text);
  // The colour of grey (disabled) text.
  QColor GrayText() const;

  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool event(QEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void UpdateAccelerator();

  TAlignment alignment_ = TAlignment::LeftJustify;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  bool transparent_ = false;
  QPointer<QWidget> focusControl_;
  QString caption_;
  int shortcutId_ = 0;
};

class TClonedLabel : public TCustomClonedLabel {
  Q_OBJECT
 public:
  explicit TClonedLabel(QWidget* parent = nullptr) : TCustomClonedLabel(parent) {}
};

}  // namespace vocatrix
