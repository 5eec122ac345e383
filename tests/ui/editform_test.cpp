// SPDX-License-Identifier: GPL-3.0-or-later
// The text window and the lesson browser.

#include <sys/stat.h>
#include <unistd.h>

#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>
#include <QTextEdit>

#include "base/safesave.h"
#include "ui/textwindow/editform.h"
#include "ui/common/qtstrings.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageAnswer;
using ui::MessageKind;
using ui::TEditForm;

class EditFormTest : public UiTest {
 protected:
  TEditForm* TextWindow(const QString& text = {}) {
    TEditForm* form = Main().NewTextWindow();
    if (!text.isEmpty()) Type(form, text);
    return form;
  }
  // Replaces the text as the user does by typing over everything.
  static void Type(TEditForm* form, const QString& text) {
    form->Memo1->selectAll();
    form->Memo1->insertPlainText(text);
  }
  void AnswerSave(const std::string& path) { platform_.Dialogs.FileAnswers.push_back(ui::FileNameToQString(path)); }
  QStringList MenuBarTitles() {
    QStringList titles;
    for (QAction* action : Main().menuBar()->actions())
      if (action->isVisible()) titles << action->text();
    return titles;
  }
};

TEST_F(EditFormTest, SaveWritesTheTextKeepsABackupAndSendsReadOnlyFilesToSaveAs) {
  TEditForm* form = TextWindow("first\nline two");
  EXPECT_EQ(form->windowTitle(), "Untitled");
  EXPECT_TRUE(form->Modified());
  // Never saved: straight to the dialog; a new file leaves no backup.
  const std::string notes = File("notes.txt");
  AnswerSave(notes);
  EXPECT_TRUE(form->Save1Click());
  EXPECT_EQ(platform_.Dialogs.FileDialogs.back().Request.Filter.left(10), "Text Files");
  EXPECT_EQ(ReadFile(notes), "first\r\nline two\r\n");
  EXPECT_FALSE(FileExists(File("notes.BAK")));
  EXPECT_EQ(form->windowTitle(), "notes.txt");
  EXPECT_FALSE(form->Modified());
  // Saving again keeps the previous content in notes.BAK, an older one replaced.
  WriteFile(File("notes.BAK"), "old backup");
  Type(form, "second");
  EXPECT_TRUE(form->Save1Click());
  EXPECT_EQ(ReadFile(notes), "second\r\n");
  EXPECT_EQ(ReadFile(File("notes.BAK")), "first\r\nline two\r\n");
  // A read-only file: the warning, then the dialog.
  ::chmod(notes.c_str(), 0444);
  Type(form, "third");
  const std::string other = File("other.txt");
  AnswerSave(other);
  EXPECT_TRUE(form->Save1Click());
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Warning), (std::vector<QString>{"notes.txt is read only."}));
  EXPECT_EQ(ReadFile(notes), "second\r\n");
  EXPECT_EQ(ReadFile(other), "third\r\n");
  EXPECT_EQ(form->PathName(), other);
  // A folder with a dot keeps its name: the backup of my.docs/notes.
  ::mkdir(File("my.docs").c_str(), 0755);
  WriteFile(File("my.docs/notes"), "before");
  Type(form, "after");
  AnswerSave(File("my.docs/notes"));
  form->SaveAs1Click();
  EXPECT_EQ(ReadFile(File("my.docs/notes.BAK")), "before");
  EXPECT_FALSE(FileExists(File("my.BAK")));
}

