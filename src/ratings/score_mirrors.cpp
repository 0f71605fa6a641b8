// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/score_mirrors.h"

#include <cmath>

#include "platform/app_folders.h"
#include "platform/local_path.h"
#include "platform/settings_keys.h"
#include "ratings/score_sink.h"
#include "songlist/numbers.h"
#include "songlist/paths.h"

namespace jukora {

ScoreMirrors::ScoreMirrors(const SettingsStore& settings, ScoreSink* mpd, ScoreSink* tags)
    : settings_(settings), mpd_(mpd), tags_(tags) {}

void ScoreMirrors::score_changed(std::string_view directory, std::string_view file, std::string_view score) {
  const std::string path = join_path(directory, file);
  // Only a file here has a tag to write or a name MPD may know.
  if (!is_local_file_path(path)) return;
  const auto value = static_cast<std::int64_t>(std::nearbyint(score_sort_value(score)));
  if (mpd_ && read_share_mpd(settings_)) mpd_->share(path, value);
  if (tags_ && read_share_tags(settings_)) tags_->share(path, value);
}

std::vector<std::string> ScoreMirrors::take_notices() {
  std::vector<std::string> notices;
  for (ScoreSink* sink : {mpd_, tags_})
    if (sink)
      for (std::string& notice : sink->take_notices()) notices.push_back(std::move(notice));
  return notices;
}

}  // namespace jukora
