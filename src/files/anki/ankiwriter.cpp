// SPDX-License-Identifier: GPL-3.0-or-later
// Writing a lesson as an Anki package (anki.h) in the older schema.

#include <chrono>
#include <unordered_set>

#include "base/cp1252.h"
#include "base/safesave.h"
#include "files/anki/anki.h"
#include "files/anki/ankipackage.h"
#include "files/anki/ankitext.h"
#include "files/lessonfiles.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

using anki::JsonString;

constexpr const char* kSchema = R"(
CREATE TABLE col (id integer primary key, crt integer not null, mod integer not null, scm integer not null,
  ver integer not null, dty integer not null, usn integer not null, ls integer not null, conf text not null,
  models text not null, decks text not null, dconf text not null, tags text not null);
CREATE TABLE notes (id integer primary key, guid text not null, mid integer not null, mod integer not null,
  usn integer not null, tags text not null, flds text not null, sfld integer not null, csum integer not null,
  flags integer not null, data text not null);
CREATE TABLE cards (id integer primary key, nid integer not null, did integer not null, ord integer not null,
  mod integer not null, usn integer not null, type integer not null, queue integer not null, due integer not null,
  ivl integer not null, factor integer not null, reps integer not null, lapses integer not null,
  left integer not null, odue integer not null, odid integer not null, flags integer not null, data text not null);
CREATE TABLE revlog (id integer primary key, cid integer not null, usn integer not null, ease integer not null,
  ivl integer not null, lastIvl integer not null, factor integer not null, time integer not null,
  type integer not null);
CREATE TABLE graves (usn integer not null, oid integer not null, type integer not null);
)";

// Made once the rows are in: building an index at once is faster than
// keeping it up row by row.
constexpr const char* kIndexes = R"(
CREATE INDEX ix_notes_usn ON notes (usn);
CREATE INDEX ix_cards_usn ON cards (usn);
CREATE INDEX ix_revlog_usn ON revlog (usn);
CREATE INDEX ix_cards_nid ON cards (nid);
CREATE INDEX ix_cards_sched ON cards (did, queue, due);
CREATE INDEX ix_revlog_cid ON revlog (cid);
CREATE INDEX ix_notes_csum ON notes (csum);
)";

// The options group every deck of the package uses.
constexpr const char* kDeckOptions =
    R"({"1":{"id":1,"mod":0,"name":"Default","usn":0,"maxTaken":60,"autoplay":true,"timer":0,"replayq":true,)"
    R"("dyn":false,"new":{"bury":false,"delays":[1.0,10.0],"initialFactor":2500,"ints":[1,4,0],"order":1,)"
    R"("perDay":20},"rev":{"bury":false,"ease4":1.3,"ivlFct":1.0,"maxIvl":36500,"perDay":200,)"
    R"("hardFactor":1.2},"lapse":{"delays":[10.0],"leechAction":1,"leechFails":8,"minInt":1,"mult":0.0}}})";

// Antonyms and their translations on the back of both cards.
constexpr const char* kAntonymsOnBack =
    "{{#Antonyms}}<div class=antonyms>{{Antonyms}}</div>{{/Antonyms}}"
    "{{#Antonym translations}}<div class=antonyms>{{Antonym translations}}</div>{{/Antonym translations}}";
constexpr const char* kFormOnFront = "{{#Form}}<div class=form>{{Form}}</div>{{/Form}}";
// A question shows the first word of its field, the head word: the words
// stand one a line (<br>), and the front keeps the first line only. The back
// shows the whole field, synonyms included.
constexpr const char* kCardStyle =
    ".card { font-family: arial; font-size: 24px; text-align: center; color: black; background-color: white; }\n"
    ".question { display: -webkit-box; -webkit-box-orient: vertical; -webkit-line-clamp: 1; overflow: hidden; }\n"
    ".form { font-size: 14px; color: gray; }\n.antonyms { font-size: 18px; color: #a04000; margin-top: 8px; }";

