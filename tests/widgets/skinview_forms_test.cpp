// skinview's forms, offscreen: the parent with its menu, hint and tray icon, one child per
// topic and the normal form; switching skins from the menu re-reads the skin in every control
// of every form and changes what the parent draws, and every control window (edits included)
// then shows what it draws now, not an older picture; a skin that cannot be read shows the reason
// and keeps the skin in use; closing a maximized child, switching skins while a popup menu is
// open and closing the parent while a child's menu is open.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QEventLoop>
#include <QImage>
#include <QLineEdit>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>

#include "BuiltInSkins.h"
#include "SkinSource.h"
#include "SkinView.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Edit.h"
#include "platform/Label.h"
#include "platform/WidgetBridge.h"
#include "platform/Menus.h"
#include "platform/Messages.h"
#include "skin/controls/bsSkinControl.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinStdLabel.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/data/SkinData.h"
#include "skin/form/bsSkinForm.h"
#include "skin/form/bsSkinMainMenuBar.h"
#include "skin/menus/bsSkinHint.h"
#include "skin/menus/bsSkinMenu.h"
#include "skin/menus/bsSkinPopupMenu.h"
#include "skin/menus/bsTrayIcon.h"
#include "tests/TestUtil.h"

namespace {

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The section index a skinned control holds and the one its skin data name has in the skin.
struct TSectionCheck {
  int held = -2, expected = -2;
};
TSectionCheck Sections(TComponent* c) {
  auto look = [](auto* x) {
    TbsSkinData* d = x->SkinData();
    return TSectionCheck{x->SectionIndex(), d ? d->FindControlIndex(x->SkinDataName()) : -1};
  };
  if (auto* x = dynamic_cast<TbsSkinControl*>(c)) return look(x);
  if (auto* x = dynamic_cast<TbsSkinCustomEdit*>(c)) return look(x);
  if (auto* x = dynamic_cast<TbsSkinStdLabel*>(c)) return look(x);
  if (auto* x = dynamic_cast<TbsSkinPageControl*>(c)) return look(x);
  return {};
}

// Every skinned control of every form holds the section of its name in the current skin;
// returns how many have one.
int CheckAllSections(const TSkinView& v) {
  std::vector<TCustomForm*> forms{v.ParentForm(), v.ToolForm()};
  for (TForm* c : v.Children()) forms.push_back(c);
  int withSection = 0;
  for (TCustomForm* f : forms)
    for (int i = 0; i < f->ComponentCount(); ++i) {
      const TSectionCheck s = Sections(f->Components(i));
      if (s.held == -2) continue;
      EXPECT_EQ(s.held, s.expected) << f->Caption().toStdString() << " " << f->Components(i)->ClassName().toStdString();
      if (s.held >= 0) ++withSection;
    }
  return withSection;
}

// No two visible controls with the same parent overlap in any form: each control shows whole
// at the size its skin gives it. Returns how many controls were compared.
int CheckNoOverlaps(const TSkinView& v) {
  std::vector<TCustomForm*> forms{v.ParentForm(), v.ToolForm()};
  for (TForm* c : v.Children()) forms.push_back(c);
  int compared = 0;
  for (TCustomForm* f : forms) {
    std::vector<TControl*> controls;
    for (int i = 0; i < f->ComponentCount(); ++i)
      if (auto* c = dynamic_cast<TControl*>(f->Components(i)); c && c->Visible() && c->Parent()) controls.push_back(c);
    for (size_t i = 0; i < controls.size(); ++i)
      for (size_t j = i + 1; j < controls.size(); ++j) {
        if (controls[i]->Parent() != controls[j]->Parent()) continue;
        ++compared;
        const TRect a = controls[i]->BoundsRect(), b = controls[j]->BoundsRect();
        const bool apart = a.Right <= b.Left || b.Right <= a.Left || a.Bottom <= b.Top || b.Bottom <= a.Top;
        EXPECT_TRUE(apart) << f->Caption().toStdString() << ": " << controls[i]->Hint().toStdString() << " ("
                           << a.Left << "," << a.Top << "," << a.Right << "," << a.Bottom << ") overlaps "
                           << controls[j]->Hint().toStdString() << " (" << b.Left << "," << b.Top << "," << b.Right
                           << "," << b.Bottom << ")";
      }
  }
  return compared;
}

// Collects the message boxes and closes each as soon as it is up.
struct TBoxes {
  std::vector<QString> texts, captions;
  TBoxes() {
    SetMessageBoxObserver([this](const QString& text, const QString& caption, uint32_t) {
      texts.push_back(text);
      captions.push_back(caption);
      QTimer::singleShot(0, [] {
        if (QWidget* w = QApplication::activeModalWidget()) w->close();
      });
    });
  }
  ~TBoxes() { SetMessageBoxObserver(nullptr); }
};

TForm* ChildNamed(const TSkinView& v, const QString& caption) {
  for (TForm* c : v.Children())
    if (c->Caption() == caption) return c;
  return nullptr;
}

// A key press offered to `form` as the platform offers it.
bool PressShortCut(TCustomForm& form, uint16_t key, TShiftState shift) {
  TWMKey k;
  k.Msg = WM_KEYDOWN;
  k.CharCode = key;
  k.Shift = shift;
  static uint32_t serial = 1000;
  k.Serial = ++serial;
  return form.IsShortCut(k);
}

TEST(SkinViewForms, ParentChildrenMenuHintAndTray) {
  TSkinView v(*Application);
  v.UseBuiltInSkin(0);
  v.OpenAllChildren();
  v.ShowForms(true);
  Settle();
  ASSERT_EQ(Application->MainForm(), v.ParentForm());
  EXPECT_EQ(v.ParentForm()->FormStyle(), TFormStyle::fsMDIForm);
  EXPECT_EQ(v.ParentForm()->Caption(), QStringLiteral("Skinview - Ledgerly Slate"));
  ASSERT_EQ(v.ParentForm()->MDIChildCount(), kChildTopicCount);
  for (int i = 0; i < kChildTopicCount; ++i) {
    TForm* c = ChildNamed(v, ChildTopicCaption(static_cast<TChildTopic>(i)));
    ASSERT_NE(c, nullptr) << i;
    EXPECT_EQ(c->FormStyle(), TFormStyle::fsMDIChild);
    EXPECT_NE(TbsSkinForm::FindSkinForm(c), nullptr);
  }
  // Tiled: no two children overlap and all lie in the MDI client area.
  const TRect area = v.ParentFrame()->MDIClientArea();
  for (size_t i = 0; i < v.Children().size(); ++i) {
    const TForm* a = v.Children()[i];
    EXPECT_GE(a->Left(), 0);
    EXPECT_LE(a->Left() + a->Width(), area.Width());
    for (size_t j = i + 1; j < v.Children().size(); ++j) {
      const TForm* b = v.Children()[j];
      const bool apart = a->Left() + a->Width() <= b->Left() || b->Left() + b->Width() <= a->Left() ||
                         a->Top() + a->Height() <= b->Top() || b->Top() + b->Height() <= a->Top();
      EXPECT_TRUE(apart) << a->Caption().toStdString() << " / " << b->Caption().toStdString();
    }
  }
  // The menu: File, Skin, Window, Help; the built-in skin in use checked; the window menu
  // lists the children after a divider.
  TMenuItem* root = v.Menu().Menu->Items();
  ASSERT_EQ(root->Count(), 4);
  EXPECT_EQ(root->Items(0)->Caption(), QStringLiteral("&File"));
  EXPECT_EQ(root->Items(1)->Caption(), QStringLiteral("&Skin"));
  EXPECT_EQ(root->Items(2)->Caption(), QStringLiteral("&Window"));
  EXPECT_EQ(root->Items(3)->Caption(), QStringLiteral("&Help"));
  QStringList file;
  for (TMenuItem* i : root->Items(0)->ItemList()) file << i->Caption();
  EXPECT_EQ(file, QStringList({QStringLiteral("&Open skin folder..."), QStringLiteral("Open packed skin &file..."),
                               QStringLiteral("&Reload"), QStringLiteral("-"), QStringLiteral("E&xit")}));
  EXPECT_TRUE(v.Menu().BuiltIn[0]->Checked());
  EXPECT_TRUE(v.Menu().BuiltIn[0]->RadioItem());
  EXPECT_FALSE(v.Menu().BuiltIn[1]->Checked());
  EXPECT_EQ(v.ParentForm()->WindowMenu(), v.Menu().WindowItem);
  EXPECT_EQ(v.Menu().WindowItem->Count(), 3 + 1 + kChildTopicCount);
  EXPECT_EQ(v.Menu().WindowItem->Items(4)->Caption(), QStringLiteral("Panels"));
  // The menu bar shows the menu at the top of the parent, above the MDI client area.
  TbsSkinMainMenuBar* bar = v.MenuBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Parent(), v.ParentForm());
  EXPECT_EQ(bar->Align(), TAlign::alTop);
  EXPECT_EQ(bar->MainMenu(), v.Menu().Menu);
  EXPECT_EQ(bar->SkinForm(), v.ParentFrame());
  EXPECT_EQ(v.ParentFrame()->MainMenuBar(), static_cast<TComponent*>(bar));
  ASSERT_EQ(bar->Items().size(), 4u);
  EXPECT_GT(bar->Height(), 0);
  EXPECT_EQ(area.Top, bar->Top() + bar->Height());
  // The hint and the tray icon belong to the parent's frame; the system menu offers the tray.
  EXPECT_EQ(v.ParentFrame()->SkinHint(), static_cast<TComponent*>(v.Hint()));
  EXPECT_EQ(v.ParentFrame()->TrayIcon(), static_cast<TComponent*>(v.TrayIcon()));
  TMenuItem* sys = v.ParentFrame()->GetSystemMenuItems();
  bool toTray = false;
  for (TMenuItem* i : sys->ItemList()) toTray = toTray || i->Caption() == QStringLiteral("Minimize to &Tray");
  EXPECT_TRUE(toTray);
  // The normal form: every frame button and magnetic edges.
  TbsSkinForm* toolFrame = TbsSkinForm::FindSkinForm(v.ToolForm());
  ASSERT_NE(toolFrame, nullptr);
  EXPECT_EQ(toolFrame->BorderIcons(), biSystemMenu | biMinimize | biMaximize | biRollUp | biMinimizeToTray);
  EXPECT_TRUE(toolFrame->Magnetic);
  EXPECT_EQ(v.ToolForm()->FormStyle(), TFormStyle::fsNormal);
  EXPECT_GT(CheckAllSections(v), 40);
}

