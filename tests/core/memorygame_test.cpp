// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <set>

#include "base/random.h"
#include "exercise/memorygame.h"
#include "exercise/practice.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;

// Ten entries; "Haus" answers two of them, and one entry is listed twice.
std::unique_ptr<TMeanCollection> TenEntries() {
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 8; ++i)
    entries.push_back(MakeEntry(1, {"word" + std::to_string(i)}, {"Wort" + std::to_string(i)}));
  entries.push_back(MakeEntry(1, {"house"}, {"Haus"}));
  entries.push_back(MakeEntry(1, {"home"}, {"Haus", "Heim"}));
  entries.push_back(entries[0]);
  auto lesson = MakeLesson("English", "Deutsch", entries);
  lesson->Language2.Font.Name = "Times";
  lesson->Language2.Font.Size = 14;
  entries[3]->Synonyms.At(0)->Knowledge[kTranslationProblem] = -3;
  return lesson;
}

TEST(MemoryGame, DealsAtMostEightPairsOfDistinctTextsInTheirLanguagesFontsFromACopy) {
  const auto lesson = TenEntries();
  TPracticeLesson practice(*lesson, TKnowledgeStore());
  TLesson* copy = &practice.Lesson();
  ASSERT_EQ(copy->EntryCount(), lesson->EntryCount());
  EXPECT_EQ(copy->At(10), copy->At(0));  // the entry listed twice stays one
  EXPECT_NE(copy->At(3)->Synonyms.At(0), lesson->At(3)->Synonyms.At(0));
  EXPECT_EQ(copy->At(3)->Synonyms.At(0)->Knowledge[kTranslationProblem], -3);
  EXPECT_EQ(copy->Language2.Font.Name, "Times");

  for (std::uint64_t seed : {1u, 2u, 3u, 4u, 5u}) {
    SCOPED_TRACE(seed);
    SeedRandom(seed);
    TMemoryGame game;
    game.Deal(*copy->Select(kAskLanguage1 | kKeepAllGroups));
    ASSERT_EQ(game.Pairs(), TMemoryGame::kMaxPairs);
    std::set<std::string> texts;
    for (int card = 0; card < 2 * game.Pairs(); ++card) {
      const TMemoryCardFace& face = game.Cards()[static_cast<std::size_t>(card)];
      texts.insert(face.Text);
      EXPECT_EQ(face.Pair, card / 2);
      EXPECT_EQ(face.Question, card % 2 == 0);
      EXPECT_EQ(face.Font.Name, face.Question ? "Arial" : "Times") << face.Text;
      const std::string head = face.Question ? "word" : "Wort";
      if (face.Text.rfind(head, 0) == 0) {
        EXPECT_EQ(game.Cards()[static_cast<std::size_t>(card ^ 1)].Text.substr(4), face.Text.substr(4));
      }
    }
    EXPECT_EQ(texts.size(), 16u) << "two cards alike";
    // The hard word comes first, the lesson's own words got no font.
    EXPECT_EQ(game.Cards()[0].Text, "word3");
    for (int i = 0; i < lesson->EntryCount(); ++i) EXPECT_FALSE(lesson->At(i)->Synonyms.At(0)->Font);
  }
  // Synonym problems keep both cards in the question's language.
  SeedRandom(9);
  auto synonyms = MakeLesson("English", "Deutsch", {MakeEntry(1, {"big", "large"}, {"groß"})});
  synonyms->Language2.Font.Name = "Times";
  TMemoryGame same;
  same.Deal(*TPracticeLesson(*synonyms, TKnowledgeStore()).Lesson().Select(kSameLanguage1 | kKeepAllGroups));
  ASSERT_EQ(same.Pairs(), 1);
  EXPECT_EQ(same.Cards()[1].Font.Name, "Arial");
}

TEST(MemoryGame, AMatchStaysAMismatchWaitsToTurnBackAndTheLastPairClearsTheBoard) {
  SeedRandom(1);
  TPracticeLesson practice(*MakeLesson("English", "Deutsch", {MakeEntry(1, {"a"}, {"A"}), MakeEntry(1, {"b"}, {"B"})}),
                           TKnowledgeStore());
  TLesson* copy = &practice.Lesson();
  TMemoryGame game;
  game.Deal(*copy->Select(kAskLanguage1 | kKeepAllGroups));
  ASSERT_EQ(game.Pairs(), 2);
  using R = TMemoryGame::TurnResult;
  EXPECT_EQ(game.TurnCard(7), R::kIgnored);
  EXPECT_EQ(game.TurnCard(0), R::kFirst);
  EXPECT_EQ(game.TurnCard(0), R::kIgnored);  // face up already
  EXPECT_EQ(game.TurnCard(2), R::kMismatch);
  EXPECT_TRUE(game.Waiting());
  EXPECT_TRUE(game.FaceUp(0) && game.FaceUp(2));
  // The next card turns the waiting two back and starts a new turn.
  EXPECT_EQ(game.TurnCard(1), R::kFirst);
  EXPECT_FALSE(game.FaceUp(0) || game.FaceUp(2));
  EXPECT_EQ(game.TurnCard(0), R::kMatch);
  EXPECT_TRUE(game.Matched(0) && game.Matched(1) && !game.Waiting());
  EXPECT_FALSE(game.TurnBack());
  EXPECT_EQ(game.TurnCard(1), R::kIgnored);  // a found pair stays
  EXPECT_EQ(game.TurnCard(3), R::kFirst);
  EXPECT_EQ(game.TurnCard(2), R::kCleared);
  EXPECT_EQ(game.Moves(), 3);
  // A new deal starts afresh; a lesson without problems deals nothing.
  game.Deal(*copy->Select(kSameLanguage2 | kKeepAllGroups));
  EXPECT_EQ(game.Pairs(), 0);
  EXPECT_FALSE(game.Cleared());
  EXPECT_EQ(game.Moves(), 0);
}

}  // namespace
}  // namespace vocatrix
