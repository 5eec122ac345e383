// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Table page of the lesson window: every entry of the lesson as a row
// of a table view over the lesson (TEntryTableModel), sorted and filtered
// in the view only, with a menu to sort the lesson itself, to show an entry
// on the Entries page and to delete entries. Edits, deletions and sorting
// the lesson are changes of the lesson document: steps of its history.

#include <vector>

#include "ui/lessonwindow/lessonpage.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;

namespace vocatrix::ui {

class TBackgroundWork;
class TEntryTableModel;

class TTablePage : public TLessonPage {
  Q_OBJECT
 public:
  static constexpr int kWantedWidth = 600;
  static constexpr int kWantedHeight = 360;

  explicit TTablePage(TPageHost& host);

  // The page shows the lesson (in the sort and filter of the view) only
  // while it is shown: a hidden page holds no lesson.
  void Enter() override;
  void Shown() override;
  bool MayLeave(int to) override;
  void LessonChanged(const TLessonChange& change) override;
  void LessonWillChange() override;
  void StopWork() override;
  // The Table page's six columns want more room than the fixed size.
  QSize WantedClientSize() const override { return {kWantedWidth, kWantedHeight}; }
  TPageMenuState MenuState() const override;
  bool Delete() override;
  void ShowSharedChanges() override;

  // Sets cell `column` of entry `entry` to `text`, as the Entries page
  // stores words, as a step of the history; a beep when the text is no
  // value of the cell.
  void EditCell(int entry, int column, const QString& text);
  // Deletes the entries of the selected rows, after asking, as one step; a
  // lesson keeps one (blank) entry.
  void DeleteClick();
  // Puts the lesson's entries in the order of the table sorted by `column`
  // (in the direction the view sorts it), as one step.
  void SortLessonClick(int column);
  // The lesson entry of the current row, or -1.
  int CurrentEntry() const;
  // The lesson entries of the selected rows, ascending.
  std::vector<int> SelectedEntries() const;
  // The direction the view sorts `column` in (ascending unless the view is
  // sorted by it descending).
  bool SortsDescending(int column) const;

  QLabel* LabelTableFilter = nullptr;
  QLineEdit* EditTableFilter = nullptr;
  QTableView* TableView = nullptr;
  QMenu* TablePopUp = nullptr;

 signals:
  // A double click, Enter or the page menu asks to show an entry on the Entries page.
  void OpenEntryRequested(int entry);

 protected:
  // A new interface language: the headings are its texts.
  void changeEvent(QEvent* event) override;

 private:
  void ShowLesson();
  // The view lets go of the lesson.
  void Release();
  // The page menu at `at` (in the coordinates of `source`), for the column there.
  void PopUp(QWidget* source, const QPoint& at, int column);
  // Rows tall enough for both languages' fonts.
  void FitRows(const TMeanCollection& lesson);
  // Form and number columns as wide as their headings and texts.
  void FitColumns(const TMeanCollection& lesson);
  void SelectEntry(int entry);

  TEntryTableModel* model_ = nullptr;
  // Sorts a long lesson off the interface thread.
  TBackgroundWork* sort_ = nullptr;
  QAction* sortLesson_ = nullptr;
  QAction* open_ = nullptr;
  QAction* delete_ = nullptr;
  // The column the page menu was opened on.
  int menuColumn_ = -1;
  // The entry that was current before the model was reset.
  int currentBeforeReset_ = -1;
  // The view shows the lesson (while the page is shown).
  bool shown_ = false;
  // A cell edit is being stored; the lesson is shown once it is.
  bool committing_ = false;
  bool showing_ = false;
  bool refreshPosted_ = false;
};

}  // namespace vocatrix::ui
