#include "skin/controls/bsSkinUpDown.h"

#include "skin/controls/PlainLooks.h"
#include "skin/draw/bsUtils.h"
#include "skin/data/SkinControlData.h"

namespace {
bool Empty(const TRect& r) { return r.Width() < 1 || r.Height() < 1; }
}  // namespace

TbsSkinUpDown::TbsSkinUpDown(TComponent* owner) : TbsSkinCustomControl(owner) {
  skinDataName_ = QStringLiteral("hupdown");
  TbsSkinCustomControl::SetBounds(Left(), Top(), 25, 50);
  ComputeButtonRects();
}

TbsSkinUpDown::~TbsSkinUpDown() { StopTimer(); }

void TbsSkinUpDown::SetOrientation(TUDOrientation v) {
  orientation_ = v;
  if (IsDesigning() && !IsLoading())
    skinDataName_ = v == TUDOrientation::udVertical ? QStringLiteral("vupdown") : QStringLiteral("hupdown");
  ComputeButtonRects();
  Invalidate();
}

void TbsSkinUpDown::SetPosition(int v) {
  if (v > max_ || v < min_) return;
  position_ = v;
  if (!IsDesigning()) OnChange(this);
}

void TbsSkinUpDown::SetMin(int v) {
  min_ = v;
  if (position_ < min_) position_ = min_;
}

void TbsSkinUpDown::SetMax(int v) {
  max_ = v;
  if (position_ > max_) position_ = max_;
}

void TbsSkinUpDown::FetchSkinData() {
  TbsSkinCustomControl::FetchSkinData();
  if (auto* u = dynamic_cast<TbsDataSkinUpDownControl*>(SectionEntry())) {
    upbuttonrect_ = u->upbuttonrect;
    activeupbuttonrect_ = u->activeupbuttonrect;
    downupbuttonrect_ = Empty(u->downupbuttonrect) ? u->activeupbuttonrect : u->downupbuttonrect;
    downbuttonrect_ = u->downbuttonrect;
    activedownbuttonrect_ = u->activedownbuttonrect;
    downdownbuttonrect_ = Empty(u->downdownbuttonrect) ? u->activedownbuttonrect : u->downdownbuttonrect;
  }
  ComputeButtonRects();
}

void TbsSkinUpDown::SetBounds(int left, int top, int width, int height) {
  TbsSkinCustomControl::SetBounds(left, top, width, height);
  ComputeButtonRects();
}

void TbsSkinUpDown::ComputeButtonRects() {
  const int w = Width(), h = Height();
  if (sectionIndex_ != -1) {
    buttons_[0].R = upbuttonrect_;
    buttons_[1].R = downbuttonrect_;
  } else if (orientation_ == TUDOrientation::udVertical) {
    buttons_[0].R = TRect(0, 0, w, h / 2);
    buttons_[1].R = TRect(0, h / 2, w, h);
  } else {
    buttons_[1].R = TRect(0, 0, w / 2, h);
    buttons_[0].R = TRect(w / 2, 0, w, h);
  }
}

void TbsSkinUpDown::PaintWithoutSkin(TBitmap& bitmap) {
  const bool vertical = orientation_ == TUDOrientation::udVertical;
  PaintUpDownButtonWithoutSkin(bitmap.Canvas(), buttons_[0].R, buttons_[0].Hot, buttons_[0].Pressed, vertical ? adUp : adRight);
  PaintUpDownButtonWithoutSkin(bitmap.Canvas(), buttons_[1].R, buttons_[1].Hot, buttons_[1].Pressed, vertical ? adDown : adLeft);
}

void TbsSkinUpDown::PaintSkinImage(TBitmap& bitmap) {
  TbsSkinCustomControl::PaintSkinImage(bitmap);
  if (!skinPicture_) return;
  const TRect looks[2][2] = {{activeupbuttonrect_, downupbuttonrect_}, {activedownbuttonrect_, downdownbuttonrect_}};
  for (int i = 0; i < 2; ++i) {
    const TArrowButton& b = buttons_[i];
    const TRect src = b.Pressed && b.Hot ? looks[i][1] : b.Hot ? looks[i][0] : TRect();
    if (!Empty(src)) bitmap.Canvas().CopyRect(b.R, skinPicture_->Image(), src);
  }
}

