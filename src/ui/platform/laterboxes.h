// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Boxes that only inform (an OK button alone), shown once the event that
// asked for them has returned to the event loop.
//
// A modal box runs an event loop of its own. Opened from inside a widget's
// change signal (a cell editor's textEdited, a tab strip's currentChanged,
// an edit's textChanged) that loop lets the widget lose its focus, close and
// be deleted while its own code is still on the stack. These boxes wait
// instead: until no popup is open and no other modal dialog than the one
// they stand over is running.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <deque>

#include "ui/platform/platform.h"

namespace vocatrix::ui {

class TLaterBoxes : public QObject {
 public:
  // `fallback` stands in for a parent that is gone by the time its box shows.
  TLaterBoxes(Dialogs& dialogs, QWidget* fallback);

  void Post(QWidget* parent, MessageKind kind, const QString& text);
  bool Pending() const { return !queue_.empty(); }
  // Shows every waiting box now, in order (before the program ends).
  void ShowAll();

 private:
  struct Box {
    QPointer<QWidget> Parent;
    MessageKind Kind;
    QString Text;
  };
  void ShowDue();
  // Whether the box can show now: no popup open, and no modal dialog running
  // other than its parent's own window.
  static bool MayShow(const QWidget* parent);
  void Show(const Box& box);

  Dialogs& dialogs_;
  QPointer<QWidget> fallback_;
  std::deque<Box> queue_;
  QTimer timer_;
  bool showing_ = false;
};

}  // namespace vocatrix::ui
