// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace jukora {

enum class ReadResult { kOk, kMissing, kUnreadable, kNotAFile, kTooBig };

// The largest file read whole. 100,000 songs take about 10 MB, so this is
// room for well over half a million; yet reading one costs about three
// times its size in memory, which stays affordable even on a small machine.
inline constexpr std::size_t kMaxReadBytes = std::size_t{64} << 20;

// Reads the whole file. A missing file is told apart from one that exists but
// cannot be read (no permission, a directory, locked, no memory left), from
// something that is no regular file at all (a device, a pipe) and from a file
// larger than `max_bytes`. Never blocks on a pipe and never throws.
ReadResult read_whole_file(const std::string& path, std::string& bytes, std::size_t max_bytes = kMaxReadBytes);

// Writes a temporary file beside `path`, flushes it to disk and renames it
// over `path`, so the old file stays whole if anything fails. On failure
// returns false with a reason in `error`.
bool write_file_atomically(const std::string& path, std::string_view bytes, std::string& error);

// Writes all of `bytes` to the open file `fd`, past short writes and
// interrupted calls; false when the system refuses the rest.
bool write_all(int fd, std::string_view bytes);

bool is_file(const std::string& path);
bool is_directory(const std::string& path);

}  // namespace jukora
