// The skinned edit, up-down and page control painted from a skin made from the input: the
// input's text (up to the first NUL byte) gives the sections "edit", "hupdown" and "tab" (the
// list of controls is fixed, so the sections are always looked up), and the bytes after it
// give the pictures (any size, masks of another size than the picture, empty ones) and a list
// of operations: sizes up to 2000 x 2000, button mode, enabling, hovering, pressing, the tab
// under the mouse, a narrow page control that needs its scroller, and a change to a skin
// without those sections and back.
//
// Besides memory errors, these must hold: a control keeps a size within what was asked or
// what its section fixes; the edit's line edit lies inside the edit; hit tests answer the
// edit's codes; nothing is painted from a skin that was taken away.
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz/FuzzInput.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Messages.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/controls/bsSkinUpDown.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"

namespace {

const char kPrelude[] =
    "[VERSION]\nver=1\n[PICTURES]\npicture=main.bmp\n[FORMINFO]\nclientrect=0,0,0,0\n"
    "[SKINOBJECTS]\ncount=0\n"
    "[SKINCONTROLS]\ncount=4\n0=edit:edit\n1=hupdown:updown\n2=tab:tab\n3=vupdown:updown\n";

// A skin with none of the three sections, to change to and from.
const char kOtherSkin[] =
    "[VERSION]\nver=1\n[PICTURES]\npicture=main.bmp\n[FORMINFO]\nclientrect=0,0,0,0\n"
    "[SKINOBJECTS]\ncount=0\n[SKINCONTROLS]\ncount=1\n0=panel:panel\n[panel]\nskinrect=0,0,8,8\n";

constexpr int kMaxSide = 2000;
// Painting is skipped for controls larger than this many pixels (a skin may impose any size).
constexpr int64_t kMaxPixels = 4 << 20;

bool Paintable(TWinControl* c) {
  return c->Width() > 0 && c->Height() > 0 && int64_t{c->Width()} * c->Height() <= kMaxPixels;
}

void Grab(TWinControl* c) {
  if (!Paintable(c)) return;
  const QImage shot = c->Handle()->grab().toImage();
  Check(shot.isNull() || (shot.width() == c->Width() && shot.height() == c->Height()));
}

void Load(TbsSkinData& data, TbsStoredSkin& stored, TForm& form) {
  try {
    data.LoadFromStoredSkin(stored);
  } catch (const Exception&) {
    Check(data.IsEmpty);
  }
  // The frame component's part: tell the controls (they forget the old section first).
  const auto w = reinterpret_cast<intptr_t>(&data);
  for (TControl* c : form.ControlList()) {
    c->Perform(SkinMessageBeforeChange, w, SkinMessageLParam);
    c->Perform(SkinMessageChanged, w, SkinMessageLParam);
    c->Perform(SkinMessageChangedAfter, w, SkinMessageLParam);
  }
}

void CheckEdit(TbsSkinEdit& e) {
  if (e.Width() <= 0 || e.Height() <= 0) return;
  const TRect c = e.EditClientRect();
  Check(c.Left <= c.Right && c.Top <= c.Bottom);
  if (QLineEdit* le = e.Editor()) {
    const QRect g = le->geometry();
    Check(g.width() >= 0 && g.height() >= 0);
  }
  for (TPoint p : {TPoint(0, 0), TPoint(e.Width() / 2, e.Height() / 2), TPoint(e.Width() - 1, e.Height() - 1)}) {
    const int code = e.HitTest(p);
    Check(code == HTCLIENT || code == HTNOWHERE || code == HTHSCROLL || code == HTVSCROLL);
  }
  if (Paintable(&e)) {
    QImage img(e.Width(), e.Height(), QImage::Format_RGB32);
    TCanvas canvas(&img);
    e.PaintFrame(canvas);
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
  form.SetBounds(0, 0, 640, 480);
  auto* stored = new TbsStoredSkin(&form);
  QByteArray text(kPrelude);
  text.append(input.Text);
  stored->SetIniStrings(SplitTextLines(text));
  const uint8_t flags = r.Byte();
  stored->picture = Picture(r);
  for (int i = 0, count = flags % 7; i < count; ++i) stored->activepictures.push_back(std::make_unique<TBitmap>(Picture(r)));
  auto* other = new TbsStoredSkin(&form);
  other->SetIniStrings(SplitTextLines(QByteArray(kOtherSkin)));

  auto* skin = new TbsSkinData(&form);
  auto* edit = new TbsSkinEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 121, 20);
  auto* updown = new TbsSkinUpDown(&form);
  updown->SetParent(&form);
  updown->SetBounds(10, 40, 25, 50);
  if (flags & 0x80) {
    updown->SetSkinDataName(QStringLiteral("vupdown"));
    updown->SetOrientation(TUDOrientation::udVertical);
  }
  auto* pages = new TbsSkinPageControl(&form);
  pages->SetParent(&form);
  pages->SetBounds(10, 100, 300, 120);
  for (int i = 0; i < 3; ++i) {
    auto* sheet = new TbsSkinTabSheet(&form);
    sheet->SetCaption(QStringLiteral("Page %1").arg(i));
    sheet->SetPageControl(pages);
  }
  form.Show();
  Load(*skin, *stored, form);
  edit->SetSkinData(skin);
  updown->SetSkinData(skin);
  pages->SetSkinData(skin);

  for (int op = 0; op < 24 && r.n > 0; ++op) {
    const uint8_t kind = r.Byte();
    switch (kind % 10) {
      case 0: {  // sizes
        const int w = r.U16() % (kMaxSide + 1), h = r.U16() % (kMaxSide + 1);
        TWinControl* c = kind & 0x10 ? static_cast<TWinControl*>(edit) : kind & 0x20 ? static_cast<TWinControl*>(updown) : pages;
        c->SetBounds(c->Left(), c->Top(), w, h);
        Check(c->Width() >= 0 && c->Height() >= 0);
        break;
      }
      case 1:
        edit->SetButtonMode(!edit->ButtonMode());
        break;
      case 2:
        edit->SetEnabled(!edit->Enabled());
        break;
      case 3:
        edit->Perform(kind & 0x10 ? CM_MOUSELEAVE : CM_MOUSEENTER, 0,
                      reinterpret_cast<intptr_t>(static_cast<TControl*>(edit)));
        break;
      case 4: {  // the mouse on the up-down
        const int x = r.Byte() % 64, y = r.Byte() % 64;
        updown->Perform(WM_MOUSEMOVE, 0, MakeLParam(x, y));
        updown->Perform(kind & 0x10 ? WM_LBUTTONDOWN : WM_LBUTTONUP, 0, MakeLParam(x, y));
        break;
      }
      case 5: {  // the mouse over the tabs
        const int x = r.Byte() * 2, y = r.Byte() % 64;
        pages->Perform(WM_MOUSEMOVE, 0, MakeLParam(x, y));
        if (kind & 0x10) pages->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<intptr_t>(static_cast<TControl*>(pages)));
        break;
      }
      case 6:
        pages->SetTabPosition(static_cast<TTabPosition>((kind >> 4) % 4));
        break;
      case 7:  // another skin and back
        Load(*skin, *other, form);
        Grab(pages);
        Load(*skin, *stored, form);
        break;
      case 8:
        edit->SetText(QString(r.Byte() % 40, QChar(u'W')));
        edit->SetEditPasswordChar(kind & 0x10 ? QChar(u'*') : QChar());
        edit->SetAlignment(static_cast<TAlignment>((kind >> 5) % 3));
        break;
      default:
        CheckEdit(*edit);
        Grab(edit);
        Grab(updown);
        Grab(pages);
        break;
    }
  }
  CheckEdit(*edit);
  Grab(edit);
  Grab(updown);
  Grab(pages);
  // The skin goes: every control falls back to its plain look.
  delete skin;
  Check(edit->SkinData() == nullptr && pages->SkinData() == nullptr);
  Grab(edit);
  Grab(updown);
  Grab(pages);
  return 0;
}
