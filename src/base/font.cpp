// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/font.h"

#include <cstdio>

#include "base/inifile.h"
#include "base/settings.h"
#include "base/cp1252.h"

namespace vocatrix {
namespace {

struct NamedColor {
  const char* name;
  TColor value;
};

constexpr NamedColor kColors[] = {
    {"clBlack", 0x000000},   {"clMaroon", 0x000080}, {"clGreen", 0x008000},  {"clOlive", 0x008080},
    {"clNavy", 0x800000},    {"clPurple", 0x800080}, {"clTeal", 0x808000},   {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},  {"clRed", 0x0000FF},    {"clLime", 0x00FF00},   {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},    {"clFuchsia", 0xFF00FF}, {"clAqua", 0xFFFF00},  {"clWhite", 0xFFFFFF},
    {"clScrollBar", 0x80000000},          {"clBackground", 0x80000001},
    {"clActiveCaption", 0x80000002},      {"clInactiveCaption", 0x80000003},
    {"clMenu", 0x80000004},               {"clWindow", 0x80000005},
    {"clWindowFrame", 0x80000006},        {"clMenuText", 0x80000007},
    {"clWindowText", 0x80000008},         {"clCaptionText", 0x80000009},
    {"clActiveBorder", 0x8000000A},       {"clInactiveBorder", 0x8000000B},
    {"clAppWorkSpace", 0x8000000C},       {"clHighlight", 0x8000000D},
    {"clHighlightText", 0x8000000E},      {"clBtnFace", 0x8000000F},
    {"clBtnShadow", 0x80000010},          {"clGrayText", 0x80000011},
    {"clBtnText", 0x80000012},            {"clInactiveCaptionText", 0x80000013},
    {"clBtnHighlight", 0x80000014},       {"cl3DDkShadow", 0x80000015},
    {"cl3DLight", 0x80000016},            {"clInfoText", 0x80000017},
    {"clInfoBk", 0x80000018},             {"clNone", clNone},
};

// The part of `text` before the first "_"; empty when no "_" follows.
std::string_view BeforeUnderscore(std::string_view text) {
  const auto pos = text.find('_');
  return pos == std::string_view::npos ? std::string_view() : text.substr(0, pos);
}

// Removes the text up to and including the first "_"; nothing when none.
std::string_view AfterUnderscore(std::string_view text) {
  const auto pos = text.find('_');
  return pos == std::string_view::npos ? text : text.substr(pos + 1);
}

bool ParseDecimal(std::string_view s, int& value) {
  // Optional sign, then digits only, as the class library's conversion does.
  std::size_t i = 0;
  bool negative = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
  if (i >= s.size()) return false;
  long long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return false;
  }
  if (negative) v = -v;
  if (v > 2147483647LL) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace

void TFont::SetName(std::string_view name) {
  if (name.empty()) return;
  Name = std::string(name.substr(0, 31));
}

std::uint32_t TFont::StyleBits() const {
  return (Bold ? 1u : 0u) | (Italic ? 2u : 0u) | (Underline ? 4u : 0u) | (StrikeOut ? 8u : 0u);
}

void TFont::SetStyleBits(std::uint32_t bits) {
  Bold = bits & 1u;
  Italic = bits & 2u;
  Underline = bits & 4u;
  StrikeOut = bits & 8u;
}

TFont DefaultFont() { return TFont{}; }

const char* ColorName(TColor color) {
  for (const NamedColor& c : kColors)
    if (c.value == color) return c.name;
  return nullptr;
}

bool ColorFromName(std::string_view name, TColor& color) {
  for (const NamedColor& c : kColors) {
    if (SameTextAsciiCaseless(name, c.name)) {
      color = c.value;
      return true;
    }
  }
  return false;
}

std::string FontToText(const TFont& font) {
  std::string text = (font.Name + "_").substr(0, 32);
  if (const char* name = ColorName(font.Color)) {
    text += name;
  } else {
    char hex[16];
    std::snprintf(hex, sizeof hex, "$%08X", static_cast<unsigned>(font.Color));
    text += hex;
  }
  text += "_" + std::to_string(font.Size) + "_[";
  if (font.Bold) text += "Bold, ";
  if (font.Italic) text += "Italic, ";
  if (font.Underline) text += "Underline, ";
  if (font.StrikeOut) text += "StrikeOut, ";
  if (text.size() >= 2 && text[text.size() - 2] == ',') text.resize(text.size() - 2);
  text += "]";
  return text;
}

TFont TextToFont(std::string_view text) {
  TFont font = DefaultFont();
  // Without "_" the face stays the whole text, since an empty name is ignored.
  font.SetName(text);
  font.SetName(BeforeUnderscore(text));
  std::string_view rest = AfterUnderscore(text);
  TColor color = 0;
  if (!ColorFromName(BeforeUnderscore(rest), color)) color = 0;
  font.Color = color;
  rest = AfterUnderscore(rest);
  int size;
  if (ParseDecimal(BeforeUnderscore(rest), size)) font.Size = size;
  font.Bold = rest.find("Bold") != std::string_view::npos;
  font.Italic = rest.find("Italic") != std::string_view::npos;
  font.Underline = rest.find("Underline") != std::string_view::npos;
  font.StrikeOut = rest.find("StrikeOut") != std::string_view::npos;
  return font;
}

bool SameFont(const TFont& a, const TFont& b) {
  return a.Name == b.Name && a.Color == b.Color && a.Size == b.Size && a.StyleBits() == b.StyleBits();
}

std::vector<std::string> FontFilesToInstall() {
  const std::string settings = ConfigPath("Config", "FontIni", ProgramSettingsFile());
  std::vector<std::string> files;
  for (const std::string& line : IniFile(settings).ReadSectionValues("Fonts")) {
    const auto eq = line.find('=');
    const std::string value = eq == std::string::npos ? std::string() : line.substr(eq + 1);
    files.push_back(ResolveIniPath(settings, value));
  }
  return files;
}

}  // namespace vocatrix
