// SPDX-License-Identifier: GPL-3.0-or-later
// Find, undo and redo of the lesson editor window.

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include "base/messages.h"
#include "ui/dialogs/finddlg.h"
#include "ui/mainwindow/mainform.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/entriespage.h"
#include "ui/lessonwindow/textpage.h"
#include "ui/lessonwindow/vocabeditform.h"

namespace vocatrix::ui {
namespace {

// The status bar's note when a search went round the lesson.
QString WrapNote(bool backward) {
  return Utf8ToQString(backward ? TranslateMessage("FindWrappedToEnd",
                                                   "Passed the start of the lesson; searched on from its end.")
                                : TranslateMessage("FindWrappedToStart",
                                                   "Passed the end of the lesson; searched on from its start."));
}

}  // namespace

// --- Undo and redo ---

void VocabEditForm::Record(const TLessonRecorder& recorder, bool controlsEdit) {
  if (quietSteps_ > 0) return;
  TLessonStep step = recorder.Finish(*lesson_, entryIndex_);
  step.ControlsEdit = controlsEdit;
  step.Visit = visit_;
  // After a command, edits start a step of their own.
  if (!controlsEdit) ++visit_;
  if (!history_.Push(std::move(step))) return;
  lastFound_.reset();
  if (!history_.AtSaved()) lesson_->Modified = true;
}

bool VocabEditForm::OwnUndo(QWidget* control, bool redo) const {
  if (!control || !isAncestorOf(control)) return false;
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    if (qobject_cast<QComboBox*>(edit->parentWidget())) return false;
    return redo ? edit->isRedoAvailable() : edit->isUndoAvailable();
  }
  if (auto* memo = qobject_cast<QPlainTextEdit*>(control))
    return redo ? memo->document()->isRedoAvailable() : memo->document()->isUndoAvailable();
  return false;
}

void VocabEditForm::UndoClick() { UndoRedo(false); }

void VocabEditForm::RedoClick() { UndoRedo(true); }

void VocabEditForm::UndoRedo(bool redo) {
  QWidget* control = focusWidget();
  if (OwnUndo(control, redo)) {
    if (auto* edit = qobject_cast<QLineEdit*>(control)) redo ? edit->redo() : edit->undo();
    else if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) redo ? memo->redo() : memo->undo();
    return;
  }
  const bool textPage = CurrentPage() == kTextPage;
  if (textPage) {
    // Typing on the Text page goes first; with none left, the text is the
    // lesson's, and shows the lesson's state after the step.
    if (OwnUndo(MemoText, redo)) {
      redo ? MemoText->redo() : MemoText->undo();
      return;
    }
  } else {
    // Edits not stored yet become the step to take back.
    StoreControls();
  }
  const TLessonStep* step = redo ? history_.Redo(*lesson_) : history_.Undo(*lesson_);
  if (!step) {
    main_->Services().sound.Beep();
    return;
  }
  lastFound_.reset();
  lesson_->EnsureEntry();
  entryIndex_ = std::clamp(redo ? step->EntryAfter : step->EntryBefore, 0, lesson_->EntryCount() - 1);
  ++visit_;
  if (textPage) ConvertToText();
  ShowLesson();
  controlsChanged_ = false;
  // Showing marks the lesson; the history knows whether it is the file's.
  lesson_->Modified = !history_.AtSaved();
}

// --- Find ---

void VocabEditForm::MenuFindClick() {
  TFindDlg* dialog = main_->FindDlg();
  // A word selected on the page is what to find.
  QString selected;
  if (auto* edit = qobject_cast<QLineEdit*>(focusWidget())) selected = edit->selectedText();
  else if (auto* memo = qobject_cast<QPlainTextEdit*>(focusWidget())) selected = memo->textCursor().selectedText();
  if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) dialog->EditFind->setText(selected);
  dialog->FormShow();
}

void VocabEditForm::FindNote(const QString& note) { main_->ShowNote(note); }

void VocabEditForm::NothingFound(const QString& text) {
  main_->Services().sound.Beep();
  FindNote(Utf8ToQString(TranslateMessage("FindNotFound", "'%s' not found.", {text.toStdString()})));
}

bool VocabEditForm::FindNext(bool backward) {
  const TFindDlg* dialog = main_->FindDlg();
  const QString text = dialog->Text();
  if (text.isEmpty()) {
    MenuFindClick();
    return false;
  }
  const TFindOptions options = dialog->Options();
  if (CurrentPage() == kTextPage) return FindInText(text, options, backward);

  StoreControls();
  QString rejected;
  const std::string lessonText = ToLessonString(text, &rejected);
  std::optional<TFoundWord> found;
  // Text that Windows-1252 cannot hold is in no lesson.
  if (rejected.isEmpty()) {
    // On from the word found last while its entry is shown; else from the
    // shown entry (its own words first, going forward).
    const bool goOn = lastFound_ && lastFound_->Entry == entryIndex_;
    const TWordPlace from = goOn ? *lastFound_ : TWordPlace{entryIndex_, 0, 0};
    found = FindWord(*lesson_, TTextMatcher(lessonText, options), options.Side, from, !goOn && !backward, backward);
  }
  if (!found) {
    NothingFound(text);
    return false;
  }
  ShowFoundWord(found->Place);
  FindNote(found->Wrapped ? WrapNote(backward) : QString());
  return true;
}

void VocabEditForm::ShowFoundWord(const TWordPlace& place) {
  if (CurrentPage() != kEntriesPage) SelectTab(kEntriesPage);
  entryIndex_ = place.Entry;
  // Shown afresh: the word fields then hold exactly the entry's words, one a line.
  ShowLesson();
  entries_->SelectWord(place.Kind, place.Word);
  lastFound_ = place;
}

bool VocabEditForm::FindInText(const QString& text, const TFindOptions& options, bool backward) {
  bool wrapped = false;
  if (!text_->Find(text, options, backward, &wrapped)) {
    NothingFound(text);
    return false;
  }
  FindNote(wrapped ? WrapNote(backward) : QString());
  return true;
}

}  // namespace vocatrix::ui
