// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "files/lessontext.h"
#include "model/lesson.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;
using test::Texts;
using Lines = std::vector<std::string>;
using Words = std::vector<std::string>;

// --- Splitting at markers -------------------------------------------------

struct SplitCase {
  const char* text;
  bool ok;
  const char* left;
  const char* right;
  char marker;
};

class SplitAtMarkerTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitAtMarkerTest, SplitsAtTheFirstMarkerKindPresent) {
  const SplitCase& c = GetParam();
  std::string left = "unchanged", right = "unchanged";
  char marker = 0;
  ASSERT_EQ(SplitAtMarker(c.text, left, right, &marker), c.ok) << c.text;
  if (!c.ok) return;
  EXPECT_EQ(left, c.left);
  EXPECT_EQ(right, c.right);
  EXPECT_EQ(marker, c.marker);
}

INSTANTIATE_TEST_SUITE_P(
    Markers, SplitAtMarkerTest,
    testing::Values(SplitCase{"house (s.) - Haus", true, "house (s.)", "Haus", '-'},
                    SplitCase{"well-known - bekannt", true, "well-known", "bekannt", '-'},
                    SplitCase{"a -\tb", true, "a", "b", '-'},
                    SplitCase{"one+one = two", true, "one", "one = two", '+'},
                    SplitCase{"a+b - c", true, "a+b", "c", '-'},     // "- " beats an earlier "+"
                    SplitCase{"x # y = z", true, "x # y", "z", '='},  // "=" beats an earlier "#"
                    SplitCase{"big # small", true, "big", "small", '#'},
                    SplitCase{"  big\t=\x01large \t", true, "big", "large", '='},
                    SplitCase{"a - ", false, "", "", 0},       // right part empty
                    SplitCase{" - b", false, "", "", 0},       // left part empty
                    SplitCase{"a - - b", true, "a", "- b", '-'},
                    SplitCase{"a-b", false, "", "", 0},        // a hyphen alone is no marker
                    SplitCase{"no marker here", false, "", "", 0}));

TEST(SplitAtMarker, FirstMarkerKindWinsEvenWhenItsSplitFails) {
  std::string left, right;
  // "- " is present, so "+" is never tried although it would split.
  EXPECT_FALSE(SplitAtMarker("a + b -  ", left, right));
  EXPECT_EQ(FindMarker("a + b -  "), 6u);
  EXPECT_EQ(FindMarker("plain"), std::string::npos);
}

TEST(LessonText, ClassifiesLinesByTagAtTheVeryStart) {
  EXPECT_EQ(ClassifyLessonLine(""), LessonLineKind::kIgnored);
  EXPECT_EQ(ClassifyLessonLine("{ a - b"), LessonLineKind::kIgnored);
  EXPECT_EQ(ClassifyLessonLine(" "), LessonLineKind::kEntry);  // blanks are not an empty line
  EXPECT_EQ(ClassifyLessonLine("Ti:"), LessonLineKind::kTitle);
  EXPECT_EQ(ClassifyLessonLine("Th: x"), LessonLineKind::kTopic);
  EXPECT_EQ(ClassifyLessonLine("Au:x"), LessonLineKind::kAuthor);
  EXPECT_EQ(ClassifyLessonLine("Bm: p.bmp"), LessonLineKind::kPicture);
  EXPECT_EQ(ClassifyLessonLine("Fo: a - b"), LessonLineKind::kFonts);
  EXPECT_EQ(ClassifyLessonLine("Sp: a - b"), LessonLineKind::kLanguages);
  EXPECT_EQ(ClassifyLessonLine("ti: x"), LessonLineKind::kEntry);
  EXPECT_EQ(ClassifyLessonLine(" Ti: x"), LessonLineKind::kEntry);
}

struct RemarkCase {
  const char* part;
  const char* word;
  const char* remark;
  int form;
};

class SplitRemarkTest : public testing::TestWithParam<RemarkCase> {};

