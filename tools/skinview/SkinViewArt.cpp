#include "SkinViewArt.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <initializer_list>

namespace {
constexpr int kSize = 16;
const QColor kKey(255, 0, 255);  // the glyph strips' transparent colour

QColor KindColor(TArtKind kind) {
  switch (kind) {
    case TArtKind::akOpen: return QColor(222, 170, 40);
    case TArtKind::akSave: return QColor(40, 90, 200);
    case TArtKind::akStar: return QColor(240, 200, 20);
    case TArtKind::akHeart: return QColor(210, 40, 60);
    case TArtKind::akArrow: return QColor(30, 150, 80);
    case TArtKind::akCross: return QColor(180, 30, 30);
  }
  return Qt::black;
}

// A closed outline through `points`.
QPainterPath Polygon(std::initializer_list<QPointF> points) {
  QPainterPath p;
  p.addPolygon(QPolygonF(QList<QPointF>(points)));
  p.closeSubpath();
  return p;
}

// The outline of `kind` in a 16 x 16 cell.
QPainterPath Shape(TArtKind kind) {
  switch (kind) {
    case TArtKind::akOpen:
      return Polygon({{1, 4}, {6, 4}, {7, 6}, {14, 6}, {14, 13}, {1, 13}});
    case TArtKind::akSave: {
      QPainterPath p;
      p.addRect(2, 2, 12, 12);
      p.addRect(5, 2, 6, 4);
      return p;
    }
    case TArtKind::akStar:
      return Polygon({{8, 1}, {10, 6}, {15, 6}, {11, 9}, {13, 15}, {8, 11}, {3, 15}, {5, 9}, {1, 6}, {6, 6}});
    case TArtKind::akHeart: {
      QPainterPath p;
      p.moveTo(8, 14);
      p.cubicTo(1, 9, 1, 3, 5, 3);
      p.cubicTo(7, 3, 8, 5, 8, 5);
      p.cubicTo(8, 5, 9, 3, 11, 3);
      p.cubicTo(15, 3, 15, 9, 8, 14);
      return p;
    }
    case TArtKind::akArrow:
      return Polygon({{2, 6}, {9, 6}, {9, 2}, {15, 8}, {9, 14}, {9, 10}, {2, 10}});
    case TArtKind::akCross:
      return Polygon({{3, 2}, {8, 7}, {13, 2}, {14, 3}, {9, 8}, {14, 13}, {13, 14}, {8, 9}, {3, 14}, {2, 13}, {7, 8}, {2, 3}});
  }
  return QPainterPath();
}

void DrawShape(QPainter& p, TArtKind kind, const QColor& fill, const QColor& line, int dx, int dy) {
  p.save();
  p.translate(dx, dy);
  p.setPen(QPen(line, 1));
  p.setBrush(fill);
  p.drawPath(Shape(kind));
  p.restore();
}
}  // namespace

TBitmap GlyphStrip(TArtKind kind, int frames) {
  QImage strip(kSize * frames, kSize, QImage::Format_RGB888);
  strip.fill(kKey);
  {
    QPainter p(&strip);
    const QColor c = KindColor(kind);
    for (int i = 0; i < frames; ++i) {
      const int x = i * kSize;
      switch (i) {
        case 0: DrawShape(p, kind, c, c.darker(160), x, 0); break;
        case 1: DrawShape(p, kind, QColor(170, 170, 170), QColor(120, 120, 120), x, 0); break;
        case 2: DrawShape(p, kind, c.darker(130), Qt::black, x + 1, 1); break;
        default: DrawShape(p, kind, c.lighter(130), c.darker(120), x, 0); break;
      }
    }
  }
  // The bottom-left pixel carries the transparent colour whatever the shape covers.
  strip.setPixelColor(0, kSize - 1, kKey);
  TBitmap b;
  b.SetImage(strip);
  return b;
}

QImage MenuImage(TArtKind kind) {
  QImage img(kSize, kSize, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  const QColor c = KindColor(kind);
  DrawShape(p, kind, c, c.darker(160), 0, 0);
  return img;
}

QImage ViewerIcon() {
  QImage img(32, 32, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  // A window with a caption bar and two panes: what skinview shows.
  p.setPen(QPen(QColor(20, 40, 60), 2));
  p.setBrush(QColor(235, 240, 245));
  p.drawRoundedRect(QRectF(2, 3, 28, 26), 3, 3);
  p.fillRect(QRectF(3, 4, 26, 6), QColor(30, 130, 140));
  p.fillRect(QRectF(6, 13, 9, 12), QColor(120, 170, 220));
  p.fillRect(QRectF(17, 13, 9, 12), QColor(230, 180, 80));
  return img;
}
