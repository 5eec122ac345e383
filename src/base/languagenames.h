// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The languages a lesson may name: one table of their usual names in
// English, German and the language itself (as far as Windows-1252 writes
// them, else as people write them without the accents it lacks), the locale
// KDE's programs know each by, and the spelling dictionaries that check it.
// KVTML's locales and the choice of dictionaries both read it.

#include <string>
#include <string_view>
#include <vector>

namespace vocatrix {

struct LanguageRow {
  // The locale's language code ("de"); regional rows share their language's.
  std::string_view Locale;
  // Windows-1252, separated by "|"; the first is the name a lesson gets for
  // the locale (regional rows are never that row).
  std::string_view Names;
  // Hunspell dictionary names separated by blanks, most wanted first.
  std::string_view Dictionaries;
};

// The row of a language name, compared after trimming blanks and without
// regard to case; null for a name the table does not know.
const LanguageRow* FindLanguage(std::string_view name);
// The first row of a locale's language ("de_CH", "pt-BR" and "sr@latin" are
// their language's); null when the table has none.
const LanguageRow* FindLocale(std::string_view locale);
// The name a lesson gets for the row's locale.
std::string LocaleLanguageName(const LanguageRow& row);
// The row's dictionaries, most wanted first.
std::vector<std::string> RowDictionaries(const LanguageRow& row);

}  // namespace vocatrix
