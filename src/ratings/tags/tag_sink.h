// SPDX-License-Identifier: GPL-3.0-or-later
// The files' own tags as a mirror of the scores: after a change the song's
// FMPS_Rating (and in MP3s Jukora's POPM frame) is written on a worker
// thread, through a copy renamed over the song. Each file has one place in
// the queue: changes that come while it waits only update the score it will
// get, so two quick changes make one write of the latest score.
#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "ratings/score_sink.h"

namespace jukora {

template <class State>
class SinkWorker;

class TagSink : public ScoreSink {
 public:
  // A change waits `settle` for the next one before it is written; a file
  // that cannot be replaced now is tried again after `retry`.
  explicit TagSink(std::chrono::milliseconds settle = std::chrono::milliseconds(400),
                   std::chrono::milliseconds retry = std::chrono::seconds(5));
  // Writes what still waits, then ends the worker.
  ~TagSink() override;
  TagSink(const TagSink&) = delete;
  TagSink& operator=(const TagSink&) = delete;

  void share(const std::string& path, std::int64_t score) override;
  std::vector<std::string> take_notices() override;

  // Blocks until nothing waits or `limit` has passed; whether nothing waits.
  bool wait_idle(std::chrono::milliseconds limit);
  // Writes done since the start, for tests and figures.
  std::size_t writes() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
  std::unique_ptr<SinkWorker<State>> worker_;
};

}  // namespace jukora
