// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lesson editor window: one lesson document on the pages Header,
// Entries, Text and Table, inside the frame of its host (the main window).
//
// The document (document/lessondocument.h) owns the lesson, its file, its
// undo history and whether it holds unsaved changes; the pages observe it
// and each owns its controls (lessonpage.h). The window changes pages,
// stores what their controls hold before every command, and keeps the
// handler names the lesson window has as thin entry points. The pages'
// controls are reachable on the window under their names
// (form->MemoSynonyms).
//
// vocabeditform.cpp        creation, layout, pages, showing and storing,
//                          the commands, find, undo and redo
// vocabeditform_files.cpp  open, save, save as, export, close, recovery
// lessonmenus.h            the window's menus and edit commands
// lessonfind.h             finding a word of the lesson
// ui/spelling/lessonspelling.h  the spellers and the spelling dialog

#include <QPointer>
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/font.h"
#include "base/lastfolders.h"
#include "document/lessondocument.h"
#include "ui/lessonwindow/entriespage.h"
#include "ui/lessonwindow/headerpage.h"
#include "ui/lessonwindow/lessonpage.h"
#include "ui/mainwindow/childform.h"
#include "ui/platform/platform.h"

class QActionGroup;
class QKeyEvent;
class QMenu;
class QPlainTextEdit;
class QPoint;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace vocatrix::ui {

class PracticeForm;
class TFileDialogTexts;
class TLessonFinder;
class TLessonMenus;
class TLessonSpelling;
class TMemoText;
class TMemoryGameForm;
class TSpellingDlg;
class TCheckLessonDlg;
class TTablePage;
class TTextPage;
class TWindowHost;

class VocabEditForm : public TChildForm, public TPageHost, public THeaderControls, public TEntriesControls {
  Q_OBJECT
 public:
  static constexpr int kHeaderPage = TLessonPage::kHeaderPage;
  static constexpr int kEntriesPage = TLessonPage::kEntriesPage;
  static constexpr int kTextPage = TLessonPage::kTextPage;
  static constexpr int kTablePage = TLessonPage::kTablePage;
  static constexpr int kClientWidth = 320;
  static constexpr int kClientHeight = 265;
  static constexpr int kPageHeight = 249;
  static constexpr int kMaxEntries = TMeanCollection::kMaxEntries;

  // A window on the Header page with a new lesson (one blank entry), or
  // with the given document (a lesson read from its file, say).
  explicit VocabEditForm(TWindowHost& host, std::unique_ptr<TLessonDocument> document = nullptr);
  ~VocabEditForm() override;

  TWindowHost& Host() const { return host_; }
  TLessonDocument& Document() override { return *document_; }
  const TLessonDocument& Document() const { return *document_; }
  TMeanCollection& Lesson() const { return document_->Lesson(); }
  // Takes over another lesson (a combine result, an imported file), unsaved;
  // one without entries gets a blank entry. Shows its first entry.
  void SetLesson(std::unique_ptr<TMeanCollection> lesson);
  const std::string& FileName() const { return document_->FileName(); }
  int EntryIndex() const { return document_->Entry(); }
  bool ControlsChanged() const { return controlsChanged_; }
  int FixedWidth() const { return fixedWidth_; }
  int FixedHeight() const { return fixedHeight_; }
  int CurrentPage() const override { return shownPage_; }
  TLessonPage& ShownPage() const { return *pages_[static_cast<std::size_t>(shownPage_)]; }

  // --- Showing and storing ---
  // Stores what the controls of every page hold, as one step.
  void StoreControls() override;
  // Shows the whole lesson again on every page.
  void ShowLesson();
  // The font drop-down of a language (1 or 2) opens the font dialog instead of a list.
  void ComboFontDropDown(int language);
  // The change notification of the header edits, word memos and form list.
  void Change(QObject* sender) override;
  // Tells the document whether a page holds edits not yet stored.
  void EditsChanged() override;

  // --- Pages ---
  // Changes the page through the tab strip, asking TabSetChange first.
  void SelectTab(int index) override;
  // Whether the page may change to `newTab`: the page shown may refuse.
  bool TabSetChange(int newTab);
  bool LeaveOwnText(int page) override;
  void SetTextMargins();

