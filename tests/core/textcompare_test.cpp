// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "model/textcompare.h"
#include "test_util.h"

namespace vocatrix {
namespace {

// Each test chooses its collation; the next one starts from code-point order.
class TextCollation : public ::testing::Test {
 protected:
  ~TextCollation() override { SetCollationLocale(std::locale::classic()); }
};

TEST_F(TextCollation, GermanOrderKeepsAccentsBesideTheirLettersAndLowerCaseFirst) {
  // Ascending under de_DE: punctuation and digits first; accents and then case
  // decide only between texts with the same letters; spaces and hyphens
  // count only after those; ß goes with ss.
  const std::vector<std::string> ascending = {
      "",        " ",       "-",       "$",       "\x80",          "1",           "10",      "2",
      "a",       "A",       "\xE1",    "\xE4",    "\xC4",          "aa",          "a b",     "a-b",
      "ab",      "Ab",      "abc",     "ae",      "\xE6",          "apfel",       "Apfel",   "\xE4pfel",
      "\xC4pfel", "Azur",   "b",       "co-op",   "coop",          "Coop",        "ete",     "\xE9t\xE9",
      "\xC9t\xE9", "etwas", "hass",    "ha\xDF",  "haus",          "Haus",        "hausen",  "h\xE4user",
      "H\xE4user", "o",     "\xF6",    "ol",      "Ol",            "\xF6l",       "\xD6l",   "oz",
      "strasse", "Strasse", "stra\xDF" "e", "Stra\xDF" "e", "Strassen", "uber",  "\xFC" "ber", "\xDC" "ber",
      "Ufer",    "zu",      "Zug",     "z\xFCrich", "Z\xFCrich"};
  SetCollationLocale("de_DE.UTF-8");
  ASSERT_TRUE(CollationUsesLocale());
  std::vector<std::string> keys;
  for (const std::string& text : ascending) keys.push_back(MakeCollationKey(text));
  for (std::size_t i = 0; i < ascending.size(); ++i)
    for (std::size_t j = i + 1; j < ascending.size(); ++j) {
      SCOPED_TRACE("\"" + Cp1252ToUtf8(ascending[i]) + "\" before \"" + Cp1252ToUtf8(ascending[j]) + "\"");
      EXPECT_LT(CompareCollated(ascending[i], ascending[j]), 0);
      EXPECT_GT(CompareCollated(ascending[j], ascending[i]), 0);
      EXPECT_LT(CompareCollationKeys(keys[i], keys[j]), 0);
    }

  // Word lists sort by the cached keys the same way.
  std::vector<PWord> words;
  for (const std::string& text : ascending) words.push_back(std::make_shared<TWord>(text));
  std::shuffle(words.begin(), words.end(), std::mt19937(7));
  std::vector<std::string> sorted;
  for (const PWord& w : TUniqueWordCollection::FromWords(words)) sorted.push_back(w->Text());
  EXPECT_EQ(sorted, ascending);
}

TEST_F(TextCollation, OnlyIdenticalTextsCompareEqual) {
  // Pairs that ICU alone ranks equal (ignorable controls, a soft hyphen, two
  // undefined code-page bytes) and a pair in two letter cases: word lists and
  // compaction keep each pair apart under every collation.
  const std::vector<std::pair<std::string, std::string>> pairs = {
      {"ab", "a\x01" "b"}, {"Haust\xFCr", "Haus\xADt\xFCr"}, {"\x81", "\x8D"}, {"", "\x7F"}, {"Haus", "haus"}};
  for (const char* locale : {"de_DE.UTF-8", "C"}) {
    SetCollationLocale(locale);
    for (const auto& [a, b] : pairs) {
      SCOPED_TRACE(std::string(locale) + ": \"" + Cp1252ToUtf8(a) + "\" / \"" + Cp1252ToUtf8(b) + "\"");
      const int order = CompareCollated(a, b);
      EXPECT_NE(order, 0);
      EXPECT_EQ(CompareCollated(b, a), -order);
      EXPECT_EQ(CompareCollationKeys(MakeCollationKey(a), MakeCollationKey(b)), order);

      TWordCollection list;
      list.Insert(std::make_shared<TWord>(a));
      EXPECT_TRUE(list.Insert(std::make_shared<TWord>(b)));
      auto lesson = test::MakeLesson("x", "y", {test::MakeEntry(1, {a}), test::MakeEntry(1, {"w"}, {b})});
      lesson->DblDel();
      EXPECT_EQ(lesson->EntryCount(), 2);
    }
  }
}

TEST_F(TextCollation, LocaleNamesChooseCodePointOrIcuCollation) {
  const struct {
    const char* name;
    bool usesLocale;
  } cases[] = {
      {"C", false},
      {"POSIX", false},
      {"C.UTF-8", false},
      {"de_DE.UTF-8", true},
      {"de_DE.utf8", true},
      {"de_DE@euro", true},
      {"de", true},
      {"LC_CTYPE=C.UTF-8;LC_NUMERIC=C;LC_COLLATE=de_DE.UTF-8;LC_TIME=C", true},
      {"LC_CTYPE=de_DE.UTF-8;LC_COLLATE=C;LC_TIME=de_DE.UTF-8", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const unsigned generation = CollationGeneration();
    SetCollationLocale(c.name);
    EXPECT_NE(CollationGeneration(), generation);
    EXPECT_EQ(CollationUsesLocale(), c.usesLocale);
    // ä beside a, or after z by its code point; € (U+20AC) before the
    // letters, or after ä.
    EXPECT_EQ(CompareCollated("\xE4", "z") < 0, c.usesLocale);
    EXPECT_EQ(CompareCollated("\x80", "\xE4") < 0, c.usesLocale);
    EXPECT_EQ(MakeCollationKey("\x80") < MakeCollationKey("\xE4"), c.usesLocale);
  }
}

}  // namespace
}  // namespace vocatrix
