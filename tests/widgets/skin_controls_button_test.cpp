// The skinned button on real offscreen widgets: defaults, clicks by mouse and keys, groups,
// repeat, the default and cancel roles, its plain look on screen and its accessibility.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

#include "platform/Colors.h"
#include "platform/Edit.h"
#include "platform/Forms.h"
#include "platform/Streaming.h"
#include "skin/controls/SkinControlsRegistry.h"
#include "skin/controls/bsSkinButton.h"
#include "support/WidgetTest.h"
#include "tests/TestUtil.h"

namespace {

void Click(TbsSkinButton* b, QPoint p = QPoint(10, 10)) { ClickAt(b->Handle(), p); }

struct Fixture {
  TForm form{nullptr};
  Fixture() { form.SetBounds(0, 0, 300, 120); }
  void Show() { ShowActive(form); }
  TbsSkinButton* Button(int left, const QString& caption, int* clicks) {
    auto* b = new TbsSkinButton(&form);
    b->SetParent(&form);
    b->SetBounds(left, 10, 75, 25);
    b->SetCaption(caption);
    if (clicks) b->OnClick = [clicks](TComponent*) { ++*clicks; };
    return b;
  }
  TEdit* Edit() {
    auto* e = new TEdit(&form);
    e->SetParent(&form);
    e->SetBounds(10, 60, 100, 21);
    return e;
  }
};

TEST(SkinButton, DefaultsAsCreated) {
  TForm form(nullptr);
  TbsSkinButton b(&form);
  EXPECT_EQ(b.Width(), 75);
  EXPECT_EQ(b.Height(), 25);
  EXPECT_EQ(b.SkinDataName(), QStringLiteral("button"));
  EXPECT_TRUE(b.TabStop());
  EXPECT_TRUE(b.CanFocused());
  EXPECT_EQ(b.NumGlyphs(), 2);
  EXPECT_EQ(b.Spacing(), 1);
  EXPECT_EQ(b.Margin(), -1);
  EXPECT_EQ(b.RepeatInterval(), 100);
  EXPECT_EQ(b.SectionIndex(), -1);
  EXPECT_EQ(b.DefaultFont().Name, QStringLiteral("Arial"));
  EXPECT_EQ(b.DefaultFont().Height, 14);
  // Margin below -1 is refused; a non-zero group makes it unfocusable.
  b.SetMargin(-5);
  EXPECT_EQ(b.Margin(), -1);
  b.SetGroupIndex(2);
  EXPECT_FALSE(b.CanFocused());
}

TEST(SkinButton, ClicksOnReleaseInsideOnly) {
  Fixture f;
  int clicks = 0;
  TbsSkinButton* b = f.Button(10, QStringLiteral("Query"), &clicks);
  f.Show();
  SendMouse(b->Handle(), QEvent::MouseButtonPress, QPoint(10, 10));
  EXPECT_EQ(clicks, 0);
  EXPECT_TRUE(b->Down());
  SendMouse(b->Handle(), QEvent::MouseButtonRelease, QPoint(10, 10));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down());

  // Pressed, dragged outside and released there: no click, not down.
  SendMouse(b->Handle(), QEvent::MouseButtonPress, QPoint(10, 10));
  DragTo(b->Handle(), QPoint(150, 10));
  EXPECT_FALSE(b->Hot());
  SendMouse(b->Handle(), QEvent::MouseButtonRelease, QPoint(150, 10));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(b->Down());
  EXPECT_FALSE(b->MousePressed());

  // A disabled button ignores the mouse (the platform gives it no input).
  b->SetEnabled(false);
  Click(b);
  EXPECT_EQ(clicks, 1);
}

