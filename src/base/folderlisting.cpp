// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/folderlisting.h"

#include <dirent.h>

#include <algorithm>

namespace vocatrix {

std::vector<std::string> SortedFolderNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace vocatrix
