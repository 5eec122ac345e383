// SPDX-License-Identifier: GPL-3.0-or-later
// Reading KVTML 2.0 (kvtml.h): compact records of the entries, their texts
// and the references to them (word types, synonym and antonym pairs) are
// kept until the document has ended; then the languages are chosen, the
// pairs join entries, and the lesson is built.

#include <algorithm>
#include <deque>

#include "base/cp1252.h"
#include "files/kvtml/kvtml.h"
#include "files/kvtml/kvtmlreader.h"
#include "files/lessonbuilder.h"
#include "model/exceptions.h"
#include "model/lesson.h"

namespace vocatrix::kvtml {
namespace {

// KDE's special word types of the forms "v.", "s.", "adj.", "adv.".
constexpr std::array<const char*, 4> kSpecialWordTypes{"verb", "noun", "adjective", "adverb"};
constexpr std::uint32_t kNoText = UINT32_MAX;

class Kvtml2Reader : public Reader {
 public:
  using Reader::Reader;

  void Finish() override {
    if (identifiers_.empty()) throw EFormatError::ForFile(fileName_);
    lesson_.Title = Utf8ToCp1252(TrimmedText(title_));
    lesson_.Author = Utf8ToCp1252(TrimmedText(author_));
    lesson_.Topic = Utf8ToCp1252(TrimmedText(category_));
    ChooseLanguages();
    // Entries by id; of a repeated id the first counts.
    std::vector<std::pair<int, std::uint32_t>> byId;
    byId.reserve(entries_.size());
    for (std::uint32_t i = 0; i < entries_.size(); ++i) byId.emplace_back(entries_[i].Id, i);
    std::stable_sort(byId.begin(), byId.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    std::vector<bool> repeated(entries_.size(), false);
    for (std::size_t i = 1; i < byId.size(); ++i)
      if (byId[i].first == byId[i - 1].first) repeated[byId[i].second] = true;
    const auto indexOf = [&](int id) -> int {
      const auto it = std::lower_bound(byId.begin(), byId.end(), id, [](const auto& e, int v) { return e.first < v; });
      return it != byId.end() && it->first == id ? static_cast<int>(it->second) : -1;
    };
    for (bool r : repeated) report_.Leave(LeftOut::RepeatedEntries, r);

    // Each entry's text of each chosen language.
    std::vector<std::array<std::uint32_t, 2>> textOf(entries_.size(), {kNoText, kNoText});
    std::vector<bool> textChosen(texts_.size(), false);
    for (std::uint32_t t = 0; t < texts_.size(); ++t) {
      const TextRecord& text = texts_[t];
      if (repeated[text.Entry]) continue;
      const int side = SideOf(text.Translation);
      if (side >= 0) {
        textOf[text.Entry][static_cast<std::size_t>(side)] = t;
        textChosen[t] = true;
      } else if (!Declared(text.Translation) && !IsWhitespace(TextAt(text))) {
        report_.Leave(LeftOut::Undeclared);
        if (report_.UndeclaredTexts.size() < 3) report_.UndeclaredTexts.push_back(Utf8ToCp1252(TrimmedText(TextAt(text))));
      }
    }
    for (const PartRecord& part : parts_)
      if (textChosen[part.Text]) report_.Leave(part.Kind);
    for (const FormRecord& form : forms_) {
      if (!textChosen[form.Translation]) continue;
      if (form.Form < 0) report_.Leave(LeftOut::WordTypes);
      else if (entries_[form.Entry].Form < 0) entries_[form.Entry].Form = form.Form;
    }
    // Containers come before their children: one pass settles inherited forms.
    for (Container& container : containers_)
      if (container.Form == -2) container.Form = container.Parent >= 0 ? containers_[static_cast<std::size_t>(container.Parent)].Form : -1;
    for (const TypeRef& ref : typeRefs_) {
      const int index = indexOf(ref.EntryId);
      if (index < 0 || SideOf(ref.Translation) < 0) continue;
      const int form = containers_[ref.Container].Form;
      // A type of the user's own has no form of a lesson.
      if (form < 0) report_.Leave(LeftOut::WordTypes);
      else if (entries_[static_cast<std::size_t>(index)].Form < 0) entries_[static_cast<std::size_t>(index)].Form = form;
    }
    // Pairs of the chosen languages tie two entries.
    std::vector<std::vector<std::pair<std::uint32_t, int>>> links(entries_.size());
    for (const PairRecord& pair : pairs_) {
      int ends[2];
      bool usable = true;
      for (int k = 0; k < 2; ++k) {
        ends[k] = indexOf(pair.Entry[k]);
        if (ends[k] < 0 || (pair.Translation[k] >= 0 && SideOf(pair.Translation[k]) < 0)) usable = false;
      }
      if (!usable || ends[0] == ends[1]) continue;
      links[static_cast<std::size_t>(ends[0])].emplace_back(ends[1], pair.Relation);
      links[static_cast<std::size_t>(ends[1])].emplace_back(ends[0], pair.Relation);
    }
    BuildLesson(links, textOf, repeated);
  }

 private:
  Level Child(Node parent, std::string_view name, const char* const* a) override {
    switch (parent) {
      case Node::Root:
        if (name == "information") return {Node::Information};
        if (name == "identifiers") return {Node::Identifiers};
        if (name == "entries") return {Node::Entries};
        if (name == "wordtypes") return {Node::WordTypes};
        if (name == "synonym" || name == "antonym") {
          relation_ = name == "synonym" ? 0 : 1;
          return {Node::Relation};
        }
        if (name == "falsefriend") {
          relation_ = 2;
          return {Node::Relation};
        }
        return {Node::Other};
      case Node::Information:
        if (name == "title") return {Node::Title};
        if (name == "category") return {Node::Category};
        if (name == "author") return {Node::Author};
        return {Node::Other};
      case Node::Identifiers:
        if (name != "identifier") return {Node::Other};
        identifiers_.push_back({NumberOf(XmlAttribute(a, "id"), -1), {}, {}});
        return {Node::Identifier};
      case Node::Identifier:
        if (name == "name") return {Node::IdentifierName};
        if (name == "locale") return {Node::IdentifierLocale};
        return {Node::Other};
      case Node::Entries:
        if (name != "entry") return {Node::Other};
        entries_.push_back({NumberOf(XmlAttribute(a, "id"), -1), -1});
        return {Node::Entry};
      case Node::Entry:
        if (name != "translation") return {Node::Other};
        translation_ = NumberOf(XmlAttribute(a, "id"), -1);
        // Every translation gets a text record, empty until its <text>.
        texts_.push_back({static_cast<std::uint32_t>(entries_.size() - 1), translation_,
                          static_cast<std::uint32_t>(arena_.size()), 0});
        return {Node::Translation};
      case Node::Translation:
        if (name == "text") {
          texts_.back().Offset = static_cast<std::uint32_t>(arena_.size());
          return {Node::Text};
        }
        if (name == "wordtype") {
          value_.clear();
          return {Node::LegacyWordType};
        }
        return {Node::Part, KindOfPart(name)};
      case Node::WordTypes:
      case Node::TypeContainer:
        if (name == "container") {
          containers_.push_back({containerPath_.empty() ? -1 : static_cast<std::int32_t>(containerPath_.back())});
          containerPath_.push_back(static_cast<std::uint32_t>(containers_.size() - 1));
          return {Node::TypeContainer};
        }
        if (parent == Node::WordTypes) return {Node::Other};
        if (name == "specialwordtype") {
          value_.clear();
          return {Node::SpecialType};
        }
        if (name == "entry") {
          typeEntry_ = NumberOf(XmlAttribute(a, "id"), -1);
          return {Node::TypeEntry};
        }
        return {Node::Other};
      case Node::TypeEntry:
        if (name != "translation") return {Node::Other};
        typeRefs_.push_back({typeEntry_, NumberOf(XmlAttribute(a, "id"), -1), containerPath_.back()});
        return {Node::TypeTranslation};
      case Node::Relation:
        if (name != "pair") return {Node::Other};
        pair_ = {{-1, -1}, {-1, -1}, relation_};
        pairEnds_ = 0;
        return {Node::Pair};
      case Node::Pair:
        if (name != "entry") return {Node::Other};
        if (pairEnds_ < 2) pair_.Entry[pairEnds_] = NumberOf(XmlAttribute(a, "id"), -1);
        ++pairEnds_;
        return {Node::PairEntry};
      case Node::PairEntry:
        if (name == "translation" && pairEnds_ <= 2 && pair_.Translation[pairEnds_ - 1] < 0)
          pair_.Translation[pairEnds_ - 1] = NumberOf(XmlAttribute(a, "id"), -1);
        return {Node::Other};
      default: return {Node::Other};
    }
  }

  void Close(Node node) override {
    switch (node) {
      case Node::Text: EndText(); break;
      case Node::SpecialType: EndSpecialType(); break;
      case Node::LegacyWordType: EndLegacyWordType(); break;
      case Node::TypeContainer: containerPath_.pop_back(); break;
      case Node::Pair: EndPair(); break;
      default: break;
    }
  }

  void Collect(Node node, std::string_view utf8) override {
    switch (node) {
      case Node::Title: title_ += utf8; break;
      case Node::Category: category_ += utf8; break;
      case Node::Author: author_ += utf8; break;
      case Node::IdentifierName: identifiers_.back().Name += utf8; break;
      case Node::IdentifierLocale: identifiers_.back().Locale += utf8; break;
      case Node::Text: arena_ += utf8; break;
      case Node::SpecialType:
      case Node::LegacyWordType: value_ += utf8; break;
      default: break;
    }
  }

  // Counted once the chosen languages are known.
  void PartHeld(LeftOut kind) override { parts_.push_back({static_cast<std::uint32_t>(texts_.size() - 1), kind}); }

  struct Identifier {
    int Id;
    std::string Name, Locale;
  };
  struct TextRecord {
    std::uint32_t Entry;  // index into entries_
    std::int32_t Translation;
    std::uint32_t Offset, Length;  // in arena_
  };
  struct PartRecord {
    std::uint32_t Text;  // index into texts_ of its translation
    LeftOut Kind;
  };
  struct FormRecord {
    std::uint32_t Entry, Translation;
    std::int32_t Form;
  };
  struct Container {
    std::int32_t Parent;
    std::int32_t Form = -2;  // -2: no special type of its own
  };
  struct TypeRef {
    std::int32_t EntryId, Translation;
    std::uint32_t Container;
  };
  struct PairRecord {
    std::int32_t Entry[2], Translation[2];  // translation -1: none named
    std::uint8_t Relation;                  // 0 synonym, 1 antonym
  };

  void EndText() {
    TextRecord& text = texts_.back();
    text.Length = static_cast<std::uint32_t>(arena_.size() - text.Offset);
  }

  void EndSpecialType() { containers_[containerPath_.back()].Form = FormOfType(TrimmedText(value_), kSpecialWordTypes, '/'); }

  void EndLegacyWordType() {
    forms_.push_back({static_cast<std::uint32_t>(entries_.size() - 1), static_cast<std::uint32_t>(texts_.size() - 1),
                      FormOfType(TrimmedText(value_), kSpecialWordTypes, '/')});
  }

  void EndPair() {
    if (relation_ == 2) {
      report_.Leave(LeftOut::FalseFriends);
      return;
    }
    if (pair_.Entry[0] >= 0 && pair_.Entry[1] >= 0 && pair_.Entry[0] != pair_.Entry[1]) pairs_.push_back(pair_);
  }

  // The lesson from the records, once the document has ended.
  // Entries joined by pairs make one lesson entry: the first of them in the
  // document gives the form, and each word goes to the list of its language
  // and of its sense relative to that first entry, in document order.
  void BuildLesson(const std::vector<std::vector<std::pair<std::uint32_t, int>>>& links,
                   const std::vector<std::array<std::uint32_t, 2>>& textOf, const std::vector<bool>& repeated) {
    LessonBuilder builder(fileName_, lesson_, report_);
    std::vector<int> sense(entries_.size(), -1);
    std::vector<std::pair<std::uint32_t, int>> members;  // (entry, sense)
    std::deque<std::uint32_t> queue;
    std::size_t groups = 0;
    for (std::uint32_t first = 0; first < entries_.size(); ++first) {
      if (sense[first] >= 0 || repeated[first]) continue;
      sense[first] = 0;
      members.clear();
      queue.assign(1, first);
      while (!queue.empty()) {
        const std::uint32_t at = queue.front();
        queue.pop_front();
        members.emplace_back(at, sense[at]);
        for (const auto& [other, opposite] : links[at]) {
          if (sense[other] >= 0) continue;
          sense[other] = sense[at] ^ (opposite & 1);
          queue.push_back(other);
        }
      }
      ++groups;
      if (builder.Full()) continue;  // only counted, for the message
      std::sort(members.begin(), members.end());
      TMeaning& meaning = builder.NewEntry();
      const int form = entries_[first].Form;
      meaning.Form = form < 0 ? kFormOther : static_cast<std::uint8_t>(form);
      for (const auto& [index, memberSense] : members) {
        for (int side = 0; side < 2; ++side) {
          const std::uint32_t t = textOf[index][static_cast<std::size_t>(side)];
          if (t == kNoText) continue;
          const int kind = memberSense == 0 ? (side == 0 ? kSynonyms : kTranslations)
                                            : (side == 0 ? kAntonyms : kAntonymTranslations);
          builder.AddWord(meaning, kind, TextAt(texts_[t]), true);
        }
      }
    }
    if (groups > static_cast<std::size_t>(TMeanCollection::kMaxEntries)) builder.TooManyEntries(groups);
  }

  void ChooseLanguages() {
    const int wanted[2] = {options_.Language1, options_.Language2};
    for (int side = 0; side < 2; ++side) {
      const Identifier* chosen = nullptr;
      if (wanted[side] >= 0) {
        const auto it = std::find_if(identifiers_.begin(), identifiers_.end(),
                                     [&](const Identifier& i) { return i.Id == wanted[side]; });
        if (it == identifiers_.end()) throw EKvtmlLanguage::ForFile(fileName_, wanted[side]);
        chosen = &*it;
      } else if (static_cast<std::size_t>(side) < identifiers_.size()) {
        chosen = &identifiers_[static_cast<std::size_t>(side)];
      }
      identifier_[side] = chosen ? chosen->Id : -1;
      NameLanguage(side, chosen ? chosen->Name : std::string(), chosen ? chosen->Locale : std::string());
    }
  }

  int SideOf(int translation) const {
    if (translation < 0) return -1;
    if (translation == identifier_[0]) return 0;
    if (translation == identifier_[1]) return 1;
    return -1;
  }

  bool Declared(int translation) const {
    return std::any_of(identifiers_.begin(), identifiers_.end(), [&](const Identifier& i) { return i.Id == translation; });
  }

  std::string_view TextAt(const TextRecord& text) const {
    return std::string_view(arena_).substr(text.Offset, text.Length);
  }

  std::string title_, author_, category_;
  std::string value_;  // text of a type name being read
  // All texts of the document, one after another (UTF-8).
  std::string arena_;
  struct EntryRecord {
    std::int32_t Id;
    std::int32_t Form;
  };
  std::vector<Identifier> identifiers_;
  int identifier_[2] = {-1, -1};
  std::vector<EntryRecord> entries_;
  std::vector<TextRecord> texts_;
  std::vector<PartRecord> parts_;
  std::vector<FormRecord> forms_;
  std::vector<Container> containers_;
  std::vector<std::uint32_t> containerPath_;  // the containers open, innermost last
  std::vector<TypeRef> typeRefs_;
  std::vector<PairRecord> pairs_;
  int translation_ = -1;
  int typeEntry_ = -1;
  std::uint8_t relation_ = 0;
  PairRecord pair_{};
  int pairEnds_ = 0;
};

}  // namespace

std::unique_ptr<Reader> NewKvtml2Reader(const std::string& fileName, const ReadOptions& options,
                                        TMeanCollection& lesson, TransferReport& report) {
  return std::make_unique<Kvtml2Reader>(fileName, options, lesson, report);
}

}  // namespace vocatrix::kvtml
