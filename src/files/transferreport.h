// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a read or a write of a lesson file could not carry, and the messages
// that tell the user so. The editor and the command line show the same
// messages.

#include <array>
#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "base/lostcharacters.h"

namespace vocatrix {

class TWord;

// Kinds of items of an exchange file that a lesson has no place for.
enum class LeftOut : int {
  Hints,           // comments, remarks (the hints of word games)
  Pictures,
  Sounds,
  Grades,          // grades, practice counts and dates
  Conjugations,
  Comparisons,
  Declensions,
  MultipleChoice,
  Examples,
  Paraphrases,
  Pronunciations,
  Usages,
  Articles,
  FalseFriends,
  OtherDetails,    // any other detail of a word
  WordTypes,       // word types that are no form of a lesson
  Undeclared,      // translations in a language the file does not declare
  RepeatedEntries, // entries with an id an earlier entry has
  Columns,         // fields of columns not read
  UnknownForms,    // form names a lesson does not know
  NulCharacters,   // NUL characters, never part of a word
};
inline constexpr std::size_t kLeftOutKinds = static_cast<std::size_t>(LeftOut::NulCharacters) + 1;

struct TransferReport {
  // Malformed lesson-text lines skipped.
  int Skipped = 0;
  // Items the lesson cannot hold, by kind; only items with content count.
  std::array<int, kLeftOutKinds> LeftOutItems{};
  // The first few translations in undeclared languages (Windows-1252).
  std::vector<std::string> UndeclaredTexts;
  // Characters Windows-1252 cannot hold, read as "?".
  LostCharacters Lost;
  // Words read, and those of them that lost a character. Compaction keeps
  // the latter apart: their "?" says nothing about what they meant.
  std::size_t WordsRead = 0;
  std::unordered_set<const TWord*> LossyWords;
  // Lesson text: lines read, and lines that lost a character.
  std::size_t LinesRead = 0;
  std::size_t LossyLines = 0;
  // The file claimed (or XML assumed) UTF-8 but was none; it was read as
  // Windows-1252.
  bool NotUtf8 = false;
  // Lesson-text lines made from a table row that held more than one entry.
  std::vector<std::string> TableRows;
  // Words the written file cannot carry unchanged.
  std::vector<std::string> Uncarried;

  void Leave(LeftOut kind, int count = 1) { LeftOutItems[static_cast<std::size_t>(kind)] += count; }
  int LeftOutCount(LeftOut kind) const { return LeftOutItems[static_cast<std::size_t>(kind)]; }
  int LeftOutTotal() const;
  // Whether a reading lost characters, so that the user must agree first.
  bool LostAny() const { return Lost.Characters() > 0; }
};

// The messages (UTF-8, translated) about what reading `fileName` left out or
// changed: items a lesson cannot hold, text that was not UTF-8, table rows
// holding two entries, and characters read as "?" when `withLost`. Empty
// when all went in.
std::vector<std::string> ReadNotes(const TransferReport& report, const std::string& fileName, bool withLost);
// "231 of 463 words hold characters a lesson file cannot store (for example
// Cyrillic); they would be changed to '?'." (or, `done`, "were read as
// '?'"), of lines for lesson text. Empty when nothing was lost.
std::string LostCharactersMessage(const TransferReport& report, bool done = false);
// The message about the words a written exchange file `fileName` cannot
// carry: ";" in a list field of CSV, control characters in KVTML. Empty when
// none.
std::string UncarriedMessage(const TransferReport& report, const std::string& fileName);

}  // namespace vocatrix
