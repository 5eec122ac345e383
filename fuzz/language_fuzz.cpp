// SPDX-License-Identifier: GPL-3.0-or-later
// The interface-language file as the core reads it: the input is the file of
// language "Fuzz" (and, read afresh each time, of language "Again"). Messages
// translate to the file's values as UTF-8 or to their defaults, the same
// through the loaded and the re-read file, and FormatText fills placeholders
// with the arguments in order without scanning the arguments themselves.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1252.h"
#include "base/errors.h"
#include "base/inifile.h"
#include "base/messages.h"
#include "base/settings.h"
#include "fuzz_support.h"
#include "model/exceptions.h"

using namespace vocatrix;

namespace {

// The language file's path, with the program settings pointed at a folder
// of the harness that lists it under two language names.
const std::string& LanguageFile() {
  static const std::string path = [] {
    const std::string folder = fuzz::ScratchFolder();
    SetProgramFilePath(folder + "vocatrix");
    fuzz::WriteScratchFile(folder + "vocatrix.ini", "[LanguageFiles]\nFuzz=fuzz.lng\nAgain=fuzz.lng\n");
    return folder + "fuzz.lng";
  }();
  return path;
}

// Arguments that hold placeholders themselves and are easy to find again.
const std::string kArgs[3] = {"\x01" "0%s%%\x02", "\x01" "1%d\x02", "\x01" "2%\x02"};

// FormatText with and without arguments: taking the arguments out of the
// result leaves the result without arguments, and the arguments appear at
// most once each, in their order, with no later one used before an earlier.
void CheckFormat(const std::string& pattern) {
  const std::string bare = FormatText(pattern, {});
  FUZZ_CHECK(bare.size() <= pattern.size());
  const std::string filled = FormatText(pattern, {kArgs[0], kArgs[1], kArgs[2]});
  if (pattern.find('\x01') != std::string::npos) return;
  std::string rest = filled;
  std::size_t previous = 0;
  bool missing = false;
  for (const std::string& arg : kArgs) {
    const std::size_t at = rest.find(arg);
    if (at == std::string::npos) {
      missing = true;
      continue;
    }
    FUZZ_CHECK(!missing && at >= previous);
    rest.erase(at, arg.size());
    FUZZ_CHECK(rest.find(arg) == std::string::npos);
    previous = at;
  }
  FUZZ_CHECK(rest == bare);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const std::string& path = LanguageFile();
  fuzz::WriteScratchFile(path, text);
  SetCurrentLanguage("Fuzz");
  FUZZ_CHECK(CurrentLanguage() == "Fuzz");
  FUZZ_CHECK(LanguageFileName("Fuzz") == path);

  std::vector<std::string> sections, keys;
  fuzz::IniNamesOf(text, sections, keys, 4);
  sections.push_back("Dynamic");
  for (const char* key : {"ErrForm", "ErrNotLesson", "ErrFOpen", "ErrListIndex"}) keys.push_back(key);

  const IniFile file = IniFile::Load(path);
  const std::string fallback = "default %s \xC3\xA4";
  int pairs = 0;
  for (const std::string& section : sections) {
    for (const std::string& key : keys) {
      const std::string message = Translate("Fuzz", section, key, fallback);
      // A language other than the current one reads its file each time.
      if (++pairs <= 8) FUZZ_CHECK(Translate("Again", section, key, fallback) == message);
      const std::string value = file.ReadString(section, key, "\n");  // no value holds a line break
      FUZZ_CHECK(message == (value == "\n" ? fallback : Cp1252ToUtf8(value)));
      FUZZ_CHECK(IsUtf8(message));
      CheckFormat(message);
    }
  }
  // The raw lines as patterns too: any bytes, not only translated UTF-8.
  std::size_t start = 0;
  for (int n = 0; n < 64 && start < text.size(); ++n) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    CheckFormat(std::string(text.substr(start, end - start)));
    start = end + 1;
  }

  // Messages of the core's errors come from section "Dynamic" of the file.
  FUZZ_CHECK(IsUtf8(EFormatError::ForFile("lesson.tav").what()));
  FUZZ_CHECK(IsUtf8(EFOpenError::ForFile("lesson.tav").what()));
  FUZZ_CHECK(IsUtf8(EListError().what()));
  FUZZ_CHECK(TranslateMessage("ErrForm", fallback, {"x.tav"}) ==
             FormatText(Translate("Fuzz", "Dynamic", "ErrForm", fallback), {"x.tav"}));
  return 0;
}
