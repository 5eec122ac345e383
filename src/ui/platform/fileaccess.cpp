// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/platform/fileaccess.h"

#include <sys/stat.h>
#include <unistd.h>

namespace vocatrix::ui {

bool FileIsReadOnly(const std::string& fileName) {
  struct stat st {};
  if (::stat(fileName.c_str(), &st) != 0) return false;
  if (::access(fileName.c_str(), W_OK) != 0) return true;
  mode_t writeBit = S_IWOTH;
  if (st.st_uid == ::geteuid()) writeBit = S_IWUSR;
  else if (st.st_gid == ::getegid()) writeBit = S_IWGRP;
  return (st.st_mode & writeBit) == 0;
}

}  // namespace vocatrix::ui
