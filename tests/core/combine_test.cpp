// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "operations/combine.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;
using test::Texts;

// One line per entry: form, then the four lists in kind order.
std::vector<std::string> Dump(const TMeanCollection& lesson) {
  std::vector<std::string> lines;
  if (!lesson.Meanings) return lines;
  for (const MeaningPtr& m : *lesson.Meanings) {
    std::string line = std::to_string(m->Form);
    for (int kind = 0; kind < 4; ++kind) {
      line += " |";
      for (const std::string& t : m->KindTexts(kind)) line += " " + t;
    }
    lines.push_back(line);
  }
  return lines;
}

// ------------------------------------------------------------ concatenation

TEST(Concat, WithItselfListsEveryEntryTwice) {
  auto a = MakeLesson("English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(0, {"go"}, {"gehen"})});
  a->Title = "Basics";
  a->Topic = "t";
  a->Language1.Font.Name = "Courier";
  auto c = ConcatLessons(a.get(), a.get());
  ASSERT_TRUE(c);
  EXPECT_EQ(c->Title, "Basics + Basics");
  EXPECT_EQ(c->Topic, "");
  EXPECT_TRUE(c->Modified);
  EXPECT_EQ(c->LessonFileName, "");
  EXPECT_EQ(c->Language1.Name, "English");
  EXPECT_EQ(c->Language2.Name, "Deutsch");
  EXPECT_EQ(c->Language1.Font.Name, "Courier");
  ASSERT_EQ(c->EntryCount(), 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(c->At(i), a->At(i % 2));
}

TEST(Concat, RefusesDifferentLanguageNamesAndMissingLessons) {
  auto a = MakeLesson("English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"})});
  auto b = MakeLesson("english", "Deutsch", {MakeEntry(1, {"tree"}, {"Baum"})});
  auto c = MakeLesson("English", "deutsch", {MakeEntry(1, {"tree"}, {"Baum"})});
  EXPECT_FALSE(ConcatLessons(a.get(), b.get()));
  EXPECT_FALSE(ConcatLessons(a.get(), c.get()));
  EXPECT_FALSE(ConcatLessons(a.get(), nullptr));
  EXPECT_FALSE(ConcatLessons(nullptr, a.get()));
}

TEST(Concat, EditsThroughTheResultShowInTheSource) {
  auto a = MakeLesson("English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"})});
  auto b = MakeLesson("English", "Deutsch", {MakeEntry(1, {"tree"}, {"Baum"})});
  auto c = ConcatLessons(a.get(), b.get());
  ASSERT_EQ(c->EntryCount(), 2);
  c->At(1)->SetKindTexts(kTranslations, {"Baum", "Gehölz"});
  c->At(0)->Form = 4;
  EXPECT_EQ(Texts(b->At(0)->Translations), (std::vector<std::string>{"Baum", "Gehölz"}));
  EXPECT_EQ(a->At(0)->Form, 4);
}

TEST(Concat, EntriesOutliveWhicheverLessonGoesFirst) {
  // Sources destroyed before the result.
  {
    auto a = MakeLesson("L1", "L2", {MakeEntry(1, {"a"}, {"x"})});
    auto b = MakeLesson("L1", "L2", {MakeEntry(1, {"b"}, {"y"})});
    auto c = ConcatLessons(a.get(), b.get());
    a.reset();
    b.reset();
    EXPECT_EQ(Dump(*c), (std::vector<std::string>{"1 | a | x | |", "1 | b | y | |"}));
    c->DblDel();
    EXPECT_EQ(c->At(0)->Synonyms.At(0)->Meaning(), c->At(0).get());
  }
  // The result destroyed before the sources, also a result of a result.
  {
    auto a = MakeLesson("L1", "L2", {MakeEntry(1, {"a"}, {"x"})});
    auto c = ConcatLessons(a.get(), a.get());
    auto d = ConcatLessons(c.get(), a.get());
    c.reset();
    d->Mirror();
    d.reset();
    EXPECT_EQ(Dump(*a), (std::vector<std::string>{"1 | x | a | |"}));  // mirrored three times
  }
}

// ------------------------------------------------------------- substitution

// The same vocabulary in each of the four orientations: A pairs English and
// German, B French and German; `flipA`/`flipB` exchange their languages.
struct Orientation {
  bool flipA, flipB;
};

std::unique_ptr<TMeanCollection> EnglishGerman(bool flip) {
  auto a = MakeLesson("English", "German",
                      {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"home"}, {"Heim", "Haus"}),
                       MakeEntry(2, {"big"}, {"groß"}, {"small"}, {"klein"}), MakeEntry(0, {"go"}, {"gehen"})});
  a->Title = "A title";
  a->Topic = "A topic";
  a->Author = "A author";
  a->Picture = "a.bmp";
  a->Language1.Font.Name = "Courier";
  if (flip) a->Mirror();
  return a;
}

