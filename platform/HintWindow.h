// The application's hint window: a small top-level window that shows a control's Hint text
// below the mouse cursor. It is frameless, stays on top, never takes the focus and lets the
// mouse fall through to the window below (a Qt tool-tip window with no grab).
//
// THintWindow draws the plain look (info background, a one-pixel border, the text at 2, 2);
// classes derived from it draw their own. HintWindowClass names the class the application
// makes its hint window from. GUI thread only.
#pragma once
#include <QString>
#include <cstdint>

#include "platform/Controls.h"
#include "platform/Events.h"

// Window style bits the hint window's creation parameters hold.
constexpr uint32_t WS_POPUP = 0x80000000u;
constexpr uint32_t WS_BORDER = 0x00800000u;
constexpr uint32_t WS_EX_TOOLWINDOW = 0x00000080u;
constexpr uint32_t WS_EX_TOPMOST = 0x00000008u;
constexpr uint32_t WS_EX_LAYERED = 0x00080000u;

struct TCreateParams {
  uint32_t Style = 0;
  uint32_t ExStyle = 0;
};

class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* owner);
  ~THintWindow() override;
  QString ClassName() const override { return QStringLiteral("THintWindow"); }

  // Shows `text` in the window at `rect` (screen coordinates), on top and without activation.
  virtual void ActivateHint(const TRect& rect, const QString& text);
  // The window rectangle (at 0, 0) that shows `text`, lines breaking only at line breaks and
  // longer lines wrapped at `maxWidth`.
  virtual TRect CalcHintRect(int maxWidth, const QString& text);
  // Hides the window (it keeps its text).
  void ReleaseHint();
  // The window is shown (it was activated and not released since).
  bool HintShowing() const;
  const TCreateParams& Params() const { return params_; }

 protected:
  // The creation parameters: a pop-up tool window with a border, on top.
  virtual void CreateParams(TCreateParams& params);
  void Paint() override;
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget(QWidget* w) override;
  void WndProc(TMessage& m) override;
  // Makes the window (once) and shows it at its bounds without activating it.
  void ShowNoActivate();

 private:
  TCreateParams params_;
  bool paramsMade_ = false;
};

// Makes the application's hint window (owner: the application).
using THintWindowClass = THintWindow* (*)(TComponent* owner);
THintWindow* MakePlainHintWindow(TComponent* owner);
// The class the application's hint window is made from; starts as the plain one.
extern THintWindowClass HintWindowClass;

// What the application knows about the hint about to show; OnShowHint may change it.
struct THintInfo {
  TControl* HintControl = nullptr;  // referenced
  THintWindowClass HintWindowClass = nullptr;
  TPoint HintPos;                   // screen point of the window's top-left corner
  int HintMaxWidth = 0;
  TColor HintColor = 0;
  TRect CursorRect;                 // client rectangle of HintControl the hint belongs to
  TPoint CursorPos;                 // mouse position in HintControl's client coordinates
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  QString HintStr;
};

using TShowHintEvent = TEvent<QString&, bool&, THintInfo&>;
