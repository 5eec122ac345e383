#include "operations/answerpool.h"

#include <algorithm>
#include <cstdint>

#include "model/exceptions.h"

namespace vocatrix {

namespace {

std::size_t HashOf(const TWord* word, std::size_t mask) {
  return static_cast<std::size_t>((reinterpret_cast<std::uintptr_t>(word) >> 4) * 0x9E3779B97F4A7C15ull >> 20) & mask;
}

}  // namespace

void TAnswerPool::Clear() {
  slots_.clear();
  tree_.assign(1, 0);
  records_.clear();
  index_.assign(64, Cell{});
  live_ = 0;
}

int TAnswerPool::FindRecord(const TWord* word) const {
  const std::size_t mask = index_.size() - 1;
  for (std::size_t i = HashOf(word, mask);; i = (i + 1) & mask) {
    if (index_[i].word == word) return index_[i].record;
    if (index_[i].word == nullptr) return -1;
  }
}

void TAnswerPool::PlaceInIndex(const TWord* word, int record) {
  const std::size_t mask = index_.size() - 1;
  std::size_t i = HashOf(word, mask);
  while (index_[i].word != nullptr) i = (i + 1) & mask;
  index_[i] = Cell{word, record};
}

int TAnswerPool::FindOrAddRecord(const PWord& word) {
  const int found = FindRecord(word.get());
  if (found >= 0) return found;
  if ((records_.size() + 1) * 2 > index_.size()) {
    index_.assign(index_.size() * 2, Cell{});
    for (std::size_t r = 0; r < records_.size(); ++r) PlaceInIndex(records_[r].word.get(), static_cast<int>(r));
  }
  const int record = static_cast<int>(records_.size());
  records_.push_back(Record{word});
  PlaceInIndex(word.get(), record);
  return record;
}

void TAnswerPool::AddToTree(int slot, int delta) {
  const int size = static_cast<int>(tree_.size()) - 1;
  for (int k = slot + 1; k <= size; k += k & -k) tree_[static_cast<std::size_t>(k)] += delta;
}

void TAnswerPool::Append(const PWord& word) { AppendRecord(FindOrAddRecord(word)); }

void TAnswerPool::AppendRecord(int record) {
  // Removed slots are dropped once they outnumber the present ones.
  if (slots_.size() > 2 * static_cast<std::size_t>(live_) + 64) Rebuild();
  const int slot = static_cast<int>(slots_.size());
  Record& r = records_[static_cast<std::size_t>(record)];
  slots_.push_back(Slot{r.word.get(), record, r.tail, -1});
  // Fenwick node k covers the slots (k - lowbit k, k]: the new one and those
  // whose nodes the walk down from k - 1 meets before that bound.
  const int k = slot + 1;
  const int low = k - (k & -k);
  int sum = 1;
  for (int j = k - 1; j > low; j -= j & -j) sum += tree_[static_cast<std::size_t>(j)];
  tree_.push_back(sum);
  if (r.tail >= 0)
    slots_[static_cast<std::size_t>(r.tail)].next = slot;
  else
    r.head = slot;
  r.tail = slot;
  ++live_;
}

int TAnswerPool::SlotOf(int index) const {
  if (index < 0 || index >= live_) throw EListError();
  const int size = static_cast<int>(tree_.size()) - 1;
  int step = 1;
  while (step * 2 <= size) step *= 2;
  int pos = 0;
  int remaining = index + 1;
  for (; step > 0; step /= 2) {
    if (pos + step <= size && tree_[static_cast<std::size_t>(pos + step)] < remaining) {
      pos += step;
      remaining -= tree_[static_cast<std::size_t>(pos)];
    }
  }
  return pos;
}

const PWord& TAnswerPool::At(int index) const { return Word(slots_[static_cast<std::size_t>(SlotOf(index))].record); }

void TAnswerPool::Unlink(int slot) {
  Slot& s = slots_[static_cast<std::size_t>(slot)];
  Record& r = records_[static_cast<std::size_t>(s.record)];
  if (s.prev >= 0)
    slots_[static_cast<std::size_t>(s.prev)].next = s.next;
  else
    r.head = s.next;
  if (s.next >= 0)
    slots_[static_cast<std::size_t>(s.next)].prev = s.prev;
  else
    r.tail = s.prev;
  s.record = -1;
  AddToTree(slot, -1);
  --live_;
}

TAnswerPool::Taken TAnswerPool::Take(int index) {
  const int slot = SlotOf(index);
  const Slot& s = slots_[static_cast<std::size_t>(slot)];
  const Taken taken{s.record, s.word};
  Unlink(slot);
  return taken;
}

void TAnswerPool::AtDelete(int index) { Take(index); }

void TAnswerPool::Remove(const TWord* word) {
  const int record = FindRecord(word);
  if (record >= 0 && records_[static_cast<std::size_t>(record)].head >= 0)
    Unlink(records_[static_cast<std::size_t>(record)].head);
}

void TAnswerPool::Rebuild() {
  std::vector<int> present;
  present.reserve(static_cast<std::size_t>(live_));
  for (const Slot& slot : slots_)
    if (slot.record >= 0) present.push_back(slot.record);
  for (Record& r : records_) r.head = r.tail = -1;
  slots_.clear();
  tree_.assign(1, 0);
  live_ = 0;
  for (const int record : present) AppendRecord(record);
}

}  // namespace vocatrix