TEST_P(SplitRemarkTest, TakesTheParenthesisOff) {
  const RemarkCase& c = GetParam();
  std::string word, remark;
  SplitRemark(c.part, word, remark);
  EXPECT_EQ(word, c.word);
  EXPECT_EQ(remark, c.remark);
  EXPECT_EQ(FormOfRemark(remark), c.form);
}

INSTANTIATE_TEST_SUITE_P(Remarks, SplitRemarkTest,
                         testing::Values(RemarkCase{"house (s.)", "house", "s.", 1},
                                         RemarkCase{"go (v.) away", "go", "v.  away", 4},
                                         RemarkCase{"big (adj.)", "big", "adj.", 2},
                                         RemarkCase{"fast ( adv. )", "fast", "adv.", 3},
                                         RemarkCase{"x (V.)", "x", "V.", 4},        // compared exactly
                                         RemarkCase{"open (paren", "open (paren", "", 4},  // no ")"
                                         RemarkCase{"a ) (b", "a ) (b", "", 4},    // ")" only before "("
                                         RemarkCase{"a (b) (c)", "a", "b  (c)", 4},
                                         RemarkCase{"plain", "plain", "", 4}));

// --- Reading ---------------------------------------------------------------

std::unique_ptr<TMeanCollection> Parse(const Lines& lines, bool strict, int* number = nullptr) {
  auto lesson = std::make_unique<TMeanCollection>();
  const int n = ParseLessonLines(lines, strict, *lesson);
  if (number) *number = n;
  return lesson;
}

TEST(ParseLessonLines, LanguageLineAndTranslationWithRemark) {
  auto lesson = Parse({"Sp: English - Deutsch", "house (s.) - Haus"}, true);
  ASSERT_TRUE(lesson->Meanings);
  EXPECT_EQ(lesson->Language1.Name, "English");
  EXPECT_EQ(lesson->Language2.Name, "Deutsch");
  ASSERT_EQ(lesson->Meanings->Count(), 1);
  const MeaningPtr& m = lesson->Meanings->At(0);
  EXPECT_EQ(m->Form, 1);
  EXPECT_EQ(Texts(m->Synonyms), Words{"house"});
  EXPECT_EQ(Texts(m->Translations), Words{"Haus"});
  EXPECT_EQ(m->Synonyms.At(0)->Remark, "s.");
  EXPECT_EQ(m->Translations.At(0)->Meaning(), m.get());
}

TEST(ParseLessonLines, EachMarkerFillsItsList) {
  auto lesson = Parse({"Sp: English - English", "big = large", "big # small", "Sp: English - Deutsch",
                       "one+one = two", "hot + kalt"},
                      true);
  ASSERT_TRUE(lesson->Meanings);
  ASSERT_EQ(lesson->Meanings->Count(), 4);
  const auto& e = *lesson->Meanings;
  EXPECT_EQ(Texts(e.At(0)->Synonyms), (Words{"big", "large"}));
  EXPECT_EQ(Texts(e.At(1)->Synonyms), Words{"big"});
  EXPECT_EQ(Texts(e.At(1)->Antonyms), Words{"small"});
  // "+" is found before "=": the right word is "one = two", an antonym translation.
  EXPECT_EQ(Texts(e.At(2)->Synonyms), Words{"one"});
  EXPECT_EQ(Texts(e.At(2)->AntonymTranslations), Words{"one = two"});
  EXPECT_EQ(Texts(e.At(3)->AntonymTranslations), Words{"kalt"});
  // Every entry line makes its own entry, even for a repeated head word.
  EXPECT_NE(e.At(0).get(), e.At(1).get());
}

TEST(ParseLessonLines, ReversedLanguageLinePutsTheLeftWordIntoTranslations) {
  auto lesson = Parse({"Sp: English - Deutsch", "Sp: Deutsch - English", "gro\xDF - big"}, true);
  ASSERT_TRUE(lesson->Meanings);
  const MeaningPtr& m = lesson->Meanings->At(0);
  EXPECT_EQ(Texts(m->Translations), Words{"gro\xDF"});
  EXPECT_EQ(Texts(m->Synonyms), Words{"big"});
  EXPECT_EQ(lesson->Language1.Name, "English");
  EXPECT_EQ(lesson->Language2.Name, "Deutsch");
}

