// SPDX-License-Identifier: GPL-3.0-or-later
// The Text page of the lesson editor window: filling it from the lesson,
// compiling it back, format errors, the typing font and mirroring.

#include <QLabel>
#include <QTabBar>

#include "document/lessoncommands.h"
#include "textpage_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageKind;
using ui::VocabEditForm;

const TFont kEnglishFont = TextToFont("Times New Roman_clRed_12_[]");
const TFont kGermanFont = TextToFont("Arial_clBlue_14_[Italic]");

class TextPageWindowTest : public TextPageTest {
 protected:
  // A window on an English-German lesson, each language in its own font.
  VocabEditForm* OpenLesson(const std::vector<MeaningPtr>& entries, const std::string& title = "") {
    auto lesson = MakeLesson("English", "Deutsch", entries);
    lesson->Title = title;
    lesson->Language1.Font = kEnglishFont;
    lesson->Language2.Font = kGermanFont;
    SaveBinary(*lesson, File("lesson.tav"));
    return Open(File("lesson.tav"));
  }

  static std::vector<std::string> HeadWords(const TMeanCollection& lesson) {
    std::vector<std::string> words;
    for (const MeaningPtr& entry : *lesson.Meanings)
      words.push_back(entry->Synonyms.Empty() ? "" : entry->Synonyms.At(0)->Text());
    return words;
  }
};

TEST_F(TextPageWindowTest, LessonGoesToTheTextPageWithCompilingAndTheMovingProgressBar) {
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 300; ++i)
    entries.push_back(MakeEntry(static_cast<std::uint8_t>(i % 5), {"word" + std::to_string(i)},
                                {"Wort" + std::to_string(i)}));
  VocabEditForm* form = OpenLesson(entries);
  struct Seen {
    int value;
    int state;
    QString word;
    bool barShown;
  };
  std::vector<Seen> seen;
  QProgressBar* bar = Main().ProgressBar();
  QObject::connect(bar, &QProgressBar::valueChanged, form, [&](int value) {
    seen.push_back({value, Main().StatusState(), Panel(0), bar->isVisible()});
  });

  form->SelectTab(VocabEditForm::kTextPage);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  ASSERT_GT(seen.size(), 20u);
  for (const Seen& s : seen) {
    EXPECT_EQ(s.state, ui::kStatusCompiling);
    EXPECT_EQ(s.word, "Compiling");
    EXPECT_TRUE(s.barShown);
  }
  // Two passes over the lines: adding them, then giving them their fonts.
  const auto restart = std::adjacent_find(seen.begin(), seen.end(),
                                          [](const Seen& a, const Seen& b) { return b.value < a.value; });
  ASSERT_NE(restart, seen.end());
  const int lineCount = static_cast<int>(form->Lesson().ToLines().size());
  EXPECT_GT(restart->value, lineCount / 2);
  EXPECT_EQ(seen.back().value, lineCount - 1);

  // Afterwards: idle, the caret at the start, the whole lesson as text.
  EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
  EXPECT_EQ(Panel(0), "");
  EXPECT_EQ(Panel(1), "");
  EXPECT_FALSE(bar->isVisible());
  EXPECT_EQ(form->MemoText->textCursor().position(), 0);
  EXPECT_FALSE(form->MemoText->textCursor().hasSelection());
  EXPECT_EQ(PageText(form), Joined(form->Lesson().ToLines()));
  // "word6 (s.)\t - \tWort6": each word in its language's font.
  const int line = static_cast<int>(PageText(form).split('\n').indexOf("word6 (s.)\t - \tWort6"));
  ASSERT_GE(line, 0);
  EXPECT_EQ(FormatAt(form, line, 0), FormatOf(kEnglishFont));
  EXPECT_EQ(FormatAt(form, line, 6), FormatOf(VocabEditForm::MemoFont()));
  EXPECT_EQ(FormatAt(form, line, 15), FormatOf(kGermanFont));
  Discard(form);
}

