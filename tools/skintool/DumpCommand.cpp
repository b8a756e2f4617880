// skintool dump: loads a skin as the skin data component does and prints it back normalised.
#include <QFileInfo>
#include <cstdio>

#include "SkinTool.h"
#include "skin/data/SkinData.h"

namespace {
int Dump(const QStringList& args);

const SkinToolCommand kDump(
    "dump", "dump DIR|FILE",
    "Loads a skin exactly as the skin data component does (DIR: a skin folder, through a stored\n"
    "skin; FILE: a \"CompressedData\" block, through a compressed stored skin) and prints it as a\n"
    "normalised description: [VERSION], [FORMINFO], the [SKINOBJECTS] and [SKINCONTROLS] lists,\n"
    "then every object and control section as its data class writes it, in list order.\n"
    "A load failure prints the error message and exits with 1.",
    Dump);

int Dump(const QStringList& args) {
  if (args.size() != 1) return SkinToolUsage(kDump);
  TbsSkinData data(nullptr);
  const QFileInfo info(args[0]);
  const bool folder = info.isDir() || info.fileName().compare(QLatin1String("SKIN.INI"), Qt::CaseInsensitive) == 0;
  if (folder) {
    TbsStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(SkinToolDescriptionPath(args[0]));
    data.LoadFromStoredSkin(stored);
  } else {
    TbsCompressedStoredSkin compressed(nullptr);
    const QByteArray block = SkinToolReadFile(args[0]);
    TBytesStream in(block.constData(), block.size());
    compressed.ReadData(in);
    if (compressed.HasNoData()) return SkinToolFail(QStringLiteral("%1 is empty").arg(args[0]));
    data.LoadFromCompressedSkin(compressed);
  }
  if (data.IsEmpty) return SkinToolFail(QStringLiteral("%1 holds no skin").arg(args[0]));
  TMemIniFile out;
  StoreSkinDescription(data, out);
  std::fputs(out.Text().toLocal8Bit().constData(), stdout);
  return 0;
}
}  // namespace
