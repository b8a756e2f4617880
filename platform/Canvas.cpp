#include "platform/Canvas.h"

#include <QFontMetrics>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Colors.h"
#include "platform/OpaqueBlit.h"
#include "platform/TextLayouts.h"
#include "platform/TextMeasure.h"

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top); }
TRect FromQRect(const QRect& r) { return TRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()); }

TCanvas::~TCanvas() = default;

void TCanvas::SetImage(QImage* image) {
  own_.reset();
  image_ = image;
}

QPainter* TCanvas::Painter() {
  if (external_) return external_;
  if (!image_ || image_->isNull()) return nullptr;
  if (!own_ || own_->device() != image_) {
    own_.reset();
    // 1-bit and 8-bit images cannot be painted on; callers draw on 24-bit bitmaps.
    if (image_->format() == QImage::Format_Mono || image_->format() == QImage::Format_Indexed8) return nullptr;
    own_ = std::make_unique<QPainter>(image_);
  }
  ApplyClip(own_.get());
  return own_.get();
}

void TCanvas::ApplyClip(QPainter* p) {
  if (clip_.IsZero()) p->setClipping(false);
  else p->setClipRect(ToQRect(clip_));
}

void TCanvas::SetClipRect(const TRect& r) {
  clip_ = r;
  if (QPainter* p = Painter()) ApplyClip(p);
}

QPen TCanvas::QtPen() const {
  if (Pen.Style == TPenStyle::psClear) return QPen(Qt::NoPen);
  QPen p(ToQColor(Pen.Color));
  p.setWidth(Pen.Width <= 1 ? 0 : Pen.Width);
  p.setCapStyle(Qt::FlatCap);
  p.setJoinStyle(Qt::MiterJoin);
  switch (Pen.Style) {
    case TPenStyle::psDash: p.setStyle(Qt::DashLine); break;
    case TPenStyle::psDot: p.setStyle(Qt::DotLine); break;
    case TPenStyle::psDashDot: p.setStyle(Qt::DashDotLine); break;
    case TPenStyle::psDashDotDot: p.setStyle(Qt::DashDotDotLine); break;
    default: break;
  }
  return p;
}

QBrush TCanvas::QtBrush() const {
  const QColor c = ToQColor(Brush.Color);
  switch (Brush.Style) {
    case TBrushStyle::bsClear: return QBrush(Qt::NoBrush);
    case TBrushStyle::bsHorizontal: return QBrush(c, Qt::HorPattern);
    case TBrushStyle::bsVertical: return QBrush(c, Qt::VerPattern);
    case TBrushStyle::bsFDiagonal: return QBrush(c, Qt::FDiagPattern);
    case TBrushStyle::bsBDiagonal: return QBrush(c, Qt::BDiagPattern);
    case TBrushStyle::bsCross: return QBrush(c, Qt::CrossPattern);
    case TBrushStyle::bsDiagCross: return QBrush(c, Qt::DiagCrossPattern);
    default: return QBrush(c);
  }
}

void TCanvas::LineTo(int x, int y) {
  QPainter* p = Painter();
  const TPoint from = penPos_;
  penPos_ = TPoint(x, y);
  if (!p || Pen.Style == TPenStyle::psClear) return;
  const int dx = x - from.X, dy = y - from.Y;
  if (dx == 0 && dy == 0) return;
  if (Pen.Width <= 1 && Pen.Style == TPenStyle::psSolid) {
    // Bresenham, end point left out, so that joined lines never paint a pixel twice.
    const QColor c = ToQColor(Pen.Color);
    p->setPen(Qt::NoPen);
    const int adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
    const int sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
    if (dy == 0) { p->fillRect(dx > 0 ? from.X : x + 1, from.Y, adx, 1, c); return; }
    if (dx == 0) { p->fillRect(from.X, dy > 0 ? from.Y : y + 1, 1, ady, c); return; }
    int err = adx - ady, cx = from.X, cy = from.Y;
    while (cx != x || cy != y) {
      p->fillRect(cx, cy, 1, 1, c);
      const int e2 = 2 * err;
      if (e2 > -ady) { err -= ady; cx += sx; }
      if (e2 < adx) { err += adx; cy += sy; }
    }
    return;
  }
  p->setPen(QtPen());
  p->drawLine(from.X, from.Y, x, y);
}

