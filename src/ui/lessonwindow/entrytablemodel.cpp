// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/lessonwindow/entrytablemodel.h"

#include <QBrush>
#include <QHeaderView>
#include <QTableView>

#include "base/cp1252.h"
#include "base/messages.h"
#include "base/settings.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

// Language 1's lists are the synonyms and antonyms; language 2's the others.
const TLanguage* LanguageOfColumn(const TMeanCollection& lesson, int column) {
  switch (column) {
    case kColumnSynonyms:
    case kColumnAntonyms: return &lesson.Language1;
    case kColumnTranslations:
    case kColumnAntonymTranslations: return &lesson.Language2;
    default: return nullptr;
  }
}

}  // namespace

void ConfigureEntryTableView(QTableView* view) {
  QHeaderView* rows = view->verticalHeader();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setDefaultSectionSize(view->fontMetrics().height() + 6);
  rows->hide();
  QHeaderView* columns = view->horizontalHeader();
  columns->setSectionResizeMode(QHeaderView::Interactive);
  columns->setStretchLastSection(false);
  columns->setSortIndicatorShown(true);
  columns->setSortIndicator(-1, Qt::AscendingOrder);
  view->setSortingEnabled(true);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::ExtendedSelection);
  view->setWordWrap(false);
  // A double click opens the entry on the Entries page; F2 or typing edits the cell.
  view->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
}

TFormNames InterfaceFormNames() {
  const auto namesOf = [](const std::string& language) {
    std::vector<std::string> names;
    for (std::size_t form = 0; form < FormNames().size(); ++form)
      names.push_back(Utf8ToCp1252(Translate(language, "VocabEditForm", "ComboBoxFormItems" + std::to_string(form),
                                             Cp1252ToUtf8(FormNames()[form]))));
    return names;
  };
  TFormNames forms;
  forms.Shown = namesOf(CurrentLanguage());
  for (const std::string& language : InterfaceLanguages())
    if (language != CurrentLanguage()) forms.Others.push_back(namesOf(language));
  return forms;
}

TEntryTableModel::TEntryTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TEntryTableModel::SetLesson(const TMeanCollection* lesson) {
  beginResetModel();
  lesson_ = lesson;
  table_.SetLesson(lesson);
  endResetModel();
}

void TEntryTableModel::LessonChanged() {
  beginResetModel();
  table_.Invalidate();
  endResetModel();
}

void TEntryTableModel::SetFormNames(TFormNames forms) {
  beginResetModel();
  table_.SetFormNames(std::move(forms));
  endResetModel();
}

void TEntryTableModel::SetFilter(const QString& text) {
  beginResetModel();
  table_.Filter(ToLessonString(text));
  endResetModel();
}

int TEntryTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !lesson_ ? 0 : table_.RowCount();
}

int TEntryTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kTableColumns; }

QVariant TEntryTableModel::data(const QModelIndex& index, int role) const {
  if (!lesson_ || !index.isValid()) return {};
  const int entry = table_.EntryOfRow(index.row());
  if (entry < 0 || entry >= lesson_->EntryCount()) return {};
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return ToQString(CellText(*lesson_->At(entry), column, entry, table_.Forms()));
    case Qt::FontRole:
      if (const TLanguage* language = LanguageOfColumn(*lesson_, column)) return ToQFont(language->Font);
      return {};
    case Qt::ForegroundRole:
      if (const TLanguage* language = LanguageOfColumn(*lesson_, column)) return QBrush(ToQColor(language->Font.Color));
      return {};
    case Qt::TextAlignmentRole:
      return column == kColumnNumber ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    default: return {};
  }
}

QVariant TEntryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  // The tip shows a heading the column is too narrow for.
  if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || orientation != Qt::Horizontal) return {};
  switch (section) {
    case kColumnSynonyms: return Utf8ToQString(TranslateMessage("TableSynonyms", "Synonyme"));
    case kColumnTranslations: return Utf8ToQString(TranslateMessage("TableTranslations", "Übersetzungen"));
    case kColumnAntonyms: return Utf8ToQString(TranslateMessage("TableAntonyms", "Antonyme"));
    case kColumnAntonymTranslations:
      return Utf8ToQString(TranslateMessage("TableAntonymTranslations", "Übersetzungen der Antonyme"));
    case kColumnForm: return Utf8ToQString(TranslateMessage("TableForm", "Form"));
    case kColumnNumber: return Utf8ToQString(TranslateMessage("TableNumber", "Nr."));
    default: return {};
  }
}

Qt::ItemFlags TEntryTableModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags flags = QAbstractTableModel::flags(index);
  if (index.isValid() && index.column() != kColumnNumber) flags |= Qt::ItemIsEditable;
  return flags;
}

bool TEntryTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole || !index.isValid()) return false;
  const int entry = table_.EntryOfRow(index.row());
  if (entry < 0) return false;
  if (!CellTakes(index.column(), ToLessonString(value.toString()), table_.Forms())) {
    emit CellRefused(index.column(), value.toString());
    return false;
  }
  // The page shows the changed lesson again (the edit may have moved the
  // row in a sorted or filtered view).
  emit CellEdited(entry, index.column(), value.toString());
  return true;
}

void TEntryTableModel::sort(int column, Qt::SortOrder order) {
  beginResetModel();
  table_.Sort(column, order == Qt::DescendingOrder);
  endResetModel();
}

}  // namespace vocatrix::ui
