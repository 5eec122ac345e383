// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding words in a lesson: the next (or previous) word that contains a
// text, going round the lesson once.
//
// Case and word boundaries follow Windows-1252: "match case" off compares by
// the ANSI lower case (Ä matches ä, Š matches š; ß has no capital and only
// matches itself), and a whole word is one not touched by a letter or digit
// on either side (accented letters, ß, ª, º, µ, the modifier circumflex and
// the superscript digits count as such), as the editor's own text search sees them.

#include <optional>
#include <string>
#include <string_view>

#include "model/lesson.h"

namespace vocatrix {

struct TFindOptions {
  bool MatchCase = false;
  bool WholeWord = false;
  // -1 both languages; 0 language 1 (synonyms, antonyms); 1 language 2.
  int Side = -1;
};

// A word's place: entry, list kind and position in the list. Places are
// ordered by entry, then by the kinds 0 to 3 (the order of the word fields
// on the Entries page), then by position.
struct TWordPlace {
  int Entry = 0;
  int Kind = 0;
  int Word = 0;
  bool operator==(const TWordPlace&) const = default;
  auto operator<=>(const TWordPlace&) const = default;
};

struct TFoundWord {
  TWordPlace Place;
  // The search went past the end (or, backwards, the start) of the lesson.
  bool Wrapped = false;
};

class TTextMatcher {
 public:
  TTextMatcher(std::string_view text, const TFindOptions& options);
  bool Empty() const { return text_.empty(); }
  // Where the text occurs in `subject` under the options, from `from` on;
  // std::string_view::npos when it does not.
  std::size_t FindIn(std::string_view subject, std::size_t from = 0) const;
  bool Matches(std::string_view subject) const { return FindIn(subject) != std::string_view::npos; }

 private:
  std::string text_;
  bool matchCase_;
  bool wholeWord_;
};

// Whether a Windows-1252 byte is a letter or a digit.
bool IsWordCharacter(unsigned char c);
// The ANSI lower case of one Windows-1252 byte.
unsigned char LowerCaseOf(unsigned char c);

// The first word after `from` in lesson order (before it, backwards) that
// holds the text, among the lists of `side`; `from` itself is looked at
// first when `includeFrom`, else last. Nothing for an empty text or when no
// word matches.
std::optional<TFoundWord> FindWord(const TMeanCollection& lesson, const TTextMatcher& matcher, int side,
                                   const TWordPlace& from, bool includeFrom, bool backward);

}  // namespace vocatrix
