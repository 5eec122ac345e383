// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The Windows code pages that RTF documents name (\ansicpg, \fcharset, \cpg),
// as tables into Windows-1252 lesson bytes. Used by the RTF reader only.

#include <array>
#include <cstdint>
#include <vector>

namespace vocatrix::rtf {

// How the bytes of one code page become Windows-1252 bytes. A value of -1
// means Windows-1252 cannot hold the character (the reader writes "?").
struct CodePageTable {
  int CodePage = 0;
  std::array<std::int16_t, 256> Single{};
  std::array<bool, 256> Lead{};       // first byte of a double-byte character
  std::vector<std::int16_t> Pairs;    // lead * 256 + trail; empty for single-byte pages
  // The Unicode characters of the bytes and pairs (0: none), to name what a
  // "?" stands for.
  std::array<char32_t, 256> SingleCodePoint{};
  std::vector<char32_t> PairCodePoints;

  int Pair(unsigned char lead, unsigned char trail) const {
    return Pairs.empty() ? -1 : Pairs[lead * 256u + trail];
  }
  char32_t PairCodePoint(unsigned char lead, unsigned char trail) const {
    return PairCodePoints.empty() ? 0 : PairCodePoints[lead * 256u + trail];
  }
};

// The table of a code page, built once through the C library's converters and
// kept for the rest of the run. nullptr for Windows-1252 itself, for code
// pages the system cannot convert, and for nonsense numbers: the caller then
// takes the bytes as Windows-1252 bytes.
const CodePageTable* CodePageTableFor(int codePage);

// The code page that a font's \fcharset implies, or 0 when the character set
// implies none (default and symbol sets, unknown numbers).
int CodePageOfCharset(int charset);

}  // namespace vocatrix::rtf
