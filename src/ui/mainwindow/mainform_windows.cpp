// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's commands on its child windows: new, open, import, drop,
// start-up files, save all, close all, exit, menu merging, the character
// buttons acting on the active window and the windows autosave restores.
// Placing, listing and arranging the windows is TChildWindows' work.

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QToolButton>
#include <exception>
#include <filesystem>

#include "base/errors.h"
#include "base/inifile.h"
#include "base/safesave.h"
#include "base/cp1252.h"
#include "base/messages.h"
#include "files/binaryfile.h"
#include "files/lessonfiles.h"
#include "files/lessontext.h"
#include "model/exceptions.h"
#include "operations/catalogue.h"
#include "ui/common/backgroundwork.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/textwindow/editform.h"
#include "ui/dialogs/importdlg.h"
#include "ui/platform/fileaccess.h"
#include "base/settings.h"
#include "ui/characters/charcompose.h"
#include "ui/characters/charmapdlg.h"
#include "ui/dialogs/combinedlg.h"
#include "ui/dialogs/finddlg.h"
#include "ui/about/aboutbox.h"
#include "ui/recovery/autosave.h"
#include "ui/mainwindow/childwindows.h"
#include "ui/platform/laterboxes.h"
#include "ui/mainwindow/recentfiles.h"
#include "ui/mainwindow/mainform.h"
#include "ui/mainwindow/menumerge.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/vocabeditform.h"

namespace vocatrix::ui {
namespace {

bool HasLocalFiles(const QMimeData* data) {
  if (!data || !data->hasUrls()) return false;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return true;
  return false;
}

// An Alt+letter that no menu and no button took as its key comes to a text
// field as a key press with text, which the field would type. Alt with
// Ctrl is AltGr on some keyboards and types.
bool IsUnusedAltKey(QObject* watched, const QKeyEvent* key) {
  const Qt::KeyboardModifiers modifiers = key->modifiers();
  if (!(modifiers & Qt::AltModifier) || (modifiers & (Qt::ControlModifier | Qt::MetaModifier))) return false;
  const QString text = key->text();
  if (text.isEmpty() || !text.at(0).isPrint()) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  return widget && widget->testAttribute(Qt::WA_InputMethodEnabled);
}

// Shift, Ctrl, Alt and the like pressed alone, which start no action.
bool IsModifierKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride) return false;
  switch (static_cast<const QKeyEvent*>(event)->key()) {
    case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Alt: case Qt::Key_Meta: case Qt::Key_AltGr:
    case Qt::Key_CapsLock: case Qt::Key_NumLock: return true;
    default: return false;
  }
}

}  // namespace

QList<VocabEditForm*> MainForm::LessonWindows() const { return childWindows_->LessonWindows(); }

VocabEditForm* MainForm::ActiveEditForm() const { return childWindows_->ActiveEditForm(); }

QString MainForm::NewChildName(const QString& base) const { return childWindows_->NewChildName(base); }

void MainForm::ChildClosing(TChildForm* form) {
  if (form == noteWindow_) ClearNote();
  // A closed window's number may name the next new one.
  form->ReleaseNumber();
  if (childWindows_->IsLast(form)) SetLessonControlsEnabled(false);
}

bool MainForm::IsReadOnly(QWidget* parent, const std::string& fileName) {
  if (!FileIsReadOnly(fileName)) return false;
  platform_.dialogs.ShowWarning(
      parent, Utf8ToQString(ReadOnlyMessage(FileNameToQString(ExtractFileName(fileName)).toStdString())));
  return true;
}

TEditForm* MainForm::NewTextWindow() {
  auto* form = new TEditForm(*this);
  AddChild(form);
  return form;
}

void MainForm::MenuBrowseClick() {
  // A folder of its own, also one that holds only folders.
  const std::optional<QString> chosen = platform_.dialogs.FolderName(
      this, Utf8ToQString(TranslateMessage("BrowseFolder", "Ordner der Lektionen wählen")),
      FileNameToQString(LastFolder(TFolderKind::kBrowse)));
  if (!chosen) return;
  std::string folder = QStringToFileName(*chosen);
  if (folder.empty() || folder.back() != '/') folder += '/';
  RememberFolder(TFolderKind::kBrowse, folder);
  const TCatalogue catalogue = MakeCatalogue(folder);
  QStringList lines;
  for (const std::string& line : catalogue.Lines) lines << ToQString(line);
  TEditForm* form = NewTextWindow();
  form->AddLines(lines);
  // The window with the lines made so far is shown before the error that
  // ended the walk.
  if (!catalogue.Errors.empty()) platform_.dialogs.ShowError(this, Utf8ToQString(catalogue.Errors.front().Message));
}

VocabEditForm* MainForm::NewChild() {
  auto* form = new VocabEditForm(*this);
  AddChild(form);
  return form;
}

