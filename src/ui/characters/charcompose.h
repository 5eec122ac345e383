// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Accent composition of the character buttons: a diacritic clicked after a
// letter that can carry it turns the letter into the accented letter.
// Characters are Windows-1252 codes.

#include <QString>

class QWidget;

namespace vocatrix::ui {

// ` 0, ´ 1, ˆ 2, ˜ 3, ¨ 4, ° 5, ¸ 6; any other character 7.
int AccentClass(unsigned char c);

// Base letter of a character: 0 A, 1 a, 2 E, 3 e, 4 I, 5 i, 6 O, 7 o, 8 U,
// 9 u, 10 C, 11 c, 12 N, 13 n, 14 Y, 15 y (accented forms count as their base
// letter); 16 any other character.
int LetterClass(unsigned char c);

// The accented letter for an accent class (0 to 6) and a letter class (0 to
// 15), or 0 when that pair does not compose.
unsigned char CompositionTable(int accentClass, int letterClass);

struct Composition {
  QString Text;
  int Caret = 0;
};

// The text after clicking the character `c` with the caret at `caret`:
// the character before the caret is replaced by the composed letter (caret
// unchanged) or `c` is inserted at the caret (caret one further on).
Composition ComposeCharacter(const QString& text, int caret, unsigned char c);

// Composes or inserts `c` at the caret of a text field (one-line edit,
// multi-line or rich-text editor); any selection is dropped, not replaced.
// Returns false, changing nothing, for any other control or a read-only one.
bool InsertCharacter(QWidget* control, unsigned char c);

}  // namespace vocatrix::ui
