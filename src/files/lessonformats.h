// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one gateway of lesson files: every format a lesson is read from or
// written to, by extension, with its reader, its writer and its dialog
// label. CreateFromFile, SaveToFile, FileKind, the editor's open, save,
// import and export, and the command line all choose a format here.

#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "files/anki/ankioptions.h"
#include "files/csv/csvoptions.h"
#include "files/transferreport.h"

namespace vocatrix {

class TMeanCollection;

struct ReadOptions {
  // The KVTML identifiers (KVTML 1: columns) taken as language 1 and 2;
  // -1: the file's first two.
  int Language1 = -1;
  int Language2 = -1;
  // Delimited text: separator, encoding, header and the roles of columns.
  CsvOptions Csv;
  // Anki decks: the note type and the deck whose notes are read.
  AnkiOptions Anki;
};

struct LessonFormat {
  std::string_view Extension;  // lower case, with the dot
  int Kind;                    // FileKind code; 0 for the exchange formats
  // Exchange formats are reached by Import and Export, not by Open and Save.
  bool Exchange;
  // Labels of the open and save dialogs' filters. The two lesson-text labels
  // differ in spacing between the dialogs, and the filters keep them so.
  std::string_view OpenLabel;
  std::string_view SaveLabel;
  // Fills a fresh lesson from the file; the lesson-text reader compacts.
  void (*Read)(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
               TransferReport& report);
  // Writes the lesson safely (temporary file, then rename); the previous file
  // becomes `backupName` when one is given.
  void (*Write)(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
                TransferReport& report);
  // The command line's writer when it differs: real rich text for ".rtf",
  // where SaveToFile and the editor write plain lesson text. Null otherwise.
  void (*WriteRich)(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
                    TransferReport& report);
};

// All formats: the lesson kinds ".rtf", ".txt", ".tav" in the dialogs' order,
// then the exchange formats ".kvtml", ".csv", ".tsv", ".apkg".
std::span<const LessonFormat> LessonFormats();

// The format of a file name by its extension (without regard to case), or
// null. The extension is the part from the last "." on, when no "/" follows.
const LessonFormat* FindLessonFormat(const std::string& fileName);

// Dialog filters ("label|pattern|..."). The open filter starts with all
// lesson kinds together; the exchange filter lists each exchange format.
std::string OpenDialogFilter();
std::string SaveDialogFilter();
std::string ExchangeDialogFilter();

// File > Import's filter: the exchange formats, then Anki's text exports
// (".txt"), which Import reads as delimited text.
std::string ImportDialogFilter();
// Whether Import reads the file as delimited text (".csv", ".tsv", ".txt"),
// with a separator, encoding, header and columns the user may choose.
bool IsDelimitedText(const std::string& fileName);
// Imports a file as delimited text whatever its extension, by `options.Csv`:
// read and compacted (ImportCsv), as the import dialog's preview shows it.
std::unique_ptr<TMeanCollection> ImportDelimitedText(const std::string& fileName, const ReadOptions& options,
                                                     TransferReport& report);

// Whether Import reads the file as an Anki deck (".apkg"), whose note type
// and deck the user may choose.
bool IsAnkiDeck(const std::string& fileName);
// The note types and decks of an Anki deck (the bytes of `fileName`) to
// choose from, and its lesson as `options.Anki` chooses it, read (and not
// compacted) as ReadLessonByFormat reads the file.
AnkiContents ListAnkiDeck(std::string_view package, const std::string& fileName);
std::unique_ptr<TMeanCollection> ReadAnkiDeck(std::string_view package, const std::string& fileName,
                                              const ReadOptions& options, TransferReport& report);

// Reads a lesson of any format; raises ENotLesson for a name of none.
std::unique_ptr<TMeanCollection> ReadLessonByFormat(const std::string& fileName, const ReadOptions& options,
                                                    TransferReport& report);
// Writes a lesson in any format with its plain writer (WriteRich when
// `rich` and the format has one); raises ENotLesson for a name of none.
void WriteLessonByFormat(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
                         TransferReport& report, bool rich = false);

}  // namespace vocatrix
