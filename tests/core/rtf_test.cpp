// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "files/lessonfiles.h"
#include "files/rtf/rtf.h"
#include "files/transferreport.h"
#include "model/exceptions.h"
#include "model/lesson.h"
#include "rtf_samples.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using Lines = std::vector<std::string>;

Lines RtfLines(std::string_view rtf) { return DocumentLines(ParseRtf(rtf)); }

RtfCharFormat Format(std::string face, int halfPoints, bool bold = false, bool italic = false) {
  RtfCharFormat f;
  f.Face = std::move(face);
  f.HalfPoints = halfPoints;
  f.Bold = bold;
  f.Italic = italic;
  return f;
}

RtfCharFormat WithColor(RtfCharFormat f, TColor color) {
  f.HasColor = true;
  f.Color = color;
  return f;
}

struct LinesCase {
  const char* name;
  std::string rtf;
  Lines expected;
};

void CheckLines(const std::vector<LinesCase>& cases) {
  for (const LinesCase& c : cases) EXPECT_EQ(RtfLines(c.rtf), c.expected) << c.name;
}

TEST(RtfReader, ParagraphAndLineBreaksEndLines) {
  CheckLines({
      {"three paragraphs", R"({\rtf1 a\par b\par c\par})", {"a", "b", "c"}},
      {"last paragraph without par", R"({\rtf1 a\par b\par c})", {"a", "b", "c"}},
      {"empty paragraphs inside stay", R"({\rtf1 a\par\par c\par})", {"a", "", "c"}},
      {"trailing empty paragraph kept", R"({\rtf1 a\par\par})", {"a", ""}},
      {"line and sect", R"({\rtf1 a\line b\sect c})", {"a", "b", "c"}},
      {"backslash newline is a par", "{\\rtf1 a\\\nb\\\r\nc}", {"a", "b", "c"}},
      {"raw line breaks are no text", "{\\rtf1 a\r\nb\nc\r}", {"abc"}},
      {"empty document", R"({\rtf1 })", {}},
      {"table cells and rows", R"({\rtf1 a\cell b\cell \row c\cell \row d})", {"a\tb", "c", "d"}},
      {"text after the outermost group ignored", R"({\rtf1 a\par}junk\par)", {"a"}},
  });
}

TEST(RtfReader, ControlSymbolsAndEscapes) {
  CheckLines({
      {"hex escapes", R"({\rtf1 M\'e4dchen \'DF})", {"M\xE4" "dchen \xDF"}},
      {"delimiting space consumed once", R"({\rtf1\b  x\b0 y})", {" xy"}},
      {"numeric parameter ends at non-digit", R"({\rtf1\fs20x})", {"x"}},
      {"special characters", R"({\rtf1 a\{b\}c\\d})", {"a{b}c\\d"}},
      {"tab", R"({\rtf1 a\tab b})", {"a\tb"}},
      {"non-breaking space and hyphen", R"({\rtf1 a\~b\_c\-d})", {"a\xA0" "b-cd"}},
      {"typographic words", R"({\rtf1\lquote a\rquote \ldblquote b\rdblquote \emdash\endash\bullet})",
       {"\x91" "a\x92\x93" "b\x94\x97\x96\x95"}},
      {"stray control bytes dropped", std::string("{\\rtf1 a\x01\x02" "b}"), {"ab"}},
      {"unknown control words ignored", R"({\rtf1\foo12 a\barbaz-5 b})", {"ab"}},
  });
}

