// SPDX-License-Identifier: GPL-3.0-or-later
// Reading the notes of an Anki package (anki.h) into a lesson.

#include <algorithm>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "base/cp1252.h"
#include "base/messages.h"
#include "base/safesave.h"
#include "files/anki/anki.h"
#include "files/anki/ankipackage.h"
#include "files/anki/ankitext.h"
#include "files/binaryfile.h"
#include "files/lessonbuilder.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

struct NoteType {
  std::string Name;
  std::vector<std::string> Fields;
  bool Ours = false;
};

struct Deck {
  std::string Name;
  bool HasHeader = false;
  TLessonHeader Header;  // title, topic, author, picture, language names and fonts of our decks
  bool HasFonts = false;
};

// What the collection says of its note types, decks and cards.
struct Collection {
  std::unordered_map<std::int64_t, NoteType> NoteTypes;
  std::unordered_map<std::int64_t, Deck> Decks;
  // The deck of each note's first card.
  std::unordered_map<std::int64_t, std::int64_t> DeckOfNote;
};

std::string Header(anki::Statement& row, int column) { return Utf8ToCp1252(row.Text(column)); }

// A font of our deck's header from the columns name, size, colour and style
// bits, as the lesson file reads them.
void ReadFont(anki::Statement& row, int column, TFont& font) {
  font.SetName(Header(row, column));
  font.Size = static_cast<std::int32_t>(static_cast<std::uint32_t>(row.Integer(column + 1)));
  font.Color = static_cast<TColor>(row.Integer(column + 2));
  font.SetStyleBits(static_cast<std::uint32_t>(row.Integer(column + 3)));
}

// The current schema keeps note types, their fields and decks in tables of
// their own (col.models may be empty there); the older one as JSON in col.
Collection ReadCollection(anki::Database& db) {
  Collection c;
  if (db.HasTable("notetypes")) {
    anki::Statement types(db, "SELECT id, name FROM notetypes");
    while (types.Step()) c.NoteTypes[types.Integer(0)].Name = types.Text(1);
    anki::Statement fields(db, "SELECT ntid, name FROM fields ORDER BY ntid, ord");
    while (fields.Step()) c.NoteTypes[fields.Integer(0)].Fields.emplace_back(fields.Text(1));
    anki::Statement decks(db, "SELECT id, replace(name, char(31), '::') FROM decks");
    while (decks.Step()) c.Decks[decks.Integer(0)].Name = decks.Text(1);
  } else {
    anki::Statement types(db,
                          "SELECT CAST(m.key AS INTEGER), json_extract(m.value, '$.name') "
                          "FROM col, json_each(col.models) AS m");
    while (types.Step()) c.NoteTypes[types.Integer(0)].Name = types.Text(1);
    anki::Statement fields(db,
                           "SELECT CAST(m.key AS INTEGER), json_extract(f.value, '$.name') "
                           "FROM col, json_each(col.models) AS m, json_each(m.value, '$.flds') AS f "
                           "WHERE json_type(m.value) = 'object' AND json_type(m.value, '$.flds') = 'array' "
                           "ORDER BY 1, json_extract(f.value, '$.ord'), f.key");
    while (fields.Step()) c.NoteTypes[fields.Integer(0)].Fields.emplace_back(fields.Text(1));
    anki::Statement decks(db,
                          "SELECT CAST(d.key AS INTEGER), json_extract(d.value, '$.name'), "
                          "json_type(d.value, '$.vocatrix') = 'object', json_extract(d.value, '$.vocatrix.title'), "
                          "json_extract(d.value, '$.vocatrix.topic'), json_extract(d.value, '$.vocatrix.author'), "
                          "json_extract(d.value, '$.vocatrix.picture'), json_extract(d.value, '$.vocatrix.language1'), "
                          "json_extract(d.value, '$.vocatrix.language2'), "
                          "json_type(d.value, '$.vocatrix.font1') = 'object' AND "
                          "json_type(d.value, '$.vocatrix.font2') = 'object', "
                          "json_extract(d.value, '$.vocatrix.font1.name'), json_extract(d.value, '$.vocatrix.font1.size'), "
                          "json_extract(d.value, '$.vocatrix.font1.color'), json_extract(d.value, '$.vocatrix.font1.style'), "
                          "json_extract(d.value, '$.vocatrix.font2.name'), json_extract(d.value, '$.vocatrix.font2.size'), "
                          "json_extract(d.value, '$.vocatrix.font2.color'), json_extract(d.value, '$.vocatrix.font2.style') "
                          "FROM col, json_each(col.decks) AS d WHERE json_type(d.value) = 'object'");
    while (decks.Step()) {
      Deck& deck = c.Decks[decks.Integer(0)];
      deck.Name = decks.Text(1);
      deck.HasHeader = decks.Integer(2) != 0;
      deck.Header.Title = Header(decks, 3);
      deck.Header.Topic = Header(decks, 4);
      deck.Header.Author = Header(decks, 5);
      deck.Header.Picture = Header(decks, 6);
      deck.Header.Language1 = TLanguage(Header(decks, 7));
      deck.Header.Language2 = TLanguage(Header(decks, 8));
      deck.HasFonts = deck.HasHeader && decks.Integer(9) != 0;
      if (deck.HasFonts) {
        ReadFont(decks, 10, deck.Header.Language1.Font);
        ReadFont(decks, 14, deck.Header.Language2.Font);
      }
    }
  }
  for (auto& [id, type] : c.NoteTypes)
    type.Ours = std::equal(type.Fields.begin(), type.Fields.end(), anki::kVocatrixFields.begin(),
                           anki::kVocatrixFields.end());
  anki::Statement cards(db, "SELECT nid, did FROM cards ORDER BY nid, ord, id");
  while (cards.Step()) c.DeckOfNote.emplace(cards.Integer(0), cards.Integer(1));
  return c;
}

