// SPDX-License-Identifier: GPL-3.0-or-later
// A source read on a worker thread, so that the window goes on painting and
// answering: the caller looks at the progress now and then (a timer), may
// cancel, and takes the result once it is there. Nothing of the songlist is
// touched here, so a cancelled read leaves the list as it was.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "ratings/rating_source.h"

namespace jukora {

class BackgroundRead {
 public:
  // Starts reading at once. The source is shared with the worker, which may
  // outlive this object for as long as the source takes to notice a cancel.
  explicit BackgroundRead(std::shared_ptr<RatingSource> source);
  // Cancels a read still running; never waits for it.
  ~BackgroundRead();
  BackgroundRead(const BackgroundRead&) = delete;
  BackgroundRead& operator=(const BackgroundRead&) = delete;

  // Steps done and the total (0 when unknown) as last reported.
  std::pair<std::size_t, std::size_t> progress() const;
  void cancel();
  // The result once the read has ended; nothing while it runs, and nothing
  // again after it has been taken.
  std::optional<SourceRead> take();
  // What the read is held up by now; empty while nothing holds it up.
  std::string waiting_for() const;
  // Blocks until the read ends: for the command line, which has no window.
  // `tell` hears what holds the read up, once it has for a while.
  SourceRead wait(const std::function<void(const std::string&)>& tell = {});

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace jukora
