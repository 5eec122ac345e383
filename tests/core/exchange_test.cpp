// SPDX-License-Identifier: GPL-3.0-or-later
// KVTML and CSV/TSV exchange files and the gateway of formats.

#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "files/csv/csvfile.h"
#include "files/kvtml/kvtml.h"
#include "files/lessonfiles.h"
#include "files/lessonformats.h"
#include "model/exceptions.h"
#include "model/lesson.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::KvtmlLanguages;
using test::MakeEntry;
using test::MessageOf;
using test::MakeLesson;
using test::ReadFile;
using test::TempDir;
using test::Texts;
using test::WriteFile;
using Lines = std::vector<std::string>;

std::string Joined(const TWordCollection& list) {
  std::string out;
  for (const std::string& text : Texts(list)) out += (out.empty() ? "" : ",") + text;
  return out;
}

// One line per entry: form|synonyms|translations|antonyms|antonym translations.
Lines Describe(const TMeanCollection& lesson) {
  Lines lines{lesson.Language1.Name + "/" + lesson.Language2.Name};
  for (int i = 0; i < lesson.EntryCount(); ++i) {
    const TMeaning& m = *lesson.At(i);
    lines.push_back(std::to_string(m.Form) + "|" + Joined(m.Synonyms) + "|" + Joined(m.Translations) + "|" +
                    Joined(m.Antonyms) + "|" + Joined(m.AntonymTranslations));
  }
  return lines;
}

class ExchangeRoundTrip : public testing::TestWithParam<const char*> {};

TEST_P(ExchangeRoundTrip, ReadsBackEveryListAndForm) {
  // Uneven lists, one-sided rows, every form, quotes, separators, Windows-1252 letters.
  auto lesson = MakeLesson("English", "Fran\xE7" "ais",
                           {MakeEntry(0, {"go", "walk", "stroll"}, {"aller"}, {"stay"}, {"rester", "demeurer"}),
                            MakeEntry(1, {"house"}, {"maison", "logis", "demeure"}),
                            MakeEntry(2, {"big, \"large\""}, {"grand\tgros"}, {}, {"petit"}),
                            MakeEntry(3, {}, {"vite"}, {"slowly"}, {}),
                            MakeEntry(4, {"caf\xE9 \x80 5"}, {"caf\xE9"}),
                            MakeEntry(4, {}, {})});
  lesson->Title = "Mixed <words> & more";
  lesson->Topic = "Topic";
  lesson->Author = "Author";
  TempDir dir;
  const std::string file = dir.File(std::string("lesson.") + GetParam());
  TransferReport written;
  WriteLessonByFormat(*lesson, file, std::string(), written);
  TransferReport read;
  const auto back = ReadLessonByFormat(file, ReadOptions(), read);
  EXPECT_EQ(Describe(*back), Describe(*lesson));
  EXPECT_TRUE(written.Uncarried.empty());
  EXPECT_EQ(read.Skipped, 0);
  EXPECT_EQ(read.LeftOutTotal(), 0);
  EXPECT_FALSE(read.LostAny());
  EXPECT_FALSE(back->Modified);
  // Only KVTML has room for the header.
  const bool kvtml = SameTextAsciiCaseless(GetParam(), "kvtml");
  EXPECT_EQ(back->Title, kvtml ? lesson->Title : "");
  EXPECT_EQ(back->Topic + back->Author, kvtml ? "TopicAuthor" : "");
}

INSTANTIATE_TEST_SUITE_P(Formats, ExchangeRoundTrip, testing::Values("kvtml", "csv", "tsv", "KVTML"));

