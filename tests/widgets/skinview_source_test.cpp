// Where skinview takes its skins from: what a path names (a skin folder, its SKIN.INI, a packed
// skin file or nothing that can be a skin), skins read from real folders and packed files into
// the same skin data a direct load gives, and every kind of bad input failing with a message
// that names the file and the fault, before anything reaches a live skin.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "BuiltInSkins.h"
#include "SkinSource.h"
#include "platform/Stream.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinZlib.h"
#include "skin/data/StoredSkin.h"
#include "tests/TestUtil.h"

namespace {

QString SkinFolder(const char* name) { return SourceDir() + QStringLiteral("/skins/") + QLatin1String(name); }

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The packed form of a skin folder, as `skintool pack` writes it.
QByteArray Packed(const QString& folder) {
  TbsCompressedStoredSkin packed(nullptr);
  packed.CompressFromSkinFile(folder + QStringLiteral("/SKIN.INI"));
  const auto& b = packed.CompressedData.Bytes();
  return QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size()));
}

// A copy of a skin folder whose SKIN.INI went through `edit`.
QString EditedCopy(const QTemporaryDir& tmp, const char* skin, const QString& name,
                   const std::function<QByteArray(QByteArray)>& edit) {
  const QString to = tmp.filePath(name);
  QDir().mkpath(to);
  const QDir from(SkinFolder(skin));
  for (const QString& f : from.entryList(QDir::Files)) QFile::copy(from.filePath(f), to + u'/' + f);
  QFile::remove(to + QStringLiteral("/SKIN.INI"));
  WriteFile(to + QStringLiteral("/SKIN.INI"), edit(ReadFile(from.filePath(QStringLiteral("SKIN.INI")))));
  return to;
}

// The message Open gives for `path`, or "" when it read the skin.
QString Failure(const QString& path) {
  try {
    TSkinSource::Open(path);
  } catch (const ESkinSourceError& e) {
    return e.Message();
  }
  return QString();
}

// Removes section `name` with its keys from a description.
QByteArray WithoutSection(QByteArray text, const QByteArray& name) {
  const qsizetype at = text.indexOf("[" + name + "]");
  if (at < 0) return text;
  const qsizetype next = text.indexOf("\n[", at + 1);
  text.remove(at, (next < 0 ? text.size() : next + 1) - at);
  return text;
}

TEST(SkinViewSource, TellsFoldersPackedFilesAndOtherFilesApart) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  EXPECT_EQ(DetectSkinSource(SkinFolder("slate")), TSkinSourceKind::sskFolder);
  EXPECT_EQ(DetectSkinSource(SkinFolder("slate") + QStringLiteral("/SKIN.INI")), TSkinSourceKind::sskFolder);
  // A folder is a folder even without its description; reading it says what is missing.
  EXPECT_EQ(DetectSkinSource(tmp.path()), TSkinSourceKind::sskFolder);
  const QString packed = tmp.filePath(QStringLiteral("slate.skin"));
  WriteFile(packed, Packed(SkinFolder("slate")));
  EXPECT_EQ(DetectSkinSource(packed), TSkinSourceKind::sskPacked);
  // A description with a byte order mark and blank lines before its first section.
  const QString bom = tmp.filePath(QStringLiteral("bom.ini"));
  WriteFile(bom, "\xEF\xBB\xBF\r\n  [VERSION]\r\nskinname=x\r\n");
  EXPECT_EQ(DetectSkinSource(bom), TSkinSourceKind::sskFolder);
  // A bitmap, a text, an empty file and a path that is not there are no skins.
  EXPECT_EQ(DetectSkinSource(SkinFolder("slate") + QStringLiteral("/main.bmp")), TSkinSourceKind::sskBad);
  const QString text = tmp.filePath(QStringLiteral("notes.txt"));
  WriteFile(text, "Hello, this is not a skin.\n");
  EXPECT_EQ(DetectSkinSource(text), TSkinSourceKind::sskBad);
  const QString empty = tmp.filePath(QStringLiteral("empty.skin"));
  WriteFile(empty, QByteArray());
  EXPECT_EQ(DetectSkinSource(empty), TSkinSourceKind::sskBad);
  EXPECT_EQ(DetectSkinSource(tmp.filePath(QStringLiteral("gone"))), TSkinSourceKind::sskBad);
  // Two bytes that only look like a zlib header when their check adds up.
  EXPECT_EQ(DetectSkinBytes(QByteArray("\x78\xDA", 2)), TSkinSourceKind::sskPacked);
  EXPECT_EQ(DetectSkinBytes(QByteArray("\x78\xDB", 2)), TSkinSourceKind::sskBad);
  EXPECT_EQ(DetectSkinBytes(QByteArray("\x78", 1)), TSkinSourceKind::sskBad);
}

