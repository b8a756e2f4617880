// The small pictures skinview gives its controls: button and panel glyph strips, the popup
// menu's images and the tray icon. Drawn here, so the program carries no image files.
#pragma once
#include <QImage>

#include "platform/Bitmap.h"

enum class TArtKind { akOpen, akSave, akStar, akHeart, akArrow, akCross };

// A glyph strip of `frames` 16 x 16 frames of `kind` (normal, greyed for disabled, then a
// pressed and a hot look): the bottom-left pixel's colour is the transparent one.
TBitmap GlyphStrip(TArtKind kind, int frames);
// A 16 x 16 image with transparency for image lists.
QImage MenuImage(TArtKind kind);
// The tray icon and window icon: 32 x 32.
QImage ViewerIcon();
