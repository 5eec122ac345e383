// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: layout, tool bar, status bar, menus, settings, help,
// printing, combining and the character buttons. The commands on child
// windows are in mainform_windows.cpp, the interface language in
// mainform_language.cpp.

#include "ui/mainwindow/mainform.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QFileInfo>
#include <QFrame>
#include <QScopeGuard>
#include <QTimer>
#include <QTranslator>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "components/compostatusbar.h"
#include "base/cp1252.h"
#include "base/font.h"
#include "base/inifile.h"
#include "base/messages.h"
#include "base/safesave.h"
#include "base/settings.h"
#include "ui/about/aboutbox.h"
#include "ui/recovery/autosave.h"
#include "ui/mainwindow/childwindows.h"
#include "ui/characters/charcompose.h"
#include "ui/characters/charmapdlg.h"
#include "ui/dialogs/finddlg.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/dialogs/combinedlg.h"
#include "ui/common/eventpreview.h"
#include "files/lessonfiles.h"
#include "files/lessontext.h"
#include "ui/textview/lessontextview.h"
#include "ui/textview/textprint.h"
#include "ui/language/textproperties.h"
#include "ui/common/menuitems.h"
#include "ui/mainwindow/recentfiles.h"
#include "ui/platform/laterboxes.h"
#include "ui/common/qtstrings.h"
#include "ui/lessonwindow/vocabeditform.h"

static void InitVocatrixResources() { Q_INIT_RESOURCE(vocatrix); }

