// SPDX-License-Identifier: GPL-3.0-or-later
// Anki decks: lessons there and back, decks of other note types, the choice
// of note type and deck, and the packages that are refused.

#include <gtest/gtest.h>

#include "files/anki/anki.h"
#include "files/anki/ankipackage.h"
#include "files/anki/ankitext.h"
#include "files/binaryfile.h"
#include "files/transferreport.h"
#include "model/lesson.h"
#include "test_util.h"

namespace vocatrix::ankitest {
namespace {

using test::MakeEntry;
using test::MakeLesson;
using test::MessageOf;
using Lines = std::vector<std::string>;

// The lesson as lesson text, whose lines hold the header and every word.
Lines AsText(const TMeanCollection& lesson) {
  Lines lines = lesson.ToLines();
  lines.insert(lines.begin(), lesson.Language1.Name + "/" + lesson.Language2.Name + "/" + lesson.Picture);
  return lines;
}

std::unique_ptr<TMeanCollection> Read(std::string_view package, const ReadOptions& options,
                                      TransferReport& report, const std::string& fileName = "deck.apkg") {
  auto lesson = std::make_unique<TMeanCollection>();
  ParseAnki(package, fileName, options, *lesson, report);
  return lesson;
}

// A dictionary of many entries: every form, synonyms and antonyms now and then.
std::unique_ptr<TMeanCollection> Dictionary(int entries) {
  std::vector<MeaningPtr> list;
  for (int i = 0; i < entries; ++i) {
    const std::string n = std::to_string(i);
    list.push_back(MakeEntry(static_cast<std::uint8_t>(i % 5), {"word" + n, i % 3 ? "" : "syn\xE9" + n},
                             {"Wort" + n, "\xDF" + n}, {i % 7 ? "" : "ant" + n}, {i % 11 ? "" : "\x80" + n}));
  }
  auto lesson = MakeLesson("English", "Deutsch", list);
  lesson->Title = "Dictionary";
  return lesson;
}

TEST(AnkiRoundTrip, GivesBackExamplesOddWordsAndLargeDictionariesExactly) {
  std::vector<std::pair<std::string, std::unique_ptr<TMeanCollection>>> lessons;
  for (const char* name : {"english-german.tav", "french-german.tav"})
    lessons.emplace_back(name, TMeanCollection::CreateFromFile(std::string(VOCATRIX_SOURCE_DIR) + "/examples/" + name));
  // Markup and references in words, Windows-1252 letters, a blank entry, no title.
  auto odd = MakeLesson("Engl<i>sh</i>", "Fran\xE7" "ais & co",
                        {MakeEntry(0, {"a<br>b", "&amp;", "[sound:x.mp3]"}, {"\"q\" <img src=x>"}),
                         MakeEntry(4, {}, {}), MakeEntry(3, {}, {"vite"}, {"slowly"}, {"\x81\x80\x9F"}),
                         MakeEntry(2, {"  two  spaces"}, {"x"}, {}, {"only antonym translation"})});
  odd->Topic = "Topic \"quoted\"";
  odd->Author = "\xC6thelred";
  odd->Picture = "pic.bmp";
  // What only the lesson file keeps: fonts, a word's extra and remark texts, a list holding a word twice.
  odd->Language2.Font = TFont{"Times New Roman", 14, 0x0000FF, false, true, true};
  odd->At(0)->Synonyms.At(1)->Extra = "v.";
  odd->At(2)->Translations.At(0)->Remark = "\"fast\", \xE9";
  odd->At(3)->Antonyms.Duplicates = true;
  for (int twice = 0; twice < 2; ++twice) odd->At(3)->AddWord(kAntonyms, std::make_shared<TWord>("same", "x"));
  lessons.emplace_back("odd", std::move(odd));
  lessons.emplace_back("dictionary", Dictionary(20000));
  lessons.emplace_back("empty", MakeLesson("", "B", {}));
  lessons.back().second->Title = "Nothing yet";
  for (const auto& [name, lesson] : lessons) {
    SCOPED_TRACE(name);
    TransferReport written;
    const std::string package = AnkiImage(*lesson, "/some/folder/" + name + ".apkg", 1'700'000'000'000, &written);
    TransferReport read;
    const auto back = Read(package, ReadOptions(), read);
    EXPECT_EQ(AsText(*back), AsText(*lesson));
    EXPECT_EQ(EncodeBinary(*back), EncodeBinary(*lesson)) << "the lesson file made of it";
    EXPECT_TRUE(written.Uncarried.empty());
    EXPECT_EQ(read.LeftOutTotal(), 0);
    EXPECT_FALSE(read.LostAny());
  }
  // Control characters have no place in a field: left out and named.
  auto controls = MakeLesson("A", "B", {MakeEntry(1, {"tab\there"}, {"ok"})});
  TransferReport written;
  TransferReport read;
  EXPECT_EQ(Read(AnkiImage(*controls, "c.apkg", 0, &written), {}, read)->At(0)->KindTexts(kSynonyms),
            Lines{"tabhere"});
  EXPECT_EQ(written.Uncarried, Lines{"tab\there"});

}

TEST(AnkiText, ChecksumsAndFieldsAsAnkiReadsThem) {
  // SHA-1 of the stripped field, its first 32 bits.
  EXPECT_EQ(anki::FieldChecksum(""), 0xda39a3eeLL);
  EXPECT_EQ(anki::FieldChecksum("<b>a</b>b&amp;c<br>"), anki::FieldChecksum("ab&c"));
  EXPECT_EQ(anki::FieldChecksum("abc"), 0xa9993e36LL);
  const anki::FieldWords words = anki::WordsOfField(
      "<div>Haus</div><br/>Geb&auml;ude [sound:haus.mp3]<BR><img src=\"h.jpg\">[sound:b.ogg]&nbsp;Heim");
  EXPECT_EQ(words.Words, (Lines{"Haus", "Geb\xC3\xA4ude ", " Heim"}));
  EXPECT_EQ(words.Sounds, 2);
  EXPECT_EQ(words.Pictures, 1);
}

// An Anki deck in the older schema, as the documentation describes it: note
// types "Basic" (Front, Back) and "Three" (Word, Meaning, Example), the
// decks "Lang", "Lang::Verbs" and "Other".
struct Note {
  std::int64_t type;
  std::int64_t deck;
  std::string fields;
  std::string data = {};
};

std::string OlderDeck(const std::vector<Note>& notes, const std::string& models = {}, bool writeAhead = false) {
  const std::string name = "built.apkg";
  anki::Database db({}, name);
  db.Execute(
      "CREATE TABLE col (id integer primary key, models text, decks text);"
      "CREATE TABLE notes (id integer primary key, mid integer, flds text, data text);"
      "CREATE TABLE cards (id integer primary key, nid integer, did integer, ord integer);");
  anki::Statement col(db, "INSERT INTO col VALUES (1, ?, ?)");
  col.Bind(1, models.empty() ? R"({"100": {"name": "Basic", "flds": [{"name": "Back", "ord": 1},
                                   {"name": "Front", "ord": 0}]},
                          "200": {"name": "Three", "flds": [{"name": "Word", "ord": 0},
                                  {"name": "Meaning", "ord": 1}, {"name": "Example", "ord": 2}]}})"
                             : models);
  col.Bind(2, std::string_view(R"({"1": {"name": "Default"}, "10": {"name": "Lang"},
                                 "11": {"name": "Lang::Verbs"}, "12": {"name": "Other"}})"));
  col.Run();
  anki::Statement note(db, "INSERT INTO notes VALUES (?, ?, ?, ?)");
  anki::Statement card(db, "INSERT INTO cards VALUES (?, ?, ?, ?)");
  for (std::size_t i = 0; i < notes.size(); ++i) {
    const auto id = static_cast<std::int64_t>(i + 1);
    note.Bind(1, id).Bind(2, notes[i].type).Bind(3, notes[i].fields).Bind(4, notes[i].data).Run();
    // A second card in another deck does not move the note.
    card.Bind(1, 2 * id).Bind(2, id).Bind(3, notes[i].deck).Bind(4, 0).Run();
    card.Bind(1, 2 * id + 1).Bind(2, id).Bind(3, 12).Bind(4, 1).Run();
  }
  std::string image = db.Image();
  // The header of a database saved in write-ahead mode.
  if (writeAhead) image[18] = image[19] = 2;
  return anki::PackageImage(image);
}

