// The data grid's vertical scroll bar. Over a long result most one-record moves leave the
// handle on the same pixels, so the bar repaints only when what it shows changes: the
// handle's rectangle, or the value reaching or leaving either end. Its value, signals and
// accessibility events follow every change as usual. GUI thread only.
#pragma once
#include <QRect>
#include <QScrollBar>

class TGridScrollBar : public QScrollBar {
 public:
  explicit TGridScrollBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {}

  // What a paint shows of the value; two equal looks paint the same pixels.
  struct Look {
    QRect handle;
    bool atMin = false, atMax = false;
    friend bool operator==(const Look&, const Look&) = default;
  };
  Look CurrentLook() const;

 protected:
  void sliderChange(SliderChange change) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  Look painted_;
  bool hasPainted_ = false;
};
