// SPDX-License-Identifier: GPL-3.0-or-later
// The command-line remote: `jukora --increment` and its kin hand one command
// to the running copy over a local socket only this user can reach, one
// line naming it ("increment\n"); the running copy answers "ok\n" and runs
// it. A command that takes a value names its length on the line and sends
// its bytes after it ("import-ratings --dry-run bytes=12\n/music/a\nb"), so
// that a path travels whole whatever bytes it holds; the line of older
// versions, the value after a space ("import-ratings /music/a"), is still
// taken. A command whose caller waits for its outcome (--import-ratings)
// keeps the connection: meanwhile the running copy may send "note LENGTH\n"
// and LENGTH bytes for the caller to print on standard error at once; once
// it is done, it sends "answer STATUS LENGTH\n" and LENGTH bytes of text for
// the caller to print. A command without a value may carry the caller's
// activation token ("show activation=TOKEN\n"), with which the running copy
// may bring its window to the front. The words are those of the command
// table (commands.h).
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLocalServer>
#include <QString>
#include <chrono>
#include <deque>
#include <functional>
#include <optional>
#include <span>

#include "session/commands.h"

class QLocalSocket;
class QTimer;

namespace jukora {

// The request that hands `call` over: its word, " --" and its switch when
// given, and for a command that takes a value " bytes=LENGTH"; a line break,
// and the value's bytes.
QByteArray remote_request(const CommandCall& call, std::span<const CommandEntry> commands = command_table());

// A request as far as it has come in.
struct RemoteRequest {
  enum class State {
    kIncomplete,  // more may come
    kComplete,    // `call` holds it; it took `size` bytes
    kInvalid,     // no known command, or not in its form
  };
  State state = State::kIncomplete;
  std::optional<CommandCall> call;
  qsizetype size = 0;
};
RemoteRequest parse_remote_request(QByteArrayView received, std::span<const CommandEntry> commands = command_table());

// A request is one short line and a value; anything longer is no request.
inline constexpr qint64 kRemoteLineLimit = 64 + kCommandValueLimit;
inline constexpr qint64 kRemoteRequestLimit = kRemoteLineLimit + kCommandValueLimit;
// The most text an answer may carry (a dry run's list of changes).
inline constexpr qint64 kRemoteAnswerLimit = qint64{256} << 20;

// Where the running copy listens: a socket in the private socket folder
// (POSIX), a name of this user's own (Windows). Empty when no private
// folder can be had.
QString remote_address(const std::string& data_folder);

// Hands `command` to the copy listening at `address`, waiting at most
// `deadline` for it to come up and take it, and for a command that answers
// at most `answer_deadline` more for its answer, which it prints (standard
// output for status 0, else standard error), printing its notes meanwhile;
// leaving earlier gives the command up there. The exit status: 0 once handed over, the answer's
// status, or 1, with the reason on standard error, when it could not.
int forward_remote_command(const QString& address, const CommandCall& call, std::chrono::milliseconds deadline,
                           std::chrono::milliseconds answer_deadline = std::chrono::minutes(5));

// The running copy's end. Each connection may carry one known command
// within the deadline; anything else is logged and dropped, never acted on.
class RemoteServer : public QObject {
 public:
  using Handler = std::function<void(const CommandCall&)>;

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
  void receive(const CommandCall& call);

 private:
  void take_connections();
  void read_request(QLocalSocket& client, QTimer& expiry);
  void act();

  Handler handler_;
  std::chrono::milliseconds deadline_;
  int clients_ = 0;
  std::deque<CommandCall> waiting_;
  bool acting_ = false;
  bool busy_ = false;
  // Last: its connections go first, while the count they keep still exists.
  QLocalServer server_;
};

}  // namespace jukora
