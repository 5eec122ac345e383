// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/memopanel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "base/random.h"

namespace vocatrix {

TMemoCard::TMemoCard(QWidget* parent) : QFrame(parent), cardImage_(new QLabel(this)) {
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  cardImage_->setScaledContents(true);
  cardImage_->installEventFilter(this);
  resize(34, 34);
}

bool TMemoCard::eventFilter(QObject* watched, QEvent* event) {
  if (watched == cardImage_ && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();
    if (event->type() == QEvent::MouseButtonPress) emit MouseDown(this, mouse->button(), mouse->modifiers(), pos);
    else emit MouseUp(this, mouse->button(), mouse->modifiers(), pos);
  }
  return QFrame::eventFilter(watched, event);
}

void TMemoCard::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  cardImage_->setGeometry(rect());
}

TMemoPanel::TMemoPanel(QWidget* parent) : QFrame(parent) {
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);
  oldWidth_ = width();
  oldHeight_ = height();
}

QList<TMemoCard*> TMemoPanel::Cards() const {
  QList<TMemoCard*> cards;
  for (QObject* child : children())
    if (auto* card = qobject_cast<TMemoCard*>(child)) cards.append(card);
  return cards;
}

void TMemoPanel::SetCardWidthHidden(int value) {
  if (value == cardWidthHidden_) return;
  cardWidthHidden_ = std::max(0, value);
  const QList<TMemoCard*> cards = Cards();
  for (auto it = cards.rbegin(); it != cards.rend(); ++it) {
    (*it)->hide();
    repaint();
    (*it)->WidthHidden = cardWidthHidden_;
    (*it)->resize(cardWidthHidden_, cardWidthHidden_);
  }
  TileControls();
  ShowCards();
}

void TMemoPanel::SetCardWidthShown(int value) {
  if (value == cardWidthShown_) return;
  cardWidthShown_ = value;
  for (TMemoCard* card : Cards()) card->WidthShown = value;
}

void TMemoPanel::SetFontSize(int value) {
  if (value == fontSize_) return;
  fontSize_ = value;
  if (value <= 0) return;  // not a font size: the cards keep theirs
  for (TMemoCard* card : Cards()) {
    QFont f = card->font();
    f.setPointSize(value);
    card->setFont(f);
  }
}

void TMemoPanel::SetOrder(bool value) {
  if (value == order_) return;
  order_ = value;
  if (order_) TileControls();
  else RandomControls();
}

void TMemoPanel::SetCaption(const QString& caption) {
  caption_ = caption;
  update();
}

void TMemoPanel::SetPanelBmp(const QImage& bitmap) {
  panelBmp_ = bitmap;
  update();
}

void TMemoPanel::PlaceAtRandom(QWidget* card) {
  // A free area smaller than one card leaves Random a range of zero or less,
  // which draws 0: the card then sits at the border.
  const int left = Random(width() - leftBorder_ - rightBorder_ - cardWidthHidden_) + leftBorder_;
  const int top = Random(height() - topBorder_ - bottomBorder_ - cardWidthHidden_) + topBorder_;
  card->move(left, top);
}

void TMemoPanel::RandomInsert(QWidget* control) {
  if (!control) return;
  if (auto* card = qobject_cast<TMemoCard*>(control)) {
    PlaceAtRandom(card);
    if (fontSize_ > 0) {
      QFont f = card->font();
      f.setPointSize(fontSize_);
      card->setFont(f);
    }
    card->WidthHidden = cardWidthHidden_;
    card->WidthShown = cardWidthShown_;
    card->resize(cardWidthHidden_, cardWidthHidden_);
  }
  // Reparenting hides a widget; it stays visible unless it was hidden on purpose.
  const bool hidden = control->isHidden() && control->testAttribute(Qt::WA_WState_ExplicitShowHide);
  const QPoint pos = control->pos();
  control->setParent(this);
  control->move(pos);
  control->setVisible(!hidden);
  repaint();
}

