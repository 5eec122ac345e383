// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lesson editor window: one lesson on the pages Header, Entries, Text
// and Table, inside the main window's frame.
//
// The window holds the lesson, its file, the entry shown, whether the
// controls hold edits not yet stored, the undo history, what was found
// last, the menus, and the file and lesson commands. Each page is a widget
// of its own that owns its controls and their state:
//
// headerpage.h   THeaderPage: title, topic, author, picture, languages,
//                fonts and statistics
// entriespage.h  TEntriesPage: the four word lists, entry number, form,
//                entry buttons and scroll bar
// textpage.h     TTextPage: the lesson as lesson text, its stepwise fill,
//                typing fonts, text files and what autosave keeps of it
// tablepage.h    TTablePage: every entry as a row of a sortable, filtered
//                table view over the lesson
// pagecontrols.h the pages' controls as the window design places them
//
// The window's handlers (StoreControls, ShowLesson, ScrollBarScroll, ...)
// hand a page's work to the page that owns it. The pages' controls are
// reachable on the window under their names (form->MemoSynonyms).
//
// vocabeditform.cpp         creation, layout, showing and storing the
//                           lesson, changing pages, key preview
// vocabeditform_entries.cpp navigation between entries and the entry and
//                           lesson commands
// vocabeditform_files.cpp   open, save, save as, export, close, recovery
// vocabeditform_menu.cpp    the window's menus and the edit commands
// vocabeditform_text.cpp    the window's side of the Text page: converting,
//                           compiling, text files and printing
// vocabeditform_find.cpp    find, undo and redo
// vocabeditform_table.cpp   the window's side of the Table page: its edits,
//                           deletions and sorting of the lesson as commands
// vocabeditform_spelling.cpp the spellers of the lesson's languages, the
//                           underlines' context menu and Check spelling

#include "ui/mainwindow/childform.h"
#include <QString>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/font.h"
#include "model/lesson.h"
#include "operations/find.h"
#include "document/history.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/entriespage.h"
#include "ui/lessonwindow/headerpage.h"
#include "ui/mainwindow/menumerge.h"

class QAction;
class QPlainTextEdit;
class QPoint;
class QActionGroup;
class QKeyEvent;
class QMenu;
class QStackedWidget;
class QTabBar;
class QTableView;

namespace vocatrix {
class TLessonSpeller;
struct UnknownWord;
}  // namespace vocatrix

namespace vocatrix::ui {

class MainForm;
class TMemoText;
class TTablePage;
class TSpellingDlg;
class TTextPage;

// Scroll codes of the entry scroll bar.
enum class ScrollCode { LineUp, LineDown, PageUp, PageDown, Position, Track, Top, Bottom, EndScroll };

class VocabEditForm : public TChildForm, public THeaderControls, public TEntriesControls {
  Q_OBJECT
 public:
  enum Page : int { kHeaderPage = 0, kEntriesPage = 1, kTextPage = 2, kTablePage = 3 };
  static constexpr int kClientWidth = 320;
  static constexpr int kClientHeight = 265;
  static constexpr int kPageHeight = 249;
  // The Table page's six columns want more room: the window grows to this
  // client size when it changes to the page from its fixed size.
  static constexpr int kTableClientWidth = 600;
  static constexpr int kTableClientHeight = 360;
  static constexpr int kMaxEntries = TMeanCollection::kMaxEntries;

  // A window on the Header page with a new lesson (one blank entry), or
  // with a lesson read from the file `fileName` (ReadLessonFile).
  explicit VocabEditForm(MainForm* mainForm, std::unique_ptr<TMeanCollection> lesson = nullptr,
                         const std::string& fileName = {});
  ~VocabEditForm() override;

  MainForm* Main() const { return main_; }
  TMeanCollection& Lesson() const { return *lesson_; }
  // Takes over another lesson (a combine result); one without entries gets
  // a blank entry. Shows its first entry.
  void SetLesson(std::unique_ptr<TMeanCollection> lesson);
  const std::string& FileName() const { return fileName_; }
  int EntryIndex() const { return entryIndex_; }
  bool ControlsChanged() const { return controlsChanged_; }
  int FixedWidth() const { return fixedWidth_; }
  int FixedHeight() const { return fixedHeight_; }
  int CurrentPage() const;

