// SPDX-License-Identifier: GPL-3.0-or-later
// Moving between entries and the entry commands of the lesson editor window.

#include <QComboBox>
#include <functional>
#include <QLabel>
#include <QScrollBar>
#include <QTest>

#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageAnswer;
using ui::VocabEditForm;

class NavigationTest : public UiTest {
 protected:
  // A lesson of `count` entries "w1" - "t1" … on the Entries page.
  VocabEditForm* OpenEntries(int count) {
    std::vector<MeaningPtr> entries;
    for (int i = 1; i <= count; ++i)
      entries.push_back(MakeEntry(static_cast<std::uint8_t>(i % 5), {"w" + std::to_string(i)},
                                  {"t" + std::to_string(i)}));
    VocabEditForm* form = Open(MakeLessonFile("entries.tav", entries));
    form->SelectTab(VocabEditForm::kEntriesPage);
    return form;
  }

  static std::string Shown(VocabEditForm* form) { return form->MemoSynonyms->toPlainText().toStdString(); }

  static std::vector<std::string> HeadWords(VocabEditForm* form) {
    std::vector<std::string> words;
    for (const MeaningPtr& entry : *form->Lesson().Meanings)
      words.push_back(entry->Synonyms.Empty() ? "" : entry->Synonyms.At(0)->Text());
    return words;
  }

};

TEST_F(NavigationTest, ScrollingDownAtTheLastEntryAppendsABlankEntry) {
  VocabEditForm* form = OpenEntries(2);
  form->ScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(form->EntryIndex(), 1);
  EXPECT_EQ(form->Lesson().EntryCount(), 2);
  Discard(form);
  form->ScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(form->Lesson().EntryCount(), 3);
  EXPECT_EQ(form->EntryIndex(), 2);
  EXPECT_EQ(form->Label7->text(), "3");
  EXPECT_EQ(form->EditEntryNr->text(), "3");
  EXPECT_EQ(form->ScrollBar->value(), 3);
  EXPECT_EQ(form->ScrollBar->maximum(), 3);
  EXPECT_EQ(Shown(form), "");
  EXPECT_TRUE(form->HasUnsavedChanges());
  // A page-down click grows the lesson as well; moving up or dragging does not.
  form->ScrollBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
  EXPECT_EQ(form->Lesson().EntryCount(), 4);
  form->ScrollBar->triggerAction(QAbstractSlider::SliderSingleStepSub);
  EXPECT_EQ(form->EntryIndex(), 2);
  form->ScrollBar->setSliderPosition(1);
  form->ScrollBar->triggerAction(QAbstractSlider::SliderMove);
  EXPECT_EQ(form->EntryIndex(), 0);
  EXPECT_EQ(Shown(form), "w1");
  EXPECT_EQ(form->Lesson().EntryCount(), 4);
  Discard(form);
}

TEST_F(NavigationTest, AFullLessonRefusesFurtherEntriesWithABeep) {
  // The lesson file counts entries in 16 bits.
  auto lesson = MakeLesson("a", "b", {});
  for (int i = 0; i < VocabEditForm::kMaxEntries; ++i) lesson->Meanings->Insert(TMeaning::Create());
  SaveBinary(*lesson, File("full.tav"));
  VocabEditForm* form = Open(File("full.tav"));
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->EditEntryNr->setText("65535");
  form->ScrollBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_FALSE(form->ButtonInsertClick());
  form->ButtonCopyClick();
  EXPECT_EQ(form->Lesson().EntryCount(), VocabEditForm::kMaxEntries);
  EXPECT_EQ(form->EntryIndex(), VocabEditForm::kMaxEntries - 1);
  EXPECT_EQ(platform_.Sound.Beeps, 3);
  Discard(form);
}

