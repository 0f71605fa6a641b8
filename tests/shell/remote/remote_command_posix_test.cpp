// SPDX-License-Identifier: GPL-3.0-or-later
#include <gmock/gmock.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QEventLoop>
#include <QLocalSocket>
#include <QTest>
#include <atomic>
#include <filesystem>
#include <thread>

#include "shell/remote/remote_command.h"
#include "support/players_posix.h"

namespace jukora::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Sends `bytes` without waiting; `answer` is what comes back, once it has.
struct Client {
  Client(const QString& address, const QByteArray& bytes) {
    socket.connectToServer(address);
    socket.write(bytes);
  }
  bool answered() {
    answer += socket.readAll();
    return socket.state() == QLocalSocket::UnconnectedState;
  }
  QLocalSocket socket;
  QByteArray answer;
};

class RemoteCommandTest : public ::testing::Test {
 protected:
  RemoteCommandTest() { std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all); }
  QString address() const { return QString::fromStdString(dir.file("remote-socket")); }
  // Sends `bytes` and waits until the server has closed; what came back.
  QByteArray ask(const QByteArray& bytes) {
    Client client(address(), bytes);
    EXPECT_TRUE(QTest::qWaitFor([&] { return client.answered(); }, 5000)) << bytes.left(40).toStdString();
    return client.answer;
  }

  TempDir dir;
  std::vector<std::string> ran;
  std::function<void(const CommandCall&)> record = [this](const CommandCall& call) {
    ran.push_back(std::string(command_entry(call.command).word));
  };
};

TEST_F(RemoteCommandTest, OnlyOwnSocketsAreListenedAtOrSentTo) {
  RemoteServer server(record);
  std::filesystem::create_symlink(dir.file("elsewhere"), dir.file("remote-socket"));
  EXPECT_FALSE(server.listen(address())) << "a planted link";
  EXPECT_EQ(forward_remote_command(address(), Command::kSkip, std::chrono::seconds(5)), 1);
  std::filesystem::remove(dir.file("remote-socket"));
  write_bytes(dir.file("remote-socket"), "a user's file");
  EXPECT_FALSE(server.listen(address()));
  EXPECT_EQ(read_bytes(dir.file("remote-socket")), "a user's file");
  EXPECT_FALSE(server.listen(QString())) << "no private folder";
  std::filesystem::remove(dir.file("remote-socket"));

  // A socket left by a copy that died is taken over.
  {
    RemoteServer earlier([](const CommandCall&) {});
    ASSERT_TRUE(earlier.listen(address()));
  }
  int stale = unix_socket_at(dir.file("remote-socket"), -1);
  ASSERT_GE(stale, 0);
  close(stale);
  EXPECT_TRUE(server.listen(address()));
}

TEST_F(RemoteCommandTest, CommandsWaitForStartUpAndForEachOtherAndEachIsAnsweredAtOnce) {
  bool nested = false;
  RemoteServer server([&](const CommandCall& call) {
    record(call);
    // The first command opens a "message box": events run, the next command arrives.
    if (call.command == Command::kIncrement && !nested) {
      nested = true;
      EXPECT_EQ(ask("decrement\n"), "ok\n");
      ran.push_back("message box closed");
    }
  });
  ASSERT_TRUE(server.listen(address()));
  server.receive(Command::kIncrement);
  EXPECT_EQ(ask("show\n"), "ok\n");
  EXPECT_THAT(ran, IsEmpty()) << "nothing runs before start-up is done";

  server.start_acting();
  EXPECT_THAT(ran, ElementsAre("increment", "message box closed", "show", "decrement"));
}

TEST_F(RemoteCommandTest, AnythingButOneKnownCommandInTimeIsDroppedUnanswered) {
  RemoteServer server(record, std::chrono::milliseconds(300));
  ASSERT_TRUE(server.listen(address()));
  server.start_acting();
  std::vector<std::unique_ptr<Client>> clients;
  for (const QByteArray& bytes : {QByteArray("rm -rf /\n"), QByteArray(100000, 'x'), QByteArray("skip now\n"),
                                  QByteArray("Skip\n"), QByteArray("ski"), QByteArray()})
    clients.push_back(std::make_unique<Client>(address(), bytes));
  for (auto& client : clients) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return client->answered(); }, 5000));
    EXPECT_TRUE(client->answer.isEmpty()) << client->answer.toStdString();
  }
  EXPECT_THAT(ran, IsEmpty());
  EXPECT_EQ(ask("skip\n"), "ok\n");
  EXPECT_THAT(ran, ElementsAre("skip"));
}

