// The skinned hint window, shown and painted with a skin made from the input: a description
// text (up to the first NUL byte) and, after it, the pictures (any size, smaller than their
// points too, 24-, 8- and 1-bit), then hint texts (multi-line, long, any script) and settings:
// positions, translucency, the skin font or the default font.
//
// Besides memory errors, these must hold:
//   - a skinned window is never smaller than its hint picture, and no side exceeds 4096;
//   - the painted image has the window's size;
//   - the window's shape lies inside the window;
//   - a window left or right of the screen is moved only left or up.
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "fuzz/FuzzInput.h"
#include "platform/Bitmap.h"
#include "platform/Forms.h"
#include "platform/Screen.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/menus/bsSkinHint.h"

namespace {

QString Text(Reader& r) {
  static const char16_t* const pieces[] = {u"Close", u"\n", u"傳票資料", u"שלום", u"مرحبا", u"&", u"\t", u" ", u"W"};
  QString t;
  for (int i = 0, n = r.Byte() % 12; i < n; ++i) {
    const uint8_t k = r.Byte();
    const QString piece = QString::fromUtf16(pieces[k % 9]);
    t += (k & 0x80) ? piece.repeated(1 + r.Byte() % 40) : piece;
  }
  if (r.Byte() == 0xFF) t += QString(6000, QLatin1Char('x'));
  return t;
}

TForm* g_main = nullptr;
TbsSkinHint* g_hint = nullptr;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  TApplication* app = StartOffscreenApplication(argc, argv);
  g_main = app->CreateForm<TForm>();
  g_hint = new TbsSkinHint(g_main);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TSplitInput input = SplitAtNul(data, size);
  Reader r = input.Rest;

  auto stored = std::make_unique<TbsStoredSkin>(nullptr);
  stored->SetIniStrings(
      SplitTextLines(input.Text));
  stored->picture = Picture(r);
  for (int i = 0, count = r.Byte() % 4; i < count; ++i)
    stored->activepictures.push_back(std::make_unique<TBitmap>(Picture(r)));
  auto skin = std::make_unique<TbsSkinData>(g_main);
  try {
    skin->LoadFromStoredSkin(*stored);
  } catch (const std::exception&) {
    // A malformed number ends the load: the skin stays as far as it came.
  }
  g_hint->SetSkinData(skin.get());
  TbsSkinHintWindow* w = g_hint->OwnWindow();
  const int sw = Screen()->Width(), sh = Screen()->Height();
  for (int op = 0; op < 6 && r.n > 0; ++op) {
    const uint8_t flags = r.Byte();
    g_hint->AlphaBlend = flags & 1;
    g_hint->AlphaBlendValue = r.Byte();
    g_hint->UseSkinFont = !(flags & 2);
    const int x = static_cast<int16_t>(r.Byte() << 8 | r.Byte()), y = static_cast<int16_t>(r.Byte() << 8 | r.Byte());
    w->ActivateHint(TRect(x, y, x, y), Text(r));
    Check(w->Visible());
    Check(w->Width() <= 4096 && w->Height() <= 4096);
    if (w->SkinInUse()) {
      const TBitmap* p = skin->ActivePicture(skin->HintWindow->windowpictureindex);
      Check(p && w->Width() >= p->Width() && w->Height() >= p->Height());
    }
    Check(w->Left() <= x && w->Top() <= y);
    if (w->Left() < x) Check(w->Left() + w->Width() == sw);
    if (w->Top() < y) Check(w->Top() + w->Height() == sh);
    Check(w->Region().isEmpty() || QRect(0, 0, w->Width(), w->Height()).contains(w->Region().boundingRect()));
    TBitmap img;
    w->PaintTo(img);
    Check(img.Width() == std::max(0, w->Width()) && img.Height() == std::max(0, w->Height()));
  }
  w->ReleaseHint();
  g_hint->SetSkinData(nullptr);
  return 0;
}
