// SPDX-License-Identifier: GPL-3.0-or-later
// "Unsaved changes" tell the truth: looking at a lesson (another entry, a
// search, the Text page left untouched, Check Spelling, an untouched new
// lesson) marks nothing, asks nothing at close and leaves autosave nothing
// to keep. And a lesson window lives on a host of its own, without the main
// window.

#include <QAction>
#include <QEventLoop>
#include <QPointer>
#include <QScrollBar>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "document/lessondocument.h"
#include "ui/dialogs/finddlg.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/mainwindow/windowhost.h"
#include "ui/recovery/autosave.h"
#include "ui/spelling/spellingdlg.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::VocabEditForm;

class UnsavedChangesTest : public UiTest {
 protected:
  static void Trigger(QWidget* form, const char* item) {
    QAction* action = form->findChild<QAction*>(item);
    ASSERT_NE(action, nullptr) << item;
    action->trigger();
  }

  // Nothing marks the window, enables Save, is kept by autosave or asked at close.
  void ExpectNothingUnsaved(VocabEditForm* form, const std::string& what) {
    WaitForInput();
    EXPECT_FALSE(form->HasUnsavedChanges()) << what;
    EXPECT_FALSE(form->windowTitle().startsWith('*')) << what;
    EXPECT_FALSE(Button("SaveBtn")->isEnabled()) << what;
    EXPECT_FALSE(form->RecoveryImage()) << what;
    Main().Autosave().SaveNow();
    Main().Autosave().Flush();
    std::error_code ec;
    EXPECT_TRUE(std::filesystem::is_empty(RecoveryFolder(), ec) || ec) << what;
    platform_.Dialogs.Messages.clear();
    QPointer<VocabEditForm> alive(form);
    EXPECT_TRUE(form->close()) << what;
    Settle();
    EXPECT_TRUE(platform_.Dialogs.Messages.empty()) << what;
    EXPECT_TRUE(alive.isNull()) << what;
  }
};

TEST_F(UnsavedChangesTest, LookingAtALessonMarksNothing) {
  const std::vector<MeaningPtr> entries = {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(0, {"go"}, {"gehen"}),
                                           MakeEntry(2, {"big"}, {"gross"})};
  const auto entriesPage = [](VocabEditForm* form) { form->SelectTab(VocabEditForm::kEntriesPage); };
  const std::vector<std::pair<const char*, std::function<void(VocabEditForm*)>>> cases = {
      {"Alt+Page Down",
       [&](VocabEditForm* form) {
         entriesPage(form);
         QTest::keyClick(form->MemoSynonyms, Qt::Key_PageDown, Qt::AltModifier);
         QTest::keyClick(form->MemoSynonyms, Qt::Key_PageDown, Qt::AltModifier);
         EXPECT_EQ(form->EntryIndex(), 2);
       }},
      {"the scroll bar",
       [&](VocabEditForm* form) {
         entriesPage(form);
         form->ScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
         form->ScrollBar->triggerAction(QAbstractSlider::SliderToMinimum);
         EXPECT_EQ(form->EntryIndex(), 0);
       }},
      {"an entry number typed",
       [&](VocabEditForm* form) {
         entriesPage(form);
         form->EditEntryNr->setText("3");
         EXPECT_EQ(form->EntryIndex(), 2);
       }},
      {"Find",
       [&](VocabEditForm* form) {
         Main().FindDlg()->EditFind->setText("gehen");
         EXPECT_TRUE(form->FindNext(false));
         EXPECT_TRUE(form->FindNext(true));
       }},
      {"the Text page left untouched",
       [&](VocabEditForm* form) {
         form->SelectTab(VocabEditForm::kTextPage);
         form->SelectTab(VocabEditForm::kTablePage);
         form->SelectTab(VocabEditForm::kTextPage);
         form->SelectTab(VocabEditForm::kEntriesPage);
         EXPECT_EQ(form->CurrentPage(), VocabEditForm::kEntriesPage);
       }},
      {"F7",
       [&](VocabEditForm* form) {
         Trigger(form, "MenuCheckSpelling");
         ASSERT_NE(form->SpellingDlg(), nullptr);
         form->SpellingDlg()->close();
       }},
  };
  for (const auto& [what, look] : cases) {
    VocabEditForm* form = Open(MakeLessonFile("looked.tav", entries));
    ASSERT_NE(form, nullptr);
    look(form);
    ExpectNothingUnsaved(form, what);
  }
  // A new lesson nobody typed into, on every page.
  VocabEditForm* fresh = Main().NewChild();
  for (int page : {1, 2, 3, 0}) fresh->SelectTab(page);
  ExpectNothingUnsaved(fresh, "a new lesson");
}

TEST_F(UnsavedChangesTest, AFullLessonLeavesItsTextPageUnmarkedAtOnce) {
  auto lesson = MakeLesson("English", "Deutsch", {});
  for (int i = 0; i < TMeanCollection::kMaxEntries; ++i)
    lesson->Meanings->Insert(MakeEntry(1, {"w" + std::to_string(i)}, {"t" + std::to_string(i)}));
  const std::string path = File("full.tav");
  SaveBinary(*lesson, path);
  VocabEditForm* form = Open(path);
  ASSERT_NE(form, nullptr);
  form->SelectTab(VocabEditForm::kTextPage);
  // Left while the page still fills: nothing to read back, nothing to wait for.
  form->SelectTab(VocabEditForm::kHeaderPage);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kHeaderPage);
  EXPECT_FALSE(form->TextFilling());
  EXPECT_EQ(form->History().Count(), 0u);
  ExpectNothingUnsaved(form, "the full lesson's Text page");
}