TEST(ParseLessonLines, LanguageNamesMatchWithoutRegardToCaseOfAToZ) {
  auto lesson = Parse({"Sp: English - Deutsch", "Sp: DEUTSCH - english", "Haus - house",
                       "Sp: english - ENGLISH", "big = large"},
                      true);
  ASSERT_TRUE(lesson->Meanings);
  EXPECT_EQ(Texts(lesson->Meanings->At(0)->Translations), Words{"Haus"});
  EXPECT_EQ(Texts(lesson->Meanings->At(1)->Synonyms), (Words{"big", "large"}));
  // Non-ASCII letters are compared exactly.
  int index = -1;
  auto bad = Parse({"Sp: \xC4gypten - Deutsch", "Sp: \xE4gypten - Deutsch", "a - b"}, true, &index);
  EXPECT_FALSE(bad->Meanings);
  EXPECT_EQ(index, 2);
}

TEST(ParseLessonLines, LanguageNamesAreTakenFromTheFirstLinesThatNameThem) {
  // The same-language block first: language 2 stays open until a line names another language.
  auto lesson = Parse({"Sp: English - English", "a = b", "Sp: Deutsch - Deutsch", "c = d"}, true);
  EXPECT_EQ(lesson->Language1.Name, "English");
  EXPECT_EQ(lesson->Language2.Name, "Deutsch");
  ASSERT_EQ(lesson->Meanings->Count(), 2);
  EXPECT_EQ(Texts(lesson->Meanings->At(1)->Translations), (Words{"c", "d"}));
  // Later language lines do not rename the lesson's languages.
  auto later = Parse({"Sp: English - Deutsch", "Sp: French - Spanish", "a - b"}, false);
  EXPECT_EQ(later->Language1.Name, "English");
  EXPECT_EQ(later->Language2.Name, "Deutsch");
  EXPECT_FALSE(later->Meanings);  // the left language French is neither
}

// A name that is still exactly the default counts as not given yet, so
// later language lines name it; strict and lenient readers agree.
struct NamingCase {
  Lines lines;
  const char* name1;
  const char* name2;
  std::vector<Words> synonyms;  // per entry
};

class LanguageNamingTest : public testing::TestWithParam<NamingCase> {};

