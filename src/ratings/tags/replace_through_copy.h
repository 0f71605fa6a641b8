// SPDX-License-Identifier: GPL-3.0-or-later
// Changing a song file without ever leaving it damaged: the song is copied
// beside itself, the copy is edited and flushed, and only then renamed over
// the song, so a crash or a full disk leaves the old file whole. The copy
// keeps the song's mode, owner and extended attributes where the user may
// set them. A song reached through a symbolic link is changed at its real
// path (a rename over the link would replace the link); one with a second
// hard link is left alone (a rename would split the two names). POSIX.
//
// A copy left behind by a write that was cut short (Jukora killed, the
// machine off) must not pass for a song in a music folder: its name is
// hidden and has no audio extension, and the next write in that folder
// removes such leftovers once no write can still be making them.
#pragma once

#include <functional>
#include <string>
#include <string_view>

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

// Whether `name` is one of the copies this makes (".jukora-Ab12Cd.tmp"), or
// one an earlier version made (".jukora-Ab12Cd-" and the song's name).
bool is_song_copy_name(std::string_view name);

// `edit` changes the copy at `copy`, whose name says nothing of its kind:
// `song`, the song's real path, names the kind of file it is. It says
// whether it worked.
using CopyEdit = std::function<bool(const std::string& copy, const std::string& song)>;
Replaced replace_through_copy(const std::string& path, const CopyEdit& edit);

}  // namespace jukora
