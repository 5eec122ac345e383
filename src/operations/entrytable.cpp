// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/entrytable.h"

#include <algorithm>
#include <array>
#include <numeric>

#include "base/cp1252.h"
#include "base/errors.h"
#include "model/language.h"
#include "model/textcompare.h"

namespace vocatrix {
namespace {

bool IsListColumn(int column) { return column >= kColumnSynonyms && column <= kColumnAntonymTranslations; }

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

const TFormNames& ModelFormNames() {
  static const TFormNames names;
  return names;
}

std::string CellText(const TMeaning& entry, int column, int index, const TFormNames& forms) {
  if (IsListColumn(column)) {
    std::string text;
    for (const std::string& word : entry.KindTexts(column)) {
      if (!text.empty()) text += kCellSeparator;
      text += word;
    }
    return text;
  }
  if (column == kColumnForm) {
    if (entry.Form < forms.Shown.size()) return forms.Shown[entry.Form];
    return entry.Form < FormNames().size() ? FormNames()[entry.Form] : std::string();
  }
  if (column == kColumnNumber) return std::to_string(index + 1);
  return {};
}

std::vector<std::string> SplitCell(const std::string& text) {
  std::vector<std::string> words;
  std::string_view rest(text);
  while (!rest.empty()) {
    const auto semicolon = rest.find(';');
    const std::string_view word = Trimmed(rest.substr(0, semicolon));
    if (!word.empty()) words.emplace_back(word);
    if (semicolon == std::string_view::npos) break;
    rest.remove_prefix(semicolon + 1);
  }
  return words;
}

namespace {

// The form a form cell's text names, or -1: the names shown first, then the
// model's own, then the other languages', so that a name two languages give
// different forms means the form it shows.
int FormOfCell(const std::string& text, const TFormNames& forms) {
  const std::string name = AnsiLowerCase(Trimmed(text));
  if (name.empty()) return -1;
  const auto find = [&name](const std::vector<std::string>& names) {
    const std::size_t count = std::min(names.size(), FormNames().size());
    for (std::size_t form = 0; form < count; ++form)
      if (AnsiLowerCase(Trimmed(names[form])) == name) return static_cast<int>(form);
    return -1;
  };
  int form = find(forms.Shown);
  if (form < 0) form = find(FormNames());
  for (auto other = forms.Others.begin(); form < 0 && other != forms.Others.end(); ++other) form = find(*other);
  return form;
}

}  // namespace

bool CellTakes(int column, const std::string& text, const TFormNames& forms) {
  return IsListColumn(column) || (column == kColumnForm && FormOfCell(text, forms) >= 0);
}

bool SetCellText(TMeaning& entry, int column, const std::string& text, const TFormNames& forms) {
  if (!CellTakes(column, text, forms)) return false;
  if (IsListColumn(column)) entry.SetKindTexts(column, SplitCell(text));
  else entry.Form = static_cast<std::uint8_t>(FormOfCell(text, forms));
  return true;
}

void TEntryTable::SetLesson(const TMeanCollection* lesson) {
  lesson_ = lesson;
  Invalidate();
}

void TEntryTable::SetFormNames(TFormNames forms) {
  forms_ = std::move(forms);
  // The filter searches the names shown.
  built_ = false;
  searchText_.clear();
  searchStart_.clear();
}

void TEntryTable::Invalidate() {
  built_ = false;
  sortedValid_ = false;
  searchText_.clear();
  searchStart_.clear();
}

void TEntryTable::BuildSearchText(int count) const {
  // One pass, lower case by a table: a full-size lesson in a few milliseconds.
  static const auto lower = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c) table[static_cast<std::size_t>(c)] = AnsiLowerCase(std::string(1, static_cast<char>(c)))[0];
    return table;
  }();
  searchText_.clear();
  searchStart_.assign(static_cast<std::size_t>(count) + 1, 0);
  const auto append = [this](std::string_view text) {
    for (const char c : text) searchText_.push_back(lower[static_cast<unsigned char>(c)]);
  };
  for (int i = 0; i < count; ++i) {
    searchStart_[static_cast<std::size_t>(i)] = searchText_.size();
    const TMeaning& entry = *lesson_->At(i);
    for (int kind = kColumnSynonyms; kind <= kColumnAntonymTranslations; ++kind) {
      const TWordCollection& list = entry.ListOfKind(kind);
      for (int w = 0; w < list.Count(); ++w) {
        append(list.At(w)->Text());
        // A filter never finds a text across two words.
        searchText_.push_back('\n');
      }
    }
    append(CellText(entry, kColumnForm, i, forms_));
  }
  searchStart_[static_cast<std::size_t>(count)] = searchText_.size();
}

