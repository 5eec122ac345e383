// SPDX-License-Identifier: GPL-3.0-or-later
// vocatrix-cli convert with KVTML, CSV and TSV files.

#include <gtest/gtest.h>

#include "cli_runner.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

using test::Contains;
using test::MakeEntry;
using test::MakeLesson;
using test::RunCliWith;
using test::TempDir;
using test::Texts;
using test::WriteFile;

std::vector<std::string> EntryLines(const TMeanCollection& lesson) {
  std::vector<std::string> lines{lesson.Language1.Name + "/" + lesson.Language2.Name};
  for (int i = 0; i < lesson.EntryCount(); ++i) {
    std::string line = std::to_string(lesson.At(i)->Form);
    for (int kind = 0; kind < 4; ++kind)
      for (const std::string& word : Texts(lesson.At(i)->ListOfKind(kind))) line += "|" + std::to_string(kind) + word;
    lines.push_back(line);
  }
  return lines;
}

TEST(CliExchange, ConvertsThroughEveryExchangeFormatAndPicksKvtmlLanguages) {
  TempDir dir;
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(0, {"go", "walk"}, {"gehen"}, {"stay"}, {"bleiben"}),
                            MakeEntry(2, {"big"}, {"gro\xDF", "riesig"}, {"small"}, {})});
  lesson->SaveToFile(dir.File("in.tav"));
  // .tav -> .kvtml -> .csv -> .tsv -> .apkg -> .tav keeps every entry.
  const char* chain[] = {"in.tav", "a.kvtml", "b.csv", "c.tsv", "e.apkg", "d.tav"};
  for (int i = 0; i + 1 < 6; ++i) {
    const auto r = RunCliWith({"convert", dir.File(chain[i]), dir.File(chain[i + 1])});
    EXPECT_EQ(r.code, 0) << chain[i + 1] << r.err;
    EXPECT_EQ(r.err, "");
  }
  EXPECT_EQ(EntryLines(*TMeanCollection::CreateFromFile(dir.File("d.tav"))), EntryLines(*lesson));
  // A deck that is none fails naming the file.
  WriteFile(dir.File("bad.apkg"), "not a zip");
  const auto bad = RunCliWith({"convert", dir.File("bad.apkg"), dir.File("bad.tav")});
  EXPECT_EQ(bad.code, 1);
  EXPECT_EQ(bad.err, "vocatrix-cli: '" + dir.File("bad.apkg") + "' is no Anki deck: it is not a zip archive.\n");

  // Identifiers in another order mirror the lesson; both spellings of the option.
  lesson->Mirror();
  for (const std::vector<std::string>& option : {std::vector<std::string>{"--languages", "1,0"},
                                                 std::vector<std::string>{"--languages=1,0"}}) {
    std::vector<std::string> args{"convert", dir.File("a.kvtml"), dir.File("m.tav")};
    args.insert(args.end(), option.begin(), option.end());
    EXPECT_EQ(RunCliWith(args).code, 0);
    EXPECT_EQ(EntryLines(*TMeanCollection::CreateFromFile(dir.File("m.tav"))), EntryLines(*lesson));
  }

  // A word that would lose a character stops the conversion, unless the
  // user agrees to "?"; what a lesson cannot hold is named (an empty grade
  // is nothing).
  WriteFile(dir.File("kde.kvtml"),
            "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><name>A</name></identifier>"
            "<identifier id=\"1\"><name>B</name></identifier></identifiers><entries><entry id=\"0\">"
            "<translation id=\"0\"><text>\xE2\x98\xBA</text><image>x.png</image><grade/></translation>"
            "<translation id=\"1\"><text>\xD0\xB4\xD0\xBE\xD0\xBC</text></translation>"
            "</entry><entry id=\"1\"><translation id=\"0\"><text>house</text></translation></entry>"
            "</entries></kvtml>");
  auto r = RunCliWith({"convert", dir.File("kde.kvtml"), dir.File("kde.txt")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "vocatrix-cli: '" + dir.File("kde.kvtml") +
                       "': 2 of 3 words hold characters a lesson file cannot store (for example Cyrillic); they would "
                       "be changed to '?'. Give --replace-unsupported to convert it anyway.\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("kde.txt")));
  r = RunCliWith({"convert", "--replace-unsupported", dir.File("kde.kvtml"), dir.File("kde.txt")});
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(Contains(r.err, "kde.kvtml': left out what a lesson cannot hold: pictures: 1.")) << r.err;
  EXPECT_TRUE(Contains(r.err, "kde.kvtml': 2 of 3 words hold characters a lesson file cannot store (for example "
                              "Cyrillic); they were read as '?'.")) << r.err;
  r = RunCliWith({"convert", dir.File("kde.kvtml"), dir.File("kde.txt"), "--languages", "0,7"});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(Contains(r.err, "has no language with the identifier 7.")) << r.err;
  for (const char* bad : {"1", "a,b", ",1", "1,"}) {
    r = RunCliWith({"convert", "--languages", bad, dir.File("kde.kvtml"), dir.File("kde.txt")});
    EXPECT_EQ(r.code, 2) << bad;
  }
  EXPECT_EQ(RunCliWith({"convert", dir.File("kde.kvtml"), dir.File("kde.txt"), "--languages"}).code, 2);
}

TEST(CliExchange, ConvertTakesTheLayoutOfDelimitedTextAsTheImportDialogOffersIt) {
  TempDir dir;
  // An Anki text export: without options a ".txt" is lesson text, of which not one line reads as an entry.
  WriteFile(dir.File("anki.txt"), "1\thouse\tHaus\tnoun\n2\tto go\tgehen; laufen\tverb\n");
  auto r = RunCliWith({"convert", dir.File("anki.txt"), dir.File("text.tav")});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "vocatrix-cli: '" + dir.File("anki.txt") +
                       "': no entry line could be read; if this is a spreadsheet or Anki export, use --columns.\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("text.tav")));
  r = RunCliWith({"convert", dir.File("anki.txt"), dir.File("anki.tav"), "--separator", "tab", "--no-header",
                  "--columns", "ignore,word,translations", "--language1=English", "--language2", "Deutsch"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(Contains(r.err, "left out what a lesson cannot hold: fields of columns not read: 4.")) << r.err;
  EXPECT_EQ(EntryLines(*TMeanCollection::CreateFromFile(dir.File("anki.tav"))),
            (std::vector<std::string>{"English/Deutsch", "4|0house|1Haus", "4|0to go|1gehen|1laufen"}));
  // A header chosen names the languages; a ";" file of a spreadsheet.
  WriteFile(dir.File("sheet.csv"), "Deutsch;English\r\nHaus;house\r\n");
  for (const auto& [option, expected] : std::vector<std::pair<std::string, std::string>>{
           {"--header", "Deutsch/English"}, {"--no-header", "Language 1/Language 2"}}) {
    r = RunCliWith({"convert", option, dir.File("sheet.csv"), dir.File("sheet.tav")});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(EntryLines(*TMeanCollection::CreateFromFile(dir.File("sheet.tav")))[0], expected);
  }
  // Delimited text is compacted as it is read, as the editor imports it: a
  // tag read as antonyms ties every note to every other, a word shared
  // merges two rows.
  WriteFile(dir.File("deck.txt"), "#separator:tab\n#columns:Front\tBack\tTags\ndog\tHund\tpets\ncat\tKatze\tpets\n");
  r = RunCliWith({"convert", dir.File("deck.txt"), dir.File("deck.tav"), "--columns", "word,translations,antonyms"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(EntryLines(*TMeanCollection::CreateFromFile(dir.File("deck.tav"))),
            (std::vector<std::string>{"Language 1/Language 2", "4|0dog|0cat|1Hund|1Katze|2pets"}));
  WriteFile(dir.File("twice.csv"), "English,Deutsch\nhouse,Haus\nhouse,Geb\xC3\xA4ude\n");
  r = RunCliWith({"stats", dir.File("twice.csv")});
  EXPECT_TRUE(Contains(r.out, "entries: 1\n")) << r.out;
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--separator", "tabs"}, {"--encoding", "ebcdic"}, {"--columns", "word,meaning"},
        {"--header", "--no-header"}}) {
    std::vector<std::string> args{"convert", dir.File("sheet.csv"), dir.File("x.tav")};
    args.insert(args.end(), bad.begin(), bad.end());
    EXPECT_EQ(RunCliWith(args).code, 2) << bad[0];
  }
}

}  // namespace
}  // namespace vocatrix
