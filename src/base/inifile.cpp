// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/inifile.h"

#include <algorithm>

#include "base/safesave.h"
#include "base/errors.h"
#include "base/cp1252.h"

namespace vocatrix {
namespace {

std::string TrimBlanks(const std::string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
  while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t')) --e;
  return s.substr(b, e - b);
}

// The name of a "[section]" line, or false for any other line.
bool SectionName(const std::string& line, std::string& name) {
  const std::string t = TrimBlanks(line);
  if (t.size() < 2 || t.front() != '[') return false;
  const auto close = t.find(']');
  if (close == std::string::npos) return false;
  name = TrimBlanks(t.substr(1, close - 1));
  return true;
}

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// A key or value of the file as the program holds it: Windows-1252, cut to
// the longest value read (after decoding, so never inside a character).
std::string Decoded(std::string text, bool utf8, std::size_t limit = std::string::npos) {
  if (utf8) text = Utf8ToCp1252(text);
  if (text.size() > limit) text.resize(limit);
  return text;
}

// Compares a name as the file holds it with the one asked for, decoding only
// names that need it (most files are plain ASCII and are read often).
bool SameName(const std::string& stored, const std::string& wanted, bool utf8) {
  const bool ascii = std::all_of(stored.begin(), stored.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  return SameTextAsciiCaseless(utf8 && !ascii ? Utf8ToCp1252(stored) : stored, wanted);
}

// Index of the "[section]" line, or -1.
int FindSection(const std::vector<std::string>& lines, const std::string& section, bool utf8) {
  std::string name;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (SectionName(lines[i], name) && SameName(name, section, utf8)) return static_cast<int>(i);
  return -1;
}

// One past the last line of the section starting at `header`.
std::size_t SectionEnd(const std::vector<std::string>& lines, std::size_t header) {
  std::string name;
  std::size_t i = header + 1;
  while (i < lines.size() && !SectionName(lines[i], name)) ++i;
  return i;
}

}  // namespace

bool SplitIniLine(const std::string& line, std::string& key, std::string& value) {
  const auto eq = line.find('=');
  if (eq == std::string::npos) return false;
  key = TrimBlanks(line.substr(0, eq));
  value = TrimBlanks(line.substr(eq + 1));
  return true;
}

IniFile IniFile::Load(std::string fileName) {
  IniFile file(std::move(fileName));
  file.loadedLines_ = file.ReadLines(file.loadedLayout_);
  file.loaded_ = true;
  return file;
}

IniFile IniFile::Edit(std::string fileName) {
  IniFile file = Load(std::move(fileName));
  file.deferred_ = true;
  return file;
}

void IniFile::Save() {
  deferred_ = false;
  WriteLines(loadedLines_, loadedLayout_);
}

const std::vector<std::string>& IniFile::LinesToRead(std::vector<std::string>& storage, Layout& layout) const {
  if (loaded_) {
    layout = loadedLayout_;
    return loadedLines_;
  }
  storage = ReadLines(layout);
  return storage;
}

std::vector<std::string> IniFile::ReadLines(Layout& layout) const {
  if (loaded_) {
    layout = loadedLayout_;
    return loadedLines_;
  }
  layout = Layout();
  bool& crlf = layout.crlf;
  std::vector<std::string> lines;
  std::string data;
  if (!TryReadWholeFile(fileName_, data)) return lines;  // a missing or unreadable file reads as empty
  layout.bom = data.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0;
  if (layout.bom) data.erase(0, kUtf8Bom.size());
  layout.utf8 = layout.bom || LooksLikeUtf8(data);
  std::size_t start = 0;
  for (std::size_t i = 0; i < data.size(); ++i) {
    if (data[i] == '\n') {
      std::size_t end = i;
      if (end > start && data[end - 1] == '\r') {
        --end;
        crlf = true;
      }
      lines.push_back(data.substr(start, end - start));
      start = i + 1;
    }
  }
  if (start < data.size()) {
    // A CR ending the file ends its last line as a CR LF would; taking the
    // file for CR LF then writes every line back as it was read.
    std::string last = data.substr(start);
    if (!last.empty() && last.back() == '\r') {
      last.pop_back();
      crlf = true;
    }
    lines.push_back(last);
  }
  return lines;
}

void IniFile::WriteLines(const std::vector<std::string>& lines, const Layout& layout) {
  if (deferred_) {
    loadedLines_ = lines;
    loadedLayout_ = layout;
    return;
  }
  const char* eol = layout.crlf ? "\r\n" : "\n";
  const auto image = [&](const std::vector<std::string>& text, const Layout& how) {
    std::string data(how.bom ? kUtf8Bom : std::string_view());
    for (const std::string& line : text) data += line + eol;
    return data;
  };
  std::string data = image(lines, layout);
  // Windows-1252 text that would read as UTF-8 next time (an ASCII file given
  // a value like "\xC3\xA4") is stored as UTF-8, so every line reads back as it was.
  Layout stored = layout;
  std::vector<std::string> converted;
  if (!layout.utf8 && LooksLikeUtf8(data)) {
    stored.utf8 = true;
    for (const std::string& line : lines) converted.push_back(Cp1252ToUtf8(line));
    data = image(converted, stored);
  }
  try {
    WriteFileAtomically(fileName_, data);
  } catch (const Exception&) {
    throw EFWriteError::ForFile(fileName_);
  }
  if (loaded_) {
    loadedLines_ = stored.utf8 != layout.utf8 ? std::move(converted) : lines;
    loadedLayout_ = stored;
  }
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& defaultValue) const {
  std::vector<std::string> storage;
  Layout layout;
  const std::vector<std::string>& lines = LinesToRead(storage, layout);
  const int header = FindSection(lines, section, layout.utf8);
  if (header < 0) return defaultValue;
  const std::size_t end = SectionEnd(lines, static_cast<std::size_t>(header));
  std::string k, v;
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end; ++i) {
    if (SplitIniLine(lines[i], k, v) && SameName(k, key, layout.utf8))
      return Decoded(v, layout.utf8, kMaxValueLength);
  }
  return defaultValue;
}

std::vector<std::string> IniFile::ReadSectionValues(const std::string& section) const {
  std::vector<std::string> storage;
  Layout layout;
  const std::vector<std::string>& lines = LinesToRead(storage, layout);
  std::vector<std::string> result;
  const int header = FindSection(lines, section, layout.utf8);
  if (header < 0) return result;
  const std::size_t end = SectionEnd(lines, static_cast<std::size_t>(header));
  std::string k, v;
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end; ++i) {
    if (!SplitIniLine(lines[i], k, v) || k.empty() || k[0] == ';') continue;
    result.push_back(Decoded(k, layout.utf8) + "=" + Decoded(v, layout.utf8, kMaxValueLength));
  }
  return result;
}

