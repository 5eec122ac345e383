// SPDX-License-Identifier: GPL-3.0-or-later
// The binary lesson reader: any image either decodes or is refused with the
// documented format or version error, and what decodes encodes to an image
// that decodes and encodes to itself.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "files/binaryfile.h"
#include "fuzz_support.h"
#include "model/exceptions.h"

using namespace vocatrix;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::UseCodePointCollation();
  const std::string_view image(reinterpret_cast<const char*>(data), size);
  TMeanCollection lesson;
  try {
    DecodeBinary(lesson, image, "fuzz.tav");
  } catch (const EFormatError&) {
    return 0;
  } catch (const EVersionError&) {
    return 0;
  }
  FUZZ_CHECK(lesson.Meanings != nullptr);
  FUZZ_CHECK(lesson.EntryCount() <= TMeanCollection::kMaxEntries);
  const std::string first = EncodeBinary(lesson);
  FUZZ_CHECK(first.size() % 2 == 0);

  TMeanCollection again;
  DecodeBinary(again, first, "fuzz.tav");
  FUZZ_CHECK(fuzz::PictureOf(again) == fuzz::PictureOf(lesson));
  FUZZ_CHECK(EncodeBinary(again) == first);
  return 0;
}
