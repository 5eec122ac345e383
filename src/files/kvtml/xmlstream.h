// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// XML read as a stream of events (expat), so that a document of any size
// or depth costs no more memory than what its reader keeps, and never the
// stack. Encodings: UTF-8 and UTF-16 (by byte-order mark or declaration);
// ISO-8859-1, US-ASCII and Windows-1252 as declared, all three read as
// Windows-1252 (the superset spreadsheet and Windows programs really
// write); a document that claims UTF-8 (or claims nothing) but is not
// valid UTF-8 is read as Windows-1252 too, and the caller is told.

#include <string>
#include <string_view>

namespace vocatrix {

class XmlHandler {
 public:
  virtual ~XmlHandler() = default;
  // `attributes` are name, value pairs ending in a null name (UTF-8).
  virtual void StartElement(std::string_view name, const char* const* attributes) = 0;
  virtual void EndElement() = 0;
  // Character data of the current element, in pieces (UTF-8).
  virtual void Text(std::string_view utf8) = 0;
};

// The value of an attribute of `attributes`, or null.
const char* XmlAttribute(const char* const* attributes, std::string_view name);

struct XmlReadResult {
  bool NotUtf8 = false;  // read as Windows-1252 although it claimed UTF-8
};

// Feeds `data` to `handler`. A document that is not well-formed, declares
// entities or names an encoding of none of the kinds above raises
// EFormatError naming `fileName`; an exception of the handler stops the
// reading and passes on.
XmlReadResult ReadXml(std::string_view data, const std::string& fileName, XmlHandler& handler);

}  // namespace vocatrix
