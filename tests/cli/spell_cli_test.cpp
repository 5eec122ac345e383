// SPDX-License-Identifier: GPL-3.0-or-later
// vocatrix-cli spell, with dictionaries of the test's own (DICPATH).

#include <gtest/gtest.h>

#include <filesystem>

#include "../core/spelling_util.h"
#include "cli_runner.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

using test::Contains;
using test::TempDir;
using test::WriteDictionary;
using test::WriteFile;

class SpellCli : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir.File("dicts/other"));
    WriteDictionary(dir.File("dicts"), "en_US", "UTF-8", {"house", "big", "small"});
    WriteDictionary(dir.File("dicts"), "de_DE", "ISO8859-1", {"Haus", "gro\xDF", "klein"});
    WriteDictionary(dir.File("dicts/other"), "xx_XX", "UTF-8", {"hause"});
    WriteFile(dir.File("clean.txt"), "Sp: English - Deutsch\r\nhouse - Haus\r\nbig # small\r\n");
    WriteFile(dir.File("typos.txt"), "Sp: English - Deutsch\nhouse - Haus\nhause - Hauss\nbig - gro\xDF\n");
    for (const char* name : {"klingon1.tav", "klingon2.tav"})
      test::MakeLesson("English", "Klingon", {test::MakeEntry(4, {"hause"}, {"Qapla'"})})->SaveToFile(dir.File(name));
  }
  test::CliResult Spell(std::vector<std::string> args) {
    args.insert(args.begin(), "spell");
    const std::string folders = dir.File("dicts");
    return test::RunCliWith(args, {}, [folders] { ::setenv("DICPATH", folders.c_str(), 1); });
  }

  TempDir dir;
};

struct SpellRow {
  std::vector<std::string> Args;  // file names relative to the test folder
  int Code;
  std::string Out;
  std::string Err;  // a part of stderr; empty: stderr is empty
};

TEST_F(SpellCli, PrintsOneLinePerUnknownWordAndExitsOneWhenItFoundAny) {
  const std::string typos = dir.File("typos.txt");
  const std::string klingon = "No spelling dictionary is installed for 'Klingon'; its words are not checked.";
  const SpellRow rows[] = {
      {{"clean.txt"}, 0, "", ""},
      {{"typos.txt"}, 1, "entry 2, language 1: hause\nentry 2, language 2: Hauss\n", ""},
      {{"clean.txt", "typos.txt"},
       1,
       typos + ": entry 2, language 1: hause\n" + typos + ": entry 2, language 2: Hauss\n",
       ""},
      {{"--dict1", dir.File("dicts/other/xx_XX.dic"), "typos.txt"},
       1,
       "entry 1, language 1: house\nentry 2, language 2: Hauss\nentry 3, language 1: big\n",
       ""},
      {{"typos.txt", "--dict2=en_US"},
       1,
       "entry 1, language 2: Haus\nentry 2, language 1: hause\nentry 2, language 2: Hauss\n"
       "entry 3, language 2: gro\xC3\x9F\n",
       ""},
      {{"klingon1.tav", "klingon2.tav"},
       1,
       dir.File("klingon1.tav") + ": entry 1, language 1: hause\n" + dir.File("klingon2.tav") +
           ": entry 1, language 1: hause\n",
       klingon},
      {{"--dict2", "no_SUCH", "typos.txt"}, 1, "", "--dict2: no dictionary 'no_SUCH'"},
      {{"missing.txt", "clean.txt"}, 1, "", "missing.txt"},
      {{}, 2, "", "expected one or more file names"},
      {{"--dict3", "x", "typos.txt"}, 2, "", "unknown option '--dict3'"},
  };
  for (const SpellRow& row : rows) {
    std::vector<std::string> args;
    std::string shown;
    for (const std::string& a : row.Args) {
      args.push_back(a.ends_with(".txt") || a.ends_with(".tav") ? dir.File(a) : a);
      shown += a + " ";
    }
    SCOPED_TRACE(shown);
    const test::CliResult r = Spell(args);
    EXPECT_EQ(r.code, row.Code) << r.err;
    EXPECT_EQ(r.out, row.Out);
    if (row.Err.empty()) {
      EXPECT_EQ(r.err, "");
    } else {
      EXPECT_TRUE(Contains(r.err, row.Err)) << r.err;
      // A language without a dictionary is named once in a batch.
      EXPECT_EQ(r.err.find(row.Err), r.err.rfind(row.Err)) << r.err;
    }
  }
}

}  // namespace
}  // namespace vocatrix
