// The skinned page control and its sheets: page order and switching by mouse, keys and
// ActivePage, the page area without a skin, the plain tab looks on screen, hidden tabs and
// the tabs as seen by a screen reader; then the looks drawn from the real "slate" and
// "daylight" skins: tab height and font, page area and frame, tab looks and caption colours,
// the hot tab, the sheets' background and the tab scroller.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QWidget>
#include <cstdint>
#include <functional>

#include "platform/Colors.h"
#include "platform/Forms.h"
#include "platform/ImageList.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/controls/bsSkinUpDown.h"
#include "skin/data/SkinControlData.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/draw/bsUtils.h"
#include "tests/TestUtil.h"

namespace {

void SendMouse(QWidget* w, QEvent::Type type, QPoint p) {
  const Qt::MouseButtons held =
      type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : Qt::MouseButtons(Qt::LeftButton);
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

// ---- looks from the skin -----------------------------------------------------------------

QString SkinIni(const char* folder) {
  return SourceDir() + QStringLiteral("/skins/%1/SKIN.INI").arg(QLatin1String(folder));
}

int32_t At(const QImage& img, int x, int y) { return FromQColor(img.pixelColor(x, y)); }

// Records the areas the widget is asked to paint.
class PaintSpy : public QObject {
 public:
  explicit PaintSpy(QWidget* w) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) {
      painted += static_cast<QPaintEvent*>(e)->region();
      ++paints;
    }
    return false;
  }
  QRegion painted;
  int paints = 0;
};

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// The page control of the fixture on a real skin loaded from its folder.
struct SkinFixture : Fixture {
  TbsSkinData* data;
  explicit SkinFixture(const char* skin) {
    auto* stored = new TbsStoredSkin(&form);
    stored->LoadFromSkinFile(SkinIni(skin));
    data = new TbsSkinData(&form);
    data->SetStoredSkin(stored);
    pc->SetSkinData(data);
  }
  TbsDataSkinTabControl& Section() const {
    return dynamic_cast<TbsDataSkinTabControl&>(*data->SkinControls.at(static_cast<size_t>(pc->SectionIndex())));
  }
  QImage Picture() const { return pc->SkinPicture()->Image(); }
  void ShowFocused(bool focused) {
    form.Show();
    QApplication::setActiveWindow(form.Handle());
    // Activating the window hands the focus to its first control: take it away again.
    if (focused)
      pc->SetFocus();
    else
      pc->Handle()->clearFocus();
    Settle();
  }
};

// Compares the fixed ends (`ends` pixels wide) of the tab drawn at `r` with the look `look`.
void ExpectTabEnds(const QImage& shot, const TRect& r, const QImage& pic, const TRect& look, int ends) {
  ASSERT_EQ(r.Height(), look.Height());
  for (int y = 0; y < r.Height(); ++y)
    for (int x = 0; x < ends; ++x) {
      ASSERT_EQ(At(shot, r.Left + x, r.Top + y), At(pic, look.Left + x, look.Top + y)) << "left end " << x << "," << y;
      ASSERT_EQ(At(shot, r.Right - 1 - x, r.Top + y), At(pic, look.Right - 1 - x, look.Top + y))
          << "right end " << x << "," << y;
    }
}

// Pixels of exactly `color` inside the tab at `r` (between its fixed ends).
int CountColour(const QImage& shot, const TRect& r, int32_t color) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left + 5; x < r.Right - 5; ++x) n += At(shot, x, y) == color;
  return n;
}

