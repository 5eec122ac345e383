// SPDX-License-Identifier: GPL-3.0-or-later
// Interface languages: every window's texts read from and written to
// interface-language files, the shipped English and German files, Qt's own
// texts, help topics and the home page.

#include <QComboBox>
#include <QDialog>
#include <QDirIterator>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTextBrowser>
#include <QToolButton>
#include <cstdlib>
#include <map>
#include <optional>

#include "base/cp1252.h"
#include "base/inifile.h"
#include "base/messages.h"
#include "base/settings.h"
#include "components/compostatusbar.h"
#include "ui/about/aboutbox.h"
#include "ui/textwindow/editform.h"
#include "ui/lessonwindow/fontcombo.h"
#include "ui/dialogs/finddlg.h"
#include "ui/dialogs/fontdialog.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/dialogs/importdlg.h"
#include "ui/language/multilanguage.h"
#include "ui/language/textproperties.h"
#include "ui/common/qtstrings.h"
#include "ui/memorygame/memorygameform.h"
#include "ui/recovery/recoverydlg.h"
#include "ui/spelling/spellingdlg.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::TMultiLanguage;
using ui::TMultiLanguageOption;
using ui::VocabEditForm;

const std::string kSource = VOCATRIX_SOURCE_DIR;

class LanguageTest : public UiTest {
 protected:
  // Settings offering the languages "Test" (a file written by the test) and
  // the shipped "English" and "Deutsch".
  void OfferLanguages(const std::string& testFile = {}) {
    WriteSettings("[Config]\nLanguage=English\n[Languages]\n1=English\n2=Deutsch\n3=Test\n[LanguageFiles]\nEnglish=" +
                  kSource + "/lang/English.ini\nDeutsch=" + kSource + "/lang/Deutsch.ini\nTest=test.ini\n");
    if (!testFile.empty()) WriteFile(File("test.ini"), testFile);
  }

  // Settings offering the shipped languages under their own names (in
  // Windows-1252, as the shipped list has them) and one without its file.
  void OfferShippedLanguages(const std::string& config = {}) {
    std::string list = "[Config]\n" + config + "[Languages]\n", files = "[LanguageFiles]\n";
    int n = 0;
    for (const auto& [language, file] : kShipped) {
      list += std::to_string(++n) + "=" + language + "\n";
      files += language + "=" + (file.empty() ? File("missing.ini") : kSource + "/lang/" + file) + "\n";
    }
    WriteSettings(list + files);
  }
  inline static const std::vector<std::pair<std::string, std::string>> kShipped = {
      {"English", "English.ini"},     {"Deutsch", "Deutsch.ini"},   {"Fran\xE7" "ais", "Francais.ini"},
      {"Espa\xF1ol", "Espanol.ini"}, {"Italiano", "Italiano.ini"}, {"Nederlands", "Nederlands.ini"},
      {"Portugu\xEAs", ""}};

  // Sets the locale variables for the test and puts them back afterwards.
  void SetLocale(const char* all, const char* messages, const char* lang) {
    for (const auto& [name, value] : {std::pair{"LC_ALL", all}, {"LC_MESSAGES", messages}, {"LANG", lang}}) {
      if (!savedLocale_.count(name)) {
        const char* old = std::getenv(name);
        savedLocale_[name] = old ? std::optional<std::string>(old) : std::nullopt;
      }
      ::setenv(name, value, 1);
    }
  }
  void TearDown() override {
    for (const auto& [name, value] : savedLocale_)
      value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
    UiTest::TearDown();
  }
  std::map<std::string, std::optional<std::string>> savedLocale_;

  static QString YesButton() {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes);
    return box.button(QMessageBox::Yes)->text();
  }

  QStringList MenuBarTitles() {
    QStringList titles;
    for (QAction* action : Main().menuBar()->actions())
      if (action->isVisible()) titles << action->text();
    return titles;
  }

  // The key=value lines of every section of an ini file, as "section/key".
  static std::map<std::string, std::string> Keys(const std::string& path) {
    std::map<std::string, std::string> keys;
    std::string section;
    std::istringstream in(ReadFile(path));
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.size() > 2 && line.front() == '[') {
        section = line.substr(1, line.find(']') - 1);
        continue;
      }
      std::string key, value;
      if (!line.empty() && line[0] != ';' && SplitIniLine(line, key, value)) keys[section + "/" + key] = value;
    }
    return keys;
  }
};

