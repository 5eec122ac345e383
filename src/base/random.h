// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one pseudo-random source of the lesson core.
//
// Every random draw of the exercise model goes through it, so seeding it once
// makes a whole selection reproducible (tests, the command line's --seed).
// It is seeded from the clock until someone seeds it explicitly.

#include <cstdint>
#include <random>

namespace vocatrix {

class TRandom {
 public:
  TRandom();  // seeded from the clock

  void Seed(std::uint64_t seed);
  void SeedFromClock();

  // A uniform integer r with 0 <= r < count; 0 when count <= 0. The mapping
  // from generator output to the range is our own (not the standard
  // distributions, whose results differ between libraries), so a seed gives
  // the same draws everywhere.
  int Below(int count) {
    if (count <= 0) return 0;
    const std::uint64_t range = static_cast<std::uint64_t>(count);
    std::uint64_t x = engine_();
    // Rejection sampling keeps the draw exactly uniform: values from the
    // incomplete last block of `range` are drawn again. That block lies
    // within the top `range` values, so only those need the division.
    while (x > UINT64_MAX - range && x >= UINT64_MAX - UINT64_MAX % range) x = engine_();
    return static_cast<int>(x % range);
  }

 private:
  std::mt19937_64 engine_;
};

// The core's shared source.
TRandom& RandomSource();

// Shorthands for RandomSource().
void SeedRandom(std::uint64_t seed);
int Random(int count);

}  // namespace vocatrix
