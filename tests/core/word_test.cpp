// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "model/lesson.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::Texts;

PWord W(const std::string& text) { return std::make_shared<TWord>(text); }

TEST(Entry, CreatedWithAWordHoldsItAsHeadWord) {
  auto house = W("house");
  MeaningPtr m = TMeaning::Create(house);
  EXPECT_EQ(m->Form, 4);
  EXPECT_EQ(Texts(m->Synonyms), std::vector<std::string>{"house"});
  EXPECT_EQ(house->Meaning(), m.get());
  EXPECT_EQ(m->HeadWord(0), house);
  EXPECT_EQ(m->HeadWord(1), nullptr);  // no translations
  EXPECT_EQ(m->HeadWord(2), nullptr);
}

TEST(Entry, SetKindTextsTrimsSkipsEmptyLinesAndKeepsOneWordPerText) {
  MeaningPtr m = TMeaning::Create();
  m->SetKindTexts(kSynonyms, {" a ", "", "b", "a", "\t\x01 c\r"});
  EXPECT_EQ(Texts(m->Synonyms), (std::vector<std::string>{"a", "b", "c"}));
  for (const PWord& w : m->Synonyms) EXPECT_EQ(w->Meaning(), m.get());
  // refilling drops the old words from the list
  m->SetKindTexts(kSynonyms, {"z"});
  EXPECT_EQ(m->KindTexts(kSynonyms), std::vector<std::string>{"z"});
}

TEST(Entry, WordListsAreCaseSensitiveAndRefuseEqualTexts) {
  MeaningPtr m = TMeaning::Create();
  auto first = W("Haus");
  auto second = W("Haus");
  m->AddWord(kTranslations, first);
  m->AddWord(kTranslations, second);
  EXPECT_EQ(m->Translations.Count(), 1);
  EXPECT_EQ(m->Translations.At(0), first);
  EXPECT_EQ(second->Meaning(), m.get());  // set even though the list refused it
  m->AddWord(kTranslations, W("haus"));
  EXPECT_EQ(Texts(m->Translations), (std::vector<std::string>{"Haus", "haus"}));
}

TEST(Entry, KindNumbersAndRelationLists) {
  MeaningPtr m = test::MakeEntry(1, {"big", "large"}, {"gro\xDF"}, {"small"}, {"klein"});
  EXPECT_EQ(&m->ListOfKind(kSynonyms), &m->Synonyms);
  EXPECT_EQ(&m->ListOfKind(kTranslations), &m->Translations);
  EXPECT_EQ(&m->ListOfKind(kAntonyms), &m->Antonyms);
  EXPECT_EQ(&m->ListOfKind(kAntonymTranslations), &m->AntonymTranslations);

  struct Row {
    const TWord* word;
    TWordCollection *own, *opposite, *counterpart, *cross;
    int side;
  };
  const Row rows[] = {
      {m->Synonyms.At(1).get(), &m->Synonyms, &m->Antonyms, &m->Translations, &m->AntonymTranslations, 0},
      {m->Antonyms.At(0).get(), &m->Antonyms, &m->Synonyms, &m->AntonymTranslations, &m->Translations, 0},
      {m->Translations.At(0).get(), &m->Translations, &m->AntonymTranslations, &m->Synonyms, &m->Antonyms, 1},
      {m->AntonymTranslations.At(0).get(), &m->AntonymTranslations, &m->Translations, &m->Antonyms, &m->Synonyms, 1},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(OwnList(*r.word), r.own) << r.word->Text();
    EXPECT_EQ(OppositeList(*r.word), r.opposite) << r.word->Text();
    EXPECT_EQ(CounterpartList(*r.word), r.counterpart) << r.word->Text();
    EXPECT_EQ(CrossList(*r.word), r.cross) << r.word->Text();
    EXPECT_EQ(m->SideOf(*r.word), r.side) << r.word->Text();
  }
  // a word its entry does not hold has no relation lists
  auto stray = W("stray");
  stray->SetMeaning(m);
  EXPECT_EQ(OwnList(*stray), nullptr);
  EXPECT_EQ(m->ListOf(*stray), nullptr);
}

TEST(Entry, AddToRelationListsFollowsTheWordsOwnList) {
  MeaningPtr m = test::MakeEntry(4, {}, {"gro\xDF"});
  const PWord gross = m->Translations.At(0);
  AddToCounterpartList(*gross, W("big"));       // -> synonyms
  AddToOwnList(*gross, W("riesig"));            // -> translations
  AddToOppositeList(*gross, W("klein"));        // -> antonym translations
  AddToCrossList(*gross, W("small"));           // -> antonyms
  EXPECT_EQ(Texts(m->Synonyms), std::vector<std::string>{"big"});
  EXPECT_EQ(Texts(m->Translations), (std::vector<std::string>{"gro\xDF", "riesig"}));
  EXPECT_EQ(Texts(m->AntonymTranslations), std::vector<std::string>{"klein"});
  EXPECT_EQ(Texts(m->Antonyms), std::vector<std::string>{"small"});
  EXPECT_EQ(m->Antonyms.At(0)->Meaning(), m.get());
}

