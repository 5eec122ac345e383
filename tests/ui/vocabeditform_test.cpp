// SPDX-License-Identifier: GPL-3.0-or-later
// The lesson editor window: a new window, showing and storing the lesson,
// change notifications, fonts, window size and edit commands.

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTabBar>

#include "base/inifile.h"
#include "operations/combine.h"
#include "ui/lessonwindow/fontcombo.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/common/qtstrings.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

class VocabEditFormTest : public UiTest {
 protected:
  ui::VocabEditForm* OpenSample() {
    return Open(MakeLessonFile("sample.tav", {MakeEntry(1, {"house", "home"}, {"Haus"}, {"hut"}, {"Stall"}),
                                              MakeEntry(0, {"go"}, {"gehen"}), MakeEntry(2, {})}));
  }

  static QString Lines(const QPlainTextEdit* memo) { return memo->toPlainText(); }

};

TEST_F(VocabEditFormTest, NewWindowStartsOnTheHeaderPageWithOneUnmodifiedBlankEntry) {
  ui::VocabEditForm* form = Main().NewChild();
  EXPECT_EQ(form->CurrentPage(), ui::VocabEditForm::kHeaderPage);
  EXPECT_EQ(form->TabSet->currentIndex(), 0);
  EXPECT_EQ(form->TabSet->count(), 4);
  EXPECT_EQ(form->TabSet->tabText(2), "Text");
  EXPECT_EQ(form->TabSet->tabText(3), "Table");
  EXPECT_EQ(form->windowTitle(), "New Lesson");
  EXPECT_EQ(form->EditLanguage1->text(), "Language 1");
  EXPECT_EQ(form->EditLanguage2->text(), "Language 2");
  EXPECT_EQ(form->LabelLanguage1->text(), "Language 1");
  EXPECT_EQ(form->Label13->text(), "0");
  EXPECT_EQ(form->Label15->text(), "0");
  EXPECT_EQ(form->Label11->text(), "0");
  EXPECT_EQ(form->Label7->text(), "1");
  EXPECT_EQ(form->EditEntryNr->text(), "1");
  EXPECT_EQ(form->ComboBoxForm->currentText(), "other");
  EXPECT_EQ(form->Lesson().EntryCount(), 1);
  EXPECT_FALSE(form->HasUnsavedChanges());  // nobody typed into it
  EXPECT_FALSE(form->ControlsChanged());
  EXPECT_TRUE(form->FileName().empty());
  EXPECT_EQ(form->size(), QSize(form->FixedWidth(), form->FixedHeight()));
  EXPECT_EQ(form->Client->size(), QSize(320, 265));
  Discard(form);
}

TEST_F(VocabEditFormTest, NewWindowTakesItsTextsFromTheInterfaceLanguage) {
  WriteFile(File("deutsch.ini"),
            "[Dynamic]\nVocabEditFormCaption=Neue Lektion\nLanguage1=Sprache 1\nLanguage2=Sprache 2\n");
  WriteSettings("[LanguageFiles]\nDeutsch=deutsch.ini\n[Config]\nLanguage=Deutsch\n");
  Main().SetLanguage(Main().Language());
  ui::VocabEditForm* form = Main().NewChild();
  EXPECT_EQ(form->windowTitle(), "Neue Lektion");
  EXPECT_EQ(form->Lesson().Language1.Name, "Sprache 1");
  EXPECT_EQ(form->EditLanguage2->text(), "Sprache 2");
  Discard(form);
}

