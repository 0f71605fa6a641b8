// SPDX-License-Identifier: GPL-3.0-or-later
#include <utility>

#include "player/mpd/mpd_paths.h"
#include "ratings/mpd/mpd_stickers.h"
#include "ratings/sink_queue.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;
using Status = StickerReply::Status;

// A whole library's stickers, and one sticker.
constexpr std::chrono::seconds kFindDeadline{30};
constexpr std::chrono::seconds kSetDeadline{3};
constexpr std::chrono::milliseconds kExitGrace{200};

std::string cannot_reach(const StickerPlace& place, const std::string& why) {
  return "MPD at " + place.address.describe() + " cannot be reached (" + why + ").";
}

class MpdStickerSource : public RatingSource {
 public:
  explicit MpdStickerSource(StickerPlace place) : client_(std::move(place)) {}
  std::string name() const override { return "MPD stickers"; }
  SourceRead read(const SourceProgress& progress) override;

 private:
  StickerClient client_;
};

SourceRead MpdStickerSource::read(const SourceProgress& progress) {
  SourceRead read;
  if (!progress(0, 0)) return {SourceRead::Status::kCancelled, {}, 0, {}};
  const StickerReply answer = client_.run("sticker find song \"\" rating", Clock::now() + kFindDeadline);
  if (answer.status != Status::kOk) {
    read.status = SourceRead::Status::kFailed;
    if (answer.status == Status::kRefused && answer.text == kStickersOff)
      read.error = "MPD keeps no stickers: its configuration has no sticker_file. Nothing was changed.";
    else if (answer.status == Status::kRefused)
      read.error = "MPD refused to list its rating stickers: " + answer.text + ". Nothing was changed.";
    else
      read.error = cannot_reach(client_.place(), answer.text) + " Nothing was changed.";
    return read;
  }
  const bool local_socket = client_.place().address.is_socket();
  std::string file;
  for (const auto& [key, value] : answer.pairs) {
    if (key == "file") {
      file = value;
    } else if (key == "sticker" && !file.empty()) {
      MpdSongPath song = local_song_path(file, client_.music_folder(), local_socket);
      if (song.path.empty())
        ++read.not_local;
      else
        read.songs.push_back(
            {std::move(song.path), rating_from_sticker_text(value.starts_with("rating=") ? value.substr(7) : "?"), {}});
      file.clear();
    }
  }
  progress(1, 1);
  return read;
}

}  // namespace

std::unique_ptr<RatingSource> mpd_sticker_source(StickerPlace place) {
  return std::make_unique<MpdStickerSource>(std::move(place));
}

struct StickerChange {
  std::int64_t score;
  StickerPlace place;
};

struct MpdStickerSink::State : SinkQueue<StickerChange> {
  explicit State(std::chrono::milliseconds retry) : retry(retry) {}
  const std::chrono::milliseconds retry;
  Clock::time_point not_before{};
  bool told_away = false, told_off = false, told_folder = false;
  std::unique_ptr<StickerClient> client;

  void run();
  // Sets one sticker; false when MPD is away and the change must wait.
  bool send(const std::string& path, const StickerChange& change, std::unique_lock<std::mutex>& lock);
};

bool MpdStickerSink::State::send(const std::string& path, const StickerChange& change, std::unique_lock<std::mutex>& lock) {
  if (!client || !(client->place().address == change.place.address))
    client = std::make_unique<StickerClient>(change.place);
  lock.unlock();
  // The music folder may have to come from MPD itself: connect first.
  StickerReply answer = client->run("ping", Clock::now() + kSetDeadline);
  MpdTarget target;
  if (answer.status == Status::kOk) {
    target = mpd_target(path, client->music_folder(), change.place.address.is_socket());
    // Stickers belong to the songs of MPD's database, inside its folder.
    if (target.in_music_folder)
      answer =
          client->run("sticker set song " + mpd_quoted(target.uri) + " rating " + sticker_text_of_score(change.score),
                      Clock::now() + kSetDeadline);
  }
  lock.lock();
  if (answer.status == Status::kBusy || answer.status == Status::kUnreachable) {
    if (!told_away)
      notices.push_back(cannot_reach(change.place, answer.text) +
                        " The rating stickers of changed scores are set once it answers again.");
    told_away = true;
    return false;
  }
  told_away = false;
  if (answer.status == Status::kRefused && answer.text == kStickersOff && !told_off) {
    notices.push_back(
        "MPD keeps no stickers, so scores cannot be shared with it: add a sticker_file to MPD's "
        "configuration, or turn sharing with MPD off in Preferences.");
    told_off = true;
  }
  if (answer.status == Status::kOk && !target.in_music_folder && client->music_folder().empty() && !told_folder) {
    notices.push_back("Scores cannot be shared with MPD without its music folder: set it in Preferences.");
    told_folder = true;
  }
  // Any other refusal ("No such song": one MPD's database does not hold)
  // leaves that song without a sticker, quietly.
  return true;
}

void MpdStickerSink::State::run() {
  std::unique_lock lock(mutex);
  while (!stopping) {
    if (waiting.empty()) {
      idle.notify_all();
      wake.wait(lock);
      continue;
    }
    if (Clock::now() < not_before) {
      wake.wait_until(lock, not_before);
      continue;
    }
    auto next = waiting.begin();
    const std::string path = next->first;
    const StickerChange change = next->second;
    waiting.erase(next);
    working = true;
    const bool sent = send(path, change, lock);
    working = false;
    if (!sent) {
      // The latest score of the song, unless a newer one came meanwhile.
      waiting.try_emplace(path, change);
      not_before = Clock::now() + retry;
    }
  }
  idle.notify_all();
}

MpdStickerSink::MpdStickerSink(const SettingsStore& settings, std::chrono::milliseconds retry)
    : settings_(settings), state_(std::make_shared<State>(retry)), worker_(std::make_unique<SinkWorker<State>>(state_)) {}

// A sticker still on its way to an MPD that does not answer is given up:
// the program's exit never waits for it.
MpdStickerSink::~MpdStickerSink() { worker_->stop(kExitGrace); }

void MpdStickerSink::share(const std::string& path, std::int64_t score) {
  state_->put(path, {score, read_sticker_place(settings_)});
}

std::vector<std::string> MpdStickerSink::take_notices() { return state_->take_notices(); }

bool MpdStickerSink::wait_idle(std::chrono::milliseconds limit) { return state_->wait_idle(limit); }

}  // namespace jukora