  // --- Text page ---
  static TFont MemoFont();
  bool MemoTextKeyDown(QKeyEvent* event);
  void MenuPrintClick();
  void CompleteText();
  bool TextFilling() const;

  // --- Table page ---
  void TableDeleteClick();
  void TableSortLessonClick(int column);
  // Shows entry `entry` on the Entries page.
  void TableOpenEntry(int entry);

  // --- Navigation and entry commands ---
  void ScrollBarScroll(ScrollCode code, int position) { entries_->ScrollBarScroll(code, position); }
  void EditEntryNrChange() { entries_->EditEntryNrChange(); }
  void EditEntryExit() { entries_->EditEntryExit(); }
  // The window's preview of every key; true when the key was used.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers) { return ShownPage().KeyDown(key, modifiers); }
  // False when the lesson is full.
  bool ButtonInsertClick() { return entries_->InsertEntryClick(); }
  void ButtonDeleteClick() { entries_->DeleteEntryClick(); }
  void ButtonMirrorClick() { entries_->MirrorEntryClick(); }
  void ButtonCopyClick() { entries_->CopyEntryClick(); }
  void CompactClick();
  // Mirrors the lesson; on the Text page its text.
  void MirrorClick();
  // The frame's combine command, concatenating or substituting.
  void ConcatClick();
  void SubstituteClick();
  // Shows again what another window's command changed in an entry this
  // lesson shares (after a concatenation); the history and the saved state
  // stay. Run when the window is activated; nothing while edits are not stored.
  void ShowSharedChanges();

  // --- File commands ---
  // Loads a text file into this new window; raises the error when that fails.
  void Open(const std::string& fileName);
  // Save and Save As; errors reach the caller.
  void Save();
  void SaveAs();
  // The menu commands: errors are shown. MenuSaveClick returns true when the
  // lesson is saved afterwards.
  bool MenuSaveClick();
  void MenuSaveAsClick();
  // File > Export: the lesson as it stands (the Text page read back first)
  // in an exchange format chosen by the name; the window's file and its
  // unsaved changes stay as they are. Errors are shown.
  void MenuExportClick();
  void Export(const std::string& fileName);
  // True (after a warning naming the file) when the file exists and may not be written.
  bool IsReadOnly(const std::string& fileName);
  // Whether the window may close; asks to save a modified lesson.
  bool FormCloseQuery() override;
  bool HasUnsavedChanges() const override { return document_->Modified(); }
  // A window without a lesson file named after the file its lesson came
  // from ("animals.kvtml (imported)").
  void SetSourceName(const std::string& fileName);
  // Names the window after its file, its source or as a new lesson, in the
  // interface language.
  void NameWindow();
  // Shows again what the window words in the interface language itself.
  void LanguageChanged();

  // --- Recovery ---
  // The lesson as a lesson file, with the texts of controls not yet stored
  // and the Text page's text when it holds edits not yet read back.
  std::optional<TRecoveryImage> RecoveryImage() const override;
  // Takes a lesson that autosave kept before a crash: under the original
  // file name, unsaved, at the entry and page it was at, with the stored
  // texts of its controls and of its Text page.
  void Recover(std::unique_ptr<TMeanCollection> lesson, const TRecoveryNote& note);

  // --- Edit commands (lessonmenus.h) ---
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  void Delete();
  void SelectAll();
  void UpdateEditMenu();

  // --- Find, undo and redo ---
  // Shows the find dialog; with text already there, "Find next" goes on.
  void MenuFindClick();
  // Finds the find dialog's text after (before) the place found last or the
  // shown entry: a word of the lesson, shown and selected on the Entries
  // page, or on the Text page in its text. True when found.
  bool FindNext(bool backward);
  // A focused edit or memo undoes its own typing first, then the page; then
  // the lesson's history takes a step back or does it again.
  void UndoClick();
  void RedoClick();
  const TLessonHistory& History() const { return document_->History(); }

