// SPDX-License-Identifier: GPL-3.0-or-later
#include "spelling/personalwords.h"

#include <unordered_set>

#include "base/cp1252.h"
#include "base/safesave.h"
#include "base/settings.h"

namespace vocatrix {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32) text.remove_suffix(1);
  return text;
}

bool IsAscii(std::string_view text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

std::vector<std::string> ParsePersonalWords(std::string_view text) {
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  std::vector<std::string> words;
  std::unordered_set<std::string> seen;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (line.empty() || line.front() == '#') continue;
    std::string word;
    if (IsAscii(line)) {
      word.assign(line);
    } else if (LooksLikeUtf8(line)) {
      std::size_t replaced = 0;
      word = Utf8ToCp1252(line, &replaced);
      if (replaced > 0) continue;
    } else {
      word.assign(line);
    }
    if (seen.insert(word).second) words.push_back(std::move(word));
  }
  return words;
}

std::string AppendPersonalWord(std::string_view text, std::string_view word) {
  std::string result(text);
  if (!result.empty() && result.back() != '\n') result += result.find("\r\n") != std::string::npos ? "\r\n" : "\n";
  result += Cp1252ToUtf8(word);
  result += '\n';
  return result;
}

std::vector<std::string> ReadPersonalWords(const std::string& fileName) {
  std::string text;
  if (!TryReadWholeFile(fileName, text)) return {};
  return ParsePersonalWords(text);
}

void AddPersonalWord(const std::string& fileName, std::string_view word) {
  std::string text;
  if (FileExists(fileName)) text = ReadWholeFile(fileName);
  // The settings folder of an installed program may not exist yet.
  MakeFolders(FolderOf(fileName));
  WriteFileAtomically(fileName, AppendPersonalWord(text, word));
}

}  // namespace vocatrix
