// A small skin written to a temporary folder as SKIN.INI and BMP files and loaded the way a
// stored skin is, made for the skinned panel and the control base: pictures whose every area
// has a colour of its own, so that a test can tell from a pixel which part of which picture it
// shows.
//
// Picture 0 ("panel.bmp", 80 x 50), the control image in its skin rectangle (0, 0, 60, 50):
//   frame kFrame; caption strip (4, 4, 44, 20) kStrip; client area (8, 24, 40, 42) a pattern
//   ClientPixel(x, y); roll-up marker (46, 6, 56, 16) kMarker. Beside it, in picture
//   coordinates: restore marker (60, 0, 70, 10) kRestore, check image (60, 10, 72, 22) kCheck,
//   uncheck image (60, 22, 72, 34) kUncheck (both with a white bottom-left pixel).
// Picture 1 ("bg.bmp", 16 x 16): the pattern BgPixel(x, y).
// Picture 2 ("mask.bmp", 60 x 50): black with white 4-pixel corner triangles.
//
// Sections (all of the panel kind): "panel" both ways (points (8,24) (40,24) (8,42) (40,42),
// client (8,24,40,42), caption (4,4,44,20), centred text in kText, marker (46,6,56,16)),
// "bgpanel" (as "panel" with the background picture), and for the window shapes, all with the
// mask: "fixed" (no points), "both" (as "panel"), "horiz" ((8,0) (40,0)), "vert" ((0,24) (0,42)).
#pragma once
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <QFile>

#include "platform/Bitmap.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"

namespace control_skin {

inline QRgb Q(TColor c) { return qRgb(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

constexpr TColor kFrame = 0x00C8C8C8, kStrip = 0x00A05020, kMarker = 0x00FF0000, kRestore = 0x000000FF,
                 kCheck = 0x0000FFFF, kUncheck = 0x00FFFF00, kText = 0x0000C000;

inline TColor ClientPixel(int x, int y) { return (x * 7 % 256) | ((y * 11 % 256) << 8) | (99 << 16); }
inline TColor BgPixel(int x, int y) { return (x * 16) | ((y * 16) << 8) | (40 << 16); }

inline void Fill(QImage& img, int l, int t, int r, int b, TColor c) {
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) img.setPixel(x, y, Q(c));
}

inline QImage PanelPicture() {
  QImage img(80, 50, QImage::Format_RGB888);
  img.fill(Qt::white);
  Fill(img, 0, 0, 60, 50, kFrame);
  Fill(img, 4, 4, 44, 20, kStrip);
  for (int y = 24; y < 42; ++y)
    for (int x = 8; x < 40; ++x) img.setPixel(x, y, Q(ClientPixel(x, y)));
  Fill(img, 46, 6, 56, 16, kMarker);
  Fill(img, 60, 0, 70, 10, kRestore);
  Fill(img, 60, 10, 72, 22, kCheck);
  img.setPixel(60, 21, qRgb(255, 255, 255));
  Fill(img, 60, 22, 72, 34, kUncheck);
  img.setPixel(60, 33, qRgb(255, 255, 255));
  return img;
}

inline QImage BgPicture() {
  QImage img(16, 16, QImage::Format_RGB888);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) img.setPixel(x, y, Q(BgPixel(x, y)));
  return img;
}

inline QImage MaskPicture() {
  QImage img(60, 50, QImage::Format_RGB888);
  img.fill(Qt::black);
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4 - y; ++x) {
      img.setPixel(x, y, qRgb(255, 255, 255));
      img.setPixel(59 - x, y, qRgb(255, 255, 255));
      img.setPixel(x, 49 - y, qRgb(255, 255, 255));
      img.setPixel(59 - x, 49 - y, qRgb(255, 255, 255));
    }
  return img;
}

inline QString Section(const QString& name, const QString& points, int mask, int bg, const QString& extra = {}) {
  return QStringLiteral("[%1]\npictureindex=0\nmaskpictureindex=%2\nskinrect=0,0,60,50\n%3"
                        "captionrect=4,4,44,20\nalignment=tacenter\nfontname=Arial\nfontstyle=fsbold\nfontheight=16\n"
                        "fontcolor=%4\nrollupmarkerrect=46,6,56,16\nrestoremarkerrect=60,0,70,10\n"
                        "checkimagerect=60,10,72,22\nuncheckimagerect=60,22,72,34\nbgpictureindex=%5\n%6\n")
      .arg(name)
      .arg(mask)
      .arg(points)
      .arg(kText)
      .arg(bg)
      .arg(extra);
}

inline const QString kBothPoints = QStringLiteral(
    "lefttoppoint=8,24\nrighttoppoint=40,24\nleftbottompoint=8,42\nrightbottompoint=40,42\nclientrect=8,24,40,42\n");

// Writes the skin into `dir` and loads it into a new skin data component owned by `owner`.
inline TbsSkinData* LoadControlSkin(TComponent* owner, const QTemporaryDir& dir) {
  auto save = [&](const QImage& img, const QString& name) {
    TBitmap b;
    b.SetImage(img);
    b.SaveToFile(dir.filePath(name));
  };
  save(PanelPicture(), QStringLiteral("panel.bmp"));
  save(BgPicture(), QStringLiteral("bg.bmp"));
  save(MaskPicture(), QStringLiteral("mask.bmp"));
  QString ini = QStringLiteral(
      "[VERSION]\nver=1\n[PICTURES]\npicture=\ninactivepicture=\nmask=\nactivepicturescount=3\n0=panel.bmp\n1=bg.bmp\n"
      "2=mask.bmp\n[FORMINFO]\nbgpictureindex=-1\n[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=6\n0=panel:panel\n"
      "1=bgpanel:panel\n2=fixed:panel\n3=both:panel\n4=horiz:panel\n5=vert:panel\n");
  ini += Section(QStringLiteral("panel"), kBothPoints, -1, -1);
  ini += Section(QStringLiteral("bgpanel"), kBothPoints, -1, 1);
  ini += Section(QStringLiteral("fixed"), QStringLiteral("clientrect=8,24,40,42\n"), 2, -1);
  ini += Section(QStringLiteral("both"), kBothPoints, 2, -1);
  ini += Section(QStringLiteral("horiz"), QStringLiteral("lefttoppoint=8,0\nrighttoppoint=40,0\nclientrect=8,10,40,40\n"), 2, -1);
  ini += Section(QStringLiteral("vert"), QStringLiteral("lefttoppoint=0,24\nleftbottompoint=0,42\nclientrect=8,24,40,42\n"), 2, -1);
  QFile f(dir.filePath(QStringLiteral("SKIN.INI")));
  if (f.open(QIODevice::WriteOnly)) f.write(ini.toLatin1());
  f.close();
  auto* data = new TbsSkinData(owner);
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(dir.filePath(QStringLiteral("SKIN.INI")));
  data->LoadFromStoredSkin(stored);
  return data;
}

}  // namespace control_skin
