// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settings_keys.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "platform/app_folders.h"

namespace jukora {

namespace {

std::string_view trim(std::string_view text) {
  auto is_blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && is_blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && is_blank(text.back())) text.remove_suffix(1);
  return text;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

bool equals_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

// A check box's state, read as a 16-bit whole number: only 1 is checked.
bool box_checked(const SettingsStore& store, std::string_view key) {
  return setting_whole(store, sections::kPrefs, key, 0, INT16_MIN, INT16_MAX) == 1;
}

int read_in_range(const SettingsStore& store, std::string_view key, const WholeRange& range) {
  return static_cast<int>(setting_whole(store, sections::kPrefs, key, range.fallback, range.min, range.max));
}

}  // namespace

std::string fg_col_key(int column) { return "fg_col" + std::to_string(column); }

std::string_view default_winamp_dir() {
#ifdef _WIN32
  return "C:\\Program Files\\Winamp";
#else
  return "/usr/bin";
#endif
}

std::optional<double> to_number(std::string_view text) {
  text = trim(text);
  // sign? (digits [. digits?] | . digits) ([eE] sign? digits)?
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  std::size_t start = i;
  std::size_t int_digits = 0, frac_digits = 0;
  while (i < text.size() && is_digit(text[i])) ++i, ++int_digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && is_digit(text[i])) ++i, ++frac_digits;
  }
  if (int_digits + frac_digits == 0) return std::nullopt;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exp_digits = 0;
    while (i < text.size() && is_digit(text[i])) ++i, ++exp_digits;
    if (exp_digits == 0) return std::nullopt;
  }
  if (i != text.size()) return std::nullopt;
  double value = 0;
  auto [ptr, ec] = std::from_chars(text.data() + start, text.data() + text.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Overflow reads as the largest value of its sign; underflow as zero.
    bool huge = false;
    for (std::size_t k = start; k < text.size() && (is_digit(text[k]) || text[k] == '.'); ++k)
      if (text[k] >= '1' && text[k] <= '9') huge = true;
    auto exp_at = text.find_first_of("eE", start);
    if (exp_at != std::string_view::npos && text.substr(exp_at + 1).starts_with('-')) huge = false;
    value = huge ? std::numeric_limits<double>::max() : 0.0;
  } else if (ec != std::errc() || ptr != text.data() + text.size()) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

std::optional<std::int64_t> to_whole(std::string_view text) {
  auto value = to_number(text);
  if (!value) return std::nullopt;
  double rounded = std::nearbyint(*value);
  if (!(rounded >= -9.2e18 && rounded <= 9.2e18)) return std::nullopt;
  return static_cast<std::int64_t>(rounded);
}

std::optional<bool> to_bool(std::string_view text) {
  text = trim(text);
  if (equals_ignoring_case(text, "true")) return true;
  if (equals_ignoring_case(text, "false")) return false;
  if (auto number = to_number(text)) return *number != 0.0;
  return std::nullopt;
}

bool setting_bool(const SettingsStore& store, std::string_view section, std::string_view key, bool fallback) {
  auto text = store.read(section, key);
  if (!text) return fallback;
  return to_bool(*text).value_or(fallback);
}

std::int64_t setting_whole(const SettingsStore& store, std::string_view section, std::string_view key,
                           std::int64_t fallback, std::int64_t min, std::int64_t max) {
  auto text = store.read(section, key);
  if (!text) return fallback;
  auto value = to_whole(*text);
  if (!value || *value < min || *value > max) return fallback;
  return *value;
}

double setting_number(const SettingsStore& store, std::string_view section, std::string_view key, double fallback) {
  auto text = store.read(section, key);
  if (!text) return fallback;
  auto value = to_number(*text);
  if (!value || !std::isfinite(static_cast<float>(*value))) return fallback;
  return *value;
}

