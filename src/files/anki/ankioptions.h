// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The choices of a reader of Anki decks (.apkg), and what a deck holds to
// choose from.

#include <cstdint>
#include <string>
#include <vector>

namespace vocatrix {

struct AnkiOptions {
  // The note type whose notes are read; 0: the notes of every type.
  std::int64_t NoteType = 0;
  // The deck whose notes are read, with its subdecks; 0: every deck.
  std::int64_t Deck = 0;
};

// A note type or a deck of a package and the number of its notes (of a
// deck: the notes whose first card lies in it, without its subdecks).
struct AnkiPart {
  std::int64_t Id = 0;
  std::string Name;  // UTF-8; subdecks as "Parent::Child"
  int Notes = 0;
};

struct AnkiContents {
  std::vector<AnkiPart> NoteTypes;  // by name
  std::vector<AnkiPart> Decks;      // by name, a subdeck after its parent
  // Whether the user has something to choose: several note types or decks.
  bool Choice() const { return NoteTypes.size() > 1 || Decks.size() > 1; }
};

}  // namespace vocatrix
