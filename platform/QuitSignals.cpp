#include "platform/QuitSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace {
// Write end of the pipe of the one installed TQuitSignals; -1 when none.
volatile sig_atomic_t g_writeEnd = -1;

void OnQuitSignal(int signal) {
  const int savedErrno = errno;
  const unsigned char byte = static_cast<unsigned char>(signal);
  if (g_writeEnd >= 0) {
    const ssize_t written = write(g_writeEnd, &byte, 1);
    (void)written;  // a full pipe already holds a request to end
  }
  errno = savedErrno;
}
}  // namespace

TQuitSignals::TQuitSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
  if (pipe2(pipe_, O_CLOEXEC | O_NONBLOCK) != 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(pipe_[0], QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { Deliver(); });
  g_writeEnd = pipe_[1];
  struct sigaction action = {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  // Calls the signal interrupts (the client library waiting for the server) go on.
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &action, &previous_[i]);
}

TQuitSignals::~TQuitSignals() {
  if (pipe_[0] < 0) return;
  for (size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &previous_[i], nullptr);
  g_writeEnd = -1;
  notifier_.reset();
  close(pipe_[0]);
  close(pipe_[1]);
}

void TQuitSignals::Deliver() {
  unsigned char byte = 0;
  while (read(pipe_[0], &byte, 1) == 1)
    if (onSignal_) onSignal_(byte);
}
