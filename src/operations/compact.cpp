// SPDX-License-Identifier: GPL-3.0-or-later
// Queries, compacting and mirroring of the lesson document.

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "model/lesson.h"

namespace vocatrix {
namespace {

// The four lists of `entry` related to `own` (one of its lists), in the
// order own, opposite, counterpart, cross.
struct RelatedLists {
  TWordCollection* list[4];
};

RelatedLists RelativeTo(TMeaning& entry, const TWordCollection* own) {
  if (own == &entry.Synonyms)
    return {{&entry.Synonyms, &entry.Antonyms, &entry.Translations, &entry.AntonymTranslations}};
  if (own == &entry.Antonyms)
    return {{&entry.Antonyms, &entry.Synonyms, &entry.AntonymTranslations, &entry.Translations}};
  if (own == &entry.Translations)
    return {{&entry.Translations, &entry.AntonymTranslations, &entry.Synonyms, &entry.Antonyms}};
  return {{&entry.AntonymTranslations, &entry.Translations, &entry.Antonyms, &entry.Synonyms}};
}

// Appends copies of the source words whose text the target lacks; the
// copies belong to `holder` and join the registry. False when a copy's key
// was registered already.
bool MergeList(const TWordCollection& source, TWordCollection& target, const MeaningPtr& holder,
               TWordRegistry& registry) {
  bool own = true;
  const int n = source.Count();  // source and target may be one list
  for (int i = 0; i < n; ++i) {
    const PWord& s = source.At(i);
    int index;
    if (target.Search(*s, index)) continue;
    auto copy = std::make_shared<TWord>(s->Text());
    copy->SetMeaning(holder);
    target.TCollection<TWord>::Insert(copy);
    if (!registry.Insert(copy.get())) own = false;
  }
  return own;
}

// The registry keys of one entry's words in list order, with the words they
// belong to. They are worked out an entry ahead, which also asks for the
// registry's slots early: each lookup in the large table would otherwise
// wait for memory.
class KeysAhead {
 public:
  void Compute(const TMeaning& entry, const TWordRegistry& registry) {
    words_.clear();
    keys_.clear();
    for (const TWordCollection* list : {&entry.Synonyms, &entry.Antonyms, &entry.Translations, &entry.AntonymTranslations})
      for (const PWord& w : *list) {
        words_.push_back(w.get());
        keys_.push_back(TWordRegistry::KeyOf(*w));
        registry.Prefetch(keys_.back());
      }
  }
  // The key of the entry's n-th word; worked out anew should the lists have
  // changed since.
  TWordRegistry::Key Of(std::size_t n, const TWord& word) const {
    return n < words_.size() && words_[n] == &word ? keys_[n] : TWordRegistry::KeyOf(word);
  }