// The decks a choice takes: the deck and its subdecks; empty for all.
std::unordered_set<std::int64_t> ChosenDecks(const Collection& c, std::int64_t chosen) {
  std::unordered_set<std::int64_t> decks;
  if (chosen == 0) return decks;
  decks.insert(chosen);
  const auto found = c.Decks.find(chosen);
  if (found == c.Decks.end()) return decks;
  const std::string prefix = found->second.Name + "::";
  for (const auto& [id, deck] : c.Decks)
    if (deck.Name.starts_with(prefix)) decks.insert(id);
  return decks;
}

std::vector<std::string_view> SplitFields(std::string_view flds) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t end = flds.find('\x1f');
    fields.push_back(flds.substr(0, end));
    if (end == std::string_view::npos) return fields;
    flds.remove_prefix(end + 1);
  }
}

class NoteReader {
 public:
  NoteReader(anki::Database& db, const std::string& fileName, TMeanCollection& lesson, TransferReport& report)
      : db_(db), builder_(fileName, lesson, report), lesson_(lesson), report_(report) {}

  bool Full() const { return builder_.Full(); }
  // Whether a note named the languages.
  bool Named() const { return named_; }
  [[noreturn]] void TooMany(std::size_t total) const { builder_.TooManyEntries(total); }

  void Read(const NoteType& type, std::string_view flds, std::string_view data) {
    const std::vector<std::string_view> fields = SplitFields(flds);
    if (type.Ours && fields.size() == anki::kVocatrixFields.size()) return ReadOurs(fields, std::string(data));
    std::array<anki::FieldWords, 2> words;
    for (std::size_t i = 0; i < fields.size(); ++i) {
      if (i >= 2) {
        if (!anki::StrippedField(fields[i]).empty() || fields[i].find("[sound:") != std::string_view::npos)
          report_.Leave(LeftOut::Columns);
        continue;
      }
      words[i] = Words(fields[i]);
    }
    if (std::all_of(words.begin(), words.end(), [](const anki::FieldWords& field) {
          return std::all_of(field.Words.begin(), field.Words.end(),
                             [](const std::string& word) { return TrimControls(word).empty(); });
        }))
      return;
    TMeaning& entry = builder_.NewEntry();
    for (int kind : {kSynonyms, kTranslations}) AddWords(entry, kind, words[static_cast<std::size_t>(kind)]);
    if (!named_) {
      named_ = true;
      for (std::size_t side = 0; side < 2 && side < type.Fields.size(); ++side)
        (side == 0 ? lesson_.Language1 : lesson_.Language2) = TLanguage(Utf8ToCp1252(type.Fields[side]));
    }
  }

 private:
  anki::FieldWords Words(std::string_view field) {
    anki::FieldWords words = anki::WordsOfField(field);
    report_.Leave(LeftOut::Sounds, words.Sounds);
    report_.Leave(LeftOut::Pictures, words.Pictures);
    return words;
  }

  void AddWords(TMeaning& entry, int kind, const anki::FieldWords& words) {
    for (const std::string& word : words.Words) builder_.AddWord(entry, kind, word, true);
  }

  // Whether the note's data holds what our writer puts there (EntryData).
  bool HasEntryData(const std::string& data) {
    if (data.empty()) return false;
    anki::Statement ours(db_, "SELECT CASE WHEN json_valid(?1) THEN json_type(?1, '$.vocatrix') = 'object' END");
    ours.Bind(1, data);
    return ours.Step() && ours.Integer(0) != 0;
  }