TEST_P(LanguageNamingTest, DefaultNamesAreNamedByLaterLanguageLines) {
  const NamingCase& c = GetParam();
  for (const bool strict : {true, false}) {
    SCOPED_TRACE(strict ? "strict" : "lenient");
    int number = -1;
    auto lesson = Parse(c.lines, strict, &number);
    EXPECT_EQ(number, 0);
    EXPECT_EQ(lesson->Language1.Name, c.name1);
    EXPECT_EQ(lesson->Language2.Name, c.name2);
    ASSERT_TRUE(lesson->Meanings);
    ASSERT_EQ(lesson->Meanings->Count(), static_cast<int>(c.synonyms.size()));
    for (std::size_t i = 0; i < c.synonyms.size(); ++i)
      EXPECT_EQ(Texts(lesson->Meanings->At(static_cast<int>(i))->Synonyms), c.synonyms[i]);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Names, LanguageNamingTest,
    testing::Values(
        // The first line of a new lesson's text, and the user's own below it.
        NamingCase{{"Sp: Language 1\t - \tLanguage 2", "Sp: Deutsch - English", "Haus = house"},
                   "Deutsch", "English", {{"Haus", "house"}}},
        NamingCase{{"Sp: Deutsch - Language 2", "Haus = house", "Sp: Deutsch - English", "Baum = tree"},
                   "Deutsch", "English", {{"Haus", "house"}, {"Baum", "tree"}}},
        // A name once given stays.
        NamingCase{{"Sp: English - Deutsch", "Sp: Deutsch - French", "Haus - house"},
                   "English", "Deutsch", {{"house"}}}));

TEST(ParseLessonLines, WhenBothNamesMatchTheLanguageTwoReadingWins) {
  // "Language 2" becomes language 1's name and language 2 keeps its default,
  // so both names equal the left language.
  auto lesson = Parse({"Sp: Language 2 - language 2", "x - y"}, true);
  EXPECT_EQ(lesson->Language1.Name, "Language 2");
  EXPECT_EQ(lesson->Language2.Name, "Language 2");
  const MeaningPtr& m = lesson->Meanings->At(0);
  EXPECT_EQ(Texts(m->Translations), Words{"x"});
  EXPECT_EQ(Texts(m->Synonyms), Words{"y"});
  EXPECT_EQ(m->Translations.At(0)->Meaning(), m.get());
}

TEST(ParseLessonLines, EntryLineBeforeAnyLanguageLineUsesTheDefaults) {
  auto lesson = Parse({"a - b"}, true);
  ASSERT_TRUE(lesson->Meanings);
  EXPECT_EQ(Texts(lesson->Meanings->At(0)->Synonyms), Words{"a"});
  EXPECT_EQ(lesson->Language1.Name, "Language 1");
  EXPECT_EQ(lesson->Language2.Name, "Language 2");
}

TEST(ParseLessonLines, HeaderTagsAreTrimmedAndCaseSensitive) {
  auto lesson = Parse({"Ti:Title", "Th:\t Topic \x01", "Au:   Me", "Bm: pic.bmp  ", "a - b"}, true);
  EXPECT_EQ(lesson->Title, "Title");
  EXPECT_EQ(lesson->Topic, "Topic");
  EXPECT_EQ(lesson->Author, "Me");
  EXPECT_EQ(lesson->Picture, "pic.bmp");
  EXPECT_EQ(Parse({"Ti:   Title"}, true)->Title, "Title");
  int index = -1;
  auto bad = Parse({"Ti: x", "ti: x"}, true, &index);
  EXPECT_FALSE(bad->Meanings);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(bad->Title, "x");  // header values read before the fault stay set
}

TEST(ParseLessonLines, FontLineSetsBothFontsOrIsIgnored) {
  auto lesson = Parse({"Fo: Courier New_clBlue_8_[Italic]\t - \tTimes New Roman_clRed_12_[]", "a - b"}, true);
  EXPECT_EQ(lesson->Language1.Font.Name, "Courier New");
  EXPECT_EQ(lesson->Language1.Font.Color, 0xFF0000u);
  EXPECT_EQ(lesson->Language1.Font.Size, 8);
  EXPECT_TRUE(lesson->Language1.Font.Italic);
  EXPECT_FALSE(lesson->Language1.Font.Bold);
  EXPECT_EQ(lesson->Language2.Font.Name, "Times New Roman");
  EXPECT_EQ(lesson->Language2.Font.Size, 12);
  int index = -1;
  auto ignored = Parse({"Fo: Courier New_clBlue_8_[Italic]", "a - b"}, true, &index);
  ASSERT_TRUE(ignored->Meanings);  // not an error, even in strict mode
  EXPECT_EQ(ignored->Language1.Font, DefaultFont());
}

TEST(ParseLessonLines, StartsFromACleanHeader) {
  auto lesson = test::MakeLesson("English", "Deutsch", {MakeEntry(0, {"x"})});
  lesson->Title = "Old";
  lesson->Language1.Font.Size = 30;
  ParseLessonLines({"a - b"}, true, *lesson);
  EXPECT_EQ(lesson->Title, "");
  EXPECT_EQ(lesson->Language1.Name, "Language 1");
  EXPECT_EQ(lesson->Language1.Font, DefaultFont());
  EXPECT_EQ(Texts(lesson->Meanings->At(0)->Synonyms), Words{"a"});
}

struct StrictFaultCase {
  Lines lines;
  int index;
};

class StrictFaultTest : public testing::TestWithParam<StrictFaultCase> {};

TEST_P(StrictFaultTest, ReportsTheFirstMalformedLineCountingEveryLine) {
  int index = -1;
  auto lesson = Parse(GetParam().lines, true, &index);
  EXPECT_FALSE(lesson->Meanings);
  EXPECT_EQ(index, GetParam().index);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StrictFaultTest,
    testing::Values(StrictFaultCase{{"ti: x"}, 0},
                    StrictFaultCase{{"", "{ comment", "no marker"}, 2},
                    StrictFaultCase{{"a - b", "   "}, 1},                 // a line of blanks
                    StrictFaultCase{{"a - b", "Sp: English"}, 1},         // language line without pair
                    StrictFaultCase{{"Sp: A - B", "Sp: C - D", "x - y"}, 2},  // left language unknown
                    StrictFaultCase{{"a - ", "b - c"}, 0},
                    StrictFaultCase{{"a - b", "bad", "worse"}, 1}));

TEST(ParseLessonLines, LenientModeSkipsAndCountsMalformedLines) {
  int skipped = -1;
  auto lesson = Parse({"bad", "", "{ x", "a - b", "   ", "Sp: broken", "c = d"}, false, &skipped);
  EXPECT_EQ(skipped, 3);
  ASSERT_TRUE(lesson->Meanings);
  EXPECT_EQ(lesson->Meanings->Count(), 2);
}

TEST(ParseLessonLines, TextWithoutEntriesLenientlyAbsentStrictlyOneBlankEntry) {
  const Lines lines{"Ti: Only a header", "Sp: English - Deutsch"};
  int number = -1;
  auto lenient = Parse(lines, false, &number);
  EXPECT_FALSE(lenient->Meanings);
  EXPECT_EQ(number, 0);
  EXPECT_EQ(lenient->Title, "Only a header");
  // The strict parse gives an entry list; FromLines, as the Text page
  // compiles, makes it hold one blank entry.
  auto strict = Parse(lines, true, &number);
  ASSERT_TRUE(strict->Meanings);
  EXPECT_EQ(number, 0);
  auto compiled = TMeanCollection::FromLines(lines, number);
  ASSERT_TRUE(compiled);
  ASSERT_EQ(compiled->EntryCount(), 1);
  const MeaningPtr& m = compiled->Meanings->At(0);
  EXPECT_EQ(m->Form, 4);
  EXPECT_TRUE(m->Synonyms.Empty() && m->Translations.Empty() && m->Antonyms.Empty() &&
              m->AntonymTranslations.Empty());
  EXPECT_FALSE(Parse({}, false)->Meanings);
}

TEST(ParseLessonLines, RemarkOfTheLeftWordSetsTheForm) {
  auto lesson = Parse({"go (v.) away - gehen", "run (v.) - laufen (s.)", "Haus - house (v.)"}, true);
  const auto& e = *lesson->Meanings;
  EXPECT_EQ(Texts(e.At(0)->Synonyms), Words{"go"});
  EXPECT_EQ(e.At(0)->Synonyms.At(0)->Remark, "v.  away");
  EXPECT_EQ(e.At(0)->Form, 4);
  EXPECT_EQ(e.At(1)->Form, 0);
  EXPECT_EQ(e.At(1)->Translations.At(0)->Remark, "s.");
  EXPECT_EQ(e.At(2)->Form, 4);  // only the left word's remark counts
}

// --- Writing ---------------------------------------------------------------

TEST(WriteLessonLines, WritesEveryPairInItsBlock) {
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(0, {"a", "b", "c"}, {"x", "y"}, {"p"}, {"q"}), MakeEntry(4, {"d"}, {"z"})});
  lesson->Title = "T";
  lesson->Topic = "Th";
  lesson->Author = "Au";
  lesson->Picture = "pic.bmp";
  lesson->Language2.Font = TextToFont("Courier New_clBlue_8_[Italic]");
  Lines lines{"kept"};
  WriteLessonLines(lines, *lesson);
  const Lines expected{
      "kept",
      "Ti: T",
      "Th: Th",
      "Au: Au",
      "Bm: pic.bmp",
      "Fo: Arial_clBlack_10_[Bold]\t - \tCourier New_clBlue_8_[Italic]",
      "",
      "Sp: English\t - \tDeutsch",
      "a (v.)\t - \tx",
      "p (v.)\t - \tq",
      "d\t - \tz",
      "a (v.)\t + \tq",
      "p (v.)\t + \tx",
      "",
      "Sp: English\t - \tEnglish",
      "a (v.)\t = \tb",
      "b (v.)\t = \tc",
      "a (v.)\t # \tp",
      "",
      "Sp: Deutsch\t - \tDeutsch",
      "x (v.)\t = \ty",
      "x (v.)\t # \tq",
  };
  EXPECT_EQ(lines, expected);
}