TEST_F(NavigationTest, TypedEntryNumbersJumpOrTurnTheFieldRed) {
  VocabEditForm* form = OpenEntries(12);
  struct Case {
    const char* text;
    bool red;
    int index;  // expected EntryIndex afterwards
  };
  const Case cases[] = {{"0", true, 0},  {"abc", true, 0}, {"13", true, 0}, {"5", false, 4},
                        {"-1", true, 4}, {"", false, 4},   {"12", false, 11}};
  int beeps = 0;
  for (const Case& c : cases) {
    form->EditEntryNr->setText(c.text);
    EXPECT_EQ(form->EditEntryNr->palette().color(QPalette::Base) == QColor(255, 0, 0), c.red) << c.text;
    if (c.red) ++beeps;
    EXPECT_EQ(platform_.Sound.Beeps, beeps) << c.text;
    EXPECT_EQ(form->EntryIndex(), c.index) << c.text;
  }
  EXPECT_EQ(Shown(form), "w12");
  Discard(form);
}

TEST_F(NavigationTest, ARedEntryNumberTurnsWhiteWhenTheFieldChangesAgain) {
  VocabEditForm* form = OpenEntries(5);
  const auto red = [form] { return form->EditEntryNr->palette().color(QPalette::Base) == QColor(255, 0, 0); };
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"scroll", [form] { form->ScrollBarScroll(ui::ScrollCode::LineDown, form->ScrollBar->value() + 1); }},
      {"insert", [form] { form->ButtonInsertClick(); }},
      {"copy", [form] { form->ButtonCopyClick(); }},
      {"mirror", [form] { form->ButtonMirrorClick(); }},
      {"compile", [form] {
         form->SelectTab(VocabEditForm::kTextPage);
         form->SelectTab(VocabEditForm::kEntriesPage);
       }},
      {"leave", [form] { form->EditEntryExit(); }},
  };
  for (const auto& [name, change] : changes) {
    form->EditEntryNr->setText("0");
    ASSERT_TRUE(red()) << name;
    change();
    EXPECT_FALSE(red()) << name;
    EXPECT_EQ(form->EditEntryNr->text(), QString::number(form->EntryIndex() + 1)) << name;
  }
  Discard(form);
}

TEST_F(NavigationTest, EveryDigitTypedIsActedOnAtOnce) {
  VocabEditForm* form = OpenEntries(12);
  form->EditEntryNr->setFocus();
  form->EditEntryNr->clear();
  QTest::keyClick(form->EditEntryNr, Qt::Key_1);
  EXPECT_EQ(form->EntryIndex(), 0);
  QTest::keyClick(form->EditEntryNr, Qt::Key_2);
  EXPECT_EQ(form->EntryIndex(), 11);
  EXPECT_EQ(Shown(form), "w12");
  Discard(form);
}

TEST_F(NavigationTest, LeavingTheEntryNumberKeepsATypedWordAndRestoresTheNumber) {
  VocabEditForm* form = OpenEntries(3);
  ActivateMain();
  form->MemoSynonyms->setFocus();
  form->MemoSynonyms->setPlainText("w1\nextra");
  form->EditEntryNr->setFocus();
  form->EditEntryNr->setText("x");
  form->MemoTranslations->setFocus();
  EXPECT_EQ(form->EditEntryNr->text(), "1");
  EXPECT_EQ(Texts(form->Lesson().At(0)->Synonyms), (std::vector<std::string>{"w1", "extra"}));
  EXPECT_EQ(Shown(form), "w1\nextra");
  Discard(form);
}

