// SPDX-License-Identifier: GPL-3.0-or-later
// The audio files below files and folders that were dropped or picked, found
// the way a drop finds them: every folder walked once, whatever links lead
// to it; no link followed into a folder that holds the link (a link to ".."
// or to "/"), nor into a tree the walk takes already; depth first, files
// before subfolders, each in name order; hidden entries and names ending in
// a dot passed over, and so is whatever cannot be read, quietly. The walk
// can stop after any entry and go on later where it stopped, so that a drop
// walks in steps from the event loop.
#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "scoring/dir_listing.h"
#include "songlist/song_ref.h"

namespace jukora {

class SongWalk {
 public:
  // `go_on` runs after every entry: false stops the walk there.
  explicit SongWalk(std::function<bool()> go_on);
  ~SongWalk();

  // Takes one dropped or picked path at once: an audio file as it is, a
  // folder with everything below it. A trailing separator is no second
  // spelling. Stopped by `go_on`, the walk is cancelled.
  void take(const std::string& path);

  // The same in steps: `add` gives the walk a path, `walk_on` walks until
  // every path given is walked (true) or `go_on` stops it (false); the next
  // `walk_on` goes on with the entry after the one it stopped at.
  void add(const std::string& path);
  bool walk_on();
  void cancel() { cancelled_ = true; }

  bool cancelled() const { return cancelled_; }
  // The songs found so far, in the order found.
  const std::vector<SongRef>& found() const { return found_; }
  std::vector<SongRef> take_found() { return std::exchange(found_, {}); }
  // Which of them are empty files (0 bytes), by index in found().
  const std::set<std::size_t>& empty() const { return empty_; }
  // How many folders were walked.
  std::size_t folders() const { return walked_.size(); }

 private:
  struct Level {
    std::string path;
    std::vector<DirListing::Subdir> subdirs;
    std::size_t next = 0;
  };

  // Walks on without catching what a folder throws.
  bool walk();
  void begin(const std::string& path);
  // Begins the listing of `dir` unless it was walked already.
  void enter(std::string dir);
  void found(std::string dir, std::string file);
  bool enter_link(const std::string& parent, const std::string& path);

  std::function<bool()> go_on_;
  std::deque<std::string> paths_;
  // The real folders whose trees this walk takes, so that a link into one
  // of them ends the walk there instead of listing its songs again.
  std::vector<std::string> trees_;
  std::set<FolderId> walked_;
  std::vector<SongRef> found_;
  // Where the walk stands: the folders above with their subfolders still
  // to walk, the folder being listed, and its files not looked at yet.
  std::vector<Level> levels_;
  std::string dir_;
  std::unique_ptr<DirectoryReading> reading_;
  DirListing listing_;
  std::size_t next_file_ = 0;
  bool listed_ = false;
  // A subfolder was just entered or passed over: the walk asks once more
  // before the next.
  bool after_subdir_ = false;
  // Which found songs are empty files, by index in found_.
  std::set<std::size_t> empty_;
  bool cancelled_ = false;
};

}  // namespace jukora
