// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests: run the vocatrix-cli binary on temporary files.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "cli_runner.h"
#include "files/rtf/rtf.h"
#include "model/lesson.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;
using test::ReadFile;
using test::TempDir;
using test::Texts;
using test::WriteFile;
using Words = std::vector<std::string>;

using Result = test::CliResult;
using test::Contains;

// Runs the CLI with the arguments, stdout and stderr captured in files.
Result RunCli(const std::vector<std::string>& args) { return test::RunCliWith(args); }

std::vector<std::string> FilesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A lesson with a duplicate: entry 2 is entry 1 mirrored.
void WriteSampleLesson(const std::string& path) {
  auto lesson = MakeLesson("English", "Deutsch",
                           {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"Haus"}, {"house"}),
                            MakeEntry(2, {"big", "large"}, {"gro\xDF"}, {"small"}, {"klein"})});
  lesson->Title = "Sample";
  lesson->Language1.Font = TextToFont("Times New Roman_clRed_12_[]");
  lesson->SaveToFile(path);
}

TEST(Cli, VersionAndHelp) {
  const Result version = RunCli({"--version"});
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, "vocatrix-cli 1.14\n");
  const Result help = RunCli({"--help"});
  EXPECT_EQ(help.code, 0);
  for (const char* command : {"new", "convert", "show", "stats", "check", "compact", "mirror"})
    EXPECT_TRUE(Contains(help.out, std::string("  ") + command + " ")) << command;
  const Result commandHelp = RunCli({"convert", "--help"});
  EXPECT_EQ(commandHelp.code, 0);
  EXPECT_TRUE(Contains(commandHelp.out, "convert [--compact] IN OUT"));
}

TEST(Cli, BadUsageExitsWithTwoAndTouchesNothing) {
  TempDir dir;
  const std::string in = dir.File("in.tav");
  WriteSampleLesson(in);
  const std::vector<std::vector<std::string>> cases{
      {},
      {"frob"},
      {"show"},
      {"show", in, in},
      {"convert", in},
      {"convert", "--bogus", in, dir.File("out.txt")},
      {"compact", "--compact", in, dir.File("out.txt")},
      {"new"},
      {"check", in, in},
  };
  for (const auto& args : cases) {
    const Result r = RunCli(args);
    EXPECT_EQ(r.code, 2) << (args.empty() ? "(none)" : args[0]);
    EXPECT_EQ(r.out, "");
    EXPECT_FALSE(r.err.empty());
  }
  EXPECT_EQ(FilesIn(dir.Path()), Words{"in.tav"});
}

TEST(Cli, BadFilesExitWithOneAndNameTheFile) {
  TempDir dir;
  const std::string garbage = dir.File("garbage.tav");
  WriteFile(garbage, "this is no lesson");
  const std::string missing = dir.File("missing.txt");
  const std::string other = dir.File("lesson.doc");
  WriteFile(other, "x");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases{
      {{"show", garbage}, "Format error in file '" + garbage + "'."},
      {{"stats", missing}, "Cannot open file " + missing},
      {{"check", missing}, "Cannot open file " + missing},
      {{"show", other}, "'" + other + "' is not a lesson file."},
      {{"convert", garbage, dir.File("out.txt")}, garbage},
      {{"new", dir.File("new.doc")}, "'" + dir.File("new.doc") + "' is not a lesson file."},
  };
  for (const Case& c : cases) {
    const Result r = RunCli(c.args);
    EXPECT_EQ(r.code, 1) << c.args[1];
    EXPECT_TRUE(Contains(r.err, c.message)) << r.err;
  }
  EXPECT_EQ(FilesIn(dir.Path()), (Words{"garbage.tav", "lesson.doc"}));
}

TEST(Cli, NewWritesAnEmptyLesson) {
  TempDir dir;
  const std::string out = dir.File("new.tav");
  ASSERT_EQ(RunCli({"new", out}).code, 0);
  EXPECT_EQ(ReadFile(out).size(), 138u);
  const Result stats = RunCli({"stats", out});
  EXPECT_EQ(stats.code, 0);
  EXPECT_EQ(stats.out, "entries: 1\nwords-language1: 0\nwords-language2: 0\nwords: 0\n");
}