// A lesson longer than the first lines put in at once: the page shows
// them, fills up from the event loop, and is completed before a key, a save
// or leaving the page touches the text. The result is the document built
// in one go, and the fill is nothing the user can undo.
TEST_F(TextPageWindowTest, LongLessonIsWrittenByAWorkerAndKeysMeanwhileFollowInOrder) {
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 3000; ++i)
    entries.push_back(MakeEntry(static_cast<std::uint8_t>(i % 5), {"word" + std::to_string(i)},
                                {"Wort" + std::to_string(i)}, {"anti" + std::to_string(i)}));
  VocabEditForm* form = OpenLesson(entries);
  const std::vector<std::string> lines = form->Lesson().ToLines();
  std::unique_ptr<QTextDocument> reference(ui::NewTextDocument(lines, form->MemoText->font(), nullptr));
  ui::ShowLessonTextFonts(reference.get(), lines, form->Lesson().Language1, form->Lesson().Language2,
                          VocabEditForm::MemoFont());
  const RtfDocument whole = ui::DocumentToRich(reference.get());
  const auto rich = [form] { return ui::DocumentToRich(form->MemoText->document()); };

  enum Finish { kEventLoop, kKey, kLeavingThePage };
  const QTextDocument* shownBefore = nullptr;
  for (const Finish finish : {kEventLoop, kKey, kLeavingThePage}) {
    SCOPED_TRACE(finish);
    if (shownBefore) {
      // The page still holding the unchanged lesson's text shows it as it is;
      // a change of the lesson (even one that changes nothing) writes it anew.
      form->SelectTab(VocabEditForm::kTextPage);
      EXPECT_FALSE(form->TextFilling());
      EXPECT_EQ(form->MemoText->document(), shownBefore);
      EXPECT_EQ(form->MemoText->textCursor().position(), 0);
      form->SelectTab(VocabEditForm::kHeaderPage);
      SetLanguageFont(form->Document(), 1, kEnglishFont);
      shownBefore = nullptr;
    }
    form->SelectTab(VocabEditForm::kTextPage);
    ASSERT_TRUE(form->TextFilling());
    EXPECT_LT(form->MemoText->document()->blockCount(), static_cast<int>(lines.size()));
    EXPECT_EQ(Main().StatusState(), ui::kStatusCompiling);
    EXPECT_FALSE(form->MemoText->document()->isUndoAvailable());
    if (finish == kEventLoop) {
      while (form->TextFilling()) QCoreApplication::processEvents();
      EXPECT_EQ(rich().Paragraphs, whole.Paragraphs);
      EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
      form->SelectTab(VocabEditForm::kHeaderPage);
      shownBefore = form->MemoText->document();
    } else if (finish == kKey) {
      // Keys meanwhile wait for the whole text, in order.
      QTest::keyClick(form->MemoText, Qt::Key_End, Qt::ControlModifier);
      QTest::keyClick(form->MemoText, 'x');
      EXPECT_TRUE(form->TextFilling());
      while (form->TextFilling()) QCoreApplication::processEvents();
      EXPECT_EQ(form->MemoText->textCursor().position(), form->MemoText->document()->characterCount() - 1);
      EXPECT_TRUE(PageText(form).endsWith("x"));
      form->MemoText->undo();
      EXPECT_FALSE(form->MemoText->document()->isUndoAvailable());
      EXPECT_EQ(rich().Paragraphs, whole.Paragraphs);
      form->SelectTab(VocabEditForm::kHeaderPage);
    } else {
      form->SelectTab(VocabEditForm::kHeaderPage);
      EXPECT_FALSE(form->TextFilling());
    }
    EXPECT_EQ(form->CurrentPage(), VocabEditForm::kHeaderPage);
    EXPECT_EQ(form->Lesson().EntryCount(), 3000);
    EXPECT_EQ(form->Lesson().ToLines(), lines);
  }
  Discard(form);
}

