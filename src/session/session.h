// SPDX-License-Identifier: GPL-3.0-or-later
// The program itself, in standard C++: the songlist and its file, the song
// events, the play modes and their one-second tick, scoring the playing song
// and its retry, adding songs and the drop's walk, undo and redo, the
// search, the playing song, the score history and the score mirrors, and
// what the command table asks for (its intents). A shell lends it the few
// platform pieces it needs (SessionPlatform), forwards its window's events
// to it as intents, and shows what it announces.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/app_folders.h"
#include "platform/desktop.h"
#include "playmodes/play_choice.h"
#include "playmodes/play_modes.h"
#include "ratings/score_mirrors.h"
#include "scoring/add_songs.h"
#include "scoring/current_song_scoring.h"
#include "scoring/score_changes.h"
#include "session/intents.h"
#include "session/listening_watch.h"
#include "session/playing_song.h"
#include "session/search_filter.h"
#include "session/session_watcher.h"
#include "songlist/song_events.h"
#include "songlist/song_search.h"
#include "songlist/songlist.h"
#include "songlist/songlist_files.h"

namespace jukora {

class Clock;
class EventLoop;
class HistoryRecorder;
class HistoryStore;
class PlayerLink;
class ScoreSink;
class SettingsStore;
class Timer;
struct CommandReply;

// What a shell lends the session, each piece by its role.
struct SessionPlatform {
  SettingsStore& settings;
  Desktop& desktop;
  Clock& clock;
  EventLoop& loop;
  // The play cycle's one-second timer, whose ticks the shell's window hands
  // to Session::tick.
  Timer& cycle_timer;
  PlayerLink& link;
  AppFolders folders;
  // How the search folds text it compares (case and accents).
  SongSearch::Fold fold;
  // Where the score history is kept; null where this build keeps none.
  HistoryStore* history = nullptr;
  // The score mirrors (MPD's sticker, the files' tags); null where this
  // build has none.
  ScoreSink* mpd_sink = nullptr;
  ScoreSink* tag_sink = nullptr;
  // A caller's ratings import (--import-ratings); empty where this build
  // reads no ratings.
  std::function<void(const std::string& source, bool dry_run, const CommandReply& reply)> import_ratings = {};
};

class Session : public Intents {
 public:
  explicit Session(SessionPlatform platform);
  ~Session() override;
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  // A window that shows the session, told after each change; it must stop
  // watching before it goes.
  void watch(SessionWatcher& watcher);
  void unwatch(SessionWatcher& watcher);

  // Start-up: the captions and the songlist read. Then start(): the quiet
  // lookups of the playing song begin.
  void load_songlist();
  void start();

  // What the window asks for.
  void start_cycle(PlayChoice choice);
  void songlist_command(SonglistCommand command);
  void add_files();
  // Files and folders dropped on the grid: the walk goes on in steps from
  // the event loop, and the songs found join the list at its end.
  void drop(const std::vector<std::string>& paths);
  // The score buttons and keys, and Delete, over the rows they act on: the
  // range Row..RowSel, or the rows a search shows of it.
  void step_scores(ScoreDirection direction);
  void delete_rows();
  // Double-click or Enter: the row played at once.
  void play_row(int row);
  // The play cycle's one-second tick. A tick held up by a message box is not
  // entered again by the ticks that arrive while the box is open.
  void tick();
  // "Stop Winamp" (or the player in use): the cycle ends and the player stops.
  void stop_player();
  void show_preferences();
  // Ctrl+J and "Show Playing": the window shown with the playing song's row
  // selected and in view; the status line says why when there is none.
  void show_playing();
  // The view's cursor and selection, as the user set them.
  void select(int row, int row_sel);
  // Ctrl+A: every row shown selected, anchored at the first.
  void select_all();
  // The search field's text.
  void search(std::string_view query);
  // Undo and Redo of the menu and the keys; false when there was nothing.
  bool undo_change();
  bool redo_change();
  // What a notification's Undo runs: Undo of the step on top now, which does
  // nothing once another step was taken since; empty when there is none.
  std::function<void()> offer_undo();
  // The file may have changed on disk (the shell's watch saw it): read
  // again if it did; `top_row` comes back as the row its song stands at now.
  // Whether the rows were read again.
  bool reread_if_changed(int& top_row);
  // Exit, and closing the window: what changed and was not saved yet is
  // saved (a direct play's Last Played), and a direct play the player has
  // not confirmed yet counts as played.
  void save_unsaved();

  // What the command table asks for (intents.h).
  void increment(ChangeSource source) override;
  void decrement(ChangeSource source) override;
  void skip() override;
  void show() override;
  void toggle_list() override;
  void open_mode_menu() override;
  void undo() override;
  void import_ratings(const std::string& source, bool dry_run, const CommandReply& reply) override;

  // Tells the watchers what changed since they were last told. Every intent
  // and every tick ends with it; a shell that changed the session's parts
  // itself (an import) calls it too.
  void announce();
  // The cursor's row is to be brought into view at the next announcement.
  void reveal_cursor() { reveal_ = true; }

  // The rows the score keys and Delete act on now.
  ChosenRows chosen_rows();

  Songlist& songlist() { return songlist_; }
  const Songlist& songlist() const { return songlist_; }
  SonglistFiles& files() { return files_; }
  PlayModes& play_modes() { return play_modes_; }
  CurrentSongScoring& scoring() { return scoring_; }
  ListeningWatch& listening() { return listening_; }
  AddSongs& add_songs() { return add_songs_; }
  SearchFilter& search_filter() { return search_; }
  PlayingSong& playing() { return playing_; }
  SongEvents& events() { return events_; }
  SettingsStore& settings() { return settings_; }
  PlayerLink& link() { return link_; }
  const AppFolders& folders() const { return folders_; }
  DialogMemory& dialog_memory() { return dialog_memory_; }

 private:
  class Loop;
  // What the watchers were last told of.
  struct Told {
    std::uint64_t revision = 0, content = 0, search = 0;
    int rows = -1, row = -1, row_sel = -1;
    std::string playing, path;
  };

  void tell_mirror_notices();
  // "Random picked NAME: score 7, 2.4 % chance", where notifications are on.
  void tell_random_pick(int row);

  SettingsStore& settings_;
  Desktop& desktop_;
  PlayerLink& link_;
  Timer& cycle_timer_;
  const AppFolders folders_;
  const std::function<void(const std::string&, bool, const CommandReply&)> import_ratings_;
  // Timers and posted work come back through it, each announced when done.
  std::unique_ptr<Loop> loop_;
  DialogMemory dialog_memory_;
  Songlist songlist_;
  SongEvents events_;
  SonglistFiles files_;
  std::unique_ptr<Timer> score_retry_;
  PlayModes play_modes_;
  CurrentSongScoring scoring_;
  AddSongs add_songs_;
  SearchFilter search_;
  PlayingSong playing_;
  ScoreMirrors mirrors_;
  ListeningWatch listening_;
  std::unique_ptr<Timer> mirror_notices_;
  int quiet_looks_ = 0;
  // After everything that tells song events, so that it goes first.
  std::unique_ptr<HistoryRecorder> recorder_;
  std::vector<SessionWatcher*> watchers_;
  Told told_;
  bool reveal_ = false;
  bool in_tick_ = false;
};

}  // namespace jukora
