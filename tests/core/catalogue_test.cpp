// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "model/exceptions.h"
#include "operations/catalogue.h"
#include "test_util.h"

namespace vocatrix {
namespace {

namespace fs = std::filesystem;
using test::MakeEntry;
using test::MakeLesson;
using test::TempDir;

void SaveLesson(const std::string& path, const std::string& title) {
  auto lesson = MakeLesson("English", "Deutsch", {MakeEntry(1, {"house", "home"}, {"Haus"}), MakeEntry(0, {"go"})});
  lesson->Title = title;
  lesson->Topic = "Topic";
  lesson->Author = "Ann";
  lesson->Picture = "p.bmp";
  lesson->SaveToFile(path);
}

// Only the first field of each line: the file name.
std::vector<std::string> FileNames(const TCatalogue& catalogue) {
  std::vector<std::string> names;
  for (const std::string& line : catalogue.Lines) names.push_back(line.substr(0, line.find(';')));
  return names;
}

class Catalogue : public ::testing::Test {
 protected:
  std::string Dir(const std::string& relative) {
    fs::create_directories(root.File(relative));
    return root.File(relative);
  }
  TempDir root;
};

TEST_F(Catalogue, WalksDepthFirstInByteOrderSkippingHiddenFoldersAndLinks) {
  Dir("b");
  Dir("a/b");
  Dir("a/a");
  Dir("B");
  Dir(".hidden/inner");
  Dir("a/.git");
  fs::create_directory_symlink("..", root.File("a/loop"));  // a link loop
  fs::create_directory_symlink(root.File("b"), root.File("link-to-b"));
  test::WriteFile(root.File("a/file"), "");
  const std::string base = root.Path() + "/";
  EXPECT_EQ(ListSubdirectories(root.Path()),
            (std::vector<std::string>{base + "B/", base + "a/", base + "a/a/", base + "a/b/", base + "b/"}));
}

TEST_F(Catalogue, ListsLessonFilesOfOneFolderOnly) {
  Dir("x/sub");
  Dir("x/folder.tav");
  for (const char* name : {"b.tav", "A.TAV", ".hidden.tav", "c.tav.bak", "d.txt", "sub/e.tav"})
    test::WriteFile(root.File(std::string("x/") + name), "");
  std::vector<std::string> files{"kept"};
  ListLessonFiles(root.File("x/"), files);
  const std::string x = root.File("x/");
  EXPECT_EQ(files, (std::vector<std::string>{"kept", x + ".hidden.tav", x + "A.TAV", x + "b.tav"}));
}

TEST_F(Catalogue, SummaryLineHasTheTenFieldsWithLowerCaseNames) {
  Dir("Ärger");
  const std::string file = root.File("Ärger/Lesson ONE.tav");
  SaveLesson(file, "My Title; Chapter 1");
  EXPECT_EQ(LessonSummary(file),
            "lesson one.tav; My Title; Chapter 1; Topic; \xE4rger; Ann; p.bmp; English; Deutsch; 2; 4");
}

TEST_F(Catalogue, CataloguesNestedFoldersButNotTheChosenOne) {
  SaveLesson(root.File("top.tav"), "top");
  SaveLesson(Dir("a") + "/z.tav", "a-z");
  SaveLesson(root.File("a/m.tav"), "a-m");
  SaveLesson(Dir("a/b") + "/a.tav", "ab-a");
  SaveLesson(Dir(".hidden") + "/h.tav", "hidden");
  const TCatalogue catalogue = MakeCatalogue(root.Path());
  EXPECT_TRUE(catalogue.Errors.empty());
  EXPECT_EQ(FileNames(catalogue), (std::vector<std::string>{"m.tav", "z.tav", "a.tav"}));
  EXPECT_NE(catalogue.Lines[2].find("; ab-a; Topic; b; "), std::string::npos) << catalogue.Lines[2];

  TempDir flat;
  SaveLesson(flat.File("only.tav"), "only");
  EXPECT_TRUE(MakeCatalogue(flat.Path()).Lines.empty());
}

TEST_F(Catalogue, StopsAtTheFirstUnreadableLessonUnlessToldToGoOn) {
  SaveLesson(Dir("a") + "/1.tav", "one");
  test::WriteFile(root.File("a/2.tav"), "not a lesson");
  SaveLesson(root.File("a/3.tav"), "three");
  test::WriteFile(root.File("a/4.tav"), "tavv");

  const TCatalogue stopped = MakeCatalogue(root.Path());
  EXPECT_EQ(FileNames(stopped), std::vector<std::string>{"1.tav"});
  ASSERT_EQ(stopped.Errors.size(), 1u);
  EXPECT_EQ(stopped.Errors[0].FileName, root.File("a/2.tav"));
  EXPECT_NE(stopped.Errors[0].Message.find("2.tav"), std::string::npos) << stopped.Errors[0].Message;

  const TCatalogue all = MakeCatalogue(root.Path(), true);
  EXPECT_EQ(FileNames(all), (std::vector<std::string>{"1.tav", "3.tav"}));
  ASSERT_EQ(all.Errors.size(), 2u);
  EXPECT_EQ(all.Errors[1].FileName, root.File("a/4.tav"));
  EXPECT_THROW(LessonSummary(root.File("a/2.tav")), Exception);
}

TEST_F(Catalogue, UnreadableFoldersContributeNothing) {
  SaveLesson(Dir("closed/inner") + "/x.tav", "x");
  SaveLesson(Dir("open") + "/y.tav", "y");
  fs::permissions(root.Path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(root.File("open"), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(root.File("closed"), fs::perms::none);
  std::vector<std::string> folders;
  TCatalogue catalogue;
  {
    const test::AsUnprivileged guard;
    folders = ListSubdirectories(root.Path());
    catalogue = MakeCatalogue(root.Path());
  }
  EXPECT_EQ(folders, std::vector<std::string>{root.File("open/")});
  EXPECT_EQ(FileNames(catalogue), std::vector<std::string>{"y.tav"});
}

}  // namespace
}  // namespace vocatrix