TEST(SkinButton, SpaceAndEnterKeys) {
  Fixture f;
  int clicks = 0;
  TbsSkinButton* b = f.Button(10, QStringLiteral("Query"), &clicks);
  b->Perform(WM_KEYDOWN, VK_SPACE);
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(clicks, 0);
  b->Perform(WM_KEYUP, VK_SPACE);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(clicks, 1);
  b->Perform(WM_KEYDOWN, VK_RETURN);
  EXPECT_EQ(clicks, 2);
  // With CanFocused off the keyboard filter is off.
  b->SetCanFocused(false);
  b->Perform(WM_KEYDOWN, VK_RETURN);
  b->Perform(WM_KEYDOWN, VK_SPACE);
  b->Perform(WM_KEYUP, VK_SPACE);
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(b->Down());
}

TEST(SkinButton, GroupsLatchLikeRadioButtons) {
  Fixture f;
  int clicks = 0;
  TbsSkinButton* a = f.Button(0, QStringLiteral("A"), &clicks);
  TbsSkinButton* b = f.Button(80, QStringLiteral("B"), &clicks);
  TbsSkinButton* c = f.Button(160, QStringLiteral("C"), &clicks);
  for (TbsSkinButton* x : {a, b, c}) x->SetGroupIndex(1);
  f.Show();
  Click(a);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(clicks, 1);  // a grouped button clicks on the press
  Click(b);
  EXPECT_FALSE(a->Down());
  EXPECT_TRUE(b->Down());
  Click(b);  // clicking the down one again keeps it down without a click
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(clicks, 2);
  EXPECT_FALSE(c->Down());

  // AllowAllUp: a down button is released by clicking it; pressing another keeps it down.
  for (TbsSkinButton* x : {a, b, c}) x->SetAllowAllUp(true);
  Click(b);
  EXPECT_FALSE(b->Down());
  EXPECT_EQ(clicks, 3);
  Click(a);
  Click(c);
  EXPECT_TRUE(a->Down());
  EXPECT_TRUE(c->Down());
}

TEST(SkinButton, RepeatModeClicksWhileHeld) {
  Fixture f;
  int clicks = 0;
  TbsSkinButton* b = f.Button(10, QStringLiteral("+"), &clicks);
  b->SetRepeatMode(true);
  f.Show();
  SendMouse(b->Handle(), QEvent::MouseButtonPress, QPoint(10, 10));
  EXPECT_TRUE(b->Repeating());
  EXPECT_EQ(clicks, 0);
  // Held: one click per RepeatInterval, the first one interval after the press. (Only a lower
  // bound on the time: a loaded machine may deliver the ticks late, never much early; Qt's
  // coarse timers may fire up to 5% early.)
  QElapsedTimer t;
  t.start();
  while (clicks < 3 && t.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 10);
  ASSERT_EQ(clicks, 3);
  EXPECT_GE(t.elapsed(), 3 * 95 - 5);
  SendMouse(b->Handle(), QEvent::MouseButtonRelease, QPoint(10, 10));
  EXPECT_EQ(clicks, 4);
  EXPECT_FALSE(b->Repeating());
  // Leaving while held stops the repeat; coming back starts it again.
  SendMouse(b->Handle(), QEvent::MouseButtonPress, QPoint(10, 10));
  DragTo(b->Handle(), QPoint(200, 10));
  EXPECT_FALSE(b->Repeating());
  DragTo(b->Handle(), QPoint(10, 10));
  EXPECT_TRUE(b->Repeating());
  SendMouse(b->Handle(), QEvent::MouseButtonRelease, QPoint(10, 10));
}