TEST(WriteLessonLines, SingleWordEntryWritesNoPairAndAbsentEntriesWriteOnlyHeaders) {
  auto lesson = MakeLesson("L1", "L2", {MakeEntry(2, {}, {"alone"})});
  Lines lines;
  WriteLessonLines(lines, *lesson);
  for (const std::string& line : lines) EXPECT_EQ(line.find("alone"), std::string::npos) << line;
  EXPECT_EQ(lines.size(), 11u);  // header, font line and three language lines with their blank lines
  lesson->Meanings.reset();
  Lines none;
  WriteLessonLines(none, *lesson);
  EXPECT_EQ(none, lines);
}

TEST(LessonText, WrittenLinesReadBackAndCompactToTheSameLesson) {
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(0, {"a", "b", "c"}, {"x", "y"}, {"p"}, {"q"}), MakeEntry(1, {"house"}, {"Haus"}),
                            MakeEntry(2, {"big", "large"}, {"gro\xDF"}, {"small"}, {}), MakeEntry(3, {"fast"}, {"schnell"})});
  lesson->Title = "Title";
  lesson->Language1.Font = TextToFont("Times New Roman_clRed_12_[Underline]");
  Lines lines;
  WriteLessonLines(lines, *lesson);
  auto back = std::make_unique<TMeanCollection>();
  ASSERT_EQ(ParseLessonLines(lines, true, *back), 0);
  ASSERT_TRUE(back->Meanings);
  back->DblDel();
  EXPECT_EQ(back->Title, "Title");
  EXPECT_EQ(back->Language1.Name, "English");
  EXPECT_EQ(back->Language2.Name, "Deutsch");
  EXPECT_EQ(back->Language1.Font, lesson->Language1.Font);
  EXPECT_EQ(back->Language2.Font, lesson->Language2.Font);
  ASSERT_EQ(back->Meanings->Count(), lesson->Meanings->Count());
  for (int i = 0; i < lesson->Meanings->Count(); ++i) {
    const MeaningPtr& want = lesson->Meanings->At(i);
    const MeaningPtr& got = back->Meanings->At(i);
    EXPECT_EQ(got->Form, want->Form) << i;
    for (int kind = 0; kind < 4; ++kind) EXPECT_EQ(got->KindTexts(kind), want->KindTexts(kind)) << i << "/" << kind;
  }
}

