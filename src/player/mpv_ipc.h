// One connection to mpv's JSON IPC socket (POSIX only): commands go out as
// JSON lines, replies are matched to them by request_id, events are skipped.
#pragma once

#include <chrono>
#include <cstdint>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

namespace jukora {

// Right after a song ends mpv can stay silent for about half a second.
inline constexpr std::chrono::milliseconds kMpvReplyTimeout{2000};

struct MpvReply {
  bool ok = false;  // mpv answered in time, with "success"
  // Strings hold the bytes mpv sent, also when they are not valid UTF-8.
  nlohmann::json data;
};

class MpvSession {
 public:
  // Nothing when no mpv listens there; a stale socket file refuses.
  static std::optional<MpvSession> connect(const std::string& socket_path,
                                           std::chrono::milliseconds reply_timeout = kMpvReplyTimeout);

  // Takes over a connected stream socket.
  MpvSession(int fd, std::chrono::milliseconds reply_timeout);
  MpvSession(MpvSession&& other) noexcept;
  MpvSession& operator=(MpvSession&&) = delete;
  ~MpvSession();

  // Sends the commands (each a list of string arguments) in one go and
  // answers one reply per command, in order. A reply that does not come
  // within the timeout counts as not ok, and the connection is dropped.
  std::vector<MpvReply> ask_all(const std::vector<std::vector<std::string>>& commands);
  MpvReply ask(const std::vector<std::string>& command);

 private:
  bool send_all(const std::string& bytes);
  bool receive(std::chrono::steady_clock::time_point deadline);
  void drop();

  int fd_ = -1;
  std::chrono::milliseconds reply_timeout_;
  std::int64_t next_id_ = 1;
  std::string input_;
};

}  // namespace jukora
