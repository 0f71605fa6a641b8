// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/source_choice.h"

#include <cstdio>
#include <memory>

#include "platform/app_folders.h"
#include "platform/clean_path.h"
#include "platform/files.h"
#include "platform/local_path.h"
#include "platform/native_path.h"
#include "scoring/add_songs.h"
#include "songlist/paths.h"

namespace jukora {

namespace {

constexpr std::string_view kSqliteHeader{"SQLite format 3\0", 16};
constexpr std::size_t kSniffBytes = 4096;

std::string in_quotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string first_bytes(const std::string& path) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(open_file(path, "rb"), &std::fclose);
  if (!file) return {};
  std::string bytes(kSniffBytes, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
  return bytes;
}

bool looks_like_rhythmdb(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  while (!bytes.empty() &&
         (bytes.front() == ' ' || bytes.front() == '\n' || bytes.front() == '\r' || bytes.front() == '\t'))
    bytes.remove_prefix(1);
  return bytes.starts_with("<") && bytes.find("<rhythmdb") != std::string_view::npos;
}

}  // namespace

SourceChoice choose_source(std::string_view argument) {
  if (argument == "mpd") return {SourceKind::kMpd, {}, {}};
  const std::string path(argument);
  // Whose working folder a relative path would be read against is not known here.
  if (!is_local_file_path(path))
    return {SourceKind::kNone, path,
            in_quotes(path) + " is not a full path: give the path from the root of the file system."};
  if (is_directory(path)) return {SourceKind::kTags, path, {}};
  if (!is_file(path))
    return {SourceKind::kNone, path,
            in_quotes(path) + " is neither a file nor a folder Jukora can read (is it there, and a regular file?)."};
  const std::string bytes = first_bytes(path);
  if (bytes.starts_with(kSqliteHeader)) return {SourceKind::kDatabase, path, {}};
  if (looks_like_rhythmdb(bytes)) return {SourceKind::kRhythmbox, path, {}};
  if (is_audio_extension(get_extension(path))) return {SourceKind::kTags, path, {}};
  return {SourceKind::kNone, path,
          in_quotes(path) +
              " is no source of ratings Jukora knows: give a Rhythmbox rhythmdb.xml, a Strawberry or Clementine "
              "database, the word mpd, or a folder or audio file whose tags hold ratings."};
}

std::string absolute_source_argument(std::string_view argument, std::string_view folder) {
  if (argument == "mpd" || argument.empty()) return std::string(argument);
  return clean_path(argument, folder);
}

std::vector<KnownSource> known_sources(std::string_view home, std::string_view data_home,
                                       std::string_view config_home) {
  const std::string data = data_home.empty() ? join_path(join_path(home, ".local"), "share") : std::string(data_home);
  const std::string config = config_home.empty() ? join_path(home, ".config") : std::string(config_home);
  return {
      {"Rhythmbox", join_path(join_path(data, "rhythmbox"), "rhythmdb.xml")},
      {"Strawberry", join_path(join_path(join_path(data, "strawberry"), "strawberry"), "strawberry.db")},
      {"Clementine", join_path(join_path(config, "Clementine"), "clementine.db")},
  };
}

}  // namespace jukora
