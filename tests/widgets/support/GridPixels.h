// Pixels of a data grid for the grid tests: what its window shows now, and a reference
// paint that draws every cell from its text.
#pragma once
#include <QImage>
#include <QScreen>
#include <QWidget>

#include "grid/DBGrid.h"

// What the window shows now: the grid's part of its window's backing store.
inline QImage OnScreen(TCustomDBGrid* g) {
  QWidget* w = g->Handle();
  const QPoint at = w->mapTo(w->window(), QPoint(0, 0));
  return w->screen()
      ->grabWindow(w->window()->winId(), at.x(), at.y(), w->width(), w->height())
      .toImage()
      .convertToFormat(QImage::Format_RGB32);
}

// A complete paint of the grid drawn cell by cell: a cell-drawing handler that draws
// nothing keeps the grid from using row images, without changing a pixel.
inline QImage FreshPaint(TCustomDBGrid* g) {
  g->OnDrawColumnCell = [](TComponent*, const TRect&, int, TColumn*, TGridDrawState) {};
  QImage img = g->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  g->OnDrawColumnCell.Clear();
  return img;
}
