// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "model/lesson.h"
#include "model/textcompare.h"
#include "operations/combine.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;
using test::Texts;
using Words = std::vector<std::string>;

TEST(Compact, MirroredDuplicateMergesWithoutAddingWords) {
  auto lesson = MakeLesson("English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"Haus"}, {"house"})});
  lesson->DblDel();
  ASSERT_EQ(lesson->EntryCount(), 1);
  EXPECT_EQ(Texts(lesson->At(0)->Synonyms), Words{"house"});
  EXPECT_EQ(Texts(lesson->At(0)->Translations), Words{"Haus"});
  EXPECT_FALSE(lesson->Modified);
}

TEST(Compact, DifferentFormsAndLetterCaseNeverMatch) {
  auto lesson = MakeLesson("a", "b",
                           {MakeEntry(1, {"bank"}), MakeEntry(0, {"bank"}), MakeEntry(4, {"Haus"}), MakeEntry(4, {"haus"})});
  lesson->DblDel();
  EXPECT_EQ(lesson->EntryCount(), 4);
}

TEST(Compact, SecondPassCatchesEntriesLinkedByMergedWords) {
  auto lesson = MakeLesson("a", "b", {MakeEntry(2, {"a"}, {"x"}), MakeEntry(2, {"b"}, {"y"}), MakeEntry(2, {"a", "b"})});
  const MeaningPtr first = lesson->At(0);
  lesson->DblDel();
  ASSERT_EQ(lesson->EntryCount(), 1);
  EXPECT_EQ(lesson->At(0), first);
  EXPECT_EQ(Texts(first->Synonyms), (Words{"a", "b"}));
  EXPECT_EQ(Texts(first->Translations), (Words{"x", "y"}));
  for (int kind = 0; kind < 4; ++kind)
    for (const PWord& w : first->ListOfKind(kind)) EXPECT_EQ(w->Meaning(), first.get());
}

TEST(Compact, MergeFollowsRelativeListsAndAppendsCopies) {
  // entry 2 shares the antonym "small" as a synonym: its lists land relative to that word
  auto lesson = MakeLesson("en", "de",
                           {MakeEntry(2, {"big"}, {"gro\xDF"}, {"small"}, {"klein"}),
                            MakeEntry(2, {"small", "little"}, {"winzig"}, {"huge"}, {"riesig"})});
  lesson->At(1)->Synonyms.At(1)->Remark = "not copied";
  lesson->DblDel();
  ASSERT_EQ(lesson->EntryCount(), 1);
  const MeaningPtr& m = lesson->At(0);
  EXPECT_EQ(Texts(m->Synonyms), (Words{"big", "huge"}));
  EXPECT_EQ(Texts(m->Antonyms), (Words{"small", "little"}));
  EXPECT_EQ(Texts(m->Translations), (Words{"gro\xDF", "riesig"}));
  EXPECT_EQ(Texts(m->AntonymTranslations), (Words{"klein", "winzig"}));
  EXPECT_EQ(m->Antonyms.At(1)->Remark, "");
  EXPECT_EQ(m->Form, 2);
}

TEST(Compact, EmptyEntriesStayAndMissingEntryListIsFine) {
  auto lesson = MakeLesson("a", "b", {TMeaning::Create(), MakeEntry(4, {"a"}), TMeaning::Create(), MakeEntry(4, {"a"})});
  lesson->DblDel();
  EXPECT_EQ(lesson->EntryCount(), 3);
  EXPECT_TRUE(lesson->At(0)->Synonyms.Empty());
  EXPECT_TRUE(lesson->At(2)->Synonyms.Empty());
  lesson->Meanings.reset();
  lesson->DblDel();
  EXPECT_EQ(lesson->Meanings, nullptr);
}

TEST(Compact, LanguageDoesNotMatterOnlyTextAndForm) {
  // a language-2 word equal to another entry's language-1 word joins them
  auto lesson = MakeLesson("a", "b", {MakeEntry(3, {"chat"}, {"Katze"}), MakeEntry(3, {"cat"}, {"chat"})});
  lesson->DblDel();
  ASSERT_EQ(lesson->EntryCount(), 1);
  EXPECT_EQ(Texts(lesson->At(0)->Synonyms), Words{"chat"});
  EXPECT_EQ(Texts(lesson->At(0)->Translations), (Words{"Katze", "cat"}));
}

// Compaction stops once a pass leaves no two entries sharing a word key; a
// second run must then find nothing, whatever chains of merges the lesson
// holds (words drawn from a small vocabulary, two forms, entries listed
// twice).
TEST(Compact, AfterCompactionNothingIsLeftToMerge) {
  std::mt19937 random(7);
  const auto snapshot = [](const TMeanCollection& lesson) {
    std::string s;
    for (const MeaningPtr& m : *lesson.Meanings) {
      s += std::to_string(m->Form) + ":";
      for (int kind = 0; kind < 4; ++kind)
        for (const PWord& w : m->ListOfKind(kind)) s += w->Text() + ",";
      s += "|";
    }
    return s;
  };
  for (int round = 0; round < 200; ++round) {
    const int vocabulary = 4 + round % 40;
    const auto words = [&](int most) {
      Words list;
      for (int n = static_cast<int>(random() % (most + 1)); n > 0; --n) list.push_back("w" + std::to_string(random() % vocabulary));
      return list;
    };
    auto lesson = MakeLesson("a", "b", {});
    for (int e = 0; e < 3 + round % 30; ++e) {
      if (e > 0 && random() % 10 == 0) {
        lesson->Meanings->Insert(lesson->At(static_cast<int>(random() % static_cast<unsigned>(e))));
        continue;
      }
      Words synonyms = words(2), translations = words(2);
      // Texts repeat within an entry's lists only across kinds.
      std::sort(synonyms.begin(), synonyms.end());
      synonyms.erase(std::unique(synonyms.begin(), synonyms.end()), synonyms.end());
      std::sort(translations.begin(), translations.end());
      translations.erase(std::unique(translations.begin(), translations.end()), translations.end());
      lesson->Meanings->Insert(MakeEntry(static_cast<std::uint8_t>(random() % 2), synonyms, translations));
    }
    lesson->DblDel();
    const std::string once = snapshot(*lesson);
    lesson->DblDel();
    ASSERT_EQ(snapshot(*lesson), once) << "round " << round;
  }
}

TEST(Compact, EntryListedTwiceIsNotMergedWithItself) {
  const MeaningPtr shared = MakeEntry(4, {"a"}, {"b"});
  auto lesson = MakeLesson("x", "y", {shared, shared});
  lesson->DblDel();
  EXPECT_EQ(lesson->EntryCount(), 2);
}

TEST(Compact, MergedEntrySurvivesInAnotherLessonThatHoldsIt) {
  const MeaningPtr a = MakeEntry(4, {"w"});
  const MeaningPtr b = MakeEntry(4, {"w"}, {"t"});
  auto other = MakeLesson("x", "y", {b});
  auto lesson = MakeLesson("x", "y", {a, b});
  lesson->DblDel();
  EXPECT_EQ(lesson->EntryCount(), 1);
  EXPECT_EQ(Texts(other->At(0)->Translations), Words{"t"});
}

TEST(Compact, LocaleCollationMatchesLikeCodePoints) {
  std::locale german;
  try {
    german = std::locale("de_DE.UTF-8");
  } catch (const std::exception&) {
    GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
  }
  SetCollationLocale(german);
  auto lesson = MakeLesson("a", "b",
                           {MakeEntry(1, {"\xE4pfel"}, {"apples"}), MakeEntry(1, {"Haus"}), MakeEntry(1, {"x"}, {"\xE4pfel"}),
                            MakeEntry(1, {"haus"})});
  lesson->DblDel();
  SetCollationLocale(std::locale::classic());
  ASSERT_EQ(lesson->EntryCount(), 3);
  EXPECT_EQ(Texts(lesson->At(0)->Synonyms), Words{"\xE4pfel"});
  EXPECT_EQ(Texts(lesson->At(0)->Translations), (Words{"apples", "x"}));
}

TEST(Mirror, TwiceGivesTheLessonBackAndLeavesModifiedAlone) {
  auto lesson = MakeLesson("English", "Deutsch", {MakeEntry(1, {"big"}, {"gro\xDF"}, {"small"}, {"klein"})});
  lesson->Language1.Font.Size = 14;
  lesson->Title = "t";
  lesson->Mirror();
  EXPECT_EQ(lesson->Language1.Name, "Deutsch");
  EXPECT_EQ(lesson->Language2.Font.Size, 14);
  EXPECT_EQ(Texts(lesson->At(0)->Synonyms), Words{"gro\xDF"});
  EXPECT_EQ(Texts(lesson->At(0)->AntonymTranslations), Words{"small"});
  EXPECT_FALSE(lesson->Modified);
  lesson->Mirror();
  EXPECT_EQ(lesson->Language1.Name, "English");
  EXPECT_EQ(Texts(lesson->At(0)->Synonyms), Words{"big"});
  EXPECT_EQ(lesson->Title, "t");

  auto empty = MakeLesson("a", "b", {});
  empty->Mirror();
  EXPECT_EQ(empty->Language1.Name, "b");
  EXPECT_EQ(CountWords(*empty, 2), 0u);
}

// A lesson concatenated with itself lists each entry twice; whole-lesson
// commands still change each entry once.
TEST(Mirror, SelfConcatenationSwapsLanguagesAndWordsTogether) {
  auto source = MakeLesson("English", "Deutsch",
                           {MakeEntry(1, {"house"}, {"Haus"}, {"hut"}, {"H\xFCtte"}), MakeEntry(0, {"go"}, {"gehen"})});
  auto lesson = ConcatLessons(source.get(), source.get());
  lesson->Mirror();
  EXPECT_EQ(lesson->Language1.Name, "Deutsch");
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Texts(lesson->At(i)->Synonyms), Words{i % 2 ? "gehen" : "Haus"}) << i;
    EXPECT_EQ(Texts(lesson->At(i)->Translations), Words{i % 2 ? "go" : "house"}) << i;
  }
  // Read back from its text, it is the source mirrored.
  int error = -1;
  auto back = TMeanCollection::FromLines(lesson->ToLines(), error);
  ASSERT_TRUE(back) << error;
  back->DblDel();
  EXPECT_EQ(back->Language1.Name, "Deutsch");
  EXPECT_EQ(back->Language2.Name, "English");
  ASSERT_EQ(back->EntryCount(), 2);
  EXPECT_EQ(Texts(back->At(0)->Synonyms), Words{"Haus"});
  EXPECT_EQ(Texts(back->At(0)->Antonyms), Words{"H\xFCtte"});
  EXPECT_EQ(Texts(back->At(0)->AntonymTranslations), Words{"hut"});
  EXPECT_EQ(Texts(back->At(1)->Translations), Words{"go"});
}

