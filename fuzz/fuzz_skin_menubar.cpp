// The skinned menu bar on a form with a frame component, drawn from a fuzzed skin: the input is
// a description text (up to the first NUL byte; its "mainmenubar" section, the item and button
// objects it names), then the pictures (main picture and numbered ones, any sizes and depths),
// then a list of operations: resize the bar, hover and press at points (items, child buttons,
// the overflow arrow), release, double clicks, the keyboard operations of menu mode, a child
// maximized or restored (the child buttons), fade ticks, painting whole or in part, a skin
// change, a menu item freed while shown.
//
// Besides memory errors, these must hold:
//   - painting gives an image of exactly the size asked for (an empty one for no size);
//   - the child buttons are 0 or 4, at the front of the object list, exactly while shown;
//   - the hovered and captured objects are -1 or objects of the bar;
//   - an item that does not fit is disabled; at most one item is pressed.
#include <QApplication>
#include <QImage>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "platform/Messages.h"
#include "fuzz/FuzzInput.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsMenuBarObjects.h"
#include "skin/form/bsSkinForm.h"
#include "skin/form/bsSkinMainMenuBar.h"
#include "skin/menus/bsSkinMenus.h"

namespace {

const char* const kCaptions[] = {"&File", "&Edit", "", "&&Literal", "Trailing&", "中文&C",
                                 "A rather long caption that needs room", "&1"};

// An image of w x h, or an empty one when either is below 1.
void CheckSize(const TBitmap& image, int w, int h) {
  if (w < 1 || h < 1)
    Check(image.Width() < 1 || image.Height() < 1);
  else
    Check(image.Width() == w && image.Height() == h);
}

void CheckBar(const TbsSkinMainMenuBar& bar) {
  const auto& objects = bar.BarObjects();
  const int n = static_cast<int>(objects.size());
  Check(bar.ChildButtonCount() == 0 || bar.ChildButtonCount() == 4);
  Check((bar.ChildButtonCount() == 4) == bar.ChildButtonsShown());
  for (int i = 0; i < n; ++i) {
    const bool button = dynamic_cast<const TbsSkinMainMenuBarButton*>(objects[static_cast<size_t>(i)].get()) != nullptr;
    Check(button == (i < bar.ChildButtonCount()));
  }
  Check(bar.HoverIndex() >= -1 && bar.HoverIndex() < n);
  Check(bar.CaptureIndex() >= -1 && bar.CaptureIndex() < n);
  int pressed = 0;
  for (const TbsSkinMainMenuBarItem* i : bar.Items()) {
    if (!i->FitsInBar) Check(!i->IsEnabled);
    pressed += i->Pressed;
  }
  Check(pressed <= 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  StartOffscreenApplication(argc, argv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const TSplitInput input = SplitAtNul(data, size);
  Reader r = input.Rest;

  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 400, 300);
  auto* frame = new TbsSkinForm(form.get());
  auto* stored = new TbsStoredSkin(form.get());
  stored->SetIniStrings(
      SplitTextLines(input.Text));
  stored->picture = Picture(r);
  for (int i = 0, count = r.Byte() % 5; i < count; ++i)
    stored->activepictures.push_back(std::make_unique<TBitmap>(Picture(r)));
  auto* skin = new TbsSkinData(form.get());
  try {
    skin->LoadFromStoredSkin(*stored);
  } catch (const Exception&) {
    Check(skin->IsEmpty);
  }

  auto* menu = new TMainMenu(form.get());
  std::vector<TMenuItem*> top;
  for (int i = 0, count = r.Byte() % 9; i < count; ++i) {
    auto* item = new TMenuItem(form.get());
    item->SetCaption(QString::fromUtf8(kCaptions[r.Byte() % (sizeof kCaptions / sizeof kCaptions[0])]));
    const uint8_t flags = r.Byte();
    item->SetEnabled(!(flags & 1));
    item->SetVisible(!(flags & 2));
    if (flags & 4)
      for (int k = 0; k < 1 + flags % 3; ++k) {
        auto* sub = new TMenuItem(form.get());
        sub->SetCaption(QStringLiteral("Sub &%1").arg(k));
        item->Add(sub);
      }
    menu->Items()->Add(item);
    top.push_back(item);
  }

  auto* bar = new TbsSkinMainMenuBar(form.get());
  bar->SetParent(form.get());
  bar->SetSkinForm(frame);
  bar->SetMainMenu(menu);
  frame->SetMainMenuBar(bar);
  frame->SetSkinData(skin);
  bar->SetSkinData(skin);
  form->Show();
  CheckBar(*bar);

  for (int op = 0; op < 48 && r.n > 0; ++op) {
    const int x = r.Byte() % 420 - 10, y = r.Byte() % 40 - 5;
    switch (r.Byte() % 12) {
      case 0:
        bar->SetBounds(0, 0, r.U16() % 900, r.Byte() % 60);
        break;
      case 1:
        bar->Perform(WM_MOUSEMOVE, 0, MakeLParam(x, y));
        break;
      case 2:
        bar->Perform(r.Byte() & 1 ? WM_LBUTTONDOWN : WM_LBUTTONDBLCLK, MK_LBUTTON, MakeLParam(x, y));
        break;
      case 3:
        bar->Perform(WM_LBUTTONUP, 0, MakeLParam(x, y));
        break;
      case 4:
        switch (r.Byte() % 8) {
          case 0: bar->EnterMenuMode(); break;
          case 1: bar->FollowingItem(); break;
          case 2: bar->PreviousItem(); break;
          case 3: bar->Accelerator(static_cast<uint16_t>('A' + r.Byte() % 26)); break;
          case 4: bar->RunSelected(); break;
          case 5: bar->PressedToHighlighted(); break;
          case 6: frame->ExitMenuMode(); break;
          default: frame->MenuKeyDown(static_cast<uint16_t>(r.Byte() & 1 ? VK_ESCAPE : VK_RETURN)); break;
        }
        break;
      case 5:
        if (r.Byte() & 1) bar->ShowChildButtons();
        else bar->HideChildButtons();
        break;
      case 6:
        for (int i = 0, k = r.Byte() % 12; i < k; ++i) bar->MorphTimer().OnTimer(nullptr);
        break;
      case 7: {
        TBitmap image;
        bar->PaintBar(image);
        CheckSize(image, bar->Width(), bar->Height());
        break;
      }
      case 8: {
        const TRect area(x, y, x + r.Byte() % 200, y + r.Byte() % 40);
        TBitmap image;
        bar->PaintArea(image, area);
        CheckSize(image, area.Width(), area.Height());
        break;
      }
      case 9:  // a skin change
        bar->ForgetSkinSection();
        bar->ApplySkinData();
        break;
      case 10:
        if (!top.empty()) {
          const size_t k = r.Byte() % top.size();
          delete top[k];
          top.erase(top.begin() + static_cast<std::ptrdiff_t>(k));
          QApplication::processEvents();
        }
        break;
      default:
        bar->Perform(CM_MOUSELEAVE);
        if (frame->MenuDriver()) frame->MenuDriver()->CloseAll();
        break;
    }
    CheckBar(*bar);
  }
  frame->ExitMenuMode();
  return 0;
}
