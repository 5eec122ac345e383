// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/settings.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <set>
#include <vector>

#include "base/cp1252.h"
#include "base/inifile.h"
#include "base/languagenames.h"
#include "base/safesave.h"

namespace vocatrix {
namespace {

std::string& ProgramPathStorage() {
  static std::string path = [] {
    std::vector<char> buffer(PATH_MAX + 1);
    const ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
    return n > 0 ? std::string(buffer.data(), static_cast<std::size_t>(n)) : std::string("vocatrix");
  }();
  return path;
}

bool IsAbsoluteSetting(const std::string& value) {
  return (!value.empty() && value[0] == '/') || value.find(":\\") != std::string::npos;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The data and settings folders of an installed program are named after it.
constexpr const char* kInstalledName = "vocatrix";

bool Installed() { return ProgramDataFolder() != ProgramFolder(); }

// An XDG base folder of the user's: the variable's value when it is an
// absolute path, else `fallback` below the home folder.
std::string UserXdgFolder(const char* variable, const char* fallback) {
  const char* xdg = std::getenv(variable);
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/" + kInstalledName + "/";
  return HomeFolder() + fallback + "/" + kInstalledName + "/";
}

std::string UserConfigFolder() { return UserXdgFolder("XDG_CONFIG_HOME", ".config"); }

}  // namespace

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  std::string base = home && *home ? home : "";
  if (base.empty())
    if (const passwd* user = ::getpwuid(::getuid())) base = user->pw_dir;
  return base.empty() || base.back() != '/' ? base + "/" : base;
}

namespace {

// The program's name with ".ini" for its extension.
std::string SettingsFileName() {
  const std::string name = ExtractFileName(ProgramFilePath());
  const auto dot = name.rfind('.');
  return (dot != std::string::npos && dot > 0 ? name.substr(0, dot) : name) + ".ini";
}

// Gives a language list the languages of the defaults' list it lacks (those
// shipped since it was made), after its own, with their files. Whether it
// changed anything.
bool AddMissingLanguages(IniFile& target, const IniFile& source) {
  std::set<std::string> names;
  long last = 0;
  std::string key, value;
  for (const std::string& line : target.ReadSectionValues("Languages"))
    if (SplitIniLine(line, key, value)) {
      names.insert(AnsiLowerCase(value));
      last = std::max(last, std::strtol(key.c_str(), nullptr, 10));
    }
  bool changed = false;
  for (const std::string& line : source.ReadSectionValues("Languages")) {
    if (!SplitIniLine(line, key, value) || value.empty() || !names.insert(AnsiLowerCase(value)).second) continue;
    target.WriteString("Languages", std::to_string(++last), value);
    // A list without its files gets the defaults' whole section below.
    if (target.SectionExists("LanguageFiles") && target.ReadString("LanguageFiles", value, "").empty())
      target.WriteString("LanguageFiles", value, source.ReadString("LanguageFiles", value, ""));
    changed = true;
  }
  return changed;
}

// Gives `file` the sections of `defaults` it lacks, and its language list
// the languages it lacks, once per file and run.
void AddDefaultSections(const std::string& file, const std::string& defaults) {
  static std::set<std::string> done;
  if (!done.insert(file).second) return;
  std::string text;
  if (!TryReadWholeFile(defaults, text)) return;
  const IniFile source = IniFile::Load(defaults);
  try {
    MakeFolders(FolderOf(file));
    IniFile target = IniFile::Edit(file);
    bool changed = !FileExists(file);
    for (std::size_t start = 0; start < text.size();) {
      auto end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      const std::string line = text.substr(start, end - start);
      start = end + 1;
      const auto close = line.find(']');
      if (line.empty() || line[0] != '[' || close == std::string::npos) continue;
      const std::string section = line.substr(1, close - 1);
      if (target.SectionExists(section)) {
        if (SameTextAsciiCaseless(section, "Languages")) changed = AddMissingLanguages(target, source) || changed;
        continue;
      }
      std::string key, value;
      for (const std::string& entry : source.ReadSectionValues(section))
        if (SplitIniLine(entry, key, value)) target.WriteString(section, key, value);
      changed = true;
    }
    if (changed) target.Save();
  } catch (const std::exception&) {
    // Left as it is: the defaults are read, and the failure shows when the settings are written.
  }
}

}  // namespace

void MakeFolders(const std::string& folder) {
  for (auto slash = folder.find('/', 1); slash != std::string::npos; slash = folder.find('/', slash + 1))
    ::mkdir(folder.substr(0, slash).c_str(), 0700);
}

std::string ProgramFilePath() { return ProgramPathStorage(); }
void SetProgramFilePath(const std::string& path) { ProgramPathStorage() = path; }

std::string ProgramSettingsFile() {
  if (!Installed()) return ProgramFolder() + SettingsFileName();
  const std::string file = UserConfigFolder() + SettingsFileName();
  const std::string defaults = ProgramDataFolder() + SettingsFileName();
  AddDefaultSections(file, defaults);
  return FileExists(file) || !FileExists(defaults) ? file : defaults;
}

std::string ProgramFolder() { return FolderOf(ProgramFilePath()); }

std::string ProgramDataFolder() {
  // Asked for on every settings lookup: the folders are looked at once per program path.
  thread_local std::string forProgram, folder;
  const std::string program = ProgramFolder();
  if (program == forProgram && !folder.empty()) return folder;
  forProgram = program;
  folder = program;
  if (program.empty() || IsFolder(program + "lang")) return folder;
  const std::string installed = ExpandFileName(program + "../share/" + kInstalledName + "/");
  if (IsFolder(installed)) folder = installed;
  return folder;
}

std::string SettingsFolder() { return Installed() ? UserConfigFolder() : ProgramFolder(); }

std::string RecoveryFolder() {
  return (Installed() ? UserXdgFolder("XDG_STATE_HOME", ".local/state") : SettingsFolder()) + "recovery/";
}

bool SettingsWritable() {
  const std::string file = SettingsFolder() + SettingsFileName();
  struct stat st {};
  if (::stat(file.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return false;
  std::string probe = SettingsFolder() + ".settings-XXXXXX";
  const int fd = ::mkstemp(probe.data());
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ExtractFileName(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExpandFileName(const std::string& path) {
  std::string full = path;
  if (full.empty() || full[0] != '/') {
    std::vector<char> cwd(PATH_MAX + 1);
    if (::getcwd(cwd.data(), cwd.size())) full = std::string(cwd.data()) + "/" + full;
  }
  // Resolve "." and ".." lexically, keeping a trailing "/".
  std::vector<std::string> parts;
  std::size_t start = 1;
  while (start <= full.size()) {
    auto end = full.find('/', start);
    if (end == std::string::npos) end = full.size();
    const std::string part = full.substr(start, end - start);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    start = end + 1;
  }
  std::string result;
  for (const std::string& part : parts) result += "/" + part;
  if (result.empty()) result = "/";
  else if (full.back() == '/') result += "/";
  return result;
}

std::string PathFromSettings(const std::string& value) {
  for (unsigned char c : value)
    if (c >= 0x80) return LooksLikeUtf8(value) ? value : Cp1252ToUtf8(value);
  return value;
}

std::string ResolveSettingsPath(const std::string& folder, const std::string& value) {
  if (IsAbsoluteSetting(value)) return PathFromSettings(value);
  std::string relative = PathFromSettings(value);
  for (char& c : relative)
    if (c == '\\') c = '/';
  return ExpandFileName(folder + relative);
}

std::string ResolveIniPath(const std::string& iniFile, const std::string& value) {
  if (iniFile != ProgramSettingsFile()) return ResolveSettingsPath(FolderOf(ExpandFileName(iniFile)), value);
  const std::string own = ResolveSettingsPath(SettingsFolder(), value);
  if (SettingsFolder() == ProgramDataFolder() || FileExists(own)) return own;
  return ResolveSettingsPath(ProgramDataFolder(), value);
}

std::string ConfigPath(const std::string& section, const std::string& key, const std::string& defaultValue) {
  const std::string value = IniFile(ProgramSettingsFile()).ReadString(section, key, "");
  if (value.empty()) return defaultValue;
  if (value.find(":\\") != std::string::npos) return value;
  return ResolveIniPath(ProgramSettingsFile(), value);
}

std::string LanguageFileName(const std::string& language) {
  if (language.empty()) return {};
  const std::string listFile = ConfigPath("Config", "LanguageIni", ProgramSettingsFile());
  const std::string fileName = IniFile(listFile).ReadString("LanguageFiles", language, "");
  return ResolveIniPath(listFile, fileName);
}

std::vector<std::string> InterfaceLanguages() {
  const IniFile list(ConfigPath("Config", "LanguageIni", ProgramSettingsFile()));
  std::vector<std::string> languages;
  std::string key, value;
  for (const std::string& line : list.ReadSectionValues("Languages"))
    if (SplitIniLine(line, key, value) && !value.empty()) languages.push_back(value);
  return languages;
}

std::string InterfaceLanguageOfLocale(const std::string& locale) {
  if (const LanguageRow* wanted = FindLocale(locale))
    for (const std::string& language : InterfaceLanguages()) {
      const LanguageRow* row = FindLanguage(language);
      struct stat st {};
      if (row && row->Locale == wanted->Locale && ::stat(LanguageFileName(language).c_str(), &st) == 0 &&
          S_ISREG(st.st_mode))
        return language;
    }
  return "English";
}

}  // namespace vocatrix
