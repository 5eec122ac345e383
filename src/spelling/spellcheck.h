// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Spell checking of lessons: which words of a list entry and of a lesson
// text line are checked, the two spellers of a lesson's languages, and the
// check of a whole lesson.
//
// Offsets and lengths count bytes of Windows-1252 lesson strings, that is
// characters.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/lessontext.h"
#include "spelling/dictionaries.h"
#include "spelling/speller.h"

namespace vocatrix {

class TMeanCollection;

// A word of a text: [Start, Start + Length).
struct WordSpan {
  int Start = 0;
  int Length = 0;
  bool operator==(const WordSpan&) const = default;
};

// The words of a list entry (a word or phrase) to check: runs of letters,
// which may hold apostrophes (' and ’), hyphens, dots and soft hyphens
// between letters, together with one dot right after them ("z.B.", "etc.",
// "Mr."), as Hunspell dictionaries list abbreviations. Runs holding a digit
// (numbers, "3rd", "MP3") are not checked; everything else (blanks,
// punctuation, brackets, symbols) only separates words.
std::vector<WordSpan> WordsToCheck(std::string_view phrase);

// The language (1 or 2) of the words of a list kind: language 1 for the
// synonyms and antonyms (kinds 0 and 2), language 2 for the other two.
int LanguageOfKind(int kind);

// A word of a lesson text line with its language (1 or 2).
struct TextWord {
  int Start = 0;
  int Length = 0;
  int Language = 1;
  bool operator==(const TextWord&) const = default;
};

// The words of one lesson text line to check, each in the language the
// reader gives it: only entry lines count (never tags, "{" lines or blank
// ones); their left word is in the language of the current "Sp:" line's
// left name (none are checked when that is neither of the lesson's
// languages), the right word in the other language after "- ", "-\t" and
// "+", in the same one after "=" and "#". Markers and everything from a
// side's "(" on (its remark, such as "(v.)" or "(s.)") are left out. A line
// without a marker is all left word, as it is while being typed.
// `languages` holds the languages in force at the line (LessonTextLanguagesAt).
std::vector<TextWord> WordsOfTextLine(std::string_view line, const LessonTextLanguages& languages);

// The spellers of a lesson's two languages.
class TLessonSpeller {
 public:
  // No language is checked.
  TLessonSpeller() = default;
  // Each language by its choice; a dictionary that cannot be loaded leaves
  // its language unchecked, with the reason in Problem.
  TLessonSpeller(const DictionaryChoice& language1, const DictionaryChoice& language2);
  // Spellers already loaded (null: that language is not checked).
  TLessonSpeller(std::shared_ptr<TSpeller> language1, std::shared_ptr<TSpeller> language2);
  // Both chosen by their names.
  static TLessonSpeller ForLanguages(const DictionaryChooser& chooser, const std::string& language1,
                                     const std::string& language2);
  // Each language by its choice, but of the dictionaries only those already
  // loaded (for another lesson); the rest, Pending, are left to
  // LoadDictionaries, so that a window can load them on a worker thread.
  // The messages of languages without a dictionary are made here.
  static TLessonSpeller WithoutLoading(const DictionaryChoice& language1, const DictionaryChoice& language2);
  // Whether the dictionary of language 1 or 2 (0: of either) is still to
  // be loaded.
  bool Pending(int language = 0) const;
  // Loads the dictionaries still to be loaded (Hunspell reads its .aff and
  // .dic files: up to a second). The thread that calls it must be the only
  // one using this speller meanwhile.
  void LoadDictionaries();

  // The speller of language 1 or 2; null when the language is not checked.
  TSpeller* Speller(int language) const;
  // Why a language is not checked, as a message naming it ("No spelling
  // dictionary is installed for ..."); empty when it is checked or the
  // settings switched it off.
  const std::string& Problem(int language) const;

  // Whether a word of a language is right; true when it is not checked.
  bool Check(int language, std::string_view word) const;
  // Suggestions for a word; none when the language is not checked.
  std::vector<std::string> Suggest(int language, std::string_view word) const;
  // "Add to dictionary": the word goes to the personal word list of the
  // language's dictionary. Raises when the list cannot be written.
  void AddToDictionary(int language, std::string_view word) const;

