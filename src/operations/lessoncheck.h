// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the learning games will make of a lesson, found by running their
// exercise model on it (Select, through SelectProblems, with every group
// kept, once for each direction) and reading the problems it makes: how
// many problems each of the four directions gives, which entries give none
// there and why, questions whose alternatives are short of words of their
// form, answers that questions of several entries accept, and entries of
// form "other" in a lesson of forms.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/lesson.h"

namespace vocatrix {

// The directions are the selection flags' bits 0 to 3: translations asked
// in language 1 and in language 2, synonyms and antonyms in language 1 and
// in language 2.
constexpr int kCheckDirections = 4;
// The directions checked when no flags are given: all four.
constexpr std::uint8_t kCheckAllDirections = 15;

enum class LessonFindingKind : std::uint8_t {
  kNoWord,           // the entry has no word in the question's language
  kNoTranslation,    // nothing in the answer language to translate into
  kLoneWord,         // a single word in the language and no antonym
  kNoProblem,        // none, though the lists hold words to ask
  kFewAlternatives,  // a question offered fewer than 4 alternatives of its form
  kSharedAnswer,     // an answer that questions of several entries accept
  kFormOther,        // form "other" while most of the lesson's entries have a form
};

struct LessonFinding {
  LessonFindingKind Kind = LessonFindingKind::kNoProblem;
  int Entry = 0;         // index in the lesson, from 0
  int Direction = -1;    // 0 to 3; -1 for what concerns the entry in every direction
  int Form = -1;         // the question's form (kFewAlternatives, kFormOther)
  int Alternatives = 0;  // kFewAlternatives: those of the question's form
  // A lesson string: the question (kFewAlternatives) or the answer (kSharedAnswer).
  std::string Word;
  std::vector<int> OtherEntries;  // kSharedAnswer: the later entries whose questions accept it too
  bool operator==(const LessonFinding&) const = default;
};

struct LessonCheck {
  // The number of problems of each direction; -1 for a direction not checked.
  std::array<int, kCheckDirections> Problems{-1, -1, -1, -1};
  // By entry, then direction. Entries that give no problem are listed only
  // for a direction the lesson gives problems in: one without any shows by
  // its count that the lesson is not made for it.
  std::vector<LessonFinding> Findings;
  // False when the check was stopped; then nothing was found.
  bool Complete = true;
};

// Checks the directions of bits 0 to 3 of `flags`, every word of the lists
// asked when bit 7 is set, as Select does; bits 4 to 6 are not looked at,
// every group is kept. `goOn`, when given, hears how many of the check's
// steps are done (of how many) between them, and stops it by answering
// false. The lesson must not change meanwhile; Select sets the fonts of the
// words it hands out, nothing else changes. The draws come from a source of
// the check's own, seeded alike every time (a lesson always gives the same
// report), so a worker thread may run it beside the interface's draws.
LessonCheck CheckLesson(const TMeanCollection& lesson, std::uint8_t flags,
                        const std::function<bool(int done, int steps)>& goOn = {});

// The texts below are UTF-8 in the interface language.
// "translations English to Deutsch", "synonyms and antonyms in English".
std::string CheckDirectionText(const TMeanCollection& lesson, int direction);
// What was found, without the entry and direction.
std::string LessonFindingWhat(const TMeanCollection& lesson, const LessonFinding& finding);
// "entry N: direction: what", N counted from 1.
std::string LessonFindingLine(const TMeanCollection& lesson, const LessonFinding& finding);
// "direction: N problems".
std::string CheckCountLine(const TMeanCollection& lesson, int direction, int problems);

}  // namespace vocatrix
