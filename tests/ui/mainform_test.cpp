// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: start-up, settings, language, character buttons, status
// bar, child windows, menus and exit.

#include <QAction>
#include <QScrollBar>
#include <set>
#include <QActionGroup>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QTest>
#include <filesystem>

#include "components/compostatusbar.h"
#include "base/inifile.h"
#include "base/messages.h"
#include "ui/common/qtstrings.h"
#include "ui/mainwindow/windowarrangement.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::MessageKind;

class MainFormTest : public UiTest {
 protected:
  std::vector<std::string> OpenFileNames() {
    std::vector<std::string> names;
    for (ui::VocabEditForm* form : Main().LessonWindows()) names.push_back(ExtractFileName(form->FileName()));
    return names;
  }

  QStringList MenuBarTitles() {
    QStringList titles;
    for (QAction* action : Main().menuBar()->actions())
      if (action->isVisible()) titles << action->text();
    return titles;
  }

  // Whether the buttons that act on a lesson window are enabled, in one string.
  std::string LessonButtons() {
    std::string state;
    for (const char* name : {"SaveBtn", "PrintBtn", "CutBtn", "CopyBtn", "PasteBtn", "SpeedButton1", "SpeedButton9"})
      state += Button(name)->isEnabled() ? '1' : '0';
    return state;
  }

  bool WindowMenuVisible() { return Child<QMenu>(&Main(), "MenuWindows")->menuAction()->isVisible(); }

  MeaningPtr Entry(const std::string& word, const std::string& translation) {
    return MakeEntry(1, {word}, {translation});
  }
};

TEST_F(MainFormTest, StartWithoutArgumentsAndWithoutLessonsShowsAnEmptyFrame) {
  Main().OpenStartupFiles({});
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
  EXPECT_FALSE(WindowMenuVisible());
  EXPECT_EQ(LessonButtons(), "0000000");
  EXPECT_TRUE(Button("NewBtn")->isEnabled());
  EXPECT_TRUE(Button("OpenBtn")->isEnabled());
  EXPECT_EQ(Main().windowTitle(), "Vocatrix");
  EXPECT_EQ(MenuBarTitles(), (QStringList{"&Datei", "&Extras", "&Hilfe"}));
  EXPECT_EQ(Main().GetCharSet(), "\xC6\xE6\x8C\x9C\x60\xB4\xB8\x88\x98");
  EXPECT_EQ(Main().Language(), "English");
  // Tool tips show the hint before the bar.
  EXPECT_EQ(Button("OpenBtn")->toolTip(), QString::fromUtf8("Öffnen"));
  EXPECT_EQ(Button("OpenBtn")->property("hint").toString(), QString::fromUtf8("Öffnen|"));
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
}

