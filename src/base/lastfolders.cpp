// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/lastfolders.h"

#include <sys/stat.h>

#include <string_view>

#include "base/errors.h"
#include "base/inifile.h"

namespace vocatrix {
namespace {

constexpr const char* kSection = "Folders";

const char* KeyOf(TFolderKind kind) {
  switch (kind) {
    case TFolderKind::kLessons: return "Lessons";
    case TFolderKind::kExchange: return "Exchange";
    case TFolderKind::kBrowse: return "Browse";
  }
  return "Lessons";
}

std::string WithSlash(std::string folder) {
  if (!folder.empty() && folder.back() != '/') folder += '/';
  return folder;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::string LastFolder(TFolderKind kind, const std::string& fallback) {
  const std::string value = IniFile(ProgramSettingsFile()).ReadString(kSection, KeyOf(kind), "");
  const std::string folder = value.empty() ? std::string() : WithSlash(PathFromSettings(value));
  // A folder removed since, or a value no path, starts at home.
  return !folder.empty() && folder[0] == '/' && IsFolder(folder) ? folder : fallback;
}

bool RememberFolder(TFolderKind kind, const std::string& folder) {
  const std::string value = WithSlash(folder);
  if (value.empty()) return true;
  try {
    IniFile settings(ProgramSettingsFile());
    if (PathFromSettings(settings.ReadString(kSection, KeyOf(kind), "")) != value)
      settings.WriteString(kSection, KeyOf(kind), value);
    return true;
  } catch (const Exception&) {
    // The settings cannot be written (the status bar said so at start-up):
    // the dialogs start where they did.
    return false;
  }
}

std::string FileNameOfTitle(const std::string& title) {
  std::string name;
  for (const char c : title) {
    const auto byte = static_cast<unsigned char>(c);
    const bool blank = byte == ' ' || byte == '\t' || byte == 0xA0;
    const bool refused =
        byte < 0x20 || byte == 0x7F || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos;
    if (blank) {
      if (!name.empty() && name.back() != ' ') name += ' ';
    } else {
      name += refused ? '_' : c;
    }
    if (name.size() >= 100) break;
  }
  const auto edge = [](char c) { return c == ' ' || c == '.'; };
  while (!name.empty() && edge(name.back())) name.pop_back();
  std::size_t start = 0;
  while (start < name.size() && edge(name[start])) ++start;
  name.erase(0, start);
  // Nothing but the replacement character left says nothing of the title.
  return name.find_first_not_of('_') == std::string::npos ? std::string() : name;
}

}  // namespace vocatrix
