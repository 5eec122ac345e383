// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Initialisation files with the semantics of the Windows profile functions:
// "[section]" and "key=value" lines, section and key names matched without
// regard to case, a missing file, section or key gives the caller's default,
// values read are at most 1023 characters. Files are Windows-1252 with CR LF
// or LF line ends; a file that a user saved as UTF-8 (with or without a
// byte-order mark) is read in Windows-1252 all the same, and what the program
// writes into it is written as UTF-8. Every write keeps all other lines as
// they were and replaces the file atomically.

#include <string>
#include <vector>

namespace vocatrix {

class IniFile {
 public:
  explicit IniFile(std::string fileName) : fileName_(std::move(fileName)) {}

  // A file read once: later reads come from memory (writes still go to the
  // file and update the copy).
  static IniFile Load(std::string fileName);
  // A file read once whose writes are kept in memory until Save, which
  // writes the whole file once (raising EFWriteError when it cannot).
  static IniFile Edit(std::string fileName);
  void Save();

  const std::string& FileName() const { return fileName_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& defaultValue) const;
  // The section's lines as "key=value" (key and value trimmed), in file order.
  std::vector<std::string> ReadSectionValues(const std::string& section) const;
  bool SectionExists(const std::string& section) const;

  // Raise EFWriteError ("Kann nicht nach %s schreiben") when the file cannot be written.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void EraseSection(const std::string& section);

  static constexpr std::size_t kMaxValueLength = 1023;

 private:
  // How the file's lines are stored: line ends and character encoding.
  struct Layout {
    bool crlf = false;
    bool utf8 = false;
    bool bom = false;
  };
  std::vector<std::string> ReadLines(Layout& layout) const;
  // The lines to read and how they are stored.
  const std::vector<std::string>& LinesToRead(std::vector<std::string>& storage, Layout& layout) const;
  void WriteLines(const std::vector<std::string>& lines, const Layout& layout);

  std::string fileName_;
  bool loaded_ = false;
  bool deferred_ = false;
  Layout loadedLayout_;
  std::vector<std::string> loadedLines_;
};

// Splits "key=value" into its trimmed parts; false when the line has no "=".
bool SplitIniLine(const std::string& line, std::string& key, std::string& value);

}  // namespace vocatrix
