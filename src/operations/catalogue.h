// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lesson catalogue: one summary line for every lesson file below a folder.
//
// Folders end with "/". Within a folder, names are taken in byte order (the
// order readdir gives is not stable on Linux), so a catalogue is the same on
// every run.

#include <string>
#include <vector>

namespace vocatrix {

// Every subfolder below `directory`, depth first, each before its own
// subfolders, as directory + name + "/"; `directory` itself is not part of
// it. A folder counts when it is a real folder (symbolic links are not
// followed, so a link loop cannot trap the walk), readable and searchable,
// and its name does not start with "." (hidden folders and their whole
// subtree are left out). Unreadable folders contribute nothing.
std::vector<std::string> ListSubdirectories(const std::string& directory);

// Appends every entry of `directory` (not its subfolders) whose name ends in
// ".tav" in any letter case, hidden ones included, folders excepted.
void ListLessonFiles(const std::string& directory, std::vector<std::string>& files);

// The lesson's summary line, fields joined by "; ": file name (lower case),
// title, topic, name of the holding folder (lower case), author, picture,
// language 1, language 2, number of entries, number of words. A lesson
// string (Windows-1252); the lesson is loaded without compacting. Raises the
// loading errors of the lesson files.
std::string LessonSummary(const std::string& fileName);

struct TCatalogueError {
  std::string FileName;
  std::string Message;  // UTF-8
};

struct TCatalogue {
  std::vector<std::string> Lines;  // lesson strings, in catalogue order
  std::vector<TCatalogueError> Errors;
};

// Walks the subfolders of `directory` (ListSubdirectories, then
// ListLessonFiles of each) and summarises every lesson file. At the first
// lesson that cannot be loaded the walk stops with that error and the lines
// made so far; with `keepGoing` it records the error and goes on.
TCatalogue MakeCatalogue(const std::string& directory, bool keepGoing = false);

}  // namespace vocatrix
