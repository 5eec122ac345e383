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
// The ways of answering of the practice window, each with the scoring mode
// the exercise model gives it: choosing among the alternatives (3), typing
// the answer (2, the quiz's first way), turning a card and saying whether
// the answer was known (1).
enum class AnswerWay { kChoose, kType, kCards };

struct QuizOptions {
  std::uint8_t Flags = kAskLanguage1 | kKeepAllGroups;
  AnswerWay Way = AnswerWay::kType;
  std::uint8_t Mode = 0;  // given with --mode; else the way's own
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
  for (const CommandWord& word : ReadCommandWords(args, {}, {"--answer", "--flags", "--mode", "--seed"})) {
    const std::string& name = word.Text;
    if (word.What == CommandWord::kOperand) {
      operands.push_back(word.Text);
    } else if (word.What == CommandWord::kUnknownOption) {
      throw UsageError("unknown option '" + word.Text + "'");
    } else if (word.What == CommandWord::kValueMissing) {
      throw UsageError(name + (name == "--answer" ? " needs choose, type or cards" : " needs a number"));
    } else if (name == "--answer") {
      if (word.Value == "choose")
        options.Way = AnswerWay::kChoose;
      else if (word.Value == "type")
        options.Way = AnswerWay::kType;
      else if (word.Value == "cards")
        options.Way = AnswerWay::kCards;
      else
        throw UsageError("--answer must be choose, type or cards, got '" + word.Value + "'");
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
  if (options.Mode == 0)
    options.Mode = options.Way == AnswerWay::kChoose ? 3 : options.Way == AnswerWay::kCards ? 1 : 2;
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

// The tolerance within which a typed answer gets "Did you mean" before it counts.
constexpr std::uint8_t kNearMissTolerance = 20;

// One asking of a problem: the answer to score, or the end of the quiz.
struct Asked {
  enum { kAnswer, kGiveUp, kTooLong } What = kGiveUp;
  std::string Answer;  // a lesson string
};

class QuizAsker {
 public:
  explicit QuizAsker(AnswerWay way) : way_(way) {}

  Asked Ask(const TProblem& p) {
    if (way_ == AnswerWay::kCards) return AskCard(p);
    if (way_ == AnswerWay::kChoose) {
      for (;;) {
        std::string line;
        if (!Read(line)) return end_;
        // Only an alternative's number answers; anything else is asked again.
        if (line.size() <= 5 && line.find_first_not_of("0123456789") == std::string::npos) {
          const int number = std::stoi(line);
          if (number >= 1 && number <= p.Alternatives.Count())
            return {Asked::kAnswer, p.Alternatives.At(number - 1)->Text()};
        }
        PrintLine("Type a number from 1 to " + std::to_string(p.Alternatives.Count()) + ".");
        Prompt();
      }
    }
    std::string line;
    if (!Read(line)) return end_;
    std::string answer = AnswerOf(p, line);
    std::string nearMiss;
    if (!p.Solved(answer)) p.Neighboor(answer, kNearMissTolerance, nearMiss);
    if (!nearMiss.empty()) {
      // A slip of the keys is pointed out once; the next answer counts.
      PrintLine("Did you mean \"" + TerminalText(nearMiss) + "\"?");
      Prompt();
      if (!Read(line)) return end_;
      answer = AnswerOf(p, line);
    }
    return {Asked::kAnswer, answer};
  }

  static void Prompt() { std::cout << "> " << std::flush; }
  bool TooLong() const { return end_.What == Asked::kTooLong; }

 private:
  // A card: Enter turns it, then y or n says whether the answer was known.
  Asked AskCard(const TProblem& p) {
    std::string line;
    if (!Read(line, true)) return end_;
    std::string shown = TerminalText(p.Solution->Text());
    if (const TWordCollection* own = OwnList(*p.Solution))
      for (const PWord& w : *own)
        if (w != p.Solution) shown += ", " + TerminalText(w->Text());
    PrintLine("Answer: " + shown);
    for (;;) {
      std::cout << "Did you know it? (y/n) " << std::flush;
      if (!Read(line)) return end_;
      if (line == "y" || line == "Y") return {Asked::kAnswer, p.Solution->Text()};
      // A card not known scores as a wrong answer, with no answer given.
      if (line == "n" || line == "N") return {Asked::kAnswer, std::string()};
    }
  }

  // The next trimmed line; false at the end of the quiz (an empty line,
  // unless `emptyAnswers`, the end of the input or a line too long).
  bool Read(std::string& line, bool emptyAnswers = false) {
    const AnswerLine read = ReadAnswerLine(std::cin, line);
    line = TrimLine(line);
    if (read == AnswerLine::kRead && (emptyAnswers || !line.empty())) return true;
    PrintLine("");
    if (read == AnswerLine::kTooLong)
      Note("quiz: an answer line is longer than " + std::to_string(kMaxAnswerLine) + " bytes; the quiz ends here");
    end_.What = read == AnswerLine::kTooLong ? Asked::kTooLong : Asked::kGiveUp;
    return false;
  }

  AnswerWay way_;
  Asked end_;
};

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
  QuizAsker asker(options.Way);
  for (int round = 1; !pending.empty() && !quit; ++round) {
    if (round > 1) PrintLine("Again: " + std::to_string(pending.size()) + " missed.");
    std::vector<ProblemPtr> missed;
    for (std::size_t i = 0; i < pending.size(); ++i) {
      TProblem& p = *pending[i];
      if (round > 1) p.Alternate(p.Alternatives.Count());
      PrintLine("");
      PrintLine("[" + std::to_string(i + 1) + "/" + std::to_string(pending.size()) + "] " +
                TerminalText(p.Question->Text()) + "  (" + TaskOf(p, *lesson) + ")");
      if (options.Way != AnswerWay::kCards)
        for (int k = 0; k < p.Alternatives.Count(); ++k)
          PrintLine("  " + std::to_string(k + 1) + ") " + TerminalText(p.Alternatives.At(k)->Text()));
      if (options.Way == AnswerWay::kCards)
        std::cout << "(Enter shows the answer) " << std::flush;
      else
        QuizAsker::Prompt();
      const Asked asked = asker.Ask(p);
      if (asked.What != Asked::kAnswer) {
        quit = true;
        missed.insert(missed.end(), pending.begin() + static_cast<std::ptrdiff_t>(i), pending.end());
        break;
      }
      const bool solved = p.Solved(asked.Answer);
      p.Score(options.Mode, asked.Answer);
      const std::string score = " (score " + std::to_string(p.Level) + ")";
      if (solved) {
        PrintLine("Right." + score);
        (round == 1 ? firstTime : later) += 1;
      } else {
        PrintLine("Wrong: " + TerminalText(p.Solution->Text()) + "." + score);
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
  return asker.TooLong() ? kExitBadFile : kExitOk;
}

}  // namespace

std::vector<Command> CombineCommands() {
  return {
      {"concat", "A B OUT", "the entries of A and then of B (same language names) as a new lesson", Concat},
      {"substitute", "A B OUT", "join A and B over their shared language: A's other language against B's", Substitute},
      {"catalog", "[--keep-going] DIR", "one summary line per lesson file in the folders below DIR", Catalog},
      {"quiz", "[--answer choose|type|cards] [--flags N] [--mode 1|2|3] [--seed S] IN",
       "ask the lesson's exercise problems in the terminal; answers from stdin", Quiz},
  };
}

}  // namespace vocatrix::cli
