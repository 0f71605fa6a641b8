// SPDX-License-Identifier: GPL-3.0-or-later
// Where the score history is kept: events go in, in order, and are committed
// by the store's own worker; the queries are answered there too, after every
// event appended before them. A store never stops the caller for long: it
// keeps what it cannot write yet and says what went wrong through its
// owner's problem callback.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "history/history_event.h"

namespace jukora {

class HistoryStore {
 public:
  virtual ~HistoryStore() = default;

  // Queues `events` for writing, in order. Returns the ticket of the last
  // one, which wait_committed takes.
  virtual std::uint64_t append(std::vector<HistoryEvent> events) = 0;
  // Waits until every event up to `ticket` is committed, but never longer
  // than `bound`. Whether they are.
  virtual bool wait_committed(std::uint64_t ticket, std::chrono::milliseconds bound) = 0;

  // The song's events, oldest first. `done` runs on the store's worker.
  virtual void song_history(std::string directory, std::string file,
                            std::function<void(std::vector<HistoryEvent>)> done) = 0;
  // `weeks` weeks of plays and score changes from `first_week` on. `done`
  // runs on the store's worker.
  virtual void weekly_activity(std::int64_t first_week, int weeks, std::function<void(WeeklyActivity)> done) = 0;
};

}  // namespace jukora