TEST(SkinButton, DefaultAndCancelRoles) {
  Fixture f;
  int okClicks = 0, cancelClicks = 0, otherClicks = 0;
  TbsSkinButton* ok = f.Button(0, QStringLiteral("OK"), &okClicks);
  TbsSkinButton* cancel = f.Button(80, QStringLiteral("Cancel"), &cancelClicks);
  TbsSkinButton* other = f.Button(160, QStringLiteral("Other"), &otherClicks);
  ok->SetDefault(true);
  cancel->SetCancel(true);
  EXPECT_TRUE(ok->ActsAsDefault());
  f.Show();

  // Focus on a control that is not a skinned button: the default button looks active.
  TCustomControl edit(&f.form);
  ok->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(static_cast<TWinControl*>(&edit)));
  EXPECT_TRUE(ok->Hot());
  EXPECT_EQ(ok->Perform(CM_DIALOGKEY, VK_RETURN), 1);
  EXPECT_EQ(okClicks, 1);
  // Another skinned button takes the focus: it acts as default now, the default button not.
  for (TbsSkinButton* x : {ok, cancel, other})
    x->Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<intptr_t>(static_cast<TWinControl*>(other)));
  EXPECT_FALSE(ok->Hot());
  EXPECT_FALSE(ok->ActsAsDefault());
  EXPECT_TRUE(other->ActsAsDefault());
  EXPECT_EQ(ok->Perform(CM_DIALOGKEY, VK_RETURN), 0);
  EXPECT_EQ(other->Perform(CM_DIALOGKEY, VK_RETURN), 1);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(otherClicks, 1);
  // Escape clicks the cancel button only.
  EXPECT_EQ(ok->Perform(CM_DIALOGKEY, VK_ESCAPE), 0);
  EXPECT_EQ(cancel->Perform(CM_DIALOGKEY, VK_ESCAPE), 1);
  EXPECT_EQ(cancelClicks, 1);
}

TEST(SkinButton, PlainLookOnScreenFollowsTheState) {
  Fixture f;
  TbsSkinButton* b = f.Button(10, QStringLiteral("Query"), nullptr);
  TbsSkinButton* other = f.Button(100, QStringLiteral("Other"), nullptr);
  b->SetCanFocused(false);  // the focus would give it the active look
  other->SetCanFocused(false);
  f.Show();
  QWidget* w = b->Handle();
  EXPECT_EQ(Pixel(w, 0, 0), ColorToRGB(clBtnShadow));
  EXPECT_EQ(Pixel(w, 3, 3), ColorToRGB(clBtnFace));
  b->Perform(CM_MOUSEENTER, 0, reinterpret_cast<intptr_t>(static_cast<TControl*>(b)));
  EXPECT_TRUE(b->Hot());
  EXPECT_EQ(Pixel(w, 0, 0), ColorToRGB(clNavy));
  EXPECT_EQ(Pixel(w, 3, 3), RGBColor(182, 189, 210));
  SendMouse(w, QEvent::MouseButtonPress, QPoint(10, 10));
  EXPECT_EQ(Pixel(w, 3, 3), RGBColor(133, 147, 181));
  SendMouse(w, QEvent::MouseButtonRelease, QPoint(10, 10));
  b->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<intptr_t>(static_cast<TControl*>(b)));
  EXPECT_FALSE(b->Hot());
  EXPECT_EQ(Pixel(w, 3, 3), ColorToRGB(clBtnFace));

  // A focused button that can take the focus shows the active look.
  b->SetCanFocused(true);
  b->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(b->Focused());
  EXPECT_EQ(Pixel(w, 0, 0), ColorToRGB(clNavy));
  EXPECT_EQ(Pixel(w, 3, 3), RGBColor(182, 189, 210));
  // Space held on the focused button: the pressed look.
  b->Perform(WM_KEYDOWN, VK_SPACE);
  EXPECT_EQ(Pixel(w, 3, 3), RGBColor(133, 147, 181));
  b->Perform(WM_KEYUP, VK_SPACE);
}

TEST(SkinButton, AccessibleAsPushButtonWithPressAction) {
  Fixture f;
  int clicks = 0;
  TbsSkinButton* b = f.Button(10, QStringLiteral("&Query"), &clicks);
  f.Show();
  QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(b->Handle());
  ASSERT_NE(iface, nullptr);
  EXPECT_EQ(iface->role(), QAccessible::Button);
  EXPECT_EQ(iface->text(QAccessible::Name), QStringLiteral("Query"));
  QAccessibleActionInterface* action = iface->actionInterface();
  ASSERT_NE(action, nullptr);
  ASSERT_TRUE(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
  action->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks, 1);
}

