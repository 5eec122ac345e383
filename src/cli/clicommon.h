// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the vocatrix-cli commands: the command table, argument
// helpers, reading and writing lessons, and error reporting.
//
// A command is a function taking its arguments (the words after the command
// name) and returning an exit code; it reports failures by throwing. Each
// source file of commands exposes one function listing its commands, and
// main.cpp joins those lists.

#include <functional>
#include <iosfwd>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "files/lessonformats.h"
#include "model/lesson.h"

namespace vocatrix::cli {

inline constexpr const char* kProgramName = "vocatrix-cli";
inline constexpr const char* kVersion = "1.14";

enum ExitCode : int { kExitOk = 0, kExitBadFile = 1, kExitUsage = 2 };

struct Command {
  std::string Name;
  std::string Arguments;  // shown in the usage, e.g. "[--compact] IN OUT"
  std::string Summary;    // one line
  std::function<int(const std::vector<std::string>&)> Run;
};

// The commands of src/cli/lessoncommands.cpp.
std::vector<Command> LessonCommands();
// The commands of src/cli/combinecommands.cpp.
std::vector<Command> CombineCommands();
// The commands of src/cli/spellcommands.cpp.
std::vector<Command> SpellCommands();
// The commands of src/cli/checkcommands.cpp.
std::vector<Command> CheckCommands();

// Wrong use of the command line (exit code 2).
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failure with a file: the file's name and the (translated) message.
// Exit code 1.
class FileFailure : public std::runtime_error {
 public:
  FileFailure(std::string fileName, const std::string& message)
      : std::runtime_error(message), fileName_(std::move(fileName)) {}
  const std::string& FileName() const { return fileName_; }

 private:
  std::string fileName_;
};

// Runs `action`; a lesson error on the way becomes a FileFailure for the file.
void WithFile(const std::string& fileName, const std::function<void()>& action);
// Notes a failure with a file on stderr, naming the file.
void ReportFailure(const FileFailure& failure);

// A command's arguments split into options ("--name") and operands.
class Arguments {
 public:
  // Options not in `allowedOptions` or `valueOptions` and a number of
  // operands other than `operands` (kOneOrMore: none) raise UsageError. A
  // value option takes the next word ("--languages 1,2") or its own
  // ("--languages=1,2"). A lone "--" ends the options.
  Arguments(const std::vector<std::string>& args, const std::vector<std::string>& allowedOptions, int operands,
            const std::vector<std::string>& valueOptions = {});
  static constexpr int kOneOrMore = -1;

  bool Has(const std::string& option) const;
  // The value of a value option; empty when it was not given.
  std::string Value(const std::string& option) const;
  const std::string& Operand(int index) const { return operands_.at(static_cast<std::size_t>(index)); }
  const std::vector<std::string>& Operands() const { return operands_; }

 private:
  std::vector<std::string> options_;
  std::vector<std::pair<std::string, std::string>> values_;
  std::vector<std::string> operands_;
};

// What reading a lesson does besides reading it.
struct ReadChoices {
  // Compacts formats other than lesson text and delimited text (which are
  // always compacted).
  bool Compact = false;
  // KVTML languages, the layout of delimited text.
  ReadOptions Options;
  // Reads the file as delimited text whatever its extension.
  bool Delimited = false;
  // Words that would lose a character Windows-1252 cannot hold make the
  // reading fail (exit 1) instead of being noted.
  bool RefuseLost = false;
};

// Choices that only compact (or not).
inline ReadChoices Compacting(bool compact) {
  ReadChoices choices;
  choices.Compact = compact;
  return choices;
}

// Reads a lesson in any format of the gateway. Lesson text is read
// leniently and compacted, and the number of skipped malformed lines goes to
// stderr, as do the items of an exchange file the lesson cannot hold, text
// that was not UTF-8, table rows holding two entries and characters read as
// "?". Delimited text (".csv", ".tsv", or any file when `choices.Delimited`)
// is imported as the editor imports it, compacted; other formats are
// compacted when asked. Compaction keeps words read with "?" apart.
std::unique_ptr<TMeanCollection> ReadLesson(const std::string& fileName, const ReadChoices& choices = {});

// Writes a lesson in the format of the name, always replacing the file
// atomically and keeping the previous file as its backup (BackupName), as the
// editor's save does; a read-only file is refused ("NAME is read only.")
// and stays as it is. A ".rtf" target gets real rich text with each word in its
// language's font; a ".tav" target of a lesson without entries gets one
// blank entry, which is noted on stderr, as are words the target cannot carry.
void WriteLesson(TMeanCollection& lesson, const std::string& fileName);
// The lesson as lesson text; words the text cannot carry are named in a
// note about `target` (the file written, or the lesson shown).
std::vector<std::string> LessonTextLines(const TMeanCollection& lesson, const std::string& target);

// Raises ENotLesson unless the name is of a format of the gateway, so a
// command fails before doing any work.
void RequireLessonName(const std::string& fileName);

// A lesson string (Windows-1252) for the terminal (UTF-8), and back.
std::string TerminalText(const std::string& lessonText);
std::string FromTerminalText(const std::string& utf8);

// Writes one line to stdout.
void PrintLine(const std::string& utf8);

// Notes on stderr, prefixed with the program name.
void Note(const std::string& utf8);

// Runs the command line: options, command lookup and error reporting.
int RunCommandLine(const std::vector<std::string>& args, const std::vector<Command>& commands);

}  // namespace vocatrix::cli
