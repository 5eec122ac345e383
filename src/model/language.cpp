// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/language.h"

namespace vocatrix {

const std::vector<std::string>& FormNames() {
  static const std::vector<std::string> names = TWordForms().Names;
  return names;
}

}  // namespace vocatrix
