#pragma once
// Errors the user must see. Each carries one formatted, translated message;
// the nearest command that can go on catches it and shows the message.

#include <stdexcept>
#include <string>

namespace vocatrix {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

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

// File system errors.
class EFOpenError : public Exception {
 public:
  using Exception::Exception;
  static EFOpenError ForFile(const std::string& fileName);  // "Kann Datei %s nicht öffnen"
};

class EFCreateError : public Exception {
 public:
  using Exception::Exception;
  static EFCreateError ForFile(const std::string& fileName);  // "Kann Datei %s nicht erstellen"
};

class EFWriteError : public Exception {
 public:
  using Exception::Exception;
  static EFWriteError ForFile(const std::string& fileName);  // "Kann nicht nach %s schreiben"
};

// A lesson that the 16-bit counts of the binary file cannot hold.
class ELessonTooLarge : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace vocatrix