TEST(RtfReader, UnicodeAndFallbackCharacters) {
  CheckLines({
      {"question mark fallback", R"({\rtf1 K\u228?fer})", {"K\xE4" "fer"}},
      {"hex fallback counts as one", R"({\rtf1 K\u228\'e4fer})", {"K\xE4" "fer"}},
      {"outside Windows-1252", R"({\rtf1 \u1046?\u8364?})", {"?\x80"}},
      {"negative parameter", R"({\rtf1 \u-1279?x})", {"?x"}},
      {"surrogate pair is one character", R"({\rtf1 \u-10179?\u-8704?x})", {"?x"}},
      {"uc2 skips two", R"({\rtf1\uc2 \u228\'c3\'a4x})", {"\xE4x"}},
      {"uc0 skips nothing", R"({\rtf1\uc0 \u228 x})", {"\xE4x"}},
      {"uc is scoped by groups", R"({\rtf1 {\uc2 \u228 ab}\u228 cd})", {"\xE4\xE4" "d"}},
      {"control word counts as one", R"({\rtf1 \u228\tab x})", {"\xE4x"}},
      {"brace ends the fallback", R"({\rtf1 \u228{x}})", {"\xE4x"}},
      {"space after u is the delimiter", R"({\rtf1 \u228  x})", {"\xE4x"}},
  });
}

TEST(RtfReader, SkipsDestinationsThatAreNoText) {
  CheckLines({
      {"ignorable destination", R"({\rtf1{\*\generator Riched20;}a{\*\unknown {nested} b}c})", {"ac"}},
      {"info and stylesheet", R"({\rtf1{\info{\title T}{\author A}}{\stylesheet{\s0 Normal;}}a})", {"a"}},
      {"header and footer", R"({\rtf1{\header H\par}{\footerr F\par}a})", {"a"}},
      {"picture as hex", R"({\rtf1 a{\pict\pngblip 89504e47 7b7d}b})", {"ab"}},
      {"binary data with braces", std::string("{\\rtf1 a{\\pict\\bin5 }{\\\\\x80}b}"), {"ab"}},
      {"field result kept, instruction not", R"({\rtf1{\field{\fldinst HYPERLINK "x"}{\fldrslt Link}}})",
       {"Link"}},
      {"list numbering text", R"({\rtf1{\listtext 1.\tab}a\par{\pntext\f1\'B7\tab}b})", {"a", "b"}},
  });
}

TEST(RtfReader, CodePagesOfDocumentAndFonts) {
  CheckLines({
      {"no code page is Windows-1252", R"({\rtf1 \'88\'80})", {"\x88\x80"}},
      {"ansicpg1251: euro moves, Cyrillic becomes ?", R"({\rtf1\ansi\ansicpg1251 \'88\'c0\'e0 x})",
       {"\x80?? x"}},
      {"ansicpg1250", R"({\rtf1\ansi\ansicpg1250 \'e8\'f6\'8a})", {"?\xF6\x8A"}},
      {"ansicpg437", R"({\rtf1\ansi\ansicpg437 \'84\'81\'e1})", {"\xE4\xFC\xDF"}},
      {"pc means 437", R"({\rtf1\pc \'84})", {"\xE4"}},
      {"literal high bytes decoded too", "{\\rtf1\\ansicpg437 \x84}", {"\xE4"}},
      {"fcharset204 font in a 1252 document",
       R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0 Arial;}{\f1\fcharset204 Arial CYR;}}\f1\'88\f0\'88})",
       {"\x80\x88"}},
      {"fcharset0 font in a 1251 document",
       R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fcharset0 Arial;}}\f0\'88})", {"\x88"}},
      {"double-byte character is one ?", R"({\rtf1\ansi\ansicpg932 a\'82\'a0b\'83e})", {"a?b?"}},
      {"lone lead byte", R"({\rtf1\ansi\ansicpg932 a\'82})", {"a?"}},
      {"unknown code page keeps the bytes", R"({\rtf1\ansi\ansicpg99999 \'e4})", {"\xE4"}},
  });
}

