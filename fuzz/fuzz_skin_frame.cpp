// The frame component on a form, driven by a skin made from the input: a description text
// (up to the first NUL byte) and, after it, the pictures and a list of window operations.
// The pictures are small bitmaps of any size (masks of another size than the picture, pictures
// smaller than their points) in 24-, 8- and 1-bit depths. The skin loads in memory through a
// stored skin, the frame is attached to a form, and the operations resize the window (below
// the minimum and up to 2000 x 2000), paint the frame, build the window shape, hit-test points,
// paint the client background, roll up and down, drag-resize, click the frame objects, change
// the window state and border, and take the skin away and give it back.
//
// Besides memory errors, these must hold:
//   - painting the frame never touches the client rectangle the platform lays out;
//   - painting the client background covers the whole client area with opaque pixels;
//   - the window's shape is always the frame's WindowRegion, and without a skin there is none;
//   - hit tests answer one of the frame's codes;
//   - after a drag-resize ends, the frame's cached size is the window's size;
//   - the frame's shape, hit test and picture depend only on the skin, the size and the
//     settings: at the end a fresh form and frame given the same skin, size and settings
//     agree with the one that went through the whole history.
#include <QApplication>
#include <QImage>
#include <QRegion>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Messages.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"

namespace {

// A second skin, always the same, to switch to and from: 48 x 40 with a mask whose client
// area starts at the left edge and an active picture.
const char kOtherSkin[] =
    "[VERSION]\nver=1\n[PICTURES]\npicture=main.bmp\n"
    "[FORMINFO]\nbuttonsrect=0,0,0,0\ncaptionrect=0,0,0,0\nlefttoppoint=12,16\nrighttoppoint=36,16\n"
    "leftbottompoint=0,36\nrightbottompoint=48,36\nmaskrectarea=0,16,48,36\nclientrect=4,16,44,36\n"
    "hittestlefttoppoint=2,2\nhittestrighttoppoint=46,2\nhittestleftbottompoint=2,38\n"
    "hittestrightbottompoint=46,38\nborderwidth=2\nbgpictureindex=-1\n"
    "[SKINOBJECTS]\ncount=2\n0=caption1:caption\n1=closebutton:stdbutton\n"
    "[caption1]\nskinrect=12,2,36,14\ntextrect=1,1,23,12\nfontname=Arial\nfontheight=11\nalignment=tacenter\n"
    "[closebutton]\nskinrect=38,3,46,11\nactiveskinrect=0,0,8,8\nactivepictureindex=0\ncommand=cmclose\n"
    "[SKINCONTROLS]\ncount=0\n";

void FillOtherSkin(TbsStoredSkin& s) {
  s.SetIniStrings(SplitTextLines(QByteArray(kOtherSkin)));
  QImage main(48, 40, QImage::Format_RGB888);
  main.fill(QColor(40, 90, 160));
  s.picture.SetImage(main);
  QImage mask(48, 40, QImage::Format_RGB888);
  mask.fill(Qt::black);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 3 - y; ++x) {
      mask.setPixelColor(x, y, Qt::white);
      mask.setPixelColor(47 - x, y, Qt::white);
    }
  s.mask.SetImage(mask);
  QImage hot(16, 16, QImage::Format_RGB888);
  hot.fill(QColor(200, 60, 60));
  s.activepictures.push_back(std::make_unique<TBitmap>());
  s.activepictures.back()->SetImage(hot);
}

bool ValidHitCode(intptr_t c) {
  return c == HTCLIENT || c == HTCAPTION || c == HTOBJECT || (c >= HTLEFT && c <= HTBOTTOMRIGHT);
}

// Surfaces for the frame paints, reused from input to input.
struct Surface {
  std::vector<uint32_t> pixels;
  QImage image;
  QImage& Make(int w, int h) {
    pixels.resize(static_cast<size_t>(w) * h);
    memset(pixels.data(), 0, pixels.size() * 4);  // transparent: nothing painted yet
    image = QImage(reinterpret_cast<uchar*>(pixels.data()), w, h, 4 * w, QImage::Format_ARGB32_Premultiplied);
    return image;
  }
};
Surface g_paint1, g_paint2;

constexpr int kMaxSide = 2000;

