// Forms and the application object.
//
// A form is a top-level window made of two widgets: the window itself and a client widget
// inside it. The client rectangle comes from WM_NCCALCSIZE (the whole window unless a frame
// component hooked in through WindowProc insets it); everything outside it is the frame,
// painted on WM_NCPAINT, hit-tested with WM_NCHITTEST and fed non-client mouse messages.
// A left press the hit test calls caption or border moves or sizes the window through the
// platform's own loop (platform/SizeMoveLoop.h), the same with or without a window manager.
// By default the platform (window manager) draws its own caption around the window;
// SetPlatformFrame(false) turns that off for a frame component that draws its own.
//
// The application owns its forms (they are its components) and keeps them in creation order.
// GUI thread only.
#pragma once
#include <QString>
#include <QStringList>
#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "platform/Controls.h"
#include "platform/Events.h"

class QApplication;
class QEventLoop;
class TMessageFilter;
class THintController;

// Results a modal form ends with (a button's ModalResult names one).
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };
enum class TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
  poMainFormCenter, poOwnerFormCenter,
};
enum TBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
using TBorderIcons = uint8_t;
enum class TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TCloseAction { caNone, caHide, caFree, caMinimize };
// fsMDIForm: a parent form whose client area holds an MDI client window; fsMDIChild: a form whose
// window lives inside the MDI client window of the application's main form.
enum class TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };

class TMDIClient;

using TCloseEvent = TEvent<TComponent*, TCloseAction&>;
using TCloseQueryEvent = TEvent<TComponent*, bool&>;

// A key press offered to a form as a possible shortcut before the focused control sees it.
// Serial counts the program's key presses, so that a handler offered one press twice can
// tell.
struct TWMKey {
  uint32_t Msg = 0;       // WM_KEYDOWN or WM_SYSKEYDOWN
  uint16_t CharCode = 0;  // the virtual key code
  TShiftState Shift = 0;  // ssShift, ssAlt, ssCtrl held with it
  uint32_t Serial = 0;
};
using TShortCutEvent = TEvent<TWMKey&, bool&>;