TEST_F(MainFormTest, StartupReopensTheLessonsOfTheLastExitAndReportsAMissingOne) {
  const std::string a = MakeLessonFile("a.tav", {Entry("a", "x")});
  const std::string c = MakeLessonFile("c.tav", {Entry("c", "z")});
  WriteSettings("[Lessons]\nLesson3=" + a + "\nLesson2=" + File("missing.tav") + "\nLesson1=" + c +
                "\nLesson4=\n");
  Main().OpenStartupFiles({});
  // Opened from the last line to the first; the newest window is the active one.
  EXPECT_EQ(OpenFileNames(), (std::vector<std::string>{"a.tav", "c.tav"}));
  ASSERT_EQ(platform_.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(platform_.Dialogs.Messages[0].Kind, MessageKind::Error);
  EXPECT_TRUE(platform_.Dialogs.Messages[0].Text.contains("missing.tav"));
  EXPECT_TRUE(WindowMenuVisible());
}

TEST_F(MainFormTest, CommandLineFilesWinOverTheLessonsSection) {
  const std::string a = MakeLessonFile("a.tav", {Entry("a", "x")});
  WriteSettings("[Lessons]\nLesson1=" + a + "\n");
  const std::string b = MakeLessonFile("b.tav", {Entry("b", "y")});
  Main().OpenStartupFiles({ui::FileNameToQString(b)});
  EXPECT_EQ(OpenFileNames(), (std::vector<std::string>{"b.tav"}));
}

TEST_F(MainFormTest, UnknownExtensionOnTheCommandLineLeavesNoWindow) {
  const std::string doc = File("letter.doc");
  WriteFile(doc, "text");
  Main().OpenStartupFiles({ui::FileNameToQString(doc)});
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
  EXPECT_EQ(platform_.Dialogs.TextsOf(MessageKind::Error),
            (std::vector<QString>{ui::FileNameToQString("'" + doc + "' is not a lesson file.")}));
  EXPECT_EQ(LessonButtons(), "0000000");
  EXPECT_FALSE(WindowMenuVisible());
}

TEST_F(MainFormTest, AFailedOpenShowsNoHalfBuiltWindowBehindItsErrorBox) {
  WriteFile(File("letter.doc"), "text");
  const char* names[] = {"missing.tav", "missing.txt", "letter.doc"};
  for (const char* name : names) {
    platform_.Dialogs.WhileShown = [&](const QString&) {
      EXPECT_EQ(LessonButtons(), "0000000") << name;
      EXPECT_FALSE(WindowMenuVisible()) << name;
      EXPECT_TRUE(Main().ClientArea()->subWindowList().isEmpty()) << name;
    };
    EXPECT_EQ(Open(File(name)), nullptr);
  }
  ASSERT_EQ(platform_.Dialogs.Messages.size(), std::size(names));
  // Each box stands over the frame.
  for (const AskedMessage& message : platform_.Dialogs.Messages) EXPECT_EQ(message.Parent, &Main());
}

TEST_F(MainFormTest, ShortCharacterSetLeavesTheLastButtonsEmptyAndIsWrittenBackAsIs) {
  WriteSettings("[Config]\nCharSet=\xE4\xF6\xFC\xDF\n");
  Main().NewChild();
  const char* names[] = {"SpeedButton1", "SpeedButton2", "SpeedButton3", "SpeedButton4", "SpeedButton5",
                         "SpeedButton6", "SpeedButton7", "SpeedButton8", "SpeedButton9"};
  EXPECT_EQ(Button(names[0])->text(), QString::fromUtf8("ä"));
  EXPECT_EQ(Button(names[3])->text(), QString::fromUtf8("ß"));
  for (int i = 4; i < 9; ++i) EXPECT_EQ(Button(names[i])->text(), "") << names[i];

  ui::VocabEditForm* form = Main().ActiveEditForm();
  form->EditTitle->setFocus();
  form->EditTitle->setText("x");
  Button("SpeedButton5")->click();  // empty: nothing happens
  EXPECT_EQ(form->EditTitle->text(), "x");
  Button("SpeedButton2")->click();
  EXPECT_EQ(form->EditTitle->text(), QString::fromUtf8("xö"));

  CloseMain();
  EXPECT_EQ(IniFile(SettingsFile()).ReadString("Config", "CharSet", "?"), "\xE4\xF6\xFC\xDF");
}

TEST_F(MainFormTest, CharacterSetWithBlanksSurvivesARestart) {
  const std::string german = "\xC4\xD6\xDC\xE4\xF6\xFC\xDF  ";
  Main().SetCharSet(german);
  CloseMain();
  EXPECT_EQ(Main().GetCharSet(), german);
}

TEST_F(MainFormTest, CharacterButtonsComposeInTheFocusedFieldOfTheActiveWindow) {
  ui::VocabEditForm* form = Main().NewChild();
  form->SelectTab(ui::VocabEditForm::kEntriesPage);
  form->MemoSynonyms->setFocus();
  form->MemoSynonyms->setPlainText("cafe");
  form->MemoSynonyms->moveCursor(QTextCursor::End);
  Button("SpeedButton6")->click();  // acute accent
  EXPECT_EQ(form->MemoSynonyms->toPlainText(), QString::fromUtf8("café"));
  EXPECT_TRUE(form->ControlsChanged());

  form->ComboBoxForm->setFocus();  // not a text field
  Button("SpeedButton1")->click();
  EXPECT_EQ(form->ComboBoxForm->currentText(), "other");
}

TEST_F(MainFormTest, LanguageMenuIsBuiltFromTheLanguageList) {
  WriteFile(File("lang.ini"),
            "[Languages]\nen=English\nde=Deutsch\nnone=\nfr=Fran\xE7" "ais\n"
            "[LanguageFiles]\nDeutsch=deutsch.ini\n");
  WriteFile(File("deutsch.ini"), "[Vocatrix]\nName=Vokabeltrainer\n[Dynamic]\nCompiling=\xDC" "bersetze\n");
  WriteSettings("[Config]\nLanguageIni=lang.ini\nLanguage=Deutsch\n");
  Main().SetLanguage(Main().Language());
  QMenu* menu = Child<QMenu>(&Main(), "MenuLanguage");
  QStringList captions;
  QString checked;
  for (QAction* item : menu->actions()) {
    if (!item->isVisible()) continue;
    captions << item->text();
    if (item->isChecked()) checked = item->text();
  }
  EXPECT_EQ(captions, (QStringList{"English", "Deutsch", QString::fromUtf8("Français")}));
  EXPECT_EQ(checked, "Deutsch");
  EXPECT_EQ(Main().windowTitle(), "Vokabeltrainer");
  EXPECT_EQ(CurrentLanguage(), "Deutsch");
  Main().SetStatus(ui::kStatusCompiling);
  EXPECT_EQ(Main().StatusBar()->PanelText(0), QString::fromUtf8("Übersetze"));

  // A lesson window's own language items choose the language too.
  ui::VocabEditForm* form = Main().NewChild();
  QList<QAction*> items = form->LanguageItems()->actions();
  ASSERT_EQ(items.size(), 3);
  EXPECT_TRUE(items[1]->isChecked());
  items[2]->trigger();
  EXPECT_EQ(Main().Language(), "Fran\xE7" "ais");
  EXPECT_EQ(Main().windowTitle(), "Vocatrix");
  EXPECT_TRUE(menu->actions()[3]->isChecked());  // the frame's item follows

  CloseMain();
  EXPECT_EQ(IniFile(SettingsFile()).ReadString("Config", "Language", "?"), "Fran\xE7" "ais");
}

TEST_F(MainFormTest, GermanShowsItsExtraHelpTopicsAndHelpFile) {
  struct Case {
    std::string language;
    bool extras;
    std::string helpFile;
  };
  for (const Case& c : {Case{"Deutsch", true, "German.hlp"}, Case{"English", false, "English.hlp"},
                        Case{"deutsch", false, "English.hlp"}, Case{"", false, "English.hlp"}}) {
    Main().SetLanguage(c.language);
    for (const char* name : {"MenuTips", "MenuHolly", "N3"})
      EXPECT_EQ(Child<QAction>(&Main(), name)->isVisible(), c.extras) << c.language << " " << name;
    EXPECT_EQ(Main().HelpFile(), ProgramFolder() + c.helpFile);
  }
}

TEST_F(MainFormTest, StatusStatesShowTheirWordsAndTheProgressBar) {
  struct Case {
    int state;
    const char* panel0;
    const char* panel1;
    bool progress;
  };
  for (const Case& c : {Case{ui::kStatusError, "Error", "Format error in selected line.", false},
                        Case{ui::kStatusCompiling, "Compiling", "", true}, Case{ui::kStatusIdle, "", "", false},
                        Case{7, "", "", false}}) {
    Main().SetStatus(c.state);
    EXPECT_EQ(Main().StatusState(), c.state);
    EXPECT_EQ(Main().StatusBar()->PanelText(0), c.panel0);
    EXPECT_EQ(Main().StatusBar()->PanelText(1), c.panel1);
    EXPECT_EQ(Main().ProgressBar()->isVisible(), c.progress);
  }
  Main().resize(700, 400);
  QApplication::processEvents();
  EXPECT_EQ(Main().ProgressBar()->width(), 600);
  EXPECT_EQ(Main().ProgressBar()->geometry().topLeft(), QPoint(86, 6));
}

TEST_F(MainFormTest, SettingsThatCannotBeWrittenAreReportedOnceInTheStatusBar) {
  for (const bool blocked : {true, false}) {
    SCOPED_TRACE(blocked);
    // A folder where the settings file belongs stops every write, root's too.
    if (blocked) std::filesystem::create_directory(SettingsFile());
    EXPECT_EQ(Main().ReportUnwritableSettings(), blocked);
    EXPECT_EQ(ui::QStringToFileName(Main().StatusBar()->PanelText(1)),
              blocked ? "Settings cannot be saved in " + SettingsFile() + "." : "");
    Main().SetStatus(ui::kStatusIdle);
    EXPECT_FALSE(Main().ReportUnwritableSettings());
    EXPECT_EQ(Main().StatusBar()->PanelText(1), "");
    CloseMain();
    std::filesystem::remove(SettingsFile());
  }
}

TEST_F(MainFormTest, TwoDroppedFilesOpenInDropOrder) {
  const std::string a = MakeLessonFile("a.tav", {Entry("a", "x")});
  const std::string b = MakeLessonFile("b.tav", {Entry("b", "y")});
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(ui::FileNameToQString(a)), QUrl::fromLocalFile(ui::FileNameToQString(b))});
  // Dragged over the client area, the files are taken by the main window.
  QWidget* target = Child<QWidget>(&Main(), "ClientArea");
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  EXPECT_TRUE(drop.isAccepted());
  // The window opened last is the active one, so child order is b, a.
  EXPECT_EQ(OpenFileNames(), (std::vector<std::string>{"b.tav", "a.tav"}));
  EXPECT_EQ(ExtractFileName(Main().ActiveEditForm()->FileName()), "b.tav");
}

