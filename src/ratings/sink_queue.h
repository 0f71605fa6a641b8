// SPDX-License-Identifier: GPL-3.0-or-later
// What the score sinks share: the latest change of each song waits in a
// queue for the sink's own worker thread, so that whoever shares a score
// never waits, and what the user should hear is gathered for the
// user-interface thread.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace jukora {

template <class Change>
struct SinkQueue {
  std::mutex mutex;
  std::condition_variable wake, idle;
  // By path: a newer change replaces the one still waiting.
  std::map<std::string, Change> waiting;
  bool working = false;  // a change is carried out, the lock let go
  bool stopping = false;
  bool ended = false;  // the worker has returned
  std::vector<std::string> notices;

  void put(const std::string& path, Change change) {
    {
      std::lock_guard lock(mutex);
      waiting.insert_or_assign(path, std::move(change));
    }
    wake.notify_all();
  }
  std::vector<std::string> take_notices() {
    std::lock_guard lock(mutex);
    return std::exchange(notices, {});
  }
  // Blocks until nothing waits or `limit` has passed; whether nothing waits.
  bool wait_idle(std::chrono::milliseconds limit) {
    std::unique_lock lock(mutex);
    return idle.wait_for(lock, limit, [this] { return waiting.empty() && !working; });
  }
};

// The thread of a sink. `State` is a SinkQueue with a `run()` that returns
// once `stopping` is set; the thread holds the state, so that a worker left
// to end by itself never outlives what it works on.
template <class State>
class SinkWorker {
 public:
  explicit SinkWorker(std::shared_ptr<State> state) : state_(std::move(state)) {
    thread_ = std::thread([state = state_] {
      state->run();
      std::lock_guard lock(state->mutex);
      state->ended = true;
      state->idle.notify_all();
    });
  }
  ~SinkWorker() { stop(); }
  SinkWorker(const SinkWorker&) = delete;
  SinkWorker& operator=(const SinkWorker&) = delete;

  // Asks the worker to end and waits for it; with a `grace`, no longer than
  // that: a worker still inside a request then ends by itself.
  void stop(std::optional<std::chrono::milliseconds> grace = std::nullopt) {
    if (!thread_.joinable()) return;
    std::unique_lock lock(state_->mutex);
    state_->stopping = true;
    state_->wake.notify_all();
    if (grace && !state_->idle.wait_for(lock, *grace, [this] { return state_->ended; })) {
      thread_.detach();
      return;
    }
    lock.unlock();
    thread_.join();
  }

 private:
  std::shared_ptr<State> state_;
  std::thread thread_;
};

}  // namespace jukora
