// SPDX-License-Identifier: GPL-3.0-or-later
#include "exercise/answerpool.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "model/exceptions.h"

namespace vocatrix {

namespace {

// kSelectInByte[b][k]: the place of the k-th set bit of the byte b.
constexpr std::array<std::array<std::uint8_t, 8>, 256> MakeSelectTable() {
  std::array<std::array<std::uint8_t, 8>, 256> table{};
  for (int b = 0; b < 256; ++b) {
    int k = 0;
    for (int bit = 0; bit < 8; ++bit)
      if (b & (1 << bit)) table[static_cast<std::size_t>(b)][static_cast<std::size_t>(k++)] = static_cast<std::uint8_t>(bit);
  }
  return table;
}
constexpr auto kSelectInByte = MakeSelectTable();

// The place of the k-th set bit (from 0) of a word that has more than k,
// without branches and without the population-count instruction, which the
// baseline x86-64 target lacks.
[[gnu::always_inline]] inline int SelectBit(std::uint64_t x, int k) {
  constexpr std::uint64_t kOnes = 0x0101010101010101ull;
  constexpr std::uint64_t kHighs = 0x8080808080808080ull;
  std::uint64_t s = x - ((x >> 1) & 0x5555555555555555ull);
  s = (s & 0x3333333333333333ull) + ((s >> 2) & 0x3333333333333333ull);
  s = (s + (s >> 4)) & 0x0F0F0F0F0F0F0F0Full;
  const std::uint64_t running = s * kOnes;  // byte i: set bits in bytes 0 to i
  // Bytes whose running count is at most k lie wholly before the bit; no
  // byte of the subtraction borrows, since k < 64 and counts are <= 64.
  const std::uint64_t before = ((static_cast<std::uint64_t>(k) * kOnes | kHighs) - running) & kHighs;
  const int byte = static_cast<int>(((before >> 7) * kOnes) >> 56);
  const int skipped = static_cast<int>(((running << 8) >> (8 * byte)) & 0xFF);
  const int bits = static_cast<int>((x >> (8 * byte)) & 0xFF);
  return 8 * byte + kSelectInByte[static_cast<std::size_t>(bits)][static_cast<std::size_t>(k - skipped)];
}

// The node value of a Fenwick node past the last block: more than any index.
constexpr int kNoBlock = 1 << 30;

// One step down the Fenwick tree: past the node when its count is at most
// what remains. Written with a mask, as the compiler otherwise branches on
// the comparison, and half of those branches go the unexpected way.
[[gnu::always_inline]] inline void Descend(const int* tree, int& pos, int& remaining, int step) {
  const int count = tree[pos + step];
  const int ahead = (remaining - count) >> 31 ^ -1;  // all ones when count <= remaining
  pos += step & ahead;
  remaining -= count & ahead;
}

}  // namespace

void TAnswerPool::SetCapacity(int blocks) {
  capacity_ = 1;
  while (capacity_ < blocks) capacity_ *= 2;
  tree_.resize(static_cast<std::size_t>(capacity_) + 1, kNoBlock);
}

void TAnswerPool::Reset() {
  extra_.clear();
  extraSlots_ = 0;
  slots_.clear();
  bits_.clear();
  tree_.clear();
  blocks_ = 0;
  SetCapacity(1);
  live_ = 0;
}

void TAnswerPool::Clear() {
  Reset();
  records_.clear();
  external_ = nullptr;
  ownWords_.clear();
  index_.Clear(kOwnWordCells);
}

void TAnswerPool::AttachWords(const std::vector<PWord>& words) {
  Clear();
  external_ = &words;
  records_.resize(words.size());
  for (std::size_t r = 0; r < words.size(); ++r) records_[r].word = words[r].get();
}

void TAnswerPool::AddRecords(int upTo) {
  // Records of words the table gained since the pool was attached.
  const std::size_t from = records_.size();
  records_.resize(static_cast<std::size_t>(upTo) + 1);
  for (std::size_t r = from; r < records_.size(); ++r) records_[r].word = Words()[r].get();
}

int TAnswerPool::FindOrAddRecord(const PWord& word) {
  const int record = index_.FindOrAdd(word.get(), static_cast<int>(ownWords_.size()));
  if (record == static_cast<int>(ownWords_.size())) ownWords_.push_back(word);
  return record;
}

void TAnswerPool::Append(const PWord& word) { AppendRecord(FindOrAddRecord(word)); }

void TAnswerPool::AddBlock() {
  // Fenwick node k covers the blocks (k - lowbit k, k]: the new one (still
  // empty) and those whose nodes the walk down from k - 1 meets before that
  // bound.
  bits_.push_back(0);
  const int k = ++blocks_;
  if (k > capacity_) SetCapacity(k);
  const int low = k - (k & -k);
  int sum = 0;
  for (int j = k - 1; j > low; j -= j & -j) sum += tree_[static_cast<std::size_t>(j)];
  tree_[static_cast<std::size_t>(k)] = sum;
}

void TAnswerPool::AppendRecord(int record) {
  // Removed slots are dropped once they outnumber the present ones: often
  // enough to keep tree and slots small, seldom enough to cost about one
  // slot move per append.
  if (slots_.size() > 3 * static_cast<std::size_t>(live_) + 256) Rebuild();
  int& first = FirstOf(record);
  const int slot = static_cast<int>(slots_.size());
  slots_.push_back(record);
  if ((slot & 63) == 0) AddBlock();
  bits_[static_cast<std::size_t>(slot >> 6)] |= std::uint64_t{1} << (slot & 63);
  AddToBlock(slot >> 6, 1);
  if (first < 0) {
    first = slot;
  } else {
    ++extra_[record];
    ++extraSlots_;
  }
  ++live_;
}

int TAnswerPool::SlotOf(int index) const {
  if (index < 0 || index >= live_) throw EListError();
  const int* tree = tree_.data();
  int pos = 0;
  int remaining = index;
  for (int step = capacity_; step > 0; step >>= 1) Descend(tree, pos, remaining, step);
  return pos * 64 + SelectBit(bits_[static_cast<std::size_t>(pos)], remaining);
}

void TAnswerPool::SlotsOf(const int* indices, int* slots) const {
  // Four lanes in plain variables, so that they stay in registers.
  const int* tree = tree_.data();
  int pos0 = 0, pos1 = 0, pos2 = 0, pos3 = 0;
  int rem0 = indices[0], rem1 = indices[1], rem2 = indices[2], rem3 = indices[3];
  for (int step = capacity_; step > 0; step >>= 1) {
    Descend(tree, pos0, rem0, step);
    Descend(tree, pos1, rem1, step);
    Descend(tree, pos2, rem2, step);
    Descend(tree, pos3, rem3, step);
  }
  slots[0] = pos0 * 64 + SelectBit(bits_[static_cast<std::size_t>(pos0)], rem0);
  slots[1] = pos1 * 64 + SelectBit(bits_[static_cast<std::size_t>(pos1)], rem1);
  slots[2] = pos2 * 64 + SelectBit(bits_[static_cast<std::size_t>(pos2)], rem2);
  slots[3] = pos3 * 64 + SelectBit(bits_[static_cast<std::size_t>(pos3)], rem3);
}

void TAnswerPool::TakeMany(const int* indices, int count, int* records) {
  while (count > 0) {
    const int n = count < 4 ? count : 4;
    // Each index counts the words left by the takes before it; as a
    // position among the words present now it passes every earlier taken
    // position at or below it, which a walk over them in ascending order
    // finds at once.
    int positions[4] = {0, 0, 0, 0};
    int ascending[4];
    for (int t = 0; t < n; ++t) {
      if (indices[t] < 0 || indices[t] >= live_ - t) throw EListError();
      int position = indices[t];
      for (int u = 0; u < t; ++u) position += ascending[u] <= position;
      positions[t] = position;
      // Into the ascending list, by minimum and maximum rather than branches.
      for (int u = 0; u < t; ++u) {
        const int low = std::min(ascending[u], position);
        position = std::max(ascending[u], position);
        ascending[u] = low;
      }
      ascending[t] = position;
    }
    int slots[4];
    SlotsOf(positions, slots);
    for (int t = 0; t < n; ++t) records[t] = slots_[static_cast<std::size_t>(slots[t])];
    for (int t = 0; t < n; ++t) Unmark(slots[t], records[t]);
    indices += n;
    records += n;
    count -= n;
  }
}

int TAnswerPool::RecordAt(int index) const { return slots_[static_cast<std::size_t>(SlotOf(index))]; }

const PWord& TAnswerPool::At(int index) const { return Words()[static_cast<std::size_t>(RecordAt(index))]; }

void TAnswerPool::Unmark(int slot, int record) {
  bits_[static_cast<std::size_t>(slot >> 6)] &= ~(std::uint64_t{1} << (slot & 63));
  AddToBlock(slot >> 6, -1);
  --live_;
  int& first = records_[static_cast<std::size_t>(record)].first;
  const auto extra = extraSlots_ == 0 ? extra_.end() : extra_.find(record);
  if (extra == extra_.end()) {
    first = -1;
    return;
  }
  --extraSlots_;
  if (--extra->second == 0) extra_.erase(extra);
  if (first == slot) {
    // The word is in the pool more than once: find its next slot.
    int next = slot + 1;
    while (slots_[static_cast<std::size_t>(next)] != record || !Present(next)) ++next;
    first = next;
  }
}

int TAnswerPool::Take(int index) {
  const int slot = SlotOf(index);
  const int record = slots_[static_cast<std::size_t>(slot)];
  Unmark(slot, record);
  return record;
}

void TAnswerPool::AtDelete(int index) { Take(index); }

void TAnswerPool::RemoveRecord(int record) {
  if (record < 0 || static_cast<std::size_t>(record) >= records_.size()) return;
  const int first = records_[static_cast<std::size_t>(record)].first;
  if (first >= 0) Unmark(first, record);
}

void TAnswerPool::Remove(const TWord* word) { RemoveRecord(index_.Find(word)); }

void TAnswerPool::Rebuild() {
  // The present slots move to the front in their order.
  std::size_t kept = 0;
  for (std::size_t s = 0; s < slots_.size(); ++s) {
    if (!Present(static_cast<int>(s))) continue;
    int& first = records_[static_cast<std::size_t>(slots_[s])].first;
    if (first >= 0) first = -2 - static_cast<int>(kept);  // moved, not yet final
    slots_[kept++] = slots_[s];
  }
  slots_.resize(kept);
  for (const int record : slots_) {
    int& first = records_[static_cast<std::size_t>(record)].first;
    if (first <= -2) first = -2 - first;
  }
  const std::size_t blocks = (kept + 63) / 64;
  bits_.assign(blocks, ~std::uint64_t{0});
  if (kept % 64 != 0) bits_.back() = (std::uint64_t{1} << (kept % 64)) - 1;
  // Fenwick tree in linear time: every node passes its sum to its parent.
  blocks_ = static_cast<int>(blocks);
  tree_.clear();
  SetCapacity(std::max(blocks_, 1));
  std::fill(tree_.begin(), tree_.begin() + static_cast<std::ptrdiff_t>(blocks) + 1, 0);
  for (std::size_t k = 1; k <= blocks; ++k) {
    tree_[k] += static_cast<int>(k < blocks || kept % 64 == 0 ? 64 : kept % 64);
    const std::size_t parent = k + (k & (~k + 1));
    if (parent <= blocks) tree_[parent] += tree_[k];
  }
}

}  // namespace vocatrix
