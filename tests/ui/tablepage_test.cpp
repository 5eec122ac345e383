// SPDX-License-Identifier: GPL-3.0-or-later
// The Table page of the lesson window: the view's order against the
// lesson's, edits, deletions and sorting the lesson as undoable steps, and
// the Entries and Text pages showing the same lesson.

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "operations/entrytable.h"
#include "ui/common/qtfonts.h"
#include "textpage_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageAnswer;
using ui::VocabEditForm;

class TablePageTest : public TextPageTest {
 protected:
  // Four entries whose every column sorts differently.
  VocabEditForm* OpenSample() {
    VocabEditForm* form =
        Open(MakeLessonFile("table.tav", {MakeEntry(1, {"pear"}, {"Birne"}, {"plum"}, {"Pflaume"}),
                                          MakeEntry(0, {"apple", "pome"}, {"Apfel"}, {"zest"}, {"Schale"}),
                                          MakeEntry(3, {"kiwi"}, {"Kiwi"}, {"date"}, {"Dattel"}),
                                          MakeEntry(2, {"fig"}, {"Feige"}, {"lime"}, {"Limette"})}));
    ActivateMain();
    form->SelectTab(VocabEditForm::kTablePage);
    return form;
  }
  static QAbstractItemModel* Model(VocabEditForm* form) { return form->TableView->model(); }
  static QString Cell(VocabEditForm* form, int row, int column) {
    return Model(form)->index(row, column).data().toString();
  }
  // The lesson's entries by their synonyms, in the lesson's order.
  static std::string Order(const TMeanCollection& lesson) {
    std::string out;
    for (const MeaningPtr& entry : *lesson.Meanings) out += (out.empty() ? "" : " ") + entry->KindTexts(kSynonyms)[0];
    return out;
  }
  // The view's rows by their synonym cells.
  static std::string ViewOrder(VocabEditForm* form) {
    std::string out;
    for (int row = 0; row < Model(form)->rowCount(); ++row)
      out += (out.empty() ? "" : " ") + Cell(form, row, kColumnSynonyms).section(';', 0, 0).toStdString();
    return out;
  }
  static std::vector<const TMeaning*> Objects(const TMeanCollection& lesson) {
    std::vector<const TMeaning*> objects;
    for (const MeaningPtr& entry : *lesson.Meanings) objects.push_back(entry.get());
    return objects;
  }
  static void SelectRows(VocabEditForm* form, const std::vector<int>& rows) {
    QItemSelectionModel* selection = form->TableView->selectionModel();
    selection->clearSelection();
    for (int row : rows)
      selection->select(Model(form)->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  // Types into a cell's editor as a user does and ends the edit with Enter.
  static void TypeInto(VocabEditForm* form, int row, int column, const QString& text) {
    const QModelIndex cell = Model(form)->index(row, column);
    form->TableView->setCurrentIndex(cell);
    form->TableView->edit(cell);
    auto* editor = form->TableView->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    Settle();
  }
  void OfferLanguages() {
    const std::string source = VOCATRIX_SOURCE_DIR;
    WriteSettings("[Config]\nLanguage=English\n[Languages]\n1=English\n2=Deutsch\n[LanguageFiles]\nEnglish=" +
                  source + "/lang/English.ini\nDeutsch=" + source + "/lang/Deutsch.ini\n");
  }
  static QString RowCount(VocabEditForm* form) {
    const auto* label = form->findChild<QLabel*>("LabelTableCount");
    return label ? label->text() : QString();
  }
  static int RowOfSynonym(VocabEditForm* form, const QString& synonym) {
    for (int row = 0; row < Model(form)->rowCount(); ++row)
      if (Cell(form, row, kColumnSynonyms).startsWith(synonym)) return row;
    return -1;
  }
};

TEST_F(TablePageTest, TheViewSortsWithoutTheLessonAndSortingTheLessonIsOneUndoableStep) {
  VocabEditForm* form = OpenSample();
  ASSERT_EQ(form->CurrentPage(), VocabEditForm::kTablePage);
  const TMeanCollection& lesson = form->Lesson();
  const std::vector<const TMeaning*> objects = Objects(lesson);
  EXPECT_EQ(ViewOrder(form), "pear apple kiwi fig");
  EXPECT_EQ(Cell(form, 1, kColumnSynonyms), "apple; pome");
  EXPECT_EQ(Cell(form, 3, kColumnNumber), "4");
  struct Case {
    int column;
    Qt::SortOrder order;
    const char* sorted;
  };
  const Case cases[] = {
      {kColumnSynonyms, Qt::AscendingOrder, "apple fig kiwi pear"},
      {kColumnTranslations, Qt::AscendingOrder, "apple pear fig kiwi"},
      {kColumnAntonyms, Qt::DescendingOrder, "apple pear fig kiwi"},
      {kColumnAntonymTranslations, Qt::AscendingOrder, "kiwi fig pear apple"},
      {kColumnForm, Qt::AscendingOrder, "apple pear fig kiwi"},
      {kColumnNumber, Qt::DescendingOrder, "fig kiwi apple pear"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.column);
    form->TableView->sortByColumn(c.column, c.order);
    EXPECT_EQ(ViewOrder(form), c.sorted);
    EXPECT_EQ(Order(lesson), "pear apple kiwi fig");
    EXPECT_FALSE(form->HasUnsavedChanges());
    EXPECT_EQ(form->History().Count(), 0u);
  }
  // The numbers stay the lesson's in a sorted view.
  EXPECT_EQ(Cell(form, 0, kColumnNumber), "4");

  // The lesson takes the view's order of a column, in the view's direction.
  for (const Case& c : cases) {
    if (c.column == kColumnNumber) continue;
    SCOPED_TRACE(c.column);
    form->TableView->sortByColumn(c.column, c.order);
    const std::size_t steps = form->History().Position();
    form->TableSortLessonClick(c.column);
    EXPECT_EQ(Order(lesson), c.sorted);
    EXPECT_TRUE(form->HasUnsavedChanges());
    EXPECT_EQ(form->History().Position(), steps + 1);
    EXPECT_EQ(Cell(form, 0, kColumnNumber), "1");
    // Undo puts back the very entry objects in their places.
    form->UndoClick();
    EXPECT_EQ(Objects(lesson), objects);
    EXPECT_FALSE(form->HasUnsavedChanges());
    form->RedoClick();
    EXPECT_EQ(Order(lesson), c.sorted);
    form->UndoClick();
  }
  // A lesson already in the column's order is no step and no modification.
  form->TableView->sortByColumn(kColumnSynonyms, Qt::AscendingOrder);
  form->TableSortLessonClick(kColumnSynonyms);
  const std::size_t steps = form->History().Position();
  form->TableSortLessonClick(kColumnSynonyms);
  EXPECT_EQ(form->History().Position(), steps);
}

TEST_F(TablePageTest, ACellEditSetsItsListOrFormAsAStepWithUndoAndRedo) {
  VocabEditForm* form = OpenSample();
  const TMeanCollection& lesson = form->Lesson();
  struct Case {
    int column;
    QString typed;
    bool accepted;
    const char* shown;  // the cell afterwards
    bool warned;        // characters stored as "?"
  };
  const Case cases[] = {
      {kColumnSynonyms, " apple ;;pome; Apfelbaum ; ", true, "apple; pome; Apfelbaum", false},
      {kColumnTranslations, QString::fromUtf8("Apfel \u0141\u00F3d\u017A"), true, "Apfel ?\xC3\xB3" "d?", true},
      {kColumnAntonyms, "", true, "", false},
      {kColumnForm, "ADJ.", true, "adj.", false},
      {kColumnForm, "verb", false, "v.", false},
      {kColumnNumber, "7", false, "2", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    const QModelIndex cell = Model(form)->index(1, c.column);
    const QString before = cell.data().toString();
    const std::size_t steps = form->History().Position();
    const std::size_t messages = platform_.Dialogs.Messages.size();
    EXPECT_EQ(Model(form)->setData(cell, c.typed, Qt::EditRole), c.accepted);
    Settle();
    EXPECT_EQ(Model(form)->index(1, c.column).data().toString(), QString::fromUtf8(c.shown));
    EXPECT_EQ(platform_.Dialogs.Messages.size(), messages + (c.warned ? 1 : 0));
    if (!c.accepted) {
      EXPECT_FALSE(form->HasUnsavedChanges());
      EXPECT_EQ(form->History().Position(), steps);
      continue;
    }
    EXPECT_TRUE(form->HasUnsavedChanges());
    EXPECT_EQ(form->History().Position(), steps + 1);
    EXPECT_EQ(form->EntryIndex(), 1);
    form->UndoClick();
    EXPECT_EQ(Model(form)->index(1, c.column).data().toString(), before);
    EXPECT_FALSE(form->HasUnsavedChanges());
    form->RedoClick();
    EXPECT_EQ(Model(form)->index(1, c.column).data().toString(), QString::fromUtf8(c.shown));
    form->UndoClick();
  }
  EXPECT_FALSE(Model(form)->flags(Model(form)->index(0, kColumnNumber)) & Qt::ItemIsEditable);

  // Typed into the cell's editor, in a sorted view: the row moves, the entry stays current.
  form->TableView->sortByColumn(kColumnSynonyms, Qt::AscendingOrder);
  const QModelIndex kiwi = Model(form)->index(RowOfSynonym(form, "kiwi"), kColumnSynonyms);
  form->TableView->setCurrentIndex(kiwi);
  form->TableView->edit(kiwi);
  auto* editor = form->TableView->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  // In the language's font, as the cell shows it.
  EXPECT_EQ(editor->font().family(), ui::ToQFont(lesson.Language1.Font).family());
  EXPECT_EQ(editor->font().pointSizeF(), ui::ToQFont(lesson.Language1.Font).pointSizeF());
  EXPECT_NE(editor->font(), form->TableView->font());
  editor->setText("aardvark; kiwi");
  QTest::keyClick(editor, Qt::Key_Return);
  Settle();
  EXPECT_EQ(lesson.At(2)->KindTexts(kSynonyms), (std::vector<std::string>{"aardvark", "kiwi"}));
  EXPECT_EQ(ViewOrder(form), "aardvark apple fig pear");
  EXPECT_EQ(form->TableView->currentIndex().row(), 0);
  // The Entries page shows what the table stored.
  form->SelectTab(VocabEditForm::kEntriesPage);
  EXPECT_EQ(form->EntryIndex(), 2);
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), "aardvark\nkiwi");
}

TEST_F(TablePageTest, DeletingSelectedRowsIsOneStepAndKeepsOneEntry) {
  VocabEditForm* form = OpenSample();
  const TMeanCollection& lesson = form->Lesson();
  const std::vector<const TMeaning*> objects = Objects(lesson);
  form->TableView->sortByColumn(kColumnSynonyms, Qt::DescendingOrder);  // pear kiwi fig apple
  struct Case {
    std::vector<int> rows;
    MessageAnswer answer;
    const char* left;
    const char* question;
  };
  const Case cases[] = {
      {{0, 2}, MessageAnswer::Ok, "apple kiwi", "Delete 2 entries?"},
      {{1}, MessageAnswer::Ok, "pear apple fig", "Delete Entry '3: kiwi'?"},
      {{0, 1, 3}, MessageAnswer::Cancel, "pear apple kiwi fig", "Delete 3 entries?"},
      {{0, 1, 2, 3}, MessageAnswer::Ok, "", "Delete 4 entries?"},
      {{3, 1}, MessageAnswer::Ok, "pear fig", "Delete 2 entries?"},
  };
  QAction* editDelete = form->findChild<QAction*>("MenuDelete");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.question);
    SelectRows(form, c.rows);
    form->TableView->setFocus();
    platform_.Dialogs.MessageAnswers = {c.answer};
    // The key, and the last time the Edit menu's item.
    if (&c == &cases[std::size(cases) - 1]) {
      form->UpdateEditMenu();
      ASSERT_TRUE(editDelete->isEnabled());
      editDelete->trigger();
    } else {
      QTest::keyClick(form->TableView, Qt::Key_Delete);
    }
    ASSERT_FALSE(platform_.Dialogs.Messages.empty());
    EXPECT_EQ(platform_.Dialogs.Messages.back().Text, c.question);
    if (c.answer == MessageAnswer::Cancel) {
      EXPECT_EQ(Objects(lesson), objects);
      EXPECT_FALSE(form->HasUnsavedChanges());
      continue;
    }
    if (*c.left) {
      EXPECT_EQ(Order(lesson), c.left);
    } else {
      // The last entry gives way to a blank one.
      ASSERT_EQ(lesson.EntryCount(), 1);
      EXPECT_TRUE(lesson.At(0)->KindTexts(kSynonyms).empty());
    }
    EXPECT_EQ(Model(form)->rowCount(), lesson.EntryCount());
    EXPECT_TRUE(form->HasUnsavedChanges());
    EXPECT_EQ(form->History().Position(), 1u);
    form->UndoClick();
    EXPECT_EQ(Objects(lesson), objects);
    EXPECT_FALSE(form->HasUnsavedChanges());
    EXPECT_EQ(form->History().Position(), 0u);
    form->RedoClick();
    EXPECT_EQ(Model(form)->rowCount(), lesson.EntryCount());
    form->UndoClick();
    EXPECT_EQ(Model(form)->rowCount(), 4);
  }
}

