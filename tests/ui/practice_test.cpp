// SPDX-License-Identifier: GPL-3.0-or-later
// The practice window: rounds in each way of answering scored as the
// exercise model scores them, a missed question coming back and listed in
// the summary, scores lasting for the next round, and the lesson, its file
// and its history left alone.

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <map>

#include "base/random.h"
#include "document/lessoncommands.h"
#include "operations/entrytable.h"
#include "ui/about/soundevents.h"
#include "ui/common/qtstrings.h"
#include "ui/practice/practiceform.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::PracticeForm;
using ui::ToQString;

class PracticeTest : public UiTest {
 protected:
  void SetUp() override {
    UiTest::SetUp();
    saved_ = ui::SoundEvents();
    ui::SoundEvents().SoundOn = true;
    ui::SoundEvents().SoundFiles = {};
    for (int e : {ui::seYes, ui::seNo, ui::seApplause})
      ui::SoundEvents().SoundFiles[static_cast<std::size_t>(e)] = ui::TSoundEvents::kKeys[static_cast<std::size_t>(e)];
    path_ = MakeLessonFile("animals.tav", {MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"cat"}, {"Katze"}),
                                           MakeEntry(1, {"dog"}, {"Hund"}), MakeEntry(1, {"tree"}, {"Baum"})});
    form_ = Open(path_);
    ASSERT_NE(form_, nullptr);
    form_->MenuPractiseClick();
    practice_ = form_->Practice();
    ASSERT_NE(practice_, nullptr);
    practice_->FinishWork();
  }
  void TearDown() override {
    ui::SoundEvents() = saved_;
    UiTest::TearDown();
  }

  void StartRound(QRadioButton* way, std::uint64_t seed) {
    way->setChecked(true);
    practice_->FinishWork();
    SeedRandom(seed);
    QTest::mouseClick(practice_->ButtonStart, Qt::LeftButton);
    practice_->FinishWork();
    ASSERT_NE(practice_->Round(), nullptr);
  }

  // Answers the current question with the keys of its way, right or wrong.
  void Answer(bool right) {
    const TProblem& p = *practice_->Round()->Current();
    switch (practice_->Round()->Way()) {
      case TAnswerWay::kChoose:
        for (int i = 0; i < p.Alternatives.Count(); ++i) {
          if ((p.Alternatives.At(i) == p.Solution) != right) continue;
          QTest::keyClick(practice_, static_cast<Qt::Key>(Qt::Key_1 + i));
          return;
        }
        ADD_FAILURE() << "no alternative to choose";
        return;
      case TAnswerWay::kType:
        practice_->EditAnswer->setText(right ? ToQString(p.Solution->Text()) : "zzz");
        QTest::keyClick(practice_->EditAnswer, Qt::Key_Return);
        return;
      case TAnswerWay::kCards:
        QTest::keyClick(practice_, Qt::Key_Space);
        QTest::mouseClick(right ? practice_->ButtonKnew : practice_->ButtonDidNotKnow, Qt::LeftButton);
        return;
    }
  }

  int Played(int event) const {
    int n = 0;
    for (const auto& [path, flags] : platform_.Sound.Played)
      n += path.endsWith(ui::TSoundEvents::kKeys[static_cast<std::size_t>(event)]);
    return n;
  }

  PWord LessonWord(const std::string& text) const {
    const TMeanCollection& lesson = form_->Lesson();
    for (int i = 0; i < lesson.EntryCount(); ++i)
      for (int kind = 0; kind < 4; ++kind)
        for (const PWord& w : lesson.At(i)->ListOfKind(kind))
          if (w->Text() == text) return w;
    return nullptr;
  }

  ui::TSoundEvents saved_;
  std::string path_;
  ui::VocabEditForm* form_ = nullptr;
  PracticeForm* practice_ = nullptr;
};

TEST_F(PracticeTest, ARoundInEachWayScoresAsTheModelAndLeavesTheLessonItsFileAndItsHistoryAlone) {
  EXPECT_EQ(practice_->LabelDirectionCount[0]->text(), "4");
  EXPECT_EQ(practice_->LabelDirectionCount[1]->text(), "4");
  EXPECT_EQ(practice_->LabelDirectionCount[2]->text(), "0") << "no synonyms, no antonyms";
  practice_->CheckDirection[1]->setChecked(true);
  practice_->FinishWork();
  EXPECT_EQ(practice_->LabelProblems->text(), "8 questions");
  practice_->CheckDirection[1]->setChecked(false);
  const std::string before = ReadFile(path_);
  for (QRadioButton* PracticeForm::*way : {&PracticeForm::RadioChoose, &PracticeForm::RadioType,
                                           &PracticeForm::RadioCards}) {
    platform_.Sound.Played.clear();
    // Each round starts from the scores the window keeps: a window of its own.
    delete practice_;
    form_->MenuPractiseClick();
    practice_ = form_->Practice();
    SCOPED_TRACE((practice_->*way)->objectName().toStdString());
    StartRound(practice_->*way, 11);
    const auto mode = static_cast<std::uint8_t>(practice_->Round()->Way());
    std::map<std::string, int> expected;
    const TProblem* missed = nullptr;
    for (int asked = 0; asked < 10 && !practice_->Round()->Done(); ++asked) {
      const TProblem& p = *practice_->Round()->Current();
      const bool right = missed || asked > 0;
      if (!right) missed = &p;
      EXPECT_EQ(practice_->CurrentPage(), static_cast<int>(mode == 3 ? PracticeForm::kChoosePage
                                                           : mode == 2 ? PracticeForm::kTypePage
                                                                       : PracticeForm::kCardsPage));
      EXPECT_EQ(practice_->LabelQuestion->text(), ToQString(p.Question->Text()));
      expected[p.Question->Text()] += p.Value(mode, right);
      Answer(right);
    }
    ASSERT_TRUE(practice_->Round()->Done());
    for (const auto& [text, score] : expected)
      EXPECT_EQ(practice_->Scores().Of(LessonWord(text))[kTranslationProblem], std::clamp(score, -128, 127)) << text;
    EXPECT_EQ(practice_->CurrentPage(), PracticeForm::kSummaryPage);
    EXPECT_EQ(practice_->LabelSummary->text(), "Right first time: 3\nRight after a retry: 1\nMissed: 0");
    EXPECT_EQ(Played(ui::seYes), 4);
    EXPECT_EQ(Played(ui::seNo), 1);
    EXPECT_EQ(Played(ui::seApplause), 1);
  }
  // Never the lesson's own words, nor a change, nor the file.
  for (const char* text : {"house", "cat", "dog", "tree", "Haus", "Katze"})
    EXPECT_EQ(LessonWord(text)->Knowledge, (std::array<std::int8_t, 4>{})) << text;
  EXPECT_FALSE(form_->Document().Modified());
  EXPECT_FALSE(form_->History().CanUndo());
  EXPECT_EQ(ReadFile(path_), before);
}

