// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/remote/remote_command.h"

#include <QDir>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

#include "platform/clean_path.h"
#include "shell/local_text.h"

#ifndef _WIN32
#include "platform/private_folder.h"
#endif

namespace jukora {

namespace {

// More clients than this at once are no user typing commands.
constexpr int kClientLimit = 16;
constexpr const char* kAccepted = "ok\n";

void ignored(const char* why) { qWarning("Remote command ignored: %s", why); }

void tell(const QString& text) { std::fprintf(stderr, "jukora: %s\n", qUtf8Printable(text)); }

QByteArray bytes(std::string_view text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

// The words of the header line ("note 12", "answer 0 40") next on `socket`.
QList<QByteArray> header_of(QLocalSocket& socket) { return socket.readLine(kRemoteLineLimit).trimmed().split(' '); }

// Reads the notes and the answer that follow "ok" on `socket` and prints
// them; the answer's status, or 1 when none came.
int take_answer(QLocalSocket& socket, std::chrono::milliseconds deadline) {
  QElapsedTimer clock;
  clock.start();
  auto left = [&] { return static_cast<int>(std::max<qint64>(0, deadline.count() - clock.elapsed())); };
  auto wait_for = [&](auto ready) {
    while (!ready() && socket.state() == QLocalSocket::ConnectedState && left() > 0) socket.waitForReadyRead(left());
    return ready();
  };
  auto text_of = [&](qint64 length, QByteArray& text) {
    if (!wait_for([&] { return socket.bytesAvailable() >= length; })) return false;
    text = socket.read(length);
    return true;
  };
  for (;;) {
    if (!wait_for([&] { return socket.canReadLine(); })) {
      tell(socket.state() == QLocalSocket::ConnectedState
               ? QString("the running Jukora did not finish within %1 s; the command is given up there")
                     .arg(deadline.count() / 1000)
               : QString("the running Jukora ended the command without an answer"));
      return 1;
    }
    const QList<QByteArray> header = header_of(socket);
    bool length_read = false, status_read = false;
    const qint64 length = header.size() >= 2 ? header.back().toLongLong(&length_read) : 0;
    QByteArray text;
    if (header[0] == "note" && header.size() == 2 && length_read && length >= 0 && length <= kRemoteLineLimit &&
        text_of(length, text)) {
      std::fprintf(stderr, "jukora: %s\n", text.constData());
      continue;
    }
    const int status = header.size() == 3 ? header[1].toInt(&status_read) : 0;
    if (header[0] != "answer" || header.size() != 3 || !status_read || !length_read || length < 0 ||
        length > kRemoteAnswerLimit) {
      tell("the running Jukora's answer could not be read");
      return 1;
    }
    if (!text_of(length, text)) {
      tell("the running Jukora's answer was cut short");
      return 1;
    }
    std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), status == 0 ? stdout : stderr);
    return status;
  }
}

#ifndef _WIN32
constexpr const char* kSocketName = "remote-socket";

bool from_this_user(const QLocalSocket& socket) {
  return peer_is_this_user(static_cast<int>(socket.socketDescriptor()));
}
#else
// Windows checks the pipe's owner itself (UserAccessOption).
bool from_this_user(const QLocalSocket&) { return true; }
#endif

// A command's notes and answer go back to its client, if the client still
// waits; the client's socket goes once the client has left.
CommandReply reply_to(QLocalSocket& client) {
  QPointer<QLocalSocket> socket(&client);
  auto frame = [socket](const QByteArray& header, const std::string& text) {
    socket->write(header + ' ' + QByteArray::number(static_cast<qsizetype>(text.size())) + '\n');
    socket->write(text.data(), static_cast<qsizetype>(text.size()));
  };
  return {[socket, frame](int status, const std::string& text) {
            if (!socket) return;
            frame("answer " + QByteArray::number(status), text);
            socket->disconnectFromServer();
          },
          [socket] { return socket && socket->state() == QLocalSocket::ConnectedState; },
          [socket, frame](const std::string& text) {
            if (socket) frame("note", text.substr(0, kRemoteLineLimit));
          }};
}

// The value framed by its length: " bytes=LENGTH" on the line.
constexpr std::string_view kFramed = "bytes=";

std::optional<qsizetype> framed_length(QByteArrayView field) {
  if (!field.startsWith(QByteArrayView(kFramed.data(), static_cast<qsizetype>(kFramed.size())))) return std::nullopt;
  field = field.sliced(static_cast<qsizetype>(kFramed.size()));
  if (field.isEmpty() || field.size() > 5 ||
      !std::all_of(field.begin(), field.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  return field.toByteArray().toLongLong();
}

// The activation token on the line of a command without a value:
// " activation=TOKEN". Tokens are short and printable.
constexpr std::string_view kActivation = "activation=";
constexpr qsizetype kTokenLimit = 256;

bool token_fits(QByteArrayView token) {
  return !token.isEmpty() && token.size() <= kTokenLimit &&
         std::all_of(token.begin(), token.end(), [](char c) { return c > ' ' && c < 0x7f; });
}

}  // namespace

QByteArray remote_request(const CommandCall& call, std::span<const CommandEntry> commands) {
  QByteArray line;
  bool takes_value = false;
  for (const CommandEntry& entry : commands) {
    if (entry.command != call.command) continue;
    line = bytes(entry.word);
    if (call.option) line += " --" + bytes(entry.option);
    takes_value = !entry.argument.empty();
  }
  if (!takes_value) {
    const QByteArray token = QByteArray::fromStdString(call.activation_token);
    if (token_fits(token)) line += ' ' + bytes(kActivation) + token;
    return line + '\n';
  }
  return line + ' ' + bytes(kFramed) + QByteArray::number(static_cast<qsizetype>(call.argument.size())) + '\n' +
         QByteArray::fromStdString(call.argument);
}

RemoteRequest parse_remote_request(QByteArrayView received, std::span<const CommandEntry> commands) {
  using State = RemoteRequest::State;
  const qsizetype end = received.indexOf('\n');
  if (end < 0) return {received.size() < kRemoteLineLimit ? State::kIncomplete : State::kInvalid, {}, 0};
  QByteArrayView line = received.first(end);
  if (line.size() > kRemoteLineLimit) return {State::kInvalid, {}, 0};
  const qsizetype space = line.indexOf(' ');
  const QByteArrayView word = space < 0 ? line : line.first(space);
  QByteArrayView value = space < 0 ? QByteArrayView() : line.sliced(space + 1);
  for (const CommandEntry& entry : commands) {
    if (entry.word.empty() || word != bytes(entry.word)) continue;
    const QByteArray option = entry.option.empty() ? QByteArray() : "--" + bytes(entry.option) + ' ';
    const bool with_option = !option.isEmpty() && value.startsWith(option);
    if (with_option) value = value.sliced(option.size());
    // A command that takes no value takes nothing more than a token.
    if (entry.argument.empty()) {
      CommandCall call(entry.command, {}, false, ChangeSource::kRemote);
      if (space >= 0) {
        const QByteArrayView prefix(kActivation.data(), static_cast<qsizetype>(kActivation.size()));
        if (!value.startsWith(prefix) || !token_fits(value.sliced(prefix.size()))) return {State::kInvalid, {}, 0};
        call.activation_token = value.sliced(prefix.size()).toByteArray().toStdString();
      }
      return {State::kComplete, std::move(call), end + 1};
    }
    qsizetype size = end + 1;
    std::string text;
    if (const std::optional<qsizetype> length = framed_length(value)) {
      if (*length == 0 || *length > qsizetype{kCommandValueLimit}) return {State::kInvalid, {}, 0};
      if (received.size() < size + *length) return {State::kIncomplete, {}, 0};
      text.assign(received.data() + size, static_cast<std::size_t>(*length));
      size += *length;
    } else {
      // The older line: the value up to the line break.
      if (value.isEmpty() || value.size() > qsizetype{kCommandValueLimit}) return {State::kInvalid, {}, 0};
      text = value.toByteArray().toStdString();
    }
    return {State::kComplete, CommandCall(entry.command, std::move(text), with_option, ChangeSource::kRemote), size};
  }
  return {State::kInvalid, {}, 0};
}

QString remote_address(const std::string& data_folder) {
#ifdef _WIN32
  (void)data_folder;
  // Pipe names are seen by every session of the machine.
  return "jukora-remote-" + qEnvironmentVariable("USERNAME");
#else
  const std::string folder = private_socket_folder(data_folder, std::char_traits<char>::length(kSocketName));
  return folder.empty() ? QString() : QDir(qt_text(folder)).filePath(kSocketName);
#endif
}

int forward_remote_command(const QString& address, const CommandCall& call, std::chrono::milliseconds deadline,
                           std::chrono::milliseconds answer_deadline) {
  if (address.isEmpty()) {
    tell("no private folder for the remote socket");
    return 1;
  }
  QElapsedTimer clock;
  clock.start();
  auto left = [&] { return static_cast<int>(std::max<qint64>(0, deadline.count() - clock.elapsed())); };
  // A copy that has just started may not listen yet: keep trying until the deadline.
  for (;;) {
#ifndef _WIN32
    if (check_own_socket(program_text(address)) == SocketCheck::kForeign) {
      tell(address + " is not Jukora's own socket; not sending to it");
      return 1;
    }
#endif
    QLocalSocket socket;
    socket.connectToServer(address);
    if (socket.waitForConnected(left())) {
      if (!from_this_user(socket)) {
        tell(address + " is served by another user; not sending to it");
        return 1;
      }
      socket.write(remote_request(call));
      while (!socket.canReadLine() && socket.waitForReadyRead(left())) {
      }
      if (socket.readLine(kRemoteLineLimit) == kAccepted)
        return command_entry(call.command).answer ? take_answer(socket, answer_deadline) : 0;
    }
    if (left() == 0) break;
    QThread::msleep(50);
  }
  tell("the running Jukora did not take the command");
  return 1;
}

RemoteServer::RemoteServer(Handler handler, std::chrono::milliseconds deadline, QObject* parent)
    : QObject(parent), handler_(std::move(handler)), deadline_(deadline) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &RemoteServer::take_connections);
}