std::unique_ptr<TMeanCollection> FrenchGerman(bool flip) {
  auto b = MakeLesson("French", "German",
                      {MakeEntry(1, {"maison"}, {"Haus"}), MakeEntry(2, {"grand"}, {"groß"}, {"petit"}, {"klein"}),
                       MakeEntry(1, {"aller"}, {"gehen"})});
  b->Title = "B title";
  b->Language1.Font.Name = "Verdana";
  if (flip) b->Mirror();
  return b;
}

class Substitute : public ::testing::TestWithParam<Orientation> {};

TEST_P(Substitute, JoinsOverTheSharedLanguageInEveryOrientation) {
  const Orientation o = GetParam();
  auto a = EnglishGerman(o.flipA);
  auto b = FrenchGerman(o.flipB);
  const std::string a1 = a->Language1.Name, b1 = b->Language1.Name;
  const std::vector<std::string> bBefore = Dump(*b);

  auto r = SubstituteLanguage(a.get(), b.get());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Language1.Name, "English");
  EXPECT_EQ(r->Language2.Name, "French");
  EXPECT_EQ(r->Language1.Font.Name, "Courier");
  EXPECT_EQ(r->Language2.Font.Name, "Verdana");
  EXPECT_EQ(r->Title, "A title");
  EXPECT_EQ(r->Topic, "A topic");
  EXPECT_EQ(r->Author, "A author");
  EXPECT_EQ(r->Picture, "a.bmp");
  EXPECT_TRUE(r->Modified);
  // house/Haus and home/Heim,Haus share "Haus" (form 1): A's compaction
  // merges them. big/groß meets grand/groß; the entry made from the antonym
  // translation klein/petit repeats it mirrored and merges into it. "gehen"
  // has form 0 in A but 1 in B and gives nothing.
  EXPECT_EQ(Dump(*r), (std::vector<std::string>{"1 | house home | maison | |", "2 | big | grand | small | petit"}));
  // The sources keep their orientation and stay compacted.
  EXPECT_EQ(a->Language1.Name, a1);
  EXPECT_EQ(b->Language1.Name, b1);
  EXPECT_EQ(Dump(*b), bBefore);
  EXPECT_EQ(a->EntryCount(), 3);
}

INSTANTIATE_TEST_SUITE_P(AllCases, Substitute,
                         // Shared language: A2 = B2, A2 = B1, A1 = B2, A1 = B1.
                         ::testing::Values(Orientation{false, false}, Orientation{false, true},
                                           Orientation{true, false}, Orientation{true, true}));

TEST(Substitution, CompactsTheSourcesForGood) {
  auto a = MakeLesson("English", "German", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"home"}, {"Haus"})});
  auto b = MakeLesson("French", "German", {MakeEntry(1, {"maison"}, {"Haus"})});
  ASSERT_TRUE(SubstituteLanguage(a.get(), b.get()));
  EXPECT_EQ(Dump(*a), (std::vector<std::string>{"1 | house home | Haus | |"}));
}

TEST(Substitution, WithItselfGivesLanguage1OnBothSides) {
  auto a = MakeLesson("English", "German",
                      {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"home"}, {"Haus"}), MakeEntry(0, {"go"}, {"gehen"})});
  auto r = SubstituteLanguage(a.get(), a.get());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Language1.Name, "English");
  EXPECT_EQ(r->Language2.Name, "English");
  EXPECT_EQ(Dump(*a), (std::vector<std::string>{"1 | house home | Haus | |", "0 | go | gehen | |"}));
  EXPECT_EQ(Dump(*r), (std::vector<std::string>{"1 | house home | house home | |", "0 | go | go | |"}));
}

TEST(Substitution, FormMismatchAndNoSharedLanguageGiveNothing) {
  auto a = MakeLesson("English", "German", {MakeEntry(0, {"walk"}, {"Gang"})});
  auto b = MakeLesson("French", "German", {MakeEntry(1, {"marche"}, {"Gang"})});
  auto r = SubstituteLanguage(a.get(), b.get());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->EntryCount(), 0);

  auto c = MakeLesson("French", "german", {MakeEntry(1, {"marche"}, {"Gang"}), MakeEntry(1, {"pas"}, {"Gang"})});
  EXPECT_FALSE(SubstituteLanguage(a.get(), c.get()));
  EXPECT_EQ(c->EntryCount(), 2);  // untouched, not even compacted
  EXPECT_FALSE(SubstituteLanguage(nullptr, a.get()));
}

