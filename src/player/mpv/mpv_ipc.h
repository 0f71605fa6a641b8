// SPDX-License-Identifier: GPL-3.0-or-later
// One connection to mpv's JSON IPC socket (POSIX only): commands go out as
// JSON lines, replies are matched to them by request_id, events are skipped
// unless asked for.
#pragma once

#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jukora {

// How long one batch of commands may wait for its replies. Each handler
// sends at most two batches, so no event waits on mpv for more than a fifth
// of a second; a player that needs longer is busy for now (right after a
// song ends mpv can stay silent for about half a second).
inline constexpr std::chrono::milliseconds kMpvReplyTimeout{100};

struct MpvReply {
  bool ok = false;  // mpv answered in time, with "success"
  // Strings hold the bytes mpv sent, also when they are not valid UTF-8.
  nlohmann::json data;
};

class MpvSession {
 public:
  // Why a connection could not be made.
  enum class Refusal {
    kGone,  // nothing listens there (no socket file, or a stale one)
    kBusy,  // a listener that cannot take a connection now (its backlog is full)
  };

  // Nothing when no connection can be made now; `why` then says whether a
  // player is there at all. Never waits.
  static std::optional<MpvSession> connect(const std::string& socket_path,
                                           std::chrono::milliseconds reply_timeout = kMpvReplyTimeout,
                                           Refusal* why = nullptr);

  // Takes over a connected stream socket.
  MpvSession(int fd, std::chrono::milliseconds reply_timeout);
  MpvSession(MpvSession&& other) noexcept;
  MpvSession& operator=(MpvSession&&) = delete;
  ~MpvSession();

  // Sends the commands (each a list of string arguments) in one go and
  // answers one reply per command, in order. Replies that do not all come
  // within the timeout count as not ok, and the connection is dropped.
  std::vector<MpvReply> ask_all(const std::vector<std::vector<std::string>>& commands);
  MpvReply ask(const std::vector<std::string>& command);

  // From now on the events named `name` ("end-file") are kept, as they come
  // with replies or are read by take_events.
  void keep_events(std::string name) { kept_event_ = std::move(name); }
  // The events kept so far, after reading what mpv has sent meanwhile
  // without waiting for more.
  std::vector<nlohmann::json> take_events();

  // The connection was dropped: mpv did not answer in time, or went away.
  bool lost() const { return fd_ < 0; }
  int fd() const { return fd_; }

 private:
  bool send_all(const std::string& bytes, std::chrono::steady_clock::time_point deadline);
  bool receive(std::chrono::steady_clock::time_point deadline);
  void drop();
  // An event line, kept when it is of the kind asked for.
  void note_event(std::string_view line);

  int fd_ = -1;
  std::chrono::milliseconds reply_timeout_;
  std::int64_t next_id_ = 1;
  std::string input_;
  std::string kept_event_;
  std::vector<nlohmann::json> events_;
};

}  // namespace jukora
