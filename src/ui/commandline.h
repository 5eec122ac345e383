// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editor's command line: lesson files to open, "--help", "--version",
// and "--" before file names that begin with "-". Options of the Qt toolkit
// itself ("-style fusion", "-platform xcb" ...) pass through to it.

#include <string>
#include <vector>

namespace vocatrix::ui {

struct CommandLine {
  enum Action { Run, Help, Version, Refuse };
  Action What = Run;
  std::vector<std::string> Files;
  std::string Error;  // for Refuse: what was wrong
};

// `arguments` without the program name.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The usage text, ending in a newline.
std::string CommandLineUsage(const std::string& program);

}  // namespace vocatrix::ui