TEST(Compact, EntryListedTwiceIsVisitedOnceAndMergedAwayEverywhere) {
  // One text in two lists of an entry: the second listing must not find the
  // entry's own word as a twin and merge the entry into itself.
  const MeaningPtr both = MakeEntry(1, {"v"}, {"v", "w"});
  auto lesson = MakeLesson("x", "y", {both, both});
  lesson->DblDel();
  EXPECT_EQ(lesson->EntryCount(), 2);
  EXPECT_EQ(Texts(both->Synonyms), Words{"v"});
  EXPECT_EQ(Texts(both->Translations), (Words{"v", "w"}));
  // An entry merged into another leaves every place it had.
  const MeaningPtr target = MakeEntry(1, {"a"}, {"b"});
  const MeaningPtr merged = MakeEntry(1, {"a"}, {"c"});
  auto twice = MakeLesson("x", "y", {target, merged, MakeEntry(1, {"d"}), merged});
  twice->DblDel();
  ASSERT_EQ(twice->EntryCount(), 2);
  EXPECT_EQ(twice->At(0), target);
  EXPECT_EQ(Texts(target->Translations), (Words{"b", "c"}));
}

TEST(Mirror, WalksMoreThan65535Entries) {
  auto lesson = MakeLesson("a", "b", {});
  for (int i = 0; i < 65540; ++i) lesson->Meanings->Insert(MakeEntry(4, {"w"}));
  lesson->Mirror();
  EXPECT_TRUE(lesson->At(65539)->Synonyms.Empty());
  EXPECT_EQ(Texts(lesson->At(65539)->Translations), Words{"w"});
}

