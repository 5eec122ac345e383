#include "model/word.h"

#include <algorithm>
#include <set>
#include <unordered_map>

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

const std::wstring& TWord::CollationKey() const {
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

int TWordCollection::Compare(const TWord& a, const TWord& b) const { return CompareWordTexts(a, b); }

bool TWordCollection::Search(const TWord& key, int& index) const {
  for (std::size_t i = 0; i < items_.size(); ++i) {
    if (Compare(*items_[i], key) == 0) {
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
  return true;
}

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
  std::vector<PWord> sorted(words);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const PWord& a, const PWord& b) { return CompareWordKeys(*a, *b) < 0; });
  TUniqueWordCollection result;
  result.items_.reserve(sorted.size());
  for (PWord& w : sorted)
    if (result.items_.empty() || CompareWordKeys(*result.items_.back(), *w) != 0) result.items_.push_back(std::move(w));
  return result;
}

struct TWordRegistry::Impl {
  struct Key {
    std::string_view text;
    int form;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const {
      return std::hash<std::string_view>()(k.text) * 31u + static_cast<std::size_t>(k.form);
    }
  };
  struct KeyLess {
    bool operator()(const TWord* a, const TWord* b) const { return CompareWordKeys(*a, *b) < 0; }
  };

  // With code-point collation two texts compare equal exactly when their
  // bytes are equal, so a hash of the bytes finds the same twin as the
  // ordered search would.
  bool hashed = !CollationUsesLocale();
  std::unordered_map<Key, TWord*, KeyHash> byBytes;
  std::set<TWord*, KeyLess> byCollation;
};

TWordRegistry::TWordRegistry() : impl_(std::make_unique<Impl>()) {}
TWordRegistry::~TWordRegistry() = default;

TWord* TWordRegistry::Find(const TWord& word) const {
  if (impl_->hashed) {
    const auto it = impl_->byBytes.find(Impl::Key{word.Text(), FormOf(word)});
    return it == impl_->byBytes.end() ? nullptr : it->second;
  }
  const auto it = impl_->byCollation.find(const_cast<TWord*>(&word));
  return it == impl_->byCollation.end() ? nullptr : *it;
}

bool TWordRegistry::Insert(TWord* word) {
  if (impl_->hashed) return impl_->byBytes.emplace(Impl::Key{word->Text(), FormOf(*word)}, word).second;
  return impl_->byCollation.insert(word).second;
}

void TWordRegistry::Clear() {
  impl_->byBytes.clear();
  impl_->byCollation.clear();
  impl_->hashed = !CollationUsesLocale();
}

std::size_t TWordRegistry::Count() const {
  return impl_->hashed ? impl_->byBytes.size() : impl_->byCollation.size();
}

}  // namespace vocatrix
