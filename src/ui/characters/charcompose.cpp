// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/characters/charcompose.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

// Rows: accent class; columns: letter class A a E e I i O o U u C c N n Y y.
constexpr unsigned char kComposition[7][16] = {
    {0xC0, 0xE0, 0xC8, 0xE8, 0xCC, 0xEC, 0xD2, 0xF2, 0xD9, 0xF9, 0, 0, 0, 0, 0, 0},           // `
    {0xC1, 0xE1, 0xC9, 0xE9, 0xCD, 0xED, 0xD3, 0xF3, 0xDA, 0xFA, 0, 0, 0, 0, 0xDD, 0xFD},     // ´
    {0xC2, 0xE2, 0xCA, 0xEA, 0xCE, 0xEE, 0xD4, 0xF4, 0xDB, 0xFB, 0, 0, 0, 0, 0, 0},           // ˆ
    {0xC3, 0xE3, 0, 0, 0, 0, 0xD5, 0xF5, 0, 0, 0, 0, 0xD1, 0xF1, 0, 0},                       // ˜
    {0xC4, 0xE4, 0xCB, 0xEB, 0xCF, 0xEF, 0xD6, 0xF6, 0xDC, 0xFC, 0, 0, 0, 0, 0x9F, 0xFF},     // ¨
    {0xC5, 0xE5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},                                   // °
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xC7, 0xE7, 0, 0, 0, 0},                                   // ¸
};

bool InRange(unsigned char c, unsigned char first, unsigned char last) { return c >= first && c <= last; }

}  // namespace

int AccentClass(unsigned char c) {
  switch (c) {
    case 0x60: return 0;
    case 0xB4: return 1;
    case 0x88: return 2;
    case 0x98: return 3;
    case 0xA8: return 4;
    case 0xB0: return 5;
    case 0xB8: return 6;
    default: return 7;
  }
}

int LetterClass(unsigned char c) {
  if (c == 'A' || InRange(c, 0xC0, 0xC5)) return 0;
  if (c == 'a' || InRange(c, 0xE0, 0xE5)) return 1;
  if (c == 'E' || InRange(c, 0xC8, 0xCB)) return 2;
  if (c == 'e' || InRange(c, 0xE8, 0xEB)) return 3;
  if (c == 'I' || InRange(c, 0xCC, 0xCF)) return 4;
  if (c == 'i' || InRange(c, 0xEC, 0xEF)) return 5;
  if (c == 'O' || InRange(c, 0xD2, 0xD6)) return 6;
  if (c == 'o' || InRange(c, 0xF2, 0xF6)) return 7;
  if (c == 'U' || InRange(c, 0xD9, 0xDC)) return 8;
  if (c == 'u' || InRange(c, 0xF9, 0xFC)) return 9;
  if (c == 'C' || c == 0xC7) return 10;
  if (c == 'c' || c == 0xE7) return 11;
  if (c == 'N' || c == 0xD1) return 12;
  if (c == 'n' || c == 0xF1) return 13;
  if (c == 'Y' || c == 0x9F || c == 0xDD) return 14;
  if (c == 'y' || c == 0xFD || c == 0xFF) return 15;
  return 16;
}

unsigned char CompositionTable(int accentClass, int letterClass) {
  if (accentClass < 0 || accentClass > 6 || letterClass < 0 || letterClass > 15) return 0;
  return kComposition[accentClass][letterClass];
}

Composition ComposeCharacter(const QString& text, int caret, unsigned char c) {
  caret = std::clamp(caret, 0, static_cast<int>(text.size()));
  if (caret > 0) {
    const int before = CodeOfChar(text[caret - 1]);
    if (before >= 0) {
      const int letter = LetterClass(static_cast<unsigned char>(before));
      const int accent = AccentClass(c);
      if (letter != 16 && accent != 7) {
        if (const unsigned char composed = CompositionTable(accent, letter)) {
          QString result = text;
          result[caret - 1] = CharOfCode(composed);
          return {result, caret};
        }
      }
    }
  }
  QString result = text;
  result.insert(caret, CharOfCode(c));
  return {result, caret + 1};
}

namespace {

// Composes at the caret of a document: only the character before the caret
// can change, so just that one is replaced and the rest keeps its format.
QTextCursor ComposeInDocument(QTextDocument* document, int caret, unsigned char c) {
  const QString before = caret > 0 ? QString(document->characterAt(caret - 1)) : QString();
  const Composition composed = ComposeCharacter(before, static_cast<int>(before.size()), c);
  QTextCursor cursor(document);
  cursor.setPosition(caret - static_cast<int>(before.size()));
  cursor.setPosition(caret, QTextCursor::KeepAnchor);
  cursor.insertText(composed.Text);
  return cursor;
}

}  // namespace

bool InsertCharacter(QWidget* control, unsigned char c) {
  if (auto* edit = qobject_cast<QLineEdit*>(control)) {
    if (edit->isReadOnly()) return false;
    const Composition composed = ComposeCharacter(edit->text(), edit->cursorPosition(), c);
    edit->setText(composed.Text);
    edit->setCursorPosition(composed.Caret);
    return true;
  }
  if (auto* memo = qobject_cast<QPlainTextEdit*>(control)) {
    if (memo->isReadOnly()) return false;
    memo->setTextCursor(ComposeInDocument(memo->document(), memo->textCursor().position(), c));
    return true;
  }
  if (auto* rich = qobject_cast<QTextEdit*>(control)) {
    if (rich->isReadOnly()) return false;
    rich->setTextCursor(ComposeInDocument(rich->document(), rich->textCursor().position(), c));
    return true;
  }
  return false;
}

}  // namespace vocatrix::ui
