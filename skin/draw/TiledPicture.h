// A part of a skin picture tiled into a band, made once and kept: the backgrounds of the forms
// and pages of one skin are the same tiling cut to different sizes (tiles start at the
// top-left of every area). The band is as wide as the widest area asked for and a whole
// number of tiles high; an area is painted by laying the band down again and again
// (DrawTiledPicture).
//
// A few bands are kept (the newest ones); one is made again, wider, when a wider area asks for
// it. The band is 32-bit: it goes onto window surfaces as block copies. GUI thread only; the
// image stays valid until the next call.
#pragma once
#include <QImage>
#include <QPainter>
#include <QRect>

// The part `from` of `picture` (inside it, not empty) tiled from (0, 0): at least w pixels wide.
const QImage& TiledPicture(const QImage& picture, const QRect& from, int w);
// Paints that tiling over (0, 0, w, h) with `painter`.
void DrawTiledPicture(QPainter& painter, const QImage& picture, const QRect& from, int w, int h);
