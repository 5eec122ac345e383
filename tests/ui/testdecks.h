// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Anki decks the window tests import.

#include <string>

#include "files/anki/ankipackage.h"

namespace vocatrix::test {

// A deck of two note types in one deck "Words": a Basic note "house" /
// "Haus" and a Cloze note, so that its import asks which type to take.
inline std::string DeckOfTwoNoteTypes() {
  const std::string name = "two.apkg";  // the database keeps a reference to it
  anki::Database db({}, name);
  db.Execute(
      "CREATE TABLE col (models text, decks text); CREATE TABLE notes (id integer, mid integer, flds text);"
      "CREATE TABLE cards (id integer, nid integer, did integer, ord integer);"
      "INSERT INTO col VALUES ('{\"1\": {\"name\": \"Basic\", \"flds\": [{\"name\": \"Front\"}, "
      "{\"name\": \"Back\"}]}, \"2\": {\"name\": \"Cloze\", \"flds\": [{\"name\": \"Text\"}]}}', "
      "'{\"5\": {\"name\": \"Words\"}}');"
      "INSERT INTO notes VALUES (1, 1, 'house' || char(31) || 'Haus'), (2, 2, 'a {{c1::cloze}}');"
      "INSERT INTO cards VALUES (1, 1, 5, 0), (2, 2, 5, 0);");
  return anki::PackageImage(db.Image());
}

}  // namespace vocatrix::test