TEST(SkinViewForms, SwitchingSkinsFromTheMenuReachesEveryControlAndThePicture) {
  TSkinView v(*Application);
  v.UseBuiltInSkin(0);
  v.OpenAllChildren();
  v.OpenChild(TChildTopic::ctPanels);
  v.ShowForms(true);
  Settle();
  ASSERT_NE(ChildNamed(v, QStringLiteral("Panels 2")), nullptr);
  EXPECT_GT(CheckNoOverlaps(v), 40);
  const QImage slate = v.RenderParent();
  ASSERT_FALSE(slate.isNull());
  // A frame pixel at the top left corner piece is the skin's main picture there.
  const TPoint corner{v.SkinData()->lefttoppoint.X - 3, v.SkinData()->lefttoppoint.Y - 3};
  EXPECT_EQ(slate.pixel(corner.X, corner.Y) | 0xFF000000u,
            v.SkinData()->picture.Image().pixel(corner.X, corner.Y) | 0xFF000000u);

  // Ctrl+2 (the second built-in skin) from a child, through the menu's shortcut.
  ASSERT_TRUE(PressShortCut(*v.Children()[1], '2', ssCtrl));
  Settle();
  EXPECT_EQ(v.CurrentBuiltIn(), 1);
  EXPECT_TRUE(v.Menu().BuiltIn[1]->Checked());
  EXPECT_FALSE(v.Menu().BuiltIn[0]->Checked());
  EXPECT_EQ(v.ParentForm()->Caption(), QStringLiteral("Skinview - Ledgerly Daylight"));
  EXPECT_GT(CheckAllSections(v), 40);
  EXPECT_GT(CheckNoOverlaps(v), 40);
  const QImage daylight = v.RenderParent();
  const TPoint c2{v.SkinData()->lefttoppoint.X - 3, v.SkinData()->lefttoppoint.Y - 3};
  EXPECT_EQ(daylight.pixel(c2.X, c2.Y) | 0xFF000000u, v.SkinData()->picture.Image().pixel(c2.X, c2.Y) | 0xFF000000u);
  // Most of the picture changed.
  ASSERT_EQ(daylight.size(), slate.size());
  qint64 same = 0;
  for (int y = 0; y < slate.height(); y += 4)
    for (int x = 0; x < slate.width(); x += 4) same += slate.pixel(x, y) == daylight.pixel(x, y);
  EXPECT_LT(same, qint64(slate.width() / 4) * (slate.height() / 4) / 2);

  // Back through the parent's own shortcut, then a reload of the built-in skin.
  ASSERT_TRUE(PressShortCut(*v.ParentForm(), '1', ssCtrl));
  Settle();
  EXPECT_EQ(v.CurrentBuiltIn(), 0);
  EXPECT_TRUE(v.Reload());
  EXPECT_EQ(v.CurrentBuiltIn(), 0);
  EXPECT_EQ(v.RenderParent(), slate);
}