bool IniFile::SectionExists(const std::string& section) const {
  std::vector<std::string> storage;
  Layout layout;
  const std::vector<std::string>& lines = LinesToRead(storage, layout);
  return FindSection(lines, section, layout.utf8) >= 0;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  Layout layout;
  std::vector<std::string> lines = ReadLines(layout);
  // Written in the file's own encoding, so a file kept in UTF-8 stays whole.
  const auto encoded = [&](const std::string& text) { return layout.utf8 ? Cp1252ToUtf8(text) : text; };
  const std::string newLine = encoded(key + "=" + value);
  const int header = FindSection(lines, section, layout.utf8);
  if (header < 0) {
    if (!lines.empty() && !TrimBlanks(lines.back()).empty()) lines.emplace_back();
    lines.push_back(encoded("[" + section + "]"));
    lines.push_back(newLine);
  } else {
    const std::size_t end = SectionEnd(lines, static_cast<std::size_t>(header));
    std::string k, v;
    bool replaced = false;
    for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end && !replaced; ++i) {
      if (SplitIniLine(lines[i], k, v) && SameName(k, key, layout.utf8)) {
        lines[i] = newLine;
        replaced = true;
      }
    }
    if (!replaced) {
      // After the section's last non-empty line, so blank separators stay below it.
      std::size_t at = end;
      while (at > static_cast<std::size_t>(header) + 1 && TrimBlanks(lines[at - 1]).empty()) --at;
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), newLine);
    }
  }
  WriteLines(lines, layout);
}

void IniFile::EraseSection(const std::string& section) {
  Layout layout;
  std::vector<std::string> lines = ReadLines(layout);
  bool changed = false;
  for (int header = FindSection(lines, section, layout.utf8); header >= 0;
       header = FindSection(lines, section, layout.utf8)) {
    const std::size_t end = SectionEnd(lines, static_cast<std::size_t>(header));
    lines.erase(lines.begin() + header, lines.begin() + static_cast<std::ptrdiff_t>(end));
    changed = true;
  }
  if (changed) WriteLines(lines, layout);
}

}  // namespace vocatrix
