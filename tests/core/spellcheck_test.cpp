// SPDX-License-Identifier: GPL-3.0-or-later
#include <set>
#include <thread>

#include <gtest/gtest.h>

#include "base/messages.h"
#include "base/settings.h"
#include "spelling/spellcheck.h"
#include "spelling_util.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;
using test::TempDir;
using test::WriteDictionary;
using test::WriteFile;

std::vector<std::string> Words(std::string_view phrase) {
  std::vector<std::string> words;
  for (const WordSpan& w : WordsToCheck(phrase)) words.emplace_back(phrase.substr(w.Start, w.Length));
  return words;
}

TEST(SpellWords, AListEntryIsSplitIntoWordsWithoutNumbersAndPunctuation) {
  const std::pair<std::string, std::vector<std::string>> rows[] = {
      {"house", {"house"}},
      {"to give sb. sth.", {"to", "give", "sb.", "sth."}},
      {"z.B. 3 \xC4pfel", {"z.B.", "\xC4pfel"}},
      {"e.g., etc...", {"e.g.", "etc."}},
      {"well-known", {"well-known"}},
      {"l'homme, l\x92" "enfant", {"l'homme", "l\x92" "enfant"}},
      {"MP3 3rd 1.5 \xBD 2000", {}},
      {"(to) go!", {"to", "go"}},
      {"- -- ... ' \x92 \xAD", {}},
      {"rock 'n' roll", {"rock", "n", "roll"}},
      {"Wort- -ung", {"Wort", "ung"}},
      {"c\x9Cur Stra\xDF" "e \x8Ailjak", {"c\x9Cur", "Stra\xDF" "e", "\x8Ailjak"}},
      {"Sil\xAD" "be", {"Sil\xAD" "be"}},
      {"a/b; c\xA0" "d", {"a", "b", "c", "d"}},
      {"", {}},
  };
  for (const auto& [phrase, words] : rows) EXPECT_EQ(Words(phrase), words) << phrase;
}

TEST(SpellWords, ATextLineGivesOnlyItsWordsEachInTheLanguageOfItsSide) {
  // Each line with its words as "word/language"; the languages follow the
  // "Sp:" lines as the reader takes them (English is language 1).
  const std::pair<std::string, std::vector<std::string>> rows[] = {
      {"Ti: Hause und Hof", {}},
      {"{ houze", {}},
      {"", {}},
      {"Sp: English\t - \tDeutsch", {}},
      {"house (s.)\t - \tHaus", {"house/1", "Haus/2"}},
      {"go (v.) away - gehen", {"go/1", "gehen/2"}},
      {"well-known - bekannt (adj.)", {"well-known/1", "bekannt/2"}},
      {"one+one = two", {"one/1", "one/2", "two/2"}},
      {"houze", {"houze/1"}},
      {"Fo: Arial_clBlack_10_[Bold]\t - \tArial_clBlack_10_[Bold]", {}},
      {"Sp: English - English", {}},
      {"big (adj.)\t = \tlarge", {"big/1", "large/1"}},
      {"big # small", {"big/1", "small/1"}},
      {"Sp: Deutsch - English", {}},
      {"gro\xDF - big", {"gro\xDF/2", "big/1"}},
      {"Sp: deutsch - deutsch", {}},
      {"Haus = Heim", {"Haus/2", "Heim/2"}},
      {"Sp: Klingon - Vulcan", {}},
      {"qapla' - success", {}},
      {"Au: Miller", {}},
  };
  std::vector<std::string> lines;
  for (const auto& row : rows) lines.push_back(row.first);
  LessonTextLanguages languages;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    std::vector<std::string> words;
    for (const TextWord& w : WordsOfTextLine(line, languages))
      words.push_back(line.substr(w.Start, w.Length) + "/" + std::to_string(w.Language));
    EXPECT_EQ(words, rows[i].second) << line;
    // Starting anywhere gives the languages that following the lines gives.
    EXPECT_EQ(WordsOfTextLine(line, LessonTextLanguagesAt(lines, i)), WordsOfTextLine(line, languages)) << line;
    languages.FollowLine(line);
  }
  EXPECT_EQ(languages.Name1(), "English");
  EXPECT_EQ(languages.Name2(), "Deutsch");
}

// An English dictionary in UTF-8 and a German one in ISO-8859-1, found by
// the language names.
class LessonSpellingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramFilePath(dir.File("vocatrix"));
    SetCurrentLanguage("");
    WriteDictionary(dir.Path(), "en_US", "UTF-8",
                    {"house", "big", "small", "large", "well", "known", "the", "is"});
    WriteDictionary(dir.Path(), "de_DE", "ISO8859-1", {"Haus", "gro\xDF", "klein", "bekannt", "Heim"});
  }
  TLessonSpeller Speller(const std::string& language1, const std::string& language2) const {
    return TLessonSpeller::ForLanguages(DictionaryChooser({dir.Path() + "/"}), language1, language2);
  }
  static std::unique_ptr<TMeanCollection> Lesson(const std::string& language1, const std::string& language2) {
    return MakeLesson(language1, language2,
                      {MakeEntry(1, {"house", "hause"}, {"Haus"}),
                       MakeEntry(2, {"big"}, {"gro\xDF"}, {"smal"}, {"klein", "kleinn, kleinn"}),
                       MakeEntry(2, {"well-known"}, {"bekant 2000"}),
                       MakeEntry(4, {"hause"}, {"Haus"})});
  }

  TempDir dir;
};

