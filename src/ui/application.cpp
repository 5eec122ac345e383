// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/application.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <QWindow>

#include "ui/mainwindow/mainform.h"
#include "ui/common/qtstrings.h"

namespace vocatrix::ui {

void ConfigureApplication() {
  QApplication::setApplicationName(MainForm::kProductName);
  QApplication::setApplicationVersion(MainForm::kVersion);
  // Ties the windows to the installed desktop entry (its icon and name).
  QGuiApplication::setDesktopFileName("org.vocatrix.Vocatrix");
}

namespace {

int signalPipe[2] = {-1, -1};

void OnTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t n = ::write(signalPipe[1], &byte, 1);
}

sigset_t TerminationSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGINT);
  return set;
}

class ExposeWatch : public QObject {
 public:
  ExposeWatch(QWindow* window, std::function<void()> work) : QObject(window), work_(std::move(work)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed()) Run();
    return false;
  }
  void Run() {
    if (!work_) return;
    QTimer::singleShot(0, parent(), std::move(work_));
    work_ = nullptr;
    deleteLater();
  }

 private:
  std::function<void()> work_;
};

}  // namespace

void WhenExposed(QWidget* window, std::function<void()> work) {
  QWindow* handle = window->windowHandle();
  if (!handle || handle->isExposed()) {
    QTimer::singleShot(0, window, std::move(work));
    return;
  }
  auto* watch = new ExposeWatch(handle, std::move(work));
  handle->installEventFilter(watch);
}

void HoldTerminationSignals() {
  const sigset_t set = TerminationSignals();
  ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void CloseOnTerminationSignals(QWidget* window) {
  if (signalPipe[0] < 0) {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction action {};
    action.sa_handler = OnTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
  }
  auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, window);
  QObject::connect(notifier, &QSocketNotifier::activated, window, [window] {
    char bytes[16];
    while (::read(signalPipe[0], bytes, sizeof bytes) > 0) {
    }
    // A window that stays open (a lesson's changes kept) keeps the program.
    if (window->close()) QCoreApplication::quit();
  });
  const sigset_t set = TerminationSignals();
  ::pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    if (OnError) OnError(Utf8ToQString(e.what()));
  }
  return false;
}

}  // namespace vocatrix::ui
