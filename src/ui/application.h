// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application object: errors that no command caught end in an error box
// instead of ending the program.

#include <QApplication>
#include <functional>

namespace vocatrix::ui {

// Names the application and its version. The display name stays unset: the
// window system would append it to every window caption, and the frame's
// caption is exactly the interface language's name for the program.
void ConfigureApplication();

// Runs `work` from the message loop once `window` is shown on the screen
// (at once when it is already).
void WhenExposed(QWidget* window, std::function<void()> work);

// A TERM or INT signal (logging out, kill, Ctrl+C in the terminal) closes the
// main window as File → Exit does, so that its settings are written. The
// signals are held back from the start of the program (call this before any
// thread is started) until CloseOnTerminationSignals, called once start-up is
// done, which then handles any that came meanwhile.
void HoldTerminationSignals();
void CloseOnTerminationSignals(QWidget* window);

class TApplication : public QApplication {
 public:
  using QApplication::QApplication;

  // Shows the message of an error that reached the message loop.
  std::function<void(const QString& message)> OnError;

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace vocatrix::ui
