// SPDX-License-Identifier: GPL-3.0-or-later
// Menu merging, the string conversion point, dialog filters, file access
// and the application's last error box.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QEvent>
#include <QTest>
#include <QWidget>

#include "cli/cli_runner.h"
#include "core/test_util.h"
#include "model/exceptions.h"
#include "ui/application.h"
#include "ui/commandline.h"
#include "ui/mainwindow/menumerge.h"
#include "ui/platform/fileaccess.h"
#include "ui/platform/platform.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {
namespace {

using Menus = std::vector<GroupedMenu<std::string>>;

TEST(MergeMenus, ChildGroupsReplaceFrameGroupsAndJoinInGroupOrder) {
  const Menus frame = {{0, "Datei"}, {0, "Extras"}, {8, "Fenster"}, {9, "Hilfe"}};
  const Menus child = {{0, "Datei*"}, {1, "Bearbeiten"}, {2, "Extras*"}};
  EXPECT_EQ(MergeMenus(frame, child),
            (std::vector<std::string>{"Datei*", "Bearbeiten", "Extras*", "Fenster", "Hilfe"}));
  EXPECT_EQ(MergeMenus(frame, Menus{}), (std::vector<std::string>{"Datei", "Extras", "Fenster", "Hilfe"}));
  // A child group beyond the frame's last one goes to the end.
  EXPECT_EQ(MergeMenus(frame, Menus{{10, "Mehr"}}),
            (std::vector<std::string>{"Datei", "Extras", "Fenster", "Hilfe", "Mehr"}));
}

TEST(QtStrings, LessonStringsRoundTripAndForeignCharactersBecomeQuestionMarks) {
  std::string all;
  for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
  EXPECT_EQ(ToLessonString(ToQString(all)), all);
  EXPECT_EQ(ToQString("\x80\x9F"), QString::fromUtf8("€Ÿ"));

  QString rejected;
  EXPECT_EQ(ToLessonString(QString::fromUtf8("Ωmega Ω 😀 €"), &rejected), "?mega ? ? \x80");
  EXPECT_EQ(rejected, QString::fromUtf8("Ω😀"));  // each once, the emoji whole
}

TEST(DialogFilters, EachCaptionShowsOnceWithThePatternsThatWork) {
  EXPECT_EQ(QtNameFilters("Lesson (*.rtf;*.txt;*.tav)|*.rtf;*.txt;*.tav|Text (*.txt) |*.txt|All|*"),
            (QStringList{"Lesson (*.rtf *.txt *.tav)", "Text (*.txt)", "All (*)"}));
  const QString save = "Rich Text (*rtf)|*.rtf|Text (*.txt)|*.txt|tavvi (*.tav)|*.tav";
  EXPECT_EQ(QtNameFilters(save), (QStringList{"Rich Text (*.rtf)", "Text (*.txt)", "tavvi (*.tav)"}));
  EXPECT_EQ(FilterExtension(save, 3), "tav");
  EXPECT_EQ(FilterExtension(save, 1), "rtf");
  EXPECT_EQ(FilterExtension(save, 4), "");
  EXPECT_EQ(FilterExtension("All|*.*", 1), "");
}

TEST(FileAccess, ReadOnlyMeansExistingAndNotWritableAndIsRefusedBeforeTheReplaceQuestion) {
  test::TempDir dir;
  const std::string file = dir.File("a.tav");
  const std::string locked = dir.File("locked.tav");
  EXPECT_FALSE(FileIsReadOnly(file));  // missing
  test::WriteFile(file, "x");
  test::WriteFile(locked, "x");
  EXPECT_FALSE(FileIsReadOnly(file));
  ::chmod(locked.c_str(), 0444);
  EXPECT_TRUE(FileIsReadOnly(locked));  // also for the administrator

  const auto check = [](const std::string& path, bool prompt, bool refuse) {
    FileDialogRequest request;
    request.OverwritePrompt = prompt;
    request.RefuseReadOnly = refuse;
    return CheckSaveTarget(request, FileNameToQString(path));
  };
  EXPECT_EQ(check(locked, true, true), SaveTargetCheck::RefuseReadOnly);
  EXPECT_EQ(check(locked, true, false), SaveTargetCheck::AskReplace);
  EXPECT_EQ(check(file, true, true), SaveTargetCheck::AskReplace);
  EXPECT_EQ(check(file, false, true), SaveTargetCheck::Accept);
  EXPECT_EQ(check(dir.File("new.tav"), true, true), SaveTargetCheck::Accept);
}

TEST(CommandLine, OptionsFilesAndTheEndOfOptions) {
  struct Case {
    std::vector<std::string> arguments;
    CommandLine::Action action;
    std::vector<std::string> files;
  };
  const Case cases[] = {
      {{}, CommandLine::Run, {}},
      {{"a.tav", "b.txt"}, CommandLine::Run, {"a.tav", "b.txt"}},
      {{"a.tav", "--help", "b.tav"}, CommandLine::Help, {"a.tav"}},
      {{"-v"}, CommandLine::Version, {}},
      {{"--bogus", "a.tav"}, CommandLine::Refuse, {}},
      {{"-x"}, CommandLine::Refuse, {}},
      {{"--", "--help", "-x.tav"}, CommandLine::Run, {"--help", "-x.tav"}},
      {{"-", "a.tav"}, CommandLine::Run, {"-", "a.tav"}},
      // The toolkit's own options pass, with their values.
      {{"-style", "fusion", "a.tav", "-reverse", "--platform=xcb"}, CommandLine::Run, {"a.tav"}},
      {{"-reverse=1"}, CommandLine::Refuse, {}},
  };
  for (const Case& c : cases) {
    const CommandLine parsed = ParseCommandLine(c.arguments);
    EXPECT_EQ(parsed.What, c.action) << ::testing::PrintToString(c.arguments);
    EXPECT_EQ(parsed.Files, c.files) << ::testing::PrintToString(c.arguments);
    EXPECT_EQ(parsed.Error.empty(), c.action != CommandLine::Refuse);
  }
}

TEST(CommandLine, TheEditorAnswersHelpAndVersionAndRefusesUnknownOptionsWithoutADisplay) {
  const std::vector<std::string> noDisplay = {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"};
  const test::CliResult help = test::RunProgram(VOCATRIX_EDITOR_PATH, {"--help"}, {}, noDisplay);
  EXPECT_EQ(help.code, 0);
  EXPECT_TRUE(test::Contains(help.out, "Usage: vocatrix")) << help.out;
  const test::CliResult version = test::RunProgram(VOCATRIX_EDITOR_PATH, {"--version"}, {}, noDisplay);
  EXPECT_EQ(version.code, 0);
  EXPECT_EQ(version.out, "vocatrix 1.14\n");
  const test::CliResult bogus = test::RunProgram(VOCATRIX_EDITOR_PATH, {"--bogus"}, {}, noDisplay);
  EXPECT_EQ(bogus.code, 2);
  EXPECT_TRUE(test::Contains(bogus.err, "unknown option '--bogus'")) << bogus.err;
  EXPECT_TRUE(test::Contains(bogus.err, "Usage: vocatrix"));
}

}  // namespace
}  // namespace vocatrix::ui

