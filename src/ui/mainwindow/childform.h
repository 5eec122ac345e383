// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A child window of the main window's frame: a lesson editor window or a
// text window. The frame asks the active one for its menus and every one
// whether it may close.

#include <QMdiSubWindow>
#include <QString>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "recovery/recovery.h"
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
  // Whether the window holds changes not yet saved.
  virtual bool HasUnsavedChanges() const = 0;

  // The window's name, as questions, lists and recovery use it. The caption
  // shows it with a leading "*" while the window holds unsaved changes.
  const QString& Caption() const { return caption_; }
  // Names a window after its file.
  void SetCaption(const QString& caption);
  // Names a window without a file: `base` for the first one of its kind
  // open at a time, "base 2", "base 3" ... for further ones. The number
  // stays the window's while it has no file, also when `base` is translated.
  void SetUnnamedCaption(const QString& base);
  // Puts the caption's mark in step with HasUnsavedChanges(); true when the
  // mark changed.
  bool UpdateModifiedMark();
  // Shows the window restored and active in front of the others, as before
  // a question about it.
  void BringToFront();
  // Gives the number of an unnamed window back, as it closes.
  void ReleaseNumber();

  ~TChildForm() override;

 private:
  void ShowCaption();

  int recoverySlot_;
  QString caption_;
  bool marked_ = false;
  // The number among the open unnamed windows of this kind; 0 when named.
  int unnamedNumber_ = 0;
  std::set<int>* numbers_ = nullptr;
};

}  // namespace vocatrix::ui