TEST(AnkiImport, ReadsTheNotesOfTheChosenTypeAndDeckWithTheirText) {
  const std::string deck = OlderDeck({
      {100, 10, "<b>house</b><br>home\x1fHaus [sound:haus.mp3]"},
      {200, 11, "to go\x1fgehen<br>laufen<img src=\"g.png\">\x1f<i>I go home.</i>"},
      {100, 12, "\xD0\xB4\xD0\xBE\xD0\xBC\x1f&lt;Haus&gt;"},
      {200, 11, "\x1f\x1f"},
  });
  const AnkiContents contents = ListAnki(deck, "built.apkg");
  std::vector<std::string> parts;
  for (const auto* list : {&contents.NoteTypes, &contents.Decks})
    for (const AnkiPart& part : *list) parts.push_back(part.Name + ":" + std::to_string(part.Notes));
  EXPECT_EQ(parts, (Lines{"Basic:2", "Three:2", "Lang:1", "Lang::Verbs:2", "Other:1"}));
  EXPECT_TRUE(contents.Choice());

  struct Case {
    std::int64_t type, deck;
    Lines text;  // title, languages, then the entries' words
    int sounds, pictures, columns;
    std::size_t lost;
  };
  TransferReport writeAhead;
  EXPECT_EQ(Read(OlderDeck({{100, 10, "a"}, {100, 10, "b"}}, {}, true), {}, writeAhead)->EntryCount(), 2);

  const std::vector<Case> cases{
      {0, 0, {"", "Front/Back", "house,home=Haus", "to go=gehen,laufen", "?\?\?=<Haus>"}, 1, 1, 1, 3},
      {100, 0, {"", "Front/Back", "house,home=Haus", "?\?\?=<Haus>"}, 1, 0, 0, 3},
      {0, 10, {"Lang", "Front/Back", "house,home=Haus", "to go=gehen,laufen"}, 1, 1, 1, 0},
      {200, 11, {"Lang::Verbs", "Word/Meaning", "to go=gehen,laufen"}, 0, 1, 1, 0},
      {0, 99, {"", "Language 1/Language 2"}, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.type) + "/" + std::to_string(c.deck));
    ReadOptions options;
    options.Anki = {c.type, c.deck};
    TransferReport report;
    const auto lesson = Read(deck, options, report);
    Lines text{lesson->Title, lesson->Language1.Name + "/" + lesson->Language2.Name};
    for (int i = 0; i < lesson->EntryCount(); ++i) {
      std::string line;
      for (int kind : {kSynonyms, kTranslations}) {
        std::string words;
        for (const std::string& word : lesson->At(i)->KindTexts(kind)) words += (words.empty() ? "" : ",") + word;
        line += (kind == kSynonyms ? "" : "=") + words;
      }
      text.push_back(line);
    }
    EXPECT_EQ(text, c.text);
    EXPECT_EQ(report.LeftOutCount(LeftOut::Sounds), c.sounds);
    EXPECT_EQ(report.LeftOutCount(LeftOut::Pictures), c.pictures);
    EXPECT_EQ(report.LeftOutCount(LeftOut::Columns), c.columns);
    EXPECT_EQ(report.Lost.Characters(), c.lost);
  }

  // A note of ours whose data is no JSON, or names lists and words that are not there, keeps its words.
  const std::string ours = R"({"300": {"name": "Vocatrix", "flds": [{"name": "Language 1", "ord": 0},
      {"name": "Language 2", "ord": 1}, {"name": "Antonyms", "ord": 2}, {"name": "Antonym translations", "ord": 3},
      {"name": "Form", "ord": 4}, {"name": "Languages", "ord": 5}]}})";
  for (const char* data : {"{not json", R"({"vocatrix":7})",
                           R"({"vocatrix":{"words":[[9,0,"a","b"],[0,99,"a","b"],"x",[1,0,7]],"duplicates":["q",7]}})"}) {
    SCOPED_TRACE(data);
    TransferReport report;
    const auto lesson = Read(OlderDeck({{300, 10, "cat\x1fKatze\x1f\x1f\x1fs.\x1f", data}}, ours), {}, report);
    ASSERT_EQ(lesson->EntryCount(), 1);
    const TMeaning& entry = *lesson->At(0);
    EXPECT_EQ(entry.KindTexts(kSynonyms), Lines{"cat"});
    EXPECT_EQ(entry.Form, 1);
    EXPECT_FALSE(entry.Synonyms.Duplicates);
    EXPECT_EQ(entry.Synonyms.At(0)->Extra, "");
    EXPECT_EQ(entry.Translations.At(0)->Extra, std::string(data).find("[1,0,7]") == std::string::npos ? "" : "7");
  }
}