TEST_F(LanguageTest, SwitchingTheLanguageChangesEveryWindowItsMenusAndTheMessages) {
  OfferLanguages(
      "[MainForm]\nMenuFileCaption=&Fichier\nNewBtnHint=Nouveau|Une nouvelle le\xE7on\n"
      "[VocabEditForm]\nMenuFileCaption=&Fichier\nMenuEditCaption=&Edition\nLabel1Caption=Titre :\n"
      "ComboBoxFormItems0=v.\nComboBoxFormItems1=s.\nComboBoxFormItems2=adj.\nComboBoxFormItems3=adv.\n"
      "ComboBoxFormItems4=autre\nTabSetTabs0=En-t\xEAte\nMemoSynonymsHint=Synonymes\n"
      "[Dynamic]\nCompiling=Compilation\nVocabEditFormCaption=Nouvelle le\xE7on\n[Vocatrix]\nName=Vocatrix FR\n");
  VocabEditForm* first = Main().NewChild();
  VocabEditForm* second = Main().NewChild();
  ASSERT_EQ(second->objectName(), "VocabEditForm_1");
  Main().SetLanguage("Test");

  EXPECT_EQ(Main().windowTitle(), "Vocatrix FR");
  EXPECT_EQ(Child<QMenu>(&Main(), "MenuFile")->title(), "&Fichier");
  EXPECT_EQ(Button("NewBtn")->toolTip(), "Nouveau");
  // Both lesson windows read section "VocabEditForm"; the active one's menus
  // stand in the menu bar.
  for (VocabEditForm* form : {first, second}) {
    EXPECT_EQ(Child<QLabel>(form, "Label1")->text(), "Titre :");
    EXPECT_EQ(form->ComboBoxForm->itemText(4), "autre");
    EXPECT_EQ(form->ComboBoxForm->itemText(3), "adv.");
    EXPECT_EQ(form->TabSet->tabText(0), QString::fromUtf8("En-tête"));
    EXPECT_EQ(form->MemoSynonyms->toolTip(), "Synonymes");
  }
  // The second new lesson keeps its number in the new language.
  EXPECT_EQ(first->windowTitle(), QString::fromUtf8("Nouvelle leçon"));
  EXPECT_EQ(second->windowTitle(), QString::fromUtf8("Nouvelle leçon 2"));
  EXPECT_EQ(MenuBarTitles().mid(0, 2), (QStringList{"&Fichier", "&Edition"}));
  EXPECT_EQ(TranslateMessage("Compiling", "Compiling"), "Compilation");
  // A window opened afterwards reads the language too.
  EXPECT_EQ(Child<QLabel>(Main().NewChild(), "Label1")->text(), "Titre :");

  Main().SetLanguage("English");
  EXPECT_EQ(Child<QMenu>(&Main(), "MenuFile")->title(), "&File");
  EXPECT_EQ(first->TabSet->tabText(0), "Header");
  EXPECT_EQ(first->windowTitle(), "New Lesson");
  for (VocabEditForm* form : Main().LessonWindows()) Discard(form);
}

