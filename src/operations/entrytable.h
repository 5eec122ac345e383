// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A lesson as a table, one row per entry: its four word lists (each joined
// by "; "), its form and its number. The table's order and filter are a
// view: they never move an entry of the lesson, which keeps its own order
// (the order of the lesson file) until ReorderEntries is asked for.

#include <cstdint>
#include <string>
#include <vector>

#include "model/language.h"
#include "model/lesson.h"

namespace vocatrix {

enum TableColumn : int {
  kColumnSynonyms = 0,
  kColumnTranslations = 1,
  kColumnAntonyms = 2,
  kColumnAntonymTranslations = 3,
  kColumnForm = 4,
  kColumnNumber = 5,
  kTableColumns = 6,
};

// What joins the words of a list in one cell, and splits them again.
inline constexpr const char* kCellSeparator = "; ";

// The names of the forms in a form cell: the cell shows the names of
// `Shown` (by form code), and takes, case ignored, those, the lesson model's
// own (FormNames) and those of each list of `Others` (other languages'
// names, by form code).
struct TFormNames {
  std::vector<std::string> Shown = FormNames();
  std::vector<std::vector<std::string>> Others;
};
// The lesson model's names alone.
const TFormNames& ModelFormNames();

// The text of a cell of entry `index` (0-based; its number is index + 1).
std::string CellText(const TMeaning& entry, int column, int index, const TFormNames& forms = ModelFormNames());
// The words of a list cell: split at ";", each trimmed, empty ones dropped.
std::vector<std::string> SplitCell(const std::string& text);
// Sets a cell of an entry: a list cell its list, the form cell its form (a
// name of a form, see TFormNames; false for another text). The number is
// no cell to set: false.
bool SetCellText(TMeaning& entry, int column, const std::string& text, const TFormNames& forms = ModelFormNames());
// Whether SetCellText takes the text for a cell of the column.
bool CellTakes(int column, const std::string& text, const TFormNames& forms = ModelFormNames());

// The view of a lesson's table: which entries it shows, in which order.
// Sort keys and the texts the filter searches are made once per lesson state
// and kept: Invalidate when the lesson changed.
class TEntryTable {
 public:
  explicit TEntryTable(const TMeanCollection* lesson = nullptr) : lesson_(lesson) {}

  void SetLesson(const TMeanCollection* lesson);
  // The lesson changed: the view shows it again in the same sort and filter.
  void Invalidate();
  // The names the form cells show, which the filter searches.
  void SetFormNames(TFormNames forms);
  const TFormNames& Forms() const { return forms_; }

  // Sorted by a column (-1: the lesson's own order), in the collation of the
  // word lists (the form by its code, the number by itself); equal cells
  // keep the lesson's order.
  void Sort(int column, bool descending);
  int SortColumn() const { return sortColumn_; }
  bool Descending() const { return descending_; }
  // Shows only rows holding `text` in any cell, case ignored (Windows-1252
  // letters); an empty text shows every row.
  void Filter(const std::string& text);
  const std::string& FilterText() const { return filter_; }

  int RowCount() const;
  // The lesson's entry index of a row of the view.
  int EntryOfRow(int row) const;
  // The row showing an entry, or -1 when the filter hides it.
  int RowOfEntry(int entry) const;
  // The view's order of every entry, sorted but not filtered (what
  // ReorderEntries takes to sort the lesson itself).
  std::vector<int> SortedOrder() const;

 private:
  // The view, made again when asked for after a change.
  void Build() const;
  void BuildSearchText(int count) const;
  const std::vector<int>& Sorted() const;

  const TMeanCollection* lesson_;
  TFormNames forms_;
  int sortColumn_ = -1;
  bool descending_ = false;
  std::string filter_;
  mutable bool built_ = false;
  mutable bool sortedValid_ = false;
  mutable std::vector<int> sorted_;       // every entry index, in sort order
  mutable std::vector<int> rows_;         // the entries shown, in view order
  mutable std::vector<int> rowOfEntry_;   // -1 where filtered out
  // What the filter searches: every entry's cells in lower case, one after
  // the other, entry i from searchStart_[i] to searchStart_[i + 1].
  mutable std::string searchText_;
  mutable std::vector<std::size_t> searchStart_;
};

// Puts the lesson's entries into `order` (a permutation of their indices):
// the very entry objects, in their new places.
void ReorderEntries(TMeanCollection& lesson, const std::vector<int>& order);

}  // namespace vocatrix
