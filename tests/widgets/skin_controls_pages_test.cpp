// The skinned page control and its sheets: page order and switching by mouse, keys and
// ActivePage, the page area without a skin, the plain tab looks on screen, hidden tabs and
// the tabs as seen by a screen reader.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "platform/Colors.h"
#include "platform/Forms.h"
#include "skin/controls/bsSkinTabs.h"
#include "tests/TestUtil.h"

namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPoint p) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                    ? Qt::NoButton
                                    : Qt::MouseButtons(Qt::LeftButton);
  const Qt::MouseButton b = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), b, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

int32_t Pixel(QWidget* w, int x, int y) { return FromQColor(w->grab().toImage().pixelColor(x, y)); }

QPoint Centre(const TRect& r) { return QPoint(r.Left + r.Width() / 2, r.Top + r.Height() / 2); }

struct Fixture {
  TForm form{nullptr};
  TbsSkinPageControl* pc;
  TbsSkinTabSheet* numbers;
  TbsSkinTabSheet* dates;
  int changes = 0;
  Fixture() {
    form.SetBounds(0, 0, 500, 200);
    pc = new TbsSkinPageControl(&form);
    pc->SetParent(&form);
    pc->SetBounds(1, 1, 369, 71);
    numbers = new TbsSkinTabSheet(&form);
    numbers->SetPageControl(pc);
    numbers->SetCaption(QString::fromUtf8("單號查詢"));
    dates = new TbsSkinTabSheet(&form);
    dates->SetPageControl(pc);
    dates->SetCaption(QString::fromUtf8("日期查詢"));
    pc->OnChange = [this](TComponent*) { ++changes; };
  }
};

TEST(SkinPageControl, DefaultsAndPageOrder) {
  Fixture f;
  EXPECT_EQ(f.pc->SkinDataName(), QStringLiteral("tab"));
  EXPECT_EQ(f.pc->DefaultItemHeight(), 20);
  EXPECT_EQ(f.pc->TabHeight(), 20);
  EXPECT_EQ(f.pc->Font().Name, QStringLiteral("Arial"));
  EXPECT_EQ(f.pc->Font().Color, clBtnText);
  EXPECT_FALSE(f.pc->ParentFont());
  ASSERT_EQ(f.pc->PageCount(), 2);
  EXPECT_EQ(f.pc->Pages(0), f.numbers);
  EXPECT_EQ(f.dates->PageIndex(), 1);
  EXPECT_EQ(f.pc->ActivePage(), f.numbers);
  EXPECT_TRUE(f.numbers->Visible());
  EXPECT_FALSE(f.dates->Visible());
  EXPECT_EQ(f.numbers->Align(), TAlign::alClient);
  f.dates->SetPageIndex(0);
  EXPECT_EQ(f.pc->Pages(0), f.dates);
  EXPECT_EQ(f.numbers->TabIndex(), 1);
}

TEST(SkinPageControl, PageAreaWithoutSkin) {
  Fixture f;
  // Tabs in a row at the top, 20 high; the page fills the rest inside a one-pixel frame.
  const TRect tab0 = f.pc->ItemRect(0);
  EXPECT_EQ(tab0.Top, 0);
  EXPECT_EQ(tab0.Left, 0);
  EXPECT_EQ(tab0.Height(), 20);
  EXPECT_EQ(f.pc->ItemRect(1).Left, tab0.Right);
  EXPECT_EQ(f.pc->DisplayRect(), TRect(1, 21, 368, 70));
  EXPECT_EQ(f.numbers->BoundsRect(), TRect(1, 21, 368, 70));
  f.pc->SetDefaultItemHeight(30);
  EXPECT_EQ(f.numbers->BoundsRect(), TRect(1, 31, 368, 70));
}

