// skintool frame: the frame of a skinned window of a given size, drawn by the frame component
// itself on a form that is never shown, written as a PNG with the client area and everything
// outside the window shape transparent.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <memory>

#include "SkinTool.h"
#include "platform/Canvas.h"
#include "platform/Forms.h"
#include "skin/data/SkinData.h"
#include "skin/draw/bsUtils.h"
#include "skin/form/bsSkinForm.h"

namespace {
int Frame(const QStringList& args);

const SkinToolCommand kFrame(
    "frame", "frame DIR WIDTH HEIGHT OUT.png [--inactive] [--maximized] [--caption TEXT]",
    "Draws the frame of a window of WIDTH x HEIGHT with the skin folder DIR exactly as the skinned\n"
    "window does: the four composed frame pieces, the caption and its buttons, the window shape\n"
    "cut from the skin's mask. --caption gives the window's caption text (none by default).\n"
    "--inactive draws the look of a window that is not active; --maximized the looks of the\n"
    "buttons of a maximized window. The client area and the pixels\n"
    "outside the shape are transparent. The window must be at least as wide as the frame picture\n"
    "and as high as its frame without client area.",
    Frame);

// Widgets need an application object; the form is never shown, so no display is needed.
std::unique_ptr<TApplication> MakeApplication() {
  if (Application) return nullptr;
  if (!QCoreApplication::instance() && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "skintool";
  static char* argv[] = {name, nullptr};
  return std::make_unique<TApplication>(argc, argv);
}

int Frame(const QStringList& argsIn) {
  QStringList args = argsIn;
  const bool inactive = args.removeAll(QStringLiteral("--inactive")) > 0;
  const bool maximized = args.removeAll(QStringLiteral("--maximized")) > 0;
  QString caption;
  if (const qsizetype i = args.indexOf(QStringLiteral("--caption")); i >= 0) {
    if (i + 1 >= args.size()) return SkinToolUsage(kFrame);
    caption = args[i + 1];
    args.remove(i, 2);
  }
  if (args.size() != 4) return SkinToolUsage(kFrame);
  bool okW = false, okH = false;
  const int W = args[1].toInt(&okW), H = args[2].toInt(&okH);
  if (!okW || !okH || W < 1 || H < 1 || W > 32767 || H > 32767)
    return SkinToolFail(QStringLiteral("WIDTH and HEIGHT must be whole numbers from 1 to 32767"));

  const std::unique_ptr<TApplication> app = MakeApplication();
  TForm form(nullptr);
  form.SetCaption(caption);
  auto* data = new TbsSkinData(&form);
  {
    TbsStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(SkinToolDescriptionPath(args[0]));
    data->LoadFromStoredSkin(stored);
  }
  if (data->IsEmpty || data->picture.Empty())
    return SkinToolFail(QStringLiteral("%1 holds no skin with a frame picture").arg(args[0]));
  auto* frame = new TbsSkinForm(&form);
  frame->SetSkinData(data);
  if (W < frame->GetMinWidth() || H < frame->GetMinHeight())
    return SkinToolFail(QStringLiteral("the window must be at least %1 x %2 with this skin")
                            .arg(frame->GetMinWidth())
                            .arg(frame->GetMinHeight()));
  // Maximized, the frame takes the screen's work area; the picture is still W x H.
  if (maximized) frame->SetWindowState(TWindowState::wsMaximized);
  form.SetBounds(0, 0, W, H);
  form.Perform(WM_SIZE, SIZE_RESTORED, MakeLParam(W, H));
  if (!inactive) {
    form.Perform(WM_NCACTIVATE, 1);
    form.Perform(WM_ACTIVATE, WA_ACTIVE);
  }

  QImage out(W, H, QImage::Format_ARGB32);
  out.fill(Qt::transparent);
  {
    TCanvas canvas(&out);
    form.Perform(WM_NCPAINT, reinterpret_cast<intptr_t>(&canvas));
  }
  // Everything outside the window's shape is not part of the window.
  const QRegion shape = frame->WindowRegion();
  if (!shape.isEmpty()) {
    QPainter p(&out);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    for (const QRect& r : QRegion(0, 0, W, H) - shape) p.fillRect(r, Qt::transparent);
  }
  if (!out.save(args[3], "PNG")) return SkinToolFail(QStringLiteral("cannot write \"%1\"").arg(args[3]));
  return 0;
}
}  // namespace
