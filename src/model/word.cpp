// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/word.h"

#include <algorithm>
#include <string_view>

#include "model/meaning.h"
#include "model/textcompare.h"

namespace vocatrix {

TWord::TWord(std::string text, std::string extra, std::string remark)
    : Extra(std::move(extra)), Remark(std::move(remark)), text_(std::move(text)) {}

void TWord::SetText(std::string text) {
  text_ = std::move(text);
  key_.reset();
}

void TWord::SetMeaning(const std::shared_ptr<TMeaning>& meaning) {
  meaning_ = meaning;
  meaningRaw_ = meaning.get();
}

void TWord::SetMeaning(TMeaning* meaning) {
  if (meaning == nullptr) {
    meaning_.reset();
    meaningRaw_ = nullptr;
  } else {
    SetMeaning(meaning->shared_from_this());
  }
}

void TWord::IncKnowledge(int kind, int delta) {
  const int sum = Knowledge[kind] + delta;
  Knowledge[kind] = static_cast<std::int8_t>(sum > 127 ? 127 : (sum < -128 ? -128 : sum));
}

void TWord::DecKnowledge(int kind, int delta) {
  const int sum = Knowledge[kind] + delta;
  Knowledge[kind] = static_cast<std::int8_t>(sum < -128 ? -128 : (sum > 127 ? 127 : sum));
}

const std::string& TWord::CollationKey() const {
  const unsigned generation = CollationGeneration();
  if (!key_ || key_->generation != generation)
    key_ = std::make_unique<CachedKey>(CachedKey{MakeCollationKey(text_), generation});
  return key_->key;
}

int CompareWordTexts(const TWord& a, const TWord& b) {
  if (a.Text() == b.Text()) return 0;
  if (!CollationUsesLocale()) return CompareCodePoints(a.Text(), b.Text());
  return CompareCollationKeys(a.CollationKey(), b.CollationKey());
}

bool SameWordText(const TWord& a, const TWord& b) { return a.Text() == b.Text(); }

int TWordCollection::Compare(const TWord& a, const TWord& b) const { return CompareWordTexts(a, b); }

namespace {

// Below this many words a linear search costs less than an index.
constexpr std::size_t kIndexedWords = 32;

std::size_t TextHash(const TWord& word) { return std::hash<std::string_view>()(word.Text()); }

}  // namespace

void TWordCollection::TextIndex::Build(const std::vector<PWord>& words) {
  positions_ = std::make_unique<std::unordered_multimap<std::size_t, int>>();
  positions_->reserve(words.size() * 2);
  for (std::size_t i = 0; i < words.size(); ++i) positions_->emplace(TextHash(*words[i]), static_cast<int>(i));
}

void TWordCollection::TextIndex::Add(const TWord& word, int position) {
  if (positions_) positions_->emplace(TextHash(word), position);
}

int TWordCollection::TextIndex::Find(const std::vector<PWord>& words, const TWord& key) const {
  int first = -1;
  const auto [from, to] = positions_->equal_range(TextHash(key));
  for (auto it = from; it != to; ++it)
    if ((first < 0 || it->second < first) && SameWordText(*words[static_cast<std::size_t>(it->second)], key))
      first = it->second;
  return first;
}

bool TWordCollection::Search(const TWord& key, int& index) const {
  if (items_.size() >= kIndexedWords) {
    if (!index_.Built()) index_.Build(items_);
    index = index_.Find(items_, key);
    if (index >= 0) return true;
    index = Count();
    return false;
  }
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (SameWordText(*items_[i], key)) {
      index = static_cast<int>(i);
      return true;
    }
  }
  index = Count();
  return false;
}

bool TWordCollection::Insert(PWord word) {
  int index;
  if (Search(*word, index)) return false;
  items_.push_back(std::move(word));
  Appended();
  return true;
}

void TWordCollection::Appended() { index_.Add(*items_.back(), Count() - 1); }

void TWordCollection::Rearranged() { index_.Drop(); }

namespace {

int FormOf(const TWord& word) {
  const TMeaning* m = word.Meaning();
  return m ? m->Form : 0;
}

}  // namespace

int CompareWordKeys(const TWord& a, const TWord& b) {
  const int c = CompareWordTexts(a, b);
  return c != 0 ? c : FormOf(a) - FormOf(b);
}

