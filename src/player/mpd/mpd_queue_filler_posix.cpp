// SPDX-License-Identifier: GPL-3.0-or-later
#include <atomic>
#include <chrono>
#include <system_error>
#include <thread>

#include "player/mpd/mpd_dial.h"
#include "player/mpd/mpd_queue_filler.h"
#include "player/mpd/mpd_session.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kBatch = 200;
// Nobody waits for the worker; this only keeps a server that stopped
// answering from holding it for good.
constexpr std::chrono::seconds kBatchTime{30};

}  // namespace

struct MpdQueueFiller::Run {
  // On the worker thread, until done or stopped.
  void append(const MpdAddress& address, const std::vector<std::string>& uris);

  std::atomic<bool> stopped{false};
};

MpdQueueFiller::~MpdQueueFiller() { stop(); }

void MpdQueueFiller::stop() {
  if (run_) run_->stopped = true;
  run_.reset();
}

void MpdQueueFiller::fill(const MpdAddress& address, std::vector<std::string> uris) {
  stop();
  if (uris.empty()) return;
  run_ = std::make_shared<Run>();
  try {
    std::thread([run = run_, address, uris = std::move(uris)] { run->append(address, uris); }).detach();
  } catch (const std::system_error&) {
    // No thread to be had: the export plays the songs it already has.
    run_.reset();
  }
}

void MpdQueueFiller::Run::append(const MpdAddress& address, const std::vector<std::string>& uris) {
  MpdDialer dialer;
  dialer.dial(address);
  std::optional<Dialled> dialled = dialer.wait(Clock::now() + kDialDeadline + std::chrono::seconds(1));
  if (!dialled || dialled->result != Dialled::Result::kConnected) return;
  std::unique_ptr<MpdSession> session = MpdSession::adopt(dialled->fd);
  if (!session) return;
  if (!address.password.empty() && !session->run({{"password", address.password}}, Clock::now() + kBatchTime).ok())
    return;

  std::size_t next = 0;
  while (next < uris.size() && !stopped) {
    std::vector<MpdCommand> batch;
    for (std::size_t i = next; i < uris.size() && batch.size() < kBatch; ++i) batch.push_back({"addid", uris[i]});
    MpdAnswer answer = session->run(batch, Clock::now() + kBatchTime);
    if (stopped) {
      // MPD runs a command list as one: these songs came either before the
      // queue was replaced, and went with it, or after it, and go now.
      std::vector<MpdCommand> back;
      for (const MpdPairs& reply : answer.replies)
        for (const auto& [name, id] : reply)
          if (name == "Id") back.push_back({"deleteid", id});
      if (!back.empty()) session->run(back, Clock::now() + kBatchTime);
      return;
    }
    if (answer.status != MpdAnswer::Status::kOk && answer.status != MpdAnswer::Status::kError) return;
    // A song MPD refuses is left out; the list went on up to it.
    next += answer.replies.size() + (answer.ok() ? 0 : 1);
  }
}

}  // namespace jukora
