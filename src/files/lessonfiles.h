// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lesson files by kind, decided from the extension through the gateway of
// formats (lessonformats.h).

#include <string>
#include <vector>

namespace vocatrix {

struct TextFileLines;
struct TransferReport;

enum FileKindCode : int { kNotLesson = 0, kLessonFile = 1, kTextFile = 2, kRichTextFile = 3 };

// 1 ".tav", 2 ".txt", 3 ".rtf" (compared without regard to case), 0 otherwise.
// The extension is the part from the last "." on, when no "/" follows it.
int FileKind(const std::string& fileName);

// Position of the extension's "." (the last one, when no "/" follows it),
// or npos when the name has none.
std::size_t ExtensionStart(const std::string& fileName);

// The backup name of a file: its extension replaced by ".BAK", or ".BAK"
// appended when it has none.
std::string BackupName(const std::string& fileName);

// Notes in `report` what reading a lesson-text file found: the lines read,
// characters read as "?" and the lines holding them, and lines made from a
// table row that held more than one entry.
void NoteTextLines(const TextFileLines& text, TransferReport& report);

// Raises ENoEntryLine when lesson text read leniently skips lines as
// malformed and reads not one entry line; `delimitedWay` (for the message)
// names how the program reads delimited text. Text without malformed lines,
// header lines alone too, is a lesson (perhaps without entries) and passes.
void RequireEntryLine(const std::vector<std::string>& lines, const std::string& fileName,
                      const std::string& delimitedWay);

// The content of a plain-text file holding `lines`, each ended by CR LF:
// Windows-1252, or UTF-8 with a byte-order mark where the reader would
// otherwise take the bytes for UTF-8 (PlainTextIsUtf8), so that the lines
// always read back as they are.
std::string TextFileImage(const std::vector<std::string>& lines);

}  // namespace vocatrix
