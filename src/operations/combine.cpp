// SPDX-License-Identifier: GPL-3.0-or-later
#include "operations/combine.h"

#include <utility>
#include <vector>

namespace vocatrix {

namespace {

bool SameName(const std::string& a, const std::string& b) { return a == b; }

// A new document without any entry, ready to be filled.
std::unique_ptr<TMeanCollection> CreateBlank() {
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Meanings->DeleteAll();
  lesson->Modified = true;
  return lesson;
}

void AppendEntries(TMeaningList& target, const TMeanCollection& source) {
  if (!source.Meanings) return;
  target.Reserve(static_cast<std::size_t>(target.Count() + source.Meanings->Count()));
  for (const MeaningPtr& m : *source.Meanings) target.Insert(m);
}

void AppendAll(TWordSequence& out, const TWordCollection& list) {
  for (const PWord& w : list) out.Insert(w);
}

// Calls `visit` with the two lists of the named language, entry by entry.
template <class Visit>
void WalkLanguage(const TMeanCollection& lesson, const std::string& name, Visit visit) {
  if (!lesson.Meanings) return;
  const bool first = SameName(name, lesson.Language1.Name);
  for (const MeaningPtr& m : *lesson.Meanings) {
    if (first) {
      visit(m->Synonyms);
      visit(m->Antonyms);
    } else {
      visit(m->Translations);
      visit(m->AntonymTranslations);
    }
  }
}

// Which language the two lessons share: 1 A2 = B2, 2 A2 = B1, 3 A1 = B2,
// 4 A1 = B1, 0 none. Later checks override earlier ones, so case 1 wins over
// 2, 2 over 3 and 3 over 4.
int SharedLanguageCase(const TMeanCollection& a, const TMeanCollection& b) {
  int shared = 0;
  if (SameName(a.Language1.Name, b.Language1.Name)) shared = 4;
  if (SameName(a.Language1.Name, b.Language2.Name)) shared = 3;
  if (SameName(a.Language2.Name, b.Language1.Name)) shared = 2;
  if (SameName(a.Language2.Name, b.Language2.Name)) shared = 1;
  return shared;
}

// Turns both sources so that the shared language is language 2 of each, and
// turns them back when it goes out of scope (also when the work in between
// fails), applying the same mirrors again.
class Orientation {
 public:
  Orientation(TMeanCollection& a, TMeanCollection& b, int shared) : a_(a), b_(b), case_(shared) { Apply(); }
  ~Orientation() { Apply(); }
  Orientation(const Orientation&) = delete;
  Orientation& operator=(const Orientation&) = delete;

