// SPDX-License-Identifier: GPL-3.0-or-later
// Spell checking in the lesson window: the underlines of the word memos and
// the Text page, the context menu's suggestions and "Add to dictionary", the
// Check spelling dialog and the note about a missing dictionary.

#include <QAbstractItemView>
#include <QMenu>
#include <QPushButton>
#include <QThreadPool>
#include <QTreeView>
#include <filesystem>

#include "core/spelling_util.h"
#include "spelling/spellcheck.h"
#include "ui/common/qtfonts.h"
#include "ui/spelling/spellingdlg.h"
#include "ui/spelling/spellmarks.h"
#include "textpage_fixture.h"

namespace vocatrix::test {
namespace {

using ui::TSpellMarks;
using ui::VocabEditForm;

// Words and where they are: "word" for a memo, "line:word" for the Text page.
using Marked = std::vector<std::string>;

// An English dictionary in UTF-8 and a German one in ISO-8859-1, which the
// settings give the lessons' languages.
class SpellingTest : public TextPageTest {
 protected:
  void SetUp() override {
    TextPageTest::SetUp();
    const std::string tryCharacters = "esianrtolcdugmphbyfvkwzESIANRTOLCDUGMPHBYFVKWZ";
    WriteDictionary(dir_.Path(), "en_T", "UTF-8",
                    {"house", "big", "small", "tree", "the", "one", "two", "green", "well", "known",
                     "caf\xC3\xA9", "na\xC3\xAFve"},
                    tryCharacters);
    WriteDictionary(dir_.Path(), "de_T", "ISO8859-1",
                    {"Haus", "Baum", "gro\xDF", "klein", "gr\xFCn", "eins", "zwei", "Stra\xDF" "e"}, tryCharacters);
    WriteSettings("[Dictionaries]\r\nEnglish=en_T.dic\r\nDeutsch=de_T\r\nVulcan=none\r\n");
    SetDictionaryPath(dir_.Path());
  }
  void TearDown() override {
    TextPageTest::TearDown();
    ::unsetenv("DICPATH");
  }
  static void SetDictionaryPath(const std::string& folder) { ::setenv("DICPATH", folder.c_str(), 1); }

  // Lets the dictionaries a window asked for load, on their worker threads.
  static void WaitForDictionaries(const VocabEditForm* form) {
    QElapsedTimer clock;
    clock.start();
    while (form->LoadingDictionaries() && clock.elapsed() < 20000) WaitForInput();
    EXPECT_FALSE(form->LoadingDictionaries());
  }
  static VocabEditForm* FormOf(QWidget* widget) {
    while (widget && !qobject_cast<VocabEditForm*>(widget)) widget = widget->parentWidget();
    return qobject_cast<VocabEditForm*>(widget);
  }
  // The marks of an editor, checked through, with the dictionaries that
  // checking asks for (those of a "Sp:" line) loaded.
  static TSpellMarks& MarksOf(QPlainTextEdit* editor) {
    TSpellMarks* marks = TSpellMarks::Of(editor->document());
    EXPECT_NE(marks, nullptr);
    const VocabEditForm* form = FormOf(editor);
    do {
      WaitForDictionaries(form);
      marks->Finish();
    } while (form->LoadingDictionaries());
    return *marks;
  }
  // F7, and the list once the check is through.
  static ui::TSpellingDlg* CheckSpelling(VocabEditForm* form) {
    form->MenuCheckSpellingClick();
    ui::TSpellingDlg* dialog = form->SpellingDlg();
    EXPECT_NE(dialog, nullptr);
    QElapsedTimer clock;
    clock.start();
    while (dialog && dialog->Running() && clock.elapsed() < 60000) WaitForInput();
    EXPECT_TRUE(dialog && dialog->Done());
    return dialog;
  }
  // The underlined words of a memo, or of the Text page with their lines.
  static Marked Underlined(QPlainTextEdit* editor, bool withLines = false) {
    MarksOf(editor);
    Marked words;
    for (QTextBlock block = editor->document()->begin(); block.isValid(); block = block.next())
      for (const auto& [start, length] : TSpellMarks::MarksOf(block))
        words.push_back((withLines ? std::to_string(block.blockNumber()) + ":" : std::string()) +
                        block.text().mid(start, length).toStdString());
    return words;
  }
  // The viewport point of the middle of a word of an editor.
  static QPoint PointOf(QPlainTextEdit* editor, const QString& word) {
    const int at = editor->document()->toPlainText().indexOf(word);
    EXPECT_GE(at, 0) << word.toStdString();
    QTextCursor cursor(editor->document());
    cursor.setPosition(at + word.size() / 2);
    return editor->cursorRect(cursor).center();
  }
  static QAction* Item(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
      if (action->text() == text) return action;
    return nullptr;
  }
  static QStringList Texts(QMenu* menu) {
    QStringList texts;
    for (QAction* action : menu->actions()) texts << action->text();
    return texts;
  }
  static std::vector<std::string> Lines(const QTextDocument* document) {
    std::vector<std::string> lines;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
      lines.push_back(ui::ToLessonString(block.text()));
    return lines;
  }
  // What the core's rule for lesson text underlines in the page.
  static Marked RuleOf(VocabEditForm* form) {
    const std::vector<std::string> lines = Lines(form->MemoText->document());
    Marked words;
    for (const MisspeltTextWord& w : MisspeltInLessonText(*form->Speller(), lines))
      words.push_back(std::to_string(w.Line) + ":" + ui::ToQString(lines[w.Line].substr(w.Start, w.Length)).toStdString());
    return words;
  }
  // Runs the event loop until `done`, for at most a minute.
  static bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 60000) WaitForInput();
    return done();
  }
  VocabEditForm* OpenLesson(const std::vector<MeaningPtr>& entries, const std::string& language1 = "English",
                            const std::string& language2 = "Deutsch", const std::string& name = "lesson.tav") {
    return Open(MakeLessonFile(name, entries, language1, language2));
  }
};

