// Window messages: the message record every windowed control's window procedure receives,
// the message numbers, and the packing of their parameters.
//
// Qt events become messages at one place (platform/WidgetBridge.h). Parameters:
//   mouse (WM_MOUSEMOVE, WM_xBUTTONDOWN/UP/DBLCLK): WParam = MK_* keys, LParam = client x, y
//     packed with MakeLParam (signed 16-bit each; read with LParamX/LParamY);
//   non-client mouse (WM_NC...): WParam = hit-test code, LParam = screen x, y;
//   WM_NCHITTEST: LParam = screen x, y; Result = HT* code;
//   WM_MOUSEWHEEL: WParam high word = delta (120 per notch), low word MK_*; LParam = screen x, y;
//   WM_KEYDOWN/UP: WParam = VK_* key code; WM_CHAR: WParam = UTF-16 code unit (set it to 0
//     in a handler to drop the character);
//   WM_SIZE: WParam = SIZE_*; LParam = client width, height;
//   WM_MOVE: LParam = left, top (sent to a form when its window moved);
//   WM_MOUSEACTIVATE: sent to a form before a button press in it while it is not the
//     active window: LParam = MakeLParam(hit-test code, the button's down message);
//   WM_PARENTNOTIFY: sent to every windowed parent, innermost first, before a child control
//     gets a button press: WParam = the button's down message, LParam = the point in the
//     parent's client coordinates;
//   WM_CANCELMODE: sent to a form when a modal window starts blocking it;
//   WM_ACTIVATE: WParam = WA_*; WM_NCACTIVATE: WParam = 1 active / 0 inactive;
//   WM_PAINT, WM_ERASEBKGND: WParam = TCanvas* over the client area (0 when the control's
//     own Qt widget paints itself); WM_ERASEBKGND Result non-zero = background done;
//   WM_NCPAINT: WParam = TCanvas* over the whole window while the window paints; a
//     WM_NCPAINT performed with WParam 0 asks for a frame repaint;
//   WM_NCCALCSIZE: LParam = TRect* (in: the window rectangle in window coordinates;
//     out: the client rectangle in the same coordinates);
//   WM_GETMINMAXINFO: LParam = TMinMaxInfo* (prefilled with the defaults; change what limits
//     the window);
//   WM_ENTERSIZEMOVE, WM_EXITSIZEMOVE: no parameters; they bracket the move/size loop a left
//     press on the caption or a border starts (platform/SizeMoveLoop.h);
//   WM_MOVING: LParam = TRect* (the proposed outer window rectangle, screen coordinates; the
//     handler may change it, and the window takes what it holds afterwards);
//   WM_SIZING: WParam = WMSZ_* (the edge being dragged); LParam = TRect* as for WM_MOVING,
//     already clamped to the WM_GETMINMAXINFO tracking sizes;
//   WM_SYSCOMMAND: WParam = SC_*; SC_KEYMENU is sent to the form when Alt is pressed and
//     released alone or F10 is pressed (when the focused control leaves the key alone), and
//     SC_CLOSE for Alt+F4;
//   WM_SYSKEYDOWN/UP: keys held with Alt, F10, and the release of Alt itself;
//   WM_SHOWWINDOW: WParam = 1 shown / 0 hidden;
//   CM_MOUSEENTER/CM_MOUSELEAVE: LParam = the TControl* the mouse entered or left.
#pragma once
#include <cstdint>

#include "platform/Types.h"

struct TMessage {
  uint32_t Msg = 0;
  intptr_t WParam = 0;
  intptr_t LParam = 0;
  intptr_t Result = 0;
};

// Parameter packing.
constexpr intptr_t MakeLParam(int lo, int hi) {
  return static_cast<intptr_t>(static_cast<uint32_t>(static_cast<uint16_t>(lo)) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(hi)) << 16));
}
constexpr int LoWord(intptr_t v) { return static_cast<int>(static_cast<uint16_t>(v & 0xFFFF)); }
constexpr int HiWord(intptr_t v) { return static_cast<int>(static_cast<uint16_t>((v >> 16) & 0xFFFF)); }
constexpr int LParamX(intptr_t v) { return static_cast<int16_t>(static_cast<uint16_t>(v & 0xFFFF)); }
constexpr int LParamY(intptr_t v) { return static_cast<int16_t>(static_cast<uint16_t>((v >> 16) & 0xFFFF)); }
constexpr TPoint LParamToPoint(intptr_t v) { return TPoint(LParamX(v), LParamY(v)); }
constexpr intptr_t PointToLParam(const TPoint& p) { return MakeLParam(p.X, p.Y); }

