#include "AppIcon.h"

#include <algorithm>

namespace {

// Inside a rectangle with rounded corners of radius `r` (integer distance test).
bool InRounded(int x, int y, int l, int t, int rgt, int b, int r) {
  if (x < l || x >= rgt || y < t || y >= b) return false;
  const int cx = x < l + r ? l + r : (x >= rgt - r ? rgt - r - 1 : x);
  const int cy = y < t + r ? t + r : (y >= b - r ? b - r - 1 : y);
  const int dx = x - cx, dy = y - cy;
  return dx * dx + dy * dy <= r * r;
}

}  // namespace

QImage PaintAppIcon(int size) {
  size = std::max(size, 16);
  QImage img(size, size, QImage::Format_ARGB32);
  img.fill(qRgba(0, 0, 0, 0));
  const int m = size / 16;                  // margin
  const int l = m, t = m, r = size - m, b = size - m;
  const int radius = std::max(2, size / 10);
  const int band = t + size * 5 / 16;       // caption band bottom
  const int rows = 4;
  const int rowH = std::max(1, (b - m - band) / rows);
  const QRgb outline = qRgb(38, 52, 74);
  const QRgb caption = qRgb(62, 94, 140);
  const QRgb captionLight = qRgb(104, 140, 188);
  const QRgb pale = qRgb(206, 249, 208);
  const QRgb white = qRgb(255, 255, 255);
  const QRgb line = qRgb(150, 170, 160);
  const int colSplit = l + (r - l) * 2 / 5;
  for (int y = t; y < b; ++y) {
    for (int x = l; x < r; ++x) {
      if (!InRounded(x, y, l, t, r, b, radius)) continue;
      QRgb c;
      const bool edge = !InRounded(x, y, l + 1, t + 1, r - 1, b - 1, std::max(1, radius - 1)) ||
                        (size >= 32 && !InRounded(x, y, l + 2, t + 2, r - 2, b - 2, std::max(1, radius - 2)));
      if (edge) {
        c = outline;
      } else if (y < band) {
        // The caption band, lighter towards its top.
        const int num = y - t, den = std::max(1, band - t);
        c = qRgb(qRed(captionLight) + (qRed(caption) - qRed(captionLight)) * num / den,
                 qGreen(captionLight) + (qGreen(caption) - qGreen(captionLight)) * num / den,
                 qBlue(captionLight) + (qBlue(caption) - qBlue(captionLight)) * num / den);
      } else {
        const int row = std::min(rows, (y - band) / rowH);
        c = (row & 1) ? white : pale;
        if ((y - band) % rowH == 0 || x == colSplit) c = line;
      }
      img.setPixel(x, y, c);
    }
  }
  // Three text bars in the caption band.
  const int barT = t + (band - t) * 2 / 5, barB = std::max(barT + 1, t + (band - t) * 3 / 5);
  for (int y = barT; y < barB; ++y)
    for (int x = l + size / 6; x < r - size / 6; ++x)
      if (((x - l - size / 6) / std::max(1, size / 8)) % 2 == 0) img.setPixel(x, y, white);
  return img;
}
