// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <string>
#include <string_view>

namespace jukora {

enum class ReadResult { kOk, kMissing, kUnreadable };

// Reads the whole file. A missing file is told apart from one that exists but
// cannot be read (no permission, a directory, locked).
ReadResult read_whole_file(const std::string& path, std::string& bytes);

// Writes a temporary file beside `path`, flushes it to disk and renames it
// over `path`, so the old file stays whole if anything fails. On failure
// returns false with a reason in `error`.
bool write_file_atomically(const std::string& path, std::string_view bytes, std::string& error);

bool is_file(const std::string& path);
bool is_directory(const std::string& path);

}  // namespace jukora
