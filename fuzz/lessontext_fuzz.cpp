// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson-text parser, lenient and strict, and the way back: the lines a
// lesson is written as always read back strictly, the file they are saved as
// reads back as those lines, and a lesson whose words the text form can
// carry reads back (and compacts) to itself.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/lessonfiles.h"
#include "files/lessontext.h"
#include "files/rtf/rtf.h"
#include "fuzz_support.h"

using namespace vocatrix;

namespace {

using Lines = std::vector<std::string>;

// The lines of a lesson-text file, as the program reads them.
Lines FileLines(std::string_view data) {
  return IsRtfData(data) ? DocumentLines(ParseRtf(data)) : PlainTextLines(data);
}

int Lenient(const Lines& lines, TMeanCollection& lesson) { return ParseLessonLines(lines, false, lesson); }

// The data's lines as Windows-1252 words, undecoded: what a lesson holds
// when its words came from a lesson file or the editor.
Lines Windows1252Lines(std::string_view data) {
  Lines lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] != '\r' && data[i] != '\n') continue;
    lines.emplace_back(data.substr(start, i - start));
    if (data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < data.size()) lines.emplace_back(data.substr(start));
  return lines;
}

// The text a lesson of these lines is saved as reads back as written.
void CheckSavedTextReadsBack(const Lines& lines) {
  TMeanCollection lesson;
  Lenient(lines, lesson);
  lesson.DblDel();
  Lines written;
  WriteLessonLines(written, lesson);
  FUZZ_CHECK(FileLines(TextFileImage(written)) == written);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  fuzz::UseCodePointCollation();
  const Lines lines = FileLines(std::string_view(reinterpret_cast<const char*>(data), size));

  TMeanCollection lenient;
  const int skipped = Lenient(lines, lenient);
  TMeanCollection strict;
  const int strictResult = ParseLessonLines(lines, true, strict);
  FUZZ_CHECK(skipped >= 0 && static_cast<std::size_t>(skipped) <= lines.size());
  // Both modes call the same lines malformed: strict succeeds exactly when
  // the lenient parse skipped nothing, and then both read the same lesson.
  FUZZ_CHECK((skipped == 0) == (strict.Meanings != nullptr));
  if (strict.Meanings) {
    FUZZ_CHECK(strictResult == 0);
    FUZZ_CHECK(lenient.Meanings != nullptr || strict.EntryCount() == 0);
    FUZZ_CHECK(fuzz::PictureOf(lenient) == fuzz::PictureOf(strict));
  } else {
    // The strict result is the first malformed line: the lines above it
    // parse cleanly, that line is the one the lenient parse skips first.
    FUZZ_CHECK(strictResult >= 0 && static_cast<std::size_t>(strictResult) < lines.size());
    Lines prefix(lines.begin(), lines.begin() + strictResult);
    TMeanCollection part;
    FUZZ_CHECK(Lenient(prefix, part) == 0);
    prefix.push_back(lines[static_cast<std::size_t>(strictResult)]);
    FUZZ_CHECK(Lenient(prefix, part) == 1);
  }

  CheckSavedTextReadsBack(lines);
  CheckSavedTextReadsBack(Windows1252Lines(std::string_view(reinterpret_cast<const char*>(data), size)));

  // The lesson the program holds after reading the file.
  lenient.DblDel();
  Lines written;
  WriteLessonLines(written, lenient);
  TMeanCollection back;
  FUZZ_CHECK(ParseLessonLines(written, true, back) == 0);
  FUZZ_CHECK(back.Meanings != nullptr);
  if (!WordsTextCannotCarry(lenient).empty()) return 0;
  back.DblDel();
  FUZZ_CHECK(fuzz::PictureOf(back) == fuzz::PictureOf(lenient));
  Lines rewritten;
  WriteLessonLines(rewritten, back);
  FUZZ_CHECK(rewritten == written);
  return 0;
}