TEST(RtfReader, CharacterFormatsFollowGroupsAndResets) {
  const std::string header = R"({\rtf1\ansi\deff0{\fonttbl{\f0\fswiss\fcharset0 Arial;})"
                             R"({\f1{\*\panose 02020603050405020304}Times New Roman;}})"
                             R"({\colortbl;\red255\green0\blue0;\red0\green128\blue255;})";
  const RtfCharFormat arial = Format("Arial", 24);
  RtfCharFormat boldTimes = Format("Times New Roman", 20, true);
  struct Case {
    const char* name;
    std::string body;
    RtfParagraph expected;
  };
  RtfCharFormat underline = arial;
  underline.Underline = true;
  RtfCharFormat strike = arial;
  strike.StrikeOut = true;
  const std::vector<Case> cases = {
      {"default font from deff", "a", {{"a", arial}}},
      {"group restores the format", R"(a{\f1\fs20\b b}c)", {{"a", arial}, {"b", boldTimes}, {"c", arial}}},
      {"adjacent equal formats merge", R"({\b x}{\b y}z)", {{"xy", Format("Arial", 24, true)}, {"z", arial}}},
      {"parameter 0 turns off", R"(\b\i a\b0\i0 b)", {{"a", Format("Arial", 24, true, true)}, {"b", arial}}},
      {"plain resets", R"(\f1\fs20\b\cf1 a\plain b)", {{"a", WithColor(boldTimes, 0x0000FF)}, {"b", arial}}},
      {"colours from the table", R"(\cf2 a\cf0 b\cf9 c)", {{"a", WithColor(arial, 0xFF8000)}, {"bc", arial}}},
      {"underline kinds", R"(\ul a\ulnone b\uldb c\ul0 d)", {{"a", underline}, {"b", arial}, {"c", underline}, {"d", arial}}},
      {"strike", R"(\strike a\strike0 b)", {{"a", strike}, {"b", arial}}},
      {"unknown font has no face", R"(\f7 a)", {{"a", Format("", 24)}}},
      {"fs without parameter is 24", R"(\fs30\fs a)", {{"a", arial}}},
  };
  for (const Case& c : cases) {
    const RtfDocument doc = ParseRtf(header + c.body + "}");
    ASSERT_EQ(doc.Paragraphs.size(), 1u) << c.name;
    EXPECT_EQ(doc.Paragraphs[0], c.expected) << c.name;
  }
}

TEST(RtfReader, FontTableEntriesWithoutGroupsOrSemicolons) {
  const RtfDocument doc = ParseRtf(
      R"({\rtf1{\fonttbl\f0\fswiss Helvetica;\f1\fmodern Courier New;}{\fonttbl{\f2 Tahoma}}\f1 a\f2 b\f0 c})");
  ASSERT_EQ(doc.Paragraphs.size(), 1u);
  const RtfParagraph& p = doc.Paragraphs[0];
  ASSERT_EQ(p.size(), 3u);
  EXPECT_EQ(p[0].Format.Face, "Courier New");
  EXPECT_EQ(p[1].Format.Face, "Tahoma");
  EXPECT_EQ(p[2].Format.Face, "Helvetica");
}

TEST(RtfReader, LibreOfficeDocument) {
  const RtfDocument doc = ParseRtf(test::kLibreOfficeSample);
  EXPECT_EQ(DocumentLines(doc), (Lines{"Ti: M\xE4rchen", "Sp: Deutsch - English", "Haus - house (s.)"}));
  ASSERT_EQ(doc.Paragraphs.size(), 3u);
  EXPECT_EQ(doc.Paragraphs[0], (RtfParagraph{{"Ti: M\xE4rchen", Format("Liberation Serif", 24)}}));
  EXPECT_EQ(doc.Paragraphs[1][0].Format, Format("Liberation Serif", 24, true));
  RtfCharFormat red = WithColor(Format("Liberation Serif", 28, false, true), 0x0000FF);
  EXPECT_EQ(doc.Paragraphs[2],
            (RtfParagraph{{"Haus - house", red}, {" (s.)", Format("Liberation Serif", 24)}}));
}

TEST(RtfReader, WordPadDocument) {
  const RtfDocument doc = ParseRtf(test::kWordPadSample);
  EXPECT_EQ(DocumentLines(doc), (Lines{"Ti: Gr\xFC\xDF" "e", "Sp: Deutsch - Russisch", "Euro - \x80?"}));
  ASSERT_EQ(doc.Paragraphs.size(), 3u);
  EXPECT_EQ(doc.Paragraphs[0][0].Format, WithColor(Format("Calibri", 22, true), 0xBB4D00));
  EXPECT_EQ(doc.Paragraphs[2][1], (RtfRun{"\x80?", Format("Arial CYR", 22)}));
}

