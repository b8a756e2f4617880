// skinview's skin sources from a file a user names: the input written to a real file, once as
// a file of its own (sniffed as packed, description or neither) and once as SKIN.INI in a
// folder; then, deflated, as a packed skin's content. Reading either fails with
// ESkinSourceError or gives a source that loads into a skin data without failing and leaves
// it holding a skin: the check made when reading is the whole check.
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "SkinSource.h"
#include "platform/Stream.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinZlib.h"

namespace {
const QString& Folder() {
  static const QString folder = [] {
    QString f = QDir::temp().filePath(QStringLiteral("fuzz-skinview-%1").arg(getpid()));
    QDir().mkpath(f + QStringLiteral("/skin"));
    return f;
  }();
  return folder;
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

void Check(std::unique_ptr<TSkinSource> (*read)(const QString&, const QByteArray&), const QString& path,
           const QByteArray& bytes) {
  std::unique_ptr<TSkinSource> source;
  try {
    source = read(path, bytes);
  } catch (const ESkinSourceError&) {
    return;
  }
  if (!source) __builtin_trap();
  TbsSkinData data(nullptr);
  try {
    source->LoadInto(data);
  } catch (...) {
    __builtin_trap();
  }
  if (data.IsEmpty) __builtin_trap();
}

std::unique_ptr<TSkinSource> OpenFile(const QString& path, const QByteArray&) { return TSkinSource::Open(path); }
std::unique_ptr<TSkinSource> FromBytes(const QString& label, const QByteArray& bytes) {
  return TSkinSource::FromPacked(bytes, label);
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const QString file = Folder() + QStringLiteral("/input");
  Write(file, bytes);
  Check(OpenFile, file, bytes);
  const QString ini = Folder() + QStringLiteral("/skin/SKIN.INI");
  Write(ini, bytes);
  Check(OpenFile, Folder() + QStringLiteral("/skin"), bytes);

  TBytesStream content(data, static_cast<int64_t>(size));
  TMemoryStream packed;
  DeflateInto(content, packed);
  const QByteArray zipped(reinterpret_cast<const char*>(packed.Memory()), static_cast<qsizetype>(packed.Size()));
  Check(FromBytes, QStringLiteral("deflated input"), zipped);
  return 0;
}