// What `window` shows (the platform's copy of its painting, not a new rendering) against a
// rendering of it now: the number of pixels that differ inside `area` (window coordinates).
int StalePixels(QWidget* window, const QRect& area) {
  const QImage shown = window->screen()->grabWindow(window->winId()).toImage().convertToFormat(QImage::Format_RGB32);
  const QImage now = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (shown.size() != now.size()) return area.width() * area.height();
  int stale = 0;
  const QRect r = area & shown.rect();
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) stale += shown.pixel(x, y) != now.pixel(x, y);
  return stale;
}

void Wait(int ms) {
  QEventLoop settle;
  QTimer::singleShot(ms, &settle, &QEventLoop::quit);
  settle.exec();
}

TEST(SkinViewForms, AfterASkinSwitchEveryWindowShowsTheNewSkinEditsIncluded) {
  TSkinView v(*Application);
  v.UseBuiltInSkin(0);
  v.OpenAllChildren();
  v.OpenAllChildren();
  v.ShowForms(true);
  Wait(300);
  // Every control window that shows, where it lies in its top-level window; the ones whose
  // picture on screen matches a new rendering before any switch (a control that draws
  // differently when rendered is left out) must match again after each switch.
  struct TArea {
    QWidget* top;
    QRect rect;
    bool edit;
  };
  std::vector<TArea> areas;
  std::vector<TCustomForm*> forms{v.ParentForm(), v.ToolForm()};
  for (TForm* c : v.Children()) forms.push_back(c);
  for (TCustomForm* f : forms)
    for (int i = 0; i < f->ComponentCount(); ++i) {
      auto* c = dynamic_cast<TWinControl*>(f->Components(i));
      if (!c || !c->HandleAllocated() || !c->Handle()->isVisible() || c->Handle()->visibleRegion().isEmpty()) continue;
      QWidget* w = c->Handle();
      const TArea a{w->window(), QRect(w->mapTo(w->window(), QPoint(0, 0)), w->size()),
                    dynamic_cast<TbsSkinCustomEdit*>(c) != nullptr};
      if (StalePixels(a.top, a.rect) == 0) areas.push_back(a);
    }
  const auto edits = std::count_if(areas.begin(), areas.end(), [](const TArea& a) { return a.edit; });
  ASSERT_GE(edits, 10);
  ASSERT_GE(areas.size(), 40u);

  for (int skin : {1, 0, 1}) {
    v.UseBuiltInSkin(skin);
    Wait(300);
    ASSERT_EQ(v.CurrentBuiltIn(), skin);
    for (const TArea& a : areas)
      EXPECT_EQ(StalePixels(a.top, a.rect), 0) << "skin " << skin << (a.edit ? " edit" : " control") << " at "
                                                << a.rect.x() << "," << a.rect.y() << " in " << a.top->width() << "x" << a.top->height();
  }
}

