// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson check on small lessons made for each finding: what the games'
// own selection makes of them.

#include <gtest/gtest.h>

#include "exercise/exercise.h"
#include "operations/lessoncheck.h"
#include "test_util.h"

namespace vocatrix {

void PrintTo(const LessonFinding& f, std::ostream* os) {
  *os << "{kind " << static_cast<int>(f.Kind) << ", entry " << f.Entry << ", direction " << f.Direction << ", form "
      << f.Form << ", " << f.Alternatives << " alternatives, '" << f.Word << "', " << f.OtherEntries.size()
      << " others}";
}

namespace {

using test::MakeEntry;
using Kind = LessonFindingKind;

// The findings of one kind, as (entry, direction, form, alternatives, word, other entries).
std::vector<LessonFinding> OfKind(const LessonCheck& check, Kind kind) {
  std::vector<LessonFinding> found;
  for (const LessonFinding& f : check.Findings)
    if (f.Kind == kind) found.push_back(f);
  return found;
}

LessonFinding Finding(Kind kind, int entry, int direction, int form = -1, int alternatives = 0, std::string word = {},
                      std::vector<int> others = {}) {
  return {kind, entry, direction, form, alternatives, std::move(word), std::move(others)};
}

TEST(LessonCheck, EachFindingOnALessonMadeForIt) {
  struct Case {
    const char* name;
    std::vector<MeaningPtr> entries;
    std::uint8_t flags;
    Kind kind;
    std::vector<LessonFinding> expected;
  };
  const std::vector<Case> cases = {
      // Language 2 asks nothing of an entry without translations; a lesson
      // without any synonym list of two words is not made for direction 2.
      {"no translation",
       {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"tree"}), MakeEntry(1, {"hot"}, {}, {"cold"}, {"kalt"})},
       15,
       Kind::kNoTranslation,
       {Finding(Kind::kNoTranslation, 1, 0)}},
      {"no word in the language asked",
       {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"tree"})},
       3,
       Kind::kNoWord,
       {Finding(Kind::kNoWord, 1, 1)}},
      // One synonym and no antonym; an antonym alone makes a question.
      {"lone word",
       {MakeEntry(1, {"car", "auto"}), MakeEntry(1, {"tree"}), MakeEntry(1, {"hot"}, {}, {"cold"})},
       4,
       Kind::kLoneWord,
       {Finding(Kind::kLoneWord, 1, 2)}},
      // Four other words of form "s." are enough; the verb has none of its own
      // form, whatever the nouns lend it.
      {"few alternatives",
       {MakeEntry(1, {"a"}, {"A"}), MakeEntry(1, {"b"}, {"B"}), MakeEntry(1, {"c"}, {"C"}), MakeEntry(1, {"d"}, {"D"}),
        MakeEntry(1, {"e"}, {"E", "E2"}), MakeEntry(0, {"go"}, {"gehen"})},
       1,
       Kind::kFewAlternatives,
       {Finding(Kind::kFewAlternatives, 5, 0, 0, 0, "go")}},
      {"few alternatives in a pool of four",
       {MakeEntry(1, {"a"}, {"A"}), MakeEntry(1, {"b"}, {"B"}), MakeEntry(1, {"c"}, {"C"}), MakeEntry(1, {"d"}, {"D"})},
       2,
       Kind::kFewAlternatives,
       {Finding(Kind::kFewAlternatives, 0, 1, 1, 3, "A"), Finding(Kind::kFewAlternatives, 1, 1, 1, 3, "B"),
        Finding(Kind::kFewAlternatives, 2, 1, 1, 3, "C"), Finding(Kind::kFewAlternatives, 3, 1, 1, 3, "D")}},
      // Entries 1 and 3 both want "Bank"; the antonym of entry 2 wants the
      // answer of its head, which is no confusion.
      {"shared answer",
       {MakeEntry(1, {"tree"}, {"Baum"}), MakeEntry(1, {"bank"}, {"Bank"}), MakeEntry(1, {"up"}, {"X"}, {"down"}, {"X"}),
        MakeEntry(1, {"bench"}, {"Bank"}), MakeEntry(1, {"desk"}, {"Bank"})},
       1,
       Kind::kSharedAnswer,
       {Finding(Kind::kSharedAnswer, 1, 0, -1, 0, "Bank", {3, 4})}},
      {"form other among forms",
       {MakeEntry(1, {"a"}, {"A"}), MakeEntry(0, {"b"}, {"B"}), MakeEntry(4, {"c"}, {"C"})},
       1,
       Kind::kFormOther,
       {Finding(Kind::kFormOther, 2, -1, 4)}},
      {"form other in half the lesson",
       {MakeEntry(1, {"a"}, {"A"}), MakeEntry(4, {"b"}, {"B"})},
       1,
       Kind::kFormOther,
       {}},
  };
  for (const Case& c : cases) {
    TLesson lesson;
    lesson.Language1.Name = "English";
    lesson.Language2.Name = "Deutsch";
    lesson.Meanings = std::make_unique<TMeaningList>();
    for (const MeaningPtr& m : c.entries) lesson.Meanings->Insert(m);
    const LessonCheck check = CheckLesson(lesson, c.flags);
    EXPECT_TRUE(check.Complete);
    EXPECT_EQ(OfKind(check, c.kind), c.expected) << c.name;
    // The counts are Select's with every group kept, for exactly the directions asked.
    for (int d = 0; d < kCheckDirections; ++d)
      EXPECT_EQ(check.Problems[static_cast<std::size_t>(d)],
                c.flags & (1 << d) ? lesson.Count(static_cast<std::uint8_t>((1 << d) | 0x70)) : -1)
          << c.name << " direction " << d;
  }
}