  // --- Spelling (ui/spelling/lessonspelling.h) ---
  std::shared_ptr<const TLessonSpeller> Speller();
  std::shared_ptr<const TLessonSpeller> TextSpeller(const std::string& name1, const std::string& name2) override;
  QMenu* ContextMenuOf(QPlainTextEdit* memo, const QPoint& at);
  void MenuCheckSpellingClick();
  TSpellingDlg* SpellingDlg() const;
  // Whether dictionaries are loading for the window (its underlines follow).
  bool LoadingDictionaries() const;

  // --- Practice (ui/practice/practiceform.h) ---
  // Extras > Practise: the practice window of this lesson, made on first use.
  void MenuPractiseClick();
  PracticeForm* Practice() const;
  // --- Check Lesson (ui/lessoncheck/checklessondlg.h) ---
  void MenuCheckLessonClick();
  TCheckLessonDlg* CheckLessonDlg() const { return checkLesson_; }
  // --- The memory game (ui/memorygame/memorygameform.h), a window of this one ---
  void MenuMemoryGameClick();
  TMemoryGameForm* MemoryGame() const { return memoryGame_; }

  // --- Menus ---
  std::vector<GroupedMenu<QMenu*>> MenuGroups() const override;
  QActionGroup* LanguageItems() const;

  // The dialog filters of the gateway of formats: open and save as of
  // lesson files, import and export of exchange files.
  static QString OpenFilter();
  static QString SaveFilter();
  static QString ExchangeFilter();

  // TPageHost
  TWindowHost& Frame() override { return host_; }
  QWidget* Window() override { return this; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  class Observer;
  void ShowPage(int page);
  void TabSetClick(int index);
  void ApplyPageSize();
  void UpdateFixedSize();
  // Grows the window at its fixed size to the client size the page wants,
  // as far as the frame's area holds it from where the window stands.
  void GrowFor(const TLessonPage& page);
  void UndoRedo(bool redo);
  void FormClose();
  // The window's file and, from its name without folder, its caption.
  void SetFileName(const std::string& fileName);
  // A save dialog's request for a file of `kind` starting at `fileName`; a
  // lesson without a file starts in the folder last used for the kind, under
  // its title.
  FileDialogRequest SaveRequest(const TFileDialogTexts& dialog, TFolderKind kind, const std::string& fileName,
                                int filterIndex, const QString& defaultExtension) const;
  // Sees the key and focus events of the window's controls before they do.
  bool PreviewEvent(QObject* watched, QEvent* event);

  TWindowHost& host_;
  std::unique_ptr<TLessonDocument> document_;
  std::unique_ptr<Observer> observer_;
  std::unique_ptr<TLessonFinder> finder_;
  // The imported file a window without a file of its own was read from.
  std::string sourceName_;
  bool controlsChanged_ = false;
  // Autosave said once that the lesson holds a text no lesson file can hold.
  mutable bool oversizeNoted_ = false;
  int fixedWidth_ = 0;
  int fixedHeight_ = 0;
  int shownPage_ = kHeaderPage;
  // The window itself changes the page (SelectTab), not the user.
  bool selectingTab_ = false;
  QObject* preview_ = nullptr;
  THeaderPage* header_ = nullptr;
  TEntriesPage* entries_ = nullptr;
  TTextPage* text_ = nullptr;
  TTablePage* table_ = nullptr;
  std::vector<TLessonPage*> pages_;
  TLessonMenus* menus_ = nullptr;
  TLessonSpelling* spelling_ = nullptr;
  // Goes before the document it observes.
  QPointer<PracticeForm> practice_;
  TCheckLessonDlg* checkLesson_ = nullptr;  // made when first asked for
  TMemoryGameForm* memoryGame_ = nullptr;

 public:
  // Controls, named as in the window design; those of the Header and
  // Entries pages come with THeaderControls and TEntriesControls.
  QWidget* Client = nullptr;
  QStackedWidget* Pages = nullptr;
  QTabBar* TabSet = nullptr;
  TMemoText* MemoText = nullptr;
  QTableView* TableView = nullptr;
  QMenu* MemoPopUp = nullptr;
};

}  // namespace vocatrix::ui
