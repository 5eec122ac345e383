// SPDX-License-Identifier: GPL-3.0-or-later
// The Anki reader, layer by layer, chosen by the first byte of the input:
// 0 the package as it is (the zip archive), 1 the collection's database
// packed by us, 2 the notes' fields (one note a line) in a deck that is
// sound otherwise, 3 the same with the note types and decks as the first
// two lines. What reads writes and reads back to itself, unless a word
// holds a control character, which no field carries.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/anki/anki.h"
#include "files/anki/ankipackage.h"
#include "fuzz_support.h"
#include "model/exceptions.h"

using namespace vocatrix;

namespace {

constexpr char kNoteTypes[] =
    R"({"7": {"name": "Basic", "flds": [{"name": "Front", "ord": 0}, {"name": "Back", "ord": 1}]},)"
    R"( "8": {"name": "Vocatrix", "flds": [{"name": "Language 1"}, {"name": "Language 2"}, {"name": "Antonyms"},)"
    R"( {"name": "Antonym translations"}, {"name": "Form"}, {"name": "Languages"}]}})";
constexpr char kDecks[] = R"({"1": {"name": "Default"}, "9": {"name": "Deck::Sub"}})";

std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// A deck of the older schema; a note's type alternates between the two.
std::string Deck(std::string_view models, std::string_view decks, const std::vector<std::string_view>& notes) {
  const std::string name = "f.apkg";
  anki::Database db({}, name);
  db.Execute(
      "CREATE TABLE col (models text, decks text); CREATE TABLE notes (id integer, mid integer, flds text);"
      "CREATE TABLE cards (id integer, nid integer, did integer, ord integer);");
  anki::Statement col(db, "INSERT INTO col VALUES (?, ?)");
  col.Bind(1, models).Bind(2, decks).Run();
  anki::Statement note(db, "INSERT INTO notes VALUES (?, ?, ?)");
  anki::Statement card(db, "INSERT INTO cards VALUES (?, ?, ?, 0)");
  for (std::size_t i = 0; i < notes.size(); ++i) {
    std::string flds(notes[i]);
    for (char& c : flds)
      if (c == '\t') c = '\x1f';
    const auto id = static_cast<std::int64_t>(i + 1);
    note.Bind(1, id).Bind(2, 7 + static_cast<std::int64_t>(i % 2)).Bind(3, flds).Run();
    card.Bind(1, id).Bind(2, id).Bind(3, i % 3 ? 9 : 1).Run();
  }
  return anki::PackageImage(db.Image());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 256 * 1024) return 0;
  fuzz::UseCodePointCollation();
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string package;
  try {
    switch (data[0] % 4) {
      case 0: package = std::string(input); break;
      case 1: package = anki::PackageImage(input); break;
      case 2: package = Deck(kNoteTypes, kDecks, LinesOf(input)); break;
      default: {
        std::vector<std::string_view> lines = LinesOf(input);
        lines.resize(std::max<std::size_t>(lines.size(), 2));
        package = Deck(lines[0], lines[1], std::vector<std::string_view>(lines.begin() + 2, lines.end()));
      }
    }
  } catch (const Exception&) {
    return 0;  // the deck cannot be built of this
  }
  TMeanCollection lesson;
  TransferReport report;
  try {
    ParseAnki(package, "f.apkg", {}, lesson, report);
    ListAnki(package, "f.apkg");
  } catch (const Exception&) {
    return 0;  // no deck, a damaged one, or more than a lesson holds
  }
  FUZZ_CHECK(lesson.Meanings != nullptr && lesson.EntryCount() <= TMeanCollection::kMaxEntries);
  TransferReport written;
  const std::string image = AnkiImage(lesson, "f.apkg", 1'000'000, &written);
  TMeanCollection back;
  TransferReport again;
  ParseAnki(image, "f.apkg", {}, back, again);
  FUZZ_CHECK(!again.LostAny() && again.LeftOutTotal() == 0);
  if (written.Uncarried.empty()) FUZZ_CHECK(fuzz::PictureOf(back) == fuzz::PictureOf(lesson));
  return 0;
}
