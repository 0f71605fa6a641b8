// SPDX-License-Identifier: GPL-3.0-or-later
// Every settings key the program uses, with its default and its reader.
// Readers never throw: a stored text that does not convert to the reader's
// type counts as absent and yields the key's default.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace jukora {

struct AppFolders;

namespace sections {
inline constexpr std::string_view kMain = "main";
inline constexpr std::string_view kWindow = "window";
inline constexpr std::string_view kPrefs = "prefs";
// The program's own keys for the player in use on Linux.
inline constexpr std::string_view kPlayer = "player";
}  // namespace sections

namespace keys {
inline constexpr std::string_view kVisible = "visible";
inline constexpr std::string_view kModeButton = "mode_button";
inline constexpr std::string_view kLastSet = "last_set";
inline constexpr std::string_view kAppTop = "app_top";
inline constexpr std::string_view kAppLeft = "app_left";
inline constexpr std::string_view kAppHeight = "app_height";
inline constexpr std::string_view kAppWidth = "app_width";
inline constexpr std::string_view kWinampDir = "winamp_dir";
inline constexpr std::string_view kAddOnPlus = "add_on_plus";
inline constexpr std::string_view kAddOnMinus = "add_on_minus";
inline constexpr std::string_view kTimeBlock = "time_block";
// Section "prefs": desktop notifications after a score change from the
// tray or the command line ("True"/"False", default on).
inline constexpr std::string_view kNotifications = "notifications";
// Section "prefs": "Share scores", each off by default ("True"/"False"), and
// the rule an import turns ratings into scores by (11 scores, no stars to
// five stars in half stars, comma-separated).
inline constexpr std::string_view kShareMpd = "share_mpd";
inline constexpr std::string_view kShareTags = "share_tags";
inline constexpr std::string_view kRatingRule = "rating_rule";
// Section "prefs": "Learn scores from listening" and "Tell me when listening
// changes a score" ("True"/"False", each off by default), and the rule's
// three numbers, whole numbers: the end share and the skip share of a song
// in percent, the grace in seconds.
inline constexpr std::string_view kListenScores = "listen_scores";
inline constexpr std::string_view kListenNotify = "listen_notify";
inline constexpr std::string_view kEndShare = "end_share";
inline constexpr std::string_view kGraceSecs = "grace_secs";
inline constexpr std::string_view kSkipShare = "skip_share";
// Section "prefs": "Random skips songs scored below N" ("True"/"False", off
// by default) and N, a whole number.
inline constexpr std::string_view kFloorOn = "floor_on";
inline constexpr std::string_view kFloorScore = "floor_score";
// Section "window": whether the grid shows its "Chance %" column
// ("True"/"False", hidden by default); its width is "fg_col7".
inline constexpr std::string_view kChanceColumn = "chance_column";

// Section "player" (Linux): which player, and how to reach it.
inline constexpr std::string_view kPlayerKind = "kind";  // "mpv" (default), "mpris", "mpd"
// The bus name less "org.mpris.MediaPlayer2." and an instance suffix: "vlc", not "vlc.instance1234";
// older versions stored only its part before the first dot ("io" for io.github.celluloid_player.Celluloid).
inline constexpr std::string_view kMprisBusName = "mpris_name";
inline constexpr std::string_view kMprisIdentity = "mpris_identity";  // shown while it is not running
inline constexpr std::string_view kMprisCommand = "mpris_command";    // how to start it, e.g. "audacious"
inline constexpr std::string_view kMpdHost = "mpd_host";              // a socket path or a host name
inline constexpr std::string_view kMpdPort = "mpd_port";
inline constexpr std::string_view kMpdPassword = "mpd_password";
inline constexpr std::string_view kMpdMusicFolder = "mpd_music_folder";  // as this computer sees it
}  // namespace keys

// "fg_col0" .. "fg_col6".
std::string fg_col_key(int column);

inline constexpr int kDefaultColumnWidth = 1000;

// The player's folder when none is set: Winamp's usual place on Windows, the
// folder that holds mpv elsewhere.
std::string_view default_winamp_dir();

// Conversions of stored text; nothing when the text does not convert.
std::optional<bool> to_bool(std::string_view text);           // True/False, numbers
std::optional<std::int64_t> to_whole(std::string_view text);  // rounds halves to even
std::optional<double> to_number(std::string_view text);

// Typed reads of one key.
bool setting_bool(const SettingsStore& store, std::string_view section, std::string_view key, bool fallback);
// A whole number in [min, max]; anything else gives the fallback.
std::int64_t setting_whole(const SettingsStore& store, std::string_view section, std::string_view key,
                           std::int64_t fallback, std::int64_t min, std::int64_t max);
double setting_number(const SettingsStore& store, std::string_view section, std::string_view key, double fallback);

// Shortest text of a single-precision number, as geometry is written.
std::string single_text(float value);

// The keys as the program reads and writes them: each key is read here
// and written here, and nowhere else.

// Section "main".
bool read_visible(const SettingsStore& store);
void save_visible(SettingsStore& store, bool visible);  // True or False
// False only when "mode_button" is exactly "false".
bool read_mode_button(const SettingsStore& store);
std::string read_last_set(const SettingsStore& store, const AppFolders& folders);
void save_last_set(SettingsStore& store, std::string_view path);