TEST_F(VocabEditFormTest, MemoLinesAreTrimmedSkippedWhenEmptyAndStoredOnce) {
  ui::VocabEditForm* form = Main().NewChild();
  form->MemoSynonyms->setPlainText("house\n  house \t\n\nhome");
  form->MemoTranslations->setPlainText("Haus");
  form->ComboBoxForm->setCurrentIndex(1);
  emit form->ComboBoxForm->activated(1);
  form->EditTitle->setText("Title");
  form->StoreControls();
  const TMeaning& entry = *form->Lesson().At(0);
  EXPECT_EQ(Texts(entry.Synonyms), (std::vector<std::string>{"house", "home"}));
  EXPECT_EQ(Texts(entry.Translations), (std::vector<std::string>{"Haus"}));
  EXPECT_EQ(entry.Form, 1);
  EXPECT_EQ(form->Lesson().Title, "Title");
  EXPECT_FALSE(form->ControlsChanged());
  Discard(form);
}

TEST_F(VocabEditFormTest, CharactersOutsideWindows1252AreReplacedWithOneWarningPerStore) {
  ui::VocabEditForm* form = Main().NewChild();
  form->EditTitle->setText(QString::fromUtf8("Ωmega"));
  form->MemoSynonyms->setPlainText(QString::fromUtf8("Ω\nλόγος\ncafé €"));
  form->StoreControls();
  EXPECT_EQ(form->Lesson().Title, "?mega");
  EXPECT_EQ(Texts(form->Lesson().At(0)->Synonyms), (std::vector<std::string>{"?", "?????", "caf\xE9 \x80"}));
  Settle();  // storing runs inside change signals: the warning waits for the event loop
  ASSERT_EQ(platform_.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(platform_.Dialogs.Messages[0].Kind, ui::MessageKind::Warning);
  EXPECT_TRUE(platform_.Dialogs.Messages[0].Text.endsWith(QString::fromUtf8(": Ωλόγος")))
      << platform_.Dialogs.Messages[0].Text.toStdString();
  // The fields show what was stored, so the next store has nothing to report.
  EXPECT_EQ(form->EditTitle->text(), "?mega");
  form->EditTopic->setText("topic");
  form->StoreControls();
  Settle();
  EXPECT_EQ(platform_.Dialogs.Messages.size(), 1u);
  Discard(form);
}

TEST_F(VocabEditFormTest, OpeningShowsTheLessonWithoutMarkingItModified) {
  ui::VocabEditForm* form = OpenSample();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), "sample.tav");
  EXPECT_EQ(form->EditLanguage1->text(), "English");
  EXPECT_EQ(form->LabelLanguage2->text(), "Deutsch");
  EXPECT_EQ(form->Label7->text(), "3");
  EXPECT_EQ(form->Label13->text(), "4");  // house, home, hut, go
  EXPECT_EQ(form->Label15->text(), "3");  // Haus, Stall, gehen
  EXPECT_EQ(form->Label11->text(), "7");
  EXPECT_EQ(Lines(form->MemoSynonyms), "house\nhome");
  EXPECT_EQ(Lines(form->MemoAntonyms), "hut");
  EXPECT_EQ(Lines(form->MemoTransvertions), "Stall");
  EXPECT_EQ(form->ComboBoxForm->currentText(), "s.");
  EXPECT_EQ(form->ScrollBar->maximum(), 3);
  EXPECT_EQ(form->ScrollBar->value(), 1);
  EXPECT_FALSE(form->HasUnsavedChanges());
  // Closing after looking at the header asks nothing.
  form->close();
  Settle();
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
}

TEST_F(VocabEditFormTest, HeaderEditsShowTheBeginningOfLongTexts) {
  auto lesson = MakeLesson("English", "Deutsch", {MakeEntry(1, {"house"}, {"Haus"})});
  lesson->Title = "A very long title of a lesson that does not fit into its edit at all";
  lesson->Topic = "An equally long topic, with more words than the edit can show at once";
  SaveBinary(*lesson, File("long.tav"));
  ui::VocabEditForm* form = Open(File("long.tav"));
  for (QLineEdit* edit : {form->EditTitle, form->EditTopic, form->EditLanguage1})
    EXPECT_EQ(edit->cursorPosition(), 0) << edit->objectName().toStdString();
}

