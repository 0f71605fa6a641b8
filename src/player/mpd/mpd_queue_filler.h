// SPDX-License-Identifier: GPL-3.0-or-later
// The long tail of an export: MPD takes a song outside its music folder in
// about a millisecond and one inside it in a few microseconds, so a list of
// many thousands cannot be handed over within one event. The user-interface
// thread hands over the first songs and starts them; this appends the rest
// on a worker thread, over a connection of its own. POSIX only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "player/mpd/mpd_address.h"

namespace jukora {

class MpdQueueFiller {
 public:
  MpdQueueFiller() = default;
  MpdQueueFiller(const MpdQueueFiller&) = delete;
  MpdQueueFiller& operator=(const MpdQueueFiller&) = delete;
  // Stops, without waiting for the worker.
  ~MpdQueueFiller();

  // Appends `uris` to MPD's queue in order; songs MPD refuses are left out.
  void fill(const MpdAddress& address, std::vector<std::string> uris);
  // Stops appending, before the queue is replaced: the songs of a batch
  // that was on its way are taken out again, so none of them follows the
  // queue that replaces this one.
  void stop();

 private:
  struct Run;
  std::shared_ptr<Run> run_;
};

}  // namespace jukora
