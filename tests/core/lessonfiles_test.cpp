// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "files/binaryfile.h"
#include "files/lessonfiles.h"
#include "operations/catalogue.h"
#include "model/lesson.h"
#include "test_util.h"

namespace vocatrix {
namespace {

using test::MakeEntry;
using test::MakeLesson;
using test::MessageOf;
using test::ReadFile;
using test::TempDir;
using test::Texts;
using test::WriteFile;
using Words = std::vector<std::string>;

struct KindCase {
  const char* name;
  int kind;
};

class FileKindTest : public testing::TestWithParam<KindCase> {};

TEST_P(FileKindTest, ClassifiesByTheLastExtension) {
  EXPECT_EQ(FileKind(GetParam().name), GetParam().kind) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Names, FileKindTest,
                         testing::Values(KindCase{"lesson.tav", 1}, KindCase{"/a/b/LESSON.TAV", 1},
                                         KindCase{"x.Txt", 2}, KindCase{"x.RTF", 3}, KindCase{".tav", 1},
                                         KindCase{"lesson.tav.BAK", 0}, KindCase{"lesson", 0},
                                         KindCase{"dir.tav/lesson", 0}, KindCase{"lesson.tav.", 0},
                                         KindCase{"lesson.tavx", 0}, KindCase{"lesson.doc", 0}, KindCase{"", 0}));

TEST(BackupName, ReplacesOrAppendsTheExtension) {
  EXPECT_EQ(BackupName("/x/lesson.tav"), "/x/lesson.BAK");
  EXPECT_EQ(BackupName("/x.y/lesson"), "/x.y/lesson.BAK");
  EXPECT_EQ(BackupName("a.b.txt"), "a.b.BAK");
}

TEST(LessonFiles, OtherExtensionsAreNotLessonsAndTheMessageQuotesTheName) {
  TempDir dir;
  const std::string name = dir.File("lesson.tav.bak");
  WriteFile(name, "tavv");
  EXPECT_THROW(TMeanCollection::CreateFromFile(name), ENotLesson);
  EXPECT_EQ(MessageOf([&] { TMeanCollection::CreateFromFile(name); }), "'" + name + "' is not a lesson file.");
  auto lesson = TMeanCollection::CreateEmpty();
  const std::string target = dir.File("out.doc");
  EXPECT_EQ(MessageOf([&] { lesson->SaveToFile(target); }), "'" + target + "' is not a lesson file.");
  EXPECT_FALSE(std::filesystem::exists(target));
}

TEST(LessonFiles, MissingFileCannotBeOpened) {
  TempDir dir;
  for (const char* leaf : {"missing.tav", "missing.txt", "missing.rtf"}) {
    const std::string name = dir.File(leaf);
    EXPECT_EQ(MessageOf([&] { TMeanCollection::CreateFromFile(name); }), "Kann Datei " + name + " nicht öffnen");
  }
}

TEST(LessonFiles, NewLessonSavedAsBinaryAndReadBack) {
  TempDir dir;
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->Modified = true;
  const std::string name = dir.File("NEW.TAV");
  lesson->SaveToFile(name);
  EXPECT_FALSE(lesson->Modified);
  EXPECT_EQ(ReadFile(name).size(), 138u);
  auto back = TMeanCollection::CreateFromFile(name);
  EXPECT_EQ(back->LessonFileName, name);
  EXPECT_FALSE(back->Modified);
  EXPECT_EQ(back->Language1.Name, "Language 1");
  EXPECT_EQ(back->Language2.Name, "Language 2");
  ASSERT_EQ(back->EntryCount(), 1);
  EXPECT_EQ(back->Meanings->At(0)->Form, 4);
}

TEST(LessonFiles, TextSaveWritesLessonLinesWithCrLfForTxtAndRtfAlike) {
  TempDir dir;
  auto lesson = MakeLesson("English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"})});
  lesson->Title = "Caf\xE9";
  lesson->Modified = true;
  std::string expected;
  for (const std::string& line : lesson->ToLines()) expected += line + "\r\n";
  for (const char* leaf : {"lesson.txt", "lesson.rtf"}) {
    const std::string name = dir.File(leaf);
    lesson->SaveToFile(name);
    EXPECT_EQ(ReadFile(name), expected) << leaf;
    EXPECT_TRUE(lesson->Modified) << "a text save leaves Modified as it was";
    auto back = TMeanCollection::CreateFromFile(name);
    EXPECT_EQ(back->Title, "Caf\xE9");
    EXPECT_EQ(back->Language2.Name, "Deutsch");
    ASSERT_EQ(back->EntryCount(), 1);
    EXPECT_EQ(Texts(back->Meanings->At(0)->Synonyms), Words{"house"});
    EXPECT_EQ(Texts(back->Meanings->At(0)->Translations), Words{"Haus"});
    EXPECT_EQ(back->Meanings->At(0)->Form, 1);
  }
}