// A file in the shape KDE's vocabulary library writes: three languages,
// pictures, grades, comments, conjugations, nested and own word types, two
// lessons, synonym and antonym pairs.
const char kKdeDocument[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE kvtml PUBLIC "kvtml2.dtd" "http://edu.kde.org/kvtml/kvtml2.dtd">
<kvtml version="2.0">
  <information>
    <generator>kwordquiz 0.9.2</generator>
    <title>Animals</title>
    <author>Jane Doe</author>
    <comment>Farm animals</comment>
    <category>Nature</category>
  </information>
  <identifiers>
    <identifier id="0">
      <name>English</name>
      <locale>en</locale>
      <article><singular><definite><male>the</male></definite></singular></article>
    </identifier>
    <identifier id="1"><name>Deutsch</name><locale>de</locale></identifier>
    <identifier id="2"><name>Français</name><locale>fr</locale></identifier>
  </identifiers>
  <entries>
    <entry id="0">
      <translation id="0">
        <text>dog</text>
        <grade><currentgrade>3</currentgrade><count>4</count><errorcount>1</errorcount></grade>
        <image>dog.png</image>
      </translation>
      <translation id="1"><text>Hund</text><comment>male</comment></translation>
      <translation id="2"><text>chien</text></translation>
    </entry>
    <entry id="1"><translation id="0"><text>hound</text></translation></entry>
    <entry id="2">
      <translation id="0"><text>cat</text></translation>
      <translation id="1"><text>Katze</text></translation>
      <translation id="2"><text>chat</text></translation>
    </entry>
    <entry id="3">
      <translation id="0"><text>run</text></translation>
      <translation id="1">
        <text>laufen</text>
        <conjugation><tense>Present</tense><singular><firstperson>laufe</firstperson></singular></conjugation>
      </translation>
      <translation id="2"><text>courir</text></translation>
    </entry>
    <entry id="4">
      <translation id="0"><text> stand </text></translation>
      <translation id="1"><text>stehen</text></translation>
      <translation id="2"><text>être debout ☺</text></translation>
    </entry>
  </entries>
  <lessons>
    <container><name>Lesson 1</name><inpractice>true</inpractice><entry id="0"/><entry id="1"/><entry id="2"/></container>
    <container><name>Lesson 2</name><inpractice>false</inpractice><entry id="3"/><entry id="4"/></container>
  </lessons>
  <wordtypes>
    <container>
      <name>Noun</name>
      <specialwordtype>noun</specialwordtype>
      <container><name>Male</name><specialwordtype>noun/male</specialwordtype><entry id="0"><translation id="1"/></entry></container>
      <container><name>Female</name><specialwordtype>noun/female</specialwordtype><entry id="2"><translation id="1"/></entry></container>
      <entry id="0"><translation id="0"/></entry>
    </container>
    <container>
      <name>Verb</name>
      <specialwordtype>verb</specialwordtype>
      <entry id="3"><translation id="0"/><translation id="1"/></entry>
      <entry id="4"><translation id="0"/></entry>
    </container>
    <container><name>Phrases</name><entry id="4"><translation id="2"/></entry></container>
  </wordtypes>
  <synonym><pair><entry id="0"><translation id="0"/></entry><entry id="1"><translation id="0"/></entry></pair></synonym>
  <antonym><pair><entry id="3"><translation id="0"/></entry><entry id="4"><translation id="0"/></entry></pair></antonym>
</kvtml>
)";

struct KdeCase {
  ReadOptions options;
  Lines lesson;
  int skipped;
  std::size_t replaced;
};

class KvtmlKdeFile : public testing::TestWithParam<KdeCase> {};

TEST_P(KvtmlKdeFile, ReadsTheChosenLanguagesAndCountsWhatALessonCannotHold) {
  auto lesson = std::make_unique<TMeanCollection>();
  TransferReport report;
  ParseKvtml(kKdeDocument, "animals.kvtml", GetParam().options, *lesson, report);
  EXPECT_EQ(Describe(*lesson), GetParam().lesson);
  EXPECT_EQ(report.LeftOutTotal(), GetParam().skipped);
  EXPECT_EQ(report.Lost.Characters(), GetParam().replaced);
  EXPECT_EQ(lesson->Title + "/" + lesson->Topic + "/" + lesson->Author, "Animals/Nature/Jane Doe");
}

INSTANTIATE_TEST_SUITE_P(
    Languages, KvtmlKdeFile,
    testing::Values(
        // Grade, picture, comment and conjugation skipped; subtypes count as their type.
        KdeCase{{}, {"English/Deutsch", "1|dog,hound|Hund||", "1|cat|Katze||", "0|run|laufen|stand|stehen"}, 4, 0},
        // The pairs hold in any choice; a user's own word type is skipped;
        // the smiley has no Windows-1252 code.
        KdeCase{KvtmlLanguages(2, 0),
                {"Fran\xE7" "ais/English", "1|chien|dog,hound||", "4|chat|cat||",
                 "0|courir|run|\xEAtre debout ?|stand"},
                3, 1}));