TEST_F(NavigationTest, DeletingAsksAndKeepsAtLeastOneEntry) {
  VocabEditForm* form = OpenEntries(3);
  // Cancel changes nothing.
  platform_.Dialogs.MessageAnswers = {MessageAnswer::Cancel};
  form->ButtonDeleteClick();
  EXPECT_EQ(form->Lesson().EntryCount(), 3);
  ASSERT_EQ(platform_.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(platform_.Dialogs.Messages[0].Text, "Delete Entry '1: w1'?");
  EXPECT_EQ(platform_.Dialogs.Messages[0].Buttons, ui::MessageButtons::OkCancel);

  // Deleting the last entry shows the new last one.
  form->EditEntryNr->setText("3");
  platform_.Dialogs.MessageAnswers = {MessageAnswer::Ok};
  form->ButtonDeleteClick();
  EXPECT_EQ(platform_.Dialogs.Messages.back().Text, "Delete Entry '3: w3'?");
  EXPECT_EQ(HeadWords(form), (std::vector<std::string>{"w1", "w2"}));
  EXPECT_EQ(form->EntryIndex(), 1);
  EXPECT_EQ(Shown(form), "w2");

  // The question names the word typed last; without a first synonym the
  // first translation, without either the number alone.
  form->MemoSynonyms->setPlainText("");
  form->MemoTranslations->setPlainText(QString::fromUtf8("Übersetzung"));
  platform_.Dialogs.MessageAnswers = {MessageAnswer::Ok, MessageAnswer::Ok};
  form->ButtonDeleteClick();
  EXPECT_EQ(platform_.Dialogs.Messages.back().Text, QString::fromUtf8("Delete Entry '2: Übersetzung'?"));
  form->ButtonDeleteClick();  // the only entry: a blank one takes its place
  EXPECT_EQ(HeadWords(form), (std::vector<std::string>{""}));
  EXPECT_EQ(form->EntryIndex(), 0);
  EXPECT_EQ(form->Label7->text(), "1");
  EXPECT_EQ(form->ComboBoxForm->currentText(), "other");
  platform_.Dialogs.MessageAnswers = {MessageAnswer::Cancel};
  form->ButtonDeleteClick();
  EXPECT_EQ(platform_.Dialogs.Messages.back().Text, "Delete Entry '1'?");
  Discard(form);
}

TEST_F(NavigationTest, InsertPutsABlankEntryBeforeTheShownOne) {
  VocabEditForm* form = OpenEntries(2);
  form->EditEntryNr->setText("2");
  Discard(form);
  form->ButtonInsertClick();
  EXPECT_EQ(HeadWords(form), (std::vector<std::string>{"w1", "", "w2"}));
  EXPECT_EQ(form->EntryIndex(), 1);
  EXPECT_EQ(Shown(form), "");
  EXPECT_EQ(form->focusWidget(), form->MemoSynonyms);
  EXPECT_TRUE(form->HasUnsavedChanges());
  Discard(form);
}

TEST_F(NavigationTest, F2RightAfterTypingMirrorsTheTypedWord) {
  VocabEditForm* form = OpenEntries(1);
  form->MemoSynonyms->setFocus();
  form->MemoSynonyms->moveCursor(QTextCursor::End);
  QTest::keyClick(form->MemoSynonyms, Qt::Key_Return);
  QTest::keyClicks(form->MemoSynonyms, "typed");
  QTest::keyClick(form->MemoSynonyms, Qt::Key_F2);
  EXPECT_EQ(form->MemoTranslations->toPlainText(), "w1\ntyped");
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), "t1");
  EXPECT_EQ(Texts(form->Lesson().At(0)->Translations), (std::vector<std::string>{"w1", "typed"}));
  Discard(form);
}

TEST_F(NavigationTest, F3OnTheLastEntryDuplicatesIt) {
  VocabEditForm* form = OpenEntries(5);
  form->EditEntryNr->setText("5");
  QTest::keyClick(form->MemoSynonyms, Qt::Key_F3);
  EXPECT_EQ(form->Lesson().EntryCount(), 6);
  EXPECT_EQ(HeadWords(form), (std::vector<std::string>{"w1", "w2", "w3", "w4", "w5", "w5"}));
  const TMeaning& copy = *form->Lesson().At(4);
  const TMeaning& source = *form->Lesson().At(5);
  EXPECT_NE(&copy, &source);
  EXPECT_EQ(Texts(copy.Translations), Texts(source.Translations));
  EXPECT_EQ(copy.Form, source.Form);
  EXPECT_EQ(form->EntryIndex(), 4);
  EXPECT_EQ(form->EditEntryNr->text(), "5");
  Discard(form);
}