  // --- Showing and storing ---
  void StoreControls();
  void ShowLesson();
  void ApplyFonts();
  // The font drop-down of a language (1 or 2) opens the font dialog instead of a list.
  void ComboFontDropDown(int language);
  // The change notification of the header edits, word memos and form list.
  void Change(QObject* sender);

  // --- Pages ---
  // Changes the page through the tab strip, asking TabSetChange first.
  void SelectTab(int index);
  // Whether the page may change to `newTab`; the Text page's conversion and
  // compilation take place here.
  bool TabSetChange(int newTab);
  void SetTextMargins();

  // --- Text page ---
  // The own font of the Text page's editor.
  static TFont MemoFont();
  // Writes the lesson onto the Text page as lesson text in the language fonts.
  void ConvertToText();
  // Reads the Text page back into the lesson; on a format error selects the
  // faulty line, shows the error in the status bar and returns false.
  bool CompileText();
  // The change notification of the Text page's editor.
  void MemoTextChange();
  // Chooses the font of the characters typed next; true when the key was
  // used up (typing over a selection).
  bool MemoTextKeyDown(QKeyEvent* event);
  // Prints the Text page, after the print dialog.
  void MenuPrintClick();
  // A long lesson fills the Text page in steps while the user already reads
  // it; this puts the rest in at once. Everything that edits or reads the
  // whole page calls it first, and so does any key, click or drop.
  void CompleteText();
  bool TextFilling() const;

  // --- Table page ---
  // Sets cell `column` of entry `entry` to `text`, as the Entries page
  // stores words, as a step of the history; false (with a beep) when the
  // text is no value of the cell.
  bool TableCellEdit(int entry, int column, const QString& text);
  // Deletes the entries of the selected rows, after asking, as one step; a
  // lesson keeps one (blank) entry.
  void TableDeleteClick();
  // Puts the lesson's entries in the order of the table sorted by `column`
  // (in the direction the view sorts it), as one step.
  void TableSortLessonClick(int column);
  // Shows entry `entry` on the Entries page.
  void TableOpenEntry(int entry);
  // The table's current row shows `entry`: the entry the window is at.
  void TableCurrentChanged(int entry);

  // --- Navigation and entry commands ---
  void ScrollBarScroll(ScrollCode code, int position);
  void EditEntryNrChange();
  void EditEntryExit();
  // The window's preview of every key; true when the key was used.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  // False when the lesson is full.
  bool ButtonInsertClick();
  void ButtonDeleteClick();
  void ButtonMirrorClick();
  void ButtonCopyClick();
  void CompactClick();
  void MirrorClick();
  // The main window's combine command, concatenating or substituting.
  void ConcatClick();
  void SubstituteClick();
  // Shows the lesson again after an operation outside the window changed it
  // (the entry number kept when it still exists); Modified stays as it was.
  void ShowChangedLesson();
  // Shows again what another window's command changed in an entry this
  // lesson shares (after a concatenation); Modified and the history stay.
  // Run when the window is activated; nothing while edits are not stored.
  void ShowSharedChanges();

  // --- File commands ---
  // A lesson file as a window shows it: compacted, with at least one entry.
  static std::unique_ptr<TMeanCollection> ReadLessonFile(const std::string& fileName);
  // Loads a file into this new window; raises the error when that fails.
  void Open(const std::string& fileName);
  // Save and Save As; errors reach the caller.
  void Save();
  void SaveAs();
  // The menu commands: errors are shown. MenuSaveClick returns true when the
  // lesson is saved afterwards.
  bool MenuSaveClick();
  void MenuSaveAsClick();
  // File > Export: the lesson as it stands (the Text page compiled first) in
  // an exchange format chosen by the name; the window's file and Modified
  // stay as they are. Errors are shown.
  void MenuExportClick();
  void Export(const std::string& fileName);
  // True (after a warning naming the file) when the file exists and may not be written.
  bool IsReadOnly(const std::string& fileName);
  // Whether the window may close; asks to save a modified lesson.
  bool FormCloseQuery() override;
  // The name a new lesson gives language 1 or 2, in the interface language.
  static std::string NewLanguageName(int language);
  // A modified lesson, or edits in the controls not yet stored.
  bool HasUnsavedChanges() const override;
  // A window without a lesson file named after the file its lesson came
  // from ("animals.kvtml (imported)").
  void SetSourceName(const std::string& fileName);
  // Names the window after its file, its source or as a new lesson, in the
  // interface language.
  void NameWindow();
  // Shows again what the window words in the interface language itself:
  // its name and the entry count.
  void LanguageChanged();

