// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/add_songs.h"

#include <array>
#include <filesystem>
#include <set>
#include <system_error>
#include <utility>
#include <variant>

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/files.h"
#include "platform/native_path.h"
#include "scoring/song_walk.h"
#include "songlist/paths.h"
#include "songlist/songlist.h"
#include "songlist/songlist_change.h"
#include "songlist/songlist_files.h"

namespace jukora {

namespace {

#ifdef _WIN32
constexpr std::array<std::string_view, 17> kAudioExtensions = {"mp3", "mp2", "mp1", "cda", "mod", "mid",
                                                               "wav", "voc", "it",  "xm",  "stm", "s3m",
                                                               "dsm", "far", "ult", "mtm", "669"};
#else
// The players on Linux read today's formats too.
constexpr std::array<std::string_view, 27> kAudioExtensions = {
    "mp3", "mp2", "mp1", "cda",  "mod", "mid", "wav",  "voc", "it",  "xm",  "stm", "s3m", "dsm", "far",
    "ult", "mtm", "669", "flac", "ogg", "oga", "opus", "m4a", "aac", "wma", "ape", "wv",  "mpc"};
#endif

// The folder of several chosen files as the dialog names it, which writes a
// drive root with its separator ("C:\") where one file's Directory is "C:".
std::string dialog_folder(std::string_view path) {
  std::string dir = song_directory(path);
  if (kPathSeparator == '\\' && dir.size() == 2 && dir[1] == ':') dir.push_back(kPathSeparator);
  return dir;
}

bool is_empty_file(const std::string& path) {
  std::error_code error;
  return std::filesystem::file_size(native_path(path), error) == 0 && !error;
}

}  // namespace

bool is_audio_extension(std::string_view extension) {
  for (std::string_view known : kAudioExtensions)
    if (extension == known) return true;
  return false;
}

AddSongs::AddSongs(Songlist& songlist, SonglistFiles& files, Desktop& desktop, EventLoop& loop, DialogMemory& dialog,
                   SteadyNow now)
    : songlist_(songlist), files_(files), desktop_(desktop), loop_(loop), dialog_(dialog), now_(std::move(now)) {}

AddSongs::~AddSongs() = default;

bool append_unlisted_song(Songlist& songlist, std::string_view directory, std::string_view file) {
  if (songlist.contains(directory, file)) return false;
  songlist.add_cells({"", directory, file});
  return true;
}

bool AddSongs::append_song(const std::string& dir, const std::string& file) {
  return append_unlisted_song(songlist_, dir, file);
}

void AddSongs::add_file_row(const std::string& path) {
  if (is_directory(path)) return;
  append_song(song_directory(path), get_file_name(path));
}

void AddSongs::add_files_dialog() {
  FileDialogRequest request{kAddFilesTitle, kAudioFilter, dialog_.initial_dir, dialog_.file_name};
  std::vector<std::string> chosen = desktop_.choose_files(request);
  if (chosen.empty()) return;

  std::vector<SongRef> songs;
  std::set<std::size_t> empty;
  std::string dir;
  for (const std::string& path : chosen) {
    dir = chosen.size() > 1 ? dialog_folder(path) : song_directory(path);
    if (is_empty_file(path)) empty.insert(songs.size());
    songs.push_back({dir, get_file_name(path)});
  }
  const std::string told = empty_songs_text(songs, empty);
  dialog_.initial_dir = dir;
  dialog_.file_name.clear();

  // No data row is current while adding; each new song becomes current in turn.
  SonglistChange change = addition(std::move(songs), ChangeSource::kWindow);
  std::get<Addition>(change.what).select_new = true;
  files_.apply(change);
  songlist_.SetCol(col::kNumber);
  if (!told.empty()) desktop_.notify(told);
}

std::string AddSongs::empty_songs_text(const std::vector<SongRef>& songs, const std::set<std::size_t>& empty) const {
  if (empty.empty()) return {};
  std::size_t added = 0, empty_added = 0;
  std::set<std::pair<std::string_view, std::string_view>> seen;
  for (std::size_t i = 0; i < songs.size(); ++i) {
    if (songlist_.contains(songs[i].directory, songs[i].file) ||
        !seen.emplace(songs[i].directory, songs[i].file).second)
      continue;
    ++added;
    empty_added += empty.count(i);
  }
  if (empty_added == 0) return {};
  const std::string count = std::to_string(empty_added);
  return (empty_added == added ? (added == 1 ? "The song" : "All " + count + " songs") + std::string(" added ")
                               : count + " of the " + std::to_string(added) + " songs added ") +
         (empty_added == 1 ? "is an empty file" : "are empty files") + " (0 bytes), which no player can play.";
}

void AddSongs::drop(const std::vector<std::string>& paths) {
  // A walk under way takes the new paths at its next step.
  const bool walking = walk_ != nullptr;
  if (!walking) walk_ = std::make_unique<SongWalk>([this] { return pace(); });
  for (const std::string& path : paths) walk_->add(path);
  if (walking) return;
  desktop_.set_busy(true);
  // The file is not read again while the walk hands the event loop back.
  files_.begin_walk();
  last_yield_ = now_();
  step();
}

void AddSongs::step() {
  if (walk_->walk_on()) return finish();
  // Time is up: the event loop runs, then the walk goes on, unless the user
  // cancelled it meanwhile.
  loop_.post([this] {
    if (!walk_) return;
    if (!desktop_.show_progress("Looking for songs: " + std::to_string(walk_->found().size()) + " found in " +
                                std::to_string(walk_->folders()) + " folders."))
      walk_->cancel();
    last_yield_ = now_();
    walk_->cancelled() ? finish() : step();
  });
}

bool AddSongs::pace() { return now_() - last_yield_ < kYieldInterval; }

void AddSongs::finish() {
  const std::unique_ptr<SongWalk> walk = std::move(walk_);
  files_.end_walk();
  desktop_.end_progress();
  std::string told;
  if (!walk->cancelled()) {
    told = empty_songs_text(walk->found(), walk->empty());
    files_.apply(addition(walk->take_found(), ChangeSource::kWindow));
  }
  desktop_.set_busy(false);
  if (!told.empty()) desktop_.notify(told);
}

}  // namespace jukora
