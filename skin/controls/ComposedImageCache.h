// The images a skinned control composed from its section's picture, kept for the next paint:
// composing a large control (a panel across the window) costs far more than drawing it.
//
// An entry is found again only for the same picture contents (QImage::cacheKey changes with
// every change of the pixels or a new picture), the same source rectangle, the same stretch
// geometry and the same size; anything else composes anew. Up to four entries (a button's
// looks) are kept, the least recently used going first. Also keeps the picture's 32-bit copy
// the images are composed from (they then go onto window surfaces without conversion).
//
// For an image whose centre is one colour, the centre is noted so that drawing can fill it
// instead of copying it. GUI thread only.
#pragma once
#include <QImage>
#include <memory>
#include <optional>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Types.h"
#include "skin/controls/SkinStretch.h"

class TCanvas;

class TComposedImageCache {
 public:
  // What an image is composed from.
  struct Key {
    qint64 picture = 0;  // cacheKey of the source picture
    TRect source;
    TPoint lefttoppoint, righttoppoint, leftbottompoint, rightbottompoint;
    TRect skinrect, clientrect;
    int stretchMode = smNone;
    int width = 0, height = 0;
    friend bool operator==(const Key&, const Key&) = default;
  };
  static Key KeyFor(const TBitmap& picture, const TRect& source, const TSkinStretch& s, int width, int height);

  // The image composed for `key`, or null.
  const TBitmap* Find(const Key& key);
  // Keeps `image` for `key`; `centre` is the part of the image that may be one colour.
  const TBitmap& Store(const Key& key, const TBitmap& image, const TRect& centre);
  // Draws `image` at (0, 0): when it is a kept image with a one-colour centre, the centre is
  // filled and only the rest copied; any other image is drawn whole. The pixels are the same.
  void Draw(TCanvas& canvas, const TBitmap& image) const;

  // The 32-bit copy of `picture` (the picture itself when it is 32-bit already). The copies
  // are shared by every cache: the controls of one skin convert each picture once.
  const TBitmap& Wide(const TBitmap& picture);

  void Clear();
  size_t Count() const { return entries_.size(); }

 private:
  struct Entry {
    Key key;
    TBitmap image;
    std::optional<QRgb> centreColour;
    TRect centre;
  };
  std::vector<Entry> entries_;  // most recently used last
  std::shared_ptr<const TBitmap> wide_;  // shared with the other caches
  qint64 wideKey_ = 0;
};