void TCanvas::FillRect(const TRect& r) {
  QPainter* p = Painter();
  if (!p || r.Width() <= 0 || r.Height() <= 0) return;
  p->fillRect(ToQRect(r), QtBrush());
}

void TCanvas::Rectangle(const TRect& r) {
  QPainter* p = Painter();
  if (!p || r.Width() <= 0 || r.Height() <= 0) return;
  if (Brush.Style != TBrushStyle::bsClear) p->fillRect(ToQRect(r), QtBrush());
  if (Pen.Style != TPenStyle::psClear) {
    const QColor c = ToQColor(Pen.Color);
    const int w = std::max(1, Pen.Width);
    p->fillRect(r.Left, r.Top, r.Width(), w, c);
    p->fillRect(r.Left, r.Bottom - w, r.Width(), w, c);
    p->fillRect(r.Left, r.Top, w, r.Height(), c);
    p->fillRect(r.Right - w, r.Top, w, r.Height(), c);
  }
}

void TCanvas::FrameRect(const TRect& r) {
  QPainter* p = Painter();
  if (!p || r.Width() <= 0 || r.Height() <= 0) return;
  const QColor c = ToQColor(Brush.Color);
  p->fillRect(r.Left, r.Top, r.Width(), 1, c);
  p->fillRect(r.Left, r.Bottom - 1, r.Width(), 1, c);
  p->fillRect(r.Left, r.Top, 1, r.Height(), c);
  p->fillRect(r.Right - 1, r.Top, 1, r.Height(), c);
}

void TCanvas::Ellipse(const TRect& r) {
  QPainter* p = Painter();
  if (!p) return;
  p->setPen(QtPen());
  p->setBrush(QtBrush());
  p->drawEllipse(QRectF(r.Left, r.Top, r.Width() - 1, r.Height() - 1));
}

void TCanvas::Polygon(const TPoint* points, int count) {
  QPainter* p = Painter();
  if (!p || count <= 0) return;
  std::vector<QPoint> pts;
  for (int i = 0; i < count; ++i) pts.emplace_back(points[i].X, points[i].Y);
  p->setPen(QtPen());
  p->setBrush(QtBrush());
  p->drawPolygon(pts.data(), count);
}

void TCanvas::Polyline(const TPoint* points, int count) {
  if (count <= 0) return;
  MoveTo(points[0].X, points[0].Y);
  for (int i = 1; i < count; ++i) LineTo(points[i].X, points[i].Y);
}

void TCanvas::Frame3D(TRect& r, TColor topLeft, TColor bottomRight, int width) {
  QPainter* p = Painter();
  for (int i = 0; i < width; ++i) {
    if (p && r.Width() > 0 && r.Height() > 0) {
      const QColor tl = ToQColor(topLeft), br = ToQColor(bottomRight);
      p->fillRect(r.Left, r.Top, r.Width() - 1, 1, tl);
      p->fillRect(r.Left, r.Top, 1, r.Height() - 1, tl);
      p->fillRect(r.Right - 1, r.Top, 1, r.Height(), br);
      p->fillRect(r.Left, r.Bottom - 1, r.Width(), 1, br);
    }
    r = TRect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
  }
}

TColor TCanvas::Pixel(int x, int y) {
  if (!image_ || !image_->valid(x, y)) return -1;
  if (own_) own_->end(), own_.reset();
  return FromQColor(image_->pixelColor(x, y));
}

void TCanvas::SetPixel(int x, int y, TColor c) {
  if (QPainter* p = Painter()) p->fillRect(x, y, 1, 1, ToQColor(c));
}

int TCanvas::TextWidth(const QString& s) { return TextMeasure::Advance(Font.ToQFont(), s); }

int TCanvas::TextHeight(const QString&) {
  const QFont f = Font.ToQFont();
  return TextMeasure::Ascent(f) + TextMeasure::Descent(f);
}

