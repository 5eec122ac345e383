// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/kvtml/xmlstream.h"

#include <expat.h>

#include <climits>
#include <exception>
#include <memory>

#include "base/cp1252.h"
#include "model/exceptions.h"

namespace vocatrix {
namespace {

constexpr char kWindows1252[] = "windows-1252";

// The encoding an XML declaration at the start names ("<?xml version="1.0"
// encoding="...""), lower case; empty when there is none.
std::string DeclaredEncoding(std::string_view data) {
  if (!data.starts_with("<?xml")) return {};
  const std::size_t end = data.find("?>");
  const std::string_view declaration = data.substr(0, end == std::string_view::npos ? std::min<std::size_t>(data.size(), 200) : end);
  const std::size_t key = declaration.find("encoding");
  if (key == std::string_view::npos) return {};
  std::size_t at = declaration.find_first_of("\"'", key);
  if (at == std::string_view::npos) return {};
  const char quote = declaration[at++];
  const std::size_t close = declaration.find(quote, at);
  if (close == std::string_view::npos) return {};
  std::string name(declaration.substr(at, close - at));
  for (char& c : name)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return name;
}

bool IsUtf16Start(std::string_view data) {
  return data.starts_with("\xFF\xFE") || data.starts_with("\xFE\xFF") || data.starts_with(std::string_view("<\0", 2)) ||
         data.starts_with(std::string_view("\0<", 2));
}

// Single-byte encodings expat does not know itself.
int XMLCALL UnknownEncoding(void*, const XML_Char* name, XML_Encoding* info) {
  std::string lower(name);
  for (char& c : lower)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  if (lower != kWindows1252 && lower != "cp1252" && lower != "x-cp1252") return XML_STATUS_ERROR;
  for (int b = 0; b < 256; ++b) info->map[b] = static_cast<int>(Cp1252ToCodePoint(static_cast<unsigned char>(b)));
  info->data = nullptr;
  info->convert = nullptr;
  info->release = nullptr;
  return XML_STATUS_OK;
}

struct Session {
  XML_Parser parser;
  XmlHandler& handler;
  std::exception_ptr failure;
  bool declaresEntities = false;
};

// An exception must not pass through expat's C frames: it stops the parser
// and is raised again once expat has returned.
template <class Action>
void Guarded(Session& session, Action action) {
  if (session.failure) return;
  try {
    action();
  } catch (...) {
    session.failure = std::current_exception();
    XML_StopParser(session.parser, XML_FALSE);
  }
}

void XMLCALL OnStart(void* data, const XML_Char* name, const XML_Char** attributes) {
  auto& session = *static_cast<Session*>(data);
  Guarded(session, [&] { session.handler.StartElement(name, attributes); });
}

void XMLCALL OnEnd(void* data, const XML_Char*) {
  auto& session = *static_cast<Session*>(data);
  Guarded(session, [&] { session.handler.EndElement(); });
}

void XMLCALL OnText(void* data, const XML_Char* text, int length) {
  auto& session = *static_cast<Session*>(data);
  Guarded(session, [&] { session.handler.Text(std::string_view(text, static_cast<std::size_t>(length))); });
}

// Entities of the document's own are refused: no vocabulary file needs
// them, and their expansion is where XML parsers are attacked.
void XMLCALL OnEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*, const XML_Char*,
                      const XML_Char*, const XML_Char*) {
  auto& session = *static_cast<Session*>(data);
  session.declaresEntities = true;
  XML_StopParser(session.parser, XML_FALSE);
}

}  // namespace

const char* XmlAttribute(const char* const* attributes, std::string_view name) {
  for (const char* const* a = attributes; a && *a; a += 2)
    if (name == a[0]) return a[1];
  return nullptr;
}

XmlReadResult ReadXml(std::string_view data, const std::string& fileName, XmlHandler& handler) {
  XmlReadResult result;
  const char* encoding = nullptr;
  if (!IsUtf16Start(data) && !data.starts_with("\xEF\xBB\xBF")) {
    const std::string declared = DeclaredEncoding(data);
    if (declared == "iso-8859-1" || declared == "latin1" || declared == "iso_8859-1" || declared == "us-ascii" ||
        declared == "ascii" || declared == "cp1252" || declared == kWindows1252) {
      encoding = kWindows1252;
    } else if ((declared.empty() || declared == "utf-8" || declared == "utf8") && !IsUtf8(data)) {
      encoding = kWindows1252;
      result.NotUtf8 = true;
    }
  }
  const std::unique_ptr<std::remove_pointer_t<XML_Parser>, void (*)(XML_Parser)> parser(XML_ParserCreate(encoding),
                                                                                         XML_ParserFree);
  if (!parser) throw std::bad_alloc();
  Session session{parser.get(), handler, nullptr};
  XML_SetUserData(parser.get(), &session);
  XML_SetElementHandler(parser.get(), OnStart, OnEnd);
  XML_SetCharacterDataHandler(parser.get(), OnText);
  XML_SetEntityDeclHandler(parser.get(), OnEntity);
  XML_SetUnknownEncodingHandler(parser.get(), UnknownEncoding, nullptr);
  XML_SetParamEntityParsing(parser.get(), XML_PARAM_ENTITY_PARSING_NEVER);
  // In pieces: expat copies each into a buffer of its own, which stays
  // small and in the cache so (and counts a length in an int).
  constexpr std::size_t kPiece = std::size_t{1} << 16;
  std::size_t at = 0;
  XML_Status status = XML_STATUS_OK;
  do {
    const std::size_t length = std::min(kPiece, data.size() - at);
    const bool last = at + length == data.size();
    status = XML_Parse(parser.get(), data.data() + at, static_cast<int>(length), last ? XML_TRUE : XML_FALSE);
    at += length;
  } while (status == XML_STATUS_OK && at < data.size());
  if (session.failure) std::rethrow_exception(session.failure);
  if (status != XML_STATUS_OK || session.declaresEntities) throw EFormatError::ForFile(fileName);
  return result;
}

}  // namespace vocatrix
