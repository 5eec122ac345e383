// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF writer and the conversion of run formats to and from fonts.

#include <algorithm>
#include <cstdio>

#include "files/rtf/rtf.h"

namespace vocatrix {
namespace {

// The system's window text colour: what a rich-text control reports for text
// in the automatic colour.
constexpr TColor kWindowTextColor = kSystemColorFlag + 8;

bool IsRgb(TColor color) { return color <= 0xFFFFFFu; }

void AppendHexByte(std::string& out, unsigned char b) {
  static constexpr char kHex[] = "0123456789abcdef";
  out += "\\'";
  out += kHex[b >> 4];
  out += kHex[b & 15];
}

// Text bytes as RTF: the three special characters escaped, tabs as \tab,
// control and non-ASCII bytes as \'hh (the document says \ansicpg1252).
void AppendEscaped(std::string& out, std::string_view text, bool fontName) {
  for (const char ch : text) {
    const unsigned char c = static_cast<unsigned char>(ch);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += ch;
    } else if (c == '\t' && !fontName) {
      out += "\\tab ";
    } else if (c < 0x20 || c >= 0x7F || (fontName && c == ';')) {
      AppendHexByte(out, c);  // a literal ";" would end a font name
    } else {
      out += ch;
    }
  }
}

void AppendWord(std::string& out, const char* word, int value) {
  char buffer[48];
  std::snprintf(buffer, sizeof buffer, "\\%s%d", word, value);
  out += buffer;
}

int IndexOf(const std::vector<std::string>& list, const std::string& item) {
  return static_cast<int>(std::find(list.begin(), list.end(), item) - list.begin());
}

int IndexOf(const std::vector<TColor>& list, TColor item) {
  return static_cast<int>(std::find(list.begin(), list.end(), item) - list.begin());
}

// Writer state after \pard\plain, which the reader starts from as well.
struct WrittenFormat {
  int Font = 0;
  int HalfPoints = 24;
  int Color = 0;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
};

}  // namespace

std::string WriteRtf(const RtfDocument& document) {
  std::vector<std::string> faces;
  std::vector<TColor> colors;  // table entries from 1 on; entry 0 is automatic
  for (const RtfParagraph& paragraph : document.Paragraphs) {
    for (const RtfRun& run : paragraph) {
      if (IndexOf(faces, run.Format.Face) == static_cast<int>(faces.size()))
        faces.push_back(run.Format.Face);
      if (run.Format.HasColor && IsRgb(run.Format.Color) &&
          IndexOf(colors, run.Format.Color) == static_cast<int>(colors.size()))
        colors.push_back(run.Format.Color);
    }
  }
  if (faces.empty()) faces.push_back(TFont{}.Name);

  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
  for (std::size_t i = 0; i < faces.size(); ++i) {
    out += '{';
    AppendWord(out, "f", static_cast<int>(i));
    out += "\\fnil\\fcharset0 ";
    AppendEscaped(out, faces[i], true);
    out += ";}";
  }
  out += "}\n{\\colortbl ;";
  for (const TColor color : colors) {
    AppendWord(out, "red", static_cast<int>(color & 0xFF));
    AppendWord(out, "green", static_cast<int>((color >> 8) & 0xFF));
    AppendWord(out, "blue", static_cast<int>((color >> 16) & 0xFF));
    out += ';';
  }
  out += "}\n\\pard\\plain\n";

  WrittenFormat current;
  for (const RtfParagraph& paragraph : document.Paragraphs) {
    for (const RtfRun& run : paragraph) {
      const RtfCharFormat& f = run.Format;
      WrittenFormat next;
      next.Font = IndexOf(faces, f.Face);
      next.HalfPoints = f.HalfPoints > 0 ? std::min(f.HalfPoints, kMaxRtfHalfPoints) : 24;
      next.Color = f.HasColor && IsRgb(f.Color) ? IndexOf(colors, f.Color) + 1 : 0;
      next.Bold = f.Bold;
      next.Italic = f.Italic;
      next.Underline = f.Underline;
      next.StrikeOut = f.StrikeOut;
      const std::size_t before = out.size();
      if (next.Font != current.Font) AppendWord(out, "f", next.Font);
      if (next.HalfPoints != current.HalfPoints) AppendWord(out, "fs", next.HalfPoints);
      if (next.Color != current.Color) AppendWord(out, "cf", next.Color);
      if (next.Bold != current.Bold) out += next.Bold ? "\\b" : "\\b0";
      if (next.Italic != current.Italic) out += next.Italic ? "\\i" : "\\i0";
      if (next.Underline != current.Underline) out += next.Underline ? "\\ul" : "\\ulnone";
      if (next.StrikeOut != current.StrikeOut) out += next.StrikeOut ? "\\strike" : "\\strike0";
      if (out.size() != before) out += ' ';
      current = next;
      AppendEscaped(out, run.Text, false);
    }
    out += "\\par\n";
  }
  out += "}\n";
  return out;
}

TFont RunFont(const RtfCharFormat& format) {
  TFont font;
  font.SetName(format.Face);
  font.Size = (std::clamp(format.HalfPoints, 1, kMaxRtfHalfPoints) + 1) / 2;
  font.Color = format.HasColor && IsRgb(format.Color) ? format.Color : kWindowTextColor;
  font.Bold = format.Bold;
  font.Italic = format.Italic;
  font.Underline = format.Underline;
  font.StrikeOut = format.StrikeOut;
  return font;
}

RtfCharFormat FormatOfFont(const TFont& font) {
  RtfCharFormat format;
  format.Face = font.Name;
  format.HalfPoints = std::clamp(font.Size, 1, kMaxRtfHalfPoints / 2) * 2;
  format.HasColor = IsRgb(font.Color);  // system colours have no RGB here: automatic
  format.Color = format.HasColor ? font.Color : 0;
  format.Bold = font.Bold;
  format.Italic = font.Italic;
  format.Underline = font.Underline;
  format.StrikeOut = font.StrikeOut;
  return format;
}

}  // namespace vocatrix