TEST_F(VocabEditFormTest, ShowingAnEntryNeverMarksTheLessonModified) {
  // Entry 3 has no words, entry 2 has words: showing either changes nothing.
  for (const int entry : {3, 2}) {
    ui::VocabEditForm* form = OpenSample();
    form->SelectTab(ui::VocabEditForm::kEntriesPage);
    form->EditEntryNr->setText(QString::number(entry));
    EXPECT_EQ(form->EntryIndex(), entry - 1);
    EXPECT_FALSE(form->HasUnsavedChanges()) << entry;
    Discard(form);
  }
}

TEST_F(VocabEditFormTest, WindowsShowWhatAnotherWindowChangedInTheEntriesTheyShare) {
  ActivateMain();
  ui::VocabEditForm* source = OpenSample();
  source->SelectTab(ui::VocabEditForm::kEntriesPage);
  Discard(source);
  ui::VocabEditForm* both = Main().NewChild();
  both->SetLesson(ConcatLessons(&source->Lesson(), &source->Lesson()));
  both->SelectTab(ui::VocabEditForm::kEntriesPage);
  // The concatenation's entry 4 is the source's entry 1, mirrored there.
  both->ScrollBarScroll(ui::ScrollCode::Bottom, 4);
  both->ButtonMirrorClick();
  both->MemoTranslations->setPlainText("house\nhome\nhall");
  both->StoreControls();
  Main().ClientArea()->setActiveSubWindow(source);
  Settle();
  EXPECT_EQ(Lines(source->MemoSynonyms), "Haus");
  EXPECT_EQ(Lines(source->MemoTranslations), "house\nhome\nhall");
  EXPECT_EQ(Lines(source->MemoTransvertions), "hut");
  EXPECT_EQ(source->Label13->text(), "3");  // language 1: Haus, Stall, go
  EXPECT_EQ(source->Label15->text(), "5");
  EXPECT_FALSE(source->HasUnsavedChanges());
  // The source's own undo takes back nothing of it.
  source->UndoClick();
  EXPECT_EQ(Lines(source->MemoSynonyms), "Haus");
  Discard(both);
}

TEST_F(VocabEditFormTest, LanguageNameEditsEchoIntoTheStatistics) {
  ui::VocabEditForm* form = Main().NewChild();
  form->EditLanguage1->setText("Italiano");
  EXPECT_EQ(form->LabelLanguage1->text(), "Italiano");
  EXPECT_TRUE(form->ControlsChanged());
  form->StoreControls();
  EXPECT_EQ(form->Lesson().Language1.Name, "Italiano");
  Discard(form);
}

TEST_F(VocabEditFormTest, FontDropDownOpensTheFontDialogInsteadOfAList) {
  ui::VocabEditForm* form = OpenSample();
  TFont chosen = TextToFont("Times New Roman_clTeal_14_[Italic]");
  const TFont font1 = form->Lesson().Language1.Font;
  platform_.Dialogs.FontAnswers = {chosen, font1, std::nullopt};
  form->ComboFontLanguage2->showPopup();
  // The dialog opens once the click has returned.
  EXPECT_EQ(platform_.Dialogs.FontDialogs, 0);
  QApplication::processEvents();
  EXPECT_EQ(platform_.Dialogs.FontDialogs, 1);
  EXPECT_EQ(form->Lesson().Language2.Font, chosen);
  EXPECT_EQ(form->ComboFontLanguage2->count(), 1);
  EXPECT_EQ(form->ComboFontLanguage2->currentText(), "Times New Roman");
  EXPECT_EQ(form->MemoTranslations->font().family(), "Times New Roman");
  EXPECT_EQ(form->MemoTranslations->palette().color(QPalette::Text), QColor(0, 128, 128));
  EXPECT_EQ(form->MemoSynonyms->font().family(), "Arial");
  // A changed font is an edit that closing must not lose.
  EXPECT_TRUE(form->HasUnsavedChanges());

  // OK on the unchanged font (its face not installed here), then Cancel.
  Discard(form);
  for (int i = 0; i < 2; ++i) {
    form->ComboFontLanguage1->showPopup();
    QApplication::processEvents();
    EXPECT_EQ(form->Lesson().Language1.Font, font1);
    EXPECT_EQ(form->ComboFontLanguage1->currentText(), "Arial");
    EXPECT_FALSE(form->HasUnsavedChanges());
  }
  Discard(form);
}