TEST(Entry, TextSearchIsByteForByteInDeclarationOrder) {
  MeaningPtr m = test::MakeEntry(4, {"a"}, {"x"}, {"b"}, {"y"});
  EXPECT_EQ(m->HoldsText("a"), 0);
  EXPECT_EQ(m->HoldsText("b"), 1);  // antonyms come second in declaration order
  EXPECT_EQ(m->HoldsText("x"), 2);
  EXPECT_EQ(m->HoldsText("y"), 3);
  EXPECT_EQ(m->HoldsText("A"), -1);
  EXPECT_EQ(TMeaning::IndexOfText(m->Translations, "x"), 0);
  EXPECT_EQ(TMeaning::IndexOfText(m->Translations, "X"), -1);
}

TEST(Entry, MirrorEntrySwapsTheSidesWithoutCopyingWords) {
  MeaningPtr m = test::MakeEntry(2, {"big"}, {"gro\xDF"}, {"small"}, {"klein"});
  const PWord big = m->Synonyms.At(0);
  m->MirrorEntry();
  EXPECT_EQ(Texts(m->Synonyms), std::vector<std::string>{"gro\xDF"});
  EXPECT_EQ(Texts(m->Translations), std::vector<std::string>{"big"});
  EXPECT_EQ(Texts(m->Antonyms), std::vector<std::string>{"klein"});
  EXPECT_EQ(Texts(m->AntonymTranslations), std::vector<std::string>{"small"});
  EXPECT_EQ(m->Translations.At(0), big);
  EXPECT_EQ(m->Form, 2);
  EXPECT_EQ(OwnList(*big), &m->Translations);
}

TEST(Word, KnowledgeStopsAtItsBounds) {
  TWord w("x");
  w.Knowledge[1] = 120;
  w.IncKnowledge(1, 10);
  EXPECT_EQ(w.Knowledge[1], 127);
  w.Knowledge[1] = -125;
  w.DecKnowledge(1, -10);
  EXPECT_EQ(w.Knowledge[1], -128);
  w.Knowledge[2] = 5;
  w.IncKnowledge(2, -3);
  EXPECT_EQ(w.Knowledge[2], 2);
  EXPECT_EQ(w.Knowledge[0], 0);
}

TEST(Word, MeaningNeverDanglesOnceTheEntryIsGone) {
  PWord kept;
  {
    MeaningPtr m = test::MakeEntry(4, {"gone"});
    kept = m->Synonyms.At(0);
    EXPECT_NE(kept->Meaning(), nullptr);
  }
  EXPECT_EQ(kept->Meaning(), nullptr);
  EXPECT_EQ(OwnList(*kept), nullptr);
}

TEST(UniqueWordCollection, OneWordPerTextAndForm) {
  MeaningPtr noun = test::MakeEntry(1, {"bank"});
  MeaningPtr verb = test::MakeEntry(0, {"bank"});
  MeaningPtr noun2 = test::MakeEntry(1, {"bank"});
  TUniqueWordCollection c;
  EXPECT_TRUE(c.Insert(noun->Synonyms.At(0)));
  EXPECT_TRUE(c.Insert(verb->Synonyms.At(0)));
  EXPECT_FALSE(c.Insert(noun2->Synonyms.At(0)));
  ASSERT_EQ(c.Count(), 2);
  EXPECT_EQ(c.At(0)->Meaning(), verb.get());  // form 0 first
  EXPECT_EQ(c.At(1)->Meaning(), noun.get());

  // the bulk build and the registry agree with one-by-one insertion
  const std::vector<PWord> words = {noun->Synonyms.At(0), verb->Synonyms.At(0), noun2->Synonyms.At(0)};
  const TUniqueWordCollection bulk = TUniqueWordCollection::FromWords(words);
  ASSERT_EQ(bulk.Count(), 2);
  EXPECT_EQ(bulk.At(0), c.At(0));
  EXPECT_EQ(bulk.At(1), c.At(1));
  TWordRegistry registry;
  for (const PWord& w : words) registry.Insert(w.get());
  EXPECT_EQ(registry.Count(), 2u);
  EXPECT_EQ(registry.Find(*noun2->Synonyms.At(0)), noun->Synonyms.At(0).get());
  EXPECT_EQ(registry.Find(TWord("Bank")), nullptr);
}

TEST(Language, NewDefinitionsCarryDefaultsAndOwnTheirFonts) {
  auto lesson = TMeanCollection::CreateEmpty();
  TLanguage empty("");
  EXPECT_EQ(empty.Name, "");
  EXPECT_EQ(FontToText(empty.Font), "Arial_clBlack_10_[Bold]");
  EXPECT_EQ(empty.WordForms.Names, (std::vector<std::string>{"v.", "s.", "adj.", "adv.", "other"}));
  EXPECT_EQ(empty.Articles.Names, std::vector<std::string>{"the"});
  lesson->Language1.Font.Size = 20;
  EXPECT_EQ(lesson->Language2.Font.Size, 10);
}

TEST(Lesson, CreateEmptyHoldsOneBlankEntry) {
  auto lesson = TMeanCollection::CreateEmpty();
  EXPECT_FALSE(lesson->Modified);
  EXPECT_EQ(lesson->Language1.Name, "Language 1");
  EXPECT_EQ(lesson->Language2.Name, "Language 2");
  ASSERT_EQ(lesson->EntryCount(), 1);
  const MeaningPtr& m = lesson->At(0);
  EXPECT_EQ(m->Form, 4);
  for (int kind = 0; kind < 4; ++kind) EXPECT_TRUE(m->ListOfKind(kind).Empty());
  EXPECT_NE(dynamic_cast<PMeaning*>(m.get()), nullptr);
}

}  // namespace
}  // namespace vocatrix
