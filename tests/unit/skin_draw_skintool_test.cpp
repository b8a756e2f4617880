// The skin authors' preview commands, run as real processes on the product's skin folders:
// `skintool render` and `skintool frame` write PNGs whose pixels come from the skin's BMPs.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/TestUtil.h"
#include "platform/Bitmap.h"

namespace {

int Skintool(const QStringList& args, QString* err = nullptr) {
  static int argc = 1;
  static char arg0[] = "skin_draw_skintool_test";
  static char* argv[] = {arg0, nullptr};
  static QCoreApplication* app = QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
  (void)app;
  QProcess p;
  p.start(BinDir() + QStringLiteral("/skintool"), args);
  if (!p.waitForFinished(60000)) return -1;
  if (err) *err = QString::fromLocal8Bit(p.readAllStandardError());
  return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

QString Daylight() { return SourceDir() + QStringLiteral("/skins/daylight"); }

// The colour of a skin picture's pixel, as 0xRRGGBB.
QRgb Pic(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

QImage LoadBmp(const QString& path) {
  TBitmap b;
  b.LoadFromFile(path);
  return b.Image().convertToFormat(QImage::Format_RGB32);
}

}  // namespace

TEST(SkintoolRender, PanelAtItsOwnSizeAndStretched) {
  QTemporaryDir tmp;
  const QImage pic = LoadBmp(Daylight() + QStringLiteral("/panel.bmp"));  // "panel": skinrect 0,0,64,48
  const QString own = tmp.filePath(QStringLiteral("own.png")), big = tmp.filePath(QStringLiteral("big.png"));
  ASSERT_EQ(Skintool({QStringLiteral("render"), Daylight(), QStringLiteral("panel"), QStringLiteral("64"),
                      QStringLiteral("48"), own}),
            0);
  const QImage a(own);
  ASSERT_EQ(a.size(), QSize(64, 48));
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) ASSERT_EQ(a.pixel(x, y), pic.pixel(x, y) | 0xFF000000u) << x << "," << y;

  ASSERT_EQ(Skintool({QStringLiteral("render"), Daylight(), QStringLiteral("panel"), QStringLiteral("300"),
                      QStringLiteral("100"), big}),
            0);
  const QImage b(big);
  ASSERT_EQ(b.size(), QSize(300, 100));
  // Corners copied unchanged; the top edge (points 4..60) tiled from column 4.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(b.pixel(x, y) & 0xFFFFFF, Pic(pic, x, y));
      EXPECT_EQ(b.pixel(296 + x, 96 + y) & 0xFFFFFF, Pic(pic, 60 + x, 44 + y));
    }
  for (int x = 4; x < 296; ++x) ASSERT_EQ(b.pixel(x, 1) & 0xFFFFFF, Pic(pic, 4 + (x - 4) % 56, 1)) << x;
  EXPECT_EQ(qAlpha(b.pixel(0, 0)), 255);  // no mask: nothing transparent
}

TEST(SkintoolRender, ButtonStateKeepsTheSkinHeight) {
  QTemporaryDir tmp;
  const QImage pic = LoadBmp(Daylight() + QStringLiteral("/button.bmp"));  // down look: 0,48,60,72
  const QString out = tmp.filePath(QStringLiteral("down.png"));
  ASSERT_EQ(Skintool({QStringLiteral("render"), Daylight(), QStringLiteral("button"), QStringLiteral("200"),
                      QStringLiteral("40"), out, QStringLiteral("--state"), QStringLiteral("down")}),
            0);
  const QImage img(out);
  ASSERT_EQ(img.size(), QSize(200, 24));
  for (int y = 0; y < 24; ++y) {
    EXPECT_EQ(img.pixel(0, y) & 0xFFFFFF, Pic(pic, 0, 48 + y));
    EXPECT_EQ(img.pixel(199, y) & 0xFFFFFF, Pic(pic, 59, 48 + y));
    EXPECT_EQ(img.pixel(100, y) & 0xFFFFFF, Pic(pic, 6 + (100 - 6) % 48, 48 + y));
  }
}

