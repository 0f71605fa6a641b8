// SPDX-License-Identifier: GPL-3.0-or-later
// The play cycle's one-second timer on a QTimer owned by the main window.
#pragma once

#include <QTimer>

#include "platform/play_timer.h"

namespace jukora {

class QtPlayTimer : public PlayTimer {
 public:
  explicit QtPlayTimer(QTimer& timer) : timer_(timer) {}

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
