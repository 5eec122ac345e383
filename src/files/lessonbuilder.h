// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Entries and words of a lesson read from an exchange file, built within
// what a lesson can hold: at most 65535 entries, and words and entries that
// take about 64 MB of memory at most, whatever the file asks for. Word texts
// are converted to Windows-1252 here, noting characters that are lost and
// leaving NUL characters out.

#include <cstddef>
#include <string>
#include <string_view>

#include "model/lesson.h"

namespace vocatrix {

struct TransferReport;

class LessonBuilder {
 public:
  // The memory the built entries and words may take.
  static constexpr std::size_t kMemoryLimit = std::size_t{64} << 20;

  // Starts `lesson`'s entry list afresh; messages name `fileName`.
  LessonBuilder(const std::string& fileName, TMeanCollection& lesson, TransferReport& report);

  // Whether the lesson holds as many entries as a lesson can.
  bool Full() const;
  // Appends a new entry (form 4, no words). The caller checks Full first.
  TMeaning& NewEntry();
  // Adds a word to a list of `entry`: `text` is UTF-8 (`utf8`) or
  // Windows-1252, trimmed of blanks and control characters at both ends;
  // an empty text adds nothing, nor does one the list holds already.
  // Raises ELessonTooLarge when the words outgrow the memory limit, and for
  // a word longer than a lesson file holds (naming the file and the entry).
  void AddWord(TMeaning& entry, int kind, std::string_view text, bool utf8);
  // Raises ELessonTooLarge for a file of `total` entries, more than a lesson holds.
  [[noreturn]] void TooManyEntries(std::size_t total) const;

 private:
  void Charge(std::size_t bytes);

  const std::string& fileName_;
  TMeanCollection& lesson_;
  TransferReport& report_;
  std::size_t charged_ = 0;
};

}  // namespace vocatrix
