// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson editor window's side of the Table page: cell edits, deleting
// entries and sorting the lesson, each a step of the history. The page
// itself is TTablePage.

#include <algorithm>
#include <string>
#include <vector>

#include "base/messages.h"
#include "operations/entrytable.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/tablepage.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/mainform.h"

namespace vocatrix::ui {

void VocabEditForm::FinishTableCommand(const TLessonRecorder& recorder) {
  ShowTableEntry();
  Record(recorder);
}

void VocabEditForm::ShowTableEntry() {
  // Filling the Entries page's memos counts as an edit; the lesson is only
  // modified by what changed it.
  const bool modified = lesson_->Modified;
  ShowLesson();
  lesson_->Modified = modified;
}

bool VocabEditForm::TableCellEdit(int entry, int column, const QString& text) {
  if (entry < 0 || entry >= lesson_->EntryCount()) return false;
  // The same words the Entries page would store: characters Windows-1252
  // cannot hold become "?" and are named, blank words are dropped.
  QString rejected;
  const std::string cell = ToLessonString(text, &rejected);
  entryIndex_ = entry;
  TLessonRecorder step(*lesson_, entryIndex_);
  step.WatchEntry(entry);
  if (!SetCellText(*lesson_->At(entry), column, cell)) {
    main_->Services().sound.Beep();
    return false;
  }
  FinishTableCommand(step);
  if (!rejected.isEmpty()) WarnRejectedCharacters(rejected);
  return true;
}

void VocabEditForm::TableDeleteClick() {
  const std::vector<int> doomed = table_->SelectedEntries();
  if (doomed.empty()) {
    main_->Services().sound.Beep();
    return;
  }
  const QString question =
      doomed.size() == 1
          ? DeleteEntryQuestion(doomed[0])
          : Utf8ToQString(TranslateMessage("DeleteEntries", "Delete %s entries?", {std::to_string(doomed.size())}));
  if (main_->Services().dialogs.Message(this, MessageKind::Confirmation, MessageButtons::OkCancel, question) !=
      MessageAnswer::Ok)
    return;
  TLessonRecorder step(*lesson_, entryIndex_);
  // One pass over the lesson: every kept entry object in its order.
  std::vector<MeaningPtr> kept;
  kept.reserve(static_cast<std::size_t>(lesson_->EntryCount()));
  auto next = doomed.begin();
  for (int index = 0; index < lesson_->EntryCount(); ++index) {
    if (next != doomed.end() && *next == index) ++next;
    else kept.push_back(lesson_->At(index));
  }
  lesson_->Meanings->DeleteAll();
  for (MeaningPtr& entry : kept) lesson_->Meanings->Insert(std::move(entry));
  // As the Entries page deletes its last entry: a blank one takes its place.
  lesson_->EnsureEntry();
  entryIndex_ = std::min(doomed.front(), lesson_->EntryCount() - 1);
  FinishTableCommand(step);
}

void VocabEditForm::TableSortLessonClick(int column) {
  if (column < 0 || column >= kTableColumns) return;
  TEntryTable table(lesson_.get());
  table.Sort(column, table_->SortsDescending(column));
  const std::vector<int> order = table.SortedOrder();
  TLessonRecorder step(*lesson_, entryIndex_);
  ReorderEntries(*lesson_, order);
  // The window stays at the entry it was at, in its new place.
  entryIndex_ = static_cast<int>(std::find(order.begin(), order.end(), entryIndex_) - order.begin());
  FinishTableCommand(step);
}

void VocabEditForm::TableOpenEntry(int entry) {
  if (entry < 0 || entry >= lesson_->EntryCount()) return;
  entryIndex_ = entry;
  SelectTab(kEntriesPage);
  if (CurrentPage() == kEntriesPage) MemoSynonyms->setFocus(Qt::OtherFocusReason);
}

void VocabEditForm::TableCurrentChanged(int entry) {
  if (shownPage_ == kTablePage && entry >= 0 && entry < lesson_->EntryCount()) entryIndex_ = entry;
}

}  // namespace vocatrix::ui
