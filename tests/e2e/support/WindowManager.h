// The window manager of the test display: which one runs, and openbox started and stopped by a
// test case.
#pragma once
#include <QProcess>
#include <QString>
#include <optional>

// The name of the window manager running on the test display. It runs when the root names a
// check window and that window names itself (the root's entry outlives a manager that is gone).
std::optional<QString> RunningWindowManager();

// openbox on the test display for the life of the object; stopped, and gone from the display,
// when it goes.
class TOpenbox {
 public:
  static bool Installed();
  TOpenbox() = default;
  TOpenbox(const TOpenbox&) = delete;
  TOpenbox& operator=(const TOpenbox&) = delete;
  ~TOpenbox();
  // Starts openbox when no window manager runs, and waits until it names itself.
  bool Start(int timeoutMs = 20000);

 private:
  QProcess process_;
};