// Pixel scans, kept out of the coverage (they would only count pixels and cost most of the time).
__attribute__((no_sanitize("address", "coverage"))) bool AllZero(const QImage& img, int l, int t, int r, int b) {
  for (int y = t; y < b; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
    uint32_t any = 0;
    for (int x = l; x < r; ++x) any |= row[x];
    if (any != 0) return false;
  }
  return true;
}

__attribute__((no_sanitize("address", "coverage"))) bool AllOpaque(const QImage& img) {
  uint32_t all = 0xFFFFFFFF;
  for (int y = 0; y < img.height(); ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(img.constScanLine(y));
    for (int x = 0; x < img.width(); ++x) all &= row[x];
  }
  return qAlpha(all) == 255;
}

// Paints the non-client area of `form` onto `surface`; false when the window is too large to
// paint here. The client rectangle the platform laid out stays untouched, unless the frame is
// in the middle of a drag whose proposed size the window has not taken yet.
bool PaintFrame(TForm& form, const TbsSkinForm& frame, Surface& surface) {
  const int W = form.Width(), H = form.Height();
  if (W <= 0 || H <= 0 || W > kMaxSide + 8 || H > kMaxSide + 8) return false;
  QImage& img = surface.Make(W, H);
  {
    TCanvas canvas(&img);
    form.Perform(WM_NCPAINT, reinterpret_cast<intptr_t>(&canvas));
  }
  if (frame.WindowWidth() != W || frame.WindowHeight() != H) return true;
  const TPoint o = form.ClientOrigin();
  const TRect c = form.ClientRect();
  const int l = std::max(0, o.X), t = std::max(0, o.Y);
  const int r = std::min(W, o.X + c.Width()), b = std::min(H, o.Y + c.Height());
  if (l < r && t < b) Check(AllZero(img, l, t, r, b));
  return true;
}

void EraseBackground(TForm& form) {
  const TRect c = form.ClientRect();
  const int w = c.Width(), h = c.Height();
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return;
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(0);
  intptr_t result;
  {
    TCanvas canvas(&img);
    result = form.Perform(WM_ERASEBKGND, reinterpret_cast<intptr_t>(&canvas));
  }
  Check(result != 0);
  Check(AllOpaque(img));
}

intptr_t ScreenPoint(const TForm& form, int x, int y) { return MakeLParam(form.Left() + x, form.Top() + y); }

// A window size: mostly near the picture's size (below the minimum too), now and then anything
// up to 2000 x 2000.
void PickSize(Reader& r, const TbsSkinData* data, int& w, int& h) {
  const uint8_t sel = r.Byte();
  if (sel < 8) {
    w = r.U16() % (kMaxSide + 1);
    h = r.U16() % (kMaxSide + 1);
    return;
  }
  const int pw = data ? data->picture.Width() : 0, ph = data ? data->picture.Height() : 0;
  w = std::max(0, pw + static_cast<int8_t>(r.Byte()) * (sel & 1 ? 4 : 1));
  h = std::max(0, ph + static_cast<int8_t>(r.Byte()) * (sel & 2 ? 4 : 1));
}

// Settings a fresh frame must copy to be comparable.
struct Settings {
  TFormBorderStyle border = TFormBorderStyle::bsSizeable;
  TbsBorderIcons icons = biSystemMenu | biMinimize | biMaximize | biRollUp;
  bool showIcon = false;
  int minWidth = 0, minHeight = 0;
  QString caption;
};

void Apply(const Settings& s, TForm& form, TbsSkinForm& frame) {
  form.SetBorderStyle(s.border);
  form.SetCaption(s.caption);
  frame.SetBorderIcons(s.icons);
  frame.SetShowIcon(s.showIcon);
  frame.MinWidth = s.minWidth;
  frame.MinHeight = s.minHeight;
}

// The frame keeps the window's shape as its own and drops it without a skin.
void CheckRegion(const TForm& form, const TbsSkinForm& frame) {
  Check(form.WindowRegion() == frame.WindowRegion());
  if (!frame.Skinned()) Check(frame.WindowRegion().isEmpty());
}

