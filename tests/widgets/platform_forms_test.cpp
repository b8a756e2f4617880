// Forms on real (offscreen) Qt windows: the maximised state against the screen's work area,
// Enter and Escape offered to the form before the focused control gets them, and the focus
// changes every control hears about.
#include <gtest/gtest.h>

#include <QScreen>
#include <QTest>
#include <QWidget>

#include "platform/Edit.h"
#include "platform/Forms.h"
#include "support/WidgetTest.h"
#include "tests/TestUtil.h"

namespace {
// A control that takes Enter as a dialog key and records what it hears.
class DialogProbe : public TCustomControl {
 public:
  explicit DialogProbe(TComponent* owner) : TCustomControl(owner) {}
  std::vector<std::pair<intptr_t, intptr_t>> dialogKeys;  // key, shift keys
  std::vector<TWinControl*> focusNotices;
  bool takesEscape = false;
  void WndProc(TMessage& m) override {
    if (m.Msg == CM_DIALOGKEY) {
      dialogKeys.emplace_back(m.WParam, m.LParam);
      if (m.WParam == VK_RETURN || (m.WParam == VK_ESCAPE && takesEscape)) {
        m.Result = 1;
        return;
      }
    }
    if (m.Msg == CM_FOCUSCHANGED) focusNotices.push_back(reinterpret_cast<TWinControl*>(m.LParam));
    TCustomControl::WndProc(m);
  }
};

// An edit that handles every key itself, as a multi-line editor would.
class GreedyEdit : public TEdit {
 public:
  explicit GreedyEdit(TComponent* owner) : TEdit(owner) {}
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_GETDLGCODE) {
      m.Result = DLGC_WANTALLKEYS;
      return;
    }
    TEdit::WndProc(m);
  }
};

}  // namespace

TEST(PlatformForms, MaximisedFormCoversTheWorkAreaAndRestoresToItsDesignPlace) {
  TForm form(nullptr);
  form.SetPlatformFrame(false);  // as a skinned frame has it: the whole window is the form's
  form.SetPosition(TPosition::poDesktopCenter);
  form.SetClientWidth(813);
  form.SetClientHeight(541);
  form.SetWindowState(TWindowState::wsMaximized);
  form.Show();
  QApplication::processEvents();
  QWidget* w = form.Handle();
  const QRect area = w->screen()->availableGeometry();
  ASSERT_FALSE(area.isEmpty());
  EXPECT_EQ(w->geometry(), area);
  EXPECT_EQ(ToQRect(form.BoundsRect()), area);
  EXPECT_EQ(form.ClientWidth(), area.width());
  EXPECT_EQ(form.ClientHeight(), area.height());
  EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);

  // Restoring goes back to the centred design size.
  const QRect desk = w->screen()->virtualGeometry();
  const TRect designed = Bounds(desk.left() + (desk.width() - 813) / 2, desk.top() + (desk.height() - 541) / 2, 813, 541);
  EXPECT_EQ(form.RestoreBounds(), designed);
  form.SetWindowState(TWindowState::wsNormal);
  QApplication::processEvents();
  EXPECT_EQ(form.WindowState(), TWindowState::wsNormal);
  EXPECT_EQ(w->geometry(), ToQRect(designed));
  EXPECT_EQ(form.BoundsRect(), designed);
  EXPECT_EQ(form.ClientWidth(), 813);
  EXPECT_EQ(form.ClientHeight(), 541);

  // Maximised again from code and restored: the same two places.
  form.SetWindowState(TWindowState::wsMaximized);
  QApplication::processEvents();
  EXPECT_EQ(w->geometry(), area);
  EXPECT_EQ(form.RestoreBounds(), designed);
  form.SetWindowState(TWindowState::wsNormal);
  QApplication::processEvents();
  EXPECT_EQ(w->geometry(), ToQRect(designed));
}

