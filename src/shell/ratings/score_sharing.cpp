// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ratings/score_sharing.h"

#include <string>

#include "platform/desktop.h"
#include "ratings/score_sink.h"
#include "songlist/song_events.h"
#ifndef _WIN32
#include "ratings/mpd/mpd_stickers.h"
#include "ratings/tags/tag_sink.h"
#endif

namespace jukora {

namespace {

constexpr std::chrono::seconds kLookEvery{1};
// An MPD that does not answer is told of within two of its deadlines.
constexpr int kLooksAfterAChange = 30;

std::unique_ptr<ScoreSink> mpd_sink([[maybe_unused]] const SettingsStore& settings) {
#ifndef _WIN32
  return std::make_unique<MpdStickerSink>(settings);
#else
  return nullptr;
#endif
}

std::unique_ptr<ScoreSink> tag_sink() {
#ifndef _WIN32
  return std::make_unique<TagSink>();
#else
  return nullptr;
#endif
}

}  // namespace

ScoreSharing::ScoreSharing(const SettingsStore& settings, SongEvents& events, Desktop& desktop)
    : desktop_(desktop), mpd_(mpd_sink(settings)), tags_(tag_sink()), mirrors_(settings, mpd_.get(), tags_.get()) {
  notices_.setInterval(kLookEvery);
  connect(&notices_, &QTimer::timeout, this, &ScoreSharing::tell_notices);
  events.on_scores([this](const std::vector<ScoreChange>& changes) {
    for (const ScoreChange& change : changes)
      mirrors_.score_changed(change.directory, change.file, std::to_string(change.new_score));
    quiet_looks_ = 0;
    notices_.start();
  });
}

ScoreSharing::~ScoreSharing() = default;

void ScoreSharing::tell_notices() {
  const std::vector<std::string> notices = mirrors_.take_notices();
  for (const std::string& notice : notices) desktop_.notify(notice);
  if (notices.empty() && ++quiet_looks_ >= kLooksAfterAChange) notices_.stop();
}

}  // namespace jukora
