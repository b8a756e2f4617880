#include "platform/Colors.h"

namespace {
// The classic desktop palette, index = system colour number.
constexpr int32_t kClassic[] = {
    RGBColor(212, 208, 200),  // scroll bar
    RGBColor(58, 110, 165),   // background
    RGBColor(10, 36, 106),    // active caption
    RGBColor(128, 128, 128),  // inactive caption
    RGBColor(212, 208, 200),  // menu
    RGBColor(255, 255, 255),  // window
    RGBColor(0, 0, 0),        // window frame
    RGBColor(0, 0, 0),        // menu text
    RGBColor(0, 0, 0),        // window text
    RGBColor(255, 255, 255),  // caption text
    RGBColor(212, 208, 200),  // active border
    RGBColor(212, 208, 200),  // inactive border
    RGBColor(128, 128, 128),  // app workspace
    RGBColor(10, 36, 106),    // highlight
    RGBColor(255, 255, 255),  // highlight text
    RGBColor(212, 208, 200),  // button face
    RGBColor(128, 128, 128),  // button shadow
    RGBColor(128, 128, 128),  // gray text
    RGBColor(0, 0, 0),        // button text
    RGBColor(212, 208, 200),  // inactive caption text
    RGBColor(255, 255, 255),  // button highlight
    RGBColor(64, 64, 64),     // 3D dark shadow
    RGBColor(212, 208, 200),  // 3D light
    RGBColor(0, 0, 0),        // info text
    RGBColor(255, 255, 225),  // info background
};
}  // namespace

int32_t ColorToRGB(TColor c) {
  if (c < 0) {
    const int idx = c & 0xFF;
    if (idx < static_cast<int>(sizeof(kClassic) / sizeof(kClassic[0]))) return kClassic[idx];
    return 0;
  }
  return c & 0x00FFFFFF;
}

QColor ToQColor(TColor c) {
  const int32_t v = ColorToRGB(c);
  return QColor(GetRValue(v), GetGValue(v), GetBValue(v));
}

TColor FromQColor(const QColor& c) { return RGBColor(c.red(), c.green(), c.blue()); }
