// SPDX-License-Identifier: GPL-3.0-or-later
// Exchange files as other programs write them: KVTML 1.0 and word lists,
// encodings, Anki and spreadsheet text, the limits of what an import may
// build, and characters a lesson cannot hold.

#include <gtest/gtest.h>

#include "base/cp1252.h"
#include "base/inifile.h"
#include "files/csv/csvchoices.h"
#include "files/csv/csvfile.h"
#include "files/kvtml/kvtml.h"
#include "files/lessonformats.h"
#include "files/textencoding.h"
#include "model/exceptions.h"
#include "model/lesson.h"
#include "exchange_samples.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::KvtmlLanguages;
using test::MakeEntry;
using test::MessageOf;
using test::MakeLesson;
using test::TempDir;
using test::Texts;
using test::WriteFile;
using Lines = std::vector<std::string>;

// The language names, then per entry form|synonyms|translations|antonyms|antonym translations.
Lines EntryLines(const TMeanCollection& lesson) {
  Lines lines{lesson.Language1.Name + "/" + lesson.Language2.Name};
  for (int i = 0; i < lesson.EntryCount(); ++i) {
    const TMeaning& m = *lesson.At(i);
    std::string line = std::to_string(m.Form);
    for (const TWordCollection* list : {&m.Synonyms, &m.Translations, &m.Antonyms, &m.AntonymTranslations}) {
      line += "|";
      const Lines texts = Texts(*list);
      for (std::size_t k = 0; k < texts.size(); ++k) line += (k ? "," : "") + texts[k];
    }
    lines.push_back(line);
  }
  return lines;
}

// "kind:count" of each kind left out, in the order of the kinds.
std::string LeftOutOf(const TransferReport& report) {
  std::string out;
  for (std::size_t kind = 0; kind < kLeftOutKinds; ++kind)
    if (report.LeftOutItems[kind] > 0)
      out += (out.empty() ? "" : " ") + std::to_string(kind) + ":" + std::to_string(report.LeftOutItems[kind]);
  return out;
}

std::string Kind(LeftOut kind, int count) {
  return std::to_string(static_cast<int>(kind)) + ":" + std::to_string(count);
}


TEST(KvtmlWritten, EveryEntryHoldsTranslationZeroBeforeAnyOther) {
  // KDE's library reads a lone translation 1 as the first: an entry with a
  // further translation but no further synonym, one with an antonym
  // translation only, an empty entry.
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(1, {"friend"}, {"Freund", "Freundin"}), MakeEntry(2, {"big"}, {}, {}, {"klein"}),
                            MakeEntry(4, {}, {}), MakeEntry(0, {}, {"gehen"}), MakeEntry(3, {"a", "b", "c"}, {"x"})});
  const std::string image = KvtmlImage(*lesson);
  const std::size_t begin = image.find("<entries>");
  const std::size_t end = image.find("</entries>");
  ASSERT_NE(end, std::string::npos);
  int entries = 0;
  for (std::size_t at = image.find("<entry ", begin); at < end; at = image.find("<entry ", at + 1)) {
    ++entries;
    const std::size_t translation = image.find("<translation", at);
    EXPECT_EQ(image.substr(translation, 19), "<translation id=\"0\"") << image.substr(at, 120);
  }
  EXPECT_EQ(entries, 9);
  TMeanCollection back;
  TransferReport report;
  ParseKvtml(image, "f.kvtml", {}, back, report);
  EXPECT_EQ(EntryLines(back), EntryLines(*lesson));
}

struct Kvtml1Case {
  ReadOptions options;
  Lines lesson;
  std::string leftOut;
};

class Kvtml1 : public testing::TestWithParam<Kvtml1Case> {};

