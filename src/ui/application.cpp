#include "ui/application.h"

#include <QTimer>
#include <QWindow>

#include "ui/mainform.h"
#include "ui/qtstrings.h"

namespace vocatrix::ui {

void ConfigureApplication() {
  QApplication::setApplicationName(MainForm::kProductName);
  QApplication::setApplicationVersion(MainForm::kVersion);
}

namespace {

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

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    if (OnError) OnError(Utf8ToQString(e.what()));
  }
  return false;
}

}  // namespace vocatrix::ui
