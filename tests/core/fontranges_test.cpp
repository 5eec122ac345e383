// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>

#include "files/fontranges.h"
#include "files/lessontext.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using Lines = std::vector<std::string>;

TFont Font(const char* description) { return TextToFont(description); }

struct Fixture {
  TLanguage english{"English"};
  TLanguage deutsch{"Deutsch"};
  TFont control = DefaultMemoFont();
  Fixture() {
    english.Font = Font("Times New Roman_clRed_12_[]");
    deutsch.Font = Font("Arial_clBlue_14_[Italic]");
  }
  std::vector<FontRange> Ranges(const Lines& lines) const {
    return LessonTextFontRanges(lines, english, deutsch, control);
  }
};

FontRange R(int line, int start, int length, const TFont& font) { return FontRange{line, start, length, font}; }

TEST(FontRanges, MemoFontIsPlainCourierNew) {
  const TFont memo = DefaultMemoFont();
  EXPECT_EQ(memo.Name, "Courier New");
  EXPECT_EQ(memo.Size, 10);
  EXPECT_EQ(memo.Color, 0u);
  EXPECT_FALSE(memo.Bold || memo.Italic || memo.Underline || memo.StrikeOut);
}

TEST(FontRanges, NothingWhenBothLanguageFontsAreTheControlFont) {
  Fixture f;
  f.english.Font = f.control;
  f.deutsch.Font = f.control;
  EXPECT_TRUE(f.Ranges({"Ti: x", "Sp: English - Deutsch", "a (v.) - b"}).empty());
  // One differing font is enough to format.
  f.deutsch.Font.Size = 11;
  EXPECT_FALSE(f.Ranges({"Ti: x"}).empty());
}

TEST(FontRanges, WrittenLessonTextLineByLine) {
  Fixture f;
  const Lines lines{"Ti: T",
                    "Fo: Arial_clBlack_10_[Bold]\t - \tArial_clBlack_10_[Bold]",
                    "",
                    "Sp: English\t - \tDeutsch",
                    "a (v.)\t - \tx",
                    "{ a - b",
                    "Bm:"};
  const std::vector<FontRange> expected{
      R(0, 4, 1, f.english.Font),
      R(3, 4, 19, f.english.Font),
      R(4, 0, 8, f.english.Font),  // "a (v.)\t " before the marker character
      R(4, 10, 2, f.deutsch.Font), // "\tx": the blank after the marker keeps its format
      R(4, 2, 5, f.control),       // "(v.)" and the tab after it
  };
  EXPECT_EQ(f.Ranges(lines), expected);
}

TEST(FontRanges, LanguageLineSwitchesFontsByExactName) {
  Fixture f;
  const Lines lines{"Sp: Deutsch - English", "Haus - house", "Sp: english - English", "big = large",
                    "Sp: broken", "x - y"};
  const auto ranges = f.Ranges(lines);
  ASSERT_EQ(ranges.size(), 9u);
  EXPECT_EQ(ranges[1], R(1, 0, 5, f.deutsch.Font));   // left word in language 2's font
  EXPECT_EQ(ranges[2], R(1, 7, 5, f.english.Font));   // right word in language 1's font
  // "english" is not exactly language 1's name: language 2's font.
  EXPECT_EQ(ranges[4], R(3, 0, 4, f.deutsch.Font));
  EXPECT_EQ(ranges[5], R(3, 6, 5, f.english.Font));
  // A language line that does not split keeps the fonts but is still formatted.
  EXPECT_EQ(ranges[6], R(4, 4, 6, f.english.Font));
  EXPECT_EQ(ranges[7], R(5, 0, 2, f.deutsch.Font));
  EXPECT_EQ(ranges[8], R(5, 4, 1, f.english.Font));
}

TEST(FontRanges, FirstFormRemarkInFixedOrderAndItsFollowingCharacter) {
  Fixture f;
  const auto ranges = f.Ranges({"a (adv.) (v.) - b", "word (s.)", "x - y (adj.)", "a -\t"});
  const std::vector<FontRange> expected{
      R(0, 0, 14, f.english.Font), R(0, 16, 1, f.deutsch.Font),
      R(0, 9, 5, f.control),  // "(v.)" comes before "(adv.)" in the search order
      R(1, 5, 4, f.control),  // no marker: only the remark, at the end of the line
      R(2, 0, 2, f.english.Font), R(2, 4, 8, f.deutsch.Font),
      R(2, 6, 6, f.control),  // at the end of the line: no following character
      R(3, 0, 2, f.english.Font),  // nothing after the marker's blank
  };
  EXPECT_EQ(ranges, expected);
}

TEST(FontRanges, TagWithoutBlankIsFormattedFromItsFirstCharacter) {
  Fixture f;
  EXPECT_EQ(f.Ranges({"Ti:Title"}), (std::vector<FontRange>{R(0, 3, 5, f.english.Font)}));
}

// --- Building a rich-text document ------------------------------------------

std::string ParagraphText(const RtfParagraph& p) {
  std::string text;
  for (const RtfRun& r : p) text += r.Text;
  return text;
}