  // --- Recovery ---
  // The lesson as a lesson file, with the texts of controls not yet stored
  // and the Text page's text when it holds edits not yet compiled.
  std::optional<TRecoveryImage> RecoveryImage() const override;
  // Takes a lesson that autosave kept before a crash: under the original
  // file name, modified, at the entry and page it was at, with the stored
  // texts of its controls and of its Text page.
  void Recover(std::unique_ptr<TMeanCollection> lesson, const TRecoveryNote& note);

  // --- Edit commands ---
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
  // shown entry: on the Header and Entries pages a word of the lesson, which
  // is shown and selected; on the Text page in the text. The status bar says
  // when the search went round the lesson or found nothing. True when found.
  bool FindNext(bool backward);
  // A focused edit or memo undoes its own typing first; then the lesson's
  // history takes a command back or does it again.
  void UndoClick();
  void RedoClick();
  const TLessonHistory& History() const { return history_; }

  // --- Spelling ---
  // The spellers of the lesson's two languages, chosen from the
  // dictionaries (and the settings) by the names the Header page shows, and
  // again when the lesson shown or a finished edit changes one. A language
  // without a dictionary is not checked; the status bar says so once per
  // language name and program run.
  std::shared_ptr<const TLessonSpeller> Speller();
  // The spellers of the Text page's lines under a "Sp:" line naming two
  // languages: the Text page's words are checked in the languages its text
  // names (a text file shown there names its own).
  std::shared_ptr<const TLessonSpeller> TextSpeller(const std::string& name1, const std::string& name2);
  // The context menu of a word memo or of the Text page's editor at a point
  // of its viewport: over an underlined word, its suggestions (each replaces
  // it) and "Add to dictionary" above the editor's own items.
  QMenu* ContextMenuOf(QPlainTextEdit* memo, const QPoint& at);
  // Extras > Check spelling: the dialog listing every unknown word of the
  // lesson (the Text page is read back first, as leaving it does).
  void MenuCheckSpellingClick();
  TSpellingDlg* SpellingDlg() const { return spellingDlg_; }
  // Shows the entry of an unknown word on the Entries page, the edits of
  // the controls stored first.
  void ShowUnknownWord(const UnknownWord& word);

  // --- Menus ---
  std::vector<GroupedMenu<QMenu*>> MenuGroups() const override;
  QActionGroup* LanguageItems() const { return languageGroup_; }

