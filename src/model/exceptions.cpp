#include "model/exceptions.h"

#include "files/settings.h"

namespace vocatrix {

EListError::EListError() : Exception("Listenindex außerhalb des zulässigen Bereichs") {}

ENotLesson ENotLesson::ForFile(const std::string& fileName) {
  return ENotLesson(TranslateMessage("ErrNotLesson", "'%s' is not a lesson file.", {fileName}));
}

EFormatError EFormatError::ForFile(const std::string& fileName) {
  return EFormatError(TranslateMessage("ErrForm", "Format error in file '%s'.", {fileName}));
}

EVersionError EVersionError::ForFile(const std::string& fileName) {
  return EVersionError(TranslateMessage("ErrVers", "File '%s' is a higher Version.", {fileName}));
}

// Messages are UTF-8. The three file system messages are the class library's own and are not translated.
EFOpenError EFOpenError::ForFile(const std::string& fileName) {
  return EFOpenError(FormatText("Kann Datei %s nicht öffnen", {fileName}));
}

EFCreateError EFCreateError::ForFile(const std::string& fileName) {
  return EFCreateError(FormatText("Kann Datei %s nicht erstellen", {fileName}));
}

EFWriteError EFWriteError::ForFile(const std::string& fileName) {
  return EFWriteError(FormatText("Kann nicht nach %s schreiben", {fileName}));
}

}  // namespace vocatrix
