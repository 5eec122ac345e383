// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Display fonts of the lesson languages and their one-line text form.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vocatrix {

// Colours: 0x00BBGGRR for RGB, 0x80000000 + index for a system colour.
using TColor = std::uint32_t;
constexpr TColor kSystemColorFlag = 0x80000000u;
constexpr TColor clNone = 0x1FFFFFFFu;

// Whether text in a font is set with fixed or variable character widths;
// Default leaves it to the face.
enum class TFontPitch { Default, Variable, Fixed };

struct TFont {
  std::string Name = "Arial";  // at most 31 bytes
  int Size = 10;               // points
  TColor Color = 0;
  bool Bold = true;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  // Only for showing text: neither the lesson file nor the font description
  // text keeps it, and SameFont ignores it.
  TFontPitch Pitch = TFontPitch::Default;

  // An empty name leaves the face unchanged; longer names are cut to 31 bytes.
  void SetName(std::string_view name);

  // Style bits of the lesson file: 1 bold, 2 italic, 4 underline, 8 strike-out.
  std::uint32_t StyleBits() const;
  void SetStyleBits(std::uint32_t bits);

  bool operator==(const TFont&) const = default;
};

TFont DefaultFont();
std::string FontToText(const TFont& font);
TFont TextToFont(std::string_view text);
// Same face (exact case), colour, size and styles; the pitch does not count.
bool SameFont(const TFont& a, const TFont& b);

// The colour table of the font description: name for a value, value for a
// name (matched without regard to case).
const char* ColorName(TColor color);
bool ColorFromName(std::string_view name, TColor& color);

// The font files listed in section "Fonts" of the font settings file
// (program settings key FontIni), each resolved against the folder of that
// file, in file order. The editor adds them to the window system's fonts.
std::vector<std::string> FontFilesToInstall();

}  // namespace vocatrix
