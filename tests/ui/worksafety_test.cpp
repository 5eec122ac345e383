// SPDX-License-Identifier: GPL-3.0-or-later
// No user action may lose work: a box opened from inside a widget's change
// signal, an Esc meant for a popup, Exit beside other windows, help over a
// running dialog, an Alt key that no menu uses.

#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "ui/characters/charmapdlg.h"
#include "ui/dialogs/combinedlg.h"
#include "ui/dialogs/finddlg.h"
#include "ui/dialogs/helpwindow.h"
#include "ui/lessonwindow/memotext.h"
#include "ui/platform/qtplatform.h"
#include "child_process.h"
#include "ui_fixture.h"

namespace vocatrix::test {
namespace {

using ui::VocabEditForm;

// Waits up to two seconds for `done`.
bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 200 && !done(); ++i) QTest::qWait(10);
  return done();
}

// The help window the program's real viewer shows.
ui::THelpWindow* OpenHelpWindow() {
  for (QWidget* window : QApplication::topLevelWidgets())
    if (auto* help = qobject_cast<ui::THelpWindow*>(window)) return help;
  return nullptr;
}

// Message boxes that really run, modal, as the program's do; a user clicks
// OK once each is up.
class RealBoxes : public ScriptedDialogs {
 public:
  ui::MessageAnswer Message(QWidget* parent, ui::MessageKind kind, ui::MessageButtons buttons,
                            const QString& text) override {
    Messages.push_back({parent, kind, buttons, text});
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
        box->button(QMessageBox::Ok)->click();
    });
    clicker.start(20);
    return real_.Message(parent, kind, buttons, text);
  }
  // The program's own dialogs run as the program runs them.
  int Exec(QDialog& dialog) override { return real_.Exec(dialog); }

 private:
  ui::QtDialogs real_;
};

class WorkSafetyTest : public UiTest {
 protected:
  // A main window on real message boxes, dialogs and help window.
  ui::MainForm& RealMain() {
    main_ = std::make_unique<ui::MainForm>(
        ui::Platform{boxes_, platform_.Sound, platform_.Fonts, help_, platform_.Web});
    main_->show();
    return *main_;
  }
  RealBoxes boxes_;
  ui::QtHelpViewer help_;
};

TEST_F(WorkSafetyTest, ACodeThatIsNoCharacterIsRefusedWhenItsEditEndsAndTheCellKeepsAllThatWasTyped) {
  ui::MainForm& main = RealMain();
  ui::TCharmapDlg& dialog = *main.CharmapDlg();
  QTimer::singleShot(0, &dialog, [&] {
    // However the checks end, the dialog closes with a click on Cancel.
    QLineEdit* editor = nullptr;
    const auto cancel = qScopeGuard([&] { QTest::mouseClick(dialog.CancelBtn, Qt::LeftButton); });
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    const auto edit = [&](int column) {
      dialog.StringGrid1->setCurrentCell(1, column);
      editor = dialog.StringGrid1->findChild<QLineEdit*>();
      if (editor) editor->selectAll();
      return editor != nullptr;
    };
    ASSERT_TRUE(edit(4));
    // Typed as a user types it, key after key: nothing comes between the keys.
    QTest::keyClicks(editor, "8364");
    QCoreApplication::processEvents();
    EXPECT_TRUE(boxes_.Messages.empty());
    EXPECT_EQ(editor->text(), "8364");
    // The edit ends: the box comes after it, never from inside the editor.
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_TRUE(boxes_.Messages.empty());
    EXPECT_TRUE(WaitFor([&] {
      const QWidget* modal = QApplication::activeModalWidget();
      return !boxes_.Messages.empty() && !(modal && modal->inherits("QMessageBox"));
    }));
    ASSERT_EQ(boxes_.Messages.size(), 1u);
    EXPECT_EQ(boxes_.Messages[0].Text, QString::fromUtf8("'8364' ist kein gültiger Integerwert"));
    EXPECT_EQ(boxes_.Messages[0].Kind, ui::MessageKind::Error);
    EXPECT_EQ(dialog.StringGrid1->item(1, 4)->text(), "8364");
    EXPECT_EQ(dialog.StringGrid1->item(0, 4)->text(), "");
    // Cancel pressed while a refused code is still in its editor: no box after.
    ASSERT_TRUE(edit(5));
    QTest::keyClicks(editor, "999");
  });
  main.MenuCharmapClick();
  QTest::qWait(100);
  EXPECT_EQ(boxes_.Messages.size(), 1u);
}