void TEntryTable::Sort(int column, bool descending) {
  sortColumn_ = column;
  descending_ = descending;
  built_ = false;
  sortedValid_ = false;
}

void TEntryTable::Filter(const std::string& text) {
  filter_ = AnsiLowerCase(text);
  built_ = false;
}

const std::vector<int>& TEntryTable::Sorted() const {
  if (sortedValid_) return sorted_;
  const int count = lesson_ ? lesson_->EntryCount() : 0;
  sorted_.resize(static_cast<std::size_t>(count));
  std::iota(sorted_.begin(), sorted_.end(), 0);
  if (IsListColumn(sortColumn_)) {
    std::vector<std::string> keys(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
      keys[static_cast<std::size_t>(i)] = MakeCollationKey(CellText(*lesson_->At(i), sortColumn_, i));
    std::stable_sort(sorted_.begin(), sorted_.end(), [&](int a, int b) {
      const std::string& ka = keys[static_cast<std::size_t>(a)];
      const std::string& kb = keys[static_cast<std::size_t>(b)];
      return descending_ ? kb < ka : ka < kb;
    });
  } else if (sortColumn_ == kColumnForm) {
    std::stable_sort(sorted_.begin(), sorted_.end(), [&](int a, int b) {
      const int fa = lesson_->At(a)->Form;
      const int fb = lesson_->At(b)->Form;
      return descending_ ? fb < fa : fa < fb;
    });
  } else if (sortColumn_ == kColumnNumber && descending_) {
    std::reverse(sorted_.begin(), sorted_.end());
  }
  sortedValid_ = true;
  return sorted_;
}

void TEntryTable::Build() const {
  if (built_) return;
  const std::vector<int>& sorted = Sorted();
  const int count = static_cast<int>(sorted.size());
  rowOfEntry_.assign(static_cast<std::size_t>(count), -1);
  rows_.clear();
  if (!filter_.empty() && searchStart_.size() != static_cast<std::size_t>(count) + 1) BuildSearchText(count);
  const std::string_view all(searchText_);
  for (const int entry : sorted) {
    if (!filter_.empty()) {
      const std::size_t start = searchStart_[static_cast<std::size_t>(entry)];
      if (all.substr(start, searchStart_[static_cast<std::size_t>(entry) + 1] - start).find(filter_) ==
          std::string_view::npos)
        continue;
    }
    rowOfEntry_[static_cast<std::size_t>(entry)] = static_cast<int>(rows_.size());
    rows_.push_back(entry);
  }
  built_ = true;
}

int TEntryTable::RowCount() const {
  Build();
  return static_cast<int>(rows_.size());
}

int TEntryTable::EntryOfRow(int row) const {
  Build();
  return row >= 0 && row < static_cast<int>(rows_.size()) ? rows_[static_cast<std::size_t>(row)] : -1;
}

int TEntryTable::RowOfEntry(int entry) const {
  Build();
  return entry >= 0 && entry < static_cast<int>(rowOfEntry_.size()) ? rowOfEntry_[static_cast<std::size_t>(entry)] : -1;
}

std::vector<int> TEntryTable::SortedOrder() const { return Sorted(); }

void ReorderEntries(TMeanCollection& lesson, const std::vector<int>& order) {
  std::vector<bool> seen(static_cast<std::size_t>(lesson.EntryCount()), false);
  if (order.size() != seen.size()) throw EInvalidOperation("an order must name every entry once");
  for (const int index : order) {
    if (index < 0 || index >= lesson.EntryCount() || seen[static_cast<std::size_t>(index)])
      throw EInvalidOperation("an order must name every entry once");
    seen[static_cast<std::size_t>(index)] = true;
  }
  std::vector<MeaningPtr> entries;
  entries.reserve(order.size());
  for (const int index : order) entries.push_back(lesson.At(index));
  lesson.Meanings->DeleteAll();
  for (MeaningPtr& entry : entries) lesson.Meanings->Insert(std::move(entry));
}

}  // namespace vocatrix
