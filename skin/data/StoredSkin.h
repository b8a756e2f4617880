// The two components that carry a skin inside a form definition.
//
// TbsStoredSkin keeps the description lines (IniStrings) and the pictures ("Pictures" block:
// per main picture, inactive picture and mask one empty flag byte and, when 0, a BMP image;
// then a 32-bit count and that many BMP images).
// TbsCompressedStoredSkin keeps everything as one zlib stream ("CompressedData") whose content
// is: 32-bit version 1, the three flag-and-image pairs, the 32-bit count and images, then the
// description lines each followed by CR LF.
#pragma once
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Component.h"
#include "platform/Stream.h"

using TBitmapList = std::vector<std::unique_ptr<TBitmap>>;  // owns its bitmaps

// Lines of a text file as the platform's text list reads them (8-bit local code page; CR LF,
// CR or LF end a line). Fails with EFOpenError when the file cannot be read.
QStringList LoadTextLines(const QString& path);
QStringList SplitTextLines(const QByteArray& bytes);

// Picture parts shared by both layouts.
void ReadFlaggedBitmap(TStream& s, TBitmap& bmp);
void WriteFlaggedBitmap(TStream& s, const TBitmap& bmp);
// Reads the 32-bit count and that many images into `list` (emptied first).
void ReadBitmapList(TStream& s, TBitmapList& list);

class TbsStoredSkin : public TComponent {
 public:
  explicit TbsStoredSkin(TComponent* owner);
  QString ClassName() const override { return QStringLiteral("TbsStoredSkin"); }

  const QString& FileName() const { return fileName_; }
  // While restoring or outside design mode only stores the value; in design mode keeps the
  // file name alone and loads the skin folder the full path points into.
  void SetFileName(const QString& value);
  const QStringList& IniStrings() const { return iniStrings_; }
  void SetIniStrings(const QStringList& lines) { iniStrings_ = lines; }

  // Fills the component from a skin folder's description file and the bitmaps it names.
  void LoadFromSkinFile(const QString& path);

  // The "Pictures" byte block.
  void ReadPictures(TStream& s);
  void WritePictures(TStream& s) const;

  TBitmap picture;
  TBitmap inactivepicture;
  TBitmap mask;
  TBitmapList activepictures;

 private:
  QString fileName_;
  QStringList iniStrings_;
};

class TbsCompressedStoredSkin : public TComponent {
 public:
  explicit TbsCompressedStoredSkin(TComponent* owner);
  QString ClassName() const override { return QStringLiteral("TbsCompressedStoredSkin"); }

  const QString& FileName() const { return fileName_; }
  // As TbsStoredSkin::SetFileName, compressing the skin folder in design mode.
  void SetFileName(const QString& value);

  // Builds the compressed block from a skin folder; a description without the five required
  // sections is refused silently and the old block stays.
  void CompressFromSkinFile(const QString& path);
  bool HasNoData() const { return CompressedData.Bytes().empty(); }
  // Inflates the whole block into `target`, appending at its position.
  void UnpackTo(TStream& target);

  // The "CompressedData" byte block: the zlib stream, copied unchanged both ways.
  void ReadData(TStream& s);
  void WriteData(TStream& s) const;

  TMemoryStream CompressedData;

 private:
  QString fileName_;
};
