// SPDX-License-Identifier: GPL-3.0-or-later
// The session's event loop on Qt's: work posted as queued calls, timers on
// QTimers. Nothing posted runs once this has gone.
#pragma once

#include <QObject>

#include "platform/event_loop.h"

namespace jukora {

class QtEventLoop : public EventLoop {
 public:
  void post(std::function<void()> work) override;
  std::unique_ptr<Timer> timer(std::chrono::milliseconds interval, std::function<void()> tick) override;

 private:
  // The context of every queued call.
  QObject receiver_;
};

}  // namespace jukora
