// A timer component over QTimer: OnTimer every Interval milliseconds while Enabled, on the
// message loop. Failures raised by OnTimer go to the application's exception handling.
#pragma once
#include <memory>

#include "platform/Component.h"
#include "platform/Events.h"

class QTimer;

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  QString ClassName() const override { return QStringLiteral("TTimer"); }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int Interval() const { return interval_; }
  // 0 stops the timer (as on the platform).
  void SetInterval(int ms);
  TNotifyEvent OnTimer;
  void Loaded() override;

 private:
  void UpdateTimer();
  std::unique_ptr<QTimer> timer_;
  bool enabled_ = true;
  int interval_ = 1000;
};