// Front and back of the card that asks `question` and answers `answer`.
std::pair<std::string, std::string> CardSides(const std::string& question, const std::string& answer) {
  const std::string form = kFormOnFront;
  return {form + "<div class=question>{{" + question + "}}</div>",
          form + "<div>{{" + question + "}}</div><hr id=answer>{{" + answer + "}}" + kAntonymsOnBack};
}

std::string DeckJson(std::int64_t id, std::string_view name, std::int64_t secs, const std::string& extra) {
  return "{\"id\":" + std::to_string(id) + ",\"name\":" + JsonString(name) + ",\"mod\":" + std::to_string(secs) +
         ",\"usn\":-1,\"lrnToday\":[0,0],\"revToday\":[0,0],\"newToday\":[0,0],\"timeToday\":[0,0],"
         "\"collapsed\":false,\"browserCollapsed\":false,\"desc\":\"\",\"dyn\":0,\"conf\":1,\"extendNew\":0,"
         "\"extendRev\":0" + extra + "}";
}

std::string TemplateJson(int ord, std::string_view name, const std::string& front, const std::string& back) {
  return "{\"name\":" + JsonString(name) + ",\"ord\":" + std::to_string(ord) + ",\"qfmt\":" + JsonString(front) +
         ",\"afmt\":" + JsonString(back) + ",\"did\":null,\"bqfmt\":\"\",\"bafmt\":\"\"}";
}

std::string NoteTypeJson(std::int64_t id, std::int64_t deck, std::int64_t secs) {
  std::string fields;
  for (std::size_t i = 0; i < anki::kVocatrixFields.size(); ++i)
    fields += std::string(i ? "," : "") + "{\"name\":" + JsonString(anki::kVocatrixFields[i]) + ",\"ord\":" +
              std::to_string(i) + ",\"sticky\":false,\"rtl\":false,\"font\":\"Arial\",\"size\":20,\"media\":[]}";
  const auto [front1, back1] = CardSides("Language 1", "Language 2");
  const auto [front2, back2] = CardSides("Language 2", "Language 1");
  const std::string templates = TemplateJson(0, "Language 1 \u2192 2", front1, back1) + "," +
                                TemplateJson(1, "Language 2 \u2192 1", front2, back2);
  const std::string ids = std::to_string(id);
  return "{" + JsonString(ids) + ":{\"id\":" + ids + ",\"name\":\"Vocatrix\",\"type\":0,\"mod\":" +
         std::to_string(secs) + ",\"usn\":-1,\"sortf\":0,\"did\":" + std::to_string(deck) + ",\"tmpls\":[" +
         templates + "],\"flds\":[" + fields + "],\"css\":" + JsonString(kCardStyle) +
         ",\"latexPre\":" +
         JsonString("\\documentclass[12pt]{article}\n\\special{papersize=3in,5in}\n\\usepackage[utf8]{inputenc}\n"
                    "\\usepackage{amssymb,amsmath}\n\\pagestyle{empty}\n\\setlength{\\parindent}{0in}\n"
                    "\\begin{document}\n") +
         ",\"latexPost\":\"\\\\end{document}\",\"latexsvg\":false,\"req\":[[0,\"any\",[0]],[1,\"any\",[1]]],"
         "\"tags\":[],\"vers\":[]}}";
}

// A language's font as the lesson file keeps it.
std::string FontJson(const TFont& font) {
  return "{\"name\":" + JsonString(Cp1252ToUtf8(font.Name)) + ",\"size\":" + std::to_string(font.Size) +
         ",\"color\":" + std::to_string(font.Color) + ",\"style\":" + std::to_string(font.StyleBits()) + "}";
}