TEST_F(RemoteCommandTest, AnImportTravelsWholeIsAnsweredOnceDoneAndACallerThatLeftIsNoLongerWaitedFor) {
  std::vector<CommandCall> calls;
  RemoteServer server([&](const CommandCall& call) { calls.push_back(call); });
  ASSERT_TRUE(server.listen(address()));
  server.start_acting();
  // A Latin-1 folder and a line break in a name, as a file system may hold them.
  const std::string source = "/m/caf\xe9/x\ny.xml";
  // The caller blocks on its socket: it runs beside the server's event loop.
  auto forward = [&](std::atomic<int>& status, std::string& out, std::chrono::milliseconds answer_deadline) {
    return std::thread([&, answer_deadline] {
      ::testing::internal::CaptureStdout();
      ::testing::internal::CaptureStderr();
      status = forward_remote_command(address(), CommandCall(Command::kImportRatings, source, true),
                                      std::chrono::seconds(5), answer_deadline);
      out = ::testing::internal::GetCapturedStdout() + "|" + ::testing::internal::GetCapturedStderr();
    });
  };
  std::atomic<int> status = -1;
  std::string out;
  std::thread caller = forward(status, out, std::chrono::seconds(10));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !calls.empty(); }, 5000));
  EXPECT_EQ(calls[0].argument, source);
  EXPECT_TRUE(calls[0].option);
  // A relative path would be read against the caller's working folder.
  EXPECT_EQ(calls[0].folder, std::filesystem::current_path().string());
  ASSERT_TRUE(calls[0].reply.waited_for());
  // What the import waits for reaches the caller at once; then the answer,
  // in any bytes: a dry run names songs, whatever their names hold.
  calls[0].reply.note("Waiting for \"/m/a.db\", which the program using it holds locked.");
  const std::string text = "~ /m/a\xff\nb.mp3: score 0 -> 8\nWould import 1 rating.\n";
  calls[0].reply.send(0, text);
  EXPECT_TRUE(QTest::qWaitFor([&] { return status >= 0; }, 5000));
  caller.join();
  EXPECT_EQ(status, 0);
  EXPECT_EQ(out, text + "|jukora: Waiting for \"/m/a.db\", which the program using it holds locked.\n");

  // A script's line in the form of earlier versions is taken too.
  Client script(address(), "import-ratings /m/old.xml\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return calls.size() == 2; }, 5000));
  EXPECT_EQ(calls[1].argument, "/m/old.xml");
  calls[1].reply.send(0, "done\n");
  ASSERT_TRUE(QTest::qWaitFor([&] { return script.answered(); }, 5000));
  EXPECT_EQ(script.answer, "ok\nanswer 0 5\ndone\n");
  calls.clear();

  // A caller whose deadline passed has gone: its import is dropped there.
  status = -1;
  caller = forward(status, out, std::chrono::milliseconds(300));
  ASSERT_TRUE(QTest::qWaitFor([&] { return calls.size() == 1; }, 5000));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !calls[0].reply.waited_for(); }, 5000));
  caller.join();
  EXPECT_EQ(status, 1);
  calls[0].reply.send(0, "too late");
}

TEST_F(RemoteCommandTest, AnotherUsersConnectionIsRefused) {
  if (geteuid() != 0) GTEST_SKIP() << "needs root to connect as another user";
  RemoteServer server(record);
  ASSERT_TRUE(server.listen(address()));
  server.start_acting();
  // The folder opened to show that the check on the peer holds by itself.
  std::filesystem::permissions(dir.path(), std::filesystem::perms::all);
  chmod(dir.file("remote-socket").c_str(), 0777);
  // The child makes system calls only: the parent has threads.
  pid_t child = fork();
  if (child == 0) {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool sent = setgid(65534) == 0 && setuid(65534) == 0 && connect_unix(fd, dir.file("remote-socket")) &&
                      write(fd, "increment\n", 10) == 10;
    _exit(sent ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_EQ(status, 0);
  // Connections are taken in order: once this one is answered, the other was seen.
  ask("skip\n");
  EXPECT_THAT(ran, ElementsAre("skip"));
}

}  // namespace
}  // namespace jukora::testing