TEST(SkinPageControlSkinned, SlateSectionSetsTabHeightFontAndPageArea) {
  SkinFixture f("slate");
  ASSERT_NE(f.pc->SectionIndex(), -1);
  const TbsDataSkinTabControl& s = f.Section();
  EXPECT_EQ(f.pc->TabHeight(), 18);
  EXPECT_EQ(f.pc->ItemRect(0).Height(), 18);
  EXPECT_EQ(f.pc->Font().Name, QStringLiteral("Arial"));
  EXPECT_EQ(f.pc->Font().Height, 14);
  EXPECT_EQ(f.pc->Font().Color, 13156536);
  // "focustabrect" is empty: the focused look is the selected one.
  EXPECT_TRUE(RectIsEmpty(s.focustabrect));
  EXPECT_EQ(f.pc->FocusTabLook(), s.activetabrect);
  // Tabs 18 high from the top edge; the page area moved by the 3-pixel client margins, so
  // the frame's top edge lies right under the tabs.
  EXPECT_EQ(f.pc->ItemRect(0).Top, 0);
  EXPECT_EQ(f.pc->DisplayRect(), TRect(3, 21, 369 - 3, 71 - 3));
  EXPECT_EQ(f.numbers->BoundsRect(), f.pc->DisplayRect());
  f.pc->SetTabPosition(TTabPosition::tpBottom);
  EXPECT_EQ(f.pc->DisplayRect(), TRect(3, 4 + 3 - 6, 369 - 3, 71 - 18 - 2 - 4 + 4 - 3));
  EXPECT_EQ(f.pc->ItemRect(0).Bottom, 71);
  f.pc->SetTabPosition(TTabPosition::tpLeft);
  EXPECT_EQ(f.pc->DisplayRect(), TRect(18 + 6 + 3 - 4, 4 + 3 - 6, 369 - 3, 71 - 3));
  EXPECT_EQ(f.pc->ItemRect(0).Left, 0);
  // Dropping the skin brings back the plain tab height and font.
  f.pc->SetSkinDataName(QStringLiteral("no such section"));
  f.pc->ApplySkinData();
  EXPECT_EQ(f.pc->TabHeight(), 20);
  EXPECT_EQ(f.pc->Font().Color, clBtnText);
}

TEST(SkinPageControlSkinned, TabLooksAndCaptionColoursFollowSelectionAndFocus) {
  for (const char* skin : {"slate", "daylight"}) {
    SCOPED_TRACE(skin);
    SkinFixture f(skin);
    f.numbers->SetCaption(QStringLiteral("HHHH"));
    f.dates->SetCaption(QStringLiteral("HHHH"));
    const TbsDataSkinTabControl& s = f.Section();
    ASSERT_EQ(s.tableftoffset, 5);
    f.ShowFocused(false);
    ASSERT_FALSE(f.pc->Focused());
    QWidget* w = f.pc->Handle();
    const QImage pic = f.Picture();
    const TRect sel = f.pc->ItemRect(0), other = f.pc->ItemRect(1);
    QImage shot = w->grab().toImage();
    // Selected tab from the selected look, the other from the normal look.
    ExpectTabEnds(shot, sel, pic, s.activetabrect, 5);
    ExpectTabEnds(shot, other, pic, s.tabrect, 5);
    EXPECT_GT(CountColour(shot, sel, s.activefontcolor), 0);
    EXPECT_EQ(CountColour(shot, sel, s.focusfontcolor), 0);
    EXPECT_GT(CountColour(shot, other, s.fontcolor), 0);
    // With the focus the selected tab's caption takes the focus colour; the look stays.
    f.pc->SetFocus();
    ASSERT_TRUE(f.pc->Focused());
    shot = w->grab().toImage();
    ExpectTabEnds(shot, sel, pic, s.activetabrect, 5);
    EXPECT_GT(CountColour(shot, sel, s.focusfontcolor), 0);
    EXPECT_EQ(CountColour(shot, sel, s.activefontcolor), 0);
    // Under the mouse the other tab shows the hot look and colour.
    SendMouse(w, QEvent::MouseMove, Centre(other));
    shot = w->grab().toImage();
    ExpectTabEnds(shot, other, pic, s.mouseintabrect, 5);
    EXPECT_GT(CountColour(shot, other, s.mouseinfontcolor), 0);
    EXPECT_EQ(CountColour(shot, other, s.fontcolor), 0);
  }
}