TEST(PlatformForms, MaximisedFormWithThePlatformFrameCoversTheWorkArea) {
  TForm form(nullptr);
  form.SetClientWidth(400);
  form.SetClientHeight(300);
  form.SetWindowState(TWindowState::wsMaximized);
  form.Show();
  QApplication::processEvents();
  QWidget* w = form.Handle();
  EXPECT_EQ(w->frameGeometry(), w->screen()->availableGeometry());
  EXPECT_EQ(form.WindowState(), TWindowState::wsMaximized);
}

TEST(PlatformForms, EnterAndEscapeAreOfferedToTheFormBeforeTheFocusedControl) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 120);
  auto* probe = new DialogProbe(&form);
  probe->SetParent(&form);
  probe->SetBounds(200, 10, 50, 50);
  auto* edit = new TEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 100, 21);
  auto* greedy = new GreedyEdit(&form);
  greedy->SetParent(&form);
  greedy->SetBounds(10, 40, 100, 21);
  std::vector<uint16_t> editKeys;
  edit->OnKeyDown = [&](TComponent*, uint16_t& key, TShiftState) { editKeys.push_back(key); };
  std::vector<intptr_t> childKeys;
  TWndMethod old = form.WindowProc;
  form.WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_CHILDKEY) childKeys.push_back(m.WParam);
    old(m);
  };
  ShowActive(form);
  edit->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(edit->Focused());

  // Enter: the probe takes it as a dialog key; the edit never sees it.
  QTest::keyClick(edit->Handle(), Qt::Key_Return);
  ASSERT_EQ(probe->dialogKeys.size(), 1u);
  EXPECT_EQ(probe->dialogKeys[0], std::make_pair(intptr_t{VK_RETURN}, intptr_t{0}));
  EXPECT_TRUE(editKeys.empty());
  // Escape with Shift (pressed first, as a key of its own): offered with its shift key;
  // nobody takes it, so the edit gets it.
  QTest::keyClick(edit->Handle(), Qt::Key_Escape, Qt::ShiftModifier);
  ASSERT_EQ(probe->dialogKeys.size(), 2u);
  EXPECT_EQ(probe->dialogKeys[1], std::make_pair(intptr_t{VK_ESCAPE}, intptr_t{MK_SHIFT}));
  EXPECT_EQ(editKeys, (std::vector<uint16_t>{VK_SHIFT, VK_ESCAPE}));
  // Other keys are no dialog keys; the form's key preview still sees every key first.
  QTest::keyClick(edit->Handle(), Qt::Key_A);
  EXPECT_EQ(probe->dialogKeys.size(), 2u);
  EXPECT_EQ(edit->Text(), QStringLiteral("a"));
  EXPECT_EQ(childKeys, (std::vector<intptr_t>{VK_RETURN, VK_SHIFT, VK_ESCAPE, 'A'}));

  // A control that wants Enter itself keeps it from the form.
  greedy->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(greedy->Focused());
  QTest::keyClick(greedy->Handle(), Qt::Key_Return);
  EXPECT_EQ(probe->dialogKeys.size(), 2u);
}

TEST(PlatformForms, EveryControlHearsWhichControlTookTheFocus) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 120);
  auto* panel = new TCustomControl(&form);
  panel->SetParent(&form);
  panel->SetBounds(150, 0, 150, 120);
  auto* nested = new DialogProbe(&form);  // inside the panel: hears it through its parent
  nested->SetParent(panel);
  nested->SetBounds(10, 10, 50, 50);
  auto* first = new TEdit(&form);
  first->SetParent(&form);
  first->SetBounds(10, 10, 100, 21);
  auto* second = new TEdit(&form);
  second->SetParent(&form);
  second->SetBounds(10, 40, 100, 21);
  ShowActive(form);
  first->SetFocus();
  QApplication::processEvents();
  second->SetFocus();
  QApplication::processEvents();
  // Focus on the same control again (the window comes back) tells nobody.
  second->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(second->Focused());
  EXPECT_EQ(nested->focusNotices, (std::vector<TWinControl*>{first, second}));
  EXPECT_EQ(form.FocusedControl(), second);
  EXPECT_EQ(form.ActiveControl(), second);
  // A focused control that goes is forgotten.
  delete second;
  EXPECT_EQ(form.FocusedControl(), nullptr);
}
