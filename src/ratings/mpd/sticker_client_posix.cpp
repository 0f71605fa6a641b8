// SPDX-License-Identifier: GPL-3.0-or-later
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <optional>

#include "player/mpd/mpd_dial.h"
#include "ratings/mpd/sticker_client.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;
using Status = StickerReply::Status;

// An answer longer than this is no sticker list (a million songs' stickers
// take about 60 MB).
constexpr std::size_t kLongestAnswer = std::size_t{256} << 20;

StickerReply reply(Status status, std::string text = {}) { return {status, {}, 0, std::move(text)}; }

// A server that has closed the connection must not end the program with
// SIGPIPE: send, never write.
bool send_line(int fd, const std::string& line, Clock::time_point deadline) {
  for (std::size_t sent = 0; sent < line.size();) {
    const ssize_t got = send(fd, line.data() + sent, line.size() - sent, MSG_NOSIGNAL);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0 && errno == EAGAIN) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      pollfd entry{fd, POLLOUT, 0};
      if (left <= 0 || poll(&entry, 1, static_cast<int>(left)) <= 0) return false;
      continue;
    }
    if (got <= 0) return false;
    sent += static_cast<std::size_t>(got);
  }
  return true;
}

}  // namespace

StickerPlace read_sticker_place(const SettingsStore& settings) {
  return {read_mpd_address(settings), read_mpd_music_folder(settings)};
}

std::string mpd_quoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

StickerClient::StickerClient(StickerPlace place) : place_(std::move(place)), music_folder_(place_.music_folder) {}

StickerClient::~StickerClient() {
  if (fd_ >= 0) close(fd_);
}

StickerReply StickerClient::connect(Clock::time_point deadline) {
  MpdDialer dialer;
  dialer.dial(place_.address);
  std::optional<Dialled> dialled = dialer.wait(deadline);
  if (!dialled || dialled->result == Dialled::Result::kTimedOut) return reply(Status::kBusy, "it does not answer");
  if (dialled->result != Dialled::Result::kConnected)
    return reply(Status::kUnreachable, dialled->detail.empty() ? "nothing answers there" : dialled->detail);
  fd_ = dialled->fd;
  buffer_.clear();
  if (!place_.address.password.empty()) {
    StickerReply password = exchange("password " + mpd_quoted(place_.address.password), deadline);
    if (password.status == Status::kRefused) return reply(Status::kUnreachable, "it refused the password");
    if (password.status != Status::kOk) return password;
  }
  if (music_folder_.empty() && place_.address.is_socket()) {
    StickerReply config = exchange("config", deadline);
    for (const auto& [key, value] : config.pairs)
      if (key == "music_directory" && value.starts_with('/')) music_folder_ = value;
    while (music_folder_.size() > 1 && music_folder_.back() == '/') music_folder_.pop_back();
    if (config.status == Status::kBusy) return config;
  }
  return reply(Status::kOk);
}

StickerReply StickerClient::exchange(const std::string& line, Clock::time_point deadline) {
  auto lose = [this](Status status) {
    close(fd_);
    fd_ = -1;
    return reply(status, status == Status::kBusy ? "it does not answer in time" : "the connection broke");
  };
  if (!send_line(fd_, line + "\n", deadline)) return lose(Status::kBusy);
  StickerReply answer;
  for (;;) {
    for (std::size_t end; (end = buffer_.find('\n')) != std::string::npos;) {
      const std::string got = buffer_.substr(0, end);
      buffer_.erase(0, end + 1);
      if (got == "OK") {
        answer.status = Status::kOk;
        return answer;
      }
      if (got.starts_with("ACK [")) {
        answer.status = Status::kRefused;
        answer.code = std::atoi(got.c_str() + 5);
        const auto brace = got.find("} ");
        answer.text = brace == std::string::npos ? got : got.substr(brace + 2);
        return answer;
      }
      const auto colon = got.find(": ");
      if (colon != std::string::npos) answer.pairs.emplace_back(got.substr(0, colon), got.substr(colon + 2));
    }
    if (buffer_.size() > kLongestAnswer) return lose(Status::kBusy);
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd entry{fd_, POLLIN, 0};
    const int ready = poll(&entry, 1, left > 0 ? static_cast<int>(left) : 0);
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return lose(Status::kBusy);
    char chunk[65536];
    const ssize_t got = recv(fd_, chunk, sizeof chunk, 0);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) return lose(Status::kBusy);
    buffer_.append(chunk, static_cast<std::size_t>(got));
  }
}

StickerReply StickerClient::run(const std::string& line, Clock::time_point deadline) {
  // A connection left idle may have been closed by MPD: one fresh try.
  for (int attempt = 0; attempt < 2; ++attempt) {
    const bool fresh = fd_ < 0;
    if (fresh) {
      StickerReply opened = connect(deadline);
      if (opened.status != Status::kOk) {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
        return opened;
      }
    }
    StickerReply answer = exchange(line, deadline);
    if (answer.status != Status::kBusy || fresh || Clock::now() >= deadline) return answer;
  }
  return reply(Status::kBusy, "it does not answer");
}

}  // namespace jukora
