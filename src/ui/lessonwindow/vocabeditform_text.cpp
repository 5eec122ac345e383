// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson editor window's side of the Text page: changing to and from
// it (converting the lesson to lesson text and compiling it back), text and
// rich-text files, and printing. The page itself is TTextPage.

#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>

#include "base/safesave.h"
#include "files/lessonfiles.h"
#include "files/rtf/rtf.h"
#include "files/transferreport.h"
#include "model/exceptions.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/tablepage.h"
#include "ui/lessonwindow/textpage.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/mainform.h"
#include "ui/lessonwindow/memotext.h"

namespace vocatrix::ui {

TFont VocabEditForm::MemoFont() { return TTextPage::MemoFont(); }

bool VocabEditForm::TextFilling() const { return text_->Filling(); }

void VocabEditForm::CompleteText() { text_->CompleteText(); }

void VocabEditForm::MemoTextChange() { text_->TextChange(); }

bool VocabEditForm::MemoTextKeyDown(QKeyEvent* event) { return text_->KeyDown(event); }

void VocabEditForm::MirrorText() { text_->Mirror(); }

bool VocabEditForm::TabSetChange(int newTab) {
  if (newTab == shownPage_) return true;
  if (newTab == kTextPage) {
    ConvertToText();
    return true;
  }
  if (shownPage_ == kTextPage) return CompileText();
  // The table shows the lesson with the edits of the controls; the Entries
  // page shows the entry of the table's current row.
  if (newTab == kTablePage) StoreControls();
  else if (shownPage_ == kTablePage) {
    table_->Release();
    ShowTableEntry();
  }
  return true;
}

void VocabEditForm::ConvertToText() {
  StoreControls();
  std::vector<std::string> uncarried;
  text_->FillText(lesson_->ToLines(&uncarried), lesson_->Language1, lesson_->Language2);
  MemoText->moveCursor(QTextCursor::Start);
  if (!uncarried.empty()) main_->WarnUncarriedWords(this, uncarried);
}

bool VocabEditForm::CompileText() {
  QString rejected;
  std::unique_ptr<TMeanCollection> compiled = text_->ReadLesson(&rejected);
  if (!compiled) {
    main_->SetStatus(kStatusError);
    return false;
  }
  if (compiled->EntryCount() > kMaxEntries) {
    // No lesson file can hold it: the page stays, as on a format error, and
    // the status bar says why.
    main_->SetStatus(kStatusError,
                     Utf8ToQString(ELessonTooLarge::ForEntries(compiled->EntryCount(), kMaxEntries).what()));
    return false;
  }
  compiled->LessonFileName = lesson_->LessonFileName;
  // The step keeps only the entries the text changed; the others stay the
  // entry objects they were (shared with other lessons, if they were).
  TLessonRecorder step(*lesson_, entryIndex_);
  step.SetReplaced();
  lesson_ = std::move(compiled);
  lesson_->EnsureEntry();
  entryIndex_ = 0;
  ShowLesson();
  Record(step);
  // The page change that follows brings the window back to its fixed size.
  if (!rejected.isEmpty()) WarnRejectedCharacters(rejected);
  return true;
}

void VocabEditForm::OpenTextFile(const std::string& fileName) {
  SelectTab(kTextPage);
  const TextFileLines text = text_->ShowFile(ReadWholeFile(fileName));
  lesson_->Modified = false;
  history_.Reset(true);
  controlsChanged_ = false;
  // Characters read as "?" and table rows read as one entry are said.
  TransferReport report;
  NoteTextLines(text, report);
  std::string notes;
  for (const std::string& note : ReadNotes(report, fileName, true)) notes += (notes.empty() ? "" : "\n") + note;
  if (!notes.empty()) main_->Services().dialogs.ShowWarning(this, Utf8ToQString(notes));
}

void VocabEditForm::SaveTextFile() {
  if (CurrentPage() != kTextPage) SelectTab(kTextPage);
  QString rejected;
  const std::string data = text_->FileImage(FileKind(fileName_) == kRichTextFile, &rejected);
  WriteFileAtomically(fileName_, data, BackupName(fileName_));
  if (!rejected.isEmpty()) WarnRejectedCharacters(rejected);
}

void VocabEditForm::MenuPrintClick() {
  QPrinter printer(QPrinter::HighResolution);
  if (!main_->ChoosePrinter(this, printer, fileName_)) return;
  SelectTab(kTextPage);
  CompleteText();
  printer.setDocName(ToQString(lesson_->Title));
  main_->PrintText(this, *MemoText->document(), printer);
}

}  // namespace vocatrix::ui
