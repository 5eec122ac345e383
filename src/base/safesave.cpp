// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/safesave.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <cstdlib>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "base/errors.h"
#include "base/messages.h"

namespace vocatrix {
namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

constexpr std::string_view kTemporaryMark = ".vtmp-";

std::atomic<SaveStepWatcher> stepWatcher{nullptr};

void Reached(SaveStep step) {
  if (const SaveStepWatcher watcher = stepWatcher.load()) watcher(step);
}

// "dir/name" split as "dir/" and "name" ("" and the path without a slash).
std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a save replaces: the path itself or, where it is a symbolic link,
// the file the links lead to, so that the link stays a link.
std::string FollowLinks(const std::string& path) {
  std::string target = path;
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return target;
    std::vector<char> buffer(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
    const ssize_t n = ::readlink(target.c_str(), buffer.data(), buffer.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= buffer.size()) throw EFWriteError::ForFile(path);
    std::string next(buffer.data(), static_cast<std::size_t>(n));
    target = next[0] == '/' ? next : FolderOf(target) + next;
  }
  throw EFWriteError::ForFile(path);  // a ring of links
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting whether everything written reached the file.
  bool Close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

int OpenFolder(const std::string& folder) {
  return ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Removes, in a folder, the temporary files of earlier saves of `name` whose
// process no longer runs (a save killed half way); they hold nothing the
// user has.
void RemoveStaleTemporaries(int folder, const std::string& name) {
  const std::string prefix = name + std::string(kTemporaryMark);
  const int listed = ::dup(folder);
  DIR* dir = listed < 0 ? nullptr : ::fdopendir(listed);
  if (!dir) {
    if (listed >= 0) ::close(listed);
    return;
  }
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view entryName(entry->d_name);
    if (entryName.size() <= prefix.size() || entryName.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string_view rest = entryName.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9 ||
        rest.substr(0, dash).find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
    if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH) ::unlinkat(folder, entry->d_name, 0);
  }
  ::closedir(dir);
}

EFWriteError NotAFileToWrite(const std::string& path) {
  return EFWriteError(TranslateMessage("ErrNotAFileToWrite", "'%s' is not a file that can be written.", {path}));
}

// A fresh name for a temporary file of a save of `name`. It names the
// process writing it, so that one left by a save that was killed can be told
// from one being written right now.
std::string TemporaryName(const std::string& name) {
  static std::atomic<unsigned> counter{0};
  const unsigned salt = counter.fetch_add(1) * 2654435761u ^
                        static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count());
  return name + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-" + std::to_string(salt);
}

// Runs `make` (name) on fresh temporary names until one is free; true when
// `make` succeeded, with `made` the name.
template <class Make>
bool MakeTemporary(const std::string& name, std::string& made, Make make) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    made = TemporaryName(name);
    if (make(made)) return true;
    if (errno != EEXIST) return false;
  }
  return false;
}

