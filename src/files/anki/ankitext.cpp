// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/anki/ankitext.h"

#include <array>
#include <cstring>

#include "base/cp1252.h"
#include "files/htmltext.h"

namespace vocatrix::anki {
namespace {

bool StartsCaseless(std::string_view text, std::size_t at, std::string_view prefix) {
  if (text.size() - at < prefix.size()) return false;
  return SameTextAsciiCaseless(text.substr(at, prefix.size()), prefix);
}

std::uint32_t Rotate(std::uint32_t value, int bits) { return (value << bits) | (value >> (32 - bits)); }

}  // namespace

std::string FieldOfWords(const std::vector<std::string>& words, std::vector<std::string>* uncarried) {
  std::string field;
  for (const std::string& word : words) {
    if (&word != &words.front()) field += "<br>";
    bool dropped = false;
    for (const char c : Cp1252ToUtf8(word)) {
      switch (c) {
        case '&': field += "&amp;"; break;
        case '<': field += "&lt;"; break;
        case '>': field += "&gt;"; break;
        case '"': field += "&quot;"; break;
        // Not the start of a sound reference to Anki, nor to the reader.
        case '[': field += "&#91;"; break;
        default:
          if (static_cast<unsigned char>(c) < ' ') dropped = true;
          else field += c;
      }
    }
    if (dropped && uncarried) uncarried->push_back(word);
  }
  return field;
}

FieldWords WordsOfField(std::string_view html) {
  FieldWords result;
  std::string kept;
  kept.reserve(html.size());
  for (std::size_t i = 0; i < html.size();) {
    if (html[i] == '[' && StartsCaseless(html, i, "[sound:")) {
      const std::size_t close = html.find(']', i);
      if (close != std::string_view::npos) {
        ++result.Sounds;
        i = close + 1;
        continue;
      }
    }
    if (html[i] == '<' && StartsCaseless(html, i, "<img") &&
        (i + 4 == html.size() || html[i + 4] == ' ' || html[i + 4] == '>' || html[i + 4] == '/'))
      ++result.Pictures;
    kept += html[i++];
  }
  const std::string text = HtmlToText(kept, "\n");
  std::size_t start = 0;
  for (;;) {
    const std::size_t end = text.find('\n', start);
    result.Words.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return result;
}

std::string StrippedField(std::string_view html) { return HtmlToText(html, ""); }

std::int64_t FieldChecksum(std::string_view html) {
  const std::string digest = Sha1(StrippedField(html));
  std::uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value = (value << 8) | static_cast<unsigned char>(digest[static_cast<std::size_t>(i)]);
  return value;
}

std::string Sha1(std::string_view bytes) {
  std::array<std::uint32_t, 5> h{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0};
  std::string message(bytes);
  const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
  message += '\x80';
  while (message.size() % 64 != 56) message += '\0';
  for (int i = 7; i >= 0; --i) message += static_cast<char>(bits >> (i * 8));
  for (std::size_t block = 0; block < message.size(); block += 64) {
    std::array<std::uint32_t, 80> w{};
    for (int i = 0; i < 16; ++i)
      for (int b = 0; b < 4; ++b)
        w[i] = (w[i] << 8) | static_cast<unsigned char>(message[block + static_cast<std::size_t>(i * 4 + b)]);
    for (int i = 16; i < 80; ++i) w[i] = Rotate(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    auto [a, b, c, d, e] = h;
    for (int i = 0; i < 80; ++i) {
      std::uint32_t f, k;
      if (i < 20) f = (b & c) | (~b & d), k = 0x5A827999;
      else if (i < 40) f = b ^ c ^ d, k = 0x6ED9EBA1;
      else if (i < 60) f = (b & c) | (b & d) | (c & d), k = 0x8F1BBCDC;
      else f = b ^ c ^ d, k = 0xCA62C1D6;
      const std::uint32_t t = Rotate(a, 5) + f + e + k + w[i];
      e = d, d = c, c = Rotate(b, 30), b = a, a = t;
    }
    h[0] += a, h[1] += b, h[2] += c, h[3] += d, h[4] += e;
  }
  std::string digest;
  for (const std::uint32_t word : h)
    for (int i = 3; i >= 0; --i) digest += static_cast<char>(word >> (i * 8));
  return digest;
}

std::string JsonString(std::string_view utf8) {
  std::string out = "\"";
  for (const char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < ' ') {
          static constexpr char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

}  // namespace vocatrix::anki
