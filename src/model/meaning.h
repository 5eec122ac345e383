// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An entry (one meaning): a form code and four word lists.
//
// Entries are created through TMeaning::Create and always live in a
// std::shared_ptr, since one entry may be listed by several lessons at once;
// their words link back to them through a weak reference.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/word.h"

namespace vocatrix {

// Kind numbers of the four lists, used everywhere outside the binary file.
enum WordKind : int { kSynonyms = 0, kTranslations = 1, kAntonyms = 2, kAntonymTranslations = 3 };

// Form codes: 0 "v.", 1 "s.", 2 "adj.", 3 "adv.", 4 "other".
constexpr std::uint8_t kFormOther = 4;

class TMeaning : public std::enable_shared_from_this<TMeaning> {
 public:
  // A new entry of form 4 with four empty lists; a given word becomes its
  // first synonym.
  static std::shared_ptr<TMeaning> Create(PWord word = nullptr);
  virtual ~TMeaning() = default;

  std::uint8_t Form = kFormOther;
  // Declaration order, which is also the order in the binary file.
  TWordCollection Synonyms;
  TWordCollection Antonyms;
  TWordCollection Translations;
  TWordCollection AntonymTranslations;

  TWordCollection& ListOfKind(int kind);
  const TWordCollection& ListOfKind(int kind) const;

  // Inserts the word into the list of that kind and makes this entry its
  // Meaning, also when the list refused it.
  void AddWord(int kind, const PWord& word);

  std::vector<std::string> KindTexts(int kind) const;
  // Refills a list from lines: each trimmed of codes 0 to 32 at both ends,
  // empty results skipped, repeated texts added once.
  void SetKindTexts(int kind, const std::vector<std::string>& lines);

  // Side 0: first synonym; side 1: first translation; null otherwise.
  PWord HeadWord(int side) const;

  // The list holding exactly this word object (synonyms, antonyms,
  // translations, antonym translations are searched in that order), or null.
  TWordCollection* ListOf(const TWord& word);
  // 0 for a word in the synonyms or antonyms, 1 for the other two lists.
  int SideOf(const TWord& word);

  static int IndexOfText(const TWordCollection& list, const std::string& text);
  // Position 0 to 3 (declaration order) of the first list holding the text, or -1.
  int HoldsText(const std::string& text) const;

  // Synonyms trade places with translations, antonyms with antonym translations.
  void MirrorEntry();

 protected:
  TMeaning() = default;
};

// Entries made by the lesson document are of this class; it adds nothing.
class PMeaning : public TMeaning {
 public:
  PMeaning() = default;
};

using MeaningPtr = std::shared_ptr<TMeaning>;

// The relation lists of a word within its own entry; null when the word's
// entry does not hold it.
TWordCollection* OwnList(const TWord& word);
TWordCollection* OppositeList(const TWord& word);
TWordCollection* CounterpartList(const TWord& word);
TWordCollection* CrossList(const TWord& word);

// Inserts `other` into that list of `word` and gives it word's entry.
void AddToOwnList(const TWord& word, const PWord& other);
void AddToOppositeList(const TWord& word, const PWord& other);
void AddToCounterpartList(const TWord& word, const PWord& other);
void AddToCrossList(const TWord& word, const PWord& other);

// Removes codes 0 to 32 from both ends.
std::string TrimControls(const std::string& text);

}  // namespace vocatrix
