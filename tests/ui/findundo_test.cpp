// SPDX-License-Identifier: GPL-3.0-or-later
// Find, undo and redo in the lesson editor window.

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTest>
#include <functional>

#include "base/cp1252.h"
#include "components/compostatusbar.h"
#include "operations/combine.h"
#include "operations/find.h"
#include "ui/dialogs/finddlg.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/common/qtstrings.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageAnswer;
using ui::VocabEditForm;

class FindUndoTest : public UiTest {
 protected:
  VocabEditForm* OpenSample() {
    return Open(MakeLessonFile("sample.tav", {MakeEntry(1, {"house"}, {"Haus", "Geb\xE4ude"}, {"hut"}),
                                              MakeEntry(0, {"go"}, {"gehen"}),
                                              MakeEntry(1, {"street"}, {"Stra\xDF" "e"}, {}, {"HAUS-Nr."})}));
  }
  QString Note() { return Main().StatusBar()->PanelText(1); }

  // Everything the lesson holds, in one string.
  static std::string Dump(const TMeanCollection& lesson) {
    std::string out = lesson.Title + "|" + lesson.Language1.Name + "-" + lesson.Language2.Name + "\n";
    for (const MeaningPtr& entry : *lesson.Meanings) {
      out += std::to_string(entry->Form);
      for (int kind : {kSynonyms, kTranslations, kAntonyms, kAntonymTranslations})
        for (const std::string& text : entry->KindTexts(kind)) out += " " + std::to_string(kind) + ":" + text;
      out += "\n";
    }
    return out;
  }
};

TEST_F(FindUndoTest, FindShowsEachWordInTurnRoundTheLessonWithItsOptions) {
  VocabEditForm* form = OpenSample();
  ui::TFindDlg* dialog = Main().FindDlg();
  dialog->EditFind->setText("haus");
  struct Step {
    std::function<void()> options;
    bool backward;
    bool found;
    int entry;
    QPlainTextEdit* VocabEditForm::*memo;
    const char* selected;
    const char* note;
  };
  const auto none = [dialog] {
    dialog->CheckMatchCase->setChecked(false);
    dialog->CheckWholeWord->setChecked(false);
    dialog->RadioBoth->setChecked(true);
  };
  const char* wrappedToStart = "Passed the end of the lesson; searched on from its start.";
  const Step steps[] = {
      // From the Header page: the Entries page shows the word selected.
      {none, false, true, 0, &VocabEditForm::MemoTranslations, "Haus", ""},
      {none, false, true, 2, &VocabEditForm::MemoTransvertions, "HAUS-Nr.", ""},
      {none, false, true, 0, &VocabEditForm::MemoTranslations, "Haus", wrappedToStart},
      {none, true, true, 2, &VocabEditForm::MemoTransvertions, "HAUS-Nr.",
       "Passed the start of the lesson; searched on from its end."},
      // The only match, found again after going round.
      {[dialog] {
         dialog->EditFind->setText("HAUS");
         dialog->CheckMatchCase->setChecked(true);
       },
       false, true, 2, &VocabEditForm::MemoTransvertions, "HAUS-Nr.", wrappedToStart},
      {[dialog] { dialog->EditFind->setText(QString::fromLatin1("H\xC4USER")); }, false, false, 2, nullptr, nullptr, "'H\xC4USER' not found."},
      {[dialog, none] {
         none();
         dialog->EditFind->setText(QString::fromLatin1("GEB\xC4UDE"));
       },
       false, true, 0, &VocabEditForm::MemoTranslations, "Geb\xE4ude", wrappedToStart},
      {[dialog] {
         dialog->EditFind->setText("stra");
         dialog->CheckWholeWord->setChecked(true);
       },
       false, false, 0, nullptr, nullptr, "'stra' not found."},
      {[dialog] {
         dialog->EditFind->setText("hu");
         dialog->CheckWholeWord->setChecked(false);
         dialog->RadioLanguage2->setChecked(true);
       },
       false, false, 0, nullptr, nullptr, "'hu' not found."},
      {[dialog] { dialog->RadioLanguage1->setChecked(true); }, false, true, 0, &VocabEditForm::MemoAntonyms, "hut", ""},
  };
  int beeps = 0;
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    const Step& s = steps[i];
    s.options();
    EXPECT_EQ(form->FindNext(s.backward), s.found) << i;
    EXPECT_EQ(Note(), QString::fromLatin1(s.note)) << i;
    EXPECT_EQ(form->EntryIndex(), s.entry) << i;
    EXPECT_EQ(form->CurrentPage(), VocabEditForm::kEntriesPage) << i;
    if (!s.found) {
      EXPECT_EQ(platform_.Sound.Beeps, ++beeps) << i;
      continue;
    }
    QPlainTextEdit* memo = form->*s.memo;
    EXPECT_EQ(memo->textCursor().selectedText(), QString::fromLatin1(s.selected)) << i;
  }

  // On the Text page the text itself is searched.
  form->SelectTab(VocabEditForm::kTextPage);
  none();
  dialog->EditFind->setText("gehen");
  EXPECT_TRUE(form->FindNext(false));
  EXPECT_EQ(form->MemoText->textCursor().selectedText(), "gehen");
  EXPECT_TRUE(form->FindNext(false));
  EXPECT_EQ(Note(), wrappedToStart);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  Discard(form);
}

