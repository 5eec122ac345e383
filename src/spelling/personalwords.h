// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The personal word list of a spelling dictionary: the words "Add to
// dictionary" accepted, kept in a text file in the user's settings folder.
//
// The file is UTF-8, one word a line (LF, CR LF or CR line ends, an
// optional byte-order mark). Lines are trimmed of blanks and control characters;
// empty lines and lines beginning with "#" are skipped. A line that is not
// UTF-8 is read as Windows-1252, as a file saved by a Windows editor is.

#include <string>
#include <string_view>
#include <vector>

namespace vocatrix {

// The words of a personal word list's text as lesson strings (Windows-1252),
// in file order, each once. Lines holding characters Windows-1252 cannot
// hold are left out (no lesson holds such a word), but stay in the file.
std::vector<std::string> ParsePersonalWords(std::string_view text);

// The text with `word` (a lesson string without line breaks) appended as a
// line of its own; everything already there is kept byte for byte.
std::string AppendPersonalWord(std::string_view text, std::string_view word);

// The words of the file; none when it is missing or cannot be read.
std::vector<std::string> ReadPersonalWords(const std::string& fileName);

// Appends the word to the file, creating it (and its folder) when missing,
// through the safe save. An existing file that cannot be read raises
// EFOpenError and is left alone; a failed write raises as the save does.
void AddPersonalWord(const std::string& fileName, std::string_view word);

}  // namespace vocatrix
