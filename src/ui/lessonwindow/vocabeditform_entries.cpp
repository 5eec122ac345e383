// SPDX-License-Identifier: GPL-3.0-or-later
// Navigation between entries and the entry and lesson commands of the
// lesson editor window.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTableView>
#include <optional>

#include "base/messages.h"
#include "base/settings.h"
#include "ui/mainwindow/mainform.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/entriespage.h"
#include "ui/lessonwindow/headerpage.h"
#include "ui/lessonwindow/vocabeditform.h"

namespace vocatrix::ui {

void VocabEditForm::ScrollBarScroll(ScrollCode code, int position) {
  StoreControls();
  const int count = lesson_->EntryCount();
  std::optional<TLessonRecorder> appended;
  if (entryIndex_ >= count - 1 && (code == ScrollCode::LineDown || code == ScrollCode::PageDown)) {
    // Scrolling on past the last entry appends a blank one, as long as the
    // 16-bit entry count of the lesson file can hold it.
    if (count >= kMaxEntries) {
      SayLessonFull();
    } else {
      appended.emplace(*lesson_, entryIndex_);
      lesson_->Meanings->Insert(TMeaning::Create());
      lesson_->Modified = true;
      position += 1;
    }
  }
  entryIndex_ = std::clamp(position - 1, 0, lesson_->EntryCount() - 1);
  if (appended) Record(*appended);
  ShowLesson();
}

void VocabEditForm::SayLessonFull() {
  main_->Services().sound.Beep();
  main_->ShowNote(Utf8ToQString(TranslateMessage(
      "LessonFull", "The lesson holds %s entries, the most a lesson file can hold: no entry is added.",
      {std::to_string(kMaxEntries)})));
}

void VocabEditForm::EditEntryNrChange() {
  if (showing_) return;
  entries_->SetEntryNrColor(false);
  const QString text = EditEntryNr->text();
  if (text.isEmpty()) return;
  bool ok = false;
  const int number = text.toInt(&ok, 10);
  if (!ok || number < 1 || number > lesson_->EntryCount()) {
    entries_->SetEntryNrColor(true);
    main_->Services().sound.Beep();
    return;
  }
  StoreControls();
  entryIndex_ = number - 1;
  ShowLesson();
  EditEntryNr->setModified(false);
}

void VocabEditForm::EditEntryExit() {
  StoreControls();
  ShowLesson();
}

bool VocabEditForm::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  if (CurrentPage() != kEntriesPage) return false;
  if (modifiers & Qt::AltModifier) {
    const int position = ScrollBar->value();
    const int count = lesson_->EntryCount();
    switch (key) {
      case Qt::Key_PageUp: ScrollBarScroll(ScrollCode::LineUp, std::max(1, position - 1)); return true;
      case Qt::Key_PageDown: ScrollBarScroll(ScrollCode::LineDown, std::min(count, position + 1)); return true;
      case Qt::Key_End: ScrollBarScroll(ScrollCode::Bottom, count); return true;
      case Qt::Key_Home: ScrollBarScroll(ScrollCode::Top, 1); return true;
      case Qt::Key_Insert: ButtonInsertClick(); return true;
      case Qt::Key_Delete: ButtonDeleteClick(); return true;
      default: break;
    }
  }
  switch (key) {
    case Qt::Key_Escape: close(); return true;
    case Qt::Key_F2: ButtonMirrorClick(); return true;
    case Qt::Key_F3: ButtonCopyClick(); return true;
    case Qt::Key_F12: MemoSynonyms->setFocus(Qt::ShortcutFocusReason); return true;
    default: return false;
  }
}

bool VocabEditForm::ButtonInsertClick() {
  StoreControls();
  if (lesson_->EntryCount() >= kMaxEntries) {
    SayLessonFull();
    return false;
  }
  TLessonRecorder step(*lesson_, entryIndex_);
  lesson_->Meanings->AtInsert(entryIndex_, TMeaning::Create());
  MemoSynonyms->setFocus(Qt::OtherFocusReason);
  lesson_->Modified = true;
  ShowLesson();
  Record(step);
  return true;
}

