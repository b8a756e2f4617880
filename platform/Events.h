// Event properties: a callable plus the name of the form method it was bound to, so that a
// stored definition can write "OnClick = Button1Click" back. Empty events do nothing.
#pragma once
#include <QString>
#include <functional>
#include <type_traits>
#include <utility>

class TComponent;

template <class... Args>
class TEvent {
 public:
  TEvent() = default;
  template <class F>
    requires(!std::is_same_v<std::decay_t<F>, TEvent> && std::is_invocable_v<F&, Args...>)
  TEvent(F f) : fn_(std::move(f)) {}  // NOLINT: implicit on purpose (`c->OnClick = lambda`)
  TEvent(std::function<void(Args...)> f, QString methodName) : fn_(std::move(f)), MethodName(std::move(methodName)) {}

  explicit operator bool() const { return static_cast<bool>(fn_); }
  // Calls the handler when one is set.
  void operator()(Args... args) const {
    if (fn_) fn_(std::forward<Args>(args)...);
  }
  void Clear() {
    fn_ = nullptr;
    MethodName.clear();
  }

 private:
  std::function<void(Args...)> fn_;

 public:
  // The form method this event was bound to by a stored definition; empty otherwise.
  QString MethodName;
};

using TNotifyEvent = TEvent<TComponent*>;
