#include "scoring/current_song_scoring.h"

#include <algorithm>
#include <string>

#include "platform/settings_keys.h"
#include "songlist/numbers.h"
#include "songlist/paths.h"
#include "songlist/recompute.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"
#include "player/current_song.h"

namespace jukora {

CurrentSongScoring::CurrentSongScoring(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings,
                                       WinampLink& link, Desktop& desktop)
    : songlist_(songlist), files_(files), settings_(settings), link_(link), desktop_(desktop) {}

void CurrentSongScoring::increment_current_song() { score_current_song(+1); }

void CurrentSongScoring::decrement_current_song() { score_current_song(-1); }

void CurrentSongScoring::score_current_song(int step) {
  // get_current_song has told the user what went wrong, where that helps.
  const std::string path = get_current_song(link_, settings_, desktop_);
  const std::string dir = get_dir_name(path);
  if (dir.empty()) return;
  const std::string file = get_file_name(path);
  if (file.empty()) return;

  const int rows = songlist_.Rows();
  int i = rows > 1 ? songlist_.find(dir, file, 1, rows - 1) : 0;
  bool found = i != 0;
  if (found) {
    songlist_.SetTextMatrix(i, col::kScore, stepped_score(songlist_.TextMatrix(i, col::kScore), step));
  } else {
    i = rows;
    if (step > 0 ? read_add_on_plus(settings_) : read_add_on_minus(settings_)) {
      // A new song enters with no step, at the Score 0 the recompute gives it.
      add_song_row(songlist_, files_, dir, file);
      found = true;
    }
  }
  if (!found) return;
  recompute_songlist(songlist_);
  files_.write_songlist();

  // Follow the song from its old index in the direction the step moved it.
  // The index may lie past the end now (the placeholder row went, or rows
  // without a Directory were dropped): the search starts at the last row then.
  const int last = songlist_.Rows() - 1;
  const int from = std::min(i, last);
  if (from < 1) return;
  int hit = step > 0 ? songlist_.find(dir, file, from, 1) : songlist_.find(dir, file, from, last);
  if (hit != 0) songlist_.SetRow(hit);
}

void add_song_row(Songlist& songlist, SonglistFiles& files, std::string_view directory, std::string_view file) {
  songlist.add_cells({"", directory, file});
  if (songlist.Rows() == 3 && songlist.TextMatrix(1, col::kDirectory).empty()) songlist.RemoveItem(1);
  recompute_songlist(songlist);
  files.write_songlist();
}

}  // namespace jukora
