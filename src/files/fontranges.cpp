// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/fontranges.h"

#include <algorithm>
#include <numeric>
#include <string_view>

#include "files/lessontext.h"

namespace vocatrix {
namespace {

class RangeList {
 public:
  explicit RangeList(std::vector<FontRange>& ranges) : ranges_(ranges) {}

  void Add(std::size_t line, std::size_t start, std::size_t length, const TFont& font) {
    if (length == 0) return;
    ranges_.push_back(FontRange{static_cast<int>(line), static_cast<int>(start), static_cast<int>(length), font});
  }

 private:
  std::vector<FontRange>& ranges_;
};

constexpr std::string_view kFormRemarks[] = {"(v.)", "(s.)", "(adj.)", "(adv.)"};

// The blanks and tabs between a word and its marker.
bool IsGap(char c) { return c == ' ' || c == '\t'; }

}  // namespace

TFont DefaultMemoFont() {
  TFont font;
  font.Name = "Courier New";
  font.Size = 10;
  font.Color = 0;
  font.Bold = false;
  return font;
}

std::vector<FontRange> LessonTextFontRanges(const std::vector<std::string>& lines, const TLanguage& language1,
                                            const TLanguage& language2, const TFont& controlFont,
                                            bool gapsInControlFont) {
  std::vector<FontRange> ranges;
  if (SameFont(language1.Font, controlFont) && SameFont(language2.Font, controlFont)) return ranges;
  RangeList out(ranges);
  const TFont* leftFont = &language1.Font;
  const TFont* rightFont = &language2.Font;
  std::string left;
  std::string right;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    switch (ClassifyLessonLine(line)) {
      case LessonLineKind::kIgnored:
      case LessonLineKind::kFonts: break;
      case LessonLineKind::kTitle:
      case LessonLineKind::kTopic:
      case LessonLineKind::kAuthor:
      case LessonLineKind::kPicture: {
        const std::size_t start = TagValueOffset(line);
        out.Add(i, start, line.size() - start, language1.Font);
        break;
      }
      case LessonLineKind::kLanguages: {
        const std::size_t start = TagValueOffset(line);
        // The display follows the names exactly, unlike the reader, which
        // ignores the case of A to Z.
        if (SplitAtMarker(std::string_view(line).substr(start), left, right)) {
          leftFont = left == language1.Name ? &language1.Font : &language2.Font;
          rightFont = right == language1.Name ? &language1.Font : &language2.Font;
        }
        const std::size_t marker = gapsInControlFont ? FindMarker(std::string_view(line).substr(start)) : std::string::npos;
        if (marker == std::string::npos) {
          out.Add(i, start, line.size() - start, language1.Font);
          break;
        }
        // The two names, the marker and the gaps around it as on an entry line.
        std::size_t leftEnd = start + marker;
        std::size_t rightStart = start + marker + 1;
        while (leftEnd > start && IsGap(line[leftEnd - 1])) --leftEnd;
        while (rightStart < line.size() && IsGap(line[rightStart])) ++rightStart;
        out.Add(i, start, leftEnd - start, language1.Font);
        out.Add(i, rightStart, line.size() - rightStart, language1.Font);
        break;
      }
      case LessonLineKind::kEntry: {
        const std::size_t marker = FindMarker(line);
        if (marker != std::string::npos) {
          std::size_t leftEnd = marker;
          std::size_t rightStart = marker + 2;
          if (gapsInControlFont) {
            while (leftEnd > 0 && IsGap(line[leftEnd - 1])) --leftEnd;
            while (rightStart < line.size() && IsGap(line[rightStart])) ++rightStart;
          }
          out.Add(i, 0, leftEnd, *leftFont);
          // The character right after the marker (the blank of " - ") keeps its format.
          if (rightStart < line.size()) out.Add(i, rightStart, line.size() - rightStart, *rightFont);
        }
        for (std::string_view remark : kFormRemarks) {
          const std::size_t at = line.find(remark);
          if (at == std::string::npos) continue;
          out.Add(i, at, std::min(remark.size() + 1, line.size() - at), controlFont);
          break;
        }
        break;
      }
    }
  }
  return ranges;
}

TFont TypingFont(std::string_view line, std::size_t column, std::string_view languageLine,
                 const TLanguage& language1, const TLanguage& language2, const TFont& controlFont) {
  const TFont* leftFont = &controlFont;
  const TFont* rightFont = &controlFont;
  std::string left;
  std::string right;
  if (LanguagesAtLine({std::string(languageLine)}, 0, left, right)) {
    // The names count exactly, as in the display of the whole text.
    leftFont = left == language1.Name ? &language1.Font : &language2.Font;
    rightFont = right == language1.Name ? &language1.Font : &language2.Font;
  }
  const std::size_t marker = FindMarker(line);
  const TFont* font = marker == std::string_view::npos || column <= marker ? leftFont : rightFont;
  const std::size_t open = line.find('(');
  if (open != std::string_view::npos && column > open) {
    const std::size_t close = line.find(')');
    if (close == std::string_view::npos || column <= close) font = &controlFont;
  }
  return *font;
}

RtfDocument LessonTextDocument(const std::vector<std::string>& lines, const std::vector<FontRange>& ranges,
                               const TFont& controlFont) {
  // Ranges grouped by line, keeping their order within a line.
  std::vector<std::size_t> order(ranges.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return ranges[a].Line < ranges[b].Line; });

  RtfDocument document;
  document.Paragraphs.resize(lines.size());
  std::vector<const TFont*> fontOf;
  std::size_t next = 0;
  while (next < order.size() && ranges[order[next]].Line < 0) ++next;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    fontOf.assign(line.size(), &controlFont);
    for (; next < order.size() && ranges[order[next]].Line == static_cast<int>(i); ++next) {
      const FontRange& r = ranges[order[next]];
      const long long begin = std::max<long long>(r.Start, 0);
      const long long end = std::min<long long>(static_cast<long long>(r.Start) + r.Length,
                                                static_cast<long long>(line.size()));
      for (long long c = begin; c < end; ++c) fontOf[static_cast<std::size_t>(c)] = &r.Font;
    }
    RtfParagraph& paragraph = document.Paragraphs[i];
    std::size_t runStart = 0;
    for (std::size_t c = 1; c <= line.size(); ++c) {
      if (c < line.size() && (fontOf[c] == fontOf[runStart] || *fontOf[c] == *fontOf[runStart])) continue;
      paragraph.push_back(RtfRun{line.substr(runStart, c - runStart), FormatOfFont(*fontOf[runStart])});
      runStart = c;
    }
  }
  return document;
}

}  // namespace vocatrix
