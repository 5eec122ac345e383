// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The choices of a reader of delimited text (CSV, TSV, Anki's text
// exports); what the caller leaves open is found from the file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "files/textencoding.h"

namespace vocatrix {

enum class ColumnRole : std::uint8_t { Word, Synonyms, Translations, Antonyms, AntonymTranslations, Form, Ignore };
inline constexpr int kColumnRoles = 7;
enum class HeaderRow : std::uint8_t { Automatic, Yes, No };

// The reader's choices; what is left open is found from the file.
struct CsvOptions {
  char Separator = 0;  // 0: found
  TextEncoding Encoding = TextEncoding::Automatic;
  HeaderRow Header = HeaderRow::Automatic;
  // The role of each column from the first on; columns beyond are ignored.
  // Empty: found.
  std::vector<ColumnRole> Columns;
  // Language names (Windows-1252); empty: the header's, or the defaults.
  std::string Language1, Language2;
};

}  // namespace vocatrix
