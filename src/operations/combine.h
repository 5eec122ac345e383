// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Building one lesson from two: concatenation and language substitution, and
// the word walks they and the exercise model rest on.
//
// Language names are compared byte for byte (case-sensitive, no locale)
// throughout. The lesson document's own members AddLesson, AddKnowledge and
// PutKnowledge (model/lesson.h) are implemented in combine.cpp as well.

#include <cstdint>
#include <memory>
#include <string>

#include "model/lesson.h"

namespace vocatrix {

// A plain sequence of words, in the order of appending, duplicates allowed;
// it refers to its words and never owns them alone.
using TWordSequence = TCollection<TWord>;

// A new lesson holding A's entries and then B's, the very same entry objects
// (an edit through one lesson shows in the others). Title "A + B", language
// names and fonts from A, Modified set, not compacted. Null when a lesson is
// missing or the language names differ.
std::unique_ptr<TMeanCollection> ConcatLessons(const TMeanCollection* a, const TMeanCollection* b);

// From A (languages P, Q) and B (languages R, Q) a new lesson of P and R,
// joined over the shared language Q. Both sources are compacted in place and
// come out with their languages as they went in. Null when the lessons share
// no language name. A and B may be the same lesson.
std::unique_ptr<TMeanCollection> SubstituteLanguage(TMeanCollection* a, TMeanCollection* b);

// Every word of the language named `name`, entry by entry: synonyms and
// antonyms when it is language 1, otherwise translations and antonym
// translations (a name matching neither counts as language 2).
TWordSequence WordsOfLanguage(const TMeanCollection& lesson, const std::string& name);

// The same walk into a word registry: the first word met per word key stays.
TUniqueWordCollection UniqueWordsOfLanguage(const TMeanCollection& lesson, const std::string& name);

// Appends a fresh copy (text only) of each source word to `target`, held by
// `holder`; the target refuses texts it already has.
void CopyNewWords(TWordCollection& target, const TWordCollection& source, const MeaningPtr& holder);

// For each entry with a head word on `side` (0 the first synonym, 1 the
// first translation): all words of the head's own list and then of its
// opposite list, or with `firstOnly` the head and the first word of the
// opposite list. Any other side gives an empty sequence.
TWordSequence CollectWords(const TMeanCollection& lesson, std::uint8_t side, bool firstOnly);

}  // namespace vocatrix
