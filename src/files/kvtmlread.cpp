// Reading KVTML 2.0 and 1.0 (kvtml.h) from a stream of XML events. Nothing
// of the document is kept as a tree: KVTML 2 keeps compact records of its
// entries, texts and references until the end, where the pairs are known and
// the lesson is built; KVTML 1 builds each lesson entry as its <e> ends.

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <deque>

#include "base/cp1252.h"
#include "base/safesave.h"
#include "files/kvtml.h"
#include "files/lessonbuilder.h"
#include "files/xmlstream.h"
#include "model/exceptions.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

// KDE's special word types of the forms "v.", "s.", "adj.", "adv.", and
// KVTML 1's type codes of them.
constexpr std::array<const char*, 4> kSpecialWordTypes{"verb", "noun", "adjective", "adverb"};
constexpr std::array<const char*, 4> kKvtml1Types{"v", "n", "aj", "av"};

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

LeftOut KindOfPart(std::string_view name) {
  for (const auto& [part, kind] : kTranslationParts)
    if (name == part) return kind;
  return LeftOut::OtherDetails;
}

// A type name's form: "noun", "noun/male" (KVTML 2), "n", "n:m" (KVTML 1); -1 none.
int FormOfType(std::string_view type, const std::array<const char*, 4>& names, char subtype) {
  type = type.substr(0, type.find(subtype));
  for (std::size_t form = 0; form < names.size(); ++form)
    if (SameTextAsciiCaseless(type, names[form])) return static_cast<int>(form);
  return -1;
}

