// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A child window of the main window's frame: a lesson editor window or a
// text window. The frame asks the active one for its menus and every one
// whether it may close.

#include <QMdiSubWindow>
#include <QString>
#include <optional>
#include <string>
#include <vector>

#include "files/recovery.h"
#include "ui/mainwindow/menumerge.h"

class QMenu;

namespace vocatrix::ui {

// What autosave writes of a window with unsaved changes.
struct TRecoveryImage {
  std::string Extension;  // of the data file, with its dot
  std::string Data;
  TRecoveryNote Note;
  // Text taken as it stands, made UTF-8 by the writer's thread: the data of
  // a text window, the page text of a lesson window.
  std::optional<QString> Text;
};

class TChildForm : public QMdiSubWindow {
  Q_OBJECT
 public:
  explicit TChildForm(QWidget* parent = nullptr);

  // The window's unsaved work, taken on the interface thread for autosave
  // to write elsewhere; nothing when it has no unsaved changes.
  virtual std::optional<TRecoveryImage> RecoveryImage() const = 0;
  // The window's number among its recovery files, unique in the program.
  int RecoverySlot() const { return recoverySlot_; }

  // The menus merged into the frame's menu bar while the window is active.
  virtual std::vector<GroupedMenu<QMenu*>> MenuGroups() const = 0;
  // Whether the window may close; asks to save changes first.
  virtual bool FormCloseQuery() = 0;

 private:
  int recoverySlot_;
};

}  // namespace vocatrix::ui
