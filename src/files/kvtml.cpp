// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/kvtml.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <cstring>
#include <deque>
#include <unordered_map>

#include "base/cp1252.h"
#include "base/messages.h"
#include "base/safesave.h"
#include "model/exceptions.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

// KDE's special word types of the forms "v.", "s.", "adj.", "adv.".
constexpr std::array<const char*, 4> kSpecialWordTypes{"verb", "noun", "adjective", "adverb"};
constexpr std::array<const char*, 4> kWordTypeNames{"Verb", "Noun", "Adjective", "Adverb"};

// KDE's programs pick keyboard layouts and spelling by locale; the common
// language names get theirs, any other name none.
const char* LocaleOf(const std::string& languageName) {
  static const std::array<std::pair<const char*, const char*>, 16> kLocales{{
      {"english", "en"}, {"englisch", "en"}, {"deutsch", "de"}, {"german", "de"},
      {"fran\xE7" "ais", "fr"}, {"french", "fr"}, {"franz\xF6sisch", "fr"}, {"espa\xF1ol", "es"},
      {"spanish", "es"}, {"spanisch", "es"}, {"italiano", "it"}, {"italian", "it"},
      {"italienisch", "it"}, {"nederlands", "nl"}, {"latin", "la"}, {"latein", "la"},
  }};
  const std::string name = AnsiLowerCase(languageName);
  for (const auto& [language, locale] : kLocales)
    if (name == language) return locale;
  return "";
}

// The XML is written straight as text: a full-size lesson makes some
// 200,000 KVTML entries, and building them as an XML tree first took
// seconds. Reading, where the input is not ours, goes through pugixml.
class KvtmlWriter {
 public:
  // Text content: UTF-8 with the XML escapes. Control characters other than
  // tab and line feed are written as references, so that a carriage return
  // survives the reader's line-end normalisation.
  static void AppendText(std::string& out, std::string_view lessonText) {
    for (const unsigned char c : lessonText) {
      switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        default:
          if (c < 0x20 && c != '\t' && c != '\n') out += "&#" + std::to_string(c) + ";";
          else if (c < 0x80) out += static_cast<char>(c);
          else AppendUtf8(out, Cp1252ToCodePoint(c));
      }
    }
  }

  static void Line(std::string& out, int depth, std::string_view text) {
    out.append(static_cast<std::size_t>(2 * depth), ' ');
    out += text;
    out += '\n';
  }

  // <name>text</name> on a line of its own.
  static void Element(std::string& out, int depth, std::string_view name, std::string_view lessonText) {
    out.append(static_cast<std::size_t>(2 * depth), ' ');
    out += '<';
    out += name;
    out += '>';
    AppendText(out, lessonText);
    out += "</";
    out += name;
    out += ">\n";
  }

  // <entry id=".." /> or, with sides, an entry holding <translation id=".." />
  // for each, on one line: references make up half of a file.
  static void Reference(std::string& out, int entry, std::initializer_list<int> sides) {
    out += "<entry id=\"";
    out += std::to_string(entry);
    if (sides.size() == 0) {
      out += "\" />";
      return;
    }
    out += "\">";
    for (int side : sides) out += side == 0 ? "<translation id=\"0\" />" : "<translation id=\"1\" />";
    out += "</entry>";
  }

  static void ReferenceLine(std::string& out, int depth, int entry, std::initializer_list<int> sides) {
    out.append(static_cast<std::size_t>(2 * depth), ' ');
    Reference(out, entry, sides);
    out += '\n';
  }
};

// One KVTML entry as written: the texts of its two translations.
struct Row {
  std::string Text[2];
};

}  // namespace

EKvtmlLanguage EKvtmlLanguage::ForFile(const std::string& fileName, int identifier) {
  return EKvtmlLanguage(TranslateMessage("ErrKvtmlLanguage", "'%s' has no language with the identifier %s.",
                                         {fileName, std::to_string(identifier)}));
}

