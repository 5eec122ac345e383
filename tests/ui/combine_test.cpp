// SPDX-License-Identifier: GPL-3.0-or-later
// The combine dialog and the special-characters dialog, answered from the
// tests as a user would.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QTableWidget>

#include "base/inifile.h"
#include "ui/characters/charmapdlg.h"
#include "ui/dialogs/combinedlg.h"
#include "ui/common/qtstrings.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::TCharmapDlg;
using ui::TCombiLessonsDlg;
using ui::VocabEditForm;

class CombineTest : public UiTest {
 protected:
  VocabEditForm* OpenLessonFile(const std::string& name, const std::string& language1, const std::string& language2,
                                const std::vector<MeaningPtr>& entries) {
    return Open(MakeLessonFile(name, entries, language1, language2));
  }

  // Runs the combine command; `user` handles the dialog and gives its result.
  void Combine(int mode, std::function<int(TCombiLessonsDlg&)> user) {
    platform_.Dialogs.DialogAnswers.push_back(
        [user](QDialog& dialog) { return user(static_cast<TCombiLessonsDlg&>(dialog)); });
    Main().CombineLessons(mode);
  }

  static QStringList Items(const QComboBox* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
  }

  static QString ResultLine(const TCombiLessonsDlg& dialog) {
    return dialog.Panel6->text() + " | " + dialog.Panel7->text() + " | " + dialog.Panel5->text();
  }

  void DiscardAll() {
    for (VocabEditForm* form : Main().LessonWindows()) Discard(form);
  }
};

TEST_F(CombineTest, OneLessonConcatenatedWithItselfOpensTwiceItsEntries) {
  VocabEditForm* form = OpenLessonFile("words.tav", "Deutsch", "Englisch",
                                       {MakeEntry(1, {"Haus"}, {"house"}), MakeEntry(0, {"gehen"}, {"go"})});
  Combine(0, [](TCombiLessonsDlg& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("Lektionen aneinanderhängen"));
    EXPECT_EQ(Items(dialog.ComboBox1), QStringList{"words.tav"});
    EXPECT_EQ(Items(dialog.ComboBox2), QStringList{"words.tav"});
    EXPECT_EQ(dialog.Panel1->text(), "Deutsch - Englisch");
    EXPECT_EQ(dialog.Panel3->text(), "2");
    EXPECT_EQ(ResultLine(dialog), "neue Lektion | Deutsch - Englisch | 4");
    EXPECT_TRUE(dialog.OKBtn->isEnabled());
    dialog.HelpBtn->click();
    return static_cast<int>(QDialog::Accepted);
  });
  EXPECT_EQ(platform_.Help.Shown.back().second, "hc_Combine");
  ASSERT_EQ(Main().LessonWindows().size(), 2);
  VocabEditForm* result = Main().ActiveEditForm();
  ASSERT_NE(result, form);
  EXPECT_EQ(result->Lesson().EntryCount(), 4);
  EXPECT_EQ(result->Label7->text(), "4");
  EXPECT_EQ(result->windowTitle(), "New Lesson");
  EXPECT_TRUE(result->FileName().empty());
  EXPECT_TRUE(result->HasUnsavedChanges());
  EXPECT_EQ(Main().CombineDlg()->ResultLesson(), nullptr);
  DiscardAll();
}