TEST_F(LanguageTest, ALanguageFollowsIntoHelpAndDialogsAndADamagedFileShowsEnglishWithAWord) {
  struct Case {
    const char* language;
    std::string file;  // the test language's file, when the case switches to it
    QString menuFile;
    QLocale::Language locale;
    const char* help;
    bool reported;
  };
  const std::vector<Case> cases = {
      {"Deutsch", {}, "&Datei", QLocale::German, "German.hlp", false},
      // Missing, empty and unreadable are all the same to the user.
      {"Test", "", "&File", QLocale::English, "English.hlp", true},
      {"Test", "\xFF\xFE garbage without sections", "&File", QLocale::English, "English.hlp", true},
      {"English", {}, "&File", QLocale::English, "English.hlp", false},
  };
  OfferLanguages();
  Main().SetLanguage("Deutsch");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language + (" " + c.file));
    if (std::string(c.language) == "Test") WriteFile(File("test.ini"), c.file);
    Main().StatusBar()->SetPanelText(1, {});
    Main().SetLanguage(c.language);
    EXPECT_EQ(Main().Language(), c.language);
    EXPECT_EQ(Child<QMenu>(&Main(), "MenuFile")->title(), c.menuFile);
    EXPECT_EQ(QLocale().language(), c.locale);
    EXPECT_TRUE(platform_.Help.Followed.back().endsWith(c.help));
    const QString note = Main().StatusBar()->PanelText(1);
    EXPECT_EQ(note.contains("test.ini"), c.reported) << note.toStdString();
    // Messages in English too.
    EXPECT_EQ(TranslateMessage("Error", "x"), c.locale == QLocale::German ? "Fehler" : "Error");
  }
}

TEST_F(LanguageTest, TheTemplateCarriesTextsNeverTheLessonAndALanguageFileCannotChangeIt) {
  auto lesson = MakeLesson("Englisch", "Spanisch", {MakeEntry(1, {"Zebrafish"}, {"pezcebra"})});
  lesson->Title = "Secret Title";
  SaveBinary(*lesson, File("zoo.tav"));
  VocabEditForm* form = Open(File("zoo.tav"));
  Discard(Main().NewChild());
  // Maximised, the lesson window's caption stands in the frame's title.
  form->SelectTab(VocabEditForm::kTablePage);
  Main().ClientArea()->setActiveSubWindow(form);
  form->showMaximized();
  ASSERT_TRUE(Main().windowTitle().contains("zoo.tav"));
  Main().MenuSaveLanguageClick();
  const std::string written = ReadFile(File("Language.ini"));
  for (const char* word : {"Zebrafish", "pezcebra", "Secret", "Englisch", "Spanisch", "zoo.tav"})
    EXPECT_EQ(written.find(word), std::string::npos) << word;
  const auto keys = Keys(File("Language.ini"));
  EXPECT_TRUE(keys.count("VocabEditForm/Label1Caption"));
  // A second lesson window reads the first one's section, and so writes it.
  EXPECT_FALSE(keys.count("VocabEditForm_1/Label1Caption"));
  EXPECT_EQ(keys.at("VocabEditForm/ComboBoxFormItems4"), "other");
  EXPECT_EQ(keys.at("MainForm/MainFormCaption"), "Vocatrix");
  EXPECT_EQ(keys.at("VocabEditForm/MemoSynonymsHint"), "Synonyme");
  EXPECT_EQ(keys.at("MainForm/OpenFileDialogFilter").substr(0, 7), "Lesson ");

  // A file that holds keys of the data controls changes none of them.
  OfferLanguages(
      "[VocabEditForm]\nVocabEditFormCaption=X\nEditTitleText=X\nMemoSynonymsLines0=X\nEditEntryNrText=9\n"
      "Label13Caption=999\nLabelLanguage1Caption=X\nComboFontLanguage1Items0=X\nMemoTextLines0=X\n");
  Discard(form);
  Main().SetLanguage("Test");
  EXPECT_EQ(form->windowTitle(), "zoo.tav");
  EXPECT_EQ(form->EditTitle->text(), "Secret Title");
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), "Zebrafish");
  EXPECT_EQ(form->EditEntryNr->text(), "1");
  EXPECT_EQ(form->Label13->text(), "1");
  EXPECT_EQ(form->LabelLanguage1->text(), "Englisch");
  EXPECT_EQ(form->ComboFontLanguage1->itemText(0), "Arial");
  EXPECT_FALSE(form->ControlsChanged());
  EXPECT_FALSE(form->HasUnsavedChanges());
  for (VocabEditForm* window : Main().LessonWindows()) Discard(window);
}