std::string KvtmlImage(const TMeanCollection& lesson) {
  using W = KvtmlWriter;
  // The entries go straight into the image after its head; the lists that
  // follow them in the file are gathered beside it. About 800 bytes an entry
  // with its references.
  std::string out;
  out.reserve(static_cast<std::size_t>(lesson.EntryCount()) * 800 + 4096);
  out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<!DOCTYPE kvtml PUBLIC \"kvtml2.dtd\" \"http://edu.kde.org/kvtml/kvtml2.dtd\">\n"
         "<kvtml version=\"2.0\">\n";
  W::Line(out, 1, "<information>");
  W::Element(out, 2, "generator", "Vocatrix");
  W::Element(out, 2, "title", lesson.Title);
  if (!lesson.Author.empty()) W::Element(out, 2, "author", lesson.Author);
  if (!lesson.Topic.empty()) W::Element(out, 2, "category", lesson.Topic);
  W::Line(out, 1, "</information>");
  W::Line(out, 1, "<identifiers>");
  for (int side = 0; side < 2; ++side) {
    const TLanguage& language = side == 0 ? lesson.Language1 : lesson.Language2;
    W::Line(out, 2, side == 0 ? "<identifier id=\"0\">" : "<identifier id=\"1\">");
    W::Element(out, 3, "name", language.Name);
    W::Element(out, 3, "locale", LocaleOf(language.Name));
    W::Line(out, 2, "</identifier>");
  }
  W::Line(out, 1, "</identifiers>");
  W::Line(out, 1, "<entries>");
  std::string lessonRefs, synonyms, antonyms;
  std::array<std::string, 4> typeRefs;
  int nextId = 0;
  const auto writeRow = [&](const Row& row, std::uint8_t form) {
    const int id = nextId++;
    const bool has[2] = {!row.Text[0].empty(), !row.Text[1].empty()};
    if (!has[0] && !has[1]) {
      // An entry without words keeps its form through an empty translation.
      W::ReferenceLine(out, 2, id, {});
      if (form < typeRefs.size()) W::ReferenceLine(typeRefs[form], 3, id, {0});
    } else {
      out += "    <entry id=\"";
      out += std::to_string(id);
      out += "\">\n";
      for (int side = 0; side < 2; ++side) {
        if (!has[side]) continue;
        // A translation on one line: texts make up most of a large file.
        out += side == 0 ? "      <translation id=\"0\"><text>" : "      <translation id=\"1\"><text>";
        W::AppendText(out, row.Text[side]);
        out += "</text></translation>\n";
      }
      W::Line(out, 2, "</entry>");
      if (form < typeRefs.size()) {
        if (has[0] && has[1]) W::ReferenceLine(typeRefs[form], 3, id, {0, 1});
        else W::ReferenceLine(typeRefs[form], 3, id, {has[0] ? 0 : 1});
      }
    }
    W::ReferenceLine(lessonRefs, 3, id, {});
    return id;
  };
  const auto pairRows = [](std::string& relation, int main, int other, const Row& row) {
    for (int side = 0; side < 2; ++side) {
      if (row.Text[side].empty()) continue;
      relation += "    <pair>";
      W::Reference(relation, main, {side});
      W::Reference(relation, other, {side});
      relation += "</pair>\n";
    }
  };
  const auto wordAt = [](const TWordCollection& list, int index) {
    return index < list.Count() ? list.At(index)->Text() : std::string();
  };
  for (int i = 0; i < lesson.EntryCount(); ++i) {
    const TMeaning& meaning = *lesson.Meanings->At(i);
    const int main = writeRow({{wordAt(meaning.Synonyms, 0), wordAt(meaning.Translations, 0)}}, meaning.Form);
    const int sameSense = std::max(meaning.Synonyms.Count(), meaning.Translations.Count());
    for (int k = 1; k < sameSense; ++k) {
      const Row row{{wordAt(meaning.Synonyms, k), wordAt(meaning.Translations, k)}};
      pairRows(synonyms, main, writeRow(row, meaning.Form), row);
    }
    const int oppositeSense = std::max(meaning.Antonyms.Count(), meaning.AntonymTranslations.Count());
    for (int k = 0; k < oppositeSense; ++k) {
      const Row row{{wordAt(meaning.Antonyms, k), wordAt(meaning.AntonymTranslations, k)}};
      pairRows(antonyms, main, writeRow(row, meaning.Form), row);
    }
  }

  W::Line(out, 1, "</entries>");
  W::Line(out, 1, "<lessons>");
  W::Line(out, 2, "<container>");
  W::Element(out, 3, "name", lesson.Title.empty() ? std::string("Lesson") : lesson.Title);
  W::Element(out, 3, "inpractice", "true");
  out += lessonRefs;
  W::Line(out, 2, "</container>");
  W::Line(out, 1, "</lessons>");
  W::Line(out, 1, "<wordtypes>");
  for (std::size_t form = 0; form < typeRefs.size(); ++form) {
    W::Line(out, 2, "<container>");
    W::Element(out, 3, "name", kWordTypeNames[form]);
    W::Element(out, 3, "specialwordtype", kSpecialWordTypes[form]);
    out += typeRefs[form];
    W::Line(out, 2, "</container>");
  }
  W::Line(out, 1, "</wordtypes>");
  const std::pair<const char*, const std::string*> relations[] = {{"synonym", &synonyms}, {"antonym", &antonyms}};
  for (const auto& [name, pairs] : relations) {
    if (pairs->empty()) continue;
    W::Line(out, 1, std::string("<") + name + ">");
    out += *pairs;
    W::Line(out, 1, std::string("</") + name + ">");
  }
  out += "</kvtml>\n";
  return out;
}

