// The skinned button, panel and label painted from sections made from the input: rectangles and
// points mostly near the pictures but sometimes far outside them or at the ends of the number
// range, picture and mask indices that name pictures of any size (masks of another size, empty
// pictures) or none, morph kinds and alignments beyond their words, and a section of another
// kind under the control's name. The controls are resized (from 0 up to wide strips beyond the
// largest bitmap), painted in every state and at fade steps, clicked on the caption, rolled up
// and down, and given the skin again.
//
// Besides memory errors and undefined behaviour, these must hold: painting fails at most with
// the platform's out-of-resources error for a bitmap beyond its limits; a control's size after
// a skin is applied is the size its section imposes; the window shape never reaches outside
// the control.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QWidget>
#include <climits>
#include <cstdlib>
#include <memory>

#include "fuzz/FuzzInput.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Messages.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinStdLabel.h"
#include "skin/data/SkinData.h"

namespace {

// A coordinate: mostly within or near a 64-pixel picture, sometimes anywhere.
int32_t Coord(Reader& r) {
  const uint8_t k = r.Byte();
  switch (k >> 5) {
    case 0: return INT32_MIN + r.Byte();
    case 1: return INT32_MAX - r.Byte();
    case 2: return static_cast<int16_t>(r.U16());
    default: return static_cast<int32_t>(k % 96) - 16;
  }
}
TRect Rect(Reader& r) {
  const int32_t l = Coord(r), t = Coord(r);
  if (r.Byte() & 1) return TRect(l, t, Coord(r), Coord(r));
  // Usually a rectangle of a sensible size at that place.
  const int64_t w = r.Byte() % 70, h = r.Byte() % 70;
  return TRect(l, t, static_cast<int32_t>(std::min<int64_t>(INT32_MAX, l + w)),
               static_cast<int32_t>(std::min<int64_t>(INT32_MAX, t + h)));
}
TPoint Point(Reader& r) { return TPoint(Coord(r), Coord(r)); }
int32_t Index(Reader& r) { return static_cast<int32_t>(r.Byte() % 7) - 2; }

void FillCustom(TbsDataSkinCustomControl& s, Reader& r) {
  s.pictureindex = Index(r);
  s.maskpictureindex = Index(r);
  s.skinrect = Rect(r);
  s.lefttoppoint = Point(r);
  s.righttoppoint = Point(r);
  s.leftbottompoint = Point(r);
  s.rightbottompoint = Point(r);
  s.clientrect = Rect(r);
}

std::unique_ptr<TbsDataSkinControl> ButtonSection(Reader& r) {
  auto s = std::make_unique<TbsDataSkinButtonControl>(QStringLiteral("button"));
  FillCustom(*s, r);
  s->fontname = QStringLiteral("Arial");
  s->fontheight = static_cast<int8_t>(r.Byte());
  s->fontstyle = r.Byte() & 15;
  s->fontcolor = static_cast<TColor>(r.Byte()) << 8;
  s->activeskinrect = Rect(r);
  s->downskinrect = Rect(r);
  s->disabledskinrect = Rect(r);
  s->morphing = r.Byte() & 1;
  s->morphkind = static_cast<TMorphKind>(r.Byte() % 9);
  return s;
}

std::unique_ptr<TbsDataSkinControl> PanelSection(Reader& r) {
  auto s = std::make_unique<TbsDataSkinPanelControl>(QStringLiteral("panel"));
  FillCustom(*s, r);
  s->captionrect = Rect(r);
  s->rollupmarkerrect = Rect(r);
  s->restoremarkerrect = Rect(r);
  s->checkimagerect = Rect(r);
  s->uncheckimagerect = Rect(r);
  s->alignment = static_cast<TSkinAlignment>(r.Byte() % 4);
  s->bgpictureindex = (r.Byte() & 3) == 0 ? Index(r) : -1;
  s->fontname = QStringLiteral("Arial");
  s->fontheight = static_cast<int8_t>(r.Byte());
  s->fontcolor = static_cast<TColor>(r.Byte());
  return s;
}

std::unique_ptr<TbsDataSkinControl> LabelSection(Reader& r) {
  auto s = std::make_unique<TbsDataSkinStdLabelControl>(QStringLiteral("stdlabel"));
  s->fontname = (r.Byte() & 1) ? QStringLiteral("Arial") : QString();
  s->fontheight = static_cast<int8_t>(r.Byte());
  s->fontstyle = r.Byte() & 15;
  s->fontcolor = static_cast<TColor>(r.Byte()) << 16;
  return s;
}

// A section of the label's kind named like the control.
std::unique_ptr<TbsDataSkinControl> Stranger(const QString& name) {
  auto s = std::make_unique<TbsDataSkinStdLabelControl>(name);
  s->fontname = QStringLiteral("Arial");
  return s;
}

void FillSkin(TbsSkinData& sd, Reader& r) {
  sd.ClearLists();
  sd.activepictures.clear();
  const int pictures = r.Byte() % 5;
  for (int i = 0; i < pictures; ++i) sd.activepictures.push_back(std::make_unique<TBitmap>(Picture(r)));
  const uint8_t strangers = r.Byte();
  sd.SkinControls.push_back((strangers & 1) ? Stranger(QStringLiteral("button")) : ButtonSection(r));
  sd.SkinControls.push_back((strangers & 2) ? Stranger(QStringLiteral("panel")) : PanelSection(r));
  sd.SkinControls.push_back(LabelSection(r));
  sd.IsEmpty = false;
}

// Paints the control through its paint message onto an image of at most 800 x 200 pixels.
void Paint(TControl& c) {
  QImage img(std::clamp(c.Width(), 1, 800), std::clamp(c.Height(), 1, 200), QImage::Format_RGB32);
  QPainter painter(&img);
  TCanvas canvas;
  canvas.Attach(&painter);
  try {
    c.Perform(WM_PAINT, reinterpret_cast<intptr_t>(&canvas));
  } catch (const EOutOfResources&) {
    // A bitmap beyond the platform's limits: a clear error, not a crash.
  }
  canvas.Detach();
}

// The window shape stays inside the control.
void CheckShape(TWinControl& c) {
  if (!c.HandleAllocated()) return;
  const QRegion shape = c.Handle()->mask();
  if (shape.isEmpty()) return;
  Check(QRect(0, 0, c.Width(), c.Height()).contains(shape.boundingRect()));
}

int Side(Reader& r, bool wide) {
  const uint8_t k = r.Byte();
  if (wide && k > 250) return 40000;  // beyond the largest bitmap
  return (k % 64) * (k & 64 ? 40 : 2);
}

// Sets bounds without letting the platform's exception escape: the control applies its skin.
void Resize(TWinControl& c, int w, int h) {
  try {
    c.SetBounds(0, 0, w, h);
  } catch (const EOutOfResources&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartOffscreenApplication(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Reader r{data, size};
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto* sd = new TbsSkinData(&form);
  FillSkin(*sd, r);

  auto* panel = new TbsSkinPanel(&form);
  panel->SetParent(&form);
  auto* button = new TbsSkinButton(&form);
  button->SetParent(panel);
  auto* label = new TbsSkinStdLabel(&form);
  label->SetParent(panel);
  const uint8_t flags = r.Byte();
  panel->SetCaptionMode(flags & 1);
  panel->SetCheckedMode(flags & 2);
  panel->SetRollUpMode(flags & 4);
  panel->SetBorderStyle(static_cast<TbsSkinBorderStyle>((flags >> 3) & 3));
  panel->SetCaption((flags & 32) ? QStringLiteral("Range") : QString());
  button->SetCaption((flags & 64) ? QStringLiteral("&Query\nnow") : QStringLiteral("OK"));
  label->SetCaption(QStringLiteral("Number:"));
  if (flags & 128) {
    const TBitmap glyph = Picture(r);
    button->SetGlyph(glyph);
    panel->SetGlyph(glyph);
  }
  button->SetNumGlyphs(r.Byte() % 5);
  panel->SetNumGlyphs(r.Byte() % 3);
  button->SetLayout(static_cast<TbsButtonLayout>(r.Byte() % 4));
  button->SetMargin(static_cast<int8_t>(r.Byte()));
  try {
    panel->SetSkinData(sd);
    button->SetSkinData(sd);
  } catch (const EOutOfResources&) {
  }
  label->SetSkinData(sd);

  for (int step = 0; step < 12 && r.n > 0; ++step) {
    const uint8_t op = r.Byte();
    switch (op % 8) {
      case 0: Resize(*panel, Side(r, true), Side(r, false)); break;
      case 1: Resize(*button, Side(r, true), Side(r, false)); break;
      case 2: {  // a fade step
        button->Perform(CM_MOUSEENTER);
        button->SetMorphFactor((r.Byte() % 11) / 10.0);
        break;
      }
      case 3: {  // press and release
        const int x = r.Byte(), y = r.Byte() % 40;
        button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(x, y));
        button->Perform(WM_LBUTTONUP, 0, MakeLParam(x, y));
        button->Perform(CM_MOUSELEAVE);
        break;
      }
      case 4: {  // a caption click
        const int x = r.Byte() * 4, y = r.Byte() % 64;
        try {
          panel->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakeLParam(x, y));
          panel->Perform(WM_LBUTTONUP, 0, MakeLParam(x, y));
        } catch (const EOutOfResources&) {
        }
        break;
      }
      case 5: button->SetEnabled(!button->Enabled()); panel->SetEnabled(button->Enabled()); break;
      case 6: {  // the skin again, or a new one at the same place
        if (op & 8) FillSkin(*sd, r);
        try {
          panel->ApplySkinData();
          button->ApplySkinData();
        } catch (const EOutOfResources&) {
        }
        label->ApplySkinData();
        break;
      }
      default: {
        label->SetEnabled(op & 8);
        label->SetAutoSize(op & 16);
        break;
      }
    }
    Paint(*panel);
    Paint(*button);
    Paint(*label);
    CheckShape(*panel);
    CheckShape(*button);
  }
  // A section that imposes a size is obeyed once the skin is applied.
  if (button->SectionIndex() != -1 && button->StretchMode() == 2 && button->Stretch().SkinHeight() > 0 &&
      button->Stretch().SkinHeight() < 4000) {
    Resize(*button, 75, 25);
    Check(button->Height() == button->Stretch().SkinHeight());
  }
  return 0;
}