TEST(Kvtml, RefusesWhatIsNoKvtmlAndMissingLanguages) {
  const struct {
    std::string data;
    ReadOptions options;
    std::string message;
  } cases[] = {
      {"<kvtml version=\"2.0\"><entries>", {}, "Format error in file 'f.kvtml'."},
      {"<kvtml version=\"3.0\"><identifiers/></kvtml>", {}, "File 'f.kvtml' is a higher Version."},
      {"<vocabulary version=\"2.0\"/>", {}, "Format error in file 'f.kvtml'."},
      // Entities of the document's own are refused, and expand nothing.
      {"<!DOCTYPE kvtml [<!ENTITY a \"aaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><kvtml version=\"2.0\"/>", {},
       "Format error in file 'f.kvtml'."},
      {"<kvtml version=\"2.0\"><identifiers/></kvtml>", {}, "Format error in file 'f.kvtml'."},
      {kKdeDocument, KvtmlLanguages(0, 5), "'f.kvtml' has no language with the identifier 5."},
  };
  for (const auto& c : cases) {
    TMeanCollection lesson;
    TransferReport report;
    EXPECT_EQ(MessageOf([&] { ParseKvtml(c.data, "f.kvtml", c.options, lesson, report); }), c.message) << c.data;
  }
  // One language only: the other side stays empty.
  TMeanCollection lesson;
  TransferReport report;
  ParseKvtml("<kvtml version=\"2.0\"><identifiers><identifier id=\"3\"><name>Latin</name></identifier></identifiers>"
             "<entries><entry id=\"0\"><translation id=\"3\"><text>canis</text></translation>"
             "<translation><text>x</text></translation></entry></entries></kvtml>",
             "f.kvtml", {}, lesson, report);
  EXPECT_EQ(Describe(lesson), (Lines{"Latin/Language 2", "4|canis|||"}));
}

TEST(Kvtml, WritesKdesShape) {
  auto lesson = MakeLesson("English", "Deutsch", {MakeEntry(1, {"car", "auto"}, {"Auto"}, {}, {"Fu\xDFg\xE4nger"})});
  lesson->Title = "Traffic";
  const std::string image = KvtmlImage(*lesson);
  for (const char* part : {
           "<kvtml version=\"2.0\">", "<title>Traffic</title>", "<identifier id=\"1\">\n      <name>Deutsch</name>\n"
           "      <locale>de</locale>",
           // entry 0: car/Auto; entry 1: auto; entry 2: the antonym translation
           "<entry id=\"1\">\n      <translation id=\"0\"><text>auto</text></translation>\n    </entry>",
           "<entry id=\"2\">\n      <translation id=\"0\" />\n"
           "      <translation id=\"1\"><text>Fußgänger</text></translation>\n    </entry>",
           "<container>\n      <name>Traffic</name>\n      <inpractice>true</inpractice>\n      <entry id=\"0\" />",
           "<name>Noun</name>\n      <specialwordtype>noun</specialwordtype>\n"
           "      <entry id=\"0\"><translation id=\"0\" /><translation id=\"1\" /></entry>\n"
           "      <entry id=\"1\"><translation id=\"0\" /></entry>",
           "<synonym>\n    <pair><entry id=\"0\"><translation id=\"0\" /></entry>"
           "<entry id=\"1\"><translation id=\"0\" /></entry></pair>\n  </synonym>",
           "<antonym>\n    <pair><entry id=\"0\"><translation id=\"1\" /></entry>"
           "<entry id=\"2\"><translation id=\"1\" /></entry></pair>\n  </antonym>\n</kvtml>"})
    EXPECT_NE(image.find(part), std::string::npos) << part << "\n" << image;
}

struct CsvCase {
  const char* name;
  std::string data;
  char separator;
  Lines lesson;
  int skipped;
  std::size_t replaced;
};

class CsvRead : public testing::TestWithParam<CsvCase> {};

TEST_P(CsvRead, TakesWhatSpreadsheetsWrite) {
  TMeanCollection lesson;
  TransferReport report;
  CsvOptions options;
  options.Separator = GetParam().separator;
  ParseCsv(GetParam().data, options, "f.csv", lesson, report);
  EXPECT_EQ(Describe(lesson), GetParam().lesson);
  EXPECT_EQ(report.LeftOutTotal(), GetParam().skipped);
  EXPECT_EQ(report.Lost.Characters(), GetParam().replaced);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CsvRead,
    testing::Values(
        CsvCase{"BomCommaCrLf",
                "\xEF\xBB\xBF" "English,Synonyms,Deutsch,Antonyms,Antonym translations,Form\r\n"
                "big,large; huge,gro\xC3\x9F,small,klein,adj.\r\n",
                0, {"English/Deutsch", "2|big,large,huge|gro\xDF|small|klein"}, 0, 0},
        CsvCase{"SemicolonQuotedLineBreaksLf",
                "Word;Synonyms;Translation;Antonyms;Antonym translations;Form\n"
                "\"say \"\"hi\"\"\";;\"hallo; gr\xC3\xBC\xC3\x9F" "en\";;;VERB\n"
                "\"two\nlines\";\"a;b\";\"x\r\ny\";;;\n\n",
                0, {"Language 1/Language 2", "0|say \"hi\"|hallo,gr\xFC\xDF" "en||", "4|two\nlines,a,b|x\r\ny||"}, 0, 0},
        CsvCase{"WindowsCodePageNoHeaderNamesCr",
                ",Synonyms,,Antonyms,Antonym translations,Form\r\"Stra\xDF" "e\",,rue,,,s.\rend,,fin,,,Noun\r",
                0, {"Language 1/Language 2", "1|Stra\xDF" "e|rue||", "1|end|fin||"}, 0, 0},
        CsvCase{"TabsWithCommasAndUnknownForm",
                "A\tSynonyms\tB\tAntonyms\tAntonym translations\tForm\n"
                "a, b\t\tc, d\t\t\tpronoun\textra\tmore\n"
                "\xE2\x86\x92\t\t\xD0\xB4\t\t\t\n",
                '\t', {"A/B", "4|a, b|c, d||", "4|?|?||"}, 3, 2}));