TEST(RtfReader, WordDocument) {
  const RtfDocument doc = ParseRtf(test::kWordSample);
  EXPECT_EQ(DocumentLines(doc), (Lines{"Ti: Stra\xDF" "e", "Caf\xE9 - caf\xE9\t(s.)", "Link"}));
  ASSERT_EQ(doc.Paragraphs.size(), 3u);
  EXPECT_EQ(doc.Paragraphs[0][0].Format, Format("Arial", 22, true));
  RtfCharFormat link = WithColor(Format("Arial", 22), 0xFF0000);
  link.Underline = true;
  EXPECT_EQ(doc.Paragraphs[2], (RtfParagraph{{"Link", link}}));
}

TEST(RtfReader, PandocDocument) {
  const RtfDocument doc = ParseRtf(
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 \\fswiss Helvetica;}{\\f1 \\fmodern Courier;}}\n"
      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\n\\widowctrl\\hyphauto\n\n"
      "{\\pard \\ql \\f0 \\sa180 \\li0 \\fi0 Ti: Tiere\\par}\n"
      "{\\pard \\ql \\f0 \\sa180 \\li0 \\fi0 K\\u228?fer - beetle\\par}\n"
      "{\\pard \\ql \\f0 \\sa180 \\li0 \\fi0 {\\b Hund} - {\\i dog} \\u8364? {\\f1 x}\\par}\n}\n");
  EXPECT_EQ(DocumentLines(doc), (Lines{"Ti: Tiere", "K\xE4" "fer - beetle", "Hund - dog \x80 x"}));
  ASSERT_EQ(doc.Paragraphs.size(), 3u);
  EXPECT_EQ(doc.Paragraphs[2], (RtfParagraph{{"Hund", Format("Helvetica", 24, true)},
                                             {" - ", Format("Helvetica", 24)},
                                             {"dog", Format("Helvetica", 24, false, true)},
                                             {" \x80 ", Format("Helvetica", 24)},
                                             {"x", Format("Courier", 24)}}));
}

TEST(PlainTextLines, SplitsAtEveryKindOfLineBreak) {
  const std::vector<std::pair<std::string, Lines>> cases = {
      {"a\r\nb\r\nc\r\n", {"a", "b", "c"}},
      {"a\nb\nc", {"a", "b", "c"}},
      {"a\rb\rc\r", {"a", "b", "c"}},
      {"a\r\n\nb\r\rc", {"a", "", "b", "", "c"}},
      {"\r\n", {""}},
      {"", {}},
      {"Ti: \xE4\xF6\xFC\xDF\r\nHaus - house", {"Ti: \xE4\xF6\xFC\xDF", "Haus - house"}},
      {"Ti: \xC3\xA4\xC3\xB6\xC3\xBC\xC3\x9F\n", {"Ti: \xE4\xF6\xFC\xDF"}},
      {"\xEF\xBB\xBFTi: plain\r\n", {"Ti: plain"}},
      {"\xEF\xBB\xBF\xC3\xA4\n", {"\xE4"}},
      {"\xD0\x9F\xD1\x80\xD0\xB8 - \xE2\x82\xAC", {"??? - \x80"}},
      {"\xC3\xA4 but \xE4 too", {"\xC3\xA4 but \xE4 too"}},  // not valid UTF-8: taken as 1252
  };
  for (const auto& [data, expected] : cases) EXPECT_EQ(PlainTextLines(data), expected) << data;
}

