#include "model/word.h"

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

int TUniqueWordCollection::Compare(const TWord& a, const TWord& b) const {
  const int c = CompareWordTexts(a, b);
  if (c != 0) return c;
  const TMeaning* ma = a.Meaning();
  const TMeaning* mb = b.Meaning();
  const int fa = ma ? ma->Form : 0;
  const int fb = mb ? mb->Form : 0;
  return fa - fb;
}

}  // namespace vocatrix
