// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/catalogue.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iterator>

#include "base/cp1252.h"
#include "base/folderlisting.h"
#include "exercise/exercise.h"
#include "model/exceptions.h"

namespace vocatrix {

namespace {

std::string WithSlash(const std::string& directory) {
  if (directory.empty()) return "./";
  return directory.back() == '/' ? directory : directory + "/";
}

bool IsWalkableFolder(const std::string& path) {
  struct stat st;
  if (::lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  return ::faccessat(AT_FDCWD, path.c_str(), R_OK | X_OK, AT_EACCESS) == 0;
}

bool HasLessonExtension(const std::string& name) {
  if (name.size() < 4) return false;
  std::string ext = name.substr(name.size() - 4);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext == ".tav";
}

void AddSubdirectories(const std::string& directory, std::vector<std::string>& out) {
  for (const std::string& name : SortedFolderNames(directory)) {
    if (name[0] == '.') continue;  // hidden
    const std::string path = directory + name;
    if (!IsWalkableFolder(path)) continue;
    const std::string folder = path + "/";
    out.push_back(folder);
    AddSubdirectories(folder, out);
  }
}

// File or folder name as a lower-case lesson string.
std::string LowerName(const std::string& utf8Name) { return AnsiLowerCase(Utf8ToCp1252(utf8Name)); }

}  // namespace

std::vector<std::string> ListSubdirectories(const std::string& directory) {
  std::vector<std::string> out;
  AddSubdirectories(WithSlash(directory), out);
  return out;
}

void ListLessonFiles(const std::string& directory, std::vector<std::string>& files) {
  const std::string folder = WithSlash(directory);
  for (const std::string& name : SortedFolderNames(folder)) {
    if (!HasLessonExtension(name)) continue;
    const std::string path = folder + name;
    struct stat st;
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) continue;
    files.push_back(path);
  }
}

std::string LessonSummary(const std::string& fileName) {
  const std::unique_ptr<TLesson> lesson = TLesson::CreateFromFile(fileName);
  const std::size_t slash = fileName.rfind('/');
  const std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  std::string folder = slash == std::string::npos ? std::string() : fileName.substr(0, slash);
  const std::size_t folderSlash = folder.rfind('/');
  if (folderSlash != std::string::npos) folder.erase(0, folderSlash + 1);

  const std::string fields[] = {
      LowerName(name),
      lesson->Title,
      lesson->Topic,
      LowerName(folder),
      lesson->Author,
      lesson->Picture,
      lesson->Language1.Name,
      lesson->Language2.Name,
      std::to_string(lesson->EntryCount()),
      std::to_string(CountWords(*lesson, 2)),
  };
  std::string line = fields[0];
  for (std::size_t i = 1; i < std::size(fields); ++i) line += "; " + fields[i];
  return line;
}

TCatalogue MakeCatalogue(const std::string& directory, bool keepGoing) {
  std::vector<std::string> files;
  for (const std::string& folder : ListSubdirectories(directory)) ListLessonFiles(folder, files);
  TCatalogue catalogue;
  catalogue.Lines.reserve(files.size());
  for (const std::string& file : files) {
    try {
      catalogue.Lines.push_back(LessonSummary(file));
    } catch (const std::exception& e) {
      // Whatever one lesson does wrong (even running out of memory), the
      // lines of the others stay.
      catalogue.Errors.push_back({file, e.what()});
      if (!keepGoing) break;
    }
  }
  return catalogue;
}

}  // namespace vocatrix
