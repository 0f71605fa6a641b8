// SPDX-License-Identifier: GPL-3.0-or-later
#include "history/history_recorder.h"

#include <utility>
#include <vector>

#include "history/history_store.h"
#include "songlist/song_events.h"

namespace jukora {

std::int64_t unix_now() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

HistoryRecorder::HistoryRecorder(SongEvents& events, HistoryStore& store, std::function<std::int64_t()> now,
                                 std::chrono::milliseconds commit_wait)
    : store_(store), now_(std::move(now)), commit_wait_(commit_wait) {
  events.on_scores([this](const std::vector<ScoreChange>& changes) { record(changes); });
  events.on_play([this](const HandedOver& song) { record(std::vector<HandedOver>{song}); });
}

// A change is told before the songlist is saved, so that the history holds
// it first: a kill between the two then leaves a history that knows of a
// change the list may have lost, never a list with a change the history
// lacks. The commit itself runs on the store's worker; the event loop only
// waits for it, and never more than commit_wait_. A commit to the
// write-ahead log, unsynced, takes well under a millisecond, so the wait is
// nearly always enough. When it is not (a disk that stalls, a database
// locked by another program), the save goes ahead anyway and the store
// commits the event as soon as it can: a stalled window would cost more
// than the rare history line that a kill in that moment could lose.
template <class Event>
void HistoryRecorder::record(const std::vector<Event>& happened) {
  const std::int64_t time = now_();
  std::vector<HistoryEvent> events;
  events.reserve(happened.size());
  for (const Event& event : happened) events.push_back({time, event});
  store_.wait_committed(store_.append(std::move(events)), commit_wait_);
}

}  // namespace jukora
