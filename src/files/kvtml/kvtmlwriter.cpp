// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/kvtml/kvtml.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "base/cp1252.h"
#include "base/languagenames.h"
#include "base/messages.h"
#include "base/safesave.h"
#include "model/exceptions.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

// KDE's special word types of the forms "v.", "s.", "adj.", "adv.".
constexpr std::array<const char*, 4> kSpecialWordTypes{"verb", "noun", "adjective", "adverb"};
constexpr std::array<const char*, 4> kWordTypeNames{"Verb", "Noun", "Adjective", "Adverb"};

// The XML is written straight as text: a full-size lesson makes some
// 200,000 KVTML entries, and building them as an XML tree first took
// seconds.
class KvtmlWriter {
 public:
  // Text content: UTF-8 with the XML escapes. A carriage return is written
  // as a reference, so that it survives the reader's line-end
  // normalisation; the other control characters but tab and line feed have
  // no place in XML and are left out.
  static void AppendText(std::string& out, std::string_view lessonText) {
    for (const unsigned char c : lessonText) {
      switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\r': out += "&#13;"; break;
        default:
          if (c < 0x20 && c != '\t' && c != '\n') break;
          if (c < 0x80) out += static_cast<char>(c);
          else AppendUtf8(out, Cp1252ToCodePoint(c));
      }
    }
  }

  // Whether AppendText leaves a character of the text out.
  static bool LosesCharacters(std::string_view lessonText) {
    return std::any_of(lessonText.begin(), lessonText.end(), [](char c) {
      return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
    });
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

std::string LocaleOfLanguage(const std::string& languageName) {
  const LanguageRow* row = FindLanguage(languageName);
  return row ? std::string(row->Locale) : std::string();
}

std::string LanguageOfLocale(std::string_view locale) {
  const LanguageRow* row = FindLocale(locale);
  return row ? LocaleLanguageName(*row) : std::string();
}

std::string KvtmlImage(const TMeanCollection& lesson, TransferReport* report) {
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
    const std::string locale = LocaleOfLanguage(language.Name);
    if (!locale.empty()) W::Element(out, 3, "locale", locale);
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
    for (const std::string& text : row.Text)
      if (report && W::LosesCharacters(text)) report->Uncarried.push_back(text);
    if (!has[0] && !has[1]) {
      // An entry without words keeps its form through an empty translation.
      W::ReferenceLine(out, 2, id, {0});
      if (form < typeRefs.size()) W::ReferenceLine(typeRefs[form], 3, id, {0});
    } else {
      out += "    <entry id=\"";
      out += std::to_string(id);
      out += "\">\n";
      // Translation 0 always comes first, empty when the row has no word of
      // language 1: KDE's library reads a lone translation 1 as the first.
      if (!has[0]) out += "      <translation id=\"0\" />\n";
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
               TransferReport& report) {
  WriteFileAtomically(fileName, KvtmlImage(lesson, &report), backupName);
}

}  // namespace vocatrix
