// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests of concat, substitute, catalog and quiz: the vocatrix-cli
// binary on temporary files, with scripted answers on stdin.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <filesystem>

#include "cli_runner.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;
using test::ReadFile;
using test::TempDir;
using test::Texts;
using test::WriteFile;

using Result = test::CliResult;
using test::Contains;

Result RunWith(const std::vector<std::string>& args, const std::string& input = {}) {
  return test::RunCliWith(args, input);
}

void Save(const std::string& path, const std::string& language1, const std::string& language2,
          const std::vector<MeaningPtr>& entries, const std::string& title = "T") {
  auto lesson = MakeLesson(language1, language2, entries);
  lesson->Title = title;
  lesson->SaveToFile(path);
}

// ---------------------------------------------------------------- combining

TEST(CliCombine, ConcatJoinsLessonsOfTheSameLanguagesOnly) {
  TempDir dir;
  Save(dir.File("a.tav"), "English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"home"}, {"Haus"})},
       "A");
  Save(dir.File("b.tav"), "English", "Deutsch", {MakeEntry(1, {"tree"}, {"Baum"})}, "B");
  Save(dir.File("c.tav"), "english", "Deutsch", {MakeEntry(1, {"tree"}, {"Baum"})});

  const Result ok = RunWith({"concat", dir.File("a.tav"), dir.File("b.tav"), dir.File("out.tav")});
  ASSERT_EQ(ok.code, 0) << ok.err;
  auto out = TMeanCollection::CreateFromFile(dir.File("out.tav"));
  EXPECT_EQ(out->Title, "A + B");
  // The sources are compacted on loading, as the editor does: house and home merge.
  ASSERT_EQ(out->EntryCount(), 2);
  EXPECT_EQ(Texts(out->At(0)->Synonyms), (std::vector<std::string>{"house", "home"}));

  const Result refused = RunWith({"concat", dir.File("a.tav"), dir.File("c.tav"), dir.File("no.tav")});
  EXPECT_EQ(refused.code, 1);
  EXPECT_TRUE(Contains(refused.err, "language names differ")) << refused.err;
  EXPECT_TRUE(Contains(refused.err, "'english'")) << refused.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("no.tav")));
}

TEST(CliCombine, SubstituteJoinsOverTheSharedLanguage) {
  TempDir dir;
  // Lesson text gives form 4 "other"; only a form match counts.
  Save(dir.File("a.tav"), "English", "German", {MakeEntry(4, {"house"}, {"Haus"}), MakeEntry(0, {"go"}, {"gehen"})});
  WriteFile(dir.File("b.txt"), "Sp: German - French\r\nHaus - maison\r\ngehen - aller\r\n");
  Save(dir.File("c.tav"), "Italian", "Spanish", {MakeEntry(1, {"casa"}, {"casa"})});

  const Result ok = RunWith({"substitute", dir.File("a.tav"), dir.File("b.txt"), dir.File("out.tav")});
  ASSERT_EQ(ok.code, 0) << ok.err;
  auto out = TMeanCollection::CreateFromFile(dir.File("out.tav"));
  EXPECT_EQ(out->Language1.Name, "English");
  EXPECT_EQ(out->Language2.Name, "French");
  ASSERT_EQ(out->EntryCount(), 1);
  EXPECT_EQ(Texts(out->At(0)->Synonyms), std::vector<std::string>{"house"});
  EXPECT_EQ(Texts(out->At(0)->Translations), std::vector<std::string>{"maison"});

  const Result none = RunWith({"substitute", dir.File("a.tav"), dir.File("c.tav"), dir.File("no.tav")});
  EXPECT_EQ(none.code, 1);
  EXPECT_TRUE(Contains(none.err, "share no language")) << none.err;
  EXPECT_FALSE(std::filesystem::exists(dir.File("no.tav")));
}

TEST(CliCombine, EmptyResultIsSavedWithOneBlankEntry) {
  TempDir dir;
  Save(dir.File("a.tav"), "English", "German", {MakeEntry(1, {"house"}, {"Haus"})});
  Save(dir.File("b.tav"), "French", "German", {MakeEntry(0, {"maison"}, {"Haus"})});
  const Result r = RunWith({"substitute", dir.File("a.tav"), dir.File("b.tav"), dir.File("out.tav")});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "no entries")) << r.err;
  EXPECT_EQ(TMeanCollection::CreateFromFile(dir.File("out.tav"))->EntryCount(), 1);
}

