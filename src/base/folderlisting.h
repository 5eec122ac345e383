// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The names in a folder in a stable order: readdir's order is not stable on
// Linux, so whatever walks a folder takes its names from here.

#include <string>
#include <vector>

namespace vocatrix {

// The entry names of `folder` other than "." and "..", in byte order; none
// when it cannot be read.
std::vector<std::string> SortedFolderNames(const std::string& folder);

}  // namespace vocatrix
