#include "base/errors.h"

#include "base/messages.h"

namespace vocatrix {

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
