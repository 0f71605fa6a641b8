// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/qt_event_loop.h"

#include <QMetaObject>
#include <QTimer>
#include <utility>

#include "shell/qt_timer.h"

namespace jukora {

namespace {

// A timer that owns its QTimer.
class OwnTimer : public QtTimer {
 public:
  OwnTimer(std::chrono::milliseconds interval, std::function<void()> tick) : QtTimer(timer_) {
    timer_.setInterval(interval);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, std::move(tick));
  }

 private:
  QTimer timer_;
};

}  // namespace

void QtEventLoop::post(std::function<void()> work) {
  QMetaObject::invokeMethod(&receiver_, std::move(work), Qt::QueuedConnection);
}

std::unique_ptr<Timer> QtEventLoop::timer(std::chrono::milliseconds interval, std::function<void()> tick) {
  return std::make_unique<OwnTimer>(interval, std::move(tick));
}

}  // namespace jukora
