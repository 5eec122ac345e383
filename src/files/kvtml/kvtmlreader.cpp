// SPDX-License-Identifier: GPL-3.0-or-later
// Reading KVTML (kvtml.h) from a stream of XML events: the document element
// decides the version, whose reader takes every event under it. Nothing of
// the document is kept as a tree.

#include "files/kvtml/kvtmlreader.h"

#include <algorithm>

#include "base/cp1252.h"
#include "base/safesave.h"
#include "files/kvtml/kvtml.h"
#include "model/exceptions.h"
#include "model/lesson.h"

namespace vocatrix {
namespace kvtml {
namespace {

// Elements of a translation that a lesson has no place for.
constexpr std::array<std::pair<const char*, LeftOut>, 16> kTranslationParts{{
    {"comment", LeftOut::Hints},
    {"image", LeftOut::Pictures},
    {"sound", LeftOut::Sounds},
    {"grade", LeftOut::Grades},
    {"conjugation", LeftOut::Conjugations},
    {"comparison", LeftOut::Comparisons},
    {"declension", LeftOut::Declensions},
    {"multiplechoice", LeftOut::MultipleChoice},
    {"example", LeftOut::Examples},
    {"paraphrase", LeftOut::Paraphrases},
    {"pronunciation", LeftOut::Pronunciations},
    {"usage", LeftOut::Usages},
    {"article", LeftOut::Articles},
    {"falsefriend", LeftOut::FalseFriends},
    {"antonym", LeftOut::OtherDetails},
    {"synonym", LeftOut::OtherDetails},
}};

// Takes the document element and hands every event under it to the reader
// of its version.
class Document : public XmlHandler {
 public:
  Document(const std::string& fileName, const ReadOptions& options, TMeanCollection& lesson, TransferReport& report)
      : fileName_(fileName), options_(options), lesson_(lesson), report_(report) {}

  void StartElement(std::string_view name, const char* const* attributes) override {
    if (depth_++ > 0) return reader_->StartElement(name, attributes);
    if (name != "kvtml") throw EFormatError::ForFile(fileName_);
    const char* version = XmlAttribute(attributes, "version");
    // KVTML 1 names no version.
    if (!version || version[0] == '1' || version[0] == '0')
      reader_ = NewKvtml1Reader(fileName_, options_, lesson_, report_, attributes);
    else if (version[0] == '2')
      reader_ = NewKvtml2Reader(fileName_, options_, lesson_, report_);
    else if (version[0] >= '3' && version[0] <= '9')
      throw EVersionError::ForFile(fileName_);
    else
      throw EFormatError::ForFile(fileName_);
  }

  void EndElement() override {
    if (--depth_ > 0) reader_->EndElement();
  }

  void Text(std::string_view utf8) override {
    if (depth_ > 0) reader_->Text(utf8);
  }

  void Finish() {
    if (!reader_) throw EFormatError::ForFile(fileName_);
    reader_->Finish();
  }

 private:
  const std::string& fileName_;
  const ReadOptions& options_;
  TMeanCollection& lesson_;
  TransferReport& report_;
  std::unique_ptr<Reader> reader_;
  std::size_t depth_ = 0;
};

}  // namespace

void Reader::StartElement(std::string_view name, const char* const* attributes) {
  const Level parent = levels_.empty() ? Level{Node::Root} : levels_.back();
  if (parent.node == Node::Part) levels_.push_back({Node::Part, parent.kind});
  else if (parent.node == Node::Other) levels_.push_back({Node::Other});
  else levels_.push_back(Child(parent.node, name, attributes));
}

void Reader::EndElement() {
  const Level level = levels_.back();
  levels_.pop_back();
  if (level.node != Node::Part) return Close(level.node);
  // A part inside a part makes the outer one hold what it holds.
  if (!levels_.empty() && levels_.back().node == Node::Part) levels_.back().content |= level.content;
  else if (level.content) PartHeld(level.kind);
}

void Reader::Text(std::string_view utf8) {
  if (levels_.empty()) return;
  Level& level = levels_.back();
  if (level.node == Node::Part) {
    if (!IsWhitespace(utf8)) level.content = true;
  } else if (level.node != Node::Other) {
    Collect(level.node, utf8);
  }
}

void Reader::NameLanguage(int side, std::string_view name, std::string_view locale) {
  std::string text = Utf8ToCp1252(TrimmedText(name));
  if (text.empty()) {
    const std::string_view code = TrimmedText(locale);
    text = LanguageOfLocale(code);
    if (text.empty()) text = Utf8ToCp1252(code);
  }
  (side == 0 ? lesson_.Language1 : lesson_.Language2) =
      TLanguage(text.empty() ? (side == 0 ? "Language 1" : "Language 2") : text);
}

LeftOut KindOfPart(std::string_view name) {
  for (const auto& [part, kind] : kTranslationParts)
    if (name == part) return kind;
  return LeftOut::OtherDetails;
}

int FormOfType(std::string_view type, const std::array<const char*, 4>& names, char subtype) {
  type = type.substr(0, type.find(subtype));
  for (std::size_t form = 0; form < names.size(); ++form)
    if (SameTextAsciiCaseless(type, names[form])) return static_cast<int>(form);
  return -1;
}

std::string_view TrimmedText(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

bool IsWhitespace(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

int NumberOf(const char* text, int fallback) {
  if (!text || !*text) return fallback;
  long value = 0;
  const char* p = text;
  const bool negative = *p == '-';
  if (negative) ++p;
  for (; *p; ++p) {
    if (*p < '0' || *p > '9' || value > 100'000'000) return fallback;
    value = value * 10 + (*p - '0');
  }
  return static_cast<int>(negative ? -value : value);
}

}  // namespace kvtml

void ParseKvtml(std::string_view data, const std::string& fileName, const ReadOptions& options, TMeanCollection& lesson,
                TransferReport& report) {
  kvtml::Document document(fileName, options, lesson, report);
  if (ReadXml(data, fileName, document).NotUtf8) report.NotUtf8 = true;
  document.Finish();
}

void LoadKvtml(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
               TransferReport& report) {
  ParseKvtml(ReadWholeFile(fileName), fileName, options, lesson, report);
}

}  // namespace vocatrix