// Gives the new file the old one's permission bits and, as far as the
// process may, its owner and group (a file that did not exist gets what
// the user's umask leaves of 0666).
// The process's umask, without changing it: saves run on more than one
// thread (autosave writes beside the interface's saves), and setting the
// umask to read it would let another thread create files under a mask of 0.
mode_t CurrentUmask() {
  std::string status;
  if (TryReadWholeFile("/proc/self/status", status)) {
    const auto at = status.find("\nUmask:");
    if (at != std::string::npos) return static_cast<mode_t>(std::strtoul(status.c_str() + at + 7, nullptr, 8));
  }
  static std::mutex guard;
  const std::lock_guard lock(guard);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

bool TakeOverAttributes(int fd, const struct stat* old) {
  if (!old) return ::fchmod(fd, 0666 & ~CurrentUmask()) == 0;
  // Only root may give a file away; a member of the file's group may still
  // give it that group. The owner comes first: changing it clears set-id bits.
  if ((old->st_uid != ::geteuid() || old->st_gid != ::getegid()) && ::fchown(fd, old->st_uid, old->st_gid) != 0 &&
      ::fchown(fd, static_cast<uid_t>(-1), old->st_gid) != 0) {
    // Neither is allowed: the file is the saving user's, as any new file.
  }
  return ::fchmod(fd, old->st_mode & 07777) == 0;
}

// Copies the file `name` into the open file `to`, for a backup where the
// file system has no hard links.
bool CopyInto(int folder, const std::string& name, int to) {
  const FileDescriptor from(::openat(folder, name.c_str(), O_RDONLY | O_CLOEXEC));
  if (from.get() < 0) return false;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(from.get(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(to, std::string_view(buffer, static_cast<std::size_t>(n)))) return false;
  }
}

// Temporary files of one save, removed unless they were renamed into place.
class Temporaries {
 public:
  ~Temporaries() {
    for (const auto& [folder, name] : names_) ::unlinkat(folder, name.c_str(), 0);
  }
  void Add(int folder, const std::string& name) { names_.emplace_back(folder, name); }
  void Done(const std::string& name) {
    for (auto it = names_.begin(); it != names_.end(); ++it)
      if (it->second == name) {
        names_.erase(it);
        return;
      }
  }

 private:
  std::vector<std::pair<int, std::string>> names_;
};

// Keeps the file now at `name` also at `backupName` (in its own folder),
// replacing an older backup in one rename: a hard link to the old file, or a
// copy of it where the file system has no hard links.
bool MakeBackup(int folder, const std::string& name, int backupFolder, const std::string& backupName,
                Temporaries& temporaries) {
  std::string made;
  const bool linked = MakeTemporary(name, made, [&](const std::string& temporary) {
    return ::linkat(folder, name.c_str(), backupFolder, temporary.c_str(), 0) == 0;
  });
  if (linked) {
    temporaries.Add(backupFolder, made);
  } else {
    if (errno != EPERM && errno != EXDEV && errno != EMLINK && errno != EOPNOTSUPP && errno != ENOSYS) return false;
    int fd = -1;
    if (!MakeTemporary(name, made, [&](const std::string& temporary) {
          fd = ::openat(backupFolder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
          return fd >= 0;
        }))
      return false;
    FileDescriptor copy(fd);
    temporaries.Add(backupFolder, made);
    struct stat st {};
    if (::fstatat(folder, name.c_str(), &st, 0) != 0 || !CopyInto(folder, name, fd) || !TakeOverAttributes(fd, &st) ||
        ::fsync(fd) != 0 || !copy.Close())
      return false;
  }
  if (::renameat(backupFolder, made.c_str(), backupFolder, backupName.c_str()) != 0) return false;
  temporaries.Done(made);
  return true;
}

}  // namespace

void WatchSaveSteps(SaveStepWatcher watcher) { stepWatcher.store(watcher); }

void TreatFileSizeLimitAsWriteError() { ::signal(SIGXFSZ, SIG_IGN); }

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

bool FileIsReadOnly(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  if (::access(path.c_str(), W_OK) != 0) return true;
  mode_t writeBit = S_IWOTH;
  if (st.st_uid == ::geteuid()) writeBit = S_IWUSR;
  else if (st.st_gid == ::getegid()) writeBit = S_IWGRP;
  return (st.st_mode & writeBit) == 0;
}

std::string ReadOnlyMessage(const std::string& name) {
  return TranslateMessage("ReadOnly", "%s is read only.", {name});
}

void WriteFileAtomically(const std::string& path, std::string_view data, const std::string& backupPath) {
  const std::string target = FollowLinks(path);
  const std::string name = NameOf(target);
  const FileDescriptor folder(OpenFolder(FolderOf(target)));
  if (folder.get() < 0) throw EFCreateError::ForFile(path);
  RemoveStaleTemporaries(folder.get(), name);

  struct stat old {};
  const bool exists = ::fstatat(folder.get(), name.c_str(), &old, 0) == 0;
  // A save only ever replaces a regular file: renaming over a device, a pipe
  // or a socket would destroy it (a link to /dev/null would replace the node).
  if (exists && !S_ISREG(old.st_mode)) throw NotAFileToWrite(path);
  // The backup of a file reached through a link lies beside that file.
  const std::string backup = backupPath.empty() || target == path ? backupPath : FolderOf(target) + NameOf(backupPath);
  const bool keepBackup = exists && !backup.empty();
  const bool elsewhere = keepBackup && FolderOf(backup) != FolderOf(target);
  const FileDescriptor otherFolder(elsewhere ? OpenFolder(FolderOf(backup)) : -1);
  if (keepBackup) {
    // The backup's rename replaces whatever its name holds, so that too must be a regular file.
    struct stat held {};
    const int backupFolder = elsewhere ? otherFolder.get() : folder.get();
    if (backupFolder >= 0 && ::fstatat(backupFolder, NameOf(backup).c_str(), &held, AT_SYMLINK_NOFOLLOW) == 0 &&
        !S_ISREG(held.st_mode))
      throw NotAFileToWrite(backup);
  }
  Temporaries temporaries;  // after the folders, which it needs to the end
  std::string written;
  {
    int fd = -1;
    if (!MakeTemporary(name, written, [&](const std::string& temporary) {
          fd = ::openat(folder.get(), temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
          return fd >= 0;
        }))
      throw EFCreateError::ForFile(path);
    FileDescriptor file(fd);
    temporaries.Add(folder.get(), written);
    const bool complete = WriteAll(fd, data) && TakeOverAttributes(fd, exists ? &old : nullptr) && ::fsync(fd) == 0;
    if (!file.Close() || !complete) throw EFWriteError::ForFile(path);
  }
  Reached(SaveStep::kTemporaryWritten);

  if (keepBackup) {
    const int backupFolder = elsewhere ? otherFolder.get() : folder.get();
    const std::string backupName = NameOf(backup);
    struct stat existing {};
    // A file whose backup name is its own name keeps no backup.
    const bool itself = backupFolder >= 0 && ::fstatat(backupFolder, backupName.c_str(), &existing, 0) == 0 &&
                        existing.st_dev == old.st_dev && existing.st_ino == old.st_ino;
    if (!itself && (backupFolder < 0 || !MakeBackup(folder.get(), name, backupFolder, backupName, temporaries)))
      throw EFWriteError::ForFile(path);
    Reached(SaveStep::kBackupMade);
  }

  // The one step that changes what the name holds: old content, then new.
  if (::renameat(folder.get(), written.c_str(), folder.get(), name.c_str()) != 0) throw EFWriteError::ForFile(path);
  temporaries.Done(written);
  Reached(SaveStep::kReplaced);
  // The renames last only once the folders are on the disk.
  for (const int f : {folder.get(), otherFolder.get()})
    if (f >= 0 && ::fsync(f) != 0 && errno == EIO) throw EFWriteError::ForFile(path);
}

namespace {

enum class ReadOutcome { Read, Failed, NotRegular, TooLarge };

ReadOutcome ReadRegularFile(const std::string& path, std::string& data) {
  data.clear();
  // Without blocking: opening a named pipe would otherwise wait for a
  // writer forever.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return ReadOutcome::Failed;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    ::close(fd);
    return ReadOutcome::Failed;
  }
  // Devices, pipes and sockets have no end to read to (a link to /dev/zero
  // would fill the memory).
  if (!S_ISREG(st.st_mode)) {
    ::close(fd);
    return ReadOutcome::NotRegular;
  }
  if (static_cast<unsigned long long>(st.st_size) > kMaxFileSize) {
    ::close(fd);
    return ReadOutcome::TooLarge;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  data.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return ReadOutcome::Failed;
    }
    if (n == 0) break;
    // A file that grows while it is read stops at the limit too.
    if (data.size() + static_cast<std::size_t>(n) > kMaxFileSize) {
      ::close(fd);
      return ReadOutcome::TooLarge;
    }
    data.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return ReadOutcome::Read;
}

}  // namespace

bool TryReadWholeFile(const std::string& path, std::string& data) {
  return ReadRegularFile(path, data) == ReadOutcome::Read;
}

std::string ReadWholeFile(const std::string& path) {
  std::string data;
  switch (ReadRegularFile(path, data)) {
    case ReadOutcome::Read: return data;
    case ReadOutcome::NotRegular:
      throw EFOpenError(TranslateMessage("ErrNotAFile", "'%s' is not a file that can be read.", {path}));
    case ReadOutcome::TooLarge:
      throw EFOpenError(TranslateMessage("ErrFileTooLarge", "'%s' is larger than any lesson or text can be.", {path}));
    case ReadOutcome::Failed: break;
  }
  throw EFOpenError::ForFile(path);
}

}  // namespace vocatrix
