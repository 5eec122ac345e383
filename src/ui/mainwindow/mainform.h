// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the frame that holds the lesson editor windows, with the
// tool bar and its nine character buttons, the status bar with its progress
// bar, the interface language and the commands not bound to one lesson.
// TChildWindows (childwindows.h) places, lists and arranges the child
// windows; the handlers here hand that work to it.
//
// mainform.cpp           creation, tool bar, status bar, menus, settings,
//                        help, printing, combining, character buttons
// mainform_windows.cpp   commands on child windows: new, open, import, drop,
//                        save all, close all, exit, menu merging, recovery
// mainform_language.cpp  the interface language and the translators' file

#include <QList>
#include <QMainWindow>
#include <QPointer>
#include <QPixmap>
#include <QStringList>
#include <QUrl>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/lastfolders.h"
#include "files/lessonformats.h"
#include "recovery/recovery.h"
#include "ui/language/multilanguage.h"
#include "ui/mainwindow/windowhost.h"
#include "ui/language/textproperties.h"
#include "ui/platform/platform.h"

class QAction;
class QActionGroup;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QPrinter;
class QProgressBar;
class QTextDocument;
class QToolButton;
class QTimer;
class QTranslator;

namespace vocatrix {
class TCompoStatusBar;
}

namespace vocatrix::ui {

class VocabEditForm;
class TChildForm;
class TEditForm;
class TCombiLessonsDlg;
class TAboutBaseBox;
class TCharmapDlg;
class TFindDlg;
class TLaterBoxes;
class TAutosave;
class TChildWindows;
class TRecentFiles;

class MainForm : public QMainWindow, public TWindowHost {
  Q_OBJECT
 public:
  static constexpr const char* kProductName = "Vocatrix";
  static constexpr const char* kVersion = "1.14";
  static constexpr int kCharButtons = 9;

  // Reads the character set, the interface language and the language list
  // from the settings and installs the private fonts (FormCreate).
  explicit MainForm(const Platform& platform, QWidget* parent = nullptr);
  // Writes the character set, the language and the open lessons back, and
  // removes the private fonts (FormDestroy).
  ~MainForm() override;

  Platform& Services() override { return platform_; }
  // A box that only informs, shown once the current event has returned: for
  // code that runs inside a widget's change signal.
  void InformLater(QWidget* parent, MessageKind kind, const QString& text) override;

  // --- Interface language ---
  const std::string& Language() const { return language_; }
  // The interface language of a first start: the user's locale's when it
  // has a file, else English.
  static std::string FirstLanguage();
  // The lines "key=value" of section "Languages" (values not empty).
  const std::vector<std::string>& Languages() const { return languages_; }
  std::string LanguageOfTag(int tag) const;
  void SetLanguage(const std::string& name);
  void MenuLanguageClick(int tag);
  // Appends one radio item per language to a language submenu.
  void AddLanguageItems(QMenu* menu, QActionGroup* group) override;
  const std::string& HelpFile() const { return helpFile_; }
  TMultiLanguage& MultiLanguage() { return multiLanguage_; }
  // Writes the texts of all windows to "Language.ini" in the settings folder.
  void MenuSaveLanguageClick();

  // --- About box ---
  // The box made at start-up, before the main window; null in tests that
  // do without it.
  void SetAboutBox(TAboutBaseBox* box) { aboutBox_ = box; }
  TAboutBaseBox* AboutBox() const { return aboutBox_; }
  // The about box, modal, with its OK button.
  void MenuAboutClick();
  // While the splash screen shows, an activated window brings it to the front.
  void RaiseAboutBox();
  void ChildActivated() override { RaiseAboutBox(); }

  // --- Help ---
  void MenuTopicsClick();
  void ShowHelpTopic(const char* topic);
  // The help at `topic`, placed over the window `over` (a dialog asking for its own).
  void ShowHelpTopic(QWidget* over, const QString& topic);
  void MenuHomepageClick();

  // --- Status bar ---
  int StatusState() const override { return statusState_; }
  // `detail`, when given, replaces the state's own text in the second panel.
  void SetStatus(int state, const QString& detail = {}) override;
  // A note on what the last command did or why it did nothing. The next key
  // or click, another window becoming active, or its window closing clears it.
  void ShowNote(const QString& note) override;
  // Puts the captions' marks of unsaved changes and the Save button in step
  // with the windows; runs whenever the program waits for input.
  void UpdateWindowStates();
  // Says in the status bar, the first time it is called while the settings
  // file cannot be written, that the settings will not be kept; true then.
  bool ReportUnwritableSettings();
  QProgressBar* ProgressBar() const override { return progressBar_; }
  TCompoStatusBar* StatusBar() const { return statusBar_; }

