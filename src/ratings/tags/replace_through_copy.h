// SPDX-License-Identifier: GPL-3.0-or-later
// Changing a song file without ever leaving it damaged: the song is copied
// beside itself, the copy is edited and flushed, and only then renamed over
// the song, so a crash or a full disk leaves the old file whole. The copy
// keeps the song's mode, owner and extended attributes where the user may
// set them. A song reached through a symbolic link is changed at its real
// path (a rename over the link would replace the link); one with a second
// hard link is left alone (a rename would split the two names). POSIX.
#pragma once

#include <functional>
#include <string>

namespace jukora {

struct Replaced {
  enum class Result {
    kDone,
    kGone,        // the song is not there (any more)
    kNotAFile,    // a folder, a device, a pipe
    kHardLinked,  // more than one name: left alone
    kReadOnly,    // the song or its folder may not be written
    kBusy,        // changed while the copy was made, or cannot be replaced now: try later
    kFailed,      // the edit failed, or the disk refused the copy (full?)
  };
  Result result = Result::kFailed;
  std::string real_path;
  std::string detail;  // the system's words, where there are any
};

// `edit` changes the copy at the path it is given (which ends in the song's
// own name, so its type reads the same) and says whether it worked.
Replaced replace_through_copy(const std::string& path, const std::function<bool(const std::string& copy)>& edit);

}  // namespace jukora