TEST(Csv, WritesQuotedFieldsHeaderAndByteOrderMark) {
  auto lesson = MakeLesson("Eng, lish", "Deutsch",
                           {MakeEntry(0, {"say \"hi\"", "greet"}, {"gr\xFC\xDF" "en", "hallo"}, {"a;b"}, {}),
                            MakeEntry(4, {"x\ty"}, {})});
  TransferReport report;
  // Every field holding a character a reader may take for a separator is
  // quoted, whichever separator the file has.
  EXPECT_EQ(CsvImage(*lesson, ',', true, report),
            "\xEF\xBB\xBF\"Eng, lish\",Synonyms,Deutsch,Antonyms,Antonym translations,Form\r\n"
            "\"say \"\"hi\"\"\",greet,\"gr\xC3\xBC\xC3\x9F" "en; hallo\",\"a;b\",,v.\r\n"
            "\"x\ty\",,,,,\r\n");
  EXPECT_EQ(report.Uncarried, Lines{"a;b"});
  TransferReport tabReport;
  EXPECT_EQ(CsvImage(*lesson, '\t', false, tabReport).substr(0, 16), "\"Eng, lish\"\tSyno");
  EXPECT_NE(CsvImage(*lesson, '\t', false, tabReport).find("\"x\ty\"\t\t\t\t\t\r\n"), std::string::npos);
}

TEST(LessonFormats, KindsFiltersAndRefusalsComeFromOneTable) {
  EXPECT_EQ(OpenDialogFilter(),
            "Lesson (*.rtf;*.txt;*.tav)|*.rtf;*.txt;*.tav|Rich Text (*.rtf)|*.rtf|Text (*.txt) |*.txt|tavvi "
            "(*.tav)|*.tav");
  EXPECT_EQ(SaveDialogFilter(), "Rich Text (*rtf)|*.rtf|Text (*.txt)|*.txt|tavvi (*.tav)|*.tav");
  EXPECT_EQ(ExchangeDialogFilter(), "KVTML (*.kvtml)|*.kvtml|CSV (*.csv)|*.csv|Tab-separated (*.tsv)|*.tsv|Anki deck "
                                    "(*.apkg)|*.apkg");
  TempDir dir;
  auto lesson = MakeLesson("A", "B", {MakeEntry(1, {"a"}, {"b"})});
  for (const char* name : {"x.kvtml", "x.CSV", "x.tsv", "x.apkg"}) {
    // Exchange files are no lesson kinds: Open and Save refuse them as before.
    const std::string file = dir.File(name);
    EXPECT_EQ(FileKind(file), kNotLesson);
    EXPECT_EQ(MessageOf([&] { lesson->SaveToFile(file); }), "'" + file + "' is not a lesson file.");
    TransferReport report;
    WriteLessonByFormat(*lesson, file, std::string(), report);
    EXPECT_EQ(MessageOf([&] { TMeanCollection::CreateFromFile(file); }), "'" + file + "' is not a lesson file.");
  }
  // The gateway's writers of the lesson kinds write what SaveToFile writes;
  // only the command line asks for real rich text.
  for (const char* name : {"y.txt", "y.rtf", "y.tav"}) {
    TransferReport report;
    WriteLessonByFormat(*lesson, dir.File(std::string("g") + name), std::string(), report);
    lesson->SaveToFile(dir.File(name));
    EXPECT_EQ(ReadFile(dir.File(std::string("g") + name)), ReadFile(dir.File(name))) << name;
  }
  TransferReport report;
  WriteLessonByFormat(*lesson, dir.File("rich.rtf"), std::string(), report, true);
  EXPECT_EQ(ReadFile(dir.File("rich.rtf")).substr(0, 5), "{\\rtf");
  EXPECT_EQ(MessageOf([&] { WriteLessonByFormat(*lesson, dir.File("z.doc"), std::string(), report); }),
            "'" + dir.File("z.doc") + "' is not a lesson file.");
}

}  // namespace
}  // namespace vocatrix