TEST(SkinButton, RealEnterAndEscapeReachTheDefaultAndCancelButtons) {
  Fixture f;
  int okClicks = 0, cancelClicks = 0, otherClicks = 0;
  TbsSkinButton* ok = f.Button(0, QStringLiteral("OK"), &okClicks);
  TbsSkinButton* cancel = f.Button(80, QStringLiteral("Cancel"), &cancelClicks);
  TbsSkinButton* other = f.Button(160, QStringLiteral("Other"), &otherClicks);
  ok->SetDefault(true);
  cancel->SetCancel(true);
  TEdit* edit = f.Edit();
  f.Show();
  edit->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(edit->Focused());
  // The focus rests on a control that is not a skinned button: the default button lights up.
  EXPECT_TRUE(ok->Hot());
  EXPECT_TRUE(ok->ActsAsDefault());
  EXPECT_FALSE(other->Hot());

  QTest::keyClick(edit->Handle(), Qt::Key_Return);
  EXPECT_EQ(okClicks, 1);
  QTest::keyClick(edit->Handle(), Qt::Key_Escape);
  EXPECT_EQ(cancelClicks, 1);
  // Escape with a shift key held is not the cancel key.
  QTest::keyClick(edit->Handle(), Qt::Key_Escape, Qt::ControlModifier);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(otherClicks, 0);

  // Another skinned button takes the focus: Enter clicks it, and the default button goes dark.
  other->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(other->Focused());
  EXPECT_FALSE(ok->Hot());
  EXPECT_FALSE(ok->ActsAsDefault());
  EXPECT_TRUE(other->ActsAsDefault());
  QTest::keyClick(other->Handle(), Qt::Key_Return);
  EXPECT_EQ(otherClicks, 1);
  EXPECT_EQ(okClicks, 1);

  // Back on the edit, the default button takes Enter again; disabled, it does not.
  edit->SetFocus();
  QApplication::processEvents();
  EXPECT_TRUE(ok->ActsAsDefault());
  EXPECT_FALSE(other->ActsAsDefault());
  EXPECT_TRUE(ok->Hot());
  ok->SetEnabled(false);
  QTest::keyClick(edit->Handle(), Qt::Key_Return);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(otherClicks, 1);
}

// The form's handler, bound in a stored definition, fires once per click whatever makes it.
TEST(SkinButton, OneClickEventPerClickByMouseAndKeyboard) {
  RegisterSkinControlClasses();
  TForm form(nullptr);
  std::vector<TComponent*> senders;
  form.RegisterMethod(QStringLiteral("OkClick"), [&](TComponent* s) { senders.push_back(s); });
  form.LoadDefinition(QStringLiteral(R"(object ClickForm: TForm
  Left = 0
  Top = 0
  ClientHeight = 120
  ClientWidth = 300
  object Ok: TbsSkinButton
    Left = 10
    Top = 10
    Width = 75
    Height = 25
    Caption = 'OK'
    Default = True
    OnClick = OkClick
  end
end
)"));
  auto* ok = dynamic_cast<TbsSkinButton*>(form.FindComponent(QStringLiteral("Ok")));
  ASSERT_NE(ok, nullptr);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 60, 100, 21);
  ShowActive(form);

  Click(ok);  // the press also gives it the focus
  EXPECT_EQ(senders.size(), 1u);
  ASSERT_TRUE(ok->Focused());
  QTest::keyClick(ok->Handle(), Qt::Key_Space);
  EXPECT_EQ(senders.size(), 2u);
  QTest::keyClick(ok->Handle(), Qt::Key_Return);
  EXPECT_EQ(senders.size(), 3u);
  edit->SetFocus();
  QApplication::processEvents();
  QTest::keyClick(edit->Handle(), Qt::Key_Return);
  EXPECT_EQ(senders.size(), 4u);
  ok->Click();
  EXPECT_EQ(senders.size(), 5u);
  EXPECT_EQ(senders, std::vector<TComponent*>(5, ok));
  // Stored once, under the one event.
  EXPECT_EQ(WriteComponentToText(&form).count(QStringLiteral("OnClick = OkClick")), 1);
}

}  // namespace
