// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/clicommon.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <new>

#include "base/cp1252.h"
#include "base/inifile.h"
#include "files/lessonfiles.h"
#include "files/lessontext.h"
#include "files/rtf/rtf.h"
#include "base/messages.h"
#include "base/safesave.h"
#include "base/settings.h"
#include "cli/commandwords.h"
#include "model/exceptions.h"

namespace vocatrix::cli {
namespace {

void PrintUsage(std::ostream& out, const std::vector<Command>& commands) {
  out << "Usage: " << kProgramName << " COMMAND [ARGUMENTS]\n"
      << "Reads and writes vocabulary lessons: .tav lesson files, .txt and .rtf lesson text;\n"
      << "exchanges them with KDE's KVTML (.kvtml) and with spreadsheets and Anki (.csv, .tsv).\n\n"
      << "Commands:\n";
  std::size_t width = 0;
  for (const Command& c : commands) width = std::max(width, c.Name.size() + 1 + c.Arguments.size());
  for (const Command& c : commands) {
    const std::string synopsis = c.Name + " " + c.Arguments;
    out << "  " << synopsis << std::string(width + 2 - synopsis.size(), ' ') << c.Summary << "\n";
  }
  out << "\nOptions:\n"
      << "  --help     show this help and exit\n"
      << "  --version  show the version and exit\n\n"
      << "Exit codes: 0 success, 1 a file could not be read or written, 2 wrong usage.\n";
}

const Command* FindCommand(const std::vector<Command>& commands, const std::string& name) {
  for (const Command& c : commands)
    if (c.Name == name) return &c;
  return nullptr;
}

// The interface language for translated messages, from this program's own
// settings file; without one the messages are English.
void LoadInterfaceLanguage() {
  // The tool speaks English unless its settings name another language.
  UseEnglishBuiltInMessages();
  try {
    SetCurrentLanguage(IniFile(ProgramSettingsFile()).ReadString("Config", "Language", std::string()));
  } catch (const std::exception&) {
    SetCurrentLanguage(std::string());
  }
}

}  // namespace

void ReportFailure(const FileFailure& failure) {
  // Most messages already quote the file; name it only where they do not.
  const std::string message = failure.what();
  if (failure.FileName().empty() || message.find(failure.FileName()) != std::string::npos)
    Note(message);
  else
    Note(failure.FileName() + ": " + message);
}

void WithFile(const std::string& fileName, const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    throw FileFailure(fileName, e.what());
  }
}

Arguments::Arguments(const std::vector<std::string>& args, const std::vector<std::string>& allowedOptions,
                     int operands, const std::vector<std::string>& valueOptions) {
  for (const CommandWord& word : ReadCommandWords(args, allowedOptions, valueOptions)) {
    switch (word.What) {
      case CommandWord::kFlag: options_.push_back(word.Text); break;
      case CommandWord::kValue: values_.emplace_back(word.Text, word.Value); break;
      case CommandWord::kOperand: operands_.push_back(word.Text); break;
      case CommandWord::kUnknownOption: throw UsageError("unknown option '" + word.Text + "'");
      case CommandWord::kValueMissing: throw UsageError("option '" + word.Text + "' needs a value");
    }
  }
  if (operands == kOneOrMore && operands_.empty()) throw UsageError("expected one or more file names, got none");
  if (operands != kOneOrMore && static_cast<int>(operands_.size()) != operands)
    throw UsageError("expected " + std::to_string(operands) + (operands == 1 ? " file name" : " file names") +
                     ", got " + std::to_string(operands_.size()));
}

bool Arguments::Has(const std::string& option) const {
  return std::find(options_.begin(), options_.end(), option) != options_.end();
}

std::string Arguments::Value(const std::string& option) const {
  for (const auto& [name, value] : values_)
    if (name == option) return value;
  return {};
}

std::unique_ptr<TMeanCollection> ReadLesson(const std::string& fileName, const ReadChoices& choices) {
  std::unique_ptr<TMeanCollection> lesson;
  WithFile(fileName, [&] {
    TransferReport report;
    // Delimited text is imported as the editor imports it: read and compacted.
    const bool delimited = choices.Delimited || (IsDelimitedText(fileName) && FileKind(fileName) != kTextFile);
    lesson = delimited ? ImportDelimitedText(fileName, choices.Options, report)
                       : ReadLessonByFormat(fileName, choices.Options, report);
    const LessonFormat& format = *FindLessonFormat(fileName);
    // Malformed lines and not one entry: no lesson, most likely an export that --columns reads. Only then
    // is the file read once more, for the judgement the editor's Open makes too.
    if (!delimited && (format.Kind == kTextFile || format.Kind == kRichTextFile) && report.Skipped > 0 &&
        lesson->EntryCount() == 0)
      RequireEntryLine(ReadTextFileLines(fileName).Lines, fileName, "--columns");
    if (choices.RefuseLost && report.LostAny())
      throw Exception(TranslateMessage("ConvertLost", "'%s': %s Give --replace-unsupported to convert it anyway.",
                                       {fileName, LostCharactersMessage(report)}));
    if (report.Skipped > 0)
      Note(fileName + ": skipped " + std::to_string(report.Skipped) +
           (report.Skipped == 1 ? " malformed line" : " malformed lines"));
    for (const std::string& note : ReadNotes(report, fileName, true)) Note(note);
    // Lesson text and delimited text are compacted as they are read; other formats only on request.
    if (choices.Compact && !delimited && format.Kind != kTextFile && format.Kind != kRichTextFile)
      lesson->DblDel(report.LossyWords);
  });
  return lesson;
}