  // Prints the active lesson editor window's lesson.
  void PrintBtnClick();

  // --- Character buttons ---
  void SetCharSet(const std::string& text);
  // The user's new set of the buttons, kept in the settings at once.
  void ChangeCharSet(const std::string& text);
  // The buttons' characters in order; an empty button between full ones is
  // code 0 and keeps its place, empty buttons at the end add nothing.
  std::string GetCharSet() const;
  void CharmapClick(int button);  // 0 to 8
  QWidget* SpeedPanel() const { return speedPanel_; }
  QFont SpeedPanelFont() const;
  // The special-characters dialog, modal.
  void MenuCharmapClick();
  TCharmapDlg* CharmapDlg() const { return charmapDlg_; }
  // The find dialog, shared by the lesson editor windows.
  TFindDlg* FindDlg() const override { return findDlg_; }

  // --- Combining ---
  // Concatenation (0) or substitution (1) of two open lessons in the combine
  // dialog; on OK the result opens in a new window.
  void CombineLessons(int mode);
  void ConcatClick() { CombineLessons(0); }
  void SubstLanguageClick() { CombineLessons(1); }
  TCombiLessonsDlg* CombineDlg() const { return combineDlg_; }

  // --- Child windows ---
  QMdiArea* ClientArea() const { return clientArea_; }
  // The lesson editor windows in child order: index 0 is the active one.
  QList<VocabEditForm*> LessonWindows() const;
  VocabEditForm* ActiveEditForm() const;
  VocabEditForm* NewChild();
  void OpenChild();
  // Opens a file in a new window; reports any error and discards the window.
  // Returns the window, or null.
  VocabEditForm* OpenFile(const std::string& fileName);
  // As OpenFile, a large lesson file read by a worker while the window
  // answers; `opened` learns whether a window opened.
  void OpenFileLater(const std::string& fileName, std::function<void(bool)> opened = {});
  // File > Import: a KVTML, CSV or TSV file as a new, unnamed lesson.
  void MenuImportClick();
  // Reads an exchange file into a new window, compacted as lesson text is;
  // reports what the lesson could not hold, and any error. The window, or null.
  VocabEditForm* ImportFile(const std::string& fileName);
  // Tells the user what a read or written exchange file could not carry.
  void WarnTransfer(QWidget* parent, const std::string& fileName, const TransferReport& report) override;
  void OpenStartupFiles(const QStringList& arguments);
  void DropFiles(const QList<QUrl>& urls);
  void SaveAllLessons();
  void CloseAllLessons();
  void MenuExitClick();
  // Enables or disables the buttons that act on a lesson window and shows
  // or hides the Window menu.
  void SetLessonControlsEnabled(bool enabled);
  // Called by a lesson editor window as it closes.
  void LessonWindowClosed(VocabEditForm* form);

  // The lessons opened or saved last, listed in the File menus.
  TRecentFiles& RecentFiles() const { return *recentFiles_; }
  void FileUsed(const std::string& fileName) override;
  void FillRecentFiles(QMenu* menu, QAction* before) override;
  // The frame's commands in a child window's menus.
  void RunFrameCommand(TFrameCommand command) override;

  // --- Autosave and recovery ---
  TAutosave& Autosave() const { return *autosave_; }
  void WorkSaved(const TChildForm* form) override;
  // Offers the unsaved work a crash left behind (start-up).
  void OfferRecovery();
  // Opens a left-over recovery as a modified window under its original
  // file name; an unmodified window of that file gives way to it. Raises
  // the error when it cannot be read.
  TChildForm* RestoreWindow(const TLeftRecovery& recovery);

  // --- Window arrangement ---
  void CascadeClick();
  void TileVerticalClick();    // side by side
  void TileHorizontalClick();  // one below the other
  void ArrangeIconsClick();

  // The name of the next child window of a kind: "VocabEditForm", then
  // "VocabEditForm_1", ... (the first one no open window carries).
  QString NewChildName(const QString& base = "VocabEditForm") const override;
  // Called by a child window as it closes: the last one disables the lesson
  // buttons and hides the Window menu.
  void ChildClosing(TChildForm* form) override;
  // True (after a warning naming the file) when the file exists and may not
  // be written.
  bool IsReadOnly(QWidget* parent, const std::string& fileName) override;
  // Tells the user which characters were stored as "?" (once the current
  // event has returned: storing the controls runs inside change signals).
  void WarnRejectedCharacters(QWidget* parent, const QString& rejected) override;
  // Names the words (Windows-1252) that lesson text cannot carry (later, as
  // above: the tab strip's change signal fills the Text page).
  void WarnUncarriedWords(QWidget* parent, const std::vector<std::string>& words) override;
  // The print dialog, after a warning when no printer is installed.
  // Printed to a file, the dialog offers `documentFile`'s own name and
  // folder with ".pdf" (when it has a file).
  bool ChoosePrinter(QWidget* parent, QPrinter& printer, const std::string& documentFile = {}) override;
  // Prints a text page by page with the wait cursor and the status bar's
  // progress; errors are shown.
  void PrintText(QWidget* parent, const QTextDocument& document, QPrinter& printer) override;

