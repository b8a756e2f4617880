// skinpaint: paints Ledgerly's own skins and writes their descriptions.
//
//   skinpaint OUTDIR                  writes OUTDIR/daylight and OUTDIR/slate (SKIN.INI + BMP files)
//   skinpaint --icon SIZE OUT.png     writes the viewer's icon (AppIcon.cpp) at SIZE x SIZE
//
// Both skins share one layout painter and differ in their theme (colours, corner radius,
// caption style) and in how the control images are packed into numbered pictures:
//   daylight (the stored skin): 8 numbered pictures, one per part; the frame measures the
//            query form relies on (main picture 176 x 147, client area 15,33,163,124, ...).
//   slate    (the compressed skin the query form shows): 6 numbered pictures, some parts
//            sharing a picture.
// Everything is drawn pixel by pixel with integer arithmetic, so a rebuild gives the same bytes.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <vector>

#include "AppIcon.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"

namespace {

// ---------------------------------------------------------------------------------------------
// Pixel helpers (QImage Format_RGB32)

QRgb Mix(QRgb a, QRgb b, int num, int den) {
  if (den <= 0) return a;
  auto m = [&](int x, int y) { return x + (y - x) * num / den; };
  return qRgb(m(qRed(a), qRed(b)), m(qGreen(a), qGreen(b)), m(qBlue(a), qBlue(b)));
}

void Fill(QImage& img, int l, int t, int r, int b, QRgb c) {
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) img.setPixel(x, y, c);
}

// Vertical gradient: `top` on row t, `bottom` on row b - 1.
void VGrad(QImage& img, int l, int t, int r, int b, QRgb top, QRgb bottom) {
  for (int y = t; y < b; ++y) {
    const QRgb c = Mix(top, bottom, y - t, std::max(1, b - t - 1));
    for (int x = l; x < r; ++x) img.setPixel(x, y, c);
  }
}

void HLine(QImage& img, int l, int r, int y, QRgb c) { Fill(img, l, y, r, y + 1, c); }
void VLine(QImage& img, int x, int t, int b, QRgb c) { Fill(img, x, t, x + 1, b, c); }

// One-pixel raised (or sunken) edge around (l, t, r, b).
void Bevel(QImage& img, int l, int t, int r, int b, QRgb light, QRgb dark) {
  HLine(img, l, r, t, light);
  VLine(img, l, t, b, light);
  HLine(img, l, r, b - 1, dark);
  VLine(img, r - 1, t, b, dark);
}

// True when (x, y) lies outside the rounded corners of (l, t, r, b).
bool OutsideCorner(int x, int y, int l, int t, int r, int b, int radius, bool top, bool bottom) {
  if (radius <= 0) return false;
  const int cxL = l + radius, cxR = r - 1 - radius, cyT = t + radius, cyB = b - 1 - radius;
  int dx = 0, dy = 0;
  if (x < cxL) dx = cxL - x;
  else if (x > cxR) dx = x - cxR;
  else return false;
  if (top && y < cyT) dy = cyT - y;
  else if (bottom && y > cyB) dy = y - cyB;
  else return false;
  // Slightly generous radius so the curve looks round at small sizes.
  return dx * dx + dy * dy > radius * radius + radius / 2;
}

// A rounded box: outline, body gradient and an inner highlight; corners show `behind`.
// With `openBottom` the bottom corners stay square and the bottom row has no outline (tabs).
void RoundBox(QImage& img, int l, int t, int r, int b, int radius, QRgb outline, QRgb top, QRgb bottom, QRgb behind,
              bool openBottom = false) {
  VGrad(img, l, t, r, b, top, bottom);
  const bool rb = !openBottom;
  for (int y = t; y < b; ++y)
    for (int x = l; x < r; ++x) {
      if (OutsideCorner(x, y, l, t, r, b, radius, true, rb)) {
        img.setPixel(x, y, behind);
      } else if (x == l || x == r - 1 || y == t || (rb && y == b - 1) ||
                 OutsideCorner(x - 1, y, l, t, r, b, radius, true, rb) ||
                 OutsideCorner(x + 1, y, l, t, r, b, radius, true, rb) ||
                 OutsideCorner(x, y - 1, l, t, r, b, radius, true, rb) ||
                 (rb && OutsideCorner(x, y + 1, l, t, r, b, radius, true, rb))) {
        img.setPixel(x, y, outline);
      }
    }
}

// ---------------------------------------------------------------------------------------------
// Glyphs (drawn into a w x h cell at (l, t))

enum class Glyph { Close, Maximize, Restore, Minimize, RollUp, RollDown, SysMenu, ArrowLeft, ArrowRight, ArrowUp, ArrowDown };

