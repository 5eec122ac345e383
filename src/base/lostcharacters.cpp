// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/lostcharacters.h"

#include <unicode/uloc.h>
#include <unicode/uscript.h>
#include <unicode/ustring.h>

#include <algorithm>

#include "base/cp1252.h"
#include "base/messages.h"

namespace vocatrix {
namespace {

constexpr std::size_t kExamples = 3;

// Scripts whose name tells the user nothing about what was lost: Latin
// letters beyond Windows-1252, and the characters every script shares
// (symbols, emoji, combining marks).
bool NamesNothing(int script) {
  return script == USCRIPT_COMMON || script == USCRIPT_INHERITED || script == USCRIPT_LATIN ||
         script == USCRIPT_UNKNOWN || script < 0;
}

// The script's name in the language of the messages, English where ICU
// has none.
std::string ScriptName(int script) {
  const char* shortName = uscript_getShortName(static_cast<UScriptCode>(script));
  const std::string displayLocale = TranslateMessage("ScriptNamesLocale", "en");
  UChar name[64];
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = uloc_getDisplayScript((std::string("und_") + (shortName ? shortName : "")).c_str(),
                                               displayLocale.c_str(), name, 64, &status);
  if (U_SUCCESS(status) && length > 0 && length < 64 && status != U_USING_DEFAULT_WARNING) {
    char utf8[256];
    int32_t written = 0;
    UErrorCode convert = U_ZERO_ERROR;
    u_strToUTF8(utf8, sizeof utf8, &written, name, length, &convert);
    if (U_SUCCESS(convert) && written > 0 && written < static_cast<int32_t>(sizeof utf8))
      return std::string(utf8, static_cast<std::size_t>(written));
  }
  const char* english = uscript_getName(static_cast<UScriptCode>(script));
  return english ? english : "";
}

}  // namespace

std::string LostCharacters::FromUtf8(std::string_view utf8, bool* lost) {
  std::string out;
  out.reserve(utf8.size());
  const std::size_t before = characters_;
  std::size_t i = 0;
  while (i < utf8.size()) {
    const unsigned char c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      ++i;
      continue;
    }
    char32_t cp;
    if (!NextUtf8(utf8, i, cp)) {
      out += '?';
      Note(0);
      continue;
    }
    const int b = CodePointToCp1252(cp);
    if (b < 0) {
      out += '?';
      Note(cp);
    } else {
      out += static_cast<char>(b);
    }
  }
  if (lost) *lost = characters_ > before;
  return out;
}

void LostCharacters::Note(char32_t codePoint) {
  ++characters_;
  // A malformed sequence shows as the replacement character.
  if (codePoint == 0) codePoint = 0xFFFD;
  UErrorCode status = U_ZERO_ERROR;
  const int script = uscript_getScript(static_cast<UChar32>(codePoint), &status);
  ++scripts_[U_SUCCESS(status) ? script : -1];
  if (examples_.size() < kExamples && std::find(examples_.begin(), examples_.end(), codePoint) == examples_.end())
    examples_.push_back(codePoint);
}

std::string LostCharacters::Sample() const {
  int best = -1;
  std::size_t bestCount = 0;
  for (const auto& [script, count] : scripts_)
    if (!NamesNothing(script) && count > bestCount) best = script, bestCount = count;
  if (best >= 0) return ScriptName(best);
  std::string quoted;
  for (char32_t cp : examples_) {
    if (!quoted.empty()) quoted += ", ";
    quoted += '"';
    AppendUtf8(quoted, cp);
    quoted += '"';
  }
  return quoted;
}

void LostCharacters::Add(const LostCharacters& other) {
  characters_ += other.characters_;
  for (const auto& [script, count] : other.scripts_) scripts_[script] += count;
  for (char32_t cp : other.examples_)
    if (examples_.size() < kExamples && std::find(examples_.begin(), examples_.end(), cp) == examples_.end())
      examples_.push_back(cp);
}

}  // namespace vocatrix