TEST_F(FindUndoTest, FindCaseAndWordRulesAgreeWithTheTextPage) {
  // The Text page searches with Qt's rules: lessons must be searched alike.
  for (int c = 1; c < 256; ++c) {
    const auto byte = static_cast<unsigned char>(c);
    const QChar ch = ui::ToQString(std::string(1, static_cast<char>(byte))).at(0);
    if (ch.category() == QChar::Other_Control) continue;
    EXPECT_EQ(IsWordCharacter(byte), ch.isLetterOrNumber()) << c;
    const int lower = CodePointToCp1252(ch.toLower().unicode());
    EXPECT_EQ(LowerCaseOf(byte), lower >= 0 ? lower : c) << c;
  }
}

TEST_F(FindUndoTest, EveryCommandIsUndoneAndRedoneAndModifiedFollows) {
  struct Command {
    const char* name;
    std::function<void(VocabEditForm*)> run;
    int steps = 1;
  };
  const Command commands[] = {
      {"insert", [](VocabEditForm* f) { f->ButtonInsertClick(); }},
      {"delete", [this](VocabEditForm* f) {
         platform_.Dialogs.MessageAnswers = {MessageAnswer::Ok};
         f->ButtonDeleteClick();
       }},
      {"copy", [](VocabEditForm* f) { f->ButtonCopyClick(); }},
      {"mirror entry", [](VocabEditForm* f) { f->ButtonMirrorClick(); }},
      {"append by scrolling", [](VocabEditForm* f) {
         f->ScrollBarScroll(ui::ScrollCode::Bottom, 3);
         f->ScrollBarScroll(ui::ScrollCode::LineDown, 3);
       }},
      {"compact", [](VocabEditForm* f) {
         f->MemoSynonyms->setPlainText("go");
         f->ComboBoxForm->setCurrentIndex(0);
         f->CompactClick();
       }, 2},  // the edit stored first, then the compaction
      {"mirror lesson", [](VocabEditForm* f) { f->MirrorClick(); }},
      {"compile", [](VocabEditForm* f) {
         f->SelectTab(VocabEditForm::kTextPage);
         f->MemoText->appendPlainText("new - neu");
         f->SelectTab(VocabEditForm::kEntriesPage);
       }},
      {"entry and header edits", [](VocabEditForm* f) {
         f->MemoTranslations->setPlainText("Haus\nHeim");
         f->EditTitle->setText("Title");
         f->ScrollBarScroll(ui::ScrollCode::LineDown, 2);
       }},
  };
  for (const Command& command : commands) {
    VocabEditForm* form = OpenSample();
    form->SelectTab(VocabEditForm::kEntriesPage);
    const std::string before = Dump(form->Lesson());
    command.run(form);
    const std::string after = Dump(form->Lesson());
    ASSERT_NE(after, before) << command.name;
    EXPECT_TRUE(form->HasUnsavedChanges()) << command.name;
    for (int i = 0; i < command.steps; ++i) form->UndoClick();
    EXPECT_EQ(Dump(form->Lesson()), before) << command.name;
    // Back at the state of the file.
    EXPECT_FALSE(form->HasUnsavedChanges()) << command.name;
    for (int i = 0; i < command.steps; ++i) form->RedoClick();
    EXPECT_EQ(Dump(form->Lesson()), after) << command.name;
    EXPECT_TRUE(form->HasUnsavedChanges()) << command.name;
    EXPECT_EQ(form->Label7->text(), QString::number(form->Lesson().EntryCount())) << command.name;
    Discard(form);
    form->close();
    Settle();
  }
}