TEST_F(TextPageWindowTest, FormatErrorKeepsThePageSelectsTheLineAndTypingClearsTheStatus) {
  VocabEditForm* form = OpenLesson({MakeEntry(1, {"house"}, {"Haus"})});
  form->SelectTab(VocabEditForm::kTextPage);
  struct Case {
    QString text;
    int badLine;
  };
  const Case cases[] = {
      {"Sp: English - Deutsch\nhouse - Haus\nbroken line\ngo - gehen", 2},
      // Of two identical faulty lines the parser reports the first.
      {"Sp: English - Deutsch\nbad\ngo - gehen\nbad", 1},
      {"Sp: English\ngo - gehen", 0},
      // A line under a language pair that is not the lesson's.
      {"Sp: English - Deutsch\nSp: Francais - Deutsch\nchat - Katze", 2},
  };
  for (const Case& c : cases) {
    TypeText(form, c.text);
    form->SelectTab(VocabEditForm::kEntriesPage);
    EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage) << c.text.toStdString();
    EXPECT_EQ(form->TabSet->currentIndex(), VocabEditForm::kTextPage);
    const QStringList lines = c.text.split('\n');
    EXPECT_EQ(Selected(form), lines[c.badLine]);
    QTextCursor expected(form->MemoText->document()->findBlockByNumber(c.badLine));
    EXPECT_EQ(form->MemoText->textCursor().selectionStart(), expected.position());
    EXPECT_EQ(Main().StatusState(), ui::kStatusError);
    EXPECT_EQ(Panel(0), "Error");
    EXPECT_EQ(Panel(1), "Format error in selected line.");
    // The lesson is the one the page was filled from.
    EXPECT_EQ(HeadWords(form->Lesson()), (std::vector<std::string>{"house"}));

    // One typed character clears the status bar; the text has changed.
    QTest::keyClicks(form->MemoText, "x");
    EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
    EXPECT_EQ(Panel(0), "");
    EXPECT_EQ(Panel(1), "");
    EXPECT_EQ(PageText(form).split('\n')[c.badLine], "x");
  }
  // Saving from this page is covered with the file commands; leave it clean.
  TypeText(form, "");
  form->SelectTab(VocabEditForm::kHeaderPage);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kHeaderPage);
  Discard(form);
}

TEST_F(TextPageWindowTest, CompilingMoreEntriesThanALessonHoldsStopsOnThePage) {
  VocabEditForm* form = OpenLesson({MakeEntry(1, {"house"}, {"Haus"})});
  form->SelectTab(VocabEditForm::kTextPage);
  QStringList lines{"Sp: English - Deutsch"};
  for (int i = 0; i <= VocabEditForm::kMaxEntries; ++i) lines << QString("w%1 - W%1").arg(i);
  TypeText(form, lines.join('\n'));
  form->SelectTab(VocabEditForm::kEntriesPage);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  EXPECT_EQ(Main().StatusState(), ui::kStatusError);
  EXPECT_EQ(Panel(0), "Error");
  EXPECT_EQ(Panel(1), "65536 entries: a lesson holds at most 65535.");
  EXPECT_EQ(HeadWords(form->Lesson()), (std::vector<std::string>{"house"}));
  EXPECT_EQ(PageText(form), lines.join('\n'));

  // One entry less is a lesson.
  lines.removeLast();
  TypeText(form, lines.join('\n'));
  form->SelectTab(VocabEditForm::kEntriesPage);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kEntriesPage);
  EXPECT_EQ(form->Lesson().EntryCount(), VocabEditForm::kMaxEntries);
  EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
  Discard(form);
}

