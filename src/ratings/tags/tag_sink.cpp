// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/tags/tag_sink.h"

#include <optional>
#include <set>
#include <utility>

#include "ratings/sink_queue.h"
#include "ratings/tags/replace_through_copy.h"
#include "ratings/tags/tag_rating.h"
#include "songlist/paths.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

struct TagChange {
  std::int64_t score;
  Clock::time_point due;
};

struct TagSink::State : SinkQueue<TagChange> {
  State(std::chrono::milliseconds settle, std::chrono::milliseconds retry) : settle(settle), retry(retry) {}
  const std::chrono::milliseconds settle, retry;
  std::size_t writes = 0;
  // What has been told, by kind and path, so that each is told once.
  std::set<std::string> told;

  void tell(const std::string& key, std::string text) {
    if (told.insert(key).second) notices.push_back(std::move(text));
  }
  void run();
  // Writes one file, the lock not held; nothing when its tags say the
  // score already.
  std::optional<Replaced> write(const std::string& path, std::int64_t score, TagEdit& edit);
  void report(const std::string& path, std::int64_t score, const Replaced& replaced, TagEdit edit);
};

std::optional<Replaced> TagSink::State::write(const std::string& path, std::int64_t score, TagEdit& edit) {
  // A song that says the score already is not touched: other players would
  // take its new time for a change and read it again.
  if (tag_holds_score(path, score)) return std::nullopt;
  return replace_through_copy(path, [&](const std::string& copy, const std::string& song) {
    edit = write_tag_score(copy, score, get_extension(song));
    return edit == TagEdit::kDone;
  });
}

void TagSink::State::report(const std::string& path, std::int64_t score, const Replaced& replaced, TagEdit edit) {
  using Result = Replaced::Result;
  const std::string song = quoted(path);
  switch (replaced.result) {
    case Result::kDone:
      ++writes;
      break;
    case Result::kGone:
      tell("gone" + path, "The score of " + song + " was not written to its tags: the file is not there any more.");
      break;
    case Result::kNotAFile:
      tell("notfile" + path, "The score of " + song + " was not written to its tags: it is not a regular file.");
      break;
    case Result::kHardLinked:
      tell("links" + path, "The score of " + song +
                               " is not written to its tags: the file has more than one name (hard links), which "
                               "replacing it would split.");
      break;
    case Result::kReadOnly:
      tell("readonly" + path, "The score of " + song +
                                  " was not written to its tags: the file or its folder is "
                                  "read-only.");
      break;
    case Result::kBusy:
      tell("busy" + path, "The score of " + song + " could not be written to its tags yet; Jukora tries again.");
      waiting.try_emplace(path, TagChange{score, Clock::now() + retry});
      break;
    case Result::kFailed:
      if (edit == TagEdit::kNoRatingTag) {
        const std::string extension = get_extension(path);
        tell("format" + extension,
             "Scores are not written into ." + extension + " files: they have no rating tag Jukora writes.");
      } else {
        tell("failed" + path, "The score of " + song + " could not be written to its tags" +
                                  (replaced.detail.empty() ? std::string() : " (" + replaced.detail + ")") +
                                  "; the file was left as it was.");
      }
      break;
  }
}

void TagSink::State::run() {
  std::unique_lock lock(mutex);
  for (;;) {
    if (waiting.empty()) {
      idle.notify_all();
      if (stopping) return;
      wake.wait(lock);
      continue;
    }
    // The file due first; on the way out nothing waits any longer.
    auto next = waiting.begin();
    for (auto it = waiting.begin(); it != waiting.end(); ++it)
      if (it->second.due < next->second.due) next = it;
    if (!stopping && next->second.due > Clock::now()) {
      wake.wait_until(lock, next->second.due);
      continue;
    }
    const std::string path = next->first;
    const std::int64_t score = next->second.score;
    waiting.erase(next);
    working = true;
    lock.unlock();
    TagEdit edit = TagEdit::kFailed;
    const std::optional<Replaced> replaced = write(path, score, edit);
    lock.lock();
    working = false;
    if (!replaced) continue;
    // A file that is busy is given up on the way out; nothing is lost but
    // that one write, and the user has been told.
    if (stopping && replaced->result == Replaced::Result::kBusy) continue;
    report(path, score, *replaced, edit);
  }
}

TagSink::TagSink(std::chrono::milliseconds settle, std::chrono::milliseconds retry)
    : state_(std::make_shared<State>(settle, retry)), worker_(std::make_unique<SinkWorker<State>>(state_)) {}

// The worker ends when it goes, once what still waits is written.
TagSink::~TagSink() = default;

void TagSink::share(const std::string& path, std::int64_t score) {
  state_->put(path, {score, Clock::now() + state_->settle});
}

std::vector<std::string> TagSink::take_notices() { return state_->take_notices(); }

bool TagSink::wait_idle(std::chrono::milliseconds limit) { return state_->wait_idle(limit); }

std::size_t TagSink::writes() const {
  std::lock_guard lock(state_->mutex);
  return state_->writes;
}

}  // namespace jukora
