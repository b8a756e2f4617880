// The platform's menu model: shortcut texts, accelerator marks, the item tree and its ownership,
// radio groups, the shortcut dispatch, and menus stored in form definitions.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "platform/Menus.h"
#include "platform/Streaming.h"
#include "tests/TestUtil.h"

namespace {

TEST(PlatformMenus, ShortCutTextsReadBackAndUnknownTextsGiveNone) {
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F4, ssAlt)), "Alt+F4");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F4, ssCtrl)), "Ctrl+F4");
  EXPECT_EQ(ShortCutToText(ShortCut('A', ssShift | ssCtrl | ssAlt)), "Shift+Ctrl+Alt+A");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, 0)), "Del");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F12, ssShift)), "Shift+F12");
  EXPECT_EQ(ShortCutToText(scNone), "");
  EXPECT_EQ(ShortCut(VK_F4, ssAlt), scAlt | VK_F4);
  EXPECT_EQ(ShortCut(0x1234, 0), scNone);  // not a key code
  for (TShortCut s : {TShortCut(scCtrl | 'O'), TShortCut(scAlt | VK_F4), TShortCut(scShift | VK_INSERT),
                      TShortCut(VK_RETURN), TShortCut(scCtrl | scShift | VK_F1 + 9), TShortCut('7')})
    EXPECT_EQ(TextToShortCut(ShortCutToText(s)), s) << ShortCutToText(s).toStdString();
  EXPECT_EQ(TextToShortCut("ctrl+alt+del"), scCtrl | scAlt | VK_DELETE);
  EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
  EXPECT_EQ(TextToShortCut("Hyper+X"), scNone);
  EXPECT_EQ(TextToShortCut(""), scNone);
  uint16_t key = 0;
  TShiftState shift = 0;
  ShortCutToKey(scCtrl | scAlt | 'Q', key, shift);
  EXPECT_EQ(key, 'Q');
  EXPECT_EQ(shift, ssCtrl | ssAlt);
}

TEST(PlatformMenus, AcceleratorMarks) {
  EXPECT_EQ(StripHotkey("Ro&llUp"), "RollUp");
  EXPECT_EQ(StripHotkey("Save && E&xit"), "Save & Exit");
  EXPECT_EQ(StripHotkey("Trailing&"), "Trailing");
  EXPECT_EQ(GetHotkey("Ro&llUp"), QChar('l'));
  EXPECT_EQ(GetHotkey("Save && E&xit"), QChar('x'));
  EXPECT_TRUE(GetHotkey("&&Only").isNull());
  EXPECT_TRUE(GetHotkey("None").isNull());
  EXPECT_TRUE(IsAccel('L', "Ro&llUp"));
  EXPECT_TRUE(IsAccel('X', "Save && E&xit"));
  EXPECT_FALSE(IsAccel('S', "Save && E&xit"));
  EXPECT_TRUE(IsAccel('2', "Page &2"));
  EXPECT_FALSE(IsAccel(VK_F1 + 4, "&test"));  // F5's code is the letter 't', but it is no letter key
  EXPECT_FALSE(IsAccel(0, "&a"));
}

TEST(PlatformMenus, ItemsLiveInOneParentAndFreeTheirChildren) {
  auto owner = std::make_unique<TComponent>(nullptr);
  TMenu* menu = new TPopupMenu(owner.get());
  auto* a = new TMenuItem(owner.get());
  auto* b = new TMenuItem(owner.get());
  auto* c = new TMenuItem(owner.get());
  auto* d = new TMenuItem(owner.get());
  menu->Items()->Add(a);
  menu->Items()->Add(b);
  a->Add(c);
  a->Insert(0, d);
  EXPECT_EQ(a->Count(), 2);
  EXPECT_EQ(a->Items(0), d);
  EXPECT_EQ(c->Parent(), a);
  EXPECT_EQ(c->GetParentMenu(), menu);
  EXPECT_EQ(a->GetParentComponent(), menu);  // the root item is never stored
  EXPECT_EQ(c->GetParentComponent(), a);
  // Moving an item takes it out of its old parent.
  b->Add(c);
  EXPECT_EQ(a->Count(), 1);
  EXPECT_EQ(b->IndexOf(c), 0);
  EXPECT_THROW(c->Add(b), EComponentError);  // no cycles
  // Delete takes it out without freeing; freeing an item frees its children and leaves its parent.
  b->Delete(0);
  EXPECT_EQ(c->Parent(), nullptr);
  EXPECT_THROW(b->Delete(5), EListError);
  a->Add(c);
  const int before = owner->ComponentCount();
  delete a;  // frees c and d too
  EXPECT_EQ(owner->ComponentCount(), before - 3);
  EXPECT_EQ(menu->Items()->Count(), 1);
  EXPECT_EQ(menu->Items()->Find("B"), nullptr);
  b->SetCaption("&B");
  EXPECT_EQ(menu->Items()->Find("B"), b);
  // The owner frees what is left without freeing anything twice (ASan watches).
  owner.reset();
}

