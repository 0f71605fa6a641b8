// The one-second timer that drives the play cycle.
#pragma once

namespace jukora {

class PlayTimer {
 public:
  virtual ~PlayTimer() = default;
  // Enabling gives the first tick one interval later.
  virtual void set_enabled(bool enabled) = 0;
  virtual bool enabled() const = 0;
};

}  // namespace jukora