TEST_F(MainFormTest, ExitWritesTheOpenLessonsByWindowPosition) {
  const std::string a = MakeLessonFile("a.tav", {Entry("a", "x")});
  const std::string b = MakeLessonFile("b.tav", {Entry("b", "y")});
  Open(a);
  ui::VocabEditForm* untitled = Main().NewChild();
  Open(b);
  Discard(untitled);
  WriteSettings("[Lessons]\nLesson9=old\n");
  Main().close();
  EXPECT_FALSE(Main().isVisible());
  CloseMain();
  // Child order: b (active), untitled, a; written from the highest number down.
  EXPECT_EQ(IniFile(SettingsFile()).ReadSectionValues("Lessons"),
            (std::vector<std::string>{"Lesson3=" + a, "Lesson2=", "Lesson1=" + b}));
  // The next start opens b, then a (so a ends on top), and skips the empty entry.
  Main().OpenStartupFiles({});
  EXPECT_EQ(OpenFileNames(), (std::vector<std::string>{"a.tav", "b.tav"}));
  EXPECT_TRUE(platform_.Dialogs.Messages.empty());
}

TEST_F(MainFormTest, TheFrameComesBackWhereItWasAndNeverOffTheScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  struct Case {
    QRect left;
    bool same;  // comes back exactly; otherwise on the screen
  };
  for (const Case& c : {Case{QRect(screen.x() + 40, screen.y() + 30, 500, 400), true},
                        Case{QRect(screen.right() + 3000, screen.bottom() + 2000, 500, 400), false}}) {
    Main().setGeometry(c.left);
    CloseMain();
    const QRect back = Main().geometry();
    if (c.same) EXPECT_EQ(back, c.left);
    else EXPECT_TRUE(screen.intersects(back)) << back.x() << "," << back.y();
    EXPECT_EQ(back.size(), c.left.size());
  }
}