int TUniqueWordCollection::Compare(const TWord& a, const TWord& b) const { return CompareWordKeys(a, b); }

TUniqueWordCollection TUniqueWordCollection::FromWords(const std::vector<PWord>& words) {
  // Sorts the texts' keys (or, under code-point order, the texts) beside the
  // forms, so that the n log n comparisons read only those bytes. Keys are
  // distinct for distinct texts, so they compare as CompareWordKeys does.
  struct Sortable {
    std::string_view key;
    int form;
    std::size_t index;
  };
  const bool useLocale = CollationUsesLocale();
  std::vector<Sortable> order;
  order.reserve(words.size());
  for (std::size_t i = 0; i < words.size(); ++i)
    order.push_back({useLocale ? std::string_view(words[i]->CollationKey()) : std::string_view(words[i]->Text()),
                     FormOf(*words[i]), i});
  const auto compareKeys = [useLocale](const Sortable& a, const Sortable& b) {
    const int c = useLocale ? a.key.compare(b.key) : CompareCodePoints(a.key, b.key);
    return c != 0 ? c : a.form - b.form;
  };
  std::sort(order.begin(), order.end(), [&](const Sortable& a, const Sortable& b) {
    const int c = compareKeys(a, b);
    return c != 0 ? c < 0 : a.index < b.index;
  });
  TUniqueWordCollection result;
  result.items_.reserve(order.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    if (i == 0 || compareKeys(order[i - 1], order[i]) != 0) result.items_.push_back(words[order[i].index]);
  return result;
}

struct TWordRegistry::Impl {
  // 16 bytes, so that a large table keeps more of itself in the cache.
  struct Slot {
    TWord* word = nullptr;
    std::uint32_t hash = 0;
    std::int32_t form = 0;
  };

  // Two texts compare equal exactly when their bytes are (the collation
  // breaks its ties by code point), so hashing the text finds the same twin
  // as the ordered search would, without building sort keys. The table is
  // open-addressed so that registering hundreds of thousands of words
  // allocates nothing per word.
  std::vector<Slot> slots;
  std::size_t count = 0;

  static std::uint32_t HashOf(const TWord& word, int form) {
    std::size_t h = std::hash<std::string_view>()(word.Text());
    h ^= static_cast<std::size_t>(form) * 0x9E3779B97F4A7C15ull;
    return static_cast<std::uint32_t>(h ^ (h >> 32));
  }

  // The slot holding the key, or the empty slot where it would go.
  Slot& Probe(const TWord& word, int form, std::uint32_t hash) {
    const std::size_t mask = slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& slot = slots[i];
      if (!slot.word || (slot.hash == hash && slot.form == form && SameWordText(*slot.word, word))) return slot;
    }
  }

  void Grow() {
    std::vector<Slot> old(slots.empty() ? 1024 : slots.size() * 2);
    old.swap(slots);
    for (const Slot& slot : old)
      if (slot.word) Probe(*slot.word, slot.form, slot.hash) = slot;
  }
};

TWordRegistry::TWordRegistry() : impl_(std::make_unique<Impl>()) {}
TWordRegistry::~TWordRegistry() = default;

TWordRegistry::Key TWordRegistry::KeyOf(const TWord& word) {
  const int form = FormOf(word);
  return Key{Impl::HashOf(word, form), form};
}

TWord* TWordRegistry::Find(const TWord& word, Key key) const {
  if (impl_->count == 0) return nullptr;
  return impl_->Probe(word, key.form, key.hash).word;
}

bool TWordRegistry::Insert(TWord* word, Key key) {
  if ((impl_->count + 1) * 2 > impl_->slots.size()) impl_->Grow();
  Impl::Slot& slot = impl_->Probe(*word, key.form, key.hash);
  if (slot.word) return false;
  slot = Impl::Slot{word, key.hash, key.form};
  ++impl_->count;
  return true;
}

void TWordRegistry::Prefetch(Key key) const {
  if (!impl_->slots.empty()) __builtin_prefetch(&impl_->slots[key.hash & (impl_->slots.size() - 1)]);
}

void TWordRegistry::Clear() {
  // Keeps the table's size: the next pass registers about as many words.
  std::fill(impl_->slots.begin(), impl_->slots.end(), Impl::Slot{});
  impl_->count = 0;
}

std::size_t TWordRegistry::Count() const { return impl_->count; }

}  // namespace vocatrix
