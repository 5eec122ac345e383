// SPDX-License-Identifier: GPL-3.0-or-later
// The KVTML and CSV readers and the way back: a lesson read from KVTML
// writes and reads back to itself; one read from CSV does so in its entries
// and language names, unless a word holding ";" splits, and whatever
// separator the reader is left to find, ',' or tab written.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/csv/csvfile.h"
#include "files/kvtml/kvtml.h"
#include "fuzz_support.h"
#include "model/exceptions.h"

using namespace vocatrix;

namespace {

// XML starts with "<" after a byte-order mark and blanks; delimited text
// (Anki's with HTML too) does not.
bool LooksLikeXml(std::string_view input) {
  for (std::string_view mark : {"\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF"})
    if (input.starts_with(mark)) input.remove_prefix(mark.size());
  while (!input.empty() && (input.front() == ' ' || input.front() == '\n' || input.front() == '\r' ||
                            input.front() == '\t' || input.front() == '\0'))
    input.remove_prefix(1);
  return input.starts_with('<');
}

// No reading builds more than a lesson holds.
void CheckBounded(const TMeanCollection& lesson) {
  FUZZ_CHECK(lesson.Meanings != nullptr);
  FUZZ_CHECK(lesson.EntryCount() <= TMeanCollection::kMaxEntries);
  for (const MeaningPtr& m : *lesson.Meanings)
    for (int kind = 0; kind < 4; ++kind)
      for (const std::string& word : m->KindTexts(kind)) FUZZ_CHECK(!word.empty() && word.find('\0') == std::string::npos);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  fuzz::UseCodePointCollation();
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  TMeanCollection lesson;
  TransferReport report;
  if (LooksLikeXml(input)) {
    try {
      ParseKvtml(input, "f.kvtml", {}, lesson, report);
    } catch (const Exception&) {
      return 0;  // no KVTML, or no language
    }
    CheckBounded(lesson);
    TMeanCollection back;
    TransferReport again;
    ParseKvtml(KvtmlImage(lesson), "f.kvtml", {}, back, again);
    FUZZ_CHECK(again.LeftOutTotal() == 0 && !again.LostAny() && !again.NotUtf8);
    FUZZ_CHECK(fuzz::PictureOf(back) == fuzz::PictureOf(lesson));
    return 0;
  }
  try {
    ParseCsv(input, {}, "f.csv", lesson, report);
  } catch (const ELessonTooLarge&) {
    return 0;
  }
  CheckBounded(lesson);
  for (const char separator : {',', '\t'}) {
    TransferReport written;
    const std::string image = CsvImage(lesson, separator, separator == ',', written);
    TMeanCollection back;
    TransferReport again;
    ParseCsv(image, {}, "f.csv", back, again);
    FUZZ_CHECK(!again.LostAny());
    if (!written.Uncarried.empty()) continue;
    FUZZ_CHECK(again.LeftOutTotal() == 0);
    FUZZ_CHECK(fuzz::PictureOf(back) == fuzz::PictureOf(lesson));
  }
  return 0;
}
