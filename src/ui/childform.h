// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A child window of the main window's frame: a lesson editor window or a
// text window. The frame asks the active one for its menus and every one
// whether it may close.

#include <QMdiSubWindow>
#include <vector>

#include "ui/menumerge.h"

class QMenu;

namespace vocatrix::ui {

class TChildForm : public QMdiSubWindow {
  Q_OBJECT
 public:
  using QMdiSubWindow::QMdiSubWindow;

  // The menus merged into the frame's menu bar while the window is active.
  virtual std::vector<GroupedMenu<QMenu*>> MenuGroups() const = 0;
  // Whether the window may close; asks to save changes first.
  virtual bool FormCloseQuery() = 0;
};

}  // namespace vocatrix::ui
