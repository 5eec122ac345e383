// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A panel of square cards (the pieces of a memory game) laid out as a loose
// grid with a little random jitter or scattered at random, over a tiled
// background bitmap.

#include <QFrame>
#include <QImage>
#include <QString>

class QLabel;

namespace vocatrix {

class TMemoCard : public QFrame {
  Q_OBJECT
 public:
  explicit TMemoCard(QWidget* parent = nullptr);

  int WidthHidden = 34;  // edge length while the face is hidden
  int WidthShown = 68;   // edge length while the face is shown
  // Fills the whole card and stretches its picture to the card's size.
  QLabel* CardImage() const { return cardImage_; }

 signals:
  // Presses and releases on CardImage arrive as the card's own, with the
  // card as sender and coordinates as on the image.
  void MouseDown(vocatrix::TMemoCard* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);
  void MouseUp(vocatrix::TMemoCard* sender, Qt::MouseButton button, Qt::KeyboardModifiers shift, QPoint pos);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* cardImage_;
};

class TMemoPanel : public QFrame {
  Q_OBJECT
 public:
  explicit TMemoPanel(QWidget* parent = nullptr);

  int LeftBorder() const { return leftBorder_; }
  void SetLeftBorder(int value) { leftBorder_ = value; }
  int RightBorder() const { return rightBorder_; }
  void SetRightBorder(int value) { rightBorder_ = value; }
  int TopBorder() const { return topBorder_; }
  void SetTopBorder(int value) { topBorder_ = value; }
  int BottomBorder() const { return bottomBorder_; }
  void SetBottomBorder(int value) { bottomBorder_ = value; }
  int CardWidthShown() const { return cardWidthShown_; }
  void SetCardWidthShown(int value);
  int CardWidthHidden() const { return cardWidthHidden_; }
  void SetCardWidthHidden(int value);
  int FontSize() const { return fontSize_; }
  void SetFontSize(int value);
  bool Order() const { return order_; }
  void SetOrder(bool value);
  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);

  // Tiled over the background; an empty bitmap draws nothing.
  const QImage& PanelBmp() const { return panelBmp_; }
  void SetPanelBmp(const QImage& bitmap);
  // The panel's size at creation and after each proportional rescale.
  int OldWidth() const { return oldWidth_; }
  int OldHeight() const { return oldHeight_; }

  // The cards among the children, in child order.
  QList<TMemoCard*> Cards() const;

  // A card gets a random place and the panel's card settings; then any
  // control becomes a child of the panel.
  void RandomInsert(QWidget* control);
  void TileControls();
  void RandomControls();
  void RandomizeControls();
  void ShowCards();
  void HideCards();
  void DeleteCards();

 protected:
  virtual void Paint(QPainter& canvas, const QRect& area);
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void PlaceAtRandom(QWidget* card);
  void ScaleCards();
  void TileBitmap(QPainter& canvas, const QRect& area);

  int leftBorder_ = 0;
  int rightBorder_ = 0;
  int topBorder_ = 0;
  int bottomBorder_ = 0;
  int cardWidthShown_ = 68;
  int cardWidthHidden_ = 34;
  int fontSize_ = 10;
  bool order_ = false;
  QString caption_;
  QImage panelBmp_;
  int oldWidth_;
  int oldHeight_;
};

}  // namespace vocatrix