TEST_F(TextPageWindowTest, CorrectEditReplacesAndCompactsTheLessonAndRestoresTheFixedSize) {
  VocabEditForm* form = OpenLesson({MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(0, {"go"}, {"gehen"})});
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->ScrollBarScroll(ui::ScrollCode::Bottom, 2);
  ASSERT_EQ(form->EntryIndex(), 1);
  const QSize fixed(form->FixedWidth(), form->FixedHeight());

  form->SelectTab(VocabEditForm::kTextPage);
  form->showMaximized();
  QApplication::processEvents();
  ASSERT_TRUE(form->isMaximized());
  TypeText(form,
           "Ti: Home\nSp: English - Deutsch\nhouse (s.) - Haus\nhome (s.) - Heim\n"
           "Sp: English - English\nhouse (s.) = home\nSp: Deutsch - Deutsch\nHaus (s.) = Heim\n");
  form->SelectTab(VocabEditForm::kHeaderPage);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kHeaderPage);
  EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
  EXPECT_EQ(form->EditTitle->text(), "Home");
  // The four entry lines share their words: compacted into one entry.
  EXPECT_EQ(form->Lesson().EntryCount(), 1);
  const TMeaning& entry = *form->Lesson().At(0);
  EXPECT_EQ(Texts(entry.Synonyms), (std::vector<std::string>{"house", "home"}));
  EXPECT_EQ(Texts(entry.Translations), (std::vector<std::string>{"Haus", "Heim"}));
  EXPECT_EQ(entry.Form, 1);
  EXPECT_EQ(form->EntryIndex(), 0);
  EXPECT_EQ(form->EditEntryNr->text(), "1");
  EXPECT_EQ(form->Label7->text(), "1");
  EXPECT_FALSE(form->isMaximized());
  EXPECT_EQ(form->size(), fixed);
  Discard(form);
}

TEST_F(TextPageWindowTest, WordsTheTextCannotCarryAreNamedAndTheTextStillCompiles) {
  VocabEditForm* form = OpenLesson({MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(4, {"Au:x"}, {"y"})});
  form->SelectTab(VocabEditForm::kTextPage);
  EXPECT_TRUE(platform_.Dialogs.Messages.empty()) << "a box from inside the tab strip's change signal";
  Settle();
  const std::vector<QString> warnings = platform_.Dialogs.TextsOf(MessageKind::Warning);
  ASSERT_EQ(warnings.size(), 1u);
  EXPECT_TRUE(warnings[0].endsWith(": \"Au:x\", \"y\"")) << warnings[0].toStdString();
  EXPECT_FALSE(PageText(form).contains("Au:x"));
  // Left untouched, the page reads nothing back: the lesson keeps the words.
  form->SelectTab(VocabEditForm::kHeaderPage);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kHeaderPage);
  EXPECT_EQ(form->Lesson().EntryCount(), 2);
  EXPECT_FALSE(form->HasUnsavedChanges());
  // Edited, it leaves without a format error and the author stays empty.
  form->SelectTab(VocabEditForm::kTextPage);
  form->MemoText->moveCursor(QTextCursor::End);
  form->MemoText->insertPlainText("\n");
  form->SelectTab(VocabEditForm::kHeaderPage);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kHeaderPage);
  EXPECT_EQ(form->Lesson().Author, "");
  EXPECT_EQ(form->Lesson().EntryCount(), 1);
  Discard(form);
}

TEST_F(TextPageWindowTest, TextWithoutEntriesCompilesIntoOneBlankEntry) {
  struct Case {
    QString text;
    std::string title, language1, language2;
  };
  const Case cases[] = {{"", "", "Language 1", "Language 2"},
                        {"Ti: Only a title\n\n{ a note - with a marker }\nSp: Deutsch - Francais", "Only a title",
                         "Deutsch", "Francais"}};
  for (const Case& c : cases) {
    VocabEditForm* form = OpenLesson({MakeEntry(1, {"house"}, {"Haus"})});
    form->SelectTab(VocabEditForm::kTextPage);
    TypeText(form, c.text);
    form->SelectTab(VocabEditForm::kEntriesPage);
    ASSERT_EQ(form->CurrentPage(), VocabEditForm::kEntriesPage) << c.text.toStdString();
    EXPECT_EQ(form->Lesson().Title, c.title);
    EXPECT_EQ(form->Lesson().Language1.Name, c.language1);
    EXPECT_EQ(form->Lesson().Language2.Name, c.language2);
    ASSERT_EQ(form->Lesson().EntryCount(), 1);
    EXPECT_TRUE(form->Lesson().At(0)->Synonyms.Empty());
    EXPECT_EQ(form->MemoSynonyms->toPlainText(), "");
    Discard(form);
    form->close();
    Settle();
  }
}

