// Playing the current row at once: no recompute, no save, no change to the
// play cycle; the next save, or Exit, keeps the new Last Played.
#include "platform/app_folders.h"
#include "platform/clock.h"
#include "platform/settings_keys.h"
#include "player/executable_check.h"
#include "player/winamp_link.h"
#include "playmodes/play_modes.h"
#include "songlist/date_text.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

void PlayModes::MSFlexGrid1_DblClick() {
  std::string dir = read_winamp_dir(settings_);
  if (!player_ready(link_, dir, desktop_)) return;
  const int r = songlist_.Row();
  if (r < 1 || r >= songlist_.Rows() || songlist_.TextMatrix(r, col::kDirectory).empty()) return;
  link_.start_with_file(dir, join_path(songlist_.TextMatrix(r, col::kDirectory), songlist_.TextMatrix(r, col::kFile)));
  songlist_.SetTextMatrix(r, col::kLastPlayed, format_date_text(clock_.now()));
  files_.note_unsaved_change();
}

}  // namespace jukora
