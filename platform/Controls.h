// Controls over Qt widgets.
//
//   TControl        a visual element with bounds in its parent's client area, a window
//                   procedure (WndProc) and Perform; non-windowed ones are drawn by the parent.
//   TGraphicControl a non-windowed control with a canvas and a virtual Paint (labels).
//   TWinControl     a control that wraps a QWidget (its "handle", made on first need): child
//                   controls, alignment, tab order, focus, window shape.
//   TCustomControl  a windowed control that paints itself on a canvas through a virtual Paint.
//
// Every message a control receives goes through its WindowProc, which starts as WndProc and
// may be replaced (a hook saves the old value and calls it for what it does not handle).
// Messages nobody handles end in DefaultHandler, which for a message made from a Qt event
// lets the Qt widget do its own work with that event.
//
// Ownership: a control belongs to its Owner (TComponent); a windowed parent frees its child
// controls when it goes. The QWidget is owned by its control. GUI thread only.
// Units: pixels; Left/Top are in the parent's client coordinates (screen for forms).
#pragma once
#include <QRegion>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Component.h"
#include "platform/Events.h"
#include "platform/Font.h"
#include "platform/Messages.h"
#include "platform/Screen.h"
#include "platform/Types.h"

class QWidget;
class QEvent;
class TWinControl;
class TWidgetBridge;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };

enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : uint16_t {
  ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32, ssDouble = 64,
};
using TShiftState = uint16_t;