TEST(Cli, StatsCountsEntriesAndWordsOfEachLanguage) {
  TempDir dir;
  const std::string in = dir.File("in.tav");
  WriteSampleLesson(in);
  EXPECT_EQ(RunCli({"stats", in}).out, "entries: 3\nwords-language1: 5\nwords-language2: 4\nwords: 9\n");
  EXPECT_EQ(RunCli({"stats", "--compact", in}).out, "entries: 2\nwords-language1: 4\nwords-language2: 3\nwords: 7\n");
}

TEST(Cli, ShowPrintsLessonTextInUtf8WithLineFeeds) {
  TempDir dir;
  const std::string in = dir.File("in.tav");
  WriteSampleLesson(in);
  const Result r = RunCli({"show", in});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.find('\r'), std::string::npos);
  EXPECT_EQ(r.out.substr(0, 11), "Ti: Sample\n");
  EXPECT_TRUE(Contains(r.out, "\nSp: English\t - \tDeutsch\n"));
  EXPECT_TRUE(Contains(r.out, "\nbig (adj.)\t - \tgroß\n"));
  EXPECT_TRUE(Contains(r.out, "\nHaus (s.)\t - \thouse\n"));  // a .tav is shown as it stands
  EXPECT_FALSE(Contains(RunCli({"show", "--compact", in}).out, "\nHaus (s.)\t - \thouse\n"));
}

TEST(Cli, WordsLessonTextCannotCarryAreNamedWhenTextIsWritten) {
  TempDir dir;
  const std::string in = dir.File("in.tav");
  auto lesson = MakeLesson("English", "Deutsch", {MakeEntry(4, {"{x"}, {"y"}), MakeEntry(1, {"house"}, {"Haus"})});
  lesson->SaveToFile(in);
  for (const std::string& out : {dir.File("out.txt"), dir.File("out.rtf")}) {
    const Result r = RunCli({"convert", in, out});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_TRUE(Contains(r.err, out + ": lesson text cannot carry these words; they are left out or would read back "
                                      "changed: \"{x\", \"y\"")) << r.err;
    EXPECT_EQ(RunCli({"check", out}).code, 0) << out;  // the strict reader takes what was written
  }
  EXPECT_TRUE(Contains(RunCli({"show", in}).err, in + ": lesson text cannot carry"));
  WriteSampleLesson(in);
  EXPECT_EQ(RunCli({"convert", in, dir.File("fine.txt")}).err, "");
}

TEST(Cli, LenientReadReportsSkippedLines) {
  TempDir dir;
  const std::string in = dir.File("in.txt");
  WriteFile(in, "Sp: English - Deutsch\r\nhouse - Haus\r\nno marker\r\n   \r\nhouse - Heim\r\n");
  const Result r = RunCli({"stats", in});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "entries: 1\nwords-language1: 1\nwords-language2: 2\nwords: 3\n");  // compacted
  EXPECT_TRUE(Contains(r.err, in + ": skipped 2 malformed lines")) << r.err;
}

TEST(Cli, CheckNamesTheFirstMalformedLineOneBased) {
  TempDir dir;
  const std::string good = dir.File("good.txt");
  WriteFile(good, "Ti: x\nSp: English - Deutsch\nhouse - Haus\n");
  const Result ok = RunCli({"check", good});
  EXPECT_EQ(ok.code, 0);
  EXPECT_EQ(ok.out, "");
  const std::string bad = dir.File("bad.txt");
  WriteFile(bad, "\n{ comment\nSp: English - Deutsch\ngro\xDF ohne Marker\nalso bad\n");
  const Result r = RunCli({"check", bad});
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.out, "line 4: groß ohne Marker\n");
  const std::string header = dir.File("header.txt");
  WriteFile(header, "Ti: only a header\n");
  EXPECT_EQ(RunCli({"check", header}).code, 0);
  const std::string tav = dir.File("lesson.tav");
  WriteSampleLesson(tav);
  EXPECT_EQ(RunCli({"check", tav}).code, 0);
}