TEST_F(SpellingTest, EachMemoUnderlinesExactlyTheUnknownWordsOfItsOwnLanguage) {
  VocabEditForm* form = OpenLesson({MakeEntry(1, {"house", "hosue the tree"}, {"Haus", "Huas", "house"},
                                              {"small Baum", "3rd MP3 2024"}, {"gro\xDF", "Grn\xFC"})});
  ASSERT_NE(form, nullptr);
  form->SelectTab(VocabEditForm::kEntriesPage);
  QPlainTextEdit* memos[] = {form->MemoSynonyms, form->MemoTranslations, form->MemoAntonyms, form->MemoTransvertions};
  for (QPlainTextEdit* memo : memos) {
    // The underlines are no edit: nothing to undo, nothing modified.
    const int revision = memo->document()->revision();
    const int undo = memo->document()->availableUndoSteps();
    Underlined(memo);
    EXPECT_EQ(memo->document()->revision(), revision);
    EXPECT_EQ(memo->document()->availableUndoSteps(), undo);
    EXPECT_FALSE(memo->document()->isModified());
  }
  EXPECT_FALSE(form->HasUnsavedChanges());
  const std::pair<QPlainTextEdit*, Marked> shown[] = {
      {form->MemoSynonyms, {"hosue"}},
      {form->MemoTranslations, {"Huas", "house"}},
      {form->MemoAntonyms, {"Baum"}},
      {form->MemoTransvertions, {"Grnü"}},
  };
  for (const auto& [memo, words] : shown) EXPECT_EQ(Underlined(memo), words) << memo->objectName().toStdString();

  // Typing: accented words convert into each dictionary's encoding; words
  // with a character no lesson can hold are never underlined for it.
  const std::pair<QString, Marked> typed[] = {
      {QString::fromUtf8("café naïve cafe"), {"cafe"}},
      {QString::fromUtf8("Łódź hosue"), {"hosue"}},
      {QString::fromUtf8("naïveŁ house-Ωmega tree"), {}},
      {QString::fromUtf8("€uro Mr€"), {"uro", "Mr"}},
      {QString::fromUtf8("Straße"), {"Straße"}},
  };
  for (const auto& [text, words] : typed) {
    form->MemoSynonyms->setPlainText(text);
    // The changed line is checked at once, not only from the event loop.
    EXPECT_FALSE(MarksOf(form->MemoSynonyms).Pending()) << text.toStdString();
    EXPECT_EQ(Underlined(form->MemoSynonyms), words) << text.toStdString();
  }
  form->MemoTranslations->setPlainText(QString::fromUtf8("Straße Strasse"));
  EXPECT_EQ(Underlined(form->MemoTranslations), Marked{"Strasse"});
}