// ---------------------------------------------------------------- catalogue

TEST(CliCatalog, PrintsOneLinePerLessonInFolderOrderAndStopsOnErrorsUnlessToldToGoOn) {
  TempDir dir;
  std::filesystem::create_directories(dir.File("a/b"));
  std::filesystem::create_directories(dir.File("a/.hidden"));
  Save(dir.File("a/b/one.tav"), "English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"})}, "Stra\xDF" "e");
  Save(dir.File("a/Two.TAV"), "English", "Deutsch", {MakeEntry(1, {"a", "b"}, {"c"})}, "Second");
  Save(dir.File("a/.hidden/h.tav"), "English", "Deutsch", {MakeEntry(1, {"x"})});
  Save(dir.File("top.tav"), "English", "Deutsch", {MakeEntry(1, {"x"})});

  const Result r = RunWith({"catalog", dir.Path()});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "two.tav; Second; ; a; ; ; English; Deutsch; 1; 3\n"
            "one.tav; Straße; ; b; ; ; English; Deutsch; 1; 2\n");

  WriteFile(dir.File("a/b/bad.tav"), "garbage");
  const Result stopped = RunWith({"catalog", dir.Path()});
  EXPECT_EQ(stopped.code, 1);
  EXPECT_EQ(stopped.out, "two.tav; Second; ; a; ; ; English; Deutsch; 1; 3\n");
  EXPECT_TRUE(Contains(stopped.err, "bad.tav")) << stopped.err;

  const Result all = RunWith({"catalog", "--keep-going", dir.Path()});
  EXPECT_EQ(all.code, 1);
  EXPECT_TRUE(Contains(all.out, "one.tav; Stra")) << all.out;
  EXPECT_TRUE(Contains(all.err, "bad.tav")) << all.err;

  EXPECT_EQ(RunWith({"catalog", dir.File("missing")}).code, 1);
  EXPECT_EQ(RunWith({"catalog"}).code, 2);
}

// --------------------------------------------------------------------- quiz

