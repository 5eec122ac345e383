// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's entry: the command line, start-up order, the message loop and
// shut-down.

#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "base/safesave.h"
#include "base/settings.h"
#include "ui/about/aboutbox.h"
#include "ui/about/soundevents.h"
#include "ui/application.h"
#include "ui/commandline.h"
#include "ui/mainwindow/mainform.h"
#include "ui/platform/qtplatform.h"
#include "ui/common/qtfonts.h"
#include "ui/common/qtstrings.h"

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
  using vocatrix::ui::CommandLine;
  vocatrix::TreatFileSizeLimitAsWriteError();
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const CommandLine commandLine = vocatrix::ui::ParseCommandLine(arguments);
  switch (commandLine.What) {
    case CommandLine::Help:
      std::fputs(vocatrix::ui::CommandLineUsage("vocatrix").c_str(), stdout);
      return 0;
    case CommandLine::Version:
      std::printf("vocatrix %s\n", vocatrix::ui::MainForm::kVersion);
      return 0;
    case CommandLine::Refuse:
      std::fprintf(stderr, "vocatrix: %s\n%s", commandLine.Error.c_str(),
                   vocatrix::ui::CommandLineUsage("vocatrix").c_str());
      return 2;
    case CommandLine::Run: break;
  }
  if (!HasDisplay()) {
    std::fprintf(stderr,
                 "vocatrix: no display found (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
                 "Start it on a desktop, or under a virtual X server:\n"
                 "  xvfb-run -a scripts/run.sh [lesson files...]\n");
    return 1;
  }
  vocatrix::ui::HoldTerminationSignals();
  vocatrix::ui::TApplication app(argc, argv);
  vocatrix::ui::ConfigureApplication();
  // Before any window exists.
  vocatrix::ui::SoundEvents().LoadSoundSettings();
  vocatrix::ui::InstallFontSubstitutions();

  vocatrix::ui::QtPlatform platform;
  // The splash screen, shown and painted before the main window is built.
  auto about = std::make_unique<vocatrix::ui::TAboutBox>(platform.Get());
  about->HoldStartSound();
  about->show();
  about->repaint();
  QApplication::processEvents();
  vocatrix::ui::MainForm mainForm(platform.Get());
  mainForm.SetAboutBox(about.get());
  app.OnError = [&](const QString& message) {
    platform.Get().dialogs.ShowError(QApplication::activeWindow(), message);
  };
  mainForm.SetLanguage(mainForm.Language());
  // The program runs without its data, but an installation that lacks it says so.
  const std::string languageFile = vocatrix::LanguageFileName(mainForm.Language());
  if (!languageFile.empty() && !std::filesystem::is_regular_file(languageFile))
    std::fprintf(stderr, "vocatrix: the interface-language file %s is missing\n", languageFile.c_str());
  mainForm.show();
  mainForm.repaint();

  // The files open once the frame is on the screen, where the window manager
  // put it, and the message loop runs, so that an error box of one of them
  // stands over the frame.
  QStringList files;
  for (const std::string& file : commandLine.Files) files << vocatrix::ui::FileNameToQString(file);
  vocatrix::ui::WhenExposed(&mainForm, [&mainForm, &about, files] {
    mainForm.OpenStartupFiles(files);
    // Unsaved work that a crash left behind, offered over the frame.
    mainForm.OfferRecovery();
    // A question about the sound card stands over the frame, in its
    // language, after the question about lost work.
    if (about) about->PlayHeldStartSound(&mainForm, mainForm.Language());
    mainForm.ReportUnwritableSettings();
    vocatrix::ui::CloseOnTerminationSignals(&mainForm);
  });
  const int result = app.exec();
  mainForm.SetAboutBox(nullptr);
  about.reset();
  // The sound switch is written before the main window writes its settings.
  try {
    vocatrix::ui::SoundEvents().SaveSoundSettings();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "vocatrix: %s\n", e.what());
  }
  return result;
}
