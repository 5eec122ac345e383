// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lessons as comma- or tab-separated values, for spreadsheets and Anki: a
// header line, then one line per entry with the fields word, synonyms,
// translations, antonyms, antonym translations and form; lists joined by
// "; ". The header names language 1 over the words and language 2 over the
// translations. Quoting follows RFC 4180; lines end in CR LF; UTF-8.

#include <string>
#include <string_view>

#include "files/lessonformats.h"

namespace vocatrix {

class TMeanCollection;

// The lesson as CSV with `separator` (',' or '\t'), with a byte-order mark
// when `bom`. Words holding ";" in a list field are named in `report`: they
// would read back split.
std::string CsvImage(const TMeanCollection& lesson, char separator, bool bom, TransferReport& report);
// ".tsv" names get tabs and no byte-order mark (as Anki writes), any other
// name commas and a byte-order mark (so spreadsheets take it as UTF-8).
void SaveCsv(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
             TransferReport& report);

// Fills a fresh lesson from CSV: UTF-8 with or without a byte-order mark
// (bytes that are no UTF-8 are taken as Windows-1252), lines ended by CR LF,
// LF or CR, quoted fields holding separators, quotes and line breaks.
// `separator` 0 takes the one of ',', ';' and tab that splits the header
// into the most fields. Unknown forms count as skipped.
void ParseCsv(std::string_view data, char separator, TMeanCollection& lesson, TransferReport& report);
void LoadCsv(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
             TransferReport& report);

}  // namespace vocatrix
