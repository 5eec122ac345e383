// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

#include "exercise/exercise.h"
#include "base/random.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::Texts;

std::unique_ptr<TLesson> MakeTLesson(const std::vector<MeaningPtr>& entries) {
  auto lesson = std::make_unique<TLesson>();
  lesson->Language1 = TLanguage("English");
  lesson->Language2 = TLanguage("Deutsch");
  lesson->Language2.Font.Name = "Times";
  lesson->Meanings = std::make_unique<TMeaningList>();
  for (const MeaningPtr& m : entries) lesson->Meanings->Insert(m);
  return lesson;
}

std::vector<std::string> Texts(const TCollection<TWord>& words) {
  std::vector<std::string> texts;
  for (const PWord& w : words) texts.push_back(w->Text());
  return texts;
}

// A problem built by hand around an entry, for the answer operations.
ProblemPtr ProblemFor(const MeaningPtr& entry, int alternatives = 5) {
  auto p = std::make_shared<TProblem>();
  p->Question = entry->Synonyms.At(0);
  p->Solution = entry->Translations.At(0);
  p->ProblemType = kTranslationProblem;
  p->Alternatives.Insert(p->Solution);
  for (int i = 1; i < alternatives; ++i) p->Alternatives.Insert(std::make_shared<TWord>("alt" + std::to_string(i)));
  return p;
}

std::string Describe(const TProbCollection& problems) {
  std::string out;
  for (const ProblemPtr& p : problems) {
    out += std::to_string(p->ProblemType) + ":" + p->Question->Text() + ">" + p->Solution->Text() + "[";
    for (const PWord& w : p->Alternatives) out += w->Text() + ",";
    out += "] ";
  }
  return out;
}

// ------------------------------------------------------------- selection

TEST(Select, TranslationProblemTakesTheFirstTranslationAndNoOwnListAlternative) {
  SeedRandom(1);
  auto lesson = MakeTLesson({MakeEntry(1, {"house"}, {"Haus", "Gebäude"})});
  const auto problems = lesson->Select(kAskLanguage1);
  ASSERT_EQ(problems->Count(), 1);
  const TProblem& p = *problems->At(0);
  EXPECT_EQ(p.ProblemType, kTranslationProblem);
  EXPECT_EQ(p.Question->Text(), "house");
  EXPECT_EQ(p.Solution->Text(), "Haus");
  EXPECT_EQ(Texts(p.Alternatives), std::vector<std::string>{"Haus"});
  EXPECT_EQ(p.Lesson, lesson.get());
  EXPECT_EQ(p.Attempts, 1);
  EXPECT_EQ(p.Weight, 4);
  EXPECT_FALSE(problems->Graded);
  // Question and solution carry the fonts of their languages.
  ASSERT_TRUE(p.Question->Font && p.Solution->Font);
  EXPECT_EQ(p.Question->Font->Name, "Arial");
  EXPECT_EQ(p.Solution->Font->Name, "Times");
}

TEST(Select, AllWordsDrawsTheTranslationAtRandomAndNeedsACrossListForType1) {
  std::set<std::string> solutions;
  for (std::uint64_t seed = 0; seed < 40; ++seed) {
    SeedRandom(seed);
    auto lesson = MakeTLesson({MakeEntry(1, {"house"}, {"Haus", "Gebäude"})});
    const auto problems = lesson->Select(kAllWords | kAskLanguage1);
    ASSERT_EQ(problems->Count(), 1);
    EXPECT_EQ(problems->At(0)->ProblemType, kTranslationProblem);
    solutions.insert(problems->At(0)->Solution->Text());
  }
  EXPECT_EQ(solutions, (std::set<std::string>{"Haus", "Gebäude"}));
}

TEST(Select, SameLanguageProblemsNeedASecondSynonymOrAnAntonym) {
  SeedRandom(3);
  auto lesson = MakeTLesson({MakeEntry(2, {"big"}, {"groß"}, {"small"})});
  const auto problems = lesson->Select(kSameLanguage1);
  ASSERT_EQ(problems->Count(), 2);
  std::set<std::string> pairs;
  for (const ProblemPtr& p : *problems) {
    EXPECT_EQ(p->ProblemType, kAntonymProblem);
    pairs.insert(p->Question->Text() + ">" + p->Solution->Text());
  }
  EXPECT_EQ(pairs, (std::set<std::string>{"big>small", "small>big"}));
}

