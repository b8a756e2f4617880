// The application's hints: which control the mouse rests on, the pause before its Hint shows,
// the hint window below the cursor, and the pause before it hides again. A hint hides when a
// mouse button or a key goes down, when the mouse leaves the control, and after the hide
// pause. Qt's own tool tips never show for our controls.
//
// One per application (TApplication owns it). It watches the events of every widget through
// an application-wide event filter. Controls it refers to are watched for removal. GUI thread.
#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <QString>
#include <QTimer>
#include <memory>

#include "platform/Component.h"
#include "platform/HintWindow.h"

class THintController : public QObject, public TComponent {
 public:
  THintController();
  ~THintController() override;
  QString ClassName() const override { return QStringLiteral("THintController"); }

  // Hints on or off. Turning them on makes a window of HintWindowClass, off frees it.
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool v);
  // The hint window while hints are on (owned); nullptr while they are off.
  THintWindow* Window() const { return window_.get(); }

  int HintPause = 500;       // ms the mouse rests on a control before its hint shows
  int HintShortPause = 50;   // ms when moving on from one hinted control while a hint shows
  int HintHidePause = 2500;  // ms a hint stays
  TShowHintEvent OnShowHint;

  // The mouse is over `control` (nullptr: over none of ours) at the screen point `pos`.
  void MouseOver(TControl* control, const TPoint& pos);
  // Hides a hint and forgets the control (mouse press, key press, leaving).
  void CancelHint();
  // The control whose hint shows or waits (nullptr when none).
  TControl* HintControl() const { return hintControl_; }
  bool HintShowing() const { return window_ && window_->HintShowing(); }
  // The control whose hint shows for `c`: `c` or the first parent that shows hints.
  static TControl* HintControlFor(TControl* c);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  void SetHintControl(TControl* c);
  void ShowNow();
  void HideNow();

  bool showHint_ = false;
  std::unique_ptr<THintWindow> window_;
  TControl* hintControl_ = nullptr;  // referenced; cleared when it goes
  QTimer pauseTimer_;
  QTimer hideTimer_;
  QTimer leaveTimer_;  // a Leave not followed by the next widget's Enter
  quint64 lastMoveTime_ = 0;
  QPointer<QWidget> lastMoveWidget_;
};