// Malformed lines and not one entry line (a table's or Anki's export) are
// no lesson; header lines alone are one without entries.
TEST(LessonFiles, TextOfMalformedLinesAloneIsNoLesson) {
  const struct {
    const char* name;
    Words lines;
    bool refused;
  } cases[] = {
      {"Anki export", {"1\thouse\tHaus", "2\tto go\tgehen"}, true},
      {"header and a malformed line", {"Ti: T", "Sp: English - Deutsch", "house"}, true},
      {"malformed languages line", {"Sp: English"}, true},
      {"header only", {"Ti: T", "Sp: English - Deutsch"}, false},
      {"nothing", {}, false},
      {"one entry among malformed lines", {"1\thouse", "house - Haus", "2\tgo"}, false},
  };
  const std::string refusal =
      "'in.txt': no entry line could be read; if this is a spreadsheet or Anki export, use --columns.";
  for (const auto& c : cases)
    EXPECT_EQ(MessageOf([&] { RequireEntryLine(c.lines, "in.txt", "--columns"); }),
              c.refused ? refusal : "(no exception)")
        << c.name;
}

TEST(LessonFiles, TextFileIsReadLenientlyAndCompacted) {
  TempDir dir;
  const std::string name = dir.File("lesson.txt");
  WriteFile(name, "Ti: T\r\nSp: English - Deutsch\r\nhouse - Haus\r\nnot an entry\r\nSp: English - English\r\n"
                  "house = home\r\n   \r\n");
  auto lesson = std::make_unique<TMeanCollection>();
  EXPECT_EQ(lesson->LoadText(name), 2);
  ASSERT_EQ(lesson->EntryCount(), 1);
  EXPECT_EQ(Texts(lesson->Meanings->At(0)->Synonyms), (Words{"house", "home"}));
  EXPECT_EQ(Texts(lesson->Meanings->At(0)->Translations), Words{"Haus"});
  EXPECT_FALSE(lesson->Modified);
}

TEST(LessonFiles, HeaderOnlyTextGivesAbsentEntriesButFromLinesOneBlankEntry) {
  TempDir dir;
  const std::string name = dir.File("header.txt");
  const std::vector<std::string> lines{"Ti: Only header", "Sp: English - Deutsch"};
  WriteFile(name, "Ti: Only header\nSp: English - Deutsch\n");
  auto fromFile = TMeanCollection::CreateFromFile(name);
  EXPECT_FALSE(fromFile->Meanings);
  EXPECT_EQ(fromFile->Title, "Only header");
  EXPECT_EQ(fromFile->EntryCount(), 0);
  int errorLine = -1;
  auto fromLines = TMeanCollection::FromLines(lines, errorLine);
  ASSERT_TRUE(fromLines);
  ASSERT_EQ(fromLines->EntryCount(), 1);
  EXPECT_TRUE(fromLines->Meanings->At(0)->Synonyms.Empty());
  EXPECT_EQ(fromLines->Language1.Name, "English");

  // Absent entries write and read back without trouble in every kind.
  fromFile->SaveToFile(dir.File("empty.txt"));
  EXPECT_FALSE(TMeanCollection::CreateFromFile(dir.File("empty.txt"))->Meanings);
  fromFile->SaveToFile(dir.File("empty.tav"));
  auto binary = TMeanCollection::CreateFromFile(dir.File("empty.tav"));
  ASSERT_TRUE(binary->Meanings);
  EXPECT_EQ(binary->EntryCount(), 0);
}

