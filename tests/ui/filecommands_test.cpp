// SPDX-License-Identifier: GPL-3.0-or-later
// Open, save, save as, read-only files and the close question of the
// lesson editor window.

#include <sys/stat.h>
#include <unistd.h>

#include <QLabel>
#include <QMenu>

#include "base/inifile.h"
#include "base/lastfolders.h"
#include "base/safesave.h"
#include "files/lessonfiles.h"
#include "ui/common/qtstrings.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageAnswer;
using ui::MessageKind;
using ui::VocabEditForm;

class FileCommandsTest : public UiTest {
 protected:
  // A lesson file of any name (backups included).
  static std::unique_ptr<TMeanCollection> Load(const std::string& path) {
    auto lesson = std::make_unique<TMeanCollection>();
    LoadBinary(*lesson, path);
    return lesson;
  }

  static std::vector<std::string> HeadWords(const TMeanCollection& lesson) {
    std::vector<std::string> words;
    for (const MeaningPtr& entry : *lesson.Meanings)
      words.push_back(entry->Synonyms.Empty() ? "" : entry->Synonyms.At(0)->Text());
    return words;
  }

  // Types a new head word into the first entry of a window.
  static void Retitle(VocabEditForm* form, const QString& title) { form->EditTitle->setText(title); }
};

TEST_F(FileCommandsTest, OpenCompactsTheLessonAndAddsAnEntryToAnEmptyOne) {
  VocabEditForm* form = Open(MakeLessonFile(
      "dup.tav", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"Haus"}, {"house"}), MakeEntry(0, {"go"})}));
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(HeadWords(form->Lesson()), (std::vector<std::string>{"house", "go"}));
  EXPECT_EQ(form->FileName(), File("dup.tav"));
  EXPECT_EQ(form->EntryIndex(), 0);
  EXPECT_FALSE(form->HasUnsavedChanges());

  VocabEditForm* empty = Open(MakeLessonFile("empty.tav", {}));
  ASSERT_NE(empty, nullptr);
  EXPECT_EQ(empty->Lesson().EntryCount(), 1);
  EXPECT_EQ(empty->Label7->text(), "1");
  EXPECT_FALSE(empty->HasUnsavedChanges());
}

TEST_F(FileCommandsTest, FilesThatAreNoLessonsAreRefusedWithTheirMessage) {
  WriteFile(File("bad.tav"), "not a lesson at all");
  WriteFile(File("old.tav.bak"), "x");
  struct Case {
    std::string file;
    std::string message;
  };
  for (const Case& c : {Case{File("old.tav.bak"), "'" + File("old.tav.bak") + "' is not a lesson file."},
                        Case{File("bad.tav"), "Format error in file '" + File("bad.tav") + "'."},
                        Case{File("gone.tav"), "Kann Datei " + File("gone.tav") + " nicht öffnen"}}) {
    platform_.Dialogs.Messages.clear();
    EXPECT_EQ(Open(c.file), nullptr) << c.file;
    EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error), (std::vector<QString>{ui::Utf8ToQString(c.message)}));
  }
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
}

TEST_F(FileCommandsTest, SavingTwiceLeavesTheFirstSaveInTheBackup) {
  const std::string path = MakeLessonFile("a.tav", {MakeEntry(1, {"one"})});
  VocabEditForm* form = Open(path);
  Retitle(form, "first");
  ASSERT_TRUE(form->MenuSaveClick());
  EXPECT_FALSE(form->HasUnsavedChanges());
  EXPECT_EQ(Load(path)->Title, "first");
  EXPECT_EQ(Load(File("a.BAK"))->Title, "");  // the original file

  Retitle(form, "second");
  ASSERT_TRUE(form->MenuSaveClick());
  EXPECT_EQ(Load(path)->Title, "second");
  EXPECT_EQ(Load(File("a.BAK"))->Title, "first");
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
  EXPECT_TRUE(platform_.Dialogs.FileDialogs.empty());
}