TEST_F(LanguageTest, ListKeysStringKeysSectionsAndOptions) {
  QDialog dialog;
  dialog.setObjectName("Some_Dialog");
  auto* combo = new QComboBox(&dialog);
  combo->setObjectName("Combo");
  combo->addItems({"a", "b", "c", "d"});
  auto* label = new QLabel("Label", &dialog);
  label->setObjectName("Label1");
  struct Case {
    const char* file;
    QStringList items;
    QString label;
  };
  const Case cases[] = {
      // A gap ends the list; the rest keep their text.
      {"[Some_Dialog]\nComboItems0=A\nComboItems1=B\nComboItems3=D\n", {"A", "B", "c", "d"}, "Label"},
      // "###" ends it too.
      {"[Some_Dialog]\nComboItems0=1\nComboItems1=###\nComboItems2=3\n", {"1", "b", "c", "d"}, "Label"},
      // More lines than the list has are ignored; an empty value empties a string.
      {"[Some_Dialog]\nComboItems0=p\nComboItems1=q\nComboItems2=r\nComboItems3=s\nComboItems4=t\nLabel1Caption=\n",
       {"p", "q", "r", "s"}, ""},
      // The whole name of a form that is no MDI child is its section.
      {"[Some]\nComboItems0=no\nLabel1Caption=no\n", {"a", "b", "c", "d"}, "Label"},
  };
  for (const Case& c : cases) {
    combo->clear();
    combo->addItems({"a", "b", "c", "d"});
    label->setText("Label");
    WriteFile(File("list.ini"), c.file);
    TMultiLanguage language;
    language.ReadLanguageFile(&dialog, File("list.ini"));
    EXPECT_EQ(ui::ToLessonString(combo->itemText(0) + combo->itemText(1) + combo->itemText(2) + combo->itemText(3)),
              ui::ToLessonString(c.items.join(""))) << c.file;
    EXPECT_EQ(label->text(), c.label) << c.file;
    EXPECT_EQ(language.IniFileName(), File("list.ini"));
  }
  // Writing keeps what the file had and writes an empty list line, never an empty string.
  combo->setItemText(1, "");
  label->clear();
  WriteFile(File("out.ini"), "[Some_Dialog]\nKept=yes\n");
  TMultiLanguage().WriteLanguageFile(&dialog, File("out.ini"));
  const auto keys = Keys(File("out.ini"));
  EXPECT_EQ(keys.at("Some_Dialog/Kept"), "yes");
  EXPECT_EQ(keys.at("Some_Dialog/ComboItems1"), "");
  EXPECT_FALSE(keys.count("Some_Dialog/Label1Caption"));
  try {
    TMultiLanguage().WriteLanguageFile(&dialog, File("no-folder/out.ini"));
    ADD_FAILURE();
  } catch (const EFWriteError& e) {
    EXPECT_EQ(e.what(), "Kann nicht nach " + File("no-folder/out.ini") + " schreiben");
  }

  // Options and the file name.
  TMultiLanguage language;
  language.SetOptions(static_cast<unsigned>(TMultiLanguageOption::slAutoLoad) |
                      static_cast<unsigned>(TMultiLanguageOption::slAutoSave) |
                      static_cast<unsigned>(TMultiLanguageOption::slRuntimeOnly));
  EXPECT_THROW(language.Loaded(), Exception);
  EXPECT_NO_THROW(language.Loaded(/*designing=*/true));
  language.SetIniFileName("x.ini");
  EXPECT_NO_THROW(language.Stored());
  language.SetIniFileName("");
  EXPECT_EQ(language.GetOptions(), static_cast<unsigned>(TMultiLanguageOption::slRuntimeOnly));
  EXPECT_NO_THROW(language.Loaded());
  language.ReadLanguageFile(&dialog, "");  // nothing, no error
  try {
    TMultiLanguage other;
    other.SetOptions(static_cast<unsigned>(TMultiLanguageOption::slAutoSave));
    other.Stored();
    ADD_FAILURE();
  } catch (const Exception& e) {
    EXPECT_STREQ(e.what(), "Name of Inifile missing.");
  }
}