TEST(Cli, CompactAndMirrorSaveTheChangedLesson) {
  TempDir dir;
  const std::string in = dir.File("in.tav");
  WriteSampleLesson(in);
  const std::string compacted = dir.File("compacted.tav");
  ASSERT_EQ(RunCli({"compact", in, compacted}).code, 0);
  auto lesson = TMeanCollection::CreateFromFile(compacted);
  ASSERT_EQ(lesson->EntryCount(), 2);
  EXPECT_EQ(Texts(lesson->Meanings->At(0)->Synonyms), Words{"house"});
  EXPECT_EQ(Texts(lesson->Meanings->At(0)->Translations), Words{"Haus"});

  const std::string mirrored = dir.File("mirrored.txt");
  ASSERT_EQ(RunCli({"mirror", compacted, mirrored}).code, 0);
  const std::string text = ReadFile(mirrored);
  EXPECT_TRUE(Contains(text, "\r\nSp: Deutsch\t - \tEnglish\r\n"));
  EXPECT_TRUE(Contains(text, "\r\nHaus (s.)\t - \thouse\r\n"));

  // Without --compact a lesson file converts as it stands; with it, compacted.
  ASSERT_EQ(RunCli({"convert", in, dir.File("same.tav")}).code, 0);
  EXPECT_EQ(ReadFile(dir.File("same.tav")), ReadFile(in));
  ASSERT_EQ(RunCli({"convert", "--compact", in, dir.File("less.tav")}).code, 0);
  EXPECT_EQ(TMeanCollection::CreateFromFile(dir.File("less.tav"))->EntryCount(), 2);
}

TEST(Cli, RtfOutputCarriesTheLanguageFontsAndReadsBack) {
  TempDir dir;
  const std::string in = dir.File("in.tav");
  WriteSampleLesson(in);
  const std::string rtf = dir.File("out.rtf");
  ASSERT_EQ(RunCli({"convert", in, rtf}).code, 0);
  const std::string data = ReadFile(rtf);
  ASSERT_EQ(data.substr(0, 5), "{\\rtf");
  const RtfDocument document = ParseRtf(data);
  bool englishWordInItsFont = false;
  for (const RtfParagraph& p : document.Paragraphs)
    for (const RtfRun& run : p)
      if (run.Text.find("house") != std::string::npos && run.Format.Face == "Times New Roman")
        englishWordInItsFont = true;
  EXPECT_TRUE(englishWordInItsFont);
  // Read back as lesson text, it is the same lesson.
  const Result original = RunCli({"show", "--compact", in});
  const Result back = RunCli({"show", rtf});
  ASSERT_EQ(back.code, 0) << back.err;
  EXPECT_EQ(back.out, original.out);
  EXPECT_EQ(RunCli({"check", rtf}).code, 0);
}

TEST(Cli, TextWithoutEntriesIsHandledByEveryCommand) {
  TempDir dir;
  const std::string in = dir.File("header.txt");
  WriteFile(in, "Ti: Header only\nSp: English - Deutsch\n");
  EXPECT_EQ(RunCli({"stats", in}).out, "entries: 0\nwords-language1: 0\nwords-language2: 0\nwords: 0\n");
  EXPECT_EQ(RunCli({"show", in}).code, 0);
  EXPECT_EQ(RunCli({"compact", in, dir.File("c.txt")}).code, 0);
  EXPECT_EQ(RunCli({"mirror", in, dir.File("m.rtf")}).code, 0);
  const std::string tav = dir.File("header.tav");
  const Result r = RunCli({"convert", in, tav});
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(Contains(r.err, "one blank entry")) << r.err;
  auto lesson = TMeanCollection::CreateFromFile(tav);
  EXPECT_EQ(lesson->Title, "Header only");
  EXPECT_EQ(lesson->EntryCount(), 1);
}

