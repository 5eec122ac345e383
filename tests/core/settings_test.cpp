// SPDX-License-Identifier: GPL-3.0-or-later
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "base/inifile.h"
#include "base/lastfolders.h"
#include "base/messages.h"
#include "base/settings.h"
#include "model/exceptions.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

TEST(IniFile, NamesMatchWithoutCaseAndMissingThingsGiveTheDefault) {
  TempDir dir;
  const std::string path = dir.File("a.ini");
  WriteFile(path, "; comment\r\n[Config]\r\n Language = Deutsch \r\nCharSet=abc\r\n\r\n[Other]\nkey=v=w\n");
  IniFile ini(path);
  EXPECT_EQ(ini.ReadString("config", "LANGUAGE", "x"), "Deutsch");
  EXPECT_EQ(ini.ReadString("CONFIG", "charset", "x"), "abc");
  EXPECT_EQ(ini.ReadString("Other", "key", "x"), "v=w");
  EXPECT_EQ(ini.ReadString("Config", "missing", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadString("Missing", "Language", "dflt"), "dflt");
  EXPECT_EQ(IniFile(dir.File("none.ini")).ReadString("Config", "Language", "dflt"), "dflt");
  EXPECT_EQ(ini.ReadSectionValues("config"), (std::vector<std::string>{"Language=Deutsch", "CharSet=abc"}));
  EXPECT_TRUE(IniFile(dir.File("none.ini")).ReadSectionValues("Config").empty());
}

TEST(IniFile, ValuesAreCutTo1023Characters) {
  TempDir dir;
  WriteFile(dir.File("a.ini"), "[S]\nk=" + std::string(2000, 'x') + "\n");
  EXPECT_EQ(IniFile(dir.File("a.ini")).ReadString("S", "k", "").size(), 1023u);
}

TEST(IniFile, WritingKeepsEveryOtherLine) {
  TempDir dir;
  const std::string path = dir.File("a.ini");
  WriteFile(path, "; keep me\r\n[Config]\r\nLanguage=English\r\n\r\n[Lessons]\r\nLesson1=/a.tav\r\n");
  IniFile ini(path);
  ini.WriteString("CONFIG", "language", "Deutsch");
  ini.WriteString("Config", "CharSet", "\xC4\xD6");
  ini.WriteString("New", "Key", "1");
  EXPECT_EQ(ReadFile(path),
            "; keep me\r\n[Config]\r\nlanguage=Deutsch\r\nCharSet=\xC4\xD6\r\n\r\n[Lessons]\r\nLesson1=/a.tav\r\n"
            "\r\n[New]\r\nKey=1\r\n");
  ini.EraseSection("lessons");
  EXPECT_EQ(ini.ReadString("Lessons", "Lesson1", "gone"), "gone");
  EXPECT_EQ(ini.ReadString("New", "Key", ""), "1");
  // a missing file is created
  IniFile fresh(dir.File("fresh.ini"));
  fresh.WriteString("S", "k", "v");
  EXPECT_EQ(ReadFile(dir.File("fresh.ini")), "[S]\nk=v\n");
}

// Settings and language files edited by hand in UTF-8, with or without a
// byte-order mark: read in Windows-1252 as meant, written back in UTF-8.
TEST(IniFile, FilesSavedAsUtf8ReadAsMeantAndStayUtf8) {
  TempDir dir;
  const std::string e = "\xC3\xA9";  // "é" in UTF-8
  std::string longValue;
  for (int i = 0; i < 1100; ++i) longValue += e;
  for (const std::string bom : {"", "\xEF\xBB\xBF"}) {
    SCOPED_TRACE(bom.size());
    const std::string path = dir.File("u.ini");
    const std::string original = bom + "[Main]\r\nCharSet=\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F" + e +
                                 "\r\n[Languages]\r\nFran\xC3\xA7" + "ais=Fran\xC3\xA7" + "ais.ini\r\n[Long]\r\nv=" +
                                 longValue + "\r\n";
    WriteFile(path, original);
    const IniFile ini = IniFile::Load(path);
    EXPECT_EQ(ini.ReadString("main", "CharSet", ""), "\xC4\xD6\xDC\xDF\xE9");
    EXPECT_EQ(ini.ReadSectionValues("Languages"), std::vector<std::string>{"Fran\xE7" "ais=Fran\xE7" "ais.ini"});
    EXPECT_EQ(ini.ReadString("Long", "v", ""), std::string(1023, '\xE9'));  // cut by characters
    IniFile edit = IniFile::Edit(path);
    edit.WriteString("Main", "CharSet", "\xC4\xE9");
    edit.WriteString("Fr\xE8re", "k", "\xE7");
    edit.Save();
    std::string expected = original;
    expected.replace(expected.find("CharSet="), std::string("CharSet=\xC3\x84\xC3\x96\xC3\x9C\xC3\x9F").size() + 2,
                     "CharSet=\xC3\x84" + e);
    expected += "\r\n[Fr\xC3\xA8re]\r\nk=\xC3\xA7\r\n";
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_EQ(IniFile(path).ReadString("FR\xE8RE", "k", ""), "\xE7");
  }
}

TEST(IniFile, FailedWriteLeavesTheOldFileAndSaysWhere) {
  TempDir dir;
  const std::string path = dir.File("a.ini");
  WriteFile(path, "[S]\nk=old\n");
  IniFile ini(path);
  {
    test::ScopedFileSizeLimit diskFull(8);
    try {
      ini.WriteString("S", "k", "a value longer than the space left");
      ADD_FAILURE() << "the write should fail";
    } catch (const EFWriteError& e) {
      EXPECT_EQ(std::string(e.what()), "Kann nicht nach " + path + " schreiben");
    }
  }
  EXPECT_EQ(ReadFile(path), "[S]\nk=old\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);  // no temporary file left
}

TEST(IniFile, WriteIntoAMissingFolderRaisesTheWriteError) {
  TempDir dir;
  IniFile ini(dir.File("no/such/folder/a.ini"));
  EXPECT_THROW(ini.WriteString("S", "k", "v"), EFWriteError);
}

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramFilePath(dir.File("vocatrix"));
    SetCurrentLanguage("");
  }
  void TearDown() override { SetCurrentLanguage(""); }
  TempDir dir;
};