TEST(SkinViewSource, FoldersPackedFilesAndBuiltInSkinsLoadAsADirectLoadDoes) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  for (const char* skin : {"slate", "daylight"}) {
    TbsSkinData direct(nullptr);
    {
      TbsStoredSkin stored(nullptr);
      stored.LoadFromSkinFile(SkinFolder(skin) + QStringLiteral("/SKIN.INI"));
      direct.LoadFromStoredSkin(stored);
    }
    const QString packedPath = tmp.filePath(QLatin1String(skin) + QStringLiteral(".skin"));
    WriteFile(packedPath, Packed(SkinFolder(skin)));
    const int builtIn = QLatin1String(skin) == QLatin1String("slate") ? 0 : 1;
    std::vector<std::unique_ptr<TSkinSource>> sources;
    sources.push_back(TSkinSource::Open(SkinFolder(skin)));
    sources.push_back(TSkinSource::Open(SkinFolder(skin) + QStringLiteral("/SKIN.INI")));
    sources.push_back(TSkinSource::Open(packedPath));
    sources.push_back(BuiltInSkin(builtIn));
    EXPECT_EQ(sources[0]->Kind(), TSkinSourceKind::sskFolder);
    EXPECT_EQ(sources[2]->Kind(), TSkinSourceKind::sskPacked);
    EXPECT_EQ(sources[2]->Label(), packedPath);
    for (const auto& s : sources) {
      SCOPED_TRACE(s->Label().toStdString());
      EXPECT_EQ(s->SkinName(), direct.skinname);
      EXPECT_EQ(s->SkinAuthor(), QStringLiteral("Ledgerly"));
      TbsSkinData data(nullptr);
      s->LoadInto(data);
      ASSERT_FALSE(data.IsEmpty);
      EXPECT_EQ(data.picture.Image(), direct.picture.Image());
      EXPECT_EQ(data.mask.Image(), direct.mask.Image());
      ASSERT_EQ(data.activepictures.size(), direct.activepictures.size());
      for (size_t i = 0; i < data.activepictures.size(); ++i)
        EXPECT_EQ(data.activepictures[i]->Image(), direct.activepictures[i]->Image()) << i;
      ASSERT_EQ(data.SkinControls.size(), direct.SkinControls.size());
      for (size_t i = 0; i < data.SkinControls.size(); ++i)
        EXPECT_EQ(data.SkinControls[i]->SectionName, direct.SkinControls[i]->SectionName);
      EXPECT_EQ(data.SkinObjects.size(), direct.SkinObjects.size());
      EXPECT_EQ(data.clientrect, direct.clientrect);
    }
  }
  EXPECT_EQ(BuiltInSkinCaption(0), QStringLiteral("Ledgerly &Slate"));
  EXPECT_EQ(BuiltInSkinCaption(1), QStringLiteral("Ledgerly &Daylight"));
  EXPECT_THROW(BuiltInSkin(2), ESkinSourceError);
}