namespace vocatrix::ui {
namespace {

// Æ æ Œ œ ` ´ ¸ ˆ ˜
const char kDefaultCharSet[] = "\xC6\xE6\x8C\x9C\x60\xB4\xB8\x88\x98";

// A character set is stored as it stands; blanks at its ends are kept by
// quoting it, since the settings file trims values.
std::string QuoteCharSet(const std::string& set) {
  if (!set.empty() && (set.front() == ' ' || set.back() == ' ' || set.front() == '"')) return '"' + set + '"';
  return set;
}

std::string UnquoteCharSet(const std::string& value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') return value.substr(1, value.size() - 2);
  return value;
}

QString ValueOfLine(const std::string& line) {
  std::string key, value;
  SplitIniLine(line, key, value);
  return ToQString(value);
}

}  // namespace

MainForm::MainForm(const Platform& platform, QWidget* parent) : QMainWindow(parent), platform_(platform) {
  InitVocatrixResources();
  laterBoxes_ = new TLaterBoxes(platform_.dialogs, this);
  // A file that is gone or no lesson any more leaves the list once that is known.
  recentFiles_ = new TRecentFiles(this, [this](const std::string& file) {
    OpenFileLater(file, [this, file](bool opened) {
      if (!opened) recentFiles_->Remove(file);
    });
    return true;
  });
  setObjectName("MainForm");
  setWindowTitle(kProductName);
  QApplication::setWindowIcon(QIcon(":/vocatrix/icon.xpm"));
  setWindowIcon(QApplication::windowIcon());
  QFont font("Arial");
  font.setPixelSize(13);
  font.setBold(true);
  setFont(font);
  resize(605, 468);

  auto* central = new QWidget(this);
  central->setObjectName("ClientPanel");
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  CreateToolBar(central);
  clientArea_ = new QMdiArea(central);
  clientArea_->setObjectName("ClientArea");
  // A child window beyond the edge of the client area stays reachable.
  clientArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  clientArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  layout->addWidget(clientArea_, 1);
  setCentralWidget(central);
  CreateStatusBar();
  CreateMenus();
  childWindows_ = new TChildWindows(clientArea_, menuWindows_, this);
  connect(clientArea_, &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* window) {
    if (destroying_) return;
    RefreshMenuBar();
    // A note speaks of the window it was shown for.
    if (window && window != noteWindow_) ClearNote();
  });
  // The state the windows show is brought up to date whenever the program
  // waits for input, as many commands change it.
  connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, this,
          &MainForm::UpdateWindowStates);
  // The keys MDI users expect: close the active child window, and move to
  // the next or the previous one.
  const auto addKey = [this](const char* name, const QList<QKeySequence>& keys, auto slot) {
    auto* action = new QAction(this);
    action->setObjectName(name);
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, clientArea_, slot);
    addAction(action);
  };
  // The translator's template; its menu item stays hidden.
  auto* saveLanguageKey = new QAction(this);
  saveLanguageKey->setObjectName("KeySaveLanguage");
  saveLanguageKey->setShortcut(QKeySequence("Ctrl+Shift+F12"));
  connect(saveLanguageKey, &QAction::triggered, this, &MainForm::MenuSaveLanguageClick);
  addAction(saveLanguageKey);
  // The lesson browser; its menu items stay hidden.
  auto* browseKey = new QAction(this);
  browseKey->setObjectName("KeyBrowse");
  browseKey->setShortcut(QKeySequence("Ctrl+Shift+B"));
  connect(browseKey, &QAction::triggered, this, &MainForm::MenuBrowseClick);
  addAction(browseKey);
  addKey("KeyCloseChild", {QKeySequence("Ctrl+F4")}, &QMdiArea::closeActiveSubWindow);
  addKey("KeyNextChild", {QKeySequence("Ctrl+Tab")}, &QMdiArea::activateNextSubWindow);
  // One sequence only: the window system reports Ctrl+Shift+Tab so that it
  // matches both spellings, and two matches would make it ambiguous.
  addKey("KeyPreviousChild", {QKeySequence("Ctrl+Shift+Tab")}, &QMdiArea::activatePreviousSubWindow);

  // FormCreate
  SetStatus(kStatusIdle);
  setAcceptDrops(true);
  preview_ = new EventPreview(this, [this](QObject* watched, QEvent* event) { return PreviewEvent(watched, event); });
  qApp->installEventFilter(preview_);
  PaintClientBackground();
  const IniFile settings(ProgramSettingsFile());
  SetCharSet(UnquoteCharSet(settings.ReadString("Config", "CharSet", kDefaultCharSet)));
  // On the first start the language follows the user's locale.
  language_ = settings.ReadString("Config", "Language", FirstLanguage());
  // Where the frame stood at the last exit; Qt moves it onto a screen that
  // is there now.
  const std::string geometry = settings.ReadString("Window", "Geometry", "");
  if (!geometry.empty()) restoreGeometry(QByteArray::fromBase64(QByteArray::fromStdString(geometry)));
  recentFiles_->Read();
  geometryTimer_ = new QTimer(this);
  geometryTimer_->setSingleShot(true);
  geometryTimer_->setInterval(1000);
  connect(geometryTimer_, &QTimer::timeout, this,
          [this] { KeepSetting("Window", "Geometry", saveGeometry().toBase64().toStdString()); });
  InstallFonts(1);
  const IniFile languageList(ConfigPath("Config", "LanguageIni", ProgramSettingsFile()));
  for (const std::string& line : languageList.ReadSectionValues("Languages"))
    if (!ValueOfLine(line).isEmpty()) languages_.push_back(line);
  AddLanguageItems(menuLanguage_, languageGroup_);
  SetLessonControlsEnabled(false);
  RefreshMenuBar();
  combineDlg_ = new TCombiLessonsDlg(this);
  charmapDlg_ = new TCharmapDlg(this);
  findDlg_ = new TFindDlg(this);
  autosave_ = new TAutosave(this);
}

MainForm::~MainForm() {
  // FormDestroy: the lesson windows still exist here.
  destroying_ = true;
  // The client area outlives this destructor (QWidget deletes the children
  // later) and announces its windows' closing; nothing of MainForm may hear it.
  disconnect(clientArea_, nullptr, this, nullptr);
  qApp->removeEventFilter(preview_);
  try {
    WriteSettings();
  } catch (const std::exception& e) {
    qWarning("%s", e.what());
  }
  languages_.clear();
  InstallFonts(0);
}