TEST(SkinPageControlSkinned, PageFrameStripAndSheetFromTheSkin) {
  SkinFixture f("slate");
  f.ShowFocused(false);
  const TbsDataSkinTabControl& s = f.Section();
  const QImage pic = f.Picture();
  const QImage shot = f.pc->Handle()->grab().toImage();
  const TRect S = s.skinrect;
  const TRect F(0, 18, 369, 71);  // the display rectangle grown by the client margins
  // Corners copied unchanged.
  for (int y = 0; y < s.lefttoppoint.Y; ++y)
    for (int x = 0; x < s.lefttoppoint.X; ++x) {
      EXPECT_EQ(At(shot, F.Left + x, F.Top + y), At(pic, S.Left + x, S.Top + y));
      EXPECT_EQ(At(shot, F.Right - 1 - x, F.Bottom - 1 - y), At(pic, S.Right - 1 - x, S.Bottom - 1 - y));
    }
  // Edges tiled from their segments: top and bottom rows, left and right columns.
  const int segH = s.righttoppoint.X - s.lefttoppoint.X, segV = s.leftbottompoint.Y - s.lefttoppoint.Y;
  const int dx = F.Width() - S.Width();
  for (int x = F.Left + s.lefttoppoint.X; x < F.Left + s.righttoppoint.X + dx; ++x)
    for (int y = 0; y < 3; ++y) {
      const int sx = S.Left + s.lefttoppoint.X + (x - F.Left - s.lefttoppoint.X) % segH;
      ASSERT_EQ(At(shot, x, F.Top + y), At(pic, sx, S.Top + y)) << x << "," << y;
      ASSERT_EQ(At(shot, x, F.Bottom - 1 - y), At(pic, sx, S.Bottom - 1 - y)) << x << "," << y;
    }
  for (int y = F.Top + s.lefttoppoint.Y; y < F.Bottom - (S.Height() - s.leftbottompoint.Y); ++y)
    for (int x = 0; x < 3; ++x) {
      const int sy = S.Top + s.lefttoppoint.Y + (y - F.Top - s.lefttoppoint.Y) % segV;
      ASSERT_EQ(At(shot, F.Left + x, y), At(pic, S.Left + x, sy)) << x << "," << y;
      ASSERT_EQ(At(shot, F.Right - 1 - x, y), At(pic, S.Right - 1 - x, sy)) << x << "," << y;
    }
  // The strip texture right of the tabs.
  const TRect bg = s.tabsbgrect;
  for (int x = f.pc->ItemRect(1).Right; x < 369; x += 7)
    for (int y = 0; y < 18; y += 5)
      ASSERT_EQ(At(shot, x, y), At(pic, bg.Left + x % bg.Width(), bg.Top + y % bg.Height())) << x << "," << y;
  // The sheet tiles the inside of the frame.
  const QImage sheet = f.numbers->Handle()->grab().toImage();
  const TRect inner(S.Left + s.clientrect.Left, S.Top + s.clientrect.Top, S.Left + s.clientrect.Right,
                    S.Top + s.clientrect.Bottom);
  ASSERT_EQ(sheet.width(), 363);
  for (int x = 0; x < sheet.width(); x += 11)
    for (int y = 0; y < sheet.height(); y += 3)
      ASSERT_EQ(At(sheet, x, y), At(pic, inner.Left + x % inner.Width(), inner.Top + y % inner.Height()))
          << x << "," << y;
  // A background picture, when the section names one, is tiled over the sheet instead.
  f.Section().bgpictureindex = 0;
  const QImage tile = f.data->ActivePicture(0)->Image();
  const QImage withPicture = f.numbers->Handle()->grab().toImage();
  for (int x = 0; x < withPicture.width(); x += 13)
    for (int y = 0; y < withPicture.height(); y += 4)
      ASSERT_EQ(At(withPicture, x, y), At(tile, x % tile.width(), y % tile.height())) << x << "," << y;
}