TEST_F(TextPageWindowTest, TypingFontFollowsTheLanguageLineTheMarkerAndParentheses) {
  VocabEditForm* form = OpenLesson({MakeEntry(1, {"house"}, {"Haus"})});
  form->SelectTab(VocabEditForm::kTextPage);
  TypeText(form, "Sp: Deutsch - English\nHaus - house\nSp: English - Deutsch\ngo  - gehen\nbig");
  const RtfCharFormat english = FormatOf(kEnglishFont);
  const RtfCharFormat german = FormatOf(kGermanFont);
  const RtfCharFormat memo = FormatOf(VocabEditForm::MemoFont());
  struct Case {
    int line, column;
    const char* typed;
    const RtfCharFormat* expected;
  };
  const Case cases[] = {
      {1, 2, "x", &german},   // left of the marker under "Deutsch - English": language 2
      {1, 5, "y", &german},   // right before the marker character
      {1, 8, "z", &english},  // right of it: language 1
      {3, 2, "(", &memo},     // "(" starts a remark in the memo font...
      {3, 3, "v", &memo},     // ...typed inside the parentheses
      {3, 4, ".", &memo},
      {3, 5, ")", &memo},     // right before the ")" still inside
      {3, 6, "w", &english},  // after the ")"
      {4, 3, "s", &english},  // no marker: the left font
  };
  for (const Case& c : cases) {
    PutCaret(form, c.line, c.column);
    QTest::keyClicks(form->MemoText, c.typed);
    EXPECT_EQ(PageText(form).split('\n')[c.line].mid(c.column, 1), c.typed);
    EXPECT_EQ(FormatAt(form, c.line, c.column), *c.expected) << c.line << ":" << c.column << " " << c.typed;
  }
  EXPECT_EQ(PageText(form).split('\n')[3], "go(v.)w  - gehen");
  Discard(form);
}

TEST_F(TextPageWindowTest, KeysThatDoNotTypeLeaveTheSelectionsFontsAlone) {
  VocabEditForm* form = OpenLesson({MakeEntry(4, {"house"}, {"Haus"})});
  form->SelectTab(VocabEditForm::kTextPage);
  const int line = static_cast<int>(PageText(form).split('\n').indexOf("house\t - \tHaus"));
  ASSERT_GE(line, 0);
  Discard(form);
  // The whole line selected: copying or extending the selection changes nothing.
  QTextCursor cursor(form->MemoText->document()->findBlockByNumber(line));
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  form->MemoText->setTextCursor(cursor);
  QTest::keyClick(form->MemoText, Qt::Key_C, Qt::ControlModifier);
  QTest::keyClick(form->MemoText, Qt::Key_Left, Qt::ShiftModifier);
  EXPECT_EQ(FormatAt(form, line, 0), FormatOf(kEnglishFont));
  EXPECT_EQ(FormatAt(form, line, 11), FormatOf(kGermanFont));
  EXPECT_FALSE(form->HasUnsavedChanges());

  // Typing over a selection: the typed text takes the font of where it lands.
  PutCaret(form, line, 10);
  cursor = form->MemoText->textCursor();
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  form->MemoText->setTextCursor(cursor);
  QTest::keyClicks(form->MemoText, "H");
  EXPECT_EQ(PageText(form).split('\n')[line], "house\t - \tH");
  EXPECT_EQ(FormatAt(form, line, 10), FormatOf(kGermanFont));
  EXPECT_TRUE(form->HasUnsavedChanges());
  // One undo step brings the replaced text back.
  form->MemoText->undo();
  EXPECT_EQ(PageText(form).split('\n')[line], "house\t - \tHaus");
  Discard(form);
}

