// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <set>

#include <gtest/gtest.h>

#include "base/errors.h"
#include "spelling/personalwords.h"
#include "spelling/speller.h"
#include "spelling_util.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteDictionary;
using test::WriteFile;

TSpeller MakeSpeller(const TempDir& dir, const std::string& encoding, const std::vector<std::string>& words,
                     const std::string& tryCharacters = {}, const std::string& personalFile = {}) {
  WriteDictionary(dir.Path(), "xx_XX", encoding, words, tryCharacters);
  return TSpeller({"xx_XX", dir.File("xx_XX.aff"), dir.File("xx_XX.dic")}, personalFile);
}

struct EncodingRow {
  const char* Encoding;
  std::vector<std::string> Dictionary;  // in the dictionary's encoding
  std::vector<std::pair<std::string, bool>> Checks;  // lesson strings (Windows-1252)
};

// Lesson words with umlauts, ß, œ, € and both apostrophes against the same
// words in UTF-8, ISO-8859-1 and ISO-8859-15 dictionaries. A word the
// dictionary's encoding cannot write (œ and € in ISO-8859-1, ¤ in
// ISO-8859-15) is never called wrong.
TEST(Speller, LessonWordsAreConvertedToTheDictionarysEncoding) {
  const EncodingRow rows[] = {
      {"UTF-8",
       {"B\xC3\xA4r", "Stra\xC3\x9F" "e", "c\xC5\x93ur", "\xE2\x82\xAC" "uro", "don\xE2\x80\x99t", "can't"},
       {{"B\xE4r", true},
        {"Bar", false},
        {"B\xF6r", false},
        {"Stra\xDF" "e", true},
        {"c\x9Cur", true},
        {"coeur", false},
        {"\x80uro", true},
        {"don\x92t", true},
        {"don't", true},  // the dictionary writes ’, the lesson '
        {"can\x92t", true},
        {"B\xE4\xADr", true},  // a soft hyphen inside
        {"B\xE4r\xE4", false}}},
      {"ISO8859-1",
       {"B\xE4r", "Stra\xDF" "e", "can't"},
       {{"B\xE4r", true},
        {"B\xF6r", false},
        {"Stra\xDF" "e", true},
        {"c\x9Cur", true},
        {"\x80uro", true},
        {"can\x92t", true},
        {"Bar", false}}},
      {"ISO8859-15",
       {"B\xE4r", "c\xBDur", "\xA4uro"},
       {{"B\xE4r", true},
        {"c\x9Cur", true},
        {"c\x9Curs", false},
        {"\x80uro", true},
        {"\x80" "Euro", false},
        {"\xA4uro", true}}},
  };
  for (const EncodingRow& row : rows) {
    SCOPED_TRACE(row.Encoding);
    TempDir dir;
    TSpeller speller = MakeSpeller(dir, row.Encoding, row.Dictionary);
    EXPECT_EQ(speller.Encoding(), row.Encoding);
    for (const auto& [word, right] : row.Checks) {
      EXPECT_EQ(speller.Check(word), right) << word;
      EXPECT_EQ(speller.Check(word), right) << word << " (asked again)";
    }
  }
}

TEST(Speller, SuggestionsComeBackAsLessonStringsWithoutTheOnesALessonCannotHold) {
  TempDir dir;
  // Bąr: ą is not in Windows-1252.
  TSpeller utf8 = MakeSpeller(dir, "UTF-8", {"B\xC3\xA4r", "B\xC4\x85r", "Bor"}, "\xC3\xA4\xC4\x85o");
  const std::vector<std::string> suggestions = utf8.Suggest("Bxr");
  EXPECT_EQ(std::set<std::string>(suggestions.begin(), suggestions.end()), (std::set<std::string>{"B\xE4r", "Bor"}));

  TempDir other;
  TSpeller latin1 = MakeSpeller(other, "ISO8859-1", {"B\xE4r", "B\xFCr"}, "\xE4\xFC");
  const std::vector<std::string> latin = latin1.Suggest("Bxr");
  EXPECT_EQ(std::set<std::string>(latin.begin(), latin.end()), (std::set<std::string>{"B\xE4r", "B\xFCr"}));
  // A word the dictionary cannot write gets no suggestions, and a right
  // word is not suggested for itself.
  EXPECT_TRUE(latin1.Suggest("B\x9Cr").empty());
  for (const std::string& s : latin1.Suggest("B\xE4r")) EXPECT_NE(s, "B\xE4r");
}

