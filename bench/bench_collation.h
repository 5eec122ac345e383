// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Chooses the text collation for a benchmark run: code-point order, or the
// German locale's collation when `german` is set and the locale exists.

#include <benchmark/benchmark.h>

#include <locale>

#include "model/textcompare.h"

namespace vocatrix::bench {

// False (and the run marked as skipped) when the German locale is missing.
inline bool UseCollation(benchmark::State& state, bool german) {
  if (!german) {
    SetCollationLocale(std::locale::classic());
    return true;
  }
  try {
    SetCollationLocale(std::locale("de_DE.UTF-8"));
    return true;
  } catch (const std::exception&) {
    state.SkipWithError("de_DE.UTF-8 is not installed");
    return false;
  }
}

}  // namespace vocatrix::bench
