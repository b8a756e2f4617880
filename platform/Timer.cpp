#include "platform/Timer.h"

#include <QTimer>

#include "platform/Exceptions.h"

TTimer::TTimer(TComponent* owner) : TComponent(owner), timer_(std::make_unique<QTimer>()) {
  QObject::connect(timer_.get(), &QTimer::timeout, [this] {
    try {
      OnTimer(this);
    } catch (...) {
      HandleCurrentException();
    }
  });
  UpdateTimer();
}

TTimer::~TTimer() { timer_->stop(); }

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  UpdateTimer();
}

void TTimer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  timer_->stop();
  if (enabled_ && interval_ > 0 && !IsLoading()) timer_->start(interval_);
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}
