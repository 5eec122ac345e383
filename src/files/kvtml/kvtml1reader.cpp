// SPDX-License-Identifier: GPL-3.0-or-later
// Reading KVTML 1.0 (kvtml.h): each entry (<e>) holds its columns, the
// original (<o>) and the translations (<t>), with synonyms, antonyms and
// the type as attributes; it becomes one lesson entry as it ends.

#include <algorithm>

#include "base/cp1252.h"
#include "files/kvtml/kvtml.h"
#include "files/kvtml/kvtmlreader.h"
#include "files/lessonbuilder.h"
#include "model/exceptions.h"
#include "model/lesson.h"

namespace vocatrix::kvtml {
namespace {

// KVTML 1's type codes of the forms "v.", "s.", "adj.", "adv.".
constexpr std::array<const char*, 4> kKvtml1Types{"v", "n", "aj", "av"};

// KVTML 1's attributes of a column that a lesson has no place for.
constexpr std::array<std::pair<const char*, LeftOut>, 12> kKvtml1Attributes{{
    {"r", LeftOut::Hints},
    {"p", LeftOut::Pronunciations},
    {"x", LeftOut::Examples},
    {"u", LeftOut::Usages},
    {"ff", LeftOut::FalseFriends},
    {"tf", LeftOut::FalseFriends},
    {"g", LeftOut::Grades},
    {"c", LeftOut::Grades},
    {"b", LeftOut::Grades},
    {"d", LeftOut::Grades},
    {"qg", LeftOut::Grades},
    {"qc", LeftOut::Grades},
}};

// A grade, count or date of 0 (or "0;0") says nothing.
bool SaysNothing(std::string_view value) { return value.find_first_not_of(" 0;.:") == std::string_view::npos; }

class Kvtml1Reader : public Reader {
 public:
  Kvtml1Reader(const std::string& fileName, const ReadOptions& options, TMeanCollection& lesson,
               TransferReport& report, const char* const* attributes)
      : Reader(fileName, options, lesson, report), builder_(fileName, lesson, report) {
    if (const char* title = XmlAttribute(attributes, "title")) lesson_.Title = Utf8ToCp1252(TrimmedText(title));
    if (const char* author = XmlAttribute(attributes, "author")) lesson_.Author = Utf8ToCp1252(TrimmedText(author));
    for (int side = 0; side < 2; ++side) {
      const int wanted = side == 0 ? options_.Language1 : options_.Language2;
      column_[side] = wanted >= 0 ? wanted : side;
    }
  }

  void Finish() override {
    if (entries1_ > static_cast<std::size_t>(TMeanCollection::kMaxEntries)) builder_.TooManyEntries(entries1_);
    for (int side = 0; side < 2; ++side) {
      const int wanted = side == 0 ? options_.Language1 : options_.Language2;
      if (wanted >= 0 && wanted >= columns_) throw EKvtmlLanguage::ForFile(fileName_, wanted);
      const std::size_t column = static_cast<std::size_t>(column_[side]);
      NameLanguage(side, std::string(), column < codes_.size() ? codes_[column] : std::string());
    }
  }

 private:
  void Close(Node node) override {
    if (node == Node::Entry1) EndEntry1();
    else if (node == Node::Column1) EndColumn1();
  }

  void Collect(Node node, std::string_view utf8) override {
    if (node == Node::Column1) text_ += utf8;
  }

  void PartHeld(LeftOut kind) override { report_.Leave(kind); }

  struct Column1 {
    std::string Text, Synonym, Antonym, Type;
  };

  Level Child(Node parent, std::string_view name, const char* const* a) override {
    switch (parent) {
      case Node::Root:
        if (name != "e") return {Node::Other};
        columnAt_ = 0;
        entryColumns_[0] = entryColumns_[1] = Column1{};
        return {Node::Entry1};
      case Node::Entry1: {
        if (name != "o" && name != "t") return {Node::Other};
        const int column = name == "o" ? 0 : std::max(columnAt_, 1);
        columnAt_ = column + 1;
        columns_ = std::max(columns_, columnAt_);
        side1_ = column == column_[0] ? 0 : column == column_[1] ? 1 : -1;
        if (const char* code = XmlAttribute(a, "l"); code && *code) {
          if (static_cast<std::size_t>(column) >= codes_.size()) codes_.resize(static_cast<std::size_t>(column) + 1);
          if (codes_[static_cast<std::size_t>(column)].empty()) codes_[static_cast<std::size_t>(column)] = code;
        }
        if (side1_ >= 0) {
          Column1& c = entryColumns_[side1_];
          // Each kind counts once a column: a grade, its count and its date are one.
          std::array<bool, kLeftOutKinds> seen{};
          for (const char* const* at = a; at && *at; at += 2) {
            const std::string_view key = at[0];
            if (key == "y") c.Synonym = at[1];
            else if (key == "a") c.Antonym = at[1];
            else if (key == "t") c.Type = at[1];
            for (const auto& [attribute, kind] : kKvtml1Attributes)
              if (key == attribute && !SaysNothing(at[1])) seen[static_cast<std::size_t>(kind)] = true;
          }
          for (std::size_t kind = 0; kind < kLeftOutKinds; ++kind)
            if (seen[kind]) report_.Leave(static_cast<LeftOut>(kind));
        }
        text_.clear();
        return {Node::Column1};
      }
      case Node::Column1:
        if (side1_ < 0) return {Node::Other};
        return {Node::Part, KindOfPart(name)};
      default: return {Node::Other};
    }
  }

  void EndColumn1() {
    if (side1_ >= 0) entryColumns_[side1_].Text = text_;
    text_.clear();
  }

  void EndEntry1() {
    ++entries1_;
    if (builder_.Full()) return;  // only counted, for the message
    TMeaning& meaning = builder_.NewEntry();
    const Column1& left = entryColumns_[0];
    const Column1& right = entryColumns_[1];
    builder_.AddWord(meaning, kSynonyms, left.Text, true);
    builder_.AddWord(meaning, kSynonyms, left.Synonym, true);
    builder_.AddWord(meaning, kAntonyms, left.Antonym, true);
    builder_.AddWord(meaning, kTranslations, right.Text, true);
    builder_.AddWord(meaning, kTranslations, right.Synonym, true);
    builder_.AddWord(meaning, kAntonymTranslations, right.Antonym, true);
    const std::string_view type = TrimmedText(!left.Type.empty() ? left.Type : right.Type);
    const int form = FormOfType(type, kKvtml1Types, ':');
    if (form >= 0) meaning.Form = static_cast<std::uint8_t>(form);
    else if (!type.empty()) report_.Leave(LeftOut::WordTypes);
  }

  LessonBuilder builder_;
  int column_[2] = {0, 1};   // the columns taken as language 1 and 2
  int columns_ = 0;          // columns seen
  int columnAt_ = 0;         // the next column of the entry being read
  int side1_ = -1;           // side of the column being read
  Column1 entryColumns_[2];
  std::string text_;         // of the column being read (UTF-8)
  std::vector<std::string> codes_;  // language code of each column
  std::size_t entries1_ = 0;
};

}  // namespace

std::unique_ptr<Reader> NewKvtml1Reader(const std::string& fileName, const ReadOptions& options,
                                        TMeanCollection& lesson, TransferReport& report,
                                        const char* const* attributes) {
  return std::make_unique<Kvtml1Reader>(fileName, options, lesson, report, attributes);
}

}  // namespace vocatrix::kvtml