void MainForm::CreateToolBar(QWidget* parent) {
  auto* bar = new QFrame(parent);
  bar->setObjectName("SpeedBar");
  bar->setFrameStyle(QFrame::Panel | QFrame::Raised);
  bar->setFixedHeight(33);
  parent->layout()->addWidget(bar);

  const auto makeButton = [](QWidget* owner, const char* name, int x, int y, const QString& hint,
                             const char* glyph) {
    auto* button = new QToolButton(owner);
    button->setObjectName(name);
    button->setGeometry(x, y, 25, 25);
    button->setFocusPolicy(Qt::NoFocus);
    if (glyph) {
      button->setIcon(QIcon(QString(":/vocatrix/") + glyph));
      button->setIconSize(QSize(16, 16));
    }
    if (!hint.isEmpty()) SetHint(button, hint);
    return button;
  };
  QToolButton* newBtn = makeButton(bar, "NewBtn", 7, 4, "Neu", "new.xpm");
  QToolButton* openBtn = makeButton(bar, "OpenBtn", 31, 4, "Öffnen|", "open.xpm");
  saveBtn_ = makeButton(bar, "SaveBtn", 55, 4, "Speichern|", "save.xpm");
  printBtn_ = makeButton(bar, "PrintBtn", 79, 4, "Drucken", "print.xpm");
  cutBtn_ = makeButton(bar, "CutBtn", 112, 4, "Ausschneiden|", "cut.xpm");
  copyBtn_ = makeButton(bar, "CopyBtn", 136, 4, "Kopieren|", "copy.xpm");
  pasteBtn_ = makeButton(bar, "PasteBtn", 160, 4, "Einfügen|", "paste.xpm");
  QToolButton* helpBtn = makeButton(bar, "HelpBtn", 416, 4, "Hilfe", "help.xpm");
  connect(helpBtn, &QToolButton::clicked, this, &MainForm::MenuTopicsClick);

  speedPanel_ = new QWidget(bar);
  speedPanel_->setObjectName("SpeedPanel");
  speedPanel_->setGeometry(192, 2, 217, 29);
  const char* names[kCharButtons] = {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5",
                                     "SpeedButton6", "SpeedButton7", "SpeedButton8", "SpeedButton9"};
  for (int i = 0; i < kCharButtons; ++i) {
    charButtons_[i] = makeButton(speedPanel_, names[i], 24 * i, 2, {}, nullptr);
    charButtons_[i]->setText(QString(QChar('A' + i)));
    charButtons_[i]->setEnabled(false);
    // The captions are the character set, not texts of a language.
    MarkAsData(charButtons_[i]);
    connect(charButtons_[i], &QToolButton::clicked, this, [this, i] { CharmapClick(i); });
  }

  connect(newBtn, &QToolButton::clicked, this, [this] { NewChild(); });
  connect(openBtn, &QToolButton::clicked, this, &MainForm::OpenChild);
  connect(saveBtn_, &QToolButton::clicked, this, [this] {
    if (VocabEditForm* form = ActiveEditForm()) form->MenuSaveClick();
  });
  connect(cutBtn_, &QToolButton::clicked, this, [this] {
    if (VocabEditForm* form = ActiveEditForm()) form->CutToClipboard();
  });
  connect(copyBtn_, &QToolButton::clicked, this, [this] {
    if (VocabEditForm* form = ActiveEditForm()) form->CopyToClipboard();
  });
  connect(pasteBtn_, &QToolButton::clicked, this, [this] {
    if (VocabEditForm* form = ActiveEditForm()) form->PasteFromClipboard();
  });
  connect(printBtn_, &QToolButton::clicked, this, &MainForm::PrintBtnClick);
}

