#pragma once
// The three text comparisons of the lesson model:
//  - CompareCollated: the user-locale, case-sensitive comparison (word lists,
//    word keys). It uses the collation of std::locale("") on the Unicode text
//    and falls back to code-point order when no locale is set or available.
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
// "POSIX", "C.UTF-8") selects the fast path.
void SetCollationLocale(const std::locale& locale);
bool CollationUsesLocale();
// Grows each time the collation changes, so cached keys can tell they are stale.
unsigned CollationGeneration();

// A sort key for the current collation; comparing two keys with
// CompareCollationKeys gives the same order as CompareCollated on the texts.
std::wstring MakeCollationKey(std::string_view cp1252);
int CompareCollationKeys(const std::wstring& a, const std::wstring& b);

// Negative, zero or positive.
int CompareCollated(std::string_view a, std::string_view b);
// Code-point order of the Unicode characters of two Windows-1252 texts.
int CompareCodePoints(std::string_view a, std::string_view b);
int CompareBytes(std::string_view a, std::string_view b);

}  // namespace vocatrix