TEST_P(Kvtml1, ReadsEachEntryWithTheChosenColumnsAndNamesWhatIsLeftOut) {
  TMeanCollection lesson;
  TransferReport report;
  ParseKvtml(test::kKvtml1Sample, "tiere.kvtml", GetParam().options, lesson, report);
  EXPECT_EQ(EntryLines(lesson), GetParam().lesson);
  EXPECT_EQ(LeftOutOf(report), GetParam().leftOut);
  EXPECT_EQ(lesson.Title + "/" + lesson.Author, "Tiere/A. Autor");
  EXPECT_FALSE(report.LostAny());
}

INSTANTIATE_TEST_SUITE_P(
    Columns, Kvtml1,
    testing::Values(
        // The remark is a hint; grade, count and date of "dog" are one grade;
        // "#1" is a type of the user's own; the example and the conjugation.
        Kvtml1Case{{},
                   {"Deutsch/English", "1|Hund,K\xF6ter|dog||", "0|stehen|stand|liegen|lie", "4|Guten Tag|good day||",
                    "2|gro\xDF|big||"},
                   Kind(LeftOut::Hints, 1) + " " + Kind(LeftOut::Grades, 1) + " " + Kind(LeftOut::Conjugations, 1) +
                       " " + Kind(LeftOut::Examples, 1) + " " + Kind(LeftOut::WordTypes, 1)},
        Kvtml1Case{KvtmlLanguages(2, 0),
                   {"Fran\xE7" "ais/Deutsch", "1|chien|Hund,K\xF6ter||", "0|\xEAtre debout|stehen||liegen",
                    "4|bonjour|Guten Tag||", "2||gro\xDF||"},
                   Kind(LeftOut::Hints, 1) + " " + Kind(LeftOut::Examples, 1) + " " + Kind(LeftOut::Pronunciations, 1) +
                       " " + Kind(LeftOut::WordTypes, 1)}));

TEST(Kvtml1, RefusesAColumnTheFileLacks) {
  TMeanCollection lesson;
  TransferReport report;
  EXPECT_EQ(MessageOf([&] { ParseKvtml(test::kKvtml1Sample, "f.kvtml", KvtmlLanguages(0, 3), lesson, report); }),
            "'f.kvtml' has no language with the identifier 3.");
}

TEST(KvtmlWordList, NamesTheLanguageByItsLocaleAndCountsHintsUndeclaredAndRepeatedEntries) {
  TMeanCollection lesson;
  TransferReport report;
  ParseKvtml(test::kOneLanguageList, "de/easy.kvtml", {}, lesson, report);
  EXPECT_EQ(EntryLines(lesson), (Lines{"Deutsch/Language 2", "4|Hund|||", "4|Katze|||", "4|Pferd|||"}));
  EXPECT_EQ(LeftOutOf(report), Kind(LeftOut::Hints, 1) + " " + Kind(LeftOut::Undeclared, 1) + " " +
                                   Kind(LeftOut::RepeatedEntries, 1));
  EXPECT_EQ(report.UndeclaredTexts, Lines{"M\xF6" "bel"});
  EXPECT_EQ(ReadNotes(report, "easy.kvtml", true),
            Lines{"'easy.kvtml': left out what a lesson cannot hold: comments (hints): 1, translations in languages "
                  "the file does not declare: 1 (\"M\xC3\xB6" "bel\"), entries whose id an earlier entry has: 1."});
  // The locale goes back out with the name; a name no table knows has none.
  const std::string image = KvtmlImage(lesson);
  EXPECT_NE(image.find("<name>Deutsch</name>\n      <locale>de</locale>"), std::string::npos);
  EXPECT_NE(image.find("<name>Language 2</name>\n    </identifier>"), std::string::npos);
  for (const auto& [name, locale] : std::vector<std::pair<std::string, std::string>>{
           {"German", "de"}, {"FRAN\xC7" "AIS", "fr"}, {"Russian", "ru"}, {"Klingon", ""}})
    EXPECT_EQ(LocaleOfLanguage(name), locale) << name;
  for (const auto& [locale, name] : std::vector<std::pair<std::string, std::string>>{
           {"de_CH", "Deutsch"}, {"pt-BR", "Portugu\xEAs"}, {"sr@latin", "Serbian"}, {"tlh", ""}})
    EXPECT_EQ(LanguageOfLocale(locale), name) << locale;
}