void SaveKvtml(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
               TransferReport&) {
  WriteFileAtomically(fileName, KvtmlImage(lesson), backupName);
}

namespace {

// One KVTML entry as read: its texts in the two chosen languages and its
// form (-1 none yet).
struct ReadEntry {
  std::string Text[2];
  int Form = -1;
};

int FormOfWordType(std::string_view type) {
  // Subtypes ("noun/male") count as their main type.
  type = type.substr(0, type.find('/'));
  for (std::size_t form = 0; form < kSpecialWordTypes.size(); ++form)
    if (SameTextAsciiCaseless(type, kSpecialWordTypes[form])) return static_cast<int>(form);
  return -1;
}

class KvtmlReader {
 public:
  KvtmlReader(const std::string& fileName, const ReadOptions& options, TMeanCollection& lesson,
              TransferReport& report)
      : fileName_(fileName), options_(options), lesson_(lesson), report_(report) {}

  // Parses `data` in place: a full-size file is tens of megabytes.
  void Read(std::string& data) {
    pugi::xml_document doc;
    if (!doc.load_buffer_inplace(data.data(), data.size(), pugi::parse_default, pugi::encoding_utf8))
      throw EFormatError::ForFile(fileName_);
    const pugi::xml_node root = doc.child("kvtml");
    // KVTML 1 has another shape altogether.
    if (!root || root.attribute("version").as_string()[0] != '2') throw EFormatError::ForFile(fileName_);
    const pugi::xml_node information = root.child("information");
    lesson_.Title = Text(information.child_value("title"));
    lesson_.Topic = Text(information.child_value("category"));
    lesson_.Author = Text(information.child_value("author"));
    ReadIdentifiers(root.child("identifiers"));
    ReadEntries(root.child("entries"));
    for (pugi::xml_node container : root.child("wordtypes").children("container")) ReadWordTypes(container, -1);
    ReadPairs(root.child("synonym"), 0);
    ReadPairs(root.child("antonym"), 1);
    BuildLesson();
  }

 private:
  std::string Text(const char* utf8) {
    std::size_t replaced = 0;
    std::string text = TrimControls(Utf8ToCp1252(utf8, &replaced));
    report_.Replaced += replaced;
    return text;
  }

  // The side (0, 1) of a translation id, or -1 for a language not taken.
  int SideOf(pugi::xml_node node) const {
    const int id = node.attribute("id").as_int(-1);
    if (id < 0) return -1;
    if (id == identifier_[0]) return 0;
    if (id == identifier_[1]) return 1;
    return -1;
  }

  void ReadIdentifiers(pugi::xml_node identifiers) {
    std::vector<std::pair<int, pugi::xml_node>> found;
    for (pugi::xml_node identifier : identifiers.children("identifier"))
      found.emplace_back(identifier.attribute("id").as_int(-1), identifier);
    if (found.empty()) throw EFormatError::ForFile(fileName_);
    const int wanted[2] = {options_.Language1, options_.Language2};
    for (int side = 0; side < 2; ++side) {
      TLanguage& language = side == 0 ? lesson_.Language1 : lesson_.Language2;
      std::string name;
      if (wanted[side] >= 0) {
        const auto it = std::find_if(found.begin(), found.end(), [&](const auto& f) { return f.first == wanted[side]; });
        if (it == found.end()) throw EKvtmlLanguage::ForFile(fileName_, wanted[side]);
        identifier_[side] = it->first;
        name = Text(it->second.child_value("name"));
      } else if (static_cast<std::size_t>(side) < found.size()) {
        identifier_[side] = found[static_cast<std::size_t>(side)].first;
        name = Text(found[static_cast<std::size_t>(side)].second.child_value("name"));
      }
      language = TLanguage(name.empty() ? (side == 0 ? "Language 1" : "Language 2") : name);
    }
  }

  void ReadEntries(pugi::xml_node entries) {
    for (pugi::xml_node entry : entries.children("entry")) {
      const int id = entry.attribute("id").as_int(-1);
      if (!index_.emplace(id, static_cast<int>(entries_.size())).second) continue;  // a repeated id
      ReadEntry& read = entries_.emplace_back();
      for (pugi::xml_node translation : entry.children("translation")) {
        const int side = SideOf(translation);
        if (side < 0) continue;
        read.Text[side] = Text(translation.child_value("text"));
        for (pugi::xml_node part : translation.children()) {
          if (part.type() != pugi::node_element || std::strcmp(part.name(), "text") == 0) continue;
          if (std::strcmp(part.name(), "wordtype") == 0 && read.Form < 0) {
            read.Form = FormOfWordType(part.child_value());
            if (read.Form >= 0) continue;
          }
          // Pictures, sounds, grades, conjugations, comments and the like.
          ++report_.Skipped;
        }
      }
    }
  }

