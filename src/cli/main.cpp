// SPDX-License-Identifier: GPL-3.0-or-later
// vocatrix-cli: batch work on lessons with the lesson core only.

#include <string>
#include <utility>
#include <vector>

#include "base/safesave.h"
#include "cli/clicommon.h"

int main(int argc, char** argv) {
  using namespace vocatrix::cli;
  vocatrix::TreatFileSizeLimitAsWriteError();
  // Each command file contributes its list here.
  std::vector<Command> commands = LessonCommands();
  for (Command& c : CombineCommands()) commands.push_back(std::move(c));
  for (Command& c : SpellCommands()) commands.push_back(std::move(c));
  for (Command& c : CheckCommands()) commands.push_back(std::move(c));

  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  return RunCommandLine(args, commands);
}
