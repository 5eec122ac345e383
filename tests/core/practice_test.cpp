// SPDX-License-Identifier: GPL-3.0-or-later
// Practice rounds: missed problems coming back by Level, the three ways of
// answering scored as the exercise model scores them, and scores kept apart
// from the lesson.

#include <gtest/gtest.h>

#include "base/random.h"
#include "exercise/practice.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;

constexpr std::uint8_t kFlags = kAskLanguage1 | kKeepHard | kKeepMedium | kKeepEasy;

std::unique_ptr<TMeanCollection> Animals() {
  return MakeLesson("English", "Deutsch",
                    {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"cat"}, {"Katze"}),
                     MakeEntry(1, {"dog"}, {"Hund"})});
}

struct Practice {
  explicit Practice(const TMeanCollection& lesson, TKnowledgeStore& store, TAnswerWay way)
      : copy(std::make_shared<TPracticeLesson>(lesson, store)),
        round(copy, copy->Lesson().Select(kFlags), way, store) {}
  std::shared_ptr<TPracticeLesson> copy;
  TPracticeRound round;
};

TEST(PracticeRound, AMissedProblemComesBackLaterInLevelOrderUntilRightOrMissedAndItsScoresOutliveTheRound) {
  SeedRandom(3);
  auto lesson = Animals();
  TKnowledgeStore store;
  Practice p(*lesson, store, TAnswerWay::kType);
  TPracticeRound& round = p.round;
  ASSERT_EQ(round.Total(), 3);
  const ProblemPtr first = round.CurrentProblem();
  const PWord asked = p.copy->OriginalOf(first->Question.get());
  ASSERT_TRUE(asked);

  EXPECT_EQ(round.Answer("zzz"), TPracticeRound::TOutcome::kWrong);
  // Not asked again at once, though its Level (-1) is now the lowest.
  ASSERT_NE(round.CurrentProblem(), first);
  EXPECT_FALSE(round.Retry());
  EXPECT_EQ(round.Asked(), 2) << "the next question counts while the missed one waits";
  EXPECT_EQ(round.Answer(round.Current()->Solution->Text()), TPracticeRound::TOutcome::kRight);
  // Level -1 comes before the untouched problem's 0.
  ASSERT_EQ(round.CurrentProblem(), first);
  EXPECT_TRUE(round.Retry());
  EXPECT_EQ(round.Asked(), 2) << "a problem that comes back counts once";
  EXPECT_EQ(round.Answer("zzz"), TPracticeRound::TOutcome::kWrong);
  EXPECT_EQ(store.Of(asked)[kTranslationProblem], -1 - 2);
  EXPECT_EQ(asked->Knowledge[kTranslationProblem], 0) << "the lesson's own word is never scored";
  ASSERT_NE(round.CurrentProblem(), first);
  EXPECT_EQ(round.Answer(round.Current()->Solution->Text()), TPracticeRound::TOutcome::kRight);
  ASSERT_EQ(round.CurrentProblem(), first);
  EXPECT_EQ(round.Answer("zzz"), TPracticeRound::TOutcome::kWrong);
  EXPECT_TRUE(round.Done());
  EXPECT_EQ(round.RightFirstTime(), 2);
  EXPECT_EQ(round.RightLater(), 0);
  ASSERT_EQ(round.Missed().size(), 1u);
  EXPECT_EQ(round.Missed()[0], first);
  EXPECT_EQ(round.Finished(), 3);

  // The next round starts from the scores kept: the missed word is asked first.
  Practice again(*lesson, store, TAnswerWay::kType);
  EXPECT_EQ(store.Of(asked)[kTranslationProblem], -6);
  EXPECT_EQ(again.copy->OriginalOf(again.round.Current()->Question.get()), asked);
  EXPECT_EQ(again.round.Current()->Level, -6);
}

TEST(PracticeRound, EachWayScoresAsItsModeAndATypedNearMissIsAskedAboutOnce) {
  auto lesson = Animals();
  struct Case {
    TAnswerWay way;
    bool nearMiss;  // answer "<solution>e" first
    bool chooseOther;
  };
  for (const Case c : {Case{TAnswerWay::kType, true, false}, Case{TAnswerWay::kCards, false, false},
                       Case{TAnswerWay::kChoose, false, true}}) {
    SCOPED_TRACE(static_cast<int>(c.way));
    SeedRandom(5);
    TKnowledgeStore store;
    Practice p(*lesson, store, c.way);
    const ProblemPtr problem = p.round.CurrentProblem();
    const std::int8_t expected = problem->Value(static_cast<std::uint8_t>(c.way), false);
    const PWord question = p.copy->OriginalOf(problem->Question.get());
    const PWord solution = p.copy->OriginalOf(problem->Solution.get());
    std::string answer;
    PWord other;
    if (c.nearMiss) {
      answer = problem->Solution->Text() + "e";
      EXPECT_EQ(p.round.Answer(answer), TPracticeRound::TOutcome::kNearMiss);
      EXPECT_EQ(p.round.NearMiss(), problem->Solution->Text());
      EXPECT_EQ(p.round.CurrentProblem(), problem);
      EXPECT_TRUE(store.Empty()) << "a near miss is not scored";
    }
    if (c.chooseOther) {
      ASSERT_EQ(problem->Alternatives.Count(), 3);
      for (const PWord& w : problem->Alternatives) {
        if (w == problem->Solution) continue;
        answer = w->Text();
        other = p.copy->OriginalOf(w.get());
      }
    }
    EXPECT_EQ(p.round.Answer(answer), TPracticeRound::TOutcome::kWrong);
    EXPECT_EQ(store.Of(question)[kTranslationProblem], expected);
    // Choosing also scores the solution and the alternative chosen.
    EXPECT_EQ(store.Of(solution)[kTranslationProblem], c.chooseOther ? expected : 0);
    if (other) {
      EXPECT_EQ(store.Of(other)[kTranslationProblem], expected);
    }
  }
}

}  // namespace
}  // namespace vocatrix