TEST_F(LanguageTest, GermanShowsItsHelpItemsOpensGermanHelpAndTheGermanPage) {
  OfferLanguages();
  struct Case {
    const char* language;
    bool german;
  };
  for (const Case& c : {Case{"Deutsch", true}, Case{"English", false}, Case{"deutsch", false}}) {
    Main().SetLanguage(c.language);
    EXPECT_EQ(Child<QAction>(&Main(), "MenuTips")->isVisible(), c.german) << c.language;
    Button("HelpBtn")->click();
    Child<QAction>(&Main(), "MenuHolly")->trigger();
    const QString help = ui::FileNameToQString(ProgramFolder() + (c.german ? "German.hlp" : "English.hlp"));
    ASSERT_GE(platform_.Help.Shown.size(), 2u);
    EXPECT_EQ(platform_.Help.Shown.rbegin()[1], std::make_pair(help, QString("hc_Contents")));
    EXPECT_EQ(platform_.Help.Shown.back(), std::make_pair(help, QString("hc_Schools")));
    Child<QAction>(&Main(), "MenuHomepage")->trigger();
    EXPECT_EQ(platform_.Help.Shown.back().second, "hc_Contents");
    EXPECT_TRUE(platform_.Help.Shown.back().first.endsWith(c.german ? "/German.html" : "/English.html"));
    EXPECT_TRUE(platform_.Web.Opened.empty());
  }
  // Qt's own buttons speak the language too.
  const auto yes = [] {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes);
    return box.button(QMessageBox::Yes)->text();
  };
  Main().SetLanguage("Deutsch");
  EXPECT_EQ(yes(), "&Ja");
  EXPECT_EQ(TranslateMessage("ErrFOpen", "Kann Datei %s nicht öffnen", {"x"}), "Kann Datei x nicht öffnen");
  Main().SetLanguage("English");
  EXPECT_EQ(yes(), "&Yes");
  // The class library's German messages in English.
  EXPECT_STREQ(EFOpenError::ForFile("x").what(), "Cannot open file x");
}

TEST_F(LanguageTest, HelpWindowOpensAtItsTopicGoesBackAndFindsInThePage) {
  WriteFile(File("help.hlp"),
            "<html><body><a name=\"hc_Contents\"></a><h1>Contents</h1><p><a href=\"#keys\">Keys</a></p>"
            "<p>alpha</p><a name=\"keys\"></a><h1>Keys</h1><p>beta alpha</p></body></html>");
  ui::THelpWindow help;
  help.ShowTopic(ui::FileNameToQString(File("help.hlp")), "keys");
  EXPECT_EQ(help.Browser->source().fragment(), "keys");
  EXPECT_TRUE(help.Browser->toPlainText().contains("beta alpha"));
  help.Browser->setSource(QUrl("#hc_Contents"));
  EXPECT_TRUE(help.BackBtn->isEnabled());
  help.BackBtn->click();
  EXPECT_EQ(help.Browser->source().fragment(), "keys");
  // Search goes on from the last match and starts again at the top.
  help.EditSearch->setText("alpha");
  std::vector<int> found;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(help.FindNext());
    found.push_back(help.Browser->textCursor().selectionStart());
  }
  EXPECT_NE(found[0], found[1]);
  EXPECT_EQ(found[2], found[0]);
  EXPECT_TRUE(help.LabelNotFound->isHidden());
  // A search without a hit says so until the text changes.
  help.EditSearch->setText("gamma");
  EXPECT_FALSE(help.FindNext());
  EXPECT_FALSE(help.LabelNotFound->isHidden());
  EXPECT_EQ(help.LabelNotFound->text(), "Not found");
  QTest::keyClick(help.EditSearch, Qt::Key_A);
  EXPECT_TRUE(help.LabelNotFound->isHidden());
  help.ShowTopic(ui::FileNameToQString(File("missing.hlp")), "hc_Contents");
  EXPECT_TRUE(help.Browser->toPlainText().contains("cannot be read"));
}

