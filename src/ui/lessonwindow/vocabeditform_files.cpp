// SPDX-License-Identifier: GPL-3.0-or-later
// Open, save, save as and close of the lesson editor window.

#include <QCloseEvent>
#include <QMdiArea>
#include <QTabBar>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextDocument>

#include <algorithm>
#include <cstdlib>

#include "files/binaryfile.h"
#include "files/lessonfiles.h"
#include "files/lessonformats.h"
#include "base/messages.h"
#include "base/settings.h"
#include "ui/recovery/autosave.h"
#include "ui/mainwindow/mainform.h"
#include "ui/mainwindow/recentfiles.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/platform/fileaccess.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/entriespage.h"
#include "ui/lessonwindow/headerpage.h"
#include "ui/lessonwindow/textpage.h"
#include "ui/lessonwindow/vocabeditform.h"

namespace vocatrix::ui {

QString VocabEditForm::OpenFilter() { return QString::fromStdString(OpenDialogFilter()); }
QString VocabEditForm::SaveFilter() { return QString::fromStdString(SaveDialogFilter()); }
QString VocabEditForm::ExchangeFilter() { return QString::fromStdString(ExchangeDialogFilter()); }

std::unique_ptr<TMeanCollection> VocabEditForm::ReadLessonFile(const std::string& fileName) {
  std::unique_ptr<TMeanCollection> lesson = TMeanCollection::CreateFromFile(fileName);
  lesson->DblDel();
  // The window shows one entry at a time, so a lesson file without entries
  // gets a blank one.
  lesson->EnsureEntry();
  return lesson;
}

void VocabEditForm::SetFileName(const std::string& fileName) {
  fileName_ = fileName;
  NameWindow();
}

void VocabEditForm::SetSourceName(const std::string& fileName) {
  sourceName_ = fileName;
  NameWindow();
}

void VocabEditForm::NameWindow() {
  if (!fileName_.empty())
    SetCaption(FileNameToQString(ExtractFileName(fileName_)));
  else if (!sourceName_.empty())
    SetCaption(Utf8ToQString(TranslateMessage("ImportedCaption", "%s (imported)",
                                              {FileNameToQString(ExtractFileName(sourceName_)).toStdString()})));
  else
    SetUnnamedCaption(Utf8ToQString(TranslateMessage("VocabEditFormCaption", "New Lesson")));
}

void VocabEditForm::LanguageChanged() {
  NameWindow();
  entries_->ShowEntryCount(*lesson_);
}

bool VocabEditForm::HasUnsavedChanges() const { return lesson_->Modified || controlsChanged_; }

void VocabEditForm::TakeOpenedLesson(const std::string& fileName, std::unique_ptr<TMeanCollection> lesson) {
  SetFileName(fileName);
  lesson_ = std::move(lesson);
  entryIndex_ = 0;
  history_.Reset(true);
  lastFound_.reset();
  ShowLesson();
  lesson_->Modified = false;
}

void VocabEditForm::Open(const std::string& fileName) {
  const int kind = FileKind(fileName);
  if (kind == kLessonFile) {
    TakeOpenedLesson(fileName, ReadLessonFile(fileName));
    return;
  }
  SetFileName(fileName);
  if (kind != kTextFile && kind != kRichTextFile) throw ENotLesson::ForFile(fileName);
  OpenTextFile(fileName);
}

void VocabEditForm::Save() {
  if (fileName_.empty() || IsReadOnly(fileName_)) {
    SaveAs();
    return;
  }
  switch (FileKind(fileName_)) {
    case kLessonFile:
      if (CurrentPage() == kTextPage) {
        SelectTab(kHeaderPage);
        // Text that does not compile is not saved at all, and no file is
        // touched: writing the lesson as it stood before would lose the
        // user's edits without a word. The faulty line is selected and the
        // status bar names the error; the edits stay unsaved.
        if (CurrentPage() == kTextPage) {
          lesson_->Modified = true;
          return;
        }
      }
      StoreControls();
      // The new content is written completely before the previous file
      // becomes the backup, so a failed save keeps both.
      lesson_->SaveToFile(fileName_, BackupName(fileName_));
      break;
    case kTextFile:
    case kRichTextFile:
      SaveTextFile();
      break;
    default:
      throw ENotLesson::ForFile(fileName_);
  }
  lesson_->Modified = false;
  // The history stays; undoing back to here clears Modified again.
  history_.MarkSaved();
  main_->Autosave().Forget(this);
  main_->RecentFiles().Add(fileName_);
}

void VocabEditForm::SaveAs() {
  // The lesson-file filter is the third.
  const std::optional<QString> chosen =
      main_->Services().dialogs.SaveFileName(this, saveFileDialog_->SaveRequest(fileName_, 3, "tav"));
  if (!chosen) return;
  SetFileName(QStringToFileName(*chosen));
  Save();
}

bool VocabEditForm::MenuSaveClick() {
  try {
    Save();
  } catch (const std::exception& e) {
    main_->Services().dialogs.ShowError(this, Utf8ToQString(e.what()));
  }
  return !lesson_->Modified;
}

void VocabEditForm::MenuSaveAsClick() {
  try {
    SaveAs();
  } catch (const std::exception& e) {
    main_->Services().dialogs.ShowError(this, Utf8ToQString(e.what()));
  }
}

void VocabEditForm::MenuExportClick() {
  // The lesson's own file name with the extension of KVTML, the filter chosen first.
  std::string start = fileName_.empty() ? std::string() : fileName_.substr(0, ExtensionStart(fileName_)) + ".kvtml";
  const std::optional<QString> chosen =
      main_->Services().dialogs.SaveFileName(this, exportFileDialog_->SaveRequest(start, 1, "kvtml"));
  if (!chosen) return;
  try {
    Export(QStringToFileName(*chosen));
  } catch (const std::exception& e) {
    main_->Services().dialogs.ShowError(this, Utf8ToQString(e.what()));
  }
}

void VocabEditForm::Export(const std::string& fileName) {
  if (CurrentPage() == kTextPage) {
    // Text that does not compile is not exported; the faulty line is selected.
    SelectTab(kHeaderPage);
    if (CurrentPage() == kTextPage) return;
  }
  StoreControls();
  const bool modified = lesson_->Modified;
  TransferReport report;
  WriteLessonByFormat(*lesson_, fileName, std::string(), report);
  lesson_->Modified = modified;
  main_->WarnTransfer(this, fileName, report);
  main_->ShowNote(Utf8ToQString(TranslateMessage("Exported", "%s entries written to %s.",
                                                 {std::to_string(lesson_->EntryCount()),
                                                  FileNameToQString(fileName).toStdString()})));
}

bool VocabEditForm::IsReadOnly(const std::string& fileName) { return main_->IsReadOnly(this, fileName); }

bool VocabEditForm::FormCloseQuery() {
  if (!lesson_->Modified) return true;
  // The question is asked over the window it speaks of (Exit asks in turn).
  BringToFront();
  const QString question =
      Utf8ToQString(TranslateMessage("CancelLesson", "Do you want to save '%s'?", {Caption().toStdString()}));
  switch (main_->Services().dialogs.Message(this, MessageKind::Confirmation, MessageButtons::YesNoCancel, question)) {
    case MessageAnswer::No: return true;
    case MessageAnswer::Yes: return MenuSaveClick();
    default: return false;
  }
}

void VocabEditForm::FormClose() {
  main_->Autosave().Forget(this);
  main_->ChildClosing(this);
}

std::optional<TRecoveryImage> VocabEditForm::RecoveryImage() const {
  if (!lesson_->Modified && !controlsChanged_) return std::nullopt;
  TRecoveryImage image;
  image.Extension = ".tav";
  image.Data = EncodeBinary(*lesson_);
  TRecoveryNote& note = image.Note;
  note.Kind = TRecoveryNote::kLessonWindow;
  note.FileName = fileName_;
  note.Caption = Caption().toStdString();
  note.Entries = lesson_->EntryCount();
  note.EntryIndex = entryIndex_;
  note.Page = shownPage_;
  if (controlsChanged_) {
    header_->AddControlTexts(note.Controls);
    entries_->AddControlTexts(note.Controls);
  }
  if (shownPage_ == kTextPage) image.Text = text_->EditedText();
  return image;
}

void VocabEditForm::Recover(std::unique_ptr<TMeanCollection> lesson, const TRecoveryNote& note) {
  lesson->LessonFileName = note.FileName;
  lesson_ = std::move(lesson);
  lesson_->EnsureEntry();
  if (!note.FileName.empty()) SetFileName(note.FileName);
  // No state of the history is the file's.
  history_.Reset(false);
  lastFound_.reset();
  entryIndex_ = static_cast<int>(std::clamp<long>(note.EntryIndex, 0, lesson_->EntryCount() - 1));
  ShowLesson();
  for (const auto& [name, text] : note.Controls) {
    QWidget* control = Client->findChild<QWidget*>(QString::fromStdString(name));
    if (auto* edit = qobject_cast<QLineEdit*>(control)) {
      edit->setText(QString::fromStdString(text));
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(control); memo && memo != MemoText) {
      memo->setPlainText(QString::fromStdString(text));
    } else if (control == ComboBoxForm) {
      const int index = std::atoi(text.c_str());
      ComboBoxForm->setCurrentIndex(index >= 0 && index < ComboBoxForm->count() ? index : -1);
      Change(ComboBoxForm);
    }
  }
  if (note.Page == kTextPage) {
    SelectTab(kTextPage);
    if (note.PageText) text_->RestoreText(QString::fromStdString(*note.PageText));
  } else if (note.Page == kEntriesPage || note.Page == kTablePage) {
    SelectTab(note.Page);
  }
  lesson_->Modified = true;
}

void VocabEditForm::closeEvent(QCloseEvent* event) {
  if (!FormCloseQuery()) {
    event->ignore();
    return;
  }
  FormClose();
  QMdiSubWindow::closeEvent(event);
}

}  // namespace vocatrix::ui
