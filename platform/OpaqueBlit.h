// Opaque images onto a widget's surface as block copies. A widget's paint region leaves out
// its opaque children, so it is often several rectangles; QPainter copies an image under such
// a clip line by line through its span blending (and hands large ones to worker threads),
// while under one rectangle it copies blocks. This draws once per rectangle of the clip.
// GUI thread only (it uses the painter).
#pragma once
#include <QImage>
#include <QPainter>
#include <QRect>

// Draws the part `source` of `image` at (x, y), as painter.drawImage(QPoint(x, y), image,
// source). A 32-bit opaque image under a translating painter goes rectangle by rectangle of
// the clip; anything else is drawn as it is.
void BlitOpaque(QPainter& painter, int x, int y, const QImage& image, const QRect& source);
inline void BlitOpaque(QPainter& painter, int x, int y, const QImage& image) {
  BlitOpaque(painter, x, y, image, image.rect());
}
