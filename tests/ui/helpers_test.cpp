// Menu merging, the string conversion point, dialog filters, file access
// and the application's last error box.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QEvent>

#include "core/test_util.h"
#include "model/exceptions.h"
#include "ui/application.h"
#include "ui/menumerge.h"
#include "ui/platform/fileaccess.h"
#include "ui/platform/platform.h"
#include "ui/qtstrings.h"

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

TEST(FileAccess, ReadOnlyMeansExistingAndNotWritable) {
  test::TempDir dir;
  const std::string file = dir.File("a.tav");
  EXPECT_FALSE(FileIsReadOnly(file));  // missing
  test::WriteFile(file, "x");
  EXPECT_FALSE(FileIsReadOnly(file));
  ::chmod(file.c_str(), 0444);
  EXPECT_TRUE(FileIsReadOnly(file));  // also for the administrator
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