TEST_F(CombineTest, ListsFollowTheWindowsTwoLessonsAreChosenAndTheDialogKeepsItsSize) {
  OpenLessonFile("de-en.tav", "Deutsch", "Englisch", {MakeEntry(1, {"Haus"}, {"house"})});
  VocabEditForm* fr = OpenLessonFile("fr-es.tav", "Franzoesisch", "Spanisch", {MakeEntry(1, {"maison"}, {"casa"})});
  OpenLessonFile("en-es.tav", "Englisch", "Spanisch", {MakeEntry(1, {"house"}, {"casa"})});
  VocabEditForm* untitled = Main().NewChild();
  // Save As gives a window a new name; the list shows that one.
  platform_.Dialogs.FileAnswers = {ui::FileNameToQString(File("renamed.tav"))};
  fr->MenuSaveAsClick();
  Main().ClientArea()->setActiveSubWindow(untitled);
  for (const int mode : {TCombiLessonsDlg::kSubstitute, TCombiLessonsDlg::kConcat}) {
    SCOPED_TRACE(mode);
    Combine(mode, [mode](TCombiLessonsDlg& dialog) {
      // The active window's lesson last, an unsaved one under its caption;
      // it is chosen first, with the window before it.
      EXPECT_EQ(Items(dialog.ComboBox1), (QStringList{"de-en.tav", "renamed.tav", "en-es.tav", "New Lesson"}));
      EXPECT_EQ(dialog.ComboBox1->currentIndex(), 3);
      EXPECT_EQ(dialog.ComboBox2->currentIndex(), 2);
      dialog.show();
      QApplication::processEvents();
      const QSize size = dialog.size();
      struct Choice {
        int first, second;
        const char* substitute;  // the result line of each mode
        const char* concat;
      };
      const Choice choices[] = {
          {3, 2, "keine gemeinsame Sprache |  | ", "Sprachen verschieden |  | "},
          {0, 0, "the same lesson twice |  | ", "neue Lektion | Deutsch - Englisch | 2"},
          {2, 0, "neue Lektion | Spanisch - Deutsch | 1", "Sprachen verschieden |  | "},
          {3, 3, "the same lesson twice |  | ", "neue Lektion | Language 1 - Language 2 | 2"},
      };
      for (const Choice& c : choices) {
        SCOPED_TRACE(std::to_string(c.first) + "+" + std::to_string(c.second));
        dialog.ComboBox1->setCurrentIndex(c.first);
        dialog.ComboBox2->setCurrentIndex(c.second);
        QApplication::processEvents();
        const QString line = QString::fromUtf8(mode == TCombiLessonsDlg::kSubstitute ? c.substitute : c.concat);
        EXPECT_EQ(ResultLine(dialog), line);
        EXPECT_EQ(dialog.OKBtn->isEnabled(), line.startsWith("neue Lektion"));
        EXPECT_EQ(dialog.size(), size);
      }
      dialog.hide();
      return static_cast<int>(QDialog::Rejected);
    });
  }
  EXPECT_EQ(Main().LessonWindows().size(), 4);
  DiscardAll();
}

TEST_F(CombineTest, SubstitutionCompactsAtOnceAndEveryWindowShowsAValidEntryAfterwards) {
  OpenLessonFile("en-es.tav", "Englisch", "Spanisch", {MakeEntry(1, {"house"}, {"casa"})});
  // Entries 2 and 3 share "Haus" with entry 1 and merge into it.
  VocabEditForm* form = OpenLessonFile("dup.tav", "Deutsch", "Englisch", {});
  auto lesson = MakeLesson("Deutsch", "Englisch",
                           {MakeEntry(1, {"Haus"}, {"house"}), MakeEntry(0, {"gehen"}, {"go"}),
                            MakeEntry(1, {"Haus"}, {"home"}), MakeEntry(1, {"Haus"}, {"building"})});
  form->SetLesson(std::move(lesson));
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->ScrollBarScroll(ui::ScrollCode::Bottom, 4);
  ASSERT_EQ(form->EntryIndex(), 3);
  Discard(form);
  Combine(1, [form](TCombiLessonsDlg& dialog) {
    // The count shown is the one before; the lesson is compacted as soon as
    // the result is computed.
    EXPECT_EQ(dialog.Panel3->text(), "4");
    EXPECT_EQ(form->Lesson().EntryCount(), 2);
    return static_cast<int>(QDialog::Rejected);
  });
  EXPECT_EQ(form->Lesson().EntryCount(), 2);
  EXPECT_EQ(form->EntryIndex(), 1);
  EXPECT_EQ(form->ScrollBar->maximum(), 2);
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), "gehen");
  // The compaction is a change of the lesson, a step of its history.
  EXPECT_TRUE(form->HasUnsavedChanges());
  EXPECT_EQ(form->History().Count(), 1u);
  // What is typed now lands in the entry shown.
  form->MemoTranslations->setPlainText("walk");
  form->StoreControls();
  EXPECT_EQ(Texts(form->Lesson().At(1)->Translations), (std::vector<std::string>{"walk"}));
  DiscardAll();
}

TEST_F(CombineTest, UnstoredEditsOfAnotherWindowSurviveASubstitutionInTheirEntry) {
  VocabEditForm* other = OpenLessonFile("other.tav", "Deutsch", "Englisch",
                                        {MakeEntry(1, {"Haus"}, {"house"}), MakeEntry(1, {"Haus"}, {"home"}),
                                         MakeEntry(0, {"gehen"}, {"go"})});
  other->SelectTab(VocabEditForm::kEntriesPage);
  other->ScrollBarScroll(ui::ScrollCode::Bottom, 3);
  other->MemoTranslations->setPlainText("go\nwalk");  // typed, not stored
  OpenLessonFile("active.tav", "Englisch", "Spanisch", {MakeEntry(1, {"house"}, {"casa"})});
  // active.tav with other.tav, as chosen first.
  Combine(1, [](TCombiLessonsDlg&) { return static_cast<int>(QDialog::Rejected); });
  // other.tav is compacted to Haus and gehen; the typed words are in gehen.
  ASSERT_EQ(other->Lesson().EntryCount(), 2);
  EXPECT_EQ(Texts(other->Lesson().At(1)->Translations), (std::vector<std::string>{"go", "walk"}));
  EXPECT_EQ(Texts(other->Lesson().At(0)->Translations), (std::vector<std::string>{"house", "home"}));
  EXPECT_EQ(other->MemoTranslations->toPlainText(), "go\nwalk");
  DiscardAll();
}