TEST(SkinPageControl, SwitchesPagesByClickKeysAndProperty) {
  Fixture f;
  f.form.Show();
  QWidget* w = f.pc->Handle();
  SendMouse(w, QEvent::MouseButtonPress, Centre(f.pc->ItemRect(1)));
  SendMouse(w, QEvent::MouseButtonRelease, Centre(f.pc->ItemRect(1)));
  EXPECT_EQ(f.pc->ActivePage(), f.dates);
  EXPECT_EQ(f.pc->ActivePageIndex(), 1);
  EXPECT_TRUE(f.dates->Visible());
  EXPECT_FALSE(f.numbers->Visible());
  EXPECT_EQ(f.changes, 1);
  // Clicking the selected tab or beside the tabs changes nothing.
  SendMouse(w, QEvent::MouseButtonPress, Centre(f.pc->ItemRect(1)));
  SendMouse(w, QEvent::MouseButtonPress, QPoint(360, 10));
  EXPECT_EQ(f.changes, 1);
  // Arrow keys walk the tabs.
  f.pc->Perform(WM_KEYDOWN, VK_LEFT);
  EXPECT_EQ(f.pc->ActivePage(), f.numbers);
  f.pc->Perform(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(f.pc->ActivePage(), f.dates);
  EXPECT_EQ(f.changes, 3);
  // OnChanging can refuse.
  f.pc->OnChanging = [](TComponent*, bool& allow) { allow = false; };
  f.pc->Perform(WM_KEYDOWN, VK_LEFT);
  EXPECT_EQ(f.pc->ActivePage(), f.dates);
  f.pc->OnChanging = {};
  // Setting ActivePage from code shows the page and fires no change event.
  f.pc->SetActivePage(f.numbers);
  EXPECT_TRUE(f.numbers->Visible());
  EXPECT_EQ(f.changes, 3);
}

TEST(SkinPageControl, HiddenTabsAreSkipped) {
  Fixture f;
  auto* third = new TbsSkinTabSheet(&f.form);
  third->SetPageControl(f.pc);
  third->SetCaption(QStringLiteral("Third"));
  f.dates->SetTabVisible(false);
  EXPECT_EQ(f.pc->VisibleTabs().size(), 2u);
  EXPECT_EQ(third->TabIndex(), 1);
  EXPECT_EQ(f.dates->TabIndex(), -1);
  EXPECT_EQ(f.pc->ItemRect(1).Left, f.pc->ItemRect(0).Right);  // no gap
  f.pc->Perform(WM_KEYDOWN, VK_RIGHT);
  EXPECT_EQ(f.pc->ActivePage(), third);
}

TEST(SkinPageControl, PlainTabsOnScreenAndHotTab) {
  Fixture f;
  f.form.Show();
  QWidget* w = f.pc->Handle();
  const TRect sel = f.pc->ItemRect(0), other = f.pc->ItemRect(1);
  // Selected tab without the focus: navy frame, pale fill; the other tab flat.
  EXPECT_EQ(Pixel(w, sel.Left, sel.Top), ColorToRGB(clNavy));
  EXPECT_EQ(Pixel(w, sel.Left + 1, sel.Top + 1), RGBColor(182, 189, 210));
  EXPECT_EQ(Pixel(w, other.Left + 1, other.Top + 1), ColorToRGB(clBtnFace));
  // The page frame just below the tabs.
  EXPECT_EQ(Pixel(w, 0, 20), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(w, 368, 70), ColorToRGB(clBtnShadow));
  // Hovering the other tab lights it; hovering the selected one makes nothing hot.
  SendMouse(w, QEvent::MouseMove, Centre(other));
  EXPECT_EQ(f.pc->HotTab(), 1);
  EXPECT_EQ(f.pc->HotPage(), 1);
  EXPECT_EQ(Pixel(w, other.Left + 1, other.Top + 1), RGBColor(182, 189, 210));
  SendMouse(w, QEvent::MouseMove, QPoint(360, 10));
  EXPECT_EQ(f.pc->HotTab(), -1);
  EXPECT_EQ(Pixel(w, other.Left + 1, other.Top + 1), ColorToRGB(clBtnFace));
  // The sheet paints the button face.
  EXPECT_EQ(Pixel(f.numbers->Handle(), 5, 5), ColorToRGB(clBtnFace));
}

TEST(SkinPageControl, TabsAreAccessiblePageTabs) {
  Fixture f;
  f.form.Show();
  QAccessibleInterface* list = QAccessible::queryAccessibleInterface(f.pc->Handle());
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->role(), QAccessible::PageTabList);
  ASSERT_GE(list->childCount(), 2);
  QAccessibleInterface* t0 = list->child(0);
  QAccessibleInterface* t1 = list->child(1);
  ASSERT_TRUE(t0 && t1);
  EXPECT_EQ(t0->role(), QAccessible::PageTab);
  EXPECT_EQ(t0->text(QAccessible::Name), QString::fromUtf8("單號查詢"));
  EXPECT_EQ(t1->text(QAccessible::Name), QString::fromUtf8("日期查詢"));
  EXPECT_TRUE(t0->state().selected);
  EXPECT_FALSE(t1->state().selected);
  EXPECT_EQ(list->indexOfChild(t1), 1);
  EXPECT_EQ(t1->parent(), list);
  ASSERT_NE(t1->actionInterface(), nullptr);
  t1->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(f.pc->ActivePage(), f.dates);
  EXPECT_EQ(f.changes, 1);
  EXPECT_TRUE(t1->state().selected);
}

}  // namespace
