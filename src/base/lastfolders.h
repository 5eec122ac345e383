// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the editor's file dialogs start: the folder last used for each kind
// of file, kept in section [Folders] of the settings file; and a file name
// made of a lesson's title for a new lesson's Save As.

#include <string>

#include "base/settings.h"

namespace vocatrix {

// The kinds of files whose dialogs remember their folder: lesson files and
// lesson text (Open, Save As), exchange files (Import, Export), and the
// folder the lesson browser catalogues.
enum class TFolderKind { kLessons, kExchange, kBrowse };

// The folder last used for `kind`, with a trailing "/", while it is still
// there; else `fallback` (the user's home folder unless given).
std::string LastFolder(TFolderKind kind, const std::string& fallback = HomeFolder());
// Keeps `folder` (a path, with or without a trailing "/") as the one last
// used for `kind`, written to the settings file at once when it changed.
// False when the settings file cannot be written.
bool RememberFolder(TFolderKind kind, const std::string& folder);

// A file name (without extension) made of a Windows-1252 title: characters
// no file name should hold ("/", "\", ":", "*", "?", quotes, "<", ">", "|",
// control characters) become "_", runs of blanks one blank, blanks and dots
// at either end go, and at most 100 characters stay. Empty for a title
// without a usable character.
std::string FileNameOfTitle(const std::string& title);

}  // namespace vocatrix