TEST_F(UnsavedChangesTest, EditsMarkTheLessonUntilTheyAreTakenBack) {
  VocabEditForm* form = Open(MakeLessonFile("edited.tav", {MakeEntry(1, {"house"}, {"Haus"})}));
  form->SelectTab(VocabEditForm::kEntriesPage);
  // Typed and typed back: no difference, no mark, nothing to store.
  form->MemoSynonyms->setPlainText("home");
  EXPECT_TRUE(form->HasUnsavedChanges());
  form->MemoSynonyms->setPlainText("house");
  EXPECT_FALSE(form->HasUnsavedChanges());
  // Stored, then undone to the state of the file.
  form->MemoSynonyms->setPlainText("home");
  form->StoreControls();
  EXPECT_TRUE(form->HasUnsavedChanges());
  form->UndoClick();
  EXPECT_FALSE(form->HasUnsavedChanges());
  // On the Text page, typing counts; undoing it again does not.
  form->SelectTab(VocabEditForm::kTextPage);
  form->MemoText->moveCursor(QTextCursor::End);
  form->MemoText->insertPlainText("\nnew - neu");
  EXPECT_TRUE(form->HasUnsavedChanges());
  form->MemoText->undo();
  EXPECT_FALSE(form->HasUnsavedChanges());
  ExpectNothingUnsaved(form, "edits taken back");
}

// A host that records what the window asks of it.
class RecordingHost : public ui::TWindowHost {
 public:
  explicit RecordingHost(ui::Platform platform) : platform_(platform) {}
  ui::Platform& Services() override { return platform_; }
  void SetStatus(int state, const QString&) override { status = state; }
  int StatusState() const override { return status; }
  QProgressBar* ProgressBar() const override { return progress.get(); }
  void ShowNote(const QString& note) override { notes << note; }
  void WarnRejectedCharacters(QWidget*, const QString& rejected) override { this->rejected << rejected; }
  void WarnUncarriedWords(QWidget*, const std::vector<std::string>&) override {}
  void WarnTransfer(QWidget*, const std::string&, const TransferReport&) override {}
  void InformLater(QWidget*, ui::MessageKind, const QString& text) override { informed << text; }
  bool IsReadOnly(QWidget*, const std::string&) override { return false; }
  void FileUsed(const std::string& fileName) override { used.push_back(fileName); }
  void FillRecentFiles(QMenu*, QAction*) override {}
  void WorkSaved(const ui::TChildForm*) override { ++saved; }
  bool ChoosePrinter(QWidget*, QPrinter&, const std::string&) override { return false; }
  void PrintText(QWidget*, const QTextDocument&, QPrinter&) override {}
  void RunFrameCommand(ui::TFrameCommand command) override { commands.push_back(command); }
  void AddLanguageItems(QMenu*, QActionGroup*) override {}
  ui::TFindDlg* FindDlg() const override { return nullptr; }
  QString NewChildName(const QString& base) const override { return base; }
  void ChildActivated() override {}
  void ChildClosing(ui::TChildForm*) override { ++closing; }

  int status = ui::kStatusIdle;
  std::unique_ptr<QProgressBar> progress = std::make_unique<QProgressBar>();
  QStringList notes;
  QStringList rejected;
  QStringList informed;
  std::vector<std::string> used;
  int saved = 0;
  std::vector<ui::TFrameCommand> commands;
  int closing = 0;

 private:
  ui::Platform platform_;
};

TEST_F(UnsavedChangesTest, ALessonWindowLivesOnAHostOfItsOwn) {
  RecordingHost host(platform_.Get());
  const std::string path = MakeLessonFile("hosted.tav", {MakeEntry(1, {"house"}, {"Haus"})});
  QPointer<VocabEditForm> form = new VocabEditForm(
      host, std::make_unique<TLessonDocument>(TLessonDocument::ReadLessonFile(path), TLessonDocument::Origin::kFile,
                                              path));
  EXPECT_EQ(form->windowTitle(), "hosted.tav");
  EXPECT_EQ(form->EditLanguage1->text(), "English");
  EXPECT_FALSE(form->HasUnsavedChanges());
  // The frame's commands go to the host.
  Trigger(form, "MenuNew");
  Trigger(form, "MenuSubstitute");
  EXPECT_EQ(host.commands, (std::vector<ui::TFrameCommand>{ui::TFrameCommand::New, ui::TFrameCommand::Substitute}));
  // Characters a lesson cannot hold are named by the host; the edit marks the lesson.
  form->EditTitle->setText(QString::fromUtf8("\u0141\u00F3d\u017A"));
  EXPECT_TRUE(form->HasUnsavedChanges());
  form->StoreControls();
  EXPECT_EQ(host.rejected, QStringList{QString::fromUtf8("\u0141\u017A")});
  EXPECT_EQ(form->Lesson().Title, "?\xF3" "d?");
  // Saved: the host learns of the file and forgets the recovery.
  EXPECT_TRUE(form->MenuSaveClick());
  EXPECT_EQ(host.used, std::vector<std::string>{path});
  EXPECT_EQ(host.saved, 1);
  EXPECT_EQ(TMeanCollection::CreateFromFile(path)->Title, "?\xF3" "d?");
  form->close();
  Settle();
  EXPECT_TRUE(form.isNull());
  EXPECT_EQ(host.closing, 1);
  EXPECT_EQ(host.saved, 2);
}

}  // namespace
}  // namespace vocatrix::test
