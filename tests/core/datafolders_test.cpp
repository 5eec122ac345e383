// SPDX-License-Identifier: GPL-3.0-or-later
// Where the program finds its data and keeps its settings: beside the program
// in the build folder, the share folder and the user's configuration folder
// when installed.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "base/inifile.h"
#include "base/settings.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

// Sets an environment variable (or removes it) for the object's life.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    if (value) ::setenv(name, value->c_str(), 1);
    else ::unsetenv(name);
  }
  ~ScopedEnv() {
    if (saved_) ::setenv(name_, saved_->c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

TEST(DataFolders, BesideTheProgramOrInstalledWithTheUsersSettings) {
  enum Xdg { kXdgSet, kXdgUnset, kXdgRelative, kXdgBlocked };
  struct Case {
    const char* name;
    bool langBeside;     // a "lang" folder beside the program
    bool share;          // <prefix>/share/vocatrix/ with the defaults
    Xdg xdg;
    const char* userFile;  // the user's settings before the start; null: none
    // expected, relative to the temporary folder
    const char* data;
    const char* settings;
    bool writable;
    std::vector<std::string> languages = {"1=English", "2=Deutsch"};
  };
  const std::string defaults =
      "[Languages]\r\n1=English\r\n2=Deutsch\r\n\r\n[LanguageFiles]\r\nEnglish=lang/English.ini\r\n"
      "Deutsch=lang/Deutsch.ini\r\nKlingon=lang/Klingon.ini\r\n\r\n[Sound]\r\nStart=sounds/start.wav\r\n";
  const Case cases[] = {
      {"build folder", true, false, kXdgSet, nullptr, "prefix/bin/", "prefix/bin/vocatrix.ini", true},
      {"copied folder wins over share", true, true, kXdgSet, nullptr, "prefix/bin/", "prefix/bin/vocatrix.ini", true},
      {"no data anywhere", false, false, kXdgSet, nullptr, "prefix/bin/", "prefix/bin/vocatrix.ini", true},
      {"installed", false, true, kXdgSet, nullptr, "prefix/share/vocatrix/", "config/vocatrix/vocatrix.ini", true},
      {"installed, user's file kept", false, true, kXdgSet, "[Config]\nLanguage=Deutsch\n[Sound]\nStart=mine.wav\n",
       "prefix/share/vocatrix/", "config/vocatrix/vocatrix.ini", true},
      // A list from before gains the languages shipped since, after its own.
      {"installed, older language list", false, true, kXdgSet,
       "[Config]\nLanguage=Deutsch\n[Languages]\n1=english\n4=Klingon\n[LanguageFiles]\nEnglish=lang/English.ini\n"
       "Klingon=lang/Klingon.ini\n[Sound]\nStart=mine.wav\n",
       "prefix/share/vocatrix/", "config/vocatrix/vocatrix.ini", true, {"1=english", "4=Klingon", "5=Deutsch"}},
      {"installed, no XDG_CONFIG_HOME", false, true, kXdgUnset, nullptr, "prefix/share/vocatrix/",
       "home/.config/vocatrix/vocatrix.ini", true},
      {"installed, relative XDG_CONFIG_HOME", false, true, kXdgRelative, nullptr, "prefix/share/vocatrix/",
       "home/.config/vocatrix/vocatrix.ini", true},
      {"installed, folder cannot be made", false, true, kXdgBlocked, nullptr, "prefix/share/vocatrix/",
       "prefix/share/vocatrix/vocatrix.ini", false},
  };
  const std::string program = ProgramFilePath();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const std::string root = dir.Path() + "/";
    std::filesystem::create_directories(root + "prefix/bin");
    std::filesystem::create_directories(root + "home");
    WriteFile(root + "blocker", "a file where a folder should be");
    if (c.langBeside) std::filesystem::create_directories(root + "prefix/bin/lang");
    if (c.share) {
      std::filesystem::create_directories(root + "prefix/share/vocatrix/lang");
      WriteFile(root + "prefix/share/vocatrix/vocatrix.ini", defaults);
      WriteFile(root + "prefix/share/vocatrix/lang/Deutsch.ini", "[Dynamic]\r\n");
    }
    const std::optional<std::string> xdg = c.xdg == kXdgSet       ? std::optional<std::string>(root + "config")
                                           : c.xdg == kXdgRelative ? std::optional<std::string>("config")
                                           : c.xdg == kXdgBlocked  ? std::optional<std::string>(root + "blocker/config")
                                                                   : std::nullopt;
    ScopedEnv xdgEnv("XDG_CONFIG_HOME", xdg);
    ScopedEnv homeEnv("HOME", root + "home");
    if (c.userFile) {
      std::filesystem::create_directories(root + "config/vocatrix");
      WriteFile(root + "config/vocatrix/vocatrix.ini", c.userFile);
    }
    // A translation of the user's own, listed by a relative name.
    std::filesystem::create_directories(root + "config/vocatrix/lang");
    WriteFile(root + "config/vocatrix/lang/Klingon.ini", "[Dynamic]\r\n");
    SetProgramFilePath(root + "prefix/bin/vocatrix");

    EXPECT_EQ(ProgramDataFolder(), root + c.data);
    EXPECT_EQ(ProgramSettingsFile(), root + c.settings);
    EXPECT_EQ(SettingsWritable(), c.writable);
    EXPECT_EQ(SettingsFolder(), c.xdg == kXdgBlocked ? root + "blocker/config/vocatrix/" : FolderOf(root + c.settings));
    if (std::string(c.data) == "prefix/bin/") {
      EXPECT_FALSE(std::filesystem::exists(root + "config/vocatrix/vocatrix.ini"));
      continue;
    }
    // The user's file holds its own values and every section of the defaults it lacked.
    const IniFile settings(ProgramSettingsFile());
    EXPECT_EQ(settings.ReadString("Sound", "Start", ""), c.userFile ? "mine.wav" : "sounds/start.wav");
    EXPECT_EQ(settings.ReadString("Config", "Language", ""), c.userFile ? "Deutsch" : "");
    EXPECT_EQ(settings.ReadSectionValues("Languages"), c.languages);
    // Relative names: from the user's folder when the file is there, else from the data folder.
    EXPECT_EQ(LanguageFileName("Deutsch"), root + "prefix/share/vocatrix/lang/Deutsch.ini");
    EXPECT_EQ(LanguageFileName("Klingon"), c.writable && c.xdg == kXdgSet ? root + "config/vocatrix/lang/Klingon.ini"
                                                                          : root + "prefix/share/vocatrix/lang/Klingon.ini");
    EXPECT_EQ(ResolveIniPath(ProgramSettingsFile(), "sounds\\start.wav"), root + "prefix/share/vocatrix/sounds/start.wav");
    if (c.writable) {
      IniFile(ProgramSettingsFile()).WriteString("Config", "CharSet", "x");
      EXPECT_EQ(ReadFile(root + "prefix/share/vocatrix/vocatrix.ini"), defaults);
    }
  }
  SetProgramFilePath(program);
}

}  // namespace
}  // namespace vocatrix
