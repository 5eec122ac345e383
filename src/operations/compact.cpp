// Queries, compacting and mirroring of the lesson document.

#include <unordered_map>

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
// copies belong to `holder` and join the registry.
void MergeList(const TWordCollection& source, TWordCollection& target, const MeaningPtr& holder,
               TWordRegistry& registry) {
  const int n = source.Count();  // source and target may be one list
  for (int i = 0; i < n; ++i) {
    const PWord& s = source.At(i);
    int index;
    if (target.Search(*s, index)) continue;
    auto copy = std::make_shared<TWord>(s->Text());
    copy->SetMeaning(holder);
    target.TCollection<TWord>::Insert(copy);
    registry.Insert(copy.get());
  }
}

// One pass over the entries; returns the entries merged away, in the order
// they were marked.
std::vector<TMeaning*> CompactPass(const TMeaningList& meanings, TWordRegistry& registry) {
  std::vector<TMeaning*> removed;
  const int n = meanings.Count();
  for (int i = 0; i < n; ++i) {
    TMeaning& b = *meanings.At(i);
    TWord* w = nullptr;
    TWord* t = nullptr;
    TWordCollection* wList = nullptr;
    for (TWordCollection* list : {&b.Synonyms, &b.Antonyms, &b.Translations, &b.AntonymTranslations}) {
      for (const PWord& candidate : *list) {
        TWord* twin = registry.Find(*candidate);
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
      for (int k = 0; k < 4; ++k) MergeList(*from.list[k], *into.list[k], a, registry);
      removed.push_back(&b);
    } else {
      for (TWordCollection* list : {&b.Synonyms, &b.Antonyms, &b.Translations, &b.AntonymTranslations})
        for (const PWord& word : *list) registry.Insert(word.get());
    }
  }
  return removed;
}

// Removes the marked entries by identity; an entry marked k times loses its
// first k references, as deleting them one after another would.
void RemoveEntries(TMeaningList& meanings, const std::vector<TMeaning*>& removed) {
  std::unordered_map<const TMeaning*, int> marks;
  for (const TMeaning* m : removed) ++marks[m];
  TMeaningList kept;
  kept.Reserve(static_cast<std::size_t>(meanings.Count()));
  for (const MeaningPtr& m : meanings) {
    auto it = marks.find(m.get());
    if (it != marks.end() && it->second > 0) {
      --it->second;
      continue;
    }
    kept.Insert(m);
  }
  meanings = std::move(kept);
}

}  // namespace

const MeaningPtr& TMeanCollection::At(int index) const {
  if (!Meanings) throw EListError();
  return Meanings->At(index);
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

void TMeanCollection::DblDel() {
  if (!Meanings) return;
  TWordRegistry registry;
  for (;;) {
    const int before = Meanings->Count();
    const std::vector<TMeaning*> removed = CompactPass(*Meanings, registry);
    registry.Clear();
    RemoveEntries(*Meanings, removed);
    if (Meanings->Count() >= before) break;
  }
}

void TMeanCollection::Mirror() {
  std::swap(Language1, Language2);
  if (!Meanings) return;
  for (const MeaningPtr& m : *Meanings) m->MirrorEntry();
}

void TMeanCollection::X() {
  if (Meanings) {
    for (const MeaningPtr& m : *Meanings) {
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
