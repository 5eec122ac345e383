// SPDX-License-Identifier: GPL-3.0-or-later
// Saves of the editor that fail half way keep every file as it was: lesson
// and text windows with their backups, the translator's template, and the
// settings written at exit.

#include <sys/stat.h>

#include <QTextEdit>
#include <filesystem>
#include <map>

#include "ui/textwindow/editform.h"
#include "ui/common/qtstrings.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageKind;

class FailedSaveTest : public UiTest {};

TEST_F(FailedSaveTest, EveryWindowAndTheSettingsKeepTheirFilesWhenASaveFails) {
  TempDir config;
  ::setenv("XDG_CONFIG_HOME", config.Path().c_str(), 1);
  for (const auto kind : SaveFailure::kEvery) {
    SCOPED_TRACE(kind);
    const SaveFailure failure(kind, 1 << 20);
    if (!failure.Possible()) {
      ADD_FAILURE() << "no mount namespace here: the full-disk case cannot run";
      continue;
    }
    const std::string folder = failure.Folder();
    SetProgramFilePath(folder + "/vocatrix");
    WriteFile(folder + "/vocatrix.ini", "[Main]\r\nCharSet=\xC4\xD6\xDC\r\n");
    WriteFile(folder + "/Language.ini", "the older template");
    WriteFile(folder + "/lesson.BAK", "the older lesson");
    WriteFile(folder + "/notes.txt", "the user's text\r\n");
    WriteFile(folder + "/notes.BAK", "the older text");
    SaveBinary(*MakeLesson("English", "Deutsch", {MakeEntry(1, {"one"}, {"eins"})}), folder + "/lesson.tav");
    // Only the folder refuses: the files themselves may be written by anyone.
    for (const auto& e : std::filesystem::directory_iterator(folder)) ::chmod(e.path().c_str(), 0666);

    ui::VocabEditForm* form = Open(folder + "/lesson.tav");
    ASSERT_NE(form, nullptr);
    form->EditTitle->setText(QString(5000, 't'));
    ui::TEditForm* text = Main().NewTextWindow();
    text->Open(folder + "/notes.txt");
    text->Memo1->selectAll();
    text->Memo1->insertPlainText(QString(5000, 'x'));
    // Every file as it stands before the saves (starting the editor wrote its settings).
    std::map<std::string, std::string> before;
    for (const auto& e : std::filesystem::directory_iterator(folder)) before[e.path().string()] = ReadFile(e.path());

    failure.Refuse();
    {
      const auto scope = failure.InThisProcess(16);
      EXPECT_FALSE(form->MenuSaveClick());
      EXPECT_FALSE(text->Save1Click());
      Main().MenuSaveLanguageClick();
      EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error).size(), 3u);
      EXPECT_TRUE(form->HasUnsavedChanges());
      EXPECT_TRUE(text->Modified());
      Discard(form);
      text->Memo1->document()->setModified(false);
      CloseMain();  // writes the settings
    }
    failure.Mend();
    std::map<std::string, std::string> after;
    for (const auto& e : std::filesystem::directory_iterator(folder)) after[e.path().string()] = ReadFile(e.path());
    EXPECT_EQ(after, before);
    platform_.Dialogs.Messages.clear();
  }
  ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace vocatrix::test