TEST_F(MainFormTest, TheFileMenusListTheLastEightLessonsNewestFirstAcrossStarts) {
  std::vector<std::string> files;
  for (int i = 0; i < 10; ++i) files.push_back(MakeLessonFile("l" + std::to_string(i) + ".tav", {Entry("a", "b")}));
  for (const std::string& file : files) Open(file);
  // A save puts its file at the top too.
  ui::VocabEditForm* saved = Main().OpenFile(files[3]);
  platform_.Dialogs.FileAnswers = {ui::FileNameToQString(File("saved as.tav"))};
  saved->MenuSaveAsClick();
  const auto listed = [this](QMenu* menu) {
    emit menu->aboutToShow();
    QStringList items;
    for (QAction* item : menu->actions())
      if (item->objectName() == "MenuRecentFile" && !item->isSeparator()) items << item->toolTip();
    return items;
  };
  const QStringList expected{ui::FileNameToQString(File("saved as.tav")), ui::FileNameToQString(files[3]),
                             ui::FileNameToQString(files[9]), ui::FileNameToQString(files[8]),
                             ui::FileNameToQString(files[7]), ui::FileNameToQString(files[6]),
                             ui::FileNameToQString(files[5]), ui::FileNameToQString(files[4])};
  // The lesson window's File menu, shown while it is active, and twice: the list is not doubled.
  QMenu* windowMenu = Child<QMenu>(saved, "MenuFile");
  listed(windowMenu);
  EXPECT_EQ(listed(windowMenu), expected);
  for (ui::VocabEditForm* form : Main().LessonWindows()) Discard(form);
  CloseMain();
  // The next start lists them in the main window's File menu; a file gone
  // since leaves the list when chosen.
  std::filesystem::remove(files[9]);
  QMenu* mainMenu = Child<QMenu>(&Main(), "MenuFile");
  EXPECT_EQ(listed(mainMenu), expected);
  for (QAction* item : mainMenu->actions())
    if (item->toolTip() == ui::FileNameToQString(files[9])) item->trigger();
  EXPECT_EQ(platform_.Dialogs.TextsOf(ui::MessageKind::Error).size(), 1u);
  EXPECT_FALSE(listed(mainMenu).contains(ui::FileNameToQString(files[9])));
}