TEST_F(SpellingTest, TheTextPageUnderlinesWordsOfEachSideNeverTagsMarkersOrRemarks) {
  VocabEditForm* form = OpenLesson({MakeEntry(1, {"house"}, {"Haus"})});
  ASSERT_NE(form, nullptr);
  form->SelectTab(VocabEditForm::kTextPage);
  TypeText(form, QString::fromUtf8("Ti: Hosue und Hoff\n"
                                   "{ a remark about hosue\n"
                                   "Sp: English - Deutsch\n"
                                   "Fo: Arial_clBlack_10_[Bold] - Ariall\n"
                                   "hosue (s.) - Huas (s.)\n"
                                   "the tre (v.) awy - Baum\n"
                                   "one+one = zwei\n"
                                   "big # smal\n"
                                   "Sp: Deutsch - English\n"
                                   "Huas - hosue\n"
                                   "grün Łódźx - tre\n"
                                   "Sp: Vulcan - Deutsch\n"
                                   "qapla - Huas"));
  const int undo = form->MemoText->document()->availableUndoSteps();
  const int revision = form->MemoText->document()->revision();
  const Marked expected = {"4:hosue", "4:Huas", "5:tre", "6:one", "7:smal", "9:Huas", "9:hosue", "10:tre"};
  EXPECT_EQ(Underlined(form->MemoText, true), expected);
  EXPECT_EQ(form->MemoText->document()->availableUndoSteps(), undo);
  EXPECT_EQ(form->MemoText->document()->revision(), revision);
  Discard(form);

  // The languages come from the text's "Sp:" lines, not from the lesson's
  // names (a new lesson's, here): a text file shown there names its own.
  VocabEditForm* fresh = Main().NewChild();
  fresh->SelectTab(VocabEditForm::kTextPage);
  TypeText(fresh, "hosue - Huas\nSp: Deutsch - English\nHuas - hosue\nSp: English - Deutsch\nhosue - Huas");
  EXPECT_EQ(Underlined(fresh->MemoText, true), (Marked{"2:Huas", "2:hosue", "4:hosue", "4:Huas"}));
  Discard(fresh);
}

TEST_F(SpellingTest, ALongTextPageIsCheckedInSlicesAndEditsRecheckOnlyWhatTheyChange) {
  // Distinct unknown words (compacting keeps every entry) beside known ones.
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 6000; ++i) {
    std::string word;
    for (int n = i + 26 * 26; n > 0; n /= 26) word += static_cast<char>('a' + n % 26);
    entries.push_back(i % 7 == 3 ? MakeEntry(1, {"hosue " + word}, {"Haus " + word, "Bamu"})
                                 : MakeEntry(0, {"tree " + word}, {"Baum " + word}));
  }
  VocabEditForm* form = OpenLesson(entries);
  ASSERT_NE(form, nullptr);
  form->SelectTab(VocabEditForm::kTextPage);
  // The page fills and is checked from the event loop, without a key.
  ASSERT_TRUE(form->TextFilling());
  QElapsedTimer clock;
  clock.start();
  while (form->TextFilling() && clock.elapsed() < 60000) QApplication::processEvents();
  QTextDocument* document = form->MemoText->document();
  TSpellMarks* marks = TSpellMarks::Of(document);
  ASSERT_NE(marks, nullptr);
  while (marks->Pending() && clock.elapsed() < 60000) QApplication::processEvents();
  EXPECT_FALSE(marks->Pending());
  const Marked all = Underlined(form->MemoText, true);
  EXPECT_GE(all.size(), 2u * 6000);
  EXPECT_EQ(all, RuleOf(form));

  // A typed word is checked at once; the rest of the page stays as it was.
  const std::vector<std::string> lines = Lines(document);
  const int line = static_cast<int>(lines.size()) - 4;
  ASSERT_GT(line, 5000);
  PutCaret(form, line, 0);
  form->MemoText->textCursor().insertText("smal ");
  EXPECT_FALSE(marks->Pending());
  EXPECT_EQ(Underlined(form->MemoText, true), RuleOf(form));

  // A new "Sp:" line changes the languages of every line after it: checked
  // from the event loop.
  int sp = 0;
  while (lines[static_cast<std::size_t>(sp)].rfind("Sp:", 0) != 0) ++sp;
  PutCaret(form, sp + 1, 0);
  form->MemoText->textCursor().insertText("Sp: Deutsch - English\n");
  EXPECT_TRUE(marks->Pending());
  EXPECT_EQ(Underlined(form->MemoText, true), RuleOf(form));
  EXPECT_GT(Underlined(form->MemoText, true).size(), 9000u);
  Discard(form);
}

