// SPDX-License-Identifier: GPL-3.0-or-later
#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <utility>

#include "shell/termination.h"

namespace jukora {

namespace {

int wake_pipe[2] = {-1, -1};

void on_signal(int) {
  const int kept = errno;
  const char byte = 1;
  // Nothing else is safe here; a full pipe has the news already.
  [[maybe_unused]] const auto written = ::write(wake_pipe[1], &byte, 1);
  errno = kept;
}

}  // namespace

void end_on_termination_signals(std::function<void()> end) {
  if (wake_pipe[0] >= 0 || ::pipe2(wake_pipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  // Lives as long as the program: the signals may come at any time.
  auto* notifier = new QSocketNotifier(wake_pipe[0], QSocketNotifier::Read);
  QObject::connect(notifier, &QSocketNotifier::activated, notifier, [notifier, end = std::move(end)] {
    char bytes[16];
    while (::read(wake_pipe[0], bytes, sizeof bytes) > 0) {
    }
    notifier->setEnabled(false);
    end();
  });
  struct sigaction action {};
  action.sa_handler = on_signal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &action, nullptr);
}

}  // namespace jukora
