// SPDX-License-Identifier: GPL-3.0-or-later
// Autosave and recovery with the editor: a program killed after an autosave
// gives its unsaved work back at the next start; saves, closed windows and a
// clean exit leave nothing behind.

#include <QTest>
#include <QTreeWidget>

#include "base/font.h"
#include "recovery/recovery.h"
#include "ui/recovery/autosave.h"
#include "ui/textwindow/editform.h"
#include "ui/lessonwindow/fontcombo.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/recovery/recoverydlg.h"
#include "child_process.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::VocabEditForm;

// The header, fonts and entries of a lesson, in one string.
std::string Dump(const TMeanCollection& lesson) {
  std::string out = lesson.Title + "|" + lesson.Topic + "|" + lesson.Author + "|" + lesson.Picture + "\n" +
                    lesson.Language1.Name + " " + FontToText(lesson.Language1.Font) + "\n" + lesson.Language2.Name +
                    " " + FontToText(lesson.Language2.Font) + "\n";
  for (const MeaningPtr& entry : *lesson.Meanings) {
    out += std::to_string(entry->Form);
    for (int kind : {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations})
      for (const std::string& text : entry->KindTexts(kind)) out += " " + std::to_string(kind) + ":" + text;
    out += "\n";
  }
  return out;
}

// Types as a user does, key by key; letters beyond ASCII come as text.
void Type(QWidget* field, const QString& text) {
  for (const QChar c : text) {
    if (c == '\n') QTest::keyClick(field, Qt::Key_Return);
    else if (c.unicode() < 128) QTest::keyClick(field, c.toLatin1());
    else QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

std::vector<std::string> Notes(const std::string& folder) {
  std::vector<std::string> notes;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.path().extension() == ".note") notes.push_back(entry.path());
  return notes;
}

// Edits a lesson through the window's controls on every page, leaves the
// last edits on the Text page uncompiled, waits for autosave to write them,
// writes what the window holds to "expected" and waits to be killed.
const ChildRegistration editAndWait("edit and wait", [](const std::string& folder) {
  SetProgramFilePath(folder + "/vocatrix");
  ScriptedPlatform scripted;
  ui::MainForm main(scripted.Get());
  main.show();
  VocabEditForm* form = main.OpenFile(folder + "/lesson.tav");
  if (!form) return 2;
  form->EditTitle->setFocus();
  Type(form->EditTitle, " again");
  scripted.Dialogs.FontAnswers.push_back(TextToFont("Courier New_clNavy_12_[Italic]"));
  form->ComboFontLanguage2->showPopup();
  QApplication::processEvents();
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->ScrollBarScroll(ui::ScrollCode::LineDown, 2);
  form->MemoTranslations->setFocus();
  form->MemoTranslations->moveCursor(QTextCursor::End);
  Type(form->MemoTranslations, QString::fromUtf8("\nGehölz"));
  form->SelectTab(VocabEditForm::kTextPage);
  form->MemoText->setFocus();
  form->MemoText->moveCursor(QTextCursor::End);
  Type(form->MemoText, "\nneu - new");
  const QString page = form->MemoText->toPlainText();
  for (int i = 0; i < 500; ++i) {
    bool written = false;
    for (const std::string& note : Notes(RecoveryFolder()))
      written = written || ReadFile(note).find("neu - new") != std::string::npos;
    if (written) {
      WriteFile(folder + "/expected", Dump(form->Lesson()) + "--\n" + page.toStdString());
      for (;;) QTest::qWait(1000);
    }
    QTest::qWait(20);
  }
  return 3;
});

class RecoveryTest : public UiTest {
 protected:
  // Runs the child above and kills it once autosave has written its work.
  void KillAfterAutosave() {
    WriteSettings("[Options]\nAutosaveSeconds=1\n");
    MakeLessonFile("lesson.tav", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"tree"}, {"Baum"})});
    std::filesystem::remove(File("expected"));
    const pid_t child = StartChildPart("edit and wait", dir_.Path());
    ASSERT_GT(child, 0);
    for (int i = 0; i < 1500 && !std::filesystem::exists(File("expected")); ++i) QTest::qWait(20);
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    ASSERT_TRUE(std::filesystem::exists(File("expected"))) << "the child never saw its autosave";
  }
  // The recovery dialog of the next start, answered with `answer` (and the
  // question that Discard asks with Yes).
  void Offer(int answer, int* rows = nullptr) {
    if (answer == ui::TRecoveryDlg::kDiscard) platform_.Dialogs.MessageAnswers.push_back(ui::MessageAnswer::Yes);
    platform_.Dialogs.DialogAnswers.push_back([answer, rows](QDialog& dialog) {
      auto& recovery = dynamic_cast<ui::TRecoveryDlg&>(dialog);
      if (rows) *rows = recovery.ListRecovered->topLevelItemCount();
      return answer;
    });
    Main().OfferRecovery();
  }
};

