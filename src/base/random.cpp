// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/random.h"

#include <chrono>

namespace vocatrix {

TRandom::TRandom() { SeedFromClock(); }

void TRandom::Seed(std::uint64_t seed) { engine_.seed(seed); }

void TRandom::SeedFromClock() {
  const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  engine_.seed(static_cast<std::uint64_t>(now));
}

TRandom& RandomSource() {
  static TRandom source;
  return source;
}

void SeedRandom(std::uint64_t seed) { RandomSource().Seed(seed); }

int Random(int count) { return RandomSource().Below(count); }

}  // namespace vocatrix
