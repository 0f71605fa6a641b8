// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line remote: `jukora --increment` and its kin hand one command
// to the running copy over a local socket only this user can reach; the
// running copy acts as if the matching tray icon had been clicked.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocalServer>
#include <QString>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>

class QLocalSocket;
class QTimer;

namespace jukora {

enum class RemoteCommand { kIncrement, kDecrement, kSkip, kShow };

inline constexpr RemoteCommand kRemoteCommands[] = {RemoteCommand::kIncrement, RemoteCommand::kDecrement,
                                                    RemoteCommand::kSkip, RemoteCommand::kShow};

// "increment", ...: the option's name and the word on the socket.
const char* remote_word(RemoteCommand command);

// The command one line of the socket names ("skip\n"); nothing for anything else.
std::optional<RemoteCommand> parse_remote_line(QByteArrayView line);

// A request is one word and a line break; anything longer is no request.
inline constexpr qint64 kRemoteLineLimit = 32;

// Where the running copy listens: a socket in the private socket folder
// (POSIX), a name of this user's own (Windows). Empty when no private
// folder can be had.
QString remote_address(const std::string& data_folder);

// Hands `command` to the copy listening at `address`, waiting at most
// `deadline` for it to come up and take it. False, with the reason on
// standard error, when it could not.
bool forward_remote_command(const QString& address, RemoteCommand command, std::chrono::milliseconds deadline);

// The running copy's end. Each connection may carry one known command
// within the deadline; anything else is logged and dropped, never acted on.
class RemoteServer : public QObject {
 public:
  using Handler = std::function<void(RemoteCommand)>;

  explicit RemoteServer(Handler handler, std::chrono::milliseconds deadline = std::chrono::seconds(2),
                        QObject* parent = nullptr);

  // Listens at `address` once its place has been checked; false, with the
  // reason logged, when the place is not safe or cannot be had.
  bool listen(const QString& address);

  // Commands run one at a time and only from here on: one that comes while
  // start-up or another command is still running (a message box is open)
  // waits its turn. Nothing is lost.
  void start_acting();
  // Takes a command as if it had come over the socket (the program's own
  // command line).
  void receive(RemoteCommand command);

 private:
  void take_connections();
  void read_request(QLocalSocket& client, QTimer& expiry);
  void act();

  Handler handler_;
  std::chrono::milliseconds deadline_;
  int clients_ = 0;
  std::deque<RemoteCommand> waiting_;
  bool acting_ = false;
  bool busy_ = false;
  // Last: its connections go first, while the count they keep still exists.
  QLocalServer server_;
};

}  // namespace jukora
