// Canvas: pen, brush, font and the drawing calls of the platform, over QPainter.
// Lines leave out their end point. A canvas draws either on a QImage (bitmaps) or with a
// painter someone else holds open (paint events); see Attach/Detach. GUI thread only.
#pragma once
#include <QImage>
#include <QPainter>
#include <QString>
#include <memory>

#include "platform/Font.h"
#include "platform/Types.h"

class TBitmap;

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum class TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

struct TPen {
  TColor Color = 0;
  int Width = 1;
  TPenStyle Style = TPenStyle::psSolid;
};

struct TBrush {
  TColor Color = 0xFFFFFF;
  TBrushStyle Style = TBrushStyle::bsSolid;
};

// Text flags of the platform's text drawing (a subset).
enum TTextFlag : uint32_t {
  DT_LEFT = 0x0, DT_TOP = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4, DT_BOTTOM = 0x8,
  DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40, DT_NOCLIP = 0x100,
  DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800, DT_END_ELLIPSIS = 0x8000,
};

class TCanvas {
 public:
  TCanvas() = default;
  explicit TCanvas(QImage* image) : image_(image) {}
  ~TCanvas();

  // Draw through `painter` (owned by the caller) until Detach.
  void Attach(QPainter* painter) { external_ = painter; }
  void Detach() { external_ = nullptr; }
  void SetImage(QImage* image);

  TPen Pen;
  TBrush Brush;
  TFont Font;

  void MoveTo(int x, int y) { penPos_ = TPoint(x, y); }
  TPoint PenPos() const { return penPos_; }
  // Line from the pen position to (x, y), leaving out (x, y).
  void LineTo(int x, int y);
  void FillRect(const TRect& r);
  // Pen outline and brush fill, right and bottom exclusive.
  void Rectangle(const TRect& r);
  void Rectangle(int l, int t, int r, int b) { Rectangle(TRect(l, t, r, b)); }
  void FrameRect(const TRect& r);  // one-pixel frame in the brush colour
  void Ellipse(const TRect& r);
  void Polygon(const TPoint* points, int count);
  void Polyline(const TPoint* points, int count);
  void Frame3D(TRect& r, TColor topLeft, TColor bottomRight, int width);

  TColor Pixel(int x, int y);
  void SetPixel(int x, int y, TColor c);

  int TextWidth(const QString& s);
  int TextHeight(const QString& s);
  // Text at (x, y) = top-left of its cell, with the brush as background unless clear.
  void TextOut(int x, int y, const QString& s);
  // Text clipped to r.
  void TextRect(const TRect& r, int x, int y, const QString& s);
  // The platform's DrawText: returns the text height; with DT_CALCRECT only measures into r.
  int DrawText(const QString& s, TRect& r, uint32_t flags);

  void Draw(int x, int y, const TBitmap& bmp);
  void Draw(int x, int y, const QImage& img);
  void StretchDraw(const TRect& dest, const TBitmap& bmp);
  void CopyRect(const TRect& dest, TCanvas& source, const TRect& src);
  void CopyRect(const TRect& dest, const QImage& source, const TRect& src);
  // Clip to `r` for the following calls (empty rect = no clipping).
  void SetClipRect(const TRect& r);

  // The painter for the current target; valid until the next call into this canvas.
  QPainter* Painter();

 private:
  QPen QtPen() const;
  QBrush QtBrush() const;
  void ApplyClip(QPainter* p);

  QImage* image_ = nullptr;       // referenced, not owned
  QPainter* external_ = nullptr;  // referenced, not owned
  std::unique_ptr<QPainter> own_;
  TPoint penPos_;
  TRect clip_;
};

QRect ToQRect(const TRect& r);  // right/bottom exclusive -> QRect
TRect FromQRect(const QRect& r);
