// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Errors the user must see. Each carries one formatted, translated message;
// the nearest command that can go on catches it and shows the message.

#include <cstddef>
#include <string>
#include <string_view>

#include "base/errors.h"

namespace vocatrix {

// Index or item outside a collection.
class EListError : public Exception {
 public:
  EListError();
};

// Lesson document errors; the message comes from section "Dynamic" of the
// interface-language file, formatted with the file name.
class ENotLesson : public Exception {
 public:
  using Exception::Exception;
  static ENotLesson ForFile(const std::string& fileName);
};

class EFormatError : public Exception {
 public:
  using Exception::Exception;
  static EFormatError ForFile(const std::string& fileName);
};

class EVersionError : public Exception {
 public:
  using Exception::Exception;
  static EVersionError ForFile(const std::string& fileName);
};

// Lesson text of malformed lines without a single entry line: a
// spreadsheet's or Anki's export, most likely, which only reading it as
// delimited text makes a lesson of; `delimitedWay` names how the program
// does that.
class ENoEntryLine : public Exception {
 public:
  using Exception::Exception;
  static ENoEntryLine ForFile(const std::string& fileName, const std::string& delimitedWay);
};

// A lesson that the 16-bit counts of the binary file cannot hold.
class ELessonTooLarge : public Exception {
 public:
  using Exception::Exception;
  // More entries than a lesson holds (TMeanCollection::kMaxEntries).
  static ELessonTooLarge ForEntries(int entries, int most);
  // A file whose words would take more memory than an imported lesson may.
  static ELessonTooLarge ForMemory(const std::string& fileName, int megabytes);
  // A word of entry `entry` (1-based; 0: the header) longer than a lesson
  // file's string can hold, named by its beginning; `fileName` (when given)
  // is the file it was read from.
  static ELessonTooLarge ForWord(const std::string& fileName, int entry, std::size_t bytes, std::string_view text);
};

}  // namespace vocatrix