// Window size limits asked for with WM_GETMINMAXINFO (outer window sizes in pixels).
struct TMinMaxInfo {
  TPoint MaxSize;
  TPoint MaxPosition;
  TPoint MinTrackSize;
  TPoint MaxTrackSize;
};

// Window messages.
constexpr uint32_t WM_NULL = 0x0000;
constexpr uint32_t WM_CREATE = 0x0001;
constexpr uint32_t WM_DESTROY = 0x0002;
constexpr uint32_t WM_MOVE = 0x0003;
constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_ACTIVATE = 0x0006;
constexpr uint32_t WM_SETFOCUS = 0x0007;
constexpr uint32_t WM_KILLFOCUS = 0x0008;
constexpr uint32_t WM_ENABLE = 0x000A;
constexpr uint32_t WM_SETTEXT = 0x000C;
constexpr uint32_t WM_PAINT = 0x000F;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_ERASEBKGND = 0x0014;
constexpr uint32_t WM_SHOWWINDOW = 0x0018;
constexpr uint32_t WM_ACTIVATEAPP = 0x001C;
constexpr uint32_t WM_CANCELMODE = 0x001F;
constexpr uint32_t WM_SETCURSOR = 0x0020;
constexpr uint32_t WM_MOUSEACTIVATE = 0x0021;
constexpr uint32_t WM_GETMINMAXINFO = 0x0024;
constexpr uint32_t WM_WINDOWPOSCHANGING = 0x0046;
constexpr uint32_t WM_WINDOWPOSCHANGED = 0x0047;
constexpr uint32_t WM_NCCALCSIZE = 0x0083;
constexpr uint32_t WM_NCHITTEST = 0x0084;
constexpr uint32_t WM_NCPAINT = 0x0085;
constexpr uint32_t WM_SYNCPAINT = 0x0088;
constexpr uint32_t WM_NCACTIVATE = 0x0086;
constexpr uint32_t WM_GETDLGCODE = 0x0087;
constexpr uint32_t WM_NCMOUSEMOVE = 0x00A0;
constexpr uint32_t WM_NCLBUTTONDOWN = 0x00A1;
constexpr uint32_t WM_NCLBUTTONUP = 0x00A2;
constexpr uint32_t WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr uint32_t WM_NCRBUTTONDOWN = 0x00A4;
constexpr uint32_t WM_NCRBUTTONUP = 0x00A5;
constexpr uint32_t WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr uint32_t WM_NCMBUTTONDOWN = 0x00A7;
constexpr uint32_t WM_NCMBUTTONUP = 0x00A8;
constexpr uint32_t WM_NCMBUTTONDBLCLK = 0x00A9;
constexpr uint32_t WM_KEYDOWN = 0x0100;
constexpr uint32_t WM_KEYUP = 0x0101;
constexpr uint32_t WM_CHAR = 0x0102;
constexpr uint32_t WM_SYSKEYDOWN = 0x0104;
constexpr uint32_t WM_SYSKEYUP = 0x0105;
constexpr uint32_t WM_SYSCHAR = 0x0106;
constexpr uint32_t WM_COMMAND = 0x0111;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;
constexpr uint32_t WM_TIMER = 0x0113;
constexpr uint32_t WM_HSCROLL = 0x0114;
constexpr uint32_t WM_VSCROLL = 0x0115;
constexpr uint32_t WM_INITMENUPOPUP = 0x0117;
constexpr uint32_t WM_MOUSEMOVE = 0x0200;
constexpr uint32_t WM_LBUTTONDOWN = 0x0201;
constexpr uint32_t WM_LBUTTONUP = 0x0202;
constexpr uint32_t WM_LBUTTONDBLCLK = 0x0203;
constexpr uint32_t WM_RBUTTONDOWN = 0x0204;
constexpr uint32_t WM_RBUTTONUP = 0x0205;
constexpr uint32_t WM_RBUTTONDBLCLK = 0x0206;
constexpr uint32_t WM_MBUTTONDOWN = 0x0207;
constexpr uint32_t WM_MBUTTONUP = 0x0208;
constexpr uint32_t WM_MBUTTONDBLCLK = 0x0209;
constexpr uint32_t WM_MOUSEWHEEL = 0x020A;
constexpr uint32_t WM_PARENTNOTIFY = 0x0210;
constexpr uint32_t WM_SIZING = 0x0214;
constexpr uint32_t WM_CAPTURECHANGED = 0x0215;
constexpr uint32_t WM_MOVING = 0x0216;
constexpr uint32_t WM_ENTERSIZEMOVE = 0x0231;
constexpr uint32_t WM_EXITSIZEMOVE = 0x0232;
constexpr uint32_t WM_NCMOUSELEAVE = 0x02A2;
constexpr uint32_t WM_MOUSELEAVE = 0x02A3;
// The first message number free for a program's own messages.
constexpr uint32_t WM_USER = 0x0400;

