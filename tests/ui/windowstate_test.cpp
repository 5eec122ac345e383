// SPDX-License-Identifier: GPL-3.0-or-later
// Telling windows and their states apart: the mark of unsaved changes, the
// names of windows without a file, questions over their own window, notes
// in the status bar that go with the next action, and the full lesson.

#include <QEventLoop>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include "components/compostatusbar.h"
#include "ui/common/qtstrings.h"
#include "ui/dialogs/finddlg.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/textwindow/editform.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageAnswer;
using ui::VocabEditForm;

class WindowStateTest : public UiTest {
 protected:
  QStringList WindowMenuList() {
    Main().UpdateWindowMenu();
    QStringList listed;
    bool list = false;
    for (QAction* item : Child<QMenu>(&Main(), "MenuWindows")->actions()) {
      if (item->isSeparator()) list = true;
      else if (list) listed << item->text();
    }
    return listed;
  }

  QString Note() { return Main().StatusBar()->PanelText(1); }

  // A find that fails and says so in the status bar.
  void NoteNotFound(VocabEditForm* form) {
    Main().FindDlg()->EditFind->setText("xyzzy");
    ASSERT_FALSE(form->FindNext(false));
    ASSERT_EQ(Note(), "'xyzzy' not found.");
  }
};

TEST_F(WindowStateTest, UnsavedWindowsAreMarkedAndWindowsWithoutAFileAreNumbered) {
  WriteSettings("[Config]\nLanguage=English\n");
  VocabEditForm* first = Main().NewChild();
  VocabEditForm* second = Main().NewChild();
  VocabEditForm* third = Main().NewChild();
  // A new lesson nobody typed into has nothing to save; typing marks it.
  WaitForInput();
  EXPECT_EQ(first->windowTitle(), "New Lesson");
  for (VocabEditForm* form : {first, second, third}) form->EditTitle->setText("Title");
  WaitForInput();
  EXPECT_EQ(first->windowTitle(), "*New Lesson");
  EXPECT_EQ(second->Caption(), "New Lesson 2");
  EXPECT_EQ(third->Caption(), "New Lesson 3");
  // A closed window's number names the next new one; the question names
  // the window without its mark.
  platform_.Dialogs.MessageAnswers = {MessageAnswer::No};
  second->close();
  Settle();
  EXPECT_EQ(platform_.Dialogs.Messages.back().Text, "Do you want to save 'New Lesson 2'?");
  VocabEditForm* fourth = Main().NewChild();
  EXPECT_EQ(fourth->Caption(), "New Lesson 2");
  WaitForInput();
  EXPECT_EQ(WindowMenuList(), (QStringList{"&1 *New Lesson", "&2 *New Lesson 3", "&3 New Lesson 2"}));
  for (VocabEditForm* form : {first, third, fourth}) Discard(form);

  // A lesson as its file holds it: no mark, Save disabled.
  VocabEditForm* opened = Open(MakeLessonFile("a.tav", {MakeEntry(0, {"house"}, {"Haus"})}));
  WaitForInput();
  EXPECT_EQ(opened->windowTitle(), "a.tav");
  EXPECT_FALSE(Button("SaveBtn")->isEnabled());
  // Typing, not yet stored in the lesson, already counts.
  opened->SelectTab(VocabEditForm::kEntriesPage);
  Discard(opened);
  opened->MemoSynonyms->setPlainText("home");
  WaitForInput();
  EXPECT_EQ(opened->windowTitle(), "*a.tav");
  EXPECT_EQ(WindowMenuList().last(), "&4 *a.tav");
  EXPECT_TRUE(Button("SaveBtn")->isEnabled());
  // The active window decides the button.
  Main().ClientArea()->setActiveSubWindow(third);
  WaitForInput();
  EXPECT_FALSE(Button("SaveBtn")->isEnabled());
  // Saving removes the mark.
  Main().ClientArea()->setActiveSubWindow(opened);
  EXPECT_TRUE(opened->MenuSaveClick());
  WaitForInput();
  EXPECT_EQ(opened->windowTitle(), "a.tav");
  EXPECT_FALSE(Button("SaveBtn")->isEnabled());

  // Text windows are numbered apart from lessons and marked the same way.
  ui::TEditForm* text = Main().NewTextWindow();
  ui::TEditForm* text2 = Main().NewTextWindow();
  text2->Memo1->insertPlainText("notes");
  WaitForInput();
  EXPECT_EQ(text->windowTitle(), "Untitled");
  EXPECT_EQ(text2->windowTitle(), "*Untitled 2");
  platform_.Dialogs.MessageAnswers = {MessageAnswer::No};
  text2->close();
  EXPECT_EQ(platform_.Dialogs.Messages.back().Text, "Save Changes to 'Untitled 2'?");
}

