#include "platform/Splitter.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

#include "platform/Colors.h"

namespace {
// The line shown while dragging: a 50% black checker over whatever lies beneath.
class PatternLine : public QWidget {
 public:
  explicit PatternLine(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setObjectName(QStringLiteral("SplitterLine"));
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QBrush(Qt::black, Qt::Dense4Pattern));
  }
};
}  // namespace

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  align_ = TAlign::alLeft;
  width_ = 3;
  height_ = 100;
  cursor_ = crHSplit;
  color_ = clBtnFace;
  parentColor_ = true;
}

TSplitter::~TSplitter() {
  HideLine();
  if (control_) RemoveFreeNotification(control_);
}

void TSplitter::SetBeveled(bool v) {
  if (v == beveled_) return;
  beveled_ = v;
  Invalidate();
}

void TSplitter::Paint() {
  TCanvas& c = Canvas();
  c.Brush.Style = TBrushStyle::bsSolid;
  c.Brush.Color = color_;
  c.FillRect(ClientRect());
  if (!beveled_ || width_ < 2 || height_ < 2) return;
  c.Brush.Color = clBtnHighlight;
  if (Vertical()) c.FillRect(TRect(0, 0, 1, height_));
  else c.FillRect(TRect(0, 0, width_, 1));
  c.Brush.Color = clBtnShadow;
  if (Vertical()) c.FillRect(TRect(width_ - 1, 0, width_, height_));
  else c.FillRect(TRect(0, height_ - 1, width_, height_));
}

TControl* TSplitter::FindResizedControl() const {
  if (!parent_) return nullptr;
  for (TControl* c : parent_->ControlList()) {
    if (c == this || !c->Visible() || c->Align() != align_) continue;
    switch (align_) {
      case TAlign::alTop: if (c->Top() + c->Height() == top_) return c; break;
      case TAlign::alBottom: if (c->Top() == top_ + height_) return c; break;
      case TAlign::alLeft: if (c->Left() + c->Width() == left_) return c; break;
      case TAlign::alRight: if (c->Left() == left_ + width_) return c; break;
      default: break;
    }
  }
  return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != TMouseButton::mbLeft || Dragging() || !parent_) return;
  TControl* c = FindResizedControl();
  if (!c) return;
  control_ = c;
  FreeNotification(c);
  downPos_ = Vertical() ? left_ + x : top_ + y;
  oldSize_ = Vertical() ? c->Width() : c->Height();
  // The room the aligned controls along this axis leave, less what the other side must keep.
  TRect r = parent_->ClientRect();
  parent_->AdjustClientRect(r);
  int used = 0;
  for (TControl* o : parent_->ControlList()) {
    if (!o->Visible()) continue;
    if (Vertical() && (o->Align() == TAlign::alLeft || o->Align() == TAlign::alRight)) used += o->Width();
    if (!Vertical() && (o->Align() == TAlign::alTop || o->Align() == TAlign::alBottom)) used += o->Height();
  }
  maxSize_ = (Vertical() ? r.Width() : r.Height()) - used - minSize_ + oldSize_;
  newSize_ = oldSize_;
  ShowLine();
}

int TSplitter::SizeFor(int pos) const {
  const int delta = pos - downPos_;
  int size = (align_ == TAlign::alTop || align_ == TAlign::alLeft) ? oldSize_ + delta : oldSize_ - delta;
  size = std::min(size, maxSize_);
  return std::max(size, minSize_);
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!Dragging()) return;
  newSize_ = SizeFor(Vertical() ? left_ + x : top_ + y);
  if (resizeStyle_ == TResizeStyle::rsUpdate) ApplySize();
  else ShowLine();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TGraphicControl::MouseUp(button, shift, x, y);
  if (!Dragging() || button != TMouseButton::mbLeft) return;
  newSize_ = SizeFor(Vertical() ? left_ + x : top_ + y);
  HideLine();
  ApplySize();
  RemoveFreeNotification(control_);
  control_ = nullptr;
  OnMoved(this);
}

void TSplitter::ApplySize() {
  if (!control_) return;
  if (Vertical()) control_->SetWidth(newSize_);
  else control_->SetHeight(newSize_);
}

void TSplitter::ShowLine() {
  if (resizeStyle_ == TResizeStyle::rsNone || resizeStyle_ == TResizeStyle::rsUpdate || !control_ || !parent_ ||
      !parent_->HandleAllocated())
    return;
  if (!line_) line_ = std::make_unique<PatternLine>(parent_->ClientHandle());
  // Where the bar will sit once the control has its new size.
  QRect r(left_, top_, width_, height_);
  switch (align_) {
    case TAlign::alTop: r.moveTop(control_->Top() + newSize_); break;
    case TAlign::alBottom: r.moveTop(control_->Top() + control_->Height() - newSize_ - height_); break;
    case TAlign::alLeft: r.moveLeft(control_->Left() + newSize_); break;
    case TAlign::alRight: r.moveLeft(control_->Left() + control_->Width() - newSize_ - width_); break;
    default: break;
  }
  line_->setGeometry(r);
  line_->raise();
  line_->show();
}

void TSplitter::HideLine() { line_.reset(); }

void TSplitter::Notification(TComponent* c, TOperation op) {
  TGraphicControl::Notification(c, op);
  if (op == TOperation::opRemove && c == control_) {
    control_ = nullptr;
    HideLine();
  }
}