TEST(SkinViewSource, BadInputFailsWithTheFileAndTheFault) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  const QByteArray packed = Packed(SkinFolder("slate"));
  ASSERT_GT(packed.size(), 1000);

  // Not there, not a skin, empty.
  const QString gone = tmp.filePath(QStringLiteral("gone.skin"));
  EXPECT_EQ(Failure(gone), QStringLiteral("\"%1\" does not exist.").arg(gone));
  const QString text = tmp.filePath(QStringLiteral("notes.txt"));
  WriteFile(text, "Hello, this is not a skin.\n");
  EXPECT_TRUE(Failure(text).startsWith(QStringLiteral("\"%1\" is not a skin").arg(text))) << Failure(text).toStdString();
  const QString empty = tmp.filePath(QStringLiteral("empty.skin"));
  WriteFile(empty, QByteArray());
  EXPECT_TRUE(Failure(empty).contains(QStringLiteral("is not a skin")));

  // A folder without its description.
  const QString bare = tmp.filePath(QStringLiteral("bare"));
  QDir().mkpath(bare);
  EXPECT_EQ(Failure(bare), QStringLiteral("The folder \"%1\" holds no SKIN.INI: it is not a skin folder.")
                               .arg(QFileInfo(bare).absoluteFilePath()));

  // A packed file cut short at several places, and one whose stream is damaged inside.
  for (const qsizetype keep : {qsizetype(2), qsizetype(40), packed.size() / 2, packed.size() - 1}) {
    const QString cut = tmp.filePath(QStringLiteral("cut%1.skin").arg(keep));
    WriteFile(cut, packed.left(keep));
    EXPECT_TRUE(Failure(cut).startsWith(QStringLiteral("Cannot read the packed skin \"%1\": it is damaged or cut short").arg(cut)))
        << keep << ": " << Failure(cut).toStdString();
  }
  QByteArray damaged = packed;
  for (qsizetype i = 100; i < 400; ++i) damaged[i] = static_cast<char>(damaged[i] ^ 0x5A);
  const QString damagedPath = tmp.filePath(QStringLiteral("damaged.skin"));
  WriteFile(damagedPath, damaged);
  EXPECT_FALSE(Failure(damagedPath).isEmpty());

  // A packed skin of another version.
  {
    QByteArray content(4, '\0');
    content[0] = 2;
    content += "[VERSION]\r\n";
    TBytesStream in(content.constData(), content.size());
    TMemoryStream out;
    DeflateInto(in, out);
    const QString v2 = tmp.filePath(QStringLiteral("v2.skin"));
    WriteFile(v2, QByteArray(reinterpret_cast<const char*>(out.Memory()), static_cast<qsizetype>(out.Size())));
    EXPECT_EQ(Failure(v2), QStringLiteral("\"%1\" is a packed skin of an unknown version (2).").arg(v2));
  }

  // A description without [FORMINFO], without two sections, and one naming a bitmap that is not there.
  const QString noForm = EditedCopy(tmp, "slate", QStringLiteral("noform"), [](QByteArray t) { return WithoutSection(t, "FORMINFO"); });
  EXPECT_EQ(Failure(noForm), QStringLiteral("\"%1\" is not a complete skin: it has no [FORMINFO] section.").arg(noForm));
  const QString noTwo = EditedCopy(tmp, "daylight", QStringLiteral("notwo"), [](QByteArray t) {
    return WithoutSection(WithoutSection(t, "VERSION"), "SKINCONTROLS");
  });
  EXPECT_EQ(Failure(noTwo), QStringLiteral("\"%1\" is not a complete skin: it has no [VERSION], [SKINCONTROLS] sections.").arg(noTwo));
  const QString noBitmap = EditedCopy(tmp, "slate", QStringLiteral("nobitmap"), [](QByteArray t) {
    return t.replace("1=panels.bmp", "1=missing.bmp");
  });
  EXPECT_TRUE(Failure(noBitmap).startsWith(QStringLiteral("Cannot read the skin \"%1\": ").arg(noBitmap)))
      << Failure(noBitmap).toStdString();
  // A bitmap file that holds something else.
  const QString badBitmap = EditedCopy(tmp, "slate", QStringLiteral("badbitmap"), [](QByteArray t) { return t; });
  WriteFile(badBitmap + QStringLiteral("/panels.bmp"), "BM not really a bitmap");
  EXPECT_TRUE(Failure(badBitmap).startsWith(QStringLiteral("Cannot read the skin \"%1\": ").arg(badBitmap)))
      << Failure(badBitmap).toStdString();
  // A packed skin made from the description without [FORMINFO]: the packer refuses it, so
  // build the content by hand from the folder's pictures and the shortened text.
  {
    TbsStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(noForm + QStringLiteral("/SKIN.INI"));
    TMemoryStream content;
    const int32_t version = 1;
    content.WriteBuffer(&version, 4);
    stored.WritePictures(content);
    const QByteArray lines = stored.IniStrings().join(QStringLiteral("\r\n")).toLocal8Bit();
    content.WriteBuffer(lines.constData(), lines.size());
    content.SetPosition(0);
    TMemoryStream out;
    DeflateInto(content, out);
    const QString p = tmp.filePath(QStringLiteral("noform.skin"));
    WriteFile(p, QByteArray(reinterpret_cast<const char*>(out.Memory()), static_cast<qsizetype>(out.Size())));
    EXPECT_EQ(Failure(p), QStringLiteral("\"%1\" is not a complete skin: it has no [FORMINFO] section.").arg(p));
  }
  // Packed bytes held in memory that are not packed.
  EXPECT_THROW(TSkinSource::FromPacked(QByteArray("[VERSION]"), QStringLiteral("memory")), ESkinSourceError);
}

}  // namespace