TEST(LessonQueries, CountsSearchesAndSides) {
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(1, {"a", "b"}, {"c"}, {"d"}, {"e", "f"}), MakeEntry(1, {"g"}, {}, {}, {"only here"})});
  EXPECT_EQ(CountWords(*lesson, 0), 4u);
  EXPECT_EQ(CountWords(*lesson, 1), 4u);
  EXPECT_EQ(CountWords(*lesson, 2), 8u);
  EXPECT_EQ(CountWords(*lesson, 3), 0u);
  EXPECT_EQ(lesson->IndexOf("only here"), 1);
  EXPECT_EQ(lesson->IndexOf("Only here"), -1);
  EXPECT_EQ(lesson->IndexOf("d"), 0);
  std::string name = "unchanged";
  lesson->GetSpeachName(2, name);
  EXPECT_EQ(name, "unchanged");
  lesson->GetSpeachName(1, name);
  EXPECT_EQ(name, "Deutsch");
  EXPECT_EQ(&lesson->GetFont(0), &lesson->Language1.Font);
  EXPECT_EQ(&lesson->GetFont(1), &lesson->Language2.Font);
  EXPECT_THROW(lesson->At(2), EListError);
}

TEST(LessonQueries, CountWordsDoesNotWrapAtSixteenBits) {
  auto lesson = MakeLesson("a", "b", {});
  for (int i = 0; i < 65535; ++i) lesson->Meanings->Insert(MakeEntry(4, {"a", "b"}, {"c"}));
  EXPECT_EQ(CountWords(*lesson, 2), 3u * 65535u);
}

TEST(LessonQueries, PlaceholderReplacesLanguageOneWords) {
  auto lesson = MakeLesson("a", "b", {MakeEntry(4, {"a", "b"}, {"c"}, {}, {"d"})});
  lesson->X();
  EXPECT_TRUE(lesson->Modified);
  EXPECT_EQ(Texts(lesson->At(0)->Synonyms), Words{"xxx"});
  EXPECT_TRUE(lesson->At(0)->Antonyms.Empty());
  EXPECT_EQ(Texts(lesson->At(0)->Translations), Words{"c"});
  EXPECT_EQ(lesson->At(0)->Synonyms.At(0)->Meaning(), lesson->At(0).get());
  EXPECT_EQ(lesson->Import(), 0);
  EXPECT_EQ(lesson->Meanings, nullptr);
}

}  // namespace
}  // namespace vocatrix
