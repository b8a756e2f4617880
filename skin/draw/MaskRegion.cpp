// Window shapes from mask pictures: the run scan into region data, region data into a QRegion,
// and the shape of a shaped element at a new size.
#include <QRect>
#include <QVector>
#include <algorithm>
#include <cstring>

#include "platform/Bitmap.h"
#include "skin/draw/bsUtils.h"

namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kRectSize = 16;
// Runs the scan expects per mask; the table grows past it when a mask has more.
constexpr size_t kRunTableSize = 10001;

void Put32(uint8_t* p, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  p[0] = static_cast<uint8_t>(u);
  p[1] = static_cast<uint8_t>(u >> 8);
  p[2] = static_cast<uint8_t>(u >> 16);
  p[3] = static_cast<uint8_t>(u >> 24);
}

int32_t Get32(const uint8_t* p) {
  return static_cast<int32_t>(uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24);
}

int32_t Clamp32(int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

// A rectangle with a positive size that a QRect can hold.
bool ValidRect(int32_t l, int32_t t, int32_t r, int32_t b) {
  return int64_t{r} - l > 0 && int64_t{b} - t > 0 && int64_t{r} - l <= INT32_MAX && int64_t{b} - t <= INT32_MAX;
}

struct Run {
  int32_t y, start, end;
};

// Black runs of one row of 24-bit pixels, appended left to right.
void ScanRow(const uint8_t* row, int32_t width, int32_t y, std::vector<Run>& runs) {
  const size_t bytes = static_cast<size_t>(3) * static_cast<size_t>(width);
  size_t pos = 0;
  while (pos < bytes) {
    // Skip to the next zero byte; only a pixel holding one can be black.
    const void* z = memchr(row + pos, 0, bytes - pos);
    if (!z) return;
    const size_t px = (static_cast<const uint8_t*>(z) - row) / 3;
    pos = 3 * px;
    if (row[pos] != 0 || row[pos + 1] != 0 || row[pos + 2] != 0) {
      pos += 3;
      continue;
    }
    // The run lasts while the bytes stay zero: eight at a time, then one at a time.
    size_t end = pos + 3;
    uint64_t word;
    while (end + 8 <= bytes && (memcpy(&word, row + end, 8), word == 0)) end += 8;
    while (end < bytes && row[end] == 0) ++end;
    const size_t endPx = end / 3;  // the pixel holding the first non-zero byte is not black
    runs.push_back(Run{y, static_cast<int32_t>(px), static_cast<int32_t>(endPx)});
    pos = 3 * (endPx + 1);
  }
}

}  // namespace

size_t MaskToRegionData(const QImage& mask, int offsetX, int offsetY, std::vector<uint8_t>& data) {
  data.clear();
  if (mask.isNull() || mask.width() <= 0 || mask.height() <= 0) return 0;
  std::vector<Run> runs;
  runs.reserve(kRunTableSize);
  {
    const TbsFBitmap fast(mask);
    for (int y = 0; y < fast.Height(); ++y) ScanRow(fast.ConstRow(y), fast.Width(), y, runs);
  }
  const size_t n = runs.size();
  data.assign(kHeaderSize + kRectSize * n, 0);
  uint8_t* p = data.data();
  Put32(p + 0, static_cast<int32_t>(kHeaderSize));
  Put32(p + 4, 1);
  Put32(p + 8, Clamp32(static_cast<int64_t>(n)));
  Put32(p + 12, 0);
  Put32(p + 16, offsetX);
  Put32(p + 20, offsetY);
  Put32(p + 24, Clamp32(int64_t{offsetX} + mask.width()));
  Put32(p + 28, Clamp32(int64_t{offsetY} + mask.height()));
  p += kHeaderSize;
  for (const Run& r : runs) {
    Put32(p + 0, Clamp32(int64_t{offsetX} + r.start));
    Put32(p + 4, Clamp32(int64_t{offsetY} + r.y));
    Put32(p + 8, Clamp32(int64_t{offsetX} + r.end));
    Put32(p + 12, Clamp32(int64_t{offsetY} + r.y + 1));
    p += kRectSize;
  }
  return data.size();
}

size_t MaskToRegionData(const TBitmap& mask, int offsetX, int offsetY, std::vector<uint8_t>& data) {
  return MaskToRegionData(mask.Image(), offsetX, offsetY, data);
}

