#pragma once
// The answer pool of the exercise model: a sequence of words with the order
// semantics of a plain collection (append at the end, remove the first
// reference to a word, draw by position), built for the hot loop of Select.
//
// A selection over a full lesson removes and re-appends millions of words,
// so the pool keeps its words by record number: a slot names a record, a
// record holds the word and the chain of slots that refer to it, and a
// Fenwick tree over the slots turns a position into a slot in a logarithm.
// Removing and drawing never touch the word objects themselves, which keeps
// the cache misses of a selection to the words it actually hands out.

#include <cstdint>
#include <vector>

#include "model/word.h"

namespace vocatrix {

class TAnswerPool {
 public:
  TAnswerPool() { Clear(); }

  int Count() const { return live_; }
  bool Empty() const { return live_ == 0; }
  void Clear();

  void Append(const PWord& word);
  // The word at a position among the present ones (EListError outside).
  const PWord& At(int index) const;
  void AtDelete(int index);
  // Removes the first reference to exactly this word; nothing if absent.
  void Remove(const TWord* word);

  // Drawing without looking at the word: Take removes the word at a
  // position and returns its record (and the word's address, to prefetch),
  // Word gives the word of a record, and AppendRecord appends it again.
  // Records stay valid until Clear.
  struct Taken {
    int record;
    const TWord* word;
  };
  Taken Take(int index);
  const PWord& Word(int record) const { return records_[static_cast<std::size_t>(record)].word; }
  void AppendRecord(int record);

 private:
  struct Record {
    PWord word;
    int head = -1;  // first and last slot holding the word
    int tail = -1;
  };
  // One slot: its record (-1 once removed) and its neighbours in the chain
  // of slots of the same record. Unlinking reads only the slot itself and
  // merely writes to the record, so a removal waits for one cache line.
  struct Slot {
    const TWord* word;
    int record;
    int prev;
    int next;
  };
  struct Cell {
    const TWord* word = nullptr;
    int record = -1;
  };

  int SlotOf(int index) const;
  void AddToTree(int slot, int delta);
  void Unlink(int slot);
  void Rebuild();
  int FindRecord(const TWord* word) const;
  int FindOrAddRecord(const PWord& word);
  void PlaceInIndex(const TWord* word, int record);

  std::vector<Slot> slots_;
  std::vector<int> tree_;   // counts of present slots, as a Fenwick tree (1-based)
  std::vector<Record> records_;
  std::vector<Cell> index_;  // open addressing by word address, at most half full
  int live_ = 0;
};

}  // namespace vocatrix