TEST_F(WindowStateTest, EachCloseQuestionComesOverItsOwnWindow) {
  ActivateMain();
  VocabEditForm* behind = Main().NewChild();
  VocabEditForm* front = Main().NewChild();
  for (VocabEditForm* form : {behind, front}) form->EditTitle->setText("edited");
  behind->showMinimized();
  Main().ClientArea()->setActiveSubWindow(front);
  std::vector<std::pair<QString, QString>> asked;  // the question, the active window then
  platform_.Dialogs.WhileShown = [&](const QString& text) {
    QMdiSubWindow* active = Main().ClientArea()->activeSubWindow();
    asked.emplace_back(text, active ? active->windowTitle() : QString());
    EXPECT_FALSE(active && active->isMinimized());
  };
  platform_.Dialogs.MessageAnswers = {MessageAnswer::No, MessageAnswer::No};
  Main().CloseAllLessons();
  Settle();
  ASSERT_EQ(asked.size(), 2u);
  for (const auto& [question, active] : asked) {
    EXPECT_TRUE(question.contains("'" + active + "'")) << question.toStdString() << " over " << active.toStdString();
  }
  EXPECT_NE(asked[0].second, asked[1].second);
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
}

TEST_F(WindowStateTest, NotesGoWithTheNextActionAnotherWindowOrTheirWindowClosing) {
  ActivateMain();
  VocabEditForm* form = Open(MakeLessonFile("a.tav", {MakeEntry(0, {"house"}, {"Haus"})}));
  VocabEditForm* other = Open(MakeLessonFile("b.tav", {MakeEntry(0, {"tree"}, {"Baum"})}));
  Main().ClientArea()->setActiveSubWindow(form);
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->MemoSynonyms->setFocus();

  NoteNotFound(form);
  QTest::keyClick(form->MemoSynonyms, Qt::Key_Shift);  // a modifier alone starts nothing
  EXPECT_EQ(Note(), "'xyzzy' not found.");
  QTest::keyClick(form->MemoSynonyms, Qt::Key_End);
  EXPECT_EQ(Note(), "");

  NoteNotFound(form);
  QTest::mouseClick(form->MemoTranslations->viewport(), Qt::LeftButton);
  EXPECT_EQ(Note(), "");

  NoteNotFound(form);
  Main().ClientArea()->setActiveSubWindow(other);
  EXPECT_EQ(Note(), "");

  Main().ClientArea()->setActiveSubWindow(form);
  NoteNotFound(form);
  form->close();
  Settle();
  EXPECT_EQ(Note(), "");

  // An error of the Text page stays until it is mended.
  other->SelectTab(VocabEditForm::kTextPage);
  other->MemoText->setPlainText("no separator here");
  other->SelectTab(VocabEditForm::kHeaderPage);
  ASSERT_EQ(Main().StatusState(), ui::kStatusError);
  const QString error = Note();
  QTest::keyClick(other->MemoText, Qt::Key_End);
  EXPECT_EQ(Main().StatusState(), ui::kStatusError);
  EXPECT_EQ(Note(), error);
  other->MemoText->setPlainText("");
}

TEST_F(WindowStateTest, AFullLessonSaysWhyNoEntryIsAdded) {
  WriteSettings("[Config]\nLanguage=English\n");
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < TMeanCollection::kMaxEntries; ++i) entries.push_back(MakeEntry(0, {"w" + std::to_string(i)}));
  VocabEditForm* form = Open(MakeLessonFile("full.tav", entries));
  ASSERT_NE(form, nullptr);
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->EditEntryNr->setText(QString::number(TMeanCollection::kMaxEntries));
  EXPECT_EQ(form->LabelEntryCount->text(), "of 65535");
  const QString full = "The lesson holds 65535 entries, the most a lesson file can hold: no entry is added.";
  const std::vector<std::pair<const char*, std::function<void()>>> commands = {
      {"Insert", [&] { form->ButtonInsertClick(); }},
      {"F3", [&] { form->FormKeyDown(Qt::Key_F3, Qt::NoModifier); }},
      {"Alt+PgDn", [&] { form->FormKeyDown(Qt::Key_PageDown, Qt::AltModifier); }},
      {"scroll arrow", [&] { form->ScrollBarScroll(ui::ScrollCode::LineDown, form->ScrollBar->value()); }}};
  for (const auto& [name, command] : commands) {
    SCOPED_TRACE(name);
    Main().SetStatus(ui::kStatusIdle);
    command();
    EXPECT_EQ(Note(), full);
    EXPECT_EQ(form->Lesson().EntryCount(), TMeanCollection::kMaxEntries);
    EXPECT_EQ(form->EntryIndex(), TMeanCollection::kMaxEntries - 1);
  }
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test
