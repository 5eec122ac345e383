// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Words and the two word collections of an entry and of the word registries.
//
// Ownership: entries hold their words through std::shared_ptr (a word may sit
// in several lists while lessons are combined or exercises refer to it). A
// word's link to its entry is non-owning and can never dangle: it is a
// weak reference, so once the entry is gone Meaning() yields null.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/font.h"
#include "model/collection.h"

namespace vocatrix {

class TMeaning;

class TWord {
  // The entry link first: with the scores and the font below it, it shares
  // the object's first cache line with the reference count, which is all a
  // walk over a whole lesson's words (a selection's word table) touches.
  std::weak_ptr<TMeaning> meaning_;
  TMeaning* meaningRaw_ = nullptr;

 public:
  // One score per exercise kind 0 to 3.
  std::array<std::int8_t, 4> Knowledge{};
  // Display font of the word's language, or none; set by the exercise model.
  std::unique_ptr<TFont> Font;

  explicit TWord(std::string text = {}, std::string extra = {}, std::string remark = {});

  const std::string& Text() const { return text_; }
  void SetText(std::string text);

  std::string Extra;
  std::string Remark;

  // The entry whose list holds the word, or null.
  TMeaning* Meaning() const { return meaning_.expired() ? nullptr : meaningRaw_; }
  std::shared_ptr<TMeaning> MeaningShared() const { return meaning_.lock(); }
  void SetMeaning(const std::shared_ptr<TMeaning>& meaning);
  void SetMeaning(TMeaning* meaning);  // the entry must be held by a shared_ptr

  void IncKnowledge(int kind, int delta);
  void DecKnowledge(int kind, int delta);

  // Sort key of the user-locale comparison, computed once per text.
  const std::string& CollationKey() const;

 private:
  std::string text_;
  // Built on first use, and only when the collation is locale-aware.
  struct CachedKey {
    std::string key;
    unsigned generation;
  };
  mutable std::unique_ptr<CachedKey> key_;
};

using PWord = std::shared_ptr<TWord>;

// The user-locale, case-sensitive comparison of two words' texts.
int CompareWordTexts(const TWord& a, const TWord& b);
// CompareWordTexts(a, b) == 0, without ordering work: the collation ranks
// only identical texts equal.
bool SameWordText(const TWord& a, const TWord& b);

// An entry's word list: unsorted, in the order of adding, one word per text.
class TWordCollection : public TSortedCollection<TWord> {
 public:
  int Compare(const TWord& a, const TWord& b) const override;
  // Appends the word unless a word with an equal text is present.
  bool Insert(PWord word) override;
  // The first word with an equal text, as a linear search from the first
  // word on finds it. Long lists answer from an index of their texts, so
  // that building a list of n words costs about n steps, not n^2.
  bool Search(const TWord& key, int& index) const override;

 protected:
  void Appended() override;
  void Rearranged() override;

 private:
  // Positions of the words by the hash of their text; built on the first
  // search of a long list, kept up by appends, dropped by any other change.
  // Copies start without one.
  class TextIndex {
   public:
    TextIndex() = default;
    TextIndex(const TextIndex&) {}
    TextIndex& operator=(const TextIndex&) {
      positions_.reset();
      return *this;
    }
    TextIndex(TextIndex&&) noexcept = default;
    TextIndex& operator=(TextIndex&&) noexcept = default;

    bool Built() const { return positions_ != nullptr; }
    void Build(const std::vector<PWord>& words);
    void Add(const TWord& word, int position);
    void Drop() { positions_.reset(); }
    // The position of the first word of `words` with the text of `key`, or -1.
    int Find(const std::vector<PWord>& words, const TWord& key) const;

   private:
    std::unique_ptr<std::unordered_multimap<std::size_t, int>> positions_;
  };
  mutable TextIndex index_;
};

// Word keys: the text by the user-locale comparison, then the form of the
// word's entry as an unsigned number.
int CompareWordKeys(const TWord& a, const TWord& b);

// Sorted by word key (text, then the form of the word's entry); one word per key.
class TUniqueWordCollection : public TSortedCollection<TWord> {
 public:
  int Compare(const TWord& a, const TWord& b) const override;

  // The collection that inserting the words one by one would give (for each
  // key the first word met stays), built in n log n instead of n^2 steps.
  static TUniqueWordCollection FromWords(const std::vector<PWord>& words);
};

// A word registry with the semantics of TUniqueWordCollection (one word per
// key, the first one added stays) for the hot loops of compaction: lookups
// and insertions cost O(1), where the sorted array would shift on every
// insertion.
// It refers to words without keeping them alive; words must not change their
// text or entry form while registered.
class TWordRegistry {
 public:
  // A word's key as the table places it: computed once, it serves a
  // Prefetch, the Find after it and the Insert after that.
  struct Key {
    std::uint32_t hash;
    std::int32_t form;
  };
  static Key KeyOf(const TWord& word);

  TWordRegistry();
  ~TWordRegistry();
  // The registered word with the same key, or null.
  TWord* Find(const TWord& word) const { return Find(word, KeyOf(word)); }
  TWord* Find(const TWord& word, Key key) const;
  // Registers the word unless its key is present; returns whether it went in.
  bool Insert(TWord* word) { return Insert(word, KeyOf(*word)); }
  bool Insert(TWord* word, Key key);
  // Asks for the table's part where the key lies, ahead of its Find.
  void Prefetch(Key key) const;
  void Clear();
  std::size_t Count() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vocatrix