void RequireLessonName(const std::string& fileName) {
  if (!FindLessonFormat(fileName)) throw FileFailure(fileName, ENotLesson::ForFile(fileName).what());
}

void WriteLesson(TMeanCollection& lesson, const std::string& fileName) {
  WithFile(fileName, [&] {
    // The editor's save refuses a file marked read-only, although the folder
    // would let the save replace it; so does the command line, in its words.
    if (FileIsReadOnly(fileName)) throw FileFailure(fileName, ReadOnlyMessage(fileName));
    // A lesson file always holds at least one entry.
    if (FileKind(fileName) == kLessonFile && lesson.EnsureEntry())
      Note(fileName + ": the lesson has no entries; writing one blank entry");
    TransferReport report;
    // The previous file stays as the backup, as the editor's save keeps it.
    WriteLessonByFormat(lesson, fileName, BackupName(fileName), report, true);
    if (report.Uncarried.empty()) return;
    const LessonFormat* format = FindLessonFormat(fileName);
    if (format && format->Exchange) Note(fileName + ": " + UncarriedMessage(report, fileName));
    else
      Note(fileName + ": lesson text cannot carry these words; they are left out or would read back changed: " +
           TerminalText(QuotedTextList(report.Uncarried)));
  });
}

std::vector<std::string> LessonTextLines(const TMeanCollection& lesson, const std::string& target) {
  std::vector<std::string> uncarried;
  std::vector<std::string> lines = lesson.ToLines(&uncarried);
  if (!uncarried.empty())
    Note(target + ": lesson text cannot carry these words; they are left out or would read back changed: " +
         TerminalText(QuotedTextList(uncarried)));
  return lines;
}

std::string TerminalText(const std::string& lessonText) { return Cp1252ToUtf8(lessonText); }

std::string FromTerminalText(const std::string& utf8) { return IsUtf8(utf8) ? Utf8ToCp1252(utf8) : utf8; }

void PrintLine(const std::string& utf8) {
  std::cout << utf8 << '\n';
}

void Note(const std::string& utf8) { std::cerr << kProgramName << ": " << utf8 << std::endl; }

int RunCommandLine(const std::vector<std::string>& args, const std::vector<Command>& commands) {
  LoadInterfaceLanguage();
  if (args.empty()) {
    PrintUsage(std::cerr, commands);
    return kExitUsage;
  }
  // The program's own options stand first; the words after a command are the command's.
  const std::string& first = args[0];
  const std::vector<CommandWord> firstWord = ReadCommandWords({first}, {"--help", "-h", "--version"}, {});
  const std::string option =
      !firstWord.empty() && firstWord[0].What == CommandWord::kFlag ? firstWord[0].Text : std::string();
  if (option == "--help" || option == "-h" || first == "help") {
    PrintUsage(std::cout, commands);
    return std::cout.flush() ? kExitOk : kExitBadFile;
  }
  if (option == "--version") {
    std::cout << kProgramName << " " << kVersion << "\n";
    return std::cout.flush() ? kExitOk : kExitBadFile;
  }
  const Command* command = FindCommand(commands, first);
  if (!command) {
    Note("unknown command '" + first + "'");
    std::cerr << "Try '" << kProgramName << " --help'.\n";
    return kExitUsage;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  // A command's --help counts wherever it stands, after "--" or as an option's value too.
  if (std::find(rest.begin(), rest.end(), "--help") != rest.end()) {
    std::cout << "Usage: " << kProgramName << " " << command->Name << " " << command->Arguments << "\n"
              << command->Summary << "\n";
    return std::cout.flush() ? kExitOk : kExitBadFile;
  }
  int code;
  try {
    code = command->Run(rest);
  } catch (const UsageError& e) {
    Note(command->Name + ": " + e.what());
    std::cerr << "Usage: " << kProgramName << " " << command->Name << " " << command->Arguments << "\n";
    return kExitUsage;
  } catch (const FileFailure& e) {
    ReportFailure(e);
    return kExitBadFile;
  } catch (const std::bad_alloc&) {
    Note("out of memory");
    return kExitBadFile;
  } catch (const std::exception& e) {
    Note(e.what());
    return kExitBadFile;
  }
  if (!std::cout.flush()) {
    Note("cannot write to standard output");
    return kExitBadFile;
  }
  return code;
}

}  // namespace vocatrix::cli
