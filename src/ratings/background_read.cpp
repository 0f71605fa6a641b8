// SPDX-License-Identifier: GPL-3.0-or-later
#include "ratings/background_read.h"

#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

#include "ratings/wait_notice.h"

namespace jukora {

struct BackgroundRead::State {
  std::shared_ptr<RatingSource> source;
  std::atomic<std::size_t> done{0}, total{0};
  std::atomic<bool> cancelled{false};
  std::mutex mutex;
  std::condition_variable ended;
  std::optional<SourceRead> result;
  bool taken = false;
};

BackgroundRead::BackgroundRead(std::shared_ptr<RatingSource> source) : state_(std::make_shared<State>()) {
  state_->source = std::move(source);
  std::thread([state = state_] {
    SourceRead read;
    try {
      read = state->source->read([&state](std::size_t done, std::size_t total) {
        state->done = done;
        state->total = total;
        return !state->cancelled;
      });
    } catch (const std::exception& error) {
      read.status = SourceRead::Status::kFailed;
      read.error = state->source->name() + " could not be read: " + error.what() + ".";
    }
    if (state->cancelled && read.status == SourceRead::Status::kOk) read.status = SourceRead::Status::kCancelled;
    std::lock_guard lock(state->mutex);
    state->result = std::move(read);
    state->ended.notify_all();
  }).detach();
}

BackgroundRead::~BackgroundRead() { cancel(); }

std::pair<std::size_t, std::size_t> BackgroundRead::progress() const { return {state_->done, state_->total}; }

void BackgroundRead::cancel() { state_->cancelled = true; }

std::optional<SourceRead> BackgroundRead::take() {
  std::lock_guard lock(state_->mutex);
  if (!state_->result || state_->taken) return {};
  state_->taken = true;
  return std::move(state_->result);
}

std::string BackgroundRead::waiting_for() const { return state_->source->waiting_for(); }

SourceRead BackgroundRead::wait(const std::function<void(const std::string&)>& tell) {
  WaitNotice notice;
  std::unique_lock lock(state_->mutex);
  while (!state_->ended.wait_for(lock, WaitNotice::kLookEvery, [this] { return state_->result.has_value(); })) {
    lock.unlock();
    const std::string told = notice.look(waiting_for());
    if (!told.empty() && tell) tell(told);
    lock.lock();
  }
  state_->taken = true;
  return std::move(*state_->result);
}

}  // namespace jukora