TEST_F(SettingsTest, ProgramSettingsFileBesideTheProgram) {
  EXPECT_EQ(ProgramSettingsFile(), dir.File("vocatrix.ini"));
  EXPECT_EQ(ProgramFolder(), dir.Path() + "/");
  SetProgramFilePath("/opt/prog/app.exe");
  EXPECT_EQ(ProgramSettingsFile(), "/opt/prog/app.ini");
  SetProgramFilePath("/opt/prog.d/app");
  EXPECT_EQ(ProgramSettingsFile(), "/opt/prog.d/app.ini");
  SetProgramFilePath("/opt/prog/.hidden");
  EXPECT_EQ(ProgramSettingsFile(), "/opt/prog/.hidden.ini");
}

TEST_F(SettingsTest, ConfigPathKeepsAbsoluteValuesAndResolvesRelativeOnes) {
  WriteFile(ProgramSettingsFile(),
            "[Config]\r\nFontIni=fonts\\fonts.ini\r\nSoundIni=D:\\x.ini\r\nLanguageIni=/etc/lang.ini\r\n"
            "Background=../pics/./bg.bmp\r\nEmpty=\r\n");
  EXPECT_EQ(ConfigPath("Config", "FontIni", "d"), dir.File("fonts/fonts.ini"));
  EXPECT_EQ(ConfigPath("Config", "SoundIni", "d"), "D:\\x.ini");
  EXPECT_EQ(ConfigPath("Config", "LanguageIni", "d"), "/etc/lang.ini");
  EXPECT_EQ(ConfigPath("config", "background", "d"), ExpandFileName(dir.Path() + "/../pics/bg.bmp"));
  EXPECT_EQ(ConfigPath("Config", "Empty", "dflt"), "dflt");
  EXPECT_EQ(ConfigPath("Config", "Missing", "dflt"), "dflt");
}