// What the lesson file keeps of an entry beyond its words' texts: each
// word's extra and remark texts, and the lists that may hold a word twice.
// It rides in the note's data column, which Anki leaves alone, so that a
// deck gives back the lesson file it was made from; empty when there is
// nothing of the kind.
std::string EntryData(const TMeaning& entry) {
  std::string words, lists;
  for (int kind : {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations}) {
    const TWordCollection& list = entry.ListOfKind(kind);
    if (list.Duplicates) lists += (lists.empty() ? "" : ",") + std::to_string(kind);
    for (int i = 0; i < list.Count(); ++i) {
      const TWord& word = *list.At(i);
      if (word.Extra.empty() && word.Remark.empty()) continue;
      words += std::string(words.empty() ? "" : ",") + "[" + std::to_string(kind) + "," + std::to_string(i) + "," +
               JsonString(Cp1252ToUtf8(word.Extra)) + "," + JsonString(Cp1252ToUtf8(word.Remark)) + "]";
    }
  }
  if (words.empty() && lists.empty()) return {};
  return "{\"vocatrix\":{\"words\":[" + words + "],\"duplicates\":[" + lists + "]}}";
}

// The part of a file name between its folder and its extension.
std::string FileStem(const std::string& fileName) {
  const std::size_t slash = fileName.find_last_of('/');
  std::string name = fileName.substr(slash == std::string::npos ? 0 : slash + 1);
  const std::size_t dot = ExtensionStart(name);
  return dot == std::string::npos ? name : name.substr(0, dot);
}

// A tag is one word to Anki.
std::string Tag(std::string_view text) {
  std::string tag = Cp1252ToUtf8(text);
  for (char& c : tag)
    if (static_cast<unsigned char>(c) <= ' ') c = '_';
  return tag;
}

// A note's guid: Anki's 91 letters of a hash of the deck, the entry's first
// field and how often that field came before, so that a deck exported again
// updates the notes a user imported before instead of doubling them.
std::string Guid(const std::string& deck, const std::string& field, int repeat) {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789!#$%&()*+,-./:;<=>?@[]^_`{|}~";
  const std::string digest = anki::Sha1(deck + '\x1f' + field + '\x1f' + std::to_string(repeat));
  std::uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value = (value << 8) | static_cast<unsigned char>(digest[static_cast<std::size_t>(i)]);
  std::string guid;
  do {
    guid += kLetters[value % 91];
    value /= 91;
  } while (value);
  return guid;
}

}  // namespace

