// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/errors.h"

#include "base/messages.h"

namespace vocatrix {

// Built in, these messages are the class library's German ones; a language
// file may say them in its own language.
EFOpenError EFOpenError::ForFile(const std::string& fileName) {
  return EFOpenError(TranslateMessage("ErrFOpen", "Kann Datei %s nicht öffnen", {fileName}));
}

EFCreateError EFCreateError::ForFile(const std::string& fileName) {
  return EFCreateError(TranslateMessage("ErrFCreate", "Kann Datei %s nicht erstellen", {fileName}));
}

EFWriteError EFWriteError::ForFile(const std::string& fileName) {
  return EFWriteError(TranslateMessage("ErrFWrite", "Kann nicht nach %s schreiben", {fileName}));
}

}  // namespace vocatrix
