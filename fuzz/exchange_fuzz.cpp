// SPDX-License-Identifier: GPL-3.0-or-later
// The KVTML and CSV readers and the way back: a lesson read from KVTML
// writes and reads back to itself; one read from CSV does so in its entries
// and language names, unless a word holding ";" splits.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/csvfile.h"
#include "files/kvtml.h"
#include "fuzz_support.h"

using namespace vocatrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  fuzz::UseCodePointCollation();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TMeanCollection lesson;
  TransferReport report;
  if (input.find('<') != std::string_view::npos) {
    try {
      ParseKvtml(std::string(input), "f.kvtml", {}, lesson, report);
    } catch (const Exception&) {
      return 0;  // no KVTML 2, or no language
    }
    FUZZ_CHECK(lesson.Meanings != nullptr);
    TMeanCollection back;
    TransferReport again;
    ParseKvtml(KvtmlImage(lesson), "f.kvtml", {}, back, again);
    FUZZ_CHECK(again.Skipped == 0 && again.Replaced == 0);
    FUZZ_CHECK(fuzz::PictureOf(back) == fuzz::PictureOf(lesson));
    return 0;
  }
  ParseCsv(input, 0, lesson, report);
  FUZZ_CHECK(lesson.Meanings != nullptr);
  TransferReport written;
  const std::string image = CsvImage(lesson, ',', true, written);
  TMeanCollection back;
  TransferReport again;
  ParseCsv(image, ',', back, again);
  FUZZ_CHECK(again.Replaced == 0);
  if (!written.Uncarried.empty()) return 0;
  FUZZ_CHECK(again.Skipped == 0);
  FUZZ_CHECK(fuzz::PictureOf(back) == fuzz::PictureOf(lesson));
  return 0;
}