TEST(Select, AllWordsAsksEveryWordAndMakesAntonymTranslationProblems) {
  SeedRandom(4);
  auto lesson = MakeTLesson({MakeEntry(2, {"big", "large"}, {"groß"}, {"small"}, {"klein"})});
  const auto problems = lesson->Select(kAllWords | kAskLanguage1);
  // Questions big, large, small; each gets a type 0 and a type 1 problem.
  std::multiset<std::string> made;
  for (const ProblemPtr& p : *problems)
    made.insert(std::to_string(p->ProblemType) + p->Question->Text() + ">" + p->Solution->Text());
  EXPECT_EQ(made, (std::multiset<std::string>{"0big>groß", "1big>klein", "0large>groß", "1large>klein",
                                              "0small>klein", "1small>groß"}));
  // Without all words: the head and the first antonym, translation problems only.
  EXPECT_EQ(lesson->Count(kAskLanguage1), 2);
}

TEST(Select, SameLanguage2AsksTranslationsForTheirSynonyms) {
  SeedRandom(5);
  auto lesson = MakeTLesson({MakeEntry(1, {"car"}, {"Auto", "Wagen"})});
  const auto problems = lesson->Select(kSameLanguage2);
  ASSERT_EQ(problems->Count(), 1);
  EXPECT_EQ(problems->At(0)->ProblemType, kSynonymProblem);
  EXPECT_EQ(problems->At(0)->Question->Text(), "Auto");
  EXPECT_EQ(problems->At(0)->Solution->Text(), "Wagen");
}

TEST(Select, SynonymDrawEndsWhenTheListHoldsOnlyTheQuestionTwice) {
  // No file makes such a list, but a caller can: the same word object twice.
  const auto twice = [](const std::vector<std::string>& extra) {
    MeaningPtr entry = MakeEntry(1, {}, {"Auto"});
    const PWord word = std::make_shared<TWord>("car");
    for (int i = 0; i < 2; ++i) {
      entry->Synonyms.TCollection<TWord>::Insert(word);
      entry->Translations.TCollection<TWord>::Insert(entry->Translations.At(0));
    }
    word->SetMeaning(entry);
    for (const std::string& text : extra) entry->AddWord(kSynonyms, std::make_shared<TWord>(text));
    return entry;
  };
  for (const int flags : {4, 8, kAllWords | 15}) {  // same language 1, 2; all words, every kind
    SeedRandom(flags);
    auto lesson = MakeTLesson({twice({})});
    const auto problems = lesson->Select(static_cast<std::uint8_t>(flags));
    for (const ProblemPtr& p : *problems) EXPECT_NE(p->ProblemType, kSynonymProblem) << flags;
    EXPECT_EQ(lesson->Count(kSameLanguage1), 0);
  }
  // With another word beside it, that word is the solution.
  SeedRandom(7);
  auto lesson = MakeTLesson({twice({"auto"})});
  const auto problems = lesson->Select(kSameLanguage1);
  ASSERT_EQ(problems->Count(), 1);
  EXPECT_EQ(problems->At(0)->Solution->Text(), "auto");
}

TEST(Select, AlternativesComeFromTheQuestionsFormThenTheHighestFormLeft) {
  // Form 1 holds only the solution's own list; form 3 has two words, form 0 many.
  std::vector<MeaningPtr> entries{MakeEntry(1, {"house"}, {"Haus", "Gebäude"}), MakeEntry(3, {"fast"}, {"schnell"}),
                                  MakeEntry(3, {"slow"}, {"langsam"})};
  for (int i = 0; i < 6; ++i) entries.push_back(MakeEntry(0, {"go" + std::to_string(i)}, {"gehen" + std::to_string(i)}));
  for (std::uint64_t seed = 0; seed < 20; ++seed) {
    SeedRandom(seed);
    auto lesson = MakeTLesson(entries);
    const auto problems = lesson->Select(kAskLanguage1);
    const TProblem* house = nullptr;
    for (const ProblemPtr& p : *problems)
      if (p->Question->Text() == "house") house = p.get();
    ASSERT_NE(house, nullptr);
    std::vector<std::string> alternatives = Texts(house->Alternatives);
    ASSERT_EQ(alternatives.size(), 5u);
    EXPECT_EQ(std::count(alternatives.begin(), alternatives.end(), "Haus"), 1);
    EXPECT_EQ(std::count(alternatives.begin(), alternatives.end(), "Gebäude"), 0);
    EXPECT_EQ(std::count(alternatives.begin(), alternatives.end(), "schnell"), 1);
    EXPECT_EQ(std::count(alternatives.begin(), alternatives.end(), "langsam"), 1);
    int gehen = 0;
    for (const std::string& a : alternatives) gehen += a.rfind("gehen", 0) == 0;
    EXPECT_EQ(gehen, 2);
    for (const PWord& w : house->Alternatives) {
      ASSERT_TRUE(w->Font);
      EXPECT_EQ(w->Font->Name, "Times");
    }
  }
}

