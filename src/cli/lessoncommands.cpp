// SPDX-License-Identifier: GPL-3.0-or-later
// Commands on single lessons: new, convert, show, stats, check, compact, mirror.

#include "cli/clicommon.h"
#include "document/lessoncommands.h"
#include "files/csv/csvfile.h"
#include "files/lessonfiles.h"
#include "files/rtf/rtf.h"

namespace vocatrix::cli {
namespace {

int New(const std::vector<std::string>& args) {
  const Arguments a(args, {}, 1);
  RequireLessonName(a.Operand(0));
  auto lesson = TMeanCollection::CreateEmpty();
  WriteLesson(*lesson, a.Operand(0));
  return kExitOk;
}

// "N,M": the KVTML identifiers (KVTML 1: columns) taken as language 1 and 2.
void LanguageChoice(const std::string& value, ReadOptions& options) {
  if (value.empty()) return;
  const std::size_t comma = value.find(',');
  const auto number = [&](const std::string& text) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
      throw UsageError("--languages takes two identifiers as N,M, got '" + value + "'");
    return std::stoi(text);
  };
  if (comma == std::string::npos) throw UsageError("--languages takes two identifiers as N,M, got '" + value + "'");
  options.Language1 = number(value.substr(0, comma));
  options.Language2 = number(value.substr(comma + 1));
}

// The layout of delimited text, as the editor's import dialog offers it.
// True when any of its options was given.
bool DelimitedChoice(const Arguments& a, CsvOptions& csv) {
  bool given = false;
  if (const std::string value = a.Value("--separator"); !value.empty()) {
    csv.Separator = SeparatorOfName(value);
    if (csv.Separator == 0)
      throw UsageError("--separator takes tab, comma, semicolon, space, pipe, colon or one character, got '" + value +
                       "'");
    given = true;
  }
  if (const std::string value = a.Value("--encoding"); !value.empty()) {
    const int encoding = EncodingOfName(value);
    if (encoding < 0) throw UsageError("--encoding takes utf-8, utf-16le, utf-16be or windows-1252, got '" + value + "'");
    csv.Encoding = static_cast<TextEncoding>(encoding);
    given = true;
  }
  if (a.Has("--header") && a.Has("--no-header")) throw UsageError("--header and --no-header exclude each other");
  if (a.Has("--header") || a.Has("--no-header")) {
    csv.Header = a.Has("--header") ? HeaderRow::Yes : HeaderRow::No;
    given = true;
  }
  if (const std::string value = a.Value("--columns"); !value.empty()) {
    for (std::size_t start = 0; start <= value.size();) {
      std::size_t end = value.find(',', start);
      if (end == std::string::npos) end = value.size();
      const int role = ColumnRoleOfName(value.substr(start, end - start));
      if (role < 0)
        throw UsageError("--columns takes a list of word, synonyms, translations, antonyms, antonym-translations, "
                         "form and ignore, got '" + value + "'");
      csv.Columns.push_back(static_cast<ColumnRole>(role));
      start = end + 1;
    }
    given = true;
  }
  for (const auto& [option, name] : {std::pair{"--language1", &csv.Language1}, std::pair{"--language2", &csv.Language2}})
    if (const std::string value = a.Value(option); !value.empty()) {
      *name = FromTerminalText(value);
      given = true;
    }
  return given;
}

int Convert(const std::vector<std::string>& args) {
  const Arguments a(args, {"--compact", "--header", "--no-header", "--replace-unsupported"}, 2,
                    {"--languages", "--separator", "--encoding", "--columns", "--language1", "--language2"});
  RequireLessonName(a.Operand(1));
  ReadChoices choices;
  choices.Compact = a.Has("--compact");
  choices.RefuseLost = !a.Has("--replace-unsupported");
  LanguageChoice(a.Value("--languages"), choices.Options);
  // A ".txt" is lesson text unless the layout of delimited text is given.
  choices.Delimited = DelimitedChoice(a, choices.Options.Csv) && IsDelimitedText(a.Operand(0));
  auto lesson = ReadLesson(a.Operand(0), choices);
  WriteLesson(*lesson, a.Operand(1));
  return kExitOk;
}

int Show(const std::vector<std::string>& args) {
  const Arguments a(args, {"--compact"}, 1);
  auto lesson = ReadLesson(a.Operand(0), Compacting(a.Has("--compact")));
  for (const std::string& line : LessonTextLines(*lesson, a.Operand(0))) PrintLine(TerminalText(line));
  return kExitOk;
}

int Stats(const std::vector<std::string>& args) {
  const Arguments a(args, {"--compact"}, 1);
  auto lesson = ReadLesson(a.Operand(0), Compacting(a.Has("--compact")));
  PrintLine("entries: " + std::to_string(lesson->EntryCount()));
  PrintLine("words-language1: " + std::to_string(CountWords(*lesson, 0)));
  PrintLine("words-language2: " + std::to_string(CountWords(*lesson, 1)));
  PrintLine("words: " + std::to_string(CountWords(*lesson, 2)));
  return kExitOk;
}

// Lesson text is parsed strictly, as the editor's Text page does; a lesson
// file only has to load.
int Check(const std::vector<std::string>& args) {
  const Arguments a(args, {}, 1);
  const std::string& fileName = a.Operand(0);
  const int kind = FileKind(fileName);
  if (kind != kTextFile && kind != kRichTextFile) {
    ReadLesson(fileName);
    return kExitOk;
  }
  std::vector<std::string> lines;
  WithFile(fileName, [&] { lines = RtfToLines(fileName); });
  int errorLine = 0;
  if (TMeanCollection::FromLines(lines, errorLine)) return kExitOk;
  PrintLine("line " + std::to_string(errorLine + 1) + ": " +
            TerminalText(lines.at(static_cast<std::size_t>(errorLine))));
  return kExitBadFile;
}

// A lesson read, changed by a command of the lesson document (as the
// editor's Extras menu runs it) and written.
int EditLesson(const std::vector<std::string>& args, TLessonChange (*command)(TLessonDocument&)) {
  const Arguments a(args, {}, 2);
  RequireLessonName(a.Operand(1));
  TLessonDocument document(ReadLesson(a.Operand(0)), TLessonDocument::Origin::kFile, a.Operand(0));
  command(document);
  WriteLesson(document.Lesson(), a.Operand(1));
  return kExitOk;
}

int Compact(const std::vector<std::string>& args) { return EditLesson(args, CompactLesson); }

int Mirror(const std::vector<std::string>& args) { return EditLesson(args, MirrorLesson); }

}  // namespace

