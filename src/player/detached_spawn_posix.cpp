// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "player/detached_spawn.h"

namespace jukora {

namespace {

// What the two children report through the pipe; one write each, so a
// report never interleaves with the other.
struct Report {
  char kind;  // 'p': the program's process id, 'e': exec failed
  int value;
};

void close_pair(int fds[2]) {
  ::close(fds[0]);
  ::close(fds[1]);
}

}  // namespace

std::optional<pid_t> spawn_detached(const std::string& program, const std::vector<std::string>& arguments) {
  // After fork only async-signal-safe calls are allowed (another thread may
  // hold the allocator's lock), so everything is prepared here.
  std::vector<char*> argv;
  argv.reserve(arguments.size() + 2);
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);

  int null_fd = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null_fd < 0) return std::nullopt;
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) {
    ::close(null_fd);
    return std::nullopt;
  }

  pid_t middle = ::fork();
  if (middle < 0) {
    ::close(null_fd);
    close_pair(report);
    return std::nullopt;
  }
  if (middle == 0) {
    ::close(report[0]);
    ::setsid();
    pid_t player = ::fork();
    if (player == 0) {
      sigset_t none;
      sigemptyset(&none);
      sigprocmask(SIG_SETMASK, &none, nullptr);
      signal(SIGPIPE, SIG_DFL);
      ::dup2(null_fd, STDIN_FILENO);
      ::dup2(null_fd, STDOUT_FILENO);
      ::dup2(null_fd, STDERR_FILENO);
      ::execv(argv[0], argv.data());
      Report failed{'e', errno};
      [[maybe_unused]] auto written = ::write(report[1], &failed, sizeof failed);
      ::_exit(127);
    }
    Report started{'p', static_cast<int>(player)};
    [[maybe_unused]] auto written = ::write(report[1], &started, sizeof started);
    ::_exit(0);
  }

  ::close(null_fd);
  ::close(report[1]);
  // The pipe ends when the middle process has exited and the program has
  // either been replaced by exec (close-on-exec) or given up.
  std::optional<pid_t> player;
  bool exec_failed = false;
  Report message{};
  for (;;) {
    ssize_t n = ::read(report[0], &message, sizeof message);
    if (n < 0 && errno == EINTR) continue;
    if (n != static_cast<ssize_t>(sizeof message)) break;
    if (message.kind == 'p' && message.value > 0) player = static_cast<pid_t>(message.value);
    if (message.kind == 'e') exec_failed = true;
  }
  ::close(report[0]);
  int status = 0;
  while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
  }
  if (exec_failed) return std::nullopt;
  return player;
}

bool process_exists(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

}  // namespace jukora
