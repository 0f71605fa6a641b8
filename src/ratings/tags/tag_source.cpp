// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/tags/tag_source.h"

#include "platform/app_folders.h"
#include "platform/files.h"
#include "ratings/tags/tag_rating.h"
#include "scoring/song_walk.h"
#include "songlist/paths.h"

namespace jukora {

namespace {

class TagSource : public RatingSource {
 public:
  explicit TagSource(std::vector<std::string> paths) : paths_(std::move(paths)) {}
  std::string name() const override { return "the files' tags"; }
  SourceRead read(const SourceProgress& progress) override;

 private:
  std::vector<std::string> paths_;
};

SourceRead TagSource::read(const SourceProgress& progress) {
  SourceRead read;
  // Folders are walked as a drop walks them; a file is read as it is.
  SongWalk walk([&] { return progress(0, 0); });
  std::vector<std::string> files;
  for (const std::string& path : paths_) {
    if (!is_directory(path)) {
      files.push_back(path);
      continue;
    }
    walk.take(path);
    if (walk.cancelled()) {
      read.status = SourceRead::Status::kCancelled;
      return read;
    }
    for (const SongRef& song : walk.take_found()) files.push_back(join_path(song.directory, song.file));
  }
  read.songs.reserve(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (!progress(i, files.size())) {
      read.status = SourceRead::Status::kCancelled;
      read.songs.clear();
      return read;
    }
    // A file that is not there keeps a rating, so that the plan counts it
    // missing rather than unrated.
    read.songs.push_back({files[i], is_file(files[i]) ? read_tag_rating(files[i]) : ReadRating::rated(0), {}});
  }
  progress(files.size(), files.size());
  return read;
}

}  // namespace

std::unique_ptr<RatingSource> tag_source(std::vector<std::string> files_and_folders) {
  return std::make_unique<TagSource>(std::move(files_and_folders));
}

}  // namespace jukora