void TCanvas::TextOut(int x, int y, const QString& s) {
  QPainter* p = Painter();
  if (!p) return;
  const QFont f = Font.ToQFont();
  const int advance = TextMeasure::Advance(f, s), ascent = TextMeasure::Ascent(f);
  if (Brush.Style != TBrushStyle::bsClear)
    p->fillRect(x, y, advance, ascent + TextMeasure::Descent(f), ToQColor(Brush.Color));
  p->setFont(f);
  p->setPen(ToQColor(Font.Color));
  TextLayouts::DrawAt(*p, x, y + ascent, s);
  penPos_ = TPoint(x + advance, y);
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& s) {
  QPainter* p = Painter();
  if (!p) return;
  p->save();
  p->setClipRect(ToQRect(r), Qt::IntersectClip);
  if (Brush.Style != TBrushStyle::bsClear) p->fillRect(ToQRect(r), ToQColor(Brush.Color));
  const QFont f = Font.ToQFont();
  p->setFont(f);
  p->setPen(ToQColor(Font.Color));
  p->drawText(x, y + TextMeasure::Ascent(f), s);
  p->restore();
}

int TCanvas::DrawText(const QString& s, TRect& r, uint32_t flags) {
  const QFont f = Font.ToQFont();
  QString text = s;
  if (!(flags & DT_NOPREFIX)) {
    // "&&" draws "&"; a single "&" marks the next character (its underline is left out).
    QString t;
    for (int i = 0; i < text.size(); ++i) {
      if (text[i] == u'&' && i + 1 < text.size()) { t += text[++i]; continue; }
      t += text[i];
    }
    text = t;
  }
  int qflags = 0;
  qflags |= (flags & DT_CENTER) ? Qt::AlignHCenter : (flags & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
  if (flags & DT_SINGLELINE) qflags |= (flags & DT_VCENTER) ? Qt::AlignVCenter : (flags & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
  else qflags |= Qt::AlignTop;
  if (flags & DT_WORDBREAK) qflags |= Qt::TextWordWrap;
  if (flags & DT_SINGLELINE) qflags |= Qt::TextSingleLine;
  if (flags & DT_EXPANDTABS) qflags |= Qt::TextExpandTabs;
  if (flags & DT_END_ELLIPSIS) text = QFontMetrics(f).elidedText(text, Qt::ElideRight, std::max(0, r.Width()));
  if (flags & DT_CALCRECT) {
    const QRect b = TextMeasure::BoundingRect(
        f, QRect(r.Left, r.Top, (flags & DT_WORDBREAK) ? std::max(1, r.Width()) : 100000, 100000), qflags, text);
    r.Right = r.Left + ((flags & DT_WORDBREAK) ? std::min(b.width(), r.Width()) : b.width());
    r.Bottom = r.Top + b.height();
    return b.height();
  }
  QPainter* p = Painter();
  if (!p) return 0;
  p->save();
  if (!(flags & DT_NOCLIP)) p->setClipRect(ToQRect(r), Qt::IntersectClip);
  p->setFont(f);
  p->setPen(ToQColor(Font.Color));
  QRect br;
  TextLayouts::Draw(*p, ToQRect(r), qflags, text, &br);
  p->restore();
  return br.height();
}

void TCanvas::Draw(int x, int y, const TBitmap& bmp) { Draw(x, y, bmp.Image()); }

void TCanvas::Draw(int x, int y, const QImage& img) {
  if (QPainter* p = Painter()) BlitOpaque(*p, x, y, img);
}

void TCanvas::StretchDraw(const TRect& dest, const TBitmap& bmp) {
  if (QPainter* p = Painter()) p->drawImage(ToQRect(dest), bmp.Image());
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& src) {
  if (!source.image_) return;
  if (source.own_) source.own_->end(), source.own_.reset();
  CopyRect(dest, *source.image_, src);
}

void TCanvas::CopyRect(const TRect& dest, const QImage& source, const TRect& src) {
  QPainter* p = Painter();
  if (!p) return;
  if (dest.Width() == src.Width() && dest.Height() == src.Height())
    p->drawImage(QPoint(dest.Left, dest.Top), source, ToQRect(src));
  else
    p->drawImage(ToQRect(dest), source, ToQRect(src));
}
