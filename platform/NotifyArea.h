// The desktop's notification area ("system tray"): icons with a tip text whose mouse actions
// come back as messages to a hidden message window, as the platform's notify-icon call does.
//
// On X11 the area is an XEmbed system tray (the owner of the selection _NET_SYSTEM_TRAY_S<n>):
// each icon is a small X window of our own that asks the tray to dock it, paints the icon and
// reports every raw mouse action (move, each button down and up, a double click within the
// double-click time). Its WM_NAME and _NET_WM_NAME hold the tip. When the selection gets a new
// owner (the tray was re-created) every icon is gone from it and TaskbarCreatedMessage() is sent
// to every message window, so that their owners add their icons again; when the owner goes,
// the icons are gone too. Without an XEmbed tray, a StatusNotifier host (through Qt's tray icon)
// serves, its activations turned into the same messages; without either, adding fails quietly.
//
// Message windows and icons belong to the GUI thread. Mouse messages reach the message window
// from the event loop, never from inside the window system's event processing.
#pragma once
#include <QImage>
#include <QString>
#include <cstdint>

#include "platform/Controls.h"

constexpr uint32_t NIM_ADD = 0;
constexpr uint32_t NIM_MODIFY = 1;
constexpr uint32_t NIM_DELETE = 2;
constexpr uint32_t NIF_MESSAGE = 1;
constexpr uint32_t NIF_ICON = 2;
constexpr uint32_t NIF_TIP = 4;
// The longest tip in characters (the record holds 128 with the terminator).
constexpr int kNotifyTipLength = 127;

// A hidden window that only receives messages (the platform's utility window).
class TMessageWindow {
 public:
  explicit TMessageWindow(TWndMethod proc);
  ~TMessageWindow();
  TMessageWindow(const TMessageWindow&) = delete;
  TMessageWindow& operator=(const TMessageWindow&) = delete;
  intptr_t Perform(uint32_t msg, intptr_t wparam = 0, intptr_t lparam = 0);
  // True while `w` is a message window that has not been freed.
  static bool Alive(const TMessageWindow* w);

 private:
  TWndMethod proc_;
};

struct TNotifyIconData {
  uint32_t cbSize = 488;
  TMessageWindow* Wnd = nullptr;  // referenced
  uint32_t ID = 0;
  uint32_t Flags = 0;
  uint32_t CallbackMessage = 0;
  QImage Icon;  // null: no image
  QString Tip;  // at most kNotifyTipLength characters are used
};

// Adds, modifies or deletes the icon (Wnd, ID). False when the call fails: no notification
// area, adding an icon that is there, modifying or deleting one that is not.
bool Shell_NotifyIcon(uint32_t operation, const TNotifyIconData& data);

// The message number registered under `name` (the same number for the same name, from 0xC000).
uint32_t RegisterWindowMessage(const QString& name);
// The number of "TaskbarCreated", sent to every message window when the area was re-created.
uint32_t TaskbarCreatedMessage();

enum class TNotifyAreaKind { None, XEmbed, StatusNotifier };
// Which kind of area serves the icons at this moment.
TNotifyAreaKind CurrentNotifyArea();
// The X window of the icon (Wnd, ID) while it is in an XEmbed tray; 0 otherwise.
uint32_t NotifyIconWindow(const TMessageWindow* wnd, uint32_t id);
