// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The menus of the lesson window (merged into the frame's menu bar while
// the window is active), the context menu of the form list, and the edit
// commands, which act on the focused edit or word memo of the window.

#include <QObject>
#include <vector>

#include "ui/mainwindow/menumerge.h"

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace vocatrix::ui {

class TFileDialogTexts;
class VocabEditForm;

class TLessonMenus : public QObject {
  Q_OBJECT
 public:
  explicit TLessonMenus(VocabEditForm& form);

  std::vector<GroupedMenu<QMenu*>> MenuGroups() const;
  QActionGroup* LanguageItems() const { return languageGroup_; }
  QMenu* LanguageMenu() const { return menuLanguage_; }
  QMenu* MemoPopUp() const { return memoPopUp_; }
  TFileDialogTexts* SaveFileDialog() const { return saveFileDialog_; }
  TFileDialogTexts* ExportFileDialog() const { return exportFileDialog_; }

  // The edit commands; each acts on the focused edit or word memo and does
  // nothing on any other control.
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  // On a page that deletes what it shows (the Table page's rows), outside
  // the window's edits, Delete deletes that.
  void Delete();
  void SelectAll();
  // The items' states as the Edit menu or the context menu opens.
  void UpdateEditMenu();
  // The focused control when it is one of the edits or word memos.
  QWidget* FocusedEditControl() const;
  // Whether a control of the window takes back (or does again) typing of its own.
  bool OwnUndo(QWidget* control, bool redo) const;

 private:
  void CreateFileMenu();
  void CreateEditMenu();
  void CreateExtrasMenu();

  VocabEditForm& form_;
  TFileDialogTexts* saveFileDialog_ = nullptr;
  TFileDialogTexts* exportFileDialog_ = nullptr;
  QMenu* menuFile_ = nullptr;
  QMenu* menuEdit_ = nullptr;
  QMenu* menuExtras_ = nullptr;
  QMenu* menuLanguage_ = nullptr;
  QMenu* memoPopUp_ = nullptr;
  QActionGroup* languageGroup_ = nullptr;
  QAction* menuCut_ = nullptr;
  QAction* menuCopy_ = nullptr;
  QAction* menuPaste_ = nullptr;
  QAction* menuDelete_ = nullptr;
  QAction* menuUndo_ = nullptr;
  QAction* menuRedo_ = nullptr;
  QAction* popupCut_ = nullptr;
  QAction* popupCopy_ = nullptr;
  QAction* popupPaste_ = nullptr;
};

}  // namespace vocatrix::ui