class CliQuiz : public ::testing::Test {
 protected:
  void SetUp() override {
    // Two problems of level 0: the later entry is asked first.
    Save(lesson, "English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"tree"}, {"Baum"})});
  }
  TempDir dir;
  std::string lesson = dir.File("l.tav");
};

TEST_F(CliQuiz, AsksUntilSolvedPointsOutNearMissesOnceAndSummarises) {
  const Result r = RunWith({"quiz", "--seed", "5", lesson}, "Baum\nMaus\nHause\nHauss\nHaus\n");
  ASSERT_EQ(r.code, 0) << r.err;
  const std::size_t tree = r.out.find("[1/2] tree  (translation in Deutsch)");
  const std::size_t house = r.out.find("[2/2] house");
  // "Maus" lies beyond the 20 % of a slip (2 x 100 / 8): wrong at once.
  const std::size_t wrong = r.out.find("> Wrong: Haus. (score -1)");
  const std::size_t again = r.out.find("[1/1] house");
  ASSERT_NE(tree, std::string::npos) << r.out;
  ASSERT_NE(again, std::string::npos) << r.out;
  EXPECT_LT(tree, house);
  EXPECT_LT(house, wrong);
  EXPECT_LT(wrong, again);
  // "Hause" is pointed out, once: the next answer counts, here "Hauss",
  // wrong for the second time (mode 2: -1 - 2).
  EXPECT_NE(r.out.find("> Did you mean \"Haus\"?\n> Wrong: Haus. (score -3)", again), std::string::npos) << r.out;
  EXPECT_EQ(r.out.find("Did you mean") , r.out.rfind("Did you mean")) << r.out;
  EXPECT_TRUE(Contains(r.out, "Right. (score 32)")) << r.out;
  // Then 8 x weight 1.
  EXPECT_TRUE(Contains(r.out, "Right. (score 5)")) << r.out;
  EXPECT_TRUE(Contains(r.out, "Right first time: 1\nRight later: 1\nGiven up: 0\n")) << r.out;
}

// Each way of answering scores in its mode unless --mode says otherwise:
// choose 3, type 2, cards 1.
TEST_F(CliQuiz, EachWayOfAnsweringScoresInItsOwnMode) {
  // Choosing: only a number answers, anything else is asked again. With two
  // alternatives a right choice is worth (2 - 1) x 4, a wrong one (2 - 10) x 1.
  const Result choose = RunWith({"quiz", "--answer", "choose", "--seed", "11", lesson}, "Baum\n1\n1\n");
  ASSERT_EQ(choose.code, 0) << choose.err;
  EXPECT_TRUE(Contains(choose.out, "  2) ")) << choose.out;
  EXPECT_TRUE(Contains(choose.out, "> Type a number from 1 to 2.\n> ")) << choose.out;
  for (const auto& [question, solution] : {std::pair<std::string, std::string>{"tree", "Baum"}, {"house", "Haus"}}) {
    const std::size_t block = choose.out.find("] " + question + "  (");
    ASSERT_NE(block, std::string::npos) << choose.out;
    const std::size_t alt = choose.out.find("  1) ", block) + 5;
    const bool right = choose.out.substr(alt, choose.out.find('\n', alt) - alt) == solution;
    const std::string expected = right ? "Right. (score 4)" : "Wrong: " + solution + ". (score -8)";
    const std::size_t verdict = choose.out.find(expected, alt);
    EXPECT_LT(verdict, choose.out.find("\n\n", alt)) << question << "\n" << choose.out;
  }

  // Cards: Enter turns the card, y or n says whether it was known; mode 1
  // gives 8 x weight either way. An answer other than y or n is asked again.
  const Result cards = RunWith({"quiz", "--answer=cards", "--seed", "5", lesson}, "\ny\n\nmaybe\nn\n\nY\n");
  ASSERT_EQ(cards.code, 0) << cards.err;
  EXPECT_FALSE(Contains(cards.out, "1) ")) << cards.out;
  EXPECT_TRUE(Contains(cards.out, "[1/2] tree  (translation in Deutsch)\n(Enter shows the answer) Answer: Baum\n"
                                  "Did you know it? (y/n) Right. (score 32)"))
      << cards.out;
  EXPECT_TRUE(Contains(cards.out, "Did you know it? (y/n) Did you know it? (y/n) Wrong: Haus. (score 32)")) << cards.out;
  EXPECT_TRUE(Contains(cards.out, "[1/1] house")) << cards.out;
  EXPECT_TRUE(Contains(cards.out, "Right. (score 48)\n\nQuestions: 2\nRight first time: 1\nRight later: 1\n"))
      << cards.out;
  // A card the input ends on is given up.
  EXPECT_TRUE(Contains(RunWith({"quiz", "--answer", "cards", lesson}, "\n").out, "Given up: 2\n"));

  // --mode still rules: typing scored as mode 3 (a wrong typed answer, no
  // alternative, costs (2 - 10) x 1).
  const Result typed = RunWith({"quiz", "--answer", "type", "--mode", "3", "--seed", "5", lesson}, "Eiche\n");
  EXPECT_TRUE(Contains(typed.out, "Wrong: Baum. (score -8)")) << typed.out;
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"quiz", "--answer", "guess", lesson},
                                              {"quiz", "--answer=", lesson},
                                              {"quiz", lesson, "--answer"}})
    EXPECT_EQ(RunWith(bad).code, 2) << bad.back();
}

