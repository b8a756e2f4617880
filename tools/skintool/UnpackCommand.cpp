// skintool unpack: a "CompressedData" block back into a skin folder.
#include <QDir>
#include <QFileInfo>

#include "SkinTool.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "skin/data/SkinIni.h"
#include "skin/data/StoredSkin.h"

namespace {
int Unpack(const QStringList& args);

const SkinToolCommand kUnpack(
    "unpack", "unpack FILE OUTDIR",
    "Inflates the \"CompressedData\" block in FILE and writes the skin folder OUTDIR: SKIN.INI\n"
    "and every picture as a BMP file under the name its [PICTURES] entry gives (the folder part\n"
    "of a name is dropped; an unnamed picture is written as picture.bmp, inactivepicture.bmp,\n"
    "mask.bmp or <index>.bmp).",
    Unpack);

// A file name inside OUTDIR for a picture name from the description; never leaves the folder.
QString SafeName(const QString& name, const QString& fallback) {
  QString n = QFileInfo(QString(name).replace(u'\\', u'/')).fileName();
  if (n.isEmpty() || n == QLatin1String(".") || n == QLatin1String("..")) n = fallback;
  return n;
}

int Unpack(const QStringList& args) {
  if (args.size() != 2) return SkinToolUsage(kUnpack);
  const QByteArray block = SkinToolReadFile(args[0]);
  TbsCompressedStoredSkin skin(nullptr);
  TBytesStream in(block.constData(), block.size());
  skin.ReadData(in);
  TMemoryStream content;
  skin.UnpackTo(content);
  content.SetPosition(0);
  int32_t version = 0;
  content.ReadBuffer(&version, 4);
  if (version != 1) return SkinToolFail(QStringLiteral("unknown content version %1").arg(version));
  TBitmap main, inactive, mask;
  ReadFlaggedBitmap(content, main);
  ReadFlaggedBitmap(content, inactive);
  ReadFlaggedBitmap(content, mask);
  TBitmapList numbered;
  ReadBitmapList(content, numbered);
  const int64_t at = content.Position();
  const QByteArray text(reinterpret_cast<const char*>(content.Memory() + at), static_cast<qsizetype>(content.Size() - at));
  TMemIniFile ini;
  ini.SetStrings(SplitTextLines(text));

  if (!QDir().mkpath(args[1])) return SkinToolFail(QStringLiteral("cannot create folder %1").arg(args[1]));
  const QString dir = args[1] + u'/';
  SkinToolWriteFile(dir + QStringLiteral("SKIN.INI"), text);
  const QString pics = QStringLiteral("PICTURES");
  const struct {
    const char* key;
    const TBitmap& bmp;
  } mains[] = {{"picture", main}, {"inactivepicture", inactive}, {"mask", mask}};
  for (const auto& m : mains) {
    if (m.bmp.Empty()) continue;
    const QString name = ini.ReadString(pics, QLatin1String(m.key), QString());
    m.bmp.SaveToFile(dir + SafeName(name, QLatin1String(m.key) + QStringLiteral(".bmp")));
  }
  QStringList names;
  SkinIniReadList(ini, pics, QStringLiteral("activepictures"), names);
  for (size_t i = 0; i < numbered.size(); ++i) {
    const QString name = i < static_cast<size_t>(names.size()) ? names[static_cast<qsizetype>(i)] : QString();
    numbered[i]->SaveToFile(dir + SafeName(name, QStringLiteral("%1.bmp").arg(i)));
  }
  return 0;
}
}  // namespace