TEST_F(FindUndoTest, UndoKeysTakeBackTypingFirstAndSavingKeepsTheHistory) {
  VocabEditForm* form = OpenSample();
  ActivateMain();
  form->SelectTab(VocabEditForm::kEntriesPage);
  const std::string opened = Dump(form->Lesson());
  form->ButtonInsertClick();
  const std::string inserted = Dump(form->Lesson());
  // Typing in a word field: Ctrl+Z takes the typing back, the next one the insertion.
  QTest::keyClicks(form->MemoSynonyms, "ab");
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), "ab");
  QTest::keyClick(form->MemoSynonyms, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), "");
  EXPECT_EQ(Dump(form->Lesson()), inserted);
  QTest::keyClick(form->MemoSynonyms, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Dump(form->Lesson()), opened);
  EXPECT_FALSE(form->HasUnsavedChanges());
  QTest::keyClick(form->MemoSynonyms, Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(Dump(form->Lesson()), inserted);

  // Typed and stored, then saved: undo goes on past the save, redo comes back to it.
  QTest::keyClicks(form->MemoSynonyms, "word");
  form->StoreControls();
  const std::string typed = Dump(form->Lesson());
  form->Save();
  EXPECT_FALSE(form->HasUnsavedChanges());
  form->EditEntryNr->setFocus();
  QTest::keyClick(form->EditEntryNr, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(Dump(form->Lesson()), inserted);
  EXPECT_TRUE(form->HasUnsavedChanges());
  form->RedoClick();
  EXPECT_EQ(Dump(form->Lesson()), typed);
  EXPECT_FALSE(form->HasUnsavedChanges());
  // A header edit of one visit is one step, however often it was stored.
  form->EditTitle->setText("T1");
  form->StoreControls();
  form->EditTitle->setText("T2");
  form->StoreControls();
  form->UndoClick();
  EXPECT_EQ(Dump(form->Lesson()), typed);
  Discard(form);
}

TEST_F(FindUndoTest, UndoThroughALessonConcatenatedWithItselfGivesBackEveryPlace) {
  // Entries of form "other": the text gives their words no remark, so a
  // compiled entry equals its old one.
  VocabEditForm* source = Open(MakeLessonFile(
      "plain.tav", {MakeEntry(4, {"house"}, {"Haus"}, {"hut"}), MakeEntry(4, {"go"}, {"gehen"}), MakeEntry(4, {"street"}, {"Strasse"})}));
  const std::string sourceBefore = Dump(source->Lesson());
  VocabEditForm* both = Main().NewChild();
  both->SetLesson(ConcatLessons(&source->Lesson(), &source->Lesson()));
  platform_.Dialogs.FileAnswers = {ui::FileNameToQString(File("both.tav"))};
  both->MenuSaveAsClick();
  ASSERT_FALSE(both->HasUnsavedChanges());
  const std::string saved = Dump(both->Lesson());
  // The first entry edited at its first place and at its second, the text
  // compiled (which compacts the twice-listed entries) and the lesson mirrored.
  both->SelectTab(VocabEditForm::kEntriesPage);
  both->MemoSynonyms->setPlainText("home");
  both->StoreControls();
  both->ScrollBarScroll(ui::ScrollCode::Bottom, 4);
  ASSERT_EQ(both->EntryIndex(), 3);
  EXPECT_EQ(both->MemoSynonyms->toPlainText(), "home");
  both->MemoTranslations->setPlainText("Heim");
  both->StoreControls();
  both->SelectTab(VocabEditForm::kTextPage);
  both->MemoText->appendPlainText("new - neu");
  both->SelectTab(VocabEditForm::kEntriesPage);
  ASSERT_EQ(both->Lesson().EntryCount(), 4);
  both->MirrorClick();
  const std::string changed = Dump(both->Lesson());
  for (int i = 0; i < 5; ++i) both->UndoClick();
  EXPECT_EQ(Dump(both->Lesson()), saved);
  EXPECT_FALSE(both->HasUnsavedChanges());
  EXPECT_EQ(Dump(source->Lesson()), sourceBefore);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(both->Lesson().At(i), source->Lesson().At(i % 3)) << i;
  for (int i = 0; i < 5; ++i) both->RedoClick();
  EXPECT_EQ(Dump(both->Lesson()), changed);
  EXPECT_TRUE(both->HasUnsavedChanges());
  Discard(both);
  Discard(source);
}

}  // namespace
}  // namespace vocatrix::test
