// A part of a skin picture tiled over an area, made once and kept: the backgrounds of the
// forms and pages of one skin are the same tiling cut to different sizes (tiles start at the
// top-left of every area, so each area is the top-left part of the largest one).
//
// A few tilings are kept (the newest ones); one is made again, larger, when a larger area asks
// for it. The image is 32-bit: it goes onto window surfaces as block copies. GUI thread only;
// the image stays valid until the next call.
#pragma once
#include <QImage>
#include <QRect>

// The part `from` of `picture` (inside it, not empty) tiled from (0, 0) over at least w x h.
const QImage& TiledPicture(const QImage& picture, const QRect& from, int w, int h);