std::string Utf16(std::string_view ascii, bool bigEndian) {
  std::string out;
  for (char c : ascii) {
    out += bigEndian ? '\0' : c;
    out += bigEndian ? c : '\0';
  }
  return out;
}

TEST(KvtmlEncodings, ReadByByteOrderMarkAndDeclarationAndSayWhenUtf8IsNone) {
  const std::string body = "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><name>A</name></identifier>"
                           "<identifier id=\"1\"><name>B</name></identifier></identifiers><entries><entry id=\"0\">"
                           "<translation id=\"0\"><text>Fran";
  const std::string tail = "ais</text></translation><translation id=\"1\"><text>x</text></translation></entry>"
                           "</entries></kvtml>";
  const struct {
    const char* name;
    std::string data;
    bool notUtf8;
  } cases[] = {
      {"Utf16LeWithMark", "\xFF\xFE" + Utf16(body, false) + std::string("\xE7\0", 2) + Utf16(tail, false), false},
      {"Utf16BeWithMark", "\xFE\xFF" + Utf16(body, true) + std::string("\0\xE7", 2) + Utf16(tail, true), false},
      {"Utf8WithMark", "\xEF\xBB\xBF" + body + "\xC3\xA7" + tail, false},
      {"Latin1Declared", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>" + body + "\xE7" + tail, false},
      {"Windows1252Declared", "<?xml version='1.0' encoding='windows-1252'?>" + body + "\xE7" + tail, false},
      {"Utf8DeclaredButLatin1", "<?xml version=\"1.0\" encoding=\"UTF-8\"?>" + body + "\xE7" + tail, true},
      {"NothingDeclaredLatin1", body + "\xE7" + tail, true},
  };
  for (const auto& c : cases) {
    TMeanCollection lesson;
    TransferReport report;
    ParseKvtml(c.data, "f.kvtml", {}, lesson, report);
    EXPECT_EQ(EntryLines(lesson), (Lines{"A/B", "4|Fran\xE7" "ais|x||"})) << c.name;
    EXPECT_EQ(report.NotUtf8, c.notUtf8) << c.name;
    EXPECT_FALSE(report.LostAny()) << c.name;
  }
  TransferReport report;
  report.NotUtf8 = true;
  EXPECT_EQ(ReadNotes(report, "f.kvtml", true), Lines{"'f.kvtml' is not valid UTF-8; it was read as Windows-1252."});
}

TEST(KvtmlNesting, DeepDocumentsAreWalkedWithoutRecursion) {
  // 200,000 nested word-type containers and as many unknown elements: no
  // stack grows with them. The entry takes the form of the outermost type.
  constexpr int kDepth = 200000;
  std::string data = "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"><name>A</name></identifier>"
                     "</identifiers><entries><entry id=\"0\"><translation id=\"0\"><text>go</text></translation>"
                     "</entry></entries><wordtypes><container><specialwordtype>verb</specialwordtype>";
  for (int i = 0; i < kDepth; ++i) data += "<container>";
  data += "<entry id=\"0\"><translation id=\"0\"/></entry>";
  for (int i = 0; i < kDepth; ++i) data += "</container>";
  data += "</container></wordtypes><x>";
  for (int i = 0; i < kDepth; ++i) data += "<y>";
  for (int i = 0; i < kDepth; ++i) data += "</y>";
  data += "</x></kvtml>";
  TMeanCollection lesson;
  TransferReport report;
  ParseKvtml(data, "deep.kvtml", {}, lesson, report);
  EXPECT_EQ(EntryLines(lesson), (Lines{"A/Language 2", "0|go|||"}));
}

TEST(ImportLimits, ReadingStopsAtWhatALessonCanHold) {
  std::string csv = "A,Synonyms,B,Antonyms,Antonym translations,Form\n";
  for (int i = 0; i < 70000; ++i) csv += "w" + std::to_string(i) + "\n";
  TMeanCollection lesson;
  TransferReport report;
  EXPECT_EQ(MessageOf([&] { ParseCsv(csv, {}, "f.csv", lesson, report); }),
            "70000 entries: a lesson holds at most 65535.");
  std::string kvtml = "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/></identifiers><entries>";
  for (int i = 0; i <= TMeanCollection::kMaxEntries; ++i) kvtml += "<entry id=\"" + std::to_string(i) + "\"/>";
  kvtml += "</entries></kvtml>";
  EXPECT_EQ(MessageOf([&] { ParseKvtml(kvtml, "f.kvtml", {}, lesson, report); }),
            "65536 entries: a lesson holds at most 65535.");
  // Words beyond the memory of an import: 500,000 in one field.
  std::string words = "w";
  for (int i = 0; i < 500000; ++i) words += ";" + std::to_string(i);
  EXPECT_EQ(MessageOf([&] { ParseCsv("a\t" + words + "\n", {}, "f.tsv", lesson, report); }),
            "'f.tsv' holds more words than a lesson can take: they would need more than 64 MB.");
  // One entry of 60,000 synonyms: each pair ties a word to entry 0, and the
  // list takes each word once.
  kvtml = "<kvtml version=\"2.0\"><identifiers><identifier id=\"0\"/></identifiers><entries>";
  std::string pairs;
  for (int i = 0; i < 60000; ++i) {
    kvtml += "<entry id=\"" + std::to_string(i) + "\"><translation id=\"0\"><text>w" + std::to_string(i % 59999) +
             "</text></translation></entry>";
    if (i > 0) pairs += "<pair><entry id=\"0\"/><entry id=\"" + std::to_string(i) + "\"/></pair>";
  }
  kvtml += "</entries><synonym>" + pairs + "</synonym></kvtml>";
  TMeanCollection big;
  ParseKvtml(kvtml, "f.kvtml", {}, big, report);
  ASSERT_EQ(big.EntryCount(), 1);
  EXPECT_EQ(big.At(0)->Synonyms.Count(), 59999);
}

struct DelimitedCase {
  const char* name;
  std::string data;
  std::function<void(CsvOptions&)> choose;
  Lines lesson;
  std::string leftOut;
};

class DelimitedText : public testing::TestWithParam<DelimitedCase> {};

TEST_P(DelimitedText, ReadsWhatSpreadsheetsAndAnkiWrite) {
  CsvOptions options;
  if (GetParam().choose) GetParam().choose(options);
  TMeanCollection lesson;
  TransferReport report;
  ParseCsv(GetParam().data, options, "f.csv", lesson, report);
  EXPECT_EQ(EntryLines(lesson), GetParam().lesson);
  EXPECT_EQ(LeftOutOf(report), GetParam().leftOut);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DelimitedText,
    testing::Values(
        // Two columns are a word and its translation, never a header.
        DelimitedCase{"AnkiPlain", test::kAnkiPlain, nullptr,
                      {"Language 1/Language 2", "4|house|Haus||", "4|to go|gehen,laufen||"}, ""},
        DelimitedCase{"AnkiHeaders", test::kAnkiWithHeaders, nullptr,
                      {"English/Deutsch", "4|house|das Haus,das Geb\xE4ude||", "4|street|Stra\xDF" "e||"},
                      Kind(LeftOut::Columns, 3)},
        // A first row of language names is a header; one chosen away is data.
        DelimitedCase{"SpreadsheetLanguagesNameColumns", test::kTwoColumnSpreadsheet, nullptr,
                      {"Deutsch/English", "4|Haus|house||", "4|gehen|to go||"}, ""},
        DelimitedCase{"SpreadsheetHeaderChosenAway", test::kTwoColumnSpreadsheet,
                      [](CsvOptions& o) { o.Header = HeaderRow::No; },
                      {"Language 1/Language 2", "4|Deutsch|English||", "4|Haus|house||", "4|gehen|to go||"}, ""},
        // Named columns take their roles by name, in any order and either
        // language; names of roles and numbers name no language.
        DelimitedCase{"FormColumnNamed", "English;Deutsch;Form\nhouse;Haus;s.\nto go;gehen;VERB\n", nullptr,
                      {"English/Deutsch", "1|house|Haus||", "0|to go|gehen||"}, ""},
        DelimitedCase{"GermanRoleNames",
                      "Nr\tWortart\tAntonyme\tWort\t\xDC" "bersetzung\n1\tadj.\tsmall\tbig\tgro\xDF\n", nullptr, {"Language 1/Language 2", "2|big|gro\xDF|small|"}, Kind(LeftOut::Columns, 1)},
        DelimitedCase{"OneNameIsNoHeader", "Form;Gestalt\nhouse;Haus\n", nullptr,
                      {"Language 1/Language 2", "4|Form|Gestalt||", "4|house|Haus||"}, ""},
        // Anki's "#columns:" names a note type's fields: "Tags" is not read,
        // "Front" and "Back" are no languages; its data row is no header.
        DelimitedCase{"AnkiFieldNames", "#separator:tab\n#columns:Front\tBack\tTags\nEnglish\tDeutsch\tanimals\n",
                      nullptr, {"Language 1/Language 2", "4|English|Deutsch||"}, Kind(LeftOut::Columns, 1)},
        DelimitedCase{"SixColumnsWithSemicolons", test::kSixColumnSemicolons, nullptr,
                      {"English/Deutsch", "2|big,large|gro\xDF|small|klein", "0|go; walk|gehen||"}, ""},
        DelimitedCase{"SixColumnsWithCommas",
                      "English,Synonyms,Deutsch,Antonyms,Antonym translations,Form\r\nbig,,gro\xDF,small,,"
                      "adj.\r\n",
                      nullptr, {"English/Deutsch", "2|big|gro\xDF|small|"}, ""},
        DelimitedCase{"TitleLineThenTabs", test::kKdeCsvExport, nullptr,
                      {"Language 1/Language 2", "4|ding, 1000|||", "4|house|Haus||", "4|tree, bush|Baum||",
                       "4|go|gehen||"},
                      ""},
        DelimitedCase{"RolesAndNamesChosen", "1;house;Haus;s.;x\n2;go;gehen;v.;\n",
                      [](CsvOptions& o) {
                        o.Columns = {ColumnRole::Ignore, ColumnRole::Translations, ColumnRole::Word, ColumnRole::Form};
                        o.Language1 = "Deutsch";
                        o.Language2 = "English";
                      },
                      {"Deutsch/English", "1|Haus|house||", "0|gehen|go||"}, Kind(LeftOut::Columns, 3)},
        DelimitedCase{"Utf16WithMark",
                      "\xFF\xFE" + Utf16("house\tHaus\r\ndoor\tT", false) + std::string("\xFC\0", 2) +
                          Utf16("r\r\n", false),
                      nullptr, {"Language 1/Language 2", "4|house|Haus||", "4|door|T\xFCr||"}, ""},
        DelimitedCase{"Utf16WithoutMark", Utf16("house\tHaus\ntree\tBaum\n", true), nullptr,
                      {"Language 1/Language 2", "4|house|Haus||", "4|tree|Baum||"}, ""},
        // A row of more fields than any lesson has columns: the rest is counted.
        DelimitedCase{"RowOfManyFields",
                      [] {
                        std::string row = "w0";
                        for (int i = 1; i < 300; ++i) row += ";w" + std::to_string(i);
                        return row + "\n";
                      }(),
                      nullptr, {"Language 1/Language 2", "4|w0|w1||"}, Kind(LeftOut::Columns, 298)},
        // NUL bytes never get into a word.
        DelimitedCase{"NulBytes", std::string("h\0ouse,Ha\0us\n\0,x\n", 17), nullptr,
                      {"Language 1/Language 2", "4|house|Haus||", "4||x||"}, Kind(LeftOut::NulCharacters, 2)}),
    [](const testing::TestParamInfo<DelimitedCase>& info) { return info.param.name; });

TEST(DelimitedText, OwnFilesReadBackAsThemselvesWhateverSeparatorIsGuessed) {
  // Language names full of characters a reader could take for separators,
  // one of them making a header of our own when split at ";".
  for (const auto& [language1, language2] : std::vector<std::pair<std::string, std::string>>{
           {"English;de;fr;it;es;nl;la", "Deutsch"},
           {"English", "q;Synonyms;z;Antonyms;Antonym translations;Form;"}}) {
    auto lesson = MakeLesson(language1, language2,
                             {MakeEntry(1, {"house", "home"}, {"Haus", "Heim"}), MakeEntry(4, {"a|b", "#c"}, {"d\te"}),
                              MakeEntry(0, {"#separator:comma"}, {"x, y"})});
    TempDir dir;
    for (const char* name : {"a.tsv", "b.csv"}) {
      TransferReport report;
      WriteLessonByFormat(*lesson, dir.File(name), std::string(), report);
      TransferReport read;
      const auto back = ReadLessonByFormat(dir.File(name), ReadOptions(), read);
      EXPECT_EQ(EntryLines(*back), EntryLines(*lesson)) << name;
      EXPECT_EQ(LeftOutOf(read), "") << name;
      // And through the reader that guesses everything, as Import does.
      const auto guessed = ImportDelimitedText(dir.File(name), ReadOptions(), read);
      EXPECT_EQ(EntryLines(*guessed), EntryLines(*lesson)) << name;
    }
  }
}

TEST(DelimitedImport, MakesTheCompactedLessonAndCountsTheRowsItComesFrom) {
  // Anki's export of a deck whose notes share the tag "animals".
  const std::string deck = "#separator:tab\n#columns:Front\tBack\tTags\n"
                           "dog\tHund\tanimals\ncat\tKatze\tanimals\nfox\tFuchs\tanimals\ndog\tR\xC3\xBC" "de\t\n";
  const struct {
    const char* name;
    std::string data;
    std::vector<ColumnRole> roles;
    Lines lesson;
  } cases[] = {
      // The tags are not read: only the two "dog" rows merge.
      {"TagsNotRead", deck, {}, {"Language 1/Language 2", "4|dog|Hund,R\xFC" "de||", "4|cat|Katze||", "4|fox|Fuchs||"}},
      // Read as antonyms, the tag ties every row to every other.
      {"TagsAsAntonyms", deck, {ColumnRole::Word, ColumnRole::Translations, ColumnRole::Antonyms},
       {"Language 1/Language 2", "4|dog,cat,fox|Hund,Katze,Fuchs,R\xFC" "de|animals|"}},
      // Words that lost their characters to "?" find no twin in each other.
      {"LostWordsApart", "\xD0\xBA\xD0\xBE\xD1\x82\tKater\n\xD0\xBF\xD1\x91\xD1\x81\tHund\n", {},
       {"Language 1/Language 2", "4|???|Kater||", "4|???|Hund||"}},
  };
  TempDir dir;
  for (const auto& c : cases) {
    CsvOptions options;
    options.Columns = c.roles;
    const CsvImport import = ImportCsv(c.data, options, "deck.txt");
    EXPECT_EQ(EntryLines(*import.Lesson), c.lesson) << c.name;
    EXPECT_EQ(import.Rows, c.name == std::string("LostWordsApart") ? 2u : 4u) << c.name;
    EXPECT_FALSE(import.Lesson->Modified) << c.name;
    // The gateway imports a file by the same reading.
    WriteFile(dir.File("deck.txt"), c.data);
    ReadOptions read;
    read.Csv = options;
    TransferReport report;
    EXPECT_EQ(EntryLines(*ImportDelimitedText(dir.File("deck.txt"), read, report)), c.lesson) << c.name;
    EXPECT_EQ(report.LostAny(), import.Report.LostAny()) << c.name;
  }
}

TEST(KeptImportChoices, StartOnlyAFileOfTheShapeTheyWereMadeFor) {
  using Role = ColumnRole;
  struct Next {
    std::string data;
    bool kept;  // starts with the kept choices, else with none
  };
  const struct {
    const char* name;
    std::string data;  // the file the choices were made for
    std::function<void(CsvOptions&)> choose;
    std::string shape;
    std::vector<Next> next;
  } cases[] = {
      // An Anki export whose tags were read as antonyms: only an export of
      // the same note type takes them; a table of another header or of none
      // starts from its own.
      {"AnkiTagsAsAntonyms", "#separator:tab\n#columns:Front\tBack\tTags\nhouse\tHaus\tanimals\n",
       [](CsvOptions& o) { o.Columns = {Role::Word, Role::Translations, Role::Antonyms}; }, "3:front|back|tags",
       {{"#separator:tab\n#columns:FRONT\tBack\tTags\ntree\tBaum\tplants\n", true},
        {"English;Deutsch;Form\nhouse;Haus;s.\n", false},
        {"house\tHaus\tanimals\n", false}}},
      // A header the user declared: the same names in other case take it,
      // a file whose first row is data does not.
      {"HeaderDeclared", "Vokabel;Sinn\nHaus;house\n", [](CsvOptions& o) { o.Header = HeaderRow::Yes; },
       "2:vokabel|sinn", {{"VOKABEL;sinn\nBaum;tree\n", true}, {"Haus;house\nBaum;tree\n", false}}},
      // No header by choice: a file of two columns takes that, unless it
      // has a header of its own, which would be read as an entry.
      {"NoHeaderChosen", "English\tDeutsch\nhouse\tHaus\n",
       [](CsvOptions& o) { o.Header = HeaderRow::No, o.Separator = '\t', o.Encoding = TextEncoding::Windows1252; },
       "2", {{"tree\tBaum\n", true}, {"English\tDeutsch\ntree\tBaum\n", false}, {"a\tb\tc\n", false}}},
      // Names are kept in any encoding of the settings file.
      {"NamesEscaped", "Stra\xC3\x9F" "e|100%\n", [](CsvOptions& o) { o.Header = HeaderRow::Yes; },
       "2:stra%C3%9Fe|100%25", {}},
  };
  TempDir dir;
  for (const auto& c : cases) {
    KeptCsvChoices kept;
    c.choose(kept.Options);
    kept.Shape = CsvShape(c.data, kept.Options, "made.csv");
    EXPECT_EQ(kept.Shape, c.shape) << c.name;
    IniFile settings = IniFile::Edit(dir.File("settings.ini"));
    WriteKeptCsvChoices(settings, kept);
    settings.Save();
    const KeptCsvChoices read = ReadKeptCsvChoices(IniFile(dir.File("settings.ini")));
    EXPECT_EQ(read.Shape, kept.Shape) << c.name;
    for (const Next& next : c.next) {
      const CsvOptions start = StartingCsvOptions(next.data, "next.csv", read);
      const CsvOptions expected = next.kept ? kept.Options : CsvOptions();
      EXPECT_EQ(start.Separator, expected.Separator) << c.name << ": " << next.data;
      EXPECT_EQ(start.Encoding, expected.Encoding) << c.name << ": " << next.data;
      EXPECT_EQ(start.Header, expected.Header) << c.name << ": " << next.data;
      EXPECT_EQ(start.Columns, expected.Columns) << c.name << ": " << next.data;
    }
  }
}

TEST(LostCharacters, WordsThatLoseCharactersAreNamedAndNeverMergedForTheirQuestionMarks) {
  // Russian words become "?" alone: compaction would merge them all.
  const std::string data = "\xD0\xBA\xD0\xBE\xD1\x82\tcat\n"                 // кот
                           "\xD0\xBF\xD1\x91\xD1\x81\tdog\n"                 // пёс
                           "\xD0\xBB\xD0\xB8\xD1\x81\tfox\n"                 // лис
                           "\xD0\xBA\xD0\xBE\xD1\x82\tcat\n";                // кот again: a real twin
  TMeanCollection lesson;
  TransferReport report;
  ParseCsv(data, {}, "ru.csv", lesson, report);
  EXPECT_EQ(EntryLines(lesson)[1], "4|???|cat||");
  EXPECT_EQ(LostCharactersMessage(report),
            "4 of 8 words hold characters a lesson file cannot store (for example Cyrillic); they would be changed "
            "to '?'.");
  lesson.DblDel(report.LossyWords);
  // The two "cat" rows merge by their English word; the "?" keep the rest apart.
  EXPECT_EQ(EntryLines(lesson), (Lines{"Language 1/Language 2", "4|???|cat||", "4|???|dog||", "4|???|fox||"}));
  lesson.DblDel();
  EXPECT_EQ(lesson.EntryCount(), 1);

  // A script is named where there is one; letters of none by themselves.
  const struct {
    std::string utf8;
    std::string sample;
  } samples[] = {
      {"\xCE\xB1\xCE\xB2\xE2\x98\xBA", "Greek"},                          // αβ☺
      {"\xE0\xA8\xAA\xE0\xA9\xB0", "Gurmukhi"},                           // Punjabi
      {"\xC5\x82\xC5\x82\xC4\x8D\xF0\x9F\x98\x80", "\"\xC5\x82\", \"\xC4\x8D\", \"\xF0\x9F\x98\x80\""},  // ł ł č 😀
      {"\xC3", "\"\xEF\xBF\xBD\""},                                       // a malformed byte
  };
  for (const auto& s : samples) {
    LostCharacters lost;
    bool any = false;
    lost.FromUtf8(s.utf8, &any);
    EXPECT_TRUE(any);
    EXPECT_EQ(lost.Sample(), s.sample);
  }
}

TEST(WordListIndex, LongListsKeepOneWordPerTextThroughEveryChange) {
  TWordCollection list;
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(list.Insert(std::make_shared<TWord>("w" + std::to_string(i))));
  EXPECT_FALSE(list.Insert(std::make_shared<TWord>("w42")));
  int index = -1;
  EXPECT_TRUE(list.Search(TWord("w42"), index));
  EXPECT_EQ(index, 42);
  list.AtDelete(42);
  EXPECT_FALSE(list.Search(TWord("w42"), index));
  EXPECT_EQ(index, 99);
  EXPECT_TRUE(list.Search(TWord("w43"), index));
  EXPECT_EQ(index, 42);
  list.TCollection<TWord>::Insert(std::make_shared<TWord>("w42"));
  EXPECT_TRUE(list.Search(TWord("w42"), index));
  EXPECT_EQ(index, 99);
  list.AtInsert(0, std::make_shared<TWord>("first"));
  EXPECT_TRUE(list.Search(TWord("w0"), index));
  EXPECT_EQ(index, 1);
  TWordCollection copy = list;
  EXPECT_FALSE(copy.Insert(std::make_shared<TWord>("w7")));
  EXPECT_TRUE(copy.Insert(std::make_shared<TWord>("new")));
  EXPECT_FALSE(list.Search(TWord("new"), index));
  list.DeleteAll();
  EXPECT_TRUE(list.Insert(std::make_shared<TWord>("w7")));
  EXPECT_EQ(list.Count(), 1);
}

}  // namespace
}  // namespace vocatrix
