// The editor's entry: start-up order, the message loop and shut-down.

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>

#include "ui/application.h"
#include "ui/mainform.h"
#include "ui/platform/qtplatform.h"
#include "ui/qtfonts.h"

namespace {

// Qt would abort without a window system to connect to; say what to do instead.
bool HasDisplay() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform) return true;
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "vocatrix: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                 "Start it on a desktop, or under a virtual X server:\n"
                 "  xvfb-run -a scripts/run.sh [lesson files...]\n");
    return 1;
  }
  vocatrix::ui::TApplication app(argc, argv);
  QApplication::setApplicationName(vocatrix::ui::MainForm::kProductName);
  QApplication::setApplicationDisplayName(vocatrix::ui::MainForm::kProductName);
  QApplication::setApplicationVersion(vocatrix::ui::MainForm::kVersion);
  vocatrix::ui::InstallFontSubstitutions();

  vocatrix::ui::QtPlatform platform;
  vocatrix::ui::MainForm mainForm(platform.Get());
  app.OnError = [&](const QString& message) {
    platform.Get().dialogs.ShowError(QApplication::activeWindow(), message);
  };
  mainForm.SetLanguage(mainForm.Language());
  mainForm.show();
  mainForm.repaint();

  QStringList files = QApplication::arguments();
  files.removeFirst();
  mainForm.OpenStartupFiles(files);
  return app.exec();
}