TEST(LessonText, LessonsWithDefaultLanguageNamesReadBackWithTheirNames) {
  const std::pair<const char*, const char*> names[] = {{"Language 1", "Language 2"},
                                                       {"Language 1", "English"},
                                                       {"Deutsch", "Language 2"},
                                                       {"Language 2", "Language 1"}};
  for (const auto& [name1, name2] : names) {
    SCOPED_TRACE(std::string(name1) + " / " + name2);
    auto lesson = MakeLesson(name1, name2,
                             {MakeEntry(0, {"a", "b"}, {"x", "y", "z"}, {"p"}, {"q", "r"}),
                              MakeEntry(1, {"house"}, {"Haus", "Heim"})});
    EXPECT_EQ(WordsTextCannotCarry(*lesson), Words{});
    Lines lines;
    WriteLessonLines(lines, *lesson);
    auto back = std::make_unique<TMeanCollection>();
    ASSERT_EQ(ParseLessonLines(lines, true, *back), 0) << testing::PrintToString(lines);
    back->DblDel();
    EXPECT_EQ(back->Language1.Name, name1);
    EXPECT_EQ(back->Language2.Name, name2);
    ASSERT_EQ(back->EntryCount(), 2);
    for (int i = 0; i < 2; ++i)
      for (int kind = 0; kind < 4; ++kind)
        EXPECT_EQ(back->At(i)->KindTexts(kind), lesson->At(i)->KindTexts(kind)) << i << "/" << kind;
    Lines again;
    WriteLessonLines(again, *back);
    EXPECT_EQ(again, lines);
  }
  // A new lesson's text with the user's language line and entry added at its end.
  Lines typed = TMeanCollection::CreateEmpty()->ToLines();
  typed.insert(typed.end(), {"Sp: Deutsch - English", "Haus = house"});
  int error = -1;
  auto compiled = TMeanCollection::FromLines(typed, error);
  ASSERT_TRUE(compiled) << error;
  EXPECT_EQ(compiled->Language1.Name, "Deutsch");
  EXPECT_EQ(compiled->Language2.Name, "English");
  ASSERT_EQ(compiled->EntryCount(), 1);
  EXPECT_EQ(Texts(compiled->At(0)->Synonyms), (Words{"Haus", "house"}));
}