TEST(Select, AlternativesAreDistinctAndNeverSynonymsOfTheSolution) {
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 30; ++i)
    entries.push_back(MakeEntry(1, {"w" + std::to_string(i)}, {"a" + std::to_string(i), "b" + std::to_string(i)}));
  SeedRandom(7);
  auto lesson = MakeTLesson(entries);
  const auto problems = lesson->Select(kAllWords | kAskLanguage1 | kAskLanguage2);
  ASSERT_EQ(problems->Count(), 60 + 30);
  for (const ProblemPtr& p : *problems) {
    ASSERT_EQ(p->Alternatives.Count(), 5);
    std::set<const TWord*> seen;
    int solutions = 0;
    for (const PWord& w : p->Alternatives) {
      EXPECT_TRUE(seen.insert(w.get()).second) << Describe(*problems);
      if (w == p->Solution) ++solutions;
      else EXPECT_NE(w->Meaning(), p->Solution->Meaning()) << w->Text() << " is a synonym of " << p->Solution->Text();
    }
    EXPECT_EQ(solutions, 1);
  }
}

TEST(Select, AFixedSeedGivesTheSameSelection) {
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 40; ++i)
    entries.push_back(MakeEntry(i % 3, {"w" + std::to_string(i), "v" + std::to_string(i)},
                                {"a" + std::to_string(i), "b" + std::to_string(i)}, {"x" + std::to_string(i)},
                                {"y" + std::to_string(i)}));
  auto lesson = MakeTLesson(entries);
  SeedRandom(42);
  const std::string first = Describe(*lesson->Select(255));
  SeedRandom(42);
  const std::string second = Describe(*lesson->Select(255));
  EXPECT_EQ(first, second);
  SeedRandom(43);
  EXPECT_NE(Describe(*lesson->Select(255)), first);
}

TEST(Select, FlagBitsKeepTheirGroups) {
  // Head scores for the translation problem give the levels -3 -3 0 0 0 5:
  // hard 2, medium 3, easy 1.
  const int levels[] = {0, -3, 5, 0, -3, 0};
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 6; ++i) {
    entries.push_back(MakeEntry(1, {"q" + std::to_string(i)}, {"s" + std::to_string(i)}));
    entries.back()->Synonyms.At(0)->Knowledge[0] = static_cast<std::int8_t>(levels[i]);
  }
  auto lesson = MakeTLesson(entries);
  struct Case {
    std::uint8_t keep;
    std::vector<int> levels;
  };
  const Case cases[] = {
      {kKeepHard, {-3, -3}},
      {kKeepMedium, {0, 0, 0}},
      {kKeepEasy, {5}},
      {kKeepHard | kKeepEasy, {-3, -3, 5}},
      {kKeepHard | kKeepMedium | kKeepEasy, {-3, -3, 0, 0, 0, 5}},
      {0, {}},
  };
  for (const Case& c : cases) {
    SeedRandom(9);
    const auto problems = lesson->Select(static_cast<std::uint8_t>(kAskLanguage1 | c.keep));
    std::vector<int> got;
    for (const ProblemPtr& p : *problems) got.push_back(p->Level);
    EXPECT_EQ(got, c.levels) << "keep " << int(c.keep);
    EXPECT_TRUE(problems->Graded);
    EXPECT_EQ(lesson->Count(static_cast<std::uint8_t>(kAskLanguage1 | c.keep)), c.levels.size());
  }
}

TEST(Select, UngradedSelectionKeepsEverythingWhateverTheFlags) {
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 5; ++i) entries.push_back(MakeEntry(1, {"q" + std::to_string(i)}, {"s" + std::to_string(i)}));
  auto lesson = MakeTLesson(entries);
  const auto problems = lesson->Select(kAskLanguage1);
  EXPECT_EQ(problems->Count(), 5);
  EXPECT_FALSE(problems->Graded);
  EXPECT_EQ(problems->Hard(), 0);
  EXPECT_EQ(problems->Medium(), 0);
  EXPECT_EQ(problems->Easy(), 0);
}