TEST_F(CliQuiz, NumbersPickAlternativesAndTheSeedFixesTheirOrder) {
  const Result first = RunWith({"quiz", "--seed=11", "--mode", "3", lesson}, "1\n1\n");
  const Result second = RunWith({"quiz", "--seed=11", "--mode", "3", lesson}, "1\n1\n");
  ASSERT_EQ(first.code, 0) << first.err;
  EXPECT_EQ(first.out, second.out);
  // "1" answers with the first alternative shown: right exactly when that is the solution.
  for (const auto& [question, solution] : {std::pair<std::string, std::string>{"tree", "Baum"}, {"house", "Haus"}}) {
    const std::size_t block = first.out.find("] " + question + "  (");
    ASSERT_NE(block, std::string::npos) << first.out;
    const std::size_t alt = first.out.find("  1) ", block) + 5;
    const std::string shown = first.out.substr(alt, first.out.find('\n', alt) - alt);
    const std::size_t verdict = first.out.find("> ", alt) + 2;
    EXPECT_EQ(first.out.compare(verdict, 6, "Right.") == 0, shown == solution) << first.out;
  }
  // Other seeds give other orders.
  bool differs = false;
  for (int seed = 1; seed <= 8 && !differs; ++seed)
    differs = RunWith({"quiz", "--seed", std::to_string(seed), lesson}, "").out !=
              RunWith({"quiz", "--seed", "11", lesson}, "").out;
  EXPECT_TRUE(differs);
}

TEST_F(CliQuiz, EmptyLineOrEndOfInputGivesUpTheRest) {
  const Result quit = RunWith({"quiz", lesson}, "Baum\n\nHaus\n");
  EXPECT_EQ(quit.code, 0);
  EXPECT_TRUE(Contains(quit.out, "Right first time: 1\nRight later: 0\nGiven up: 1\n")) << quit.out;
  const Result eof = RunWith({"quiz", lesson}, "wrong\n");
  EXPECT_TRUE(Contains(eof.out, "Right first time: 0\nRight later: 0\nGiven up: 2\n")) << eof.out;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// An answer line is read up to 4096 bytes: a longer one ends the quiz with
// a note, so that input without line ends costs neither memory nor time.
TEST_F(CliQuiz, AnAnswerLineLongerThanAnyWordEndsTheQuiz) {
  const Result longest = RunWith({"quiz", lesson}, std::string(4096, 'x') + "\nHaus\n");
  EXPECT_EQ(longest.code, 0) << longest.err;
  EXPECT_TRUE(Contains(longest.out, "Right first time: 1\n")) << longest.out;
  const std::string tooLong = "vocatrix-cli: quiz: an answer line is longer than 4096 bytes; the quiz ends here\n";
  const Result longer = RunWith({"quiz", lesson}, "Baum\n" + std::string(4097, 'x') + "\nHaus\n");
  EXPECT_EQ(longer.code, 1);
  EXPECT_EQ(longer.err, tooLong);
  EXPECT_TRUE(Contains(longer.out, "Right first time: 1\nRight later: 0\nGiven up: 1\n")) << longer.out;
  // Endless zeros, with a bound on memory and time that only a fault reaches
  // (the address space of a sanitized build is its own: there time alone).
  const Result zeros = test::RunCliWith({"quiz", lesson}, {}, [] {
    const int zero = ::open("/dev/zero", O_RDONLY);
    ::dup2(zero, 0);
    if (!kSanitized) {
      const rlimit memory{256u << 20, 256u << 20};
      ::setrlimit(RLIMIT_AS, &memory);
    }
    ::alarm(20);
  });
  EXPECT_EQ(zeros.code, 1);
  EXPECT_EQ(zeros.err, tooLong);
}

TEST_F(CliQuiz, FlagsChooseTheProblemsAndBadOptionsAreUsageErrors) {
  const Result language2 = RunWith({"quiz", "--flags", "2", lesson}, "");
  EXPECT_TRUE(Contains(language2.out, "(translation in English)")) << language2.out;
  const Result none = RunWith({"quiz", "--flags", "4", lesson}, "");
  EXPECT_EQ(none.code, 0);
  EXPECT_TRUE(Contains(none.out, "No questions")) << none.out;
  for (const std::vector<std::string>& bad : {std::vector<std::string>{"quiz", "--flags", "256", lesson},
                                              {"quiz", "--mode", "0", lesson},
                                              {"quiz", "--seed", lesson},
                                              {"quiz", "--colour", "1", lesson},
                                              {"quiz", lesson, lesson}})
    EXPECT_EQ(RunWith(bad).code, 2) << bad[1];
  EXPECT_EQ(RunWith({"quiz", dir.File("missing.tav")}).code, 1);
}

}  // namespace
}  // namespace vocatrix
