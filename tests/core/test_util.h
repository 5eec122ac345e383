#pragma once
// Shared helpers of the core tests: temporary folders and small lessons.

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "model/lesson.h"

namespace vocatrix::test {

// A fresh folder removed with the object.
class TempDir {
 public:
  TempDir() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "vocatrix-test-XXXXXX").string();
    path_ = ::mkdtemp(tmpl.data());
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Makes every write past `bytes` fail, as on a full disk (also for root,
// whom read-only folders do not stop).
class ScopedFileSizeLimit {
 public:
  explicit ScopedFileSizeLimit(rlim_t bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~ScopedFileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, previous_);
  }
  ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
  ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;

 private:
  rlimit saved_{};
  void (*previous_)(int) = SIG_DFL;
};

// Runs a scope as the user "nobody" when the tests run as root, so that
// file permissions bind as they do for an ordinary user.
class AsUnprivileged {
 public:
  AsUnprivileged() : wasRoot_(::geteuid() == 0) {
    if (wasRoot_ && (::setegid(65534) != 0 || ::seteuid(65534) != 0)) throw std::runtime_error("cannot drop privileges");
  }
  ~AsUnprivileged() {
    if (wasRoot_ && (::seteuid(0) != 0 || ::setegid(0) != 0)) std::abort();
  }
  AsUnprivileged(const AsUnprivileged&) = delete;
  AsUnprivileged& operator=(const AsUnprivileged&) = delete;

 private:
  bool wasRoot_;
};

inline void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream out(path, std::ios::binary);
  out << data;
}

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// An entry built from the texts of its four lists, in kind order
// (synonyms, translations, antonyms, antonym translations).
inline MeaningPtr MakeEntry(std::uint8_t form, const std::vector<std::string>& synonyms,
                            const std::vector<std::string>& translations = {},
                            const std::vector<std::string>& antonyms = {},
                            const std::vector<std::string>& antonymTranslations = {}) {
  MeaningPtr m = TMeaning::Create();
  m->Form = form;
  m->SetKindTexts(kSynonyms, synonyms);
  m->SetKindTexts(kTranslations, translations);
  m->SetKindTexts(kAntonyms, antonyms);
  m->SetKindTexts(kAntonymTranslations, antonymTranslations);
  return m;
}

// A lesson holding the given entries.
inline std::unique_ptr<TMeanCollection> MakeLesson(const std::string& language1, const std::string& language2,
                                                   const std::vector<MeaningPtr>& entries) {
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Language1.Name = language1;
  lesson->Language2.Name = language2;
  lesson->Meanings->DeleteAll();
  for (const MeaningPtr& m : entries) lesson->Meanings->Insert(m);
  return lesson;
}

inline std::vector<std::string> Texts(const TWordCollection& list) {
  std::vector<std::string> texts;
  for (const PWord& w : list) texts.push_back(w->Text());
  return texts;
}

}  // namespace vocatrix::test
