// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests of check-lesson: the vocatrix-cli binary on the example
// lessons and on temporary files.

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

using test::Contains;
using test::MakeEntry;
using test::TempDir;

const std::string kExamples = std::string(VOCATRIX_SOURCE_DIR) + "/examples/";

TEST(CliCheckLesson, ExampleLessonsShowTheirCountsAndFindings) {
  const test::CliResult r = test::RunCliWith({"check-lesson", kExamples + "english-german.tav"});
  EXPECT_EQ(r.code, 1) << r.err;
  EXPECT_EQ(r.err, "");
  // The counts come first, then the findings in entry order.
  EXPECT_EQ(r.out.rfind("translations English to Deutsch: 65 problems\n"
                        "translations Deutsch to English: 65 problems\n"
                        "synonyms and antonyms in English: 76 problems\n"
                        "synonyms and antonyms in Deutsch: 65 problems\n"
                        "entry 9: synonyms and antonyms in English: no question: one word in English and no antonym\n",
                        0),
            0u)
      << r.out;
  EXPECT_TRUE(Contains(r.out, "\nentry 33: form \"other\" among entries with forms")) << r.out;

  // --flags keeps the directions of bits 0 to 3; each file under its name,
  // the lesson text read as the editor reads it (entry numbers alike).
  const test::CliResult two = test::RunCliWith(
      {"check-lesson", "--flags", "2", kExamples + "french-german.tav", kExamples + "french-german.txt"});
  EXPECT_EQ(two.code, 1) << two.err;
  const std::string block = ":\ntranslations Deutsch to Fran\xC3\xA7" "ais: 64 problems\nentry 33: form";
  EXPECT_TRUE(Contains(two.out, kExamples + "french-german.tav" + block)) << two.out;
  EXPECT_TRUE(Contains(two.out, "\n\n" + kExamples + "french-german.txt" + block)) << two.out;
  EXPECT_FALSE(Contains(two.out, "synonyms")) << two.out;
}

TEST(CliCheckLesson, ExitsZeroOnlyWhenNothingIsFoundAndTwoOnUsageErrors) {
  TempDir dir;
  // Five nouns: every question is offered four alternatives of its form.
  auto lesson = test::MakeLesson("English", "Deutsch",
                                 {MakeEntry(1, {"a"}, {"A"}), MakeEntry(1, {"b"}, {"B"}), MakeEntry(1, {"c"}, {"C"}),
                                  MakeEntry(1, {"d"}, {"D"}), MakeEntry(1, {"e"}, {"E"})});
  lesson->SaveToFile(dir.File("clean.tav"));
  const test::CliResult clean = test::RunCliWith({"check-lesson", "--flags=3", dir.File("clean.tav")});
  EXPECT_EQ(clean.code, 0) << clean.err;
  EXPECT_EQ(clean.out, "translations English to Deutsch: 5 problems\ntranslations Deutsch to English: 5 problems\n");
  // A file that cannot be read is named, and the others are still checked.
  const test::CliResult missing = test::RunCliWith({"check-lesson", dir.File("missing.tav"), dir.File("clean.tav")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_TRUE(Contains(missing.err, "missing.tav")) << missing.err;
  EXPECT_TRUE(Contains(missing.out, "synonyms and antonyms in English: 0 problems\n")) << missing.out;

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"check-lesson"}, {"check-lesson", "--flags", "128", dir.File("clean.tav")},
        {"check-lesson", "--flags", "256", dir.File("clean.tav")}, {"check-lesson", "--flags=", dir.File("clean.tav")},
        {"check-lesson", "--mode", "1", dir.File("clean.tav")}, {"check-lesson", dir.File("clean.tav"), "--flags"}}) {
    const test::CliResult r = test::RunCliWith(bad);
    EXPECT_EQ(r.code, 2) << bad.back();
    EXPECT_TRUE(Contains(r.err, "Usage: vocatrix-cli check-lesson [--flags N] IN...")) << r.err;
  }
}

}  // namespace
}  // namespace vocatrix
