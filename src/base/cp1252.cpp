// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/cp1252.h"

#include <algorithm>
#include <array>

namespace vocatrix {
namespace {

constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

}  // namespace

char32_t Cp1252ToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return kHighControls[byte - 0x80];
  return byte;
}

int CodePointToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (std::size_t i = 0; i < kHighControls.size(); ++i)
    if (kHighControls[i] == cp) return static_cast<int>(0x80 + i);
  return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string Cp1252ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 4);
  for (unsigned char c : text) AppendUtf8(out, Cp1252ToCodePoint(c));
  return out;
}

bool NextUtf8(std::string_view s, std::size_t& i, char32_t& cp) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  int len;
  char32_t min;
  if (c < 0x80) {
    cp = c;
    ++i;
    return true;
  } else if ((c & 0xE0) == 0xC0) {
    len = 2, cp = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3, cp = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4, cp = c & 0x07, min = 0x10000;
  } else {
    ++i;
    return false;
  }
  if (i + len > s.size()) {
    ++i;
    return false;
  }
  for (int k = 1; k < len; ++k) {
    const unsigned char cc = static_cast<unsigned char>(s[i + k]);
    if ((cc & 0xC0) != 0x80) {
      ++i;
      return false;
    }
    cp = (cp << 6) | (cc & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++i;
    return false;
  }
  i += len;
  return true;
}

namespace {

// Appends the Windows-1252 byte of a code point, or "?" (counted) when it has none.
void AppendCp1252(std::string& out, char32_t cp, std::size_t& replaced) {
  const int b = CodePointToCp1252(cp);
  if (b < 0) {
    out += '?';
    ++replaced;
  } else {
    out += static_cast<char>(b);
  }
}

}  // namespace

std::string Utf8ToCp1252(std::string_view utf8, std::size_t* replaced) {
  std::string out;
  out.reserve(utf8.size());
  std::size_t count = 0;
  std::size_t i = 0;
  while (i < utf8.size()) {
    char32_t cp;
    if (!NextUtf8(utf8, i, cp)) {
      out += '?';
      ++count;
      continue;
    }
    AppendCp1252(out, cp, count);
  }
  if (replaced) *replaced = count;
  return out;
}

std::u32string Cp1252ToUtf32(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (unsigned char c : text) out += Cp1252ToCodePoint(c);
  return out;
}

std::string Utf32ToCp1252(std::u32string_view text, std::size_t* replaced) {
  std::string out;
  out.reserve(text.size());
  std::size_t count = 0;
  for (char32_t cp : text) AppendCp1252(out, cp, count);
  if (replaced) *replaced = count;
  return out;
}

bool IsUtf8(std::string_view bytes) {
  std::size_t i = 0;
  char32_t cp;
  while (i < bytes.size()) {
    // Runs of ASCII, the bulk of most files, need no decoding.
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    if (!NextUtf8(bytes, i, cp)) return false;
  }
  return true;
}

bool LooksLikeUtf8(std::string_view bytes) {
  bool multiByte = false;
  std::size_t i = 0;
  while (i < bytes.size()) {
    const std::size_t start = i;
    char32_t cp;
    if (!NextUtf8(bytes, i, cp)) return false;
    if (i - start > 1) multiByte = true;
  }
  return multiByte;
}

std::string AnsiLowerCase(std::string_view text) {
  std::string out(text);
  for (char& ch : out) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'A' && c <= 'Z') ch = static_cast<char>(c + 32);
    else if (c >= 0xC0 && c <= 0xDE && c != 0xD7) ch = static_cast<char>(c + 32);
    else if (c == 0x8A || c == 0x8C || c == 0x8E) ch = static_cast<char>(c + 16);
    else if (c == 0x9F) ch = static_cast<char>(0xFF);
  }
  return out;
}

namespace {
unsigned char AsciiUpper(unsigned char c) { return (c >= 'a' && c <= 'z') ? c - 32 : c; }
}  // namespace

int CompareAsciiCaseless(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const unsigned char ca = AsciiUpper(static_cast<unsigned char>(a[i]));
    const unsigned char cb = AsciiUpper(static_cast<unsigned char>(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool SameTextAsciiCaseless(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareAsciiCaseless(a, b) == 0;
}

}  // namespace vocatrix