TEST(Select, LessonWithoutEntriesOrWithoutEntryListGivesNothing) {
  auto lesson = MakeTLesson({MakeEntry(1, {}, {})});
  EXPECT_EQ(lesson->Count(255), 0);
  lesson->Meanings.reset();
  EXPECT_EQ(lesson->Count(255), 0);
}

TEST(Selection, PoolsLoseTheSolutionsOwnListOnlyWhileAProblemIsMade) {
  SeedRandom(2);
  auto lesson = MakeTLesson({MakeEntry(1, {"house"}, {"Haus", "Geb\xE4ude"}), MakeEntry(1, {"tree"}, {"Baum"}),
                             MakeEntry(0, {"go"}, {"gehen"}, {"stay"}, {"bleiben"}), MakeEntry(7, {"odd"}, {"seltsam"})});
  TSelection selection(*lesson, false);
  selection.FillPools(0);
  // Language-2 words by form; a form past 4 counts as "other".
  EXPECT_EQ(selection.Pool(0).Count(), 2);
  EXPECT_EQ(selection.Pool(1).Count(), 3);
  EXPECT_EQ(selection.Pool(4).Count(), 1);
  const PWord house = lesson->At(0)->Synonyms.At(0);
  const PWord solution = selection.PickSolution(house, true, kTranslationProblem);
  ASSERT_TRUE(solution);
  EXPECT_EQ(solution->Text(), "Haus");
  ASSERT_EQ(selection.Pool(1).Count(), 1);
  EXPECT_EQ(selection.Pool(1).At(0)->Text(), "Baum");
  EXPECT_FALSE(selection.PickSolution(house, true, kAntonymTranslationProblem));

  selection.FillPools(0);
  const ProblemPtr p = selection.MakeProblem(house, kTranslationProblem);
  ASSERT_TRUE(p);
  EXPECT_EQ(Texts(p->Alternatives).size(), 5u);  // Baum, then the highest forms left: seltsam, gehen, bleiben
  EXPECT_EQ(selection.Pool(1).Count(), 3);
  EXPECT_EQ(selection.Pool(0).Count(), 2);
  EXPECT_EQ(selection.Pool(4).Count(), 1);
}

// A whole seeded run of selections written out: every problem with its
// fields and words (named by text and by which word object it is), the
// state of the random source afterwards and the font each word was left
// with. Any change in what Select draws, keeps or hands out changes it.
class SelectionRecord {
 public:
  explicit SelectionRecord(const TLesson& lesson) : lesson_(lesson) {
    if (lesson.Meanings)
      for (const MeaningPtr& m : *lesson.Meanings)
        for (int kind = 0; kind < 4; ++kind)
          for (const PWord& w : m->ListOfKind(kind)) Name(w.get());
  }

  void Add(std::uint8_t flags, const TProbCollection& problems) {
    text_ += "flags " + std::to_string(flags) + (problems.Graded ? " graded " : " ") +
             std::to_string(problems.Count()) + "\n";
    for (const ProblemPtr& p : problems) {
      text_ += std::to_string(p->ProblemType) + " " + std::to_string(p->Level) + " " + std::to_string(p->Attempts) +
               " " + std::to_string(p->Weight) + " " + std::to_string(p->Deduction) +
               (p->Lesson == &lesson_ ? " " : " foreign ") + Name(p->Question.get()) + ">" + Name(p->Solution.get()) +
               " [";
      for (const PWord& w : p->Alternatives) text_ += Name(w.get()) + ",";
      text_ += "]\n";
    }
  }

  void Note(const std::string& line) { text_ += line + "\n"; }

  // Ends the record and returns its FNV-1a digest.
  std::uint64_t Close() {
    text_ += "next draw " + std::to_string(Random(1 << 30)) + "\nfonts";
    for (const TWord* w : order_) text_ += " " + (w->Font ? w->Font->Name : std::string("-"));
    std::uint64_t h = 14695981039346656037ull;
    for (const unsigned char c : text_) h = (h ^ c) * 1099511628211ull;
    return h;
  }

 private:
  std::string Name(const TWord* w) {
    if (!w) return "null";
    const auto [it, added] = ids_.emplace(w, static_cast<int>(order_.size()));
    if (added) order_.push_back(w);
    return w->Text() + "#" + std::to_string(it->second);
  }

  const TLesson& lesson_;
  std::map<const TWord*, int> ids_;
  std::vector<const TWord*> order_;
  std::string text_;
};