namespace vocatrix::ui {
namespace {

class Throwing : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw Exception("Kann Datei x nicht öffnen");
    return QObject::event(e);
  }
};

TEST(Application, TheProgramNameIsNotAppendedToWindowCaptions) {
  ConfigureApplication();
  EXPECT_EQ(QCoreApplication::applicationName(), "Vocatrix");
  EXPECT_EQ(QCoreApplication::applicationVersion(), "1.14");
  // The display name, which the window system appends to captions, follows
  // the name only while it was never set.
  QCoreApplication::setApplicationName("Other");
  EXPECT_EQ(QGuiApplication::applicationDisplayName(), "Other");
  ConfigureApplication();
}

TEST(Application, StartUpWorkWaitsForTheWindowOnTheScreenAndTheMessageLoop) {
  QWidget window;
  window.winId();  // a window of the window system, not yet shown
  int runs = 0;
  WhenExposed(&window, [&] { ++runs; });
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 0);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 1);
  window.hide();
  window.show();
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  QCoreApplication::processEvents();
  EXPECT_EQ(runs, 1);
}

TEST(Application, AnErrorThatReachesTheMessageLoopIsShownInsteadOfEndingTheProgram) {
  auto* app = dynamic_cast<TApplication*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  QString shown;
  app->OnError = [&](const QString& message) { shown = message; };
  Throwing object;
  QEvent event(QEvent::User);
  EXPECT_FALSE(QCoreApplication::sendEvent(&object, &event));
  EXPECT_EQ(shown, QString::fromUtf8("Kann Datei x nicht öffnen"));
  app->OnError = nullptr;
}

}  // namespace
}  // namespace vocatrix::ui
