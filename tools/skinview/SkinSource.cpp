#include "SkinSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <new>

#include "platform/IniFile.h"
#include "platform/Stream.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"

namespace {
const QString kDescription = QStringLiteral("SKIN.INI");
// Packed files larger than this are no skin a user made (the product's are below 200 KB).
constexpr qint64 kMaxPackedSize = qint64{256} << 20;

[[noreturn]] void Fail(const QString& message) { throw ESkinSourceError(message); }

// The description of a packed skin: the text behind the pictures of the inflated block.
// Reads the pictures with the skin data's own readers on the way.
QString PackedDescription(TbsCompressedStoredSkin& packed, int32_t& version) {
  TMemoryStream content;
  packed.UnpackTo(content);
  content.SetPosition(0);
  version = 0;
  content.ReadBuffer(&version, 4);
  if (version != 1) return QString();
  TBitmap picture;
  for (int i = 0; i < 3; ++i) ReadFlaggedBitmap(content, picture);
  TBitmapList pictures;
  ReadBitmapList(content, pictures);
  const int64_t at = content.Position();
  return QString::fromLocal8Bit(reinterpret_cast<const char*>(content.Memory() + at),
                                static_cast<qsizetype>(content.Size() - at));
}

// The sections a description needs before the skin data takes it, that `ini` lacks.
QStringList MissingSections(const TMemIniFile& ini) {
  QStringList missing;
  for (const char* s : {"VERSION", "PICTURES", "FORMINFO", "SKINOBJECTS", "SKINCONTROLS"})
    if (!ini.SectionExists(QLatin1String(s))) missing << QStringLiteral("[%1]").arg(QLatin1String(s));
  return missing;
}

void RequireSections(const QString& label, const TMemIniFile& ini) {
  const QStringList missing = MissingSections(ini);
  if (missing.isEmpty()) return;
  Fail(QStringLiteral("\"%1\" is not a complete skin: it has no %2 section%3.")
           .arg(label, missing.join(QStringLiteral(", ")), missing.size() > 1 ? QStringLiteral("s") : QString()));
}
}  // namespace

TSkinSourceKind DetectSkinBytes(const QByteArray& head) {
  if (head.size() < 2) return TSkinSourceKind::sskBad;
  const auto b0 = static_cast<uint8_t>(head[0]), b1 = static_cast<uint8_t>(head[1]);
  // A zlib stream: deflate method, a window of at most 32 KB, a header check that adds up.
  if ((b0 & 0x0F) == 8 && (b0 >> 4) <= 7 && (b0 * 256 + b1) % 31 == 0) return TSkinSourceKind::sskPacked;
  // A description text: its first character that is not blank opens a section or a comment.
  for (const char c : head) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
    return c == '[' || c == ';' ? TSkinSourceKind::sskFolder : TSkinSourceKind::sskBad;
  }
  return TSkinSourceKind::sskBad;
}

TSkinSourceKind DetectSkinSource(const QString& path) {
  const QFileInfo info(path);
  if (info.isDir()) return TSkinSourceKind::sskFolder;
  if (!info.isFile()) return TSkinSourceKind::sskBad;
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return TSkinSourceKind::sskBad;
  QByteArray head = f.read(64);
  // A UTF-8 byte order mark before a description.
  if (head.startsWith("\xEF\xBB\xBF")) head.remove(0, 3);
  return DetectSkinBytes(head);
}

TSkinSource::~TSkinSource() = default;