 private:
  std::vector<const TWord*> words_;
  std::vector<TWordRegistry::Key> keys_;
};

// One pass over the entries; returns the entries merged away, in the order
// they were marked. `settled` tells whether every word the pass registered
// took a key of its own: then the entries left share no key, and a further
// pass would find nothing to merge.
// An entry listed more than once is visited at its first place only: its
// words are its own twins, not another entry's. Words in `keepApart` (those
// that lost characters on import) take part in no merge.
std::vector<TMeaning*> CompactPass(const std::vector<MeaningPtr>& meanings, TWordRegistry& registry, bool& settled,
                                   const std::unordered_set<const TWord*>& keepApart) {
  settled = true;
  std::vector<TMeaning*> removed;
  const std::size_t n = meanings.size();
  KeysAhead ahead[2];
  if (n > 0) ahead[0].Compute(*meanings[0], registry);
  for (std::size_t i = 0; i < n; ++i) {
    TMeaning& b = *meanings[i];
    const KeysAhead& keys = ahead[i % 2];
    if (i + 1 < n) ahead[(i + 1) % 2].Compute(*meanings[i + 1], registry);
    TWord* w = nullptr;
    TWord* t = nullptr;
    TWordCollection* wList = nullptr;
    std::size_t at = 0;
    for (TWordCollection* list : {&b.Synonyms, &b.Antonyms, &b.Translations, &b.AntonymTranslations}) {
      for (const PWord& candidate : *list) {
        const TWordRegistry::Key key = keys.Of(at++, *candidate);
        if (!keepApart.empty() && keepApart.contains(candidate.get())) continue;
        TWord* twin = registry.Find(*candidate, key);
        if (twin != nullptr && twin != candidate.get()) {
          w = candidate.get();
          t = twin;
          wList = list;
          break;
        }
      }
      if (w) break;
    }
    MeaningPtr a = t ? t->MeaningShared() : nullptr;
    TWordCollection* tList = a ? a->ListOf(*t) : nullptr;
    if (tList) {
      const RelatedLists from = RelativeTo(b, wList);
      const RelatedLists into = RelativeTo(*a, tList);
      for (int k = 0; k < 4; ++k)
        if (!MergeList(*from.list[k], *into.list[k], a, registry)) settled = false;
      removed.push_back(&b);
    } else {
      at = 0;
      for (TWordCollection* list : {&b.Synonyms, &b.Antonyms, &b.Translations, &b.AntonymTranslations})
        for (const PWord& word : *list) {
          const TWordRegistry::Key key = keys.Of(at++, *word);
          if (!keepApart.empty() && keepApart.contains(word.get())) continue;
          if (!registry.Insert(word.get(), key)) settled = false;
        }
    }
  }
  return removed;
}

// Removes every place of the marked entries: an entry merged into another
// leaves the lesson wherever it was listed.
void RemoveEntries(TMeaningList& meanings, std::vector<TMeaning*> removed) {
  if (removed.empty()) return;
  std::sort(removed.begin(), removed.end());
  TMeaningList kept;
  kept.Reserve(static_cast<std::size_t>(meanings.Count()));
  for (const MeaningPtr& m : meanings)
    if (!std::binary_search(removed.begin(), removed.end(), m.get())) kept.Insert(m);
  meanings = std::move(kept);
}

}  // namespace

const MeaningPtr& TMeanCollection::At(int index) const {
  if (!Meanings) throw EListError();
  return Meanings->At(index);
}

std::vector<MeaningPtr> TMeanCollection::DistinctEntries() const {
  if (!Meanings) return {};
  std::vector<MeaningPtr> distinct = Meanings->Items();
  // By address first, to see whether any entry is listed twice at all.
  std::vector<const TMeaning*> sorted;
  sorted.reserve(distinct.size());
  for (const MeaningPtr& m : distinct) sorted.push_back(m.get());
  std::sort(sorted.begin(), sorted.end());
  if (std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end()) return distinct;
  std::unordered_set<const TMeaning*> seen(distinct.size());
  distinct.erase(std::remove_if(distinct.begin(), distinct.end(),
                                [&seen](const MeaningPtr& m) { return !seen.insert(m.get()).second; }),
                 distinct.end());
  return distinct;
}

int TMeanCollection::IndexOf(const std::string& text) const {
  if (!Meanings) return -1;
  for (int i = 0; i < Meanings->Count(); ++i)
    if (Meanings->At(i)->HoldsText(text) != -1) return i;
  return -1;
}

void TMeanCollection::GetSpeachName(std::uint8_t side, std::string& name) const {
  if (side == 0) name = Language1.Name;
  else if (side == 1) name = Language2.Name;
}

const TFont& TMeanCollection::GetFont(std::uint8_t side) const {
  return side == 0 ? Language1.Font : Language2.Font;
}

std::uint32_t CountWords(const TMeanCollection& lesson, std::uint8_t mode) {
  if (!lesson.Meanings || mode > 2) return 0;
  std::uint32_t count = 0;
  for (const MeaningPtr& m : *lesson.Meanings) {
    if (mode != 1) count += static_cast<std::uint32_t>(m->Synonyms.Count() + m->Antonyms.Count());
    if (mode != 0) count += static_cast<std::uint32_t>(m->Translations.Count() + m->AntonymTranslations.Count());
  }
  return count;
}

void TMeanCollection::DblDel() { DblDel({}); }

void TMeanCollection::DblDel(const std::unordered_set<const TWord*>& keepApart) {
  if (!Meanings) return;
  TWordRegistry registry;
  for (;;) {
    const int before = Meanings->Count();
    bool settled = false;
    const std::vector<TMeaning*> removed = CompactPass(DistinctEntries(), registry, settled, keepApart);
    registry.Clear();
    RemoveEntries(*Meanings, removed);
    // Passes go on while they merge; a pass that left every word with a key
    // of its own is known to be the last without running the next.
    if (Meanings->Count() >= before || settled) break;
  }
}

void TMeanCollection::Mirror() {
  // Mirroring an entry listed twice twice would give it back unmirrored
  // under exchanged languages. (Listed first: nothing changes should it fail.)
  const std::vector<MeaningPtr> entries = DistinctEntries();
  std::swap(Language1, Language2);
  for (const MeaningPtr& m : entries) m->MirrorEntry();
}

void TMeanCollection::X() {
  if (Meanings) {
    for (const MeaningPtr& m : DistinctEntries()) {
      for (TWordCollection* list : {&m->Synonyms, &m->Antonyms}) {
        if (list->Empty()) continue;
        list->DeleteAll();
        auto word = std::make_shared<TWord>("xxx");
        word->SetMeaning(m);
        list->Insert(word);
      }
    }
  }
  Modified = true;
}

// Hooks of the lesson document that nothing in the editor calls.
void TMeanCollection::InitDate() {}
bool TMeanCollection::SameDate() const { return false; }
void TMeanCollection::Xport() {}

int TMeanCollection::Import() {
  Meanings.reset();
  return 0;
}

}  // namespace vocatrix