QRegion RegionFromRegionData(const uint8_t* data, size_t size) {
  if (size == 0) return QRegion();
  if (!data || size < kHeaderSize) throw EInvalidRegionData(QStringLiteral("Region data is too short"));
  if (Get32(data) != static_cast<int32_t>(kHeaderSize) || Get32(data + 4) != 1)
    throw EInvalidRegionData(QStringLiteral("Region data has an unknown header"));
  const int32_t count = Get32(data + 8);
  if (count < 0 || static_cast<uint64_t>(count) > (size - kHeaderSize) / kRectSize)
    throw EInvalidRegionData(QStringLiteral("Region data holds fewer rectangles than its header says"));

  // Rectangles in rows of one height, rows sorted and apart, rectangles of a row sorted and
  // apart: the shape the scan writes. Such a list becomes the region directly, with identical
  // neighbouring rows merged into one band; any other list is united rectangle by rectangle.
  QVector<QRect> bands;
  bands.reserve(count);
  bool banded = true;
  qsizetype prevBand = -1, band = 0;  // first rectangle of the previous and current row
  int32_t rowTop = 0, rowBottom = 0, lastRight = 0;
  bool any = false;
  auto rowEquals = [&](qsizetype a, qsizetype b, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
      if (bands[a + i].left() != bands[b + i].left() || bands[a + i].right() != bands[b + i].right()) return false;
    return true;
  };
  auto closeRow = [&]() {
    // Merge the finished row into the previous band when it continues it with the same spans.
    if (prevBand < 0) return;
    const qsizetype prevCount = band - prevBand, count = bands.size() - band;
    if (prevCount == count && bands[prevBand].bottom() + 1 == bands[band].top() && rowEquals(prevBand, band, count)) {
      for (qsizetype i = 0; i < count; ++i) bands[prevBand + i].setBottom(bands[band + i].bottom());
      bands.resize(band);
      band = prevBand;
    }
  };
  for (int32_t i = 0; i < count; ++i) {
    const uint8_t* p = data + kHeaderSize + kRectSize * static_cast<size_t>(i);
    const int32_t l = Get32(p), t = Get32(p + 4), r = Get32(p + 8), b = Get32(p + 12);
    if (!ValidRect(l, t, r, b)) continue;
    const QRect rect(l, t, r - l, b - t);
    if (!any || t != rowTop) {
      if (any && t < rowBottom) { banded = false; break; }
      closeRow();
      prevBand = any ? band : -1;
      band = bands.size();
      rowTop = t;
      rowBottom = b;
      any = true;
    } else if (b != rowBottom || l <= lastRight) {
      banded = false;
      break;
    }
    bands.push_back(rect);
    lastRight = r;
  }
  if (!banded) {
    QRegion region;
    for (int32_t i = 0; i < count; ++i) {
      const uint8_t* p = data + kHeaderSize + kRectSize * static_cast<size_t>(i);
      const int32_t l = Get32(p), t = Get32(p + 4), r = Get32(p + 8), b = Get32(p + 12);
      if (ValidRect(l, t, r, b)) region += QRect(l, t, r - l, b - t);
    }
    return region;
  }
  closeRow();
  QRegion region;
  if (!bands.isEmpty()) region.setRects(bands.constData(), static_cast<int>(bands.size()));
  return region;
}

void RegionFromMask(QRegion& region, const TBitmap& mask) {
  std::vector<uint8_t> data;
  region = MaskToRegionData(mask, 0, 0, data) == 0 ? QRegion() : RegionFromRegionData(data);
}

void FrameRegionFromMask(QRegion& region, const TPoint& LT, const TPoint& RT, const TPoint& LB, const TPoint& RB,
                         const TRect& CR, const TPoint& NLT, const TPoint& NRT, const TPoint& NLB,
                         const TPoint& NRB, const TRect& NCR, const TBitmap& mask, int w, int h) {
  region = QRegion();
  if (NRT.X < NLT.X || NLB.Y < NLT.Y) return;
  TBitmap top, left, right, bottom;  // scratch pieces
  SliceBorderImages(LT, RT, LB, RB, CR, NLT, NRT, NLB, NRB, NCR, mask, top, left, right, bottom, w, h);
  QRegion result;
  if (!RectIsEmpty(NCR) && ValidRect(NCR.Left, NCR.Top, NCR.Right, NCR.Bottom))
    result = QRegion(NCR.Left, NCR.Top, NCR.Right - NCR.Left, NCR.Bottom - NCR.Top);
  std::vector<uint8_t> data;
  auto add = [&](const TBitmap& piece, int x, int y) {
    if (piece.Empty()) return;
    if (MaskToRegionData(piece, x, y, data) != 0) result += RegionFromRegionData(data);
  };
  add(top, 0, 0);
  add(bottom, 0, NCR.Bottom);
  add(left, 0, NCR.Top);
  add(right, NCR.Right, NCR.Top);
  region = result;
}
