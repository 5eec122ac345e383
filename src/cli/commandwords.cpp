// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commandwords.h"

#include <CLI/CLI.hpp>

#include <cstddef>
#include <optional>
#include <utility>

namespace vocatrix::cli {
namespace {

// Raised from within CLI11's parse: the word at `Index` is "--name=", which
// CLI11 reads as "--name" and so takes the next word as its value.
struct EmptyValueWritten {
  std::size_t Index;
};

bool LooksLikeOption(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

// One parse of `words` by CLI11. The options' callbacks run as each option is
// parsed (trigger_on_parse) and note how many words CLI11 had set aside by
// then (its remaining(): unknown options, operands and the "--"), which puts
// the options and the words set aside back into one sequence. CLI11 consumes
// `pending` from the back, so its size tells which words an option took.
std::vector<CommandWord> ParseOnce(const std::vector<std::string>& words, const std::vector<std::string>& flags,
                                   const std::vector<std::string>& valueOptions) {
  CLI::App app;
  app.set_help_flag();  // a command's --help is answered before its words are read
  app.allow_extras();
  std::vector<std::string> pending(words.rbegin(), words.rend());
  std::vector<std::pair<std::size_t, CommandWord>> options;
  const auto noteOption = [&](const std::string& name, bool flag) {
    return [&, name, flag](const CLI::results_t& results) {
      const std::size_t end = words.size() - pending.size();  // the words read so far
      const std::string& last = words[end - 1];
      CommandWord word{CommandWord::kFlag, name, {}};
      if (flag && last != name) {
        // CLI11 also takes "--compact=x" (and "--compact=") for the flag.
        word = {CommandWord::kUnknownOption, last, {}};
      } else if (!flag) {
        word = {CommandWord::kValue, name, results.back()};
        // A value that is the whole last word came after the option's own word.
        if (end >= 2 && word.Value == last && words[end - 2] == name + "=") throw EmptyValueWritten{end - 2};
      }
      options.emplace_back(app.remaining().size(), std::move(word));
      return true;
    };
  };
  for (const std::string& flag : flags) app.add_option(flag, noteOption(flag, true))->expected(0)->trigger_on_parse();
  for (const std::string& option : valueOptions) app.add_option(option, noteOption(option, false))->trigger_on_parse();

  std::optional<CommandWord> valueMissing;
  try {
    app.parse(pending);
  } catch (const CLI::ArgumentMismatch&) {
    // A value option that is the last word: CLI11 ran out of words for it.
    if (!pending.empty()) throw;
    const std::string& last = words.back();
    if (last.ends_with('=')) throw EmptyValueWritten{words.size() - 1};
    valueMissing = CommandWord{CommandWord::kValueMissing, last, {}};
  }

  // CLI11 sets aside, besides unknown options, words it does not take for
  // options ("-5", "---x", "-é"); before the "--" those are unknown options too.
  std::vector<CommandWord> read;
  const std::vector<std::string> setAside = app.remaining();
  std::size_t nextOption = 0;
  bool optionsEnded = false;
  for (std::size_t i = 0; i <= setAside.size(); ++i) {
    for (; nextOption < options.size() && options[nextOption].first == i; ++nextOption)
      read.push_back(std::move(options[nextOption].second));
    if (i == setAside.size()) break;
    const std::string& word = setAside[i];
    if (!optionsEnded && word == "--")
      optionsEnded = true;  // the first "--" set aside is the one that ended the options
    else
      read.push_back({!optionsEnded && LooksLikeOption(word) ? CommandWord::kUnknownOption : CommandWord::kOperand,
                      word, {}});
  }
  if (valueMissing) read.push_back(std::move(*valueMissing));
  return read;
}

}  // namespace

std::vector<CommandWord> ReadCommandWords(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                                          const std::vector<std::string>& valueOptions) {
  std::vector<std::string> words = args;
  for (;;) {
    try {
      return ParseOnce(words, flags, valueOptions);
    } catch (const EmptyValueWritten& written) {
      // "--name=" becomes "--name" and an empty word, which CLI11 reads as an
      // empty value; then the words are parsed again.
      words[written.Index].pop_back();
      words.insert(words.begin() + static_cast<std::ptrdiff_t>(written.Index) + 1, std::string());
    }
  }
}

}  // namespace vocatrix::cli
