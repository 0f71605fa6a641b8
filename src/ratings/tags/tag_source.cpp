// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/tags/tag_source.h"

#include <set>

#include "platform/app_folders.h"
#include "platform/files.h"
#include "ratings/tags/tag_rating.h"
#include "scoring/add_songs.h"
#include "scoring/dir_listing.h"
#include "songlist/paths.h"

namespace jukora {

namespace {

class TagSource : public RatingSource {
 public:
  explicit TagSource(std::vector<std::string> paths) : paths_(std::move(paths)) {}
  std::string name() const override { return "the files' tags"; }
  SourceRead read(const SourceProgress& progress) override;

 private:
  // Appends the audio files below `top`, depth first; false once cancelled.
  bool walk(const std::string& top, std::vector<std::string>& files, const SourceProgress& progress);

  std::vector<std::string> paths_;
};

bool TagSource::walk(const std::string& top, std::vector<std::string>& files, const SourceProgress& progress) {
  std::set<FolderId> walked;
  std::vector<std::string> folders{top};
  while (!folders.empty()) {
    const std::string dir = std::move(folders.back());
    folders.pop_back();
    std::optional<FolderId> id = folder_id(dir);
    if (!id || !walked.insert(*id).second) continue;
    DirListing listing;
    if (!list_directory(dir, listing, [] { return true; })) continue;
    for (const std::string& name : listing.files)
      if (is_audio_extension(get_extension(name))) files.push_back(join_path(dir, name));
    for (auto sub = listing.subdirs.rbegin(); sub != listing.subdirs.rend(); ++sub)
      folders.push_back(join_path(dir, sub->name));
    if (!progress(0, 0)) return false;
  }
  return true;
}

SourceRead TagSource::read(const SourceProgress& progress) {
  SourceRead read;
  std::vector<std::string> files;
  for (const std::string& path : paths_) {
    if (!is_directory(path)) {
      files.push_back(path);
    } else if (!walk(path, files, progress)) {
      read.status = SourceRead::Status::kCancelled;
      return read;
    }
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