void TMemoPanel::TileControls() {
  const QList<TMemoCard*> cards = Cards();
  if (cards.isEmpty()) return;
  const int n = static_cast<int>(cards.size());
  const int w = width() - leftBorder_ - rightBorder_;
  const int h = height() - topBorder_ - bottomBorder_;
  const int s = cardWidthHidden_;
  // The largest gap below the first one at which the cards no longer fit.
  int g = 0;
  if (w > 0 && h > 0) {
    do {
      ++g;
    } while (static_cast<long long>(w / (s + g)) * (h / (s + g)) >= n);
    --g;
  }
  // A card size of 0 without a gap would make cells of no size.
  const int cell = std::max(1, s + g);
  const int cols = std::max(0, w / cell);
  const int rows = std::max(0, h / cell);
  const int x0 = (w - cols * cell + g) / 2 + leftBorder_;
  const int y0 = (h - rows * cell + g) / 2 + topBorder_;
  const int j = g / 2;
  int next = 0;
  for (int row = 0; row < rows && next < n; ++row) {
    for (int column = 0; column < cols && next < n; ++column) {
      TMemoCard* card = cards[next++];
      const int left = Random(j) + cell * column + x0 - j / 2;
      const int top = Random(j) + cell * row + y0 - j / 2;
      card->move(left, top);
      repaint();
    }
  }
}

void TMemoPanel::RandomControls() {
  for (TMemoCard* card : Cards()) {
    PlaceAtRandom(card);
    repaint();
  }
}

void TMemoPanel::RandomizeControls() {
  // Each card is taken out at a random place of a list, then put back from
  // the list's end to its start; the cards come after the other children.
  const QList<TMemoCard*> cards = Cards();
  QList<TMemoCard*> shuffled;
  QList<bool> visible;
  for (auto it = cards.rbegin(); it != cards.rend(); ++it) {
    const int at = Random(static_cast<int>(shuffled.size()));
    shuffled.insert(at, *it);
    visible.insert(at, !(*it)->isHidden());
    (*it)->hide();
    repaint();
  }
  for (int i = static_cast<int>(shuffled.size()) - 1; i >= 0; --i) {
    shuffled[i]->raise();  // last in child order
    shuffled[i]->setVisible(visible[i]);
    repaint();
  }
}

void TMemoPanel::ShowCards() {
  for (TMemoCard* card : Cards()) {
    card->show();
    repaint();
  }
}

void TMemoPanel::HideCards() {
  const QList<TMemoCard*> cards = Cards();
  for (auto it = cards.rbegin(); it != cards.rend(); ++it) {
    (*it)->hide();
    repaint();
  }
}

void TMemoPanel::DeleteCards() {
  const QList<TMemoCard*> cards = Cards();
  for (auto it = cards.rbegin(); it != cards.rend(); ++it) {
    delete *it;
    repaint();
  }
}

void TMemoPanel::ScaleCards() {
  // A side that was 0 cannot scale positions; the cards keep them on that axis.
  for (TMemoCard* card : Cards()) {
    const long long left = oldWidth_ > 0 ? static_cast<long long>(card->x()) * width() / oldWidth_ : card->x();
    const long long top = oldHeight_ > 0 ? static_cast<long long>(card->y()) * height() / oldHeight_ : card->y();
    card->move(static_cast<int>(left), static_cast<int>(top));
    card->repaint();
    repaint();
  }
  oldWidth_ = width();
  oldHeight_ = height();
}

void TMemoPanel::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  repaint();
  if (order_) TileControls();
  else ScaleCards();
}

void TMemoPanel::TileBitmap(QPainter& canvas, const QRect& area) {
  if (panelBmp_.width() < 1 || panelBmp_.height() < 1) return;
  const int bw = panelBmp_.width();
  const int bh = panelBmp_.height();
  for (int c = 0; c <= area.right() / bw; ++c)
    for (int r = 0; r <= area.bottom() / bh; ++r) canvas.drawImage(c * bw, r * bh, panelBmp_);
}

void TMemoPanel::Paint(QPainter& canvas, const QRect& area) {
  if (!caption_.isEmpty()) {
    canvas.setPen(palette().color(QPalette::WindowText));
    canvas.drawText(contentsRect(), Qt::AlignCenter, caption_);
  }
  TileBitmap(canvas, area);
}

void TMemoPanel::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);  // the bevels
  QPainter canvas(this);
  Paint(canvas, event->rect());
}

}  // namespace vocatrix
