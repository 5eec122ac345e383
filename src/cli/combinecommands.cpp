// SPDX-License-Identifier: GPL-3.0-or-later
// Commands that combine lessons, catalogue a folder and run an exercise:
// concat, substitute, catalog, quiz.

#include <sys/stat.h>

#include <iostream>
#include <vector>

#include "cli/clicommon.h"
#include "cli/commandwords.h"
#include "base/cp1252.h"
#include "operations/catalogue.h"
#include "operations/combine.h"
#include "exercise/exercise.h"
#include "base/random.h"

namespace vocatrix::cli {
namespace {

// --------------------------------------------------------------- combining

// Sources are read as the editor opens them: compacted after loading.
std::unique_ptr<TMeanCollection> ReadSource(const std::string& fileName) {
  return ReadLesson(fileName, Compacting(true));
}

std::string LanguagePair(const TMeanCollection& lesson) {
  return "'" + TerminalText(lesson.Language1.Name) + "' / '" + TerminalText(lesson.Language2.Name) + "'";
}

int Concat(const std::vector<std::string>& args) {
  const Arguments a(args, {}, 3);
  RequireLessonName(a.Operand(2));
  auto first = ReadSource(a.Operand(0));
  auto second = ReadSource(a.Operand(1));
  auto result = ConcatLessons(first.get(), second.get());
  if (!result) {
    Note("concat: the language names differ (compared exactly): " + LanguagePair(*first) + " in " + a.Operand(0) +
         ", " + LanguagePair(*second) + " in " + a.Operand(1));
    return kExitBadFile;
  }
  WriteLesson(*result, a.Operand(2));
  return kExitOk;
}

int Substitute(const std::vector<std::string>& args) {
  const Arguments a(args, {}, 3);
  RequireLessonName(a.Operand(2));
  auto first = ReadSource(a.Operand(0));
  auto second = ReadSource(a.Operand(1));
  auto result = SubstituteLanguage(first.get(), second.get());
  if (!result) {
    Note("substitute: the lessons share no language (names compared exactly): " + LanguagePair(*first) + " in " +
         a.Operand(0) + ", " + LanguagePair(*second) + " in " + a.Operand(1));
    return kExitBadFile;
  }
  WriteLesson(*result, a.Operand(2));
  return kExitOk;
}

// ---------------------------------------------------------------- catalogue

int Catalog(const std::vector<std::string>& args) {
  const Arguments a(args, {"--keep-going"}, 1);
  const std::string& folder = a.Operand(0);
  struct stat st;
  if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
    throw FileFailure(folder, "'" + folder + "' is not a folder");
  const TCatalogue catalogue = MakeCatalogue(folder, a.Has("--keep-going"));
  for (const std::string& line : catalogue.Lines) PrintLine(TerminalText(line));
  for (const TCatalogueError& error : catalogue.Errors) {
    if (error.Message.find(error.FileName) != std::string::npos)
      Note(error.Message);
    else
      Note(error.FileName + ": " + error.Message);
  }
  return catalogue.Errors.empty() ? kExitOk : kExitBadFile;
}

// --------------------------------------------------------------------- quiz

// Options with a number after them ("--seed 7" or "--seed=7") and one file.
struct QuizOptions {
  std::uint8_t Flags = kAskLanguage1 | kKeepHard | kKeepMedium | kKeepEasy;
  std::uint8_t Mode = 2;
  bool Seeded = false;
  std::uint64_t Seed = 0;
  std::string FileName;
};

std::uint64_t ParseNumber(const std::string& option, const std::string& text, std::uint64_t max) {
  if (text.empty() || text.size() > 20 || text.find_first_not_of("0123456789") != std::string::npos)
    throw UsageError(option + " needs a number, got '" + text + "'");
  const unsigned long long value = std::stoull(text);
  if (value > max) throw UsageError(option + " must be at most " + std::to_string(max));
  return value;
}

QuizOptions ParseQuizOptions(const std::vector<std::string>& args) {
  QuizOptions options;
  std::vector<std::string> operands;
  // Each value is checked where it stands, so the first wrong word is the one named.
  for (const CommandWord& word : ReadCommandWords(args, {}, {"--flags", "--mode", "--seed"})) {
    const std::string& name = word.Text;
    if (word.What == CommandWord::kOperand) {
      operands.push_back(word.Text);
    } else if (word.What == CommandWord::kUnknownOption) {
      throw UsageError("unknown option '" + word.Text + "'");
    } else if (word.What == CommandWord::kValueMissing) {
      throw UsageError(name + " needs a number");
    } else if (name == "--flags") {
      options.Flags = static_cast<std::uint8_t>(ParseNumber(name, word.Value, 255));
    } else if (name == "--mode") {
      options.Mode = static_cast<std::uint8_t>(ParseNumber(name, word.Value, 3));
      if (options.Mode < 1) throw UsageError("--mode must be 1, 2 or 3");
    } else if (name == "--seed") {
      options.Seed = ParseNumber(name, word.Value, UINT64_MAX);
      options.Seeded = true;
    }
  }
  if (operands.size() != 1) throw UsageError("expected 1 file name, got " + std::to_string(operands.size()));
  options.FileName = operands[0];
  return options;
}

std::string TaskOf(const TProblem& problem, const TLesson& lesson) {
  std::string language;
  if (TMeaning* m = problem.Solution->Meaning())
    lesson.GetSpeachName(static_cast<std::uint8_t>(m->SideOf(*problem.Solution)), language);
  const std::string in = language.empty() ? std::string() : " in " + TerminalText(language);
  switch (problem.ProblemType) {
    case kTranslationProblem: return "translation" + in;
    case kAntonymTranslationProblem: return "antonym" + in;
    case kSynonymProblem: return "synonym";
    case kAntonymProblem: return "antonym";
    default: return "answer";
  }
}

// Trims the blanks and the carriage return a terminal or a script may leave.
std::string TrimLine(const std::string& line) {
  const std::size_t b = line.find_first_not_of(" \t\r\n");
  if (b == std::string::npos) return std::string();
  const std::size_t e = line.find_last_not_of(" \t\r\n");
  return line.substr(b, e - b + 1);
}

// The longest answer line read; no word of a lesson comes near it.
constexpr std::size_t kMaxAnswerLine = 4096;

enum class AnswerLine { kRead, kEnd, kTooLong };

// Reads one answer line of at most kMaxAnswerLine bytes, without its line
// end. A longer line is refused as soon as it is longer: input without line
// ends (a file of zeros, /dev/zero) would otherwise be read for ever.
AnswerLine ReadAnswerLine(std::istream& in, std::string& line) {
  line.clear();
  std::streambuf* buffer = in.rdbuf();
  for (;;) {
    const int c = buffer->sbumpc();
    if (c == std::char_traits<char>::eof()) return line.empty() ? AnswerLine::kEnd : AnswerLine::kRead;
    if (c == '\n') return AnswerLine::kRead;
    if (line.size() == kMaxAnswerLine) return AnswerLine::kTooLong;
    line += static_cast<char>(c);
  }
}

// The answer a typed line stands for: an alternative's number picks that
// alternative, anything else is the typed text.
std::string AnswerOf(const TProblem& problem, const std::string& typed) {
  if (!typed.empty() && typed.size() <= 5 && typed.find_first_not_of("0123456789") == std::string::npos) {
    const int number = std::stoi(typed);
    if (number >= 1 && number <= problem.Alternatives.Count()) return problem.Alternatives.At(number - 1)->Text();
  }
  return Utf8ToCp1252(typed);
}

int Quiz(const std::vector<std::string>& args) {
  const QuizOptions options = ParseQuizOptions(args);
  if (options.Seeded) SeedRandom(options.Seed);
  std::unique_ptr<TLesson> lesson;
  WithFile(options.FileName, [&] { lesson = TLesson::CreateFromFile(options.FileName); });
  const std::unique_ptr<TProbCollection> problems = lesson->Select(options.Flags);
  if (problems->Empty()) {
    PrintLine("No questions in this lesson for flags " + std::to_string(options.Flags) + ".");
    return kExitOk;
  }

  std::vector<ProblemPtr> pending(problems->begin(), problems->end());
  const std::size_t total = pending.size();
  std::size_t firstTime = 0;
  std::size_t later = 0;
  bool quit = false;
  bool tooLong = false;
  for (int round = 1; !pending.empty() && !quit; ++round) {
    if (round > 1) PrintLine("Again: " + std::to_string(pending.size()) + " missed.");
    std::vector<ProblemPtr> missed;
    for (std::size_t i = 0; i < pending.size(); ++i) {
      TProblem& p = *pending[i];
      if (round > 1) p.Alternate(p.Alternatives.Count());
      PrintLine("");
      PrintLine("[" + std::to_string(i + 1) + "/" + std::to_string(pending.size()) + "] " +
                TerminalText(p.Question->Text()) + "  (" + TaskOf(p, *lesson) + ")");
      for (int k = 0; k < p.Alternatives.Count(); ++k)
        PrintLine("  " + std::to_string(k + 1) + ") " + TerminalText(p.Alternatives.At(k)->Text()));
      std::cout << "> " << std::flush;
      std::string line;
      const AnswerLine read = ReadAnswerLine(std::cin, line);
      if (read != AnswerLine::kRead || TrimLine(line).empty()) {
        PrintLine("");
        if (read == AnswerLine::kTooLong) {
          Note("quiz: an answer line is longer than " + std::to_string(kMaxAnswerLine) + " bytes; the quiz ends here");
          tooLong = true;
        }
        quit = true;
        missed.insert(missed.end(), pending.begin() + static_cast<std::ptrdiff_t>(i), pending.end());
        break;
      }
      const std::string answer = AnswerOf(p, TrimLine(line));
      const bool solved = p.Solved(answer);
      std::string nearMiss;
      if (!solved) p.Neighboor(answer, 25, nearMiss);
      p.Score(options.Mode, answer);
      const std::string score = " (score " + std::to_string(p.Level) + ")";
      if (solved) {
        PrintLine("Right." + score);
        (round == 1 ? firstTime : later) += 1;
      } else {
        PrintLine((nearMiss.empty() ? std::string("Wrong.") : "Wrong - did you mean \"" + TerminalText(nearMiss) + "\"?") +
                  score);
        missed.push_back(pending[i]);
      }
    }
    pending = std::move(missed);
  }
  PrintLine("");
  PrintLine("Questions: " + std::to_string(total));
  PrintLine("Right first time: " + std::to_string(firstTime));
  PrintLine("Right later: " + std::to_string(later));
  PrintLine("Given up: " + std::to_string(pending.size()));
  return tooLong ? kExitBadFile : kExitOk;
}

}  // namespace

std::vector<Command> CombineCommands() {
  return {
      {"concat", "A B OUT", "the entries of A and then of B (same language names) as a new lesson", Concat},
      {"substitute", "A B OUT", "join A and B over their shared language: A's other language against B's", Substitute},
      {"catalog", "[--keep-going] DIR", "one summary line per lesson file in the folders below DIR", Catalog},
      {"quiz", "[--flags N] [--mode 1|2|3] [--seed S] IN",
       "ask the lesson's exercise problems in the terminal; answers from stdin", Quiz},
  };
}

}  // namespace vocatrix::cli