TEST_F(WorkSafetyTest, EscMeantForAPopupLeavesTheLessonWindowOpen) {
  ActivateMain();
  VocabEditForm* form = Main().NewChild();
  Discard(form);
  form->SelectTab(VocabEditForm::kEntriesPage);
  form->MemoSynonyms->setFocus();
  const std::vector<std::pair<const char*, std::function<QWidget*()>>> popups = {
      {"a menu of the menu bar",
       [&] {
         QMenu* menu = Main().menuBar()->actions().first()->menu();
         menu->popup(Main().mapToGlobal(QPoint(10, 10)));
         return menu;
       }},
      {"the Form drop-down",
       [&] {
         form->ComboBoxForm->showPopup();
         return QApplication::activePopupWidget();
       }},
  };
  for (const auto& [name, open] : popups) {
    SCOPED_TRACE(name);
    QWidget* popup = open();
    ASSERT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget* target = QApplication::focusWidget() && QApplication::focusWidget()->window() == popup
                          ? QApplication::focusWidget()
                          : popup;
    QTest::keyClick(target, Qt::Key_Escape);
    Settle();
    EXPECT_FALSE(QApplication::activePopupWidget());
    EXPECT_EQ(Main().LessonWindows().size(), 1);
  }
  // An Esc that reaches the window itself closes it.
  form->MemoSynonyms->setFocus();
  QTest::keyClick(form->MemoSynonyms, Qt::Key_Escape);
  Settle();
  EXPECT_TRUE(Main().LessonWindows().isEmpty());
}

// The program's own message loop, run to its end in a process of its own:
// the help window (left open or closed) or the find dialog must not keep it.
const ChildRegistration exitPart("exit", [](const std::string& argument) {
  const auto bar = argument.find('|');
  const std::string folder = argument.substr(0, bar);
  const std::string variant = argument.substr(bar + 1);
  SetProgramFilePath(folder + "/vocatrix");
  ScriptedPlatform scripted;
  ui::QtHelpViewer help;
  ui::MainForm main(ui::Platform{scripted.Dialogs, scripted.Sound, scripted.Fonts, help, scripted.Web});
  main.show();
  main.NewChild();  // untouched: closing asks nothing
  QTimer::singleShot(0, &main, [&] {
    if (variant != "find") main.MenuTopicsClick();
    if (variant == "help closed") OpenHelpWindow()->close();
    if (variant == "find") main.FindDlg()->FormShow();
    main.MenuExitClick();
  });
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, [] { QApplication::exit(99); });
  watchdog.start(10000);
  const int code = QApplication::exec();
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible()) return 3;
  return code;
});

TEST_F(WorkSafetyTest, ExitEndsTheProgramClosesEveryWindowItOwnsAndWritesTheSettings) {
  for (const char* variant : {"help open", "help closed", "find"}) {
    SCOPED_TRACE(variant);
    WriteSettings("[Config]\nLanguage=English\n");
    const pid_t child = StartChildPart("exit", dir_.Path() + "|" + variant);
    ASSERT_GT(child, 0);
    EXPECT_EQ(WaitForChild(child, 60), 0);
    const std::string settings = ReadFile(SettingsFile());
    EXPECT_NE(settings.find("[Lessons]"), std::string::npos) << settings;
    EXPECT_NE(settings.find("CharSet="), std::string::npos) << settings;
  }
}

TEST_F(WorkSafetyTest, HelpFromARunningDialogComesToTheFrontAndTakesKeys) {
  ui::MainForm& main = RealMain();
  main.NewChild();  // untouched: closing asks nothing
  ui::TCombiLessonsDlg& dialog = *main.CombineDlg();
  QString typed;
  bool helpActive = false;
  QTimer::singleShot(0, &dialog, [&] {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.HelpBtn->click();
    ui::THelpWindow* help = OpenHelpWindow();
    ASSERT_NE(help, nullptr);
    helpActive = QTest::qWaitForWindowActive(help);
    help->EditSearch->setFocus();
    // Through the window system, where a window blocked by a dialog gets no keys.
    QTest::keyClick(help->windowHandle(), Qt::Key_X);
    typed = help->EditSearch->text();
    help->close();
    dialog.reject();
  });
  main.ConcatClick();
  EXPECT_TRUE(helpActive);
  EXPECT_EQ(typed, "x");
}

TEST_F(WorkSafetyTest, AnAltKeyThatNoMenuUsesTypesNothing) {
  ActivateMain();
  VocabEditForm* form = Main().NewChild();
  const std::vector<std::tuple<int, QWidget*, std::function<QString()>>> fields = {
      {VocabEditForm::kHeaderPage, form->EditTitle, [form] { return form->EditTitle->text(); }},
      {VocabEditForm::kEntriesPage, form->MemoSynonyms, [form] { return form->MemoSynonyms->toPlainText(); }},
      {VocabEditForm::kTextPage, form->MemoText, [form] { return form->MemoText->toPlainText(); }},
  };
  for (const auto& [page, field, text] : fields) {
    form->SelectTab(page);
    field->setFocus();
    const QString before = text();
    Discard(form);
    QTest::keyClick(field, Qt::Key_T, Qt::AltModifier);
    EXPECT_EQ(text(), before) << field->objectName().toStdString();
    EXPECT_FALSE(form->HasUnsavedChanges()) << field->objectName().toStdString();
  }
  // A menu's own Alt key still opens it.
  form->SelectTab(VocabEditForm::kHeaderPage);
  QTest::keyClick(form->EditTitle, Qt::Key_D, Qt::AltModifier);  // "&Datei"
  EXPECT_TRUE(WaitFor([] { return QApplication::activePopupWidget() != nullptr; }));
  QApplication::activePopupWidget()->close();
  Discard(form);
}

}  // namespace
}  // namespace vocatrix::test
