// The skinned panel on real offscreen widgets: child area by border and caption, rolling up
// and down, checked mode, the caption click and the plain look on screen.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "platform/Colors.h"
#include "platform/Forms.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "support/WidgetTest.h"
#include "tests/TestUtil.h"

namespace {

struct Fixture {
  TForm form{nullptr};
  TbsSkinPanel* panel;
  TCustomControl* child;
  Fixture() {
    form.SetBounds(0, 0, 400, 300);
    panel = new TbsSkinPanel(&form);
    panel->SetParent(&form);
    panel->SetBounds(10, 10, 200, 100);
    child = new TCustomControl(&form);
    child->SetParent(panel);
    child->SetAlign(TAlign::alClient);
  }
};

TEST(SkinPanel, DefaultsAsCreated) {
  TForm form(nullptr);
  TbsSkinPanel p(&form);
  EXPECT_EQ(p.Width(), 185);
  EXPECT_EQ(p.Height(), 41);
  EXPECT_EQ(p.SkinDataName(), QStringLiteral("panel"));
  EXPECT_EQ(p.BorderStyle(), bvRaised);
  EXPECT_EQ(p.DefaultCaptionHeight(), 22);
  EXPECT_EQ(p.NumGlyphs(), 1);
  EXPECT_EQ(p.Spacing(), 2);
  EXPECT_TRUE(p.AutoEnabledControls());
  EXPECT_EQ(p.SavedHeight(), -1);
}

TEST(SkinPanel, ChildrenAlignInsideTheBorderAndCaption) {
  Fixture f;
  EXPECT_EQ(f.child->BoundsRect(), TRect(1, 1, 199, 99));
  f.panel->SetBorderStyle(bvNone);
  EXPECT_EQ(f.child->BoundsRect(), TRect(0, 0, 200, 100));
  f.panel->SetBorderStyle(bvLowered);
  f.panel->SetCaptionMode(true);
  EXPECT_EQ(f.child->BoundsRect(), TRect(1, 23, 199, 99));
  f.panel->SetDefaultCaptionHeight(30);
  EXPECT_EQ(f.child->BoundsRect(), TRect(1, 31, 199, 99));
}

TEST(SkinPanel, RollsUpToItsCaptionAndBack) {
  Fixture f;
  auto* hidden = new TCustomControl(&f.form);
  hidden->SetParent(f.panel);
  hidden->SetVisible(false);
  f.panel->SetCaptionMode(true);

  // Without roll-up mode the state stays false.
  f.panel->SetRollUpState(true);
  EXPECT_FALSE(f.panel->RollUpState());
  EXPECT_EQ(f.panel->Height(), 100);

  f.panel->SetRollUpMode(true);
  f.panel->SetRollUpState(true);
  EXPECT_TRUE(f.panel->RollUpState());
  EXPECT_EQ(f.panel->Height(), 23);
  EXPECT_EQ(f.panel->SavedHeight(), 100);
  EXPECT_FALSE(f.child->Visible());
  f.panel->SetRollUpState(false);
  EXPECT_EQ(f.panel->Height(), 100);
  EXPECT_TRUE(f.child->Visible());
  EXPECT_FALSE(hidden->Visible());  // only what was visible comes back

  // A click on the caption strip toggles it too.
  f.form.Show();
  SendMouse(f.panel->Handle(), QEvent::MouseButtonPress, QPoint(50, 10));
  SendMouse(f.panel->Handle(), QEvent::MouseButtonRelease, QPoint(50, 10));
  EXPECT_TRUE(f.panel->RollUpState());
  EXPECT_EQ(f.panel->Height(), 23);
  SendMouse(f.panel->Handle(), QEvent::MouseButtonPress, QPoint(50, 10));
  SendMouse(f.panel->Handle(), QEvent::MouseButtonRelease, QPoint(50, 10));
  EXPECT_FALSE(f.panel->RollUpState());
  EXPECT_EQ(f.panel->Height(), 100);
}

TEST(SkinPanel, CheckedModeFiresAlwaysAndEnablesChildren) {
  Fixture f;
  int fired = 0;
  f.panel->OnChecked = [&](TComponent*) { ++fired; };
  f.panel->SetChecked(false);
  EXPECT_EQ(fired, 1);              // also when the value does not change
  EXPECT_TRUE(f.child->Enabled());  // not in checked mode: children untouched
  f.panel->SetCheckedMode(true);
  f.panel->SetChecked(false);
  EXPECT_FALSE(f.child->Enabled());
  f.panel->SetChecked(true);
  EXPECT_TRUE(f.child->Enabled());
  EXPECT_EQ(fired, 3);
  f.panel->SetAutoEnabledControls(false);
  f.panel->SetChecked(false);
  EXPECT_TRUE(f.child->Enabled());

  // A caption click toggles Checked only in caption mode, and only on the strip.
  f.panel->SetCaptionMode(true);
  f.form.Show();
  SendMouse(f.panel->Handle(), QEvent::MouseButtonPress, QPoint(50, 80));
  SendMouse(f.panel->Handle(), QEvent::MouseButtonRelease, QPoint(50, 80));
  EXPECT_FALSE(f.panel->Checked());
  SendMouse(f.panel->Handle(), QEvent::MouseButtonPress, QPoint(50, 10));
  SendMouse(f.panel->Handle(), QEvent::MouseButtonRelease, QPoint(50, 10));
  EXPECT_TRUE(f.panel->Checked());
}

TEST(SkinPanel, PlainLookOnScreen) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 200);
  auto* panel = new TbsSkinPanel(&form);
  panel->SetParent(&form);
  panel->SetAlign(TAlign::alTop);
  panel->SetHeight(73);
  form.Show();
  QWidget* w = panel->Handle();
  EXPECT_EQ(panel->Width(), form.ClientWidth());
  EXPECT_EQ(Pixel(w, 0, 0), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(Pixel(w, panel->Width() - 1, 72), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(w, 5, 5), ColorToRGB(clBtnFace));
  // Resizing repaints the border at the new edge.
  panel->SetHeight(40);
  EXPECT_EQ(Pixel(w, 5, 39), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(w, 5, 38), ColorToRGB(clBtnFace));
}

}  // namespace

namespace {

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

// With a skin, moving a panel keeps its image and shape; only a new size repaints it at once.
TEST(SkinPanel, SkinnedPanelRepaintsAtOnceOnlyWhenItsSizeChanges) {
  Fixture f;
  auto* data = new TbsSkinData(&f.form);
  {
    TbsStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/daylight/SKIN.INI"));
    data->LoadFromStoredSkin(stored);
  }
  f.panel->SetSkinData(data);
  ASSERT_NE(f.panel->SectionIndex(), -1);
  f.form.Show();
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
  PaintCounter counter(f.panel->Handle());
  f.panel->SetBounds(30, 40, 200, 100);  // a move
  EXPECT_EQ(counter.paints, 0);
  EXPECT_EQ(f.panel->BoundsRect(), TRect(30, 40, 230, 140));
  f.panel->SetBounds(30, 40, 260, 120);  // a new size
  EXPECT_GE(counter.paints, 1);
  EXPECT_EQ(f.panel->Width(), 260);
}

}  // namespace
