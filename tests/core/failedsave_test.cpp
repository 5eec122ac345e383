// SPDX-License-Identifier: GPL-3.0-or-later
// Saves that fail half way, or are killed half way, never cost the user the
// file or its backup.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <optional>
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

// What the files hold after a save stopped at some step: the name the old or
// the new complete content, never nothing; the backup the older one or the
// old content.
void ExpectWholeFiles(const std::string& path, const std::string& backup, bool saved) {
  const std::string now = test::ReadFile(path);
  EXPECT_TRUE(now == "the user's lesson" || (saved && now == "the new lesson")) << now;
  const std::string kept = test::ReadFile(backup);
  EXPECT_TRUE(kept == "the older backup" || kept == "the user's lesson") << kept;
  if (saved) {
    EXPECT_EQ(now, "the new lesson");
    EXPECT_EQ(kept, "the user's lesson");
  }
}

// The step at which the test steps in, and what it does there.
SaveStep stopAt;
void (*stepIn)() = nullptr;
void StepIn(SaveStep step) {
  if (step == stopAt && stepIn) stepIn();
}

constexpr SaveStep kEveryStep[] = {SaveStep::kTemporaryWritten, SaveStep::kBackupMade, SaveStep::kReplaced};

// A save that dies (the program killed, the machine off) between any two of
// its steps leaves the name with the old or the new content.
TEST(FailedSave, DeathBetweenAnyTwoStepsLeavesAWholeFile) {
  for (const SaveStep step : kEveryStep) {
    SCOPED_TRACE(static_cast<int>(step));
    test::TempDir dir;
    const std::string path = dir.File("lesson.tav");
    const std::string backup = dir.File("lesson.BAK");
    test::WriteFile(path, "the user's lesson");
    test::WriteFile(backup, "the older backup");
    const pid_t child = ::fork();
    if (child == 0) {
      stopAt = step;
      stepIn = [] { ::_exit(0); };
      WatchSaveSteps(StepIn);
      WriteFileAtomically(path, "the new lesson", backup);
      ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ExpectWholeFiles(path, backup, step == SaveStep::kReplaced);
    if (step != SaveStep::kTemporaryWritten) {
      EXPECT_EQ(test::ReadFile(backup), "the user's lesson");
    }
    // The next save clears away what the dead one left.
    WriteFileAtomically(path, "the new lesson", backup);
    EXPECT_EQ(TemporaryFilesIn(dir.Path()), std::vector<std::string>{});
  }
}

// Each way a disk refuses a write, striking between any two steps of a save.
TEST(FailedSave, FailureBetweenAnyTwoStepsLeavesAWholeFile) {
  static const test::SaveFailure* failure = nullptr;
  static std::optional<test::SaveFailure::Scope> scope;
  for (const auto kind : test::SaveFailure::kEvery) {
    for (const SaveStep step : kEveryStep) {
      SCOPED_TRACE(testing::Message() << "failure " << kind << " after step " << static_cast<int>(step));
      const test::SaveFailure refusal(kind, 256 * 1024);
      if (!refusal.Possible()) {
        ADD_FAILURE() << "no mount namespace here: the full-disk case cannot run";
        continue;
      }
      const std::string path = refusal.Folder() + "/lesson.tav";
      const std::string backup = refusal.Folder() + "/lesson.BAK";
      test::WriteFile(path, "the user's lesson");
      test::WriteFile(backup, "the older backup");
      failure = &refusal;
      stopAt = step;
      stepIn = [] {
        failure->Refuse();
        scope = failure->InThisProcess(4096);
      };
      WatchSaveSteps(StepIn);
      bool saved = true;
      try {
        WriteFileAtomically(path, "the new lesson", backup);
      } catch (const Exception& e) {
        saved = false;
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
      }
      WatchSaveSteps(nullptr);
      scope.reset();
      refusal.Mend();
      ExpectWholeFiles(path, backup, saved);
    }
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
