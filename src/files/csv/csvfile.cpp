// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/csv/csvfile.h"

#include <algorithm>
#include <array>
#include <map>

#include "base/cp1252.h"
#include "base/languagenames.h"
#include "base/safesave.h"
#include "files/csv/csvcolumns.h"
#include "files/htmltext.h"
#include "files/lessonbuilder.h"
#include "files/lessonfiles.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

// The form column's names of the forms 0 to 4; reading also takes the long ones.
constexpr std::array<const char*, 5> kFormNames{"v.", "s.", "adj.", "adv.", ""};
constexpr std::array<const char*, 5> kLongFormNames{"verb", "noun", "adjective", "adverb", "other"};
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";
// The header written, and the roles of its columns.
constexpr std::array<const char*, 6> kHeaderNames{nullptr, "Synonyms", nullptr, "Antonyms", "Antonym translations",
                                                  "Form"};
const std::vector<ColumnRole> kOwnColumns{ColumnRole::Word,     ColumnRole::Synonyms,
                                          ColumnRole::Translations, ColumnRole::Antonyms,
                                          ColumnRole::AntonymTranslations, ColumnRole::Form};
// Separators a reader may guess, in the order that wins a tie. Fields
// holding any of them are quoted when written.
constexpr std::string_view kGuessedSeparators = "\t;,|";
// Rows looked at for the separator and the layout.
constexpr std::size_t kRowsExamined = 200;
// Fields of a row kept; those beyond are only counted. No lesson has a
// place for more, and a row of millions would take memory for each.
constexpr std::size_t kMaxColumns = 256;

constexpr std::array<std::pair<char, const char*>, 6> kSeparatorNames{
    {{'\t', "tab"}, {',', "comma"}, {';', "semicolon"}, {' ', "space"}, {'|', "pipe"}, {':', "colon"}}};
constexpr std::array<const char*, kColumnRoles> kRoleNames{
    "word", "synonyms", "translations", "antonyms", "antonym-translations", "form", "ignore"};

int KindOf(ColumnRole role) {
  switch (role) {
    case ColumnRole::Word:
    case ColumnRole::Synonyms: return kSynonyms;
    case ColumnRole::Translations: return kTranslations;
    case ColumnRole::Antonyms: return kAntonyms;
    default: return kAntonymTranslations;
  }
}

