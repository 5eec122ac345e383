// SPDX-License-Identifier: GPL-3.0-or-later
// The lines of lesson-text files (rtf.h): a rich-text document's
// paragraphs, or plain text's lines, and what reading them found.

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

std::vector<std::string> PlainTextLines(std::string_view data, LostCharacters* lost,
                                        std::vector<std::size_t>* lossyLines) {
  static constexpr std::string_view kBom = "\xEF\xBB\xBF";
  const bool bom = data.substr(0, kBom.size()) == kBom;
  if (bom) data.remove_prefix(kBom.size());
  const bool utf8 = bom || LooksLikeUtf8(data);
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
