// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <string_view>
#include <system_error>
#include <thread>

#include "player/mpd/mpd_dial.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;
using Result = Dialled::Result;

// Longer than any welcome line MPD sends.
constexpr std::size_t kLongestWelcome = 256;

Dialled failed(Result result, std::string detail) { return {result, -1, std::move(detail)}; }

int remaining_ms(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<int>(left) : 0;
}

bool wait_for(int fd, short events, Clock::time_point deadline) {
  for (;;) {
    pollfd entry{fd, events, 0};
    int ready = poll(&entry, 1, remaining_ms(deadline));
    if (ready > 0) return true;
    if (ready == 0 || errno != EINTR) return false;
  }
}

// A non-blocking connect, finished by `deadline`; 0 or the errno it failed with.
int connect_by(int fd, const sockaddr* address, socklen_t length, Clock::time_point deadline) {
  if (connect(fd, address, length) == 0) return 0;
  if (errno != EINPROGRESS) return errno;
  if (!wait_for(fd, POLLOUT, deadline)) return ETIMEDOUT;
  int error = 0;
  socklen_t size = sizeof error;
  if (getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0) return errno;
  return error;
}

Dialled refused_or_busy(int error) {
  // A full backlog (EAGAIN on a local socket) or a slow network is busy;
  // anything else means nobody listens at that address.
  if (error == ETIMEDOUT || error == EAGAIN) return failed(Result::kTimedOut, std::strerror(error));
  return failed(Result::kRefused, std::strerror(error));
}

// Reads MPD's first line and nothing beyond it: what follows belongs to
// libmpdclient.
Dialled greeted(int fd, Clock::time_point deadline) {
  char buffer[kLongestWelcome];
  for (;;) {
    if (!wait_for(fd, POLLIN, deadline)) {
      close(fd);
      return failed(Result::kTimedOut, "no welcome");
    }
    ssize_t got = recv(fd, buffer, sizeof buffer, MSG_PEEK);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
    if (got <= 0) {
      close(fd);
      return failed(Result::kNotMpd, got == 0 ? "closed at once" : std::strerror(errno));
    }
    const void* end = std::memchr(buffer, '\n', static_cast<std::size_t>(got));
    if (!end) {
      if (static_cast<std::size_t>(got) == sizeof buffer) {
        close(fd);
        return failed(Result::kNotMpd, "no welcome line");
      }
      // Only part of the line has come: wait for more rather than spin.
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      continue;
    }
    std::size_t line = static_cast<const char*>(end) - buffer;
    if (recv(fd, buffer, line + 1, 0) != static_cast<ssize_t>(line + 1)) {
      close(fd);
      return failed(Result::kNotMpd, "welcome lost");
    }
    if (!std::string_view(buffer, line).starts_with("OK MPD ")) {
      close(fd);
      return failed(Result::kNotMpd, "no MPD welcome");
    }
    return {Result::kConnected, fd, {}};
  }
}

Dialled dial_socket(const std::string& path, Clock::time_point deadline) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path) return failed(Result::kRefused, "the socket path is too long");
  std::memcpy(address.sun_path, path.data(), path.size());
  socklen_t length = sizeof address;
  if (path.starts_with('@')) {
    // An abstract socket: its name follows a NUL, and its length counts.
    address.sun_path[0] = '\0';
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + path.size());
  } else {
    // The user chose this socket, and it typically belongs to MPD's own
    // user: what matters is only that it is one.
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return failed(Result::kRefused, std::strerror(errno));
    if (!S_ISSOCK(info.st_mode)) return failed(Result::kNotSocket, "not a socket");
  }
  int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return failed(Result::kTimedOut, std::strerror(errno));
  int error = connect_by(fd, reinterpret_cast<const sockaddr*>(&address), length, deadline);
  if (error != 0) {
    close(fd);
    return refused_or_busy(error);
  }
  return greeted(fd, deadline);
}

Dialled dial_host(const MpdAddress& target, Clock::time_point deadline) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const std::string port = std::to_string(target.port);
  int status = getaddrinfo(target.host.c_str(), port.c_str(), &hints, &found);
  if (status != 0) {
    // A failed lookup, also a temporary one, is a name that does not
    // resolve; only a lack of resources here is ours.
    if (status == EAI_MEMORY || status == EAI_SYSTEM) return failed(Result::kTimedOut, gai_strerror(status));
    return failed(Result::kUnknownHost, gai_strerror(status));
  }
  Dialled outcome = failed(Result::kRefused, "no address");
  for (addrinfo* entry = found; entry; entry = entry->ai_next) {
    int fd = socket(entry->ai_family, entry->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, entry->ai_protocol);
    if (fd < 0) continue;
    int error = connect_by(fd, entry->ai_addr, entry->ai_addrlen, deadline);
    if (error == 0) {
      outcome = greeted(fd, deadline);
      break;
    }
    close(fd);
    outcome = refused_or_busy(error);
    if (outcome.result == Result::kTimedOut) break;
  }
  freeaddrinfo(found);
  return outcome;
}

Dialled dial_now(const MpdAddress& address) {
  const auto deadline = Clock::now() + kDialDeadline;
  return address.is_socket() ? dial_socket(address.host, deadline) : dial_host(address, deadline);
}

}  // namespace

struct MpdDialer::Attempt {
  explicit Attempt(MpdAddress to) : address(std::move(to)) {}
  ~Attempt() {
    if (outcome && outcome->fd >= 0) close(outcome->fd);
  }

  const MpdAddress address;
  std::mutex mutex;
  std::condition_variable finished;
  std::optional<Dialled> outcome;
};

void MpdDialer::dial(const MpdAddress& address) {
  if (attempt_ && attempt_->address == address) return;
  auto attempt = std::make_shared<Attempt>(address);
  try {
    std::thread([attempt] {
      Dialled outcome = dial_now(attempt->address);
      std::lock_guard lock(attempt->mutex);
      attempt->outcome = std::move(outcome);
      attempt->finished.notify_all();
    }).detach();
  } catch (const std::system_error& error) {
    attempt->outcome = failed(Result::kTimedOut, error.what());
  }
  attempt_ = std::move(attempt);
}

std::optional<Dialled> MpdDialer::wait(Clock::time_point deadline) {
  if (!attempt_) return std::nullopt;
  std::unique_lock lock(attempt_->mutex);
  if (!attempt_->finished.wait_until(lock, deadline, [this] { return attempt_->outcome.has_value(); }))
    return std::nullopt;
  Dialled outcome = std::move(*attempt_->outcome);
  attempt_->outcome.reset();
  lock.unlock();
  attempt_.reset();
  return outcome;
}

}  // namespace jukora