TEST_F(MainFormTest, ExitIsRefusedWhenALessonWindowCancels) {
  ui::VocabEditForm* form = Main().NewChild();
  form->EditTitle->setText("Title");
  ASSERT_TRUE(form->HasUnsavedChanges());
  platform_.Dialogs.MessageAnswers = {ui::MessageAnswer::Cancel};
  EXPECT_FALSE(Main().close());
  EXPECT_TRUE(Main().isVisible());
  EXPECT_EQ(Main().LessonWindows().size(), 1);
  ASSERT_EQ(platform_.Dialogs.Messages.size(), 1u);
  EXPECT_EQ(platform_.Dialogs.Messages[0].Text, "Do you want to save 'New Lesson'?");
  EXPECT_EQ(platform_.Dialogs.Messages[0].Buttons, ui::MessageButtons::YesNoCancel);
}

TEST_F(MainFormTest, ActiveLessonWindowMergesItsMenusIntoTheMenuBar) {
  Main().NewChild();
  EXPECT_EQ(MenuBarTitles(), (QStringList{"&Datei", "&Bearbeiten", "Ex&tras", "&Fenster", "&Hilfe"}));
  // The File menu in the bar is the window's own.
  QMenu* file = Main().menuBar()->actions()[0]->menu();
  EXPECT_EQ(file->parent(), Main().ActiveEditForm());
  platform_.Dialogs.MessageAnswers = {ui::MessageAnswer::No};
  Main().ActiveEditForm()->close();
  Settle();
  EXPECT_EQ(MenuBarTitles(), (QStringList{"&Datei", "&Extras", "&Hilfe"}));
}

TEST_F(MainFormTest, ShortcutsFollowTheMergedMenu) {
  Main().activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&Main()));
  QTest::keyClick(&Main(), Qt::Key_N, Qt::ControlModifier);
  ASSERT_EQ(Main().LessonWindows().size(), 1);
  // Ctrl+N now reaches the window's own New item, Ctrl+S its Save.
  QTest::keyClick(Main().ActiveEditForm()->EditTitle, Qt::Key_N, Qt::ControlModifier);
  EXPECT_EQ(Main().LessonWindows().size(), 2);
  platform_.Dialogs.FileAnswers = {std::nullopt};
  QTest::keyClick(Main().ActiveEditForm()->EditTitle, Qt::Key_S, Qt::ControlModifier);
  ASSERT_EQ(platform_.Dialogs.FileDialogs.size(), 1u);
  EXPECT_TRUE(platform_.Dialogs.FileDialogs[0].Save);
  for (ui::VocabEditForm* form : Main().LessonWindows()) Discard(form);
}

