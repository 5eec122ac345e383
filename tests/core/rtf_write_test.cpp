// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <random>

#include "files/rtf/rtf.h"

namespace vocatrix {
namespace {

RtfCharFormat Plain(std::string face = "Arial", int halfPoints = 24) {
  RtfCharFormat f;
  f.Face = std::move(face);
  f.HalfPoints = halfPoints;
  return f;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(RtfWriter, WritesHeaderTablesAndParagraphs) {
  RtfCharFormat red = Plain("Times New Roman", 20);
  red.HasColor = true;
  red.Color = 0x0000FF;
  red.Bold = true;
  RtfDocument doc;
  doc.Paragraphs = {{{"Ti: Tiere", Plain()}}, {{"Hund", red}, {" - dog", Plain()}}, {{"x", red}}};
  const std::string rtf = WriteRtf(doc);
  EXPECT_TRUE(rtf.starts_with("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl")) << rtf;
  EXPECT_EQ(Count(rtf, "Times New Roman;"), 1u) << rtf;
  EXPECT_EQ(Count(rtf, "Arial;"), 1u) << rtf;
  EXPECT_NE(rtf.find("{\\colortbl ;\\red255\\green0\\blue0;}"), std::string::npos) << rtf;
  EXPECT_EQ(Count(rtf, "\\par"), 3u + Count(rtf, "\\pard")) << rtf;
  EXPECT_NE(rtf.find("\\f1\\fs20\\cf1\\b Hund"), std::string::npos) << rtf;
  EXPECT_EQ(ParseRtf(rtf).Paragraphs, doc.Paragraphs);
}

TEST(RtfWriter, EscapesSpecialCharactersAndHighBytes) {
  std::string high;
  for (int b = 0x80; b <= 0xFF; ++b) high += static_cast<char>(b);
  RtfDocument doc;
  doc.Paragraphs = {{{"a\\b{c}d\te", Plain()}}, {{high, Plain()}}, {{" lead and trail ", Plain()}}};
  const std::string rtf = WriteRtf(doc);
  EXPECT_NE(rtf.find("a\\\\b\\{c\\}d\\tab e"), std::string::npos) << rtf;
  EXPECT_NE(rtf.find("\\'80\\'81"), std::string::npos) << rtf;
  for (const char c : rtf) EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "raw byte in output";
  EXPECT_EQ(ParseRtf(rtf).Paragraphs, doc.Paragraphs);
}

TEST(RtfWriter, SystemColoursAreWrittenAsAutomatic) {
  RtfCharFormat system = Plain();
  system.HasColor = true;
  system.Color = kSystemColorFlag + 8;
  RtfDocument doc;
  doc.Paragraphs = {{{"a", system}}};
  const RtfDocument back = ParseRtf(WriteRtf(doc));
  ASSERT_EQ(back.Paragraphs.size(), 1u);
  EXPECT_EQ(back.Paragraphs[0], (RtfParagraph{{"a", Plain()}}));
}

// Adjacent runs of equal format read back as one, and empty runs vanish.
RtfDocument Normalised(const RtfDocument& doc) {
  RtfDocument out;
  for (const RtfParagraph& p : doc.Paragraphs) {
    RtfParagraph merged;
    for (const RtfRun& run : p) {
      if (run.Text.empty()) continue;
      if (!merged.empty() && merged.back().Format == run.Format) merged.back().Text += run.Text;
      else merged.push_back(run);
    }
    out.Paragraphs.push_back(std::move(merged));
  }
  return out;
}

// Documents of every shape: empty ones, empty paragraphs and runs, any byte
// but NUL, all format attributes.
TEST(RtfWriter, RandomDocumentsRoundTrip) {
  std::mt19937 random(20240305);
  // Faces include none at all and characters a font name must escape.
  const std::vector<std::string> faces = {"Arial", "Times New Roman", "", "Odd;Name {x}\\ \xC4rial"};
  for (int round = 0; round < 200; ++round) {
    RtfDocument doc;
    const int paragraphs = static_cast<int>(random() % 5);
    for (int p = 0; p < paragraphs; ++p) {
      RtfParagraph paragraph;
      const int runs = static_cast<int>(random() % 5);
      for (int r = 0; r < runs; ++r) {
        RtfRun run;
        const int length = static_cast<int>(random() % 8);
        for (int i = 0; i < length; ++i) run.Text += static_cast<char>(1 + random() % 255);
        run.Format.Face = faces[random() % faces.size()];
        run.Format.HalfPoints = 2 + static_cast<int>(random() % 200);
        run.Format.HasColor = random() % 2;
        run.Format.Color = run.Format.HasColor ? random() % 0x1000000 : 0;
        run.Format.Bold = random() % 2;
        run.Format.Italic = random() % 2;
        run.Format.Underline = random() % 2;
        run.Format.StrikeOut = random() % 2;
        paragraph.push_back(run);
      }
      doc.Paragraphs.push_back(paragraph);
    }
    ASSERT_EQ(ParseRtf(WriteRtf(doc)).Paragraphs, Normalised(doc).Paragraphs) << WriteRtf(doc);
  }
}

TEST(RtfFonts, ConvertBetweenRunFormatsAndFonts) {
  RtfCharFormat format = Plain("Verdana", 21);
  format.HasColor = true;
  format.Color = 0x00FF00;
  format.Italic = true;
  format.StrikeOut = true;
  const TFont font = RunFont(format);
  EXPECT_EQ(font.Name, "Verdana");
  EXPECT_EQ(font.Size, 11);  // 10.5 points rounded
  EXPECT_EQ(font.Color, 0x00FF00u);
  EXPECT_FALSE(font.Bold);
  EXPECT_TRUE(font.Italic);
  EXPECT_FALSE(font.Underline);
  EXPECT_TRUE(font.StrikeOut);

  const TFont automatic = RunFont(Plain("", 24));
  EXPECT_EQ(automatic.Name, "Arial");
  EXPECT_EQ(automatic.Size, 12);
  EXPECT_TRUE(automatic.Color & kSystemColorFlag);
  EXPECT_FALSE(FormatOfFont(automatic).HasColor);

  TFont black;  // Arial, 10 points, black, bold
  const RtfCharFormat back = FormatOfFont(black);
  EXPECT_EQ(back.Face, "Arial");
  EXPECT_EQ(back.HalfPoints, 20);
  EXPECT_TRUE(back.HasColor);
  EXPECT_EQ(back.Color, 0u);
  EXPECT_TRUE(back.Bold);
  EXPECT_EQ(RunFont(back), black);

  TFont window = black;
  window.Color = kSystemColorFlag + 5;
  EXPECT_FALSE(FormatOfFont(window).HasColor);
  window.Color = clNone;
  EXPECT_FALSE(FormatOfFont(window).HasColor);
}

}  // namespace
}  // namespace vocatrix
