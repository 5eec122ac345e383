// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "files/binaryfile.h"
#include "files/lessonformats.h"
#include "files/transferreport.h"
#include "base/settings.h"
#include "model/exceptions.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;
using test::ReadFile;
using test::TempDir;
using test::Texts;
using test::WriteFile;

uint32_t U32At(const std::string& data, std::size_t at) {
  uint32_t v = 0;
  for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(static_cast<uint8_t>(data[at + i])) << (8 * i);
  return v;
}

std::string Le16(uint16_t v) { return std::string{static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
std::string Le32(uint32_t v) { return Le16(v & 0xFFFF) + Le16(v >> 16); }
std::string Str(const std::string& s) { return Le16(static_cast<uint16_t>(s.size())) + s; }

// A hand-made file image: header of the given version, optional font records,
// and the entry-list block at whatever offset it lands.
std::string HandMadeFile(uint8_t minor, const std::string& name1, const std::string& name2, const std::string& fonts,
                         const std::string& entries, uint16_t count) {
  std::string head = "tavv" + Le32(0) + Le16(208) + std::string(1, '\0') + std::string(1, static_cast<char>(minor));
  std::string strings = Str("T") + Str("") + Str("") + Str(name1) + Str(name2) + Str("");
  const uint32_t offset = static_cast<uint32_t>(head.size() + 8 + strings.size() + fonts.size());
  std::string data = head + Le32(offset) + Le32(0) + strings + fonts;
  data += Le16(50) + Le16(count) + Le16(1) + Le16(count) + entries;
  if (data.size() % 2) data += '\0';
  return data;
}

std::string WordList(const std::vector<std::string>& words) {
  std::string s = Le16(220) + Le16(static_cast<uint16_t>(words.size())) + Le16(1) +
                  Le16(static_cast<uint16_t>(words.size()));
  for (const std::string& w : words) s += Le16(209) + Str(w) + Str("") + Str("");
  return s + '\0';
}

std::string EntryRecord(uint8_t form, const std::vector<std::string>& synonyms) {
  return Le16(210) + std::string(1, static_cast<char>(form)) + WordList(synonyms) + WordList({}) + WordList({}) +
         WordList({});
}

std::unique_ptr<TMeanCollection> Decode(const std::string& data, const std::string& name = "x.tav") {
  auto lesson = std::make_unique<TMeanCollection>();
  DecodeBinary(*lesson, data, name);
  return lesson;
}

TEST(BinaryFile, NewLessonIsWrittenAs138KnownBytes) {
  auto lesson = TMeanCollection::CreateEmpty();
  const std::string data = EncodeBinary(*lesson);
  ASSERT_EQ(data.size(), 138u);
  EXPECT_EQ(data.substr(0, 4), "tavv");
  EXPECT_EQ(U32At(data, 4), 130u);
  EXPECT_EQ(data.substr(8, 4), std::string("\xD0\x00\x00\x02", 4));
  EXPECT_EQ(U32At(data, 12), 90u);
  EXPECT_EQ(U32At(data, 16), 0u);
  // six strings: three empty, the two default language names, an empty picture
  EXPECT_EQ(data.substr(20, 32), Str("") + Str("") + Str("") + Str("Language 1") + Str("Language 2") + Str(""));
  const std::string font = Str("Arial") + Le32(10) + Le32(0) + Le32(1);
  EXPECT_EQ(data.substr(52, 38), font + font);
  EXPECT_EQ(data.substr(90, 8), Le16(50) + Le16(1) + Le16(1) + Le16(1));
  EXPECT_EQ(data.substr(98, 39), EntryRecord(4, {}));
  EXPECT_EQ(data[137], '\0');  // padding to an even length
}

TEST(BinaryFile, RoundTripKeepsHeaderFontsEntriesAndWordTexts) {
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(1, {"house", "home"}, {"Haus"}, {}, {}), MakeEntry(0, {"go"}, {"gehen"}, {"stay"}, {"bleiben"}),
                            MakeEntry(3, {}, {"\xFC" "ber"})});
  lesson->Title = "Title \xE4";
  lesson->Topic = "Topic";
  lesson->Author = "Author";
  lesson->Picture = "pic.bmp";
  lesson->Language1.Font = TextToFont("Times New Roman_clRed_12_[Italic, Underline]");
  lesson->Language2.Font.Color = 0x80000008;
  lesson->Language2.Font.Size = 9;
  lesson->Language2.Font.SetStyleBits(8);
  lesson->At(0)->Synonyms.At(0)->Extra = "extra";
  lesson->At(0)->Synonyms.At(0)->Remark = "s.";
  lesson->Modified = true;

  TempDir dir;
  const std::string path = dir.File("a.tav");
  SaveBinary(*lesson, path);
  EXPECT_FALSE(lesson->Modified);
  const std::string data = ReadFile(path);
  EXPECT_EQ(data.size() % 2, 0u);
  EXPECT_EQ(U32At(data, 4), data.size() - 8);

  auto back = std::make_unique<TMeanCollection>();
  back->Modified = true;
  LoadBinary(*back, path);
  EXPECT_FALSE(back->Modified);
  EXPECT_EQ(back->Title, lesson->Title);
  EXPECT_EQ(back->Topic, "Topic");
  EXPECT_EQ(back->Author, "Author");
  EXPECT_EQ(back->Picture, "pic.bmp");
  EXPECT_EQ(back->Language1.Name, "English");
  EXPECT_EQ(back->Language2.Name, "Deutsch");
  EXPECT_TRUE(SameFont(back->Language1.Font, lesson->Language1.Font));
  EXPECT_TRUE(SameFont(back->Language2.Font, lesson->Language2.Font));
  ASSERT_EQ(back->EntryCount(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(back->At(i)->Form, lesson->At(i)->Form);
    for (int kind = 0; kind < 4; ++kind) {
      EXPECT_EQ(Texts(back->At(i)->ListOfKind(kind)), Texts(lesson->At(i)->ListOfKind(kind)));
      for (const PWord& w : back->At(i)->ListOfKind(kind)) EXPECT_EQ(w->Meaning(), back->At(i).get());
    }
  }
  EXPECT_EQ(back->At(0)->Synonyms.At(0)->Extra, "extra");
  EXPECT_EQ(back->At(0)->Synonyms.At(0)->Remark, "s.");
  // the entry list starts right after the six strings and two font records
  const std::size_t strings = 6 * 2 + lesson->Title.size() + 5 + 6 + 7 + 7 + 7;
  const std::size_t fonts = (2 + 15 + 12) + (2 + 5 + 12);
  EXPECT_EQ(U32At(data, 12), 20 + strings + fonts);
}

TEST(BinaryFile, LongStringsReadBackWhole) {
  auto lesson = MakeLesson("a", "b", {MakeEntry(4, {std::string(300, 'w')})});
  lesson->Title = std::string(300, 't');
  auto back = Decode(EncodeBinary(*lesson));
  EXPECT_EQ(back->Title, std::string(300, 't'));
  EXPECT_EQ(back->At(0)->Synonyms.At(0)->Text(), std::string(300, 'w'));
}

TEST(BinaryFile, DuplicateWordsAreWrittenButReadBackOnce) {
  auto lesson = MakeLesson("a", "b", {MakeEntry(4, {"same"})});
  // force a second word of the same text into the list past its refusal
  auto twin = std::make_shared<TWord>("same");
  lesson->At(0)->Synonyms.TCollection<TWord>::Insert(twin);
  const std::string data = EncodeBinary(*lesson);
  EXPECT_NE(data.find(Str("same") + Str("") + Str("") + Le16(209) + Str("same")), std::string::npos);
  EXPECT_EQ(Texts(Decode(data)->At(0)->Synonyms), std::vector<std::string>{"same"});
}

TEST(BinaryFile, OlderAndOddFilesRead) {
  // minor version 1: no font records; form 7 reads as 4; empty names take the defaults
  const std::string v1 = HandMadeFile(1, "", "", "", EntryRecord(7, {"a"}), 1);
  auto lesson = Decode(v1);
  EXPECT_EQ(lesson->Language1.Name, "Language 1");
  EXPECT_EQ(lesson->Language2.Name, "Language 2");
  EXPECT_TRUE(SameFont(lesson->Language1.Font, DefaultFont()));
  EXPECT_TRUE(SameFont(lesson->Language2.Font, DefaultFont()));
  ASSERT_EQ(lesson->EntryCount(), 1);
  EXPECT_EQ(lesson->At(0)->Form, 4);

  // minor version 3: whatever lies between the fonts and the entry list is skipped
  const std::string font = Str("Courier") + Le32(8) + Le32(0xFF) + Le32(0x12);
  const std::string v3 = HandMadeFile(3, "en", "de", font + font + "future data", EntryRecord(2, {"b"}), 1);
  lesson = Decode(v3);
  EXPECT_EQ(lesson->Language1.Font.Name, "Courier");
  EXPECT_EQ(lesson->Language1.Font.StyleBits(), 2u);  // bits beyond the four styles are ignored
  EXPECT_EQ(lesson->At(0)->Form, 2);

  // no entries: a present, empty list
  lesson = Decode(HandMadeFile(2, "en", "de", font + font, "", 0));
  ASSERT_NE(lesson->Meanings, nullptr);
  EXPECT_EQ(lesson->EntryCount(), 0);
  auto empty = MakeLesson("en", "de", {});
  const std::string data = EncodeBinary(*empty);
  EXPECT_EQ(data.substr(U32At(data, 12), 8), Le16(50) + Le16(0) + Le16(1) + Le16(0));
}

TEST(BinaryFile, WrongMagicAndHigherVersionsAreRefusedByName) {
  std::string data = EncodeBinary(*TMeanCollection::CreateEmpty());
  std::string bad = data;
  bad[0] = 'T';
  try {
    Decode(bad, "/l/a.tav");
    FAIL();
  } catch (const EFormatError& e) {
    EXPECT_STREQ(e.what(), "Format error in file '/l/a.tav'.");
  }
  bad = data;
  bad[10] = 1;
  try {
    Decode(bad, "/l/a.tav");
    FAIL();
  } catch (const EVersionError& e) {
    EXPECT_STREQ(e.what(), "File '/l/a.tav' is a higher Version.");
  }
  EXPECT_THROW(Decode(""), EFormatError);
  TempDir dir;
  EXPECT_THROW(LoadBinary(*TMeanCollection::CreateEmpty(), dir.File("missing.tav")), EFOpenError);
}

TEST(BinaryFile, EveryPrefixAndCorruptionLoadsOrRaisesFormatError) {
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(1, {"house", "home"}, {"Haus"}, {"hut"}, {"H\xFCtte"}), MakeEntry(0, {"go"}, {"gehen"})});
  const std::string data = EncodeBinary(*lesson);
  for (std::size_t n = 0; n < data.size(); ++n) {
    try {
      Decode(data.substr(0, n));
    } catch (const EFormatError&) {
    }
  }
  std::mt19937 random(42);
  for (int round = 0; round < 3000; ++round) {
    std::string corrupt = data;
    const int flips = 1 + static_cast<int>(random() % 4);
    for (int k = 0; k < flips; ++k) corrupt[random() % corrupt.size()] = static_cast<char>(random());
    try {
      Decode(corrupt);
    } catch (const EFormatError&) {
    } catch (const EVersionError&) {
    }
  }
}