TEST_F(FileCommandsTest, SaveOfANewLessonAsksForANameWithTheLessonFilter) {
  VocabEditForm* form = Main().NewChild();
  form->MemoSynonyms->setPlainText("word");
  platform_.Dialogs.FileAnswers = {ui::FileNameToQString(File("b.tav"))};
  ASSERT_TRUE(form->MenuSaveClick());
  ASSERT_EQ(platform_.Dialogs.FileDialogs.size(), 1u);
  const ui::FileDialogRequest& request = platform_.Dialogs.FileDialogs[0].Request;
  EXPECT_TRUE(platform_.Dialogs.FileDialogs[0].Save);
  EXPECT_EQ(request.FileName, "");
  EXPECT_EQ(request.Filter, "Rich Text (*rtf)|*.rtf|Text (*.txt)|*.txt|tavvi (*.tav)|*.tav");
  EXPECT_EQ(request.FilterIndex, 3);
  EXPECT_EQ(request.DefaultExtension, "tav");
  EXPECT_TRUE(request.OverwritePrompt);
  EXPECT_TRUE(request.RefuseReadOnly);
  EXPECT_EQ(form->windowTitle(), "b.tav");
  EXPECT_EQ(form->FileName(), File("b.tav"));
  EXPECT_EQ(HeadWords(*Load(File("b.tav"))), (std::vector<std::string>{"word"}));
  EXPECT_FALSE(FileExists(File("b.BAK")));

  // Save As starts with the current name; cancelling changes nothing.
  platform_.Dialogs.FileAnswers = {std::nullopt};
  Retitle(form, "changed");
  form->MenuSaveAsClick();
  EXPECT_EQ(platform_.Dialogs.FileDialogs[1].Request.FileName, ui::FileNameToQString(File("b.tav")));
  EXPECT_TRUE(form->HasUnsavedChanges());
  EXPECT_EQ(form->FileName(), File("b.tav"));
  Discard(form);
}

TEST_F(FileCommandsTest, FileDialogsStartInTheFolderLastUsedForTheirKindAndANewLessonOffersItsTitle) {
  for (const char* folder : {"lessons", "exchange", "more", "catalogue"}) MakeFolders(File(folder) + "/");
  SaveBinary(*MakeLesson("English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"})}), File("lessons/a.tav"));
  const QString home = ui::FileNameToQString(HomeFolder());
  const auto in = [this](const char* folder) { return ui::FileNameToQString(File(folder) + "/"); };
  VocabEditForm* fresh = nullptr;
  struct Step {
    const char* command;
    const char* answer;  // relative to the test's folder; empty for Cancel
    QString folder;      // the dialog starts in
    QString name;        // with this file name
  };
  const Step steps[] = {
      {"open", "lessons/a.tav", home, ""},
      {"export", "exchange/a.kvtml", in("lessons"), "a.kvtml"},  // beside the lesson until one was used
      {"import", "exchange/a.kvtml", in("exchange"), ""},
      {"open", "", in("lessons"), ""},
      {"save as", "more/unit.tav", in("lessons"), "Unit 1_2_ Animals"},
      {"open", "", in("more"), ""},
      {"export", "", in("exchange"), "unit.kvtml"},
      {"browse", "catalogue", home, ""},
      {"browse", "", in("catalogue"), ""},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.command) + " " + step.answer);
    const std::string command = step.command;
    platform_.Dialogs.FileAnswers = {*step.answer ? std::optional(ui::FileNameToQString(File(step.answer)))
                                                  : std::optional<QString>()};
    if (command == "open") {
      Main().OpenChild();
    } else if (command == "import") {
      Main().MenuImportClick();
    } else if (command == "browse") {
      Main().MenuBrowseClick();
    } else if (command == "save as") {
      fresh = Main().NewChild();
      fresh->EditTitle->setText(" Unit 1/2: Animals.");
      fresh->MenuSaveAsClick();
    } else {
      (fresh ? fresh : Main().ActiveEditForm())->MenuExportClick();
    }
    const ui::FileDialogRequest& request = platform_.Dialogs.FileDialogs.back().Request;
    EXPECT_EQ(request.Folder, step.folder);
    EXPECT_EQ(request.FileName, step.name);
  }
  EXPECT_EQ(fresh->FileName(), File("more/unit.tav"));
  // Written at once, not at exit; a folder that is gone gives way to home.
  EXPECT_EQ(IniFile(SettingsFile()).ReadString("Folders", "Exchange", ""), File("exchange") + "/");
  ::rmdir(File("catalogue").c_str());
  platform_.Dialogs.FileAnswers = {std::nullopt};
  Main().MenuBrowseClick();
  EXPECT_EQ(platform_.Dialogs.FileDialogs.back().Request.Folder, home);
  for (VocabEditForm* form : Main().LessonWindows()) Discard(form);
}

