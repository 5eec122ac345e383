#include "operations/random.h"

#include <chrono>

namespace vocatrix {

TRandom::TRandom() { SeedFromClock(); }

void TRandom::Seed(std::uint64_t seed) { engine_.seed(seed); }

void TRandom::SeedFromClock() {
  const auto now = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  engine_.seed(static_cast<std::uint64_t>(now));
}

int TRandom::Below(int count) {
  if (count <= 0) return 0;
  const std::uint64_t range = static_cast<std::uint64_t>(count);
  // Rejection sampling keeps the draw exactly uniform: values from the
  // incomplete last block of `range` are thrown away.
  const std::uint64_t limit = UINT64_MAX - UINT64_MAX % range;
  std::uint64_t x;
  do {
    x = engine_();
  } while (x >= limit);
  return static_cast<int>(x % range);
}

TRandom& RandomSource() {
  static TRandom source;
  return source;
}

void SeedRandom(std::uint64_t seed) { RandomSource().Seed(seed); }

int Random(int count) { return RandomSource().Below(count); }

}  // namespace vocatrix