TEST(AnkiImport, RefusesBadPackagesNamingTheFile) {
  const std::string emptyZip = anki::PackageImage("");
  std::string noCollection = emptyZip;
  for (std::size_t at; (at = noCollection.find("collection.anki2")) != std::string::npos;)
    noCollection.replace(at, 16, "something.else16");
  std::string manyNotes;
  {
    std::vector<Note> notes(TMeanCollection::kMaxEntries + 1, Note{100, 10, "a\x1f" "b"});
    manyNotes = OlderDeck(notes);
  }
  const struct {
    std::string package, message;
  } cases[] = {
      {"PK\x03\x04 not really", "'d.apkg' is no Anki deck: it is not a zip archive."},
      {noCollection, "'d.apkg' is no Anki deck: it holds no collection."},
      {emptyZip.substr(0, emptyZip.size() / 2), "'d.apkg' is no Anki deck: it is not a zip archive."},
      {emptyZip, "The collection of the Anki deck 'd.apkg' is damaged."},
      {OlderDeck({}, "{\"100\": {\"name\": "), "The collection of the Anki deck 'd.apkg' is damaged."},
      {manyNotes, "65536 entries: a lesson holds at most 65535."},
      {OlderDeck({{100, 10, std::string(70000, 'x')}}), ""},
  };
  for (const auto& c : cases) {
    TransferReport report;
    const std::string message = MessageOf([&] { Read(c.package, {}, report, "d.apkg"); });
    if (c.message.empty()) {
      EXPECT_NE(message.find("'d.apkg'"), std::string::npos) << message;
      EXPECT_NE(message.find("Entry 1"), std::string::npos) << message;
    } else {
      EXPECT_EQ(message, c.message);
    }
  }
}

}  // namespace
}  // namespace vocatrix::ankitest
