// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Anki decks (.apkg): a zip archive of an SQLite collection and a media map.
//
// Written in the older schema (collection.anki2) that every Anki version
// imports: one deck named after the lesson's title (else the file's name),
// one note per entry of the note type "Vocatrix", whose fields hold the
// head word and its synonyms, the translations, the antonyms, the antonym
// translations (the words of a field parted by <br>), the form and the two
// language names; two cards per note (language 1 to 2 and 2 to 1). The form
// and the title are the note's tags; the lesson's header (title, topic,
// author, picture, language names) stands in the deck's own key "vocatrix",
// so that a lesson without entries comes back whole too.
//
// Read in both schemas (collection.anki2 and .anki21 with the note types and
// decks as JSON in the table col; collection.anki21b, zstd-compressed, with
// tables of their own). A note of the type "Vocatrix" maps back field by
// field; of any other type its first field gives the head word and its
// synonyms, its second the translations.

#include <string>
#include <string_view>

#include "base/errors.h"
#include "files/lessonformats.h"

namespace vocatrix {

class TMeanCollection;

// A package that is no zip archive, holds no collection or a damaged one,
// or one too large to read.
class EAnkiDeck : public Exception {
 public:
  using Exception::Exception;
  static EAnkiDeck NoArchive(const std::string& fileName);
  static EAnkiDeck NoCollection(const std::string& fileName);
  static EAnkiDeck Damaged(const std::string& fileName);
  static EAnkiDeck TooLarge(const std::string& fileName, std::size_t megabytes);
};

// The package of a lesson whose file is `fileName` (its name names the deck
// of an untitled lesson), dated `now` (milliseconds since 1970). Words
// holding control characters are written without them and named in
// `report` (when given).
std::string AnkiImage(const TMeanCollection& lesson, const std::string& fileName, std::int64_t now,
                      TransferReport* report = nullptr);
void SaveAnki(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
              TransferReport& report);

// Fills a fresh lesson from the notes of a package that `options.Anki`
// chooses. Sounds and pictures are counted in `report`, as are fields of
// other note types beyond the second, and forms a lesson does not know;
// texts that Windows-1252 cannot hold are read with "?" and noted. More
// notes than a lesson holds raise ELessonTooLarge; a bad package EAnkiDeck.
void ParseAnki(std::string_view package, const std::string& fileName, const ReadOptions& options,
               TMeanCollection& lesson, TransferReport& report);
void LoadAnki(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
              TransferReport& report);
// The note types and decks of a package to choose from.
AnkiContents ListAnki(std::string_view package, const std::string& fileName);

}  // namespace vocatrix
