// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Autosave and recovery: every "AutosaveSeconds" of section "Options" in the
// settings file (60 by default, 0 switches it off) each window with unsaved
// changes is taken on the interface thread and written by a worker to the
// recovery folder, never to the user's own file. A save or a closed window
// removes its files; a clean exit leaves none. The next start after a crash,
// a kill or a power cut offers what was left: restore or discard.

#include <QObject>
#include <QTimer>
#include <memory>
#include <set>

#include "recovery/recovery.h"

namespace vocatrix::ui {

class MainForm;
class TChildForm;

class TAutosave : public QObject {
 public:
  static constexpr int kDefaultSeconds = 60;

  explicit TAutosave(MainForm* main);
  ~TAutosave() override;

  // The interval of the settings, in seconds; 0 when autosave is off.
  int IntervalSeconds() const { return seconds_; }
  // Takes every window with unsaved changes for writing (the timer's work).
  void SaveNow();
  // A saved or closed window: its recovery files go.
  void Forget(const TChildForm* form);
  // A clean exit: every window's files go.
  void ForgetAll();
  // Waits until the worker has written everything taken.
  void Flush();
  TRecoveryStore& Store() { return *store_; }

  // Offers the recoveries of a program that did not end cleanly in one
  // dialog: Restore opens each as a modified window, Discard deletes them,
  // Later keeps them for the next start.
  void OfferRecovery();

 private:
  void ReportError();

  MainForm* main_;
  int seconds_ = kDefaultSeconds;
  std::unique_ptr<TRecoveryStore> store_;
  QTimer timer_;
  // Slots whose files autosave wrote and that still exist.
  std::set<int> written_;
  bool errorReported_ = false;
};

}  // namespace vocatrix::ui