TEST_F(LanguageTest, F1InADialogOpensItsOwnTopicAndEscClosesTheHelpWindow) {
  VocabEditForm* form = Main().NewChild();
  WriteFile(File("words.csv"), "a;b\n");
  const auto f1 = [](QWidget* widget) { QTest::keyClick(widget, Qt::Key_F1); };
  // A dialog the program runs: F1 on one of its controls, then Cancel.
  const auto answer = [this, f1](const char* child) {
    platform_.Dialogs.DialogAnswers.push_back([f1, child](QDialog& dialog) {
      f1(dialog.findChild<QWidget*>(child));
      return static_cast<int>(QDialog::Rejected);
    });
  };
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"find", [&] { Main().FindDlg()->show(); f1(Main().FindDlg()->EditFind); Main().FindDlg()->hide(); }},
      {"spelling",
       [&] {
         form->findChild<QAction*>("MenuCheckSpelling")->trigger();
         f1(form->SpellingDlg()->ListWords);
         form->SpellingDlg()->close();
       }},
      {"memory",
       [&] {
         form->findChild<QAction*>("MenuMemoryGame")->trigger();
         form->MemoryGame()->FinishDealing();
         f1(form->MemoryGame()->ComboDirection);
         form->MemoryGame()->close();
       }},
      {"accents", [&] { answer("StringGrid1"); Main().MenuCharmapClick(); }},
      {"hc_Import", [&] { answer("HelpBtn"); Main().ImportFile(File("words.csv")); }},
      {"hc_Combine", [&] { answer("ComboBox1"); Main().CombineLessons(0); }},
  };
  for (const auto& [topic, open] : cases) {
    SCOPED_TRACE(topic);
    platform_.Help.Shown.clear();
    open();
    ASSERT_EQ(platform_.Help.Shown.size(), 1u);
    EXPECT_EQ(platform_.Help.Shown[0].second, topic);
    // Each topic is there in both help files.
    for (const char* help : {"/help/English.hlp", "/help/German.hlp"})
      EXPECT_NE(ReadFile(kSource + help).find("<a name=\"" + std::string(topic) + "\">"), std::string::npos) << help;
  }
  Discard(form);

  ui::THelpWindow help;
  for (QWidget* widget : std::initializer_list<QWidget*>{help.EditSearch, help.Browser}) {
    help.ShowTopic(ui::FileNameToQString(kSource + "/help/English.hlp"), "find");
    help.show();
    QTest::keyClick(widget, Qt::Key_Escape);
    EXPECT_FALSE(help.isVisible()) << widget->objectName().toStdString();
  }
}

