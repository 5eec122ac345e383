// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests of how vocatrix-cli reads its command lines: the program's
// own options, each option form, "--", and the exact wording of usage errors.

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

using test::Contains;
using test::MakeEntry;
using test::MakeLesson;
using test::TempDir;

struct Row {
  std::vector<std::string> Args;  // "IN" is a lesson file, "OUT" a .tav to write
  int Code;
  std::string Out;  // a part of stdout
  std::string Err;  // a part of stderr; the whole of it when it begins with "vocatrix-cli: "
};

const std::string kShowUsage = "Usage: vocatrix-cli show [--compact] IN\n";
const std::string kConvertUsage = "Usage: vocatrix-cli convert [--compact] IN OUT [--languages N,M] [OPTIONS]\n";
const std::string kQuizUsage =
    "Usage: vocatrix-cli quiz [--answer choose|type|cards] [--flags N] [--mode 1|2|3] [--seed S] IN\n";

TEST(CliOptions, EveryFormOfOptionAndItsUsageErrorReadAsAlways) {
  TempDir dir;
  const std::string in = dir.File("in.tav");
  MakeLesson("English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"Haus"}, {"house"})})
      ->SaveToFile(in);
  const std::vector<Row> rows{
      // The program's options are its first word, and only as the whole word.
      {{"-h"}, 0, "Usage: vocatrix-cli COMMAND [ARGUMENTS]\n", ""},
      {{"help", "frob"}, 0, "\nCommands:\n", ""},
      {{"--version", "--help"}, 0, "vocatrix-cli 1.14\n", ""},
      {{"--help=1"}, 2, "", "vocatrix-cli: unknown command '--help=1'\nTry 'vocatrix-cli --help'.\n"},
      {{"-hx"}, 2, "", "vocatrix-cli: unknown command '-hx'\nTry 'vocatrix-cli --help'.\n"},
      {{"--", "show"}, 2, "", "vocatrix-cli: unknown command '--'\nTry 'vocatrix-cli --help'.\n"},
      {{}, 2, "", "Usage: vocatrix-cli COMMAND [ARGUMENTS]\n"},
      // A command's --help wins wherever it stands.
      {{"show", "--bogus", "--", "--help"}, 0, "Usage: vocatrix-cli show [--compact] IN\nprint the lesson", ""},
      {{"convert", "--languages", "--help"}, 0, "Usage: vocatrix-cli convert ", ""},
      // Flags are whole words; any other word beginning with "-" is unknown.
      {{"show", "--compact=1", "IN"}, 2, "", "vocatrix-cli: show: unknown option '--compact=1'\n" + kShowUsage},
      {{"show", "IN", "--compact="}, 2, "", "vocatrix-cli: show: unknown option '--compact='\n" + kShowUsage},
      {{"show", "-5", "IN"}, 2, "", "vocatrix-cli: show: unknown option '-5'\n" + kShowUsage},
      {{"show", "---x", "IN"}, 2, "", "vocatrix-cli: show: unknown option '---x'\n" + kShowUsage},
      {{"show", "-h", "IN"}, 2, "", "vocatrix-cli: show: unknown option '-h'\n" + kShowUsage},
      {{"stats", "IN", "--compact"}, 0, "entries: 1\n", ""},
      // "--" ends the options; "-" and a second "--" are operands.
      {{"show", "--", "--compact"}, 1, "", "'--compact' is not a lesson file."},
      {{"show", "--", "--"}, 1, "", "'--' is not a lesson file."},
      {{"show", "-"}, 1, "", "'-' is not a lesson file."},
      {{"show", "IN", "--"}, 0, "Sp: English", ""},
      {{"show", "--", "IN", "IN"}, 2, "", "vocatrix-cli: show: expected 1 file name, got 2\n" + kShowUsage},
      {{"compact", "IN"}, 2, "",
       "vocatrix-cli: compact: expected 2 file names, got 1\nUsage: vocatrix-cli compact IN OUT\n"},
      // A value option takes the next word whatever it is, or its own after "=" (empty too); the
      // first one given counts.
      {{"convert", "IN", "OUT", "--languages"}, 2, "",
       "vocatrix-cli: convert: option '--languages' needs a value\n" + kConvertUsage},
      {{"convert", "--languages", "--", "IN", "OUT"}, 2, "",
       "vocatrix-cli: convert: --languages takes two identifiers as N,M, got '--'\n" + kConvertUsage},
      {{"convert", "--separator=", "IN", "OUT"}, 0, "", ""},
      {{"convert", "IN", "OUT", "--languages="}, 0, "", ""},
      {{"convert", "--languages", "1,2", "IN", "OUT", "--languages=x"}, 0, "", ""},
      {{"convert", "--languages=x", "--languages", "1,2", "IN", "OUT"}, 2, "",
       "vocatrix-cli: convert: --languages takes two identifiers as N,M, got 'x'\n" + kConvertUsage},
      {{"convert", "--bogus", "IN", "OUT", "--languages"}, 2, "",
       "vocatrix-cli: convert: unknown option '--bogus'\n" + kConvertUsage},
      {{"convert", "IN", "--separator", "tabs"}, 2, "",
       "vocatrix-cli: convert: expected 2 file names, got 1\n" + kConvertUsage},
      // quiz checks each number where it stands; the last one given counts.
      {{"quiz", "IN", "--flags"}, 2, "", "vocatrix-cli: quiz: --flags needs a number\n" + kQuizUsage},
      {{"quiz", "--flags=", "3", "IN"}, 2, "", "vocatrix-cli: quiz: --flags needs a number, got ''\n" + kQuizUsage},
      {{"quiz", "--mode=0", "IN"}, 2, "", "vocatrix-cli: quiz: --mode must be 1, 2 or 3\n" + kQuizUsage},
      {{"quiz", "--mode", "4", "IN"}, 2, "", "vocatrix-cli: quiz: --mode must be at most 3\n" + kQuizUsage},
      {{"quiz", "--flags", "x", "--mode", "9", "--bogus"}, 2, "",
       "vocatrix-cli: quiz: --flags needs a number, got 'x'\n" + kQuizUsage},
      {{"quiz", "--bogus", "--flags", "x"}, 2, "", "vocatrix-cli: quiz: unknown option '--bogus'\n" + kQuizUsage},
      {{"quiz", "--seed=1=2", "IN"}, 2, "", "vocatrix-cli: quiz: --seed needs a number, got '1=2'\n" + kQuizUsage},
      {{"quiz", "--flags", "2", "--flags=4", "IN"}, 0, "No questions in this lesson for flags 4.\n", ""},
      {{"quiz", "IN", "--flags=4", "--flags", "2", "--seed", "18446744073709551615"}, 0, "(translation in English)",
       ""},
      {{"quiz", "--", "--flags"}, 1, "", "--flags"},
      {{"spell", "--dict1=x"}, 2, "",
       "vocatrix-cli: spell: expected one or more file names, got none\n"
       "Usage: vocatrix-cli spell [--dict1 NAME] [--dict2 NAME] IN...\n"},
  };
  for (const Row& row : rows) {
    std::vector<std::string> args;
    std::string shown;
    for (const std::string& a : row.Args) {
      args.push_back(a == "IN" ? in : a == "OUT" ? dir.File("out.tav") : a);
      shown += a + " ";
    }
    SCOPED_TRACE(shown);
    const test::CliResult r = test::RunCliWith(args);
    EXPECT_EQ(r.code, row.Code) << r.err;
    EXPECT_TRUE(Contains(r.out, row.Out)) << r.out;
    if (row.Err.starts_with("vocatrix-cli: ")) {
      EXPECT_EQ(r.err, row.Err);
    } else {
      EXPECT_TRUE(Contains(r.err, row.Err)) << r.err;
    }
    if (row.Code == 2) {
      EXPECT_EQ(r.out, "");
    }
    if (row.Code != 1 && row.Err.empty()) {
      EXPECT_EQ(r.err, "");
    }
  }
}

}  // namespace
}  // namespace vocatrix