TEST_F(VocabEditFormTest, WindowKeepsItsSizeOnTheFixedPagesAndMaximisesOnTheTextPage) {
  ui::VocabEditForm* form = Main().NewChild();
  const QSize fixed(form->FixedWidth(), form->FixedHeight());
  form->SelectTab(ui::VocabEditForm::kEntriesPage);
  form->showMaximized();
  QApplication::processEvents();
  EXPECT_FALSE(form->isMaximized());
  EXPECT_EQ(form->size(), fixed);
  form->resize(fixed.width() + 100, fixed.height() + 50);
  EXPECT_EQ(form->size(), fixed);

  form->SelectTab(ui::VocabEditForm::kTextPage);
  EXPECT_EQ(form->CurrentPage(), ui::VocabEditForm::kTextPage);
  form->showMaximized();
  QApplication::processEvents();
  EXPECT_TRUE(form->isMaximized());
  EXPECT_GT(form->width(), fixed.width());

  form->SelectTab(ui::VocabEditForm::kHeaderPage);
  EXPECT_FALSE(form->isMaximized());
  EXPECT_EQ(form->size(), fixed);
  Discard(form);
}

TEST_F(VocabEditFormTest, EditCommandsActOnTheFocusedEditOnly) {
  ui::VocabEditForm* form = Main().NewChild();
  QApplication::clipboard()->clear();
  form->EditTitle->setText("Hello world");
  form->EditTitle->setFocus();
  form->EditTitle->setSelection(0, 5);
  form->UpdateEditMenu();
  QAction* cut = Child<QAction>(form, "MenuCut");
  QAction* paste = Child<QAction>(form, "MenuPaste");
  EXPECT_TRUE(cut->isEnabled());
  EXPECT_FALSE(paste->isEnabled());
  form->CutToClipboard();
  EXPECT_EQ(form->EditTitle->text(), " world");
  EXPECT_EQ(QApplication::clipboard()->text(), "Hello");
  form->UpdateEditMenu();
  EXPECT_FALSE(cut->isEnabled());  // nothing selected now
  EXPECT_TRUE(paste->isEnabled());

  form->SelectTab(ui::VocabEditForm::kEntriesPage);
  form->MemoAntonyms->setFocus();
  form->PasteFromClipboard();
  EXPECT_EQ(form->MemoAntonyms->toPlainText(), "Hello");
  form->SelectAll();
  form->Delete();
  EXPECT_EQ(form->MemoAntonyms->toPlainText(), "");

  // The Text page's editor and other controls are left alone.
  form->SelectTab(ui::VocabEditForm::kTextPage);
  form->MemoText->setPlainText("text page");
  form->MemoText->setFocus();
  form->MemoText->selectAll();
  form->UpdateEditMenu();
  EXPECT_FALSE(cut->isEnabled());
  form->CutToClipboard();
  EXPECT_EQ(form->MemoText->toPlainText(), "text page");
  Discard(form);
}

TEST_F(VocabEditFormTest, ToolBarEditButtonsReachTheActiveWindow) {
  ui::VocabEditForm* form = Main().NewChild();
  form->EditAuthor->setText("Ann");
  form->EditAuthor->setFocus();
  form->EditAuthor->selectAll();
  Button("CopyBtn")->click();
  EXPECT_EQ(QApplication::clipboard()->text(), "Ann");
  form->EditTopic->setFocus();
  Button("PasteBtn")->click();
  EXPECT_EQ(form->EditTopic->text(), "Ann");
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test