std::vector<Command> LessonCommands() {
  return {
      {"new", "OUT", "write a new empty lesson", New},
      {"convert", "[--compact] IN OUT [--languages N,M] [OPTIONS]",
       "read IN by its kind, write OUT by its kind (.tav .txt .rtf .kvtml .csv .tsv .apkg); "
       "--languages picks KVTML identifiers. Words with characters a lesson cannot hold make it fail unless "
       "--replace-unsupported turns them into \"?\". Delimited text (.csv, .tsv, a .txt from Anki) is laid out "
       "by --separator tab|comma|semicolon|space|pipe|colon|C, --encoding utf-8|utf-16le|utf-16be|windows-1252, "
       "--header or --no-header, --columns with a role per column (word, synonyms, translations, antonyms, "
       "antonym-translations, form, ignore), --language1 NAME and --language2 NAME. An Anki deck (.apkg) is read "
       "whole: the notes of every note type and every deck",
       Convert},
      {"show", "[--compact] IN", "print the lesson as lesson text (UTF-8)", Show},
      {"stats", "[--compact] IN", "print the numbers of entries and words", Stats},
      {"check", "IN", "parse lesson text strictly; print the first malformed line", Check},
      {"compact", "IN OUT", "merge entries that share a word, then save", Compact},
      {"mirror", "IN OUT", "exchange the two languages, then save", Mirror},
  };
}

}  // namespace vocatrix::cli
