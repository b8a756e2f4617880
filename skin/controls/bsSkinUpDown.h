// TbsSkinUpDown: two arrow buttons stepping Position between Min and Max by Increment, with
// auto-repeat while a button is held (nothing for 500 ms, then a step every 100 ms). Drawn
// from an "updown" section ("hupdown" side by side, "vupdown" stacked) or, without one, as two
// flat buttons with arrows. The repeat timer is owned. GUI thread only.
#pragma once
#include <memory>

#include "platform/Timer.h"
#include "skin/controls/bsSkinControl.h"

enum class TUDOrientation { udHorizontal, udVertical };

class TbsSkinUpDown : public TbsSkinCustomControl {
 public:
  explicit TbsSkinUpDown(TComponent* owner);
  ~TbsSkinUpDown() override;
  QString ClassName() const override { return QStringLiteral("TbsSkinUpDown"); }

  TUDOrientation Orientation() const { return orientation_; }
  void SetOrientation(TUDOrientation v);
  int Increment() const { return increment_; }
  void SetIncrement(int v) { increment_ = v; }
  int Position() const { return position_; }
  // A value outside Min..Max is ignored; otherwise stores it and fires OnChange (also when
  // unchanged).
  void SetPosition(int v);
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);

  TNotifyEvent OnChange;
  TNotifyEvent OnUpButtonClick;
  TNotifyEvent OnDownButtonClick;

  // Button 0 increases, button 1 decreases.
  struct TArrowButton {
    TRect R;
    bool Hot = false;
    bool Pressed = false;
  };
  const TArrowButton& ArrowButton(int i) const { return buttons_[i]; }
  int HotButton() const { return hotButton_; }
  int CapturedButton() const { return capturedButton_; }
  // Period of the running repeat timer in milliseconds; 0 while none runs.
  int RepeatInterval() const { return timer_ && timer_->Enabled() ? timer_->Interval() : 0; }

  void FetchSkinData() override;
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void PaintWithoutSkin(TBitmap& bitmap) override;
  void PaintSkinImage(TBitmap& bitmap) override;
  void WndProc(TMessage& m) override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  void ComputeButtonRects();
  void TrackMouse(int x, int y);
  void StartTimer(int ms);
  void StopTimer();
  void TimerTick();

  TUDOrientation orientation_ = TUDOrientation::udHorizontal;
  TArrowButton buttons_[2];
  int previousHot_ = -1;
  int hotButton_ = -1;
  int capturedButton_ = -1;
  int repeatDirection_ = 0;  // 0 none, 1 decrease, 2 increase
  bool firstTick_ = false;
  int increment_ = 1, position_ = 0, min_ = 0, max_ = 100;
  std::unique_ptr<TTimer> timer_;  // owned
  // Copies of the section's button rectangles.
  TRect upbuttonrect_, activeupbuttonrect_, downupbuttonrect_;
  TRect downbuttonrect_, activedownbuttonrect_, downdownbuttonrect_;
};
