// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery files: what autosave writes for a window, and what the next start
// finds of a program that was killed.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>

#include "base/errors.h"
#include "recovery/recovery.h"
#include "test_util.h"

namespace vocatrix {
namespace {

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

TRecoveryNote LessonNote(const std::string& caption) {
  TRecoveryNote note;
  note.Kind = TRecoveryNote::kLessonWindow;
  note.FileName = "/home/u/" + caption + ".tav";
  note.Caption = caption;
  note.Entries = 3;
  return note;
}

TEST(RecoveryNote, RoundTripsEveryFieldAndRefusesWhatIsNoNote) {
  TRecoveryNote note;
  note.Kind = TRecoveryNote::kLessonWindow;
  note.FileName = "/home/u/odd\nname\\with=signs.tav";
  note.Caption = "odd\rname";
  note.Time = "2026-12-10 14:03:00";
  note.Data = "1-2-3-4.tav";
  note.Entries = 65535;
  note.EntryIndex = 12;
  note.Page = 2;
  note.Controls = {{"EditTitle", "T\\itle"}, {"MemoSynonyms", "house\nhome\n"}, {"ComboBoxForm", "-1"}};
  // The page text runs to the end of the note, whatever lines it holds.
  note.PageText = "Sp: A - B\nPageText:\nKind=text\n\n";
  const TRecoveryNote back = DecodeRecoveryNote(EncodeRecoveryNote(note));
  EXPECT_EQ(back.Kind, note.Kind);
  EXPECT_EQ(back.FileName, note.FileName);
  EXPECT_EQ(back.Caption, note.Caption);
  EXPECT_EQ(back.Time, note.Time);
  EXPECT_EQ(back.Data, note.Data);
  EXPECT_EQ(back.Entries, 65535);
  EXPECT_EQ(back.EntryIndex, 12);
  EXPECT_EQ(back.Page, 2);
  EXPECT_EQ(back.Controls, note.Controls);
  EXPECT_EQ(back.PageText, note.PageText);
  // No page text and an empty page text differ.
  for (const std::optional<std::string>& page : {std::optional<std::string>(), std::optional<std::string>("")}) {
    TRecoveryNote text = note;
    text.Kind = TRecoveryNote::kTextWindow;
    text.Encoding = "cp1252";
    text.PageText = page;
    const TRecoveryNote read = DecodeRecoveryNote(EncodeRecoveryNote(text));
    EXPECT_EQ(read.PageText, page);
    EXPECT_EQ(read.Encoding, "cp1252");
  }

  const std::string good = EncodeRecoveryNote(note);
  const auto replaced = [&good](const std::string& from, const std::string& to) {
    std::string bad = good;
    bad.replace(bad.find(from), from.size(), to);
    return bad;
  };
  for (const std::string& bad :
       {std::string(), std::string("Vocatrix recovery 2\n"), replaced("Kind=lesson", "Kind=movie"),
        replaced("Data=1-2-3-4.tav", "Data=../../etc/passwd"), replaced("Data=1-2-3-4.tav", "Data="),
        replaced("Data=1-2-3-4.tav", "Data=.."), replaced("Data=1-2-3-4.tav", "Data=."),
        replaced("Entries=65535", "Entries=lots"), replaced("Entries=65535", "Entries=-5"),
        replaced("Entries=65535", "Entries=65536"), replaced("EntryIndex=12", "EntryIndex=70000"),
        replaced("Page=2", "Page 2"), replaced("Page=2", "Page=9")})
    EXPECT_THROW(DecodeRecoveryNote(bad), Exception) << bad.substr(0, 40);
}

TEST(RecoveryStore, WritesReplacesAndRemovesAWindowsFilesAndACleanEndLeavesNone) {
  test::TempDir dir;
  const std::string folder = dir.File("state/recovery/");
  {
    TRecoveryStore store(folder);
    store.Flush();
    // Nothing is made before the first write.
    EXPECT_FALSE(std::filesystem::exists(folder));
    store.Write(1, ".tav", "first", LessonNote("a"));
    store.Write(2, ".txt", "text", LessonNote("b"));
    store.Flush();
    std::vector<std::string> files = FilesIn(folder);
    ASSERT_EQ(files.size(), 5u) << ::testing::PrintToString(files);  // two data, two notes, the lock
    const auto noteOf = [&](int slot) {
      for (const std::string& name : FilesIn(folder))
        if (name.size() > 7 && name.substr(name.size() - 7) == "-" + std::to_string(slot) + ".note")
          return DecodeRecoveryNote(test::ReadFile(folder + name));
      ADD_FAILURE() << "no note of slot " << slot;
      return TRecoveryNote{};
    };
    const TRecoveryNote first = noteOf(1);
    EXPECT_EQ(test::ReadFile(folder + first.Data), "first");
    EXPECT_FALSE(first.Time.empty());
    EXPECT_EQ(first.Caption, "a");

    // A new image replaces the old data; an unchanged one is not written again.
    store.Write(1, ".tav", "second", LessonNote("a"));
    store.Flush();
    const TRecoveryNote second = noteOf(1);
    EXPECT_NE(second.Data, first.Data);
    EXPECT_EQ(test::ReadFile(folder + second.Data), "second");
    EXPECT_FALSE(std::filesystem::exists(folder + first.Data));
    store.Write(1, ".tav", "second", LessonNote("a"));
    store.Flush();
    EXPECT_EQ(noteOf(1).Data, second.Data);

    store.Remove(1);
    store.Remove(7);  // a slot that wrote nothing
    store.Flush();
    EXPECT_EQ(FilesIn(folder).size(), 3u);
    store.Remove(2);
    store.Flush();
    files = FilesIn(folder);
    ASSERT_EQ(files.size(), 1u);
    EXPECT_NE(files[0].find(".lock"), std::string::npos);
    EXPECT_FALSE(store.TakeError());
  }
  EXPECT_TRUE(FilesIn(folder).empty());
}

TEST(RecoveryStore, AKilledProgramsFilesAreFoundOnceItIsGoneAndDiscardedWhole) {
  test::TempDir dir;
  const std::string folder = dir.File("recovery/");
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    TRecoveryStore store(folder);
    TRecoveryNote note = LessonNote("killed");
    note.PageText = "Sp: A - B\nx = y";
    store.Write(1, ".tav", std::string("tavv\0\x01", 6), note);
    store.Write(2, ".txt", "plain", LessonNote("text"));
    store.Flush();
    [[maybe_unused]] const ssize_t n = ::write(ready[1], "1", 1);
    for (;;) ::pause();
  }
  char byte = 0;
  ASSERT_EQ(::read(ready[0], &byte, 1), 1);
  TRecoveryStore next(folder);
  // While the program runs its files are its own.
  EXPECT_TRUE(next.FindLeftOver().empty());
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ::close(ready[0]);
  ::close(ready[1]);

