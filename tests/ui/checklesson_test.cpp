// SPDX-License-Identifier: GPL-3.0-or-later
// Extras > Check Lesson: the findings of the games' selection listed, the
// directions' counts on top, and a click showing the entry.

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QTreeView>

#include "ui/lessoncheck/checklessondlg.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::VocabEditForm;

class CheckLessonTest : public UiTest {
 protected:
  ui::TCheckLessonDlg* CheckLesson(VocabEditForm* form) {
    Child<QAction>(form, "MenuCheckLesson")->trigger();
    ui::TCheckLessonDlg* dialog = form->CheckLessonDlg();
    if (dialog) dialog->Finish();
    return dialog;
  }
  static std::vector<std::string> Rows(const ui::TCheckLessonDlg* dialog) {
    std::vector<std::string> rows;
    const QAbstractItemModel* model = dialog->ListFindings->model();
    for (int row = 0; row < model->rowCount(); ++row) {
      QStringList cells;
      for (int column = 0; column < model->columnCount(); ++column) cells << model->index(row, column).data().toString();
      rows.push_back(cells.join('|').toStdString());
    }
    return rows;
  }
};

TEST_F(CheckLessonTest, ListsWhatTheGamesMakeOfTheLessonAndAClickShowsTheEntry) {
  VocabEditForm* form = Open(MakeLessonFile("lesson.tav", {MakeEntry(1, {"house", "home"}, {"Haus"}),
                                                           MakeEntry(1, {"tree"}), MakeEntry(2, {"bank"}, {"Haus"})}));
  ASSERT_NE(form, nullptr);
  // The item follows Check Spelling in the Extras menu.
  const QList<QAction*> extras = Child<QMenu>(form, "MenuExtras")->actions();
  const auto at = [&](const char* name) {
    for (int i = 0; i < extras.size(); ++i)
      if (extras[i]->objectName() == name) return i;
    return -1;
  };
  EXPECT_EQ(at("MenuCheckLesson"), at("MenuCheckSpelling") + 1);

  ui::TCheckLessonDlg* dialog = CheckLesson(form);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  ASSERT_TRUE(dialog->Done());
  EXPECT_EQ(dialog->CheckDirections[0]->text(), "translations English to Deutsch: 2 problems");
  EXPECT_EQ(dialog->CheckDirections[3]->text(), "synonyms and antonyms in Deutsch: 0 problems");
  // Few alternatives: the lesson has two nouns and an adjective.
  const std::string few = "of 4 alternatives of its form ";
  EXPECT_EQ(Rows(dialog),
            (std::vector<std::string>{
                "1|translations English to Deutsch|\"house\" gets 0 " + few + "\"s.\": the form has too few words",
                "1|translations English to Deutsch|\"Haus\" is the answer of questions of entry 3 too: a learner "
                "cannot tell them apart",
                "1|translations Deutsch to English|\"Haus\" gets 1 " + few + "\"s.\": the form has too few words",
                "1|synonyms and antonyms in English|\"house\" gets 1 " + few + "\"s.\": the form has too few words",
                "2|translations English to Deutsch|no question: no translation into Deutsch",
                "2|translations Deutsch to English|no question: no word in Deutsch",
                "2|synonyms and antonyms in English|no question: one word in English and no antonym",
                "3|translations English to Deutsch|\"bank\" gets 0 " + few + "\"adj.\": the form has too few words",
                "3|translations Deutsch to English|\"Haus\" gets 0 " + few + "\"adj.\": the form has too few words",
                "3|synonyms and antonyms in English|no question: one word in English and no antonym"}));
  EXPECT_EQ(dialog->LabelCount->text(), "Findings: 10");

  // A click shows the entry on the Entries page, from any page; the check
  // changed nothing of the lesson.
  form->SelectTab(VocabEditForm::kHeaderPage);
  const auto click = [dialog](int row) {
    const QRect rect = dialog->ListFindings->visualRect(dialog->ListFindings->model()->index(row, 2));
    QTest::mouseClick(dialog->ListFindings->viewport(), Qt::LeftButton, {}, rect.center());
  };
  click(4);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kEntriesPage);
  EXPECT_EQ(form->EntryIndex(), 1);
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), "tree");
  EXPECT_FALSE(form->Document().Modified());

  // The directions chosen, and an edit not yet stored, are what the next check looks at.
  form->MemoTranslations->setPlainText("Baum");
  dialog->CheckDirections[2]->setChecked(false);
  dialog->ButtonCheckAgain->click();
  dialog->Finish();
  EXPECT_EQ(dialog->CheckDirections[0]->text(), "translations English to Deutsch: 3 problems");
  EXPECT_EQ(dialog->CheckDirections[2]->text(), "synonyms and antonyms in English");
  const std::vector<std::string> again = Rows(dialog);
  EXPECT_EQ(again.size(), 7u);
  EXPECT_NE(std::find(again.begin(), again.end(),
                      "2|translations Deutsch to English|\"Baum\" gets 2 " + few + "\"s.\": the form has too few words"),
            again.end());
  EXPECT_EQ(std::count_if(again.begin(), again.end(),
                          [](const std::string& row) { return row.find("|synonyms and antonyms in English|") != std::string::npos; }),
            0);
  for (QCheckBox* box : dialog->CheckDirections) box->setChecked(false);
  dialog->ButtonCheckAgain->click();
  EXPECT_TRUE(Rows(dialog).empty());
  EXPECT_EQ(dialog->LabelCount->text(), "Choose a direction to check.");
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test
