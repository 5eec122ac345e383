// SPDX-License-Identifier: GPL-3.0-or-later
#include "spelling/dictionaries.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>

#include "base/cp1252.h"
#include "base/inifile.h"
#include "base/languagenames.h"
#include "base/settings.h"

namespace vocatrix {
namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

// The name as the table and the settings compare it.
std::string NameKey(std::string_view name) { return AnsiLowerCase(Trimmed(name)); }

std::vector<std::string> Split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  while (true) {
    const std::size_t at = text.find(separator);
    if (!text.substr(0, at).empty()) parts.emplace_back(text.substr(0, at));
    if (at == std::string_view::npos) return parts;
    text.remove_prefix(at + 1);
  }
}

bool IsReadableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// "de_DE", "fr", "sr_Latn_RS", also "de-DE": letters and digits in parts
// joined by "_" or "-". Nothing else is taken for a name in a folder.
bool LooksLikeDictionaryName(std::string_view name) {
  if (name.empty() || name.size() > 32 || name.front() == '_' || name.front() == '-') return false;
  return std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
  });
}

// The language part of a dictionary name: "de" of "de_DE".
std::string_view LanguageCode(std::string_view name) { return name.substr(0, name.find('_')); }

void AddFolder(std::vector<std::string>& folders, std::string folder) {
  if (folder.empty() || folder.front() != '/') return;
  if (folder.back() != '/') folder += '/';
  if (std::find(folders.begin(), folders.end(), folder) == folders.end()) folders.push_back(std::move(folder));
}

}  // namespace

std::vector<std::string> DictionaryFolders() {
  std::vector<std::string> folders;
  if (const char* dicpath = std::getenv("DICPATH"))
    for (std::string& folder : Split(dicpath, ':')) AddFolder(folders, std::move(folder));
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (dataHome && dataHome[0] == '/') AddFolder(folders, std::string(dataHome) + "/hunspell");
  else if (home && home[0] == '/') AddFolder(folders, std::string(home) + "/.local/share/hunspell");
  const char* dataDirs = std::getenv("XDG_DATA_DIRS");
  for (std::string& folder : Split(dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share", ':'))
    AddFolder(folders, folder + "/hunspell");
  AddFolder(folders, "/usr/share/hunspell");
  AddFolder(folders, "/usr/share/myspell/dicts");
  AddFolder(folders, "/usr/share/myspell");
  return folders;
}

std::vector<std::string> TableDictionaries(std::string_view languageName) {
  const LanguageRow* row = FindLanguage(languageName);
  return row ? RowDictionaries(*row) : std::vector<std::string>();
}

DictionaryChooser::DictionaryChooser(std::vector<std::string> folders) : folders_(std::move(folders)) {}

void DictionaryChooser::ReadSettings(const IniFile& settings) {
  SetOverrides(settings.ReadSectionValues(kDictionariesSection), FolderOf(ExpandFileName(settings.FileName())));
}

void DictionaryChooser::SetOverrides(const std::vector<std::string>& lines, const std::string& folder) {
  overrides_.clear();
  overrideFolder_ = folder;
  std::string key, value;
  for (const std::string& line : lines)
    if (SplitIniLine(line, key, value) && !value.empty()) overrides_.push_back({NameKey(key), value});
}

DictionaryChoice DictionaryChooser::Choose(const std::string& languageName) const {
  DictionaryChoice choice{languageName, std::nullopt, false};
  const std::string key = NameKey(languageName);
  for (const Override& o : overrides_) {
    if (o.Language != key) continue;
    if (NameKey(o.Value) == "none") choice.Off = true;
    else choice.Files = Find(o.Value, overrideFolder_);
    return choice;
  }
  const std::vector<std::string> wanted = TableDictionaries(languageName);
  for (const std::string& name : wanted)
    if ((choice.Files = FindByName(name))) return choice;
  if (!wanted.empty()) {
    // Another region's dictionary of the same language, rather than none.
    const std::string_view code = LanguageCode(wanted.front());
    for (const std::string& name : Installed())
      if (LanguageCode(name) == code && (choice.Files = FindByName(name))) return choice;
    return choice;
  }
  const std::string_view trimmed = Trimmed(languageName);
  if (LooksLikeDictionaryName(trimmed)) {
    std::string name(trimmed);
    std::replace(name.begin(), name.end(), '-', '_');
    choice.Files = FindByName(name);
  }
  return choice;
}

std::optional<DictionaryFiles> DictionaryChooser::Find(std::string_view nameOrPath, const std::string& folder) const {
  const std::string_view value = Trimmed(nameOrPath);
  const auto endsWith = [&](std::string_view end) {
    return value.size() > end.size() && NameKey(value.substr(value.size() - end.size())) == end;
  };
  const bool file = endsWith(".dic") || endsWith(".aff");
  if (!file && value.find('/') == std::string_view::npos && value.find('\\') == std::string_view::npos)
    return LooksLikeDictionaryName(value) ? FindByName(value) : std::nullopt;
  std::string path = ResolveSettingsPath(folder, std::string(value));
  if (file) path.resize(path.size() - 4);
  DictionaryFiles found{ExtractFileName(path), path + ".aff", path + ".dic"};
  if (!IsReadableFile(found.Aff) || !IsReadableFile(found.Dic)) return std::nullopt;
  return found;
}

std::optional<DictionaryFiles> DictionaryChooser::FindByName(std::string_view name) const {
  for (const std::string& folder : folders_) {
    DictionaryFiles found{std::string(name), folder + std::string(name) + ".aff", folder + std::string(name) + ".dic"};
    if (IsReadableFile(found.Aff) && IsReadableFile(found.Dic)) return found;
  }
  return std::nullopt;
}

std::vector<std::string> DictionaryChooser::Installed() const {
  std::set<std::string> names;
  for (const std::string& folder : folders_) {
    std::error_code ec;
    for (auto it = std::filesystem::directory_iterator(folder, ec); !ec && it != std::filesystem::directory_iterator();
         it.increment(ec)) {
      const std::filesystem::path& path = it->path();
      if (path.extension() != ".dic") continue;
      const std::string name = path.stem().string();
      if (LooksLikeDictionaryName(name) && IsReadableFile(folder + name + ".aff") && IsReadableFile(path.string()))
        names.insert(name);
    }
  }
  return {names.begin(), names.end()};
}

}  // namespace vocatrix