TEST_F(PracticeTest, AMissedQuestionComesBackIsListedShowsItsEntryAndIsAskedFirstInTheNextRound) {
  StartRound(practice_->RadioType, 4);
  const std::string first = practice_->Round()->Current()->Question->Text();
  const std::string solution = practice_->Round()->Current()->Solution->Text();
  // Near the solution: asked about once, not counted.
  practice_->EditAnswer->setText(ToQString(solution + "e"));
  QTest::keyClick(practice_->EditAnswer, Qt::Key_Return);
  EXPECT_EQ(practice_->LabelFeedback->text(), "Did you mean " + ToQString(solution) + "?");
  EXPECT_EQ(practice_->LabelQuestion->text(), ToQString(first));
  EXPECT_TRUE(practice_->Scores().Empty());
  QTest::keyClick(practice_->EditAnswer, Qt::Key_Return);
  EXPECT_EQ(practice_->LabelFeedback->text(),
            "Wrong: " + ToQString(first) + " is " + ToQString(solution) + ".");
  std::vector<std::string> order;
  while (!practice_->Round()->Done() && order.size() < 10) {
    const std::string asked = practice_->Round()->Current()->Question->Text();
    order.push_back(asked);
    if (asked == first) {
      EXPECT_TRUE(practice_->LabelTask->text().endsWith("- again"));
    }
    Answer(asked != first);
  }
  // Back after one other each time, then missed.
  ASSERT_EQ(order.size(), 5u);
  EXPECT_NE(order[0], first);
  EXPECT_EQ(order[1], first);
  EXPECT_EQ(order[3], first);
  EXPECT_EQ(practice_->LabelSummary->text(), "Right first time: 3\nRight after a retry: 0\nMissed: 1");
  ASSERT_EQ(practice_->ListMissed->count(), 1);
  EXPECT_TRUE(practice_->ListMissed->item(0)->text().startsWith(ToQString(first)));
  int missedEntry = 0;
  while (form_->Lesson().At(missedEntry)->HeadWord(0)->Text() != first) ++missedEntry;
  form_->Document().SetEntry((missedEntry + 1) % 4);
  practice_->ShowMissed(0);
  EXPECT_EQ(form_->Lesson().At(form_->EntryIndex())->HeadWord(0)->Text(), first);

  // The scores last: the missed word (-1 -2 -3) is asked first now.
  StartRound(practice_->RadioChoose, 4);
  EXPECT_EQ(practice_->Round()->Current()->Question->Text(), first);
  EXPECT_EQ(practice_->Round()->Current()->Level, -6);
  EXPECT_FALSE(form_->Document().Modified());
}

TEST_F(PracticeTest, TheRoundKeepsItsWordsThroughEditsASelectionCanBeCancelledAndTheWindowFollowsItsLesson) {
  StartRound(practice_->RadioType, 2);
  const std::string question = practice_->Round()->Current()->Question->Text();
  // The whole lesson but one entry goes, and the last one changes.
  DeleteEntries(form_->Document(), {0, 1, 2});
  EditCell(form_->Document(), 0, 0, "changed");
  Settle();
  EXPECT_EQ(practice_->Round()->Current()->Question->Text(), question);
  int answered = 0;
  while (!practice_->Round()->Done() && answered++ < 10) Answer(true);
  EXPECT_EQ(practice_->Round()->RightFirstTime(), 4);
  // The counts follow the lesson as it is now.
  practice_->FinishWork();
  QTest::qWait(400);
  practice_->FinishWork();
  EXPECT_EQ(practice_->LabelDirectionCount[0]->text(), "1");
  // And without a round: an entry without translations asks nothing.
  EditCell(form_->Document(), 0, kColumnTranslations, "");
  QTest::qWait(400);
  practice_->FinishWork();
  EXPECT_EQ(practice_->LabelDirectionCount[0]->text(), "0");

  // Cancelled before the selection is shown: no round, the choices back.
  practice_->Start();
  EXPECT_TRUE(practice_->Selecting());
  EXPECT_FALSE(practice_->GroupDirections->isEnabled());
  practice_->CancelSelection();
  practice_->FinishWork();
  Settle();
  EXPECT_FALSE(practice_->Selecting());
  EXPECT_EQ(practice_->Round(), nullptr);
  EXPECT_TRUE(practice_->GroupDirections->isEnabled());

  QPointer<PracticeForm> window(practice_);
  Discard(form_);
  form_->close();
  Settle();
  EXPECT_TRUE(window.isNull());
}

}  // namespace
}  // namespace vocatrix::test
