// Screen readers see a docked notification icon as a push button of the application, named by
// its tip, with the actions Press (a click) and ShowMenu (what a right click does).
//
// The icon's window belongs to the notification area (an X window of ours docked into the
// tray), not to Qt, so the accessible tree would not list it. A TNotifyIconWindow stands for it
// among the application's top-level windows, so that it sits under the application in the
// tree; it is never created or shown itself. Its interface answers from the icon.
// GUI thread only.
#pragma once
#include <QRect>
#include <QString>
#include <QWindow>
#include <functional>

// What the interface asks of the icon, each at the moment a screen reader asks.
struct TNotifyIconAccess {
  std::function<QString()> Name;   // the tip, or a fallback when the icon has none
  std::function<QRect()> Rect;     // on the screen; empty when not known
  std::function<bool()> Showing;   // the tray shows the icon (its window is mapped)
  std::function<void()> Press;     // a left click on the icon
  std::function<void()> ShowMenu;  // a right click on the icon
};

class TNotifyIconWindow : public QWindow {
 public:
  // Announces the icon to screen readers.
  explicit TNotifyIconWindow(TNotifyIconAccess access);
  // Announces that the icon is gone.
  ~TNotifyIconWindow() override;
  TNotifyIconWindow(const TNotifyIconWindow&) = delete;
  TNotifyIconWindow& operator=(const TNotifyIconWindow&) = delete;

  QAccessibleInterface* accessibleRoot() const override;
  const TNotifyIconAccess& Access() const { return access_; }
  // Announces a changed name (the tip changed).
  void Renamed();

 private:
  TNotifyIconAccess access_;
};