TEST(Substitution, CaseOneWinsWhenSeveralNamesMatch) {
  // A (English, German), B (German, English): A2 = B1 (case 2) and A1 = B2
  // (case 3); case 2 wins, so B is mirrored and the result pairs English
  // with English.
  auto a = MakeLesson("English", "German", {MakeEntry(1, {"house"}, {"Haus"})});
  auto b = MakeLesson("German", "English", {MakeEntry(1, {"Haus"}, {"building"})});
  auto r = SubstituteLanguage(a.get(), b.get());
  ASSERT_TRUE(r);
  EXPECT_EQ(r->Language2.Name, "English");
  EXPECT_EQ(Dump(*r), (std::vector<std::string>{"1 | house | building | |"}));
  EXPECT_EQ(b->Language1.Name, "German");
}

// ------------------------------------------------------------- word walks

TEST(WordWalks, CollectWordsTakesHeadsOwnAndOppositeLists) {
  auto l = MakeLesson("L1", "L2",
                      {MakeEntry(1, {"a", "b"}, {"x"}, {"c"}, {"y", "z"}), MakeEntry(1, {}, {"w"}),
                       MakeEntry(1, {"d"}, {}, {}, {"v"})});
  const auto names = [](const TWordSequence& s) {
    std::vector<std::string> t;
    for (const PWord& w : s) t.push_back(w->Text());
    return t;
  };
  EXPECT_EQ(names(CollectWords(*l, 0, false)), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(names(CollectWords(*l, 0, true)), (std::vector<std::string>{"a", "c", "d"}));
  EXPECT_EQ(names(CollectWords(*l, 1, false)), (std::vector<std::string>{"x", "y", "z", "w"}));
  EXPECT_EQ(names(CollectWords(*l, 1, true)), (std::vector<std::string>{"x", "y", "w"}));
  EXPECT_EQ(CollectWords(*l, 2, false).Count(), 0);
  // Words of a language by name; an unknown name counts as language 2.
  EXPECT_EQ(names(WordsOfLanguage(*l, "L1")), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(names(WordsOfLanguage(*l, "l1")), (std::vector<std::string>{"x", "y", "z", "w", "v"}));
}

TEST(WordWalks, UniqueWordsKeepTheFirstWordPerKey) {
  auto l = MakeLesson("L1", "L2",
                      {MakeEntry(1, {}, {"bank"}), MakeEntry(0, {}, {"bank"}), MakeEntry(1, {}, {"bank", "Bank"})});
  const TUniqueWordCollection unique = UniqueWordsOfLanguage(*l, "L2");
  ASSERT_EQ(unique.Count(), 3);
  int index;
  TWord key("bank");
  auto holder = MakeEntry(1, {});
  key.SetMeaning(holder);
  ASSERT_TRUE(unique.Search(key, index));
  EXPECT_EQ(unique.At(index)->Meaning(), l->At(0).get());
}

TEST(WordWalks, CopyNewWordsCopiesTextsOnceIntoTheHolder) {
  auto source = MakeEntry(1, {"a", "b"});
  source->Synonyms.At(0)->Remark = "r";
  auto target = MakeEntry(1, {"b"});
  CopyNewWords(target->Synonyms, source->Synonyms, target);
  EXPECT_EQ(Texts(target->Synonyms), (std::vector<std::string>{"b", "a"}));
  EXPECT_NE(target->Synonyms.At(1), source->Synonyms.At(0));
  EXPECT_EQ(target->Synonyms.At(1)->Remark, "");
  EXPECT_EQ(target->Synonyms.At(1)->Meaning(), target.get());
}

// ---------------------------------------------------------------- AddLesson

TEST(AddLesson, TakesOverTheEntriesOfALessonOfTheSameLanguages) {
  auto a = MakeLesson("L1", "L2", {MakeEntry(1, {"a"})});
  const auto b = MakeEntry(1, {"b"});
  std::unique_ptr<TMeanCollection> other = MakeLesson("L1", "L2", {b, MakeEntry(1, {"c"})});
  EXPECT_EQ(a->AddLesson(other), 2);
  EXPECT_FALSE(other);
  ASSERT_EQ(a->EntryCount(), 3);
  EXPECT_EQ(a->At(1), b);
  EXPECT_EQ(a->Title, "");
}

TEST(AddLesson, RefusesOtherLanguagesAndItself) {
  auto a = MakeLesson("L1", "L2", {MakeEntry(1, {"a"})});
  std::unique_ptr<TMeanCollection> other = MakeLesson("L1", "l2", {MakeEntry(1, {"b"})});
  EXPECT_EQ(a->AddLesson(other), 0);
  ASSERT_TRUE(other);
  EXPECT_EQ(other->EntryCount(), 1);
  EXPECT_EQ(a->EntryCount(), 1);
  std::unique_ptr<TMeanCollection> none;
  EXPECT_EQ(a->AddLesson(none), 0);
  // A lesson handed to its own AddLesson must survive.
  std::unique_ptr<TMeanCollection> self = std::move(a);
  EXPECT_EQ(self->AddLesson(self), 0);
  ASSERT_TRUE(self);
  EXPECT_EQ(self->EntryCount(), 1);
}

}  // namespace
}  // namespace vocatrix
