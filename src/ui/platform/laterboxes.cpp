// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/laterboxes.h"

#include <QApplication>
#include <QWidget>

namespace vocatrix::ui {

namespace {
// How soon a box blocked by a popup or another dialog looks again.
constexpr int kRetryMs = 100;
}  // namespace

TLaterBoxes::TLaterBoxes(Dialogs& dialogs, QWidget* fallback)
    : QObject(fallback), dialogs_(dialogs), fallback_(fallback) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &TLaterBoxes::ShowDue);
}

void TLaterBoxes::Post(QWidget* parent, MessageKind kind, const QString& text) {
  // The same words twice in a row (a key held down) make one box.
  if (!queue_.empty() && queue_.back().Text == text && queue_.back().Parent == parent) return;
  queue_.push_back({parent, kind, text});
  if (!timer_.isActive() && !showing_) timer_.start(0);
}

bool TLaterBoxes::MayShow(const QWidget* parent) {
  if (QApplication::activePopupWidget()) return false;
  const QWidget* modal = QApplication::activeModalWidget();
  return !modal || (parent && parent->window() == modal);
}

void TLaterBoxes::ShowDue() {
  if (queue_.empty() || showing_) return;
  if (!MayShow(queue_.front().Parent)) {
    timer_.start(kRetryMs);
    return;
  }
  const Box box = queue_.front();
  queue_.pop_front();
  Show(box);
}

void TLaterBoxes::ShowAll() {
  timer_.stop();
  while (!queue_.empty() && !showing_) {
    const Box box = queue_.front();
    queue_.pop_front();
    Show(box);
  }
}

void TLaterBoxes::Show(const Box& box) {
  // A box's own event loop may run this object's timer: one box at a time.
  showing_ = true;
  QWidget* parent = box.Parent ? box.Parent.data() : fallback_.data();
  dialogs_.Message(parent, box.Kind, MessageButtons::Ok, box.Text);
  showing_ = false;
  if (!queue_.empty() && !timer_.isActive()) timer_.start(0);
}

}  // namespace vocatrix::ui
