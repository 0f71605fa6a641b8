// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/add_songs.h"

#include <array>
#include <utility>
#include <variant>

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "platform/files.h"
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

class DropWalk {
 public:
  explicit DropWalk(SonglistFiles& files) : files_(files) { files_.begin_walk(); }
  ~DropWalk() { files_.end_walk(); }
  DropWalk(const DropWalk&) = delete;
  DropWalk& operator=(const DropWalk&) = delete;

 private:
  SonglistFiles& files_;
};

class BusyCursor {
 public:
  explicit BusyCursor(Desktop& desktop) : desktop_(desktop) { desktop_.set_busy(true); }
  ~BusyCursor() { desktop_.set_busy(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  Desktop& desktop_;
};

}  // namespace

bool is_audio_extension(std::string_view extension) {
  for (std::string_view known : kAudioExtensions)
    if (extension == known) return true;
  return false;
}

AddSongs::AddSongs(Songlist& songlist, SonglistFiles& files, Desktop& desktop, DialogMemory& dialog, SteadyNow now)
    : songlist_(songlist), files_(files), desktop_(desktop), dialog_(dialog), now_(std::move(now)) {}

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
  std::string dir;
  for (const std::string& path : chosen) {
    dir = chosen.size() > 1 ? dialog_folder(path) : song_directory(path);
    songs.push_back({dir, get_file_name(path)});
  }
  dialog_.initial_dir = dir;
  dialog_.file_name.clear();

  // No data row is current while adding; each new song becomes current in turn.
  SonglistChange change = addition(std::move(songs), ChangeSource::kWindow);
  std::get<Addition>(change.what).select_new = true;
  files_.apply(change);
  songlist_.SetCol(col::kNumber);
}

void AddSongs::MSFlexGrid1_OLEDragDrop(const std::vector<std::string>& paths) {
  BusyCursor busy(desktop_);
  last_yield_ = now_();
  SongWalk walk([&] { return pace(walk); });
  {
    // The file is not read again while the walk yields to other events.
    DropWalk during(files_);
    for (const std::string& path : paths) drag_drop_file(walk, path);
  }
  desktop_.end_progress();
  if (walk.cancelled()) return;
  files_.apply(addition(walk.take_found(), ChangeSource::kWindow));
}

void AddSongs::drag_drop_file(SongWalk& walk, const std::string& path) { walk.take(path); }

bool AddSongs::pace(const SongWalk& walk) {
  if (now_() - last_yield_ < kYieldInterval) return true;
  desktop_.yield_events();
  const bool go_on = desktop_.show_progress("Looking for songs: " + std::to_string(walk.found().size()) + " found in " +
                                            std::to_string(walk.folders()) + " folders.");
  last_yield_ = now_();
  return go_on;
}

}  // namespace jukora
