// SPDX-License-Identifier: GPL-3.0-or-later
// Commands on single lessons: new, convert, show, stats, check, compact, mirror.

#include "cli/clicommon.h"
#include "files/lessonfiles.h"
#include "files/rtf.h"

namespace vocatrix::cli {
namespace {

int New(const std::vector<std::string>& args) {
  const Arguments a(args, {}, 1);
  RequireLessonName(a.Operand(0));
  auto lesson = TMeanCollection::CreateEmpty();
  WriteLesson(*lesson, a.Operand(0));
  return kExitOk;
}

// "N,M": the KVTML identifiers taken as language 1 and 2.
ReadOptions LanguageChoice(const std::string& value) {
  ReadOptions options;
  if (value.empty()) return options;
  const std::size_t comma = value.find(',');
  const auto number = [&](const std::string& text) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
      throw UsageError("--languages takes two identifiers as N,M, got '" + value + "'");
    return std::stoi(text);
  };
  if (comma == std::string::npos) throw UsageError("--languages takes two identifiers as N,M, got '" + value + "'");
  options.Language1 = number(value.substr(0, comma));
  options.Language2 = number(value.substr(comma + 1));
  return options;
}

int Convert(const std::vector<std::string>& args) {
  const Arguments a(args, {"--compact"}, 2, {"--languages"});
  RequireLessonName(a.Operand(1));
  auto lesson = ReadLesson(a.Operand(0), a.Has("--compact"), LanguageChoice(a.Value("--languages")));
  WriteLesson(*lesson, a.Operand(1));
  return kExitOk;
}

int Show(const std::vector<std::string>& args) {
  const Arguments a(args, {"--compact"}, 1);
  auto lesson = ReadLesson(a.Operand(0), a.Has("--compact"));
  for (const std::string& line : LessonTextLines(*lesson, a.Operand(0))) PrintLine(TerminalText(line));
  return kExitOk;
}

int Stats(const std::vector<std::string>& args) {
  const Arguments a(args, {"--compact"}, 1);
  auto lesson = ReadLesson(a.Operand(0), a.Has("--compact"));
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
    ReadLesson(fileName, false);
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

int Compact(const std::vector<std::string>& args) {
  const Arguments a(args, {}, 2);
  RequireLessonName(a.Operand(1));
  auto lesson = ReadLesson(a.Operand(0), false);
  lesson->DblDel();
  WriteLesson(*lesson, a.Operand(1));
  return kExitOk;
}

int Mirror(const std::vector<std::string>& args) {
  const Arguments a(args, {}, 2);
  RequireLessonName(a.Operand(1));
  auto lesson = ReadLesson(a.Operand(0), false);
  lesson->Mirror();
  WriteLesson(*lesson, a.Operand(1));
  return kExitOk;
}

}  // namespace

std::vector<Command> LessonCommands() {
  return {
      {"new", "OUT", "write a new empty lesson", New},
      {"convert", "[--compact] IN OUT [--languages N,M]",
       "read IN by its kind, write OUT by its kind (.tav .txt .rtf .kvtml .csv .tsv); "
       "--languages picks KVTML identifiers",
       Convert},
      {"show", "[--compact] IN", "print the lesson as lesson text (UTF-8)", Show},
      {"stats", "[--compact] IN", "print the numbers of entries and words", Stats},
      {"check", "IN", "parse lesson text strictly; print the first malformed line", Check},
      {"compact", "IN OUT", "merge entries that share a word, then save", Compact},
      {"mirror", "IN OUT", "exchange the two languages, then save", Mirror},
  };
}

}  // namespace vocatrix::cli
