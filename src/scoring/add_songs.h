// SPDX-License-Identifier: GPL-3.0-or-later
// Songs entering the list in bulk: the "Add Files" dialog, and files and
// whole directory trees dropped on the grid. New rows hold only Directory and
// File; one recompute and one save end each operation, and the user hears
// once how many of the new songs are empty files. A drop's walk goes in
// steps from the event loop, so that the window stays responsive and no
// handler runs an event loop of its own.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace jukora {

class Songlist;
class SonglistFiles;
struct SongRef;
class Desktop;
class EventLoop;
class SongWalk;
struct DialogMemory;

inline constexpr const char* kAddFilesTitle = "Add Files";
#ifdef _WIN32
inline constexpr const char* kAudioFilter =
    "All Audio Formats|*.mp3;*.mp2;*.mp1;*.mod;*.it;*.xm;*.s3m;*.stm;*.669;*.dsm;*.far;*.ult;*.mtm;*.voc;*.wav;*.mid;"
    "*.cda;|Mpeg Audio|*.mp3;*.mp2;*.mp1|Wave Files|*.wav|Midi Files|*.mid|CD Audio|*.cda|Mod Tracker Files|*.mod;*.it;"
    "*.xm;*.s3m;*.stm;*.669|Other Audio Files|*.dsm;*.far;*.ult;*.mtm;*.voc|All Files|*.*";
#else
inline constexpr const char* kAudioFilter =
    "All Audio Formats|*.mp3;*.mp2;*.mp1;*.mod;*.it;*.xm;*.s3m;*.stm;*.669;*.dsm;*.far;*.ult;*.mtm;*.voc;*.wav;*.mid;"
    "*.cda;*.flac;*.ogg;*.oga;*.opus;*.m4a;*.aac;*.wma;*.ape;*.wv;*.mpc|Mpeg Audio|*.mp3;*.mp2;*.mp1|Wave Files|*.wav|"
    "Midi Files|*.mid|CD Audio|*.cda|Mod Tracker Files|*.mod;*.it;*.xm;*.s3m;*.stm;*.669|Other Audio Files|*.dsm;*.far;"
    "*.ult;*.mtm;*.voc|FLAC, Ogg, Opus, AAC and More|*.flac;*.ogg;*.oga;*.opus;*.m4a;*.aac;*.wma;*.ape;*.wv;*.mpc|"
    "All Files|*.*";
#endif

// A drop's walk hands the event loop back at least this often, so that the
// window keeps painting and Cancel can be clicked.
inline constexpr std::chrono::milliseconds kYieldInterval{30};

// The extensions a drop takes, compared exactly: "mp3" yes, "MP3" no. On
// Windows the 17 of old; elsewhere also flac, ogg, oga, opus, m4a, aac,
// wma, ape, wv and mpc.
bool is_audio_extension(std::string_view extension);

// Appends a row holding only Directory and File unless the song is listed
// already (either spelling of a drive root is the same folder), as every
// bulk intake adds: no recompute, no save. Whether it was added.
bool append_unlisted_song(Songlist& songlist, std::string_view directory, std::string_view file);

class AddSongs {
 public:
  using SteadyNow = std::function<std::chrono::steady_clock::time_point()>;

  AddSongs(
      Songlist& songlist, SonglistFiles& files, Desktop& desktop, EventLoop& loop, DialogMemory& dialog,
      SteadyNow now = [] { return std::chrono::steady_clock::now(); });
  ~AddSongs();

  // Any files the user picks, several at once; the dialog's folder is
  // remembered for the run. Cancelling changes nothing.
  void add_files_dialog();

  // Files and directories dropped on the grid, in the order given. Only audio
  // files are taken; unreadable entries are skipped without a word. The walk
  // begins here and goes on in steps from the event loop; paths dropped while
  // it runs join it. A long walk shows its progress; cancelled, it leaves the
  // list as it was.
  void drop(const std::vector<std::string>& paths);
  // Whether a drop's walk is under way.
  bool dropping() const { return walk_ != nullptr; }

  // Appends the file unless it is listed already; a directory is ignored.
  void add_file_row(const std::string& path);

 private:
  bool append_song(const std::string& dir, const std::string& file);
  // One step of the walk: as far as its time allows, then the next step is
  // posted, or the walk ends.
  void step();
  // Whether the walk may go on now; false once its time is up.
  bool pace();
  void finish();
  // Of the songs about to join the list, how many are empty files (by index
  // in `empty`), for the user; empty when none.
  std::string empty_songs_text(const std::vector<SongRef>& songs, const std::set<std::size_t>& empty) const;

  Songlist& songlist_;
  SonglistFiles& files_;
  Desktop& desktop_;
  EventLoop& loop_;
  DialogMemory& dialog_;
  SteadyNow now_;
  std::chrono::steady_clock::time_point last_yield_;
  std::unique_ptr<SongWalk> walk_;
};

}  // namespace jukora