// Section "window": the geometry in twips.
struct WindowPlace {
  double top = 0, left = 0, height = 0, width = 0;
};
// Each length that is absent or no number keeps the value `design` gives.
WindowPlace read_window_place(const SettingsStore& store, const WindowPlace& design);
// Top, left, height, width, in that order, as single-precision number texts.
void save_window_place(SettingsStore& store, const WindowPlace& place);
std::int16_t read_column_width(const SettingsStore& store, int column);
// Whether a width was ever stored for the column.
bool column_width_stored(const SettingsStore& store, int column);
void save_column_width(SettingsStore& store, int column, int twips);

// Section "prefs".
std::string read_winamp_dir(const SettingsStore& store);
void save_winamp_dir(SettingsStore& store, std::string_view dir);
// "add_on_plus" and "add_on_minus" have two readers, as they always had.
// Increment and Decrement add a song when the value read as a number is
// above 0 ("2" and "0.5" too); the Preferences show the box checked only
// for a whole 1, and write "1" or "0".
bool read_add_on_plus(const SettingsStore& store);
bool read_add_on_minus(const SettingsStore& store);
bool add_on_plus_checked(const SettingsStore& store);
bool add_on_minus_checked(const SettingsStore& store);
void save_add_on_plus(SettingsStore& store, bool checked);
void save_add_on_minus(SettingsStore& store, bool checked);
// The replay limit as the play cycle takes it, and the hours text as the
// Preferences show and store it ("0" when absent, anything as typed).
std::int32_t read_time_block(const SettingsStore& store);
// The hours text as the play cycle would take it once saved.
std::int32_t time_block_of_text(std::string_view text);
std::string read_time_block_text(const SettingsStore& store);
void save_time_block_text(SettingsStore& store, std::string_view text);
bool read_notifications(const SettingsStore& store);
void save_notifications(SettingsStore& store, bool on);  // True or False
// "Share scores": MPD's rating sticker, the files' own tags; off unless saved on.
bool read_share_mpd(const SettingsStore& store);
bool read_share_tags(const SettingsStore& store);
void save_share_mpd(SettingsStore& store, bool on);  // True or False
void save_share_tags(SettingsStore& store, bool on);

// The listening rule's numbers: each reads as its default when absent or
// outside its range.
struct WholeRange {
  std::int64_t fallback, min, max;
};
inline constexpr WholeRange kEndShareRange{10, 0, 50};
inline constexpr WholeRange kGraceSecsRange{5, 0, 60};
inline constexpr WholeRange kSkipShareRange{50, 0, 90};
bool read_listen_scores(const SettingsStore& store);
bool read_listen_notify(const SettingsStore& store);
void save_listen_scores(SettingsStore& store, bool on);  // True or False
void save_listen_notify(SettingsStore& store, bool on);
int read_end_share(const SettingsStore& store);
int read_grace_secs(const SettingsStore& store);
int read_skip_share(const SettingsStore& store);
void save_end_share(SettingsStore& store, int percent);
void save_grace_secs(SettingsStore& store, int seconds);
void save_skip_share(SettingsStore& store, int percent);
// The score below which Random passes songs over; nothing while the floor
// is off. A floor that is no whole number of the 32-bit range counts as 0.
std::optional<std::int32_t> read_score_floor(const SettingsStore& store);
bool read_floor_on(const SettingsStore& store);
std::int32_t read_floor_score(const SettingsStore& store);
void save_floor_on(SettingsStore& store, bool on);  // True or False
void save_floor_score(SettingsStore& store, std::int32_t score);
// All that Preferences' Listening box shows: the two switches, the rule's
// numbers and the floor.
struct ListeningPrefs {
  bool listen = false;
  int end_share = 0, grace_secs = 0, skip_share = 0;
  bool notify = false;
  bool floor_on = false;
  std::int32_t floor_score = 0;
};
ListeningPrefs read_listening_prefs(const SettingsStore& store);
// Writes only the keys whose values differ from the stored ones, so that a
// default the person never touched stays unwritten.
void save_listening_prefs(SettingsStore& store, const ListeningPrefs& prefs);

bool read_chance_column(const SettingsStore& store);
void save_chance_column(SettingsStore& store, bool shown);  // True or False
// Section "player" (Linux).
// "mpv", "mpris" or "mpd" as stored; empty when none is (the built-in player).
std::string read_player_kind(const SettingsStore& store);
void save_player_kind(SettingsStore& store, std::string_view kind);
// The desktop player chosen, as stored: empty when none was.
std::string read_mpris_bus_name(const SettingsStore& store);
std::string read_mpris_identity(const SettingsStore& store);
std::string read_mpris_command(const SettingsStore& store);
void save_mpris_player(SettingsStore& store, std::string_view bus_name, std::string_view identity);
void save_mpris_command(SettingsStore& store, std::string_view command);
// MPD's address and music folder as the user typed them.
struct MpdFields {
  std::string host, port, password, music_folder;
};
std::string read_mpd_music_folder_text(const SettingsStore& store);
void save_mpd_fields(SettingsStore& store, const MpdFields& fields);

}  // namespace jukora