bool RemoteServer::listen(const QString& address) {
  if (address.isEmpty()) {
    qWarning("Remote commands off: no private folder for their socket");
    return false;
  }
#ifndef _WIN32
  switch (check_own_socket(program_text(address))) {
    case SocketCheck::kMissing:
      break;
    case SocketCheck::kOwnSocket:
      // Left by a copy that did not end cleanly; the lock says none runs now.
      QLocalServer::removeServer(address);
      break;
    case SocketCheck::kForeign:
      qWarning("Remote commands off: %s is not Jukora's own socket", qUtf8Printable(address));
      return false;
  }
#endif
  if (!server_.listen(address)) {
    qWarning("Remote commands off: %s", qUtf8Printable(server_.errorString()));
    return false;
  }
  return true;
}

void RemoteServer::start_acting() {
  acting_ = true;
  act();
}

void RemoteServer::receive(const CommandCall& call) {
  waiting_.push_back(call);
  act();
}

void RemoteServer::take_connections() {
  while (QLocalSocket* client = server_.nextPendingConnection()) {
    connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
    connect(client, &QObject::destroyed, this, [this] { --clients_; });
    ++clients_;
    if (clients_ > kClientLimit) {
      ignored("too many connections at once");
      client->abort();
      continue;
    }
    if (!from_this_user(*client)) {
      ignored("a connection from another user");
      client->abort();
      continue;
    }
    // A client that says nothing, or never finishes its line, is let go.
    auto* expiry = new QTimer(client);
    expiry->setSingleShot(true);
    connect(expiry, &QTimer::timeout, client, [client] {
      ignored("nothing complete sent in time");
      client->abort();
    });
    expiry->start(deadline_);
    connect(client, &QLocalSocket::readyRead, this, [this, client, expiry] { read_request(*client, *expiry); });
    if (client->bytesAvailable() > 0) read_request(*client, *expiry);
  }
}

