// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The words of a command (or the program's first word) read with CLI11 into
// options, unknown options and operands, in the order they were given.

#include <string>
#include <vector>

namespace vocatrix::cli {

struct CommandWord {
  enum Kind {
    kFlag,           // a flag, given as its whole word ("--compact")
    kValue,          // a value option with its value
    kUnknownOption,  // a word that starts with "-" and is no option given
    kOperand,
    kValueMissing,   // a value option that is the last word
  };
  Kind What;
  // The option's name, or the word itself for kUnknownOption and kOperand.
  std::string Text;
  std::string Value;  // of a kValue
};

// Reads `args`. A value option takes the next word whatever it is
// ("--seed 7", "--seed --") or its own ("--seed=7"; "--seed=" gives an empty
// value). A flag written with a value ("--compact=1") is an unknown option,
// as is any other word of two or more characters that starts with "-". A
// lone "--" ends the options: every word after it is an operand.
std::vector<CommandWord> ReadCommandWords(const std::vector<std::string>& args, const std::vector<std::string>& flags,
                                          const std::vector<std::string>& valueOptions);

}  // namespace vocatrix::cli
