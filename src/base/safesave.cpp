// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/safesave.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/messages.h"

namespace vocatrix {
namespace {

mode_t NewFileMode(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

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

// Removes the temporary files of earlier saves of `path` whose process no
// longer runs (a save killed half way); they hold nothing the user has.
void RemoveStaleTemporaries(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string prefix = path.substr(slash == std::string::npos ? 0 : slash + 1) + std::string(kTemporaryMark);
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name(entry->d_name);
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string_view rest = name.substr(prefix.size());
    const std::size_t dash = rest.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash > 9 ||
        rest.substr(0, dash).find_first_not_of("0123456789") != std::string_view::npos)
      continue;
    const pid_t pid = static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
    if (pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH) ::unlinkat(::dirfd(dir), entry->d_name, 0);
  }
  ::closedir(dir);
}

}  // namespace

void TreatFileSizeLimitAsWriteError() { ::signal(SIGXFSZ, SIG_IGN); }

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

void WriteFileAtomically(const std::string& path, std::string_view data, const std::string& backupPath) {
  RemoveStaleTemporaries(path);
  // The temporary file names the process writing it, so that one left by a
  // save that was killed can be told from one being written right now.
  std::string name = path + std::string(kTemporaryMark) + std::to_string(::getpid()) + "-XXXXXX";
  std::vector<char> tmpl(name.begin(), name.end());
  tmpl.push_back('\0');
  const int fd = ::mkstemp(tmpl.data());
  if (fd < 0) throw EFCreateError::ForFile(path);
  const std::string tmp(tmpl.data());

  const bool written = WriteAll(fd, data) && ::fchmod(fd, NewFileMode(path)) == 0 && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !written) {
    ::unlink(tmp.c_str());
    throw EFWriteError::ForFile(path);
  }

  bool movedToBackup = false;
  if (!backupPath.empty() && FileExists(path)) {
    ::unlink(backupPath.c_str());
    if (::rename(path.c_str(), backupPath.c_str()) != 0) {
      ::unlink(tmp.c_str());
      throw EFWriteError::ForFile(path);
    }
    movedToBackup = true;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    if (movedToBackup) ::rename(backupPath.c_str(), path.c_str());
    ::unlink(tmp.c_str());
    throw EFWriteError::ForFile(path);
  }
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