TEST(SkinViewForms, ASkinThatCannotBeReadShowsWhyAndTheSkinInUseStays) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  TSkinView v(*Application);
  v.UseBuiltInSkin(1);
  v.OpenAllChildren();
  v.ShowForms(false);
  Settle();
  TBoxes boxes;
  const QString notSkin = tmp.filePath(QStringLiteral("notes.skin"));
  {
    QFile f(notSkin);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a skin at all");
  }
  EXPECT_FALSE(v.OpenSkin(notSkin));
  ASSERT_EQ(boxes.texts.size(), 1u);
  EXPECT_TRUE(boxes.texts[0].contains(notSkin));
  EXPECT_EQ(boxes.captions[0], QStringLiteral("Skinview"));
  EXPECT_EQ(v.CurrentBuiltIn(), 1);
  EXPECT_FALSE(v.SkinData()->IsEmpty);
  EXPECT_EQ(v.SkinData()->skinname, QStringLiteral("Ledgerly Daylight"));
  EXPECT_TRUE(v.ParentFrame()->Skinned());
  EXPECT_GT(CheckAllSections(v), 40);

  // A folder a user opened, then broken on disk: Reload keeps the loaded skin.
  const QString copy = tmp.filePath(QStringLiteral("slate"));
  QDir().mkpath(copy);
  const QDir from(SourceDir() + QStringLiteral("/skins/slate"));
  for (const QString& f : from.entryList(QDir::Files)) ASSERT_TRUE(QFile::copy(from.filePath(f), copy + u'/' + f));
  ASSERT_TRUE(v.OpenSkin(copy));
  EXPECT_EQ(v.CurrentBuiltIn(), -1);
  EXPECT_FALSE(v.Menu().BuiltIn[0]->Checked());
  EXPECT_FALSE(v.Menu().BuiltIn[1]->Checked());
  EXPECT_EQ(v.ParentForm()->Caption(), QStringLiteral("Skinview - Ledgerly Slate"));
  ASSERT_TRUE(QFile::remove(copy + QStringLiteral("/SKIN.INI")));
  EXPECT_FALSE(v.Reload());
  ASSERT_EQ(boxes.texts.size(), 2u);
  EXPECT_TRUE(boxes.texts[1].contains(QStringLiteral("holds no SKIN.INI"))) << boxes.texts[1].toStdString();
  EXPECT_EQ(v.SkinData()->skinname, QStringLiteral("Ledgerly Slate"));
  EXPECT_TRUE(v.ParentFrame()->Skinned());
  EXPECT_GT(CheckAllSections(v), 40);
}

