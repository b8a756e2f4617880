// skintool pack: the two stored forms of a skin folder, as the query form's definition holds them.
#include <QDir>

#include "SkinTool.h"
#include "platform/Stream.h"
#include "skin/data/StoredSkin.h"

namespace {
int Pack(const QStringList& args);

const SkinToolCommand kPack(
    "pack", "pack [--stored] DIR OUT",
    "Without --stored: writes to the file OUT the \"CompressedData\" bytes of a compressed stored\n"
    "skin made from the skin folder DIR (DIR/SKIN.INI and its bitmaps): one zlib stream (level 9,\n"
    "starting 78 DA) whose content is version 1, the main/inactive/mask pictures with their empty\n"
    "flags, the count and the numbered pictures, then the SKIN.INI lines each ending in CR LF.\n"
    "A description without [VERSION], [PICTURES], [FORMINFO], [SKINOBJECTS] and [SKINCONTROLS]\n"
    "is refused.\n"
    "With --stored: creates the folder OUT and writes the stored skin's two properties into it:\n"
    "OUT/IniStrings.txt (the SKIN.INI lines, each ending in CR LF) and OUT/Pictures.bin (the\n"
    "\"Pictures\" block: three empty flags with their BMP images, the count, the numbered images).\n"
    "The same folder always gives the same bytes.",
    Pack);

int Pack(const QStringList& args) {
  const bool stored = !args.isEmpty() && args[0] == QLatin1String("--stored");
  const QStringList rest = stored ? args.mid(1) : args;
  if (rest.size() != 2) return SkinToolUsage(kPack);
  const QString ini = SkinToolDescriptionPath(rest[0]);
  if (!stored) {
    TbsCompressedStoredSkin skin(nullptr);
    skin.CompressFromSkinFile(ini);
    if (skin.HasNoData()) return SkinToolFail(QStringLiteral("%1 is not a skin description").arg(ini));
    const auto& b = skin.CompressedData.Bytes();
    SkinToolWriteFile(rest[1], QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size())));
    return 0;
  }
  TbsStoredSkin skin(nullptr);
  skin.LoadFromSkinFile(ini);
  if (!QDir().mkpath(rest[1])) return SkinToolFail(QStringLiteral("cannot create folder %1").arg(rest[1]));
  QByteArray lines;
  for (const QString& l : skin.IniStrings()) lines += l.toLocal8Bit() + "\r\n";
  SkinToolWriteFile(rest[1] + QStringLiteral("/IniStrings.txt"), lines);
  TMemoryStream pictures;
  skin.WritePictures(pictures);
  SkinToolWriteFile(rest[1] + QStringLiteral("/Pictures.bin"),
                    QByteArray(reinterpret_cast<const char*>(pictures.Memory()), static_cast<qsizetype>(pictures.Size())));
  return 0;
}
}  // namespace
