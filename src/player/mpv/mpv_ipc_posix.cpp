// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "player/mpv/mpv_ipc.h"
#include "player/raw_bytes.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;

// A playlist of many thousand entries is one long line; anything far beyond
// that is not mpv talking.
constexpr std::size_t kMaxInput = std::size_t{64} << 20;

void restore_bytes(nlohmann::json& value) {
  if (value.is_string()) {
    value = utf8_to_bytes(value.get_ref<const std::string&>());
  } else if (value.is_structured()) {
    for (auto& item : value) restore_bytes(item);
  }
}

struct NumberedReply {
  std::int64_t id;
  MpvReply reply;
};

// Nothing for events and for lines that are not JSON at all: either way no
// reply can be matched to them.
std::optional<NumberedReply> parse_line(std::string_view line) {
  // Events (mpv sends many) are not even decoded.
  if (line.find("\"request_id\"") == std::string_view::npos) return std::nullopt;
  try {
    auto json = nlohmann::json::parse(bytes_to_utf8(line));
    if (!json.is_object()) return std::nullopt;
    auto id = json.find("request_id");
    if (id == json.end() || !id->is_number_integer()) return std::nullopt;
    NumberedReply numbered{id->get<std::int64_t>(), {}};
    auto error = json.find("error");
    numbered.reply.ok = error != json.end() && error->is_string() && *error == "success";
    if (auto data = json.find("data"); data != json.end()) {
      numbered.reply.data = std::move(*data);
      restore_bytes(numbered.reply.data);
    }
    return numbered;
  } catch (const nlohmann::json::exception&) {
    return std::nullopt;
  }
}

int remaining_ms(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left <= 0 ? 0 : static_cast<int>(left);
}

}  // namespace

std::optional<MpvSession> MpvSession::connect(const std::string& socket_path, std::chrono::milliseconds reply_timeout,
                                              Refusal* why) {
  Refusal ignored;
  Refusal& refusal = why ? *why : ignored;
  refusal = Refusal::kGone;
  sockaddr_un address{};
  if (socket_path.empty() || socket_path.size() >= sizeof address.sun_path) return std::nullopt;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, socket_path.data(), socket_path.size());
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
  if (fd < 0) {
    refusal = Refusal::kBusy;
    return std::nullopt;
  }
  int result;
  do {
    result = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    // Only a socket nobody listens on is gone; anything else may be a player
    // that cannot answer now, and must never make way for a second one.
    refusal = errno == ECONNREFUSED || errno == ENOENT || errno == ENOTDIR ? Refusal::kGone : Refusal::kBusy;
    ::close(fd);
    return std::nullopt;
  }
  return MpvSession(fd, reply_timeout);
}

MpvSession::MpvSession(int fd, std::chrono::milliseconds reply_timeout) : fd_(fd), reply_timeout_(reply_timeout) {
  // Every wait is a poll with a deadline; a blocking read could hang on a
  // player that stopped answering.
  int flags = ::fcntl(fd_, F_GETFL);
  if (flags < 0 || ::fcntl(fd_, F_SETFL, flags | O_NONBLOCK) != 0) drop();
}

MpvSession::MpvSession(MpvSession&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      reply_timeout_(other.reply_timeout_),
      next_id_(other.next_id_),
      input_(std::move(other.input_)),
      kept_event_(std::move(other.kept_event_)),
      events_(std::move(other.events_)) {}

MpvSession::~MpvSession() { drop(); }

void MpvSession::drop() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

MpvReply MpvSession::ask(const std::vector<std::string>& command) { return std::move(ask_all({command}).front()); }

std::vector<MpvReply> MpvSession::ask_all(const std::vector<std::vector<std::string>>& commands) {
  std::vector<MpvReply> replies(commands.size());
  if (fd_ < 0 || commands.empty()) return replies;

  const auto deadline = Clock::now() + reply_timeout_;
  const std::int64_t first_id = next_id_;
  std::string out;
  for (const auto& command : commands) {
    auto arguments = nlohmann::json::array();
    for (const auto& argument : command) arguments.push_back(bytes_to_utf8(argument));
    nlohmann::json line = {{"command", std::move(arguments)}, {"request_id", next_id_++}};
    // mpv takes file names as raw bytes, so the stand-ins go back to bytes.
    out += utf8_to_bytes(line.dump());
    out += '\n';
  }
  if (!send_all(out, deadline)) {
    drop();
    return replies;
  }

  std::vector<bool> answered(commands.size(), false);
  std::size_t missing = commands.size();
  std::size_t start = 0;
  while (missing > 0) {
    for (std::size_t end; missing > 0 && (end = input_.find('\n', start)) != std::string::npos; start = end + 1) {
      const std::string_view line = std::string_view(input_).substr(start, end - start);
      auto numbered = parse_line(line);
      if (!numbered) note_event(line);
      if (!numbered || numbered->id < first_id) continue;
      auto index = static_cast<std::uint64_t>(numbered->id - first_id);
      if (index >= commands.size() || answered[index]) continue;
      replies[index] = std::move(numbered->reply);
      answered[index] = true;
      --missing;
    }
    input_.erase(0, start);
    start = 0;
    if (missing > 0 && !receive(deadline)) {
      drop();
      break;
    }
  }
  return replies;
}

std::vector<nlohmann::json> MpvSession::take_events() {
  while (fd_ >= 0) {
    char buffer[1 << 16];
    const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
    if (n <= 0 || input_.size() + static_cast<std::size_t>(n) > kMaxInput) {
      drop();
      break;
    }
    input_.append(buffer, static_cast<std::size_t>(n));
  }
  std::size_t start = 0;
  for (std::size_t end; (end = input_.find('\n', start)) != std::string::npos; start = end + 1)
    note_event(std::string_view(input_).substr(start, end - start));
  input_.erase(0, start);
  return std::exchange(events_, {});
}

void MpvSession::note_event(std::string_view line) {
  if (kept_event_.empty() || line.find("\"event\"") == std::string_view::npos) return;
  try {
    auto json = nlohmann::json::parse(bytes_to_utf8(line));
    auto event = json.is_object() ? json.find("event") : json.end();
    if (event == json.end() || !event->is_string() || *event != kept_event_) return;
    restore_bytes(json);
    events_.push_back(std::move(json));
  } catch (const nlohmann::json::exception&) {
    // Not mpv talking: nothing to keep.
  }
}

bool MpvSession::send_all(const std::string& bytes, Clock::time_point deadline) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      pollfd waiting{fd_, POLLOUT, 0};
      int ready = ::poll(&waiting, 1, remaining_ms(deadline));
      if (ready > 0 || (ready < 0 && errno == EINTR)) continue;
    }
    return false;
  }
  return true;
}

bool MpvSession::receive(Clock::time_point deadline) {
  char buffer[1 << 16];
  for (;;) {
    ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
    if (n > 0) {
      if (input_.size() + static_cast<std::size_t>(n) > kMaxInput) return false;
      input_.append(buffer, static_cast<std::size_t>(n));
      return true;
    }
    if (n == 0) return false;
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK) return false;
    pollfd waiting{fd_, POLLIN, 0};
    int ready = ::poll(&waiting, 1, remaining_ms(deadline));
    if (ready == 0) return false;
    if (ready < 0 && errno != EINTR) return false;
  }
}

}  // namespace jukora
