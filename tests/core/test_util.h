// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared helpers of the core tests: temporary folders and small lessons.

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "files/lessonformats.h"
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

// Moves the test process into a mount namespace of its own, where it may
// mount scratch file systems that nothing else sees. Possible for root or
// with user namespaces, and only while the process has a single thread (the
// GUI tests call it before Qt starts). True when the process is in one.
inline bool EnterPrivateMountNamespace() {
  static const bool entered =
      ::unshare(CLONE_NEWNS) == 0 && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
  return entered;
}

// A small tmpfs mounted at a fresh folder (on a temporary folder of its own),
// unmounted with the object: a disk that can really run full.
class ScratchDisk {
 public:
  explicit ScratchDisk(std::size_t bytes) {
    mounted_ = EnterPrivateMountNamespace() &&
               ::mount("tmpfs", base_.Path().c_str(), "tmpfs", 0, ("size=" + std::to_string(bytes)).c_str()) == 0;
  }
  ~ScratchDisk() {
    if (mounted_) ::umount2(base_.Path().c_str(), MNT_DETACH);
  }
  ScratchDisk(const ScratchDisk&) = delete;
  ScratchDisk& operator=(const ScratchDisk&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& Path() const { return base_.Path(); }
  std::string File(const std::string& name) const { return base_.File(name); }
  // Takes every free block, so that the next write fails with ENOSPC.
  void Fill() const {
    const int fd = ::open(File("filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
    const std::string block(4096, 'f');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    while (::write(fd, block.data(), 1) > 0) {
    }
    ::close(fd);
  }

 private:
  TempDir base_;
  bool mounted_ = false;
};

// One way a disk refuses a save, staged on a folder of its own: a file-size
// limit, a folder the user may not write, a folder gone away, a full disk.
// Put the files in Folder(), then Refuse(); the process-wide part (the limit,
// or an unprivileged user) is held by InThisProcess() for a scope, or set by
// InChild() in a child about to run a program. Mend() gives the folder back.
class SaveFailure {
 public:
  enum Kind { kFileSizeLimit, kReadOnlyFolder, kMissingFolder, kFullDisk };
  static constexpr Kind kEvery[] = {kFileSizeLimit, kReadOnlyFolder, kMissingFolder, kFullDisk};

  SaveFailure(Kind kind, std::size_t diskBytes) : kind_(kind), disk_(diskBytes) {
    ::chmod(Folder().c_str(), 0755);  // the unprivileged user reads it too
  }
  Kind kind() const { return kind_; }
  // A full disk needs a mount namespace of its own.
  bool Possible() const { return kind_ != kFullDisk || disk_.Mounted(); }
  const std::string& Folder() const { return kind_ == kFullDisk ? disk_.Path() : temp_.Path(); }

  void Refuse() const {
    if (kind_ == kFullDisk) disk_.Fill();
    if (kind_ == kReadOnlyFolder) ::chmod(Folder().c_str(), 0555);
    if (kind_ == kMissingFolder) std::filesystem::rename(Folder(), Folder() + ".away");
  }
  void Mend() const {
    if (kind_ == kMissingFolder) std::filesystem::rename(Folder() + ".away", Folder());
    ::chmod(Folder().c_str(), 0755);
    if (kind_ == kFullDisk) std::filesystem::remove(disk_.File("filler"));
  }

  struct Scope {
    std::unique_ptr<ScopedFileSizeLimit> limit;
    std::unique_ptr<AsUnprivileged> user;
  };
  Scope InThisProcess(rlim_t sizeLimit) const {
    Scope scope;
    if (kind_ == kFileSizeLimit) scope.limit = std::make_unique<ScopedFileSizeLimit>(sizeLimit);
    if (kind_ == kReadOnlyFolder) scope.user = std::make_unique<AsUnprivileged>();
    return scope;
  }
  // In a forked child: for good, and with SIGXFSZ as a program finds it.
  void InChild(rlim_t sizeLimit) const {
    if (kind_ == kFileSizeLimit) {
      ::signal(SIGXFSZ, SIG_DFL);
      const rlimit limit{sizeLimit, sizeLimit};
      ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    if (kind_ == kReadOnlyFolder && ::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
  }

 private:
  Kind kind_;
  ScratchDisk disk_;
  TempDir temp_;
};

// The temporary files a save leaves in a folder (none, when it cleans up).
inline std::vector<std::string> TemporaryFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder))
    if (e.path().filename().string().find(".vtmp-") != std::string::npos) names.push_back(e.path().filename().string());
  return names;
}

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

// The message of the lesson error `action` raises, or "(no exception)".
inline std::string MessageOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Exception& e) {
    return e.what();
  }
  return "(no exception)";
}

// Read options choosing the KVTML identifiers (KVTML 1: columns) of language 1 and 2.
inline ReadOptions KvtmlLanguages(int language1, int language2) {
  ReadOptions options;
  options.Language1 = language1;
  options.Language2 = language2;
  return options;
}

inline std::vector<std::string> Texts(const TWordCollection& list) {
  std::vector<std::string> texts;
  for (const PWord& w : list) texts.push_back(w->Text());
  return texts;
}

}  // namespace vocatrix::test