void RemoteServer::read_request(QLocalSocket& client, QTimer& expiry) {
  const QByteArray received = client.peek(kRemoteRequestLimit + 1);
  RemoteRequest request = parse_remote_request(received);
  if (request.state == RemoteRequest::State::kIncomplete && received.size() <= kRemoteRequestLimit) return;
  if (request.state != RemoteRequest::State::kComplete) {
    ignored(request.state == RemoteRequest::State::kInvalid ? "not a known command" : "an over-long request");
    client.abort();
    return;
  }
  client.skip(request.size);
  std::optional<CommandCall>& call = request.call;
  expiry.stop();
  // A relative path is the caller's, read against its working folder.
  call->folder = peer_working_folder(static_cast<int>(client.socketDescriptor()));
  client.write(kAccepted);
  if (command_entry(call->command).answer) {
    // One request per connection: what else the client sends is not read.
    disconnect(&client, &QLocalSocket::readyRead, this, nullptr);
    call->reply = reply_to(client);
  } else {
    // The sender may leave now; the command runs in its turn.
    client.disconnectFromServer();
  }
  receive(*call);
}

void RemoteServer::act() {
  // A command that opens a message box lets events run, and with them the
  // next command's arrival: that one waits here until the first is done.
  if (!acting_ || busy_) return;
  busy_ = true;
  while (!waiting_.empty()) {
    const CommandCall call = waiting_.front();
    waiting_.pop_front();
    handler_(call);
  }
  busy_ = false;
}

}  // namespace jukora
