// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/csvfile.h"

#include <array>

#include "base/cp1252.h"
#include "base/safesave.h"
#include "files/lessonfiles.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

// The form column's names of the forms 0 to 4; reading also takes the long ones.
constexpr std::array<const char*, 5> kFormNames{"v.", "s.", "adj.", "adv.", ""};
constexpr std::array<const char*, 5> kLongFormNames{"verb", "noun", "adjective", "adverb", "other"};
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
constexpr std::size_t kFields = 6;

void AppendField(std::string& out, const std::string& field, char separator) {
  if (field.find_first_of(std::string{separator, '"', '\r', '\n'}) == std::string::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string JoinList(const TWordCollection& list, int from, TransferReport& report) {
  std::string joined;
  for (int i = from; i < list.Count(); ++i) {
    const std::string& text = list.At(i)->Text();
    if (text.find(';') != std::string::npos) report.Uncarried.push_back(text);
    if (i > from) joined += "; ";
    joined += text;
  }
  return joined;
}

// Splits a CSV text (Windows-1252 by now) into records of fields.
class CsvScanner {
 public:
  CsvScanner(std::string_view data, char separator) : data_(data), separator_(separator) {}

  bool AtEnd() const { return at_ >= data_.size(); }

  // The next record; a line break ends it unless it stands inside quotes.
  void Next(std::vector<std::string>& fields) {
    fields.clear();
    std::string field;
    bool quoted = false;
    while (at_ < data_.size()) {
      const char c = data_[at_++];
      if (quoted) {
        if (c != '"') field += c;
        else if (at_ < data_.size() && data_[at_] == '"') field += data_[at_++];
        else quoted = false;
      } else if (c == '"' && field.empty()) {
        quoted = true;
      } else if (c == separator_) {
        fields.push_back(std::move(field));
        field.clear();
      } else if (c == '\r' || c == '\n') {
        if (c == '\r' && at_ < data_.size() && data_[at_] == '\n') ++at_;
        break;
      } else {
        field += c;
      }
    }
    fields.push_back(std::move(field));
  }

 private:
  std::string_view data_;
  char separator_;
  std::size_t at_ = 0;
};

std::size_t HeaderFields(std::string_view data, char separator) {
  std::vector<std::string> fields;
  CsvScanner(data, separator).Next(fields);
  return fields.size();
}

// The words of a list field: split at ";", each trimmed.
std::vector<std::string> SplitList(const std::string& field) {
  std::vector<std::string> words;
  std::size_t start = 0;
  while (start <= field.size()) {
    std::size_t end = field.find(';', start);
    if (end == std::string::npos) end = field.size();
    words.push_back(field.substr(start, end - start));
    start = end + 1;
  }
  return words;
}

int FormOfName(const std::string& name, TransferReport& report) {
  for (std::size_t form = 0; form < kFormNames.size(); ++form)
    if (SameTextAsciiCaseless(name, kFormNames[form]) || SameTextAsciiCaseless(name, kLongFormNames[form]))
      return static_cast<int>(form);
  ++report.Skipped;
  return kFormOther;
}

// ".tsv" files are separated by tabs.
bool TabSeparated(const std::string& fileName) {
  return AnsiLowerCase(fileName.substr(ExtensionStart(fileName))) == ".tsv";
}

}  // namespace

std::string CsvImage(const TMeanCollection& lesson, char separator, bool bom, TransferReport& report) {
  std::string out = bom ? kByteOrderMark : "";
  const std::array<std::string, kFields> header{lesson.Language1.Name, "Synonyms",
                                                lesson.Language2.Name, "Antonyms",
                                                "Antonym translations", "Form"};
  std::string line;
  const auto endLine = [&] {
    out += Cp1252ToUtf8(line);
    out += "\r\n";
    line.clear();
  };
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (i > 0) line += separator;
    AppendField(line, header[i], separator);
  }
  endLine();
  for (int i = 0; i < lesson.EntryCount(); ++i) {
    const TMeaning& meaning = *lesson.Meanings->At(i);
    const std::array<std::string, kFields> fields{
        meaning.Synonyms.Count() > 0 ? meaning.Synonyms.At(0)->Text() : std::string(),
        JoinList(meaning.Synonyms, 1, report),
        JoinList(meaning.Translations, 0, report),
        JoinList(meaning.Antonyms, 0, report),
        JoinList(meaning.AntonymTranslations, 0, report),
        meaning.Form < kFormNames.size() ? kFormNames[meaning.Form] : ""};
    for (std::size_t f = 0; f < fields.size(); ++f) {
      if (f > 0) line += separator;
      AppendField(line, fields[f], separator);
    }
    endLine();
  }
  return out;
}

void SaveCsv(TMeanCollection& lesson, const std::string& fileName, const std::string& backupName,
             TransferReport& report) {
  const bool tabs = TabSeparated(fileName);
  WriteFileAtomically(fileName, CsvImage(lesson, tabs ? '\t' : ',', !tabs, report), backupName);
}

void ParseCsv(std::string_view data, char separator, TMeanCollection& lesson, TransferReport& report) {
  if (data.starts_with(kByteOrderMark)) data.remove_prefix(3);
  // Plain ASCII reads the same either way; bytes that are no UTF-8 come from
  // a spreadsheet saving in the Windows code page.
  std::string text;
  if (LooksLikeUtf8(data)) text = Utf8ToCp1252(data, &report.Replaced);
  else text = data;
  if (separator == 0) {
    separator = ',';
    for (char candidate : {';', '\t'})
      if (HeaderFields(text, candidate) > HeaderFields(text, separator)) separator = candidate;
  }
  CsvScanner scanner(text, separator);
  std::vector<std::string> fields;
  scanner.Next(fields);
  fields.resize(kFields);
  const std::string name1 = TrimControls(fields[0]);
  const std::string name2 = TrimControls(fields[2]);
  lesson.Language1 = TLanguage(name1.empty() ? "Language 1" : name1);
  lesson.Language2 = TLanguage(name2.empty() ? "Language 2" : name2);
  lesson.Meanings = std::make_unique<TMeaningList>();
  static constexpr std::array<int, 5> kKindOfField{kSynonyms, kSynonyms, kTranslations, kAntonyms,
                                                   kAntonymTranslations};
  while (!scanner.AtEnd()) {
    scanner.Next(fields);
    if (fields.size() == 1 && TrimControls(fields[0]).empty()) continue;  // an empty line
    if (fields.size() > kFields) report.Skipped += static_cast<int>(fields.size() - kFields);
    fields.resize(kFields);
    const MeaningPtr meaning = TMeaning::Create();
    for (std::size_t f = 0; f < kKindOfField.size(); ++f) {
      // The word field holds one word, which may itself contain ";".
      const std::vector<std::string> words = f == 0 ? std::vector<std::string>{fields[0]} : SplitList(fields[f]);
      for (const std::string& word : words) {
        std::string trimmed = TrimControls(word);
        if (!trimmed.empty()) meaning->AddWord(kKindOfField[f], std::make_shared<TWord>(std::move(trimmed)));
      }
    }
    meaning->Form = static_cast<std::uint8_t>(FormOfName(TrimControls(fields[5]), report));
    lesson.Meanings->Insert(meaning);
  }
}

void LoadCsv(TMeanCollection& lesson, const std::string& fileName, const ReadOptions&, TransferReport& report) {
  ParseCsv(ReadWholeFile(fileName), TabSeparated(fileName) ? '\t' : 0, lesson, report);
}

}  // namespace vocatrix