TEST_F(CombineTest, ConcatenationCancelledChangesNothingAndOneTooLargeIsNoResult) {
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 40000; ++i)
    entries.push_back(MakeEntry(1, {"w" + std::to_string(i)}, {"t" + std::to_string(i)}));
  VocabEditForm* form = OpenLessonFile("big.tav", "Deutsch", "Englisch", entries);
  Combine(0, [](TCombiLessonsDlg& dialog) {
    EXPECT_FALSE(dialog.OKBtn->isEnabled());
    EXPECT_EQ(ResultLine(dialog), "too many entries | Deutsch - Englisch | 80000");
    return static_cast<int>(QDialog::Accepted);  // even a forced OK opens nothing
  });
  EXPECT_EQ(Main().LessonWindows().size(), 1);
  EXPECT_EQ(form->Lesson().EntryCount(), 40000);
  EXPECT_EQ(form->Lesson().At(39999)->Synonyms.At(0)->Text(), "w39999");
}

class CharmapTest : public UiTest {
 protected:
  // Runs the dialog; `user` handles it and gives its result.
  void Charmap(std::function<int(TCharmapDlg&)> user) {
    platform_.Dialogs.DialogAnswers.push_back(
        [user](QDialog& dialog) { return user(static_cast<TCharmapDlg&>(dialog)); });
    Main().MenuCharmapClick();
  }
  static QString Cell(TCharmapDlg& dialog, int row, int column) {
    return dialog.StringGrid1->item(row, column)->text();
  }
  // Types into a cell as a user does, key by key.
  static void Type(TCharmapDlg& dialog, int row, int column, const QString& text) {
    dialog.StringGrid1->setCurrentCell(row, column);
    dialog.StringGrid1->editItem(dialog.StringGrid1->item(row, column));
    auto* editor = dialog.StringGrid1->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    for (const QChar c : text) QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
    dialog.StringGrid1->setCurrentCell(0, 0);
    // The closed editor goes now, so the next cell's is the only one.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
};

TEST_F(CharmapTest, CodesAndCharactersFollowEachOtherAndACodeThatIsNoCharacterIsRefused) {
  Main().SetCharSet("abc");
  Charmap([this](TCharmapDlg& dialog) {
    EXPECT_EQ(Cell(dialog, 0, 2), "c");
    EXPECT_EQ(Cell(dialog, 1, 2), "99");
    EXPECT_EQ(Cell(dialog, 0, 3), "");
    EXPECT_EQ(Cell(dialog, 1, 3), "0");
    // A code and its character, empty for a code that is refused.
    const std::pair<QString, QString> cases[] = {
        {"$E4", QString::fromUtf8("ä")}, {"255", QString::fromUtf8("ÿ")}, {"", ""},   {"256", ""},
        {"8364", ""},                   {"$20AC", ""},                   {"-1", ""}, {"1x", ""},
    };
    const QStyle* style = dialog.StringGrid1->style();
    const int margins = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, dialog.StringGrid1) + 1);
    for (const auto& [code, character] : cases) {
      SCOPED_TRACE(code.toStdString());
      platform_.Dialogs.Messages.clear();
      Type(dialog, 1, 4, code);
      EXPECT_EQ(Cell(dialog, 0, 4), character);
      // The cell keeps what was typed, all of it in view; the error comes
      // once the edit has ended.
      EXPECT_EQ(Cell(dialog, 1, 4), code);
      EXPECT_LE(QFontMetrics(dialog.StringGrid1->item(1, 4)->font()).horizontalAdvance(code),
                dialog.StringGrid1->columnWidth(4) - margins);
      Settle();
      Settle();
      const bool refused = character.isEmpty() && !code.isEmpty();
      EXPECT_EQ(platform_.Dialogs.TextsOf(ui::MessageKind::Error).size(), refused ? 1u : 0u);
    }
    EXPECT_THROW(dialog.StringGrid1SetEditText(6, 1, "zz"), Exception);
    // A character cell holds one character.
    Type(dialog, 0, 5, QString::fromUtf8("éx"));
    EXPECT_EQ(Cell(dialog, 0, 5), QString::fromUtf8("é"));
    EXPECT_EQ(Cell(dialog, 1, 5), "233");
    // OK with a refused code keeps the dialog open and names the code again.
    platform_.Dialogs.Messages.clear();
    dialog.OKBtn->click();
    Settle();
    Settle();
    EXPECT_EQ(dialog.result(), static_cast<int>(QDialog::Rejected));
    EXPECT_EQ(platform_.Dialogs.TextsOf(ui::MessageKind::Error),
              std::vector<QString>{QString::fromUtf8("'1x' ist kein gültiger Integerwert")});
    Type(dialog, 1, 4, "$41");
    dialog.OKBtn->click();
    return dialog.result();
  });
  EXPECT_EQ(Main().GetCharSet(), std::string("abc\0A\xE9", 6));
}

