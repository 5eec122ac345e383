// SPDX-License-Identifier: GPL-3.0-or-later
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "base/inifile.h"
#include "base/languagenames.h"
#include "files/kvtml/kvtml.h"
#include "spelling/dictionaries.h"
#include "spelling_util.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::TempDir;
using test::WriteDictionary;

// Two dictionary folders: the first wins for a name both hold, but the
// table's order of names comes before the order of the folders.
class DictionaryChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(first());
    std::filesystem::create_directories(second());
    for (const char* name : {"de_DE", "de_CH", "en_GB", "fr", "es_ES", "it_IT", "nl_SR"})
      WriteDictionary(first(), name, "UTF-8", {});
    for (const char* name : {"de_DE", "en_US", "fr_CA"}) WriteDictionary(second(), name, "UTF-8", {});
    // Only one of a dictionary's two files: not a dictionary.
    test::WriteFile(first() + "pt_PT.dic", "0\n");
  }
  std::string first() const { return dir.Path() + "/one/"; }
  std::string second() const { return dir.Path() + "/two/"; }
  DictionaryChooser Chooser() const { return DictionaryChooser({first(), second(), dir.Path() + "/missing/"}); }

  TempDir dir;
};

struct ChoiceRow {
  const char* Language;
  const char* Folder;  // "one", "two", or "" for no dictionary
  const char* Name;
};

TEST_F(DictionaryChoiceTest, LanguageNamesInEnglishGermanAndTheirOwnLanguageFindTheirDictionary) {
  const ChoiceRow rows[] = {
      {"Deutsch", "one", "de_DE"},
      {"German", "one", "de_DE"},
      {"  deutsch ", "one", "de_DE"},
      {"English", "two", "en_US"},  // the table prefers en_US to en_GB
      {"Englisch", "two", "en_US"},
      {"British English", "one", "en_GB"},
      {"Fran\xE7" "ais", "one", "fr"},  // Debian's French dictionary is "fr"
      {"FRAN\xC7" "AIS", "one", "fr"},
      {"Franz\xF6sisch", "one", "fr"},
      {"Espa\xF1ol", "one", "es_ES"},
      {"Spanisch", "one", "es_ES"},
      {"Italiano", "one", "it_IT"},
      {"Italienisch", "one", "it_IT"},
      {"Nederlands", "one", "nl_SR"},  // another region of the language
      {"Schweizerdeutsch", "one", "de_CH"},
      {"de-CH", "one", "de_CH"},  // a dictionary's own name
      {"fr_CA", "two", "fr_CA"},
      {"Portugu\xEAs", "", ""},  // known, none installed (pt_PT lacks its .aff)
      {"Klingon", "", ""},
      {"../one/de_DE", "", ""},
      {"", "", ""},
  };
  const DictionaryChooser chooser = Chooser();
  for (const ChoiceRow& row : rows) {
    SCOPED_TRACE(row.Language);
    const DictionaryChoice choice = chooser.Choose(row.Language);
    EXPECT_EQ(choice.Language, row.Language);
    EXPECT_FALSE(choice.Off);
    if (*row.Folder == '\0') {
      EXPECT_FALSE(choice.Files) << choice.Files->Dic;
      continue;
    }
    ASSERT_TRUE(choice.Files);
    const std::string base = dir.Path() + "/" + row.Folder + "/" + row.Name;
    EXPECT_EQ(*choice.Files, (DictionaryFiles{row.Name, base + ".aff", base + ".dic"}));
  }
  EXPECT_EQ(chooser.Installed(),
            (std::vector<std::string>{"de_CH", "de_DE", "en_GB", "en_US", "es_ES", "fr", "fr_CA", "it_IT", "nl_SR"}));
}

