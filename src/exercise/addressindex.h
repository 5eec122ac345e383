// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Numbers of objects by their address: open addressing, at most half full.
// The selection numbers a lesson's words and entries with it, an answer pool
// the words appended to it.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vocatrix {

class TAddressIndex {
 public:
  // `cells` is a power of two.
  explicit TAddressIndex(std::size_t cells = 1024) : cells_(cells) {}

  // The key's number, or -1.
  int Find(const void* key) const {
    const std::size_t mask = cells_.size() - 1;
    for (std::size_t i = Slot(key, mask);; i = (i + 1) & mask) {
      if (cells_[i].key == key) return cells_[i].value;
      if (cells_[i].key == nullptr) return -1;
    }
  }
  // The key's number, or `value` after giving it that number: one probe
  // for both.
  int FindOrAdd(const void* key, int value) {
    if ((used_ + 1) * 2 > cells_.size()) Grow();
    const std::size_t mask = cells_.size() - 1;
    std::size_t i = Slot(key, mask);
    for (; cells_[i].key != nullptr; i = (i + 1) & mask)
      if (cells_[i].key == key) return cells_[i].value;
    cells_[i] = Cell{key, value};
    ++used_;
    return value;
  }
  // Asks for the key's cell ahead of its FindOrAdd.
  void Prefetch(const void* key) const { __builtin_prefetch(&cells_[Slot(key, cells_.size() - 1)]); }
  // Room for about `count` keys without growing on the way.
  void Reserve(std::size_t count) {
    std::size_t size = cells_.size();
    while (size < 2 * count) size *= 2;
    if (size == cells_.size()) return;
    std::vector<Cell> old(size);
    old.swap(cells_);
    for (const Cell& c : old)
      if (c.key) Place(c);
  }
  // Forgets every key, down to `cells` cells.
  void Clear(std::size_t cells) {
    cells_.assign(cells, Cell{});
    used_ = 0;
  }

 private:
  struct Cell {
    const void* key = nullptr;
    int value = -1;
  };
  // Objects made one after the other lie one after the other in memory; a
  // hash that keeps neighbours near each other lets a walk over a lesson's
  // words probe the table in order instead of all over it.
  static std::size_t Slot(const void* key, std::size_t mask) {
    const std::uintptr_t a = reinterpret_cast<std::uintptr_t>(key);
    return static_cast<std::size_t>((a >> 4) ^ (a >> 28)) & mask;
  }
  void Grow() { Reserve(cells_.size()); }
  void Place(const Cell& cell) {
    const std::size_t mask = cells_.size() - 1;
    std::size_t i = Slot(cell.key, mask);
    while (cells_[i].key != nullptr) i = (i + 1) & mask;
    cells_[i] = cell;
  }

  std::vector<Cell> cells_;
  std::size_t used_ = 0;
};

}  // namespace vocatrix
