// Skinned menus from a fuzzed skin and a fuzzed item list: the input is a description text (up
// to the first NUL byte), then the pictures (window picture, mask, item picture, any sizes and
// depths), then the items (captions with and without accelerators and shortcuts, dividers,
// disabled, invisible, checked and radio items, sub-menus, up to some hundreds), then a list of
// operations: open against an anchor (down or up), hover, release, keys, paint, fade and scroll
// ticks, sub-menu timer, item removal, close.
//
// Besides memory errors, these must hold:
//   - the driver's state is consistent: MenuOpen exactly while windows are open;
//   - every window's active index is -1 or an item, its scrolled range lies within its items,
//     and only items in that range are in view;
//   - a window paints an image of exactly its size, and its items lie inside it;
//   - an item whose command runs has been closed over first (no window open while it runs).
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "fuzz/FuzzInput.h"
#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/menus/bsSkinMenus.h"

namespace {

const char* const kCaptions[] = {"&Open",  "-", "Save &As", "E&xit", "&&Literal", "Trailing&", "",
                                 "A rather long caption that makes the window wide", "中文&C", "&1 One"};

void AddItems(Reader& r, TComponent* owner, TMenuItem* parent, int depth, int& budget) {
  const uint8_t sel = r.Byte();
  int count = sel % 12;
  if (sel >= 250 && depth == 0) count = 60 + r.Byte();  // tall menus scroll
  for (int i = 0; i < count && budget > 0; ++i, --budget) {
    const uint8_t f = r.Byte();
    auto* item = new TMenuItem(owner);
    item->SetCaption(QString::fromUtf8(kCaptions[f % 10]));
    item->SetEnabled(!(f & 0x10));
    item->SetVisible(!(f & 0x20) || (f & 0x10));
    item->SetChecked(f & 0x40);
    item->SetRadioItem(f & 0x80);
    if (f % 7 == 0) item->SetShortCut(ShortCut(VK_F1 + f % 12, ssAlt));
    if (f % 11 == 0 && !owner->FindComponent(QStringLiteral("BSF_CLOSE"))) item->SetName(QStringLiteral("BSF_CLOSE"));
    parent->Add(item);
    if (depth < 2 && (f & 0x0C) == 0x0C) AddItems(r, owner, item, depth + 1, budget);
  }
}

void CheckWindows(TbsSkinMenu& menu) {
  Check(menu.MenuOpen() == !menu.OpenWindowList().empty());
  for (TbsSkinPopupWindow* w : menu.OpenWindowList()) {
    const int n = w->ItemCount();
    Check(w->ActiveIndex >= -1 && w->ActiveIndex < n);
    Check(w->FirstVisible >= 0 && (n == 0 || w->FirstVisible < n));
    Check(w->ShownCount >= 0 && w->FirstVisible + w->ShownCount <= n);
    for (int i = 0; i < n; ++i) {
      const bool inRange = i >= w->FirstVisible && i < w->FirstVisible + w->ShownCount;
      Check(w->Items(i)->InView == inRange);
    }
  }
}

const uint16_t kKeys[] = {VK_DOWN, VK_UP, VK_LEFT, VK_RIGHT, VK_RETURN, VK_ESCAPE, 'O', 'X', 'A', 'C', '1', VK_F1};

int g_commands = 0;  // commands run (seen in a debugger)

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartOffscreenApplication(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TSplitInput input = SplitAtNul(data, size);
  Reader r = input.Rest;

  TForm form(nullptr);
  auto* menu = new TbsSkinMenu(&form);
  menu->SetOwnerForm(&form);
  auto* stored = new TbsStoredSkin(&form);
  stored->SetIniStrings(
      SplitTextLines(input.Text));
  stored->picture = Picture(r);
  for (int i = 0, count = r.Byte() % 4; i < count; ++i)
    stored->activepictures.push_back(std::make_unique<TBitmap>(Picture(r)));
  auto* skin = new TbsSkinData(&form);
  try {
    skin->LoadFromStoredSkin(*stored);
  } catch (const Exception&) {
    Check(skin->IsEmpty);
  }

  auto* popup = new TPopupMenu(&form);
  int budget = 400;
  AddItems(r, &form, popup->Items(), 0, budget);
  std::vector<TMenuItem*> all;
  for (TComponent* c : form.ComponentList())
    if (auto* i = dynamic_cast<TMenuItem*>(c)) {
      all.push_back(i);
      // A leaf runs after every menu window has closed; a sub-menu's parent with its menu open.
      i->OnClick = [menu, i](TComponent*) {
        ++g_commands;
        if (i->Count() == 0) Check(!menu->MenuOpen() && menu->OpenWindowList().empty());
      };
    }

  for (int op = 0; op < 40 && r.n > 0; ++op) {
    TbsSkinPopupWindow* last = menu->LastWindow();
    switch (r.Byte() % 10) {
      case 0: {  // open
        const int x = r.U16() % 1000 - 100, y = r.U16() % 800 - 100;
        const int w = r.Byte() % 64, h = r.Byte() % 32;
        menu->BlendOn = r.Byte() & 1;
        menu->BlendAnimated = true;
        menu->OpenMenu(nullptr, r.Byte() & 1 ? skin : nullptr, r.Byte() & 1, popup->Items(), TRect(x, y, x + w, y + h),
                       r.Byte() % 3);
        break;
      }
      case 1:
        if (last) last->HandleMouseMove(TPoint(r.Byte() % 200 - 10, r.U16() % 700 - 10));
        break;
      case 2:
        if (last) {
          const TPoint p(r.Byte() % 200 - 10, r.U16() % 700 - 10);
          last->HandleMouseUp(r.Byte() & 1 ? TMouseButton::mbLeft : TMouseButton::mbRight, p);
        }
        break;
      case 3:
        menu->HandleKey(kKeys[r.Byte() % (sizeof kKeys / sizeof kKeys[0])]);
        break;
      case 4:
        if (last) {
          TBitmap bmp;
          last->PaintTo(bmp);
          Check(bmp.Width() == last->Width() && bmp.Height() == last->Height());
          for (int i = 0; i < last->ItemCount(); ++i) {
            const TRect& b = last->Items(i)->ItemBounds;
            if (last->Items(i)->InView && b.Bottom > b.Top)
              Check(b.Left >= 0 && b.Top >= 0 && b.Right <= last->Width() && b.Bottom <= last->Height());
          }
        }
        break;
      case 5:
        if (last)
          for (int i = 0, k = r.Byte() % 12; i < k; ++i) last->FadeTick();
        break;
      case 6:
        if (last) {
          last->ScrollDirection = r.Byte() % 3;
          for (int i = 0, k = r.Byte() % 8; i < k; ++i) last->ScrollTick();
          if (r.Byte() & 1) last->StopScroll();
        }
        break;
      case 7:
        menu->SubMenuTimerTick();
        break;
      case 8:  // an item freed while shown
        if (!all.empty()) {
          const size_t k = r.Byte() % all.size();
          TMenuItem* victim = all[k];
          // Its children go with it.
          std::vector<TMenuItem*> gone{victim};
          for (size_t g = 0; g < gone.size(); ++g)
            for (TMenuItem* c : gone[g]->ItemList()) gone.push_back(c);
          all.erase(std::remove_if(all.begin(), all.end(),
                                   [&](TMenuItem* i) { return std::find(gone.begin(), gone.end(), i) != gone.end(); }),
                    all.end());
          delete victim;
        }
        break;
      default:
        if (r.Byte() & 1) menu->CloseAll();
        else menu->CloseFrom(r.Byte() % 3);
        break;
    }
    CheckWindows(*menu);
  }
  menu->CloseAll();
  Check(!menu->MenuOpen());
  return 0;
}