TEST(SkinViewForms, MaximizedChildrenPopupMenusAndSkinChangesInAnyOrder) {
  auto v = std::make_unique<TSkinView>(*Application);
  v->UseBuiltInSkin(0);
  v->OpenAllChildren();
  v->ShowForms(true);
  Settle();
  // Maximize a child: the parent's caption joins it; closing it frees it and clears that.
  TForm* pages = ChildNamed(*v, QStringLiteral("Pages"));
  ASSERT_NE(pages, nullptr);
  TbsSkinForm::FindSkinForm(pages)->SetWindowState(TWindowState::wsMaximized);
  Settle();
  EXPECT_EQ(v->ParentFrame()->CaptionText(), QStringLiteral("Skinview - Ledgerly Slate - [Pages]"));
  // The menu bar carries the maximized child's four buttons until it goes.
  EXPECT_TRUE(v->MenuBar()->ChildButtonsShown());
  EXPECT_EQ(v->MenuBar()->ChildButtonCount(), 4);
  pages->Close();
  Settle();
  EXPECT_EQ(ChildNamed(*v, QStringLiteral("Pages")), nullptr);
  EXPECT_EQ(v->Children().size(), size_t(kChildTopicCount - 1));
  EXPECT_FALSE(v->ParentFrame()->MDIChildMaximized());
  EXPECT_EQ(v->ParentFrame()->CaptionText(), QStringLiteral("Skinview - Ledgerly Slate"));
  EXPECT_EQ(v->Menu().WindowItem->Count(), 3 + 1 + kChildTopicCount - 1);
  EXPECT_FALSE(v->MenuBar()->ChildButtonsShown());

  // The Menus child's popup menu opens on a right click; a skin switch while it is open
  // leaves every control with the new skin's sections.
  TForm* menus = ChildNamed(*v, QStringLiteral("Menus"));
  ASSERT_NE(menus, nullptr);
  TbsSkinPopupMenu* popup = nullptr;
  for (int i = 0; i < menus->ComponentCount(); ++i)
    if (auto* p = dynamic_cast<TbsSkinPopupMenu*>(menus->Components(i))) popup = p;
  ASSERT_NE(popup, nullptr);
  EXPECT_GT(popup->Items()->Count(), 40);
  TbsSkinMenu* driver = TbsSkinForm::FindSkinForm(menus)->MenuDriver();
  popup->PopupAt(200, 200);
  Settle();
  ASSERT_TRUE(driver->MenuOpen());
  v->UseBuiltInSkin(1);
  Settle();
  EXPECT_GT(CheckAllSections(*v), 30);
  // The popup's own key: Escape ends it.
  TbsSkinForm::FindSkinForm(menus)->MenuKeyDown(VK_ESCAPE);
  Settle();
  EXPECT_FALSE(driver->MenuOpen());

  // The bar's Skin menu opened by its accelerator pressed in a child; a skin switch while it
  // is open.
  TbsSkinMainMenuBar* bar = v->MenuBar();
  TbsSkinMenu* parentDriver = v->ParentFrame()->MenuDriver();
  ASSERT_TRUE(PressShortCut(*menus, 'S', ssAlt));
  Settle();
  ASSERT_TRUE(parentDriver->MenuOpen());
  v->UseBuiltInSkin(0);
  Settle();
  EXPECT_GT(CheckAllSections(*v), 30);
  EXPECT_EQ(bar->Items().size(), 4u);
  v->ParentFrame()->MenuKeyDown(VK_ESCAPE);
  v->ParentFrame()->MenuKeyDown(VK_ESCAPE);
  Settle();
  EXPECT_FALSE(parentDriver->MenuOpen());

  // Closing everything while a child's popup and the bar's menu are open.
  ASSERT_TRUE(bar->Accelerator('W'));
  Settle();
  ASSERT_TRUE(parentDriver->MenuOpen());
  popup->PopupAt(220, 220);
  Settle();
  ASSERT_TRUE(driver->MenuOpen());
  v.reset();
  Settle();
  EXPECT_EQ(Application->FormCount(), 0);
}

}  // namespace

