// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/practice.h"

namespace vocatrix {

// ---------------------------------------------------------- TKnowledgeStore

TKnowledgeStore::Scores TKnowledgeStore::Of(const PWord& word) const {
  const auto it = scores_.find(word.get());
  if (it != scores_.end() && it->second.Word.lock() == word) return it->second.Knowledge;
  return word->Knowledge;
}

void TKnowledgeStore::Keep(const PWord& word, const Scores& scores) { scores_[word.get()] = {word, scores}; }

// ---------------------------------------------------------- TPracticeLesson

TPracticeLesson::TPracticeLesson(const TMeanCollection& lesson, const TKnowledgeStore& store) {
  static_cast<TLessonHeader&>(lesson_) = lesson;
  lesson_.LessonFileName = lesson.LessonFileName;
  lesson_.Meanings = std::make_unique<TMeaningList>();
  if (!lesson.Meanings) return;
  entries_.reserve(static_cast<std::size_t>(lesson.EntryCount()));
  // A lesson listing an entry twice (a concatenation with itself) gets one
  // copy listed twice, as the selection would see it.
  std::unordered_map<const TMeaning*, MeaningPtr> copies;
  for (const MeaningPtr& entry : *lesson.Meanings) {
    MeaningPtr& copy = copies[entry.get()];
    if (!copy) {
      copy = TMeaning::Create();
      copy->Form = entry->Form;
      entries_[copy.get()] = {entry, originals_.size()};
      for (int kind = 0; kind < 4; ++kind) {
        TWordCollection& list = copy->ListOfKind(kind);
        for (const PWord& word : entry->ListOfKind(kind)) {
          auto twin = std::make_shared<TWord>(word->Text());
          twin->Knowledge = store.Of(word);
          twin->SetMeaning(copy);
          originals_.push_back(word);
          // The plain append keeps the lists' order (the head word first).
          list.TCollection<TWord>::Insert(std::move(twin));
        }
      }
    }
    lesson_.Meanings->Insert(copy);
  }
}

PWord TPracticeLesson::OriginalOf(const TWord* copy) const {
  TMeaning* entry = copy ? copy->Meaning() : nullptr;
  const auto it = entry ? entries_.find(entry) : entries_.end();
  if (it == entries_.end()) return nullptr;
  // The copy's entries never change: a word's place in them is its original's.
  std::size_t place = it->second.FirstWord;
  for (int kind = 0; kind < 4; ++kind) {
    const TWordCollection& list = entry->ListOfKind(kind);
    const int at = list.IndexOfItem(copy);
    if (at >= 0) return originals_[place + static_cast<std::size_t>(at)];
    place += static_cast<std::size_t>(list.Count());
  }
  return nullptr;
}

MeaningPtr TPracticeLesson::OriginalEntryOf(const TMeaning* copy) const {
  const auto it = entries_.find(copy);
  return it == entries_.end() ? nullptr : it->second.Entry.lock();
}

void TPracticeLesson::KeepScores(const std::vector<const TWord*>& words, TKnowledgeStore& store) const {
  for (const TWord* word : words)
    if (const PWord original = OriginalOf(word)) store.Keep(original, word->Knowledge);
}

// ----------------------------------------------------------- TPracticeRound

TPracticeRound::TPracticeRound(std::shared_ptr<TPracticeLesson> lesson, std::unique_ptr<TProbCollection> problems,
                               TAnswerWay way, TKnowledgeStore& store)
    : lesson_(std::move(lesson)), pending_(std::move(problems)), way_(way), store_(store) {
  if (!pending_) pending_ = std::make_unique<TProbCollection>();
  total_ = pending_->Count();
  Next(nullptr);
}

void TPracticeRound::Next(const ProblemPtr& after) {
  nearMissShown_ = false;
  nearMiss_.clear();
  current_.reset();
  if (pending_->Empty()) return;
  // The problem just missed is not asked again at once while others wait.
  int at = 0;
  if (after && pending_->At(0) == after && pending_->Count() > 1) at = 1;
  current_ = pending_->At(at);
  answersOfCurrent_ = answers_[current_.get()];
  // A problem that comes back shows its alternatives in another order.
  if (answersOfCurrent_ > 0 && way_ == TAnswerWay::kChoose) current_->Alternate(current_->Alternatives.Count());
}

TPracticeRound::TOutcome TPracticeRound::Answer(const std::string& answer) {
  if (!current_) return TOutcome::kWrong;
  const ProblemPtr problem = current_;
  const bool solved = problem->Solved(answer);
  if (!solved && way_ == TAnswerWay::kType && !nearMissShown_) {
    problem->Neighboor(answer, kTolerance, nearMiss_);
    if (!nearMiss_.empty()) {
      nearMissShown_ = true;
      return TOutcome::kNearMiss;
    }
  }
  problem->Score(static_cast<std::uint8_t>(way_), answer);
  // The scores the answer changed: the question's and, choosing, the
  // solution's and the chosen alternative's.
  std::vector<const TWord*> scored{problem->Question.get(), problem->Solution.get()};
  for (const PWord& w : problem->Alternatives) scored.push_back(w.get());
  lesson_->KeepScores(scored, store_);
  const int answers = ++answers_[problem.get()];
  pending_->AtDelete(pending_->IndexOfItem(problem.get()));
  if (solved) {
    (answers == 1 ? rightFirst_ : rightLater_) += 1;
  } else if (answers >= kMaxAnswers) {
    missed_.push_back(problem);
  } else {
    // Back among the others by its new Level, as the games sort it.
    pending_->Insert(problem);
  }
  Next(problem);
  return solved ? TOutcome::kRight : TOutcome::kWrong;
}

}  // namespace vocatrix