TEST_F(NavigationTest, AltKeysMoveInsertAndDeleteOnTheEntriesPage) {
  VocabEditForm* form = OpenEntries(3);
  QWidget* focus = form->MemoAntonyms;
  focus->setFocus();
  QTest::keyClick(focus, Qt::Key_End, Qt::AltModifier);
  EXPECT_EQ(form->EntryIndex(), 2);
  QTest::keyClick(focus, Qt::Key_PageUp, Qt::AltModifier);
  EXPECT_EQ(form->EntryIndex(), 1);
  QTest::keyClick(focus, Qt::Key_Home, Qt::AltModifier);
  EXPECT_EQ(form->EntryIndex(), 0);
  QTest::keyClick(focus, Qt::Key_PageUp, Qt::AltModifier);
  EXPECT_EQ(form->EntryIndex(), 0);
  QTest::keyClick(focus, Qt::Key_End, Qt::AltModifier);
  QTest::keyClick(focus, Qt::Key_PageDown, Qt::AltModifier);  // past the end: a blank entry
  EXPECT_EQ(form->Lesson().EntryCount(), 4);
  EXPECT_EQ(form->EntryIndex(), 3);
  QTest::keyClick(focus, Qt::Key_Insert, Qt::AltModifier);
  EXPECT_EQ(form->Lesson().EntryCount(), 5);
  platform_.Dialogs.MessageAnswers = {MessageAnswer::Ok};
  QTest::keyClick(focus, Qt::Key_Delete, Qt::AltModifier);
  EXPECT_EQ(form->Lesson().EntryCount(), 4);
  QTest::keyClick(focus, Qt::Key_F12);
  EXPECT_EQ(form->focusWidget(), form->MemoSynonyms);
  Discard(form);
}

TEST_F(NavigationTest, KeysOnTheHeaderPageDoNothing) {
  VocabEditForm* form = OpenEntries(3);
  form->SelectTab(VocabEditForm::kHeaderPage);
  form->EditTitle->setFocus();
  for (const auto& [key, modifiers] : std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>>{
           {Qt::Key_PageDown, Qt::AltModifier}, {Qt::Key_F2, Qt::NoModifier}, {Qt::Key_F3, Qt::NoModifier},
           {Qt::Key_Escape, Qt::NoModifier}, {Qt::Key_Insert, Qt::AltModifier}})
    QTest::keyClick(form->EditTitle, key, modifiers);
  Settle();
  ASSERT_EQ(Main().LessonWindows().size(), 1);
  EXPECT_EQ(form->Lesson().EntryCount(), 3);
  EXPECT_EQ(form->EntryIndex(), 0);
  EXPECT_EQ(Texts(form->Lesson().At(0)->Synonyms), (std::vector<std::string>{"w1"}));
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
}

TEST_F(NavigationTest, EscapeClosesTheWindowWithTheSaveQuestion) {
  VocabEditForm* form = OpenEntries(2);
  QTest::keyClicks(form->MemoSynonyms, "x");
  platform_.Dialogs.MessageAnswers = {MessageAnswer::No};
  QTest::keyClick(form->MemoSynonyms, Qt::Key_Escape);
  Settle();
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
  ASSERT_EQ(platform_.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(platform_.Dialogs.Messages[0].Text, "Do you want to save 'entries.tav'?");
}

TEST_F(NavigationTest, CompactAndMirrorWorkOnTheWholeLesson) {
  VocabEditForm* form = Open(MakeLessonFile(
      "c.tav", {MakeEntry(1, {"a"}, {"x"}), MakeEntry(1, {"b"}, {"y"}), MakeEntry(1, {"a", "b"})}, "L1", "L2"));
  // Opening already compacted the lesson into one entry.
  EXPECT_EQ(form->Lesson().EntryCount(), 1);
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->MemoSynonyms->setPlainText("a\nb");
  form->ButtonInsertClick();
  // A new entry of the same form sharing the word b: compacting merges the
  // later entry into it.
  form->MemoSynonyms->setPlainText("b\nc");
  form->ComboBoxForm->setCurrentIndex(1);
  form->CompactClick();
  EXPECT_EQ(form->Lesson().EntryCount(), 1);
  EXPECT_EQ(form->EntryIndex(), 0);
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), "b\nc\na");
  EXPECT_EQ(form->Label7->text(), "1");

  form->MirrorClick();
  EXPECT_EQ(form->Lesson().Language1.Name, "L2");
  EXPECT_EQ(form->EditLanguage1->text(), "L2");
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), "x\ny");
  EXPECT_EQ(form->MemoTranslations->toPlainText(), "b\nc\na");
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test
