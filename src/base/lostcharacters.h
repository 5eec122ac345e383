// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Characters that a lesson cannot hold: reading Unicode text into Windows-1252
// lesson strings turns them into "?". The readers of exchange files and rich
// text note each such character here, so that the user is told how many
// there were and of which script, before a lesson of "?" words is made.

#include <cstddef>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vocatrix {

class LostCharacters {
 public:
  // The Windows-1252 text of UTF-8: characters Windows-1252 cannot hold and
  // malformed sequences become "?" and are noted. `lost` (when given) tells
  // whether this text lost any.
  std::string FromUtf8(std::string_view utf8, bool* lost = nullptr);
  // Notes one character read as "?" (0 for a malformed byte sequence,
  // shown as U+FFFD).
  void Note(char32_t codePoint);

  std::size_t Characters() const { return characters_; }
  // What the lost characters were, for a message: the name of the script
  // most of them belong to ("Cyrillic", "Kyrillisch" in German messages),
  // or, for letters of no such script (extended Latin, symbols, emoji), the
  // first few of them in quotes. Empty when nothing was lost.
  std::string Sample() const;

  void Add(const LostCharacters& other);

 private:
  std::size_t characters_ = 0;
  std::map<int, std::size_t> scripts_;  // ICU script code: count
  std::vector<char32_t> examples_;      // the first few distinct ones
};

}  // namespace vocatrix