// A key message as the message loop sees it before dispatching it (TApplication::OnMessage).
struct TMsg {
  TWinControl* Control = nullptr;  // the control the key goes to; nullptr when none of ours
  uint32_t Msg = 0;                // WM_KEYDOWN, WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP
  intptr_t WParam = 0;             // the virtual key code
  intptr_t LParam = 0;
};
using TMessageEvent = TEvent<TMsg&, bool&>;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  QString ClassName() const override { return QStringLiteral("TCustomForm"); }

  QWidget* ClientHandle() override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void SetClientWidth(int w) override;
  void SetClientHeight(int h) override;

  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState s);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition p) { position_ = p; }
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons b);
  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle b);
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool v) { autoScroll_ = v; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v) { autoSize_ = v; }
  // Whether the window manager draws its own frame and caption around the window.
  bool PlatformFrame() const { return platformFrame_; }
  void SetPlatformFrame(bool v);
  // Constant opacity of the whole window: AlphaBlendValue 255 is opaque; used while AlphaBlend.
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool v);
  uint8_t AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(uint8_t v);
  // Set before the window is made (a stored definition does); changing it later re-creates
  // the window.
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle s);
  // ---- MDI parent (fsMDIForm) ----
  // The MDI client window (nullptr for other styles).
  TMDIClient* MDIClient() const { return mdiClient_; }
  // The active child (nullptr when none is shown), the children in z-order (active first).
  TCustomForm* ActiveMDIChild() const;
  int MDIChildCount() const;
  TCustomForm* MDIChildren(int i) const;
  void Tile();
  void Cascade();
  void ArrangeIcons();
  void Next();
  // The main menu item that lists the children (referenced; cleared when it goes).
  TComponent* WindowMenu() const { return windowMenu_; }
  void SetWindowMenu(TComponent* v);
  // ---- MDI child (fsMDIChild) ----
  // The MDI client window the child's window lives in (nullptr before it is made, after the
  // client went, or for other styles).
  TMDIClient* MDIHost() const { return mdiHost_; }
  // Called by the MDI client when it goes before this child: drop the window.
  void MDIHostGone();

  // True while the form's window is the active window.
  bool Active() const { return active_; }
  // The control that has (or gets, when the form is activated) the keyboard focus.
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* c);
  // Called when a control of the form (or the form itself) takes the keyboard focus: when
  // that changes the focused control, every control of the form is sent CM_FOCUSCHANGED
  // naming it.
  void SetFocusedControl(TWinControl* c);
  // The control that took the focus last (nullptr when none did).
  TWinControl* FocusedControl() const { return focusedControl_; }
  // Called when a control leaves the form's tree (removed or destroyed).
  void ControlRemoved(TControl* c);
  // Window bounds the form returns to when it is neither maximised nor minimised.
  TRect RestoreBounds() const { return restoreBounds_; }

  void SetVisible(bool v) override;
  void SetBounds(int left, int top, int width, int height) override;
  // Asks the window for its client rectangle again (WM_NCCALCSIZE) and repaints the frame.
  void FrameChanged();
  // Schedules a repaint of the frame (the area outside the client rectangle).
  void InvalidateFrame();
  // The limits the window procedure gives in WM_GETMINMAXINFO, asked with the defaults: no
  // tracking limits, maximised over the primary screen's work area.
  TMinMaxInfo MinMaxInfo();
  // Applies the limits the window procedure gives in WM_GETMINMAXINFO to the window.
  void UpdateSizeLimits();

  // Closes the form: CloseQuery, OnClose, then hides it (the main form ends the application).
  // A form shown modally only gets ModalResult mrCancel; its loop does the rest.
  void Close();

  // Shows the form and dispatches messages in a loop of its own until ModalResult becomes
  // non-zero or the form is hidden; then asks CloseQuery and OnClose (a refusal or caNone
  // clears ModalResult and goes on), hides the form and returns ModalResult (mrCancel when
  // the form was hidden or the application ended). Other windows take no input meanwhile.
  // Raises EInvalidOperation for a form that is visible already.
  TModalResult ShowModal();
  TModalResult ModalResult() const { return modalResult_; }
  // A non-zero value ends a running ShowModal.
  void SetModalResult(TModalResult v);
  bool Modal() const { return modalLoop_ != nullptr; }
  virtual bool CloseQuery();
  // Frees the form once the current message has been handled.
  void Release();
  // Reads the form's stored definition into this form (see platform/Streaming.h).
  void LoadDefinition(const QString& text);
  // Handlers the stored definition may name in event properties ("OnClick = Button1Click"),
  // besides the methods registered for the form's class. Register before LoadDefinition.
  void RegisterMethod(const QString& name, std::function<void(TComponent*)> handler);
  const std::function<void(TComponent*)>* FindMethod(const QString& name) const;

  // Offers a key press to OnShortCut; true when the handler took it. The platform asks once
  // per key press (WM_KEYDOWN and WM_SYSKEYDOWN), before the focused control sees it.
  virtual bool IsShortCut(TWMKey& key);
  TShortCutEvent OnShortCut;

  // Runs OnCreate; failures go to the application's exception handling.
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);

  TNotifyEvent OnCreate;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnDestroy;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void WndProc(TMessage& m) override;
  void DefaultHandler(TMessage& m) override;
  void Loaded() override;

 protected:
  void Notification(TComponent* c, TOperation op) override;
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget(QWidget* w) override;
  void DestroyHandle() override;
  void WidgetGeometryChanged(const TRect& bounds) override;
  bool WantsFocus() const override { return false; }
  // Lays the client widget out from WM_NCCALCSIZE.
  void UpdateClientArea();
  void ApplyWindowFlags();
  void PlaceOnScreen();
  // Shows the window in WindowState: maximised it covers its screen's work area, whether or
  // not a window manager acts on the maximised state; restored it takes RestoreBounds again.
  void ShowInState();

  QWidget* client_ = nullptr;        // owned by handle_
  TWidgetBridge* clientBridge_ = nullptr;
  TRect clientRect_;                 // client rectangle in window coordinates
  TWindowState windowState_ = TWindowState::wsNormal;
  TPosition position_ = TPosition::poDesigned;
  TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
  bool autoScroll_ = true;
  bool autoSize_ = false;
  bool platformFrame_ = true;
  bool active_ = false;
  bool alphaBlend_ = false;
  uint8_t alphaBlendValue_ = 255;
  bool placed_ = false;
  bool applyingState_ = false;
  TWinControl* activeControl_ = nullptr;  // referenced
  TWinControl* focusedControl_ = nullptr; // referenced
  TRect restoreBounds_;
  std::vector<std::pair<QString, std::function<void(TComponent*)>>> methods_;
  TFormStyle formStyle_ = TFormStyle::fsNormal;
  TMDIClient* mdiClient_ = nullptr;   // a child control (freed with the form's controls)
  TMDIClient* mdiHost_ = nullptr;     // referenced: the MDI client this child's window lives in
  TComponent* windowMenu_ = nullptr;  // referenced
  TModalResult modalResult_ = mrNone;
  QEventLoop* modalLoop_ = nullptr;  // the running ShowModal's loop (on its stack)
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
  QString ClassName() const override { return QStringLiteral("TForm"); }
};

