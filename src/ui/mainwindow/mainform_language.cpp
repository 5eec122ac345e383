// SPDX-License-Identifier: GPL-3.0-or-later
// The interface language of the main window: the language menus, switching
// the language of every window and of Qt's own texts, and the template file
// for translators.

#include <QAction>
#include <QActionGroup>
#include <QLibraryInfo>
#include <QLocale>
#include <QMenu>
#include <QScopeGuard>
#include <QTranslator>
#include <cstdlib>

#include "base/inifile.h"
#include "base/languagenames.h"
#include "base/messages.h"
#include "base/safesave.h"
#include "base/settings.h"
#include "ui/lessoncheck/checklessondlg.h"
#include "ui/about/aboutbox.h"
#include "ui/common/qtstrings.h"
#include "ui/dialogs/fontdialog.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/dialogs/importdlg.h"
#include "ui/memorygame/memorygameform.h"
#include "ui/recovery/recoverydlg.h"
#include "ui/practice/practiceform.h"
#include "ui/spelling/spellingdlg.h"
#include "ui/language/textproperties.h"
#include "ui/lessonwindow/vocabeditform.h"
#include "ui/mainwindow/childwindows.h"
#include "ui/mainwindow/mainform.h"
#include "ui/textwindow/editform.h"

namespace vocatrix::ui {

std::string MainForm::LanguageOfTag(int tag) const {
  if (tag < 0 || tag >= static_cast<int>(languages_.size())) return {};
  std::string key, value;
  SplitIniLine(languages_[static_cast<std::size_t>(tag)], key, value);
  return value;
}

void MainForm::AddLanguageItems(QMenu* menu, QActionGroup* group) {
  for (int i = 0; i < static_cast<int>(languages_.size()); ++i) {
    QAction* item = menu->addAction(ToQString(LanguageOfTag(i)));
    item->setCheckable(true);
    item->setData(i);
    group->addAction(item);
    item->setChecked(LanguageOfTag(i) == language_);
    connect(item, &QAction::triggered, this, [this, i] { MenuLanguageClick(i); });
  }
}

void MainForm::CheckLanguageItems(QActionGroup* group) const {
  for (QAction* item : group->actions()) item->setChecked(LanguageOfTag(item->data().toInt()) == language_);
}

void MainForm::MenuLanguageClick(int tag) {
  SetLanguage(LanguageOfTag(tag));
  KeepSetting("Config", "Language", language_);
}

namespace {

// Whether a language file can give the interface its texts: it can be read
// and holds the sections of the main window or of the messages.
bool LanguageFileUsable(const std::string& fileName) {
  std::string data;
  if (!TryReadWholeFile(fileName, data)) return false;
  const IniFile file = IniFile::Load(fileName);
  return file.SectionExists("MainForm") || file.SectionExists("Dynamic");
}

}  // namespace

void MainForm::SetLanguage(const std::string& name) {
  language_ = name;
  // A language whose file is missing, empty or unreadable is shown in
  // English, windows and messages alike, rather than half in the language
  // shown before; the choice itself stays for when the file is mended.
  std::string shown = name;
  const std::string file = LanguageFileName(name);
  // A language the list names no file for resolves to the list's folder:
  // it has no texts of its own, which is no damage.
  const bool named = !file.empty() && file.back() != '/';
  const bool unusable = named && !LanguageFileUsable(file);
  if (unusable) shown = "English";
  SetCurrentLanguage(shown);
  if (aboutBox_) aboutBox_->SetAboutLanguage(shown);
  ApplyQtTranslation(shown);
  NoteHelpLanguage({});
  multiLanguage_.ReadLanguageFile(nullptr, LanguageFileName(shown));
  // A window without a file is named by a message of the language.
  for (VocabEditForm* form : LessonWindows()) form->LanguageChanged();
  for (TEditForm* form : childWindows_->TextWindows()) form->NameWindow();
  RefreshMenuBar();
  setWindowTitle(Utf8ToQString(Translate(shown, "Vocatrix", "Name", kProductName)));
  const bool german = shown == "Deutsch";
  helpFile_ = ProgramDataFolder() + (german ? "German.hlp" : "English.hlp");
  // The help is English and German only; the other languages say so where
  // it is opened.
  if (!german && shown != "English")
    NoteHelpLanguage(" " + Utf8ToQString(Translate(shown, "Dynamic", "HelpOnlyInEnglish", "(in English)")));
  // An open help window follows the language.
  platform_.help.FollowLanguage(FileNameToQString(helpFile_));
  menuTips_->setVisible(german);
  menuHolly_->setVisible(german);
  n3_->setVisible(german);
  // Every language menu shows the language now in use.
  CheckLanguageItems(languageGroup_);
  for (VocabEditForm* form : LessonWindows()) CheckLanguageItems(form->LanguageItems());
  SetStatus(statusState_);
  if (unusable)
    SetStatus(kStatusIdle, Utf8ToQString(TranslateMessage("ErrLanguageFile",
                                                          "The interface-language file %s cannot be read; the "
                                                          "interface is shown in English.",
                                                          {file})));
}

std::string MainForm::FirstLanguage() {
  // The locale of messages as the C library chooses it.
  for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
    if (const char* value = std::getenv(variable); value && *value) return InterfaceLanguageOfLocale(value);
  return InterfaceLanguageOfLocale(QLocale::system().name().toStdString());
}

void MainForm::NoteHelpLanguage(const QString& note) {
  for (QAction* item : helpItems_) {
    QString caption = item->text();
    if (!helpNote_.isEmpty() && caption.endsWith(helpNote_)) caption.chop(helpNote_.size());
    item->setText(caption + note);
  }
  helpNote_ = note;
}

void MainForm::ApplyQtTranslation(const std::string& name) {
  // Sizes, dates and numbers in the file and print dialogs as the language
  // writes them, not as the system's locale does.
  const LanguageRow* row = FindLanguage(name);
  const bool english = !row || row->Locale == "en";
  QLocale::setDefault(english ? QLocale(QLocale::English, QLocale::UnitedStates)
                              : QLocale(QString::fromLatin1(row->Locale.data(), row->Locale.size())));
  // Qt's own texts (message-box buttons, the file and print dialogs) from
  // Qt's translations; in English they are built in.
  if (qtTranslator_) {
    QCoreApplication::removeTranslator(qtTranslator_.get());
    qtTranslator_.reset();
  }
  if (english) return;
  auto translator = std::make_unique<QTranslator>();
  if (translator->load(QLocale(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(translator.get());
    qtTranslator_ = std::move(translator);
  }
}

void MainForm::MenuSaveLanguageClick() {
  try {
    // A template a translator needs nothing else for: the windows that are
    // not open now are made for the moment, in the language shown...
    std::vector<std::unique_ptr<QWidget>> absent;
    absent.push_back(std::make_unique<TFontDialog>(TFont{}));
    absent.push_back(std::make_unique<THelpWindow>());
    absent.push_back(std::make_unique<TRecoveryDlg>(nullptr, std::vector<TLeftRecovery>{}));
    absent.push_back(std::make_unique<TSpellingDlg>(nullptr));
    absent.push_back(std::make_unique<TMemoryGameForm>(nullptr, platform_, nullptr));
    absent.push_back(std::make_unique<PracticeForm>(nullptr));
    VocabEditForm* lessonWindow = LessonWindows().isEmpty() ? nullptr : LessonWindows().first();
    if (!lessonWindow) {
      auto made = std::make_unique<VocabEditForm>(*this);
      lessonWindow = made.get();
      absent.push_back(std::move(made));
    }
    // A dialog of a lesson window, gone before the windows made here.
    const auto checkLesson = std::make_unique<TCheckLessonDlg>(*lessonWindow);
    checkLesson->setAttribute(Qt::WA_DeleteOnClose, false);
    TranslateForm(checkLesson.get());
    if (childWindows_->TextWindows().isEmpty()) absent.push_back(std::make_unique<TEditForm>(*this));
    if (!aboutBox_) absent.push_back(std::make_unique<TAboutBox>(platform_));
    absent.push_back(std::make_unique<TImportDlg>(this, std::string(), std::string(), IniFile::Load(std::string())));
    for (const auto& window : absent) {
      window->setAttribute(Qt::WA_DeleteOnClose, false);
      TranslateForm(window.get());
    }
    const std::string fileName = SettingsFolder() + "Language.ini";
    // The help items' captions as the language file has them.
    const QString note = helpNote_;
    NoteHelpLanguage({});
    const auto restoreNote = qScopeGuard([this, note] { NoteHelpLanguage(note); });
    multiLanguage_.WriteLanguageFile(nullptr, fileName);
    // ...and the messages and the program's name, from the language's file
    // (English when it has none).
    std::string source = LanguageFileName(CurrentLanguage());
    if (source.empty() || !IniFile::Load(source).SectionExists("Dynamic")) source = LanguageFileName("English");
    const IniFile messages = IniFile::Load(source);
    IniFile file = IniFile::Edit(fileName);
    for (const char* section : {"Dynamic", "Vocatrix"}) {
      std::string key, value;
      for (const std::string& line : messages.ReadSectionValues(section))
        if (SplitIniLine(line, key, value)) file.WriteString(section, key, value);
    }
    file.Save();
  } catch (const std::exception& e) {
    platform_.dialogs.ShowError(this, Utf8ToQString(e.what()));
  }
}

}  // namespace vocatrix::ui
