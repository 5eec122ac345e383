// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which spelling dictionary checks a lesson language: Hunspell dictionaries
// (a NAME.aff and a NAME.dic file, such as de_DE) found in the system's
// dictionary folders, chosen by the language's name through one table of
// the usual names in English, German and the language itself, unless the
// settings name another one.
//
// Settings: section "Dictionaries" of the program settings file, one key per
// language name (matched without regard to case), for example
//   [Dictionaries]
//   Deutsch=de_AT
//   Klingon=/home/me/dict/tlh.dic
//   Latein=none
// The value is a dictionary name looked for in the dictionary folders, or
// the path of its .dic (or .aff) file (a relative one from the settings
// file's folder), or "none", which leaves the language unchecked.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vocatrix {

class IniFile;

inline constexpr const char* kDictionariesSection = "Dictionaries";

// The two files of a dictionary, as file-system paths, and its name (the
// file name without the extension).
struct DictionaryFiles {
  std::string Name;
  std::string Aff;
  std::string Dic;
  bool operator==(const DictionaryFiles&) const = default;
};

// The dictionary a language gets.
struct DictionaryChoice {
  std::string Language;                  // the language name (Windows-1252)
  std::optional<DictionaryFiles> Files;  // none: the language is not checked
  bool Off = false;                      // the settings say "none"
};

// The folders searched, in this order: those of $DICPATH (separated by ":",
// as the hunspell program takes them), $XDG_DATA_HOME/hunspell
// (~/.local/share/hunspell), hunspell/ in each folder of $XDG_DATA_DIRS
// (/usr/local/share and /usr/share), /usr/share/myspell/dicts and
// /usr/share/myspell.
std::vector<std::string> DictionaryFolders();

// The dictionary names the table gives a language name (compared after
// trimming and without regard to case), most wanted first; empty for a name
// the table does not know.
std::vector<std::string> TableDictionaries(std::string_view languageName);

class DictionaryChooser {
 public:
  explicit DictionaryChooser(std::vector<std::string> folders = DictionaryFolders());

  // Takes the "Dictionaries" section of a settings file as the overrides.
  void ReadSettings(const IniFile& settings);
  // Overrides as "language=value" lines; relative paths start from `folder`.
  void SetOverrides(const std::vector<std::string>& lines, const std::string& folder);

  // The dictionary of a language name: the override when the settings have
  // one; else the first installed of the table's dictionaries, then a
  // dictionary of the same language in another region (en_GB for en_US when
  // only that is installed); else the name itself when it names an installed
  // dictionary ("en_GB", "de-CH").
  DictionaryChoice Choose(const std::string& languageName) const;

  // A dictionary by name (looked for in the folders) or by the path of its
  // .dic or .aff file (a relative one from `folder`, else from the working
  // folder); none when its two files are not both there.
  std::optional<DictionaryFiles> Find(std::string_view nameOrPath, const std::string& folder = {}) const;

  // The names of the dictionaries in the folders, sorted, each once.
  std::vector<std::string> Installed() const;

  const std::vector<std::string>& Folders() const { return folders_; }

 private:
  std::optional<DictionaryFiles> FindByName(std::string_view name) const;

  std::vector<std::string> folders_;
  struct Override {
    std::string Language;  // lower case
    std::string Value;
  };
  std::vector<Override> overrides_;
  std::string overrideFolder_;
};

}  // namespace vocatrix
