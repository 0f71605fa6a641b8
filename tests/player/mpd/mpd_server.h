// SPDX-License-Identifier: GPL-3.0-or-later
// A private Music Player Daemon for the tests: its own music folder of
// generated one-second songs, database, state file and null output,
// listening on a local socket and a free TCP port on 127.0.0.1.
#pragma once

#include <sys/types.h>

#include <string>

namespace jukora::testing {

struct MpdOptions {
  std::string password;   // with every right; clients without one have them all too
  std::string user;       // the user MPD switches to (only when we are root)
  bool stickers = false;  // keeps a sticker file
};

class MpdServer {
 public:
  using Options = MpdOptions;

  // Writes the configuration into `folder`, with music/a.wav, b.wav, c.wav,
  // "music/Sub Dir/Ünïcødé song.wav" and "music/Sub Dir/c "q".wav", and
  // starts MPD.
  MpdServer(const std::string& folder, Options options = {});
  ~MpdServer();
  MpdServer(const MpdServer&) = delete;
  MpdServer& operator=(const MpdServer&) = delete;

  // Starts MPD and waits until it answers and has finished scanning its
  // folder. False when it did not come up in time.
  bool start();
  void kill(int signal);
  // Back to a known state between tests: stopped, empty queue, modes off.
  void reset();

  // One raw protocol exchange over the socket: every line MPD answered,
  // its final "OK" or "ACK ..." included.
  std::string command(const std::string& line) const;
  // The value of `key` in the answer to `line`; empty when absent.
  std::string value(const std::string& line, const std::string& key) const;

  const std::string& socket() const { return socket_; }
  unsigned port() const { return port_; }
  const std::string& music() const { return music_; }
  pid_t pid() const { return pid_; }

 private:
  std::string folder_, music_, socket_, config_;
  unsigned port_ = 0;
  pid_t pid_ = -1;
};

}  // namespace jukora::testing
