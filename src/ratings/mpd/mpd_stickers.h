// SPDX-License-Identifier: GPL-3.0-or-later
// MPD's "rating" sticker, 0-10 as MPD's clients (Cantata, myMPD, rmpc) keep
// it: read for an import (`sticker find song "" rating`) and set after every
// score change of a song in MPD's database. Paths cross between the two
// through the music folder, as the MPD player link maps them. POSIX only.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "ratings/mpd/sticker_client.h"
#include "ratings/rating_source.h"
#include "ratings/score_sink.h"

namespace jukora {

template <class State>
class SinkWorker;

std::unique_ptr<RatingSource> mpd_sticker_source(StickerPlace place);

class MpdStickerSink : public ScoreSink {
 public:
  // Preferences are read at every change; an MPD that is busy or away is
  // tried again after `retry`.
  explicit MpdStickerSink(const SettingsStore& settings, std::chrono::milliseconds retry = std::chrono::seconds(10));
  // Ends the worker; stickers not yet set are given up, and a request MPD
  // does not answer is not waited for.
  ~MpdStickerSink() override;
  MpdStickerSink(const MpdStickerSink&) = delete;
  MpdStickerSink& operator=(const MpdStickerSink&) = delete;

  void share(const std::string& path, std::int64_t score) override;
  std::vector<std::string> take_notices() override;
  // Blocks until nothing waits or `limit` has passed; whether nothing waits.
  bool wait_idle(std::chrono::milliseconds limit);

 private:
  struct State;
  const SettingsStore& settings_;
  std::shared_ptr<State> state_;
  std::unique_ptr<SinkWorker<State>> worker_;
};

}  // namespace jukora
