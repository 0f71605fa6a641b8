// SPDX-License-Identifier: GPL-3.0-or-later
// Winamp as its developer documentation gives it: a main window that answers
// a few window messages, and a command line. WinampLink speaks Winamp's
// protocol over this; on Windows it is Win32WinampWindow, in unit tests a
// stand-in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace jukora {

class WinampWindow {
 public:
  using Handle = std::intptr_t;
  static constexpr Handle kNoWindow = 0;

  virtual ~WinampWindow() = default;

  // Winamp's main window, found by its class; kNoWindow when none runs.
  // Looked up afresh for every request and never kept.
  virtual Handle find_winamp() = 0;

  // The answers of the requests to a window find_winamp found; nothing when
  // Winamp did not answer in time (a hung Winamp is busy, not gone).
  // IPC_GETVERSION: 0x20yx for a Winamp 2.yx.
  virtual std::optional<long> version(Handle window) = 0;
  // IPC_WRITEPLAYLIST: Winamp writes "winamp.m3u" in its own folder and
  // answers the 0-based position of the current song, negative for none.
  virtual std::optional<long> write_playlist(Handle window) = 0;
  // IPC_ISPLAYING: 1 playing, 3 paused, anything else stopped.
  virtual std::optional<long> is_playing(Handle window) = 0;
  // IPC_GETOUTPUTTIME: with kOutputPosition the position in the song in
  // milliseconds, with kOutputLength its length in seconds; -1 while
  // nothing plays.
  enum OutputTime { kOutputPosition = 0, kOutputLength = 1 };
  virtual std::optional<long> output_time(Handle window, OutputTime what) = 0;
  // The Stop button's command.
  virtual void stop(Handle window) = 0;

  // Runs `program` minimised with `command_line`, which begins with the
  // program's path, unquoted; never waited for.
  virtual void run(const std::string& program, const std::string& command_line) = 0;
};

}  // namespace jukora