  // The misspelt words of a list entry of a language.
  std::vector<WordSpan> Misspelt(int language, std::string_view phrase) const;
  // The misspelt words of a lesson text line (see WordsOfTextLine).
  std::vector<TextWord> MisspeltInLine(std::string_view line, const LessonTextLanguages& languages) const;

 private:
  struct Side {
    std::shared_ptr<TSpeller> Speller;
    std::string Problem;
    std::optional<DictionaryFiles> ToLoad;
  };
  // With `load`, the dictionary is loaded unless already loaded; without,
  // it is left to LoadDictionaries.
  static Side Choose(const DictionaryChoice& choice, bool load);
  static void LoadSide(Side& side);
  const Side& SideOf(int language) const;

  Side sides_[2];
};

// A misspelt word of a lesson text: its line and place, and its language.
struct MisspeltTextWord {
  int Line = 0;
  int Start = 0;
  int Length = 0;
  int Language = 1;
  bool operator==(const MisspeltTextWord&) const = default;
};

// The misspelt words of lines [first, first + count) of a lesson text (the
// languages come from the lines above `first`), line by line, so that a long
// text can be checked a slice at a time.
std::vector<MisspeltTextWord> MisspeltInLessonText(const TLessonSpeller& speller,
                                                   const std::vector<std::string>& lines, std::size_t first = 0,
                                                   std::size_t count = std::string::npos);

// A misspelt word of a lesson: the entry (0-based index) and the language
// (1 or 2) that hold it.
struct UnknownWord {
  int EntryIndex = 0;
  int Language = 1;
  std::string Word;
  bool operator==(const UnknownWord&) const = default;
};

// Every misspelt word of the lesson, by entry in lesson order and within an
// entry in the order of its lists (synonyms, translations, antonyms, antonym
// translations), each word once per entry and language. Each distinct word
// is asked of its dictionary once; the two languages are checked side by
// side on two threads when they use different dictionaries.
std::vector<UnknownWord> CheckLessonSpelling(const TMeanCollection& lesson, const TLessonSpeller& speller);

// The words of a lesson's entries, copied, so that a worker thread can check
// them while the lesson goes on changing.
class TLessonWords {
 public:
  TLessonWords() = default;
  explicit TLessonWords(const TMeanCollection& lesson);
  int EntryCount() const { return entryCount_; }

  // Each word of each list of each entry, in lesson order.
  struct Text {
    int Entry;
    int Kind;
    std::uint32_t Start;
    std::uint32_t Length;
  };
  const std::vector<Text>& Texts() const { return texts_; }
  std::string_view TextOf(const Text& text) const { return std::string_view(chars_).substr(text.Start, text.Length); }

 private:
  std::string chars_;
  std::vector<Text> texts_;
  int entryCount_ = 0;
};

// How far a check of lesson words has come, and the request to stop it:
// shared by the thread that runs the check and the one that watches it.
class TSpellCheckProgress {
 public:
  void Cancel() { cancelled_.store(true, std::memory_order_relaxed); }
  bool Cancelled() const { return cancelled_.load(std::memory_order_relaxed); }
  // The entries, from the first on, whose every word has been asked of its
  // dictionary.
  int EntriesChecked() const;

 private:
  friend std::vector<UnknownWord> CheckLessonWords(const TLessonWords&, const TLessonSpeller&, TSpellCheckProgress*);
  // Each dictionary's share (the two are asked side by side).
  std::atomic<int> reached_[2] = {0, 0};
  std::atomic<bool> cancelled_{false};
};

// The misspelt words of copied lesson words, as CheckLessonSpelling gives
// them. With `progress`, its EntriesChecked counts up while the check runs,
// and its Cancel stops the check within one word's lookup: the result then
// holds the misspelt words of the entries checked (EntriesChecked) alone.
std::vector<UnknownWord> CheckLessonWords(const TLessonWords& words, const TLessonSpeller& speller,
                                          TSpellCheckProgress* progress = nullptr);

// "entry N, language K: word", N counted from 1 (a lesson string).
std::string UnknownWordLine(const UnknownWord& word);

}  // namespace vocatrix
