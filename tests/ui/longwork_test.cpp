// SPDX-License-Identifier: GPL-3.0-or-later
// Long work off the interface thread: the input held meanwhile and its
// order, and the lesson window's long work (reading the Text page back when
// the user changes the page, sorting the lesson, opening a large file) giving
// what the same work on the interface thread gives.

#include <QLineEdit>
#include <QTabBar>
#include <QTest>
#include <chrono>
#include <thread>

#include "document/lessoncommands.h"
#include "operations/entrytable.h"
#include "textpage_fixture.h"
#include "ui/common/backgroundwork.h"

namespace vocatrix::test {
namespace {

using ui::VocabEditForm;

class LongWorkTest : public TextPageTest {
 protected:
  // A lesson of more entries than the window works on at once, its words
  // in an order no column sorts them by.
  std::string LongLessonFile(int entries) {
    std::vector<MeaningPtr> list;
    for (int i = 0; i < entries; ++i) {
      const std::string n = std::to_string((i * 7919) % entries);
      list.push_back(MakeEntry(static_cast<std::uint8_t>(i % 5), {"word" + n + " with a longer text"},
                               {"Wort" + n + " mit einem langen Text"}, {"anti" + n}));
    }
    return MakeLessonFile("long.tav", list);
  }

  static void WaitUntil(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 5);
    ASSERT_TRUE(done());
  }

  static void ClickTab(VocabEditForm* form, int page) {
    QTest::mouseClick(form->TabSet, Qt::LeftButton, {}, form->TabSet->tabRect(page).center());
  }
};

TEST_F(LongWorkTest, InputMeanwhileFollowsTheStepsInOrderAndCancelledWorkTakesNoStep) {
  QLineEdit edit;
  edit.show();
  edit.setFocus();
  for (const bool cancel : {false, true}) {
    SCOPED_TRACE(cancel);
    edit.clear();
    ui::TBackgroundWork work(nullptr);
    std::vector<QString> seenBySteps;
    work.Start([](ui::TWorkProgress&) { std::this_thread::sleep_for(std::chrono::milliseconds(100)); },
               {[&] { seenBySteps.push_back(edit.text()); }, [&] { seenBySteps.push_back(edit.text()); }});
    EXPECT_TRUE(ui::TInputHold::Active());
    QTest::keyClicks(&edit, "ab");
    EXPECT_EQ(edit.text(), "");
    if (cancel) work.Cancel();
    else WaitUntil([&] { return !work.Running(); });
    EXPECT_FALSE(ui::TInputHold::Active());
    // The steps ran first, each on its own; the keys followed, in order.
    const std::vector<QString> expected = cancel ? std::vector<QString>{} : std::vector<QString>{"", ""};
    EXPECT_EQ(seenBySteps, expected);
    EXPECT_EQ(edit.text(), "ab");
  }
  // Finish: the job waited for and every step run at once.
  ui::TBackgroundWork work(nullptr);
  int steps = 0;
  work.Start([](ui::TWorkProgress&) {}, {[&] { ++steps; }, [&] { ++steps; }});
  work.Finish();
  EXPECT_EQ(steps, 2);
  EXPECT_FALSE(work.Running());
}

TEST_F(LongWorkTest, ReadingTheTextBackAndSortingGiveWhatTheyGiveAtOnce) {
  VocabEditForm* form = Open(LongLessonFile(4500));
  ASSERT_NE(form, nullptr);
  form->SelectTab(VocabEditForm::kTextPage);
  WaitUntil([&] { return !form->TextFilling(); });
  const std::vector<std::string> before = form->Lesson().ToLines();
  // An entry the text carries whole (form "other" writes no remark).
  const TMeaning* untouched = form->Lesson().At(9).get();

  // A format error: the page stays, the line selected.
  QTextCursor cursor = form->MemoText->document()->find("Wort0 mit einem langen Text");
  ASSERT_FALSE(cursor.isNull());
  cursor.select(QTextCursor::LineUnderCursor);
  cursor.insertText("broken");
  ClickTab(form, VocabEditForm::kHeaderPage);
  EXPECT_EQ(Main().StatusState(), ui::kStatusCompiling);
  WaitUntil([&] { return Main().StatusState() != ui::kStatusCompiling; });
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  EXPECT_EQ(Main().StatusState(), ui::kStatusError);
  EXPECT_EQ(Selected(form), "broken");

  // Mended: the page changes once the lesson has the text, in one step.
  cursor = form->MemoText->textCursor();
  cursor.insertText("word0 with a longer text\t - \tHaus0");
  ClickTab(form, VocabEditForm::kHeaderPage);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  WaitUntil([&] { return form->CurrentPage() == VocabEditForm::kHeaderPage; });
  EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
  EXPECT_GE(form->Lesson().IndexOf("Haus0"), 0);
  EXPECT_EQ(form->Lesson().At(9).get(), untouched);
  EXPECT_TRUE(form->Document().Modified());
  ASSERT_TRUE(form->Document().Undo());
  EXPECT_EQ(form->Lesson().ToLines(), before);
  EXPECT_FALSE(form->Document().Modified());

  // Sorting: the order the interface thread gives, one step.
  TLessonDocument reference(TLessonDocument::ReadLessonFile(File("long.tav")), TLessonDocument::Origin::kFile);
  SortLesson(reference, kColumnTranslations, false);
  form->SelectTab(VocabEditForm::kTablePage);
  const unsigned long revision = form->Document().Revision();
  const std::size_t steps = form->Document().History().Position();
  form->TableSortLessonClick(kColumnTranslations);
  WaitUntil([&] { return form->Document().Revision() != revision; });
  EXPECT_EQ(form->Lesson().ToLines(), reference.Lesson().ToLines());
  EXPECT_EQ(form->Document().History().Position(), steps + 1);
  Discard(form);
}

TEST_F(LongWorkTest, ALargeFileOpensOnceReadAndADamagedOneSaysSo) {
  const std::string path = LongLessonFile(12000);
  ASSERT_GT(std::filesystem::file_size(path), 256u * 1024);
  std::optional<bool> opened;
  Main().OpenFileLater(path, [&](bool done) { opened = done; });
  EXPECT_EQ(Main().LessonWindows().size(), 0);
  WaitUntil([&] { return opened.has_value(); });
  EXPECT_TRUE(*opened);
  ASSERT_EQ(Main().LessonWindows().size(), 1);
  EXPECT_EQ(Main().ActiveEditForm()->Lesson().EntryCount(), 12000);
  EXPECT_FALSE(Main().ActiveEditForm()->Document().Modified());

  std::string data = ReadFile(path);
  data.resize(data.size() / 2);
  const std::string damaged = File("damaged.tav");
  WriteFile(damaged, data);
  opened.reset();
  Main().OpenFileLater(damaged, [&](bool done) { opened = done; });
  WaitUntil([&] { return opened.has_value(); });
  EXPECT_FALSE(*opened);
  EXPECT_EQ(Main().LessonWindows().size(), 1);
  ASSERT_FALSE(platform_.Dialogs.Messages.empty());
  EXPECT_TRUE(platform_.Dialogs.Messages.back().Text.contains("damaged.tav"));
}

}  // namespace
}  // namespace vocatrix::test
