// SPDX-License-Identifier: GPL-3.0-or-later
// The safe save keeps what surrounds a file: links stay links, the backup
// is the old file itself, permissions, owner and group stay.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <sys/syscall.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "base/safesave.h"
#include "test_util.h"

namespace vocatrix {
namespace {

struct stat StatOf(const std::string& path, bool follow = true) {
  struct stat st {};
  EXPECT_EQ(follow ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st), 0) << path;
  return st;
}

TEST(SafeSave, SavingThroughALinkReplacesTheFileItLeadsTo) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // link, what it names
    const char* target;
  };
  const Case cases[] = {
      {"relative link", {{"lesson.tav", "real/lesson.tav"}}, "real/lesson.tav"},
      {"link to a link, the target named otherwise",
       {{"lesson.tav", "middle.tav"}, {"middle.tav", "real/other.tav"}},
       "real/other.tav"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::TempDir dir;
    std::filesystem::create_directory(dir.File("real"));
    test::WriteFile(dir.File(c.target), "the user's lesson");
    for (const auto& [link, named] : c.links) ASSERT_EQ(::symlink(named.c_str(), dir.File(link).c_str()), 0);
    const ino_t oldFile = StatOf(dir.File(c.target)).st_ino;
    WriteFileAtomically(dir.File("lesson.tav"), "the new lesson", dir.File("lesson.BAK"));
    for (const auto& [link, named] : c.links) EXPECT_TRUE(S_ISLNK(StatOf(dir.File(link), false).st_mode)) << link;
    EXPECT_EQ(test::ReadFile(dir.File(c.target)), "the new lesson");
    // The backup is the old file itself, beside it.
    EXPECT_EQ(StatOf(dir.File("real/lesson.BAK")).st_ino, oldFile);
    EXPECT_EQ(test::ReadFile(dir.File("real/lesson.BAK")), "the user's lesson");
    EXPECT_FALSE(FileExists(dir.File("lesson.BAK")));
    EXPECT_EQ(test::TemporaryFilesIn(dir.File("real")), std::vector<std::string>{});
  }
  // A link to a file not there yet makes it; a ring of links is refused.
  test::TempDir dir;
  ASSERT_EQ(::symlink("new.tav", dir.File("lesson.tav").c_str()), 0);
  WriteFileAtomically(dir.File("lesson.tav"), "first", dir.File("lesson.BAK"));
  EXPECT_EQ(test::ReadFile(dir.File("new.tav")), "first");
  EXPECT_FALSE(FileExists(dir.File("lesson.BAK")));
  ASSERT_EQ(::symlink("b.tav", dir.File("a.tav").c_str()), 0);
  ASSERT_EQ(::symlink("a.tav", dir.File("b.tav").c_str()), 0);
  EXPECT_THROW(WriteFileAtomically(dir.File("a.tav"), "x"), EFWriteError);
}