void MainForm::AddChild(TChildForm* form) {
  childWindows_->Add(form);
  SetLessonControlsEnabled(true);
}

std::optional<std::string> MainForm::ChooseFile(TFolderKind kind, FileDialogRequest request) {
  request.Folder = FileNameToQString(LastFolder(kind));
  const std::optional<QString> chosen = platform_.dialogs.OpenFileName(this, request);
  if (!chosen) return std::nullopt;
  const std::string fileName = QStringToFileName(*chosen);
  RememberFolder(kind, FolderOf(fileName));
  return fileName;
}

void MainForm::OpenChild() {
  if (const std::optional<std::string> chosen = ChooseFile(TFolderKind::kLessons, openFileDialog_->OpenRequest()))
    OpenFileLater(*chosen);
}

VocabEditForm* MainForm::OpenFile(const std::string& fileName) {
  // A lesson file is read before its window exists, and the window opens
  // straight on it; text goes onto the Text page of a new window.
  std::unique_ptr<TMeanCollection> lesson;
  std::exception_ptr failure;
  if (FileKind(fileName) == kLessonFile) {
    try {
      lesson = TLessonDocument::ReadLessonFile(fileName);
    } catch (...) {
      failure = std::current_exception();
    }
  }
  return OpenRead(fileName, std::move(lesson), failure);
}

void MainForm::OpenFileLater(const std::string& fileName, std::function<void(bool)> opened) {
  // Lesson text, and lesson files read in a moment, open at once.
  constexpr std::uintmax_t kReadHere = 256 * 1024;
  std::error_code error;
  if (FileKind(fileName) != kLessonFile || std::filesystem::file_size(fileName, error) < kReadHere || error) {
    const bool done = OpenFile(fileName) != nullptr;
    if (opened) opened(done);
    return;
  }
  struct Read {
    std::unique_ptr<TMeanCollection> Lesson;
    std::exception_ptr Failure;
  };
  auto read = std::make_shared<Read>();
  auto* work = new TBackgroundWork(this);
  progressBar_->setRange(0, 0);
  progressBar_->show();
  work->Start(
      [fileName, read](TWorkProgress&) {
        try {
          read->Lesson = TLessonDocument::ReadLessonFile(fileName);
        } catch (...) {
          read->Failure = std::current_exception();
        }
      },
      {[this, fileName, read, opened = std::move(opened), work] {
        if (statusState_ == kStatusIdle) progressBar_->hide();
        const bool done = OpenRead(fileName, std::move(read->Lesson), read->Failure) != nullptr;
        work->deleteLater();
        if (opened) opened(done);
      }});
}

VocabEditForm* MainForm::OpenRead(const std::string& fileName, std::unique_ptr<TMeanCollection> lesson,
                                  const std::exception_ptr& failure) {
  VocabEditForm* form = nullptr;
  try {
    if (failure) std::rethrow_exception(failure);
    if (lesson) {
      form = new VocabEditForm(*this,
                               std::make_unique<TLessonDocument>(std::move(lesson), TLessonDocument::Origin::kFile,
                                                                 fileName));
    } else {
      form = new VocabEditForm(*this);
      form->Open(fileName);
    }
  } catch (const std::exception& e) {
    std::string message = e.what();
    // An exchange file is no lesson file, but Import reads it.
    if (const LessonFormat* format = FindLessonFormat(fileName);
        format && format->Exchange && dynamic_cast<const ENotLesson*>(&e))
      message += " " + TranslateMessage("UseImport", "Use File > Import to read it.");
    platform_.dialogs.ShowError(this, Utf8ToQString(message));
    delete form;
    return nullptr;
  }
  AddChild(form);
  FileUsed(fileName);
  return form;
}

void MainForm::MenuImportClick() {
  if (const std::optional<std::string> chosen = ChooseFile(TFolderKind::kExchange, importFileDialog_->OpenRequest()))
    ImportFile(*chosen);
}

