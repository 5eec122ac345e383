// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Table page's model: the lesson's entries as rows (a view over the
// lesson, never a copy of it), sorted and filtered by the core's TEntryTable.
// Edits go out as CellEdited, for the page to make them steps of the
// lesson's history.

#include <QAbstractTableModel>
#include <string>

#include "model/lesson.h"
#include "operations/entrytable.h"

class QTableView;

namespace vocatrix::ui {

// How the Table page's view shows the model: rows of one height (a view of
// 65535 rows then never measures them), sorting by a click on a heading,
// whole rows selected.
void ConfigureEntryTableView(QTableView* view);

// The form names of the interface: a form cell shows those of the current
// interface language and takes those of every listed one (the texts the
// language files give the Entries page's form list, ComboBoxFormItems).
TFormNames InterfaceFormNames();

class TEntryTableModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TEntryTableModel(QObject* parent = nullptr);

  // The lesson shown; null shows nothing.
  void SetLesson(const TMeanCollection* lesson);
  // The lesson changed (entries, words or fonts): the rows show it again, in
  // the same sort and filter.
  void LessonChanged();
  void SetFilter(const QString& text);
  // The names the form cells show and take.
  void SetFormNames(TFormNames forms);
  const TFormNames& Forms() const { return table_.Forms(); }

  int EntryOfRow(int row) const { return table_.EntryOfRow(row); }
  int RowOfEntry(int entry) const { return table_.RowOfEntry(entry); }
  int SortColumn() const { return table_.SortColumn(); }
  // Every entry in the view's order, the filter left aside (what sorting the
  // lesson itself by the column takes).
  std::vector<int> SortedOrder() const { return table_.SortedOrder(); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  void sort(int column, Qt::SortOrder order) override;

 signals:
  // A cell of entry `entry` was given `text` as typed.
  void CellEdited(int entry, int column, const QString& text);
  // A cell of column `column` was given `text`, which is no value of it.
  void CellRefused(int column, const QString& text);

 private:
  const TMeanCollection* lesson_ = nullptr;
  TEntryTable table_;
};

}  // namespace vocatrix::ui