TEST(SkinPageControlSkinned, HoveringRedrawsOnlyTheChangedTabs) {
  SkinFixture f("slate");
  f.ShowFocused(false);
  QWidget* w = f.pc->Handle();
  PaintSpy spy(w);
  const TRect sel = f.pc->ItemRect(0), other = f.pc->ItemRect(1);
  const QRect otherArea(other.Left, other.Top, other.Width(), other.Height());
  SendMouse(w, QEvent::MouseMove, Centre(other));
  Settle();
  EXPECT_EQ(f.pc->HotTab(), 1);
  EXPECT_EQ(spy.painted, QRegion(otherArea));
  // Onto the selected tab: the other tab goes back to normal, the selected one stays.
  spy.painted = QRegion();
  SendMouse(w, QEvent::MouseMove, Centre(sel));
  Settle();
  EXPECT_EQ(f.pc->HotTab(), 0);
  EXPECT_EQ(spy.painted, QRegion(otherArea));
  ExpectTabEnds(w->grab().toImage(), other, f.Picture(), f.Section().tabrect, 5);
  // Moving about on the selected tab paints nothing.
  spy.paints = 0;
  SendMouse(w, QEvent::MouseMove, Centre(sel) + QPoint(3, 1));
  Settle();
  EXPECT_EQ(spy.paints, 0);
}

TEST(SkinPageControlSkinned, HiddenPagesAreSkippedWithTheSkin) {
  SkinFixture f("slate");
  auto* third = new TbsSkinTabSheet(&f.form);
  third->SetPageControl(f.pc);
  third->SetCaption(QStringLiteral("Third"));
  f.dates->SetTabVisible(false);
  f.ShowFocused(false);
  QWidget* w = f.pc->Handle();
  const TRect second = f.pc->ItemRect(1);
  EXPECT_EQ(second.Left, f.pc->ItemRect(0).Right);
  EXPECT_TRUE(f.pc->ItemRect(2).Width() < 1 || f.pc->ItemRect(2).Height() < 1);
  ExpectTabEnds(w->grab().toImage(), second, f.Picture(), f.Section().tabrect, 5);
  SendMouse(w, QEvent::MouseMove, Centre(second));
  EXPECT_EQ(f.pc->HotTab(), 1);
  EXPECT_EQ(f.pc->HotPage(), 2);
}

TEST(SkinPageControlSkinned, ScrollerComesWhenTheTabsDoNotFitAndGoesWhenTheyDo) {
  SkinFixture f("slate");
  f.ShowFocused(false);
  EXPECT_EQ(f.pc->TabScroller(), nullptr);
  f.pc->SetBounds(1, 1, 100, 71);
  TbsSkinUpDown* scroller = f.pc->TabScroller();
  ASSERT_NE(scroller, nullptr);
  // The "hupdown" section of the skin gives it its size; it sits at the strip's right end.
  EXPECT_EQ(scroller->SectionIndex(), f.data->FindControlIndex(QStringLiteral("hupdown")));
  EXPECT_EQ(scroller->BoundsRect(), TRect(100 - 36, 0, 100, 18));
  EXPECT_EQ(scroller->Max(), 1);
  EXPECT_EQ(scroller->Position(), 0);
  // The up button scrolls the first tab off to the left.
  QWidget* sw = scroller->Handle();
  const TRect up = scroller->ArrowButton(0).R;
  SendMouse(sw, QEvent::MouseMove, Centre(up));
  SendMouse(sw, QEvent::MouseButtonPress, Centre(up));
  SendMouse(sw, QEvent::MouseButtonRelease, Centre(up));
  EXPECT_EQ(scroller->Position(), 1);
  EXPECT_EQ(f.pc->FirstTab(), 1);
  EXPECT_LE(f.pc->ItemRect(0).Right, 0);
  EXPECT_EQ(f.pc->ItemRect(1).Left, 0);
  // Wide again: every tab shows and the scroller is gone.
  f.pc->SetBounds(1, 1, 369, 71);
  EXPECT_EQ(f.pc->TabScroller(), nullptr);
  EXPECT_EQ(f.pc->FirstTab(), 0);
  // Applying a skin rebuilds an existing scroller; one whose section names no up-down
  // draws without a skin at the plain size.
  f.pc->SetBounds(1, 1, 100, 71);
  ASSERT_NE(f.pc->TabScroller(), nullptr);
  f.Section().updown.clear();
  f.pc->ApplySkinData();
  ASSERT_NE(f.pc->TabScroller(), nullptr);
  EXPECT_EQ(f.pc->TabScroller()->SectionIndex(), -1);
  EXPECT_EQ(f.pc->TabScroller()->BoundsRect(), TRect(100 - 40, 0, 100, 20));
}

