// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The answer pool of the exercise model: a sequence of words with the order
// semantics of a plain collection (append at the end, remove the first
// reference to a word, draw by position), built for the hot loop of Select.
//
// The pool holds record numbers, small integers that each stand for one
// word of a word table: its own table (Append of a word gives the word a
// record) or, for a selection, the selection's table (AttachWords, then
// the record operations). A slot names a record; present slots are marked
// in one bit each, 64 to a block, and a Fenwick tree over the blocks' counts
// turns a position into a slot. Tree and bits of a pool of tens of thousands
// of words take a few kilobytes, a draw touches one slot and one record
// beyond them, and no operation touches a word object.

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "model/word.h"
#include "exercise/addressindex.h"

namespace vocatrix {

class TAnswerPool {
 public:
  TAnswerPool() { Clear(); }

  int Count() const { return live_; }
  bool Empty() const { return live_ == 0; }
  // Empties the pool and forgets the records of its own word table.
  void Clear();

  void Append(const PWord& word);
  // The word at a position among the present ones (EListError outside).
  const PWord& At(int index) const;
  void AtDelete(int index);
  // Removes the first reference to exactly this word; nothing if absent.
  void Remove(const TWord* word);

  // Empties the pool and makes record r stand for words[r]; the table must
  // outlive the pool's use and may grow meanwhile.
  void AttachWords(const std::vector<PWord>& words);
  void AppendRecord(int record);
  // Removes the word at a position and returns its record.
  int Take(int index);
  // As Take for each index in turn (each counted among the words left by
  // the takes before it), with the lookups of up to four takes overlapped.
  void TakeMany(const int* indices, int count, int* records);
  // Removes the first slot of the record; nothing if it has none.
  void RemoveRecord(int record);
  int RecordAt(int index) const;
  // The word of a record that has been in the pool.
  const TWord* WordOf(int record) const { return records_[static_cast<std::size_t>(record)].word; }
  // A number the user of the records keeps with each (-1 at first); the
  // selection notes there when it last drew the word.
  int MarkOf(int record) const { return records_[static_cast<std::size_t>(record)].mark; }
  void Mark(int record, int mark) { records_[static_cast<std::size_t>(record)].mark = mark; }
  int Records() const { return static_cast<int>(records_.size()); }

 private:
  void Reset();
  bool Present(int slot) const { return (bits_[static_cast<std::size_t>(slot >> 6)] >> (slot & 63)) & 1u; }
  int SlotOf(int index) const;
  // SlotOf for four distinct indices at once: the four descents are
  // independent and run side by side.
  void SlotsOf(const int* indices, int* slots) const;
  void AddToBlock(int block, int delta) {
    for (int k = block + 1; k <= blocks_; k += k & -k) tree_[static_cast<std::size_t>(k)] += delta;
  }
  // Marks the slot of the record as removed.
  void Unmark(int slot, int record);
  void Rebuild();
  int& FirstOf(int record) {
    if (static_cast<std::size_t>(record) >= records_.size()) AddRecords(record);
    return records_[static_cast<std::size_t>(record)].first;
  }
  void AddRecords(int upTo);
  void AddBlock();
  void SetCapacity(int blocks);
  const std::vector<PWord>& Words() const { return external_ ? *external_ : ownWords_; }
  int FindOrAddRecord(const PWord& word);

  std::vector<int> slots_;           // the record of each slot
  std::vector<std::uint64_t> bits_;  // present slots, one bit each
  // Present slots per block, as a Fenwick tree (1-based) of `capacity_`
  // nodes, a power of two; nodes past the last block hold a count too
  // large to pass, so the descent needs no bound check.
  std::vector<int> tree_;
  int blocks_ = 0;
  int capacity_ = 1;
  int live_ = 0;
  // Per record, in one cache line for a draw: its word, its first present
  // slot or -1, and the user's mark. A word is nearly always in its pool at
  // most once; the few present more than once are counted aside, and only
  // for them the pool looks for the next slot when the first goes.
  struct Record {
    const TWord* word = nullptr;
    int first = -1;
    int mark = -1;
  };
  std::vector<Record> records_;
  std::unordered_map<int, int> extra_;  // present slots beyond the first, by record
  int extraSlots_ = 0;

  const std::vector<PWord>* external_ = nullptr;
  std::vector<PWord> ownWords_;
  static constexpr std::size_t kOwnWordCells = 64;
  TAddressIndex index_{kOwnWordCells};  // records of the own words by address
};

}  // namespace vocatrix