std::string AnkiImage(const TMeanCollection& lesson, const std::string& fileName, std::int64_t now,
                      TransferReport* report) {
  std::vector<std::string>* uncarried = report ? &report->Uncarried : nullptr;
  const std::int64_t secs = now / 1000;
  const std::int64_t noteType = now;
  const std::int64_t deck = now + 1;
  const std::string deckName = Cp1252ToUtf8(lesson.Title.empty() ? FileStem(fileName) : lesson.Title);
  const std::string header = ",\"vocatrix\":{\"title\":" + JsonString(Cp1252ToUtf8(lesson.Title)) +
                             ",\"topic\":" + JsonString(Cp1252ToUtf8(lesson.Topic)) +
                             ",\"author\":" + JsonString(Cp1252ToUtf8(lesson.Author)) +
                             ",\"picture\":" + JsonString(Cp1252ToUtf8(lesson.Picture)) +
                             ",\"language1\":" + JsonString(Cp1252ToUtf8(lesson.Language1.Name)) +
                             ",\"language2\":" + JsonString(Cp1252ToUtf8(lesson.Language2.Name)) +
                             ",\"font1\":" + FontJson(lesson.Language1.Font) +
                             ",\"font2\":" + FontJson(lesson.Language2.Font) + "}";
  const std::string decks = "{\"1\":" + DeckJson(1, "Default", secs, "") + "," + JsonString(std::to_string(deck)) +
                            ":" + DeckJson(deck, deckName, secs, header) + "}";
  const std::string conf = "{\"nextPos\":" + std::to_string(lesson.EntryCount() + 1) +
                           ",\"estTimes\":true,\"activeDecks\":[1],\"sortType\":\"noteFld\",\"timeLim\":0,"
                           "\"sortBackwards\":false,\"addToCur\":true,\"curDeck\":1,\"newBury\":true,"
                           "\"newSpread\":0,\"dueCounts\":true,\"curModel\":" + std::to_string(noteType) +
                           ",\"collapseTime\":1200}";

  std::string fileNameCopy = fileName;
  anki::Database db({}, fileNameCopy);
  db.Execute("PRAGMA journal_mode = OFF");
  db.Execute(kSchema);
  db.Execute("BEGIN");
  anki::Statement col(db, "INSERT INTO col VALUES (1, ?, ?, ?, 11, 0, 0, 0, ?, ?, ?, ?, '{}')");
  col.Bind(1, secs - secs % 86400).Bind(2, now).Bind(3, now).Bind(4, conf).Bind(5, NoteTypeJson(noteType, deck, secs));
  col.Bind(6, decks).Bind(7, std::string_view(kDeckOptions)).Run();

  anki::Statement note(db, "INSERT INTO notes VALUES (?, ?, ?, ?, -1, ?, ?, ?, ?, 0, ?)");
  anki::Statement card(db, "INSERT INTO cards VALUES (?, ?, ?, ?, ?, -1, 0, 0, ?, 0, 0, 0, 0, 0, 0, 0, 0, '')");
  const std::string languages =
      anki::FieldOfWords({lesson.Language1.Name, lesson.Language2.Name}, uncarried);
  const std::string titleTag = lesson.Title.empty() ? std::string() : Tag(lesson.Title) + " ";
  std::unordered_map<std::string, int> repeats;
  std::unordered_set<std::string> guids;
  for (int i = 0; i < lesson.EntryCount(); ++i) {
    const TMeaning& entry = *lesson.At(i);
    std::array<std::string, anki::kVocatrixFields.size()> fields;
    for (int kind : {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations})
      fields[static_cast<std::size_t>(kind)] = anki::FieldOfWords(entry.KindTexts(kind), uncarried);
    const bool formed = entry.Form < kFormOther;
    if (formed) fields[4] = anki::FieldOfWords({FormNames()[entry.Form]}, nullptr);
    fields[5] = languages;
    std::string flds;
    for (std::size_t f = 0; f < fields.size(); ++f) flds += (f ? "\x1f" : "") + fields[f];
    std::string guid = Guid(deckName, fields[0], repeats[fields[0]]++);
    while (!guids.insert(guid).second) guid += 'x';
    const std::int64_t id = now + i;
    note.Bind(1, id).Bind(2, guid).Bind(3, noteType).Bind(4, secs);
    note.Bind(5, " " + (formed ? Tag(FormNames()[entry.Form]) + " " : std::string()) + titleTag);
    note.Bind(6, flds).Bind(7, anki::StrippedField(fields[0])).Bind(8, anki::FieldChecksum(fields[0]));
    note.Bind(9, EntryData(entry)).Run();
    // A card for each side that has a word; every note has at least one.
    for (int ord = 0; ord < 2; ++ord) {
      if (fields[static_cast<std::size_t>(ord)].empty() && (ord == 1 || !fields[1].empty())) continue;
      card.Bind(1, now + 2 * static_cast<std::int64_t>(i) + ord).Bind(2, id).Bind(3, deck).Bind(4, ord);
      card.Bind(5, secs).Bind(6, i + 1).Run();
    }
  }
  db.Execute(kIndexes);
  db.Execute("COMMIT");
  return anki::PackageImage(db.Image());
}

void SaveAnki(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
              TransferReport& report) {
  const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                       std::chrono::system_clock::now().time_since_epoch()).count();
  WriteFileAtomically(fileName, AnkiImage(lesson, fileName, now, &report), backupName);
}

}  // namespace vocatrix
