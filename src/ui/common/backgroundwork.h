// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Long work of a window on a worker thread: reading back or writing out the
// Text page of a large lesson, sorting it, reading its file. The interface
// thread goes on painting and moving the progress bar; the user's keys,
// clicks and shortcuts meanwhile are held and delivered in order once the
// work has ended, so that none is lost and none acts on a lesson that is
// still being read.
//
// The work reads only what the interface thread leaves alone while it runs
// (the input is held; a document about to change waits for it, see
// TLessonObserver::LessonWillChange) and hands its result over by value.

#include <QObject>
#include <QPointer>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class QProgressBar;
class QTimer;

namespace vocatrix::ui {

class TInputHold;

// What the worker tells the interface thread while it runs.
struct TWorkProgress {
  std::atomic<int> Maximum{0};
  std::atomic<int> Position{0};
  // Set when the work is no longer wanted; the job may stop early.
  std::atomic<bool> Cancelled{false};
};

class TBackgroundWork : public QObject {
  Q_OBJECT
 public:
  // Runs on the worker thread.
  using Job = std::function<void(TWorkProgress&)>;
  // Runs on the interface thread once the job has ended.
  using Then = std::function<void()>;

  explicit TBackgroundWork(QObject* parent);
  ~TBackgroundWork() override;

  // Starts `job`; `then` follows on the interface thread, each step from
  // the event loop of its own, so that the window paints between them; the
  // input held meanwhile follows the last. `bar`, when given, shows the
  // job's progress. Work still running is finished first.
  void Start(Job job, std::vector<Then> then, QProgressBar* bar = nullptr);
  // The job or its steps are still to end.
  bool Running() const { return thread_.joinable() || !steps_.empty(); }
  // Waits for the job and runs the steps left at once: for callers that
  // need the result now.
  void Finish();
  // Waits for the job only; the steps still follow from the event loop.
  void WaitForJob();
  // Stops the job (it is asked to, then waited for); its steps never run.
  void Cancel();

 private:
  void Done(unsigned generation);
  void NextStep(unsigned generation);
  void EndWork();
  void ShowProgress();

  std::thread thread_;
  std::shared_ptr<TWorkProgress> progress_;
  std::unique_ptr<TInputHold> hold_;
  std::deque<Then> steps_;
  QPointer<QProgressBar> bar_;
  QTimer* progressTimer_ = nullptr;
  unsigned generation_ = 0;
};

// While one is alive (they nest), the user's input to every window is held
// and then delivered in order: keys, clicks, wheel turns, shortcuts, window
// closes. Drags are refused.
class TInputHold {
 public:
  TInputHold();
  ~TInputHold();
  TInputHold(const TInputHold&) = delete;
  TInputHold& operator=(const TInputHold&) = delete;

  // Input is held now.
  static bool Active();
};

}  // namespace vocatrix::ui
