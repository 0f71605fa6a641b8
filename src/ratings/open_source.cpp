// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/open_source.h"

#include "platform/app_folders.h"
#include "platform/local_path.h"
#include "songlist/paths.h"
#include "songlist/songlist.h"
#ifdef JUKORA_HAVE_RHYTHMBOX
#include "ratings/rhythmbox/rhythmdb_source.h"
#endif
#ifdef JUKORA_HAVE_PLAYER_DATABASES
#include "ratings/sqlite/player_database_source.h"
#endif
#ifdef JUKORA_HAVE_MPD_STICKERS
#include "ratings/mpd/mpd_stickers.h"
#endif
#ifdef JUKORA_HAVE_TAGS
#include "ratings/tags/tag_source.h"
#endif

namespace jukora {

namespace {

[[maybe_unused]] OpenedSource missing(const std::string& what) {
  return {nullptr, "This build of Jukora cannot read " + what + "."};
}

}  // namespace

OpenedSource open_tag_source(std::vector<std::string> files_and_folders) {
#ifdef JUKORA_HAVE_TAGS
  return {tag_source(std::move(files_and_folders)), {}};
#else
  (void)files_and_folders;
  return missing("ratings from tags");
#endif
}

OpenedSource open_source(const SourceChoice& choice, const SettingsStore& settings) {
  (void)settings;
  switch (choice.kind) {
    case SourceKind::kRhythmbox:
#ifdef JUKORA_HAVE_RHYTHMBOX
      return {rhythmdb_source(choice.path), {}};
#else
      return missing("Rhythmbox's database");
#endif
    case SourceKind::kDatabase:
#ifdef JUKORA_HAVE_PLAYER_DATABASES
      return {player_database_source(choice.path), {}};
#else
      return missing("Strawberry's or Clementine's database");
#endif
    case SourceKind::kMpd:
#ifdef JUKORA_HAVE_MPD_STICKERS
      return {mpd_sticker_source(read_sticker_place(settings)), {}};
#else
      return missing("MPD's stickers");
#endif
    case SourceKind::kTags:
      return open_tag_source({choice.path});
    case SourceKind::kNone:
      break;
  }
  return {nullptr, choice.problem};
}

std::vector<std::string> listed_song_paths(const Songlist& songlist) {
  std::vector<std::string> paths;
  paths.reserve(static_cast<std::size_t>(songlist.Rows()));
  for (int i = 1; i < songlist.Rows(); ++i) {
    std::string path = join_path(songlist.directory(i), songlist.file(i));
    if (is_local_file_path(path)) paths.push_back(std::move(path));
  }
  return paths;
}

}  // namespace jukora