// Each case holds words the text form cannot carry: the written lines must
// still all be accepted by the strict reader, the faulty pair must be left
// out (so nothing reads back as something else), and the report must name it.
struct UncarriedCase {
  const char* name1;
  const char* name2;
  std::uint8_t form;
  Words synonyms;
  Words translations;
  const char* reported;
};

class UncarriedTest : public testing::TestWithParam<UncarriedCase> {};

// An entry holding the words exactly as given (the memo lists would trim them).
MeaningPtr RawEntry(std::uint8_t form, const Words& synonyms, const Words& translations) {
  MeaningPtr m = TMeaning::Create();
  m->Form = form;
  for (const std::string& w : synonyms) m->AddWord(kSynonyms, std::make_shared<TWord>(w));
  for (const std::string& w : translations) m->AddWord(kTranslations, std::make_shared<TWord>(w));
  return m;
}

TEST_P(UncarriedTest, WrittenTextStaysReadableAndNamesWhatItCannotCarry) {
  const UncarriedCase& c = GetParam();
  auto lesson = MakeLesson(c.name1, c.name2, {RawEntry(c.form, c.synonyms, c.translations), MakeEntry(1, {"ok"}, {"gut"})});
  Lines lines;
  Words uncarried;
  WriteLessonLines(lines, *lesson, &uncarried);
  EXPECT_EQ(WordsTextCannotCarry(*lesson), uncarried);
  EXPECT_NE(std::find(uncarried.begin(), uncarried.end(), c.reported), uncarried.end()) << testing::PrintToString(uncarried);
  auto back = std::make_unique<TMeanCollection>();
  ASSERT_EQ(ParseLessonLines(lines, true, *back), 0) << testing::PrintToString(lines);
  back->DblDel();
  EXPECT_EQ(back->Author, "");
  // The good entry survives, and no line turned into a word the lesson never held.
  std::vector<std::string> held{"ok", "gut"};
  held.insert(held.end(), c.synonyms.begin(), c.synonyms.end());
  held.insert(held.end(), c.translations.begin(), c.translations.end());
  ASSERT_TRUE(back->Meanings);
  bool good = false;
  for (const MeaningPtr& m : *back->Meanings) {
    good |= m->KindTexts(kSynonyms) == Words{"ok"} && m->KindTexts(kTranslations) == Words{"gut"};
    for (int kind = 0; kind < 4; ++kind)
      for (const std::string& w : m->KindTexts(kind))
        EXPECT_NE(std::find(held.begin(), held.end(), w), held.end()) << w;
  }
  EXPECT_TRUE(good);
}

