// SPDX-License-Identifier: GPL-3.0-or-later
#include "components/compostatusbar.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace vocatrix {

QWidget* TCompoStatusBar::CheckedOwner(QWidget* owner) {
  if (!owner || !owner->isWindow()) throw EInvalidOperation("Must be owned by a standard form");
  return owner;
}

TCompoStatusBar::TCompoStatusBar(QWidget* owner) : QStatusBar(CheckedOwner(owner)) { setSizeGripEnabled(false); }

void TCompoStatusBar::AddPanel(int width, const QString& text) {
  panels_.push_back({text, width});
  update();
}

QString TCompoStatusBar::PanelText(int index) const {
  return index >= 0 && index < PanelCount() ? panels_[static_cast<std::size_t>(index)].Text : QString();
}

void TCompoStatusBar::SetPanelText(int index, const QString& text) {
  if (index < 0 || index >= PanelCount()) return;
  panels_[static_cast<std::size_t>(index)].Text = text;
  update(PanelRect(index));
}

QRect TCompoStatusBar::PanelRect(int index) const {
  int left = 0;
  for (int i = 0; i < index; ++i) left += panels_[static_cast<std::size_t>(i)].Width + 2;
  const bool last = index == PanelCount() - 1;
  const int width = last ? std::max(0, this->width() - left) : panels_[static_cast<std::size_t>(index)].Width;
  return QRect(left, 2, width, height() - 2);
}

void TCompoStatusBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().window());
  for (int i = 0; i < PanelCount(); ++i) {
    const QRect r = PanelRect(i);
    // A sunken panel: dark top and left edges, light bottom and right.
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(palette().color(QPalette::Light));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(r.adjusted(3, 0, -2, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     panels_[static_cast<std::size_t>(i)].Text);
  }
}

}  // namespace vocatrix