TEST(LessonTextDocument, EachCharacterTakesTheLastRangeCoveringIt) {
  const TFont control = DefaultMemoFont();
  const TFont red = Font("Times New Roman_clRed_12_[]");
  const TFont blue = Font("Arial_clBlue_14_[Italic]");
  const Lines lines{"abcdef", "", "xyz"};
  const std::vector<FontRange> ranges{R(0, 0, 4, red), R(2, 1, 1, red), R(0, 2, 1, blue),
                                      R(7, 0, 3, blue), R(2, 2, 50, blue), R(0, -3, 4, red)};
  const RtfDocument doc = LessonTextDocument(lines, ranges, control);
  ASSERT_EQ(doc.Paragraphs.size(), 3u);
  const std::vector<RtfRun> first{{"ab", FormatOfFont(red)}, {"c", FormatOfFont(blue)}, {"d", FormatOfFont(red)},
                                  {"ef", FormatOfFont(control)}};
  EXPECT_EQ(doc.Paragraphs[0], first);
  EXPECT_TRUE(doc.Paragraphs[1].empty());
  const std::vector<RtfRun> third{{"x", FormatOfFont(control)}, {"y", FormatOfFont(red)}, {"z", FormatOfFont(blue)}};
  EXPECT_EQ(doc.Paragraphs[2], third);
}

TEST(LessonTextDocument, WrittenLessonKeepsItsTextAndFonts) {
  auto lesson = test::MakeLesson("English", "Deutsch", {test::MakeEntry(0, {"go"}, {"gehen"})});
  lesson->Language1.Font = Font("Times New Roman_clRed_12_[]");
  const Lines lines = lesson->ToLines();
  const TFont control = DefaultMemoFont();
  const RtfDocument doc =
      LessonTextDocument(lines, LessonTextFontRanges(lines, lesson->Language1, lesson->Language2, control), control);
  ASSERT_EQ(doc.Paragraphs.size(), lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(ParagraphText(doc.Paragraphs[i]), lines[i]);
  const auto pair = std::find(lines.begin(), lines.end(), "go (v.)\t - \tgehen") - lines.begin();
  ASSERT_LT(pair, static_cast<long>(lines.size()));
  const RtfParagraph& p = doc.Paragraphs[static_cast<std::size_t>(pair)];
  ASSERT_GE(p.size(), 3u);
  EXPECT_EQ(p.front().Text, "go ");
  EXPECT_EQ(p.front().Format, FormatOfFont(lesson->Language1.Font));
  EXPECT_EQ(p.back().Text, "\tgehen");
  EXPECT_EQ(p.back().Format, FormatOfFont(lesson->Language2.Font));
}


// --- The font of typed characters ---------------------------------------------

TEST(TypingFont, SideOfTheMarkerAndTheLanguageLineDecide) {
  Fixture f;
  const TFont& e = f.english.Font;
  const TFont& d = f.deutsch.Font;
  const TFont& m = f.control;
  struct Case {
    const char* line;
    std::size_t column;
    const char* languageLine;
    const TFont* expected;
  };
  const Case cases[] = {
      // Language 2 named on the left, language 1 on the right.
      {"Haus - house", 0, "Sp: Deutsch - English", &d},
      {"Haus - house", 5, "Sp: Deutsch - English", &d},  // right before the marker character
      {"Haus - house", 6, "Sp: Deutsch - English", &e},  // right after it
      {"Haus - house", 12, "Sp: Deutsch - English", &e},
      {"house - Haus", 2, "Sp: English - Deutsch", &e},
      {"house - Haus", 9, "Sp: English - Deutsch", &d},
      {"big = large", 7, "Sp: English - English", &e},
      // Names count exactly; a name that is not language 1's is language 2's.
      {"a - b", 0, "Sp: english - English", &d},
      {"a - b", 4, "Sp: Francais - Deutsch", &d},
      // No marker: the left font.
      {"Haus", 4, "Sp: Deutsch - English", &d},
      // A "- " later in the line wins over an earlier "+".
      {"a+b - c", 2, "Sp: English - Deutsch", &e},
      {"a+b - c", 5, "Sp: English - Deutsch", &d},
      // No language line, or one that does not split: the control's font.
      {"a - b", 0, "", &m},
      {"a - b", 4, "Sp: English", &m},
      // Inside "( )": from after the first "(" up to the first ")".
      {"go (v.) - gehen", 3, "Sp: English - Deutsch", &e},  // before the "("
      {"go (v.) - gehen", 4, "Sp: English - Deutsch", &m},
      {"go (v.) - gehen", 6, "Sp: English - Deutsch", &m},  // right before the ")"
      {"go (v.) - gehen", 7, "Sp: English - Deutsch", &e},  // after it
      {"go (v. - gehen", 13, "Sp: English - Deutsch", &m},  // no ")": to the end
      {"x) (y", 5, "Sp: English - Deutsch", &e},           // the first ")" stands before the "("
  };
  for (const Case& c : cases)
    EXPECT_EQ(TypingFont(c.line, c.column, c.languageLine, f.english, f.deutsch, f.control), *c.expected)
        << c.line << " @" << c.column << " under " << c.languageLine;
}

}  // namespace
}  // namespace vocatrix