// Lessons with what a selection has to cope with: every form and some past
// 4, lists of every length including empty ones, texts repeated between
// entries, and word objects that sit in more than one list, in a list of an
// entry that is not theirs, or in no entry at all.
std::unique_ptr<TLesson> GeneratedLesson(int entries, std::uint64_t seed, bool oddWords) {
  auto lesson = MakeTLesson({});
  lesson->Language1.Font.Name = "Font1";
  lesson->Language2.Font.Name = "Font2";
  std::uint64_t state = seed;
  const auto next = [&state](int n) {
    state = state * 6364136223846793005ull + 1442695040888963407ull;
    return static_cast<int>((state >> 33) % static_cast<std::uint64_t>(n));
  };
  const char* stems[] = {"w", "t", "a", "x"};
  for (int i = 0; i < entries; ++i) {
    std::vector<std::string> lists[4];
    for (int kind = 0; kind < 4; ++kind) {
      const int count = next(kind < 2 ? 5 : 3) - (kind < 2 ? 0 : 1);
      for (int k = 0; k < count; ++k) lists[kind].push_back(stems[kind] + std::to_string(next(entries / 2 + 3)));
    }
    MeaningPtr m = MakeEntry(static_cast<std::uint8_t>(next(7)), lists[0], lists[1], lists[2], lists[3]);
    for (int kind = 0; kind < 4; ++kind)
      for (const PWord& w : m->ListOfKind(kind))
        for (std::int8_t& k : w->Knowledge) k = static_cast<std::int8_t>(next(5) - 2);
    lesson->Meanings->Insert(m);
  }
  if (oddWords && entries >= 8) {
    const auto entry = [&lesson](int i) { return lesson->Meanings->At(i); };
    for (int i = 0; i < 4; ++i) {
      entry(i)->Synonyms.TCollection<TWord>::Insert(std::make_shared<TWord>("s" + std::to_string(i)));
      entry(i)->Translations.TCollection<TWord>::Insert(std::make_shared<TWord>("u" + std::to_string(i)));
    }
    // One word object in two entries, and one in two lists of its own entry.
    for (int i = 4; i < entries; i += 5) {
      if (!entry(i - 1)->Translations.Empty())
        entry(i)->Translations.TCollection<TWord>::Insert(entry(i - 1)->Translations.At(0));
      if (!entry(i)->Synonyms.Empty()) entry(i)->Antonyms.TCollection<TWord>::Insert(entry(i)->Synonyms.At(0));
    }
    // Words whose entry is not in the lesson.
    const MeaningPtr outside = MakeEntry(2, {"out1", "out2"}, {"Aus1", "Aus2"}, {"in1"}, {"Ein1"});
    for (int i = 6; i < entries; i += 7) {
      entry(i)->Synonyms.TCollection<TWord>::Insert(outside->Synonyms.At(i % 2));
      entry(i)->Translations.TCollection<TWord>::Insert(outside->AntonymTranslations.At(0));
    }
    lesson->Meanings->Insert(TMeaning::Create());  // an entry with four empty lists
  }
  return lesson;
}

TEST(Select, SeededSelectionsKeepTheirRecordedDigests) {
  struct Case {
    const char* name;
    int entries;  // -1: no entry list at all
    bool oddWords;
    std::size_t problems;
    std::uint64_t digest;
  };
  const Case cases[] = {
      // Recorded from the selection as first written; they change only if
      // the problems drawn for a seed change.
      {"no entry list", -1, false, 0, 7911630997459403502ull},
      {"no entries", 0, false, 0, 7911630997459403502ull},
      {"one entry", 1, false, 20, 11208298298710257499ull},
      {"small", 12, true, 469, 3489037676959012080ull},
      {"medium", 90, true, 2896, 12970299889026748099ull},
      {"large", 700, true, 22163, 10989430691202083726ull},
      {"large plain", 700, false, 19200, 1123377503254566281ull},
  };
  const std::uint8_t flagRuns[] = {255, 127, 113, 114, 116, 120, 211, 172, 15, 241, 128 | 64 | 8, 0};
  {
    for (const Case& c : cases) {
      auto lesson = GeneratedLesson(std::max(c.entries, 0), 1000 + static_cast<std::uint64_t>(c.entries), c.oddWords);
      if (c.entries < 0) lesson->Meanings.reset();
      SelectionRecord record(*lesson);
      SeedRandom(77);
      std::size_t problems = 0;
      for (const std::uint8_t flags : flagRuns) {
        TSelection selection(*lesson, (flags & kAllWords) != 0);
        selection.AddAllProblems(flags);
        const auto selected = selection.Collect(flags);
        problems += static_cast<std::size_t>(selected->Count());
        record.Add(flags, *selected);
      }
      record.Note("count " + std::to_string(lesson->Count(255)));
      EXPECT_EQ(problems, c.problems) << c.name;
      EXPECT_EQ(record.Close(), c.digest) << c.name;
    }
  }
}

