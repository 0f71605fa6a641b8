// SPDX-License-Identifier: GPL-3.0-or-later
// MPD's sticker commands on a connection of their own, one request at a
// time, every wait bounded by a deadline. Used from worker threads only: the
// dial may take as long as the deadline allows. POSIX only.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "player/mpd/mpd_address.h"

namespace jukora {

class SettingsStore;

// Where MPD is and where its music lies, as Preferences say; read on the
// user-interface thread and handed to the worker.
struct StickerPlace {
  MpdAddress address;
  std::string music_folder;  // empty: ask MPD (over a local socket)
};
StickerPlace read_sticker_place(const SettingsStore& settings);

// What MPD answers when it keeps no stickers.
inline constexpr std::string_view kStickersOff = "sticker database is disabled";

struct StickerReply {
  enum class Status {
    kOk,
    kRefused,      // MPD answered ACK: `code` and `text` say why
    kUnreachable,  // nothing there, an unknown name, a refused password
    kBusy,         // no answer in time, or the connection broke
  };
  Status status = Status::kBusy;
  std::vector<std::pair<std::string, std::string>> pairs;
  int code = 0;
  std::string text;  // MPD's words, or why MPD cannot be reached
};

class StickerClient {
 public:
  explicit StickerClient(StickerPlace place);
  ~StickerClient();
  StickerClient(const StickerClient&) = delete;
  StickerClient& operator=(const StickerClient&) = delete;

  // Sends one command line (its arguments already quoted) and reads MPD's
  // answer until `deadline`, connecting first when needed.
  StickerReply run(const std::string& line, std::chrono::steady_clock::time_point deadline);
  // The music folder of the settings, else the one MPD told.
  const std::string& music_folder() const { return music_folder_; }
  const StickerPlace& place() const { return place_; }

 private:
  StickerReply connect(std::chrono::steady_clock::time_point deadline);
  StickerReply exchange(const std::string& line, std::chrono::steady_clock::time_point deadline);

  StickerPlace place_;
  std::string music_folder_;
  int fd_ = -1;
  std::string buffer_;
};

// An argument as MPD reads it: in double quotes, '"' and '\' escaped.
std::string mpd_quoted(std::string_view text);

}  // namespace jukora
