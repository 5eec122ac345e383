// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the fuzz harnesses: the failure report, the collation
// they run under and a comparable picture of a lesson.

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <locale>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/cp1252.h"
#include "base/font.h"
#include "model/lesson.h"
#include "model/textcompare.h"

namespace vocatrix::fuzz {

// An invariant failed: report it and abort, so that libFuzzer keeps the input
// and the replayer's test fails.
[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: fuzz invariant failed: %s\n", file, line, what);
  std::fflush(stderr);
  std::abort();
}

#define FUZZ_CHECK(condition) \
  ((condition) ? (void)0 : ::vocatrix::fuzz::Fail(__FILE__, __LINE__, #condition))

// Plain code-point collation, whatever the environment's locale is, so that a
// saved input behaves the same on every machine.
inline void UseCodePointCollation() {
  static const bool done = (SetCollationLocale(std::locale::classic()), true);
  (void)done;
}

// A locale with a real collation when the system has one, for the harnesses
// that also run the lesson model under it.
inline const std::optional<std::locale>& GermanLocale() {
  static const std::optional<std::locale> locale = []() -> std::optional<std::locale> {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8"}) {
      try {
        return std::locale(name);
      } catch (const std::exception&) {
      }
    }
    return std::nullopt;
  }();
  return locale;
}

// What a lesson holds for its user: header, languages and per entry the
// form and the texts of the four word lists.
struct LessonPicture {
  std::string Title, Topic, Author, Picture;
  std::string Name1, Name2;
  TFont Font1, Font2;
  struct Entry {
    int Form;
    std::vector<std::string> Kinds[4];
    bool operator==(const Entry&) const = default;
  };
  std::vector<Entry> Entries;
  bool operator==(const LessonPicture&) const = default;
};

inline LessonPicture PictureOf(const TMeanCollection& lesson) {
  LessonPicture p{lesson.Title,         lesson.Topic,         lesson.Author, lesson.Picture,
                  lesson.Language1.Name, lesson.Language2.Name, lesson.Language1.Font,
                  lesson.Language2.Font, {}};
  for (int i = 0; i < lesson.EntryCount(); ++i) {
    const MeaningPtr& m = lesson.Meanings->At(i);
    LessonPicture::Entry e{m->Form, {}};
    for (int kind = 0; kind < 4; ++kind) e.Kinds[kind] = m->KindTexts(kind);
    p.Entries.push_back(std::move(e));
  }
  return p;
}

// Section and key names an ini text seems to use, to query it by: the text
// between "[" and "]" of a line, the text before a line's "=", each with
// blanks and tabs trimmed and also read as UTF-8 (as the program names what a
// UTF-8 file holds), each once, at most `limit` of each.
inline void IniNamesOf(std::string_view text, std::vector<std::string>& sections, std::vector<std::string>& keys,
                       std::size_t limit) {
  auto trim = [](std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
  };
  auto add = [limit](std::vector<std::string>& names, const std::string& name) {
    for (const std::string& n : {name, Utf8ToCp1252(name)})
      if (names.size() < limit && std::find(names.begin(), names.end(), n) == names.end()) names.push_back(n);
  };
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::size_t open = line.find('[');
    const std::size_t close = open == std::string_view::npos ? open : line.find(']', open);
    if (close != std::string_view::npos) add(sections, trim(line.substr(open + 1, close - open - 1)));
    const std::size_t eq = line.find('=');
    if (eq != std::string_view::npos) add(keys, trim(line.substr(0, eq)));
    start = end + 1;
  }
}

// The folder the harnesses that need files write them to: one per process,
// in memory when the system offers it, so that writes cost little.
inline const std::string& ScratchFolder() {
  struct Folder {
    std::string path;
    Folder() {
      std::string base = "/tmp";
      if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) base = tmp;
      else if (::access("/dev/shm", W_OK) == 0) base = "/dev/shm";
      path = base + "/vocatrix-fuzz-" + std::to_string(::getpid()) + "/";
      ::mkdir(path.c_str(), 0700);
    }
    ~Folder() {
      std::error_code ec;
      std::filesystem::remove_all(path, ec);
    }
  };
  static const Folder folder;
  return folder.path;
}

// Writes a whole file plainly (the harness's own input, not the code under test).
inline void WriteScratchFile(const std::string& path, std::string_view data) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  FUZZ_CHECK(f != nullptr);
  FUZZ_CHECK(std::fwrite(data.data(), 1, data.size(), f) == data.size());
  FUZZ_CHECK(std::fclose(f) == 0);
}

}  // namespace vocatrix::fuzz
