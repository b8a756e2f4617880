// Opaque images drawn as block copies, rectangle by rectangle of the clip: the pixels are
// those QPainter::drawImage gives, under a clip of several rectangles, a translated painter,
// a part of the image, the copying composition mode and for images it leaves to drawImage;
// and on a real window whose paint region leaves out an opaque child.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <functional>

#include "platform/OpaqueBlit.h"

namespace {

// An image with a different colour in every pixel.
QImage Pattern(int w, int h, QImage::Format format) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 7) & 255, (y * 11) & 255, (x * y) & 255));
  return img.convertToFormat(format);
}

QImage PaintedWith(const std::function<void(QPainter&)>& paint) {
  QImage surface(160, 120, QImage::Format_ARGB32_Premultiplied);
  surface.fill(Qt::white);
  QPainter p(&surface);
  paint(p);
  return surface;
}

// A widget that paints an image over its whole area, one way or the other, under an opaque
// child in its middle.
class TBlitWidget : public QWidget {
 public:
  TBlitWidget(const QImage& image, bool blit) : image_(image), blit_(blit) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* child = new QWidget(this);
    child->setGeometry(30, 20, 50, 40);
    child->setAutoFillBackground(true);
    QPalette pal = child->palette();
    pal.setColor(QPalette::Window, Qt::green);
    child->setPalette(pal);
    resize(140, 100);
  }
  int regionRects = 0;

 protected:
  void paintEvent(QPaintEvent* e) override {
    regionRects = std::max(regionRects, static_cast<int>(e->region().rectCount()));
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (blit_) BlitOpaque(p, 3, 2, image_, QRect(5, 4, 130, 95));
    else p.drawImage(QPoint(3, 2), image_, QRect(5, 4, 130, 95));
  }

 private:
  QImage image_;
  bool blit_;
};

}  // namespace

TEST(PlatformOpaqueBlit, SamePixelsAsDrawImage) {
  QRegion clip = QRegion(0, 0, 60, 50) + QRegion(70, 10, 40, 80) + QRegion(20, 60, 30, 30);
  for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_BGR888, QImage::Format_ARGB32_Premultiplied}) {
    const QImage image = Pattern(120, 100, format);
    for (QPainter::CompositionMode mode : {QPainter::CompositionMode_SourceOver, QPainter::CompositionMode_Source}) {
      for (const QRect& source : {image.rect(), QRect(7, 5, 90, 70), QRect(-10, -10, 50, 40)}) {
        auto setUp = [&](QPainter& p) {
          p.translate(13, 9);
          p.setClipRegion(clip);
          p.setCompositionMode(mode);
        };
        const QImage expected = PaintedWith([&](QPainter& p) {
          setUp(p);
          p.drawImage(QPoint(4, 6), image, source);
        });
        const QImage blitted = PaintedWith([&](QPainter& p) {
          setUp(p);
          BlitOpaque(p, 4, 6, image, source);
          // The painter's own clip is as it was.
          EXPECT_EQ(p.clipRegion(), clip);
        });
        EXPECT_TRUE(blitted == expected) << "format " << format << ", mode " << mode << ", source " << source.x();
      }
    }
    // The whole image at a point, no clip at all.
    const QImage expected = PaintedWith([&](QPainter& p) { p.drawImage(QPoint(-3, 11), image); });
    const QImage blitted = PaintedWith([&](QPainter& p) { BlitOpaque(p, -3, 11, image); });
    EXPECT_TRUE(blitted == expected) << "format " << format;
  }
}

TEST(PlatformOpaqueBlit, WindowWithAnOpaqueChild) {
  const QImage image = Pattern(150, 110, QImage::Format_RGB32);
  TBlitWidget blit(image, true), reference(image, false);
  blit.show();
  reference.show();
  QApplication::processEvents();
  const QImage a = blit.grab().toImage(), b = reference.grab().toImage();
  ASSERT_FALSE(a.isNull());
  EXPECT_TRUE(a == b);
  // The image shows around the child, the child over it.
  EXPECT_EQ(a.pixel(10, 10), image.pixel(12, 12));
  EXPECT_EQ(QColor(a.pixel(50, 40)), QColor(Qt::green));
  // The window painted its area with the child left out (a region of several rectangles).
  blit.repaint();
  EXPECT_GT(blit.regionRects, 1);
}