void TbsSkinUpDown::StartTimer(int ms) {
  if (!timer_) {
    timer_ = std::make_unique<TTimer>(nullptr);
    timer_->OnTimer = [this](TComponent*) { TimerTick(); };
  }
  timer_->SetEnabled(false);
  timer_->SetInterval(ms);
  timer_->SetEnabled(true);
}

void TbsSkinUpDown::StopTimer() {
  if (timer_) timer_->SetEnabled(false);
}

void TbsSkinUpDown::TimerTick() {
  if (firstTick_) {
    firstTick_ = false;
    StartTimer(100);
    return;
  }
  if (repeatDirection_ == 1) SetPosition(position_ - increment_);
  else if (repeatDirection_ == 2) SetPosition(position_ + increment_);
}

void TbsSkinUpDown::TrackMouse(int x, int y) {
  previousHot_ = hotButton_;
  hotButton_ = -1;
  for (int i = 0; i < 2; ++i)
    if (RectHoldsPoint(buttons_[i].R, TPoint(x, y))) {
      hotButton_ = i;
      break;
    }
  if (capturedButton_ != -1 && hotButton_ != -1 && hotButton_ != capturedButton_) hotButton_ = -1;
  if (hotButton_ == previousHot_) return;
  if (previousHot_ != -1) {
    TArrowButton& b = buttons_[previousHot_];
    b.Hot = false;
    Invalidate();
    if (increment_ != 0 && b.Pressed) StopTimer();
  }
  if (hotButton_ != -1) {
    TArrowButton& b = buttons_[hotButton_];
    b.Hot = true;
    Invalidate();
    if (increment_ != 0 && b.Pressed) StartTimer(50);
  }
}

void TbsSkinUpDown::MouseMove(TShiftState shift, int x, int y) {
  TbsSkinCustomControl::MouseMove(shift, x, y);
  TrackMouse(x, y);
}

void TbsSkinUpDown::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TrackMouse(x, y);
  if (hotButton_ != -1) {
    capturedButton_ = hotButton_;
    buttons_[capturedButton_].Hot = true;
    buttons_[capturedButton_].Pressed = true;
    Invalidate();
    if (increment_ != 0) {
      repeatDirection_ = capturedButton_ == 0 ? 2 : 1;
      firstTick_ = true;
      StartTimer(500);
    }
  }
  TbsSkinCustomControl::MouseDown(button, shift, x, y);
}

void TbsSkinUpDown::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (capturedButton_ != -1) {
    TArrowButton& b = buttons_[capturedButton_];
    b.Pressed = false;
    if (capturedButton_ != hotButton_) b.Hot = false;
    Invalidate();
    if (b.Hot) {
      if (capturedButton_ == 0) {
        if (increment_ != 0) SetPosition(position_ + increment_);
        OnUpButtonClick(this);
      } else {
        if (increment_ != 0) SetPosition(position_ - increment_);
        OnDownButtonClick(this);
      }
    }
    if (increment_ != 0) {
      StopTimer();
      repeatDirection_ = 0;
    }
    capturedButton_ = -1;
  }
  TbsSkinCustomControl::MouseUp(button, shift, x, y);
}

void TbsSkinUpDown::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_MOUSEENTER:
      previousHot_ = hotButton_ = -1;
      TbsSkinCustomControl::WndProc(m);
      return;
    case CM_MOUSELEAVE:
      TbsSkinCustomControl::WndProc(m);
      for (TArrowButton& b : buttons_)
        if (b.Hot) {
          b.Hot = false;
          Invalidate();
        }
      return;
    case WM_SIZE:
      TbsSkinCustomControl::WndProc(m);
      ComputeButtonRects();
      return;
    default: TbsSkinCustomControl::WndProc(m);
  }
}
