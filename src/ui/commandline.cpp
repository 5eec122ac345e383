// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/commandline.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace vocatrix::ui {
namespace {

// Options QApplication takes out of the command line, with whether a value follows.
struct ToolkitOption {
  std::string_view Name;
  bool TakesValue;
};
constexpr std::array<ToolkitOption, 17> kToolkitOptions{{{"-platform", true},
                                                        {"-platformpluginpath", true},
                                                        {"-platformtheme", true},
                                                        {"-plugin", true},
                                                        {"-qwindowgeometry", true},
                                                        {"-qwindowicon", true},
                                                        {"-qwindowtitle", true},
                                                        {"-style", true},
                                                        {"-stylesheet", true},
                                                        {"-session", true},
                                                        {"-display", true},
                                                        {"-geometry", true},
                                                        {"-title", true},
                                                        {"-name", true},
                                                        {"-reverse", false},
                                                        {"-widgetcount", false},
                                                        {"-nograb", false}}};

const ToolkitOption* FindToolkitOption(const std::string& argument) {
  // Qt also accepts its options with two dashes and "-style=fusion".
  std::string name = argument.rfind("--", 0) == 0 ? argument.substr(1) : argument;
  const auto eq = name.find('=');
  const bool inlineValue = eq != std::string::npos;
  if (inlineValue) name.resize(eq);
  for (const ToolkitOption& option : kToolkitOptions)
    if (option.Name == name && (!inlineValue || option.TakesValue)) return &option;
  return nullptr;
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine result;
  bool options = true;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (!options || argument.size() < 2 || argument[0] != '-') {
      result.Files.push_back(argument);
      continue;
    }
    if (argument == "--") {
      options = false;
    } else if (argument == "--help" || argument == "-h") {
      result.What = CommandLine::Help;
      return result;
    } else if (argument == "--version" || argument == "-v") {
      result.What = CommandLine::Version;
      return result;
    } else if (const ToolkitOption* option = FindToolkitOption(argument)) {
      if (option->TakesValue && argument.find('=') == std::string::npos) ++i;
    } else {
      result.What = CommandLine::Refuse;
      result.Error = "unknown option '" + argument + "'";
      return result;
    }
  }
  return result;
}

std::string CommandLineUsage(const std::string& program) {
  return "Usage: " + program +
         " [options] [lesson files...]\n"
         "Opens each lesson file (.tav, .txt, .rtf) in its own window; without files the\n"
         "lessons open at the last exit are opened again.\n"
         "\n"
         "Options:\n"
         "  -h, --help     show this text and exit\n"
         "  -v, --version  show the version and exit\n"
         "  --             end of options: the arguments after it are file names\n"
         "Options of the Qt toolkit, such as -style NAME or -platform NAME, are passed on.\n";
}

}  // namespace vocatrix::ui
