// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lessons as comma- or tab-separated values, for spreadsheets and Anki.
//
// Written: a header line, then one line per entry with the fields word,
// synonyms, translations, antonyms, antonym translations and form; lists
// joined by "; ". The header names language 1 over the words and language 2
// over the translations. Quoting follows RFC 4180; lines end in CR LF; UTF-8.
//
// Read: what spreadsheets and Anki write as well. The encoding (UTF-8,
// UTF-16 with a byte-order mark, Windows-1252), the separator and the role
// of each column are found from the file unless the caller chooses them. A
// first line is a header only when it is the header written here, or the
// caller says so; without one, two columns are a word and its translation.
// Anki's "#separator:", "#html:", "#columns:" and "# ... column:" lines
// are followed.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/lessonformats.h"

namespace vocatrix {

class TMeanCollection;

// What the reader takes from a file's first lines under `options`.
struct CsvLayout {
  char Separator = ',';
  TextEncoding Encoding = TextEncoding::Utf8;
  bool Header = false;  // the first row names the columns
  bool Html = false;    // fields hold HTML (Anki's "#html:true")
  std::vector<ColumnRole> Columns;      // one per column of the widest row seen
  std::vector<std::string> ColumnNames; // from the header or "#columns:" (UTF-8)
  std::string Language1, Language2;     // Windows-1252
  // The first data rows as fields, for a preview: UTF-8, so that they show
  // the file's own characters.
  std::vector<std::vector<std::string>> Rows;
};

// `options` for a file of this name: a ".tsv" is separated by tabs unless
// they choose otherwise.
CsvOptions CsvOptionsForFile(CsvOptions options, const std::string& fileName);

// The layout of delimited text: the separator that splits most lines into
// the same number of fields, the header and the roles, `rows` rows to show.
CsvLayout ExamineCsv(std::string_view data, const CsvOptions& options, std::size_t rows = 20);

// The names of the separators offered ('\t' "tab", ',' "comma", ';'
// "semicolon", ' ' "space", '|' "pipe", ':' "colon"), and back (also a
// single character); 0 for none.
std::string SeparatorName(char separator);
char SeparatorOfName(std::string_view name);
// "word", "synonyms", "translations", "antonyms", "antonym-translations",
// "form", "ignore", and back (-1 for none).
std::string ColumnRoleName(ColumnRole role);
int ColumnRoleOfName(std::string_view name);

// The lesson as CSV with `separator` (',' or '\t'), with a byte-order mark
// when `bom`. Every field holding a character a reader may take for a
// separator is quoted, so the file reads back as itself whatever separator
// a reader guesses. Words holding ";" in a list field are named in
// `report`: they would read back split.
std::string CsvImage(const TMeanCollection& lesson, char separator, bool bom, TransferReport& report);
// ".tsv" names get tabs and no byte-order mark (as Anki writes), any other
// name commas and a byte-order mark (so spreadsheets take it as UTF-8).
void SaveCsv(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
             TransferReport& report);

// Fills a fresh lesson from delimited text. Unknown forms, fields of
// ignored columns and NUL characters are counted in `report`; more entries
// than a lesson holds raise ELessonTooLarge, as do words that outgrow the
// memory of an import. Messages name `fileName`. Returns the number of data
// rows read.
std::size_t ParseCsv(std::string_view data, const CsvOptions& options, const std::string& fileName,
                     TMeanCollection& lesson, TransferReport& report);

// What importing delimited text makes: the lesson read and compacted.
struct CsvImport {
  std::unique_ptr<TMeanCollection> Lesson;
  TransferReport Report;
  std::size_t Rows = 0;  // the data rows it was made from
};
// Imports `data`, the content of `fileName`, by `options` (for the file's
// name): the one reading that the import dialog's preview shows, the editor
// imports and vocatrix-cli converts. Compaction keeps words read with "?"
// apart. Raises what ParseCsv raises.
CsvImport ImportCsv(std::string_view data, const CsvOptions& options, const std::string& fileName);
// Reads a ".csv", ".tsv" or ".txt" file; a ".tsv" is separated by tabs
// unless `options` choose otherwise.
void LoadCsv(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
             TransferReport& report);

}  // namespace vocatrix