void PaintGlyph(QImage& img, int l, int t, int w, int h, Glyph g, QRgb c) {
  auto px = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < w && y < h) img.setPixel(l + x, t + y, c);
  };
  const int cx = w / 2, cy = h / 2;
  switch (g) {
    case Glyph::Close:
      for (int i = 2; i < w - 2; ++i) {
        px(i, i);
        px(i + 1, i);
        px(w - 1 - i, i);
        px(w - 2 - i, i);
      }
      break;
    case Glyph::Maximize:
      for (int x = 2; x < w - 2; ++x) {
        px(x, 2);
        px(x, 3);
        px(x, h - 3);
      }
      for (int y = 2; y < h - 2; ++y) {
        px(2, y);
        px(w - 3, y);
      }
      break;
    case Glyph::Restore:
      for (int x = 3; x < w - 1; ++x) px(x, 1);
      for (int y = 1; y < h - 4; ++y) px(w - 2, y);
      for (int x = 1; x < w - 3; ++x) {
        px(x, 3);
        px(x, 4);
        px(x, h - 2);
      }
      for (int y = 3; y < h - 1; ++y) {
        px(1, y);
        px(w - 4, y);
      }
      break;
    case Glyph::Minimize:
      for (int x = 2; x < w - 2; ++x) {
        px(x, h - 3);
        px(x, h - 4);
      }
      break;
    case Glyph::RollUp:
    case Glyph::ArrowUp:
      for (int i = 0; i <= cx - 1; ++i)
        for (int x = cx - i; x <= cx + i; ++x) px(x, cy - 1 + i - (cx - 1) / 2);
      break;
    case Glyph::RollDown:
    case Glyph::ArrowDown:
      for (int i = 0; i <= cx - 1; ++i)
        for (int x = cx - i; x <= cx + i; ++x) px(x, cy + 1 - i + (cx - 1) / 2);
      break;
    case Glyph::ArrowLeft:
      for (int i = 0; i <= cy - 1; ++i)
        for (int y = cy - i; y <= cy + i; ++y) px(cx - 1 + i - (cy - 1) / 2, y);
      break;
    case Glyph::ArrowRight:
      for (int i = 0; i <= cy - 1; ++i)
        for (int y = cy - i; y <= cy + i; ++y) px(cx + 1 - i + (cy - 1) / 2, y);
      break;
    case Glyph::SysMenu:
      for (int y = 2; y < h - 2; ++y)
        for (int x = 2; x < w - 2; ++x)
          if (y == 2 || y == h - 3 || x == 2 || x == w - 3 || (y == cy && x >= 4 && x <= w - 5)) px(x, y);
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Themes

struct Theme {
  const char* folder;
  const char* name;
  const char* comments;
  int radius;            // window corner radius
  QRgb titleTop, titleBottom, titleShine;
  QRgb outline, frameLight, frameMid, frameDark;
  QRgb face, faceLight, faceDark;
  QRgb glyph, glyphHot, glyphDown, hot, down, closeHot, closeDown;
  QRgb btnOutline, btnTop, btnBottom, btnHotTop, btnHotBottom, btnDownTop, btnDownBottom, btnOffTop, btnOffBottom;
  QRgb editBg, editBorder, editHotBorder;
  QRgb tabTop, tabBottom, tabOnTop, tabOnBottom, tabHotTop, tabHotBottom, tabBorder, strip;
  QRgb menuBg, menuEdge, menuHot, menuDivider;
  QRgb hintTop, hintBottom, hintEdge;
  // Description colours (0x00BBGGRR as the skin writes them).
  int captionFont, captionActiveFont, captionShadow, captionActiveShadow;
  int textFont, textActive, textDown, textDisabled, labelActive, menuFont, menuActive, menuDisabled, hintFont;
  int tabFont, tabActiveFont, tabFocusFont, tabHotFont, scrollMarker, scrollMarkerActive;
  const char* morphKind;
};


const Theme kDaylight = {
    "daylight", "Ledgerly Daylight", "Light skin with a deep blue caption; carried as the stored skin.", 7,
    qRgb(52, 92, 160), qRgb(24, 52, 108), qRgb(120, 160, 220),
    qRgb(16, 32, 72), qRgb(214, 224, 240), qRgb(176, 192, 220), qRgb(104, 124, 160),
    qRgb(236, 239, 244), qRgb(255, 255, 255), qRgb(160, 168, 184),
    qRgb(224, 232, 248), qRgb(255, 255, 255), qRgb(200, 210, 230), qRgb(84, 128, 200), qRgb(32, 64, 128),
    qRgb(210, 64, 48), qRgb(150, 36, 24),
    qRgb(96, 112, 144), qRgb(252, 253, 255), qRgb(214, 222, 236), qRgb(255, 255, 255), qRgb(196, 216, 248),
    qRgb(176, 192, 220), qRgb(220, 228, 242), qRgb(240, 240, 240), qRgb(222, 222, 222),
    qRgb(255, 255, 255), qRgb(136, 150, 176), qRgb(52, 92, 160),
    qRgb(226, 232, 242), qRgb(200, 210, 228), qRgb(255, 255, 255), qRgb(236, 239, 244), qRgb(244, 248, 255),
    qRgb(214, 228, 250), qRgb(120, 136, 168), qRgb(206, 214, 230),
    qRgb(250, 251, 253), qRgb(120, 136, 168), qRgb(200, 216, 244), qRgb(200, 206, 218),
    qRgb(255, 255, 236), qRgb(244, 240, 200), qRgb(140, 130, 90),
    12632256, 16777215, 4210752, 2105376,
    0x202020, 0x603010, 0x000000, 0x909090, 16711680, 0x202020, 0x602000, 0x909090, 0x202020,
    0x303030, 0x101010, 16777215, 0x804020, 0x806040, 0x402010,
    "mkgradient"};

const Theme kSlate = {
    "slate", "Ledgerly Slate", "Dark charcoal skin with teal accents; carried as the compressed skin.", 4,
    qRgb(58, 64, 72), qRgb(34, 38, 44), qRgb(96, 104, 114),
    qRgb(8, 10, 12), qRgb(84, 92, 102), qRgb(52, 58, 66), qRgb(24, 28, 32),
    qRgb(62, 68, 76), qRgb(84, 92, 102), qRgb(36, 40, 46),
    qRgb(176, 188, 196), qRgb(120, 230, 220), qRgb(60, 180, 170), qRgb(70, 84, 92), qRgb(30, 120, 116),
    qRgb(200, 70, 60), qRgb(130, 40, 34),
    qRgb(20, 24, 28), qRgb(92, 100, 110), qRgb(62, 68, 76), qRgb(70, 150, 146), qRgb(40, 110, 108),
    qRgb(30, 86, 84), qRgb(44, 120, 118), qRgb(70, 74, 80), qRgb(60, 64, 70),
    qRgb(40, 44, 50), qRgb(20, 24, 28), qRgb(70, 190, 180),
    qRgb(72, 78, 86), qRgb(52, 58, 66), qRgb(62, 134, 130), qRgb(40, 100, 98), qRgb(88, 96, 106),
    qRgb(66, 74, 82), qRgb(16, 18, 22), qRgb(44, 48, 54),
    qRgb(48, 52, 58), qRgb(16, 18, 22), qRgb(44, 120, 118), qRgb(80, 86, 94),
    qRgb(60, 66, 74), qRgb(40, 44, 50), qRgb(10, 12, 14),
    0x9C9488, 0xE8F0C8, 0x101010, 0x202010,
    0xD8D0C8, 0xF0F8D0, 0xFFFFFF, 0x707070, 0xB4E678, 0xD8D0C8, 0xFFFFFF, 0x707070, 0xE0E0E0,
    0xC8C0B8, 0xFFFFFF, 0xB4E678, 0xE0F0A0, 0x908070, 0xB4E678,
    "mkpush"};

// ---------------------------------------------------------------------------------------------
// Sheets: a numbered picture being painted, and the description lines being collected.

struct Rect {
  int l = 0, t = 0, r = 0, b = 0;
  QString Text() const { return QStringLiteral("%1,%2,%3,%4").arg(l).arg(t).arg(r).arg(b); }
  Rect Off(int dx, int dy) const { return {l + dx, t + dy, r + dx, b + dy}; }
};
QString Pt(int x, int y) { return QStringLiteral("%1,%2").arg(x).arg(y); }

// ---------------------------------------------------------------------------------------------
// State looks. A part with several states (normal, hot, pressed, disabled, selected...) paints
// each state as one rounded box in a cell of its own; a table row describes each state.

// What the states of one part share.
struct LookStyle {
  LookStyle(int r, QRgb around) : radius(r), behind(around) {}
  LookStyle& FillFirst() { fillFirst = true; return *this; }
  LookStyle& OpenBottom() { openBottom = true; return *this; }
  LookStyle& BottomGap(int rows, QRgb line) { bottomGap = rows; baseLine = line; return *this; }
  int radius;
  QRgb behind;                   // around the box: corners, lifted rows, the gap below
  bool fillFirst = false;        // clear the whole cell to `behind` first
  bool openBottom = false;       // square bottom corners and no bottom outline (tabs)
  int bottomGap = 0;             // rows of the cell below the box...
  std::optional<QRgb> baseLine;  // ...with a line on the last one, 2 pixels in from each side
};

// One state.
struct StateLook {
  StateLook(QRgb line, QRgb from, QRgb to) : outline(line), top(from), bottom(to) {}
  StateLook& Shine(QRgb c) { shine = c; return *this; }
  StateLook& Lift(int rows) { lift = rows; return *this; }
  StateLook& WithGlyph(Glyph g, QRgb c) { glyph = g; glyphColor = c; return *this; }
  QRgb outline, top, bottom;   // box outline and body gradient
  std::optional<QRgb> shine;   // a line under the top edge, inset by the radius
  int lift = 0;                // rows above the box left to the background
  std::optional<Glyph> glyph;  // a 9 x 9 glyph centred in the cell
  QRgb glyphColor = 0;
};

void PaintLook(QImage& img, const Rect& cell, const LookStyle& style, const StateLook& look) {
  if (style.fillFirst) Fill(img, cell.l, cell.t, cell.r, cell.b, style.behind);
  RoundBox(img, cell.l, cell.t + look.lift, cell.r, cell.b - style.bottomGap, style.radius, look.outline, look.top,
           look.bottom, style.behind, style.openBottom);
  if (look.shine) HLine(img, cell.l + style.radius, cell.r - style.radius, cell.t + 1, *look.shine);
  if (style.baseLine) HLine(img, cell.l + 2, cell.r - 2, cell.b - 1, *style.baseLine);
  if (look.glyph)
    PaintGlyph(img, cell.l + (cell.r - cell.l - 9) / 2, cell.t + (cell.b - cell.t - 9) / 2, 9, 9, *look.glyph, look.glyphColor);
}

// Paints the states top-down in w x h cells from (ox, oy) and returns the cells.
std::vector<Rect> PaintStateColumn(QImage& img, int ox, int oy, int w, int h, const LookStyle& style,
                                   const std::vector<StateLook>& looks) {
  std::vector<Rect> cells;
  for (size_t i = 0; i < looks.size(); ++i) {
    const int y = h * static_cast<int>(i);
    cells.push_back(Rect{0, y, w, y + h}.Off(ox, oy));
    PaintLook(img, cells.back(), style, looks[i]);
  }
  return cells;
}

enum class Depth { Mono, Indexed, True };

struct Sheet {
  QString file;
  QImage img;
  Depth depth;
};

class Skin {
 public:
  explicit Skin(const Theme& th) : t(th) {}
  const Theme& t;
  std::vector<Sheet> sheets;
  QStringList lines;

  int AddSheet(const QString& file, int w, int h, Depth d, QRgb background) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(background);
    sheets.push_back({file, img, d});
    return static_cast<int>(sheets.size()) - 1;
  }
  QImage& Img(int sheet) { return sheets[static_cast<size_t>(sheet)].img; }
  void Section(const QString& name) {
    if (!lines.isEmpty()) lines << QString();
    lines << QStringLiteral("[%1]").arg(name);
  }
  void Key(const char* key, const QString& value) { lines << QStringLiteral("%1=%2").arg(QLatin1String(key), value); }
  void Key(const char* key, int value) { Key(key, QString::number(value)); }
};

