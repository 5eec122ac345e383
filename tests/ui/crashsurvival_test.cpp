// SPDX-License-Identifier: GPL-3.0-or-later
// What survives a crash: settings written when they change, the unsaved
// work of a window whatever its lesson holds, and a recovery dialog that
// restores or discards the windows the user ticks.

#include <QTreeWidget>
#include <filesystem>
#include <signal.h>
#include <sys/wait.h>

#include "components/compostatusbar.h"
#include "base/inifile.h"
#include "files/binaryfile.h"
#include "model/exceptions.h"
#include "recovery/recovery.h"
#include "ui/about/soundevents.h"
#include "ui/recovery/autosave.h"
#include "ui/recovery/recoverydlg.h"
#include "child_process.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::VocabEditForm;

// Changes every setting a user changes, then waits to be killed.
const ChildRegistration changeAndWait("change settings and wait", [](const std::string& folder) {
  SetProgramFilePath(folder + "/vocatrix");
  ScriptedPlatform scripted;
  scripted.Sound.Device = false;
  scripted.Sound.Plays = false;
  scripted.Dialogs.MessageAnswers = {ui::MessageAnswer::Yes};
  ui::SoundEvents().LoadSoundSettings();
  ui::SoundEvents().SoundFiles[ui::seStart] = folder + "/start.wav";
  ui::MainForm main(scripted.Get());
  main.show();
  main.ChangeCharSet("\xE9\xE8\xEA");
  main.MenuLanguageClick(1);
  VocabEditForm* form = main.OpenFile(folder + "/lesson.tav");
  if (!form) return 2;
  form->EditTitle->setText("saved");
  if (!form->MenuSaveClick()) return 3;
  ui::SoundEvents().PlaySoundEvent(ui::seStart, ui::kSoundAsync, main.Services(), &main, main.Language());
  main.move(main.x() + 40, main.y() + 30);
  // The frame's place is kept a moment after it moved.
  QTest::qWait(1500);
  WriteFile(folder + "/ready", "");
  for (;;) QTest::qWait(1000);
});

class CrashSurvivalTest : public UiTest {
 protected:
  // A recovery that a program which no longer runs ("1-2") left for a window.
  void LeaveRecovery(int slot, const std::string& caption, const std::string& fileName, const std::string& time) {
    std::filesystem::create_directories(RecoveryFolder());
    TRecoveryNote note;
    note.Kind = TRecoveryNote::kLessonWindow;
    note.Caption = caption;
    note.FileName = fileName;
    note.Time = time;
    note.Entries = 1;
    note.Data = "1-2-" + std::to_string(slot) + "-1.tav";
    SaveBinary(*MakeLesson("English", "Deutsch", {MakeEntry(1, {caption}, {"x"})}), RecoveryFolder() + note.Data);
    WriteFile(RecoveryFolder() + "1-2-" + std::to_string(slot) + ".note", EncodeRecoveryNote(note));
  }

  std::vector<std::string> RecoveryFiles() const {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(RecoveryFolder(), ec))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
};

TEST_F(CrashSurvivalTest, SettingsAreKeptWhenTheyChangeSoAKillLosesNone) {
  WriteSettings("[Languages]\n1=English\n2=Deutsch\n[LanguageFiles]\nDeutsch=deutsch.ini\n");
  WriteFile(File("deutsch.ini"), "[Dynamic]\nVocabEditFormCaption=Neue Lektion\n");
  MakeLessonFile("lesson.tav", {MakeEntry(1, {"house"}, {"Haus"})});
  const pid_t child = StartChildPart("change settings and wait", dir_.Path());
  ASSERT_GT(child, 0);
  for (int i = 0; i < 1000 && !std::filesystem::exists(File("ready")); ++i) QTest::qWait(20);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  ASSERT_TRUE(std::filesystem::exists(File("ready")));
  const IniFile settings(SettingsFile());
  EXPECT_EQ(settings.ReadString("Config", "CharSet", ""), "\xE9\xE8\xEA");
  EXPECT_EQ(settings.ReadString("Config", "Language", ""), "Deutsch");
  EXPECT_EQ(settings.ReadString("RecentFiles", "File1", ""), File("lesson.tav"));
  EXPECT_EQ(settings.ReadString("Options", "Sound", ""), "0");
  EXPECT_EQ(settings.ReadString("Options", "SoundcardAsked", ""), "1");
  EXPECT_FALSE(settings.ReadString("Window", "Geometry", "").empty());
}