TEST_F(LessonSpellingTest, TheWholeLessonCheckListsEachUnknownWordWithItsEntryAndLanguage) {
  const TLessonSpeller speller = Speller("English", "Deutsch");
  EXPECT_EQ(speller.Problem(1), "");
  EXPECT_EQ(speller.Problem(2), "");
  const auto lesson = Lesson("English", "Deutsch");
  const std::vector<UnknownWord> unknown = CheckLessonSpelling(*lesson, speller);
  EXPECT_EQ(unknown, (std::vector<UnknownWord>{
                         {0, 1, "hause"}, {1, 1, "smal"}, {1, 2, "kleinn"}, {2, 2, "bekant"}, {3, 1, "hause"}}));
  std::vector<std::string> lines;
  for (const UnknownWord& w : unknown) lines.push_back(UnknownWordLine(w));
  EXPECT_EQ(lines, (std::vector<std::string>{"entry 1, language 1: hause", "entry 2, language 1: smal",
                                             "entry 2, language 2: kleinn", "entry 3, language 2: bekant",
                                             "entry 4, language 1: hause"}));

  // The same lesson on the Text page flags the same words, each in its
  // language, also when checked a slice of lines at a time.
  const std::vector<std::string> text = lesson->ToLines();
  const std::vector<MisspeltTextWord> whole = MisspeltInLessonText(speller, text);
  std::set<std::string> onPage;
  std::set<std::string> inLesson;
  for (const MisspeltTextWord& w : whole)
    onPage.insert(text[w.Line].substr(w.Start, w.Length) + "/" + std::to_string(w.Language));
  for (const UnknownWord& w : unknown) inLesson.insert(w.Word + "/" + std::to_string(w.Language));
  EXPECT_EQ(onPage, inLesson);
  for (std::size_t slice = 1; slice <= 4; ++slice) {
    std::vector<MisspeltTextWord> sliced;
    for (std::size_t first = 0; first < text.size(); first += slice)
      for (const MisspeltTextWord& w : MisspeltInLessonText(speller, text, first, slice)) sliced.push_back(w);
    EXPECT_EQ(sliced, whole) << "slices of " << slice;
  }

  // A memo line: the misspelt words of a phrase.
  EXPECT_EQ(speller.Misspelt(1, "the hause is big"), (std::vector<WordSpan>{{4, 5}}));
  EXPECT_EQ(speller.Misspelt(2, "gro\xDF und klein"), (std::vector<WordSpan>{{5, 3}}));
}

TEST_F(LessonSpellingTest, ALanguageWithoutADictionaryIsNotCheckedAndNamedOnce) {
  const TLessonSpeller speller = Speller("English", "Klingon");
  EXPECT_EQ(speller.Problem(1), "");
  EXPECT_EQ(speller.Problem(2), "No spelling dictionary is installed for 'Klingon'; its words are not checked.");
  EXPECT_EQ(speller.Speller(2), nullptr);
  EXPECT_TRUE(speller.Check(2, "kleinn"));
  EXPECT_TRUE(speller.Suggest(2, "kleinn").empty());
  EXPECT_TRUE(speller.Misspelt(2, "kleinn").empty());
  EXPECT_EQ(CheckLessonSpelling(*Lesson("English", "Klingon"), speller),
            (std::vector<UnknownWord>{{0, 1, "hause"}, {1, 1, "smal"}, {3, 1, "hause"}}));

  // Switched off by the settings: not checked, and nothing to say.
  const TLessonSpeller off({"English", std::nullopt, true}, {"Deutsch", std::nullopt, true});
  EXPECT_EQ(off.Problem(1), "");
  EXPECT_TRUE(CheckLessonSpelling(*Lesson("English", "Deutsch"), off).empty());
}

TEST_F(LessonSpellingTest, BothLanguagesWithOneDictionaryAndAddedWords) {
  const TLessonSpeller speller = Speller("English", "Englisch");
  ASSERT_EQ(speller.Speller(1), speller.Speller(2));
  const auto lesson = Lesson("English", "Englisch");
  EXPECT_EQ(CheckLessonSpelling(*lesson, speller).size(), 9u);
  speller.AddToDictionary(2, "Haus");
  speller.AddToDictionary(1, "hause");
  EXPECT_EQ(CheckLessonSpelling(*lesson, speller),
            (std::vector<UnknownWord>{{1, 2, "gro\xDF"}, {1, 1, "smal"}, {1, 2, "klein"}, {1, 2, "kleinn"},
                                      {2, 2, "bekant"}}));
  EXPECT_EQ(test::ReadFile(SettingsFolder() + "words-en_US.txt"), "Haus\nhause\n");
}

