#include "base/settings.h"

#include <unistd.h>

#include <climits>
#include <vector>

#include "base/cp1252.h"
#include "base/inifile.h"

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

}  // namespace

std::string ProgramFilePath() { return ProgramPathStorage(); }
void SetProgramFilePath(const std::string& path) { ProgramPathStorage() = path; }

std::string ProgramSettingsFile() {
  const std::string path = ProgramFilePath();
  const auto slash = path.rfind('/');
  const auto dot = path.rfind('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1))
    return path.substr(0, dot) + ".ini";
  return path + ".ini";
}

std::string ProgramFolder() { return FolderOf(ProgramFilePath()); }

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

std::string ConfigPath(const std::string& section, const std::string& key, const std::string& defaultValue) {
  const std::string value = IniFile(ProgramSettingsFile()).ReadString(section, key, "");
  if (value.empty()) return defaultValue;
  if (value.find(":\\") != std::string::npos) return value;
  return ResolveSettingsPath(ProgramFolder(), value);
}

std::string LanguageFileName(const std::string& language) {
  if (language.empty()) return {};
  const std::string listFile = ConfigPath("Config", "LanguageIni", ProgramSettingsFile());
  const std::string fileName = IniFile(listFile).ReadString("LanguageFiles", language, "");
  return ResolveSettingsPath(FolderOf(ExpandFileName(listFile)), fileName);
}

}  // namespace vocatrix
