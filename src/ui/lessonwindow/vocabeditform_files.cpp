// SPDX-License-Identifier: GPL-3.0-or-later
// Open, save, save as and close of the lesson editor window.

#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <algorithm>
#include <cstdlib>

#include "base/lastfolders.h"
#include "base/messages.h"
#include "base/safesave.h"
#include "base/settings.h"
#include "files/binaryfile.h"
#include "files/lessonfiles.h"
#include "files/lessonformats.h"
#include "files/rtf/rtf.h"
#include "files/transferreport.h"
#include "model/exceptions.h"
#include "ui/common/qtstrings.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/lessonmenus.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/lessonwindow/tablepage.h"
#include "ui/lessonwindow/textpage.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/windowhost.h"
#include "ui/platform/fileaccess.h"

namespace vocatrix::ui {

QString VocabEditForm::OpenFilter() { return QString::fromStdString(OpenDialogFilter()); }
QString VocabEditForm::SaveFilter() { return QString::fromStdString(SaveDialogFilter()); }
QString VocabEditForm::ExchangeFilter() { return QString::fromStdString(ExchangeDialogFilter()); }

void VocabEditForm::SetFileName(const std::string& fileName) {
  document_->SetFileName(fileName);
  NameWindow();
}

void VocabEditForm::SetSourceName(const std::string& fileName) {
  sourceName_ = fileName;
  NameWindow();
}

void VocabEditForm::NameWindow() {
  if (!FileName().empty())
    SetCaption(FileNameToQString(ExtractFileName(FileName())));
  else if (!sourceName_.empty())
    SetCaption(Utf8ToQString(TranslateMessage("ImportedCaption", "%s (imported)",
                                              {FileNameToQString(ExtractFileName(sourceName_)).toStdString()})));
  else
    SetUnnamedCaption(Utf8ToQString(TranslateMessage("VocabEditFormCaption", "New Lesson")));
}

void VocabEditForm::LanguageChanged() {
  NameWindow();
  entries_->ShowEntryCount();
  entries_->FitHeadings();
  header_->FitStatistics();
  table_->LanguageChanged();
}

void VocabEditForm::Open(const std::string& fileName) {
  const int kind = FileKind(fileName);
  if (kind == kLessonFile) {
    document_->Take(TLessonDocument::ReadLessonFile(fileName), TLessonDocument::Origin::kFile, fileName);
    NameWindow();
    return;
  }
  SetFileName(fileName);
  if (kind != kTextFile && kind != kRichTextFile) throw ENotLesson::ForFile(fileName);
  SelectTab(kTextPage);
  const TextFileLines text = text_->ShowFile(ReadWholeFile(fileName));
  // Malformed lines and not one entry: an export that Import reads; no window opens on it.
  RequireEntryLine(text.Lines, fileName, TranslateMessage("FileImportMenu", "File > Import"));
  // The file's text is the state opened; it becomes a lesson when the page is left.
  document_->MarkSaved();
  controlsChanged_ = false;
  // Characters read as "?" and table rows read as one entry are said.
  TransferReport report;
  NoteTextLines(text, report);
  std::string notes;
  for (const std::string& note : ReadNotes(report, fileName, true)) notes += (notes.empty() ? "" : "\n") + note;
  if (!notes.empty()) host_.Services().dialogs.ShowWarning(this, Utf8ToQString(notes));
}

void VocabEditForm::Save() {
  const std::string& fileName = FileName();
  if (fileName.empty() || IsReadOnly(fileName)) {
    SaveAs();
    return;
  }
  switch (FileKind(fileName)) {
    case kLessonFile: {
      // Text that does not compile is not saved at all, and no file is
      // touched: writing the lesson as it stood before would lose the
      // user's edits without a word. The faulty line is selected and the
      // status bar names the error; the edits stay unsaved.
      if (!LeaveOwnText(kHeaderPage)) return;
      StoreControls();
      document_->SaveLessonFile();
      break;
    }
    case kTextFile:
    case kRichTextFile: {
      if (CurrentPage() != kTextPage) SelectTab(kTextPage);
      QString rejected;
      const std::string data = text_->FileImage(FileKind(fileName) == kRichTextFile, &rejected);
      WriteFileAtomically(fileName, data, BackupName(fileName));
      text_->TextSaved();
      document_->MarkSaved();
      if (!rejected.isEmpty()) host_.WarnRejectedCharacters(this, rejected);
      break;
    }
    default:
      throw ENotLesson::ForFile(fileName);
  }
  // The history stays; undoing back to here is the saved state again.
  host_.WorkSaved(this);
  host_.FileUsed(fileName);
}

FileDialogRequest VocabEditForm::SaveRequest(const TFileDialogTexts& dialog, TFolderKind kind,
                                             const std::string& fileName, int filterIndex,
                                             const QString& defaultExtension) const {
  FileDialogRequest request = dialog.SaveRequest(fileName, filterIndex, defaultExtension);
  request.Folder = FileNameToQString(LastFolder(kind, FileName().empty() ? HomeFolder() : FolderOf(FileName())));
  // The title as the Header page shows it, stored or not.
  if (fileName.empty()) request.FileName = ToQString(FileNameOfTitle(ToLessonString(EditTitle->text())));
  return request;
}

void VocabEditForm::SaveAs() {
  // The lesson-file filter is the third.
  const std::optional<QString> chosen = host_.Services().dialogs.SaveFileName(
      this, SaveRequest(*menus_->SaveFileDialog(), TFolderKind::kLessons, FileName(), 3, "tav"));
  if (!chosen) return;
  SetFileName(QStringToFileName(*chosen));
  RememberFolder(TFolderKind::kLessons, FolderOf(FileName()));
  Save();
}

bool VocabEditForm::MenuSaveClick() {
  try {
    Save();
  } catch (const std::exception& e) {
    host_.Services().dialogs.ShowError(this, Utf8ToQString(e.what()));
  }
  return !document_->Modified();
}

void VocabEditForm::MenuSaveAsClick() {
  try {
    SaveAs();
  } catch (const std::exception& e) {
    host_.Services().dialogs.ShowError(this, Utf8ToQString(e.what()));
  }
}

void VocabEditForm::MenuExportClick() {
  // The lesson's own file name with the extension of KVTML, the filter
  // chosen first, in the folder exchange files went to last (else the
  // lesson's own).
  const std::string own = ExtractFileName(FileName());
  const std::string start = own.empty() ? std::string() : own.substr(0, ExtensionStart(own)) + ".kvtml";
  const std::optional<QString> chosen = host_.Services().dialogs.SaveFileName(
      this, SaveRequest(*menus_->ExportFileDialog(), TFolderKind::kExchange, start, 1, "kvtml"));
  if (!chosen) return;
  RememberFolder(TFolderKind::kExchange, FolderOf(QStringToFileName(*chosen)));
  try {
    Export(QStringToFileName(*chosen));
  } catch (const std::exception& e) {
    host_.Services().dialogs.ShowError(this, Utf8ToQString(e.what()));
  }
}

void VocabEditForm::Export(const std::string& fileName) {
  // Text that does not compile is not exported; the faulty line is selected.
  if (!LeaveOwnText(kHeaderPage)) return;
  StoreControls();
  TransferReport report;
  WriteLessonByFormat(Lesson(), fileName, std::string(), report);
  host_.WarnTransfer(this, fileName, report);
  host_.ShowNote(Utf8ToQString(TranslateMessage(
      "Exported", "%s entries written to %s.",
      {std::to_string(Lesson().EntryCount()), FileNameToQString(fileName).toStdString()})));
}

bool VocabEditForm::IsReadOnly(const std::string& fileName) { return host_.IsReadOnly(this, fileName); }

bool VocabEditForm::FormCloseQuery() {
  if (!document_->Modified()) return true;
  // The question is asked over the window it speaks of (Exit asks in turn).
  BringToFront();
  const QString question =
      Utf8ToQString(TranslateMessage("CancelLesson", "Do you want to save '%s'?", {Caption().toStdString()}));
  switch (host_.Services().dialogs.Message(this, MessageKind::Confirmation, MessageButtons::YesNoCancel, question)) {
    case MessageAnswer::No: return true;
    case MessageAnswer::Yes: return MenuSaveClick();
    default: return false;
  }
}

void VocabEditForm::FormClose() {
  host_.WorkSaved(this);
  host_.ChildClosing(this);
}

std::optional<TRecoveryImage> VocabEditForm::RecoveryImage() const {
  if (!document_->Modified()) return std::nullopt;
  TRecoveryImage image;
  try {
    image.Extension = ".tav";
    image.Data = EncodeBinary(Lesson());
  } catch (const ELessonTooLarge& e) {
    // Kept whatever it holds, in the wide form recovery reads back; the
    // user learns once which text no lesson file can hold.
    image.Extension = ".tavw";
    image.Data = EncodeWideBinary(Lesson());
    if (!oversizeNoted_) host_.ShowNote(Utf8ToQString(e.what()));
    oversizeNoted_ = true;
  }
  TRecoveryNote& note = image.Note;
  note.Kind = TRecoveryNote::kLessonWindow;
  note.FileName = FileName();
  note.Caption = Caption().toStdString();
  note.Entries = Lesson().EntryCount();
  note.EntryIndex = EntryIndex();
  note.Page = shownPage_;
  if (controlsChanged_)
    for (const TLessonPage* page : pages_) page->AddControlTexts(note.Controls);
  image.Text = ShownPage().RecoveryText();
  return image;
}

void VocabEditForm::Recover(std::unique_ptr<TMeanCollection> lesson, const TRecoveryNote& note) {
  lesson->LessonFileName = note.FileName;
  lesson->EnsureEntry();
  // No state of the history is the file's.
  document_->Take(std::move(lesson), TLessonDocument::Origin::kUnsaved, note.FileName);
  NameWindow();
  document_->SetEntry(static_cast<int>(std::clamp<long>(note.EntryIndex, 0, Lesson().EntryCount() - 1)));
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
  // The page it was at, with its text when it held one of its own.
  if (note.Page > 0 && note.Page < static_cast<int>(pages_.size())) SelectTab(note.Page);
  if (note.PageText && CurrentPage() == note.Page)
    ShownPage().RestoreRecoveryText(QString::fromStdString(*note.PageText));
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