void AppendField(std::string& out, const std::string& field) {
  const bool quote = field.find_first_of("\t;,|\"\r\n") != std::string::npos || field.starts_with('#');
  if (!quote) {
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

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// Splits delimited text into records of fields; a line break ends a record
// unless it stands inside quotes.
class CsvScanner {
 public:
  CsvScanner(std::string_view data, char separator, std::size_t at = 0)
      : data_(data), separator_(separator), at_(at) {}

  bool AtEnd() const { return at_ >= data_.size(); }

  // The next record's first kMaxColumns fields; the non-blank ones beyond
  // are counted in Beyond().
  void Next(std::vector<std::string>& fields) {
    fields.clear();
    beyond_ = 0;
    std::string field;
    bool quoted = false;
    bool fresh = true;  // nothing of the field read yet
    const auto endField = [&] {
      if (fields.size() < kMaxColumns) fields.push_back(std::move(field));
      else if (!Trimmed(field).empty()) ++beyond_;
      field.clear();
    };
    while (at_ < data_.size()) {
      const char c = data_[at_++];
      if (quoted) {
        if (c != '"') field += c;
        else if (at_ < data_.size() && data_[at_] == '"') field += data_[at_++];
        else quoted = false;
      } else if (c == '"' && fresh) {
        quoted = true;
        fresh = false;
      } else if (c == separator_) {
        endField();
        fresh = true;
      } else if (c == '\r' || c == '\n') {
        if (c == '\r' && at_ < data_.size() && data_[at_] == '\n') ++at_;
        break;
      } else {
        field += c;
        fresh = false;
      }
    }
    endField();
  }

  // Non-blank fields of the last record beyond the ones kept.
  std::size_t Beyond() const { return beyond_; }

  // The number of fields of the next record, which it passes; 0 for a
  // blank line.
  std::size_t Skip() {
    std::size_t fields = 1;
    bool quoted = false;
    bool fresh = true;
    bool blank = true;
    while (at_ < data_.size()) {
      const char c = data_[at_++];
      if (quoted) {
        if (c == '"') {
          if (at_ < data_.size() && data_[at_] == '"') ++at_;
          else quoted = false;
        }
        continue;
      }
      if (c == '"' && fresh) {
        quoted = true;
        fresh = false;
        blank = false;
      } else if (c == separator_) {
        ++fields;
        fresh = true;
        blank = false;
      } else if (c == '\r' || c == '\n') {
        if (c == '\r' && at_ < data_.size() && data_[at_] == '\n') ++at_;
        break;
      } else {
        fresh = false;
        if (static_cast<unsigned char>(c) > ' ') blank = false;
      }
    }
    return blank ? 0 : fields;
  }

 private:
  std::string_view data_;
  char separator_;
  std::size_t at_;
  std::size_t beyond_ = 0;
};

bool IsBlankRecord(const std::vector<std::string>& fields) {
  return fields.size() == 1 && Trimmed(fields[0]).empty();
}

bool IsOwnHeader(const std::vector<std::string>& fields) {
  if (fields.size() < kHeaderNames.size()) return false;
  for (std::size_t i = 0; i < kHeaderNames.size(); ++i)
    if (kHeaderNames[i] && !SameTextAsciiCaseless(Trimmed(fields[i]), kHeaderNames[i])) return false;
  return true;
}

// The separator of a file: the one that reads the first row as the header
// written here (six fields), else the one that splits most of the first rows
// into one number (above one) of fields.
char GuessSeparator(std::string_view text, std::size_t start) {
  std::vector<std::string> first;
  for (char candidate : kGuessedSeparators) {
    CsvScanner scanner(text, candidate, start);
    do scanner.Next(first);
    while (IsBlankRecord(first) && !scanner.AtEnd());
    // Only the true separator gives exactly six such fields: every field
    // holding another candidate is quoted, which hides it from that one
    // only at the start of a field.
    if (first.size() == kHeaderNames.size() && IsOwnHeader(first)) return candidate;
  }
  char best = ',';
  std::size_t bestScore = 0;
  for (char candidate : kGuessedSeparators) {
    CsvScanner scanner(text, candidate, start);
    std::map<std::size_t, std::size_t> counts;
    for (std::size_t rows = 0; rows < kRowsExamined && !scanner.AtEnd();) {
      const std::size_t fields = scanner.Skip();
      if (fields == 0) continue;
      ++rows;
      if (fields > 1) ++counts[fields];
    }
    std::size_t score = 0;
    for (const auto& [fields, rows] : counts) score = std::max(score, rows);
    if (score > bestScore) best = candidate, bestScore = score;
  }
  return best;
}

// Anki's "#key:value" lines at the start of a file.
struct AnkiHeader {
  char Separator = 0;
  bool Html = false;
  std::string Columns;            // the raw "#columns:" value
  std::vector<std::size_t> Meta;  // 0-based columns of note ids, types, decks and tags
  std::size_t End = 0;            // where the data starts
};

AnkiHeader ReadAnkiHeader(std::string_view text) {
  AnkiHeader header;
  std::size_t at = 0;
  while (at < text.size() && text[at] == '#') {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(at + 1, end - at - 1);
    const std::size_t colon = line.find(':');
    const std::string key = colon == std::string_view::npos ? std::string() : AnsiLowerCase(Trimmed(line.substr(0, colon)));
    if (key.empty() || key.find_first_not_of("abcdefghijklmnopqrstuvwxyz ") != std::string::npos) break;
    const std::string_view value = line.substr(colon + 1);
    if (key == "separator") header.Separator = SeparatorOfName(Trimmed(value));
    else if (key == "html") header.Html = SameTextAsciiCaseless(Trimmed(value), "true");
    else if (key == "columns") header.Columns = std::string(value);
    else if (key.ends_with(" column")) {
      const std::string_view number = Trimmed(value);
      int column = 0;
      for (char c : number) column = c >= '0' && c <= '9' && column < 10000 ? column * 10 + (c - '0') : -1;
      if (column > 0) header.Meta.push_back(static_cast<std::size_t>(column - 1));
    }
    at = end;
    while (at < text.size() && (text[at] == '\r' || text[at] == '\n')) ++at;
    header.End = at;
  }
  return header;
}

int FormOfName(std::string_view name) {
  for (std::size_t form = 0; form < kFormNames.size(); ++form)
    if (SameTextAsciiCaseless(name, kFormNames[form]) || SameTextAsciiCaseless(name, kLongFormNames[form]))
      return static_cast<int>(form);
  return -1;
}

// The reading of one file: its text, layout and rows.
class CsvReader {
 public:
  CsvReader(std::string_view data, const CsvOptions& options) : decoded_(DecodeText(data, options.Encoding)) {
    const std::string_view text = decoded_.Text();
    layout_.Encoding = decoded_.Found;
    const AnkiHeader anki = ReadAnkiHeader(text);
    start_ = anki.End;
    layout_.Html = anki.Html;
    layout_.Separator = options.Separator    ? options.Separator
                        : anki.Separator     ? anki.Separator
                                             : GuessSeparator(text, start_);
    CsvScanner scanner(text, layout_.Separator, start_);
    std::vector<std::string> first;
    while (!scanner.AtEnd()) {
      scanner.Next(first);
      if (!IsBlankRecord(first)) break;
    }
    const bool own = IsOwnHeader(first);
    // Names of the columns (Windows-1252). Anki's exports have no header
    // row: their "#columns:" line names the columns.
    std::vector<std::string> names;
    for (const std::string& field : first) names.push_back(Field(field));
    const bool named = own || (anki.Columns.empty() && NamesColumns(names));
    layout_.Header = options.Header == HeaderRow::Yes || (options.Header == HeaderRow::Automatic && named);
    if (!layout_.Header) names.clear();
    if (!layout_.Header && !anki.Columns.empty()) {
      std::vector<std::string> fields;
      CsvScanner(anki.Columns, layout_.Separator).Next(fields);
      for (const std::string& field : fields) names.push_back(Field(field));
      ankiNames_ = true;
    }
    for (const std::string& name : names) layout_.ColumnNames.push_back(Cp1252ToUtf8(name));
    // The widest of the first rows gives the number of columns.
    std::size_t columns = names.size();
    CsvScanner counter(text, layout_.Separator, start_);
    for (std::size_t rows = 0; rows < kRowsExamined && !counter.AtEnd(); ++rows) columns = std::max(columns, counter.Skip());
    columns = std::min(columns, kMaxColumns);
    if (!options.Columns.empty()) layout_.Columns = options.Columns;
    else if (own && layout_.Header) layout_.Columns = kOwnColumns;
    else layout_.Columns = RolesOfColumns(names, columns, anki.Meta);
    layout_.Columns.resize(std::max(layout_.Columns.size(), columns), ColumnRole::Ignore);
    layout_.Language1 = LanguageName(options.Language1, names, ColumnRole::Word, "Language 1");
    layout_.Language2 = LanguageName(options.Language2, names, ColumnRole::Translations, "Language 2");
  }

  const CsvLayout& Layout() const { return layout_; }

  // The data rows, after the header: each passed to `row` until it returns false.
  template <class RowAction>
  void Rows(RowAction row) {
    CsvScanner scanner(decoded_.Text(), layout_.Separator, start_);
    std::vector<std::string> fields;
    bool headerPassed = !layout_.Header;
    while (!scanner.AtEnd()) {
      scanner.Next(fields);
      if (IsBlankRecord(fields)) continue;
      if (!headerPassed) {
        headerPassed = true;
        continue;
      }
      if (!row(fields, scanner)) return;
    }
  }

  // A field as a lesson string, trimmed, for names.
  std::string Field(std::string_view field) const {
    if (!layout_.Html && !decoded_.Utf8) return std::string(Trimmed(field));
    return Utf8ToCp1252(Shown(field));
  }

  // A field as UTF-8, trimmed, for the preview.
  std::string Shown(std::string_view field) const {
    std::string text = decoded_.Utf8 ? std::string(field) : Cp1252ToUtf8(field);
    if (layout_.Html) text = HtmlToText(text, "; ");
    return std::string(Trimmed(text));
  }

  // Fills `entry` from the fields of a row.
  void FillEntry(LessonBuilder& builder, TMeaning& entry, const std::vector<std::string>& fields,
                 TransferReport& report) const {
    bool formSet = false;
    for (std::size_t c = 0; c < fields.size(); ++c) {
      const ColumnRole role = c < layout_.Columns.size() ? layout_.Columns[c] : ColumnRole::Ignore;
      const std::string_view field = Trimmed(fields[c]);
      if (field.empty()) continue;
      if (role == ColumnRole::Ignore) {
        report.Leave(LeftOut::Columns);
        continue;
      }
      if (role == ColumnRole::Form) {
        const int form = FormOfName(Field(field));
        if (form < 0) report.Leave(LeftOut::UnknownForms);
        else if (!formSet) entry.Form = static_cast<std::uint8_t>(form), formSet = true;
        continue;
      }
      AddWords(builder, entry, role, field);
    }
  }

 private:
  // The name over the column of `role`, unless it names the role (as
  // "Word" or "Front" do) rather than a language; of Anki's field names only
  // a language's.
  std::string LanguageName(const std::string& chosen, const std::vector<std::string>& names, ColumnRole role,
                           const char* fallback) const {
    if (!chosen.empty()) return chosen;
    const auto it = std::find(layout_.Columns.begin(), layout_.Columns.end(), role);
    const std::size_t column = static_cast<std::size_t>(it - layout_.Columns.begin());
    if (column >= names.size() || names[column].empty()) return fallback;
    const bool language = ankiNames_ ? FindLanguage(names[column]) != nullptr : !RoleOfColumnName(names[column]);
    return language ? names[column] : fallback;
  }

  // The word field holds one word (which may itself hold ";"); list fields
  // are split at ";". In HTML a line break separates words in either.
  void AddWords(LessonBuilder& builder, TMeaning& entry, ColumnRole role, std::string_view field) const {
    const int kind = KindOf(role);
    const auto addSplit = [&](std::string_view text, bool utf8) {
      if (role == ColumnRole::Word) return builder.AddWord(entry, kind, text, utf8);
      for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find(';', start);
        if (end == std::string_view::npos) end = text.size();
        builder.AddWord(entry, kind, text.substr(start, end - start), utf8);
        start = end + 1;
      }
    };
    if (!layout_.Html) return addSplit(field, decoded_.Utf8);
    const std::string text = HtmlToText(decoded_.Utf8 ? std::string(field) : Cp1252ToUtf8(field), "\n");
    for (std::size_t start = 0; start <= text.size();) {
      std::size_t end = text.find('\n', start);
      if (end == std::string::npos) end = text.size();
      addSplit(std::string_view(text).substr(start, end - start), true);
      start = end + 1;
    }
  }

  DecodedText decoded_;
  std::size_t start_ = 0;
  bool ankiNames_ = false;  // the names are those of "#columns:"
  CsvLayout layout_;
};

// ".tsv" files are separated by tabs.
bool TabSeparated(const std::string& fileName) {
  const std::size_t dot = ExtensionStart(fileName);
  return dot != std::string::npos && AnsiLowerCase(fileName.substr(dot)) == ".tsv";
}

}  // namespace

