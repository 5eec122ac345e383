// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Table page of the lesson window: every entry of the lesson as a row
// of a table view over the lesson (TEntryTableModel), sorted and filtered
// in the view only, with a menu to sort the lesson itself, to show an entry
// on the Entries page and to delete entries. Edits, deletions and sorting
// the lesson are the window's commands, so they become steps of its history.

#include <QWidget>
#include <vector>

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QTableView;

namespace vocatrix {
class TMeanCollection;
}  // namespace vocatrix

namespace vocatrix::ui {

class TEntryTableModel;
class VocabEditForm;

class TTablePage : public QWidget {
  Q_OBJECT
 public:
  explicit TTablePage(VocabEditForm& form);

  // Shows `lesson` (in the sort and filter of the view), the row of entry
  // `entry` current. Only while the page is shown: a hidden page holds no
  // lesson, so the window may replace its lesson freely.
  void ShowLesson(const TMeanCollection* lesson, int entry);
  // The lesson changed (or was replaced): shows it again while the page
  // holds a lesson, else nothing.
  void Refresh(const TMeanCollection* lesson, int entry);
  // The page is no longer shown: the view lets go of the lesson.
  void Release();
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

 protected:
  // A new interface language: the headings are its texts.
  void changeEvent(QEvent* event) override;

 private:
  // The page menu at `at` (in the coordinates of `source`), for the column there.
  void PopUp(QWidget* source, const QPoint& at, int column);
  // Rows tall enough for both languages' fonts.
  void FitRows(const TMeanCollection& lesson);
  // Form and number columns as wide as their headings and texts.
  void FitColumns(const TMeanCollection& lesson);
  void SelectEntry(int entry);

  VocabEditForm& form_;
  TEntryTableModel* model_ = nullptr;
  QAction* sortLesson_ = nullptr;
  QAction* open_ = nullptr;
  QAction* delete_ = nullptr;
  // The column the page menu was opened on.
  int menuColumn_ = -1;
  // The entry that was current before the model was reset.
  int currentBeforeReset_ = -1;
  // The lesson the view shows (while the page is shown), or null.
  const TMeanCollection* shown_ = nullptr;
  // A cell edit is being stored; the lesson to show once it is.
  bool committing_ = false;
  const TMeanCollection* refreshLesson_ = nullptr;
  int refreshEntry_ = -1;
};

}  // namespace vocatrix::ui
