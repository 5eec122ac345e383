// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The hard, medium and easy groups of problems in Level order: the cuts at
// the level changes of the middle bands. `level(i)` gives the level of the
// problem at index i of n, so a collection and a plain array of levels are
// split by the same code.

namespace vocatrix {

// The problems before the lowest level change at or above index n div 3 and
// at most n div 2, or, when there is none, before the highest change below.
template <class LevelAt>
int HardGroup(int n, LevelAt level) {
  int h = 0;
  int stoppedAt = -1;
  for (int i = n / 2; i >= 1; --i) {
    if (level(i) != level(i - 1)) {
      if (i < n / 3) {
        stoppedAt = i;
        break;
      }
      h = i;
    }
  }
  if (h == 0 && stoppedAt > 0) h = stoppedAt;
  return h;
}

// The problems from the highest level change at or below index 2n div 3 to
// the end, or, when there is none, from the lowest change above it.
template <class LevelAt>
int EasyGroup(int n, LevelAt level) {
  int e = n;
  int stoppedAt = -1;
  for (int i = n / 2; i <= n - 2; ++i) {
    if (level(i + 1) != level(i)) {
      if (i > (2 * n) / 3) {
        stoppedAt = i;
        break;
      }
      e = i + 1;
    }
  }
  if (e == n && stoppedAt >= 0 && stoppedAt < n - 1) e = stoppedAt + 1;
  return n - e;
}

// The rest, but none when no level changes at all.
inline int MediumGroup(int n, int hard, int easy) {
  const int m = n - hard - easy;
  return m == n ? 0 : m;
}

}  // namespace vocatrix