TEST_F(FileCommandsTest, OpenDialogOffersLessonFilesFirst) {
  const std::string path = MakeLessonFile("c.tav", {MakeEntry(1, {"one"})});
  platform_.Dialogs.FileAnswers = {ui::FileNameToQString(path)};
  Button("OpenBtn")->click();
  ASSERT_EQ(platform_.Dialogs.FileDialogs.size(), 1u);
  EXPECT_FALSE(platform_.Dialogs.FileDialogs[0].Save);
  EXPECT_EQ(platform_.Dialogs.FileDialogs[0].Request.Filter,
            "Lesson (*.rtf;*.txt;*.tav)|*.rtf;*.txt;*.tav|Rich Text (*.rtf)|*.rtf|Text (*.txt) |*.txt|tavvi "
            "(*.tav)|*.tav");
  EXPECT_EQ(platform_.Dialogs.FileDialogs[0].Request.FilterIndex, 1);
  ASSERT_EQ(Main().LessonWindows().size(), 1);
  EXPECT_EQ(Main().ActiveEditForm()->FileName(), path);
}

TEST_F(FileCommandsTest, ReadOnlyLessonIsNeverOverwritten) {
  const std::string path = MakeLessonFile("ro.tav", {MakeEntry(1, {"one"})});
  const std::string original = ReadFile(path);
  VocabEditForm* form = Open(path);
  ::chmod(path.c_str(), 0444);
  Retitle(form, "new");
  platform_.Dialogs.FileAnswers = {std::nullopt};
  EXPECT_FALSE(form->MenuSaveClick());
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Warning), (std::vector<QString>{"ro.tav is read only."}));
  ASSERT_EQ(platform_.Dialogs.FileDialogs.size(), 1u);
  EXPECT_EQ(platform_.Dialogs.FileDialogs[0].Request.FileName, ui::FileNameToQString(path));
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_FALSE(FileExists(File("ro.BAK")));
  EXPECT_TRUE(form->HasUnsavedChanges());

  // Saved under another name instead.
  platform_.Dialogs.FileAnswers = {ui::FileNameToQString(File("copy.tav"))};
  EXPECT_TRUE(form->MenuSaveClick());
  EXPECT_EQ(Load(File("copy.tav"))->Title, "new");
  EXPECT_EQ(ReadFile(path), original);
}

TEST_F(FileCommandsTest, FailedSaveKeepsTheFileTheBackupAndTheModifiedMark) {
  const std::string path = MakeLessonFile("full.tav", {MakeEntry(1, {"one"})});
  VocabEditForm* form = Open(path);
  Retitle(form, "first");
  ASSERT_TRUE(form->MenuSaveClick());
  const std::string saved = ReadFile(path);
  const std::string backup = ReadFile(File("full.BAK"));
  Retitle(form, QString(2000, 'x'));
  {
    ScopedFileSizeLimit diskFull(saved.size() + 100);
    EXPECT_FALSE(form->MenuSaveClick());
  }
  EXPECT_EQ(ReadFile(path), saved);
  EXPECT_EQ(ReadFile(File("full.BAK")), backup);
  EXPECT_TRUE(form->HasUnsavedChanges());
  ASSERT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error).size(), 1u);
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error)[0], ui::FileNameToQString("Kann nicht nach " + path +
                                                                                    " schreiben"));
  // Closing asks again; a second failure keeps the window open.
  platform_.Dialogs.MessageAnswers = {MessageAnswer::Yes};
  {
    ScopedFileSizeLimit diskFull(saved.size() + 100);
    EXPECT_FALSE(form->close());
  }
  EXPECT_EQ(Main().LessonWindows().size(), 1);
  Discard(form);
}

TEST_F(FileCommandsTest, SaveIntoAFolderWithoutWriteAccessKeepsTheOldFile) {
  const std::string folder = File("locked");
  ::mkdir(folder.c_str(), 0755);
  const std::string path = folder + "/l.tav";
  SaveBinary(*MakeLesson("a", "b", {MakeEntry(1, {"one"})}), path);
  // Only the folder refuses: the file itself may be written by anyone.
  ::chmod(path.c_str(), 0666);
  ::chmod(File("").c_str(), 0755);
  const std::string original = ReadFile(path);
  VocabEditForm* form = Open(path);
  Retitle(form, "new");
  ::chmod(folder.c_str(), 0555);
  {
    test::AsUnprivileged user;  // folder permissions do not bind root
    EXPECT_FALSE(form->MenuSaveClick());
  }
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(ReadFile(path), original);
  EXPECT_FALSE(FileExists(folder + "/l.BAK"));
  EXPECT_TRUE(form->HasUnsavedChanges());
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error).size(), 1u);
  Discard(form);
}

