// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "base/font.h"
#include "base/settings.h"
#include "test_util.h"

namespace vocatrix {
namespace {

TFont Make(const std::string& name, int size, TColor color, uint32_t style) {
  TFont f;
  f.Name = name;
  f.Size = size;
  f.Color = color;
  f.SetStyleBits(style);
  return f;
}

TEST(FontText, Descriptions) {
  struct Case {
    TFont font;
    std::string text;
  };
  const Case cases[] = {
      {DefaultFont(), "Arial_clBlack_10_[Bold]"},
      {Make("Times New Roman", 12, 0x0000FF, 0), "Times New Roman_clRed_12_[]"},
      {Make("Arial", 10, 0, 15), "Arial_clBlack_10_[Bold, Italic, Underline, StrikeOut]"},
      {Make("Arial", 14, 0x00123456, 2), "Arial_$00123456_14_[Italic]"},
      {Make("Arial", 9, 0x80000005, 8), "Arial_clWindow_9_[StrikeOut]"},
      {Make("Arial", 9, clNone, 4), "Arial_clNone_9_[Underline]"},
      // face and "_" together are cut to 32 characters
      {Make(std::string(31, 'F'), 8, 0, 0), std::string(31, 'F') + "_clBlack_8_[]"},
  };
  for (const Case& c : cases) EXPECT_EQ(FontToText(c.font), c.text);
}

TEST(FontText, ReadingDescriptions) {
  struct Case {
    std::string text;
    std::string name;
    int size;
    TColor color;
    uint32_t style;
  };
  const Case cases[] = {
      {"Courier New_clBlue_8_[Italic]", "Courier New", 8, 0xFF0000, 2},
      {"Arial_$00123456_14_[]", "Arial", 14, 0, 0},  // colours without a name read as black
      {"Arial Bold", "Arial Bold", 10, 0, 1},        // "Bold" anywhere sets bold
      {"Arial_clRed_big_[Bold]", "Arial", 10, 0x0000FF, 1},
      {"Arial_clRed", "Arial", 10, 0, 0},      // no "_" after the colour: empty colour name
      {"Arial_clRed_12", "Arial", 10, 0x0000FF, 0},  // no "_" after the size: size stays 10
      {"Arial_CLRED_12_[]", "Arial", 12, 0x0000FF, 0},  // colour names ignore case
      {"_clGreen_11_[Underline, StrikeOut]", "_clGreen_11_[Underline, StrikeO", 11, 0x008000, 12},
      {"Tahoma_clInfoBk_7_[bold]", "Tahoma", 7, 0x80000018, 0},  // style names are case-sensitive
      {std::string(40, 'X'), std::string(31, 'X'), 10, 0, 0},
  };
  for (const Case& c : cases) {
    const TFont f = TextToFont(c.text);
    EXPECT_EQ(f.Name, c.name) << c.text;
    EXPECT_EQ(f.Size, c.size) << c.text;
    EXPECT_EQ(f.Color, c.color) << c.text;
    EXPECT_EQ(f.StyleBits(), c.style) << c.text;
  }
}

TEST(FontText, NamedColoursRoundTrip) {
  for (TColor color : {0x000000u, 0x808000u, 0xFFFFFFu, 0x80000000u, 0x80000018u, clNone}) {
    const TFont f = Make("Verdana", 11, color, 5);
    EXPECT_TRUE(SameFont(TextToFont(FontToText(f)), f)) << FontToText(f);
  }
}

TEST(FontText, SameFontComparesFaceExactly) {
  TFont a = DefaultFont();
  TFont b = DefaultFont();
  EXPECT_TRUE(SameFont(a, b));
  b.Name = "arial";
  EXPECT_FALSE(SameFont(a, b));
  b = a;
  b.Italic = true;
  EXPECT_FALSE(SameFont(a, b));
  b = a;
  b.SetName("");  // an empty name leaves the face
  EXPECT_TRUE(SameFont(a, b));
}

TEST(FontFiles, ResolvedAgainstTheFontSettingsFolder) {
  test::TempDir dir;
  SetProgramFilePath(dir.File("vocatrix"));
  test::WriteFile(dir.File("vocatrix.ini"), "[Config]\r\nFontIni=fonts\\fonts.ini\r\n");
  std::filesystem::create_directory(dir.File("fonts"));
  test::WriteFile(dir.File("fonts/fonts.ini"), "[Fonts]\r\nA=phonetic.ttf\r\nB=..\\other\\greek.ttf\r\n");
  EXPECT_EQ(FontFilesToInstall(),
            (std::vector<std::string>{dir.File("fonts/phonetic.ttf"), dir.File("other/greek.ttf")}));

  test::WriteFile(dir.File("fonts/fonts.ini"), "[Fonts]\r\n");
  EXPECT_TRUE(FontFilesToInstall().empty());
}

}  // namespace
}  // namespace vocatrix
