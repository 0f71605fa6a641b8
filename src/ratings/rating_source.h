// SPDX-License-Identifier: GPL-3.0-or-later
// "Ratings from X": what every source of ratings (another player's database,
// MPD's stickers, the files' own tags) yields, one entry per song. A source
// reads on whatever thread calls it, so that the window never waits on it;
// it reports its progress and stops when asked to.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ratings/rating_scale.h"

namespace jukora {

struct SourceSong {
  std::string path;  // a local path, its bytes as the file system has them
  ReadRating rating;
  std::optional<std::int64_t> last_played;  // Unix seconds; nothing when never or unknown
};

struct SourceRead {
  enum class Status { kOk, kCancelled, kFailed };
  Status status = Status::kOk;
  std::vector<SourceSong> songs;
  // Entries that name no file on this computer (a stream, another host),
  // which no songlist can hold.
  std::size_t not_local = 0;
  std::string error;  // kFailed: what went wrong, for the user, naming the source
};

// `done` of `total` steps (total 0 when unknown); false stops the read,
// which then ends as kCancelled.
using SourceProgress = std::function<bool(std::size_t done, std::size_t total)>;

class RatingSource {
 public:
  virtual ~RatingSource() = default;
  // "Rhythmbox", "MPD stickers", ... for the texts.
  virtual std::string name() const = 0;
  // Reads every song the source knows. Never throws; a source that is not
  // what it claims (malformed, truncated, hostile) fails with a message.
  virtual SourceRead read(const SourceProgress& progress) = 0;

  // What the read is held up by now, for the user ("\"/x/strawberry.db\",
  // which the program using it holds locked"); empty while nothing holds it
  // up. Asked from any thread.
  std::string waiting_for() const {
    std::lock_guard lock(waiting_mutex_);
    return waiting_for_;
  }

 protected:
  void set_waiting_for(std::string what) {
    std::lock_guard lock(waiting_mutex_);
    waiting_for_ = std::move(what);
  }

 private:
  mutable std::mutex waiting_mutex_;
  std::string waiting_for_;
};

}  // namespace jukora
