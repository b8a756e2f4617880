#include "skin/data/StoredSkin.h"

#include <QFile>
#include <QFileInfo>

#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinZlib.h"

QStringList SplitTextLines(const QByteArray& bytes) {
  const QString text = QString::fromLocal8Bit(bytes);
  QStringList lines;
  qsizetype start = 0;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (c == u'\r' || c == u'\n') {
      lines.append(text.mid(start, i - start));
      if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
      start = i + 1;
    }
  }
  if (start < n) lines.append(text.mid(start));
  return lines;
}

QStringList LoadTextLines(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, f.errorString()));
  return SplitTextLines(f.readAll());
}

namespace {
QString FolderOf(const QString& path) {
  const qsizetype slash = path.lastIndexOf(u'/');
  return slash < 0 ? QString() : path.left(slash + 1);
}

void LoadPictureOrEmpty(TBitmap& bmp, const QString& folder, const QString& name) {
  if (name.isEmpty()) bmp.Clear();
  else bmp.LoadFromFile(folder + name);
}

const QString kPictures = QStringLiteral("PICTURES");
}  // namespace

void ReadFlaggedBitmap(TStream& s, TBitmap& bmp) {
  uint8_t flag;
  s.ReadBuffer(&flag, 1);
  if (flag != 0) bmp.Clear();
  else bmp.LoadFromStream(s);
}

void WriteFlaggedBitmap(TStream& s, const TBitmap& bmp) {
  const uint8_t flag = bmp.Empty() ? 1 : 0;
  s.WriteBuffer(&flag, 1);
  if (!bmp.Empty()) bmp.SaveToStream(s);
}

void ReadBitmapList(TStream& s, TBitmapList& list) {
  list.clear();
  int32_t count;
  s.ReadBuffer(&count, 4);
  for (int32_t i = 0; i < count; ++i) {
    list.push_back(std::make_unique<TBitmap>());
    list.back()->LoadFromStream(s);
  }
}

TbsStoredSkin::TbsStoredSkin(TComponent* owner) : TComponent(owner) {}

void TbsStoredSkin::SetFileName(const QString& value) {
  if (IsLoading() || !IsDesigning()) {
    fileName_ = value;
    return;
  }
  fileName_ = QFileInfo(value).fileName();
  LoadFromSkinFile(value);
}

void TbsStoredSkin::LoadFromSkinFile(const QString& path) {
  iniStrings_ = LoadTextLines(path);
  const QString folder = FolderOf(path);
  TMemIniFile ini;
  ini.SetStrings(iniStrings_);
  LoadPictureOrEmpty(picture, folder, ini.ReadString(kPictures, QStringLiteral("picture"), QString()));
  LoadPictureOrEmpty(inactivepicture, folder, ini.ReadString(kPictures, QStringLiteral("inactivepicture"), QString()));
  LoadPictureOrEmpty(mask, folder, ini.ReadString(kPictures, QStringLiteral("mask"), QString()));
  QStringList names;
  SkinIniReadList(ini, kPictures, QStringLiteral("activepictures"), names);
  activepictures.clear();
  for (const QString& name : names) {
    activepictures.push_back(std::make_unique<TBitmap>());
    activepictures.back()->LoadFromFile(folder + name);
  }
}

void TbsStoredSkin::ReadPictures(TStream& s) {
  ReadFlaggedBitmap(s, picture);
  ReadFlaggedBitmap(s, inactivepicture);
  ReadFlaggedBitmap(s, mask);
  ReadBitmapList(s, activepictures);
}

void TbsStoredSkin::WritePictures(TStream& s) const {
  WriteFlaggedBitmap(s, picture);
  WriteFlaggedBitmap(s, inactivepicture);
  WriteFlaggedBitmap(s, mask);
  const int32_t count = static_cast<int32_t>(activepictures.size());
  s.WriteBuffer(&count, 4);
  for (const auto& b : activepictures) b->SaveToStream(s);
}

TbsCompressedStoredSkin::TbsCompressedStoredSkin(TComponent* owner) : TComponent(owner) {}

void TbsCompressedStoredSkin::SetFileName(const QString& value) {
  if (IsLoading() || !IsDesigning()) {
    fileName_ = value;
    return;
  }
  fileName_ = QFileInfo(value).fileName();
  CompressFromSkinFile(value);
}

void TbsCompressedStoredSkin::CompressFromSkinFile(const QString& path) {
  const QStringList lines = LoadTextLines(path);
  TMemIniFile ini;
  ini.SetStrings(lines);
  if (!HasSkinSections(ini)) return;
  const QString folder = FolderOf(path);

  // Build the whole content first, so a failure leaves the old block in place.
  TMemoryStream content;
  const int32_t version = 1;
  content.WriteBuffer(&version, 4);
  TBitmap scratch;
  for (const char* key : {"picture", "inactivepicture", "mask"}) {
    LoadPictureOrEmpty(scratch, folder, ini.ReadString(kPictures, QString::fromLatin1(key), QString()));
    WriteFlaggedBitmap(content, scratch);
  }
  QStringList names;
  SkinIniReadList(ini, kPictures, QStringLiteral("activepictures"), names);
  const int32_t count = static_cast<int32_t>(names.size());
  content.WriteBuffer(&count, 4);
  for (const QString& name : names) {
    scratch.LoadFromFile(folder + name);
    scratch.SaveToStream(content);
  }
  for (const QString& line : lines) {
    const QByteArray b = line.toLocal8Bit() + "\r\n";
    content.WriteBuffer(b.constData(), b.size());
  }
  TMemoryStream packed;
  DeflateInto(content, packed);
  CompressedData.Clear();
  CompressedData.WriteBuffer(packed.Memory(), packed.Size());
  CompressedData.SetPosition(0);
}

void TbsCompressedStoredSkin::UnpackTo(TStream& target) { InflateInto(target, CompressedData); }

void TbsCompressedStoredSkin::ReadData(TStream& s) {
  CompressedData.Clear();
  const int64_t n = s.Size() - s.Position();
  if (n > 0) CompressedData.CopyFrom(s, n);
  CompressedData.SetPosition(0);
}

void TbsCompressedStoredSkin::WriteData(TStream& s) const {
  if (!CompressedData.Bytes().empty())
    s.WriteBuffer(CompressedData.Memory(), static_cast<int64_t>(CompressedData.Bytes().size()));
}
