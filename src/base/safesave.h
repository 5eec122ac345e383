// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The one way Vocatrix writes a user file: the new content goes to a
// temporary file beside the target, and only when it is completely written
// is it renamed over the target. A failed write (full disk, no permission)
// leaves the target, and any older backup, untouched.

#include <string>
#include <string_view>

namespace vocatrix {

// Writes `data` to `path` atomically: at every instant the name holds either
// the old or the new complete content. The new content goes to a temporary
// file beside the file and is flushed; with a backup path, the old file is
// then kept there as a hard link (a copy where the file system has none),
// replacing an older backup; one rename puts the new file in place, and the
// folder is flushed. The new file keeps the old one's permission bits and, as
// far as the process may, its owner and group. A symbolic link stays a link:
// the file it leads to is replaced, and the backup lies beside that file.
// Only a regular file is ever replaced: a name (or the backup's name) that
// holds a device, a named pipe, a socket or a folder raises EFWriteError
// before anything is written. Raises EFCreateError when the temporary file
// cannot be created and EFWriteError when writing, keeping the backup or
// renaming fails; the name then still holds the old content.
void WriteFileAtomically(const std::string& path, std::string_view data, const std::string& backupPath = {});

// The steps of a save after which the files hold a new state, in order (the
// backup only where one is kept).
enum class SaveStep { kTemporaryWritten, kBackupMade, kReplaced };
using SaveStepWatcher = void (*)(SaveStep);
// Has every save call `watcher` after each step (null: none), so that tests
// can stop or fail a save between any two.
void WatchSaveSteps(SaveStepWatcher watcher);

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

// True when the file exists and may not be written: the user lacks write
// permission, or the file's write bit for the user's class is cleared (so a
// file marked read-only counts as such also for the administrator). The
// editor and the command line refuse to save over such a file, although the
// folder would let a save replace it.
bool FileIsReadOnly(const std::string& path);
// "NAME is read only.", in the interface language (UTF-8, as `name` is).
std::string ReadOnlyMessage(const std::string& name);

// A write beyond the process's file-size limit (ulimit -f) then fails like a
// full disk, with an error the program reports, instead of killing it with
// SIGXFSZ half way through a save. Called once at start by each program.
void TreatFileSizeLimitAsWriteError();

}  // namespace vocatrix
