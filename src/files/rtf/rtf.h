// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and writing rich text (RTF) in the core, and reading the lines of
// lesson-text files of either kind.
//
// Text in runs and lines is Windows-1252 bytes; a tab is '\t'.

#include <string>
#include <string_view>
#include <vector>

#include "base/font.h"
#include "base/lostcharacters.h"

namespace vocatrix {

// Character format of a run of text.
// The largest font size read or written, in half points (1638 points, the
// most word processors offer); larger sizes are clamped to it.
constexpr int kMaxRtfHalfPoints = 3276;

struct RtfCharFormat {
  std::string Face;          // empty: the document's default font
  int HalfPoints = 24;       // size in half points (RTF's \fs unit)
  bool HasColor = false;     // false: automatic colour (\cf0 or none)
  TColor Color = 0;          // 0x00BBGGRR when HasColor
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;

  bool operator==(const RtfCharFormat&) const = default;
};

struct RtfRun {
  std::string Text;
  RtfCharFormat Format;
  bool operator==(const RtfRun&) const = default;
};

using RtfParagraph = std::vector<RtfRun>;

struct RtfDocument {
  std::vector<RtfParagraph> Paragraphs;
  // What a reading found beside the text: the paragraphs that ended a
  // table row, characters read as "?" and the paragraphs holding them.
  std::vector<std::size_t> TableRows;
  LostCharacters Lost;
  std::vector<std::size_t> LossyParagraphs;
};

// Parses RTF data. Never crashes on bad input: unbalanced braces, absurd
// nesting, truncated control words and binary garbage yield whatever text
// could be recovered.
//
// Each \par, \line and \sect ends a paragraph; a last paragraph left empty
// after the final one adds none. Table cells are joined by tabs and each \row
// ends a paragraph; \page adds nothing. Bytes (\'hh or raw) are decoded
// through the code page of the current font's \fcharset or \cpg, else the
// document's \ansicpg (Windows-1252 when none is given); characters that
// Windows-1252 cannot hold, from bytes or \uN, become "?" and are noted.
// Text deleted with change tracking on (\deleted), paragraph marks
// included, is no part of the document. Text after the document's outermost
// group is ignored. Adjacent runs of equal format merge.
RtfDocument ParseRtf(std::string_view data);

// Writes a document as RTF (\ansicpg1252, font and colour tables, \par per
// paragraph); ParseRtf reads it back to the same text and formats.
std::string WriteRtf(const RtfDocument& document);

// The plain text of each paragraph, one line per paragraph.
std::vector<std::string> DocumentLines(const RtfDocument& document);

// Whether plain text without a byte-order mark is read as UTF-8: it is valid
// UTF-8, holds a multi-byte sequence, and every character it decodes to is
// one Windows-1252 holds, or one that Windows-1252 text does not make by
// accident. Such text makes a two-byte sequence of an accented capital or "ß"
// and the punctuation mark after it ("Fuß“" reads as "Fu" and a letter of
// N'Ko), so a two-byte character Windows-1252 cannot hold counts only when it
// is a letter of an alphabet other than Latin with no ASCII letter beside it
// (a Greek or Cyrillic word); a character of three or four bytes always counts.
bool PlainTextIsUtf8(std::string_view data);

// Splits plain text into lines at CR LF, LF or CR (a final line break adds
// no empty line). UTF-8 text (a byte-order mark, or PlainTextIsUtf8) is
// converted to Windows-1252 first; characters it cannot hold go to `lost`
// (when given) and the lines holding them to `lossyLines`.
std::vector<std::string> PlainTextLines(std::string_view data, LostCharacters* lost = nullptr,
                                        std::vector<std::size_t>* lossyLines = nullptr);

// Whether file data is RTF: it starts with "{\rtf".
bool IsRtfData(std::string_view data);

// The lines of a lesson-text file: RTF (data starting with "{\rtf") one line
// per paragraph, anything else as plain text. EFOpenError when the file
// cannot be opened.
std::vector<std::string> RtfToLines(const std::string& path);

// The lines of a lesson-text file with what reading them found: the lines
// made from table rows, characters read as "?" and the lines holding them.
struct TextFileLines {
  std::vector<std::string> Lines;
  std::vector<std::size_t> TableRows;
  LostCharacters Lost;
  std::vector<std::size_t> LossyLines;
};
TextFileLines ReadTextFileLines(const std::string& path);
// The same of data in memory; the document of RTF data goes to `document`
// (when given), for a caller that shows it formatted.
TextFileLines TextDataLines(std::string_view data, RtfDocument* document = nullptr);

// A run's format as a font and back (size rounded to whole points). The
// automatic colour is the system's window-text colour; a font in a system
// colour (no RGB value in the core) gives the automatic colour.
TFont RunFont(const RtfCharFormat& format);
RtfCharFormat FormatOfFont(const TFont& font);

}  // namespace vocatrix
