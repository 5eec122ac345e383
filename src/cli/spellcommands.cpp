// SPDX-License-Identifier: GPL-3.0-or-later
// Spell checking of lessons: spell.

#include <deque>
#include <optional>
#include <set>

#include "base/inifile.h"
#include "base/settings.h"
#include "cli/clicommon.h"
#include "spelling/spellcheck.h"

namespace vocatrix::cli {
namespace {

// The dictionary an option names, or none when the option is not given.
std::optional<DictionaryFiles> NamedDictionary(const DictionaryChooser& chooser, const Arguments& a,
                                               const std::string& option) {
  const std::string value = a.Value(option);
  if (value.empty()) return std::nullopt;
  std::optional<DictionaryFiles> files = chooser.Find(value);
  if (files) return files;
  std::string folders;
  for (const std::string& folder : chooser.Folders()) folders += (folders.empty() ? "" : ", ") + folder;
  throw FileFailure(value, option + ": no dictionary '" + value + "' (NAME.aff and NAME.dic) in " + folders);
}

// Lessons are read as the editor opens them (compacted), so that the entry
// numbers are the ones the editor shows.
int Spell(const std::vector<std::string>& args) {
  const Arguments a(args, {}, Arguments::kOneOrMore, {"--dict1", "--dict2"});
  DictionaryChooser chooser;
  chooser.ReadSettings(IniFile(ProgramSettingsFile()));
  const std::optional<DictionaryFiles> named[2] = {NamedDictionary(chooser, a, "--dict1"),
                                                   NamedDictionary(chooser, a, "--dict2")};
  const bool several = a.Operands().size() > 1;
  bool found = false;
  bool failed = false;
  std::set<std::string> noted;
  // Kept for the whole batch: each dictionary is loaded once.
  std::deque<TLessonSpeller> spellers;
  for (const std::string& fileName : a.Operands()) {
    try {
      ReadChoices read;
      read.Compact = true;  // as the editor opens it, so that entry numbers agree
      const auto lesson = ReadLesson(fileName, read);
      const std::string* names[2] = {&lesson->Language1.Name, &lesson->Language2.Name};
      DictionaryChoice choices[2];
      for (int i = 0; i < 2; ++i)
        choices[i] = named[i] ? DictionaryChoice{*names[i], named[i], false} : chooser.Choose(*names[i]);
      const TLessonSpeller& speller = spellers.emplace_back(choices[0], choices[1]);
      // Each language without a dictionary is named once in a batch.
      for (int language = 1; language <= 2; ++language)
        if (const std::string& problem = speller.Problem(language); !problem.empty() && noted.insert(problem).second)
          Note(problem);
      for (const UnknownWord& word : CheckLessonSpelling(*lesson, speller)) {
        PrintLine((several ? fileName + ": " : std::string()) + TerminalText(UnknownWordLine(word)));
        found = true;
      }
    } catch (const FileFailure& e) {
      ReportFailure(e);
      failed = true;
    }
  }
  return found || failed ? kExitBadFile : kExitOk;
}

}  // namespace

std::vector<Command> SpellCommands() {
  return {
      {"spell", "[--dict1 NAME] [--dict2 NAME] IN...",
       "print each misspelt word as 'entry N, language K: word'; --dict1 and --dict2 name the "
       "dictionaries of language 1 and 2",
       Spell},
  };
}

}  // namespace vocatrix::cli
