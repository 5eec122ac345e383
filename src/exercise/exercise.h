// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The exercise model shared with the learning games: a lesson that selects
// problems (TLesson), one question with its solution and multiple-choice
// alternatives (TProblem), and the selected problems ordered by how well the
// learner knows them (TProbCollection).
//
// Problems refer to their words through shared pointers, so a problem stays
// usable after its words have left their lists. The `Lesson` link is a plain
// reference: a problem must not outlive the lesson that made it when it is
// used for type 5 or read through that link.

#include <cstdint>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "base/random.h"
#include "model/lesson.h"
#include "exercise/answerpool.h"

namespace vocatrix {

class TLesson;

// Problem types and the selection flags of Select and Count.
enum ProblemKind : std::uint8_t {
  kTranslationProblem = 0,          // solution from the question's counterpart list
  kAntonymTranslationProblem = 1,   // from the cross list
  kSynonymProblem = 2,              // another word of the own list
  kAntonymProblem = 3,              // from the opposite list
  kLessonProblem = 5,               // the answer is a lesson
};

enum SelectFlags : std::uint8_t {
  kAskLanguage1 = 1,          // translation problems asked in language 1
  kAskLanguage2 = 2,          // translation problems asked in language 2
  kSameLanguage1 = 4,         // synonym and antonym problems in language 1
  kSameLanguage2 = 8,         // synonym and antonym problems in language 2
  kKeepHard = 16,
  kKeepMedium = 32,
  kKeepEasy = 64,
  kAllWords = 128,            // every word asked, random translation solutions
};
// The hard, medium and easy groups all kept.
inline constexpr std::uint8_t kKeepAllGroups = kKeepHard | kKeepMedium | kKeepEasy;

class TProblem {
 public:
  const TLesson* Lesson = nullptr;
  std::int32_t Attempts = 1;
  std::int32_t Weight = 4;
  std::int32_t Deduction = 0;
  std::int8_t Level = 0;
  PWord Question;
  std::uint8_t ProblemType = 0;
  PWord Solution;
  TCollection<TWord> Alternatives;

  // Moves the solution to a random place among the first n alternatives
  // (n is kept within 1 and the number of alternatives).
  void Alternate(int n);
  // Right when the answer equals, byte for byte, the solution or one of its
  // synonyms. Never right for type 5, which is answered with a lesson.
  bool Solved(const std::string& answer) const;
  // Type 5: right when the lesson holds the question's text.
  bool Solved(const TMeanCollection& lesson) const;
  // The nearest accepted spelling when it lies within `tolerance` percent,
  // otherwise the empty string.
  void Neighboor(const std::string& answer, std::uint8_t tolerance, std::string& result) const;
  // Adds a new word with the text to the solution's own list, at its front or
  // end, without looking for a word of the same text.
  void BackInsert(const std::string& text, bool atFront);
  // The score change of an answer in scoring mode 1, 2 or 3 (0 for other
  // modes), computed on the low byte as a signed 8-bit number.
  std::int8_t Value(std::uint8_t mode, bool solved) const;
  // Applies an answer to the Knowledge scores and to the problem itself.
  void Score(std::uint8_t mode, const std::string& answer);
  // "Level Question Mark" on one line, the texts as UTF-8.
  void Print(std::ostream& out = std::cout) const;
};

using ProblemPtr = std::shared_ptr<TProblem>;

// Problems in ascending Level order; a new problem goes before those of equal
// Level.
class TProbCollection : public TSortedCollection<TProblem> {
  friend class TSelection;  // fills a new collection in sorted order at once

 public:
  TProbCollection() { Duplicates = true; }

  bool Graded = false;

  int Compare(const TProblem& a, const TProblem& b) const override { return a.Level - b.Level; }

  int Hard() const;
  int Medium() const;
  int Easy() const;

  void Print(std::ostream& out = std::cout) const;
};

// One run of Select: the five answer pools and the steps that fill and
// drain them.
//
// The selection works on a table of the lesson's words taken when it is
// made (the lesson must not change while it is used): every word gets a
// number, and pools, relation lists, scores and the fonts still to be set
// are kept by number in contiguous arrays, so the hot loop of a selection
// never visits a word object. The problems it makes refer to their words
// through one shared owner of the whole table, so handing out a word does
// not touch the word's own reference count either; the words stay alive as
// long as any of the problems does.
class TSelection {
 public:
  // Draws from `random`, the core's shared source unless another is given.
  // Of the lesson it reads the entries and the fonts; the problems link to
  // it only when it is a TLesson.
  TSelection(const TMeanCollection& lesson, bool allWords, TRandom& random = RandomSource());
  ~TSelection();
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

  // Empties the pools and fills them with the words of CollectWords
  // (1 - side), each into the pool of its entry's form.
  void FillPools(std::uint8_t side);
  PWord PickSolution(const PWord& question, bool firstOnly, std::uint8_t type);
  TCollection<TWord> PickAlternatives(int count, int form);
  // Adds a problem to the selection's problems and returns it; null when
  // the question has no usable solution.
  ProblemPtr MakeProblem(const PWord& question, std::uint8_t type);
  // Problems for the questions of one side, entry by entry.
  void AddProblems(std::uint8_t side, bool translation);
  // The problems of Select for the flags: its first half (answers in
  // language 2) and then its second (answers in language 1).
  void AddAllProblems(std::uint8_t flags);
  // The problems made so far in Level order, as inserting them one by one
  // into a TProbCollection puts them, graded, and without the groups the
  // flags do not keep. Sets the fonts of every word handed out.
  std::unique_ptr<TProbCollection> Collect(std::uint8_t flags);

  const TAnswerPool& Pool(int form) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// A lesson document that selects exercise problems.
class TLesson : public TMeanCollection {
 public:
  // A lesson read from a file by its kind, as TMeanCollection::CreateFromFile.
  static std::unique_ptr<TLesson> CreateFromFile(const std::string& fileName);

  // A new selection for the flags (see SelectFlags); the caller owns it.
  std::unique_ptr<TProbCollection> Select(std::uint8_t flags);
  // As Select, drawing from `random`: a worker thread selects with a source
  // of its own, as the shared one serves the interface thread.
  std::unique_ptr<TProbCollection> Select(std::uint8_t flags, TRandom& random);
  // The number of problems Select gives for these flags, as a 16-bit count.
  std::uint16_t Count(std::uint8_t flags);
};

// TLesson::Select on any lesson: a lesson document selects without being a
// TLesson (its problems then have no Lesson link). The words handed out get
// their fonts set, nothing else of the lesson changes.
std::unique_ptr<TProbCollection> SelectProblems(const TMeanCollection& lesson, std::uint8_t flags, TRandom& random);

// Characters the two texts do not share, regardless of order.
int LetterDistance(const std::string& a, const std::string& b);

}  // namespace vocatrix