TEST_F(SpellingTest, TheContextMenuReplacesAWordOrAddsItToTheDictionaryOfEveryWindow) {
  VocabEditForm* first = OpenLesson({MakeEntry(1, {"hosue"}, {"Huas"})});
  VocabEditForm* second = OpenLesson({MakeEntry(1, {"tree hosue"}, {"Baum"})}, "English", "Deutsch", "other.tav");
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  first->SelectTab(VocabEditForm::kEntriesPage);
  second->SelectTab(VocabEditForm::kEntriesPage);
  ASSERT_EQ(Underlined(second->MemoSynonyms), Marked{"hosue"});

  // Suggestions and "Add to dictionary" come above the editor's own items.
  std::unique_ptr<QMenu> menu(first->ContextMenuOf(first->MemoTranslations, PointOf(first->MemoTranslations, "Huas")));
  const QStringList texts = Texts(menu.get());
  ASSERT_GE(texts.size(), 4);
  EXPECT_EQ(texts.front(), "Haus");
  const qsizetype add = texts.indexOf("Add to dictionary");
  ASSERT_GE(add, 1);
  EXPECT_TRUE(texts.at(add + 1).isEmpty());  // the separator
  EXPECT_TRUE(texts.mid(add + 2).join(' ').contains("Copy"));
  ASSERT_NE(Item(menu.get(), "Haus"), nullptr);
  Item(menu.get(), "Haus")->trigger();
  EXPECT_EQ(first->MemoTranslations->toPlainText(), "Haus");
  EXPECT_TRUE(first->HasUnsavedChanges());
  EXPECT_EQ(Underlined(first->MemoTranslations), Marked{});

  // Elsewhere in the memo and on words that are right: the editor's menu alone.
  menu.reset(first->ContextMenuOf(first->MemoTranslations, PointOf(first->MemoTranslations, "Haus")));
  EXPECT_EQ(Item(menu.get(), "Add to dictionary"), nullptr);

  menu.reset(first->ContextMenuOf(first->MemoSynonyms, PointOf(first->MemoSynonyms, "hosue")));
  ASSERT_NE(Item(menu.get(), "house"), nullptr);
  ASSERT_NE(Item(menu.get(), "Add to dictionary"), nullptr);
  Item(menu.get(), "Add to dictionary")->trigger();
  Settle();
  EXPECT_EQ(Underlined(first->MemoSynonyms), Marked{});
  EXPECT_EQ(Underlined(second->MemoSynonyms), Marked{});
  EXPECT_EQ(ReadFile(File("words-en_T.txt")), "hosue\n");
  EXPECT_FALSE(std::filesystem::exists(File("words-de_T.txt")));

  // The Text page offers the same, for the word's own language.
  second->SelectTab(VocabEditForm::kTextPage);
  TypeText(second, "Sp: English - Deutsch\nhosue - Bamu\n");
  Underlined(second->MemoText);
  menu.reset(second->ContextMenuOf(second->MemoText, PointOf(second->MemoText, "Bamu")));
  ASSERT_NE(Item(menu.get(), "Baum"), nullptr);
  ASSERT_NE(Item(menu.get(), "Add to dictionary"), nullptr);
  Item(menu.get(), "Add to dictionary")->trigger();
  Settle();
  EXPECT_EQ(Underlined(second->MemoText, true), Marked{});
  EXPECT_EQ(ReadFile(File("words-de_T.txt")), "Bamu\n");
  Discard(first);
  Discard(second);
}