TEST(SkinPageControlSkinned, SideTabsAreTurnedOutwards) {
  SkinFixture f("slate");
  f.pc->SetTabPosition(TTabPosition::tpLeft);
  f.ShowFocused(false);
  const TbsDataSkinTabControl& s = f.Section();
  const QImage pic = f.Picture();
  const QImage shot = f.pc->Handle()->grab().toImage();
  const TRect r = f.pc->ItemRect(0);
  ASSERT_EQ(r.Width(), 18);
  // Turned counter-clockwise: the look's top row is the tab's left column, and its left end
  // lies at the bottom, so the caption reads upwards.
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 18; ++j)
      ASSERT_EQ(At(shot, r.Left + j, r.Bottom - 1 - i), At(pic, s.activetabrect.Left + i, s.activetabrect.Top + j))
          << i << "," << j;
}

TEST(SkinPageControlSkinned, AbsurdSectionGeometryPaintsWithoutFailing) {
  SkinFixture f("slate");
  TbsDataSkinTabControl& s = f.Section();
  const TRect active = s.activetabrect;
  s.righttoppoint = TPoint(INT32_MAX, 4);
  s.rightbottompoint = TPoint(INT32_MIN, INT32_MAX);
  s.leftbottompoint = TPoint(-40000, 90000);
  s.clientrect = TRect(INT32_MIN, -5, INT32_MAX, 3);
  s.mouseintabrect = TRect(-100, -100, 100000, 100000);
  s.tabsbgrect = TRect(0, 0, 70000, 5);
  s.tableftoffset = INT32_MAX;
  f.ShowFocused(false);
  QWidget* w = f.pc->Handle();
  SendMouse(w, QEvent::MouseMove, Centre(f.pc->ItemRect(1)));
  const QImage shot = w->grab().toImage();
  EXPECT_EQ(shot.size(), QSize(369, 71));
  // The selected tab's look is untouched and still drawn from the skin (its right end).
  const TRect sel = f.pc->ItemRect(0);
  EXPECT_EQ(At(shot, sel.Right - 2, sel.Top + 2), At(f.Picture(), active.Right - 2, active.Top + 2));
  EXPECT_FALSE(f.pc->Pages(0)->Handle()->grab().isNull());
}

}  // namespace

namespace {

// A section of another kind under the page control's name gives the plain look and keeps no
// picture: after the skin data loads another skin (the old pictures freed), painting the page
// control and its sheets reads nothing of the old skin.
TEST(SkinPageControlSkinned, ASectionOfAnotherKindLeavesNoPictureOfAnOlderSkin) {
  SkinFixture f("daylight");
  ASSERT_NE(f.pc->SkinPicture(), nullptr);
  f.pc->SetSkinDataName(QStringLiteral("panel"));  // a panel section, not a tab control
  f.pc->ApplySkinData();
  EXPECT_EQ(f.pc->SectionIndex(), -1);
  EXPECT_EQ(f.pc->SkinPicture(), nullptr);
  f.form.Show();
  Settle();
  auto* stored = new TbsStoredSkin(&f.form);
  stored->LoadFromSkinFile(SkinIni("slate"));
  f.data->SetStoredSkin(stored);
  f.pc->ApplySkinData();
  EXPECT_EQ(f.pc->SkinPicture(), nullptr);
  const QImage shot = f.pc->Handle()->grab().toImage();
  const QImage sheet = f.numbers->Handle()->grab().toImage();
  EXPECT_FALSE(shot.isNull());
  EXPECT_FALSE(sheet.isNull());
  // Back under its own name the page control takes the new skin's tab picture.
  f.pc->SetSkinDataName(QStringLiteral("tab"));
  f.pc->ApplySkinData();
  EXPECT_NE(f.pc->SectionIndex(), -1);
  EXPECT_NE(f.pc->SkinPicture(), nullptr);
}

}  // namespace