TEST_F(TextPageWindowTest, MirrorOnTheTextPageRewritesTheTextButNotTheLesson) {
  // Opening compacts the two entries, which share "Haus", into one.
  VocabEditForm* form = OpenLesson({MakeEntry(1, {"house"}, {"Haus"}), MakeEntry(1, {"home"}, {"Haus"})});
  ActivateMain();
  form->SelectTab(VocabEditForm::kTextPage);
  const QString original = PageText(form);
  form->MirrorClick();
  EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
  EXPECT_EQ(form->MemoText->textCursor().position(), 0);
  const QString mirrored = PageText(form);
  const QStringList lines = mirrored.split('\n');
  EXPECT_TRUE(lines.contains("Sp: Deutsch\t - \tEnglish"));
  const int pair = static_cast<int>(lines.indexOf("Haus (s.)\t - \thouse"));
  ASSERT_GE(pair, 0) << PageText(form).toStdString();
  EXPECT_TRUE(lines.contains("house (s.)\t = \thome"));
  // The fonts follow the names: German on the left now.
  EXPECT_EQ(FormatAt(form, pair, 0), FormatOf(kGermanFont));
  EXPECT_EQ(FormatAt(form, pair, 14), FormatOf(kEnglishFont));
  // The window's lesson is replaced only when the page is left.
  EXPECT_EQ(form->Lesson().Language1.Name, "English");
  EXPECT_EQ(HeadWords(form->Lesson()), (std::vector<std::string>{"house"}));
  EXPECT_TRUE(form->HasUnsavedChanges());

  // The mirror is one step of the page's own undo, by key and by menu; taken
  // back, the page holds no edit and the lesson no change.
  struct Step {
    const char* how;
    bool mirrored;  // afterwards
  };
  const Step steps[] = {{"Ctrl+Z", false}, {"MenuRedo", true}, {"MenuUndo", false}, {"Ctrl+Y", true}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.how);
    const std::string how = step.how;
    form->MemoText->setFocus();
    form->UpdateEditMenu();
    if (how.starts_with("Menu")) {
      auto* item = form->findChild<QAction*>(step.how);
      ASSERT_TRUE(item && item->isEnabled());
      item->trigger();
    } else {
      EXPECT_TRUE(form->findChild<QAction*>(step.mirrored ? "MenuRedo" : "MenuUndo")->isEnabled());
      QTest::keyClick(form->MemoText, how == "Ctrl+Z" ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
    }
    WaitForInput();
    EXPECT_EQ(PageText(form), step.mirrored ? mirrored : original);
    EXPECT_EQ(FormatAt(form, pair, 0), FormatOf(step.mirrored ? kGermanFont : kEnglishFont));
    EXPECT_EQ(form->HasUnsavedChanges(), step.mirrored);
    EXPECT_EQ(form->windowTitle().startsWith('*'), step.mirrored);
    EXPECT_EQ(form->RecoveryImage().has_value(), step.mirrored);
  }

  form->SelectTab(VocabEditForm::kHeaderPage);
  EXPECT_EQ(form->Lesson().Language1.Name, "Deutsch");
  EXPECT_EQ(HeadWords(form->Lesson()), (std::vector<std::string>{"Haus"}));

  // A faulty line: selected, the text and the status bar stay as they are.
  form->SelectTab(VocabEditForm::kTextPage);
  TypeText(form, "Sp: Deutsch - English\nHaus - house\nno marker here");
  form->MirrorClick();
  EXPECT_EQ(Selected(form), "no marker here");
  EXPECT_EQ(Main().StatusState(), ui::kStatusIdle);
  EXPECT_EQ(PageText(form), "Sp: Deutsch - English\nHaus - house\nno marker here");
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test