TEST_F(SpellingTest, CheckSpellingListsEveryUnknownWordAndAClickShowsItsEntry) {
  VocabEditForm* form = OpenLesson({MakeEntry(1, {"house"}, {"Haus"}),
                                    MakeEntry(1, {"hosue", "big"}, {"Huas"}, {"smal"}, {"klein"}),
                                    MakeEntry(1, {"tree"}, {"Baum", "Bamu"})});
  ASSERT_NE(form, nullptr);
  form->SelectTab(VocabEditForm::kEntriesPage);
  // An edit not yet stored is checked too.
  form->MemoSynonyms->setPlainText("house\nhuose");
  ui::TSpellingDlg* dialog = CheckSpelling(form);
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  const auto rows = [dialog] {
    std::vector<std::string> rows;
    const QAbstractItemModel* model = dialog->ListWords->model();
    for (int row = 0; row < model->rowCount(); ++row) {
      QStringList cells;
      for (int column = 0; column < model->columnCount(); ++column)
        cells << model->index(row, column).data().toString();
      rows.push_back(cells.join('|').toStdString());
    }
    return rows;
  };
  EXPECT_EQ(rows(), (std::vector<std::string>{"1|English|huose", "2|English|hosue", "2|Deutsch|Huas",
                                              "2|English|smal", "3|Deutsch|Bamu"}));
  EXPECT_EQ(dialog->LabelCount->text(), "Unknown words: 5");

  // A click shows the entry on the Entries page, from any page.
  form->SelectTab(VocabEditForm::kHeaderPage);
  const auto click = [dialog](int row) {
    const QRect rect = dialog->ListWords->visualRect(dialog->ListWords->model()->index(row, 2));
    QTest::mouseClick(dialog->ListWords->viewport(), Qt::LeftButton, {}, rect.center());
  };
  click(4);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kEntriesPage);
  EXPECT_EQ(form->EntryIndex(), 2);
  EXPECT_EQ(form->MemoTranslations->toPlainText(), "Baum\nBamu");
  // An edit there is stored before the next entry shows.
  form->MemoTranslations->setPlainText("Baum");
  click(1);
  EXPECT_EQ(form->EntryIndex(), 1);
  EXPECT_EQ(form->Lesson().At(2)->KindTexts(kTranslations), (std::vector<std::string>{"Baum"}));

  // From the Text page its text is read back first.
  form->SelectTab(VocabEditForm::kTextPage);
  TypeText(form, "Sp: English - Deutsch\nthe tre - Baum\n");
  CheckSpelling(form);
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kEntriesPage);
  EXPECT_EQ(rows(), std::vector<std::string>{"1|English|tre"});
  // An error in the text keeps the page and the list.
  form->SelectTab(VocabEditForm::kTextPage);
  TypeText(form, "Sp: English - Deutsch\nnomarker\n");
  form->MenuCheckSpellingClick();
  EXPECT_EQ(form->CurrentPage(), VocabEditForm::kTextPage);
  EXPECT_EQ(rows(), std::vector<std::string>{"1|English|tre"});
  Discard(form);
}

TEST_F(SpellingTest, DictionariesLoadBesideTheWindowAndTheUnderlinesAndTheCheckComeOnceTheyAreThere) {
  auto lesson = MakeLesson("English", "Deutsch", {MakeEntry(1, {"hosue"}, {"Huas"}), MakeEntry(1, {"tree"}, {"Bamu"})});
  lesson->Language1.Font.Size = 8;
  lesson->Language2.Font.Size = 20;
  SaveBinary(*lesson, File("fonts.tav"));
  VocabEditForm* form = Open(File("fonts.tav"));
  ASSERT_NE(form, nullptr);
  form->SelectTab(VocabEditForm::kEntriesPage);
  // Checking a memo asks for the dictionaries, which load meanwhile.
  TSpellMarks* marks = TSpellMarks::Of(form->MemoSynonyms->document());
  marks->Finish();
  EXPECT_TRUE(form->LoadingDictionaries());
  EXPECT_TRUE(TSpellMarks::MarksOf(form->MemoSynonyms->document()->firstBlock()).empty());
  // F7 waits for them; F7 again starts no second check.
  form->MenuCheckSpellingClick();
  ui::TSpellingDlg* dialog = form->SpellingDlg();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->Waiting());
  EXPECT_EQ(dialog->LabelCount->text(), "Loading the dictionary of English, Deutsch...");
  EXPECT_TRUE(dialog->ProgressCheck->isVisible());
  EXPECT_TRUE(dialog->ButtonCancel->isVisible());
  form->MenuCheckSpellingClick();
  EXPECT_TRUE(dialog->Waiting());
  ASSERT_TRUE(WaitFor([&] { return !dialog->Running() && !marks->Pending(); }));
  EXPECT_TRUE(dialog->Done());
  EXPECT_FALSE(dialog->ButtonCancel->isVisible());
  EXPECT_EQ(dialog->Model().Words(), (std::vector<UnknownWord>{{0, 1, "hosue"}, {0, 2, "Huas"}, {1, 2, "Bamu"}}));
  // The underlines came without a key.
  EXPECT_EQ(TSpellMarks::MarksOf(form->MemoSynonyms->document()->firstBlock()),
            (std::vector<std::pair<int, int>>{{0, 5}}));
  // Rows of one height, but the 20-point words are not cut off.
  const QRect row = dialog->ListWords->visualRect(dialog->ListWords->model()->index(1, 2));
  EXPECT_GE(row.height(), QFontMetrics(ui::ToQFont(lesson->Language2.Font)).height());

  // Cancelled while it waits: nothing listed. A window closed while its
  // dictionaries load drops them once they are there.
  VocabEditForm* french = OpenLesson({MakeEntry(1, {"hosue"}, {"maison"})}, "English", "Fran\xE7" "ais", "fr.tav");
  WriteDictionary(dir_.Path(), "fr_FR", "UTF-8", {"maison"});
  french->MenuCheckSpellingClick();
  ASSERT_TRUE(french->SpellingDlg()->Waiting());
  french->SpellingDlg()->ButtonCancel->click();
  EXPECT_FALSE(french->SpellingDlg()->Running());
  EXPECT_EQ(french->SpellingDlg()->LabelCount->text(), "Cancelled after 0 of 1 entries. Unknown words: 0");
  EXPECT_TRUE(french->LoadingDictionaries());
  french->close();
  Settle();
  QThreadPool::globalInstance()->waitForDone();
  Settle();
  EXPECT_EQ(Main().LessonWindows().size(), 1);
  Discard(form);
}