VocabEditForm* MainForm::ImportFile(const std::string& fileName) {
  TransferReport report;
  std::unique_ptr<TMeanCollection> lesson;
  try {
    // Delimited text is imported as the user lays it out in the import
    // dialog, whose preview showed this very lesson, compacted.
    ReadOptions options;
    if (IsDelimitedText(fileName)) {
      if (!TImportDlg::Ask(this, fileName, options.Csv)) return nullptr;
      lesson = ImportDelimitedText(fileName, options, report);
    } else {
      // An Anki deck of several note types or decks: the user chooses.
      if (IsAnkiDeck(fileName) && !TImportDlg::AskAnki(this, fileName, options.Anki)) return nullptr;
      lesson = ReadLessonByFormat(fileName, options, report);
      lesson->DblDel(report.LossyWords);
    }
  } catch (const std::exception& e) {
    platform_.dialogs.ShowError(this, Utf8ToQString(e.what()));
    return nullptr;
  }
  // Words whose characters a lesson cannot hold would all be "?": asked first.
  if (report.LostAny() &&
      platform_.dialogs.Message(this, MessageKind::Confirmation, MessageButtons::YesNo,
                                Utf8ToQString(LostCharactersMessage(report) + " " +
                                              TranslateMessage("ImportAnyway", "Import anyway?"))) !=
          MessageAnswer::Yes)
    return nullptr;
  if (lesson->EntryCount() > TMeanCollection::kMaxEntries) {
    // The window counts entries in 16 bits, as the lesson file does.
    platform_.dialogs.ShowError(
        this, Utf8ToQString(ELessonTooLarge::ForEntries(lesson->EntryCount(), TMeanCollection::kMaxEntries).what()));
    return nullptr;
  }
  // Not yet saved anywhere as a lesson: closing asks to save it.
  lesson->LessonFileName.clear();
  auto* form = new VocabEditForm(*this);
  form->SetLesson(std::move(lesson));
  form->SetSourceName(fileName);
  AddChild(form);
  WarnTransfer(form, fileName, report);
  return form;
}

void MainForm::WarnTransfer(QWidget* parent, const std::string& fileName, const TransferReport& report) {
  std::vector<std::string> notes = ReadNotes(report, fileName, false);
  if (const std::string uncarried = UncarriedMessage(report, fileName); !uncarried.empty()) notes.push_back(uncarried);
  std::string text;
  for (const std::string& note : notes) text += (text.empty() ? "" : "\n") + note;
  if (!text.empty()) platform_.dialogs.ShowWarning(parent, Utf8ToQString(text));
}

void MainForm::OpenStartupFiles(const QStringList& arguments) {
  if (!arguments.isEmpty()) {
    for (const QString& argument : arguments) OpenFile(ExpandFileName(QStringToFileName(argument)));
    return;
  }
  std::vector<std::string> files;
  for (const std::string& line : IniFile(ProgramSettingsFile()).ReadSectionValues("Lessons")) {
    std::string key, value;
    if (SplitIniLine(line, key, value) && !value.empty()) files.push_back(PathFromSettings(value));
  }
  for (auto it = files.rbegin(); it != files.rend(); ++it) OpenFile(*it);
}

void MainForm::DropFiles(const QList<QUrl>& urls) {
  for (const QUrl& url : urls)
    if (url.isLocalFile()) OpenFileLater(QStringToFileName(url.toLocalFile()));
}

bool MainForm::PreviewEvent(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // A key or click starts the next action: the last one's note goes.
  if (noteShown_ && (type == QEvent::ShortcutOverride || type == QEvent::KeyPress ||
                     type == QEvent::MouseButtonPress) && !IsModifierKey(event))
    ClearNote();
  if (type == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    // F1 in a dialog opens the dialog's own topic.
    if (key->key() == Qt::Key_F1 && key->modifiers() == Qt::NoModifier)
      if (auto* widget = qobject_cast<QWidget*>(watched); widget && !HelpTopicOf(widget->window()).isEmpty()) {
        ShowHelpTopic(widget->window(), HelpTopicOf(widget->window()));
        return true;
      }
    return IsUnusedAltKey(watched, key);
  }
  if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  auto* drop = static_cast<QDropEvent*>(event);
  if (!HasLocalFiles(drop->mimeData())) return false;
  // Files dropped anywhere on the window open as lessons.
  drop->setDropAction(Qt::CopyAction);
  drop->accept();
  if (type == QEvent::Drop) DropFiles(drop->mimeData()->urls());
  return true;
}

void MainForm::SaveAllLessons() {
  const QList<VocabEditForm*> windows = LessonWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->MenuSaveClick();
}

void MainForm::CloseAllLessons() {
  const QList<VocabEditForm*> windows = LessonWindows();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) (*it)->close();
}

void MainForm::MenuExitClick() { close(); }

void MainForm::RunFrameCommand(TFrameCommand command) {
  switch (command) {
    case TFrameCommand::New: NewChild(); break;
    case TFrameCommand::Open: OpenChild(); break;
    case TFrameCommand::Browse: MenuBrowseClick(); break;
    case TFrameCommand::Import: MenuImportClick(); break;
    case TFrameCommand::CloseAll: CloseAllLessons(); break;
    case TFrameCommand::SaveAll: SaveAllLessons(); break;
    case TFrameCommand::Exit: MenuExitClick(); break;
    case TFrameCommand::Charmap: MenuCharmapClick(); break;
    case TFrameCommand::SaveLanguage: MenuSaveLanguageClick(); break;
    case TFrameCommand::Concat: ConcatClick(); break;
    case TFrameCommand::Substitute: SubstLanguageClick(); break;
  }
}

