// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Ordered lists of shared object references.
//
// Ownership: items are held by std::shared_ptr. A collection never destroys
// an item another collection, entry or exercise still refers to; an item is
// reclaimed when the last holder lets go. So entries listed by several
// lessons at once (after a concatenation) stay valid whichever lesson is
// destroyed first.

#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "model/exceptions.h"

namespace vocatrix {

template <class T>
class TCollection {
 public:
  using Item = std::shared_ptr<T>;

  TCollection() = default;
  TCollection(const TCollection&) = default;
  TCollection& operator=(const TCollection&) = default;
  TCollection(TCollection&&) noexcept = default;
  TCollection& operator=(TCollection&&) noexcept = default;
  virtual ~TCollection() = default;

  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }

  const Item& At(int index) const {
    if (index < 0 || index >= Count()) throw EListError();
    return items_[static_cast<std::size_t>(index)];
  }

  // Plain append.
  void Insert(Item item) {
    items_.push_back(std::move(item));
    Appended();
  }

  void AtInsert(int index, Item item) {
    if (index < 0 || index > Count()) throw EListError();
    items_.insert(items_.begin() + index, std::move(item));
    Rearranged();
  }

  void AtDelete(int index) {
    if (index < 0 || index >= Count()) throw EListError();
    items_.erase(items_.begin() + index);
    Rearranged();
  }

  // Removes the first reference to exactly this object.
  void Delete(const T* item) {
    for (auto it = items_.begin(); it != items_.end(); ++it) {
      if (it->get() == item) {
        items_.erase(it);
        Rearranged();
        return;
      }
    }
    throw EListError();
  }

  // Position of exactly this object, or -1.
  int IndexOfItem(const T* item) const {
    for (std::size_t i = 0; i < items_.size(); ++i)
      if (items_[i].get() == item) return static_cast<int>(i);
    return -1;
  }

  // Trades the items for those of `items`; allocates nothing, so it cannot
  // fail (an index of the items is only dropped).
  void SwapItems(std::vector<Item>& items) noexcept {
    items_.swap(items);
    Rearranged();
  }

  void FreeAll() {
    std::vector<Item>().swap(items_);
    Rearranged();
  }
  void DeleteAll() {
    std::vector<Item>().swap(items_);
    Rearranged();
  }

  // Calls the action once for each item present at the start, in index order.
  void ForEach(const std::function<void(const Item&)>& action) const {
    const std::size_t n = items_.size();
    for (std::size_t i = 0; i < n && i < items_.size(); ++i) action(items_[i]);
  }

  Item xFirstThat(const std::function<bool(const Item&)>& test) const {
    for (const Item& item : items_)
      if (test(item)) return item;
    return nullptr;
  }

  void Reserve(std::size_t n) { items_.reserve(n); }

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  const std::vector<Item>& Items() const { return items_; }

 protected:
  // Told of every change made through the operations above, for a subclass
  // that keeps an index of its items: one item appended at the end, or
  // items inserted or removed anywhere.
  virtual void Appended() {}
  virtual void Rearranged() {}

  std::vector<Item> items_;
};

// Keeps its items ordered by Compare and finds them by binary search.
template <class T>
class TSortedCollection : public TCollection<T> {
 public:
  using typename TCollection<T>::Item;
  using TCollection<T>::Count;

  bool Duplicates = false;

  virtual int Compare(const T& key1, const T& key2) const = 0;
  virtual const T& KeyOf(const T& item) const { return item; }

  // Binary search; `index` receives the position of the (first) equal item or
  // the insertion position.
  virtual bool Search(const T& key, int& index) const {
    int lo = 0;
    int hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
      const int mid = (lo + hi) / 2;
      const int c = Compare(KeyOf(*this->items_[static_cast<std::size_t>(mid)]), key);
      if (c < 0) {
        lo = mid + 1;
      } else {
        hi = mid - 1;
        if (c == 0) {
          found = true;
          if (!Duplicates) lo = mid;
        }
      }
    }
    index = lo;
    return found;
  }

  // Ordered insertion; without duplicates an item whose key is present is
  // not inserted. Returns whether the item went in.
  virtual bool Insert(Item item) {
    int index;
    if (!Search(KeyOf(*item), index) || Duplicates) {
      this->AtInsert(index, std::move(item));
      return true;
    }
    return false;
  }

  virtual int IndexOf(const T& item) const {
    int index;
    if (!Search(KeyOf(item), index)) return -1;
    if (!Duplicates) return index;
    for (int i = index; i < Count(); ++i)
      if (this->items_[static_cast<std::size_t>(i)].get() == &item) return i;
    return -1;
  }
};

}  // namespace vocatrix
