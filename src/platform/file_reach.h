// SPDX-License-Identifier: GPL-3.0-or-later
// Whether a song file is there, asked with a deadline: a look at a file on a
// sleeping network share or a hung mount can block for many seconds, and the
// window must not wait that long.
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace jukora {

enum class FileReach {
  kThere,        // a regular file
  kMissing,      // nothing there, or something that is not a file
  kUnreachable,  // the system says it cannot look (no permission, an I/O error)
  kNoAnswer,     // the system did not say in time
};

// The plain look, without a deadline.
FileReach look_at_file(const std::string& path);

// Runs `look` on a worker thread and waits for it at most `deadline`. A look
// that runs out answers kNoAnswer and finishes in the background; while a few
// such looks are still stuck, the answer is kNoAnswer at once, so stuck
// threads never pile up.
FileReach reach_file(const std::string& path, std::chrono::milliseconds deadline,
                     const std::function<FileReach(const std::string&)>& look = look_at_file);

// The same for any look at the disk: false when it did not end in time.
// What `look` writes to must be its own (a shared_ptr it holds): a look that
// runs out finishes later.
bool look_within(std::function<void()> look, std::chrono::milliseconds deadline);

}  // namespace jukora
