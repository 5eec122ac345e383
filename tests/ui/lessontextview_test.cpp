// SPDX-License-Identifier: GPL-3.0-or-later
// The Text page's document without a window: lesson text in the language
// fonts, reading it back as lines and as rich text, and the lines around the
// caret.

#include <gtest/gtest.h>

#include <random>

#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

#include "core/test_util.h"
#include "files/fontranges.h"
#include "files/rtf/rtf.h"
#include "ui/textview/lessontextview.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::test {
namespace {

using Lines = std::vector<std::string>;
using ui::RunFormatOf;

struct Languages {
  TLanguage english{"English"};
  TLanguage deutsch{"Deutsch"};
  TFont memo = DefaultMemoFont();
  Languages() {
    english.Font = TextToFont("Times New Roman_clRed_12_[]");
    deutsch.Font = TextToFont("Arial_clBlue_14_[Italic]");
  }
};

// A document of lesson text as the Text page shows it, in the languages' fonts.
std::unique_ptr<QTextDocument> Shown(const Lines& lines, const Languages& l) {
  const QFont memoFont = ui::ToQFont(l.memo);
  std::unique_ptr<QTextDocument> document(ui::NewTextDocument(lines, memoFont, nullptr));
  ui::ShowLessonTextFonts(document.get(), lines, l.english, l.deutsch, l.memo);
  return document;
}

// The run format of each character of a line ("" for the document's own
// format, else the face).
std::vector<RtfCharFormat> FormatsOfLine(const QTextDocument& document, int line) {
  std::vector<RtfCharFormat> formats;
  const QTextBlock block = document.findBlockByNumber(line);
  for (int i = 0; i < block.length() - 1; ++i) {
    QTextCursor cursor(block);
    cursor.setPosition(block.position() + i + 1);  // the format of the character before the cursor
    formats.push_back(RunFormatOf(cursor.charFormat(), document.defaultFont()));
  }
  return formats;
}

RtfCharFormat FormatIn(const TFont& font) { return RunFormatOf(ui::CharFormatOfFont(font), QFont()); }

TEST(LessonTextView, LanguageLineDecidesTheFontsOfTheWordsThatFollow) {
  Languages l;
  const Lines lines{"Ti: T", "Sp: Deutsch\t - \tEnglish", "Haus (s.)\t - \thouse"};
  const auto document = Shown(lines, l);
  ASSERT_EQ(document->blockCount(), 3);
  EXPECT_EQ(document->findBlockByNumber(2).text(), "Haus (s.)\t - \thouse");

  const RtfCharFormat english = FormatIn(l.english.Font);
  const RtfCharFormat deutsch = FormatIn(l.deutsch.Font);
  const RtfCharFormat memo = RunFormatOf(QTextCharFormat(), document->defaultFont());
  const RtfCharFormat memoSet = FormatIn(l.memo);
  // The title's value in language 1's font, the tag in the memo font.
  const std::vector<RtfCharFormat> title = FormatsOfLine(*document, 0);
  EXPECT_EQ(title[0].Face, memo.Face);
  EXPECT_EQ(title[4], english);

  const std::vector<RtfCharFormat> entry = FormatsOfLine(*document, 2);
  ASSERT_EQ(entry.size(), 19u);
  for (int i : {0, 1, 2, 3, 4}) EXPECT_EQ(entry[i], deutsch) << i;      // "Haus "
  for (int i : {5, 6, 7, 8, 9}) EXPECT_EQ(entry[i], memoSet) << i;      // "(s.)" and the tab after it
  // The marker and the gaps around it stay in the memo font: a struck-out
  // language font strikes out the words, not the space between them.
  for (int i : {10, 11, 12, 13}) EXPECT_EQ(entry[i], memo) << i;
  for (int i = 14; i < 19; ++i) EXPECT_EQ(entry[i], english) << i;      // "house"
}

TEST(LessonTextView, MarkersLineUpOnThePageUpToASensibleWidth) {
  Languages l;
  const std::string longWord(200, 'w');
  const Lines lines{"Sp: Deutsch\t - \tEnglish", "Haus (s.)\t - \thouse", "Schreibtischlampe\t - \tdesk lamp",
                    "gehen (v.)\t - \tgo", "Sp: English\t - \tDeutsch", "I\t - \tich", longWord + "\t - \tx"};
  const auto document = Shown(lines, l);
  QPlainTextEdit page;
  page.setDocument(document.get());
  page.setLineWrapMode(QPlainTextEdit::NoWrap);
  page.resize(1200, 400);
  page.show();
  // Where each line's marker stands.
  const auto markerX = [&](int line) {
    QTextCursor cursor(document->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor,
                        static_cast<int>(lines[static_cast<std::size_t>(line)].find('-')));
    return page.cursorRect(cursor).x();
  };
  const int x = markerX(1);
  for (int line : {0, 2, 3, 4, 5}) EXPECT_EQ(markerX(line), x) << lines[static_cast<std::size_t>(line)];
  // ...and the right words too; a left word wider than the limit goes beyond it.
  const auto rightX = [&](int line) {
    QTextCursor cursor(document->findBlockByNumber(line));
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.movePosition(QTextCursor::StartOfWord);
    return page.cursorRect(cursor).x();
  };
  EXPECT_EQ(rightX(1), rightX(3));
  EXPECT_GT(x, QFontMetrics(ui::ToQFont(l.deutsch.Font)).horizontalAdvance("Schreibtischlampe"));
  EXPECT_LT(x, 400);
  EXPECT_GT(markerX(6), x);
  page.setDocument(nullptr);
}

TEST(LessonTextView, EqualFontsLeaveTheWholeTextInTheMemoFont) {
  Languages l;
  l.english.Font = l.memo;
  l.deutsch.Font = l.memo;
  const auto document = Shown({"Sp: English - Deutsch", "go (v.) - gehen"}, l);
  for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
      EXPECT_EQ(it.fragment().charFormat().properties().size(), 0) << it.fragment().text().toStdString();
}

TEST(LessonTextView, ProgressReachesTheLastLineInFewSteps) {
  Languages l;
  Lines lines{"Sp: English - Deutsch"};
  for (int i = 0; i < 5000; ++i) lines.push_back("w" + std::to_string(i) + " - x");
  std::vector<int> maxima;
  std::vector<int> positions;
  const ui::LineProgress progress{[&](int m) { maxima.push_back(m); }, [&](int p) { positions.push_back(p); }};
  std::unique_ptr<QTextDocument> document(ui::NewTextDocument(lines, ui::ToQFont(l.memo), nullptr, &progress));
  EXPECT_EQ(maxima, (std::vector<int>{5001}));
  ASSERT_FALSE(positions.empty());
  EXPECT_EQ(positions.front(), 0);
  EXPECT_LE(positions.size(), static_cast<std::size_t>(ui::kProgressSteps + 1));
  EXPECT_TRUE(std::is_sorted(positions.begin(), positions.end()));

  positions.clear();
  ui::ShowLessonTextFonts(document.get(), lines, l.english, l.deutsch, l.memo, &progress);
  EXPECT_EQ(maxima.back(), 5000);  // the last line's index
  ASSERT_FALSE(positions.empty());
  EXPECT_EQ(positions.back(), 5000);
  EXPECT_LE(positions.size(), static_cast<std::size_t>(ui::kProgressSteps + 2));
}

TEST(LessonTextView, LinesEndAtBlocksAndLineSeparators) {
  QTextDocument document;
  const QString nbsp(QChar(0xA0));
  document.setPlainText("first\nsec" + nbsp + "ond" + QChar(QChar::LineSeparator) + "third\n\nlast \u263A \u263A");
  QString rejected;
  EXPECT_EQ(ui::DocumentLines(&document, &rejected),
            (Lines{"first", "sec\xA0ond", "third", "", "last ? ?"}));
  EXPECT_EQ(rejected, QString("\u263A"));  // named once
  EXPECT_EQ(ui::LineSpan(&document, 0), std::make_pair(0, 5));
  EXPECT_EQ(ui::LineSpan(&document, 1), std::make_pair(6, 13));
  EXPECT_EQ(ui::LineSpan(&document, 2), std::make_pair(14, 19));
  EXPECT_EQ(ui::LineSpan(&document, 3), std::make_pair(20, 20));
  EXPECT_EQ(ui::LineSpan(&document, 5), std::make_pair(-1, -1));

  QTextDocument empty;
  EXPECT_EQ(ui::DocumentLines(&empty), (Lines{""}));
}

// The whole-text search finds what Qt's block-by-block search finds, from
// every place, with and without a selection, in both directions and with
// every option: whole words next to letters, digits, blanks and line ends,
// a no-break space matching a blank, case, line separators, repeats.
TEST(LessonTextView, FindInTheWholeTextAgreesWithQtsSearch) {
  const QString nbsp(QChar::Nbsp);
  const QString text = "Haus haus\t- Häus" + nbsp + "haus\nhaus2 aHaus\n\nHAUS" + QString(QChar::LineSeparator) +
                       "haus haushaus\nhaus";
  QTextDocument document;
  document.setPlainText(text);
  const QString searches[] = {"haus", "Haus", "s h", "aus", "haushaus", "ä", "x", "haus\nhaus", "s" + nbsp + "h"};
  const QTextDocument::FindFlags flagSets[] = {
      {}, QTextDocument::FindCaseSensitively, QTextDocument::FindWholeWords,
      QTextDocument::FindBackward, QTextDocument::FindBackward | QTextDocument::FindWholeWords,
      QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords | QTextDocument::FindBackward};
  const auto span = [](const QTextCursor& c) {
    return c.isNull() ? std::pair<int, int>{-1, -1} : std::pair<int, int>{c.selectionStart(), c.selectionEnd()};
  };
  int found = 0;
  for (const QString& search : searches) {
    for (const QTextDocument::FindFlags flags : flagSets) {
      for (int at = 0; at < document.characterCount(); ++at) {
        for (const int selected : {0, 3}) {
          QTextCursor from(&document);
          from.setPosition(at);
          from.setPosition(std::min(at + selected, document.characterCount() - 1), QTextCursor::KeepAnchor);
          SCOPED_TRACE(search.toStdString() + " at " + std::to_string(at) + " flags " + std::to_string(flags.toInt()));
          const auto expected = span(document.find(search, from, flags));
          ASSERT_EQ(span(ui::FindInDocument(&document, search, from, flags)), expected);
          found += expected.first >= 0;
        }
      }
    }
  }
  EXPECT_GT(found, 500);
  EXPECT_TRUE(ui::FindInDocument(&document, "", QTextCursor(&document), {}).isNull());
}

TEST(LessonTextView, LineAndLanguageLineAroundTheCaret) {
  QTextDocument document;
  document.setPlainText("Sp: English - Deutsch\nhouse - Haus\nSp: Deutsch - English" + QString(QChar::LineSeparator) +
                        "Haus - house\nx");
  // Caret inside "house" of line 1.
  EXPECT_EQ(ui::LineAtPosition(&document, 25), std::make_pair(QString("house - Haus"), 3));
  EXPECT_EQ(ui::LanguageLineAbove(&document, 25), "Sp: English - Deutsch");
  // The language line itself counts; so does one above in the same block.
  EXPECT_EQ(ui::LanguageLineAbove(&document, 36), "Sp: Deutsch - English");
  const int haus = static_cast<int>(document.toRawText().indexOf("Haus - house"));
  EXPECT_EQ(ui::LineAtPosition(&document, haus + 2), std::make_pair(QString("Haus - house"), 2));
  EXPECT_EQ(ui::LineAtPosition(&document, haus), std::make_pair(QString("Haus - house"), 0));
  EXPECT_EQ(ui::LanguageLineAbove(&document, haus), "Sp: Deutsch - English");
  EXPECT_EQ(ui::LanguageLineAbove(&document, document.characterCount() - 1), "Sp: Deutsch - English");
  EXPECT_EQ(ui::LanguageLineAbove(&document, 0), "Sp: English - Deutsch");

  QTextDocument none;
  none.setPlainText("a - b\nc - d");
  EXPECT_EQ(ui::LanguageLineAbove(&none, 8), "");
}

TEST(LessonTextView, LanguageLineIndexFollowsEveryEditAsTheWalkBackWould) {
  QTextDocument document;
  document.setPlainText("Ti: x\nSp: English - Deutsch\na - b\nc - d\nSp: Deutsch - English\ne - f\ng - h");
  ui::LanguageLineIndex index(&document);
  // Random insertions of lines, language lines, tags, separators inside a
  // block and bare characters, and random removals.
  const QString pieces[] = {"Sp: A - B\n", "x", "\n", "Sp:", "S", QString(QChar::LineSeparator) + "Sp: C - D",
                            "\nSp: E - F", "p:"};
  std::mt19937 random(7);
  for (int step = 0; step < 400; ++step) {
    QTextCursor cursor(&document);
    const int size = document.characterCount() - 1;
    cursor.setPosition(static_cast<int>(random() % static_cast<unsigned>(size + 1)));
    if (random() % 3 == 0 && size > 0) {
      cursor.setPosition(std::min(size, cursor.position() + static_cast<int>(random() % 12)), QTextCursor::KeepAnchor);
      cursor.removeSelectedText();
    } else {
      cursor.insertText(pieces[random() % std::size(pieces)]);
    }
    for (int position = 0; position < document.characterCount(); position += 3)
      ASSERT_EQ(index.LineAbove(position), ui::LanguageLineAbove(&document, position)) << step << " at " << position;
  }
  // A document replaced whole.
  document.setPlainText("a - b\nSp: X - Y\nc - d");
  EXPECT_EQ(index.LineAbove(0), "");
  EXPECT_EQ(index.LineAbove(document.characterCount() - 1), "Sp: X - Y");
}

TEST(LessonTextView, RichTextRunsSurviveTheDocumentAndTheRtfWriter) {
  RtfCharFormat plain;
  plain.Face = "Arial";
  plain.HalfPoints = 21;  // 10.5 points
  RtfCharFormat styled = plain;
  styled.Face = "Times New Roman";
  styled.HalfPoints = 28;
  styled.Bold = styled.Italic = styled.Underline = styled.StrikeOut = true;
  styled.HasColor = true;
  styled.Color = 0x00336699;
  RtfDocument rich;
  rich.Paragraphs = {{{"Stra\xDF" "e ", plain}, {"- street", styled}}, {}, {{"caf\xE9\t{x}\\", styled}}};

  const QFont memo = ui::ToQFont(DefaultMemoFont());
  std::unique_ptr<QTextDocument> document(ui::NewRichTextDocument(rich, memo, nullptr));
  EXPECT_EQ(ui::DocumentLines(document.get()), (Lines{"Stra\xDF" "e - street", "", "caf\xE9\t{x}\\"}));
  const RtfDocument back = ui::DocumentToRich(document.get());
  ASSERT_EQ(back.Paragraphs.size(), 3u);
  EXPECT_EQ(back.Paragraphs[0], rich.Paragraphs[0]);
  EXPECT_TRUE(back.Paragraphs[1].empty());
  EXPECT_EQ(back.Paragraphs[2], rich.Paragraphs[2]);

  // Written as RTF and read back: the same lines and formats.
  const RtfDocument reread = ParseRtf(WriteRtf(back));
  EXPECT_EQ(DocumentLines(reread), (Lines{"Stra\xDF" "e - street", "", "caf\xE9\t{x}\\"}));
  ASSERT_EQ(reread.Paragraphs.size(), 3u);
  EXPECT_EQ(reread.Paragraphs[0], rich.Paragraphs[0]);
  EXPECT_EQ(reread.Paragraphs[2], rich.Paragraphs[2]);
}

TEST(LessonTextView, ShownLessonTextWrittenAsRtfKeepsItsFonts) {
  Languages l;
  auto lesson = MakeLesson("English", "Deutsch", {MakeEntry(0, {"go", "walk"}, {"gehen"}), MakeEntry(4, {"big"})});
  lesson->Language1.Font = l.english.Font;
  lesson->Language2.Font = l.deutsch.Font;
  const Lines lines = lesson->ToLines();
  const auto document = Shown(lines, l);
  const RtfDocument written = ui::DocumentToRich(document.get());
  const RtfDocument reread = ParseRtf(WriteRtf(written));
  EXPECT_EQ(DocumentLines(reread), lines);
  // Each character in the same font as the core's own rendering of the text,
  // apart from the characters left in the document's own font.
  const RtfDocument expected = LessonTextDocument(
      lines, LessonTextFontRanges(lines, l.english, l.deutsch, l.memo, true), l.memo);
  ASSERT_EQ(reread.Paragraphs.size(), expected.Paragraphs.size());
  const RtfCharFormat unformatted = RunFormatOf(QTextCharFormat(), document->defaultFont());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::vector<RtfCharFormat> got, want;
    for (const RtfRun& r : reread.Paragraphs[i]) got.insert(got.end(), r.Text.size(), r.Format);
    for (const RtfRun& r : expected.Paragraphs[i]) want.insert(want.end(), r.Text.size(), r.Format);
    ASSERT_EQ(got.size(), want.size()) << lines[i];
    for (std::size_t c = 0; c < got.size(); ++c) {
      if (want[c] == FormatOfFont(l.memo)) EXPECT_EQ(got[c].Face, unformatted.Face) << lines[i] << " @" << c;
      else EXPECT_EQ(got[c], want[c]) << lines[i] << " @" << c;
    }
  }
}

}  // namespace
}  // namespace vocatrix::test