TEST_F(LanguageTest, TheShippedFilesHoldEveryTextOfEveryWindowAndEveryMessage) {
  // Every window the program shows, with the texts it was built with (the
  // combine and special-characters dialogs belong to the main window).
  Discard(Main().NewChild());
  Main().NewTextWindow();
  ui::TFontDialog fontDialog(TFont{});
  ui::THelpWindow help;
  ui::TAboutBox about(platform_.Get());
  ui::TRecoveryDlg recovery(&Main(), {});
  ui::TSpellingDlg spelling(&Main());
  WriteFile(File("import.csv"), "a;b\n");
  ui::TImportDlg import(&Main(), File("import.csv"), ReadFile(File("import.csv")), IniFile(SettingsFile()));
  Main().MenuSaveLanguageClick();
  const auto shown = Keys(File("Language.ini"));
  EXPECT_TRUE(shown.count("ImportDlg/ComboBoxRoleItems6"));
  ASSERT_GT(shown.size(), 100u);
  const auto english = Keys(kSource + "/lang/English.ini");
  const auto german = Keys(kSource + "/lang/Deutsch.ini");
  for (const auto& [key, value] : shown) {
    EXPECT_TRUE(english.count(key)) << "English lacks " << key;
    EXPECT_TRUE(german.count(key)) << "Deutsch lacks " << key;
  }
  // Every message key the code looks up.
  const QRegularExpression lookup(R"re(TranslateMessage\(\s*"(\w+)")re");
  int found = 0;
  for (QDirIterator it(QString::fromStdString(kSource + "/src"), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
       it.hasNext();) {
    const QString source = QString::fromStdString(ReadFile(it.next().toStdString()));
    for (auto match = lookup.globalMatch(source); match.hasNext(); ++found) {
      const std::string key = "Dynamic/" + match.next().captured(1).toStdString();
      EXPECT_TRUE(english.count(key)) << "English lacks " << key;
      EXPECT_TRUE(german.count(key)) << "Deutsch lacks " << key;
    }
  }
  EXPECT_GT(found, 20);
  for (const char* key : {"Vocatrix/Name", "Vocatrix/Info"}) {
    EXPECT_TRUE(english.count(key));
    EXPECT_TRUE(german.count(key));
  }
}

TEST_F(LanguageTest, ReadingTheTemplateWrittenFromTheRunningProgramChangesNoText) {
  OfferLanguages();
  Main().SetLanguage("Deutsch");
  Discard(Main().NewChild());
  Discard(Main().NewChild());
  Main().MenuSaveLanguageClick();
  const std::string first = ReadFile(File("Language.ini"));
  TMultiLanguage().ReadLanguageFile(nullptr, File("Language.ini"));
  ::remove(File("Language.ini").c_str());
  Main().MenuSaveLanguageClick();
  EXPECT_EQ(ReadFile(File("Language.ini")), first);
  Main().SetLanguage("English");
  for (VocabEditForm* form : Main().LessonWindows()) Discard(form);
}

TEST_F(LanguageTest, TheTemplateHoldsEverySectionTheProgramReadsAndNoPlaceholders) {
  OfferLanguages();
  Main().SetLanguage("Deutsch");
  // Two lesson windows and none of the others open.
  Discard(Main().NewChild());
  Discard(Main().NewChild());
  Main().MenuSaveLanguageClick();
  const auto keys = Keys(File("Language.ini"));
  std::set<std::string> sections;
  for (const auto& [key, value] : keys) sections.insert(key.substr(0, key.find('/')));
  EXPECT_EQ(sections, (std::set<std::string>{"AboutBox", "CharmapDlg", "CheckLessonDlg", "CombiLessonsDlg", "Dynamic",
                                             "EditForm", "FindForm", "FontDialog", "HelpForm", "ImportDlg", "MainForm",
                                             "MemoryGameForm", "PracticeForm", "RecoveryDlg", "SpellingDlg",
                                             "VocabEditForm", "Vocatrix"}));
  // Every message and every text of the shipped file, in the language shown.
  const auto german = Keys(kSource + "/lang/Deutsch.ini");
  for (const auto& [key, value] : german) EXPECT_TRUE(keys.count(key)) << key;
  EXPECT_EQ(keys.at("Dynamic/Error"), "Fehler");
  EXPECT_FALSE(keys.count("AboutBox/Name2Caption"));
  Main().SetLanguage("English");
  for (VocabEditForm* form : Main().LessonWindows()) Discard(form);
}

TEST_F(LanguageTest, AFirstStartSpeaksTheLocalesLanguageWhenItHasAFileAndKeepsItsName) {
  OfferShippedLanguages();
  struct Case {
    const char* all;
    const char* messages;
    const char* lang;
    const char* language;
  };
  const Case cases[] = {
      {"", "", "fr_FR.UTF-8", "Fran\xE7" "ais"},
      {"", "", "fr_CA", "Fran\xE7" "ais"},
      // LC_ALL before LC_MESSAGES before LANG.
      {"", "es_MX.UTF-8", "de_DE.UTF-8", "Espa\xF1ol"},
      {"it_CH.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8", "Italiano"},
      {"", "", "nl_BE.UTF-8", "Nederlands"},
      {"", "", "de_AT.UTF-8", "Deutsch"},
      // Listed without its file, not listed, no language at all.
      {"", "", "pt_PT.UTF-8", "English"},
      {"", "", "ja_JP.UTF-8", "English"},
      {"", "", "C", "English"},
  };
  for (const Case& c : cases) {
    SetLocale(c.all, c.messages, c.lang);
    EXPECT_EQ(ui::MainForm::FirstLanguage(), c.language) << c.all << "|" << c.messages << "|" << c.lang;
  }

  // The first start in French: the menu names it, Qt's buttons speak it,
  // and the name is kept in Windows-1252 as the list writes it.
  SetLocale("", "", "fr_FR.UTF-8");
  const auto start = [this] { Main().SetLanguage(Main().Language()); };
  const auto checkedLanguage = [this] {
    for (QAction* item : Child<QMenu>(&Main(), "MenuLanguage")->actions())
      if (item->isChecked()) return item->text();
    return QString();
  };
  start();
  EXPECT_EQ(Main().Language(), "Fran\xE7" "ais");
  EXPECT_EQ(checkedLanguage(), QString::fromUtf8("Français"));
  EXPECT_EQ(YesButton(), "&Oui");
  CloseMain();
  EXPECT_NE(ReadFile(SettingsFile()).find("\nLanguage=Fran\xE7" "ais\n"), std::string::npos);
  // The next start keeps it whatever the locale says.
  SetLocale("", "", "de_DE.UTF-8");
  start();
  EXPECT_EQ(Main().Language(), "Fran\xE7" "ais");
  EXPECT_EQ(checkedLanguage(), QString::fromUtf8("Français"));
  CloseMain();
  // A settings file its user saved as UTF-8 names the same language.
  WriteSettings(Cp1252ToUtf8(ReadFile(SettingsFile())));
  start();
  EXPECT_EQ(Main().Language(), "Fran\xE7" "ais");
  EXPECT_EQ(checkedLanguage(), QString::fromUtf8("Français"));
  EXPECT_EQ(Child<QMenu>(&Main(), "MenuFile")->title(), "&Fichier");
}

TEST_F(LanguageTest, ALanguageWithoutItsOwnHelpOpensTheEnglishHelpItsHelpItemsSaySoAndQtSpeaksIt) {
  OfferShippedLanguages();
  struct Case {
    std::string language;
    const char* help;
    bool note;
    const char* yes;
  };
  const Case cases[] = {
      {"Fran\xE7" "ais", "English.hlp", true, "&Oui"},
      {"Deutsch", "German.hlp", false, "&Ja"},
      {"Espa\xF1ol", "English.hlp", true, "&S\xED"},
      {"Italiano", "English.hlp", true, "&S\xEC"},
      {"Nederlands", "English.hlp", true, "&Ja"},
      {"English", "English.hlp", false, "&Yes"},
      // Chosen again, the note is not doubled.
      {"Nederlands", "English.hlp", true, "&Ja"},
  };
  for (const Case& c : cases) {
    const std::string name = ui::ToQString(c.language).toStdString();
    SCOPED_TRACE(name);
    Main().SetLanguage(c.language);
    const auto keys = Keys(LanguageFileName(c.language));
    const QString note = " " + ui::ToQString(keys.at("Dynamic/HelpOnlyInEnglish"));
    for (const char* item : {"MenuTopics", "MenuSteps", "MenuProducts"})
      EXPECT_EQ(Child<QAction>(&Main(), item)->text(),
                ui::ToQString(keys.at("MainForm/" + std::string(item) + "Caption")) + (c.note ? note : QString()));
    EXPECT_EQ(Child<QAction>(&Main(), "MenuAbout")->text(), ui::ToQString(keys.at("MainForm/MenuAboutCaption")));
    Child<QAction>(&Main(), "MenuSteps")->trigger();
    EXPECT_TRUE(platform_.Help.Shown.back().first.endsWith(QString("/") + c.help));
    EXPECT_EQ(YesButton(), ui::ToQString(c.yes));
  }
  // The template has the captions as the language file does; the menu keeps its note.
  Main().SetLanguage("Espa\xF1ol");
  Main().MenuSaveLanguageClick();
  const auto spanish = Keys(LanguageFileName("Espa\xF1ol"));
  EXPECT_EQ(Keys(File("Language.ini")).at("MainForm/MenuTopicsCaption"), spanish.at("MainForm/MenuTopicsCaption"));
  EXPECT_TRUE(
      Child<QAction>(&Main(), "MenuTopics")->text().endsWith(ui::ToQString(spanish.at("Dynamic/HelpOnlyInEnglish"))));
  Main().SetLanguage("English");
}

}  // namespace
}  // namespace vocatrix::test
