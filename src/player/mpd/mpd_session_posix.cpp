// SPDX-License-Identifier: GPL-3.0-or-later
#include <errno.h>
#include <mpd/async.h>
#include <mpd/parser.h>
#include <poll.h>
#include <unistd.h>

#include "player/mpd/mpd_session.h"

namespace jukora {

namespace {

using Clock = std::chrono::steady_clock;
using Status = MpdAnswer::Status;

bool queue_command(mpd_async* async, const MpdCommand& command) {
  constexpr const char* kEnd = nullptr;
  switch (command.size()) {
    case 1:
      return mpd_async_send_command(async, command[0].c_str(), kEnd);
    case 2:
      return mpd_async_send_command(async, command[0].c_str(), command[1].c_str(), kEnd);
    case 3:
      return mpd_async_send_command(async, command[0].c_str(), command[1].c_str(), command[2].c_str(), kEnd);
    default:
      return false;
  }
}

}  // namespace

// libmpdclient's buffered, quoting connection and its line parser. Its
// blocking layer is not used: it takes the part of a timeout below one
// second for microseconds, so every wait here is our own poll.
struct MpdSession::Connection {
  Connection(mpd_async* connection, mpd_parser* line_parser) : async(connection), parser(line_parser) {}
  ~Connection() {
    mpd_parser_free(parser);
    mpd_async_free(async);
  }
  mpd_async* const async;
  mpd_parser* const parser;
};

std::string MpdAnswer::value(std::size_t command, std::string_view key) const {
  if (command >= replies.size()) return {};
  for (const auto& [name, text] : replies[command])
    if (name == key) return text;
  return {};
}

MpdSession::MpdSession(std::unique_ptr<Connection> connection) : connection_(std::move(connection)) {}

MpdSession::~MpdSession() = default;

std::unique_ptr<MpdSession> MpdSession::adopt(int fd) {
  mpd_async* async = mpd_async_new(fd);
  if (!async) {
    close(fd);
    return nullptr;
  }
  // From here on libmpdclient owns the socket and closes it.
  mpd_parser* parser = mpd_parser_new();
  if (!parser) {
    mpd_async_free(async);
    return nullptr;
  }
  return std::unique_ptr<MpdSession>(new MpdSession(std::make_unique<Connection>(async, parser)));
}

bool MpdSession::usable() {
  if (broken_) return false;
  // Between exchanges MPD sends nothing: anything to read now is the end of
  // the connection (MPD quit, or closed a connection left idle too long).
  pollfd entry{mpd_async_get_fd(connection_->async), POLLIN, 0};
  if (poll(&entry, 1, 0) != 0) broken_ = true;
  return !broken_;
}

MpdAnswer MpdSession::run(const std::vector<MpdCommand>& commands, Clock::time_point deadline) {
  MpdAnswer answer;
  Status status = broken_ ? Status::kLost : send(commands, deadline);
  if (status == Status::kOk) status = receive(commands.size(), answer, deadline);
  answer.status = status;
  // Half an exchange leaves the connection in no state to be reused.
  if (status == Status::kTimedOut || status == Status::kLost) broken_ = true;
  return answer;
}

bool MpdSession::wait_for(short events, Clock::time_point deadline) {
  for (;;) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) return false;
    pollfd entry{mpd_async_get_fd(connection_->async), events, 0};
    int got = poll(&entry, 1, static_cast<int>(left));
    if (got > 0) return true;
    if (got == 0 || errno != EINTR) return false;
  }
}

MpdAnswer::Status MpdSession::write_some(Clock::time_point deadline) {
  if (!wait_for(POLLOUT, deadline)) return Status::kTimedOut;
  return mpd_async_io(connection_->async, MPD_ASYNC_EVENT_WRITE) ? Status::kOk : Status::kLost;
}

MpdAnswer::Status MpdSession::send(const std::vector<MpdCommand>& commands, Clock::time_point deadline) {
  mpd_async* const async = connection_->async;
  std::vector<MpdCommand> list;
  list.reserve(commands.size() + 2);
  list.push_back({"command_list_ok_begin"});
  list.insert(list.end(), commands.begin(), commands.end());
  list.push_back({"command_list_end"});
  for (const MpdCommand& command : list) {
    // A full output buffer takes the command once MPD has read from it.
    while (!queue_command(async, command)) {
      if (mpd_async_get_error(async) != MPD_ERROR_SUCCESS || !(mpd_async_events(async) & MPD_ASYNC_EVENT_WRITE))
        return Status::kLost;
      if (Status status = write_some(deadline); status != Status::kOk) return status;
    }
  }
  while (mpd_async_events(async) & MPD_ASYNC_EVENT_WRITE)
    if (Status status = write_some(deadline); status != Status::kOk) return status;
  return Status::kOk;
}

// A "list_OK" after each command's pairs, an "OK" after the last; an "ACK"
// ends the list at the command MPD refused.
MpdAnswer::Status MpdSession::receive(std::size_t commands, MpdAnswer& answer, Clock::time_point deadline) {
  mpd_async* const async = connection_->async;
  mpd_parser* const parser = connection_->parser;
  MpdPairs pairs;
  for (;;) {
    char* line = mpd_async_recv_line(async);
    if (!line) {
      if (mpd_async_get_error(async) != MPD_ERROR_SUCCESS) return Status::kLost;
      if (!wait_for(POLLIN, deadline)) return Status::kTimedOut;
      if (!mpd_async_io(async, MPD_ASYNC_EVENT_READ)) return Status::kLost;
      continue;
    }
    switch (mpd_parser_feed(parser, line)) {
      case MPD_PARSER_PAIR:
        pairs.emplace_back(mpd_parser_get_name(parser), mpd_parser_get_value(parser));
        break;
      case MPD_PARSER_SUCCESS:
        if (!mpd_parser_is_discrete(parser)) return answer.replies.size() == commands ? Status::kOk : Status::kLost;
        // More answers than commands: whatever this is, it is not MPD.
        if (answer.replies.size() == commands) return Status::kLost;
        answer.replies.push_back(std::move(pairs));
        pairs.clear();
        break;
      case MPD_PARSER_ERROR:
        if (answer.replies.size() == commands) return Status::kLost;
        answer.code = mpd_parser_get_server_error(parser);
        answer.text = mpd_parser_get_message(parser);
        return Status::kError;
      case MPD_PARSER_MALFORMED:
        return Status::kLost;
    }
  }
}

}  // namespace jukora