TEST(PlatformMenus, RadioGroupsAndTheShortCutDispatch) {
  TComponent owner(nullptr);
  TMainMenu menu(&owner);
  auto* view = new TMenuItem(&owner);
  menu.Items()->Add(view);
  std::vector<TMenuItem*> radios;
  for (int i = 0; i < 3; ++i) {
    auto* r = new TMenuItem(&owner);
    r->SetRadioItem(true);
    r->SetGroupIndex(i < 2 ? 1 : 2);
    view->Add(r);
    radios.push_back(r);
  }
  radios[2]->SetChecked(true);
  radios[0]->SetChecked(true);
  radios[1]->SetChecked(true);
  EXPECT_FALSE(radios[0]->Checked());
  EXPECT_TRUE(radios[1]->Checked());
  EXPECT_TRUE(radios[2]->Checked());  // another group

  int runs = 0;
  auto* save = new TMenuItem(&owner);
  save->SetShortCut(ShortCut('S', ssCtrl));
  save->OnClick = [&runs](TComponent*) { ++runs; };
  save->SetAutoCheck(true);
  view->Add(save);
  EXPECT_TRUE(menu.IsShortCut('S', ssCtrl));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(save->Checked());
  EXPECT_FALSE(menu.IsShortCut('S', ssAlt));
  view->SetEnabled(false);  // a disabled parent hides its children's shortcuts
  EXPECT_FALSE(menu.IsShortCut('S', ssCtrl));
  view->SetEnabled(true);
  save->SetVisible(false);
  EXPECT_FALSE(menu.IsShortCut('S', ssCtrl));
  EXPECT_EQ(runs, 1);
  EXPECT_TRUE(menu.Holds(save));
  EXPECT_FALSE(menu.Holds(nullptr));
}

class TMenuTestForm : public TForm {
 public:
  explicit TMenuTestForm(TComponent* owner) : TForm(owner) {}
  QString ClassName() const override { return QStringLiteral("TMenuTestForm"); }
  void ItemClick(TComponent* sender) { clicked.push_back(sender); }
  std::vector<TComponent*> clicked;
};

const char* kMenuForm = R"(object MenuForm: TMenuTestForm
  object PopupMenu1: TPopupMenu
    Images = ImageList1
    OnPopup = ItemClick
    object File1: TMenuItem
      Caption = '&File'
      object Open1: TMenuItem
        Caption = '&Open'
        ShortCut = 16463
        ImageIndex = 0
        OnClick = ItemClick
      end
      object N1: TMenuItem
        Caption = '-'
      end
      object Mode1: TMenuItem
        Caption = 'Mode'
        Checked = True
        RadioItem = True
        GroupIndex = 3
      end
    end
    object Exit1: TMenuItem
      Caption = 'E&xit'
      Enabled = False
      Visible = False
    end
  end
  object MainMenu1: TMainMenu
    object Help1: TMenuItem
      Caption = '&Help'
    end
  end
  object ImageList1: TImageList
  end
end
)";

TEST(PlatformMenus, MenusNestTheirItemsInFormDefinitions) {
  RegisterClass<TMenuTestForm>(QStringLiteral("TMenuTestForm"), QStringLiteral("TForm"))
      .Method(QStringLiteral("ItemClick"), &TMenuTestForm::ItemClick);
  TMenuTestForm form(nullptr);
  ReadComponentFromText(QString::fromUtf8(kMenuForm), &form);
  auto* popup = dynamic_cast<TPopupMenu*>(form.FindComponent("PopupMenu1"));
  auto* images = dynamic_cast<TImageList*>(form.FindComponent("ImageList1"));
  ASSERT_NE(popup, nullptr);
  EXPECT_EQ(popup->Images(), images);
  ASSERT_EQ(popup->Items()->Count(), 2);
  TMenuItem* file = popup->Items()->Items(0);
  EXPECT_EQ(file->Name(), "File1");
  EXPECT_EQ(file->Owner(), &form);
  ASSERT_EQ(file->Count(), 3);
  TMenuItem* open = file->Items(0);
  EXPECT_EQ(open->ShortCut(), scCtrl | 'O');
  EXPECT_EQ(open->ShortCutText(), "Ctrl+O");
  EXPECT_EQ(open->ImageIndex(), 0);
  EXPECT_TRUE(file->Items(1)->IsLine());
  EXPECT_TRUE(file->Items(2)->Checked());
  EXPECT_TRUE(file->Items(2)->RadioItem());
  EXPECT_EQ(file->Items(2)->GroupIndex(), 3);
  EXPECT_FALSE(popup->Items()->Items(1)->Enabled());
  EXPECT_FALSE(popup->Items()->Items(1)->Visible());
  auto* main = dynamic_cast<TMainMenu*>(form.FindComponent("MainMenu1"));
  ASSERT_NE(main, nullptr);
  ASSERT_EQ(main->Items()->Count(), 1);
  EXPECT_EQ(main->Items()->Items(0)->Caption(), "&Help");
  open->Click();
  popup->OnPopup(popup);
  ASSERT_EQ(form.clicked.size(), 2u);
  EXPECT_EQ(form.clicked[0], open);

  // Written back, the items nest under their menu and parent again and read the same.
  const QString text = WriteComponentToText(&form);
  EXPECT_TRUE(text.contains("    object File1: TMenuItem\n      Caption = '&File'\n      object Open1: TMenuItem"))
      << text.toStdString();
  TMenuTestForm again(nullptr);
  ReadComponentFromText(text, &again);
  EXPECT_EQ(WriteComponentToText(&again), text);
  // A freed image list leaves the menu without one.
  delete images;
  EXPECT_EQ(popup->Images(), nullptr);
}

}  // namespace
