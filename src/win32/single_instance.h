// SPDX-License-Identifier: GPL-3.0-or-later
// One Jukora per user and logon session. The first copy holds a named pipe
// whose name carries the user's SID and the session id; it is created as the
// pipe's first instance, refuses remote clients, and its access list admits
// only that user. A later copy hands its word to the first over the pipe,
// after checking that the first runs as the same user, and ends.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <thread>

#include "win32/start_command.h"

namespace jukora {

// "\\.\pipe\Jukora-<SID>-<session id>"; empty when the user cannot be told.
std::wstring instance_pipe_name();

class InstanceServer {
 public:
  InstanceServer() = default;
  ~InstanceServer();
  InstanceServer(const InstanceServer&) = delete;
  InstanceServer& operator=(const InstanceServer&) = delete;

  // Takes the name; false when another copy holds it (or it cannot be made).
  bool claim(const std::wstring& name);
  // Answers the copies started later, on a thread of its own: each known word
  // goes to `deliver` (on that thread), anything else is refused unheard.
  void serve(std::function<void(RemoteWord)> deliver);

 private:
  void run();
  // One client: its line read within a deadline, then the answer.
  void answer_client();

  HANDLE pipe_ = INVALID_HANDLE_VALUE;
  HANDLE stop_ = nullptr;
  std::function<void(RemoteWord)> deliver_;
  std::thread thread_;
};

enum class Forwarded {
  kDone,          // the running copy took the word (and, for exit, ended)
  kNoneRunning,   // no copy holds the name
  kRefused,       // the copy refused the word
  kNotSameUser,   // the name is held by a program of another user
  kNoAnswer,      // the copy did not answer in time
  kStillRunning,  // exit was taken, but the copy did not end in time
};

// Hands `word` to the copy that holds `name`.
Forwarded forward_word(const std::wstring& name, std::string_view word, DWORD exit_wait_ms = 10000);

}  // namespace jukora
