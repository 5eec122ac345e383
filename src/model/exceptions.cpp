// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/exceptions.h"

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

}  // namespace vocatrix