// Component messages: notifications between controls of the framework.
constexpr uint32_t CM_BASE = 0xB000;
constexpr uint32_t CM_ACTIVATE = CM_BASE + 0;
constexpr uint32_t CM_DEACTIVATE = CM_BASE + 1;
// A key press the focused control does not want for itself (Enter, Escape; see
// WM_GETDLGCODE), offered to its form before the control sees the key: WParam = the key
// code, LParam = MK_SHIFT/MK_CONTROL of the shift keys held. Windowed controls pass it on to
// their children until one sets Result non-zero, which takes the key.
constexpr uint32_t CM_DIALOGKEY = CM_BASE + 5;
constexpr uint32_t CM_DIALOGCHAR = CM_BASE + 6;
// Sent to a form when another control takes the keyboard focus, and passed on by every
// windowed control to its children: LParam = the TWinControl* that has the focus now.
constexpr uint32_t CM_FOCUSCHANGED = CM_BASE + 7;
constexpr uint32_t CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr uint32_t CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr uint32_t CM_HITTEST = CM_BASE + 10;
constexpr uint32_t CM_VISIBLECHANGED = CM_BASE + 11;
constexpr uint32_t CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr uint32_t CM_COLORCHANGED = CM_BASE + 13;
constexpr uint32_t CM_FONTCHANGED = CM_BASE + 14;
constexpr uint32_t CM_CURSORCHANGED = CM_BASE + 15;
constexpr uint32_t CM_TEXTCHANGED = CM_BASE + 18;
constexpr uint32_t CM_MOUSEENTER = CM_BASE + 19;
constexpr uint32_t CM_MOUSELEAVE = CM_BASE + 20;
constexpr uint32_t CM_BUTTONPRESSED = CM_BASE + 24;
constexpr uint32_t CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr uint32_t CM_ENTER = CM_BASE + 26;
constexpr uint32_t CM_EXIT = CM_BASE + 27;
constexpr uint32_t CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr uint32_t CM_SHOWHINTCHANGED = CM_BASE + 33;
constexpr uint32_t CM_HINTSHOW = CM_BASE + 48;
constexpr uint32_t CM_CONTROLLISTCHANGE = CM_BASE + 52;
// Sent to a control's form when a key press reaches the control, before anything else
// (before CM_DIALOGKEY too): WParam = the key code, LParam = the TWinControl* with the focus.
// Result non-zero keeps the key from the control (a hook on the form's window procedure uses
// this to see every key first).
constexpr uint32_t CM_CHILDKEY = CM_BASE + 36;
constexpr uint32_t CM_RECREATEWND = CM_BASE + 51;

// WM_GETDLGCODE answers (Result): the keys a control handles itself instead of the form.
constexpr intptr_t DLGC_WANTARROWS = 0x0001;
constexpr intptr_t DLGC_WANTTAB = 0x0002;
constexpr intptr_t DLGC_WANTALLKEYS = 0x0004;
constexpr intptr_t DLGC_WANTCHARS = 0x0080;

// The skin engine's private messages.
constexpr uint32_t SkinMessageBeforeChange = WM_USER + 201;   // 1225
constexpr uint32_t SkinMessageChanged = WM_USER + 202;        // 1226
constexpr uint32_t SkinMessageChangedAfter = WM_USER + 203;   // 1227
constexpr uint32_t SkinMessageMenuClosed = WM_USER + 204;     // 1228
constexpr uint32_t SkinMessageMaximizeChild = WM_USER + 206;  // 1230
constexpr uint32_t SkinMessageChildMaximized = WM_USER + 207; // 1231
constexpr uint32_t SkinMessageChildRestored = WM_USER + 208;  // 1232
constexpr uint32_t WM_TRAYICONNOTIFY = 0x0800;                // 2048, tray callback

// Mouse key flags (WParam of mouse messages).
constexpr intptr_t MK_LBUTTON = 0x0001;
constexpr intptr_t MK_RBUTTON = 0x0002;
constexpr intptr_t MK_SHIFT = 0x0004;
constexpr intptr_t MK_CONTROL = 0x0008;
constexpr intptr_t MK_MBUTTON = 0x0010;

