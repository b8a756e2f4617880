// trayer, a freedesktop system tray (XEmbed notification area), on the test display for the
// life of the object.
#pragma once
#include <QProcess>

class TTrayer {
 public:
  static bool Installed();
  TTrayer() = default;
  TTrayer(const TTrayer&) = delete;
  TTrayer& operator=(const TTrayer&) = delete;
  ~TTrayer() { Stop(); }
  // Starts trayer at the bottom right of the screen and waits until its window is there.
  bool Start(int timeoutMs = 10000);
  void Stop();

 private:
  QProcess process_;
};
