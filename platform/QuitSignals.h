// The signals that ask the program to end (SIGTERM, SIGINT, SIGHUP), handed to the event loop.
// The handlers only write the signal's number into a pipe, the one thing a handler may safely
// do; a socket notifier on the pipe's other end calls the callback on the main thread the next
// time the loop (or a modal box's loop) runs. A signal that arrives while the main thread is busy
// (a statement on the server) so takes effect right after that work.
//
// Installing replaces whatever handlers were there (the database client puts in its own when
// it first attaches, so install after that); the destructor puts them back. One at a time.
#pragma once
#include <QSocketNotifier>
#include <csignal>
#include <functional>
#include <memory>

class TQuitSignals {
 public:
  explicit TQuitSignals(std::function<void(int signal)> onSignal);
  ~TQuitSignals();
  TQuitSignals(const TQuitSignals&) = delete;
  TQuitSignals& operator=(const TQuitSignals&) = delete;

  // The signals handled.
  static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

 private:
  void Deliver();

  std::function<void(int)> onSignal_;
  int pipe_[2] = {-1, -1};
  std::unique_ptr<QSocketNotifier> notifier_;
  struct sigaction previous_[3] = {};
};