TEST_F(CrashSurvivalTest, TheSoundCardQuestionIsAskedOnceAndItsAnswerKept) {
  platform_.Sound.Device = false;
  platform_.Sound.Plays = false;
  ui::Platform platform = platform_.Get();
  ui::TSoundEvents events;
  events.LoadSoundSettings();
  events.SoundFiles[ui::seYes] = File("yes.wav");
  platform_.Dialogs.MessageAnswers = {ui::MessageAnswer::No};
  events.PlaySoundEvent(ui::seYes, ui::kSoundAsync, platform, nullptr, "English");
  ASSERT_EQ(platform_.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(platform_.Dialogs.Messages[0].Buttons, ui::MessageButtons::YesNo);
  EXPECT_TRUE(platform_.Dialogs.Messages[0].Text.endsWith("Switch sound off?"));
  EXPECT_TRUE(events.SoundOn);
  // The next start knows it was asked.
  ui::TSoundEvents next;
  next.LoadSoundSettings();
  next.SoundFiles = events.SoundFiles;
  next.PlaySoundEvent(ui::seYes, ui::kSoundAsync, platform, nullptr, "English");
  EXPECT_EQ(platform_.Dialogs.Messages.size(), 1u);
  EXPECT_TRUE(next.SoundOn);
}

TEST_F(CrashSurvivalTest, TheDialogRestoresTheTickedWindowsAndAsksBeforeItDiscards) {
  LeaveRecovery(1, "alpha", "/home/teacher/lessons/alpha.tav", "2026-12-10 10:43:21");
  LeaveRecovery(2, "beta", "", "2026-12-10 10:44:00");
  WriteFile(RecoveryFolder() + "1-2-3.note", "damaged");
  WriteFile(RecoveryFolder() + "1-2-9-7.tav.vtmp-x1", "half written");
  // Beta unticked, alpha restored; the damaged note goes, beta waits.
  platform_.Dialogs.DialogAnswers.push_back([](QDialog& dialog) {
    auto& recovery = dynamic_cast<ui::TRecoveryDlg&>(dialog);
    QTreeWidget* list = recovery.ListRecovered;
    EXPECT_EQ(list->topLevelItemCount(), 3);
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = list->topLevelItem(i);
      if (item->text(0) == "alpha") {
        EXPECT_EQ(item->text(1), "/home/teacher/lessons");
        EXPECT_EQ(item->text(2), QLocale().toString(QDateTime(QDate(2026, 12, 10), QTime(10, 43, 21)),
                                                    QLocale::ShortFormat));
      }
      if (item->text(0) == "beta") item->setCheckState(0, Qt::Unchecked);
      if (item->text(0).contains("damaged")) {
        EXPECT_FALSE(item->flags() & Qt::ItemIsUserCheckable);
      }
    }
    return static_cast<int>(ui::TRecoveryDlg::kRestore);
  });
  Main().OfferRecovery();
  ASSERT_EQ(Main().LessonWindows().size(), 1);
  EXPECT_EQ(Main().LessonWindows()[0]->Lesson().At(0)->KindTexts(kSynonyms), std::vector<std::string>{"alpha"});
  Main().Autosave().Flush();
  std::vector<std::string> left = RecoveryFiles();
  EXPECT_TRUE(std::count(left.begin(), left.end(), "1-2-2.note")) << ::testing::PrintToString(left);
  EXPECT_FALSE(std::count(left.begin(), left.end(), "1-2-1.note"));
  EXPECT_FALSE(std::count(left.begin(), left.end(), "1-2-3.note"));
  EXPECT_FALSE(std::count(left.begin(), left.end(), "1-2-9-7.tav.vtmp-x1"));
  Discard(Main().LessonWindows()[0]);

  // Discard asks; No shows the list again, Yes deletes what is ticked.
  for (int i = 0; i < 2; ++i)
    platform_.Dialogs.DialogAnswers.push_back([](QDialog&) { return static_cast<int>(ui::TRecoveryDlg::kDiscard); });
  platform_.Dialogs.MessageAnswers = {ui::MessageAnswer::No, ui::MessageAnswer::Yes};
  platform_.Dialogs.Messages.clear();
  Main().OfferRecovery();
  EXPECT_TRUE(platform_.Dialogs.DialogAnswers.empty());
  ASSERT_EQ(platform_.Dialogs.Messages.size(), 2u);
  EXPECT_EQ(platform_.Dialogs.Messages[0].Text, "Discard the unsaved work of 1 windows for good?");
  left = RecoveryFiles();
  EXPECT_FALSE(std::count(left.begin(), left.end(), "1-2-2.note")) << ::testing::PrintToString(left);
}

TEST_F(CrashSurvivalTest, AWindowKeepsItsWorkEvenWhenNoLessonFileCanHoldIt) {
  VocabEditForm* form = Open(MakeLessonFile("long.tav", {MakeEntry(1, {"house"}, {"Haus"})}));
  const std::string word(70000, 'a');
  // The title edit holds fewer characters than a lesson file's text; a word
  // list holds more: the paste comes in through the lesson, as a compiled
  // text or an earlier program would leave it.
  form->Document().Change(TLessonOp::StoreControls, [&word](TLessonEdit& edit) {
    edit.WatchEntry(0);
    edit.Lesson().At(0)->SetKindTexts(kTranslations, {"Haus", word});
  });
  const std::optional<ui::TRecoveryImage> image = form->RecoveryImage();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->Extension, ".tavw");
  TMeanCollection back;
  DecodeWideBinary(back, image->Data, "kept");
  EXPECT_EQ(back.At(0)->KindTexts(kTranslations), (std::vector<std::string>{"Haus", word}));
  EXPECT_NE(Main().StatusBar()->PanelText(1).indexOf("Entry 1"), -1) << Main().StatusBar()->PanelText(1).toStdString();
  // Saving says which entry and text, and leaves the file as it was.
  const std::string before = ReadFile(File("long.tav"));
  EXPECT_FALSE(form->MenuSaveClick());
  const std::vector<QString> errors = platform_.Dialogs.TextsOf(ui::MessageKind::Error);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_TRUE(errors[0].startsWith("Entry 1: a text of 70000 bytes")) << errors[0].toStdString();
  EXPECT_EQ(ReadFile(File("long.tav")), before);

  // Typed into a word list, such a word is refused, and the user told.
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->MemoSynonyms->setPlainText("house\n" + QString(70000, 'b'));
  form->StoreControls();
  Settle();
  EXPECT_EQ(form->Lesson().At(0)->KindTexts(kSynonyms), std::vector<std::string>{"house"});
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), "house");
  const std::vector<QString> warnings = platform_.Dialogs.TextsOf(ui::MessageKind::Warning);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_TRUE(warnings[0].startsWith("Entry 1: a text of 70000 bytes")) << warnings[0].toStdString();
  form->Document().Undo();
  form->Document().Undo();
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test
