// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "model/textcompare.h"

namespace vocatrix {
namespace {

TEST(Cp1252, EveryByteSurvivesARoundTripThroughUtf8) {
  std::string all;
  for (int i = 0; i < 256; ++i) all += static_cast<char>(i);
  std::size_t replaced = 99;
  EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(all), &replaced), all);
  EXPECT_EQ(replaced, 0u);
  EXPECT_EQ(Utf32ToCp1252(Cp1252ToUtf32(all)), all);
}

TEST(Cp1252, HighControlRangeMapsToTheWindowsCharacters) {
  struct Case {
    unsigned char byte;
    char32_t codePoint;
  };
  const Case cases[] = {{0x80, U'€'}, {0x82, U'‚'}, {0x83, U'ƒ'}, {0x84, U'„'}, {0x85, U'…'}, {0x86, U'†'},
                        {0x87, U'‡'}, {0x88, U'ˆ'}, {0x89, U'‰'}, {0x8A, U'Š'}, {0x8B, U'‹'}, {0x8C, U'Œ'},
                        {0x8E, U'Ž'}, {0x91, U'‘'}, {0x92, U'’'}, {0x93, U'“'}, {0x94, U'”'}, {0x95, U'•'},
                        {0x96, U'–'}, {0x97, U'—'}, {0x98, U'˜'}, {0x99, U'™'}, {0x9A, U'š'}, {0x9B, U'›'},
                        {0x9C, U'œ'}, {0x9E, U'ž'}, {0x9F, U'Ÿ'}, {0xE4, U'ä'}, {0xDF, U'ß'},
                        // the five undefined codes map to the C1 control of the same value
                        {0x81, 0x81}, {0x8D, 0x8D}, {0x8F, 0x8F}, {0x90, 0x90}, {0x9D, 0x9D}};
  for (const Case& c : cases) {
    EXPECT_EQ(Cp1252ToCodePoint(c.byte), c.codePoint) << int(c.byte);
    EXPECT_EQ(CodePointToCp1252(c.codePoint), c.byte) << int(c.byte);
  }
  EXPECT_EQ(CodePointToCp1252(0x80), -1);  // U+0080 has no Windows-1252 byte: 0x80 is the euro sign
  EXPECT_EQ(Cp1252ToUtf8("\x80"), "€");
}

TEST(Cp1252, UnrepresentableAndMalformedInputBecomesQuestionMarksAndIsCounted) {
  std::size_t replaced = 0;
  EXPECT_EQ(Utf8ToCp1252("Ha\xC3\xBC \xD0\x96 \xE2\x82\xAC \xF0\x9F\x98\x80", &replaced), "Ha\xFC ? \x80 ?");
  EXPECT_EQ(replaced, 2u);
  EXPECT_EQ(Utf8ToCp1252("a\xC3", &replaced), "a?");  // truncated sequence
  EXPECT_EQ(replaced, 1u);
  EXPECT_EQ(Utf8ToCp1252("\xC0\xAF", &replaced), "??");  // overlong slash
  EXPECT_EQ(Utf8ToCp1252("\xED\xA0\x80", &replaced), "???");  // surrogate
}

TEST(Cp1252, Utf8DetectionNeedsAMultiByteSequence) {
  EXPECT_FALSE(LooksLikeUtf8("plain ascii"));
  EXPECT_TRUE(LooksLikeUtf8("gr\xC3\xBC\xC3\x9F"));
  EXPECT_FALSE(LooksLikeUtf8("gr\xFC\xDF"));  // Windows-1252 umlauts
  EXPECT_FALSE(LooksLikeUtf8("\xC3"));
}

TEST(Cp1252, AnsiLowerCase) {
  EXPECT_EQ(AnsiLowerCase("ABC\xC4\xD6\xDC\xD7\x8A\x8C\x8E\x9F\xDF"), "abc\xE4\xF6\xFC\xD7\x9A\x9C\x9E\xFF\xDF");
}

TEST(TextCompare, ThreeComparisonsDifferWhereTheyShould) {
  EXPECT_EQ(CompareBytes("Haus", "Haus"), 0);
  EXPECT_NE(CompareBytes("Haus", "haus"), 0);
  EXPECT_TRUE(SameTextAsciiCaseless("English", "eNGLISH"));
  // only A to Z fold: Ä and ä stay different
  EXPECT_FALSE(SameTextAsciiCaseless("\xC4rger", "\xE4rger"));
  EXPECT_FALSE(SameTextAsciiCaseless("abc", "abcd"));
  EXPECT_NE(CompareCollated("Haus", "haus"), 0);
  EXPECT_EQ(CompareCollated("Haus", "Haus"), 0);
}

TEST(TextCompare, CodePointFallbackOrdersByUnicodeNotByBytes) {
  SetCollationLocale(std::locale::classic());
  EXPECT_FALSE(CollationUsesLocale());
  // 0x80 is the euro sign U+20AC, which sorts after ä (U+00E4) by code point
  EXPECT_GT(CompareCollated("\x80", "\xE4"), 0);
  EXPECT_LT(CompareCollated("a", "b"), 0);
  EXPECT_LT(CompareCollated("ab", "abc"), 0);
}

TEST(TextCompare, UserLocaleCollationWhenAvailable) {
  std::locale german;
  try {
    german = std::locale("de_DE.UTF-8");
  } catch (const std::exception&) {
    GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
  }
  SetCollationLocale(german);
  EXPECT_TRUE(CollationUsesLocale());
  // a locale puts ä next to a, code-point order puts it after z
  EXPECT_LT(CompareCollated("\xE4", "z"), 0);
  EXPECT_LT(CompareCollationKeys(MakeCollationKey("\xE4"), MakeCollationKey("z")), 0);
  SetCollationLocale(std::locale::classic());
}

}  // namespace
}  // namespace vocatrix
