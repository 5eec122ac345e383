// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The three text comparisons of the lesson model:
//  - CompareCollated: the user-locale, case-sensitive comparison (word lists,
//    word keys). It uses ICU's collation for the locale of the environment
//    (LC_ALL, LC_COLLATE, LANG) and code-point order under "C" and "POSIX".
//    Ties are broken by code point, so only identical texts compare equal.
//  - CompareBytes: byte for byte (text search in an entry, exercise answers,
//    language names in combining).
//  - SameTextAsciiCaseless / CompareAsciiCaseless: without regard to the case
//    of A to Z (language names in lesson text).

#include "base/cp1252.h"  // CompareAsciiCaseless, SameTextAsciiCaseless

#include <locale>
#include <string>
#include <string_view>

namespace vocatrix {

// Chooses the collation: the user's locale by default. Tests may pass
// another locale; a locale whose collation is plain code-point order ("C",
// "POSIX", "C.UTF-8") selects the fast path. The name form ("de_DE.UTF-8")
// needs no C library locale of that name.
void SetCollationLocale(const std::locale& locale);
void SetCollationLocale(std::string_view localeName);
bool CollationUsesLocale();
// Grows each time the collation changes, so cached keys can tell they are stale.
unsigned CollationGeneration();

// A sort key for the current collation: bytes whose order (CompareCollationKeys,
// or any byte-wise comparison) is the order of CompareCollated on the texts.
// Distinct texts have distinct keys.
std::string MakeCollationKey(std::string_view cp1252);
int CompareCollationKeys(const std::string& a, const std::string& b);

// Negative, zero or positive.
int CompareCollated(std::string_view a, std::string_view b);
// Code-point order of the Unicode characters of two Windows-1252 texts.
int CompareCodePoints(std::string_view a, std::string_view b);
int CompareBytes(std::string_view a, std::string_view b);

}  // namespace vocatrix
