// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/htmltext.h"

#include <array>

#include "base/cp1252.h"

namespace vocatrix {
namespace {

// HTML's entities of the Latin-1 characters, U+00A0 to U+00FF in order.
constexpr std::array<std::string_view, 96> kLatin1Entities{
    "nbsp",   "iexcl",  "cent",   "pound",  "curren", "yen",    "brvbar", "sect",   "uml",    "copy",   "ordf",
    "laquo",  "not",    "shy",    "reg",    "macr",   "deg",    "plusmn", "sup2",   "sup3",   "acute",  "micro",
    "para",   "middot", "cedil",  "sup1",   "ordm",   "raquo",  "frac14", "frac12", "frac34", "iquest", "Agrave",
    "Aacute", "Acirc",  "Atilde", "Auml",   "Aring",  "AElig",  "Ccedil", "Egrave", "Eacute", "Ecirc",  "Euml",
    "Igrave", "Iacute", "Icirc",  "Iuml",   "ETH",    "Ntilde", "Ograve", "Oacute", "Ocirc",  "Otilde", "Ouml",
    "times",  "Oslash", "Ugrave", "Uacute", "Ucirc",  "Uuml",   "Yacute", "THORN",  "szlig",  "agrave", "aacute",
    "acirc",  "atilde", "auml",   "aring",  "aelig",  "ccedil", "egrave", "eacute", "ecirc",  "euml",   "igrave",
    "iacute", "icirc",  "iuml",   "eth",    "ntilde", "ograve", "oacute", "ocirc",  "otilde", "ouml",   "divide",
    "oslash", "ugrave", "uacute", "ucirc",  "uuml",   "yacute", "thorn",  "yuml"};

constexpr std::array<std::pair<std::string_view, char32_t>, 20> kOtherEntities{{
    {"amp", '&'},       {"lt", '<'},         {"gt", '>'},         {"quot", '"'},       {"apos", '\''},
    {"euro", 0x20AC},   {"ndash", 0x2013},   {"mdash", 0x2014},   {"lsquo", 0x2018},   {"rsquo", 0x2019},
    {"ldquo", 0x201C},  {"rdquo", 0x201D},   {"hellip", 0x2026},  {"bull", 0x2022},    {"trade", 0x2122},
    {"OElig", 0x0152},  {"oelig", 0x0153},   {"Scaron", 0x0160},  {"scaron", 0x0161},  {"Yuml", 0x0178},
}};

// The code point of an entity or character reference's name (without "&"
// and ";"), or 0.
char32_t EntityValue(std::string_view name) {
  if (name.size() > 1 && name[0] == '#') {
    const bool hex = name[1] == 'x' || name[1] == 'X';
    char32_t value = 0;
    const std::string_view digits = name.substr(hex ? 2 : 1);
    if (digits.empty()) return 0;
    for (char c : digits) {
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (hex && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (hex && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else return 0;
      value = value * (hex ? 16 : 10) + static_cast<char32_t>(d);
      if (value > 0x10FFFF) return 0;
    }
    return (value >= 0xD800 && value <= 0xDFFF) ? 0xFFFD : value;
  }
  // A non-breaking space is a space to a word list: trimmed at the ends.
  if (name == "nbsp") return ' ';
  for (std::size_t i = 0; i < kLatin1Entities.size(); ++i)
    if (kLatin1Entities[i] == name) return static_cast<char32_t>(0xA0 + i);
  for (const auto& [entity, value] : kOtherEntities)
    if (entity == name) return value;
  return 0;
}

bool IsLineBreakTag(std::string_view tag) {
  // "<br>", "<br/>", "<br />", "<BR>"
  if (tag.size() < 2 || (tag[0] != 'b' && tag[0] != 'B') || (tag[1] != 'r' && tag[1] != 'R')) return false;
  return tag.size() == 2 || tag[2] == ' ' || tag[2] == '/';
}

}  // namespace

std::string HtmlToText(std::string_view html, std::string_view lineBreak) {
  std::string out;
  out.reserve(html.size());
  std::size_t i = 0;
  while (i < html.size()) {
    const char c = html[i];
    if (c == '<') {
      const std::size_t close = html.find('>', i + 1);
      if (close == std::string_view::npos) {  // a lone "<" is text
        out += c;
        ++i;
        continue;
      }
      if (IsLineBreakTag(html.substr(i + 1, close - i - 1))) out += lineBreak;
      i = close + 1;
    } else if (c == '&') {
      const std::size_t semicolon = html.find(';', i + 1);
      const char32_t value =
          semicolon != std::string_view::npos && semicolon - i <= 10 ? EntityValue(html.substr(i + 1, semicolon - i - 1)) : 0;
      if (value == 0) {
        out += c;
        ++i;
        continue;
      }
      AppendUtf8(out, value);
      i = semicolon + 1;
    } else {
      // A line break of the source is a blank, as browsers show it.
      out += c == '\r' || c == '\n' ? ' ' : c;
      ++i;
    }
  }
  return out;
}

}  // namespace vocatrix