std::string SeparatorName(char separator) {
  for (const auto& [c, name] : kSeparatorNames)
    if (c == separator) return name;
  return separator == 0 ? std::string() : std::string(1, separator);
}

char SeparatorOfName(std::string_view name) {
  for (const auto& [c, known] : kSeparatorNames)
    if (SameTextAsciiCaseless(name, known)) return c;
  if (name == "\\t") return '\t';
  return name.size() == 1 && name[0] != '"' && name[0] != '\r' && name[0] != '\n' ? name[0] : 0;
}

std::string ColumnRoleName(ColumnRole role) { return kRoleNames[static_cast<std::size_t>(role)]; }

int ColumnRoleOfName(std::string_view name) {
  for (std::size_t i = 0; i < kRoleNames.size(); ++i)
    if (SameTextAsciiCaseless(name, kRoleNames[i])) return static_cast<int>(i);
  return -1;
}

CsvLayout ExamineCsv(std::string_view data, const CsvOptions& options, std::size_t rows) {
  CsvReader reader(data, options);
  CsvLayout layout = reader.Layout();
  reader.Rows([&](const std::vector<std::string>& fields, const auto&) {
    if (layout.Rows.size() >= rows) return false;
    std::vector<std::string>& shown = layout.Rows.emplace_back();
    for (const std::string& field : fields) shown.push_back(reader.Shown(field));
    return true;
  });
  return layout;
}