void MainForm::CreateStatusBar() {
  statusBar_ = new TCompoStatusBar(this);
  statusBar_->setObjectName("StatusBar");
  QFont font("MS Sans Serif");
  font.setPixelSize(11);
  font.setBold(false);
  statusBar_->setFont(font);
  statusBar_->setFixedHeight(20);
  statusBar_->AddPanel(80, "Compiling");
  statusBar_->AddPanel(50);
  setStatusBar(statusBar_);
  progressBar_ = new QProgressBar(statusBar_);
  progressBar_->setObjectName("ProgressBar");
  progressBar_->setGeometry(86, 6, 216, 10);
  progressBar_->setRange(0, 100);
  progressBar_->setTextVisible(false);
  progressBar_->hide();
}

void MainForm::CreateMenus() {
  openFileDialog_ = new TFileDialogTexts(this, "OpenFileDialog", VocabEditForm::OpenFilter());
  importFileDialog_ =
      new TFileDialogTexts(this, "ImportFileDialog", QString::fromStdString(ImportDialogFilter()), "Importieren");
  menuFile_ = MakeMenu(this, "MenuFile", "&Datei");
  connect(AddItem(menuFile_, "MenuNew", "&Neu", QKeySequence("Ctrl+N")), &QAction::triggered, this,
          [this] { NewChild(); });
  connect(AddItem(menuFile_, "MenuOpen", "&Öffnen...", QKeySequence("Ctrl+O")), &QAction::triggered, this,
          &MainForm::OpenChild);
  QAction* browse = AddItem(menuFile_, "MenuBrowse", "&Browsen...");
  browse->setVisible(false);
  connect(browse, &QAction::triggered, this, &MainForm::MenuBrowseClick);
  connect(AddItem(menuFile_, "MenuImport", "&Importieren..."), &QAction::triggered, this, &MainForm::MenuImportClick);
  AddSeparator(menuFile_, "Separator3");
  QAction* exit = AddItem(menuFile_, "MenuExit", "&Beenden");
  connect(exit, &QAction::triggered, this, &MainForm::MenuExitClick);
  connect(menuFile_, &QMenu::aboutToShow, this, [this, exit] { recentFiles_->FillMenu(menuFile_, exit); });

  menuExtras_ = MakeMenu(this, "MenuExtras", "&Extras");
  connect(AddItem(menuExtras_, "MenuCharmap", "Sonder&zeichen..."), &QAction::triggered, this,
          &MainForm::MenuCharmapClick);
  menuLanguage_ = MakeMenu(this, "MenuLanguage", "S&prache");
  menuExtras_->addMenu(menuLanguage_);
  QAction* saveLanguage = AddItem(menuLanguage_, "MenuSaveLanguage", "&Speichern");
  saveLanguage->setVisible(false);
  connect(saveLanguage, &QAction::triggered, this, &MainForm::MenuSaveLanguageClick);
  languageGroup_ = new QActionGroup(this);
  languageGroup_->setExclusive(true);

  menuWindows_ = MakeMenu(this, "MenuWindows", "&Fenster");
  connect(AddItem(menuWindows_, "MenuCascade", "&Überlappend"), &QAction::triggered, this, &MainForm::CascadeClick);
  connect(AddItem(menuWindows_, "MenuTileVertical", "&Nebeneinander"), &QAction::triggered, this,
          &MainForm::TileVerticalClick);
  connect(AddItem(menuWindows_, "MenuTileHorizontal", "&Untereinander"), &QAction::triggered, this,
          &MainForm::TileHorizontalClick);
  connect(AddItem(menuWindows_, "MenuArrangeIcons", "&Symbole anordnen"), &QAction::triggered, this,
          &MainForm::ArrangeIconsClick);
  connect(menuWindows_, &QMenu::aboutToShow, this, &MainForm::UpdateWindowMenu);

  menuHelp_ = MakeMenu(this, "MenuHelp", "&Hilfe");
  const auto addTopic = [this](const char* name, const QString& caption, const char* topic,
                               const QKeySequence& key = {}) {
    QAction* item = AddItem(menuHelp_, name, caption, key);
    connect(item, &QAction::triggered, this, [this, topic] { ShowHelpTopic(topic); });
    return item;
  };
  helpItems_ = {addTopic("MenuTopics", "&Hilfethemen", "hc_Contents", QKeySequence(Qt::Key_F1)),
                addTopic("MenuSteps", "&Kurzanleitung", "hc_VocatrixSteps"),
                addTopic("MenuProducts", "&Mehr davon", "hc_Products")};
  AddSeparator(menuHelp_, "N2");
  menuTips_ = addTopic("MenuTips", "&Lerntips", "hc_LearnTips");
  menuHolly_ = addTopic("MenuHolly", "&Sprachferien", "hc_Schools");
  n3_ = AddSeparator(menuHelp_, "N3");
  connect(AddItem(menuHelp_, "MenuHomepage", "Homepage"), &QAction::triggered, this, &MainForm::MenuHomepageClick);
  connect(AddItem(menuHelp_, "MenuAbout", "Inf&o..."), &QAction::triggered, this, &MainForm::MenuAboutClick);
}

