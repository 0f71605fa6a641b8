// SPDX-License-Identifier: GPL-3.0-or-later
// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/file_stamp.h"

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
// The same, also giving the stamp of the file as read. A file that another
// program changed while it was read is read again, a few times at most;
// `steady` tells whether the last read saw it unchanged from end to end.
ReadResult read_whole_file(const std::string& path, std::string& bytes, FileStamp& stamp, bool& steady);

// Writes a temporary file beside `path`, flushes it to disk and renames it
// over `path`, so the old file stays whole if anything fails. On failure
// returns false with a reason in `error`.
bool write_file_atomically(const std::string& path, std::string_view bytes, std::string& error);

// What a save wrote: the new file's stamp and, when that stamp could
// repeat, the hash of its bytes.
struct WrittenFile {
  FileStamp stamp;
  std::uint64_t hash = 0;
};

enum class WriteResult { kDone, kFailed, kStopped };

// The same for bytes handed over in pieces: `next` gives the next piece and
// answers false when none is left. Once the new file is on disk and before
// it is renamed, `still_ours` may stop the save (the old file stays as it
// is: kStopped).
WriteResult write_file_atomically(const std::string& path, const std::function<bool(std::string_view&)>& next,
                                  std::string& error, WrittenFile& written,
                                  const std::function<bool()>& still_ours = {});

// The file a save of `path` replaces: the target of a symbolic link, else
// `path` itself.
std::string saved_file_path(const std::string& path);

// Writes all of `bytes` to the open file `fd`, past short writes and
// interrupted calls; false when the system refuses the rest.
bool write_all(int fd, std::string_view bytes);

bool is_file(const std::string& path);
bool is_directory(const std::string& path);

}  // namespace jukora