TEST_F(SpellingTest, CheckingALongLessonLeavesTheWindowFreeAndCancelOrClosingStopsIt) {
  const std::optional<DictionaryFiles> english = DictionaryChooser().Find("en_US");
  const std::optional<DictionaryFiles> german = DictionaryChooser().Find("de_DE");
  if (!english || !german) GTEST_SKIP() << "en_US and de_DE are not installed";
  WriteSettings("");
  ::unsetenv("DICPATH");
  // Distinct words, most of them unknown.
  std::vector<MeaningPtr> entries;
  for (int i = 0; i < 40000; ++i) {
    std::string word;
    for (int n = i + 26 * 26 * 26; n > 0; n /= 26) word += static_cast<char>('a' + n % 26);
    entries.push_back(MakeEntry(1, {word + " house", "the " + word + "ing"}, {"Haus " + word + "en"}));
  }
  VocabEditForm* form = OpenLesson(entries);
  ASSERT_NE(form, nullptr);
  form->Speller();
  WaitForDictionaries(form);
  // What the check on the interface thread gives, from spellers of its own
  // (the window's remember no answer yet).
  const std::vector<UnknownWord> expected = CheckLessonSpelling(
      form->Lesson(), TLessonSpeller(std::make_shared<TSpeller>(*english, std::string()),
                                     std::make_shared<TSpeller>(*german, std::string())));
  ASSERT_GT(expected.size(), 80000u);

  // Cancel, once it is on its way: the unknown words of the entries checked.
  form->MenuCheckSpellingClick();
  ui::TSpellingDlg* dialog = form->SpellingDlg();
  ASSERT_TRUE(dialog->Running());
  ASSERT_TRUE(WaitFor([&] { return dialog->ProgressCheck->value() > 0 || !dialog->Running(); }));
  EXPECT_TRUE(dialog->LabelCount->text().startsWith("Checking spelling: ")) << dialog->LabelCount->text().toStdString();
  dialog->ButtonCancel->click();
  EXPECT_FALSE(dialog->Running());
  EXPECT_FALSE(dialog->Done());
  EXPECT_TRUE(dialog->LabelCount->text().startsWith("Cancelled after ")) << dialog->LabelCount->text().toStdString();
  const std::vector<UnknownWord>& partial = dialog->Model().Words();
  ASSERT_LT(partial.size(), expected.size());
  EXPECT_TRUE(std::equal(partial.begin(), partial.end(), expected.begin()));
  // Whole entries: the next word listed would be of a later entry.
  if (!partial.empty()) {
    EXPECT_GT(expected[partial.size()].EntryIndex, partial.back().EntryIndex);
  }

  // Check again; meanwhile the lesson changes and F7 starts no second
  // check: the list is that of the lesson as it was.
  dialog->ButtonCheckAgain->click();
  ASSERT_TRUE(dialog->Running());
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->MemoSynonyms->setPlainText("qqqq");
  form->StoreControls();
  form->MenuCheckSpellingClick();
  ASSERT_TRUE(WaitFor([&] { return !dialog->Running(); }));
  EXPECT_TRUE(dialog->Done());
  EXPECT_TRUE(dialog->Model().Words() == expected);
  // The next check sees the change.
  dialog->ButtonCheckAgain->click();
  ASSERT_TRUE(WaitFor([&] { return !dialog->Running(); }));
  EXPECT_EQ(dialog->Model().Words().front(), (UnknownWord{0, 1, "qqqq"}));

  // Closing the dialog stops the check; so does closing the window.
  dialog->ButtonCheckAgain->click();
  ASSERT_TRUE(dialog->Running());
  dialog->ButtonClose->click();
  EXPECT_FALSE(dialog->Running());
  form->MenuCheckSpellingClick();
  ASSERT_TRUE(form->SpellingDlg()->Running());
  Discard(form);
  form->close();
  Settle();
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
}