namespace {
// Bounding box of the pixels of exactly `color` inside `area` of `shot`; empty when none.
TRect ColourBox(const QImage& shot, const TRect& area, int32_t color) {
  TRect box(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
  for (int y = area.Top; y < area.Bottom; ++y)
    for (int x = area.Left; x < area.Right; ++x)
      if (At(shot, x, y) == color) {
        box.Left = std::min(box.Left, x);
        box.Top = std::min(box.Top, y);
        box.Right = std::max(box.Right, x + 1);
        box.Bottom = std::max(box.Bottom, y + 1);
      }
  return box.Left > box.Right ? TRect() : box;
}

void CheckTabImages(Fixture& f, const std::function<void()>& show) {
  const int plainWidth = f.pc->ItemRect(0).Width();
  auto* images = new TImageList(&f.form);
  images->SetSize(12, 10);
  QImage red(12, 10, QImage::Format_ARGB32_Premultiplied);
  red.fill(QColor(255, 0, 0));
  images->Add(red);  // one image for two pages
  f.numbers->SetImageIndex(-1);  // the skinned tabs take the page's position, not its index
  f.pc->SetImages(images);
  show();
  // The tab grows by the image and its gap.
  const TRect tab0 = f.pc->ItemRect(0), tab1 = f.pc->ItemRect(1);
  EXPECT_EQ(tab0.Width(), plainWidth + 12 + 3);
  const int32_t kRed = RGBColor(255, 0, 0);
  QImage shot = f.pc->Handle()->grab().toImage();
  const TRect box = ColourBox(shot, tab0, kRed);
  ASSERT_EQ(box.Width(), 12) << "no image on the first tab";
  EXPECT_EQ(box.Height(), 10);
  EXPECT_EQ(box.Top - tab0.Top, tab0.Height() / 2 - 10 / 2);
  // Image and caption centred together: the image starts left of the tab's middle by half of
  // both, and the caption's pixels lie right of the image.
  EXPECT_LT(box.Left, tab0.Left + tab0.Width() / 2 - 12);
  EXPECT_GT(box.Left, tab0.Left);
  // The second page is beyond the list: its caption alone.
  EXPECT_TRUE(RectIsEmpty(ColourBox(shot, tab1, kRed)));
  // A disabled page shows its image greyed.
  f.numbers->SetEnabled(false);
  Settle();
  shot = f.pc->Handle()->grab().toImage();
  EXPECT_TRUE(RectIsEmpty(ColourBox(shot, tab0, kRed)));
  f.numbers->SetEnabled(true);
  // The list going away leaves the tabs without images.
  delete images;
  EXPECT_EQ(f.pc->Images(), nullptr);
  Settle();
  shot = f.pc->Handle()->grab().toImage();
  EXPECT_TRUE(RectIsEmpty(ColourBox(shot, f.pc->ItemRect(0), kRed)));
  EXPECT_EQ(f.pc->ItemRect(0).Width(), plainWidth);
}
}  // namespace

TEST(SkinPageControlSkinned, TabsShowTheImagesOfTheirPositions) {
  SkinFixture f("slate");
  CheckTabImages(f, [&] { f.ShowFocused(false); });
}

TEST(SkinPageControl, PlainTabsShowImagesToo) {
  Fixture f;
  CheckTabImages(f, [&] {
    f.form.Show();
    Settle();
  });
}
