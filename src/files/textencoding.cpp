// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/textencoding.h"

#include <algorithm>
#include <array>

#include "base/cp1252.h"

namespace vocatrix {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
constexpr std::string_view kUtf16BeBom = "\xFE\xFF";

// UTF-16 without a byte-order mark, told by its NUL bytes: text of Latin
// letters has a zero in every other byte, which no 8-bit text has. Returns
// the encoding, or Automatic when the data does not look like UTF-16.
TextEncoding Utf16ByNulBytes(std::string_view data) {
  const std::size_t n = std::min<std::size_t>(data.size(), 4096) & ~std::size_t{1};
  if (n < 4) return TextEncoding::Automatic;
  std::size_t evenZeros = 0, oddZeros = 0;
  for (std::size_t i = 0; i < n; i += 2) {
    evenZeros += data[i] == '\0';
    oddZeros += data[i + 1] == '\0';
  }
  const std::size_t pairs = n / 2;
  if (oddZeros * 2 >= pairs && evenZeros * 8 < pairs) return TextEncoding::Utf16LE;
  if (evenZeros * 2 >= pairs && oddZeros * 8 < pairs) return TextEncoding::Utf16BE;
  return TextEncoding::Automatic;
}

constexpr std::array<std::pair<TextEncoding, std::string_view>, 11> kEncodingNames{{
    {TextEncoding::Utf8, "utf-8"},
    {TextEncoding::Utf16LE, "utf-16le"},
    {TextEncoding::Utf16BE, "utf-16be"},
    {TextEncoding::Windows1252, "windows-1252"},
    {TextEncoding::Utf8, "utf8"},
    {TextEncoding::Utf16LE, "utf-16"},
    {TextEncoding::Utf16LE, "utf16le"},
    {TextEncoding::Utf16BE, "utf16be"},
    {TextEncoding::Windows1252, "cp1252"},
    {TextEncoding::Windows1252, "latin1"},
    {TextEncoding::Windows1252, "iso-8859-1"},
}};

}  // namespace

std::string EncodingName(TextEncoding encoding) {
  for (const auto& [known, name] : kEncodingNames)
    if (known == encoding) return std::string(name);
  return {};
}

int EncodingOfName(std::string_view name) {
  for (const auto& [known, knownName] : kEncodingNames)
    if (SameTextAsciiCaseless(name, knownName)) return static_cast<int>(known);
  return -1;
}

std::string Utf16ToUtf8(std::string_view data, bool bigEndian) {
  std::string out;
  out.reserve(data.size() + data.size() / 2);
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto lo = static_cast<unsigned char>(data[i + (bigEndian ? 1 : 0)]);
    const auto hi = static_cast<unsigned char>(data[i + (bigEndian ? 0 : 1)]);
    return static_cast<char32_t>(hi << 8 | lo);
  };
  const std::size_t end = data.size() & ~std::size_t{1};
  for (std::size_t i = 0; i < end; i += 2) {
    char32_t cp = unit(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < end) {
      const char32_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
    AppendUtf8(out, cp);
  }
  if (data.size() % 2 != 0) AppendUtf8(out, 0xFFFD);  // a lone last byte
  return out;
}

DecodedText DecodeText(std::string_view data, TextEncoding encoding) {
  DecodedText decoded;
  if (data.starts_with(kUtf8Bom)) {
    data.remove_prefix(kUtf8Bom.size());
    encoding = TextEncoding::Utf8;
  } else if (data.starts_with(kUtf16LeBom)) {
    data.remove_prefix(kUtf16LeBom.size());
    encoding = TextEncoding::Utf16LE;
  } else if (data.starts_with(kUtf16BeBom)) {
    data.remove_prefix(kUtf16BeBom.size());
    encoding = TextEncoding::Utf16BE;
  } else if (encoding == TextEncoding::Automatic) {
    encoding = Utf16ByNulBytes(data);
    if (encoding == TextEncoding::Automatic) encoding = IsUtf8(data) ? TextEncoding::Utf8 : TextEncoding::Windows1252;
  }
  decoded.Found = encoding;
  switch (encoding) {
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE:
      decoded.Storage = Utf16ToUtf8(data, encoding == TextEncoding::Utf16BE);
      decoded.Converted = true;
      decoded.Utf8 = true;
      break;
    case TextEncoding::Windows1252:
      decoded.Source = data;
      decoded.Utf8 = false;
      break;
    default:
      decoded.Source = data;
      decoded.Utf8 = true;
      break;
  }
  return decoded;
}

}  // namespace vocatrix