// -------------------------------------------------------------- grouping

TProbCollection WithLevels(const std::vector<int>& levels) {
  TProbCollection c;
  for (int level : levels) {
    auto p = std::make_shared<TProblem>();
    p->Level = static_cast<std::int8_t>(level);
    c.Insert(p);
  }
  return c;
}

TEST(Grouping, SplitsAtTheLevelChangesOfTheMiddleBands) {
  struct Case {
    std::vector<int> levels;
    int hard, medium, easy;
  };
  const Case cases[] = {
      {{-3, -3, 0, 0, 0, 5}, 2, 3, 1},
      {{1, 1, 1, 1}, 0, 0, 0},
      // Only a change below n div 3: the hard group ends there.
      {{0, 1, 1, 1, 1, 1, 1, 1, 1}, 1, 8, 0},
      // Only a change above 2n div 3: the easy group starts there.
      {{0, 0, 0, 0, 0, 0, 0, 0, 1}, 0, 8, 1},
      // Several changes: the lowest in the middle band for hard, the highest for easy.
      {{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 3, 4, 3},
      {{}, 0, 0, 0},
      {{7}, 0, 0, 0},
      {{1, 2}, 1, 1, 0},
  };
  for (const Case& c : cases) {
    const TProbCollection problems = WithLevels(c.levels);
    EXPECT_EQ(problems.Hard(), c.hard) << ::testing::PrintToString(c.levels);
    EXPECT_EQ(problems.Medium(), c.medium) << ::testing::PrintToString(c.levels);
    EXPECT_EQ(problems.Easy(), c.easy) << ::testing::PrintToString(c.levels);
  }
}

// --------------------------------------------------------------- answers

TEST(Answers, SolvedAcceptsSynonymsByteForByte) {
  const MeaningPtr entry = MakeEntry(1, {"house"}, {"Haus", "Gebäude"});
  const ProblemPtr p = ProblemFor(entry);
  EXPECT_TRUE(p->Solved("Haus"));
  EXPECT_TRUE(p->Solved("Gebäude"));
  EXPECT_FALSE(p->Solved("haus"));
  EXPECT_FALSE(p->Solved("Haus "));
  EXPECT_FALSE(p->Solved(""));
}

TEST(Answers, LessonProblemIsSolvedByALessonHoldingTheQuestion) {
  const MeaningPtr entry = MakeEntry(1, {"house"}, {"Haus"});
  ProblemPtr p = ProblemFor(entry);
  p->ProblemType = kLessonProblem;
  auto holding = MakeTLesson({MakeEntry(1, {"tree"}, {"house"})});
  auto other = MakeTLesson({MakeEntry(1, {"tree"}, {"Baum"})});
  EXPECT_TRUE(p->Solved(*holding));
  EXPECT_FALSE(p->Solved(*other));
  EXPECT_FALSE(p->Solved("Haus"));
}

TEST(Answers, LetterDistanceCountsUnsharedCharacters) {
  struct Case {
    const char* a;
    const char* b;
    int distance;
  };
  const Case cases[] = {
      {"Haus", "Hasu", 0}, {"Haus", "Hause", 1}, {"Haus", "Maus", 2}, {"", "", 0}, {"abc", "", 3},
      {"aab", "ab", 1},
      // A "#" of the first text matches a character the first walk marked.
      {"a#", "ab", 1},
  };
  for (const Case& c : cases) EXPECT_EQ(LetterDistance(c.a, c.b), c.distance) << c.a << " / " << c.b;
}

TEST(Answers, NeighboorOffersTheNearestSpellingWithinTolerance) {
  const MeaningPtr entry = MakeEntry(1, {"house"}, {"Haus"});
  const ProblemPtr p = ProblemFor(entry);
  struct Case {
    const char* answer;
    int tolerance;
    const char* expected;
  };
  const Case cases[] = {
      {"Hause", 20, "Haus"}, {"Maus", 25, "Haus"}, {"Maus", 24, ""}, {"Haus", 0, "Haus"}, {"xyz", 100, "Haus"},
  };
  for (const Case& c : cases) {
    std::string result = "stale";
    p->Neighboor(c.answer, static_cast<std::uint8_t>(c.tolerance), result);
    EXPECT_EQ(result, c.expected) << c.answer << " at " << c.tolerance;
  }
  // Among synonyms the first of the nearest wins.
  const MeaningPtr two = MakeEntry(1, {"cat"}, {"Katze", "Kater", "Katzen"});
  std::string result;
  ProblemFor(two)->Neighboor("Katzr", 50, result);
  EXPECT_EQ(result, "Katze");
}

TEST(Answers, BackInsertAddsWithoutCheckingForTheSameText) {
  const MeaningPtr entry = MakeEntry(1, {"house"}, {"Haus"});
  const ProblemPtr p = ProblemFor(entry);
  p->BackInsert("Heim", true);
  p->BackInsert("Haus", false);
  EXPECT_EQ(test::Texts(entry->Translations), (std::vector<std::string>{"Heim", "Haus", "Haus"}));
  EXPECT_EQ(entry->Translations.At(0)->Meaning(), entry.get());
  EXPECT_TRUE(p->Solved("Heim"));
}

TEST(Answers, AlternateKeepsTheSolutionAmongTheFirstN) {
  const MeaningPtr entry = MakeEntry(1, {"house"}, {"Haus"});
  const ProblemPtr p = ProblemFor(entry);
  std::set<int> places;
  for (std::uint64_t seed = 0; seed < 50; ++seed) {
    SeedRandom(seed);
    p->Alternate(3);
    ASSERT_EQ(p->Alternatives.Count(), 5);
    const int at = p->Alternatives.IndexOfItem(p->Solution.get());
    EXPECT_LT(at, 3);
    places.insert(at);
  }
  EXPECT_EQ(places, (std::set<int>{0, 1, 2}));
  p->Alternate(99);  // past the end: still one solution in the list
  EXPECT_EQ(p->Alternatives.Count(), 5);
  p->Alternate(0);
  EXPECT_EQ(p->Alternatives.IndexOfItem(p->Solution.get()), 0);
}

TEST(Answers, PrintWritesLevelQuestionAndMark) {
  const MeaningPtr entry = MakeEntry(1, {"Gr\xF6\xDF" "e"}, {"size"});
  const ProblemPtr p = ProblemFor(entry);
  p->Level = -5;
  std::ostringstream out;
  p->Print(out);
  p->ProblemType = kAntonymProblem;
  p->Print(out);
  EXPECT_EQ(out.str(), "-5 Größe -\n-5 Größe #\n");
}

// --------------------------------------------------------------- scoring

TEST(Scoring, ValueTableOfAFreshProblem) {
  const MeaningPtr entry = MakeEntry(1, {"house"}, {"Haus"});
  const ProblemPtr p = ProblemFor(entry, 5);
  EXPECT_EQ(p->Value(1, true), 32);
  EXPECT_EQ(p->Value(1, false), 32);
  EXPECT_EQ(p->Value(2, true), 32);
  EXPECT_EQ(p->Value(2, false), -1);
  EXPECT_EQ(p->Value(3, true), 16);
  EXPECT_EQ(p->Value(3, false), -5);
  EXPECT_EQ(p->Value(4, true), 0);
  p->Weight = 0;
  EXPECT_EQ(p->Value(1, true), 1);
  // Only the low byte counts: -130 wraps to 126.
  p->Attempts = 26;
  EXPECT_EQ(p->Value(3, false), 126);
}

TEST(Scoring, Mode2WrongWrongRightChangesByMinus1Minus2Plus8) {
  const MeaningPtr entry = MakeEntry(1, {"house"}, {"Haus"});
  const ProblemPtr p = ProblemFor(entry);
  TWord& question = *p->Question;
  std::vector<int> scores;
  for (const char* answer : {"Hus", "Hause", "Haus"}) {
    p->Score(2, answer);
    scores.push_back(question.Knowledge[0]);
    EXPECT_EQ(p->Level, question.Knowledge[0]);
  }
  EXPECT_EQ(scores, (std::vector<int>{-1, -3, 5}));
  EXPECT_EQ(p->Weight, 0);
  EXPECT_EQ(p->Attempts, 4);
  EXPECT_EQ(p->Solution->Knowledge[0], 0);
}

TEST(Scoring, ScoresStopAtTheirBounds) {
  const MeaningPtr entry = MakeEntry(1, {"house"}, {"Haus"});
  {
    const ProblemPtr p = ProblemFor(entry);
    p->Question->Knowledge[0] = 120;
    p->Score(2, "Haus");  // +32
    EXPECT_EQ(p->Question->Knowledge[0], 127);
  }
  {
    const ProblemPtr p = ProblemFor(entry);
    p->Question->Knowledge[0] = -120;
    p->Attempts = 3;
    p->Score(3, "nothing");  // (5 - 10) * 3 = -15
    EXPECT_EQ(p->Question->Knowledge[0], -128);
  }
  {
    const ProblemPtr p = ProblemFor(entry);
    p->Question->Knowledge[0] = 100;
    p->Score(1, "wrong");  // mode 1 rewards a miss too
    EXPECT_EQ(p->Question->Knowledge[0], 127);
  }
}

TEST(Scoring, Mode3MissAlsoCostsTheSolutionAndTheChosenAlternative) {
  const MeaningPtr entry = MakeEntry(1, {"house"}, {"Haus"});
  const ProblemPtr p = ProblemFor(entry);
  p->ProblemType = kAntonymProblem;
  p->Score(3, "alt2");
  EXPECT_EQ(p->Question->Knowledge[3], -5);
  EXPECT_EQ(p->Solution->Knowledge[3], -5);
  EXPECT_EQ(p->Alternatives.At(2)->Knowledge[3], -5);
  EXPECT_EQ(p->Alternatives.At(1)->Knowledge[3], 0);
  EXPECT_EQ(p->Question->Knowledge[0], 0);
  // A miss matching no alternative leaves the alternatives alone.
  p->Score(3, "zzz");
  EXPECT_EQ(p->Solution->Knowledge[3], -15);
  EXPECT_EQ(p->Alternatives.At(2)->Knowledge[3], -5);
}

TEST(Scoring, LessonProblemOnlyAges) {
  const MeaningPtr entry = MakeEntry(1, {"house"}, {"Haus"});
  const ProblemPtr p = ProblemFor(entry);
  p->ProblemType = kLessonProblem;
  p->Score(2, "Haus");
  EXPECT_EQ(p->Question->Knowledge, (std::array<std::int8_t, 4>{}));
  EXPECT_EQ(p->Attempts, 2);
  EXPECT_EQ(p->Weight, 2);
}

// ------------------------------------------------------------ word pools

TEST(AnswerPool, BehavesLikeAPlainSequence) {
  SeedRandom(5);
  std::vector<PWord> words;
  for (int i = 0; i < 12; ++i) words.push_back(std::make_shared<TWord>("w" + std::to_string(i)));
  TAnswerPool pool;
  pool.Clear();
  std::vector<PWord> model;
  for (int step = 0; step < 5000; ++step) {
    const int op = Random(5);
    const PWord& w = words[static_cast<std::size_t>(Random(static_cast<int>(words.size())))];
    if (op <= 1) {
      pool.Append(w);
      model.push_back(w);
    } else if (op == 2) {
      pool.Remove(w.get());
      const auto it = std::find(model.begin(), model.end(), w);
      if (it != model.end()) model.erase(it);
    } else if (op == 3 && !model.empty()) {
      const int at = Random(static_cast<int>(model.size()));
      pool.AtDelete(at);
      model.erase(model.begin() + at);
    } else if (op == 4) {
      // Several takes at once, each counted among the words the ones before left.
      const int n = std::min(Random(7), static_cast<int>(model.size()));
      std::vector<int> indices;
      std::vector<const TWord*> expected;
      for (int t = 0; t < n; ++t) {
        indices.push_back(Random(static_cast<int>(model.size())));
        expected.push_back(model[static_cast<std::size_t>(indices.back())].get());
        model.erase(model.begin() + indices.back());
      }
      std::vector<int> records(indices.size());
      pool.TakeMany(indices.data(), n, records.data());
      for (int t = 0; t < n; ++t) ASSERT_EQ(pool.WordOf(records[static_cast<std::size_t>(t)]), expected[static_cast<std::size_t>(t)]) << step;
    }
    ASSERT_EQ(pool.Count(), static_cast<int>(model.size()));
    if (step % 50 == 0) {
      for (int i = 0; i < pool.Count(); ++i) ASSERT_EQ(pool.At(i), model[static_cast<std::size_t>(i)]) << step;
    }
  }
  EXPECT_THROW(pool.At(pool.Count()), EListError);
}

}  // namespace
}  // namespace vocatrix
