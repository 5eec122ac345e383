// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of lesson-text files (rtf.h): a rich-text document's
// paragraphs, or plain text's lines, and what reading them found.

#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include "base/cp1252.h"
#include "base/safesave.h"
#include "files/rtf/rtf.h"

namespace vocatrix {

std::vector<std::string> DocumentLines(const RtfDocument& document) {
  std::vector<std::string> lines;
  lines.reserve(document.Paragraphs.size());
  for (const RtfParagraph& paragraph : document.Paragraphs) {
    std::string line;
    for (const RtfRun& run : paragraph) line += run.Text;
    lines.push_back(std::move(line));
  }
  return lines;
}

namespace {

bool IsAsciiLetter(char32_t c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// A letter of an alphabet other than Latin: Greek, Cyrillic, Hebrew, Arabic...
bool OtherAlphabetLetter(char32_t c) {
  if (!u_isalpha(static_cast<UChar32>(c))) return false;
  UErrorCode error = U_ZERO_ERROR;
  const UScriptCode script = uscript_getScript(static_cast<UChar32>(c), &error);
  return U_SUCCESS(error) && script != USCRIPT_LATIN && script != USCRIPT_COMMON && script != USCRIPT_INHERITED &&
         script != USCRIPT_UNKNOWN;
}

// A letter of Latin Extended-A or -B (Polish, Czech, Turkish, Romanian...)
// or a combining accent. Windows-1252 makes their two bytes only from a
// capital Ä to É or Ì, Í followed by punctuation, which text hardly holds;
// the IPA letters after them ("É’" is U+0252) are left out, as text does.
bool EuropeanLetterOrAccent(char32_t c) { return (c >= 0x100 && c <= 0x24F) || (c >= 0x300 && c <= 0x36F); }

}  // namespace

bool PlainTextIsUtf8(std::string_view data) {
  bool multiByte = false;
  char32_t before = 0;
  bool letterMayNotFollow = false;  // the character before stands apart only without an ASCII letter after it
  std::size_t i = 0;
  while (i < data.size()) {
    const std::size_t start = i;
    char32_t c;
    if (!NextUtf8(data, i, c)) return false;
    if (letterMayNotFollow && IsAsciiLetter(c)) return false;
    letterMayNotFollow = false;
    if (i - start > 1) {
      multiByte = true;
      if (i - start == 2 && CodePointToCp1252(c) < 0 && !EuropeanLetterOrAccent(c)) {
        if (!OtherAlphabetLetter(c) || IsAsciiLetter(before)) return false;
        letterMayNotFollow = true;
      }
    }
    before = c;
  }
  return multiByte;
}

std::vector<std::string> PlainTextLines(std::string_view data, LostCharacters* lost,
                                        std::vector<std::size_t>* lossyLines) {
  static constexpr std::string_view kBom = "\xEF\xBB\xBF";
  const bool bom = data.substr(0, kBom.size()) == kBom;
  if (bom) data.remove_prefix(kBom.size());
  const bool utf8 = bom || PlainTextIsUtf8(data);
  LostCharacters ownLost;
  std::vector<std::string> lines;
  std::size_t start = 0;
  const auto addLine = [&](std::size_t end) {
    const std::string_view line = data.substr(start, end - start);
    if (!utf8) {
      lines.emplace_back(line);
      return;
    }
    bool lostHere = false;
    lines.push_back((lost ? *lost : ownLost).FromUtf8(line, &lostHere));
    if (lostHere && lossyLines) lossyLines->push_back(lines.size() - 1);
  };
  for (std::size_t i = 0; i < data.size(); ++i) {
    const char c = data[i];
    if (c != '\r' && c != '\n') continue;
    addLine(i);
    if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < data.size()) addLine(data.size());
  return lines;
}

bool IsRtfData(std::string_view data) { return data.starts_with("{\\rtf"); }

std::vector<std::string> RtfToLines(const std::string& path) { return ReadTextFileLines(path).Lines; }

TextFileLines TextDataLines(std::string_view data, RtfDocument* document) {
  TextFileLines text;
  if (!IsRtfData(data)) {
    text.Lines = PlainTextLines(data, &text.Lost, &text.LossyLines);
    return text;
  }
  RtfDocument parsed = ParseRtf(data);
  text.Lines = DocumentLines(parsed);
  text.TableRows = parsed.TableRows;
  text.Lost = parsed.Lost;
  text.LossyLines = parsed.LossyParagraphs;
  if (document) *document = std::move(parsed);
  return text;
}

TextFileLines ReadTextFileLines(const std::string& path) { return TextDataLines(ReadWholeFile(path)); }

}  // namespace vocatrix
