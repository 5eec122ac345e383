// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Lesson text: header lines with two-letter tags ("Ti:", "Th:", "Au:",
// "Bm:", "Fo:", "Sp:"), blank and "{" lines that are ignored, and entry lines
// joining two words by a marker ("- ", "-\t", "+", "=", "#").
//
// Lines are lesson strings (Windows-1252 bytes, no line ends).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vocatrix {

class TMeanCollection;

enum class LessonLineKind { kIgnored, kTitle, kTopic, kAuthor, kPicture, kFonts, kLanguages, kEntry };

// The kind of a line: empty and "{" lines are ignored, a tag counts only at
// the very start and in its exact case, anything else is an entry line (a
// line of blanks too).
LessonLineKind ClassifyLessonLine(std::string_view line);

// The marker of a text: the first marker kind present anywhere, in the order
// "- ", "-\t", "+", "=", "#", wins. Returns the position of the marker
// character ("-", "+", "=" or "#"), or npos when the text holds none.
std::size_t FindMarker(std::string_view text);

// Splits at the marker: `left` is the text before the marker character,
// `right` the text after it, both trimmed of codes 0 to 32. Succeeds only
// when both are non-empty; `marker` (when given) receives the marker character.
bool SplitAtMarker(std::string_view text, std::string& left, std::string& right, char* marker = nullptr);

// Takes "(remark)" off one side of an entry line: the word before the first
// "(" and the text from there on, with that "(" and the first ")" after it
// blanked. Without a ")" after the "(" the remark is empty and the word is
// the part unchanged.
void SplitRemark(const std::string& part, std::string& word, std::string& remark);

// Form code of a remark: "v." 0, "s." 1, "adj." 2, "adv." 3, anything else 4.
int FormOfRemark(std::string_view remark);

// The value of a tagged line for the editor's language and font lookups: the
// text after the tag, without the one blank or tab that the writer puts
// after it. (A hand-written "Sp:English" keeps its first letter.)
std::string_view TagValueForDisplay(std::string_view line);
// Offset of that value within the line.
std::size_t TagValueOffset(std::string_view line);

// The languages of lesson text as the reader takes them, line by line: the
// "Sp:" lines name the languages still lacking, that is still named exactly
// "Language 1" or "Language 2": language 1 its left name, language 2 the
// first name that differs from language 1 (case of A to Z ignored); each
// "Sp:" line sets the language of the left words of the entry lines after it.
class LessonTextLanguages {
 public:
  // Follows an "Sp:" value split into its two names.
  void Follow(const std::string& left, const std::string& right);
  // Follows the line when it is an "Sp:" line whose value splits; true then.
  bool FollowLine(std::string_view line);

  const std::string& Name1() const { return name1_; }
  const std::string& Name2() const { return name2_; }
  // The language (1 or 2) of the left word of an entry line now; 0 when the
  // current left name is neither (the line is malformed). When both names
  // match, language 2 wins.
  int LeftLanguage() const;

 private:
  std::string name1_ = "Language 1";
  std::string name2_ = "Language 2";
  std::string currentLeft_ = "Language 1";
};

// The languages in force at the start of line `index` (after lines 0 to
// index - 1).
LessonTextLanguages LessonTextLanguagesAt(const std::vector<std::string>& lines, std::size_t index);

// Reads lesson text into the header fields, languages and entries of
// `lesson`. Title, topic, author and picture are cleared, the languages set to
// "Language 1"/"Language 2" with the default font, and Meanings replaced.
//
// Lenient mode skips malformed lines and returns their number; a text without
// a single valid entry line leaves Meanings absent (null).
// Strict mode stops at the first malformed line: Meanings is left absent and
// the line's 0-based index (counting every line) is returned. A text without
// entry lines then gets one blank entry; 0 is returned on success.
// Malformed: an "Sp:" value or entry line that does not split into two
// non-empty parts, an entry line whose left language is neither of the
// lesson's two languages, and an entry line with a word or remark longer than
// a lesson file holds (65535 bytes).
int ParseLessonLines(const std::vector<std::string>& lines, bool strict, TMeanCollection& lesson);

// Appends the lesson as lesson text: header lines, the translation and
// antonym-translation pairs, then the synonym and antonym pairs of each
// language under its own "Sp:" line. An absent entry list writes no pairs.
// (While language 1 is named "Language 1", every language line has that name
// on its left, and language 2's lists pair with the entry's head word.)
//
// Every line written reads back as written. A pair line that would not (a
// word that is empty, starts with a tag or "{", holds a marker, a remark or a
// line break, or has blanks at its ends) is left out; a language name that
// would not is written as "Language 1" or "Language 2". `uncarriedTexts`
// (when given) receives, each once, the words, names, fonts and header values
// that do not come back unchanged, the first word of each entry without a
// synonym-translation pair (it comes back elsewhere or changed), and each
// text that stands in two lists of one entry.
void WriteLessonLines(std::vector<std::string>& lines, const TMeanCollection& lesson,
                      std::vector<std::string>* uncarriedTexts = nullptr);
// What WriteLessonLines reports as not carried; empty when the text reads
// back (and compacts) to the same lesson.
std::vector<std::string> WordsTextCannotCarry(const TMeanCollection& lesson);
// Such texts for a message: each in double quotes, separated by ", ", the
// first `shown` of them and then "…" with the number left out.
std::string QuotedTextList(const std::vector<std::string>& texts, std::size_t shown = 20);

// The lines of `tableRows` (indices of lines read from a table row) whose
// cells, joined by tabs, hold a complete entry beside another cell: the row
// held two entries or more, and the line reads as one.
std::vector<std::string> LinesHoldingTwoEntries(const std::vector<std::string>& lines,
                                                const std::vector<std::size_t>& tableRows);

// The languages in force at a line: those of the nearest "Sp:" line at or
// above `index`. False when there is none or its value does not split.
bool LanguagesAtLine(const std::vector<std::string>& lines, int index, std::string& left, std::string& right);

}  // namespace vocatrix
