// skintool render: composes one control section of a skin folder at a given size, the way a
// skinned control paints it, and writes it as a PNG (transparent outside the window shape).
#include <QImage>
#include <QRegion>

#include "SkinTool.h"
#include "skin/data/SkinData.h"
#include "skin/draw/bsUtils.h"

namespace {
int Render(const QStringList& args);

const SkinToolCommand kRender(
    "render", "render DIR SECTION WIDTH HEIGHT OUT.png [--state normal|active|down|disabled]",
    "Composes the control section SECTION of the skin folder DIR at WIDTH x HEIGHT as a skinned\n"
    "control does: its points decide the stretch mode (both directions, horizontal only,\n"
    "vertical only or fixed size, which overrides the size asked for), corners are copied, edges\n"
    "and the centre tiled. --state picks the look: \"activeskinrect\" (empty: \"skinrect\"),\n"
    "\"downskinrect\" (empty: the active look) or \"disabledskinrect\" (empty: \"skinrect\").\n"
    "With a mask picture the pixels outside the control's window shape are transparent.",
    Render);

// The look's rectangle for a state, with the substitutions the controls make.
TRect StateRect(const TbsDataSkinCustomControl& c, const QString& state) {
  TRect active = c.skinrect;
  if (auto* b = dynamic_cast<const TbsDataSkinButtonControl*>(&c)) {
    if (!RectIsEmpty(b->activeskinrect)) active = b->activeskinrect;
    if (state == QLatin1String("down")) return RectIsEmpty(b->downskinrect) ? active : b->downskinrect;
    if (state == QLatin1String("disabled")) return RectIsEmpty(b->disabledskinrect) ? c.skinrect : b->disabledskinrect;
  } else if (auto* e = dynamic_cast<const TbsDataSkinEditControl*>(&c)) {
    if (!RectIsEmpty(e->activeskinrect)) active = e->activeskinrect;
  } else if (auto* r = dynamic_cast<const TbsDataSkinCheckRadioControl*>(&c)) {
    if (!RectIsEmpty(r->activeskinrect)) active = r->activeskinrect;
  }
  return state == QLatin1String("active") ? active : c.skinrect;
}

int Render(const QStringList& argsIn) {
  QStringList args = argsIn;
  QString state = QStringLiteral("normal");
  if (const qsizetype i = args.indexOf(QStringLiteral("--state")); i >= 0) {
    if (i + 1 >= args.size()) return SkinToolUsage(kRender);
    state = args[i + 1];
    args.remove(i, 2);
  }
  static const QStringList kStates = {QStringLiteral("normal"), QStringLiteral("active"), QStringLiteral("down"),
                                      QStringLiteral("disabled")};
  if (args.size() != 5 || !kStates.contains(state)) return SkinToolUsage(kRender);
  bool okW = false, okH = false;
  int w = args[2].toInt(&okW), h = args[3].toInt(&okH);
  if (!okW || !okH || w < 1 || h < 1 || w > 32767 || h > 32767)
    return SkinToolFail(QStringLiteral("WIDTH and HEIGHT must be whole numbers from 1 to 32767"));

  TbsSkinData data(nullptr);
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SkinToolDescriptionPath(args[0]));
  data.LoadFromStoredSkin(stored);
  if (data.IsEmpty) return SkinToolFail(QStringLiteral("%1 holds no skin").arg(args[0]));
  const int index = data.FindControlIndex(args[1]);
  if (index < 0) return SkinToolFail(QStringLiteral("the skin has no control section \"%1\"").arg(args[1]));
  const auto* c = dynamic_cast<const TbsDataSkinCustomControl*>(data.SkinControls[static_cast<size_t>(index)].get());
  if (!c) return SkinToolFail(QStringLiteral("section \"%1\" has no stretchable picture").arg(args[1]));
  const TBitmap* picture = data.ActivePicture(c->pictureindex);
  const TBitmap* mask = data.ActivePicture(c->maskpictureindex);

  // Stretch mode and the size the skin allows, with the points moved to that size.
  const TRect& sr = c->skinrect;
  const int sw = RectWidth(sr), sh = RectHeight(sr);
  int mode;
  if (RectIsEmpty(sr)) mode = -1;
  else if (c->rightbottompoint.X != 0 && c->rightbottompoint.Y != 0) mode = 1;
  else if (c->righttoppoint.X != 0 || c->righttoppoint.Y != 0) mode = 2;
  else if (c->leftbottompoint.X != 0 || c->leftbottompoint.Y != 0) mode = 3;
  else mode = 0;
  if (mode == 0) w = sw, h = sh;
  if (mode == 2) h = sh;
  if (mode == 3) w = sw;
  const int dx = w - sw, dy = h - sh;
  const TPoint LT = c->lefttoppoint, RT = c->righttoppoint, LB = c->leftbottompoint, RB = c->rightbottompoint;
  const TRect CR = c->clientrect;
  const TPoint NRT(RT.X + dx, RT.Y), NLB(LB.X, LB.Y + dy), NRB(RB.X + dx, RB.Y + dy);
  const TRect NCR(CR.Left, CR.Top, CR.Right + (mode == 3 ? 0 : dx), CR.Bottom + (mode == 2 ? 0 : dy));

  // Compose into a bitmap of the control's size (it starts white).
  TBitmap bmp(w, h);
  const TRect source = StateRect(*c, state);
  if (picture) {
    switch (mode) {
      case 0: CopyPiece(bmp, TRect(0, 0, RectWidth(source), RectHeight(source)), *picture, source); break;
      case 1: ComposeSkinImage(LT, RT, LB, RB, CR, LT, NRT, NLB, NRB, NCR, bmp, *picture, source, w, h, true); break;
      case 2: ComposeStripH(LT.X, sw - RT.X, bmp, *picture, source, w, h); break;
      case 3: ComposeStripV(LT.Y, sh - LB.Y, bmp, *picture, source, w, h); break;
      default: break;
    }
  }

  // The window shape from the mask picture.
  QRegion shape;
  if (mask) {
    switch (mode) {
      case 0: RegionFromMask(shape, *mask); break;
      case 1: FrameRegionFromMask(shape, LT, RT, LB, RB, CR, LT, NRT, NLB, NRB, NCR, *mask, w, h); break;
      case 2: {
        const TPoint nr(w + RT.X - sw, RT.Y);
        FrameRegionFromMask(shape, LT, RT, LT, RT, CR, LT, nr, LT, nr, NCR, *mask, w, h);
        break;
      }
      case 3: {
        const TPoint nl(LB.X, h + LB.Y - sh);
        FrameRegionFromMask(shape, LT, LT, LB, LB, CR, LT, LT, nl, nl, NCR, *mask, w, h);
        break;
      }
      default: break;
    }
  }

  QImage out = bmp.Image().convertToFormat(QImage::Format_ARGB32);
  if (!shape.isEmpty())
    for (int y = 0; y < out.height(); ++y) {
      auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
      for (int x = 0; x < out.width(); ++x)
        if (!shape.contains(QPoint(x, y))) row[x] = 0;
    }
  if (!out.save(args[4], "PNG")) return SkinToolFail(QStringLiteral("cannot write \"%1\"").arg(args[4]));
  return 0;
}
}  // namespace