TEST_F(RecoveryTest, AKilledProgramsWorkComesBackExactlyAndACleanExitLeavesNothing) {
  KillAfterAutosave();
  const std::string expected = ReadFile(File("expected"));
  int rows = 0;
  Offer(ui::TRecoveryDlg::kRestore, &rows);
  EXPECT_EQ(rows, 1);
  ASSERT_EQ(Main().LessonWindows().size(), 1);
  VocabEditForm* form = Main().LessonWindows().first();
  EXPECT_EQ(form->FileName(), File("lesson.tav"));
  EXPECT_EQ(form->windowTitle(), "lesson.tav");
  EXPECT_TRUE(form->HasUnsavedChanges());
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  form->CompleteText();
  EXPECT_EQ(Dump(form->Lesson()) + "--\n" + form->MemoText->toPlainText().toStdString(), expected);
  // The text's edits compile into the lesson.
  form->SelectTab(VocabEditForm::kHeaderPage);
  const std::string compiled = Dump(form->Lesson());
  EXPECT_TRUE(compiled.find(":neu") != std::string::npos && compiled.find(":new") != std::string::npos) << compiled;
  // The user's own file is as it was; the work is kept under this program now.
  EXPECT_EQ(ReadFile(File("lesson.tav")).find("again"), std::string::npos);
  Main().Autosave().Flush();
  EXPECT_EQ(Notes(RecoveryFolder()).size(), 1u);

  // A clean exit: saving or giving up every window leaves no file behind.
  platform_.Dialogs.MessageAnswers = {ui::MessageAnswer::No};
  EXPECT_TRUE(Main().close());
  CloseMain();
  std::error_code ec;
  EXPECT_TRUE(std::filesystem::is_empty(RecoveryFolder(), ec)) << RecoveryFolder();
  EXPECT_EQ(ReadFile(File("lesson.tav")).find("again"), std::string::npos);
}

TEST_F(RecoveryTest, DiscardDeletesTheFilesAndLaterKeepsThem) {
  KillAfterAutosave();
  Offer(ui::TRecoveryDlg::kLater);
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
  EXPECT_EQ(Notes(RecoveryFolder()).size(), 1u);
  Offer(ui::TRecoveryDlg::kDiscard);
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
  EXPECT_TRUE(Notes(RecoveryFolder()).empty());
  std::error_code ec;
  EXPECT_TRUE(std::filesystem::is_empty(RecoveryFolder(), ec));
  // Nothing left: the next start asks nothing.
  Main().OfferRecovery();
  EXPECT_TRUE(platform_.Dialogs.DialogAnswers.empty());
}

TEST_F(RecoveryTest, OnlyUnsavedWindowsAreKeptAndSavingOrClosingRemovesTheirFiles) {
  VocabEditForm* saved = Open(MakeLessonFile("saved.tav", {MakeEntry(1, {"house"}, {"Haus"})}));
  VocabEditForm* edited = Open(MakeLessonFile("edited.tav", {MakeEntry(1, {"tree"}, {"Baum"})}));
  ui::TEditForm* text = Main().NewTextWindow();
  text->Memo1->textCursor().insertText(QString::fromUtf8("Notizen über Bäume"));
  edited->EditTopic->setText("Trees");
  ui::TAutosave& autosave = Main().Autosave();
  autosave.SaveNow();
  autosave.Flush();
  EXPECT_EQ(Notes(RecoveryFolder()).size(), 2u);  // the edited lesson and the text
  for (const std::string& note : Notes(RecoveryFolder())) {
    const TRecoveryNote read = DecodeRecoveryNote(ReadFile(note));
    if (read.Kind == TRecoveryNote::kTextWindow) {
      EXPECT_EQ(ReadFile(FolderOf(note) + read.Data), "Notizen über Bäume");
    } else {
      EXPECT_EQ(read.FileName, File("edited.tav"));
      // The topic is typed but not yet stored: the note keeps the control's text.
      EXPECT_NE(std::find(read.Controls.begin(), read.Controls.end(),
                          std::pair<std::string, std::string>("EditTopic", "Trees")),
                read.Controls.end());
    }
  }
  ASSERT_TRUE(edited->MenuSaveClick());
  autosave.Flush();
  EXPECT_EQ(Notes(RecoveryFolder()).size(), 1u);
  platform_.Dialogs.MessageAnswers = {ui::MessageAnswer::No};
  text->close();
  autosave.Flush();
  EXPECT_TRUE(Notes(RecoveryFolder()).empty());
  // A window without changes writes nothing.
  autosave.SaveNow();
  autosave.Flush();
  EXPECT_TRUE(Notes(RecoveryFolder()).empty());
  saved->close();
}

}  // namespace
}  // namespace vocatrix::test
