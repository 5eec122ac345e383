// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Windows-1252 lesson strings and their conversion to and from Unicode.
// Lesson strings inside the core are std::string holding Windows-1252 bytes;
// these functions are the only place where they turn into UTF-8 or code points.

#include <cstddef>
#include <string>
#include <string_view>

namespace vocatrix {

// The Unicode code point of a Windows-1252 byte. The five codes Windows-1252
// leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the
// same value, so every byte survives a round trip.
char32_t Cp1252ToCodePoint(unsigned char byte);

// The Windows-1252 byte of a code point, or -1 when Windows-1252 cannot hold it.
int CodePointToCp1252(char32_t codePoint);

// Windows-1252 bytes to UTF-8.
std::string Cp1252ToUtf8(std::string_view text);

// UTF-8 to Windows-1252. Characters Windows-1252 cannot hold, and malformed
// UTF-8 sequences, become "?"; `replaced` (when given) receives their number.
std::string Utf8ToCp1252(std::string_view utf8, std::size_t* replaced = nullptr);

// Windows-1252 to UTF-32 and back (the latter with "?" replacement as above).
std::u32string Cp1252ToUtf32(std::string_view text);
std::string Utf32ToCp1252(std::u32string_view text, std::size_t* replaced = nullptr);

// Appends the UTF-8 form of one code point.
void AppendUtf8(std::string& out, char32_t codePoint);

// Decodes the UTF-8 sequence at `i` into `codePoint` and moves past it;
// false (moving one byte on) for a malformed, overlong or surrogate sequence.
bool NextUtf8(std::string_view utf8, std::size_t& i, char32_t& codePoint);

// True when the bytes are well-formed UTF-8 (plain ASCII included).
bool IsUtf8(std::string_view bytes);

// True when the bytes are well-formed UTF-8 and contain at least one
// multi-byte sequence (plain ASCII is not "UTF-8" for this purpose).
bool LooksLikeUtf8(std::string_view bytes);

// Lower case of a Windows-1252 text by the ANSI rules: A-Z, the accented
// capitals 0xC0-0xDE (without 0xD7), and Š, Œ, Ž, Ÿ.
std::string AnsiLowerCase(std::string_view text);

// Comparison without regard to the case of A to Z only (language names in
// lesson text, ini section and key names). Negative, zero or positive.
int CompareAsciiCaseless(std::string_view a, std::string_view b);
bool SameTextAsciiCaseless(std::string_view a, std::string_view b);

}  // namespace vocatrix
