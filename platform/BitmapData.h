// The stored form of a bitmap property ("Glyph.Data = {...}"): one byte block holding the BMP
// file's size as a 32-bit little-endian number, then the BMP file. A control keeps one of
// these beside each stored bitmap and gives it to its class's property table.
// GUI thread only.
#pragma once
#include "platform/Component.h"

class TBitmap;
class TStream;

class TBitmapData : public TPersistent {
 public:
  explicit TBitmapData(TBitmap& bitmap) : bitmap_(bitmap) {}
  TBitmapData(const TBitmapData&) = delete;
  TBitmapData& operator=(const TBitmapData&) = delete;

  // Replaces the bitmap with the stored one. A block whose size does not match or whose BMP is
  // bad raises EReadError and leaves the bitmap as it was.
  void Read(TStream& in);
  // Writes the block; false (nothing written) for an empty bitmap.
  bool Write(TStream& out) const;

 private:
  TBitmap& bitmap_;  // the owner's
};

// Registers the "TBitmap" sub-object class (its "Data" block) for form definitions.
void RegisterBitmapDataClass();
