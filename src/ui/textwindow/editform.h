// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The text window: plain text in a child window of the frame, edited,
// saved with a backup, aligned, wrapped, given a font and printed. The
// lesson browser writes its catalogue into one.

#include <QPrinter>
#include <memory>
#include <string>

#include "ui/mainwindow/childform.h"

class QAction;
class QActionGroup;
class QMenu;
class QTextEdit;

namespace vocatrix::ui {

class TWindowHost;
class TFileDialogTexts;

class TEditForm : public TChildForm {
  Q_OBJECT
 public:
  // An empty, unmodified window titled "Untitled".
  explicit TEditForm(TWindowHost& host);
  ~TEditForm() override;

  const std::string& PathName() const { return pathName_; }
  bool Modified() const;
  // Loads a text file: UTF-8 when the file is valid UTF-8, Windows-1252
  // otherwise (and saved the same way); raises the file's error.
  void Open(const std::string& path);
  // Lines added by the window's creator (the catalogue), not an edit.
  void AddLines(const QStringList& lines);

  // Save; Save As when there is no file or it is read-only. True when the
  // text is saved afterwards. Errors are shown.
  bool Save1Click();
  void SaveAs1Click();
  void Print1Click();
  void PrintSetup1Click();
  void SetFont();
  void SetWordWrap();
  void AlignClick(QAction* item);
  void UpdateEditItems();
  void SetTextMargins();

  bool FormCloseQuery() override;
  bool HasUnsavedChanges() const override;
  // Names the window after its file, or as an untitled one in the
  // interface language.
  void NameWindow();
  std::vector<GroupedMenu<QMenu*>> MenuGroups() const override;
  // The text (UTF-8) and its file while it holds unsaved changes.
  std::optional<TRecoveryImage> RecoveryImage() const override;
  // Takes a text that autosave kept before a crash, modified, under its
  // original file name.
  void Recover(const QString& text, const TRecoveryNote& note);

  QTextEdit* Memo1 = nullptr;
  QMenu* File1 = nullptr;
  QMenu* Edit1 = nullptr;
  QMenu* Character1 = nullptr;
  QMenu* MemoPopUp = nullptr;
  QAction* Cut1 = nullptr;
  QAction* Copy1 = nullptr;
  QAction* Paste1 = nullptr;
  QAction* Delete1 = nullptr;
  QAction* Cut2 = nullptr;
  QAction* Copy2 = nullptr;
  QAction* Paste2 = nullptr;
  QAction* Left1 = nullptr;
  QAction* Right1 = nullptr;
  QAction* Center1 = nullptr;
  QAction* WordWrap1 = nullptr;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateMenus();
  void Save();
  void SetPathName(const std::string& path);

  TWindowHost& host_;
  std::string pathName_;
  bool utf8_ = false;  // the file was UTF-8 and is saved so
  std::unique_ptr<QPrinter> printer_;
  TFileDialogTexts* saveFileDialog_ = nullptr;
};

}  // namespace vocatrix::ui
