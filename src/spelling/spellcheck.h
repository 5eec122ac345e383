// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Spell checking of lessons: which words of a list entry and of a lesson
// text line are checked, the two spellers of a lesson's languages, and the
// check of a whole lesson.
//
// Offsets and lengths count bytes of Windows-1252 lesson strings, that is
// characters.

#include <cstddef>
#include <memory>
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
  };
  static Side Load(const DictionaryChoice& choice);
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

// "entry N, language K: word", N counted from 1 (a lesson string).
std::string UnknownWordLine(const UnknownWord& word);

}  // namespace vocatrix
