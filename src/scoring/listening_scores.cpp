// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/listening_scores.h"

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "platform/settings_keys.h"
#include "songlist/paths.h"
#include "songlist/songlist.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_files.h"

namespace jukora {

ListeningScores::ListeningScores(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings,
                                 Desktop& desktop, milliseconds poll)
    : songlist_(songlist), files_(files), settings_(settings), desktop_(desktop), tracker_(poll) {}

void ListeningScores::look(const PlayerLook& player, bool hand_change_waiting) {
  if (!read_listen_scores(settings_)) {
    tracker_.quit();
    return;
  }
  if (const auto ended = tracker_.look(player)) judge(*ended, hand_change_waiting);
}

void ListeningScores::scores_changed(const std::vector<ScoreChange>& changes) {
  for (const ScoreChange& change : changes)
    if (change.source != ChangeSource::kListening) tracker_.scored_by_hand(join_path(change.directory, change.file));
}

void ListeningScores::judge(const EndedPlay& play, bool hand_change_waiting) {
  const int step = judged_step(play, read_listening_rule(settings_), hand_change_waiting);
  if (step == 0) return;
  const std::string directory = song_directory(play.song), file = get_file_name(play.song);
  // Listening never adds a song.
  if (!songlist_.contains(directory, file)) return;
  files_.apply(listening_change({directory, file}, step));
  if (!read_listen_notify(settings_)) return;
  const int row = songlist_.find(directory, file, 1, songlist_.Rows() - 1);
  if (row == 0) return;  // gone in a re-read of the file
  desktop_.notify_undoable("Listening: " + file + (step > 0 ? " played to its end" : " skipped early") + ", score " +
                           songlist_.score(row).text() + ".");
}

}  // namespace jukora
