// SPDX-License-Identifier: GPL-3.0-or-later
// What the learning games will make of lessons: check-lesson.

#include "cli/clicommon.h"
#include "cli/commandwords.h"
#include "operations/lessoncheck.h"

namespace vocatrix::cli {
namespace {

struct CheckOptions {
  std::uint8_t Flags = kCheckAllDirections;
  std::vector<std::string> FileNames;
};

// Each value is checked where it stands, as quiz does; the last --flags counts.
CheckOptions ParseCheckOptions(const std::vector<std::string>& args) {
  CheckOptions options;
  for (const CommandWord& word : ReadCommandWords(args, {}, {"--flags"})) {
    if (word.What == CommandWord::kOperand) {
      options.FileNames.push_back(word.Text);
    } else if (word.What == CommandWord::kUnknownOption) {
      throw UsageError("unknown option '" + word.Text + "'");
    } else if (word.What == CommandWord::kValueMissing) {
      throw UsageError(word.Text + " needs a number");
    } else {
      const std::string& text = word.Value;
      if (text.empty() || text.size() > 3 || text.find_first_not_of("0123456789") != std::string::npos)
        throw UsageError("--flags needs a number, got '" + text + "'");
      const int flags = std::stoi(text);
      if (flags > 255) throw UsageError("--flags must be at most 255");
      if ((flags & kCheckAllDirections) == 0)
        throw UsageError("--flags selects no direction (bits 0 to 3: 1, 2, 4, 8)");
      options.Flags = static_cast<std::uint8_t>(flags);
    }
  }
  if (options.FileNames.empty()) throw UsageError("expected one or more file names, got none");
  return options;
}

// Lessons are read as the editor opens them (compacted), so that the entry
// numbers are the ones the editor shows.
int CheckLessonCommand(const std::vector<std::string>& args) {
  const CheckOptions options = ParseCheckOptions(args);
  const bool several = options.FileNames.size() > 1;
  bool found = false;
  bool failed = false;
  bool first = true;
  for (const std::string& fileName : options.FileNames) {
    try {
      const auto lesson = ReadLesson(fileName, Compacting(true));
      const LessonCheck check = CheckLesson(*lesson, options.Flags);
      if (several) {
        if (!first) PrintLine("");
        PrintLine(fileName + ":");
      }
      first = false;
      for (int d = 0; d < kCheckDirections; ++d)
        if (const int problems = check.Problems[static_cast<std::size_t>(d)]; problems >= 0)
          PrintLine(CheckCountLine(*lesson, d, problems));
      for (const LessonFinding& finding : check.Findings) PrintLine(LessonFindingLine(*lesson, finding));
      found = found || !check.Findings.empty();
    } catch (const FileFailure& e) {
      ReportFailure(e);
      failed = true;
    }
  }
  return found || failed ? kExitBadFile : kExitOk;
}

}  // namespace

std::vector<Command> CheckCommands() {
  return {
      {"check-lesson", "[--flags N] IN...",
       "print what the learning games make of each lesson: the problems of each direction and, as 'entry N: ...', "
       "entries without a question, questions short of alternatives, shared answers and misplaced forms",
       CheckLessonCommand},
  };
}

}  // namespace vocatrix::cli