// The application: the forms, the main form, the message loop and the failure boxes.
class TApplication : public TComponent {
 public:
  // Makes the Qt application object when there is none yet (and then owns it).
  TApplication(int& argc, char** argv);
  ~TApplication() override;
  QString ClassName() const override { return QStringLiteral("TApplication"); }

  void Initialize() {}
  // The executable's file name without its extension: first character as it is, the rest
  // in lower case (unless SetTitle gave another).
  QString Title() const;
  void SetTitle(const QString& t) { title_ = t; }
  // Full path of the executable and its file name.
  QString ExeName() const;
  QString ExeFileName() const;

  // Creates a form owned by the application; the first one becomes the main form.
  // OnCreate runs once the constructor (which reads the form's definition) has finished.
  template <class T>
  T* CreateForm() {
    T* f = new T(this);
    FormCreated(f);
    return f;
  }
  template <class T>
  void CreateForm(T*& ref) { ref = CreateForm<T>(); }

  TCustomForm* MainForm() const { return mainForm_; }
  // Every form of the program in creation order.
  const std::vector<TCustomForm*>& Forms() const { return forms_; }
  int FormCount() const { return static_cast<int>(forms_.size()); }

  // Whether Run shows the main form (a program that starts hidden in the notification area
  // clears it).
  bool ShowMainForm = true;
  // Shows the main form (in its WindowState) and dispatches messages until it closes.
  // Returns the exit code (0).
  int Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Dispatches the messages waiting now.
  void ProcessMessages();
  // Minimizes every visible form (their windows' own minimized state) and raises OnMinimize;
  // Restore gives those forms back the state they had and raises OnRestore. Each does nothing
  // when the application already is in that state.
  void Minimize();
  void Restore();
  bool Minimized() const { return minimized_; }
  TNotifyEvent OnMinimize;
  TNotifyEvent OnRestore;
  // Sees every key message of the program before the control it goes to; setting Handled
  // drops the message. A component that hooks it keeps the handler it found and puts it back
  // when it unhooks.
  TMessageEvent OnMessage;

  // The application's hints (ShowHint, the pauses, OnShowHint and the hint window):
  // platform/ApplicationHints.h. Hints are on from the start.
  THintController& Hints() { return *hints_; }

  // Shows the exception being handled in the failure box (call inside a catch block).
  void HandleException();
  // The failure box: the message (a full stop appended when its last character sorts after
  // "."), titled with Title(), stop icon, one OK button.
  void ShowException(const QString& message);
  // The box for a failure that stops start-up ("Application Error"); returns exit code 1.
  int ShowStartupException(const QString& className, const QString& message);
  // The same for the exception being handled (call inside a catch block).
  int ShowStartupException();

  // Called by TCustomForm.
  void AddForm(TCustomForm* f);
  void RemoveForm(TCustomForm* f);

  // The title rule for an executable path: file name without its extension, first character
  // as it is, the rest in lower case.
  static QString TitleFor(const QString& exePath);
  // Exception message text with the full stop rule of the failure box.
  static QString FailureText(const QString& message);
  // Text of the start-up failure box.
  QString StartupFailureText(const QString& className, const QString& message) const;

 private:
  void FormCreated(TCustomForm* f);

  std::unique_ptr<QApplication> ownQt_;
  std::unique_ptr<TMessageFilter> messageFilter_;
  std::unique_ptr<THintController> hints_;  // made after Qt, gone before it
  QString title_;
  TCustomForm* mainForm_ = nullptr;       // owned as a component
  std::vector<TCustomForm*> forms_;       // referenced
  bool terminated_ = false;
  bool running_ = false;
  bool minimized_ = false;
  std::vector<std::pair<TCustomForm*, TWindowState>> minimizedForms_;  // referenced; state before
};

// The program's application object (set while one exists).
extern TApplication* Application;
