// SPDX-License-Identifier: GPL-3.0-or-later
// A broken or hostile server where MPD should be, on a local socket: it sends
// a 50 MB line, or one byte every 100 ms, or nothing at all, or answers every
// request in full but only after a while. And a watch on
// the event loop from a thread of its own, which measures the longest time
// the loop did not come round. POSIX.
#pragma once

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QTimer>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace jukora::testing {

class HostileMpd {
 public:
  enum class Kind {
    kLongLine,  // greets, then answers anything with a line of 50 MB
    kTrickle,   // greets, then sends one byte every 100 ms, never a line break
    kSilent,    // takes the connection and says nothing
    kSlow,      // greets, then answers each request in full, 120 ms late
  };

  HostileMpd(std::string path, Kind kind) : path_(std::move(path)), kind_(kind) {
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path_.c_str(), sizeof address.sun_path - 1);
    unlink(path_.c_str());
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 64) != 0) {
      close(listener_);
      listener_ = -1;
      return;
    }
    acceptor_ = std::thread([this] { accept_all(); });
  }
  ~HostileMpd() {
    stop_ = true;
    if (acceptor_.joinable()) acceptor_.join();
    for (std::thread& client : clients_) client.join();
    if (listener_ >= 0) close(listener_);
    unlink(path_.c_str());
  }
  HostileMpd(const HostileMpd&) = delete;
  HostileMpd& operator=(const HostileMpd&) = delete;

  bool listening() const { return listener_ >= 0; }
  int connections() const { return connections_; }

 private:
  // Waits up to 50 ms for `events`; false once the server stops.
  bool wait(int fd, short events) {
    pollfd entry{fd, events, 0};
    while (!stop_)
      if (poll(&entry, 1, 50) > 0) return true;
    return false;
  }
  void accept_all() {
    while (wait(listener_, POLLIN)) {
      const int fd = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
      if (fd < 0) continue;
      ++connections_;
      clients_.emplace_back([this, fd] {
        serve(fd);
        close(fd);
      });
    }
  }
  // Sends all of `bytes` unless the client goes or the server stops.
  bool send_all(int fd, const char* bytes, std::size_t size) {
    while (size > 0) {
      if (!wait(fd, POLLOUT)) return false;
      const ssize_t sent = send(fd, bytes, size, MSG_NOSIGNAL);
      if (sent < 0 && errno == EAGAIN) continue;
      if (sent <= 0) return false;
      bytes += sent;
      size -= static_cast<std::size_t>(sent);
    }
    return true;
  }
  void serve(int fd) {
    if (kind_ == Kind::kSilent) {
      // Reads what comes, until the client goes.
      char bytes[4096];
      while (wait(fd, POLLIN))
        if (recv(fd, bytes, sizeof bytes, 0) == 0) return;
      return;
    }
    const std::string welcome = "OK MPD 0.23.5\n";
    if (!send_all(fd, welcome.data(), welcome.size())) return;
    if (kind_ == Kind::kTrickle) {
      while (!stop_ && send_all(fd, "x", 1)) std::this_thread::sleep_for(std::chrono::milliseconds(100));
      return;
    }
    if (kind_ == Kind::kSlow) {
      answer_slowly(fd);
      return;
    }
    if (!wait(fd, POLLIN)) return;
    const std::string start = "music_directory: ";
    if (!send_all(fd, start.data(), start.size())) return;
    const std::vector<char> block(1 << 20, 'x');
    for (int megabyte = 0; megabyte < 50; ++megabyte)
      if (!send_all(fd, block.data(), block.size())) return;
    send_all(fd, "\nOK\n", 4);
  }

  // Each command of a list succeeds, with nothing to say.
  void answer_slowly(int fd) {
    std::string received;
    char bytes[4096];
    while (wait(fd, POLLIN)) {
      const ssize_t got = recv(fd, bytes, sizeof bytes, 0);
      if (got == 0) return;
      if (got > 0) received.append(bytes, static_cast<std::size_t>(got));
      const std::size_t end = received.find("command_list_end\n");
      if (end == std::string::npos) continue;
      std::string answer;
      for (std::size_t at = received.find('\n'); at + 1 < end; at = received.find('\n', at + 1)) answer += "list_OK\n";
      received.erase(0, end + 17);
      std::this_thread::sleep_for(std::chrono::milliseconds(120));
      if (!send_all(fd, (answer + "OK\n").data(), answer.size() + 3)) return;
    }
  }

  const std::string path_;
  const Kind kind_;
  int listener_ = -1;
  std::atomic<bool> stop_ = false;
  std::atomic<int> connections_ = 0;
  std::thread acceptor_;
  std::vector<std::thread> clients_;
};

inline const char* hostile_mpd_name(HostileMpd::Kind kind) {
  switch (kind) {
    case HostileMpd::Kind::kLongLine:
      return "FiftyMegabyteLine";
    case HostileMpd::Kind::kTrickle:
      return "OneByteEvery100ms";
    case HostileMpd::Kind::kSilent:
      return "Nothing";
    case HostileMpd::Kind::kSlow:
      return "EveryAnswer120msLate";
  }
  return "";
}

// Measures how long the event loop of the thread that makes it is held at
// most: a timer there marks each round, a thread of its own looks at the
// marks.
class EventLoopWatch {
 public:
  using Clock = std::chrono::steady_clock;

  EventLoopWatch() : last_round_(Clock::now().time_since_epoch().count()) {
    QObject::connect(&rounds_, &QTimer::timeout, [this] { last_round_ = Clock::now().time_since_epoch().count(); });
    rounds_.start(5);
    watcher_ = std::thread([this] {
      while (!stop_) {
        const auto held = Clock::now().time_since_epoch().count() - last_round_.load();
        if (held > longest_) longest_ = held;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
    });
  }
  ~EventLoopWatch() {
    stop_ = true;
    watcher_.join();
  }
  EventLoopWatch(const EventLoopWatch&) = delete;
  EventLoopWatch& operator=(const EventLoopWatch&) = delete;

  std::chrono::milliseconds longest() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::duration(longest_.load()));
  }
  void reset() {
    last_round_ = Clock::now().time_since_epoch().count();
    longest_ = 0;
  }

 private:
  QTimer rounds_;
  std::atomic<Clock::rep> last_round_;
  std::atomic<Clock::rep> longest_ = 0;
  std::atomic<bool> stop_ = false;
  std::thread watcher_;
};

}  // namespace jukora::testing
