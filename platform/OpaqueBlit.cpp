#include "platform/OpaqueBlit.h"

#include <QPaintEngine>
#include <QRegion>
#include <QTransform>
#include <cmath>

namespace {
// The part `r` of a 32-bit image as an image of its own over the same pixels (no copy): QPainter
// copies a whole image in blocks, but a part given by a source rectangle line by line.
QImage Part(const QImage& image, const QRect& r) {
  if (r == image.rect()) return image;
  return QImage(image.constBits() + r.y() * image.bytesPerLine() + r.x() * 4, r.width(), r.height(),
                image.bytesPerLine(), image.format());
}
}  // namespace

void BlitOpaque(QPainter& p, int x, int y, const QImage& image, const QRect& source) {
  const QRect part = source & image.rect();
  if (part.isEmpty() || !p.isActive()) return;
  const QTransform dt = p.deviceTransform();
  QPaintEngine* engine = p.paintEngine();
  const QRegion system = engine ? engine->systemClip() : QRegion();
  const bool plain = image.format() != QImage::Format_RGB32 || dt.type() > QTransform::TxTranslate ||
                     (p.compositionMode() != QPainter::CompositionMode_SourceOver &&
                      p.compositionMode() != QPainter::CompositionMode_Source) ||
                     p.opacity() != 1.0;
  if (plain) {
    p.drawImage(QPoint(x, y), image, source);
    return;
  }
  if (system.rectCount() <= 1 && !p.hasClipping()) {
    p.drawImage(QPoint(x + part.x() - source.x(), y + part.y() - source.y()), Part(image, part));
    return;
  }
  // The clip in the painter's coordinates: the widget's paint region, within any clip of the
  // painter's own.
  const QRect area(x + part.x() - source.x(), y + part.y() - source.y(), part.width(), part.height());
  QRegion region = system.isEmpty() ? QRegion(area)
                                    : system.translated(-static_cast<int>(std::lround(dt.dx())),
                                                        -static_cast<int>(std::lround(dt.dy())));
  if (p.hasClipping()) region &= p.clipRegion();
  region &= area;
  const QPoint offset(source.x() - x, source.y() - y);  // from the surface to the image
  if (region.isEmpty()) return;
  p.save();
  for (const QRect& r : region) {
    // Replacing the painter's clip leaves the paint region in force: the clip is exactly `r`.
    p.setClipRect(r);
    p.drawImage(r.topLeft(), Part(image, r.translated(offset)));
  }
  p.restore();
}
