// SPDX-License-Identifier: GPL-3.0-or-later
// Winamp's window on Windows: found by its window class, asked with
// SendMessageTimeout, and started through CreateProcess.
#pragma once

#ifdef _WIN32

#include <string>

#include "player/winamp/winamp_window.h"

namespace jukora {

class Win32WinampWindow : public WinampWindow {
 public:
  Handle find_winamp() override;
  std::optional<long> version(Handle window) override;
  std::optional<long> write_playlist(Handle window) override;
  std::optional<long> is_playing(Handle window) override;
  std::optional<long> output_time(Handle window, OutputTime what) override;
  void stop(Handle window) override;
  void run(const std::string& program, const std::string& command_line) override;
};

}  // namespace jukora

#endif
