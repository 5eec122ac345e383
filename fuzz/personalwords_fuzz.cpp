// SPDX-License-Identifier: GPL-3.0-or-later
// The personal word list of the spelling dictionaries. The first line of the
// input is a word to add, the rest is the list's file. Every word read is a
// trimmed, non-empty line that is no comment, each once; adding a word keeps
// the file's bytes and reads back as the words before and the new one.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "spelling/personalwords.h"
#include "fuzz_support.h"

using namespace vocatrix;

namespace {

// A word as "Add to dictionary" gets it: one line, trimmed, not a comment.
std::string WordOf(std::string_view line) {
  std::string word;
  for (const char c : line)
    if (c != '\r' && c != '\n') word += c;
  while (!word.empty() && static_cast<unsigned char>(word.back()) <= 32) word.pop_back();
  std::size_t b = 0;
  while (b < word.size() && static_cast<unsigned char>(word[b]) <= 32) ++b;
  word.erase(0, b);
  return word.empty() || word[0] == '#' ? std::string() : word;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > 64 * 1024) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t firstBreak = std::min(input.find('\n'), input.size());
  const std::string word = WordOf(input.substr(0, firstBreak));
  const std::string_view text = input.substr(std::min(firstBreak + 1, input.size()));

  const std::vector<std::string> words = ParsePersonalWords(text);
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& w = words[i];
    FUZZ_CHECK(!w.empty() && w[0] != '#');
    FUZZ_CHECK(static_cast<unsigned char>(w.front()) > 32 && static_cast<unsigned char>(w.back()) > 32);
    FUZZ_CHECK(w.find_first_of("\r\n") == std::string::npos);
    FUZZ_CHECK(std::find(words.begin(), words.begin() + static_cast<std::ptrdiff_t>(i), w) ==
               words.begin() + static_cast<std::ptrdiff_t>(i));
  }
  if (word.empty()) return 0;

  const std::string appended = AppendPersonalWord(text, word);
  FUZZ_CHECK(appended.compare(0, text.size(), text) == 0);
  std::vector<std::string> expected = words;
  if (std::find(words.begin(), words.end(), word) == words.end()) expected.push_back(word);
  FUZZ_CHECK(ParsePersonalWords(appended) == expected);
  return 0;
}
