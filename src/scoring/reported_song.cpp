// SPDX-License-Identifier: GPL-3.0-or-later
#include "scoring/reported_song.h"

#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "platform/app_folders.h"
#include "platform/file_reach.h"
#include "platform/local_path.h"
#include "platform/name_limits.h"
#include "platform/native_path.h"
#include "songlist/paths.h"

namespace jukora {

namespace {

namespace fs = std::filesystem;

bool is_control(char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }

// The names of the path after its root, in order.
template <class Each>
void each_name(std::string_view path, Each each) {
  // POSIX "/"; Windows "X:\" or "\\host\share\" (the host and share count as names).
  std::size_t at = path.find_first_not_of(kPathSeparator);
  if (kPathSeparator == '\\' && path.size() >= 3 && path[1] == ':') at = 3;
  while (at <= path.size()) {
    const std::size_t end = std::min(path.find(kPathSeparator, at), path.size());
    each(path.substr(at, end - at));
    at = end + 1;
  }
}

// ".", ".." or a doubled separator in the folder part.
bool spelled_oddly(std::string_view path) {
  bool odd = false;
  each_name(path.substr(0, path.rfind(kPathSeparator)),
            [&](std::string_view name) { odd = odd || name.empty() || name == "." || name == ".."; });
  return odd;
}

}  // namespace

std::optional<std::string> song_name_problem(std::string_view path) {
  if (!is_local_file_path(path)) return "it is not a file on this computer";
  if (path.size() > kLongestPath) return "its name is longer than this system allows";
  for (char c : path)
    if (is_control(c)) return "its name holds a control character (a line break, a tab)";
  std::optional<std::string> problem;
  each_name(path, [&](std::string_view name) {
    if (name.size() > kLongestName) problem = "a name in it is longer than this system allows";
  });
  const std::string file = get_file_name(path);
  if (!problem && (file.empty() || file == "." || file == "..")) problem = "it names a folder, not a file";
  return problem;
}

SongFileLook look_at_song_file(const std::string& path, std::chrono::milliseconds deadline) {
  using Kind = SongFileLook::Kind;
  auto seen = std::make_shared<SongFileLook>();
  const bool answered = look_within(
      [seen, path] {
        std::error_code error;
        seen->resolved = path;
        if (spelled_oddly(path)) {
          // What the player opened is what the system makes of the spelling.
          const fs::path folder = fs::canonical(native_path(get_dir_name(path)), error);
          const auto text = error ? std::nullopt : local_text(folder);
          if (!text) {
            seen->kind = error == std::errc::no_such_file_or_directory ? Kind::kMissing : Kind::kUnreadable;
            return;
          }
          seen->resolved = join_path(*text, get_file_name(path));
        }
        const fs::file_status status = fs::status(native_path(seen->resolved), error);
        if (status.type() == fs::file_type::not_found) {
          seen->kind = Kind::kMissing;
        } else if (error) {
          seen->kind = Kind::kUnreadable;
        } else if (status.type() != fs::file_type::regular) {
          seen->kind = Kind::kOther;
        } else {
          std::ifstream file(native_path(seen->resolved), std::ios::binary);
          seen->kind = file ? Kind::kRegular : Kind::kUnreadable;
        }
      },
      deadline);
  return answered ? *seen : SongFileLook{};
}

ReportedSong check_reported_song(const std::string& path, const std::function<SongFileLook(const std::string&)>& look) {
  auto no_song = [&](const std::string& why) {
    return ReportedSong{{}, shown_song(path) + " cannot be listed: " + why + "."};
  };
  if (auto problem = song_name_problem(path)) return no_song(*problem);
  const SongFileLook seen = look(path);
  switch (seen.kind) {
    case SongFileLook::Kind::kRegular:
      break;
    case SongFileLook::Kind::kMissing:
      return no_song("it does not exist");
    case SongFileLook::Kind::kOther:
      return no_song("it is not a regular file");
    case SongFileLook::Kind::kUnreadable:
      return no_song("you may not read it");
    case SongFileLook::Kind::kNoAnswer:
      return no_song("its disk did not answer in time");
  }
  if (auto problem = song_name_problem(seen.resolved)) return no_song(*problem);
  return {seen.resolved, {}};
}

std::string shown_song(std::string_view path) {
  constexpr std::size_t kShown = 60;
  std::string name = get_file_name(path);
  const bool cut = name.size() > kShown;
  if (cut) {
    name.resize(kShown);
    // Not in the middle of a UTF-8 letter.
    while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80) name.pop_back();
    if (!name.empty() && static_cast<unsigned char>(name.back()) >= 0xC0) name.pop_back();
  }
  for (char& c : name)
    if (is_control(c)) c = '?';
  return "\"" + name + (cut ? "\u2026\"" : "\"");
}

}  // namespace jukora