void MainForm::FileUsed(const std::string& fileName) {
  recentFiles_->Add(fileName);
  KeepSetting([this] { recentFiles_->Write(); });
}

void MainForm::FillRecentFiles(QMenu* menu, QAction* before) { recentFiles_->FillMenu(menu, before); }

void MainForm::WorkSaved(const TChildForm* form) { autosave_->Forget(form); }

void MainForm::closeEvent(QCloseEvent* event) {
  // A warning still waiting tells what a lesson holds: before the questions.
  laterBoxes_->ShowAll();
  // Every child window, text windows too, may keep the program open.
  const QList<TChildForm*> windows = childWindows_->InChildOrder<TChildForm>();
  for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
    if (!(*it)->FormCloseQuery()) {
      event->ignore();
      return;
    }
  }
  event->accept();
  // Every window may close: saved, or its changes given up.
  autosave_->ForgetAll();
  CloseOwnedWindows();
  // Exit ends the program: no window left open or merely hidden keeps the
  // message loop running (and the settings unwritten).
  QCoreApplication::quit();
}

void MainForm::CloseOwnedWindows() {
  platform_.help.Close();
  findDlg_->close();
  // A dialog still running (the program ended by a signal) ends with Cancel.
  for (QDialog* dialog : std::initializer_list<QDialog*>{combineDlg_, charmapDlg_})
    if (dialog->isVisible()) dialog->reject();
  if (aboutBox_) aboutBox_->close();
}

void MainForm::SetLessonControlsEnabled(bool enabled) {
  for (QToolButton* button : {saveBtn_, printBtn_, cutBtn_, copyBtn_, pasteBtn_}) button->setEnabled(enabled);
  for (QToolButton* button : charButtons_) button->setEnabled(enabled);
  menuWindows_->menuAction()->setVisible(enabled);
}

void MainForm::CascadeClick() { childWindows_->Cascade(); }

void MainForm::TileVerticalClick() { childWindows_->Tile(Qt::Horizontal); }

void MainForm::TileHorizontalClick() { childWindows_->Tile(Qt::Vertical); }

void MainForm::ArrangeIconsClick() { childWindows_->ArrangeIcons(); }

void MainForm::UpdateWindowMenu() { childWindows_->UpdateWindowMenu(); }

void MainForm::RefreshMenuBar() {
  const std::vector<GroupedMenu<QMenu*>> frame = {{0, menuFile_}, {0, menuExtras_}, {8, menuWindows_}, {9, menuHelp_}};
  std::vector<GroupedMenu<QMenu*>> child;
  if (TChildForm* form = childWindows_->ActiveChild()) child = form->MenuGroups();
  menuBar()->clear();
  for (QMenu* menu : MergeMenus(frame, child)) menuBar()->addMenu(menu);
}

void MainForm::CharmapClick(int button) {
  if (button < 0 || button >= kCharButtons || charSet_[button].empty()) return;
  QMdiSubWindow* window = clientArea_->currentSubWindow();
  if (!window) return;
  InsertCharacter(window->focusWidget(), static_cast<unsigned char>(charSet_[button][0]));
}

}  // namespace vocatrix::ui

namespace vocatrix::ui {

void MainForm::OfferRecovery() { autosave_->OfferRecovery(); }

TChildForm* MainForm::RestoreWindow(const TLeftRecovery& recovery) {
  if (!recovery.Error.empty()) throw Exception(recovery.Error);
  const TRecoveryNote& note = recovery.Note;
  TChildForm* form = nullptr;
  if (note.Kind == TRecoveryNote::kLessonWindow) {
    // The lesson exactly as the window held it: not compacted again. A
    // lesson no lesson file could hold was kept in the wide form.
    std::unique_ptr<TMeanCollection> lesson;
    if (recovery.DataFile().ends_with(".tavw")) {
      lesson = std::make_unique<TMeanCollection>();
      DecodeWideBinary(*lesson, ReadWholeFile(recovery.DataFile()), recovery.DataFile());
    } else {
      lesson = TMeanCollection::CreateFromFile(recovery.DataFile());
    }
    // A window that start-up opened from the file shows an older state.
    if (!note.FileName.empty())
      for (VocabEditForm* open : LessonWindows())
        if (open->FileName() == note.FileName && !open->HasUnsavedChanges()) {
          open->close();
          delete open;
        }
    auto* lessonForm = new VocabEditForm(*this);
    lessonForm->Recover(std::move(lesson), note);
    form = lessonForm;
  } else {
    auto* textForm = new TEditForm(*this);
    textForm->Recover(QString::fromStdString(ReadWholeFile(recovery.DataFile())), note);
    form = textForm;
  }
  AddChild(form);
  return form;
}

}  // namespace vocatrix::ui