TEST(BinaryFile, HugeCountsInATinyFileFailFast) {
  const std::string data = HandMadeFile(1, "a", "b", "", EntryRecord(4, {"x"}), 65535);
  EXPECT_THROW(Decode(data), EFormatError);
  std::string words = HandMadeFile(1, "a", "b", "", Le16(210) + std::string(1, '\4') + Le16(220) + Le16(65535) + Le16(1) + Le16(65535), 1);
  EXPECT_THROW(Decode(words), EFormatError);
  // an entry-list offset beyond the end
  std::string offset = HandMadeFile(1, "a", "b", "", EntryRecord(4, {"x"}), 1);
  offset[12] = '\xFF';
  offset[13] = '\xFF';
  EXPECT_THROW(Decode(offset), EFormatError);
}

TEST(BinaryFile, WriterRefusesWhatSixteenBitCountsCannotHoldBeforeTouchingTheFile) {
  TempDir dir;
  const std::string path = dir.File("big.tav");
  WriteFile(path, "previous");

  auto many = MakeLesson("a", "b", {});
  for (int i = 0; i < 65536; ++i) many->Meanings->Insert(TMeaning::Create());
  EXPECT_THROW(SaveBinary(*many, path), ELessonTooLarge);
  many->Meanings->AtDelete(0);
  EXPECT_NO_THROW(EncodeBinary(*many));  // exactly 65535 entries fit

  auto wide = MakeLesson("a", "b", {TMeaning::Create()});
  for (int i = 0; i < 65536; ++i) wide->At(0)->Translations.TCollection<TWord>::Insert(std::make_shared<TWord>("w"));
  EXPECT_THROW(SaveBinary(*wide, path), ELessonTooLarge);

  auto longText = MakeLesson("a", "b", {TMeaning::Create()});
  longText->Title = std::string(65536, 'x');
  longText->Modified = true;
  EXPECT_THROW(SaveBinary(*longText, path), ELessonTooLarge);
  EXPECT_TRUE(longText->Modified);
  EXPECT_EQ(ReadFile(path), "previous");

  // The message names the entry and the text; the wide image keeps it all.
  auto longWord = MakeLesson("a", "b", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"tree"}, {"Baum"})});
  longWord->At(1)->SetKindTexts(kAntonyms, {std::string(65536, 'y') + "z"});
  EXPECT_EQ(test::MessageOf([&] { EncodeBinary(*longWord); }),
            "Entry 2: a text of 65537 bytes is longer than a lesson file can hold (65,535 bytes): "
            "\"yyyyyyyyyyyyyyyyyyyy...\"");
  TMeanCollection back;
  DecodeWideBinary(back, EncodeWideBinary(*longWord), "wide");
  EXPECT_EQ(back.At(1)->KindTexts(kAntonyms), longWord->At(1)->KindTexts(kAntonyms));
  EXPECT_EQ(EncodeWideBinary(back), EncodeWideBinary(*longWord));
  EXPECT_THROW(DecodeWideBinary(back, EncodeBinary(*MakeLesson("a", "b", {})), "narrow"), EFormatError);

  // Nor does an import take such a word: it names the file and the entry.
  const std::string csv = dir.File("long.csv");
  WriteFile(csv, "house;Haus\ntree;" + std::string(70000, 'B') + "\n");
  TransferReport report;
  const std::string refused = test::MessageOf([&] { ReadLessonByFormat(csv, ReadOptions(), report); });
  EXPECT_EQ(refused.rfind("'" + csv + "': Entry 2: a text of 70000 bytes", 0), 0u) << refused;
}