void MainForm::WriteSettings() {
  IniFile settings(ProgramSettingsFile());
  settings.WriteString("Config", "CharSet", QuoteCharSet(GetCharSet()));
  settings.WriteString("Config", "Language", language_);
  settings.WriteString("Window", "Geometry", saveGeometry().toBase64().toStdString());
  recentFiles_->Write();
  settings.EraseSection("Lessons");
  const QList<VocabEditForm*> windows = LessonWindows();
  for (qsizetype n = windows.size() - 1; n >= 0; --n)
    settings.WriteString("Lessons", "Lesson" + std::to_string(n + 1), windows[n]->FileName());
}

void MainForm::InstallFonts(int mode) {
  if (mode == 1) {
    for (const std::string& file : FontFilesToInstall()) {
      const QString path = FileNameToQString(file);
      if (platform_.fonts.AddFontFile(path)) installedFonts_.push_back(path);
    }
  } else {
    for (const QString& path : installedFonts_) platform_.fonts.RemoveFontFile(path);
    installedFonts_.clear();
  }
}

void MainForm::PaintClientBackground() {
  // The bitmap is tiled from the top left corner over the whole client area.
  background_ = QPixmap(":/vocatrix/background.xpm");
  clientArea_->setBackground(QBrush(background_));
}

void MainForm::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  FormResize();
  if (geometryTimer_ && isVisible()) geometryTimer_->start();
}

void MainForm::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  if (geometryTimer_ && isVisible()) geometryTimer_->start();
}

void MainForm::KeepSetting(const std::function<void()>& write) {
  try {
    write();
  } catch (const std::exception&) {
    ReportUnwritableSettings();
  }
}

void MainForm::KeepSetting(const std::string& section, const std::string& key, const std::string& value) {
  KeepSetting([&] { IniFile(ProgramSettingsFile()).WriteString(section, key, value); });
}

void MainForm::FormResize() { progressBar_->resize(std::max(0, width() - 100), progressBar_->height()); }

void MainForm::ShowHelpTopic(const char* topic) { ShowHelpTopic(this, topic); }

void MainForm::ShowHelpTopic(QWidget* over, const QString& topic) {
  platform_.help.ShowTopic(over, FileNameToQString(helpFile_), topic);
}

void MainForm::MenuTopicsClick() { ShowHelpTopic("hc_Contents"); }

void MainForm::MenuAboutClick() {
  if (!aboutBox_) return;
  // Asked for during the splash time: the splash ends now.
  if (aboutBox_->TimerSplashScreen->isActive()) aboutBox_->TimerSplashScreenTimer();
  aboutBox_->SetLayout(TAboutBaseBox::kAboutLayout);
  // Made before the main window, the box stands over it from now on: modal
  // to it, and not to the help window its link opens.
  if (!aboutBox_->parentWidget()) aboutBox_->setParent(this, aboutBox_->windowFlags());
  platform_.dialogs.Exec(*aboutBox_);
}

