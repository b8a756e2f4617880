// Skin containers: the "Pictures" block, the compressed block, the zlib streams and the
// folder loaders, on the product's own skins in skins/.
#include <gtest/gtest.h>
#include <zlib.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/Exceptions.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinZlib.h"
#include "tests/TestUtil.h"

namespace {

QString SkinIni(const char* folder) { return SourceDir() + QStringLiteral("/skins/%1/SKIN.INI").arg(QLatin1String(folder)); }

std::vector<uint8_t> Bytes(std::initializer_list<int> list) {
  std::vector<uint8_t> v;
  for (int b : list) v.push_back(static_cast<uint8_t>(b));
  return v;
}

TEST(StoredSkinPictures, EmptyFlagsAndCounts) {
  TbsStoredSkin skin(nullptr);
  TMemoryStream empty(Bytes({1, 1, 1, 0, 0, 0, 0}));
  skin.activepictures.push_back(std::make_unique<TBitmap>(2, 2));
  skin.ReadPictures(empty);
  EXPECT_TRUE(skin.picture.Empty());
  EXPECT_TRUE(skin.inactivepicture.Empty());
  EXPECT_TRUE(skin.mask.Empty());
  EXPECT_TRUE(skin.activepictures.empty());
  EXPECT_EQ(empty.Position(), 7);

  TMemoryStream negative(Bytes({1, 1, 1, 0xFF, 0xFF, 0xFF, 0xFF}));
  skin.ReadPictures(negative);
  EXPECT_TRUE(skin.activepictures.empty());

  // Written back: the same seven bytes.
  TMemoryStream out;
  skin.WritePictures(out);
  EXPECT_EQ(out.Bytes(), Bytes({1, 1, 1, 0, 0, 0, 0}));

  // A count with no images behind it is a stream read error; a wrong type word is invalid.
  TMemoryStream shortBlob(Bytes({1, 1, 1, 2, 0, 0, 0}));
  EXPECT_THROW(skin.ReadPictures(shortBlob), EReadError);
  TMemoryStream notBmp(Bytes({0, 'X', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  try {
    skin.ReadPictures(notBmp);
    FAIL();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Bitmap image is not valid"));
  }
}

TEST(StoredSkinPictures, DaylightBlockLayoutAndRoundTrip) {
  TbsStoredSkin skin(nullptr);
  skin.LoadFromSkinFile(SkinIni("daylight"));
  EXPECT_EQ(skin.picture.Width(), 176);
  EXPECT_EQ(skin.picture.Height(), 147);
  EXPECT_TRUE(skin.inactivepicture.Empty());
  EXPECT_EQ(skin.mask.PixelFormat(), TPixelFormat::pf1bit);
  ASSERT_EQ(skin.activepictures.size(), 9u);
  EXPECT_FALSE(skin.IniStrings().isEmpty());
  EXPECT_EQ(skin.IniStrings().first(), QStringLiteral("[VERSION]"));

  TMemoryStream blob;
  skin.WritePictures(blob);
  const auto& b = blob.Bytes();
  ASSERT_GT(b.size(), 20u);
  // Main picture present ("BM" right after its flag).
  EXPECT_EQ(b[0], 0);
  EXPECT_EQ(b[1], 'B');
  EXPECT_EQ(b[2], 'M');
  // The main picture's image is followed directly by the inactive picture's flag 1 and the
  // mask's flag 0 with its image.
  const uint32_t mainSize = b[3] | (b[4] << 8) | (b[5] << 16) | (static_cast<uint32_t>(b[6]) << 24);
  EXPECT_EQ(b[1 + mainSize], 1);
  EXPECT_EQ(b[2 + mainSize], 0);
  EXPECT_EQ(b[3 + mainSize], 'B');

  TbsStoredSkin back(nullptr);
  blob.SetPosition(0);
  back.ReadPictures(blob);
  EXPECT_EQ(blob.Position(), blob.Size());
  EXPECT_TRUE(back.inactivepicture.Empty());
  ASSERT_EQ(back.activepictures.size(), 9u);
  EXPECT_EQ(back.picture.Image(), skin.picture.Image());
  EXPECT_EQ(back.mask.Image(), skin.mask.Image());
  TMemoryStream again;
  back.WritePictures(again);
  EXPECT_EQ(again.Bytes(), blob.Bytes());
}

TEST(CompressedStoredSkin, SlateContentLayout) {
  TbsCompressedStoredSkin skin(nullptr);
  EXPECT_TRUE(skin.HasNoData());
  skin.CompressFromSkinFile(SkinIni("slate"));
  ASSERT_FALSE(skin.HasNoData());
  const auto& z = skin.CompressedData.Bytes();
  EXPECT_EQ(z[0], 0x78);
  EXPECT_EQ(z[1], 0xDA);

  TMemoryStream content;
  skin.UnpackTo(content);
  const auto& c = content.Bytes();
  ASSERT_GT(c.size(), 7u);
  EXPECT_EQ(std::vector<uint8_t>(c.begin(), c.begin() + 7), Bytes({1, 0, 0, 0, 0, 0x42, 0x4D}));

  // Walk the content: three flagged pictures, the count, the images, then the text.
  content.SetPosition(4);
  TBitmap main, inactive, mask;
  ReadFlaggedBitmap(content, main);
  ReadFlaggedBitmap(content, inactive);
  ReadFlaggedBitmap(content, mask);
  EXPECT_FALSE(main.Empty());
  EXPECT_TRUE(inactive.Empty());
  EXPECT_FALSE(mask.Empty());
  TBitmapList numbered;
  ReadBitmapList(content, numbered);
  EXPECT_EQ(numbered.size(), 7u);
  const int64_t at = content.Position();
  const QByteArray text(reinterpret_cast<const char*>(c.data() + at), static_cast<qsizetype>(c.size() - at));
  QFile file(SkinIni("slate"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  // The description lines, each followed by CR LF: the file's own bytes (it ends its lines so).
  EXPECT_EQ(text, file.readAll());

  // The same folder always gives the same block.
  TbsCompressedStoredSkin twice(nullptr);
  twice.CompressFromSkinFile(SkinIni("slate"));
  EXPECT_EQ(twice.CompressedData.Bytes(), skin.CompressedData.Bytes());

  // Property bytes in and out unchanged.
  TMemoryStream prop;
  skin.WriteData(prop);
  EXPECT_EQ(prop.Bytes(), skin.CompressedData.Bytes());
  TbsCompressedStoredSkin copy(nullptr);
  prop.SetPosition(0);
  copy.ReadData(prop);
  EXPECT_EQ(copy.CompressedData.Bytes(), skin.CompressedData.Bytes());
}

TEST(CompressedStoredSkin, RefusalsAndFileErrors) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("SKIN.INI"));
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write("[VERSION]\r\nskinname=x\r\n[PICTURES]\r\npicture=\r\n[FORMINFO]\r\nborderwidth=1\r\n[SKINOBJECTS]\r\ncount=0\r\n");
  f.close();
  TbsCompressedStoredSkin skin(nullptr);
  skin.CompressFromSkinFile(SkinIni("slate"));
  const std::vector<uint8_t> before = skin.CompressedData.Bytes();
  skin.CompressFromSkinFile(path);  // no [SKINCONTROLS]: refused silently
  EXPECT_EQ(skin.CompressedData.Bytes(), before);
  EXPECT_THROW(skin.CompressFromSkinFile(dir.filePath(QStringLiteral("none.ini"))), EFOpenError);
  EXPECT_EQ(skin.CompressedData.Bytes(), before);

  // A numbered picture with an empty name tries to load the folder itself.
  ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
  f.write("[VERSION]\r\nskinname=x\r\n[PICTURES]\r\npicture=\r\nactivepicturescount=1\r\n[FORMINFO]\r\nborderwidth=1\r\n"
          "[SKINOBJECTS]\r\ncount=0\r\n[SKINCONTROLS]\r\ncount=0\r\n");
  f.close();
  EXPECT_THROW(skin.CompressFromSkinFile(path), EFOpenError);
  EXPECT_EQ(skin.CompressedData.Bytes(), before);

  // The stored skin's loader keeps what it filled before the failure.
  TbsStoredSkin stored(nullptr);
  EXPECT_THROW(stored.LoadFromSkinFile(path), EFOpenError);
  EXPECT_FALSE(stored.IniStrings().isEmpty());
  EXPECT_TRUE(stored.picture.Empty());
}

TEST(SkinContainers, FileNameLoadsOnlyInDesignMode) {
  TbsStoredSkin stored(nullptr);
  stored.SetFileName(SkinIni("daylight"));
  EXPECT_EQ(stored.FileName(), SkinIni("daylight"));
  EXPECT_TRUE(stored.IniStrings().isEmpty());
  EXPECT_TRUE(stored.picture.Empty());

  stored.SetState(csDesigning, true);
  stored.SetFileName(SkinIni("daylight"));
  EXPECT_EQ(stored.FileName(), QStringLiteral("SKIN.INI"));
  EXPECT_FALSE(stored.IniStrings().isEmpty());
  EXPECT_EQ(stored.activepictures.size(), 9u);

  TbsCompressedStoredSkin compressed(nullptr);
  compressed.SetFileName(SkinIni("slate"));
  EXPECT_TRUE(compressed.HasNoData());
  compressed.SetState(csDesigning, true);
  compressed.BeginLoading();  // while restored from a definition: only stored
  compressed.SetFileName(SkinIni("slate"));
  EXPECT_TRUE(compressed.HasNoData());
  compressed.Loaded();
  compressed.SetFileName(SkinIni("slate"));
  EXPECT_EQ(compressed.FileName(), QStringLiteral("SKIN.INI"));
  EXPECT_FALSE(compressed.HasNoData());
}

TEST(ZlibStreams, DeflateInflateAndDamage) {
  TMemoryStream source;
  std::vector<uint8_t> data(300000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>((i * 7) ^ (i >> 9));
  source.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
  TMemoryStream packed;
  DeflateInto(source, packed);  // rewinds the source itself
  ASSERT_GT(packed.Size(), 2);
  EXPECT_EQ(packed.Bytes()[0], 0x78);
  EXPECT_EQ(packed.Bytes()[1], 0xDA);

  // zlib itself agrees it is one complete stream holding the data.
  std::vector<uint8_t> check(data.size());
  uLongf checkLen = static_cast<uLongf>(check.size());
  ASSERT_EQ(uncompress(check.data(), &checkLen, packed.Memory(), static_cast<uLong>(packed.Size())), Z_OK);
  EXPECT_EQ(check, data);

  // Inflating appends at the target's position; bytes after the stream's end are ignored.
  TMemoryStream target;
  target.WriteBuffer("ab", 2);
  packed.Seek(0, TSeekOrigin::soEnd);
  packed.WriteBuffer("trailing junk", 13);
  InflateInto(target, packed);
  ASSERT_EQ(target.Size(), static_cast<int64_t>(data.size()) + 2);
  EXPECT_EQ(std::vector<uint8_t>(target.Bytes().begin() + 2, target.Bytes().end()), data);

  auto inflateError = [](std::vector<uint8_t> bytes) -> QString {
    TMemoryStream in(std::move(bytes)), out;
    try {
      InflateInto(out, in);
    } catch (const EZlibError& e) {
      return e.Message();
    }
    return QStringLiteral("none");
  };
  std::vector<uint8_t> damaged = packed.Bytes();
  damaged[1] = 0x00;  // header check fails
  EXPECT_EQ(inflateError(damaged), QStringLiteral("compression error"));
  std::vector<uint8_t> cut(packed.Bytes().begin(), packed.Bytes().begin() + 1000);
  EXPECT_EQ(inflateError(cut), QStringLiteral("compression error"));
  EXPECT_EQ(inflateError({}), QStringLiteral("compression error"));
}

TEST(ZlibStreams, OnlyTheirOwnDirection) {
  TMemoryStream sink;
  TCompressionStream z(TCompressionLevel::clMax, sink);
  z.WriteBuffer("hello", 5);
  EXPECT_EQ(z.Position(), 5);
  auto message = [](auto&& f) -> QString {
    try {
      f();
    } catch (const EZlibError& e) {
      return e.Message();
    }
    return QStringLiteral("none");
  };
  char buf[4];
  EXPECT_EQ(message([&] { z.Read(buf, 4); }), QStringLiteral("Invalid stream operation"));
  EXPECT_EQ(message([&] { z.Seek(0, TSeekOrigin::soBeginning); }), QStringLiteral("Invalid stream operation"));
  z.Finish();

  sink.SetPosition(0);
  TDecompressionStream d(sink);
  EXPECT_EQ(message([&] { d.Write("x", 1); }), QStringLiteral("Invalid stream operation"));
  d.ReadBuffer(buf, 3);
  EXPECT_EQ(QByteArray(buf, 3), QByteArray("hel"));
  EXPECT_EQ(message([&] { d.Seek(1, TSeekOrigin::soBeginning); }), QStringLiteral("Invalid stream operation"));
  EXPECT_EQ(d.Seek(4, TSeekOrigin::soBeginning), 4);  // forward: read and dropped
  d.ReadBuffer(buf, 1);
  EXPECT_EQ(buf[0], 'o');
  EXPECT_EQ(d.Seek(0, TSeekOrigin::soBeginning), 0);  // back to the start
  d.ReadBuffer(buf, 2);
  EXPECT_EQ(QByteArray(buf, 2), QByteArray("he"));
  EXPECT_EQ(message([&] { d.Seek(0, TSeekOrigin::soEnd); }), QStringLiteral("Invalid stream operation"));
}

TEST(SkinTool, PackUnpackAndDumpAgreeWithTheComponents) {
  QTemporaryDir dir;
  const QString tool = BinDir() + QStringLiteral("/skintool");
  auto run = [&](const QStringList& args, QByteArray* out = nullptr) {
    QByteArray cmd = tool.toLocal8Bit();
    for (const QString& a : args) cmd += " '" + a.toLocal8Bit() + "'";
    cmd += " 2>&1";
    FILE* p = popen(cmd.constData(), "r");
    QByteArray text;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0) text.append(buf, static_cast<qsizetype>(n));
    const int rc = pclose(p);
    if (out) *out = text;
    return WEXITSTATUS(rc);
  };
  const QString block = dir.filePath(QStringLiteral("slate.bin"));
  ASSERT_EQ(run({QStringLiteral("pack"), SourceDir() + QStringLiteral("/skins/slate"), block}), 0);
  TbsCompressedStoredSkin skin(nullptr);
  skin.CompressFromSkinFile(SkinIni("slate"));
  QFile f(block);
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray packed = f.readAll();
  EXPECT_EQ(std::vector<uint8_t>(packed.begin(), packed.end()), skin.CompressedData.Bytes());

  const QString unpacked = dir.filePath(QStringLiteral("un"));
  ASSERT_EQ(run({QStringLiteral("unpack"), block, unpacked}), 0);
  for (const QString& name : QDir(SourceDir() + QStringLiteral("/skins/slate")).entryList(QDir::Files)) {
    QFile a(SourceDir() + QStringLiteral("/skins/slate/") + name), b(unpacked + u'/' + name);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << name.toStdString();
    EXPECT_EQ(a.readAll(), b.readAll()) << name.toStdString();
  }

  const QString storedOut = dir.filePath(QStringLiteral("stored"));
  ASSERT_EQ(run({QStringLiteral("pack"), QStringLiteral("--stored"), SourceDir() + QStringLiteral("/skins/daylight"), storedOut}), 0);
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SkinIni("daylight"));
  TMemoryStream pictures;
  stored.WritePictures(pictures);
  QFile pf(storedOut + QStringLiteral("/Pictures.bin"));
  ASSERT_TRUE(pf.open(QIODevice::ReadOnly));
  const QByteArray pb = pf.readAll();
  EXPECT_EQ(std::vector<uint8_t>(pb.begin(), pb.end()), pictures.Bytes());

  // dump of the folder and of the block print the normalised description; both reload the same.
  QByteArray fromFolder, fromBlock, failure;
  ASSERT_EQ(run({QStringLiteral("dump"), SourceDir() + QStringLiteral("/skins/slate")}, &fromFolder), 0);
  ASSERT_EQ(run({QStringLiteral("dump"), block}, &fromBlock), 0);
  EXPECT_EQ(fromFolder, fromBlock);
  EXPECT_TRUE(fromFolder.startsWith("[VERSION]\r\nskinname=Ledgerly Slate\r\n"));
  EXPECT_TRUE(fromFolder.contains("[caption1]\r\nhint=\r\nskinrectinapicture=0\r\nskinrect=41,3,102,18\r\n"));

  // A value that cannot be converted: the message and a non-zero exit.
  QDir().mkpath(dir.filePath(QStringLiteral("bad")));
  QFile bad(dir.filePath(QStringLiteral("bad/SKIN.INI")));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("[VERSION]\nskinname=x\n[PICTURES]\npicture=\n[FORMINFO]\nclientrect=1,,2,3\n[SKINOBJECTS]\ncount=0\n"
            "[SKINCONTROLS]\ncount=0\n");
  bad.close();
  EXPECT_EQ(run({QStringLiteral("dump"), dir.filePath(QStringLiteral("bad"))}, &failure), 1);
  EXPECT_TRUE(failure.contains("'' is not a valid integer value")) << failure.toStdString();
  EXPECT_NE(run({QStringLiteral("frobnicate")}), 0);
}

TEST(SkinPaint, TheCommittedSkinsAreWhatThePainterMakes) {
  QTemporaryDir dir;
  const QByteArray cmd = (BinDir() + QStringLiteral("/skinpaint '") + dir.path() + QStringLiteral("'")).toLocal8Bit();
  ASSERT_EQ(std::system(cmd.constData()), 0);
  for (const char* skin : {"daylight", "slate"}) {
    const QString committed = SourceDir() + QStringLiteral("/skins/") + QLatin1String(skin);
    const QString painted = dir.path() + u'/' + QLatin1String(skin);
    const QStringList files = QDir(committed).entryList(QDir::Files);
    EXPECT_EQ(QDir(painted).entryList(QDir::Files), files) << skin;
    for (const QString& name : files) {
      QFile a(committed + u'/' + name), b(painted + u'/' + name);
      ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly)) << name.toStdString();
      EXPECT_TRUE(a.readAll() == b.readAll()) << skin << "/" << name.toStdString();
    }
  }
}

}  // namespace