TEST_F(LessonSpellingTest, DictionariesLoadApartFromTheChoiceAndSharedOnceLoaded) {
  const DictionaryChooser chooser({dir.Path() + "/"});
  TLessonSpeller speller = TLessonSpeller::WithoutLoading(chooser.Choose("English"), chooser.Choose("Klingon"));
  // Chosen, not loaded: nothing is checked yet, and the missing dictionary
  // is named already.
  EXPECT_TRUE(speller.Pending());
  EXPECT_TRUE(speller.Pending(1));
  EXPECT_FALSE(speller.Pending(2));
  EXPECT_EQ(speller.Speller(1), nullptr);
  EXPECT_TRUE(speller.Check(1, "hause"));
  EXPECT_EQ(speller.Problem(2), "No spelling dictionary is installed for 'Klingon'; its words are not checked.");
  std::thread([&] { speller.LoadDictionaries(); }).join();
  EXPECT_FALSE(speller.Pending());
  EXPECT_FALSE(speller.Check(1, "hause"));
  // While one holds it, the next lesson gets the same dictionary at once.
  const TLessonSpeller next = TLessonSpeller::WithoutLoading(chooser.Choose("Englisch"), chooser.Choose("Deutsch"));
  EXPECT_FALSE(next.Pending(1));
  EXPECT_EQ(next.Speller(1), speller.Speller(1));
  EXPECT_TRUE(next.Pending(2));

  // A dictionary that cannot be used says so once loaded.
  WriteFile(dir.File("xx_XX.aff"), "SET KOI9-XX\n");
  WriteFile(dir.File("xx_XX.dic"), "1\nhouse\n");
  TLessonSpeller broken = TLessonSpeller::WithoutLoading(chooser.Choose("xx_XX"), chooser.Choose("Deutsch"));
  ASSERT_TRUE(broken.Pending(1));
  EXPECT_EQ(broken.Problem(1), "");
  broken.LoadDictionaries();
  EXPECT_EQ(broken.Speller(1), nullptr);
  EXPECT_NE(broken.Problem(1).find("xx_XX.aff"), std::string::npos);
  EXPECT_NE(broken.Speller(2), nullptr);
}

TEST_F(LessonSpellingTest, CopiedWordsAreCheckedWhileTheLessonChangesAndACancelKeepsTheEntriesChecked) {
  const TLessonSpeller speller = Speller("English", "Deutsch");
  auto lesson = Lesson("English", "Deutsch");
  const std::vector<UnknownWord> whole = CheckLessonSpelling(*lesson, speller);
  const TLessonWords words(*lesson);
  lesson->Meanings->At(0)->SetKindTexts(kSynonyms, {"housse"});
  TSpellCheckProgress progress;
  EXPECT_EQ(CheckLessonWords(words, speller, &progress), whole);
  EXPECT_EQ(progress.EntriesChecked(), 4);
  // Only language 2 checked, or none.
  const TLessonSpeller second(nullptr, SharedSpeller(speller.Speller(2)->Files()));
  EXPECT_EQ(CheckLessonWords(words, second), (std::vector<UnknownWord>{{1, 2, "kleinn"}, {2, 2, "bekant"}}));
  TSpellCheckProgress none;
  EXPECT_TRUE(CheckLessonWords(words, TLessonSpeller(), &none).empty());
  EXPECT_EQ(none.EntriesChecked(), 4);
  TSpellCheckProgress cancelled;
  cancelled.Cancel();
  EXPECT_TRUE(CheckLessonWords(words, speller, &cancelled).empty());
  EXPECT_EQ(cancelled.EntriesChecked(), 0);

  // Cancelled on the way through a long lesson (distinct unknown words, and
  // known ones): the unknown words of the entries checked, all of them.
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 20000; ++i) {
    std::string word;
    for (int n = i + 26 * 26; n > 0; n /= 26) word += static_cast<char>('a' + n % 26);
    entries.push_back(MakeEntry(1, {word + " house " + word + "s"}, {"Haus " + word + "en"}));
  }
  const auto longLesson = MakeLesson("English", "Deutsch", entries);
  const TLessonWords longWords(*longLesson);
  const TLessonSpeller fresh(std::make_shared<TSpeller>(speller.Speller(1)->Files(), std::string()),
                             std::make_shared<TSpeller>(speller.Speller(2)->Files(), std::string()));
  TSpellCheckProgress halfway;
  std::vector<UnknownWord> partial;
  std::thread worker([&] { partial = CheckLessonWords(longWords, fresh, &halfway); });
  while (halfway.EntriesChecked() < 100) std::this_thread::yield();
  halfway.Cancel();
  // Meanwhile the interface thread asks the same spellers.
  EXPECT_FALSE(fresh.Check(1, "hause"));
  EXPECT_TRUE(fresh.Check(2, "Haus"));
  worker.join();
  const int checked = halfway.EntriesChecked();
  std::vector<UnknownWord> expected = CheckLessonSpelling(*longLesson, fresh);
  EXPECT_GT(expected.size(), 2u * 20000);
  std::erase_if(expected, [&](const UnknownWord& w) { return w.EntryIndex >= checked; });
  EXPECT_EQ(partial, expected) << checked << " entries checked";
}

}  // namespace
}  // namespace vocatrix
