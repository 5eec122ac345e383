// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File attributes the editor checks before writing.

#include <string>

namespace vocatrix::ui {

// True when the file exists and may not be written: the user lacks write
// permission, or the file's write bit for the user's class is cleared (so a
// file marked read-only counts as such also for the administrator).
bool FileIsReadOnly(const std::string& fileName);

}  // namespace vocatrix::ui