INSTANTIATE_TEST_SUITE_P(
    Words, UncarriedTest,
    testing::Values(UncarriedCase{"E", "D", 4, {"e"}, {""}, ""},              // empty word ("e+()")
                    UncarriedCase{"E", "D", 4, {"Au:x"}, {"x"}, "Au:x"},      // would be a header line
                    UncarriedCase{"E", "D", 4, {"{x"}, {"x"}, "{x"},          // would be a comment
                    UncarriedCase{"E", "D", 4, {"c-", "c"}, {"x"}, "c-"},     // "-" runs into " = "
                    UncarriedCase{"E", "D", 4, {"x - y"}, {"b"}, "x - y"},    // holds a marker
                    UncarriedCase{"E", "D", 0, {"x("}, {"b"}, "x("},          // remark swallows the form
                    UncarriedCase{"E", "D", 4, {"c (r)"}, {"x"}, "c (r)"},    // a remark of its own
                    UncarriedCase{"E", "D", 4, {" c"}, {"x"}, " c"},          // blanks are trimmed
                    UncarriedCase{"E", "D", 4, {"c\nAu: x"}, {"b"}, "c\nAu: x"},  // a line break
                    UncarriedCase{"E", "D", 4, {"c"}, {}, "c"},               // alone in its entry
                    UncarriedCase{"E", "D", 4, {"v"}, {"v", "w"}, "v"},       // one text in two lists
                    UncarriedCase{"", "D", 4, {"c"}, {"x"}, ""},              // an empty language name
                    UncarriedCase{"E - F", "D", 4, {"c"}, {"x"}, "E - F"},    // a name holding a marker
                    UncarriedCase{"E", "e", 4, {"c"}, {"x"}, "e"},            // names the reader cannot tell apart
                    // both named like a default name: the reader takes them as unnamed
                    UncarriedCase{"Language 1", "Language 1", 4, {"c"}, {"x"}, "Language 1"}));

TEST(WriteLessonLines, CarriedLessonsReportNothingAndOverlongWordsAreMalformed) {
  // Markers of a kind the reader tries later, and tags not at the start, are carried.
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(0, {"well-known", "big"}, {"gro\xDF", "a#b"}, {"small"}, {"klein"}),
                            MakeEntry(1, {"x Au:"}, {"-c"}), MakeEntry(4, {"c-"}, {"d+e"})});
  EXPECT_EQ(WordsTextCannotCarry(*lesson), Words{});
  const std::string huge(65536, 'w');
  for (const bool strict : {false, true}) {
    int n = 0;
    auto parsed = Parse({"a - b", "x - " + huge, huge.substr(1) + " - y"}, strict, &n);
    EXPECT_EQ(n, 1) << strict;  // the skipped count, or the index of the line
    if (!strict) {
      EXPECT_EQ(parsed->Meanings->Count(), 2);
    }
  }
}

// --- Languages at a line ----------------------------------------------------

TEST(LanguagesAtLine, FindsTheNearestLanguageLineAtOrAbove) {
  const Lines lines{"Ti: x", "Sp: English\t - \tDeutsch", "a - b", "Sp: Deutsch - English", "c - d",
                    "Sp:English - Deutsch", "Sp: broken"};
  std::string left, right;
  EXPECT_FALSE(LanguagesAtLine(lines, 0, left, right));
  ASSERT_TRUE(LanguagesAtLine(lines, 2, left, right));
  EXPECT_EQ(left, "English");
  EXPECT_EQ(right, "Deutsch");
  ASSERT_TRUE(LanguagesAtLine(lines, 3, left, right));
  EXPECT_EQ(left, "Deutsch");
  ASSERT_TRUE(LanguagesAtLine(lines, 4, left, right));
  EXPECT_EQ(right, "English");
  // Without a blank after the tag the name keeps its first letter.
  ASSERT_TRUE(LanguagesAtLine(lines, 5, left, right));
  EXPECT_EQ(left, "English");
  EXPECT_FALSE(LanguagesAtLine(lines, 6, left, right));  // nearest one does not split
  EXPECT_FALSE(LanguagesAtLine(lines, -1, left, right));
  EXPECT_FALSE(LanguagesAtLine({}, 0, left, right));
}

}  // namespace
}  // namespace vocatrix