// ---------------------------------------------------------------------------------------------
// The main picture: frame, caption bar, frame buttons (normal looks), client face.

constexpr int kPW = 176, kPH = 147;
constexpr Rect kClient = {15, 33, 163, 124};
struct FrameButton {
  const char* name;
  const char* command;
  Rect rect;
  Glyph glyph, restoreGlyph;
};
const FrameButton kButtons[] = {
    {"closebutton", "cmclose", {155, 6, 164, 15}, Glyph::Close, Glyph::Close},
    {"maxbutton", "cmmaximize", {143, 6, 152, 15}, Glyph::Maximize, Glyph::Restore},
    {"minbutton", "cmminimize", {131, 6, 140, 15}, Glyph::Minimize, Glyph::Restore},
    {"rollupbutton", "cmrollup", {119, 6, 128, 15}, Glyph::RollUp, Glyph::RollDown},
    {"sysmenubutton", "cmsysmenu", {12, 6, 21, 15}, Glyph::SysMenu, Glyph::SysMenu},
};

QImage PaintMain(const Theme& t) {
  QImage img(kPW, kPH, QImage::Format_RGB32);
  // Frame body: a horizontal band pattern, so every edge tiles cleanly.
  for (int y = 0; y < kPH; ++y)
    for (int x = 0; x < kPW; ++x) {
      const int dl = x, dr = kPW - 1 - x, db = kPH - 1 - y;
      const int d = std::min({dl, dr, db});
      QRgb c = d <= 0 ? t.outline : d == 1 ? t.frameLight : d >= 5 ? t.frameDark : Mix(t.frameMid, t.frameDark, d - 2, 3);
      img.setPixel(x, y, c);
    }
  // Caption bar rows 0..32: vertical gradient with a shine line and a dark rule at the bottom.
  VGrad(img, 1, 1, kPW - 1, 32, t.titleTop, t.titleBottom);
  HLine(img, 1, kPW - 1, 1, t.titleShine);
  HLine(img, 0, kPW, 0, t.outline);
  HLine(img, 1, kPW - 1, 32, t.outline);
  VLine(img, 0, 0, kPH, t.outline);
  VLine(img, kPW - 1, 0, kPH, t.outline);
  // A sunken edge around the client area, then the client face.
  Bevel(img, kClient.l - 1, kClient.t - 1, kClient.r + 1, kClient.b + 1, t.frameDark, t.frameLight);
  Fill(img, kClient.l, kClient.t, kClient.r, kClient.b, t.face);
  // Size grip in the bottom-right corner.
  for (int row = 0; row < 3; ++row)
    for (int col = 2 - row; col < 3; ++col) {
      const int x = kPW - 12 + 3 * col, y = kPH - 12 + 3 * row;
      img.setPixel(x, y, t.frameLight);
      img.setPixel(x + 1, y + 1, t.outline);
    }
  // Normal looks of the frame buttons.
  for (const FrameButton& b : kButtons) {
    const bool close = b.glyph == Glyph::Close;
    PaintGlyph(img, b.rect.l, b.rect.t, 9, 9, b.glyph, close ? Mix(t.glyph, t.closeHot, 1, 3) : t.glyph);
  }
  // Rounded top corners: outside pixels take the outline colour (the mask cuts them away).
  for (int y = 0; y < kPH; ++y)
    for (int x = 0; x < kPW; ++x)
      if (OutsideCorner(x, y, 0, 0, kPW, kPH, t.radius, true, false)) img.setPixel(x, y, t.outline);
  return img;
}