TEST(SkintoolRender, MaskMakesTheOutsideTransparent) {
  // A copy of the skin whose panel gets a mask with two cut corners of 2 x 2 pixels.
  QTemporaryDir tmp;
  const QDir src(Daylight());
  for (const QString& f : src.entryList(QDir::Files)) ASSERT_TRUE(QFile::copy(src.filePath(f), tmp.filePath(f)));
  TBitmap mask(64, 48);
  mask.Image().fill(Qt::black);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 2; ++x) {
      memset(mask.ScanLine(y) + 3 * x, 255, 3);
      memset(mask.ScanLine(y) + 3 * (62 + x), 255, 3);
    }
  mask.SaveToFile(tmp.filePath(QStringLiteral("pmask.bmp")));
  QFile ini(tmp.filePath(QStringLiteral("SKIN.INI")));
  ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
  QString text = QString::fromLatin1(ini.readAll());
  ini.close();
  const qsizetype count = text.indexOf(QStringLiteral("activepicturescount="));
  ASSERT_GE(count, 0);
  const qsizetype eol = text.indexOf(u'\n', count);
  const int n = text.mid(count + 20, eol - count - 20).trimmed().toInt();
  text.replace(count, eol - count, QStringLiteral("activepicturescount=%1\n%2=pmask.bmp").arg(n + 1).arg(n));
  const qsizetype panel = text.indexOf(QStringLiteral("[panel]"));
  ASSERT_GE(panel, 0);
  text.replace(text.indexOf(QStringLiteral("maskpictureindex=-1"), panel), 19, QStringLiteral("maskpictureindex=%1").arg(n));
  ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
  ini.write(text.toLatin1());
  ini.close();

  const QString out = tmp.filePath(QStringLiteral("masked.png"));
  QString err;
  ASSERT_EQ(Skintool({QStringLiteral("render"), tmp.path(), QStringLiteral("panel"), QStringLiteral("300"),
                      QStringLiteral("100"), out},
                     &err),
            0)
      << err.toStdString();
  const QImage img(out);
  ASSERT_EQ(img.size(), QSize(300, 100));
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 300; ++x) {
      const bool cut = y < 2 && (x < 2 || x >= 298);
      ASSERT_EQ(qAlpha(img.pixel(x, y)), cut ? 0 : 255) << x << "," << y;
    }
}

TEST(SkintoolFrame, FramePiecesClientAreaAndShape) {
  QTemporaryDir tmp;
  const QImage main = LoadBmp(Daylight() + QStringLiteral("/main.bmp"));
  const QImage mask = LoadBmp(Daylight() + QStringLiteral("/mask.bmp"));
  const int W = 640, H = 400, PW = main.width(), PH = main.height();
  const QString out = tmp.filePath(QStringLiteral("frame.png"));
  ASSERT_EQ(Skintool({QStringLiteral("frame"), Daylight(), QString::number(W), QString::number(H), out}), 0);
  const QImage img(out);
  ASSERT_EQ(img.size(), QSize(W, H));
  // The skin's client rectangle is 15,33,163,124 with the top edge repeating columns 48..99.
  const int cr = 163 + (W - PW), cb = 124 + (H - PH);
  for (int y = 33; y < cb; y += 7)
    for (int x = 15; x < cr; x += 5) ASSERT_EQ(qAlpha(img.pixel(x, y)), 0) << x << "," << y;
  for (int x = 0; x < W; ++x) {
    const int sx = x < 48 ? x : x >= 99 + (W - PW) ? x - (W - PW) : 48 + x % 51;
    const bool inside = qRed(mask.pixel(sx, 20)) == 0;
    ASSERT_EQ(qAlpha(img.pixel(x, 20)), inside ? 255 : 0) << x;
    if (inside) {
      ASSERT_EQ(img.pixel(x, 20) & 0xFFFFFF, Pic(main, sx, 20)) << x;
    }
  }
  // Corners follow the mask: the same pixels as in the picture's corners.
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      EXPECT_EQ(qAlpha(img.pixel(x, y)) == 255, qRed(mask.pixel(x, y)) == 0) << x << "," << y;
      EXPECT_EQ(qAlpha(img.pixel(W - 1 - x, H - 1 - y)) == 255, qRed(mask.pixel(PW - 1 - x, PH - 1 - y)) == 0);
    }
  EXPECT_EQ(img.pixel(W - 1, H - 8) & 0xFFFFFF, Pic(main, PW - 1, PH - 8));
}

TEST(Skintool, RefusesBadRequests) {
  QTemporaryDir tmp;
  const QString out = tmp.filePath(QStringLiteral("x.png"));
  QString err;
  EXPECT_EQ(Skintool({QStringLiteral("render"), Daylight(), QStringLiteral("Panel"), QStringLiteral("9"),
                      QStringLiteral("9"), out},
                     &err),
            1);  // section names are case-sensitive
  EXPECT_TRUE(err.contains(QStringLiteral("Panel"))) << err.toStdString();
  EXPECT_EQ(Skintool({QStringLiteral("render"), Daylight(), QStringLiteral("stdlabel"), QStringLiteral("9"),
                      QStringLiteral("9"), out}),
            1);
  EXPECT_EQ(Skintool({QStringLiteral("render"), Daylight(), QStringLiteral("panel"), QStringLiteral("0"),
                      QStringLiteral("9"), out}),
            1);
  EXPECT_EQ(Skintool({QStringLiteral("render"), Daylight(), QStringLiteral("panel"), QStringLiteral("9"),
                      QStringLiteral("9"), out, QStringLiteral("--state"), QStringLiteral("pressed")}),
            2);
  EXPECT_EQ(Skintool({QStringLiteral("frame"), Daylight(), QStringLiteral("100"), QStringLiteral("400"), out}, &err), 1);
  EXPECT_TRUE(err.contains(QStringLiteral("at least"))) << err.toStdString();
  EXPECT_EQ(Skintool({QStringLiteral("frame"), Daylight(), QStringLiteral("640")}), 2);
  EXPECT_EQ(Skintool({QStringLiteral("frame"), tmp.path(), QStringLiteral("640"), QStringLiteral("400"), out}), 1);
  EXPECT_FALSE(QFile::exists(out));
}