  // A note that cannot be read is offered too, so that it can be discarded.
  test::WriteFile(folder + "1-2-3.note", "garbage");
  std::vector<TLeftRecovery> left = next.FindLeftOver();
  ASSERT_EQ(left.size(), 3u);
  std::sort(left.begin(), left.end(),
            [](const TLeftRecovery& a, const TLeftRecovery& b) { return a.Note.Caption < b.Note.Caption; });
  EXPECT_FALSE(left[0].Error.empty());
  EXPECT_EQ(left[1].Note.Caption, "killed");
  EXPECT_EQ(left[1].Note.PageText, "Sp: A - B\nx = y");
  EXPECT_EQ(test::ReadFile(left[1].DataFile()), std::string("tavv\0\x01", 6));
  EXPECT_TRUE(left[1].Error.empty()) << left[1].Error;
  EXPECT_EQ(test::ReadFile(left[2].DataFile()), "plain");

  for (const TLeftRecovery& recovery : left) next.Discard(recovery);
  EXPECT_TRUE(FilesIn(folder).empty()) << ::testing::PrintToString(FilesIn(folder));
  EXPECT_TRUE(next.FindLeftOver().empty());
}

TEST(RecoveryStore, StartSweepsWhatDeadProgramsLeftAndDamagedNotesAreDiscardable) {
  test::TempDir dir;
  const std::string folder = dir.File("recovery/");
  std::filesystem::create_directories(folder);
  TRecoveryNote note = LessonNote("kept");
  note.Data = "11-22-1-3.tav";
  // A program that died with one complete window, a half-written data file
  // and note, an older data file; one that died with nothing but its lock.
  for (const auto& [name, data] : std::vector<std::pair<std::string, std::string>>{
           {"11-22-1.note", EncodeRecoveryNote(note)},
           {"11-22-1-3.tav", "tavv"},
           {"11-22-1-4.tav.vtmp-Ab12", "half"},
           {"11-22-1.note.vtmp-Cd34", "half"},
           {"11-22-1-2.tav", "older"},
           {"11-22.lock", ""},
           {"33-44.lock", ""},
           {"unrelated.txt", "x"}})
    test::WriteFile(folder + name, data);
  // Damaged notes: a folder, numbers no window has, data that is a folder.
  std::filesystem::create_directories(folder + "55-66-1.note/inside");
  TRecoveryNote folderData = LessonNote("folder data");
  folderData.Data = "55-66-2-1.tav";
  std::filesystem::create_directories(folder + folderData.Data);
  test::WriteFile(folder + "55-66-2.note", EncodeRecoveryNote(folderData));
  std::string negative = EncodeRecoveryNote(LessonNote("negative"));
  negative.replace(negative.find("Entries=3"), 9, "Entries=-5");
  test::WriteFile(folder + "55-66-3.note", negative);

  TRecoveryStore store(folder);
  store.Sweep();
  EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"11-22-1-3.tav", "11-22-1.note", "55-66-1.note",
                                                      "55-66-2-1.tav", "55-66-2.note", "55-66-3.note",
                                                      "unrelated.txt"}));
  const std::vector<TLeftRecovery> left = store.FindLeftOver();
  ASSERT_EQ(left.size(), 4u);
  int damaged = 0;
  for (const TLeftRecovery& recovery : left) {
    if (recovery.Error.empty()) EXPECT_EQ(recovery.Note.Caption, "kept");
    else ++damaged;
  }
  EXPECT_EQ(damaged, 3);
  for (const TLeftRecovery& recovery : left)
    if (!recovery.Error.empty()) store.Discard(recovery);
  EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"11-22-1-3.tav", "11-22-1.note", "unrelated.txt"}));
}

TEST(RecoveryStore, AFolderThatCannotBeMadeIsReportedNotThrown) {
  test::TempDir dir;
  test::WriteFile(dir.File("file"), "");
  TRecoveryStore store(dir.File("file/recovery/"));
  store.Write(1, ".tav", "data", LessonNote("a"));
  store.Flush();
  const std::optional<std::string> error = store.TakeError();
  ASSERT_TRUE(error);
  EXPECT_NE(error->find("file/recovery"), std::string::npos) << *error;
  // Reported once.
  EXPECT_FALSE(store.TakeError());
}

}  // namespace
}  // namespace vocatrix