 private:
  void Apply() {
    if (case_ == 3 || case_ == 4) a_.Mirror();
    if (case_ == 2 || case_ == 4) b_.Mirror();
  }
  TMeanCollection& a_;
  TMeanCollection& b_;
  int case_;
};

void CopyNewWordsFrom(TWordCollection& target, const TWordCollection* source, const MeaningPtr& holder) {
  if (source) CopyNewWords(target, *source, holder);
}

}  // namespace

std::unique_ptr<TMeanCollection> ConcatLessons(const TMeanCollection* a, const TMeanCollection* b) {
  if (!a || !b) return nullptr;
  if (!SameName(a->Language1.Name, b->Language1.Name) || !SameName(a->Language2.Name, b->Language2.Name))
    return nullptr;
  auto result = CreateBlank();
  result->Title = a->Title + " + " + b->Title;
  result->Language1.Name = a->Language1.Name;
  result->Language2.Name = a->Language2.Name;
  result->Language1.Font = a->Language1.Font;
  result->Language2.Font = a->Language2.Font;
  AppendEntries(*result->Meanings, *a);
  AppendEntries(*result->Meanings, *b);
  return result;
}

std::unique_ptr<TMeanCollection> SubstituteLanguage(TMeanCollection* a, TMeanCollection* b) {
  if (!a || !b) return nullptr;
  const int shared = SharedLanguageCase(*a, *b);
  if (shared == 0) return nullptr;

  std::unique_ptr<TMeanCollection> result;
  {
    const Orientation orientation(*a, *b, shared);
    // The compaction of the sources is kept after the operation.
    a->DblDel();
    b->DblDel();

    result = CreateBlank();
    result->Title = a->Title;
    result->Topic = a->Topic;
    result->Author = a->Author;
    result->Picture = a->Picture;
    // Language 1 of each source is now its language that is not shared.
    result->Language1.Name = a->Language1.Name;
    result->Language1.Font = a->Language1.Font;
    result->Language2.Name = b->Language1.Name;
    result->Language2.Font = b->Language1.Font;

    const TWordSequence sharedWords = WordsOfLanguage(*a, a->Language2.Name);
    // B's shared words, the first one per word key: what UniqueWordsOfLanguage
    // holds, found by hashing, so no collation key is built (texts collate
    // equal only when identical).
    TWordRegistry dictionary;
    WalkLanguage(*b, b->Language2.Name, [&](const TWordCollection& list) {
      for (const PWord& w : list) dictionary.Insert(w.get());
    });
    for (const PWord& w : sharedWords) {
      const TWord* t = dictionary.Find(*w);
      if (!t) continue;
      const MeaningPtr entry = TMeaning::Create();
      result->Meanings->Insert(entry);
      CopyNewWordsFrom(entry->Synonyms, CounterpartList(*w), entry);
      CopyNewWordsFrom(entry->Antonyms, CrossList(*w), entry);
      CopyNewWordsFrom(entry->Translations, CounterpartList(*t), entry);
      CopyNewWordsFrom(entry->AntonymTranslations, CrossList(*t), entry);
      const TMeaning* holder = w->Meaning();
      entry->Form = holder ? holder->Form : kFormOther;
    }
    // Entries made from different shared words of one source entry, or
    // sharing a word otherwise, merge here.
    result->DblDel();
  }
  return result;
}

TWordSequence WordsOfLanguage(const TMeanCollection& lesson, const std::string& name) {
  TWordSequence words;
  WalkLanguage(lesson, name, [&](const TWordCollection& list) { AppendAll(words, list); });
  return words;
}

TUniqueWordCollection UniqueWordsOfLanguage(const TMeanCollection& lesson, const std::string& name) {
  std::vector<PWord> words;
  WalkLanguage(lesson, name, [&](const TWordCollection& list) { words.insert(words.end(), list.begin(), list.end()); });
  return TUniqueWordCollection::FromWords(words);
}

void CopyNewWords(TWordCollection& target, const TWordCollection& source, const MeaningPtr& holder) {
  for (const PWord& w : source) {
    auto copy = std::make_shared<TWord>(w->Text());
    copy->SetMeaning(holder);
    target.Insert(std::move(copy));
  }
}

TWordSequence CollectWords(const TMeanCollection& lesson, std::uint8_t side, bool firstOnly) {
  TWordSequence words;
  if (!lesson.Meanings || side > 1) return words;
  for (const MeaningPtr& m : *lesson.Meanings) {
    // The head's own list is the first list of its side, the opposite list
    // the other list of the same language.
    const TWordCollection& own = side == 0 ? m->Synonyms : m->Translations;
    const TWordCollection& opposite = side == 0 ? m->Antonyms : m->AntonymTranslations;
    if (own.Empty()) continue;
    if (firstOnly) {
      words.Insert(own.At(0));
      if (!opposite.Empty()) words.Insert(opposite.At(0));
    } else {
      AppendAll(words, own);
      AppendAll(words, opposite);
    }
  }
  return words;
}

std::uint16_t TMeanCollection::AddLesson(std::unique_ptr<TMeanCollection>& other) {
  // Taking over this very lesson would destroy it under our feet.
  if (!other || other.get() == this) return 0;
  if (!SameName(other->Language1.Name, Language1.Name) || !SameName(other->Language2.Name, Language2.Name))
    return 0;
  if (!Meanings) Meanings = std::make_unique<TMeaningList>();
  std::uint16_t taken = 0;
  if (other->Meanings) {
    for (const MeaningPtr& m : *other->Meanings) {
      Meanings->Insert(m);
      ++taken;
    }
    other->Meanings->DeleteAll();
  }
  other.reset();
  return taken;
}

namespace {

// The per-word step of the knowledge hooks: the learning games keep their
// scores elsewhere, so the editor's lessons have nothing to do per word.
void KnowledgeStep(const PWord&) {}

void WalkKnowledge(const TMeanCollection& lesson) {
  for (std::uint8_t side = 0; side <= 1; ++side) {
    const TWordSequence words = CollectWords(lesson, side, false);
    words.ForEach(KnowledgeStep);
  }
}

}  // namespace

void TMeanCollection::AddKnowledge() { WalkKnowledge(*this); }

void TMeanCollection::PutKnowledge() { WalkKnowledge(*this); }

}  // namespace vocatrix
