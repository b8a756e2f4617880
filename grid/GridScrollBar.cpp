#include "grid/GridScrollBar.h"

#include <QStyle>
#include <QStyleOptionSlider>

TGridScrollBar::Look TGridScrollBar::CurrentLook() const {
  QStyleOptionSlider opt;
  initStyleOption(&opt);
  return Look{style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarSlider, this),
              value() == minimum(), value() == maximum()};
}

void TGridScrollBar::sliderChange(SliderChange change) {
  // Range, step and orientation changes always repaint; a value change only when it shows.
  if (change == SliderValueChange && hasPainted_ && CurrentLook() == painted_) return;
  QScrollBar::sliderChange(change);
}

void TGridScrollBar::paintEvent(QPaintEvent* e) {
  painted_ = CurrentLook();
  hasPainted_ = true;
  QScrollBar::paintEvent(e);
}