std::unique_ptr<TSkinSource> TSkinSource::Open(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) Fail(QStringLiteral("\"%1\" does not exist.").arg(path));
  switch (DetectSkinSource(path)) {
    case TSkinSourceKind::sskBad:
      if (!info.isReadable()) Fail(QStringLiteral("\"%1\" cannot be read.").arg(path));
      Fail(QStringLiteral("\"%1\" is not a skin: neither a skin folder, its SKIN.INI nor a packed skin file.").arg(path));
    case TSkinSourceKind::sskPacked: {
      if (info.size() > kMaxPackedSize) Fail(QStringLiteral("\"%1\" is too large for a packed skin.").arg(path));
      QFile f(path);
      if (!f.open(QIODevice::ReadOnly)) Fail(QStringLiteral("\"%1\" cannot be read: %2").arg(path, f.errorString()));
      return FromPackedFile(f.readAll(), path);
    }
    case TSkinSourceKind::sskFolder:
      break;
  }
  const QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
  const QString ini = info.isDir() ? QDir(folder).filePath(kDescription) : info.absoluteFilePath();
  if (!QFileInfo(ini).isFile()) Fail(QStringLiteral("The folder \"%1\" holds no %2: it is not a skin folder.").arg(folder, kDescription));
  std::unique_ptr<TSkinSource> s(new TSkinSource);
  s->kind_ = TSkinSourceKind::sskFolder;
  s->label_ = info.isDir() ? path : ini;
  s->folder_ = std::make_unique<TbsStoredSkin>(nullptr);
  try {
    s->folder_->LoadFromSkinFile(ini);
  } catch (const Exception& e) {
    Fail(QStringLiteral("Cannot read the skin \"%1\": %2").arg(s->label_, e.Message()));
  }
  TMemIniFile description;
  description.SetStrings(s->folder_->IniStrings());
  RequireSections(s->label_, description);
  s->Check();
  return s;
}

std::unique_ptr<TSkinSource> TSkinSource::FromPacked(const QByteArray& bytes, const QString& label) {
  if (DetectSkinBytes(bytes) != TSkinSourceKind::sskPacked)
    Fail(QStringLiteral("\"%1\" is not a packed skin.").arg(label));
  return FromPackedFile(bytes, label);
}

std::unique_ptr<TSkinSource> TSkinSource::FromPackedFile(const QByteArray& bytes, const QString& label) {
  std::unique_ptr<TSkinSource> s(new TSkinSource);
  s->kind_ = TSkinSourceKind::sskPacked;
  s->label_ = label;
  s->packed_ = std::make_unique<TbsCompressedStoredSkin>(nullptr);
  TBytesStream in(bytes.constData(), bytes.size());
  s->packed_->ReadData(in);
  int32_t version = 0;
  QString text;
  try {
    text = PackedDescription(*s->packed_, version);
  } catch (const std::bad_alloc&) {
    Fail(QStringLiteral("Cannot read the packed skin \"%1\": it asks for more memory than there is.").arg(label));
  } catch (const Exception& e) {
    Fail(QStringLiteral("Cannot read the packed skin \"%1\": it is damaged or cut short (%2).").arg(label, e.Message()));
  }
  if (version != 1) Fail(QStringLiteral("\"%1\" is a packed skin of an unknown version (%2).").arg(label).arg(version));
  RequireSections(label, TMemIniFile(text));
  s->Check();
  return s;
}

void TSkinSource::Check() {
  TbsSkinData scratch(nullptr);
  try {
    LoadInto(scratch);
  } catch (const std::bad_alloc&) {
    Fail(QStringLiteral("Cannot load the skin \"%1\": it asks for more memory than there is.").arg(label_));
  } catch (const Exception& e) {
    Fail(QStringLiteral("Cannot load the skin \"%1\": %2").arg(label_, e.Message()));
  }
  if (scratch.IsEmpty) Fail(QStringLiteral("\"%1\" holds no skin.").arg(label_));
  skinName_ = scratch.skinname.trimmed();
  skinAuthor_ = scratch.skinauthor.trimmed();
  if (skinName_.isEmpty()) {
    QString l = label_;
    while (l.endsWith(u'/')) l.chop(1);
    skinName_ = QFileInfo(l).fileName();
    if (skinName_.compare(kDescription, Qt::CaseInsensitive) == 0) skinName_ = QFileInfo(QFileInfo(l).path()).fileName();
  }
}

void TSkinSource::LoadInto(TbsSkinData& data) const {
  if (folder_) data.LoadFromStoredSkin(*folder_);
  if (packed_) data.LoadFromCompressedSkin(*packed_);
}