namespace {
// The control whose window `iface` reads.
TWinControl* ControlOfWidget(QAccessibleInterface* iface) {
  auto* bridge = dynamic_cast<TWidgetBridge*>(iface ? iface->object() : nullptr);
  return bridge ? bridge->Control() : nullptr;
}

// The first node below `iface` (itself included) with `role` and `name`, or nullptr.
QAccessibleInterface* FindAccessible(QAccessibleInterface* iface, QAccessible::Role role, const QString& name,
                                     int depth = 0) {
  if (!iface || depth > 12) return nullptr;
  if (iface->role() == role && iface->text(QAccessible::Name) == name) return iface;
  for (int i = 0; i < iface->childCount(); ++i)
    if (QAccessibleInterface* found = FindAccessible(iface->child(i), role, name, depth + 1)) return found;
  return nullptr;
}
}  // namespace

TEST(SkinViewForms, LabelsPanelsAndUpDownsAreReadByScreenReaders) {
  TSkinView v(*Application);
  v.UseBuiltInSkin(0);
  v.OpenAllChildren();
  v.ShowForms(true);
  Settle();
  TForm* edits = ChildNamed(v, ChildTopicCaption(TChildTopic::ctEdits));
  ASSERT_NE(edits, nullptr);
  QAccessibleInterface* form = QAccessible::queryAccessibleInterface(edits->Handle());
  ASSERT_NE(form, nullptr);
  // A label drawn on the form reads as a static text at its place on the screen.
  TCustomLabel* plain = nullptr;
  for (int i = 0; i < edits->ComponentCount() && !plain; ++i)
    if (auto* l = dynamic_cast<TCustomLabel*>(edits->Components(i)); l && l->Caption() == QStringLiteral("Plain edit:"))
      plain = l;
  ASSERT_NE(plain, nullptr);
  QAccessibleInterface* text = FindAccessible(form, QAccessible::StaticText, QStringLiteral("Plain edit:"));
  ASSERT_NE(text, nullptr);
  const TPoint at = plain->ClientToScreen(TPoint(0, 0));
  EXPECT_EQ(text->rect(), QRect(at.X, at.Y, plain->Width(), plain->Height()));
  EXPECT_EQ(text->parent()->indexOfChild(text) >= 0, true);
  EXPECT_EQ(text->parent()->child(text->parent()->indexOfChild(text)), text);
  EXPECT_TRUE(FindAccessible(form, QAccessible::StaticText, QStringLiteral("Disabled:"))->state().disabled);
  // Hidden, it is no longer read; its interface says so.
  plain->SetVisible(false);
  EXPECT_EQ(FindAccessible(form, QAccessible::StaticText, QStringLiteral("Plain edit:")), nullptr);
  EXPECT_FALSE(text->isValid());
  plain->SetVisible(true);
  EXPECT_NE(FindAccessible(form, QAccessible::StaticText, QStringLiteral("Plain edit:")), nullptr);
  // The edit a label leads to is read by the label's text, an edit without one by its hint; a
  // new caption renames it.
  auto* plainEdit = dynamic_cast<TCustomEdit*>(plain->FocusControl());
  ASSERT_NE(plainEdit, nullptr);
  QAccessibleInterface* line = QAccessible::queryAccessibleInterface(plainEdit->Editor());
  ASSERT_NE(line, nullptr);
  EXPECT_EQ(line->text(QAccessible::Name), QStringLiteral("Plain edit:"));
  plain->SetCaption(QStringLiteral("&Plain text: "));
  EXPECT_EQ(line->text(QAccessible::Name), QStringLiteral("Plain text:"));
  plain->SetFocusControl(nullptr);
  EXPECT_EQ(line->text(QAccessible::Name), QStringLiteral("An edit box"));
  plain->SetFocusControl(plainEdit);
  plain->SetCaption(QStringLiteral("Plain edit:"));
  EXPECT_EQ(line->text(QAccessible::Name), QStringLiteral("Plain edit:"));
  // Up-downs are spin boxes named by their hints.
  EXPECT_NE(FindAccessible(form, QAccessible::SpinBox, QStringLiteral("A vertical up-down")), nullptr);

  // A panel is a pane named by its caption, holding the label drawn on it.
  TForm* panels = ChildNamed(v, ChildTopicCaption(TChildTopic::ctPanels));
  ASSERT_NE(panels, nullptr);
  QAccessibleInterface* pform = QAccessible::queryAccessibleInterface(panels->Handle());
  QAccessibleInterface* inside = FindAccessible(pform, QAccessible::StaticText, QStringLiteral("Inside a caption panel"));
  ASSERT_NE(inside, nullptr);
  ASSERT_NE(inside->parent(), nullptr);
  EXPECT_EQ(inside->parent()->role(), QAccessible::Pane);
  EXPECT_EQ(inside->parent()->text(QAccessible::Name), QStringLiteral("Caption panel"));
  // Out of caption mode the panel shows no caption: it is named by its hint.
  auto* holder = dynamic_cast<TbsSkinPanel*>(ControlOfWidget(inside->parent()));
  ASSERT_NE(holder, nullptr);
  holder->SetCaptionMode(false);
  EXPECT_EQ(inside->parent()->text(QAccessible::Name), holder->Hint());
  holder->SetCaptionMode(true);
  // A freed label leaves no stale entry.
  delete plain;
  EXPECT_EQ(FindAccessible(form, QAccessible::StaticText, QStringLiteral("Plain edit:")), nullptr);
  EXPECT_FALSE(text->isValid());
  EXPECT_TRUE(text->text(QAccessible::Name).isEmpty());
}
