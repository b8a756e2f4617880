#include "BuiltInSkins.h"

#include <QFile>

#include "SkinSource.h"

namespace {
struct TBuiltIn {
  const char* caption;
  const char* resource;
};
constexpr TBuiltIn kBuiltIns[kBuiltInSkinCount] = {
    {"Ledgerly &Slate", ":/skinview/slate.skin"},
    {"Ledgerly &Daylight", ":/skinview/daylight.skin"},
};
}  // namespace

QString BuiltInSkinCaption(int index) {
  if (index < 0 || index >= kBuiltInSkinCount) return QString();
  return QString::fromUtf8(kBuiltIns[index].caption);
}

std::unique_ptr<TSkinSource> BuiltInSkin(int index) {
  if (index < 0 || index >= kBuiltInSkinCount) throw ESkinSourceError(QStringLiteral("There is no built-in skin %1.").arg(index));
  const QString name = QString::fromLatin1(kBuiltIns[index].resource);
  QFile f(name);
  if (!f.open(QIODevice::ReadOnly)) throw ESkinSourceError(QStringLiteral("The built-in skin %1 is missing.").arg(name));
  return TSkinSource::FromPacked(f.readAll(), name);
}