// Hit-test codes (Result of WM_NCHITTEST, WParam of non-client mouse messages).
constexpr int HTERROR = -2;
constexpr int HTTRANSPARENT = -1;
constexpr int HTNOWHERE = 0;
constexpr int HTCLIENT = 1;
constexpr int HTCAPTION = 2;
constexpr int HTSYSMENU = 3;
constexpr int HTGROWBOX = 4;
constexpr int HTMENU = 5;
constexpr int HTHSCROLL = 6;
constexpr int HTVSCROLL = 7;
constexpr int HTMINBUTTON = 8;
constexpr int HTMAXBUTTON = 9;
constexpr int HTLEFT = 10;
constexpr int HTRIGHT = 11;
constexpr int HTTOP = 12;
constexpr int HTTOPLEFT = 13;
constexpr int HTTOPRIGHT = 14;
constexpr int HTBOTTOM = 15;
constexpr int HTBOTTOMLEFT = 16;
constexpr int HTBOTTOMRIGHT = 17;
constexpr int HTBORDER = 18;
// A point of the frame that is neither caption, client nor border: a frame object's.
constexpr int HTOBJECT = 19;
constexpr int HTCLOSE = 20;
constexpr int HTHELP = 21;

// WM_SIZING edges (WParam): the edge or corner being dragged.
constexpr intptr_t WMSZ_LEFT = 1;
constexpr intptr_t WMSZ_RIGHT = 2;
constexpr intptr_t WMSZ_TOP = 3;
constexpr intptr_t WMSZ_TOPLEFT = 4;
constexpr intptr_t WMSZ_TOPRIGHT = 5;
constexpr intptr_t WMSZ_BOTTOM = 6;
constexpr intptr_t WMSZ_BOTTOMLEFT = 7;
constexpr intptr_t WMSZ_BOTTOMRIGHT = 8;

// WM_SIZE kinds.
constexpr intptr_t SIZE_RESTORED = 0;
constexpr intptr_t SIZE_MINIMIZED = 1;
constexpr intptr_t SIZE_MAXIMIZED = 2;

// WM_ACTIVATE states.
constexpr intptr_t WA_INACTIVE = 0;
constexpr intptr_t WA_ACTIVE = 1;
constexpr intptr_t WA_CLICKACTIVE = 2;

// WM_SYSCOMMAND commands.
constexpr intptr_t SC_SIZE = 0xF000;
constexpr intptr_t SC_MOVE = 0xF010;
constexpr intptr_t SC_MINIMIZE = 0xF020;
constexpr intptr_t SC_MAXIMIZE = 0xF030;
constexpr intptr_t SC_CLOSE = 0xF060;
constexpr intptr_t SC_KEYMENU = 0xF100;
constexpr intptr_t SC_RESTORE = 0xF120;

// Virtual key codes (WParam of WM_KEYDOWN/WM_KEYUP). Letters and digits are their ASCII codes.
constexpr uint16_t VK_LBUTTON = 0x01;
constexpr uint16_t VK_RBUTTON = 0x02;
constexpr uint16_t VK_MBUTTON = 0x04;
constexpr uint16_t VK_BACK = 0x08;
constexpr uint16_t VK_TAB = 0x09;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_SHIFT = 0x10;
constexpr uint16_t VK_CONTROL = 0x11;
constexpr uint16_t VK_MENU = 0x12;
constexpr uint16_t VK_PAUSE = 0x13;
constexpr uint16_t VK_CAPITAL = 0x14;
constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr uint16_t VK_SPACE = 0x20;
constexpr uint16_t VK_PRIOR = 0x21;
constexpr uint16_t VK_NEXT = 0x22;
constexpr uint16_t VK_END = 0x23;
constexpr uint16_t VK_HOME = 0x24;
constexpr uint16_t VK_LEFT = 0x25;
constexpr uint16_t VK_UP = 0x26;
constexpr uint16_t VK_RIGHT = 0x27;
constexpr uint16_t VK_DOWN = 0x28;
constexpr uint16_t VK_INSERT = 0x2D;
constexpr uint16_t VK_DELETE = 0x2E;
constexpr uint16_t VK_F1 = 0x70;
constexpr uint16_t VK_F4 = 0x73;
constexpr uint16_t VK_F10 = 0x79;
constexpr uint16_t VK_F12 = 0x7B;
constexpr uint16_t VK_APPS = 0x5D;