TEST_F(EditFormTest, TheCloseQuestionDecidesAndAFailedSaveKeepsTheWindowAndItsText) {
  struct Case {
    MessageAnswer answer;
    std::optional<std::string> saveAs;  // the save dialog's answer after Yes
    bool closes;
  };
  const Case cases[] = {{MessageAnswer::Cancel, std::nullopt, false},
                        {MessageAnswer::Yes, std::nullopt, false},
                        {MessageAnswer::Yes, "saved.txt", true},
                        {MessageAnswer::No, std::nullopt, true}};
  for (const Case& c : cases) {
    TEditForm* form = TextWindow("keep me");
    platform_.Dialogs.MessageAnswers = {c.answer};
    if (c.answer == MessageAnswer::Yes) platform_.Dialogs.FileAnswers = {c.saveAs ? ui::FileNameToQString(File(*c.saveAs)) : std::optional<QString>()};
    const QPointer<TEditForm> alive(form);
    form->close();
    Settle();
    EXPECT_EQ(static_cast<bool>(alive), !c.closes);
    EXPECT_EQ(platform_.Dialogs.Messages.back().Text, "Save Changes to 'Untitled'?");
    if (alive) {
      EXPECT_EQ(alive->Memo1->toPlainText(), "keep me");
      alive->Memo1->document()->setModified(false);
      alive->close();
    }
  }
  EXPECT_EQ(ReadFile(File("saved.txt")), "keep me\r\n");
  // Unmodified: no question.
  const std::size_t asked = platform_.Dialogs.Messages.size();
  TextWindow()->close();
  EXPECT_EQ(platform_.Dialogs.Messages.size(), asked);
  // Exit asks a modified text window too, and stays when it cancels.
  TextWindow("unsaved");
  platform_.Dialogs.MessageAnswers = {MessageAnswer::Cancel};
  EXPECT_FALSE(Main().close());
  Main().ClientArea()->subWindowList().first()->findChild<QTextEdit*>()->document()->setModified(false);
}