TEST(LessonFiles, FromLinesRejectsTheFaultyLineByIndex) {
  int errorLine = -1;
  EXPECT_EQ(TMeanCollection::FromLines({"Ti: x", "Sp: A - B", "no marker"}, errorLine), nullptr);
  EXPECT_EQ(errorLine, 2);
  auto ok = TMeanCollection::FromLines({"Sp: A - B", "a - b", "a = c"}, errorLine);
  ASSERT_TRUE(ok);
  EXPECT_FALSE(ok->Modified);
  EXPECT_EQ(ok->EntryCount(), 2);  // FromLines itself does not compact
}

TEST(LessonFiles, SaveWithBackupMovesThePreviousFile) {
  TempDir dir;
  const std::string name = dir.File("lesson.txt");
  WriteFile(name, "old content");
  auto lesson = TMeanCollection::CreateEmpty();
  lesson->SaveToFile(name, BackupName(name));
  EXPECT_EQ(ReadFile(dir.File("lesson.BAK")), "old content");
  EXPECT_EQ(ReadFile(name).substr(0, 4), "Ti: ");
}

TEST(LessonFiles, FailedSaveLeavesThePreviousFileIntact) {
  TempDir dir;
  // A target that is a folder cannot be replaced.
  const std::string folder = dir.File("folder.txt");
  std::filesystem::create_directory(folder);
  WriteFile(folder + "/inside", "x");
  auto lesson = TMeanCollection::CreateEmpty();
  EXPECT_THROW(lesson->SaveToFile(folder), Exception);
  EXPECT_EQ(ReadFile(folder + "/inside"), "x");
  // A lesson the binary counts cannot hold fails before anything is written.
  const std::string name = dir.File("big.tav");
  WriteFile(name, "previous");
  lesson->Title.assign(70000, 'x');
  EXPECT_THROW(lesson->SaveToFile(name), ELessonTooLarge);
  EXPECT_EQ(ReadFile(name), "previous");
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    EXPECT_EQ(entry.path().filename().string().find(".vtmp"), std::string::npos) << entry.path();
}

TEST(LessonFiles, BinaryReadErrorsReachTheCaller) {
  TempDir dir;
  const std::string name = dir.File("bad.tav");
  WriteFile(name, "nope, not a lesson");
  EXPECT_EQ(MessageOf([&] { TMeanCollection::CreateFromFile(name); }), "Format error in file '" + name + "'.");
}

}  // namespace
}  // namespace vocatrix

namespace vocatrix::test {
namespace {

TEST(LessonFiles, OnlyRegularFilesAreReadNothingWaitsAndTheCatalogueKeepsTheOtherLessons) {
  TempDir dir;
  ::mkdir(dir.File("a").c_str(), 0755);
  SaveBinary(*MakeLesson("Deutsch", "English", {MakeEntry(1, {"Haus"}, {"house"})}), dir.File("a/1.tav"));
  ::mkfifo(dir.File("a/2.tav").c_str(), 0644);
  ::symlink("/dev/zero", dir.File("a/3.tav").c_str());
  ::mkdir(dir.File("a/4.tav").c_str(), 0755);  // a folder is no lesson file and is not listed
  SaveBinary(*MakeLesson("Deutsch", "English", {MakeEntry(1, {"Tag"}, {"day"})}), dir.File("a/5.tav"));
  for (const char* name : {"a/2.tav", "a/3.tav"}) {
    try {
      TMeanCollection::CreateFromFile(dir.File(name));
      ADD_FAILURE() << name;
    } catch (const EFOpenError& e) {
      EXPECT_EQ(e.what(), "'" + dir.File(name) + "' is not a file that can be read.");
    }
  }
  const TCatalogue catalogue = MakeCatalogue(dir.File(""), /*keepGoing=*/true);
  EXPECT_EQ(catalogue.Lines.size(), 2u);
  ASSERT_EQ(catalogue.Errors.size(), 2u);
  EXPECT_EQ(catalogue.Errors[0].FileName, dir.File("a/2.tav"));
  EXPECT_EQ(catalogue.Errors[1].FileName, dir.File("a/3.tav"));
}

}  // namespace
}  // namespace vocatrix::test
