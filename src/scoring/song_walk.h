// SPDX-License-Identifier: GPL-3.0-or-later
// The audio files below files and folders that were dropped or picked, found
// the way a drop finds them: every folder walked once, whatever links lead
// to it; no link followed into a folder that holds the link (a link to ".."
// or to "/"), nor into a tree the walk takes already; depth first, files
// before subfolders, each in name order; hidden entries and names ending in
// a dot passed over, and so is whatever cannot be read, quietly.
#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "scoring/dir_listing.h"
#include "songlist/song_ref.h"

namespace jukora {

class SongWalk {
 public:
  // `go_on` runs after every entry, so that a long walk can yield and show
  // how far it has come; false ends the walk, cancelled.
  explicit SongWalk(std::function<bool()> go_on);

  // Takes one dropped or picked path: an audio file as it is, a folder with
  // everything below it. A trailing separator is no second spelling.
  void take(const std::string& path);

  bool cancelled() const { return cancelled_; }
  // The songs found so far, in the order found.
  const std::vector<SongRef>& found() const { return found_; }
  std::vector<SongRef> take_found() { return std::exchange(found_, {}); }
  // How many folders were walked.
  std::size_t folders() const { return walked_.size(); }

 private:
  void walk_directory(const std::string& top);
  bool enter_link(const std::string& parent, const std::string& path);
  bool go_on();

  std::function<bool()> go_on_;
  // The real folders whose trees this walk takes, so that a link into one
  // of them ends the walk there instead of listing its songs again.
  std::vector<std::string> trees_;
  std::set<FolderId> walked_;
  std::vector<SongRef> found_;
  bool cancelled_ = false;
};

}  // namespace jukora
