// SPDX-License-Identifier: GPL-3.0-or-later
// One open connection to MPD through libmpdclient, every exchange bounded
// by a deadline. Nothing of libmpdclient shows beyond this unit.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace jukora {

// A command's name and up to two arguments, e.g. {"add", "a/b.flac"}.
using MpdCommand = std::vector<std::string>;
using MpdPairs = std::vector<std::pair<std::string, std::string>>;

struct MpdAnswer {
  enum class Status {
    kOk,
    kError,     // MPD refused a command ("ACK"): the one after the last reply; code and text say why
    kTimedOut,  // no answer by the deadline: the connection is dropped
    kLost,      // the connection broke
  };
  Status status = Status::kOk;
  // One entry per command that succeeded, in order.
  std::vector<MpdPairs> replies;
  int code = 0;      // MPD's error number (50: no such song, 4: permission, 3: password)
  std::string text;  // MPD's words

  bool ok() const { return status == Status::kOk; }
  // The first value of `key` in the reply to command `command`; empty when absent.
  std::string value(std::size_t command, std::string_view key) const;
};

class MpdSession {
 public:
  // Takes over a connected socket whose welcome line has been read. Nothing
  // when libmpdclient cannot take it (the socket is closed then).
  static std::unique_ptr<MpdSession> adopt(int fd);
  ~MpdSession();
  MpdSession(const MpdSession&) = delete;
  MpdSession& operator=(const MpdSession&) = delete;

  // Sends the commands as one list and reads the answers until `deadline`.
  // After a time-out or a broken connection the session is of no further use.
  MpdAnswer run(const std::vector<MpdCommand>& commands, std::chrono::steady_clock::time_point deadline);
  // False once the connection broke, or MPD closed it while it lay idle.
  bool usable();

 private:
  struct Connection;
  using Time = std::chrono::steady_clock::time_point;
  explicit MpdSession(std::unique_ptr<Connection> connection);
  // One wait for the socket, bounded by what is left of the deadline; false
  // when none is left.
  bool wait_for(short events, Time deadline);
  // Hands MPD some of what waits in the output buffer.
  MpdAnswer::Status write_some(Time deadline);
  // The commands as one command list, all of it sent.
  MpdAnswer::Status send(const std::vector<MpdCommand>& commands, Time deadline);
  // The replies to `commands` commands, into `answer`.
  MpdAnswer::Status receive(std::size_t commands, MpdAnswer& answer, Time deadline);
  std::unique_ptr<Connection> connection_;
  bool broken_ = false;
};

}  // namespace jukora
