#include "platform/CursorImage.h"

#include <QGuiApplication>
#include <algorithm>
#include <cstdlib>
#include <cstring>

#if __has_include(<xcb/xfixes.h>)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>
#define LG_HAVE_XFIXES 1
#endif

namespace {
int RowBytes(int w) { return (w + 31) / 32 * 4; }
}  // namespace

int StandardCursorHeight() {
  // X cursor themes size themselves by XCURSOR_SIZE; the platform's metric is 32 otherwise.
  if (const char* s = std::getenv("XCURSOR_SIZE")) {
    const int v = std::atoi(s);
    if (v > 0 && v <= 512) return v;
  }
  return 32;
}

TCursorMask CursorMaskFromImage(const QImage& image, int hotX, int hotY) {
  TCursorMask m;
  const QImage img = image.convertToFormat(QImage::Format_ARGB32);
  const int w = std::max(img.width(), img.height());
  if (w <= 0) return m;
  m.Width = w;
  m.Height = 2 * w;
  m.HotX = hotX;
  m.HotY = hotY;
  const int r = RowBytes(w);
  m.Bits.assign(static_cast<size_t>(r) * static_cast<size_t>(m.Height), 0);
  // Rows are bottom-up: image row y of the AND image is data row (2w - 1 - y).
  for (int y = 0; y < w; ++y) {
    uint8_t* row = m.Bits.data() + static_cast<size_t>(2 * w - 1 - y) * static_cast<size_t>(r);
    std::memset(row, 0xFF, static_cast<size_t>(r));
    if (y >= img.height()) continue;
    const auto* px = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x)
      if (qAlpha(px[x]) != 0) row[x / 8] = static_cast<uint8_t>(row[x / 8] & ~(0x80u >> (x % 8)));
  }
  return m;
}

int CursorBottomOffsetFromMask(const TCursorMask& mask, int standard) {
  const int w = mask.Width;
  if (w <= 0 || mask.Height < w) return standard;
  const size_t r = static_cast<size_t>(RowBytes(w));
  const size_t block = static_cast<size_t>(w) * r;
  if (mask.Bits.size() < static_cast<size_t>(mask.Height) * r || mask.Bits.size() < block) return standard;
  // The top w rows of the image are the last w rows of the bottom-up data.
  const uint8_t* andBlock = mask.Bits.data() + (static_cast<size_t>(mask.Height) * r - block);
  size_t count = 0;
  for (size_t i = 0; i < block; ++i)
    if (andBlock[i] != 0xFF) {
      count = block - i - 1;
      break;
    }
  if (count == 0 && mask.Height >= 2 * w) {
    const uint8_t* xorBlock = andBlock - block;
    for (size_t i = 0; i < block; ++i)
      if (xorBlock[i] != 0) {
        count = block - i - 1;
        break;
      }
  }
  return static_cast<int>(count / r) - mask.HotY;
}

bool ReadCurrentCursorMask(TCursorMask& mask) {
#ifdef LG_HAVE_XFIXES
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return false;
  static bool versionAsked = false;
  if (!versionAsked) {
    versionAsked = true;
    free(xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 4, 0), nullptr));
  }
  xcb_xfixes_get_cursor_image_reply_t* reply =
      xcb_xfixes_get_cursor_image_reply(c, xcb_xfixes_get_cursor_image(c), nullptr);
  if (!reply) return false;
  const int w = reply->width, h = reply->height;
  const int len = xcb_xfixes_get_cursor_image_cursor_image_length(reply);
  bool ok = w > 0 && h > 0 && w <= 1024 && h <= 1024 && len >= w * h;
  if (ok) {
    QImage img(w, h, QImage::Format_ARGB32);
    const uint32_t* src = xcb_xfixes_get_cursor_image_cursor_image(reply);
    for (int y = 0; y < h; ++y)
      std::memcpy(img.scanLine(y), src + static_cast<size_t>(y) * static_cast<size_t>(w), static_cast<size_t>(w) * 4);
    mask = CursorMaskFromImage(img, reply->xhot, reply->yhot);
  }
  free(reply);
  return ok;
#else
  (void)mask;
  return false;
#endif
}

int CursorHeightMargin() {
  const int standard = StandardCursorHeight();
  TCursorMask mask;
  if (!ReadCurrentCursorMask(mask)) return standard;
  return CursorBottomOffsetFromMask(mask, standard);
}