  int IndexOf(pugi::xml_node entry) const {
    const auto it = index_.find(entry.attribute("id").as_int(-1));
    return it == index_.end() ? -1 : it->second;
  }

  void ReadWordTypes(pugi::xml_node container, int inheritedForm) {
    const pugi::xml_node special = container.child("specialwordtype");
    const int form = special ? FormOfWordType(special.child_value()) : inheritedForm;
    for (pugi::xml_node entry : container.children("entry")) {
      const int index = IndexOf(entry);
      if (index < 0) continue;
      for (pugi::xml_node translation : entry.children("translation")) {
        if (SideOf(translation) < 0) continue;
        // A type of the user's own has no form of a lesson.
        if (form < 0) ++report_.Skipped;
        else if (entries_[static_cast<std::size_t>(index)].Form < 0) entries_[static_cast<std::size_t>(index)].Form = form;
      }
    }
    for (pugi::xml_node child : container.children("container")) ReadWordTypes(child, form);
  }

  // Pairs of the chosen languages tie two entries; `opposite` 1 for antonyms.
  void ReadPairs(pugi::xml_node relation, int opposite) {
    links_.resize(entries_.size());
    for (pugi::xml_node pair : relation.children("pair")) {
      int ends[2] = {-1, -1};
      int count = 0;
      for (pugi::xml_node entry : pair.children("entry")) {
        if (count == 2) break;
        const pugi::xml_node translation = entry.child("translation");
        ends[count++] = translation && SideOf(translation) < 0 ? -1 : IndexOf(entry);
      }
      if (ends[0] < 0 || ends[1] < 0 || ends[0] == ends[1]) continue;
      links_[static_cast<std::size_t>(ends[0])].push_back({ends[1], opposite});
      links_[static_cast<std::size_t>(ends[1])].push_back({ends[0], opposite});
    }
  }

  // Entries joined by pairs make one lesson entry: the first of them in the
  // document gives the form, and each word goes to the list of its language
  // and of its sense relative to that first entry, in document order.
  void BuildLesson() {
    links_.resize(entries_.size());
    lesson_.Meanings = std::make_unique<TMeaningList>();
    std::vector<int> sense(entries_.size(), -1);
    std::vector<std::pair<int, int>> members;  // (entry, sense)
    std::deque<int> queue;
    for (std::size_t first = 0; first < entries_.size(); ++first) {
      if (sense[first] >= 0) continue;
      sense[first] = 0;
      members.clear();
      queue.assign(1, static_cast<int>(first));
      while (!queue.empty()) {
        const int at = queue.front();
        queue.pop_front();
        members.emplace_back(at, sense[static_cast<std::size_t>(at)]);
        for (const Link& link : links_[static_cast<std::size_t>(at)]) {
          int& other = sense[static_cast<std::size_t>(link.Entry)];
          if (other >= 0) continue;
          other = sense[static_cast<std::size_t>(at)] ^ link.Opposite;
          queue.push_back(link.Entry);
        }
      }
      std::sort(members.begin(), members.end());
      const MeaningPtr meaning = TMeaning::Create();
      const int form = entries_[first].Form;
      meaning->Form = form < 0 ? kFormOther : static_cast<std::uint8_t>(form);
      for (const auto& [index, memberSense] : members) {
        const ReadEntry& read = entries_[static_cast<std::size_t>(index)];
        for (int side = 0; side < 2; ++side) {
          if (read.Text[side].empty()) continue;
          const int kind = memberSense == 0 ? (side == 0 ? kSynonyms : kTranslations)
                                            : (side == 0 ? kAntonyms : kAntonymTranslations);
          meaning->AddWord(kind, std::make_shared<TWord>(read.Text[side]));
        }
      }
      lesson_.Meanings->Insert(meaning);
    }
  }

  struct Link {
    int Entry;
    int Opposite;
  };

  const std::string& fileName_;
  const ReadOptions& options_;
  TMeanCollection& lesson_;
  TransferReport& report_;
  int identifier_[2] = {-1, -1};
  std::vector<ReadEntry> entries_;
  std::unordered_map<int, int> index_;
  std::vector<std::vector<Link>> links_;
};

}  // namespace

void ParseKvtml(std::string data, const std::string& fileName, const ReadOptions& options, TMeanCollection& lesson,
                TransferReport& report) {
  KvtmlReader(fileName, options, lesson, report).Read(data);
}

void LoadKvtml(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
               TransferReport& report) {
  ParseKvtml(ReadWholeFile(fileName), fileName, options, lesson, report);
}

}  // namespace vocatrix