bool IsWhitespace(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

// A grade, count or date of 0 (or "0;0") says nothing.
bool SaysNothing(std::string_view value) {
  return value.find_first_not_of(" 0;.:") == std::string_view::npos;
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

// The state both readers share: what the elements on the way down are.
enum class Node : std::uint8_t {
  Other,  // of no interest, nor anything inside
  Root, Information, Title, Category, Author, Identifiers, Identifier, IdentifierName, IdentifierLocale,
  Entries, Entry, Translation, Text, LegacyWordType, Part, WordTypes, TypeContainer, SpecialType, TypeEntry,
  TypeTranslation, Relation, Pair, PairEntry, PairTranslation,
  // KVTML 1
  Entry1, Column1,
};

struct Level {
  Node node;
  bool content = false;  // a part (Node::Part) holds text
};

class KvtmlReader : public XmlHandler {
 public:
  KvtmlReader(const std::string& fileName, const ReadOptions& options, TMeanCollection& lesson, TransferReport& report)
      : fileName_(fileName), options_(options), lesson_(lesson), report_(report) {}

  void Read(std::string_view data) {
    if (ReadXml(data, fileName_, *this).NotUtf8) report_.NotUtf8 = true;
    if (version_ == 0) throw EFormatError::ForFile(fileName_);
    lesson_.Title = Utf8ToCp1252(TrimmedText(title_));
    lesson_.Author = Utf8ToCp1252(TrimmedText(author_));
    lesson_.Topic = Utf8ToCp1252(TrimmedText(category_));
    if (version_ == 2) Finish2();
    else Finish1();
  }

  void StartElement(std::string_view name, const char* const* attributes) override {
    const Node parent = levels_.empty() ? Node::Other : levels_.back().node;
    const Node node = levels_.empty() ? Open(name, attributes) : Child(parent, name, attributes);
    levels_.push_back({node});
  }

  void EndElement() override {
    const Level level = levels_.back();
    levels_.pop_back();
    Close(level);
  }

  void Text(std::string_view utf8) override {
    if (levels_.empty()) return;
    Level& level = levels_.back();
    switch (level.node) {
      case Node::Title: title_ += utf8; break;
      case Node::Category: category_ += utf8; break;
      case Node::Author: author_ += utf8; break;
      case Node::IdentifierName: identifiers_.back().Name += utf8; break;
      case Node::IdentifierLocale: identifiers_.back().Locale += utf8; break;
      case Node::Text:
      case Node::Column1: arena_ += utf8; break;
      case Node::SpecialType:
      case Node::LegacyWordType: value_ += utf8; break;
      case Node::Part:
        if (!IsWhitespace(utf8)) level.content = true;
        break;
      default: break;
    }
  }

 private:
  // --- The document element ---

  Node Open(std::string_view name, const char* const* attributes) {
    if (name != "kvtml") throw EFormatError::ForFile(fileName_);
    const char* version = XmlAttribute(attributes, "version");
    if (!version || version[0] == '1' || version[0] == '0') {
      version_ = 1;
      if (const char* title = XmlAttribute(attributes, "title")) title_ = title;
      if (const char* author = XmlAttribute(attributes, "author")) author_ = author;
      Start1();
    } else if (version[0] == '2') {
      version_ = 2;
    } else if (version[0] >= '3' && version[0] <= '9') {
      throw EVersionError::ForFile(fileName_);
    } else {
      throw EFormatError::ForFile(fileName_);
    }
    return Node::Root;
  }

  Node Child(Node parent, std::string_view name, const char* const* a) {
    return version_ == 2 ? Child2(parent, name, a) : Child1(parent, name, a);
  }

  void Close(const Level& level) {
    switch (level.node) {
      case Node::Text: EndText(); break;
      case Node::Part: EndPart(level); break;
      case Node::SpecialType: EndSpecialType(); break;
      case Node::LegacyWordType: EndLegacyWordType(); break;
      case Node::TypeContainer: containerPath_.pop_back(); break;
      case Node::Pair: EndPair(); break;
      case Node::Entry1: EndEntry1(); break;
      case Node::Column1: EndColumn1(); break;
      default: break;
    }
  }

  // --- KVTML 2 ---

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

  Node Child2(Node parent, std::string_view name, const char* const* a) {
    switch (parent) {
      case Node::Root:
        if (name == "information") return Node::Information;
        if (name == "identifiers") return Node::Identifiers;
        if (name == "entries") return Node::Entries;
        if (name == "wordtypes") return Node::WordTypes;
        if (name == "synonym" || name == "antonym") {
          relation_ = name == "synonym" ? 0 : 1;
          return Node::Relation;
        }
        if (name == "falsefriend") {
          relation_ = 2;
          return Node::Relation;
        }
        return Node::Other;
      case Node::Information:
        if (name == "title") return Node::Title;
        if (name == "category") return Node::Category;
        if (name == "author") return Node::Author;
        return Node::Other;
      case Node::Identifiers:
        if (name != "identifier") return Node::Other;
        identifiers_.push_back({NumberOf(XmlAttribute(a, "id"), -1), {}, {}});
        return Node::Identifier;
      case Node::Identifier:
        if (name == "name") return Node::IdentifierName;
        if (name == "locale") return Node::IdentifierLocale;
        return Node::Other;
      case Node::Entries:
        if (name != "entry") return Node::Other;
        entries_.push_back({NumberOf(XmlAttribute(a, "id"), -1), -1});
        return Node::Entry;
      case Node::Entry:
        if (name != "translation") return Node::Other;
        translation_ = NumberOf(XmlAttribute(a, "id"), -1);
        // Every translation gets a text record, empty until its <text>.
        texts_.push_back({static_cast<std::uint32_t>(entries_.size() - 1), translation_,
                          static_cast<std::uint32_t>(arena_.size()), 0});
        return Node::Translation;
      case Node::Translation:
        if (name == "text") {
          texts_.back().Offset = static_cast<std::uint32_t>(arena_.size());
          return Node::Text;
        }
        if (name == "wordtype") {
          value_.clear();
          return Node::LegacyWordType;
        }
        partKind_ = KindOfPart(name);
        return Node::Part;
      case Node::Part: return Node::Part;
      case Node::WordTypes:
      case Node::TypeContainer:
        if (name == "container") {
          containers_.push_back({containerPath_.empty() ? -1 : static_cast<std::int32_t>(containerPath_.back())});
          containerPath_.push_back(static_cast<std::uint32_t>(containers_.size() - 1));
          return Node::TypeContainer;
        }
        if (parent == Node::WordTypes) return Node::Other;
        if (name == "specialwordtype") {
          value_.clear();
          return Node::SpecialType;
        }
        if (name == "entry") {
          typeEntry_ = NumberOf(XmlAttribute(a, "id"), -1);
          return Node::TypeEntry;
        }
        return Node::Other;
      case Node::TypeEntry:
        if (name != "translation") return Node::Other;
        typeRefs_.push_back({typeEntry_, NumberOf(XmlAttribute(a, "id"), -1), containerPath_.back()});
        return Node::TypeTranslation;
      case Node::Relation:
        if (name != "pair") return Node::Other;
        pair_ = {{-1, -1}, {-1, -1}, relation_};
        pairEnds_ = 0;
        return Node::Pair;
      case Node::Pair:
        if (name != "entry") return Node::Other;
        if (pairEnds_ < 2) pair_.Entry[pairEnds_] = NumberOf(XmlAttribute(a, "id"), -1);
        ++pairEnds_;
        return Node::PairEntry;
      case Node::PairEntry:
        if (name == "translation" && pairEnds_ <= 2 && pair_.Translation[pairEnds_ - 1] < 0)
          pair_.Translation[pairEnds_ - 1] = NumberOf(XmlAttribute(a, "id"), -1);
        return Node::Other;
      default: return Node::Other;
    }
  }

  void EndText() {
    TextRecord& text = texts_.back();
    text.Length = static_cast<std::uint32_t>(arena_.size() - text.Offset);
  }

  // Counts a part that holds something; a part inside a part makes the
  // outer one hold it.
  void EndPart(const Level& level) {
    if (!levels_.empty() && levels_.back().node == Node::Part) {
      levels_.back().content |= level.content;
      return;
    }
    if (!level.content) return;
    // KVTML 2 counts it once the chosen languages are known.
    if (version_ == 2) parts_.push_back({static_cast<std::uint32_t>(texts_.size() - 1), partKind_});
    else report_.Leave(partKind_);
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
  void Finish2() {
    if (identifiers_.empty()) throw EFormatError::ForFile(fileName_);
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

  // A language is named by its name, else by its locale.
  void NameLanguage(int side, const std::string& name, const std::string& locale) {
    std::string text = Utf8ToCp1252(TrimmedText(name));
    if (text.empty()) {
      const std::string_view code = TrimmedText(locale);
      text = LanguageOfLocale(code);
      if (text.empty()) text = Utf8ToCp1252(code);
    }
    (side == 0 ? lesson_.Language1 : lesson_.Language2) = TLanguage(text.empty() ? (side == 0 ? "Language 1" : "Language 2") : text);
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

  // --- KVTML 1 ---

  struct Column1 {
    std::string Text, Synonym, Antonym, Type;
  };

  void Start1() {
    for (int side = 0; side < 2; ++side) {
      const int wanted = side == 0 ? options_.Language1 : options_.Language2;
      column_[side] = wanted >= 0 ? wanted : side;
    }
    builder_ = std::make_unique<LessonBuilder>(fileName_, lesson_, report_);
  }

  Node Child1(Node parent, std::string_view name, const char* const* a) {
    switch (parent) {
      case Node::Root:
        if (name != "e") return Node::Other;
        columnAt_ = 0;
        entryColumns_[0] = entryColumns_[1] = Column1{};
        return Node::Entry1;
      case Node::Entry1: {
        if (name != "o" && name != "t") return Node::Other;
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
        arena_.clear();
        return Node::Column1;
      }
      case Node::Column1:
        partKind_ = KindOfPart(name);
        return side1_ >= 0 ? Node::Part : Node::Other;
      case Node::Part: return Node::Part;
      default: return Node::Other;
    }
  }

  void EndColumn1() {
    if (side1_ >= 0) entryColumns_[side1_].Text = arena_;
    arena_.clear();
  }

  void EndEntry1() {
    ++entries1_;
    if (builder_->Full()) return;  // only counted, for the message
    TMeaning& meaning = builder_->NewEntry();
    const Column1& left = entryColumns_[0];
    const Column1& right = entryColumns_[1];
    builder_->AddWord(meaning, kSynonyms, left.Text, true);
    builder_->AddWord(meaning, kSynonyms, left.Synonym, true);
    builder_->AddWord(meaning, kAntonyms, left.Antonym, true);
    builder_->AddWord(meaning, kTranslations, right.Text, true);
    builder_->AddWord(meaning, kTranslations, right.Synonym, true);
    builder_->AddWord(meaning, kAntonymTranslations, right.Antonym, true);
    const std::string_view type = TrimmedText(!left.Type.empty() ? left.Type : right.Type);
    const int form = FormOfType(type, kKvtml1Types, ':');
    if (form >= 0) meaning.Form = static_cast<std::uint8_t>(form);
    else if (!type.empty()) report_.Leave(LeftOut::WordTypes);
  }

  void Finish1() {
    if (entries1_ > static_cast<std::size_t>(TMeanCollection::kMaxEntries)) builder_->TooManyEntries(entries1_);
    for (int side = 0; side < 2; ++side) {
      const int wanted = side == 0 ? options_.Language1 : options_.Language2;
      if (wanted >= 0 && wanted >= columns_) throw EKvtmlLanguage::ForFile(fileName_, wanted);
      const std::size_t column = static_cast<std::size_t>(column_[side]);
      NameLanguage(side, std::string(), column < codes_.size() ? codes_[column] : std::string());
    }
  }

  static std::string_view TrimmedText(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
    return text;
  }

  static constexpr std::uint32_t kNoText = UINT32_MAX;

  const std::string& fileName_;
  const ReadOptions& options_;
  TMeanCollection& lesson_;
  TransferReport& report_;
  int version_ = 0;
  std::vector<Level> levels_;
  std::string title_, author_, category_;
  std::string value_;  // text of a type name being read
  // All texts of the document, one after another (UTF-8).
  std::string arena_;
  LeftOut partKind_ = LeftOut::OtherDetails;

  // KVTML 2
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

  // KVTML 1
  std::unique_ptr<LessonBuilder> builder_;
  int column_[2] = {0, 1};   // the columns taken as language 1 and 2
  int columns_ = 0;          // columns seen
  int columnAt_ = 0;         // the next column of the entry being read
  int side1_ = -1;           // side of the column being read
  Column1 entryColumns_[2];
  std::vector<std::string> codes_;  // language code of each column
  std::size_t entries1_ = 0;
};

}  // namespace

void ParseKvtml(std::string_view data, const std::string& fileName, const ReadOptions& options, TMeanCollection& lesson,
                TransferReport& report) {
  KvtmlReader(fileName, options, lesson, report).Read(data);
}

void LoadKvtml(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
               TransferReport& report) {
  ParseKvtml(ReadWholeFile(fileName), fileName, options, lesson, report);
}

}  // namespace vocatrix
