// SPDX-License-Identifier: GPL-3.0-or-later
// "Share a score to Y": where Jukora's scores go out after every change
// (MPD's rating sticker, the files' own tags). A sink never makes its caller
// wait: it queues the change and carries it out on a thread of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace jukora {

class ScoreSink {
 public:
  virtual ~ScoreSink() = default;
  // The song at `path` has the score `score` now. Returns at once.
  virtual void share(const std::string& path, std::int64_t score) = 0;
  // What the user should be told since the last call (each problem once:
  // stickers off, a read-only file); called from the user-interface thread.
  virtual std::vector<std::string> take_notices() = 0;
};

}  // namespace jukora
