// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Small Hunspell dictionaries written to a folder, so that the spelling
// tests do not depend on the dictionaries a machine has installed.

#include <string>
#include <vector>

#include "test_util.h"

namespace vocatrix::test {

// Writes NAME.aff (declaring `encoding`, with the TRY characters for
// suggestions when given) and NAME.dic holding `words`, whose bytes are
// already in that encoding.
inline void WriteDictionary(const std::string& folder, const std::string& name, const std::string& encoding,
                            const std::vector<std::string>& words, const std::string& tryCharacters = {}) {
  std::string aff = "SET " + encoding + "\n";
  if (!tryCharacters.empty()) aff += "TRY " + tryCharacters + "\n";
  WriteFile(folder + "/" + name + ".aff", aff);
  std::string dic = std::to_string(words.size()) + "\n";
  for (const std::string& word : words) dic += word + "\n";
  WriteFile(folder + "/" + name + ".dic", dic);
}

}  // namespace vocatrix::test
