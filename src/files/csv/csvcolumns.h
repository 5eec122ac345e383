// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the names of a table's columns say: the role a name gives its column
// and whether a first row names columns rather than holding words. Names are
// Windows-1252 and compared without regard to case.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "files/csv/csvoptions.h"

namespace vocatrix {

// The role of a column named after one, in English or German ("Form" and
// "Wortart" the form, "Front" and "Back" Anki's word and translation);
// Ignore for Anki's own fields (tags, note ids, decks) and numbers; none for
// any other name, a language's too.
std::optional<ColumnRole> RoleOfColumnName(std::string_view name);

// Whether a first row names the columns: more than half of its fields that
// are not blank name a role (above) or a language of the table of language
// names.
bool NamesColumns(const std::vector<std::string>& fields);

// The roles of columns by their names (fewer names than columns: the rest
// are unnamed); `ignored` are Anki's own columns. Columns of no known role
// take the word, then the translations, then are not read.
std::vector<ColumnRole> RolesOfColumns(const std::vector<std::string>& names, std::size_t columns,
                                       const std::vector<std::size_t>& ignored);

}  // namespace vocatrix