std::string single_text(float value) {
  char buffer[64];
  auto [ptr, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (ec != std::errc()) return "0";
  return std::string(buffer, ptr);
}

bool read_visible(const SettingsStore& store) { return setting_bool(store, sections::kMain, keys::kVisible, false); }

void save_visible(SettingsStore& store, bool visible) {
  store.SaveSetting(sections::kMain, keys::kVisible, visible ? "True" : "False");
}

bool read_mode_button(const SettingsStore& store) {
  return store.GetSetting(sections::kMain, keys::kModeButton, "") != "false";
}

std::string read_last_set(const SettingsStore& store, const AppFolders& folders) {
  // An empty path names no file: every save would fail.
  if (auto path = store.read(sections::kMain, keys::kLastSet); path && !path->empty()) return *path;
  return default_songlist_path(folders);
}

void save_last_set(SettingsStore& store, std::string_view path) {
  store.SaveSetting(sections::kMain, keys::kLastSet, path);
}

WindowPlace read_window_place(const SettingsStore& store, const WindowPlace& design) {
  return {setting_number(store, sections::kWindow, keys::kAppTop, design.top),
          setting_number(store, sections::kWindow, keys::kAppLeft, design.left),
          setting_number(store, sections::kWindow, keys::kAppHeight, design.height),
          setting_number(store, sections::kWindow, keys::kAppWidth, design.width)};
}

void save_window_place(SettingsStore& store, const WindowPlace& place) {
  auto text = [](double twips) { return single_text(static_cast<float>(twips)); };
  store.SaveSetting(sections::kWindow, keys::kAppTop, text(place.top));
  store.SaveSetting(sections::kWindow, keys::kAppLeft, text(place.left));
  store.SaveSetting(sections::kWindow, keys::kAppHeight, text(place.height));
  store.SaveSetting(sections::kWindow, keys::kAppWidth, text(place.width));
}

std::int16_t read_column_width(const SettingsStore& store, int column) {
  return static_cast<std::int16_t>(
      setting_whole(store, sections::kWindow, fg_col_key(column), kDefaultColumnWidth, INT16_MIN, INT16_MAX));
}

bool column_width_stored(const SettingsStore& store, int column) {
  return store.read(sections::kWindow, fg_col_key(column)).has_value();
}

void save_column_width(SettingsStore& store, int column, int twips) {
  store.SaveSetting(sections::kWindow, fg_col_key(column), std::to_string(twips));
}

std::string read_winamp_dir(const SettingsStore& store) {
  return store.GetSetting(sections::kPrefs, keys::kWinampDir, default_winamp_dir());
}

void save_winamp_dir(SettingsStore& store, std::string_view dir) {
  store.SaveSetting(sections::kPrefs, keys::kWinampDir, dir);
}

bool read_add_on_plus(const SettingsStore& store) {
  return setting_number(store, sections::kPrefs, keys::kAddOnPlus, 0) > 0;
}

bool read_add_on_minus(const SettingsStore& store) {
  return setting_number(store, sections::kPrefs, keys::kAddOnMinus, 0) > 0;
}

bool add_on_plus_checked(const SettingsStore& store) { return box_checked(store, keys::kAddOnPlus); }

bool add_on_minus_checked(const SettingsStore& store) { return box_checked(store, keys::kAddOnMinus); }

void save_add_on_plus(SettingsStore& store, bool checked) {
  store.SaveSetting(sections::kPrefs, keys::kAddOnPlus, checked ? "1" : "0");
}

void save_add_on_minus(SettingsStore& store, bool checked) {
  store.SaveSetting(sections::kPrefs, keys::kAddOnMinus, checked ? "1" : "0");
}

bool read_share_mpd(const SettingsStore& store) {
  return setting_bool(store, sections::kPrefs, keys::kShareMpd, false);
}

bool read_share_tags(const SettingsStore& store) {
  return setting_bool(store, sections::kPrefs, keys::kShareTags, false);
}

void save_share_mpd(SettingsStore& store, bool on) {
  store.SaveSetting(sections::kPrefs, keys::kShareMpd, on ? "True" : "False");
}

void save_share_tags(SettingsStore& store, bool on) {
  store.SaveSetting(sections::kPrefs, keys::kShareTags, on ? "True" : "False");
}

std::int32_t read_time_block(const SettingsStore& store) {
  auto text = store.read(sections::kPrefs, keys::kTimeBlock);
  return text ? time_block_of_text(*text) : 0;
}

std::int32_t time_block_of_text(std::string_view text) {
  auto hours = to_number(text);
  if (!hours || std::isnan(*hours)) return 0;
  // A limit too large to hold means "never again", not "no limit".
  return static_cast<std::int32_t>(std::nearbyint(std::clamp<double>(*hours, INT32_MIN, INT32_MAX)));
}

std::string read_time_block_text(const SettingsStore& store) {
  return store.GetSetting(sections::kPrefs, keys::kTimeBlock, "0");
}

void save_time_block_text(SettingsStore& store, std::string_view text) {
  store.SaveSetting(sections::kPrefs, keys::kTimeBlock, text);
}

bool read_notifications(const SettingsStore& store) {
  return setting_bool(store, sections::kPrefs, keys::kNotifications, true);
}

void save_notifications(SettingsStore& store, bool on) {
  store.SaveSetting(sections::kPrefs, keys::kNotifications, on ? "True" : "False");
}

bool read_listen_scores(const SettingsStore& store) {
  return setting_bool(store, sections::kPrefs, keys::kListenScores, false);
}

bool read_listen_notify(const SettingsStore& store) {
  return setting_bool(store, sections::kPrefs, keys::kListenNotify, false);
}

void save_listen_scores(SettingsStore& store, bool on) {
  store.SaveSetting(sections::kPrefs, keys::kListenScores, on ? "True" : "False");
}

void save_listen_notify(SettingsStore& store, bool on) {
  store.SaveSetting(sections::kPrefs, keys::kListenNotify, on ? "True" : "False");
}

int read_end_share(const SettingsStore& store) { return read_in_range(store, keys::kEndShare, kEndShareRange); }

int read_grace_secs(const SettingsStore& store) { return read_in_range(store, keys::kGraceSecs, kGraceSecsRange); }

int read_skip_share(const SettingsStore& store) { return read_in_range(store, keys::kSkipShare, kSkipShareRange); }

void save_end_share(SettingsStore& store, int percent) {
  store.SaveSetting(sections::kPrefs, keys::kEndShare, std::to_string(percent));
}

void save_grace_secs(SettingsStore& store, int seconds) {
  store.SaveSetting(sections::kPrefs, keys::kGraceSecs, std::to_string(seconds));
}

void save_skip_share(SettingsStore& store, int percent) {
  store.SaveSetting(sections::kPrefs, keys::kSkipShare, std::to_string(percent));
}

bool read_floor_on(const SettingsStore& store) { return setting_bool(store, sections::kPrefs, keys::kFloorOn, false); }

std::int32_t read_floor_score(const SettingsStore& store) {
  return static_cast<std::int32_t>(setting_whole(store, sections::kPrefs, keys::kFloorScore, 0, INT32_MIN, INT32_MAX));
}

std::optional<std::int32_t> read_score_floor(const SettingsStore& store) {
  if (!read_floor_on(store)) return std::nullopt;
  return read_floor_score(store);
}

void save_floor_on(SettingsStore& store, bool on) {
  store.SaveSetting(sections::kPrefs, keys::kFloorOn, on ? "True" : "False");
}

void save_floor_score(SettingsStore& store, std::int32_t score) {
  store.SaveSetting(sections::kPrefs, keys::kFloorScore, std::to_string(score));
}

ListeningPrefs read_listening_prefs(const SettingsStore& store) {
  return {read_listen_scores(store), read_end_share(store), read_grace_secs(store), read_skip_share(store),
          read_listen_notify(store), read_floor_on(store),  read_floor_score(store)};
}

void save_listening_prefs(SettingsStore& store, const ListeningPrefs& prefs) {
  const ListeningPrefs stored = read_listening_prefs(store);
  if (prefs.listen != stored.listen) save_listen_scores(store, prefs.listen);
  if (prefs.end_share != stored.end_share) save_end_share(store, prefs.end_share);
  if (prefs.grace_secs != stored.grace_secs) save_grace_secs(store, prefs.grace_secs);
  if (prefs.skip_share != stored.skip_share) save_skip_share(store, prefs.skip_share);
  if (prefs.notify != stored.notify) save_listen_notify(store, prefs.notify);
  if (prefs.floor_on != stored.floor_on) save_floor_on(store, prefs.floor_on);
  if (prefs.floor_score != stored.floor_score) save_floor_score(store, prefs.floor_score);
}

bool read_chance_column(const SettingsStore& store) {
  return setting_bool(store, sections::kWindow, keys::kChanceColumn, false);
}

void save_chance_column(SettingsStore& store, bool shown) {
  store.SaveSetting(sections::kWindow, keys::kChanceColumn, shown ? "True" : "False");
}

std::string read_player_kind(const SettingsStore& store) {
  return store.GetSetting(sections::kPlayer, keys::kPlayerKind, "");
}

void save_player_kind(SettingsStore& store, std::string_view kind) {
  store.SaveSetting(sections::kPlayer, keys::kPlayerKind, kind);
}

std::string read_mpris_bus_name(const SettingsStore& store) {
  return store.GetSetting(sections::kPlayer, keys::kMprisBusName, "");
}

std::string read_mpris_identity(const SettingsStore& store) {
  return store.GetSetting(sections::kPlayer, keys::kMprisIdentity, "");
}

std::string read_mpris_command(const SettingsStore& store) {
  return store.GetSetting(sections::kPlayer, keys::kMprisCommand, "");
}

void save_mpris_player(SettingsStore& store, std::string_view bus_name, std::string_view identity) {
  store.SaveSetting(sections::kPlayer, keys::kMprisBusName, bus_name);
  store.SaveSetting(sections::kPlayer, keys::kMprisIdentity, identity);
}

void save_mpris_command(SettingsStore& store, std::string_view command) {
  store.SaveSetting(sections::kPlayer, keys::kMprisCommand, command);
}

std::string read_mpd_music_folder_text(const SettingsStore& store) {
  return store.GetSetting(sections::kPlayer, keys::kMpdMusicFolder, "");
}

void save_mpd_fields(SettingsStore& store, const MpdFields& fields) {
  store.SaveSetting(sections::kPlayer, keys::kMpdHost, fields.host);
  store.SaveSetting(sections::kPlayer, keys::kMpdPort, fields.port);
  store.SaveSetting(sections::kPlayer, keys::kMpdPassword, fields.password);
  store.SaveSetting(sections::kPlayer, keys::kMpdMusicFolder, fields.music_folder);
}

}  // namespace jukora
