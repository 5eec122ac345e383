#include "base/safesave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

void WriteFileAtomically(const std::string& path, std::string_view data, const std::string& backupPath) {
  std::vector<char> tmpl(path.begin(), path.end());
  const char suffix[] = ".vtmp-XXXXXX";
  tmpl.insert(tmpl.end(), suffix, suffix + sizeof suffix);  // includes the terminating NUL
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
