// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way Vocatrix writes a user file: the new content goes to a
// temporary file beside the target, and only when it is completely written
// is it renamed over the target. A failed write (full disk, no permission)
// leaves the target, and any older backup, untouched.

#include <string>
#include <string_view>

namespace vocatrix {

// Writes `data` to `path` atomically. With a backup path, the previous file
// is moved there (replacing an older backup) only after the new content was
// written successfully. Raises EFCreateError when the temporary file cannot
// be created and EFWriteError when writing or renaming fails.
void WriteFileAtomically(const std::string& path, std::string_view data, const std::string& backupPath = {});

// Files larger than this are refused: no lesson, text or settings file
// comes near it, and reading more would only exhaust the memory.
inline constexpr unsigned long long kMaxFileSize = 512ull * 1024 * 1024;

// The whole content of a regular file; EFOpenError when it cannot be opened
// or read, is no regular file (a folder, a device, a named pipe: nothing is
// waited for), or is larger than kMaxFileSize.
std::string ReadWholeFile(const std::string& path);
// The same without an error: false when the file cannot be read. The ini
// layer reads the interface-language file this way, since the error's
// message would be looked up in that very file.
bool TryReadWholeFile(const std::string& path, std::string& data);

bool FileExists(const std::string& path);

// A write beyond the process's file-size limit (ulimit -f) then fails like a
// full disk, with an error the program reports, instead of killing it with
// SIGXFSZ half way through a save. Called once at start by each program.
void TreatFileSizeLimitAsWriteError();

}  // namespace vocatrix
