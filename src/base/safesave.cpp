#include "base/safesave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "base/errors.h"

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

bool TryReadWholeFile(const std::string& path, std::string& data) {
  data.clear();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  if (st.st_size > 0) data.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    data.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

std::string ReadWholeFile(const std::string& path) {
  std::string data;
  if (!TryReadWholeFile(path, data)) throw EFOpenError::ForFile(path);
  return data;
}

}  // namespace vocatrix