  // The dialog filters of the gateway of formats: open and save as of
  // lesson files, import and export of exchange files.
  static QString OpenFilter();
  static QString SaveFilter();
  static QString ExchangeFilter();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateMenus();
  void ShowPage(int page);
  void ApplyPageSize();
  void UpdateFixedSize();
  // Grows the window at its fixed size to the Table page's size, as far as
  // the frame's area holds it from where the window stands.
  void GrowForTable();
  void FormClose();
  void TabSetClick(int index);
  // The focused control when it is one of the edits or word memos.
  QWidget* FocusedEditControl() const;
  void OpenTextFile(const std::string& fileName);
  void SaveTextFile();
  // The Text page's branch of MirrorClick.
  void MirrorText();
  // Shows the lesson after a command of the Table page and adds its step:
  // Modified then tells whether the command changed the lesson.
  void FinishTableCommand(const TLessonRecorder& recorder);
  // Shows the entry the table was at on the Entries page; Modified stays.
  void ShowTableEntry();
  // Adds the command recorded by `recorder` to the history; an edit stored
  // from the controls joins the step of the same entry visit.
  void Record(const TLessonRecorder& recorder, bool controlsEdit = false);
  void UndoRedo(bool redo);
  // "Delete Entry '3: house'?": the entry by its number and first word.
  QString DeleteEntryQuestion(int index) const;
  // Beeps and says in the status bar that the lesson cannot take another entry.
  void SayLessonFull();
  // Whether the focused control takes back (or does again) typing of its own.
  bool OwnUndo(QWidget* control, bool redo) const;
  bool FindInText(const QString& text, const TFindOptions& options, bool backward);
  void ShowFoundWord(const TWordPlace& place);
  // Shows a note (or nothing) in the main window's status bar.
  void FindNote(const QString& note);
  void NothingFound(const QString& text);
  // Tells the user which characters were stored as "?".
  void WarnRejectedCharacters(const QString& rejected);
  // Sees the key and focus events of the window's controls before they do.
  bool PreviewEvent(QObject* watched, QEvent* event);
  // The window's file and, from its name without folder, its caption.
  void SetFileName(const std::string& fileName);
  // Takes the opened lesson file's name and lesson, unmodified.
  void TakeOpenedLesson(const std::string& fileName, std::unique_ptr<TMeanCollection> lesson);
  // The language file's texts for a new lesson: its language names.
  void NameNewLanguages();
  // Underlines in the word memos and the right-click menus of the editors.
  void SetUpSpelling();
  // Chooses the spellers again when the language names the Header page
  // shows differ from those they were chosen for; with `load`, also the
  // first time.
  void FollowLanguageNames(bool load);

  MainForm* main_;
  std::unique_ptr<TMeanCollection> lesson_;
  std::string fileName_;
  // The imported file a window without a file of its own was read from.
  std::string sourceName_;
  int entryIndex_ = 0;
  bool controlsChanged_ = false;
  int fixedWidth_ = 0;
  int fixedHeight_ = 0;
  int shownPage_ = kHeaderPage;
  bool showing_ = false;
  QObject* preview_ = nullptr;
  THeaderPage* header_ = nullptr;
  TEntriesPage* entries_ = nullptr;
  TTextPage* text_ = nullptr;
  TTablePage* table_ = nullptr;
  TLessonHistory history_;
  // Commands inside another command are part of its step.
  int quietSteps_ = 0;
  // Counts entry visits: a new entry shown, a command, an undo.
  long visit_ = 0;
  int visitedEntry_ = -1;
  // The word found last, while the lesson has not changed since.
  std::optional<TWordPlace> lastFound_;
  // The spellers and the language names they were chosen for.
  std::shared_ptr<const TLessonSpeller> speller_;
  std::string spellerNames_[2];
  // Those of the language names of the Text page, the latest last.
  std::vector<std::pair<std::pair<std::string, std::string>, std::shared_ptr<const TLessonSpeller>>> textSpellers_;
  TSpellingDlg* spellingDlg_ = nullptr;

 public:
  // Controls, named as in the window design; those of the Header and
  // Entries pages come with THeaderControls and TEntriesControls.
  QWidget* Client = nullptr;
  QStackedWidget* Pages = nullptr;
  QTabBar* TabSet = nullptr;
  TMemoText* MemoText = nullptr;
  QTableView* TableView = nullptr;
  QMenu* MemoPopUp = nullptr;

 private:
  TFileDialogTexts* saveFileDialog_ = nullptr;
  TFileDialogTexts* exportFileDialog_ = nullptr;
  QMenu* menuFile_ = nullptr;
  QMenu* menuEdit_ = nullptr;
  QMenu* menuExtras_ = nullptr;
  QMenu* menuLanguage_ = nullptr;
  QActionGroup* languageGroup_ = nullptr;
  QAction* menuCut_ = nullptr;
  QAction* menuCopy_ = nullptr;
  QAction* menuPaste_ = nullptr;
  QAction* menuDelete_ = nullptr;
  QAction* menuUndo_ = nullptr;
  QAction* menuRedo_ = nullptr;
  QAction* popupCut_ = nullptr;
  QAction* popupCopy_ = nullptr;
  QAction* popupPaste_ = nullptr;
};

}  // namespace vocatrix::ui
