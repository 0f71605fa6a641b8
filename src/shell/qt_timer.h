// SPDX-License-Identifier: GPL-3.0-or-later
// A Timer on a QTimer: the play cycle's, which the main window shows, or one
// of the session's own.
#pragma once

#include <QTimer>
#include <functional>

#include "platform/timer.h"

namespace jukora {

class QtTimer : public Timer {
 public:
  explicit QtTimer(QTimer& timer) : timer_(timer) {}

  // Enabling a running timer keeps its rhythm, as the original timer did.
  void set_enabled(bool enabled) override {
    if (!enabled)
      timer_.stop();
    else if (!timer_.isActive())
      timer_.start();
  }
  bool enabled() const override { return timer_.isActive(); }

 private:
  QTimer& timer_;
};

}  // namespace jukora