// Loads `stored` into `data`. A description that does not read fails with an exception and
// leaves the skin data empty, and a frame reading it without a skin and without a shape.
void Load(TbsSkinData& data, TbsStoredSkin& stored, TForm& form, TbsSkinForm& frame) {
  try {
    data.LoadFromStoredSkin(stored);
  } catch (const Exception&) {
    Check(data.IsEmpty);
    if (frame.SkinData() != &data) return;
    Check(!frame.Skinned());
    CheckRegion(form, frame);
    // A failed load sends nothing after SkinMessageBeforeChange, so the form keeps the old
    // skin's client inset until the frame is told again, as the application does after the
    // failure.
    frame.ChangeSkinData();
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartOffscreenApplication(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TSplitInput input = SplitAtNul(data, size);
  Reader r = input.Rest;

  TForm form(nullptr);
  form.SetBounds(100, 80, 300, 200);
  auto* frame = new TbsSkinForm(&form);

  // The fuzzed skin, loaded in memory.
  auto* stored = new TbsStoredSkin(&form);
  stored->SetIniStrings(
      SplitTextLines(input.Text));
  const uint8_t flags = r.Byte();
  stored->picture = Picture(r);
  if (flags & 1) stored->inactivepicture = Picture(r);
  if (flags & 2) stored->mask = Picture(r);
  for (int i = 0, count = (flags >> 2) % 5; i < count; ++i)
    stored->activepictures.push_back(std::make_unique<TBitmap>(Picture(r)));
  auto* other = new TbsStoredSkin(&form);
  FillOtherSkin(*other);
  auto* empty = new TbsSkinData(&form);

  TbsSkinData* skin = new TbsSkinData(&form);
  Load(*skin, *stored, form, *frame);
  frame->SetSkinData(skin);
  CheckRegion(form, *frame);

  Settings settings;
  std::vector<TPoint> probes;
  for (int op = 0; op < 24 && r.n > 0; ++op) {
    switch (r.Byte() % 16) {
      case 0: {  // a new size
        int w, h;
        PickSize(r, frame->SkinData(), w, h);
        form.SetBounds(form.Left(), form.Top(), w, h);
        break;
      }
      case 1:
        PaintFrame(form, *frame, g_paint1);
        break;
      case 2: {  // hit tests
        const int W = form.Width(), H = form.Height();
        for (int i = 0, k = r.Byte() % 8 + 1; i < k; ++i) {
          const int x = W > 0 ? r.U16() % (W + 40) - 20 : 0, y = H > 0 ? r.U16() % (H + 40) - 20 : 0;
          probes.emplace_back(x, y);
          Check(ValidHitCode(form.Perform(WM_NCHITTEST, 0, ScreenPoint(form, x, y))));
        }
        break;
      }
      case 3:
        frame->UpdateSkinFrame();
        frame->UpdateWindowRegion();
        break;
      case 4:
        EraseBackground(form);
        break;
      case 5:
        frame->SetRollUpState(!frame->RollUpState());
        break;
      case 6:
        form.Perform(WM_ACTIVATE, r.Byte() & 1 ? WA_ACTIVE : WA_INACTIVE);
        form.Perform(WM_NCACTIVATE, form.Active() ? 1 : 0);
        break;
      case 7:  // the skin taken away and given back
        switch (r.Byte() % 6) {
          case 0:
            frame->SetSkinData(nullptr);
            break;
          case 1:
            frame->SetSkinData(empty);
            break;
          case 2:
            frame->SetSkinData(skin);
            break;
          case 3:  // the same skin loaded again while attached
            Load(*skin, *stored, form, *frame);
            break;
          case 4:  // the skin data freed while attached, then a new one
            if (frame->SkinData() == skin) {
              delete skin;
              Check(frame->SkinData() == nullptr && !frame->Skinned());
            } else {
              TbsSkinData* reading = frame->SkinData();
              delete skin;
              Check(frame->SkinData() == reading);
            }
            CheckRegion(form, *frame);
            skin = new TbsSkinData(&form);
            Load(*skin, *stored, form, *frame);
            frame->SetSkinData(skin);
            break;
          default:  // another skin in the same skin data, and back
            Load(*skin, *other, form, *frame);
            if (r.Byte() & 1) PaintFrame(form, *frame, g_paint1);
            Load(*skin, *stored, form, *frame);
            break;
        }
        break;
      case 8: {  // a live drag through proposed sizes
        form.Perform(WM_ENTERSIZEMOVE);
        int w = form.Width(), h = form.Height();
        for (int i = 0, k = r.Byte() % 4 + 1; i < k; ++i) {
          PickSize(r, frame->SkinData(), w, h);
          TRect proposed(form.Left(), form.Top(), form.Left() + w, form.Top() + h);
          form.Perform(WM_SIZING, 8, reinterpret_cast<intptr_t>(&proposed));
          if (r.Byte() & 1) PaintFrame(form, *frame, g_paint1);
          if (r.Byte() & 1) form.SetBounds(form.Left(), form.Top(), proposed.Width(), proposed.Height());
        }
        form.Perform(WM_EXITSIZEMOVE);
        Check(frame->WindowWidth() == form.Width() && frame->WindowHeight() == form.Height());
        break;
      }
      case 9: {  // the mouse on the frame
        const int W = std::max(1, form.Width()), H = std::max(1, form.Height());
        const int x = r.U16() % (W + 10) - 5, y = r.U16() % (H + 10) - 5;
        const intptr_t at = ScreenPoint(form, x, y);
        const intptr_t hit = form.Perform(WM_NCHITTEST, 0, at);
        Check(ValidHitCode(hit));
        static const uint32_t kMouse[] = {WM_NCMOUSEMOVE,   WM_NCLBUTTONDOWN, WM_NCLBUTTONUP,  WM_NCLBUTTONDBLCLK,
                                          WM_NCRBUTTONDOWN, WM_NCRBUTTONUP,   WM_NCMOUSELEAVE, WM_LBUTTONUP};
        form.Perform(kMouse[r.Byte() % 8], hit, at);
        break;
      }
      case 10:
        frame->SetWindowState(static_cast<TWindowState>(r.Byte() % 3));
        break;
      case 11: {
        static const TFormBorderStyle kBorders[] = {TFormBorderStyle::bsSizeable,   TFormBorderStyle::bsSingle,
                                                    TFormBorderStyle::bsToolWindow, TFormBorderStyle::bsSizeToolWin,
                                                    TFormBorderStyle::bsDialog,     TFormBorderStyle::bsNone};
        settings.border = kBorders[r.Byte() % 6];
        form.SetBorderStyle(settings.border);
        break;
      }
      case 12:
        settings.icons = r.Byte() & 31;
        frame->SetBorderIcons(settings.icons);
        break;
      case 13:
        settings.showIcon = !settings.showIcon;
        frame->SetShowIcon(settings.showIcon);
        break;
      case 14: {  // a caption, up to long enough to be cut
        const int len = r.Byte();
        QString text;
        for (int i = 0; i < len; ++i) text += QChar(i % 7 == 6 ? u' ' : char16_t(u'A' + (len + i) % 26));
        settings.caption = text;
        form.SetCaption(text);
        break;
      }
      default:
        settings.minWidth = r.Byte() * (r.Byte() & 1 ? 8 : 1);
        settings.minHeight = r.Byte() * (r.Byte() & 1 ? 8 : 1);
        frame->MinWidth = settings.minWidth;
        frame->MinHeight = settings.minHeight;
        frame->ChangeSkinData();
        break;
    }
    CheckRegion(form, *frame);
  }

  // A fresh form and frame with the same skin, settings and size agree with this one.
  frame->SetSkinData(skin);
  if (frame->WindowState() == TWindowState::wsNormal && !frame->RollUpState()) {
    form.Perform(WM_ACTIVATE, WA_INACTIVE);
    frame->ChangeSkinData();  // fresh objects, nothing hovered or pressed
    TForm fresh(nullptr);
    fresh.SetBounds(form.Left(), form.Top(), form.Width(), form.Height());
    auto* freshFrame = new TbsSkinForm(&fresh);
    Apply(settings, fresh, *freshFrame);
    freshFrame->SetSkinData(skin);
    Check(fresh.BoundsRect() == form.BoundsRect());
    Check(freshFrame->WindowRegion() == frame->WindowRegion());
    // Both inactive: the hit test tracks no object.
    for (const TPoint& p : probes)
      Check(fresh.Perform(WM_NCHITTEST, 0, ScreenPoint(fresh, p.X, p.Y)) ==
            form.Perform(WM_NCHITTEST, 0, ScreenPoint(form, p.X, p.Y)));
    if (PaintFrame(form, *frame, g_paint1) && PaintFrame(fresh, *freshFrame, g_paint2))
      Check(g_paint1.pixels == g_paint2.pixels);
    delete freshFrame;
  }
  delete frame;
  Check(form.WindowRegion().isEmpty());
  return 0;
}
