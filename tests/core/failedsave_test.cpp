// SPDX-License-Identifier: GPL-3.0-or-later
// Saves that fail half way, or are killed half way, never cost the user the
// file or its backup.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "base/errors.h"
#include "base/safesave.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::TemporaryFilesIn;

// Each way a disk refuses a write, on a file with a backup.
TEST(FailedSave, EveryKindOfFailureKeepsTheFileAndItsBackup) {
  for (const auto kind : test::SaveFailure::kEvery) {
    SCOPED_TRACE(kind);
    const test::SaveFailure failure(kind, 256 * 1024);
    if (!failure.Possible()) {
      ADD_FAILURE() << "no mount namespace here: the full-disk case cannot run";
      continue;
    }
    const std::string folder = failure.Folder();
    const std::string path = folder + "/lesson.tav";
    const std::string backup = folder + "/lesson.BAK";
    test::WriteFile(path, "the user's lesson");
    test::WriteFile(backup, "the older backup");
    const std::string data(100000, 'n');
    failure.Refuse();
    {
      const auto scope = failure.InThisProcess(4096);
      try {
        WriteFileAtomically(path, data, backup);
        ADD_FAILURE() << "the save reported success";
      } catch (const Exception& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
      }
    }
    failure.Mend();
    EXPECT_EQ(test::ReadFile(path), "the user's lesson");
    EXPECT_EQ(test::ReadFile(backup), "the older backup");
    EXPECT_EQ(TemporaryFilesIn(folder), std::vector<std::string>{});
  }
}

// A save killed after its temporary file was opened leaves the old file
// whole, and the next save clears the dead one's temporary file away.
TEST(FailedSave, KillHalfWayLeavesTheOldFileAndNothingThatTripsTheNextSave) {
  test::TempDir dir;
  const std::string path = dir.File("lesson.tav");
  test::WriteFile(path, "the user's lesson");
  bool caught = false;
  for (std::size_t size = 64u << 20; !caught && size <= (512u << 20); size *= 2) {
    const pid_t child = ::fork();
    if (child == 0) {
      const std::string data(size, 'k');
      WriteFileAtomically(path, data);
      ::_exit(0);
    }
    // Killed as soon as its temporary file shows, before the data is all in.
    bool reaped = false;
    while (!reaped) {
      if (!TemporaryFilesIn(dir.Path()).empty()) {
        ::kill(child, SIGKILL);
        break;
      }
      reaped = ::waitpid(child, nullptr, WNOHANG) == child;  // finished first: try a larger save
      std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    if (!reaped) ::waitpid(child, nullptr, 0);
    // Killed only counts when it struck before the rename.
    caught = !TemporaryFilesIn(dir.Path()).empty();
    if (!caught) test::WriteFile(path, "the user's lesson");
  }
  ASSERT_TRUE(caught) << "every save finished before it could be killed";
  EXPECT_EQ(test::ReadFile(path), "the user's lesson");
  ASSERT_EQ(TemporaryFilesIn(dir.Path()).size(), 1u);
  WriteFileAtomically(path, "saved again");
  EXPECT_EQ(test::ReadFile(path), "saved again");
  EXPECT_EQ(TemporaryFilesIn(dir.Path()), std::vector<std::string>{});
}

}  // namespace
}  // namespace vocatrix