TEST_F(SpellingTest, ALanguageWithoutDictionaryIsNotCheckedAndTheStatusBarSaysSoOnce) {
  const std::pair<std::string, bool> rows[] = {
      {"Klingon", true},      // no dictionary: said once
      {"Klingon", false},     // said already
      {"Vulcan", false},      // switched off in the settings
      {"Language 1", false},  // a new lesson's name
  };
  int file = 0;
  VocabEditForm* form = nullptr;
  for (const auto& [language, said] : rows) {
    Main().SetStatus(ui::kStatusIdle);
    form = OpenLesson({MakeEntry(1, {"qapla hosue"}, {"Huas"})}, language, "Deutsch",
                                     "lesson" + std::to_string(++file) + ".tav");
    ASSERT_NE(form, nullptr);
    form->SelectTab(VocabEditForm::kEntriesPage);
    EXPECT_EQ(Underlined(form->MemoSynonyms), Marked{}) << language;
    EXPECT_EQ(Underlined(form->MemoTranslations), Marked{"Huas"}) << language;
    EXPECT_EQ(Panel(1).contains(QString::fromStdString(language)), said) << language;
  }
  // The note goes with the next key, as every note does.
  Main().ShowNote("");
  VocabEditForm* romulan = OpenLesson({MakeEntry(1, {"qapla"}, {"Huas"})}, "Romulan", "Deutsch", "romulan.tav");
  romulan->SelectTab(VocabEditForm::kEntriesPage);
  Underlined(romulan->MemoSynonyms);
  ASSERT_TRUE(Panel(1).contains("Romulan"));
  QTest::keyClick(romulan->MemoSynonyms, Qt::Key_End);
  EXPECT_FALSE(Panel(1).contains("Romulan"));
  Main().ClientArea()->setActiveSubWindow(form);
  // Named on the Header page, the language is checked once the edit is done.
  form->SelectTab(VocabEditForm::kHeaderPage);
  form->EditLanguage1->setText("English");
  EXPECT_EQ(Underlined(form->MemoSynonyms), Marked{});
  emit form->EditLanguage1->editingFinished();
  EXPECT_EQ(Underlined(form->MemoSynonyms), (Marked{"qapla", "hosue"}));
  Discard(form);
}

TEST_F(SpellingTest, TheInstalledDictionariesCheckEnglishAndGerman) {
  for (const char* name : {"en_US", "de_DE"})
    if (!std::filesystem::exists(std::string("/usr/share/hunspell/") + name + ".dic"))
      GTEST_SKIP() << name << " is not installed";
  WriteSettings("");
  ::unsetenv("DICPATH");
  VocabEditForm* form = OpenLesson({MakeEntry(1, {"receive recieve"}, {"Stra\xDF" "e Huas gr\xFCn"})});
  ASSERT_NE(form, nullptr);
  form->SelectTab(VocabEditForm::kEntriesPage);
  EXPECT_EQ(Underlined(form->MemoSynonyms), Marked{"recieve"});
  EXPECT_EQ(Underlined(form->MemoTranslations), Marked{"Huas"});
}

}  // namespace
}  // namespace vocatrix::test
