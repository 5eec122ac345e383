// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/memorygame.h"

#include <algorithm>
#include <unordered_set>

namespace vocatrix {

void TMemoryGame::Deal(const TProbCollection& problems) {
  cards_.clear();
  open_.clear();
  pairsFound_ = 0;
  moves_ = 0;
  std::unordered_set<std::string> onBoard;
  // The selection gives every word it hands out the font of its language.
  const auto faceOf = [](const PWord& word) { return word->Font ? *word->Font : TFont{}; };
  for (const ProblemPtr& problem : problems) {
    if (Pairs() == kMaxPairs) break;
    if (!problem->Question || !problem->Solution) continue;
    const std::string& question = problem->Question->Text();
    const std::string& solution = problem->Solution->Text();
    if (question == solution || onBoard.count(question) || onBoard.count(solution)) continue;
    onBoard.insert(question);
    onBoard.insert(solution);
    const int pair = Pairs();
    cards_.push_back({question, faceOf(problem->Question), pair, true});
    cards_.push_back({solution, faceOf(problem->Solution), pair, false});
  }
  matched_.assign(cards_.size(), false);
}

bool TMemoryGame::FaceUp(int card) const {
  return Matched(card) || std::find(open_.begin(), open_.end(), card) != open_.end();
}

bool TMemoryGame::Matched(int card) const {
  return card >= 0 && card < static_cast<int>(matched_.size()) && matched_[static_cast<std::size_t>(card)];
}

TMemoryGame::TurnResult TMemoryGame::TurnCard(int card) {
  if (card < 0 || card >= static_cast<int>(cards_.size()) || FaceUp(card)) return TurnResult::kIgnored;
  TurnBack();
  open_.push_back(card);
  if (open_.size() == 1) return TurnResult::kFirst;
  ++moves_;
  const int first = open_[0];
  if (cards_[static_cast<std::size_t>(first)].Pair != cards_[static_cast<std::size_t>(card)].Pair)
    return TurnResult::kMismatch;
  matched_[static_cast<std::size_t>(first)] = true;
  matched_[static_cast<std::size_t>(card)] = true;
  open_.clear();
  ++pairsFound_;
  return Cleared() ? TurnResult::kCleared : TurnResult::kMatch;
}

bool TMemoryGame::TurnBack() {
  if (!Waiting()) return false;
  open_.clear();
  return true;
}

}  // namespace vocatrix
