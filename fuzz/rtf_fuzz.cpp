// SPDX-License-Identifier: GPL-3.0-or-later
// The RTF reader: any data parses without a crash, adjacent runs of a
// paragraph differ in format, each run's format gives a font that converts
// back to itself, and writing the document reads back to the same
// paragraphs, runs, texts and formats.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/rtf/rtf.h"
#include "fuzz_support.h"

using namespace vocatrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 256 * 1024) return 0;
  const RtfDocument document = ParseRtf(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const RtfParagraph& paragraph : document.Paragraphs) {
    for (std::size_t i = 0; i < paragraph.size(); ++i) {
      const RtfRun& run = paragraph[i];
      FUZZ_CHECK(i == 0 || !(paragraph[i - 1].Format == run.Format));
      const TFont font = RunFont(run.Format);
      FUZZ_CHECK(font.Size >= 1);
      FUZZ_CHECK(RunFont(FormatOfFont(font)) == font);
    }
  }
  const std::string written = WriteRtf(document);
  FUZZ_CHECK(IsRtfData(written));
  const RtfDocument back = ParseRtf(written);
  FUZZ_CHECK(back.Paragraphs == document.Paragraphs);
  return 0;
}
