// SPDX-License-Identifier: GPL-3.0-or-later
// Follows the song events and keeps each one in the history, stamped with
// the time it was told.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

namespace jukora {

class HistoryStore;
class SongEvents;

// Seconds since 1970 (UTC), now.
std::int64_t unix_now();

class HistoryRecorder {
 public:
  // The longest a listener waits for the store's commit; see record().
  static constexpr std::chrono::milliseconds kCommitWait{10};

  // Listens to `events` for as long as the events are told: the recorder
  // must outlive every change that tells them.
  HistoryRecorder(SongEvents& events, HistoryStore& store, std::function<std::int64_t()> now = unix_now,
                  std::chrono::milliseconds commit_wait = kCommitWait);

 private:
  template <class Event>
  void record(const std::vector<Event>& happened);

  HistoryStore& store_;
  const std::function<std::int64_t()> now_;
  const std::chrono::milliseconds commit_wait_;
};

}  // namespace jukora