void MainForm::RaiseAboutBox() {
  if (aboutBox_ && aboutBox_->isVisible()) aboutBox_->raise();
}

void MainForm::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) RaiseAboutBox();
}

void MainForm::MenuHomepageClick() {
  const QUrl address = HomepageAddress(language_);
  if (!ShowHomepage(platform_, this, language_))
    platform_.dialogs.ShowError(
        this, Utf8ToQString(TranslateMessage("ErrWebPage", "The page %s cannot be opened.", {address.toString().toStdString()})));
}

bool MainForm::ReportUnwritableSettings() {
  if (settingsReported_ || SettingsWritable()) return false;
  settingsReported_ = true;
  SetStatus(kStatusIdle, Utf8ToQString(TranslateMessage("ErrSettingsWrite", "Settings cannot be saved in %s.",
                                                        {SettingsFolder() + ExtractFileName(ProgramSettingsFile())})));
  return true;
}

void MainForm::SetStatus(int state, const QString& detail) {
  statusState_ = state;
  noteShown_ = false;
  switch (state) {
    case kStatusError:
      progressBar_->hide();
      statusBar_->SetPanelText(0, Utf8ToQString(TranslateMessage("Error", "Error")));
      statusBar_->SetPanelText(1, Utf8ToQString(TranslateMessage("Errline", "Format error in selected line.")));
      break;
    case kStatusCompiling:
    case kStatusPrinting:
      progressBar_->show();
      statusBar_->SetPanelText(0, state == kStatusPrinting ? Utf8ToQString(TranslateMessage("Printing", "Printing"))
                                                           : Utf8ToQString(TranslateMessage("Compiling", "Compiling")));
      statusBar_->SetPanelText(1, {});
      progressBar_->setValue(progressBar_->minimum());
      // The work that follows does not return to the event loop before it
      // ends: the state word is painted now.
      if (statusBar_->isVisible()) statusBar_->repaint();
      break;
    default:
      progressBar_->hide();
      statusBar_->SetPanelText(0, {});
      statusBar_->SetPanelText(1, {});
      break;
  }
  if (!detail.isEmpty()) statusBar_->SetPanelText(1, detail);
}

void MainForm::ShowNote(const QString& note) {
  SetStatus(kStatusIdle, note);
  noteShown_ = true;
  noteWindow_ = clientArea_->currentSubWindow();
}

void MainForm::ClearNote() {
  if (noteShown_ && statusState_ == kStatusIdle) SetStatus(kStatusIdle);
}

void MainForm::UpdateWindowStates() {
  if (destroying_) return;
  bool marksChanged = false;
  for (QMdiSubWindow* window : clientArea_->subWindowList())
    if (auto* form = qobject_cast<TChildForm*>(window)) marksChanged |= form->UpdateModifiedMark();
  if (marksChanged) UpdateWindowMenu();
  // Save has something to do only for a lesson with unsaved changes.
  VocabEditForm* active = ActiveEditForm();
  saveBtn_->setEnabled(active && active->HasUnsavedChanges());
}

void MainForm::InformLater(QWidget* parent, MessageKind kind, const QString& text) {
  laterBoxes_->Post(parent, kind, text);
}

void MainForm::WarnRejectedCharacters(QWidget* parent, const QString& rejected) {
  InformLater(
      parent, MessageKind::Warning, Utf8ToQString(TranslateMessage("ErrCharacters",
                                             "These characters cannot be stored in a lesson and were replaced by "
                                             "\"?\": %s",
                                             {rejected.toStdString()})));
}

void MainForm::WarnUncarriedWords(QWidget* parent, const std::vector<std::string>& words) {
  InformLater(
      parent, MessageKind::Warning, Utf8ToQString(TranslateMessage("ErrTextCannotCarry",
                                             "Lesson text cannot carry these words; they are left out of the text "
                                             "or would read back changed: %s",
                                             {Cp1252ToUtf8(QuotedTextList(words))})));
}

