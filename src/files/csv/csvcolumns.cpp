// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/csv/csvcolumns.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/cp1252.h"
#include "base/languagenames.h"

namespace vocatrix {
namespace {

// Lower-case names (Windows-1252; hex escapes stand alone) and their roles.
constexpr std::array<std::pair<std::string_view, ColumnRole>, 44> kNames{{
    {"word", ColumnRole::Word},
    {"words", ColumnRole::Word},
    {"wort", ColumnRole::Word},
    {"w\xF6" "rter", ColumnRole::Word},
    {"front", ColumnRole::Word},
    {"vorderseite", ColumnRole::Word},
    {"synonym", ColumnRole::Synonyms},
    {"synonyms", ColumnRole::Synonyms},
    {"synonyme", ColumnRole::Synonyms},
    {"translation", ColumnRole::Translations},
    {"translations", ColumnRole::Translations},
    {"\xFC" "bersetzung", ColumnRole::Translations},
    {"\xFC" "bersetzungen", ColumnRole::Translations},
    {"back", ColumnRole::Translations},
    {"r\xFC" "ckseite", ColumnRole::Translations},
    {"meaning", ColumnRole::Translations},
    {"bedeutung", ColumnRole::Translations},
    {"antonym", ColumnRole::Antonyms},
    {"antonyms", ColumnRole::Antonyms},
    {"antonyme", ColumnRole::Antonyms},
    {"antonym translation", ColumnRole::AntonymTranslations},
    {"antonym translations", ColumnRole::AntonymTranslations},
    {"antonym-\xFC" "bersetzung", ColumnRole::AntonymTranslations},
    {"antonym-\xFC" "bersetzungen", ColumnRole::AntonymTranslations},
    {"form", ColumnRole::Form},
    {"forms", ColumnRole::Form},
    {"wortart", ColumnRole::Form},
    {"part of speech", ColumnRole::Form},
    {"tags", ColumnRole::Ignore},
    {"tag", ColumnRole::Ignore},
    {"guid", ColumnRole::Ignore},
    {"notetype", ColumnRole::Ignore},
    {"note type", ColumnRole::Ignore},
    {"deck", ColumnRole::Ignore},
    {"stapel", ColumnRole::Ignore},
    {"schlagw\xF6" "rter", ColumnRole::Ignore},
    {"id", ColumnRole::Ignore},
    {"nr", ColumnRole::Ignore},
    {"nr.", ColumnRole::Ignore},
    {"no.", ColumnRole::Ignore},
    {"number", ColumnRole::Ignore},
    {"nummer", ColumnRole::Ignore},
    {"#", ColumnRole::Ignore},
    {"notes", ColumnRole::Ignore},
}};

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<ColumnRole> RoleOfColumnName(std::string_view name) {
  const std::string lower = AnsiLowerCase(Trimmed(name));
  for (const auto& [known, role] : kNames)
    if (known == lower) return role;
  return std::nullopt;
}

bool NamesColumns(const std::vector<std::string>& fields) {
  int filled = 0;
  int names = 0;
  for (const std::string& field : fields) {
    if (Trimmed(field).empty()) continue;
    ++filled;
    if (RoleOfColumnName(field) || FindLanguage(field)) ++names;
  }
  return names * 2 > filled;
}

std::vector<ColumnRole> RolesOfColumns(const std::vector<std::string>& names, std::size_t columns,
                                       const std::vector<std::size_t>& ignored) {
  std::vector<ColumnRole> roles(columns, ColumnRole::Ignore);
  std::vector<std::size_t> open;
  bool word = false;
  bool translations = false;
  for (std::size_t c = 0; c < columns; ++c) {
    if (std::find(ignored.begin(), ignored.end(), c) != ignored.end()) continue;
    const std::optional<ColumnRole> role = c < names.size() ? RoleOfColumnName(names[c]) : std::nullopt;
    if (!role) {
      open.push_back(c);
      continue;
    }
    roles[c] = *role;
    word = word || *role == ColumnRole::Word;
    translations = translations || *role == ColumnRole::Translations;
  }
  for (const std::size_t c : open) {
    if (!word) roles[c] = ColumnRole::Word, word = true;
    else if (!translations) roles[c] = ColumnRole::Translations, translations = true;
  }
  return roles;
}

}  // namespace vocatrix
