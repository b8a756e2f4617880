// skintool frame: composes the frame of a skinned window of a given size from a skin folder
// and writes it as a PNG, with the client area and everything outside the window shape
// transparent.
#include <QImage>
#include <QPainter>
#include <QRegion>

#include "SkinTool.h"
#include "platform/Canvas.h"
#include "skin/data/SkinData.h"
#include "skin/draw/bsEffects.h"
#include "skin/draw/bsUtils.h"

namespace {
int Frame(const QStringList& args);

const SkinToolCommand kFrame(
    "frame", "frame DIR WIDTH HEIGHT OUT.png [--inactive]",
    "Composes the four frame pieces of a window of WIDTH x HEIGHT from the skin folder DIR as the\n"
    "skinned frame paints them (corners copied, edges tiled; caption objects are not drawn) and\n"
    "cuts the window shape from the skin's mask. --inactive draws the inactive look: the inactive\n"
    "picture when the skin has one, and the skin's inactive effect when it renders that look\n"
    "itself. The client area and the pixels outside the shape are transparent. The window must be\n"
    "at least as wide as the frame picture and as high as its frame without client area.",
    Frame);

void ApplyInactiveEffect(TBitmap& piece, TInactiveEffect effect) {
  if (piece.Empty()) return;
  TbsEffectBmp e(piece);
  e.ApplyInactiveEffect(effect);
  piece.SetImage(e.Image());
}

int Frame(const QStringList& argsIn) {
  QStringList args = argsIn;
  const bool inactive = args.removeAll(QStringLiteral("--inactive")) > 0;
  if (args.size() != 4) return SkinToolUsage(kFrame);
  bool okW = false, okH = false;
  const int W = args[1].toInt(&okW), H = args[2].toInt(&okH);
  if (!okW || !okH || W < 1 || H < 1 || W > 32767 || H > 32767)
    return SkinToolFail(QStringLiteral("WIDTH and HEIGHT must be whole numbers from 1 to 32767"));

  TbsSkinData data(nullptr);
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SkinToolDescriptionPath(args[0]));
  data.LoadFromStoredSkin(stored);
  if (data.IsEmpty || data.picture.Empty())
    return SkinToolFail(QStringLiteral("%1 holds no skin with a frame picture").arg(args[0]));
  const int PW = data.picture.Width(), PH = data.picture.Height();
  const int minH = PH - RectHeight(data.clientrect);
  if (W < PW || H < minH)
    return SkinToolFail(QStringLiteral("the window must be at least %1 x %2 with this skin").arg(PW).arg(minH));

  // Geometry mapped to the window size: left and top parts stay, the rest follows the edges.
  const int dx = W - PW, dy = H - PH;
  const TPoint LT = data.lefttoppoint, RT = data.righttoppoint, LB = data.leftbottompoint, RB = data.rightbottompoint;
  const TPoint NRT(RT.X + dx, RT.Y), NLB(LB.X, LB.Y + dy), NRB(RB.X + dx, RB.Y + dy);
  const TRect& CR = data.clientrect;
  const TRect NCR(CR.Left, CR.Top, CR.Right + dx, CR.Bottom + dy);
  const TRect& MA = data.maskrectarea;
  const TRect NMA(MA.Left, MA.Top, MA.Right + dx, MA.Bottom + dy);

  const TBitmap& source = inactive && !data.inactivepicture.Empty() ? data.inactivepicture : data.picture;
  TBitmap left, top, right, bottom;
  ComposeBorderImages(LT, RT, LB, RB, CR, LT, NRT, NLB, NRB, NCR, left, top, right, bottom, source,
                      TRect(0, 0, PW, PH), W, H);
  if (inactive && data.autorenderinginactiveimage)
    for (TBitmap* piece : {&left, &top, &right, &bottom}) ApplyInactiveEffect(*piece, data.inactiveeffect);

  QImage out(W, H, QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  {
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    if (!top.Empty()) p.drawImage(0, 0, top.Image());
    if (!left.Empty()) p.drawImage(0, top.Height(), left.Image());
    if (!right.Empty()) p.drawImage(W - right.Width(), top.Height(), right.Image());
    if (!bottom.Empty()) p.drawImage(0, H - bottom.Height(), bottom.Image());
    if (!RectIsEmpty(NCR)) p.fillRect(ToQRect(NCR), Qt::transparent);  // the client area
  }

  // Window shape: the mask area plus the four mask pieces cut for this size.
  if (!data.mask.Empty()) {
    TBitmap mTop, mLeft, mRight, mBottom;
    SliceBorderImages(LT, RT, LB, RB, MA, LT, NRT, NLB, NRB, NMA, data.mask, mTop, mLeft, mRight, mBottom, W, H);
    QRegion shape;
    if (!RectIsEmpty(NMA)) shape = QRegion(ToQRect(NMA));
    std::vector<uint8_t> bytes;
    auto add = [&](const TBitmap& piece, int x, int y) {
      if (!piece.Empty() && MaskToRegionData(piece, x, y, bytes) != 0) shape += RegionFromRegionData(bytes);
    };
    add(mTop, 0, 0);
    add(mBottom, 0, NMA.Bottom);
    add(mLeft, 0, NMA.Top);
    add(mRight, NMA.Right, NMA.Top);
    const QRegion outside = QRegion(0, 0, W, H) - shape;
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : outside) p.fillRect(r, Qt::transparent);
  }
  if (!out.save(args[3], "PNG")) return SkinToolFail(QStringLiteral("cannot write \"%1\"").arg(args[3]));
  return 0;
}
}  // namespace
