// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Errors the user must see. Each carries one formatted, translated message
// (UTF-8); the nearest command that can go on catches it and shows the message.

#include <stdexcept>
#include <string>

namespace vocatrix {

class Exception : public std::runtime_error {
 public:
  explicit Exception(const std::string& message) : std::runtime_error(message) {}
};

// File system errors; their built-in messages are the class library's own
// German ones (keys ErrFOpen, ErrFCreate, ErrFWrite).
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

// An operation a component does not allow.
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};

}  // namespace vocatrix