bool MainForm::ChoosePrinter(QWidget* parent, QPrinter& printer, const std::string& documentFile) {
  // Without a printer the dialog still opens: printing to a PDF file is
  // what remains, and what many desktops use.
  const bool printers = platform_.dialogs.PrintersInstalled();
  if (!printers)
    platform_.dialogs.ShowWarning(parent, Utf8ToQString(TranslateMessage(
                                              "NoPrinter", "No printer is installed. You can still print to a PDF file.")));
  if (!documentFile.empty()) {
    const QString pdf = FileNameToQString(documentFile.substr(0, ExtensionStart(documentFile))) + ".pdf";
    // The dialog names a file after the document; with no printer to
    // choose, the file beside the document is the one offered.
    printer.setDocName(QFileInfo(pdf).fileName());
    if (!printers) printer.setOutputFileName(pdf);
  }
  return platform_.dialogs.ChoosePrinter(parent, printer);
}

void MainForm::PrintText(QWidget* parent, const QTextDocument& document, QPrinter& printer) {
  QString error;
  {
    // Long texts take a while: the wait cursor and the status bar's
    // progress bar show the pages as they are produced.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restore = qScopeGuard([this] {
      SetStatus(kStatusIdle);
      QApplication::restoreOverrideCursor();
    });
    SetStatus(kStatusPrinting);
    QProgressBar* bar = progressBar_;
    const LineProgress progress{[bar](int maximum) { bar->setRange(0, std::max(1, maximum)); },
                                [bar](int position) { bar->setValue(position); }};
    try {
      PrintDocument(document, printer, &progress);
    } catch (const std::exception& e) {
      error = Utf8ToQString(e.what());
    }
  }
  if (!error.isEmpty()) platform_.dialogs.ShowError(parent, error);
}

void MainForm::PrintBtnClick() {
  if (VocabEditForm* form = ActiveEditForm()) form->MenuPrintClick();
}

void MainForm::ChangeCharSet(const std::string& text) {
  SetCharSet(text);
  KeepSetting("Config", "CharSet", QuoteCharSet(GetCharSet()));
}

void MainForm::SetCharSet(const std::string& text) {
  for (int i = 0; i < kCharButtons; ++i) {
    const char c = i < static_cast<int>(text.size()) ? text[static_cast<std::size_t>(i)] : '\0';
    charSet_[i] = c ? std::string(1, c) : std::string();
    QString caption = c ? QString(CharOfCode(static_cast<unsigned char>(c))) : QString();
    charButtons_[i]->setText(caption.replace('&', "&&"));
  }
}

std::string MainForm::GetCharSet() const {
  // An empty button is code 0: kept between full buttons, so that the ones
  // after it keep their places when the set is read back.
  std::string set;
  for (const std::string& c : charSet_) set += c.empty() ? std::string(1, '\0') : c;
  while (!set.empty() && set.back() == '\0') set.pop_back();
  return set;
}

QFont MainForm::SpeedPanelFont() const { return charButtons_[0]->font(); }

void MainForm::MenuCharmapClick() {
  charmapDlg_->FormShow();
  platform_.dialogs.Exec(*charmapDlg_);
}

void MainForm::CombineLessons(int mode) {
  // Every open lesson holds what its window shows: a substitution compacts
  // the lessons it is given, and edits not yet stored would land in a
  // merged or removed entry.
  const QList<VocabEditForm*> windows = LessonWindows();
  for (VocabEditForm* form : windows) form->StoreControls();
  combineDlg_->SetMode(mode);
  combineDlg_->FormShow();
  const bool ok = platform_.dialogs.Exec(*combineDlg_) == QDialog::Accepted && combineDlg_->ResultLesson();
  if (!ok) return;
  auto* form = new VocabEditForm(*this);
  form->SetLesson(combineDlg_->TakeResult());
  AddChild(form);
}

}  // namespace vocatrix::ui
