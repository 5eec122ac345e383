// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/messages.h"

#include <cctype>

#include "base/cp1252.h"
#include "base/inifile.h"
#include "base/settings.h"

namespace vocatrix {
namespace {

// The file of the current interface language, read once when the language
// is set, so that messages do not read it again each time.
struct LoadedLanguage {
  std::string Language;
  IniFile File{std::string()};
};

LoadedLanguage& Loaded() {
  static LoadedLanguage loaded;
  return loaded;
}

}  // namespace

const std::string& CurrentLanguage() { return Loaded().Language; }

void SetCurrentLanguage(const std::string& language) {
  IniFile file = language.empty() ? IniFile(std::string()) : IniFile::Load(LanguageFileName(language));
  LoadedLanguage& loaded = Loaded();
  loaded.Language = language;
  loaded.File = std::move(file);
}

std::string Translate(const std::string& language, const std::string& section, const std::string& key,
                      const std::string& defaultText) {
  if (language.empty()) return defaultText;
  // No value read from a file holds a line break, so this default cannot be
  // mistaken for one.
  static const std::string kMissing("\n");
  const LoadedLanguage& loaded = Loaded();
  const std::string value = language == loaded.Language
                                ? loaded.File.ReadString(section, key, kMissing)
                                : IniFile(LanguageFileName(language)).ReadString(section, key, kMissing);
  return value == kMissing ? defaultText : Cp1252ToUtf8(value);
}

std::string FormatText(const std::string& pattern, std::initializer_list<std::string> args) {
  std::string out;
  auto arg = args.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] != '%' || i + 1 >= pattern.size()) {
      out += pattern[i];
      continue;
    }
    if (pattern[i + 1] == '%') {
      out += '%';
      ++i;
      continue;
    }
    // "%" [-] [width] [.prec] letter: the whole placeholder takes the next argument.
    std::size_t j = i + 1;
    while (j < pattern.size() && (pattern[j] == '-' || pattern[j] == '.' || (pattern[j] >= '0' && pattern[j] <= '9'))) ++j;
    if (j < pattern.size() && std::isalpha(static_cast<unsigned char>(pattern[j]))) {
      if (arg != args.end()) out += *arg++;
      i = j;
    } else {
      out += pattern[i];
    }
  }
  return out;
}

namespace {

bool& EnglishBuiltIns() {
  static bool english = false;
  return english;
}

// The English of the German built-in messages.
const std::string* EnglishOf(const std::string& key) {
  static const std::pair<std::string, std::string> kEnglish[] = {
      {"ErrFOpen", "Cannot open file %s"},
      {"ErrFCreate", "Cannot create file %s"},
      {"ErrFWrite", "Cannot write to %s"},
      {"ErrListIndex", "List index out of bounds"},
  };
  for (const auto& [known, english] : kEnglish)
    if (known == key) return &english;
  return nullptr;
}

}  // namespace

void UseEnglishBuiltInMessages() { EnglishBuiltIns() = true; }

std::string TranslateMessage(const std::string& key, const std::string& defaultText,
                             std::initializer_list<std::string> args) {
  const std::string* english = EnglishBuiltIns() ? EnglishOf(key) : nullptr;
  return FormatText(Translate(CurrentLanguage(), "Dynamic", key, english ? *english : defaultText), args);
}

}  // namespace vocatrix