TEST_F(MainFormTest, WindowMenuListsTheWindowsWithTheActiveOneChecked) {
  ui::VocabEditForm* first = Main().NewChild();
  ui::VocabEditForm* second = Main().NewChild();
  EXPECT_EQ(first->objectName(), "VocabEditForm");
  EXPECT_EQ(second->objectName(), "VocabEditForm_1");
  Main().ClientArea()->setActiveSubWindow(first);
  Main().UpdateWindowMenu();
  // Every window listed after a plain separator; only the active one marked.
  QStringList listed;
  bool list = false;
  for (QAction* item : Child<QMenu>(&Main(), "MenuWindows")->actions()) {
    if (item->isSeparator()) {
      EXPECT_TRUE(item->text().isEmpty());
      list = true;
    } else if (list) {
      listed << item->text() + (item->isCheckable() ? (item->isChecked() ? "(*)" : "( )") : "");
    }
  }
  EXPECT_EQ(listed, (QStringList{"&1 New Lesson(*)", "&2 New Lesson 2"}));
  for (const char* separator : {"Separator3", "N2"}) EXPECT_TRUE(Child<QAction>(&Main(), separator)->text().isEmpty());

  Main().TileHorizontalClick();
  EXPECT_EQ(first->x(), 0);
  EXPECT_EQ(second->x(), 0);
  EXPECT_LT(first->y(), second->y());
  // The windows keep their fixed size on the Header page.
  EXPECT_EQ(first->size(), QSize(first->FixedWidth(), first->FixedHeight()));

  first->showMinimized();
  second->showMinimized();
  Main().ArrangeIconsClick();
  EXPECT_EQ(first->y(), second->y());
  EXPECT_EQ(first->geometry().bottom(), Main().ClientArea()->viewport()->height() - 1);
  for (ui::VocabEditForm* form : {first, second}) Discard(form);
}

TEST_F(MainFormTest, NewWindowsCascadeInsideTheClientAreaAndTiledOnesCoverNoOther) {
  const QRect area = Main().ClientArea()->viewport()->rect();
  QList<ui::VocabEditForm*> forms;
  for (int i = 0; i < 8; ++i) {
    forms << Main().NewChild();
    EXPECT_TRUE(area.contains(forms.back()->geometry())) << i;
  }
  // Each one title bar below and right of the one before, until the next
  // would stick out: then from the top left corner again.
  EXPECT_EQ(forms[0]->pos(), QPoint(0, 0));
  EXPECT_GT(forms[1]->x(), forms[0]->x());
  EXPECT_EQ(forms[1]->x() - forms[0]->x(), forms[1]->y() - forms[0]->y());
  EXPECT_TRUE(std::any_of(forms.begin() + 2, forms.end(), [](QWidget* w) { return w->pos() == QPoint(0, 0); }));

  // Tiled, fixed-size windows keep their size and stand in a grid inside the
  // frame, which does not scroll; cascaded, every caption stays in sight.
  Main().resize(1100, 800);
  Settle();
  const QRect frame = Main().ClientArea()->viewport()->rect();
  for (auto tile : {&ui::MainForm::TileVerticalClick, &ui::MainForm::TileHorizontalClick, &ui::MainForm::CascadeClick}) {
    (Main().*tile)();
    Settle();
    for (ui::VocabEditForm* form : forms) {
      EXPECT_TRUE(frame.contains(form->geometry()));
      EXPECT_EQ(form->size(), QSize(form->FixedWidth(), form->FixedHeight()));
    }
    EXPECT_EQ(Main().ClientArea()->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(Main().ClientArea()->verticalScrollBar()->maximum(), 0);
  }
  for (ui::VocabEditForm* form : forms) Discard(form);
}

TEST(WindowArrangement, TilesFillAGridInsideTheFrameAndCascadesKeepCaptionsInSight) {
  using ui::TWindowLimits;
  const QRect area(0, 0, 1000, 700);
  const TWindowLimits fixed{QSize(330, 290), QSize(330, 290)};
  const TWindowLimits free{QSize(100, 80), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX)};
  struct Case {
    std::vector<TWindowLimits> windows;
    bool sideBySide;
    int columns;  // distinct x positions
    int rows;     // distinct y positions
  };
  const std::vector<Case> cases = {
      {{free, free, free}, true, 3, 1},
      {{free, free, free}, false, 1, 3},
      {{fixed, fixed, fixed, fixed}, true, 3, 2},  // three fit across, two down
      {{fixed, fixed, fixed, fixed}, false, 2, 2},
      {std::vector<TWindowLimits>(8, fixed), true, 3, 3},  // more than fit: overlapping, inside
      {{fixed, free, free}, true, 3, 1},
  };
  for (const Case& c : cases) {
    const std::vector<QRect> rects = ui::TileRects(area, c.windows, c.sideBySide);
    std::set<int> xs, ys;
    for (std::size_t i = 0; i < rects.size(); ++i) {
      EXPECT_TRUE(area.contains(rects[i])) << i;
      EXPECT_EQ(rects[i].size(), rects[i].size().expandedTo(c.windows[i].Minimum).boundedTo(c.windows[i].Maximum));
      xs.insert(rects[i].x());
      ys.insert(rects[i].y());
      // Windows that fit their cells cover none of the others.
      if (c.windows.size() < 8) {
        for (std::size_t j = 0; j < i; ++j) EXPECT_FALSE(rects[i].intersects(rects[j])) << i << " " << j;
      }
    }
    EXPECT_EQ(static_cast<int>(xs.size()), c.columns) << c.windows.size() << " " << c.sideBySide;
    EXPECT_EQ(static_cast<int>(ys.size()), c.rows) << c.windows.size() << " " << c.sideBySide;
  }
  // Twelve fixed windows cascade in cascades side by side; no window covers
  // the title bar of one below it.
  const int step = 20;
  const std::vector<QSize> sizes(12, QSize(330, 290));
  const std::vector<QPoint> at = ui::CascadePositions(area, sizes, step);
  for (std::size_t i = 0; i < at.size(); ++i) {
    const QRect window(at[i], sizes[i]);
    EXPECT_TRUE(area.contains(window)) << i;
    const QRect caption(at[i], QSize(sizes[i].width(), step));
    for (std::size_t above = i + 1; above < at.size(); ++above)
      EXPECT_FALSE(QRect(at[above], sizes[above]).intersects(caption)) << i << " under " << above;
  }
}

