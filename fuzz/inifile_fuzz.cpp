// SPDX-License-Identifier: GPL-3.0-or-later
// The ini reader and writer. The first byte of the input picks which section
// and key to write (one the file names, or a new one), the rest of the first
// line is the value to write, the lines after it are the file.
// A loaded file reads as the file read each time; a key reads as the first
// line of its section's values; a value written reads back (cut to
// kMaxValueLength) and every other value reads as before.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1252.h"
#include "base/inifile.h"
#include "fuzz_support.h"

using namespace vocatrix;

namespace {

constexpr const char* kMissing = "\x01missing";

using Names = std::vector<std::string>;

// A name or value that the line form can hold: no line break (and none of
// `forbidden`), no blanks or tabs at its ends.
std::string Sanitized(std::string_view text, std::string_view forbidden) {
  std::string out;
  for (const char c : text)
    if (c != '\r' && c != '\n' && forbidden.find(c) == std::string_view::npos) out += c;
  while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
  std::size_t b = 0;
  while (b < out.size() && (out[b] == ' ' || out[b] == '\t')) ++b;
  return out.substr(b);
}

// Every read of `a` equals the same read of `b`.
void CheckSameReads(const IniFile& a, const IniFile& b, const Names& sections, const Names& keys) {
  for (const std::string& s : sections) {
    FUZZ_CHECK(a.SectionExists(s) == b.SectionExists(s));
    FUZZ_CHECK(a.ReadSectionValues(s) == b.ReadSectionValues(s));
    for (const std::string& k : keys) FUZZ_CHECK(a.ReadString(s, k, kMissing) == b.ReadString(s, k, kMissing));
  }
}

// What the header promises of the reads of one file.
void CheckReads(const IniFile& file, const Names& sections, const Names& keys) {
  for (const std::string& s : sections) {
    const std::vector<std::string> values = file.ReadSectionValues(s);
    if (!file.SectionExists(s)) {
      FUZZ_CHECK(values.empty());
      for (const std::string& k : keys) FUZZ_CHECK(file.ReadString(s, k, kMissing) == kMissing);
      continue;
    }
    for (std::size_t i = 0; i < values.size(); ++i) {
      const std::size_t eq = values[i].find('=');
      FUZZ_CHECK(eq != std::string::npos && eq > 0 && values[i][0] != ';');
      const std::string key = values[i].substr(0, eq);
      const std::string value = values[i].substr(eq + 1);
      FUZZ_CHECK(value.size() <= IniFile::kMaxValueLength);
      // A key reads as its first line in the section.
      std::size_t first = 0;
      while (!SameTextAsciiCaseless(values[first].substr(0, values[first].find('=')), key)) ++first;
      if (first == i) FUZZ_CHECK(file.ReadString(s, key, kMissing) == value);
    }
    for (const std::string& k : keys) FUZZ_CHECK(file.ReadString(s, k, kMissing).size() <= IniFile::kMaxValueLength);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > 64 * 1024) return 0;
  const std::uint8_t choice = data[0];
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const std::size_t firstBreak = std::min(input.find('\n'), input.size());
  const std::string_view text = input.substr(std::min(firstBreak + 1, input.size()));
  static const std::string path = fuzz::ScratchFolder() + "fuzz.ini";
  fuzz::WriteScratchFile(path, text);

  Names sections, keys;
  fuzz::IniNamesOf(text, sections, keys, 4);
  sections.push_back("New Section");
  keys.push_back("NewKey");

  const IniFile loaded = IniFile::Load(path);
  const IniFile direct(path);
  CheckSameReads(loaded, direct, sections, keys);
  CheckReads(loaded, sections, keys);

  // The write: a section and key the file names (or new ones).
  const std::string section = Sanitized(sections[(choice >> 4) % sections.size()], "]");
  std::string key = Sanitized(keys[(choice & 15) % keys.size()], "=");
  if (key.empty() || key[0] == '[') key = "NewKey";
  const std::string value = Sanitized(input.substr(0, firstBreak), "");
  const std::string expected = value.substr(0, IniFile::kMaxValueLength);

  IniFile edit = IniFile::Edit(path);
  edit.WriteString(section, key, value);
  FUZZ_CHECK(edit.ReadString(section, key, kMissing) == expected);
  FUZZ_CHECK(edit.SectionExists(section));
  edit.Save();

  const IniFile after = IniFile::Load(path);
  CheckSameReads(after, edit, sections, keys);
  CheckReads(after, sections, keys);
  FUZZ_CHECK(after.ReadString(section, key, kMissing) == expected);
  for (const std::string& s : sections) {
    for (const std::string& k : keys) {
      if (SameTextAsciiCaseless(s, section) && SameTextAsciiCaseless(k, key)) continue;
      FUZZ_CHECK(after.ReadString(s, k, kMissing) == loaded.ReadString(s, k, kMissing));
    }
  }

  // Erasing takes every section of the name away, in memory until saved.
  IniFile erase = IniFile::Edit(path);
  erase.EraseSection(section);
  FUZZ_CHECK(!erase.SectionExists(section));
  FUZZ_CHECK(IniFile(path).SectionExists(section));
  return 0;
}