TEST(BinaryFile, FailedSaveKeepsThePreviousFileAndCreationErrorsNameTheFile) {
  TempDir dir;
  const std::string path = dir.File("a.tav");
  WriteFile(path, "previous");
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Modified = true;
  {
    test::ScopedFileSizeLimit diskFull(64);
    EXPECT_THROW(SaveBinary(*lesson, path), EFWriteError);
  }
  EXPECT_TRUE(lesson->Modified);
  EXPECT_EQ(ReadFile(path), "previous");

  const std::string nowhere = dir.File("missing/a.tav");
  try {
    SaveBinary(*lesson, nowhere);
    FAIL();
  } catch (const EFCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Kann Datei " + nowhere + " nicht erstellen");
  }
}

TEST(BinaryFile, SaveWithBackupMovesTheOldFileOnlyAfterSuccess) {
  TempDir dir;
  const std::string path = dir.File("a.tav");
  const std::string bak = dir.File("a.BAK");
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Title = "first";
  SaveBinary(*lesson, path, bak);
  EXPECT_FALSE(std::filesystem::exists(bak));
  lesson->Title = "second";
  SaveBinary(*lesson, path, bak);
  auto backup = std::make_unique<TMeanCollection>();
  LoadBinary(*backup, bak);
  EXPECT_EQ(backup->Title, "first");
  {
    test::ScopedFileSizeLimit diskFull(64);
    lesson->Title = "third";
    EXPECT_THROW(SaveBinary(*lesson, path, bak), EFWriteError);
  }
  LoadBinary(*backup, bak);
  EXPECT_EQ(backup->Title, "first");
  auto current = std::make_unique<TMeanCollection>();
  LoadBinary(*current, path);
  EXPECT_EQ(current->Title, "second");
}

}  // namespace
}  // namespace vocatrix
