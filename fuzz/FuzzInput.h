// What the skin fuzzers share: the check that stops a run, a reader of values from the input,
// and small pictures of any size and depth made from it.
#pragma once
#include <QByteArray>
#include <QImage>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/Bitmap.h"
#include "platform/Forms.h"

inline void Check(bool ok) {
  if (!ok) __builtin_trap();
}

// Reads values from the input; past its end every value is 0.
struct Reader {
  const uint8_t* p;
  size_t n;
  uint8_t Byte() {
    if (n == 0) return 0;
    --n;
    return *p++;
  }
  int U16() {
    const int hi = Byte();
    return hi << 8 | Byte();
  }
};

// The input as the skin fuzzers take it: a description text up to the first NUL byte (the whole
// input without one), and the bytes after that NUL for the reader.
struct TSplitInput {
  QByteArray Text;
  Reader Rest;
};
inline TSplitInput SplitAtNul(const uint8_t* data, size_t size) {
  const auto* nul = static_cast<const uint8_t*>(memchr(data, 0, size));
  const size_t textSize = nul ? static_cast<size_t>(nul - data) : size;
  return {QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(textSize)),
          Reader{data + textSize + (nul ? 1 : 0), nul ? size - textSize - 1 : 0}};
}

// The application object of a fuzzer that shows windows, on the offscreen platform; made once
// (from LLVMFuzzerInitialize) and kept for the whole run.
inline TApplication* StartOffscreenApplication(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static TApplication* app = new TApplication(*argc, *argv);
  return app;
}

// A picture of up to 64 x 64 pixels: width, height, kind, a pattern of 1 to 8 bytes.
inline TBitmap Picture(Reader& r) {
  const int w = r.Byte() % 65, h = r.Byte() % 65;
  const uint8_t kind = r.Byte();
  const int len = r.Byte() % 8 + 1;
  uint8_t pat[8];
  for (int i = 0; i < len; ++i) pat[i] = r.Byte();
  if (w == 0 || h == 0) return TBitmap();
  QImage img(w, h, QImage::Format_RGB888);
  for (int y = 0; y < h; ++y) {
    uint8_t* row = img.scanLine(y);
    for (int x = 0; x < w; ++x) {
      uint8_t* px = row + 3 * x;
      const int i = x + y * w;
      switch (kind % 4) {
        case 0:  // one colour
          px[0] = pat[0], px[1] = pat[1 % len], px[2] = pat[2 % len];
          break;
        case 1: {  // black and white from the pattern's bits
          const int bit = i % (8 * len);
          const uint8_t v = (pat[bit / 8] >> (bit % 8)) & 1 ? 0 : 255;
          px[0] = px[1] = px[2] = v;
          break;
        }
        case 2:  // colours from the pattern
          px[0] = pat[(3 * i) % len], px[1] = pat[(3 * i + 1) % len], px[2] = pat[(3 * i + 2) % len];
          break;
        default: {  // black with white corners cut off, as a frame mask is
          const int k = pat[0] % 16;
          const bool cut = x + y < k || (w - 1 - x) + y < k || x + (h - 1 - y) < k || (w - 1 - x) + (h - 1 - y) < k;
          px[0] = px[1] = px[2] = cut ? 255 : 0;
          break;
        }
      }
    }
  }
  TBitmap b;
  switch ((kind >> 2) % 4) {
    case 1:
      b.SetImage(img.convertToFormat(QImage::Format_Indexed8));
      break;
    case 2:
      b.SetImage(img.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither));
      break;
    default:
      b.SetImage(img);
      break;
  }
  return b;
}
