// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The memory game of the learning games over a lesson: pairs of cards, each
// pair a problem's question and its solution, turned two at a time. A pair
// found stays face up; two cards that do not belong together are turned back.
//
// The game plays on its own copy of the lesson (TPracticeLesson): a
// selection sets the fonts of the words it hands out, and the lesson a
// window edits must not change for a game.

#include <memory>
#include <string>
#include <vector>

#include "base/font.h"
#include "exercise/exercise.h"

namespace vocatrix {

struct TMemoryCardFace {
  std::string Text;  // Windows-1252
  TFont Font;        // the font of the word's language
  int Pair = 0;
  bool Question = false;  // the question card of its pair, else the solution card
};

class TMemoryGame {
 public:
  static constexpr int kMaxPairs = 8;

  enum class TurnResult {
    kIgnored,   // a card face up already, or no card of the board
    kFirst,     // the first card of a turn
    kMatch,     // the second card belongs to the first: both stay face up
    kMismatch,  // the second card does not: both wait to be turned back
    kCleared,   // a match that found the last pair
  };

  // A new board from a selection: the problems in their order (the hard
  // ones first) up to kMaxPairs pairs; a problem with a text already on the
  // board is left out, since two cards alike could not be told apart.
  void Deal(const TProbCollection& problems);

  // Pair i's question card at 2i, its solution card at 2i + 1.
  const std::vector<TMemoryCardFace>& Cards() const { return cards_; }
  int Pairs() const { return static_cast<int>(cards_.size() / 2); }
  int PairsFound() const { return pairsFound_; }
  // Second cards turned: the moves the learner needed.
  int Moves() const { return moves_; }
  bool Cleared() const { return Pairs() > 0 && pairsFound_ == Pairs(); }

  bool FaceUp(int card) const;
  bool Matched(int card) const;
  // Two cards of a mismatch are face up and wait to be turned back.
  bool Waiting() const { return open_.size() == 2; }

  // Turns a card face up. A card turned while a mismatch waits turns the
  // two back first.
  TurnResult TurnCard(int card);
  // Turns the waiting mismatch back; false when none waits.
  bool TurnBack();

 private:
  std::vector<TMemoryCardFace> cards_;
  std::vector<bool> matched_;
  std::vector<int> open_;  // cards face up in the turn under way
  int pairsFound_ = 0;
  int moves_ = 0;
};

}  // namespace vocatrix
