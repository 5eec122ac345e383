// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The stall meter of the editor benchmarks: runs `start` from the event
// loop, then the loop until `done`, and gives the longest time the
// interface thread went without a turn of its loop meanwhile (a timer of
// 1 ms notes every turn), in milliseconds; negative when `done` did not
// come within two minutes.

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <functional>

namespace vocatrix::bench {

inline double LongestStall(const std::function<void()>& start, const std::function<bool()>& done) {
  QElapsedTimer clock;
  clock.start();
  qint64 last = clock.nsecsElapsed();
  qint64 longest = 0;
  QTimer beat;
  beat.setInterval(1);
  QObject::connect(&beat, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest = std::max(longest, now - last);
    last = now;
  });
  bool started = false;
  QTimer::singleShot(0, [&] {
    last = clock.nsecsElapsed();
    beat.start();
    start();
    started = true;
  });
  while (!(started && done())) {
    if (clock.elapsed() > 120000) return -1;
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  }
  longest = std::max(longest, clock.nsecsElapsed() - last);
  return static_cast<double>(longest) / 1e6;
}

}  // namespace vocatrix::bench
