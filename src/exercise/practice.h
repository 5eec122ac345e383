// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Practising a lesson as the learning games ask it: a round of the problems
// of one selection, each answered in one of three ways, the ones answered
// wrongly coming back later in the round.
//
// A round works on a copy of the lesson (TPracticeLesson), never on the
// lesson itself: its scores change the copy's words only, and an edit of the
// lesson meanwhile cannot take a word from under the round. The scores a
// practice gives are kept by the words of the lesson they were copied from
// (TKnowledgeStore), so the next copy starts from them.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "exercise/exercise.h"

namespace vocatrix {

// The ways of answering, by their scoring modes.
enum class TAnswerWay : std::uint8_t { kCards = 1, kType = 2, kChoose = 3 };

// Exercise scores given to a lesson's words in practice, by word object.
class TKnowledgeStore {
 public:
  using Scores = std::array<std::int8_t, 4>;
  // The scores kept for the word, or its own.
  Scores Of(const PWord& word) const;
  void Keep(const PWord& word, const Scores& scores);
  bool Empty() const { return scores_.empty(); }

 private:
  struct Kept {
    std::weak_ptr<TWord> Word;  // a new word at the same address is not it
    Scores Knowledge;
  };
  std::unordered_map<const TWord*, Kept> scores_;
};

// A copy of a lesson's header and entries with new word objects (texts and
// scores: what the exercise model reads), each starting from the scores the
// store keeps for its original.
class TPracticeLesson {
 public:
  TPracticeLesson(const TMeanCollection& lesson, const TKnowledgeStore& store);

  TLesson& Lesson() { return lesson_; }
  // The original of a word of the copy (null for a word the copy did not make).
  PWord OriginalOf(const TWord* copy) const;
  // The lesson entry the copy's entry was made from, while it lives.
  MeaningPtr OriginalEntryOf(const TMeaning* copy) const;
  // Hands the copy's scores of these words to the store.
  void KeepScores(const std::vector<const TWord*>& words, TKnowledgeStore& store) const;

 private:
  // Each copied entry's original and the place of its first word's
  // original in `originals_`, which lists them entry by entry, kind by kind:
  // one lookup per entry and none per word keeps the copy of a large lesson
  // quick.
  struct Origin {
    std::weak_ptr<TMeaning> Entry;
    std::size_t FirstWord = 0;
  };
  TLesson lesson_;
  std::vector<PWord> originals_;
  std::unordered_map<const TMeaning*, Origin> entries_;
};

// One round: the problems in Level order, the first asked first, a missed
// one put back by its new Level and asked again (not at once) until it is
// right or has been answered kMaxAnswers times.
class TPracticeRound {
 public:
  static constexpr int kMaxAnswers = 3;
  // Typed answers this near the solution (percent, Neighboor) are asked
  // about once before they count.
  static constexpr std::uint8_t kTolerance = 20;

  enum class TOutcome { kRight, kWrong, kNearMiss };

  // The scores it gives go to `store`, which outlives the round.
  TPracticeRound(std::shared_ptr<TPracticeLesson> lesson, std::unique_ptr<TProbCollection> problems,
                 TAnswerWay way, TKnowledgeStore& store);

  TAnswerWay Way() const { return way_; }
  TPracticeLesson& Copy() const { return *lesson_; }
  const std::shared_ptr<TPracticeLesson>& CopyShared() const { return lesson_; }
  bool Done() const { return !current_; }
  // The problem asked now; null when the round is done.
  TProblem* Current() const { return current_.get(); }
  const ProblemPtr& CurrentProblem() const { return current_; }
  // The current problem comes back after a wrong answer.
  bool Retry() const { return answersOfCurrent_ > 0; }
  // For a near miss: the spelling it is near.
  const std::string& NearMiss() const { return nearMiss_; }

  // Scores the answer (a typed text, a chosen alternative's text; for cards
  // the solution's text when the learner knew it, else empty) and moves on.
  // A typed near miss is not scored the first time: NearMiss says what it
  // is near, and the current problem stays.
  TOutcome Answer(const std::string& answer);

  int Total() const { return total_; }
  // Problems done (right or missed) and right.
  int Finished() const { return rightFirst_ + rightLater_ + static_cast<int>(missed_.size()); }
  int Right() const { return rightFirst_ + rightLater_; }
  // Distinct problems asked so far, the current one included: a problem
  // that comes back is not counted again.
  int Asked() const { return static_cast<int>(answers_.size()); }
  int RightFirstTime() const { return rightFirst_; }
  int RightLater() const { return rightLater_; }
  const std::vector<ProblemPtr>& Missed() const { return missed_; }

 private:
  void Next(const ProblemPtr& after);

  std::shared_ptr<TPracticeLesson> lesson_;
  std::unique_ptr<TProbCollection> pending_;
  TAnswerWay way_;
  TKnowledgeStore& store_;
  ProblemPtr current_;
  std::unordered_map<const TProblem*, int> answers_;
  int answersOfCurrent_ = 0;
  bool nearMissShown_ = false;
  std::string nearMiss_;
  int total_ = 0;
  int rightFirst_ = 0;
  int rightLater_ = 0;
  std::vector<ProblemPtr> missed_;
};

}  // namespace vocatrix
