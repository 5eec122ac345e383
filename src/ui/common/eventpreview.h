// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Hands the application's events to a window before its controls see them
// (key preview, drops anywhere in the window).

#include <QObject>
#include <functional>

namespace vocatrix::ui {

class EventPreview : public QObject {
 public:
  using Handler = std::function<bool(QObject* watched, QEvent* event)>;
  EventPreview(QObject* parent, Handler handler) : QObject(parent), handler_(std::move(handler)) {}
  bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

 private:
  Handler handler_;
};

}  // namespace vocatrix::ui