TEST_F(EditFormTest, WordWrapAlignmentAndMergedMenusBesideALessonWindow) {
  TEditForm* form = TextWindow("a line long enough to be wrapped somewhere in a small window");
  // An untitled window is named in the interface language.
  WriteSettings("[LanguageFiles]\nTest=test.ini\n");
  WriteFile(File("test.ini"), "[Dynamic]\nUntitled=Sans titre\n");
  Main().SetLanguage("Test");
  EXPECT_EQ(form->windowTitle(), "Sans titre");
  Main().SetLanguage("");
  EXPECT_FALSE(form->WordWrap1->isChecked());
  EXPECT_EQ(form->Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  form->WordWrap1->trigger();
  EXPECT_TRUE(form->WordWrap1->isChecked());
  EXPECT_EQ(form->Memo1->lineWrapMode(), QTextEdit::WidgetWidth);
  EXPECT_EQ(form->Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  form->WordWrap1->trigger();
  EXPECT_EQ(form->Memo1->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_TRUE(form->Left1->isChecked());
  for (QAction* item : {form->Center1, form->Right1, form->Left1}) {
    item->trigger();
    int checked = 0;
    for (QAction* each : {form->Left1, form->Right1, form->Center1}) checked += each->isChecked();
    EXPECT_EQ(checked, 1);
    EXPECT_TRUE(item->isChecked());
  }
  form->Center1->trigger();
  EXPECT_EQ(form->Memo1->document()->firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
  EXPECT_TRUE(form->Modified());  // the text typed; alignment changes none of it

  // Beside a lesson window each brings its own menus.
  ui::VocabEditForm* lesson = Main().NewChild();
  EXPECT_EQ(MenuBarTitles(), (QStringList{"&Datei", "&Bearbeiten", "Ex&tras", "&Fenster", "&Hilfe"}));
  Main().ClientArea()->setActiveSubWindow(form);
  EXPECT_EQ(MenuBarTitles(), (QStringList{"&File", "&Edit", "&Character", "&Fenster", "&Hilfe"}));
  Discard(lesson);
  form->Memo1->document()->setModified(false);
}

TEST_F(EditFormTest, OpenReadsUtf8OrWindows1252AndSavesTheSameWay) {
  WriteFile(File("utf8.txt"), "gr\xC3\xBC\xC3\x9F");
  WriteFile(File("ansi.txt"), "gr\xFC\xDF");
  for (const char* name : {"utf8.txt", "ansi.txt"}) {
    TEditForm* form = TextWindow();
    const std::string before = ReadFile(File(name));
    form->Open(File(name));
    EXPECT_EQ(form->Memo1->toPlainText(), QString::fromUtf8("grüß")) << name;
    EXPECT_FALSE(form->Modified());
    form->Memo1->append("!");
    form->Save1Click();
    EXPECT_EQ(ReadFile(File(name)), before + "\r\n!\r\n") << name;
  }
  EXPECT_THROW(TextWindow()->Open(File("missing.txt")), Exception);
}

class BrowseTest : public EditFormTest {
 protected:
  void Lesson(const std::string& path, const std::string& title) {
    auto lesson = MakeLesson("Deutsch", "English", {MakeEntry(1, {"Haus"}, {"house"})});
    lesson->Title = title;
    SaveBinary(*lesson, File(path));
  }
  // Browses the folder `folder`; the text window made.
  TEditForm* Browse(const std::string& folder) {
    platform_.Dialogs.FileAnswers = {ui::FileNameToQString(File(folder))};
    Main().MenuBrowseClick();
    return qobject_cast<TEditForm*>(Main().ClientArea()->currentSubWindow());
  }
  static QStringList Lines(TEditForm* form) { return form->Memo1->toPlainText().split('\n'); }
};

TEST_F(BrowseTest, LessonsBelowTheFolderInOrderHiddenFoldersSkipped) {
  for (const char* dir : {"root", "root/a", "root/a/b", "root/.hidden", "root/c"}) ::mkdir(File(dir).c_str(), 0755);
  Lesson("root/top.tav", "not listed");
  Lesson("root/a/One.tav", "First Lesson");
  Lesson("root/a/b/two.tav", "Second");
  Lesson("root/.hidden/x.tav", "hidden");
  Lesson("root/c/three.tav", "Third");
  TEditForm* form = Browse("root");
  ASSERT_NE(form, nullptr);
  // Chosen in a folder chooser: a folder of folders only can be chosen.
  EXPECT_EQ(platform_.Dialogs.FolderDialogs, 1);
  EXPECT_EQ(Lines(form), (QStringList{"one.tav; First Lesson; ; a; ; ; Deutsch; English; 1; 2",
                                      "two.tav; Second; ; b; ; ; Deutsch; English; 1; 2",
                                      "three.tav; Third; ; c; ; ; Deutsch; English; 1; 2"}));
  EXPECT_FALSE(form->Modified());
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
  // Nothing below: an empty window.
  ::mkdir(File("flat").c_str(), 0755);
  Lesson("flat/only.tav", "x");
  EXPECT_EQ(Browse("flat")->Memo1->toPlainText(), "");
}

TEST_F(BrowseTest, ABrokenLessonAPipeOrADeviceEndsTheBrowseWithTheLinesBeforeIt) {
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
    const char* message;
  };
  const Case cases[] = {
      {"broken", [](const std::string& p) { WriteFile(p, "tavv-but-not-really"); }, "higher Version"},
      {"pipe", [](const std::string& p) { ::mkfifo(p.c_str(), 0644); }, "is not a file that can be read"},
      {"zero", [](const std::string& p) { ::symlink("/dev/zero", p.c_str()); }, "is not a file that can be read"},
  };
  for (const Case& c : cases) {
    const std::string root = std::string("r-") + c.name;
    ::mkdir(File(root).c_str(), 0755);
    ::mkdir(File(root + "/a").c_str(), 0755);
    Lesson(root + "/a/1.tav", "before");
    c.make(File(root + "/a/2.tav"));
    Lesson(root + "/a/3.tav", "after");
    platform_.Dialogs.Messages.clear();
    TEditForm* form = Browse(root);
    ASSERT_NE(form, nullptr) << c.name;
    EXPECT_EQ(Lines(form), QStringList{"1.tav; before; ; a; ; ; Deutsch; English; 1; 2"}) << c.name;
    const std::vector<QString> errors = platform_.Dialogs.TextsOf(MessageKind::Error);
    ASSERT_EQ(errors.size(), 1u) << c.name;
    EXPECT_TRUE(errors[0].contains(c.message)) << errors[0].toStdString();
    EXPECT_TRUE(errors[0].contains("2.tav")) << errors[0].toStdString();
  }
}

}  // namespace
}  // namespace vocatrix::test