// The program's own save under each way a disk refuses a write: a file-size
// limit (the program must not die of SIGXFSZ), a folder it may not write, a
// missing folder and a full disk.
TEST(Cli, EveryKindOfFailedSaveKeepsTheTargetAndLeavesNoTemporaryFile) {
  TempDir source;
  const std::string in = source.File("in.tav");
  WriteSampleLesson(in);
  ::chmod(source.Path().c_str(), 0755);  // readable by the unprivileged user too
  for (const auto kind : test::SaveFailure::kEvery) {
    SCOPED_TRACE(kind);
    const test::SaveFailure failure(kind, 256 * 1024);
    if (!failure.Possible()) {
      ADD_FAILURE() << "no mount namespace here: the full-disk case cannot run";
      continue;
    }
    const std::string out = failure.Folder() + "/out.txt";
    WriteFile(out, "the user's text");
    failure.Refuse();
    const Result r = test::RunCliWith({"convert", in, out}, {}, [&failure] { failure.InChild(64); });
    failure.Mend();
    EXPECT_EQ(r.code, 1) << r.err;
    EXPECT_TRUE(Contains(r.err, out)) << r.err;
    EXPECT_EQ(ReadFile(out), "the user's text");
    EXPECT_EQ(test::TemporaryFilesIn(failure.Folder()), Words{});
  }
}

TEST(Cli, FailedWriteLeavesNoPartialOutput) {
  TempDir dir;
  // A title too long for the lesson file's 16-bit lengths (a word that long
  // is already refused by the reader).
  const std::string in = dir.File("long.txt");
  WriteFile(in, "Ti: " + std::string(70000, 'b') + "\na - b\n");
  const std::string out = dir.File("out.tav");
  WriteFile(out, "previous");
  const Result r = RunCli({"convert", in, out});
  EXPECT_EQ(r.code, 1);
  EXPECT_TRUE(Contains(r.err, out)) << r.err;
  EXPECT_EQ(ReadFile(out), "previous");
  // A target that cannot be replaced.
  std::filesystem::create_directory(dir.File("folder.txt"));
  EXPECT_EQ(RunCli({"convert", in, dir.File("folder.txt")}).code, 1);
  EXPECT_EQ(FilesIn(dir.Path()), (Words{"folder.txt", "long.txt", "out.tav"}));
}

// A write keeps the previous file as its backup, as the editor's save does,
// and refuses a read-only file as the editor does, for root too.
TEST(Cli, WritesKeepABackupAndRefuseReadOnlyFiles) {
  TempDir dir;
  ::chmod(dir.Path().c_str(), 0777);  // writable for the unprivileged user too
  const std::string in = dir.File("in.tav");
  WriteSampleLesson(in);
  ::chmod(in.c_str(), 0644);
  const std::string out = dir.File("out.tav");
  WriteFile(out, "previous");
  Result r = RunCli({"convert", in, out});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(ReadFile(dir.File("out.BAK")), "previous");
  EXPECT_EQ(TMeanCollection::CreateFromFile(out)->Title, "Sample");

  const auto unprivileged = [] {
    if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(99);
  };
  for (const bool ordinary : {false, true}) {
    SCOPED_TRACE(ordinary ? "as an ordinary user" : "as the tests' user, root too");
    const std::string locked = dir.File("locked.txt");
    WriteFile(locked, "the user's text");
    ::chmod(locked.c_str(), 0444);
    r = test::RunCliWith({"convert", in, locked}, {}, ordinary ? unprivileged : std::function<void()>());
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "vocatrix-cli: " + locked + " is read only.\n");
    EXPECT_EQ(ReadFile(locked), "the user's text");
    std::filesystem::remove(locked);
  }
  EXPECT_EQ(FilesIn(dir.Path()), (Words{"in.tav", "out.BAK", "out.tav"}));
}

}  // namespace
}  // namespace vocatrix
