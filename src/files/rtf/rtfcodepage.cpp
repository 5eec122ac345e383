// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/rtf/rtfcodepage.h"

#include <iconv.h>

#include <bit>
#include <cerrno>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

#include "base/cp1252.h"

namespace vocatrix::rtf {
namespace {

enum class Conversion { Ok, Incomplete, Invalid };

// Converts one character's bytes; `result` gets the Windows-1252 byte or -1,
// `codePoint` the character (0 when the bytes are none).
Conversion ConvertBytes(iconv_t cd, const char* bytes, std::size_t count, int& result, char32_t& codePoint) {
  char32_t out[4];
  char* in = const_cast<char*>(bytes);
  std::size_t inLeft = count;
  char* outPtr = reinterpret_cast<char*>(out);
  std::size_t outLeft = sizeof out;
  const std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
  const int error = rc == static_cast<std::size_t>(-1) ? errno : 0;
  // Some converters hold a base letter back for a combining mark: flush it.
  if (error == 0) iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  const std::size_t produced = (sizeof out - outLeft) / sizeof(char32_t);
  if (error == EINVAL) return Conversion::Incomplete;
  if (error != 0 || produced != 1) {
    result = -1;
    codePoint = 0;
    return Conversion::Invalid;
  }
  codePoint = out[0];
  result = CodePointToCp1252(out[0]);
  return Conversion::Ok;
}

std::unique_ptr<CodePageTable> BuildTable(int codePage) {
  char name[32];
  if (codePage == 10000) std::snprintf(name, sizeof name, "MACINTOSH");
  else std::snprintf(name, sizeof name, "CP%d", codePage);
  // UTF-32 in the machine's byte order, without a byte-order mark.
  const char* target = (std::endian::native == std::endian::little) ? "UTF-32LE" : "UTF-32BE";
  iconv_t cd = iconv_open(target, name);
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;

  auto table = std::make_unique<CodePageTable>();
  table->CodePage = codePage;
  bool anyLead = false;
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    int value = -1;
    char32_t codePoint = 0;
    const Conversion c = ConvertBytes(cd, &byte, 1, value, codePoint);
    table->Lead[b] = c == Conversion::Incomplete;
    table->Single[b] = static_cast<std::int16_t>(c == Conversion::Ok ? value : -1);
    table->SingleCodePoint[b] = c == Conversion::Ok ? codePoint : 0;
    anyLead = anyLead || table->Lead[b];
  }
  if (anyLead) {
    table->Pairs.assign(65536, -1);
    table->PairCodePoints.assign(65536, 0);
    for (int lead = 0; lead < 256; ++lead) {
      if (!table->Lead[lead]) continue;
      for (int trail = 0; trail < 256; ++trail) {
        const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        int value = -1;
        char32_t codePoint = 0;
        if (ConvertBytes(cd, pair, 2, value, codePoint) == Conversion::Ok) {
          table->Pairs[lead * 256 + trail] = static_cast<std::int16_t>(value);
          table->PairCodePoints[lead * 256 + trail] = codePoint;
        }
      }
    }
  }
  iconv_close(cd);
  return table;
}

}  // namespace

const CodePageTable* CodePageTableFor(int codePage) {
  if (codePage <= 0 || codePage > 65535 || codePage == 1252) return nullptr;
  static std::mutex mutex;
  static std::map<int, std::unique_ptr<CodePageTable>> tables;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = tables.find(codePage);
  if (it == tables.end()) it = tables.emplace(codePage, BuildTable(codePage)).first;
  return it->second.get();
}

int CodePageOfCharset(int charset) {
  switch (charset) {
    case 0: return 1252;     // ANSI
    case 77: return 10000;   // Mac Roman
    case 128: return 932;    // Shift-JIS
    case 129: return 949;    // Hangul
    case 130: return 1361;   // Johab
    case 134: return 936;    // GB 2312
    case 136: return 950;    // Big5
    case 161: return 1253;   // Greek
    case 162: return 1254;   // Turkish
    case 163: return 1258;   // Vietnamese
    case 177: return 1255;   // Hebrew
    case 178: return 1256;   // Arabic
    case 186: return 1257;   // Baltic
    case 204: return 1251;   // Cyrillic
    case 222: return 874;    // Thai
    case 238: return 1250;   // Eastern European
    case 254: return 437;    // PC 437
    case 255: return 850;    // OEM
    default: return 0;
  }
}

}  // namespace vocatrix::rtf