TEST_F(FileCommandsTest, SavingUnderANameOfAnotherKindIsRefused) {
  VocabEditForm* form = Main().NewChild();
  form->EditTitle->setText("Title");
  platform_.Dialogs.FileAnswers = {ui::FileNameToQString(File("x.doc"))};
  EXPECT_FALSE(form->MenuSaveClick());
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error),
            (std::vector<QString>{ui::FileNameToQString("'" + File("x.doc") + "' is not a lesson file.")}));
  EXPECT_FALSE(FileExists(File("x.doc")));
  EXPECT_TRUE(form->HasUnsavedChanges());
  Discard(form);
}

TEST_F(FileCommandsTest, CloseQuestionDecidesWhetherTheWindowCloses) {
  struct Case {
    MessageAnswer answer;
    std::optional<QString> saveAs;  // answer of the save dialog after Yes
    bool closes;
    bool written;
  };
  const Case cases[] = {{MessageAnswer::Cancel, std::nullopt, false, false},
                        {MessageAnswer::No, std::nullopt, true, false},
                        {MessageAnswer::Yes, std::nullopt, false, false},  // Save As cancelled
                        {MessageAnswer::Yes, ui::FileNameToQString(File("new.tav")), true, true}};
  for (const Case& c : cases) {
    platform_.Dialogs.Messages.clear();
    VocabEditForm* form = Main().NewChild();
    form->EditTitle->setText("Title");
    platform_.Dialogs.MessageAnswers = {c.answer};
    if (c.answer == MessageAnswer::Yes) platform_.Dialogs.FileAnswers = {c.saveAs};
    EXPECT_EQ(form->close(), c.closes);
    Settle();
    EXPECT_EQ(Main().LessonWindows().size(), c.closes ? 0 : 1);
    EXPECT_EQ(FileExists(File("new.tav")), c.written);
    ASSERT_EQ(platform_.Dialogs.Messages.size(), 1u);
    EXPECT_EQ(platform_.Dialogs.Messages[0].Text, "Do you want to save 'New Lesson'?");
    if (!c.closes) {
      Discard(form);
      form->close();
      Settle();
    }
  }
}

TEST_F(FileCommandsTest, ClosingTheLastWindowDisablesTheLessonButtons) {
  VocabEditForm* first = Open(MakeLessonFile("a.tav", {MakeEntry(1, {"a"})}));
  VocabEditForm* second = Open(MakeLessonFile("b.tav", {MakeEntry(1, {"b"})}));
  first->close();
  Settle();
  EXPECT_TRUE(Button("SaveBtn")->isEnabled());
  EXPECT_TRUE(Button("SpeedButton1")->isEnabled());
  second->close();
  Settle();
  for (const char* name : {"SaveBtn", "PrintBtn", "CutBtn", "CopyBtn", "PasteBtn", "SpeedButton1", "SpeedButton9"})
    EXPECT_FALSE(Button(name)->isEnabled()) << name;
  EXPECT_FALSE(Child<QMenu>(&Main(), "MenuWindows")->menuAction()->isVisible());
}

TEST_F(FileCommandsTest, SaveAllAndCloseAllVisitEveryLessonWindow) {
  VocabEditForm* a = Open(MakeLessonFile("a.tav", {MakeEntry(1, {"a"})}));
  VocabEditForm* b = Open(MakeLessonFile("b.tav", {MakeEntry(1, {"b"})}));
  Retitle(a, "A");
  Retitle(b, "B");
  Main().SaveAllLessons();
  EXPECT_EQ(Load(File("a.tav"))->Title, "A");
  EXPECT_EQ(Load(File("b.tav"))->Title, "B");
  Main().NewChild()->EditTitle->setText("Title");
  platform_.Dialogs.MessageAnswers = {MessageAnswer::No};
  Main().CloseAllLessons();
  Settle();
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
  EXPECT_EQ(platform_.Dialogs.Messages.size(), 1u);
  EXPECT_FALSE(Button("SaveBtn")->isEnabled());
}

}  // namespace
}  // namespace vocatrix::test