TEST(SafeSave, TheNewFileKeepsPermissionsOwnerAndGroup) {
  test::TempDir dir;
  const std::string path = dir.File("lesson.tav");
  test::WriteFile(path, "the user's lesson");
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  // Only root may give a file to another user.
  const bool root = ::geteuid() == 0;
  if (root) {
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
  }
  const struct stat before = StatOf(path);
  WriteFileAtomically(path, "the new lesson", dir.File("lesson.BAK"));
  const struct stat after = StatOf(path);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  EXPECT_EQ(after.st_uid, before.st_uid);
  EXPECT_EQ(after.st_gid, before.st_gid);
  EXPECT_EQ(StatOf(dir.File("lesson.BAK")).st_ino, before.st_ino);
  // A new file gets what the umask leaves.
  const mode_t mask = ::umask(027);
  WriteFileAtomically(dir.File("new.tav"), "x");
  ::umask(mask);
  EXPECT_EQ(StatOf(dir.File("new.tav")).st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace vocatrix

// Every call of umask() in this program (the lesson core is linked in): a
// save that set the umask to read it would let a save on another thread
// create its files under a mask of 0.
namespace {
std::atomic<int> umaskCalls{0};
}  // namespace
extern "C" mode_t umask(mode_t mask) noexcept {
  ++umaskCalls;
  return static_cast<mode_t>(::syscall(SYS_umask, mask));
}

namespace vocatrix {
namespace {

// Autosave saves on a thread of its own beside the interface's saves.
TEST(SafeSave, SavesOnTwoThreadsNeverTouchTheUmaskAndGiveNewFilesItsModes) {
  test::TempDir dir;
  const auto saved = static_cast<mode_t>(::syscall(SYS_umask, 027));
  umaskCalls = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < 2; ++t)
    threads.emplace_back([&dir, t] {
      for (int i = 0; i < 50; ++i) WriteFileAtomically(dir.File(std::to_string(t) + "-" + std::to_string(i)), "x");
    });
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(umaskCalls, 0);
  ::syscall(SYS_umask, saved);
  for (int t = 0; t < 2; ++t)
    for (int i = 0; i < 50; ++i)
      ASSERT_EQ(StatOf(dir.File(std::to_string(t) + "-" + std::to_string(i))).st_mode & 07777, 0640u) << t << " " << i;
}

TEST(SafeSave, BackupOnAnotherFileSystemIsACopyAndAFileNamedLikeItsBackupKeepsNone) {
  test::ScratchDisk disk(1 << 20);
  if (!disk.Mounted()) GTEST_SKIP() << "no mount namespace here";
  test::TempDir dir;
  const std::string path = dir.File("lesson.tav");
  test::WriteFile(path, "the user's lesson");
  test::WriteFile(disk.File("lesson.BAK"), "the older backup");
  WriteFileAtomically(path, "the new lesson", disk.File("lesson.BAK"));
  EXPECT_EQ(test::ReadFile(path), "the new lesson");
  EXPECT_EQ(test::ReadFile(disk.File("lesson.BAK")), "the user's lesson");
  EXPECT_EQ(test::TemporaryFilesIn(disk.Path()), std::vector<std::string>{});
  // A text window may edit a file called x.BAK, whose backup name is its own.
  const std::string bak = dir.File("x.BAK");
  test::WriteFile(bak, "old");
  WriteFileAtomically(bak, "new", bak);
  EXPECT_EQ(test::ReadFile(bak), "new");
  EXPECT_EQ(test::TemporaryFilesIn(dir.Path()), std::vector<std::string>{});
}

// A save renames over its target: over a device node, a named pipe or a
// socket that would destroy it (as root, a link to /dev/null would replace
// the node), so only a regular file is ever replaced, the backup's name too.
TEST(SafeSave, OnlyARegularFileIsReplaced) {
  test::TempDir dir;
  const auto fifo = [](const std::string& path) { return ::mkfifo(path.c_str(), 0644) == 0; };
  // A node of the null device of its own, where root may make one.
  const auto device = [](const std::string& path) { return ::mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0; };
  const auto link = [&dir, fifo](const std::string& path) {
    return fifo(dir.File("pipe")) && ::symlink("pipe", path.c_str()) == 0;
  };
  const struct {
    const char* name;
    std::function<bool(const std::string&)> make;
    const char* node;  // the name made, which the save must refuse
  } cases[] = {
      {"named pipe", fifo, "lesson.tav"},
      {"device node", device, "lesson.tav"},
      {"link to a named pipe", link, "lesson.tav"},
      {"named pipe as the backup", fifo, "lesson.BAK"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(dir.File("lesson.tav"));
    std::filesystem::remove_all(dir.File("lesson.BAK"));
    std::filesystem::remove_all(dir.File("pipe"));
    if (std::string(c.node) == "lesson.BAK") test::WriteFile(dir.File("lesson.tav"), "the user's lesson");
    if (!c.make(dir.File(c.node))) {
      EXPECT_STREQ(c.name, "device node") << "cannot make it";  // mknod needs root
      continue;
    }
    const struct stat before = StatOf(dir.File(c.node));
    EXPECT_EQ(test::MessageOf([&] { WriteFileAtomically(dir.File("lesson.tav"), "new", dir.File("lesson.BAK")); }),
              "'" + dir.File(c.node) + "' is not a file that can be written.");
    const struct stat after = StatOf(dir.File(c.node));
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode & S_IFMT, before.st_mode & S_IFMT);
    EXPECT_EQ(test::TemporaryFilesIn(dir.Path()), std::vector<std::string>{});
    if (std::string(c.node) == "lesson.BAK") {
      EXPECT_EQ(test::ReadFile(dir.File("lesson.tav")), "the user's lesson");
    }
  }
}

}  // namespace
}  // namespace vocatrix
