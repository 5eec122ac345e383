// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The encodings of delimited text (CSV, TSV, Anki's text exports) as
// spreadsheets and other programs write it, turned into text the readers
// can split: UTF-8 or Windows-1252 bytes, in which every separator, quote
// and line break is the ASCII byte it is.

#include <cstdint>
#include <string>
#include <string_view>

namespace vocatrix {

enum class TextEncoding : std::uint8_t { Automatic, Utf8, Utf16LE, Utf16BE, Windows1252 };

struct DecodedText {
  // UTF-8 when `Utf8`, else Windows-1252; without a byte-order mark.
  std::string_view Text() const { return Converted ? std::string_view(Storage) : Source; }
  bool Utf8 = false;
  TextEncoding Found = TextEncoding::Utf8;  // what the data was read as
  std::string_view Source;  // the data itself, when it needed no conversion
  std::string Storage;      // the converted data otherwise
  bool Converted = false;
};

// Reads `data` in `encoding`. A byte-order mark (UTF-8, UTF-16 LE or BE)
// decides over any choice and is dropped. Automatic takes UTF-16 without a
// mark by its NUL bytes, then UTF-8 when the data is valid UTF-8, else
// Windows-1252. UTF-16 is converted to UTF-8 (unpaired surrogates become
// U+FFFD). Windows-1252 and UTF-8 refer to `data` itself.
DecodedText DecodeText(std::string_view data, TextEncoding encoding);

// "utf-8", "utf-16le", "utf-16be", "windows-1252" (empty for Automatic),
// and back (also "utf8", "cp1252", "latin1"...; -1 for none).
std::string EncodingName(TextEncoding encoding);
int EncodingOfName(std::string_view name);

// UTF-16 (`bigEndian` or little-endian) as UTF-8.
std::string Utf16ToUtf8(std::string_view data, bool bigEndian);

}  // namespace vocatrix
