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

// Section "player" (Linux): which player, and how to reach it.
inline constexpr std::string_view kPlayerKind = "kind";               // "mpv" (default), "mpris", "mpd"
inline constexpr std::string_view kMprisBusName = "mpris_name";       // bus-name stem: "vlc", not "vlc.instance1234"
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

// The keys as the program reads them.
bool read_visible(const SettingsStore& store);
// False only when "mode_button" is exactly "false".
bool read_mode_button(const SettingsStore& store);
std::string read_last_set(const SettingsStore& store, const AppFolders& folders);
std::string read_winamp_dir(const SettingsStore& store);
bool read_add_on_plus(const SettingsStore& store);
bool read_add_on_minus(const SettingsStore& store);
bool read_notifications(const SettingsStore& store);
bool read_share_mpd(const SettingsStore& store);
bool read_share_tags(const SettingsStore& store);
std::int32_t read_time_block(const SettingsStore& store);
std::int16_t read_column_width(const SettingsStore& store, int column);
// "mpv", "mpris" or "mpd" as stored; empty when none is (the built-in player).
std::string read_player_kind(const SettingsStore& store);

}  // namespace jukora
