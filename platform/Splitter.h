// The splitter: a thin bar between two aligned controls that the user drags to share the room
// between them. While the button is held a patterned line shows where the bar will go; the
// control before the bar (the one aligned the same way and touching it) takes its new size on
// release, and realignment gives the rest to the others. Each side keeps at least MinSize
// pixels. Drawn in Color; Beveled adds a light top/left and a dark bottom/right edge.
// GUI thread only.
#pragma once
#include <memory>

#include "platform/Controls.h"

class QWidget;

enum class TResizeStyle { rsNone, rsLine, rsUpdate, rsPattern };

class TSplitter : public TGraphicControl {
 public:
  explicit TSplitter(TComponent* owner);
  ~TSplitter() override;
  QString ClassName() const override { return QStringLiteral("TSplitter"); }

  bool Beveled() const { return beveled_; }
  void SetBeveled(bool v);
  int MinSize() const { return minSize_; }
  void SetMinSize(int v) { minSize_ = v < 1 ? 1 : v; }
  TResizeStyle ResizeStyle() const { return resizeStyle_; }
  void SetResizeStyle(TResizeStyle s) { resizeStyle_ = s; }
  // True while the user drags the bar.
  bool Dragging() const { return control_ != nullptr; }
  // The size the resized control will take on release (valid while dragging).
  int NewSize() const { return newSize_; }

  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void Notification(TComponent* c, TOperation op) override;

 private:
  bool Vertical() const { return align_ == TAlign::alLeft || align_ == TAlign::alRight; }
  // The control the bar resizes: same alignment, touching the bar on the side it is aligned to.
  TControl* FindResizedControl() const;
  // Size of the resized control for the mouse at `pos` (parent client coordinates, along the axis).
  int SizeFor(int pos) const;
  void ShowLine();
  void HideLine();
  void ApplySize();

  bool beveled_ = false;
  int minSize_ = 30;
  TResizeStyle resizeStyle_ = TResizeStyle::rsPattern;
  TControl* control_ = nullptr;  // referenced while dragging
  int downPos_ = 0;              // mouse position at the press, parent client coordinates
  int oldSize_ = 0;
  int maxSize_ = 0;
  int newSize_ = 0;
  std::unique_ptr<QWidget> line_;  // the patterned line while dragging
};