// 1-bit mask of the main picture: black inside the window, white outside.
QImage PaintMask(const Theme& t) {
  QImage img(kPW, kPH, QImage::Format_RGB32);
  for (int y = 0; y < kPH; ++y)
    for (int x = 0; x < kPW; ++x)
      img.setPixel(x, y, OutsideCorner(x, y, 0, 0, kPW, kPH, t.radius, true, false) ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
  return img;
}

// Hot, pressed and restore looks of the frame buttons: 5 columns of 9 pixels, 5 rows of 9:
// active, down, restore, restore active, restore down.
void PaintFrameButtonStates(Skin& s, int sheet, int ox, int oy) {
  const Theme& t = s.t;
  const LookStyle style(2, t.titleBottom);
  for (int i = 0; i < 5; ++i) {
    const FrameButton& b = kButtons[i];
    const bool close = b.glyph == Glyph::Close;
    const QRgb hot = close ? t.closeHot : t.hot, down = close ? t.closeDown : t.down;
    const struct {
      Glyph g;
      QRgb bg, fg;
    } rows[] = {
        {b.glyph, hot, t.glyphHot},        {b.glyph, down, t.glyphDown},       {b.restoreGlyph, t.titleBottom, t.glyph},
        {b.restoreGlyph, hot, t.glyphHot}, {b.restoreGlyph, down, t.glyphDown},
    };
    std::vector<StateLook> looks;
    for (const auto& r : rows)
      looks.push_back(StateLook(Mix(r.bg, t.outline, 1, 2), Mix(r.bg, qRgb(255, 255, 255), 1, 4), r.bg).WithGlyph(r.g, r.fg));
    PaintStateColumn(s.Img(sheet), ox + 9 * i, oy, 9, 9, style, looks);
  }
}

// ---------------------------------------------------------------------------------------------
// Control parts. Each paints into a sheet at (ox, oy) and writes its section.

struct Placed {
  int sheet, ox, oy;
};

void PaintPanel(Skin& s, Placed p, QStringList& sec) {
  const Theme& t = s.t;
  QImage& img = s.Img(p.sheet);
  const Rect skin = Rect{0, 0, 64, 48}.Off(p.ox, p.oy);
  Fill(img, skin.l, skin.t, skin.r, skin.b, t.face);
  Bevel(img, skin.l, skin.t, skin.r, skin.b, t.faceLight, t.faceDark);
  Bevel(img, skin.l + 1, skin.t + 1, skin.r - 1, skin.b - 1, Mix(t.faceLight, t.face, 1, 2), Mix(t.faceDark, t.face, 1, 2));
  sec << QStringLiteral("pictureindex=%1").arg(p.sheet) << QStringLiteral("maskpictureindex=-1")
      << QStringLiteral("skinrect=") + skin.Text() << QStringLiteral("lefttoppoint=4,4") << QStringLiteral("righttoppoint=60,4")
      << QStringLiteral("leftbottompoint=4,44") << QStringLiteral("rightbottompoint=60,44")
      << QStringLiteral("clientrect=2,2,62,46") << QStringLiteral("captionrect=0,0,0,0")
      << QStringLiteral("alignment=taleftjustify") << QStringLiteral("fontname=Arial") << QStringLiteral("fontstyle=fsbold")
      << QStringLiteral("fontheight=14") << QStringLiteral("fontcolor=%1").arg(t.textFont)
      << QStringLiteral("bgpictureindex=-1");
}

void PaintButton(Skin& s, Placed p, QStringList& sec) {
  const Theme& t = s.t;
  QImage& img = s.Img(p.sheet);
  auto look = [](QRgb outline, QRgb top, QRgb bottom, bool shine) {
    StateLook l(outline, top, bottom);
    if (shine) l.Shine(Mix(top, qRgb(255, 255, 255), 1, 2));
    return l;
  };
  // Normal, active, down (no shine: it looks pressed in) and disabled (a paler outline).
  const std::vector<Rect> rects =
      PaintStateColumn(img, p.ox, p.oy, 60, 24, LookStyle(4, t.face),
                       {look(t.btnOutline, t.btnTop, t.btnBottom, true), look(t.btnOutline, t.btnHotTop, t.btnHotBottom, true),
                        look(t.btnOutline, t.btnDownTop, t.btnDownBottom, false),
                        look(Mix(t.btnOutline, t.face, 1, 2), t.btnOffTop, t.btnOffBottom, true)});
  sec << QStringLiteral("pictureindex=%1").arg(p.sheet) << QStringLiteral("maskpictureindex=-1")
      << QStringLiteral("skinrect=") + rects[0].Text() << QStringLiteral("lefttoppoint=6,0") << QStringLiteral("righttoppoint=54,0")
      << QStringLiteral("leftbottompoint=0,0") << QStringLiteral("rightbottompoint=0,0") << QStringLiteral("clientrect=6,4,54,20")
      << QStringLiteral("fontname=Arial") << QStringLiteral("fontstyle=") << QStringLiteral("fontheight=14")
      << QStringLiteral("fontcolor=%1").arg(t.textFont) << QStringLiteral("activefontcolor=%1").arg(t.textActive)
      << QStringLiteral("downfontcolor=%1").arg(t.textDown) << QStringLiteral("disabledfontcolor=%1").arg(t.textDisabled)
      << QStringLiteral("activeskinrect=") + rects[1].Text() << QStringLiteral("downskinrect=") + rects[2].Text()
      << QStringLiteral("disabledskinrect=") + rects[3].Text() << QStringLiteral("morphing=1")
      << QStringLiteral("morphkind=%1").arg(QLatin1String(t.morphKind));
}

void PaintEdit(Skin& s, Placed p, QStringList& sec) {
  const Theme& t = s.t;
  QImage& img = s.Img(p.sheet);
  // Normal and active: the border lights up.
  const LookStyle style = LookStyle(3, t.face).FillFirst().BottomGap(1, Mix(t.face, t.faceLight, 1, 2));
  const QRgb shine = Mix(t.editBg, t.editBorder, 1, 3);
  const std::vector<Rect> rects = PaintStateColumn(
      img, p.ox, p.oy, 65, 22, style,
      {StateLook(t.editBorder, t.editBg, t.editBg).Shine(shine), StateLook(t.editHotBorder, t.editBg, t.editBg).Shine(shine)});
  sec << QStringLiteral("pictureindex=%1").arg(p.sheet) << QStringLiteral("maskpictureindex=-1")
      << QStringLiteral("skinrect=") + rects[0].Text() << QStringLiteral("lefttoppoint=3,0") << QStringLiteral("righttoppoint=62,0")
      << QStringLiteral("leftbottompoint=0,0") << QStringLiteral("rightbottompoint=0,0") << QStringLiteral("clientrect=3,3,62,20")
      << QStringLiteral("activeskinrect=") + rects[1].Text() << QStringLiteral("fontname=Arial") << QStringLiteral("fontstyle=")
      << QStringLiteral("fontheight=14") << QStringLiteral("fontcolor=%1").arg(t.textFont)
      << QStringLiteral("disabledfontcolor=%1").arg(t.textDisabled) << QStringLiteral("activefontcolor=%1").arg(t.textActive);
}

void PaintTab(Skin& s, Placed p, QStringList& sec) {
  const Theme& t = s.t;
  QImage& img = s.Img(p.sheet);
  const int tw = 40, th = 18;
  // Normal, selected (two rows taller: it joins the page) and hot.
  const std::vector<Rect> tabs =
      PaintStateColumn(img, p.ox, p.oy, tw, th, LookStyle(4, t.strip).FillFirst().OpenBottom(),
                       {StateLook(t.tabBorder, t.tabTop, t.tabBottom).Lift(2), StateLook(t.tabBorder, t.tabOnTop, t.tabOnBottom),
                        StateLook(t.tabBorder, t.tabHotTop, t.tabHotBottom).Lift(2)});
  // Page frame (the sheet background) and the strip texture.
  const Rect page = Rect{tw, 0, tw + 60, 54}.Off(p.ox, p.oy);
  Fill(img, page.l, page.t, page.r, page.b, t.tabOnBottom);
  Bevel(img, page.l, page.t, page.r, page.b, t.tabBorder, t.tabBorder);
  Bevel(img, page.l + 1, page.t + 1, page.r - 1, page.b - 1, t.faceLight, t.faceDark);
  Fill(img, page.l + 3, page.t + 3, page.r - 3, page.b - 3, t.face);
  const Rect strip = Rect{tw + 60, 0, tw + 70, th}.Off(p.ox, p.oy);
  VGrad(img, strip.l, strip.t, strip.r, strip.b, t.strip, Mix(t.strip, t.faceDark, 1, 3));
  sec << QStringLiteral("pictureindex=%1").arg(p.sheet) << QStringLiteral("maskpictureindex=-1")
      << QStringLiteral("skinrect=") + page.Text() << QStringLiteral("tabrect=") + tabs[0].Text()
      << QStringLiteral("activetabrect=") + tabs[1].Text() << QStringLiteral("focustabrect=0,0,0,0")
      << QStringLiteral("mouseintabrect=") + tabs[2].Text() << QStringLiteral("clientrect=3,3,57,51")
      << QStringLiteral("tabsbgrect=") + strip.Text() << QStringLiteral("lefttoppoint=4,4") << QStringLiteral("righttoppoint=56,4")
      << QStringLiteral("leftbottompoint=4,50") << QStringLiteral("rightbottompoint=56,50")
      << QStringLiteral("tableftoffset=5") << QStringLiteral("tabrightoffset=5") << QStringLiteral("fontname=Arial")
      << QStringLiteral("fontstyle=") << QStringLiteral("fontheight=14") << QStringLiteral("fontcolor=%1").arg(t.tabFont)
      << QStringLiteral("activefontcolor=%1").arg(t.tabActiveFont) << QStringLiteral("focusfontcolor=%1").arg(t.tabFocusFont)
      << QStringLiteral("mouseinfontcolor=%1").arg(t.tabHotFont) << QStringLiteral("updown=hupdown")
      << QStringLiteral("bgpictureindex=-1");
}

// Both up-downs: "hupdown" 36 x 18 (down button left, up button right) and "vupdown" 16 x 24.
void PaintUpDowns(Skin& s, Placed p, QStringList& h, QStringList& v) {
  const Theme& t = s.t;
  QImage& img = s.Img(p.sheet);
  // Normal, hot and pressed, for each arrow.
  const struct {
    QRgb top, bottom, glyph;
  } states[] = {{t.btnTop, t.btnBottom, t.btnOutline},
                {t.btnHotTop, t.btnHotBottom, t.btnOutline},
                {t.btnDownTop, t.btnDownBottom, t.glyphDown}};
  auto looks = [&](std::initializer_list<Glyph> glyphs) {
    std::vector<StateLook> v;
    for (const auto& st : states)
      for (Glyph g : glyphs)
        v.push_back(StateLook(t.btnOutline, st.top, st.bottom).WithGlyph(g, st.glyph));
    return v;
  };
  const LookStyle style(2, t.face);
  PaintStateColumn(img, p.ox, p.oy, 18, 18, style, looks({Glyph::ArrowLeft}));
  PaintStateColumn(img, p.ox + 18, p.oy, 18, 18, style, looks({Glyph::ArrowRight}));
  // The vertical one: up and down halves of each state, one under the other.
  PaintStateColumn(img, p.ox + 36, p.oy, 16, 12, style, looks({Glyph::ArrowUp, Glyph::ArrowDown}));
  auto common = [&](QStringList& sec, const Rect& skin) {
    sec << QStringLiteral("pictureindex=%1").arg(p.sheet) << QStringLiteral("maskpictureindex=-1")
        << QStringLiteral("skinrect=") + skin.Text() << QStringLiteral("lefttoppoint=0,0") << QStringLiteral("righttoppoint=0,0")
        << QStringLiteral("leftbottompoint=0,0") << QStringLiteral("rightbottompoint=0,0") << QStringLiteral("clientrect=0,0,0,0");
  };
  common(h, Rect{0, 0, 36, 18}.Off(p.ox, p.oy));
  h << QStringLiteral("upbuttonrect=18,0,36,18") << QStringLiteral("activeupbuttonrect=") + Rect{18, 18, 36, 36}.Off(p.ox, p.oy).Text()
    << QStringLiteral("downupbuttonrect=") + Rect{18, 36, 36, 54}.Off(p.ox, p.oy).Text() << QStringLiteral("downbuttonrect=0,0,18,18")
    << QStringLiteral("activedownbuttonrect=") + Rect{0, 18, 18, 36}.Off(p.ox, p.oy).Text()
    << QStringLiteral("downdownbuttonrect=") + Rect{0, 36, 18, 54}.Off(p.ox, p.oy).Text();
  common(v, Rect{36, 0, 52, 24}.Off(p.ox, p.oy));
  v << QStringLiteral("upbuttonrect=0,0,16,12") << QStringLiteral("activeupbuttonrect=") + Rect{36, 24, 52, 36}.Off(p.ox, p.oy).Text()
    << QStringLiteral("downupbuttonrect=") + Rect{36, 48, 52, 60}.Off(p.ox, p.oy).Text() << QStringLiteral("downbuttonrect=0,12,16,24")
    << QStringLiteral("activedownbuttonrect=") + Rect{36, 36, 52, 48}.Off(p.ox, p.oy).Text()
    << QStringLiteral("downdownbuttonrect=") + Rect{36, 60, 52, 72}.Off(p.ox, p.oy).Text();
}

// Popup menu window (a picture of its own, 48 x 48 with 4-pixel borders: the window maps the
// whole picture to its size) and the menu item looks (their own picture).
void PaintMenu(Skin& s, Placed w, Placed p, QStringList& popup, QStringList& item) {
  const Theme& t = s.t;
  QImage& wimg = s.Img(w.sheet);
  const Rect win = Rect{0, 0, 48, 48}.Off(w.ox, w.oy);
  Fill(wimg, win.l, win.t, win.r, win.b, t.menuBg);
  Bevel(wimg, win.l, win.t, win.r, win.b, t.menuEdge, t.menuEdge);
  Bevel(wimg, win.l + 1, win.t + 1, win.r - 1, win.b - 1, t.faceLight, t.menuDivider);
  // Glyph column tint.
  Fill(wimg, win.l + 3, win.t + 3, win.l + 20, win.b - 3, Mix(t.menuBg, t.menuDivider, 1, 3));
  popup << QStringLiteral("windowpictureindex=%1").arg(w.sheet) << QStringLiteral("maskpictureindex=-1")
        << QStringLiteral("lefttoppoint=4,4") << QStringLiteral("righttoppoint=44,4") << QStringLiteral("leftbottompoint=4,44")
        << QStringLiteral("rightbottompoint=44,44") << QStringLiteral("itemsrect=3,3,45,45")
        << QStringLiteral("scrollmarkercolor=%1").arg(t.scrollMarker)
        << QStringLiteral("scrollmarkeractivecolor=%1").arg(t.scrollMarkerActive);
  // Items: normal, active (each 60 x 20) and a divider (60 x 4).
  QImage& img = s.Img(p.sheet);
  const Rect normal = Rect{0, 0, 60, 20}.Off(p.ox, p.oy);
  const Rect active = Rect{0, 20, 60, 40}.Off(p.ox, p.oy);
  const Rect divider = Rect{0, 40, 60, 44}.Off(p.ox, p.oy);
  Fill(img, normal.l, normal.t, normal.r, normal.b, t.menuBg);
  Fill(img, normal.l, normal.t, normal.l + 17, normal.b, Mix(t.menuBg, t.menuDivider, 1, 3));
  PaintLook(img, active, LookStyle(3, t.menuBg),
            StateLook(Mix(t.menuHot, t.outline, 1, 3), Mix(t.menuHot, t.faceLight, 1, 3), t.menuHot));
  Fill(img, divider.l, divider.t, divider.r, divider.b, t.menuBg);
  HLine(img, divider.l, divider.r, divider.t + 1, t.menuDivider);
  HLine(img, divider.l, divider.r, divider.t + 2, t.faceLight);
  item << QStringLiteral("hint=") << QStringLiteral("skinrectinapicture=0") << QStringLiteral("skinrect=") + normal.Text()
       << QStringLiteral("activeskinrect=") + active.Text() << QStringLiteral("activepictureindex=%1").arg(p.sheet)
       << QStringLiteral("morphing=1") << QStringLiteral("morphkind=mkgradient") << QStringLiteral("dividerrect=") + divider.Text()
       << QStringLiteral("dividerleftoffset=20") << QStringLiteral("dividerrightoffset=4")
       << QStringLiteral("itemleftoffset=20") << QStringLiteral("itemrightoffset=20") << QStringLiteral("fontname=Arial")
       << QStringLiteral("fontheight=14") << QStringLiteral("fontstyle=") << QStringLiteral("unenabledfontcolor=%1").arg(t.menuDisabled)
       << QStringLiteral("fontcolor=%1").arg(t.menuFont) << QStringLiteral("activefontcolor=%1").arg(t.menuActive)
       << QStringLiteral("textrect=20,0,40,20");
}

// The main menu bar, in the menu items' picture right of them (at (ox, 0)): the bar strip
// (40 x 22, fixed 2-pixel ends), the item looks (normal, hot, pressed; 40 x 18 each, fixed
// 6-pixel ends) and the buttons of a maximized MDI child (14 x 14: system menu, close,
// restore, minimize across; normal, hot, pressed down).
struct MenuBarParts {
  QStringList bar, item;
  QStringList buttons[4];  // mbsys, mbclose, mbmax, mbmin
};
const char* const kBarButtonNames[4] = {"mbsys", "mbclose", "mbmax", "mbmin"};

void PaintMenuBar(Skin& s, Placed p, MenuBarParts& out) {
  const Theme& t = s.t;
  QImage& img = s.Img(p.sheet);
  // The strip: the face with a light top line and a dark bottom line.
  const Rect strip = Rect{0, 0, 40, 22}.Off(p.ox, p.oy);
  VGrad(img, strip.l, strip.t, strip.r, strip.b, Mix(t.face, t.faceLight, 1, 2), t.face);
  HLine(img, strip.l, strip.r, strip.t, t.faceLight);
  HLine(img, strip.l, strip.r, strip.b - 1, t.faceDark);
  // Items: the normal look is the strip's own rows 2..20, so an item sits on the bar unseen.
  const Rect normal = Rect{40, 0, 80, 18}.Off(p.ox, p.oy);
  for (int y = 0; y < 18; ++y) HLine(img, normal.l, normal.r, normal.t + y, img.pixel(strip.l + 20, strip.t + 2 + y));
  const Rect hot = Rect{40, 18, 80, 36}.Off(p.ox, p.oy);
  const Rect down = Rect{40, 36, 80, 54}.Off(p.ox, p.oy);
  PaintLook(img, hot, LookStyle(3, t.face),
            StateLook(Mix(t.menuHot, t.outline, 1, 3), Mix(t.menuHot, t.faceLight, 1, 2), t.menuHot));
  PaintLook(img, down, LookStyle(3, t.face), StateLook(t.btnOutline, t.btnDownBottom, t.btnDownTop));
  out.item << QStringLiteral("hint=") << QStringLiteral("skinrectinapicture=0") << QStringLiteral("skinrect=") + normal.Text()
           << QStringLiteral("activeskinrect=") + hot.Text() << QStringLiteral("activepictureindex=%1").arg(p.sheet)
           << QStringLiteral("morphing=1") << QStringLiteral("morphkind=%1").arg(QLatin1String(t.morphKind))
           << QStringLiteral("downrect=") + down.Text() << QStringLiteral("fontname=Arial") << QStringLiteral("fontheight=14")
           << QStringLiteral("fontstyle=") << QStringLiteral("fontcolor=%1").arg(t.menuFont)
           << QStringLiteral("activefontcolor=%1").arg(t.menuActive) << QStringLiteral("downfontcolor=%1").arg(t.textDown)
           << QStringLiteral("unenabledfontColor=%1").arg(t.menuDisabled) << QStringLiteral("textrect=6,1,34,17")
           << QStringLiteral("itemleftoffset=6") << QStringLiteral("itemrightoffset=6");
  // Child buttons.
  const Glyph glyphs[4] = {Glyph::SysMenu, Glyph::Close, Glyph::Restore, Glyph::Minimize};
  const char* commands[4] = {"cmsysmenu", "cmclose", "cmmaximize", "cmminimize"};
  const char* hints[4] = {"System menu", "Close", "Restore", "Minimize"};
  for (int i = 0; i < 4; ++i) {
    const bool close = i == 1;
    const QRgb hotBg = close ? t.closeHot : t.hot, downBg = close ? t.closeDown : t.down;
    const std::vector<Rect> cells = PaintStateColumn(
        img, p.ox + 80 + 14 * i, p.oy, 14, 14, LookStyle(2, t.face).FillFirst(),
        {StateLook(t.btnOutline, t.btnTop, t.btnBottom).WithGlyph(glyphs[i], t.btnOutline),
         StateLook(Mix(hotBg, t.outline, 1, 2), Mix(hotBg, qRgb(255, 255, 255), 1, 4), hotBg).WithGlyph(glyphs[i], t.glyphHot),
         StateLook(Mix(downBg, t.outline, 1, 2), downBg, downBg).WithGlyph(glyphs[i], t.glyphDown)});
    out.buttons[i] << QStringLiteral("hint=%1").arg(QLatin1String(hints[i])) << QStringLiteral("skinrectinapicture=0")
                   << QStringLiteral("skinrect=") + cells[0].Text() << QStringLiteral("activeskinrect=") + cells[1].Text()
                   << QStringLiteral("activepictureindex=%1").arg(p.sheet) << QStringLiteral("morphing=1")
                   << QStringLiteral("morphkind=%1").arg(QLatin1String(t.morphKind))
                   << QStringLiteral("downrect=") + cells[2].Text() << QStringLiteral("disableskinrsect=0,0,0,0")
                   << QStringLiteral("command=%1").arg(QLatin1String(commands[i])) << QStringLiteral("restorerect=0,0,0,0")
                   << QStringLiteral("restoreactiverect=0,0,0,0") << QStringLiteral("restoredownrect=0,0,0,0")
                   << QStringLiteral("restoreinactiverect=0,0,0,0");
  }
  out.bar << QStringLiteral("pictureindex=%1").arg(p.sheet) << QStringLiteral("maskpictureindex=-1")
          << QStringLiteral("skinrect=") + strip.Text() << QStringLiteral("itemsrect=2,2,38,20")
          << QStringLiteral("menubaritem=MENUBARITEM") << QStringLiteral("closebutton=mbclose")
          << QStringLiteral("maxbutton=mbmax") << QStringLiteral("minbutton=mbmin") << QStringLiteral("sysmenubutton=mbsys")
          << QStringLiteral("trackmarkcolor=%1").arg(t.scrollMarker)
          << QStringLiteral("trackmarkactivecolor=%1").arg(t.scrollMarkerActive);
}

void PaintHint(Skin& s, Placed p, QStringList& hint) {
  const Theme& t = s.t;
  QImage& img = s.Img(p.sheet);
  const Rect win = Rect{0, 0, 32, 24}.Off(p.ox, p.oy);
  RoundBox(img, win.l, win.t, win.r, win.b, 3, t.hintEdge, t.hintTop, t.hintBottom, t.hintEdge);
  // The centre rows are uniform so the body tiles without seams.
  Fill(img, win.l + 1, win.t + 4, win.r - 1, win.b - 4, t.hintBottom);
  hint << QStringLiteral("windowpictureindex=%1").arg(p.sheet) << QStringLiteral("maskpictureindex=-1")
       << QStringLiteral("lefttoppoint=4,4") << QStringLiteral("righttoppoint=28,4") << QStringLiteral("leftbottompoint=4,20")
       << QStringLiteral("rightbottompoint=28,20") << QStringLiteral("clientrect=4,4,28,20") << QStringLiteral("fontname=Arial")
       << QStringLiteral("fontstyle=") << QStringLiteral("fontheight=14") << QStringLiteral("fontcolor=%1").arg(t.hintFont);
}

// ---------------------------------------------------------------------------------------------
// Whole skins

void WriteSheet(const QString& dir, const Sheet& sh) {
  TBitmap bmp;
  switch (sh.depth) {
    case Depth::Mono: {
      QImage mono(sh.img.size(), QImage::Format_Mono);
      mono.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
      for (int y = 0; y < sh.img.height(); ++y)
        for (int x = 0; x < sh.img.width(); ++x) mono.setPixel(x, y, qGray(sh.img.pixel(x, y)) >= 128 ? 1 : 0);
      bmp.SetImage(mono);
      break;
    }
    case Depth::Indexed: {
      // Exact palette of the colours used (the parts use far fewer than 256).
      QList<QRgb> colors;
      for (int y = 0; y < sh.img.height(); ++y)
        for (int x = 0; x < sh.img.width(); ++x) {
          const QRgb c = sh.img.pixel(x, y) | 0xFF000000u;
          if (!colors.contains(c)) colors.append(c);
        }
      if (colors.size() > 256) {
        std::fprintf(stderr, "skinpaint: %s uses more than 256 colours\n", qPrintable(sh.file));
        std::exit(1);
      }
      std::sort(colors.begin(), colors.end());
      QImage idx(sh.img.size(), QImage::Format_Indexed8);
      idx.setColorTable(colors);
      for (int y = 0; y < sh.img.height(); ++y)
        for (int x = 0; x < sh.img.width(); ++x)
          idx.setPixel(x, y, static_cast<uint>(colors.indexOf(sh.img.pixel(x, y) | 0xFF000000u)));
      bmp.SetImage(idx);
      break;
    }
    case Depth::True: bmp.SetImage(sh.img); break;
  }
  bmp.SaveToFile(dir + sh.file);
}

void BuildSkin(const Theme& t, bool stored, const QString& outRoot) {
  Skin s(t);
  QStringList panel, button, edit, tab, hup, vup, popup, menuitem, hint;
  MenuBarParts menubar;
  int buttons;
  if (stored) {
    buttons = s.AddSheet(QStringLiteral("framebuttons.bmp"), 45, 45, Depth::True, t.titleBottom);
    PaintFrameButtonStates(s, buttons, 0, 0);
    PaintPanel(s, {s.AddSheet(QStringLiteral("panel.bmp"), 64, 48, Depth::True, t.face), 0, 0}, panel);
    PaintButton(s, {s.AddSheet(QStringLiteral("button.bmp"), 60, 96, Depth::True, t.face), 0, 0}, button);
    PaintEdit(s, {s.AddSheet(QStringLiteral("edit.bmp"), 65, 44, Depth::True, t.face), 0, 0}, edit);
    PaintTab(s, {s.AddSheet(QStringLiteral("tab.bmp"), 110, 54, Depth::True, t.strip), 0, 0}, tab);
    PaintUpDowns(s, {s.AddSheet(QStringLiteral("updown.bmp"), 52, 72, Depth::Indexed, t.face), 0, 0}, hup, vup);
    const int items = s.AddSheet(QStringLiteral("menu.bmp"), 196, 54, Depth::True, t.menuBg);
    PaintHint(s, {s.AddSheet(QStringLiteral("hint.bmp"), 32, 24, Depth::Indexed, t.hintEdge), 0, 0}, hint);
    PaintMenu(s, {s.AddSheet(QStringLiteral("popup.bmp"), 48, 48, Depth::True, t.menuBg), 0, 0}, {items, 0, 0}, popup, menuitem);
    PaintMenuBar(s, {items, 60, 0}, menubar);
  } else {
    buttons = s.AddSheet(QStringLiteral("framebuttons.bmp"), 45, 45, Depth::Indexed, t.titleBottom);
    PaintFrameButtonStates(s, buttons, 0, 0);
    int parts = s.AddSheet(QStringLiteral("panels.bmp"), 65, 92, Depth::True, t.face);
    PaintPanel(s, {parts, 0, 0}, panel);
    PaintEdit(s, {parts, 0, 48}, edit);
    PaintButton(s, {s.AddSheet(QStringLiteral("button.bmp"), 60, 96, Depth::True, t.face), 0, 0}, button);
    parts = s.AddSheet(QStringLiteral("tabs.bmp"), 110, 126, Depth::True, t.strip);
    PaintTab(s, {parts, 0, 0}, tab);
    PaintUpDowns(s, {parts, 0, 54}, hup, vup);
    const int items = s.AddSheet(QStringLiteral("menu.bmp"), 196, 54, Depth::True, t.menuBg);
    PaintHint(s, {s.AddSheet(QStringLiteral("hint.bmp"), 32, 24, Depth::Indexed, t.hintEdge), 0, 0}, hint);
    PaintMenu(s, {s.AddSheet(QStringLiteral("popup.bmp"), 48, 48, Depth::True, t.menuBg), 0, 0}, {items, 0, 0}, popup, menuitem);
    PaintMenuBar(s, {items, 60, 0}, menubar);
  }

  // The description.
  s.Section(QStringLiteral("VERSION"));
  s.Key("ver", QStringLiteral("1"));
  s.Key("skinname", QLatin1String(t.name));
  s.Key("skinauthor", QStringLiteral("Ledgerly"));
  s.Key("authoremail", QString());
  s.Key("authorurl", QString());
  s.Key("skincomments", QLatin1String(t.comments));

  s.Section(QStringLiteral("PICTURES"));
  s.Key("picture", QStringLiteral("main.bmp"));
  s.Key("inactivepicture", QString());
  s.Key("mask", QStringLiteral("mask.bmp"));
  s.Key("activepicturescount", static_cast<int>(s.sheets.size()));
  for (size_t i = 0; i < s.sheets.size(); ++i) s.lines << QStringLiteral("%1=%2").arg(i).arg(s.sheets[i].file);

  s.Section(QStringLiteral("FORMINFO"));
  s.Key("buttonsrect", QStringLiteral("0,0,0,0"));
  s.Key("captionrect", QStringLiteral("0,0,0,0"));
  s.Key("buttonsoffset", 0);
  s.Key("buttonsinleft", 0);
  s.Key("autorenderinginactiveimage", 0);
  s.Key("inactiveeffect", QStringLiteral("iebrightness"));
  s.Key("lefttoppoint", Pt(48, 35));
  s.Key("righttoppoint", Pt(99, 34));
  s.Key("leftbottompoint", Pt(15, 124));
  s.Key("rightbottompoint", Pt(163, 124));
  s.Key("bgpictureindex", -1);
  s.Key("mainmenupopupup", 0);
  s.Key("maskrectarea", kClient.Text());
  s.Key("hittestlefttoppoint", Pt(10, 8));
  s.Key("hittestrighttoppoint", Pt(165, 8));
  s.Key("hittestleftbottompoint", Pt(8, 139));
  s.Key("hittestrightbottompoint", Pt(167, 139));
  s.Key("clientrect", kClient.Text());
  s.Key("borderwidth", 5);

  s.Section(QStringLiteral("POPUPWINDOW"));
  s.lines << popup;
  s.Section(QStringLiteral("HINTWINDOW"));
  s.lines << hint;

  // Form objects.
  s.Section(QStringLiteral("SKINOBJECTS"));
  QStringList objects = {QStringLiteral("caption1:caption")};
  for (const FrameButton& b : kButtons) objects << QStringLiteral("%1:stdbutton").arg(QLatin1String(b.name));
  objects << QStringLiteral("MENUITEM:menuitem") << QStringLiteral("MENUBARITEM:mainmenubaritem");
  for (const char* b : kBarButtonNames) objects << QStringLiteral("%1:mainmenubarbutton").arg(QLatin1String(b));
  s.Key("count", static_cast<int>(objects.size()));
  for (int i = 0; i < objects.size(); ++i) s.lines << QStringLiteral("%1=%2").arg(i).arg(objects[i]);

  s.Section(QStringLiteral("caption1"));
  s.lines << QStringLiteral("hint=") << QStringLiteral("skinrectinapicture=0") << QStringLiteral("skinrect=41,3,102,18")
          << QStringLiteral("activeskinrect=0,0,0,0") << QStringLiteral("activepictureindex=-1") << QStringLiteral("morphing=0")
          << QStringLiteral("morphkind=mkdefault") << QStringLiteral("fontname=Arial") << QStringLiteral("fontheight=14")
          << QStringLiteral("fontstyle=fsbold") << QStringLiteral("fontcolor=%1").arg(t.captionFont)
          << QStringLiteral("activefontcolor=%1").arg(t.captionActiveFont) << QStringLiteral("shadowcolor=%1").arg(t.captionShadow)
          << QStringLiteral("activeshadowcolor=%1").arg(t.captionActiveShadow) << QStringLiteral("shadow=1")
          << QStringLiteral("alignment=tacenter") << QStringLiteral("textrect=2,1,60,14") << QStringLiteral("framerect=0,0,0,0")
          << QStringLiteral("activeframerect=0,0,0,0") << QStringLiteral("frameleftoffset=0") << QStringLiteral("framerightoffset=0")
          << QStringLiteral("frametextrect=0,0,0,0");
  const char* hints[] = {"Close", "Maximize", "Minimize", "Roll up", "System menu"};
  for (int i = 0; i < 5; ++i) {
    const FrameButton& b = kButtons[i];
    const bool restorable = i >= 1 && i <= 3;
    auto state = [&](int row) { return Rect{9 * i, 9 * row, 9 * i + 9, 9 * row + 9}.Text(); };
    s.Section(QLatin1String(b.name));
    s.lines << QStringLiteral("hint=%1").arg(QLatin1String(hints[i])) << QStringLiteral("skinrectinapicture=0")
            << QStringLiteral("skinrect=") + b.rect.Text() << QStringLiteral("activeskinrect=") + state(0)
            << QStringLiteral("activepictureindex=%1").arg(buttons) << QStringLiteral("morphing=1")
            << QStringLiteral("morphkind=%1").arg(QLatin1String(t.morphKind)) << QStringLiteral("downrect=") + state(1)
            << QStringLiteral("disableskinrsect=0,0,0,0") << QStringLiteral("command=%1").arg(QLatin1String(b.command))
            << QStringLiteral("restorerect=") + (restorable ? state(2) : QStringLiteral("0,0,0,0"))
            << QStringLiteral("restoreactiverect=") + (restorable ? state(3) : QStringLiteral("0,0,0,0"))
            << QStringLiteral("restoredownrect=") + (restorable ? state(4) : QStringLiteral("0,0,0,0"))
            << QStringLiteral("restoreinactiverect=0,0,0,0");
  }
  s.Section(QStringLiteral("MENUITEM"));
  s.lines << menuitem;
  s.Section(QStringLiteral("MENUBARITEM"));
  s.lines << menubar.item;
  for (int i = 0; i < 4; ++i) {
    s.Section(QLatin1String(kBarButtonNames[i]));
    s.lines << menubar.buttons[i];
  }

  // Controls.
  s.Section(QStringLiteral("SKINCONTROLS"));
  const QStringList controls = {QStringLiteral("panel:panel"),   QStringLiteral("button:button"),   QStringLiteral("edit:edit"),
                                QStringLiteral("stdlabel:stdlabel"), QStringLiteral("tab:tab"),   QStringLiteral("hupdown:updown"),
                                QStringLiteral("vupdown:updown"), QStringLiteral("mainmenubar:mainmenubar")};
  s.Key("count", static_cast<int>(controls.size()));
  for (int i = 0; i < controls.size(); ++i) s.lines << QStringLiteral("%1=%2").arg(i).arg(controls[i]);
  s.Section(QStringLiteral("panel"));
  s.lines << panel;
  s.Section(QStringLiteral("button"));
  s.lines << button;
  s.Section(QStringLiteral("edit"));
  s.lines << edit;
  s.Section(QStringLiteral("stdlabel"));
  s.lines << QStringLiteral("pictureindex=-1") << QStringLiteral("maskpictureindex=-1") << QStringLiteral("skinrect=0,0,0,0")
          << QStringLiteral("fontname=Arial") << QStringLiteral("fontstyle=") << QStringLiteral("fontheight=14")
          << QStringLiteral("fontcolor=%1").arg(t.textFont) << QStringLiteral("activefontcolor=%1").arg(t.labelActive);
  s.Section(QStringLiteral("tab"));
  s.lines << tab;
  s.Section(QStringLiteral("hupdown"));
  s.lines << hup;
  s.Section(QStringLiteral("vupdown"));
  s.lines << vup;
  s.Section(QStringLiteral("mainmenubar"));
  s.lines << menubar.bar;

  // Files.
  const QString dir = outRoot + u'/' + QLatin1String(t.folder) + u'/';
  QDir().mkpath(dir);
  for (const QString& f : QDir(dir).entryList({QStringLiteral("*.bmp"), QStringLiteral("SKIN.INI")}, QDir::Files))
    QFile::remove(dir + f);
  WriteSheet(dir, {QStringLiteral("main.bmp"), PaintMain(t), Depth::True});
  WriteSheet(dir, {QStringLiteral("mask.bmp"), PaintMask(t), Depth::Mono});
  for (const Sheet& sh : s.sheets) WriteSheet(dir, sh);
  QFile ini(dir + QStringLiteral("SKIN.INI"));
  if (!ini.open(QIODevice::WriteOnly | QIODevice::Truncate)) throw EFOpenError(QStringLiteral("Cannot create file \"%1\"").arg(ini.fileName()));
  for (const QString& l : s.lines) ini.write(l.toLatin1() + "\r\n");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && QString::fromLatin1(argv[1]) == QStringLiteral("--icon")) {
    bool ok = false;
    const int size = QString::fromLatin1(argv[2]).toInt(&ok);
    if (!ok || size < 16 || size > 1024) {
      std::fprintf(stderr, "skinpaint: icon size must be 16 to 1024\n");
      return 2;
    }
    if (!PaintAppIcon(size).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
      std::fprintf(stderr, "skinpaint: cannot write %s\n", argv[3]);
      return 1;
    }
    return 0;
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: skinpaint OUTDIR\n  writes OUTDIR/daylight and OUTDIR/slate (SKIN.INI and BMP files)\n       skinpaint --icon SIZE OUT.png\n");
    return 2;
  }
  try {
    const QString out = QString::fromLocal8Bit(argv[1]);
    BuildSkin(kDaylight, true, out);
    BuildSkin(kSlate, false, out);
  } catch (const Exception& e) {
    std::fprintf(stderr, "skinpaint: %s\n", qPrintable(e.Message()));
    return 1;
  }
  return 0;
}
