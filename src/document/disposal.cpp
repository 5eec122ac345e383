// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/disposal.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace vocatrix {
namespace {

class Disposal {
 public:
  static Disposal& Instance() {
    static Disposal disposal;
    return disposal;
  }

  void Add(std::shared_ptr<void> doomed) {
    {
      const std::lock_guard lock(mutex_);
      queue_.push_back(std::move(doomed));
      if (!thread_.joinable()) thread_ = std::thread([this] { Run(); });
    }
    wake_.notify_one();
  }

  void Drain() {
    std::unique_lock lock(mutex_);
    drained_.wait(lock, [this] { return queue_.empty() && !busy_; });
  }

  ~Disposal() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    if (thread_.joinable()) thread_.join();
  }

 private:
  Disposal() = default;

  void Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
      wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
      if (queue_.empty()) return;
      std::shared_ptr<void> next = std::move(queue_.front());
      queue_.pop_front();
      busy_ = true;
      lock.unlock();
      next.reset();
      lock.lock();
      busy_ = false;
      if (queue_.empty()) drained_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable drained_;
  std::deque<std::shared_ptr<void>> queue_;
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace

void DisposeLater(std::shared_ptr<void> doomed) {
  if (doomed) Disposal::Instance().Add(std::move(doomed));
}

void DisposeNow() { Disposal::Instance().Drain(); }

}  // namespace vocatrix