std::string CsvImage(const TMeanCollection& lesson, char separator, bool bom, TransferReport& report) {
  std::string out = bom ? kByteOrderMark : "";
  const std::array<std::string, 6> header{lesson.Language1.Name, kHeaderNames[1], lesson.Language2.Name,
                                          kHeaderNames[3],       kHeaderNames[4], kHeaderNames[5]};
  std::string line;
  const auto endLine = [&] {
    out += Cp1252ToUtf8(line);
    out += "\r\n";
    line.clear();
  };
  for (std::size_t i = 0; i < header.size(); ++i) {
    if (i > 0) line += separator;
    AppendField(line, header[i]);
  }
  endLine();
  for (int i = 0; i < lesson.EntryCount(); ++i) {
    const TMeaning& meaning = *lesson.Meanings->At(i);
    const std::array<std::string, 6> fields{
        meaning.Synonyms.Count() > 0 ? meaning.Synonyms.At(0)->Text() : std::string(),
        JoinList(meaning.Synonyms, 1, report),
        JoinList(meaning.Translations, 0, report),
        JoinList(meaning.Antonyms, 0, report),
        JoinList(meaning.AntonymTranslations, 0, report),
        meaning.Form < kFormNames.size() ? kFormNames[meaning.Form] : ""};
    for (std::size_t f = 0; f < fields.size(); ++f) {
      if (f > 0) line += separator;
      AppendField(line, fields[f]);
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

std::size_t ParseCsv(std::string_view data, const CsvOptions& options, const std::string& fileName,
                     TMeanCollection& lesson, TransferReport& report) {
  CsvReader reader(data, options);
  const CsvLayout& layout = reader.Layout();
  lesson.Language1 = TLanguage(layout.Language1);
  lesson.Language2 = TLanguage(layout.Language2);
  LessonBuilder builder(fileName, lesson, report);
  std::size_t rows = 0;
  reader.Rows([&](const std::vector<std::string>& fields, CsvScanner& scanner) {
    if (builder.Full()) {
      // The rest is only counted, for the message.
      std::size_t total = rows + 1;
      while (!scanner.AtEnd()) total += scanner.Skip() > 0;
      builder.TooManyEntries(total);
    }
    ++rows;
    reader.FillEntry(builder, builder.NewEntry(), fields, report);
    report.Leave(LeftOut::Columns, static_cast<int>(scanner.Beyond()));
    return true;
  });
  return rows;
}

CsvOptions CsvOptionsForFile(CsvOptions options, const std::string& fileName) {
  if (options.Separator == 0 && TabSeparated(fileName)) options.Separator = '\t';
  return options;
}

CsvImport ImportCsv(std::string_view data, const CsvOptions& options, const std::string& fileName) {
  CsvImport import;
  import.Lesson = std::make_unique<TMeanCollection>();
  import.Lesson->LessonFileName = fileName;
  import.Rows = ParseCsv(data, CsvOptionsForFile(options, fileName), fileName, *import.Lesson, import.Report);
  import.Lesson->DblDel(import.Report.LossyWords);
  import.Lesson->Modified = false;
  return import;
}

void LoadCsv(TMeanCollection& lesson, const std::string& fileName, const ReadOptions& options,
             TransferReport& report) {
  ParseCsv(ReadWholeFile(fileName), CsvOptionsForFile(options.Csv, fileName), fileName, lesson, report);
}

}  // namespace vocatrix
