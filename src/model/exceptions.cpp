// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/exceptions.h"

#include "base/cp1252.h"
#include "base/messages.h"

namespace vocatrix {

EListError::EListError()
    : Exception(TranslateMessage("ErrListIndex", "Listenindex außerhalb des zulässigen Bereichs")) {}

ENotLesson ENotLesson::ForFile(const std::string& fileName) {
  return ENotLesson(TranslateMessage("ErrNotLesson", "'%s' is not a lesson file.", {fileName}));
}

ENoEntryLine ENoEntryLine::ForFile(const std::string& fileName, const std::string& delimitedWay) {
  return ENoEntryLine(TranslateMessage(
      "ErrNoEntryLine", "'%s': no entry line could be read; if this is a spreadsheet or Anki export, use %s.",
      {fileName, delimitedWay}));
}

EFormatError EFormatError::ForFile(const std::string& fileName) {
  return EFormatError(TranslateMessage("ErrForm", "Format error in file '%s'.", {fileName}));
}

EVersionError EVersionError::ForFile(const std::string& fileName) {
  return EVersionError(TranslateMessage("ErrVers", "File '%s' is a higher Version.", {fileName}));
}

ELessonTooLarge ELessonTooLarge::ForEntries(int entries, int most) {
  return ELessonTooLarge(TranslateMessage("ErrTooManyEntries", "%s entries: a lesson holds at most %s.",
                                          {std::to_string(entries), std::to_string(most)}));
}

ELessonTooLarge ELessonTooLarge::ForMemory(const std::string& fileName, int megabytes) {
  return ELessonTooLarge(TranslateMessage("ErrImportTooLarge",
                                          "'%s' holds more words than a lesson can take: they would need more "
                                          "than %s MB.",
                                          {fileName, std::to_string(megabytes)}));
}

ELessonTooLarge ELessonTooLarge::ForWord(const std::string& fileName, int entry, std::size_t bytes,
                                        std::string_view text) {
  // The word's beginning, cut where a character of UTF-8 would not be.
  std::string beginning(text.substr(0, 20));
  const std::string where = entry > 0 ? TranslateMessage("WordTooLongEntry", "Entry %s", {std::to_string(entry)})
                                      : TranslateMessage("WordTooLongHeader", "The header");
  const std::string message =
      TranslateMessage("ErrWordTooLong",
                       "%s: a text of %s bytes is longer than a lesson file can hold (65,535 bytes): \"%s...\"",
                       {where, std::to_string(bytes), Cp1252ToUtf8(beginning)});
  return ELessonTooLarge(fileName.empty() ? message : "'" + fileName + "': " + message);
}

}  // namespace vocatrix