TEST(Speller, ADictionaryThatCannotBeUsedRaisesAnErrorNamingItsFile) {
  TempDir dir;
  EXPECT_THROW(TSpeller({"none", dir.File("none.aff"), dir.File("none.dic")}, {}), EDictionaryError);
  WriteDictionary(dir.Path(), "odd", "X-NO-SUCH-ENCODING", {"word"});
  try {
    TSpeller({"odd", dir.File("odd.aff"), dir.File("odd.dic")}, {});
    FAIL() << "an unknown encoding was accepted";
  } catch (const EDictionaryError& e) {
    EXPECT_NE(std::string(e.what()).find(dir.File("odd.aff")), std::string::npos) << e.what();
  }
}

struct PersonalRow {
  std::string Text;
  std::vector<std::string> Words;
};

TEST(PersonalWords, OneWordALineInUtf8OrWindows1252) {
  const PersonalRow rows[] = {
      {"", {}},
      {"Vocatrix\n", {"Vocatrix"}},
      {"\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F" "e\r\n  spaced \t\r\n\r\n# a comment\nVocatrix\nGr\xC3\xBC\xC3\x9F" "e",
       {"Gr\xFC\xDF" "e", "spaced", "Vocatrix"}},
      {"Gr\xFC\xDF" "e\n", {"Gr\xFC\xDF" "e"}},        // saved in Windows-1252
      {"\xC5\x81" "\xC3\xB3" "d\xC5\xBA\nok", {"ok"}},  // Łódź: not for a lesson
      {"no line end", {"no line end"}},
      {"old\rmac\r", {"old", "mac"}},
  };
  for (const PersonalRow& row : rows) {
    SCOPED_TRACE(row.Text);
    EXPECT_EQ(ParsePersonalWords(row.Text), row.Words);
    // Appending keeps every byte that was there and reads back with the word.
    const std::string appended = AppendPersonalWord(row.Text, "Stra\xDF" "e");
    EXPECT_EQ(appended.compare(0, row.Text.size(), row.Text), 0);
    std::vector<std::string> expected = row.Words;
    expected.push_back("Stra\xDF" "e");
    EXPECT_EQ(ParsePersonalWords(appended), expected);
  }
}

TEST(PersonalWords, AddToDictionaryWritesTheListThatTheNextSpellerReads) {
  TempDir dir;
  const std::string list = dir.File("config/sub/words-xx_XX.txt");
  {
    TSpeller speller = MakeSpeller(dir, "ISO8859-1", {"house"}, {}, list);
    EXPECT_FALSE(speller.Check("Vocatrix"));
    EXPECT_FALSE(speller.Check("Gr\xFC\xDF" "e"));
    speller.AddToDictionary("Vocatrix");
    speller.AddToDictionary("Gr\xFC\xDF" "e");
    speller.AddToDictionary("c\x9Cur");  // not in ISO-8859-1, kept all the same
    EXPECT_TRUE(speller.Check("Vocatrix"));
    EXPECT_TRUE(speller.Check("VOCATRIX"));  // the dictionary's case rules apply
    EXPECT_TRUE(speller.Check("Gr\xFC\xDF" "e"));
  }
  EXPECT_EQ(ReadFile(list), "Vocatrix\nGr\xC3\xBC\xC3\x9F" "e\nc\xC5\x93ur\n");
  TSpeller again = MakeSpeller(dir, "ISO8859-1", {"house"}, {}, list);
  EXPECT_TRUE(again.Check("Vocatrix"));
  EXPECT_TRUE(again.Check("Gr\xFC\xDF" "e"));
  EXPECT_TRUE(again.Check("c\x9Cur"));
  EXPECT_FALSE(again.Check("Vocatrixx"));

  // A list that exists but cannot be read is not overwritten.
  const std::string folderNamedLikeTheList = dir.File("blocked.txt");
  std::filesystem::create_directories(folderNamedLikeTheList);
  TSpeller blocked = MakeSpeller(dir, "UTF-8", {"house"}, {}, folderNamedLikeTheList);
  EXPECT_THROW(blocked.AddToDictionary("word"), Exception);
  EXPECT_TRUE(std::filesystem::is_directory(folderNamedLikeTheList));
}

}  // namespace
}  // namespace vocatrix
