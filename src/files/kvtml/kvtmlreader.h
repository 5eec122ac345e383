// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the readers of KVTML's two versions (kvtml.h) share. Each reads the
// events under the document element of a stream of XML (xmlstream.h) and
// builds the lesson when the document has ended. Used by kvtmlreader.cpp,
// kvtml1reader.cpp and kvtml2reader.cpp only.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "files/lessonformats.h"
#include "files/kvtml/xmlstream.h"

namespace vocatrix {

class TMeanCollection;

namespace kvtml {

// What an element on the way down is to a reader.
enum class Node : std::uint8_t {
  Other,  // of no interest, nor anything inside
  Part,   // a detail of a word a lesson has no place for, and all inside
  Root, Information, Title, Category, Author, Identifiers, Identifier, IdentifierName, IdentifierLocale,
  Entries, Entry, Translation, Text, LegacyWordType, WordTypes, TypeContainer, SpecialType, TypeEntry,
  TypeTranslation, Relation, Pair, PairEntry,
  Entry1, Column1,  // KVTML 1
};

struct Level {
  Node node = Node::Other;
  LeftOut kind = LeftOut::OtherDetails;  // of a part
  bool content = false;                  // a part holds text
};

class Reader : public XmlHandler {
 public:
  Reader(const std::string& fileName, const ReadOptions& options, TMeanCollection& lesson, TransferReport& report)
      : fileName_(fileName), options_(options), lesson_(lesson), report_(report) {}

  // The events under the document element; a part is followed here, so that
  // only a part that holds something counts.
  void StartElement(std::string_view name, const char* const* attributes) final;
  void EndElement() final;
  void Text(std::string_view utf8) final;
  // Builds the lesson once the document has ended.
  virtual void Finish() = 0;

 protected:
  // The level of a child element of `parent` (neither Other nor Part).
  virtual Level Child(Node parent, std::string_view name, const char* const* attributes) = 0;
  virtual void Close(Node node) = 0;
  // Character data of an element that is no part.
  virtual void Collect(Node node, std::string_view utf8) = 0;
  // A part of `kind` that holds something has ended.
  virtual void PartHeld(LeftOut kind) = 0;

  // Names language 1 (`side` 0) or 2 by its name, else its locale (UTF-8).
  void NameLanguage(int side, std::string_view name, std::string_view locale);

  const std::string& fileName_;
  const ReadOptions& options_;
  TMeanCollection& lesson_;
  TransferReport& report_;

 private:
  std::vector<Level> levels_;
};

// A reader of each version, given the document element's attributes.
std::unique_ptr<Reader> NewKvtml2Reader(const std::string& fileName, const ReadOptions& options,
                                        TMeanCollection& lesson, TransferReport& report);
std::unique_ptr<Reader> NewKvtml1Reader(const std::string& fileName, const ReadOptions& options,
                                        TMeanCollection& lesson, TransferReport& report,
                                        const char* const* attributes);

// The kind of a part of a translation by its element name.
LeftOut KindOfPart(std::string_view name);
// A type name's form ("noun", "noun/male"; KVTML 1 "n", "n:m" with the
// names "v", "n", "aj", "av"): 0 to 3, or -1 for none.
int FormOfType(std::string_view type, const std::array<const char*, 4>& names, char subtype);
std::string_view TrimmedText(std::string_view text);
bool IsWhitespace(std::string_view text);
// A number attribute (null: `fallback`).
int NumberOf(const char* text, int fallback);

}  // namespace kvtml
}  // namespace vocatrix