TEST(LessonCheck, AllWordsCountsAsSelectAndTheCheckCanBeStopped) {
  TLesson lesson;
  lesson.Language1.Name = "English";
  lesson.Language2.Name = "Deutsch";
  lesson.Meanings = std::make_unique<TMeaningList>();
  lesson.Meanings->Insert(MakeEntry(1, {"house", "home"}, {"Haus"}, {"hut"}, {"H\xFCtte"}));
  lesson.Meanings->Insert(MakeEntry(1, {"tree"}));
  const LessonCheck all = CheckLesson(lesson, 0x80 | 15);
  for (int d = 0; d < kCheckDirections; ++d)
    EXPECT_EQ(all.Problems[static_cast<std::size_t>(d)], lesson.Count(static_cast<std::uint8_t>((1 << d) | 0xF0)));
  EXPECT_GT(all.Problems[0], CheckLesson(lesson, 1).Problems[0]);

  // Every group is kept whatever bits 4 to 6 say: with the levels -3, -3,
  // 0, 0, 0, 5 a selection without them keeps nothing.
  TLesson graded;
  graded.Meanings = std::make_unique<TMeaningList>();
  for (const int level : {-3, -3, 0, 0, 0, 5}) {
    MeaningPtr m = MakeEntry(1, {"w" + std::to_string(graded.Meanings->Count())}, {"t"});
    m->Synonyms.At(0)->Knowledge[kTranslationProblem] = static_cast<std::int8_t>(level);
    graded.Meanings->Insert(m);
  }
  ASSERT_EQ(graded.Count(1), 0);
  EXPECT_EQ(CheckLesson(graded, 1).Problems[0], 6);
  EXPECT_EQ(CheckLesson(graded, 1 | 0x70).Problems[0], 6);

  std::vector<std::pair<int, int>> heard;
  const LessonCheck stopped = CheckLesson(lesson, 3, [&](int done, int steps) {
    heard.emplace_back(done, steps);
    return done < 1;
  });
  EXPECT_FALSE(stopped.Complete);
  EXPECT_TRUE(stopped.Findings.empty());
  EXPECT_EQ(heard, (std::vector<std::pair<int, int>>{{0, 2}, {1, 2}}));

  const std::vector<LessonFinding> none = OfKind(all, Kind::kNoTranslation);
  ASSERT_EQ(none.size(), 1u);
  EXPECT_EQ(LessonFindingLine(lesson, none.front()),
            "entry 2: translations English to Deutsch: no question: no translation into Deutsch");
  EXPECT_EQ(CheckCountLine(lesson, 3, 7), "synonyms and antonyms in Deutsch: 7 problems");
  EXPECT_EQ(CheckCountLine(lesson, 3, 1), "synonyms and antonyms in Deutsch: 1 problem");
}

}  // namespace
}  // namespace vocatrix
