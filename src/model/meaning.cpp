// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/meaning.h"

#include <utility>

namespace vocatrix {

std::string TrimControls(const std::string& text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && static_cast<unsigned char>(text[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(text[e - 1]) <= 32) --e;
  return text.substr(b, e - b);
}

std::shared_ptr<TMeaning> TMeaning::Create(PWord word) {
  std::shared_ptr<TMeaning> m = std::make_shared<PMeaning>();
  if (word) {
    word->SetMeaning(m);
    m->Synonyms.TCollection<TWord>::Insert(word);
  }
  return m;
}

TWordCollection& TMeaning::ListOfKind(int kind) {
  switch (kind) {
    case kSynonyms: return Synonyms;
    case kTranslations: return Translations;
    case kAntonyms: return Antonyms;
    default: return AntonymTranslations;
  }
}

const TWordCollection& TMeaning::ListOfKind(int kind) const {
  return const_cast<TMeaning*>(this)->ListOfKind(kind);
}

void TMeaning::AddWord(int kind, const PWord& word) {
  if (!word) return;
  ListOfKind(kind).Insert(word);
  word->SetMeaning(shared_from_this());
}

std::vector<std::string> TMeaning::KindTexts(int kind) const {
  std::vector<std::string> texts;
  const TWordCollection& list = ListOfKind(kind);
  texts.reserve(static_cast<std::size_t>(list.Count()));
  for (const PWord& w : list) texts.push_back(w->Text());
  return texts;
}

void TMeaning::SetKindTexts(int kind, const std::vector<std::string>& lines) {
  TWordCollection& list = ListOfKind(kind);
  list.DeleteAll();
  const auto self = shared_from_this();
  for (const std::string& line : lines) {
    std::string text = TrimControls(line);
    if (text.empty()) continue;
    auto word = std::make_shared<TWord>(std::move(text));
    word->SetMeaning(self);
    list.Insert(word);
  }
}

PWord TMeaning::HeadWord(int side) const {
  if (side == 0) return Synonyms.Empty() ? nullptr : Synonyms.At(0);
  if (side == 1) return Translations.Empty() ? nullptr : Translations.At(0);
  return nullptr;
}

TWordCollection* TMeaning::ListOf(const TWord& word) {
  for (TWordCollection* list : {&Synonyms, &Antonyms, &Translations, &AntonymTranslations})
    if (list->IndexOfItem(&word) >= 0) return list;
  return nullptr;
}

int TMeaning::SideOf(const TWord& word) {
  const TWordCollection* list = ListOf(word);
  return (list == &Synonyms || list == &Antonyms) ? 0 : 1;
}

int TMeaning::IndexOfText(const TWordCollection& list, const std::string& text) {
  for (int i = 0; i < list.Count(); ++i)
    if (list.At(i)->Text() == text) return i;
  return -1;
}

int TMeaning::HoldsText(const std::string& text) const {
  const TWordCollection* lists[] = {&Synonyms, &Antonyms, &Translations, &AntonymTranslations};
  for (int i = 0; i < 4; ++i)
    if (IndexOfText(*lists[i], text) >= 0) return i;
  return -1;
}

void TMeaning::MirrorEntry() {
  std::swap(Synonyms, Translations);
  std::swap(Antonyms, AntonymTranslations);
}

namespace {

enum class Relation { kOwn, kOpposite, kCounterpart, kCross };

TWordCollection* Related(const TWord& word, Relation relation) {
  TMeaning* m = word.Meaning();
  if (!m) return nullptr;
  TWordCollection* own = m->ListOf(word);
  if (!own) return nullptr;
  // Rows of the relation table: own -> opposite, counterpart, cross.
  TWordCollection* opposite;
  TWordCollection* counterpart;
  TWordCollection* cross;
  if (own == &m->Synonyms) {
    opposite = &m->Antonyms, counterpart = &m->Translations, cross = &m->AntonymTranslations;
  } else if (own == &m->Antonyms) {
    opposite = &m->Synonyms, counterpart = &m->AntonymTranslations, cross = &m->Translations;
  } else if (own == &m->Translations) {
    opposite = &m->AntonymTranslations, counterpart = &m->Synonyms, cross = &m->Antonyms;
  } else {
    opposite = &m->Translations, counterpart = &m->Antonyms, cross = &m->Synonyms;
  }
  switch (relation) {
    case Relation::kOwn: return own;
    case Relation::kOpposite: return opposite;
    case Relation::kCounterpart: return counterpart;
    case Relation::kCross: return cross;
  }
  return nullptr;
}

void AddTo(const TWord& word, const PWord& other, Relation relation) {
  TWordCollection* list = Related(word, relation);
  if (!list || !other) return;
  list->Insert(other);
  other->SetMeaning(word.Meaning());
}

}  // namespace

TWordCollection* OwnList(const TWord& word) { return Related(word, Relation::kOwn); }
TWordCollection* OppositeList(const TWord& word) { return Related(word, Relation::kOpposite); }
TWordCollection* CounterpartList(const TWord& word) { return Related(word, Relation::kCounterpart); }
TWordCollection* CrossList(const TWord& word) { return Related(word, Relation::kCross); }

void AddToOwnList(const TWord& word, const PWord& other) { AddTo(word, other, Relation::kOwn); }
void AddToOppositeList(const TWord& word, const PWord& other) { AddTo(word, other, Relation::kOpposite); }
void AddToCounterpartList(const TWord& word, const PWord& other) { AddTo(word, other, Relation::kCounterpart); }
void AddToCrossList(const TWord& word, const PWord& other) { AddTo(word, other, Relation::kCross); }

}  // namespace vocatrix