TEST_F(DictionaryChoiceTest, TheSettingsSectionOverridesTheChoicePerLanguageName) {
  std::filesystem::create_directories(dir.Path() + "/settings");
  std::filesystem::create_directories(dir.Path() + "/own");
  WriteDictionary(dir.Path() + "/own", "tlh", "UTF-8", {});
  const std::string settings = dir.Path() + "/settings/vocatrix.ini";
  test::WriteFile(settings,
                  "[Config]\r\nDeutsch=en_US\r\n"
                  "[Dictionaries]\r\n"
                  "DEUTSCH=de_CH\r\n"
                  "Klingon=" + dir.Path() + "/own/tlh.dic\r\n"
                  "Latein = None\r\n"
                  "fran\xE7" "ais=../two/fr_CA.aff\r\n"
                  "English=xx_YY\r\n"
                  "Italiano=\r\n");
  DictionaryChooser chooser = Chooser();
  chooser.ReadSettings(IniFile(settings));
  const ChoiceRow rows[] = {
      {"Deutsch", "one", "de_CH"},
      {"Klingon", "own", "tlh"},
      {"FRAN\xC7" "AIS", "two", "fr_CA"},  // relative to the settings file
      {"English", "", ""},                 // named, not installed: not the table's
      {"Italiano", "one", "it_IT"},        // an empty value changes nothing
      {"German", "one", "de_DE"},          // other names keep the table
  };
  for (const ChoiceRow& row : rows) {
    SCOPED_TRACE(row.Language);
    const DictionaryChoice choice = chooser.Choose(row.Language);
    EXPECT_FALSE(choice.Off);
    if (*row.Folder == '\0') {
      EXPECT_FALSE(choice.Files);
      continue;
    }
    ASSERT_TRUE(choice.Files);
    EXPECT_EQ(choice.Files->Name, row.Name);
    EXPECT_EQ(choice.Files->Dic, dir.Path() + "/" + row.Folder + "/" + row.Name + ".dic");
  }
  const DictionaryChoice latin = chooser.Choose("Latein");
  EXPECT_TRUE(latin.Off);
  EXPECT_FALSE(latin.Files);
}

TEST(DictionaryFolders, FollowDicpathThenTheXdgDataFoldersThenDebiansOwn) {
  const char* names[] = {"DICPATH", "XDG_DATA_HOME", "XDG_DATA_DIRS", "HOME"};
  std::vector<std::pair<std::string, const char*>> saved;
  for (const char* name : names) {
    const char* value = std::getenv(name);
    saved.emplace_back(value ? value : "", value);
  }
  ::setenv("DICPATH", "/x:relative:/y/", 1);
  ::setenv("XDG_DATA_HOME", "/h", 1);
  ::setenv("XDG_DATA_DIRS", "/d1:/usr/share", 1);
  EXPECT_EQ(DictionaryFolders(),
            (std::vector<std::string>{"/x/", "/y/", "/h/hunspell/", "/d1/hunspell/", "/usr/share/hunspell/",
                                      "/usr/share/myspell/dicts/", "/usr/share/myspell/"}));
  ::unsetenv("DICPATH");
  ::unsetenv("XDG_DATA_HOME");
  ::unsetenv("XDG_DATA_DIRS");
  ::setenv("HOME", "/home/me", 1);
  EXPECT_EQ(DictionaryFolders(),
            (std::vector<std::string>{"/home/me/.local/share/hunspell/", "/usr/local/share/hunspell/",
                                      "/usr/share/hunspell/", "/usr/share/myspell/dicts/", "/usr/share/myspell/"}));
  for (std::size_t i = 0; i < saved.size(); ++i) {
    if (saved[i].second) ::setenv(names[i], saved[i].first.c_str(), 1);
    else ::unsetenv(names[i]);
  }
}

// One table names the languages for KVTML's locales and for the
// dictionaries: a name either knows, the other knows too.
TEST(LanguageNames, KvtmlLocalesAndDictionariesComeFromOneRow) {
  struct Row {
    const char* Name;
    const char* Locale;
    std::vector<std::string> Dictionaries;
  };
  for (const Row& row : std::vector<Row>{{"  holl\xC4ndisch ", "nl", {"nl_NL", "nl", "nl_BE"}},
                                         {"Plattd\xFC\xFCtsch", "nds", {}},
                                         {"Castellano", "es", {"es_ES", "es", "es_MX", "es_AR"}},
                                         {"Schweizerdeutsch", "de", {"de_CH", "de_DE"}},
                                         {"Scottish Gaelic", "gd", {"gd_GB"}},
                                         {"Klingon", "", {}}}) {
    EXPECT_EQ(LocaleOfLanguage(row.Name), row.Locale) << row.Name;
    EXPECT_EQ(TableDictionaries(row.Name), row.Dictionaries) << row.Name;
  }
  // A locale names its language's main row, never a regional one.
  EXPECT_EQ(LanguageOfLocale("de_CH"), "Deutsch");
  EXPECT_EQ(LanguageOfLocale("nl-BE"), "Nederlands");
  EXPECT_EQ(FindLocale(""), nullptr);
}

}  // namespace
}  // namespace vocatrix
