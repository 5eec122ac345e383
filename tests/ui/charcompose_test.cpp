// SPDX-License-Identifier: GPL-3.0-or-later
// Accent composition of the character buttons.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <ostream>

#include "ui/characters/charcompose.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

QString Cp(const char* cp1252) { return ToQString(cp1252); }

struct ComposeCase {
  const char* text;  // Windows-1252
  int caret;
  unsigned char clicked;
  const char* expected;
  int expectedCaret;
};

void PrintTo(const ComposeCase& c, std::ostream* os) {
  *os << ToQString(c.text).toStdString() << "|" << c.caret << " + " << static_cast<int>(c.clicked);
}

class ComposeCharacterTest : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeCharacterTest, ComposesOrInserts) {
  const ComposeCase& c = GetParam();
  const Composition result = ComposeCharacter(Cp(c.text), c.caret, c.clicked);
  EXPECT_EQ(result.Text, Cp(c.expected));
  EXPECT_EQ(result.Caret, c.expectedCaret);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ComposeCharacterTest,
    ::testing::Values(ComposeCase{"e", 1, 0xB4, "\xE9", 1},          // e + acute = é
                      ComposeCase{"\xE9", 1, 0x60, "\xE8", 1},       // é + grave = è (accent replaced)
                      ComposeCase{"x", 1, 0xB4, "x\xB4", 2},         // x cannot carry it
                      ComposeCase{"", 0, 0xB4, "\xB4", 1},           // start of the field
                      ComposeCase{"abc", 0, 0xB4, "\xB4" "abc", 1},  // caret at the start
                      ComposeCase{"c", 1, 0xB8, "\xE7", 1},          // c + cedilla = ç
                      ComposeCase{"C", 1, 0x98, "C\x98", 2},         // C + tilde does not compose
                      ComposeCase{"n", 1, 0x98, "\xF1", 1},          // ñ
                      ComposeCase{"Y", 1, 0xA8, "\x9F", 1},          // Ÿ lies outside Latin-1
                      ComposeCase{"y", 1, 0xB4, "\xFD", 1},          // ý
                      ComposeCase{"a", 1, 0xB0, "\xE5", 1},          // å
                      ComposeCase{"abc", 2, 0xF6, "ab\xF6" "c", 3},  // plain character between b and c
                      ComposeCase{"ab", 1, 0x88, "\xE2" "b", 1},     // â in the middle
                      ComposeCase{"u", 1, 0x20, "u ", 2}));          // a space is a character

TEST(CharClasses, EveryAccentedLetterComposesBackToItsClass) {
  // Each composed letter belongs to the class of its base letter, so a new
  // accent always replaces an old one.
  for (int accent = 0; accent < 7; ++accent) {
    for (int letter = 0; letter < 16; ++letter) {
      if (const unsigned char composed = CompositionTable(accent, letter)) {
        EXPECT_EQ(LetterClass(composed), letter) << accent << "/" << letter;
      }
    }
  }
  EXPECT_EQ(AccentClass('a'), 7);
  EXPECT_EQ(LetterClass('b'), 16);
  EXPECT_EQ(CompositionTable(7, 0), 0);
  EXPECT_EQ(CompositionTable(0, 16), 0);
}

TEST(InsertCharacter, LineEditDropsSelectionAndInsertsAtCaret) {
  QLineEdit edit(Cp("abcdef"));
  edit.setSelection(1, 3);  // "bcd", caret after d
  ASSERT_TRUE(InsertCharacter(&edit, 0xF6));
  EXPECT_EQ(edit.text(), Cp("abcd\xF6" "ef"));
  EXPECT_EQ(edit.cursorPosition(), 5);
  EXPECT_FALSE(edit.hasSelectedText());
}

TEST(InsertCharacter, MemoComposesAcrossLines) {
  QPlainTextEdit memo;
  memo.setPlainText("one\ne");
  QTextCursor cursor = memo.textCursor();
  cursor.movePosition(QTextCursor::End);
  memo.setTextCursor(cursor);
  ASSERT_TRUE(InsertCharacter(&memo, 0xB4));
  EXPECT_EQ(memo.toPlainText(), Cp("one\n\xE9"));
  EXPECT_EQ(memo.textCursor().position(), 5);
}

TEST(InsertCharacter, IgnoresControlsThatAreNoTextFields) {
  QComboBox combo;
  QLineEdit readOnly("e");
  readOnly.setReadOnly(true);
  EXPECT_FALSE(InsertCharacter(&combo, 'x'));
  EXPECT_FALSE(InsertCharacter(&readOnly, 0xB4));
  EXPECT_FALSE(InsertCharacter(nullptr, 'x'));
  EXPECT_EQ(readOnly.text(), "e");
}

}  // namespace
}  // namespace vocatrix::ui