  // --- Text windows and the lesson browser ---
  TEditForm* NewTextWindow();
  // A catalogue of the lessons in the folders below the one of a chosen
  // file, in a new text window.
  void MenuBrowseClick();

  // --- Menus ---
  // Builds the menu bar from the frame's menus and the active window's.
  void RefreshMenuBar();
  // Lists the child windows in the Window menu, the active one checked.
  void UpdateWindowMenu();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // The window of a file: a lesson file as read (`lesson`, or the `failure`
  // reading it), other files read here; any error reported. Null on one.
  VocabEditForm* OpenRead(const std::string& fileName, std::unique_ptr<TMeanCollection> lesson,
                          const std::exception_ptr& failure);
  // Exit: the help window, the find dialog, the about box and any dialog
  // still running close with the frame.
  void CloseOwnedWindows();
  void CreateToolBar(QWidget* parent);
  void CreateStatusBar();
  void CreateMenus();
  void ReadSettings();
  void WriteSettings();
  // Writes a setting the user changed at once, through the safe save, so
  // that a crash loses none of them; the status bar says once when the file
  // cannot be written. Exit writes them all again.
  void KeepSetting(const std::function<void()>& write);
  void KeepSetting(const std::string& section, const std::string& key, const std::string& value);
  void InstallFonts(int mode);
  void PaintClientBackground();
  void FormResize();
  void CheckLanguageItems(QActionGroup* group) const;
  // Puts a new child window into the frame and makes it active.
  void AddChild(TChildForm* form);
  bool PreviewEvent(QObject* watched, QEvent* event);
  void ClearNote();
  // An open dialog of `request` starting in the folder last used for
  // `kind`; the file chosen, whose folder is then the last one used.
  std::optional<std::string> ChooseFile(TFolderKind kind, FileDialogRequest request);
  void ApplyQtTranslation(const std::string& name);
  // Appends `note` to the help items' captions, in place of the one
  // appended before.
  void NoteHelpLanguage(const QString& note);

  Platform platform_;
  TLaterBoxes* laterBoxes_ = nullptr;
  TAutosave* autosave_ = nullptr;
  TRecentFiles* recentFiles_ = nullptr;
  TMultiLanguage multiLanguage_;
  std::unique_ptr<QTranslator> qtTranslator_;
  TFileDialogTexts* openFileDialog_ = nullptr;
  TFileDialogTexts* importFileDialog_ = nullptr;
  TCombiLessonsDlg* combineDlg_ = nullptr;
  TAboutBaseBox* aboutBox_ = nullptr;
  TCharmapDlg* charmapDlg_ = nullptr;
  TFindDlg* findDlg_ = nullptr;
  std::string language_;
  std::vector<std::string> languages_;
  std::string helpFile_;
  int statusState_ = kStatusIdle;
  // The note shown and the window that was active then.
  bool noteShown_ = false;
  QPointer<QMdiSubWindow> noteWindow_;
  bool settingsReported_ = false;
  std::vector<QString> installedFonts_;
  QPixmap background_;

  QMdiArea* clientArea_ = nullptr;
  TChildWindows* childWindows_ = nullptr;
  TCompoStatusBar* statusBar_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QWidget* speedPanel_ = nullptr;
  QToolButton* saveBtn_ = nullptr;
  QToolButton* printBtn_ = nullptr;
  QToolButton* cutBtn_ = nullptr;
  QToolButton* copyBtn_ = nullptr;
  QToolButton* pasteBtn_ = nullptr;
  QToolButton* charButtons_[kCharButtons] = {};
  std::string charSet_[kCharButtons];

  QMenu* menuFile_ = nullptr;
  QMenu* menuExtras_ = nullptr;
  QMenu* menuLanguage_ = nullptr;
  QMenu* menuWindows_ = nullptr;
  QMenu* menuHelp_ = nullptr;
  QActionGroup* languageGroup_ = nullptr;
  QAction* menuTips_ = nullptr;
  QAction* menuHolly_ = nullptr;
  QAction* n3_ = nullptr;
  // The items that open the help, and what their captions carry about its language.
  QList<QAction*> helpItems_;
  QString helpNote_;
  QObject* preview_ = nullptr;
  // Where the frame stands is kept a moment after it last moved.
  QTimer* geometryTimer_ = nullptr;
  bool destroying_ = false;
};


}  // namespace vocatrix::ui