using TMouseEvent = TEvent<TComponent*, TMouseButton, TShiftState, int, int>;
using TMouseMoveEvent = TEvent<TComponent*, TShiftState, int, int>;
using TKeyEvent = TEvent<TComponent*, uint16_t&, TShiftState>;
using TKeyPressEvent = TEvent<TComponent*, QChar&>;
using TWndMethod = std::function<void(TMessage&)>;

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;
  QString ClassName() const override { return QStringLiteral("TControl"); }

  // --- window procedure -------------------------------------------------------------
  // The entry for every message; starts as WndProc. Replace it to hook the control.
  TWndMethod WindowProc;
  // Sends a message through WindowProc at once and returns its Result.
  intptr_t Perform(uint32_t msg, intptr_t wparam = 0, intptr_t lparam = 0);
  // The control's own message handling; overrides handle their messages and pass the
  // rest to the base class.
  virtual void WndProc(TMessage& m);
  // End of the chain: lets Qt handle the event the message came from (if any).
  virtual void DefaultHandler(TMessage& m);

  // --- parent and bounds ------------------------------------------------------------
  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  TRect BoundsRect() const { return Bounds(left_, top_, width_, height_); }
  void SetBoundsRect(const TRect& r) { SetBounds(r.Left, r.Top, r.Width(), r.Height()); }
  virtual void SetBounds(int left, int top, int width, int height);
  // Client area in the control's own coordinates; (0, 0, Width, Height) unless a class says otherwise.
  virtual TRect ClientRect() const;
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  virtual void SetClientWidth(int w);
  virtual void SetClientHeight(int h);
  // Screen coordinates of a client point and back.
  TPoint ClientToScreen(const TPoint& p) const;
  TPoint ScreenToClient(const TPoint& p) const;
  // Offset of the client origin inside the window (0, 0 except for framed forms).
  virtual TPoint ClientOrigin() const;

  TAlign Align() const { return align_; }
  void SetAlign(TAlign a);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors a) { anchors_ = a; }

  // --- state ------------------------------------------------------------------------
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent up to a shown window visible.
  virtual bool Showing() const;
  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool v);

  TColor Color() const { return color_; }
  void SetColor(TColor c);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool v);

  // The font; changing it through SetFont or FontChanged clears ParentFont.
  const TFont& Font() const { return font_; }
  TFont& FontRef() { return font_; }  // edit in place, then call FontChanged()
  void SetFont(const TFont& f);
  void FontChanged();
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);

  // Caption and Text are one value, as on the platform.
  QString Caption() const { return GetText(); }
  void SetCaption(const QString& s) { SetText(s); }
  QString Text() const { return GetText(); }
  void SetText(const QString& s);

  QString Hint() const { return hint_; }
  void SetHint(const QString& h);
  // ShowHint: this control shows its Hint. Setting it clears ParentShowHint; while
  // ParentShowHint is set the parent's value is in force.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool v);
  bool EffectiveShowHint() const;
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor c);
  int Tag() const { return tag_; }
  void SetTag(int t) { tag_ = t; }

  // --- painting ---------------------------------------------------------------------
  // Schedules a repaint of the control's area.
  virtual void Invalidate();
  // Paints now.
  virtual void Repaint();
  void Refresh() { Repaint(); }
  virtual void Update();
  void BringToFront();
  void SendToBack();

  // --- events -----------------------------------------------------------------------
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;
  virtual void Click();

  // True when the control is windowed (a TWinControl).
  virtual bool IsWindowed() const { return false; }
  void Loaded() override;

 protected:
  virtual QString GetText() const { return text_; }
  virtual void SetTextValue(const QString& s) { text_ = s; }
  // Hooks for the messages most classes want; called from WndProc.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void DblClick();
  virtual void Resize();
  // The parent's font or colour changed.
  void ParentFontChanged();
  void ParentColorChanged();
  // Sends `msg` to every child control (used by windowed controls).
  virtual void NotifyControls(uint32_t msg) {}
  // Realigns the parent when this control is aligned and its size or visibility changed.
  void RequestAlign();

  friend class TWinControl;
  TWinControl* parent_ = nullptr;  // referenced, not owned
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TAlign align_ = TAlign::alNone;
  TAnchors anchors_ = akLeft | akTop;
  bool visible_ = true;
  bool enabled_ = true;
  TColor color_;
  bool parentColor_ = false;
  TFont font_;
  bool parentFont_ = true;
  QString text_;
  QString hint_;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  TCursor cursor_ = crDefault;
  int tag_ = 0;
  bool mouseInClient_ = false;
  bool clickPending_ = false;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner);
  ~TGraphicControl() override;
  QString ClassName() const override { return QStringLiteral("TGraphicControl"); }
  // The canvas Paint draws on; it draws on the parent's widget during a paint.
  TCanvas& Canvas() { return canvas_; }
  void WndProc(TMessage& m) override;

 protected:
  virtual void Paint() {}
  friend class TWinControl;
  TCanvas canvas_;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;
  QString ClassName() const override { return QStringLiteral("TWinControl"); }
  bool IsWindowed() const override { return true; }

  // --- the Qt widget ----------------------------------------------------------------
  // The control's widget, made (with its parents' and children's) on first need.
  QWidget* Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  // The widget child controls are placed in (the handle, or a form's client widget).
  virtual QWidget* ClientHandle();
  // Drops the widget (children's too); the next Handle() makes a new one.
  void RecreateWnd();

  // --- children ---------------------------------------------------------------------
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int i) const { return controls_.at(static_cast<size_t>(i)); }
  const std::vector<TControl*>& ControlList() const { return controls_; }
  void InsertControl(TControl* c);
  void RemoveControl(TControl* c);
  // The top-most visible child containing the client point, or nullptr.
  TControl* ControlAtPos(const TPoint& p, bool allowDisabled = false, bool allowWinControls = false) const;
  bool ContainsControl(const TControl* c) const;

  // --- alignment --------------------------------------------------------------------
  // Lays out aligned children in AdjustClientRect(ClientRect()). Children of one alignment
  // keep their order by position; `changed` (the control that moved) wins a tie.
  void Realign(TControl* changed = nullptr);
  void DisableAlign() { ++alignDisabled_; }
  void EnableAlign();
  bool AlignDisabled() const { return alignDisabled_ > 0; }
  virtual void AdjustClientRect(TRect& r) const {}

  // --- focus and tab order ----------------------------------------------------------
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int v);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v);
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // --- window shape -----------------------------------------------------------------
  // Gives the window the shape `r` (window coordinates); an empty region removes it.
  void SetWindowRegion(const QRegion& r, bool redraw = true);
  void ClearWindowRegion(bool redraw = true) { SetWindowRegion(QRegion(), redraw); }
  bool HasWindowRegion() const { return !region_.isEmpty(); }
  const QRegion& WindowRegion() const { return region_; }
  // Every mouse event goes to this control until released (Qt's mouse grab).
  void SetMouseCapture(bool on);
  bool MouseCapture() const;

  void SetBounds(int left, int top, int width, int height) override;
  void SetVisible(bool v) override;
  void SetEnabled(bool v) override;
  bool Showing() const override;
  void Invalidate() override;
  void Repaint() override;
  void Update() override;
  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;
  void Loaded() override;

  // Paints the non-windowed children on `canvas` (which draws on this control's client area).
  void PaintControls(TCanvas& canvas);

  // The Qt boundary delivers a translated message here; exceptions raised while it is
  // handled go to the application's exception handling and stop there. A key press is first
  // shown to the form (CM_CHILDKEY, then CM_DIALOGKEY for Enter and Escape), as the message
  // loop does before the control gets the key.
  void DispatchFromQt(TMessage& m, TWidgetBridge* from);

 protected:
  // Makes the widget; override to wrap another Qt widget class (use TBridgedWidget).
  virtual QWidget* CreateWidget(QWidget* parent);
  // Pushes the stored state to a new widget; called once after CreateWidget.
  virtual void InitWidget(QWidget* w);
  virtual void DestroyHandle();
  // Keyboard focus policy of the widget.
  virtual bool WantsFocus() const { return tabStop_; }
  void NotifyControls(uint32_t msg) override;
  // Called when the widget was resized or moved by the system (the user or the window manager).
  virtual void WidgetGeometryChanged(const TRect& bounds);
  virtual void DoEnter() { OnEnter(this); }
  virtual void DoExit() { OnExit(this); }
  virtual void KeyDown(uint16_t& key, TShiftState shift) { OnKeyDown(this, key, shift); }
  virtual void KeyUp(uint16_t& key, TShiftState shift) { OnKeyUp(this, key, shift); }
  virtual void KeyPress(QChar& key) { OnKeyPress(this, key); }
  void UpdateTabOrder();
  // Sends `m` to every child control in turn until one sets a non-zero Result.
  void Broadcast(TMessage& m);
  // True when the form took the key press `m` (WM_KEYDOWN or WM_SYSKEYDOWN).
  bool FormTakesKey(const TMessage& m);
  void ApplyWidgetGeometry();
  void ApplyWidgetFont();
  void ApplyWidgetCursor(TCursor c);

  friend class TWidgetBridge;
  friend class TControl;
  QWidget* handle_ = nullptr;          // owned
  TWidgetBridge* bridge_ = nullptr;    // the handle's bridge side; nullptr when none
  std::vector<TControl*> controls_;    // referenced; non-windowed and windowed, z-order
  QRegion region_;
  int tabOrder_ = -1;
  bool tabStop_ = false;
  int alignDisabled_ = 0;
  bool aligning_ = false;
  bool creatingHandle_ = false;
  TControl* mouseControl_ = nullptr;   // non-windowed child under the mouse
  TControl* captureControl_ = nullptr; // non-windowed child holding the mouse
  TWidgetBridge* activeBridge_ = nullptr;  // the bridge delivering the current Qt message
};

// A windowed control that draws itself: WM_PAINT calls Paint with Canvas on the widget.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;
  QString ClassName() const override { return QStringLiteral("TCustomControl"); }
  TCanvas& Canvas() { return canvas_; }
  void WndProc(TMessage& m) override;

 protected:
  virtual void Paint();
  TCanvas canvas_;
};

// The form a control sits on (nullptr when it has none).
class TCustomForm;
TCustomForm* GetParentForm(const TControl* c);

// Shift state from MK_* key flags.
TShiftState KeysToShiftState(intptr_t keys);