TEST_F(TablePageTest, TheEntriesPageShowsTheEntryOfTheTableAndTheTableFollowsIt) {
  VocabEditForm* form = OpenSample();
  form->TableView->sortByColumn(kColumnTranslations, Qt::AscendingOrder);  // apple pear fig kiwi
  struct Case {
    const char* how;
    int row;
    int entry;
    const char* synonyms;
  };
  const Case cases[] = {
      {"double click", 2, 3, "fig"},
      {"enter", 3, 2, "kiwi"},
      {"menu", 0, 1, "apple\npome"},
      {"page change", 1, 0, "pear"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    form->SelectTab(VocabEditForm::kTablePage);
    const QModelIndex cell = Model(form)->index(c.row, kColumnTranslations);
    form->TableView->setCurrentIndex(cell);
    form->TableView->setFocus();
    const std::string how = c.how;
    if (how == "double click") {
      const QRect rect = form->TableView->visualRect(cell);
      QTest::mouseClick(form->TableView->viewport(), Qt::LeftButton, {}, rect.center());
      QTest::mouseDClick(form->TableView->viewport(), Qt::LeftButton, {}, rect.center());
    } else if (how == "enter") {
      QTest::keyClick(form->TableView, Qt::Key_Return);
    } else if (how == "menu") {
      form->findChild<QAction*>("MenuTableOpen")->trigger();
    } else {
      form->SelectTab(VocabEditForm::kEntriesPage);
    }
    EXPECT_EQ(form->CurrentPage(), VocabEditForm::kEntriesPage);
    EXPECT_EQ(form->EntryIndex(), c.entry);
    EXPECT_EQ(form->MemoSynonyms->toPlainText(), c.synonyms);
    EXPECT_FALSE(form->HasUnsavedChanges());
    // Coming back, the table is at the entry the Entries page showed.
    form->SelectTab(VocabEditForm::kTablePage);
    EXPECT_EQ(form->TableView->currentIndex().row(), c.row);
  }
  // The table grows the window from its fixed size; the Entries page takes it back.
  EXPECT_GT(form->width(), form->FixedWidth());
  EXPECT_GT(form->height(), form->FixedHeight());
  form->SelectTab(VocabEditForm::kEntriesPage);
  EXPECT_EQ(form->size(), QSize(form->FixedWidth(), form->FixedHeight()));
  form->SelectTab(VocabEditForm::kTablePage);
  // Keys of the Entries page do nothing on the Table page, Esc keeps the window.
  for (int key : {int(Qt::Key_F2), int(Qt::Key_F3), int(Qt::Key_Escape)}) EXPECT_FALSE(form->FormKeyDown(key, {}));
  EXPECT_FALSE(form->FormKeyDown(Qt::Key_Delete, Qt::AltModifier));
  EXPECT_EQ(Order(form->Lesson()), "pear apple kiwi fig");
}

TEST_F(TablePageTest, TheTableAndTheTextPageShowTheSameLesson) {
  VocabEditForm* form = OpenSample();
  auto* filter = form->findChild<QLineEdit*>("EditTableFilter");
  ASSERT_NE(filter, nullptr);
  // The filter, case ignored, shows rows only.
  filter->setText("SCHALE");
  EXPECT_EQ(ViewOrder(form), "apple");
  filter->clear();
  EXPECT_EQ(Model(form)->rowCount(), 4);

  // An edit on the Text page shows in the table after changing pages.
  form->SelectTab(VocabEditForm::kTextPage);
  form->CompleteText();
  QString text = PageText(form);
  ASSERT_TRUE(text.contains("Feige"));
  TypeText(form, text.replace("Feige", "Feigen"));
  form->SelectTab(VocabEditForm::kTablePage);
  ASSERT_EQ(form->CurrentPage(), VocabEditForm::kTablePage);
  EXPECT_EQ(Cell(form, 3, kColumnTranslations), "Feigen");
  // And a table edit on the Text page; undo from the table takes it back.
  Model(form)->setData(Model(form)->index(0, kColumnTranslations), "Birne; Birnbaum", Qt::EditRole);
  form->SelectTab(VocabEditForm::kTextPage);
  form->CompleteText();
  EXPECT_TRUE(PageText(form).contains("Birnbaum"));
  form->SelectTab(VocabEditForm::kTablePage);
  form->TableView->setFocus();
  form->UndoClick();
  EXPECT_EQ(Cell(form, 0, kColumnTranslations), "Birne");
  // A Text page that does not compile keeps the page.
  form->SelectTab(VocabEditForm::kTextPage);
  form->CompleteText();
  TypeText(form, PageText(form) + "\nno marker here");
  form->SelectTab(VocabEditForm::kTablePage);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
}

TEST_F(TablePageTest, TheTabHeadingsFilterAndMenuSpeakTheInterfaceLanguage) {
  OfferLanguages();
  VocabEditForm* form = OpenSample();
  struct Case {
    const char* language;
    const char* tab;
    const char* heading;
    const char* filter;
    const char* sortLesson;
    const char* question;
  };
  const Case cases[] = {
      {"Deutsch", "Tabelle", "\xC3\x9C" "bersetzungen", "Fi&lter:", "Lektion nach dieser Spalte &sortieren",
       "2 Eintr\xC3\xA4ge l\xC3\xB6schen?"},
      {"English", "Table", "Translations", "Fi&lter:", "&Sort lesson by this column", "Delete 2 entries?"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    Main().SetLanguage(c.language);
    EXPECT_EQ(form->TabSet->tabText(VocabEditForm::kTablePage), QString::fromUtf8(c.tab));
    EXPECT_EQ(Model(form)->headerData(kColumnTranslations, Qt::Horizontal).toString(), QString::fromUtf8(c.heading));
    EXPECT_EQ(form->findChild<QLabel*>("LabelTableFilter")->text(), c.filter);
    EXPECT_EQ(form->findChild<QAction*>("MenuTableSortLesson")->text(), QString::fromUtf8(c.sortLesson));
    // At the page's size every column fits its heading, with the room the
    // header's style takes for its margins and the sort mark.
    const QHeaderView* headings = form->TableView->horizontalHeader();
    for (int column = 0; column < Model(form)->columnCount(); ++column) {
      EXPECT_GE(headings->sectionSize(column), headings->sectionSizeHint(column)) << column;
      EXPECT_GT(headings->sectionSize(column),
                headings->fontMetrics().horizontalAdvance(Model(form)->headerData(column, Qt::Horizontal).toString()));
    }
    // The word columns share all the width the view gives; a view too narrow
    // for the headings narrows them and keeps form and number in sight.
    EXPECT_EQ(headings->length(), form->TableView->viewport()->width());
    const QSize wide = form->size();
    form->resize(wide.width() - 150, wide.height());
    Settle();
    EXPECT_LE(headings->length(), form->TableView->viewport()->width());
    EXPECT_GE(headings->length(), form->TableView->viewport()->width() - 4);
    form->resize(wide);
    Settle();
    SelectRows(form, {0, 1});
    platform_.Dialogs.MessageAnswers = {MessageAnswer::Cancel};
    form->TableDeleteClick();
    EXPECT_EQ(platform_.Dialogs.Messages.back().Text, QString::fromUtf8(c.question));
  }
}

TEST_F(TablePageTest, TheFormCellSpeaksTheInterfaceLanguageTakesEitherAndSaysWhatItRefuses) {
  OfferLanguages();
  VocabEditForm* form = OpenSample();
  const TMeanCollection& lesson = form->Lesson();
  auto* filter = form->findChild<QLineEdit*>("EditTableFilter");
  struct Case {
    const char* language;
    const char* typed;
    int form;           // of the entry afterwards
    const char* shown;  // the cell afterwards
    const char* note;   // in the status bar, for a refused text
  };
  const Case cases[] = {
      {"Deutsch", "andere", 4, "andere", ""},
      {"Deutsch", "v.", 0, "v.", ""},
      {"Deutsch", " Other ", 4, "andere", ""},
      {"Deutsch", "noun", 4, "andere", "'noun' ist keine Form; die Formen sind v., s., adj., adv., andere."},
      {"English", "adv.", 3, "adv.", ""},
      {"English", "ANDERE", 4, "other", ""},
      {"English", "", 4, "other", "'' is no form; the forms are v., s., adj., adv., other."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.language) + " " + c.typed);
    Main().SetLanguage(c.language);
    const int beeps = platform_.Sound.Beeps;
    TypeInto(form, 0, kColumnForm, c.typed);
    EXPECT_EQ(lesson.At(0)->Form, c.form);
    EXPECT_EQ(Cell(form, 0, kColumnForm), c.shown);
    EXPECT_EQ(platform_.Sound.Beeps, beeps + (*c.note ? 1 : 0));
    if (*c.note) {
      EXPECT_EQ(Main().StatusBar()->PanelText(1), QString::fromUtf8(c.note));
    }
  }
  // The filter finds a form by the name the cell shows, and the count follows.
  Main().SetLanguage("Deutsch");
  filter->setText("andere");
  EXPECT_EQ(ViewOrder(form), "pear");
  EXPECT_EQ(RowCount(form), "1 von 4 Zeilen");
  Main().SetLanguage("English");
  Discard(form);
}

TEST_F(TablePageTest, DeletingAndFilteringKeepTheViewWhereTheUserWas) {
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 200; ++i)
    entries.push_back(MakeEntry(1, {QString("w%1").arg(i, 3, 10, QChar('0')).toStdString()}));
  VocabEditForm* form = Open(MakeLessonFile("long.tav", entries));
  ActivateMain();
  form->SelectTab(VocabEditForm::kTablePage);
  QTableView* view = form->TableView;
  const auto current = [&] {
    return view->currentIndex().isValid() ? Cell(form, view->currentIndex().row(), kColumnSynonyms) : QString();
  };
  // Sorted from w199 down, rows 100 on in sight: rows 105 and 106 (w094, w093) deleted.
  view->sortByColumn(kColumnSynonyms, Qt::DescendingOrder);
  view->scrollTo(Model(form)->index(100, 0), QAbstractItemView::PositionAtTop);
  SelectRows(form, {105, 106});
  view->setFocus();
  platform_.Dialogs.MessageAnswers = {MessageAnswer::Ok};
  QTest::keyClick(view, Qt::Key_Delete);
  struct Case {
    const char* filter;
    int top;              // the first row in sight
    const char* current;  // the current row's word
    const char* count;
  };
  const Case cases[] = {
      {nullptr, 100, "w092", "198 of 198 rows"},  // the row after the deleted ones in their place
      {"w0", 0, "w092", "98 of 198 rows"},        // the current row keeps its place on the screen
      {"", 100, "w092", "198 of 198 rows"},
      {"w1", 0, "", "100 of 198 rows"},  // the current entry hidden: the top
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.filter ? c.filter : "deleted");
    if (c.filter) form->findChild<QLineEdit*>("EditTableFilter")->setText(c.filter);
    Settle();
    EXPECT_EQ(view->rowAt(0), c.top);
    EXPECT_EQ(current(), c.current);
    EXPECT_EQ(RowCount(form), c.count);
  }
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test
