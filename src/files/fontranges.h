// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which characters of a lesson text get which language's display font.
//
// The editor's Text page and the RTF output of the command line share this:
// the ranges are computed here, and the caller only applies them.

#include <string>
#include <string_view>
#include <vector>

#include "base/font.h"
#include "files/rtf/rtf.h"
#include "model/language.h"

namespace vocatrix {

// A run of characters [Start, Start + Length) of one line (offsets in bytes,
// which are characters in Windows-1252) and the font it gets.
struct FontRange {
  int Line = 0;
  int Start = 0;
  int Length = 0;
  TFont Font;

  bool operator==(const FontRange&) const = default;
};

// The Text page's own font: Courier New, 10 points, black, no style.
TFont DefaultMemoFont();

// The font ranges of lesson text, in the order they are to be applied (a
// later range overrides an earlier one where they overlap):
//  - none at all when both languages' fonts are the control's font;
//  - "Ti:", "Th:", "Au:", "Bm:" values in language 1's font;
//  - "Sp:" values in language 1's font; such a line switches the fonts of the
//    following entry lines' left and right words to the font of the language
//    named exactly (language 1 when the name equals its name, else language 2);
//  - entry lines: the text before the marker character in the left font, the
//    text from the second character after it in the right font, then the first
//    of "(v.)", "(s.)", "(adj.)", "(adv.)" and the character after it in the
//    control's font.
// "Fo:" lines, empty lines and "{" lines get nothing.
// With `gapsInControlFont` the blanks and tabs between the words and the
// marker stay in the control's font (a struck-out language font then strikes
// out the words only, not the gaps between them).
std::vector<FontRange> LessonTextFontRanges(const std::vector<std::string>& lines, const TLanguage& language1,
                                            const TLanguage& language2, const TFont& controlFont,
                                            bool gapsInControlFont = false);

// The font of the characters typed next at `column` (0-based) of `line`, the
// line holding the caret; `languageLine` is the nearest "Sp:" line at or above
// it, or empty. The left and right fonts follow that line's two names (language
// 1's font for its exact name, else language 2's; the control's font when the
// line does not split); before and on the marker character the left font
// applies, after it the right one, and on a line without a marker the left one.
// Inside "( )" (after the line's first "(" and up to its first ")", or to the
// end when there is none) the control's font applies.
TFont TypingFont(std::string_view line, std::size_t column, std::string_view languageLine,
                 const TLanguage& language1, const TLanguage& language2, const TFont& controlFont);

// The lines as a rich-text document, one paragraph per line, each character
// in the font of the last range covering it, else in the control's font.
RtfDocument LessonTextDocument(const std::vector<std::string>& lines, const std::vector<FontRange>& ranges,
                               const TFont& controlFont);

}  // namespace vocatrix
