// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/backgroundwork.h"

#include <QApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QProgressBar>
#include <QTimer>
#include <QWidget>
#include <deque>

#include <sys/resource.h>
#include <unistd.h>

namespace vocatrix::ui {
namespace {

// How often the progress bar follows the worker.
constexpr int kProgressMilliseconds = 50;
// The worker's niceness (Linux gives each thread its own).
constexpr int kWorkerNice = 5;

// The user's input, held while work runs and delivered once it has ended.
class HeldInput : public QObject {
 public:
  static HeldInput& Instance() {
    static auto* instance = new HeldInput;
    return *instance;
  }

  void Begin() {
    if (depth_++ > 0) return;
    qApp->installEventFilter(this);
    QApplication::setOverrideCursor(Qt::BusyCursor);
  }

  void End() {
    if (depth_ == 0 || --depth_ > 0) return;
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
    Deliver();
  }

  bool Active() const { return depth_ > 0; }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!Holds(event)) return false;
    if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
      event->ignore();  // refused: the drop's data would not outlive the wait
      return true;
    }
    held_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
    event->accept();
    return true;
  }

 private:
  struct Held {
    QPointer<QObject> receiver;
    std::unique_ptr<QEvent> event;
  };

  // Input from the window system, and the shortcuts its keys trigger (sent
  // by Qt itself, not marked as input).
  static bool Holds(const QEvent* event) {
    switch (event->type()) {
      case QEvent::Shortcut: return true;
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::InputMethod:
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::Wheel:
      case QEvent::ContextMenu:
      case QEvent::Close:
      case QEvent::DragEnter:
      case QEvent::DragMove:
      case QEvent::Drop:
        return event->spontaneous();
      case QEvent::MouseMove:
        return event->spontaneous() && static_cast<const QMouseEvent*>(event)->buttons() != Qt::NoButton;
      default:
        return false;
    }
  }

  // Delivers the held input in order; when it starts new work, what is
  // left waits for that to end.
  void Deliver() {
    while (!held_.empty() && depth_ == 0) {
      Held next = std::move(held_.front());
      held_.pop_front();
      QObject* receiver = next.receiver;
      if (!receiver) continue;
      // As a window that was busy gets them: keys go to what has the focus
      // now, clicks only to what is still shown.
      if (auto* widget = qobject_cast<QWidget*>(receiver)) {
        if (IsKey(next.event->type())) {
          if (QWidget* focus = QApplication::focusWidget()) receiver = focus;
        } else if (!widget->isVisible()) {
          continue;
        }
      }
      QCoreApplication::sendEvent(receiver, next.event.get());
    }
  }

  static bool IsKey(QEvent::Type type) {
    return type == QEvent::KeyPress || type == QEvent::KeyRelease || type == QEvent::InputMethod;
  }

  int depth_ = 0;
  std::deque<Held> held_;
};

}  // namespace

TInputHold::TInputHold() { HeldInput::Instance().Begin(); }

TInputHold::~TInputHold() { HeldInput::Instance().End(); }

bool TInputHold::Active() { return HeldInput::Instance().Active(); }

TBackgroundWork::TBackgroundWork(QObject* parent) : QObject(parent) {}

TBackgroundWork::~TBackgroundWork() { Cancel(); }

void TBackgroundWork::Start(Job job, std::vector<Then> then, QProgressBar* bar) {
  Finish();
  progress_ = std::make_shared<TWorkProgress>();
  steps_.assign(std::make_move_iterator(then.begin()), std::make_move_iterator(then.end()));
  bar_ = bar;
  hold_ = std::make_unique<TInputHold>();
  if (bar_) {
    if (!progressTimer_) {
      progressTimer_ = new QTimer(this);
      connect(progressTimer_, &QTimer::timeout, this, &TBackgroundWork::ShowProgress);
    }
    progressTimer_->start(kProgressMilliseconds);
  }
  const unsigned generation = ++generation_;
  QPointer<TBackgroundWork> self(this);
  thread_ = std::thread([job = std::move(job), progress = progress_, self, generation] {
    // The window's thread goes first when the cores are busy.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kWorkerNice);
    job(*progress);
    // Back on the interface thread; work finished or cancelled meanwhile is
    // no longer this generation.
    QMetaObject::invokeMethod(
        qApp, [self, generation] {
          if (self) self->Done(generation);
        },
        Qt::QueuedConnection);
  });
}

void TBackgroundWork::Done(unsigned generation) {
  if (generation != generation_) return;
  if (thread_.joinable()) EndWork();
  NextStep(generation);
}

void TBackgroundWork::WaitForJob() {
  // Its steps follow from the event loop, as they would have.
  if (thread_.joinable()) EndWork();
}

void TBackgroundWork::NextStep(unsigned generation) {
  if (generation != generation_ || steps_.empty()) return;
  Then step = std::move(steps_.front());
  steps_.pop_front();
  // After the last step the input held meanwhile is delivered.
  std::unique_ptr<TInputHold> hold = steps_.empty() ? std::move(hold_) : nullptr;
  if (step) step();
  // A timer, not a posted call: the window's own timers and painting come
  // first.
  if (!steps_.empty() && generation == generation_)
    QTimer::singleShot(1, this, [this, generation] { NextStep(generation); });
}

void TBackgroundWork::EndWork() {
  thread_.join();
  if (progressTimer_) progressTimer_->stop();
  ShowProgress();
}

void TBackgroundWork::Finish() {
  if (thread_.joinable()) EndWork();
  const unsigned generation = generation_;
  while (!steps_.empty() && generation == generation_) NextStep(generation);
  if (!Running()) hold_.reset();
}

void TBackgroundWork::Cancel() {
  if (thread_.joinable()) {
    progress_->Cancelled = true;
    thread_.join();
  }
  if (progressTimer_) progressTimer_->stop();
  steps_.clear();
  ++generation_;
  hold_.reset();
}

void TBackgroundWork::ShowProgress() {
  if (!bar_ || !progress_) return;
  // Work that cannot count its steps shows that it is busy.
  bar_->setRange(0, progress_->Maximum.load());
  bar_->setValue(progress_->Position.load());
}

}  // namespace vocatrix::ui