TEST_F(SettingsTest, TranslateLooksUpTheLanguageFileOrFallsBack) {
  std::filesystem::create_directory(dir.File("lang"));
  WriteFile(ProgramSettingsFile(), "[LanguageFiles]\r\nDeutsch=lang\\deutsch.ini\r\n");
  WriteFile(dir.File("lang/deutsch.ini"), "[Dynamic]\r\nErrForm=Formatfehler in Datei '%s'.\r\nUml=\xE4\r\n");
  EXPECT_EQ(LanguageFileName("Deutsch"), dir.File("lang/deutsch.ini"));
  EXPECT_EQ(LanguageFileName(""), "");
  // a language without a file resolves to the language list's folder: no key is found there
  EXPECT_EQ(LanguageFileName("Klingon"), dir.Path() + "/");
  EXPECT_EQ(Translate("Klingon", "Dynamic", "ErrForm", "dflt"), "dflt");
  EXPECT_EQ(Translate("", "Dynamic", "ErrForm", "dflt"), "dflt");
  EXPECT_EQ(Translate("Deutsch", "Dynamic", "ErrForm", "dflt"), "Formatfehler in Datei '%s'.");
  EXPECT_EQ(Translate("Deutsch", "Dynamic", "Uml", "dflt"), "ä");  // Windows-1252 file, UTF-8 message
  EXPECT_EQ(Translate("Deutsch", "Dynamic", "Missing", "dflt"), "dflt");

  SetCurrentLanguage("Deutsch");
  EXPECT_EQ(EFormatError::ForFile("/x/a.tav").what(), std::string("Formatfehler in Datei '/x/a.tav'."));
  SetCurrentLanguage("English");
  EXPECT_EQ(EFormatError::ForFile("/x/a.tav").what(), std::string("Format error in file '/x/a.tav'."));
  EXPECT_EQ(ENotLesson::ForFile("a.doc").what(), std::string("'a.doc' is not a lesson file."));
  EXPECT_EQ(EVersionError::ForFile("a.tav").what(), std::string("File 'a.tav' is a higher Version."));
}

TEST_F(SettingsTest, LanguageListFileNamedByLanguageIni) {
  std::filesystem::create_directory(dir.File("cfg"));
  WriteFile(ProgramSettingsFile(), "[Config]\r\nLanguageIni=cfg\\languages.ini\r\n");
  WriteFile(dir.File("cfg/languages.ini"), "[LanguageFiles]\r\nFran\xE7" "ais=fr.ini\r\n");
  EXPECT_EQ(LanguageFileName("Fran\xE7" "ais"), dir.File("cfg/fr.ini"));
}

TEST(FormatText, FillsPlaceholdersInOrder) {
  EXPECT_EQ(FormatText("'%s' and %d%%", {"a", "7"}), "'a' and 7%");
  EXPECT_EQ(FormatText("%s %s", {"only"}), "only ");
  EXPECT_EQ(FormatText("100%", {}), "100%");
}

TEST(LastFolders, ATitleBecomesAFileNameWithoutCharactersAFileNameShouldNotHold) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Unit 1/2: Animals", "Unit 1_2_ Animals"},
      {"  .hidden.  ", "hidden"},
      {"a\tb   c", "a b c"},
      {"Caf\xE9 \"Paris\" <1>|*?", "Caf\xE9 _Paris_ _1____"},
      {"line\nbreak\\", "line_break_"},
      {"?\?//", ""},
      {"", ""},
      {std::string(300, 'x'), std::string(100, 'x')},
  };
  for (const auto& [title, name] : cases) EXPECT_EQ(FileNameOfTitle(title), name) << title;
}

}  // namespace
}  // namespace vocatrix
