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
  // The Table page's six columns want more room than the fixed size: at
  // least the designed size, and as wide as their headings need.
  QSize WantedClientSize() const override;
  TPageMenuState MenuState() const override;
  bool Delete() override;
  void ShowSharedChanges() override;

  // Sets cell `column` of entry `entry` to `text`, as the Entries page
  // stores words, as a step of the history; a beep and a note in the status
  // bar when the text is no value of the cell.
  void EditCell(int entry, int column, const QString& text);
  // The interface language changed: the form names and the row count follow.
  void LanguageChanged();
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
  // How many rows the filter shows, of how many entries.
  QLabel* LabelTableCount = nullptr;
  QTableView* TableView = nullptr;
  QMenu* TablePopUp = nullptr;

 signals:
  // A double click, Enter or the page menu asks to show an entry on the Entries page.
  void OpenEntryRequested(int entry);

 protected:
  // A new interface language: the headings are its texts.
  void changeEvent(QEvent* event) override;

 private:
  // Where the view is: the first row it shows, and the current entry with
  // its distance from that row (-1 when it is out of sight).
  struct TViewPlace {
    int Top = 0;
    int Entry = -1;
    int Offset = -1;
  };
  TViewPlace Place() const;
  // The view made anew by a sort or a filter: the current entry stays where
  // it was on the screen; one the filter hides leaves the view at the top.
  void RestorePlace(const TViewPlace& place);
  // Shows rows from `top` on, as far as there are rows.
  void ScrollToRow(int top);
  void ShowRowCount();
  // Sizes the word columns to their headings and shares the rest of the width among them.
  void ShareWidth();
  // A text refused by a cell: the beep, and the note saying why.
  void CellRefused(int column, const QString& text);
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
  // Where the view was before the model was reset.
  TViewPlace placeBeforeReset_;
  // The view shows the lesson (while the page is shown).
  bool shown_ = false;
  // A cell edit is being stored; the lesson is shown once it is.
  bool committing_ = false;
  bool showing_ = false;
  bool refreshPosted_ = false;
};

}  // namespace vocatrix::ui
