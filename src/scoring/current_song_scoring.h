// Scoring the song the player is at (the Increment and Decrement tray
// buttons), and adding a song to the list by its directory and file.
#pragma once

#include <string_view>

namespace jukora {

class Songlist;
class SonglistFiles;
class SettingsStore;
class WinampLink;
class Desktop;

class CurrentSongScoring {
 public:
  CurrentSongScoring(Songlist& songlist, SonglistFiles& files, const SettingsStore& settings, WinampLink& link,
                     Desktop& desktop);

  // Raises the playing song's Score by one; adds the song when it is not
  // listed and "add_on_plus" is on.
  void increment_current_song();
  // Lowers it by one; "add_on_minus" decides about adding.
  void decrement_current_song();

 private:
  void score_current_song(int step);

  Songlist& songlist_;
  SonglistFiles& files_;
  const SettingsStore& settings_;
  WinampLink& link_;
  Desktop& desktop_;
};

// Appends the song as a new row (replacing the placeholder row of an empty
// list), recomputes and saves. Names may hold any character, tabs included.
void add_song_row(Songlist& songlist, SonglistFiles& files, std::string_view directory, std::string_view file);

}  // namespace jukora