// Windows-1252 text makes valid UTF-8 by accident from an accented capital
// or "ß" and the punctuation mark after it; such text reads as Windows-1252.
TEST(PlainTextLines, Windows1252WhoseBytesFormUtf8ByAccidentStaysWindows1252) {
  const std::vector<std::pair<std::string, Lines>> cases = {
      {"Fu\xDF\x93 - foot\nCAF\xC9\x92S - x", {"Fu\xDF\x93 - foot", "CAF\xC9\x92S - x"}},  // N'Ko, IPA
      {"NI\xD1\x94O", {"NI\xD1\x94O"}},                 // a Cyrillic letter inside a Latin word
      {"\xD1\x94O", {"\xD1\x94O"}},                     // ... or just before one
      {"\xC3\x80\xC2\x80", {"\xC3\x80\xC2\x80"}},   // a C1 control
      {"Haus - \xD0\xB4\xD0\xBE\xD0\xBC, \xCE\xB8\xCE\xAC", {"Haus - ???, ??"}},  // Cyrillic, Greek words
      {"\xC3\xA4 \xE2\x86\x92 \xE4\xB8\xAD", {"\xE4 ? ?"}},  // three-byte characters are no accident
      {"\xC5\x82\xC3\xB3" "d\xC5\xBA - Lodz", {"?\xF3" "d? - Lodz"}},  // Polish "łódź" is no accident either
  };
  for (const auto& [data, expected] : cases) EXPECT_EQ(PlainTextLines(data), expected) << data;
}

// What the writer makes of lines reads back as those lines, as Windows-1252
// where that is unambiguous, else as UTF-8 with a byte-order mark.
TEST(TextFileImage, LinesReadBackAsWritten) {
  const struct {
    Lines lines;
    bool bom;
  } cases[] = {
      {{"Ti: Stra\xDF" "e", "Haus - house"}, false},
      {{"Fu\xDF\x93 - foot", "CAF\xC9\x92S - x"}, false},
      {{"caf\xC3\xA9 - x"}, true},                                     // "cafÃ©" reads as UTF-8 "café"
      {{"\xD0\xB4\xD0\xBE\xD0\xBC - x"}, true},                     // "Ð´Ð¾Ð¼" a Cyrillic word
      {{"\xC2\x81\xC2\x8D\xC2\x9D"}, true},                         // the codes Windows-1252 leaves undefined
      {{"\xEF\xBB\xBF" "x\xE4"}, true},                                // a byte-order mark's bytes first
      {{"\xC5\x82" "a"}, true},                                      // "Å‚a" reads as UTF-8 "ła"
      {{"", ""}, false},
  };
  for (const auto& c : cases) {
    const std::string image = TextFileImage(c.lines);
    EXPECT_EQ(image.starts_with("\xEF\xBB\xBF"), c.bom) << c.lines[0];
    EXPECT_EQ(PlainTextLines(image), c.lines);
  }
}

TEST(RtfToLines, ReadsRichAndPlainTextFiles) {
  test::TempDir dir;
  const std::string rtf = dir.File("lesson.rtf");
  const std::string txt = dir.File("lesson.txt");
  const std::string rtfNamedTxt = dir.File("other.txt");
  test::WriteFile(rtf, R"({\rtf1\ansi Ti: Tiere\par Hund - dog\par Katze - cat\par})");
  test::WriteFile(txt, "Ti: Tiere\r\nHund - dog\r\nKatze - cat");
  test::WriteFile(rtfNamedTxt, "{\\rtf1 x\\par}");
  const Lines expected = {"Ti: Tiere", "Hund - dog", "Katze - cat"};
  EXPECT_EQ(RtfToLines(rtf), expected);
  EXPECT_EQ(RtfToLines(txt), expected);
  EXPECT_EQ(RtfToLines(rtfNamedTxt), Lines{"x"});
}