TEST_F(MainFormTest, ControlKeysCloseTheActiveChildAndMoveBetweenChildren) {
  ActivateMain();
  QList<ui::VocabEditForm*> forms;
  for (int i = 0; i < 3; ++i) {
    forms << Main().NewChild();
    Discard(forms.back());
  }
  const auto press = [](int key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, static_cast<Qt::Key>(key), modifiers);
  };
  ASSERT_EQ(Main().ActiveEditForm(), forms[2]);
  press(Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(Main().ActiveEditForm(), forms[0]);
  press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(Main().ActiveEditForm(), forms[2]);
  press(Qt::Key_F4, Qt::ControlModifier);
  Settle();
  EXPECT_EQ(Main().LessonWindows().size(), 2);
  EXPECT_FALSE(Main().LessonWindows().contains(forms[2]));
}

TEST_F(MainFormTest, PrivateFontsAreAddedAtStartAndRemovedAtExit) {
  WriteSettings("[Config]\nFontIni=fonts.ini\n");
  WriteFile(File("fonts.ini"), "[Fonts]\nF1=symbols.ttf\n");
  Main();
  EXPECT_EQ(platform_.Fonts.Added, (std::vector<QString>{ui::FileNameToQString(File("symbols.ttf"))}));
  EXPECT_TRUE(platform_.Fonts.Removed.empty());
  CloseMain();
  EXPECT_EQ(platform_.Fonts.Removed, platform_.Fonts.Added);
}

TEST_F(MainFormTest, EveryItemIsWiredAndTheTranslatorsAndBrowserItemsStayHidden) {
  // Hidden items count as disabled in Qt; their keys reach them.
  for (QAction* item : Main().findChildren<QAction*>()) {
    if (!item->isSeparator() && !item->objectName().isEmpty() && item->isVisible()) {
      EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }
  }
  EXPECT_FALSE(Child<QAction>(&Main(), "MenuBrowse")->isVisible());
  EXPECT_FALSE(Child<QAction>(&Main(), "MenuSaveLanguage")->isVisible());
  ui::VocabEditForm* form = Main().NewChild();
  for (QAction* item : form->findChildren<QAction*>()) {
    if (!item->isSeparator() && !item->objectName().isEmpty() && item->isVisible() && item->menu() == nullptr &&
        item->parent() != form->MemoPopUp) {
      EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
    }
  }
  EXPECT_FALSE(Child<QAction>(form, "MenuBrowse")->isVisible());
  EXPECT_TRUE(Button("PrintBtn")->isEnabled());
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test
