// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A lesson side's language: its name, display font and grammar tables.

#include <string>
#include <vector>

#include "base/font.h"

namespace vocatrix {

// Names of the grammatical forms; position = form code.
struct TWordForms {
  std::vector<std::string> Names{"v.", "s.", "adj.", "adv.", "other"};
  bool Setting1 = true;
  bool Setting2 = true;
  bool operator==(const TWordForms&) const = default;
};

struct TArticles {
  std::vector<std::string> Names{"the"};
  bool Setting = false;
  bool operator==(const TArticles&) const = default;
};

struct TLanguage {
  TLanguage() = default;
  explicit TLanguage(std::string name) : Name(std::move(name)) {}

  std::string Name;
  TFont Font = DefaultFont();
  TWordForms WordForms;
  TArticles Articles;
  bool operator==(const TLanguage&) const = default;
};

// The form names of the lesson model, by form code.
const std::vector<std::string>& FormNames();

}  // namespace vocatrix
