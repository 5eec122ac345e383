// SPDX-License-Identifier: GPL-3.0-or-later
// Finding words: order, going round, the options and Windows-1252 letters.

#include <gtest/gtest.h>

#include "test_util.h"
#include "operations/find.h"

namespace vocatrix::test {
namespace {

TEST(FindWord, GoesThroughTheListsInOrderAndRoundTheLesson) {
  // \xE4 ä, \xC4 Ä, \xDF ß, \xE9 é
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(1, {"house"}, {"Haus", "Geb\xE4ude"}, {"Hut"}, {"H\xFCtte"}),
                            MakeEntry(0, {"go"}, {"gehen"}),
                            MakeEntry(1, {"street"}, {"Stra\xDF" "e"}, {}, {"HAUS-Nr."}),
                            MakeEntry(1, {"caf\xE9", "house-boat"}, {"Hausboot"})});
  struct Case {
    const char* text;
    TFindOptions options;
    TWordPlace from;
    bool includeFrom;
    bool backward;
    std::optional<TWordPlace> place;
    bool wrapped;
  };
  const TFindOptions none;
  const TFindOptions matchCase{true, false, -1};
  const TFindOptions whole{false, true, -1};
  const TFindOptions language1{false, false, 0};
  const TFindOptions language2{false, false, 1};
  const Case cases[] = {
      // The shown entry's own words count when the search starts there;
      // after a found word the next one follows, in list order (translations
      // before antonyms), then round the lesson.
      {"house", none, {0, 0, 0}, true, false, TWordPlace{0, 0, 0}, false},
      {"house", none, {0, 0, 0}, false, false, TWordPlace{3, 0, 1}, false},
      {"haus", none, {0, 0, 0}, true, false, TWordPlace{0, 1, 0}, false},
      {"haus", none, {0, 1, 0}, false, false, TWordPlace{2, 3, 0}, false},
      {"haus", none, {2, 3, 0}, false, false, TWordPlace{3, 1, 0}, false},
      {"haus", none, {3, 1, 0}, false, false, TWordPlace{0, 1, 0}, true},
      {"haus", none, {0, 0, 0}, false, true, TWordPlace{3, 1, 0}, true},
      {"haus", none, {3, 1, 0}, false, true, TWordPlace{2, 3, 0}, false},
      // The only match is the place itself: found again after going round.
      {"gehen", none, {1, 1, 0}, false, false, TWordPlace{1, 1, 0}, true},
      {"gehen", none, {1, 1, 0}, false, true, TWordPlace{1, 1, 0}, true},
      {"nowhere", none, {1, 0, 0}, true, false, std::nullopt, false},
      {"", none, {0, 0, 0}, true, false, std::nullopt, false},
      // Case: Windows-1252 capitals fold to their small letters; ß only matches itself.
      {"HAUS", matchCase, {0, 0, 0}, true, false, TWordPlace{2, 3, 0}, false},
      {"GEB\xC4UDE", none, {0, 0, 0}, true, false, TWordPlace{0, 1, 1}, false},
      {"GEB\xC4UDE", matchCase, {0, 0, 0}, true, false, std::nullopt, false},
      {"H\xDCTTE", none, {0, 0, 0}, true, false, TWordPlace{0, 3, 0}, false},
      {"STRASSE", none, {0, 0, 0}, true, false, std::nullopt, false},
      {"CAF\xC9", none, {0, 0, 0}, true, false, TWordPlace{3, 0, 0}, false},
      // Whole words: a hyphen and the ends of the word are bounds, letters
      // (accented ones and ß too) are not.
      {"haus", whole, {0, 0, 0}, true, false, TWordPlace{0, 1, 0}, false},
      {"haus", whole, {0, 1, 0}, false, false, TWordPlace{2, 3, 0}, false},
      {"haus", whole, {2, 3, 0}, false, false, TWordPlace{0, 1, 0}, true},
      {"house", whole, {1, 0, 0}, true, false, TWordPlace{3, 0, 1}, false},
      {"geb", whole, {0, 0, 0}, true, false, std::nullopt, false},
      {"caf", whole, {0, 0, 0}, true, false, std::nullopt, false},
      {"Stra", whole, {0, 0, 0}, true, false, std::nullopt, false},
      // One language: its two lists only.
      {"haus", language1, {0, 0, 0}, true, false, std::nullopt, false},
      {"hut", language1, {0, 0, 0}, true, false, TWordPlace{0, 2, 0}, false},
      {"hut", language2, {0, 0, 0}, true, false, std::nullopt, false},
      {"gehen", language2, {0, 0, 0}, true, false, TWordPlace{1, 1, 0}, false},
  };
  for (const Case& c : cases) {
    const TTextMatcher matcher(c.text, c.options);
    const auto found = FindWord(*lesson, matcher, c.options.Side, c.from, c.includeFrom, c.backward);
    const std::string label = std::string(c.text) + " from " + std::to_string(c.from.Entry) + "/" +
                              std::to_string(c.from.Kind) + "/" + std::to_string(c.from.Word) +
                              (c.backward ? " backward" : "");
    ASSERT_EQ(found.has_value(), c.place.has_value()) << label;
    if (!found) continue;
    EXPECT_EQ(found->Place, *c.place) << label << " found " << found->Place.Entry << "/" << found->Place.Kind << "/"
                                      << found->Place.Word;
    EXPECT_EQ(found->Wrapped, c.wrapped) << label;
  }
}

TEST(FindWord, MatcherFindsRepeatedOccurrencesPastFalseOnes) {
  const TTextMatcher whole("an", {false, true, -1});
  EXPECT_EQ(whole.FindIn("banana an"), 7u);
  EXPECT_EQ(whole.FindIn("An"), 0u);
  EXPECT_EQ(whole.FindIn("\xE9" "an"), std::string_view::npos);
  const TTextMatcher folded("\x9A\xFF", {false, false, -1});  // š ÿ
  EXPECT_EQ(folded.FindIn("x\x8A\x9F"), 1u);                   // Š Ÿ
  EXPECT_EQ(LowerCaseOf(0xDF), 0xDF);
  EXPECT_EQ(LowerCaseOf(0xD7), 0xD7);  // ×
  EXPECT_FALSE(IsWordCharacter('-'));
  EXPECT_FALSE(IsWordCharacter(0xD7));
  EXPECT_TRUE(IsWordCharacter(0xDF));
}

}  // namespace
}  // namespace vocatrix::test