TEST_F(CharmapTest, PresetsOkCancelAndTheButtonRowOffAndOn) {
  Charmap([](TCharmapDlg& dialog) {
    dialog.ButtonGerman->click();
    dialog.OKBtn->click();
    return dialog.result();
  });
  EXPECT_EQ(Main().GetCharSet(), TCharmapDlg::kGermanSet);
  // Its last two buttons type spaces.
  ui::VocabEditForm* form = Main().NewChild();
  form->EditTitle->setFocus();
  form->EditTitle->setText("a");
  form->EditTitle->end(false);
  Button("SpeedButton9")->click();
  Button("SpeedButton1")->click();
  EXPECT_EQ(form->EditTitle->text(), QString::fromUtf8("a Ä"));
  Discard(form);

  Charmap([](TCharmapDlg& dialog) {
    dialog.ButtonSpanish->click();
    dialog.CancelBtn->click();
    return dialog.result();
  });
  EXPECT_EQ(Main().GetCharSet(), TCharmapDlg::kGermanSet);
  Charmap([](TCharmapDlg& dialog) {
    dialog.Button1->click();
    return dialog.result();
  });
  EXPECT_FALSE(Main().SpeedPanel()->isVisible());
  EXPECT_EQ(Main().GetCharSet(), TCharmapDlg::kGermanSet);
  // OK with the grid as it was keeps the set and brings the row back.
  Charmap([](TCharmapDlg& dialog) {
    dialog.OKBtn->click();
    return dialog.result();
  });
  EXPECT_TRUE(Main().SpeedPanel()->isVisible());
  EXPECT_EQ(Main().GetCharSet(), TCharmapDlg::kGermanSet);
}

TEST_F(CharmapTest, AnEmptyButtonBetweenFullOnesKeepsItsPlaceAcrossARestart) {
  Charmap([](TCharmapDlg& dialog) {
    dialog.ShowCharSet("AB");
    dialog.StringGrid1SetEditText(3, 1, "68");  // D on button 4, button 3 empty
    dialog.OKBtn->click();
    return dialog.result();
  });
  CloseMain();
  EXPECT_EQ(IniFile(SettingsFile()).ReadString("Config", "CharSet", ""), std::string("AB\0D", 4));
  EXPECT_EQ(Main().GetCharSet(), std::string("AB\0D", 4));
  EXPECT_EQ(Button("SpeedButton3")->text(), "");
  EXPECT_EQ(Button("SpeedButton4")->text(), "D");
  // A set without gaps is written as it was.
  Main().SetCharSet("xyz");
  CloseMain();
  EXPECT_EQ(IniFile(SettingsFile()).ReadString("Config", "CharSet", ""), "xyz");
}

TEST_F(CharmapTest, ComposingWorksAfterLineBreaksInAWordMemo) {
  ui::VocabEditForm* form = Main().NewChild();
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->MemoSynonyms->setFocus();
  form->MemoSynonyms->setPlainText("one\ntwo\ncafe");
  form->MemoSynonyms->moveCursor(QTextCursor::End);
  Button("SpeedButton6")->click();  // acute accent
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), QString::fromUtf8("one\ntwo\ncafé"));
  QTextCursor cursor = form->MemoSynonyms->textCursor();
  cursor.setPosition(5);  // after "one\nt"
  form->MemoSynonyms->setTextCursor(cursor);
  Button("SpeedButton8")->click();  // circumflex: no composition with t
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), QString::fromUtf8("one\ntˆwo\ncafé"));
  EXPECT_EQ(form->MemoSynonyms->textCursor().position(), 6);
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test