  void ReadOurs(const std::vector<std::string_view>& fields, const std::string& data) {
    TMeaning& entry = builder_.NewEntry();
    const bool extras = HasEntryData(data);
    // A list that may hold a word twice must say so before its words come.
    if (extras) {
      anki::Statement lists(db_, "SELECT value FROM json_each(?, '$.vocatrix.duplicates') WHERE type = 'integer'");
      lists.Bind(1, data);
      while (lists.Step())
        if (const std::int64_t kind = lists.Integer(0); kind >= kSynonyms && kind <= kAntonymTranslations)
          entry.ListOfKind(static_cast<int>(kind)).Duplicates = true;
    }
    for (int kind : {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations})
      AddWords(entry, kind, Words(fields[static_cast<std::size_t>(kind)]));
    if (extras) {
      anki::Statement words(db_,
                            "SELECT json_extract(value, '$[0]'), json_extract(value, '$[1]'), "
                            "json_extract(value, '$[2]'), json_extract(value, '$[3]') "
                            "FROM json_each(?, '$.vocatrix.words') WHERE type = 'array' AND "
                            "json_type(value, '$[0]') = 'integer' AND json_type(value, '$[1]') = 'integer'");
      words.Bind(1, data);
      while (words.Step()) {
        const std::int64_t kind = words.Integer(0);
        const std::int64_t index = words.Integer(1);
        if (kind < kSynonyms || kind > kAntonymTranslations) continue;
        const TWordCollection& list = entry.ListOfKind(static_cast<int>(kind));
        if (index < 0 || index >= list.Count()) continue;
        std::string extra = Utf8ToCp1252(words.Text(2));
        std::string remark = Utf8ToCp1252(words.Text(3));
        if (extra.size() > kMaxLessonFileText || remark.size() > kMaxLessonFileText) continue;
        TWord& word = *list.At(static_cast<int>(index));
        word.Extra = std::move(extra);
        word.Remark = std::move(remark);
      }
    }
    const std::string form = Utf8ToCp1252(TrimControls(anki::StrippedField(fields[4])));
    const auto& names = FormNames();
    const auto known = std::find(names.begin(), names.end(), form);
    if (known != names.end()) entry.Form = static_cast<std::uint8_t>(known - names.begin());
    else if (!form.empty()) report_.Leave(LeftOut::UnknownForms);
    if (named_) return;
    named_ = true;
    const std::vector<std::string> languages = anki::WordsOfField(fields[5]).Words;
    if (languages.size() == 2) {
      lesson_.Language1 = TLanguage(Utf8ToCp1252(languages[0]));
      lesson_.Language2 = TLanguage(Utf8ToCp1252(languages[1]));
    }
  }

  anki::Database& db_;
  LessonBuilder builder_;
  TMeanCollection& lesson_;
  TransferReport& report_;
  bool named_ = false;
};

}  // namespace

EAnkiDeck EAnkiDeck::NoArchive(const std::string& fileName) {
  return EAnkiDeck(TranslateMessage("ErrAnkiNoArchive", "'%s' is no Anki deck: it is not a zip archive.", {fileName}));
}

EAnkiDeck EAnkiDeck::NoCollection(const std::string& fileName) {
  return EAnkiDeck(
      TranslateMessage("ErrAnkiNoCollection", "'%s' is no Anki deck: it holds no collection.", {fileName}));
}

EAnkiDeck EAnkiDeck::Damaged(const std::string& fileName) {
  return EAnkiDeck(TranslateMessage("ErrAnkiDamaged", "The collection of the Anki deck '%s' is damaged.", {fileName}));
}

EAnkiDeck EAnkiDeck::TooLarge(const std::string& fileName, std::size_t megabytes) {
  return EAnkiDeck(TranslateMessage("ErrAnkiTooLarge", "The collection of the Anki deck '%s' is larger than %s MB.",
                                    {fileName, std::to_string(megabytes)}));
}