TEST(RtfReader, TrackedDeletionsAreNoPartOfTheText) {
  CheckLines({
      {"deleted word", R"({\rtf1 house - {\deleted\revauthdel1 Hau}Haus\par})", {"house - Haus"}},
      {"deleted line with its paragraph mark", R"({\rtf1 a - b\par {\deleted c - d\par}e - f\par})",
       {"a - b", "e - f"}},
      {"deleted paragraph mark joins", R"({\rtf1 a - {\deleted\par}b\par})", {"a - b"}},
      {"switched off", R"({\rtf1 {\deleted x\deleted0 y}z})", {"yz"}},
      {"plain ends it", R"({\rtf1 {\deleted x\plain y}})", {"y"}},
      {"inserted text stays", R"({\rtf1 {\revised\revauth1 new}})", {"new"}},
      {"cells keep their tabs", R"({\rtf1\trowd a - b\cell {\deleted c}\cell d\cell\row})", {"a - b\t\td"}},
  });
}

TEST(LessonTextFiles, CharactersALessonCannotHoldAndTableRowsOfTwoEntriesAreNamed) {
  test::TempDir dir;
  const struct {
    const char* name;
    std::string data;
    Lines lines;
    std::size_t lossyLines;
    std::string sample;
    Lines tableRows;
  } cases[] = {
      {"greek and an emoji", R"({\rtf1 Sp: Deutsch - Greek\par Haus - \u959?\u953?\u954?\u959?\u962?\par )"
                             R"(Lachen - \u-10179?\u-8704?\par})",
       {"Sp: Deutsch - Greek", "Haus - ?????", "Lachen - ?"}, 2, "Greek", {}},
      {"cyrillic of a code page", R"({\rtf1\ansi\ansicpg1251 Haus - \'e4\'ee\'ec\par})", {"Haus - ???"}, 1,
       "Cyrillic", {}},
      {"utf-8 text", "Haus - \xD0\xB4\xD0\xBE\xD0\xBC\nBaum - tree\n", {"Haus - ???", "Baum - tree"}, 1,
       "Cyrillic", {}},
      {"table rows", R"({\rtf1\trowd give (v.) - geben\cell take\cell\row)"
                     R"(\trowd go - gehen\cell come - kommen\cell\row)"
                     R"(\trowd house\cell -\cell Haus\cell\row\trowd tree - Baum\cell\cell\row})",
       {"give (v.) - geben\ttake", "go - gehen\tcome - kommen", "house\t-\tHaus", "tree - Baum\t"}, 0, "",
       {"give (v.) - geben\ttake", "go - gehen\tcome - kommen"}},
  };
  for (const auto& c : cases) {
    const std::string file = dir.File(std::string(c.name) + (IsRtfData(c.data) ? ".rtf" : ".txt"));
    test::WriteFile(file, c.data);
    TransferReport report;
    NoteTextLines(ReadTextFileLines(file), report);
    EXPECT_EQ(RtfToLines(file), c.lines) << c.name;
    EXPECT_EQ(report.LossyLines, c.lossyLines) << c.name;
    EXPECT_EQ(report.Lost.Sample(), c.sample) << c.name;
    EXPECT_EQ(report.TableRows, c.tableRows) << c.name;
    // Reading the file as a lesson reports the same.
    TMeanCollection lesson;
    TransferReport read;
    lesson.LoadText(file, &read);
    EXPECT_EQ(read.TableRows, c.tableRows) << c.name;
    EXPECT_EQ(read.LossyLines, c.lossyLines) << c.name;
  }
  TransferReport report;
  report.LinesRead = 3;
  report.LossyLines = 2;
  report.Lost.FromUtf8("\xCE\xBF");
  report.TableRows = {"go - gehen\tcome - kommen"};
  EXPECT_EQ(ReadNotes(report, "f.rtf", true),
            (Lines{"'f.rtf': these lines come from table rows holding more than one entry; each reads as one entry: "
                   "\"go - gehen\tcome - kommen\"",
                   "'f.rtf': 2 of 3 lines hold characters a lesson file cannot store (for example Greek); they were "
                   "read as '?'."}));
}

TEST(RtfToLines, MissingFileRaisesOpenError) {
  test::TempDir dir;
  const std::string missing = dir.File("missing.rtf");
  try {
    RtfToLines(missing);
    FAIL() << "no exception";
  } catch (const EFOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Kann Datei " + missing + " nicht öffnen");
  }
}

}  // namespace
}  // namespace vocatrix
