// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The import choices kept for the next file of the same shape, in the
// settings section "Import": the separator, encoding and header row the user
// chose, the roles of the columns when they were set, and the shape of the
// file they were made for. A file of another shape starts from what is found
// in it.

#include <string>
#include <string_view>

#include "files/csv/csvoptions.h"

namespace vocatrix {

class IniFile;

struct KeptCsvChoices {
  std::string Shape;   // CsvShape of the file they were made for; empty: none kept
  CsvOptions Options;  // separator, encoding, header row and roles; names and rows are never kept
};

// The shape of `data` (the content of `fileName`) read with the separator,
// encoding and header row of `options`: its number of columns and the names
// the header row or Anki's "#columns:" give them, without regard to case.
std::string CsvShape(std::string_view data, const CsvOptions& options, const std::string& fileName);

// The choices a file starts with: the kept ones when it has their shape read
// with them (and, when that shape names no columns, no names are found in it
// either), else every choice left to be found.
CsvOptions StartingCsvOptions(std::string_view data, const std::string& fileName, const KeptCsvChoices& kept);

KeptCsvChoices ReadKeptCsvChoices(const IniFile& settings);
// Writes the choices into the settings (the caller saves an edited file).
void WriteKeptCsvChoices(IniFile& settings, const KeptCsvChoices& kept);

}  // namespace vocatrix