void ParseAnki(std::string_view package, const std::string& fileName, const ReadOptions& options,
               TMeanCollection& lesson, TransferReport& report) {
  anki::Database db(anki::PackageCollection(package, fileName), fileName);
  const Collection c = ReadCollection(db);
  const std::unordered_set<std::int64_t> decks = ChosenDecks(c, options.Anki.Deck);
  lesson.Language1 = TLanguage("Language 1");
  lesson.Language2 = TLanguage("Language 2");
  NoteReader reader(db, fileName, lesson, report);
  static const NoteType kUnknownType;
  std::size_t total = 0;
  std::int64_t firstDeck = 0;
  bool oneDeck = true;
  // The data column is Anki's; a deck made by hand may do without it.
  anki::Statement hasData(db, "SELECT count(*) FROM pragma_table_info('notes') WHERE name = 'data'");
  const bool withData = hasData.Step() && hasData.Integer(0) > 0;
  anki::Statement notes(db, withData ? "SELECT id, mid, flds, data FROM notes ORDER BY id"
                                     : "SELECT id, mid, flds, '' FROM notes ORDER BY id");
  while (notes.Step()) {
    if (options.Anki.NoteType != 0 && notes.Integer(1) != options.Anki.NoteType) continue;
    const auto card = c.DeckOfNote.find(notes.Integer(0));
    const std::int64_t deck = card == c.DeckOfNote.end() ? 0 : card->second;
    if (!decks.empty() && !decks.contains(deck)) continue;
    if (total++ == 0) firstDeck = deck;
    else if (deck != firstDeck) oneDeck = false;
    if (reader.Full()) continue;
    const auto type = c.NoteTypes.find(notes.Integer(1));
    reader.Read(type == c.NoteTypes.end() ? kUnknownType : type->second, notes.Text(2), notes.Text(3));
  }
  if (total > static_cast<std::size_t>(TMeanCollection::kMaxEntries)) reader.TooMany(total);
  // The deck chosen, or the one deck all notes lie in, names the lesson;
  // ours gives back the whole header, also of a lesson without entries.
  std::int64_t named = options.Anki.Deck != 0 ? options.Anki.Deck : oneDeck ? firstDeck : 0;
  if (total == 0 && named == 0) {
    const auto ours = [](const auto& deck) { return deck.second.HasHeader; };
    if (std::count_if(c.Decks.begin(), c.Decks.end(), ours) == 1)
      named = std::find_if(c.Decks.begin(), c.Decks.end(), ours)->first;
  }
  if (const auto deck = c.Decks.find(named); named != 0 && deck != c.Decks.end()) {
    if (deck->second.HasHeader) {
      lesson.Title = deck->second.Header.Title;
      lesson.Topic = deck->second.Header.Topic;
      lesson.Author = deck->second.Header.Author;
      lesson.Picture = deck->second.Header.Picture;
      if (!reader.Named()) {
        lesson.Language1 = deck->second.Header.Language1;
        lesson.Language2 = deck->second.Header.Language2;
      }
      if (deck->second.HasFonts) {
        lesson.Language1.Font = deck->second.Header.Language1.Font;
        lesson.Language2.Font = deck->second.Header.Language2.Font;
      }
    } else {
      lesson.Title = Utf8ToCp1252(deck->second.Name);
    }
  }
}

void LoadAnki(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
              TransferReport& report) {
  ParseAnki(ReadWholeFile(fileName), fileName, options, lesson, report);
}

AnkiContents ListAnki(std::string_view package, const std::string& fileName) {
  anki::Database db(anki::PackageCollection(package, fileName), fileName);
  const Collection c = ReadCollection(db);
  std::map<std::int64_t, int> types, decks;
  anki::Statement notes(db, "SELECT id, mid FROM notes");
  while (notes.Step()) {
    ++types[notes.Integer(1)];
    const auto card = c.DeckOfNote.find(notes.Integer(0));
    ++decks[card == c.DeckOfNote.end() ? 0 : card->second];
  }
  AnkiContents contents;
  for (const auto& [id, count] : types) {
    const auto type = c.NoteTypes.find(id);
    contents.NoteTypes.push_back({id, type == c.NoteTypes.end() ? std::string() : type->second.Name, count});
  }
  // Every deck that holds notes, itself or in a subdeck.
  for (const auto& [id, deck] : c.Decks) {
    const auto count = decks.find(id);
    const int notesIn = count == decks.end() ? 0 : count->second;
    const std::string prefix = deck.Name + "::";
    const bool parent = std::any_of(c.Decks.begin(), c.Decks.end(), [&](const auto& other) {
      return other.second.Name.starts_with(prefix) && decks.contains(other.first);
    });
    if (notesIn > 0 || parent) contents.Decks.push_back({id, deck.Name, notesIn});
  }
  const auto byName = [](const AnkiPart& a, const AnkiPart& b) { return a.Name < b.Name; };
  std::sort(contents.NoteTypes.begin(), contents.NoteTypes.end(), byName);
  std::sort(contents.Decks.begin(), contents.Decks.end(), byName);
  return contents;
}

}  // namespace vocatrix