QString VocabEditForm::DeleteEntryQuestion(int index) const {
  // The entry by its number and its first word.
  std::string name = std::to_string(index + 1);
  const TMeaning& entry = *lesson_->At(index);
  for (int kind : {kSynonyms, kTranslations})
    if (const std::vector<std::string> words = entry.KindTexts(kind); !words.empty() && !words.front().empty()) {
      name += ": " + ToQString(words.front()).toStdString();
      break;
    }
  return Utf8ToQString(TranslateMessage("DeleteEntry", "Delete Entry '%s'?", {name}));
}

void VocabEditForm::ButtonDeleteClick() {
  StoreControls();
  const QString question = DeleteEntryQuestion(entryIndex_);
  if (main_->Services().dialogs.Message(this, MessageKind::Confirmation, MessageButtons::OkCancel, question) !=
      MessageAnswer::Ok)
    return;
  TLessonRecorder step(*lesson_, entryIndex_);
  lesson_->Meanings->AtDelete(entryIndex_);
  lesson_->Modified = true;
  if (entryIndex_ >= lesson_->EntryCount()) {
    if (lesson_->EntryCount() == 0) {
      ++quietSteps_;
      ButtonInsertClick();
      --quietSteps_;
      Record(step);
      return;
    }
    --entryIndex_;
  }
  ShowLesson();
  Record(step);
}

void VocabEditForm::ButtonMirrorClick() {
  StoreControls();
  TLessonRecorder step(*lesson_, entryIndex_);
  step.WatchEntry(entryIndex_);
  lesson_->At(entryIndex_)->MirrorEntry();
  lesson_->Modified = true;
  ShowLesson();
  Record(step);
}

void VocabEditForm::ButtonCopyClick() {
  StoreControls();
  TLessonRecorder step(*lesson_, entryIndex_);
  ++quietSteps_;
  const bool inserted = ButtonInsertClick();
  --quietSteps_;
  if (!inserted) return;
  // The blank entry stands in front of the source; it takes over the
  // source's four lists and form, and is shown.
  const MeaningPtr& copy = lesson_->At(entryIndex_);
  const MeaningPtr& source = lesson_->At(entryIndex_ + 1);
  for (int kind : {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations})
    copy->SetKindTexts(kind, source->KindTexts(kind));
  copy->Form = source->Form;
  lesson_->Modified = true;
  ShowLesson();
  Record(step);
}

void VocabEditForm::CompactClick() {
  StoreControls();
  TLessonRecorder step(*lesson_, entryIndex_);
  step.WatchAllEntries();
  lesson_->DblDel();
  if (entryIndex_ > lesson_->EntryCount() - 1) entryIndex_ = std::max(0, lesson_->EntryCount() - 1);
  ShowLesson();
  Record(step);
}

void VocabEditForm::ConcatClick() { main_->ConcatClick(); }

void VocabEditForm::SubstituteClick() { main_->SubstLanguageClick(); }

void VocabEditForm::ShowChangedLesson() {
  const bool modified = lesson_->Modified;
  // The lesson changed outside the window's commands: its history no longer fits it.
  history_.Reset(false);
  lastFound_.reset();
  lesson_->EnsureEntry();
  entryIndex_ = std::min(entryIndex_, lesson_->EntryCount() - 1);
  ShowLesson();
  controlsChanged_ = false;
  lesson_->Modified = modified;
}

void VocabEditForm::ShowSharedChanges() {
  if (!lesson_ || showing_ || controlsChanged_ || CurrentPage() == kTextPage) return;
  if (CurrentPage() == kTablePage) {
    // The table reads the entries as they are; the Entries page follows
    // when it is shown again.
    TableView->viewport()->update();
    return;
  }
  // Whether the shown entry and the word counts are still what they show.
  const bool shown = entries_->ShowsEntry(*lesson_->At(entryIndex_)) && header_->ShowsCounts(*lesson_);
  if (shown) return;
  const bool modified = lesson_->Modified;
  ShowLesson();
  lesson_->Modified = modified;
}

void VocabEditForm::MirrorClick() {
  if (CurrentPage() == kTextPage) {
    MirrorText();
    return;
  }
  StoreControls();
  TLessonRecorder step(*lesson_, entryIndex_);
  step.SetMirrored();
  lesson_->Mirror();
  ShowLesson();
  Record(step);
}

}  // namespace vocatrix::ui
