// The application's hints for controls: the pause before a hint shows, the short pause when
// moving on while one shows, the hide pause, hiding on a mouse press, a key press and leaving
// the control, ParentShowHint, OnShowHint changing or refusing a hint, no Qt tool tip, the
// window below the cursor image, and a control freed while its hint waits.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QToolTip>
#include <QWidget>
#include <memory>

#include "platform/ApplicationHints.h"
#include "platform/Controls.h"
#include "platform/CursorImage.h"
#include "platform/Forms.h"
#include "platform/Label.h"
#include "tests/TestUtil.h"

namespace {

struct HintSite {
  HintSite() {
    hints.HintPause = 120;
    hints.HintHidePause = 400;
    hints.HintShortPause = 20;
    hints.OnShowHint.Clear();
    form->SetPlatformFrame(false);
    form->SetBounds(50, 60, 400, 300);
    form->SetShowHint(true);
    button = new TCustomControl(form.get());
    button->SetParent(form.get());
    button->SetBounds(10, 10, 100, 40);
    button->SetHint(QStringLiteral("Save the voucher|Writes the voucher back"));
    other = new TCustomControl(form.get());
    other->SetParent(form.get());
    other->SetBounds(150, 10, 100, 40);
    other->SetHint(QStringLiteral("Other"));
    form->Show();
  }
  ~HintSite() { hints.CancelHint(); }
  // The mouse moves to the client point of `c`.
  void MoveTo(TWinControl* c, int x, int y) {
    const TPoint g = c->ClientToScreen(TPoint(x, y));
    QMouseEvent e(QEvent::MouseMove, QPointF(x, y), QPointF(g.X, g.Y), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(c->ClientHandle(), &e);
  }
  bool WaitShown(int ms = 2000) { return QTest::qWaitFor([this] { return hints.HintShowing(); }, ms); }
  THintController& hints = Application->Hints();
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TCustomControl* button;
  TCustomControl* other;
};

TEST(PlatformHints, PauseShowBelowCursorAndHidePause) {
  HintSite s;
  ASSERT_TRUE(s.hints.ShowHint());
  ASSERT_NE(s.hints.Window(), nullptr);
  s.MoveTo(s.button, 20, 15);
  EXPECT_EQ(s.hints.HintControl(), s.button);
  EXPECT_FALSE(s.hints.HintShowing()) << "a hint shows only after the pause";
  QTest::qWait(40);
  EXPECT_FALSE(s.hints.HintShowing());
  ASSERT_TRUE(s.WaitShown());
  THintWindow* w = s.hints.Window();
  // The short hint (before the bar), below the cursor image.
  EXPECT_EQ(w->Text(), QStringLiteral("Save the voucher"));
  // (The offscreen test platform keeps its own cursor position; the window follows it.)
  const QPoint cursor = QCursor::pos();
  EXPECT_EQ(w->Left(), cursor.x());
  EXPECT_EQ(w->Top(), cursor.y() + CursorHeightMargin());
  EXPECT_GT(w->Width(), 20);
  // Top-most, frameless, never focused, no input.
  const Qt::WindowFlags f = w->Handle()->windowFlags();
  EXPECT_EQ(f & Qt::WindowType_Mask, Qt::ToolTip);
  EXPECT_TRUE(f & Qt::WindowDoesNotAcceptFocus);
  EXPECT_TRUE(f & Qt::WindowTransparentForInput);
  EXPECT_TRUE(w->Handle()->testAttribute(Qt::WA_ShowWithoutActivating));
  EXPECT_FALSE(w->Handle()->isActiveWindow());
  // A screen reader sees a tool tip named by the text.
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w->Handle());
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->role(), QAccessible::ToolTip);
  EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Save the voucher"));
  // Gone after the hide pause.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !s.hints.HintShowing(); }, 3000));
}

TEST(PlatformHints, HiddenByPressKeyAndLeaving) {
  HintSite s;
  s.MoveTo(s.button, 20, 15);
  ASSERT_TRUE(s.WaitShown());
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(20, 15), QPointF(0, 0), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(s.button->Handle(), &press);
  EXPECT_FALSE(s.hints.HintShowing());

  s.MoveTo(s.button, 22, 15);
  ASSERT_TRUE(s.WaitShown());
  QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QApplication::sendEvent(s.button->Handle(), &key);
  EXPECT_FALSE(s.hints.HintShowing());

  s.MoveTo(s.button, 24, 15);
  ASSERT_TRUE(s.WaitShown());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(s.button->Handle(), &leave);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !s.hints.HintShowing(); }, 500));
  EXPECT_EQ(s.hints.HintControl(), nullptr);
  // Over a control without a hint of its own: nothing waits.
  s.form->SetShowHint(false);
  s.MoveTo(s.button, 26, 15);
  EXPECT_EQ(s.hints.HintControl(), nullptr);
  QTest::qWait(200);
  EXPECT_FALSE(s.hints.HintShowing());
}

TEST(PlatformHints, ShortPauseMovingOnWhileShown) {
  HintSite s;
  s.hints.HintPause = 800;
  s.hints.HintShortPause = 10;
  s.MoveTo(s.button, 20, 15);
  ASSERT_TRUE(s.WaitShown(3000));
  s.MoveTo(s.other, 20, 15);
  EXPECT_EQ(s.hints.HintControl(), s.other);
  // Within the short pause, long before the full one.
  ASSERT_TRUE(s.WaitShown(400));
  EXPECT_EQ(s.hints.Window()->Text(), QStringLiteral("Other"));
}

TEST(PlatformHints, ParentShowHintFollowsTheParent) {
  HintSite s;
  EXPECT_TRUE(s.button->ParentShowHint());
  EXPECT_TRUE(s.button->EffectiveShowHint());
  s.form->SetShowHint(false);
  EXPECT_FALSE(s.button->EffectiveShowHint());
  s.button->SetShowHint(true);
  EXPECT_FALSE(s.button->ParentShowHint());
  EXPECT_TRUE(s.button->EffectiveShowHint());
  // A label (non-windowed) shows its own hint over its parent's.
  auto* label = new TCustomLabel(s.form.get());
  label->SetParent(s.form.get());
  label->SetBounds(10, 100, 80, 20);
  label->SetHint(QStringLiteral("Label hint"));
  label->SetShowHint(true);
  s.MoveTo(s.form.get(), 20, 105);
  EXPECT_EQ(s.hints.HintControl(), label);
  ASSERT_TRUE(s.WaitShown());
  EXPECT_EQ(s.hints.Window()->Text(), QStringLiteral("Label hint"));
}

TEST(PlatformHints, OnShowHintChangesOrRefuses) {
  HintSite s;
  TControl* seen = nullptr;
  s.hints.OnShowHint = [&](QString& text, bool& canShow, THintInfo& info) {
    seen = info.HintControl;
    text = QStringLiteral("Changed: ") + text;
    info.HintPos.X += 5;
  };
  s.MoveTo(s.button, 20, 15);
  ASSERT_TRUE(s.WaitShown());
  EXPECT_EQ(seen, s.button);
  EXPECT_EQ(s.hints.Window()->Text(), QStringLiteral("Changed: Save the voucher"));
  EXPECT_EQ(s.hints.Window()->Left(), QCursor::pos().x() + 5);
  s.hints.CancelHint();

  s.hints.OnShowHint = [&](QString&, bool& canShow, THintInfo&) { canShow = false; };
  s.MoveTo(s.other, 20, 15);
  QTest::qWait(400);
  EXPECT_FALSE(s.hints.HintShowing());
  s.hints.OnShowHint.Clear();
}

TEST(PlatformHints, NoQtToolTipForOurControls) {
  HintSite s;
  const QPoint g(s.button->ClientToScreen(TPoint(5, 5)).X, s.button->ClientToScreen(TPoint(5, 5)).Y);
  QHelpEvent help(QEvent::ToolTip, QPoint(5, 5), g);
  s.button->Handle()->setToolTip(QString());  // nothing of ours sets one
  QApplication::sendEvent(s.button->Handle(), &help);
  QTest::qWait(50);
  EXPECT_FALSE(QToolTip::isVisible());
  EXPECT_TRUE(s.button->Handle()->toolTip().isEmpty());
}

TEST(PlatformHints, ControlFreedWhileItsHintWaits) {
  HintSite s;
  s.MoveTo(s.other, 20, 15);
  ASSERT_EQ(s.hints.HintControl(), s.other);
  delete s.other;
  s.other = nullptr;
  EXPECT_EQ(s.hints.HintControl(), nullptr);
  QTest::qWait(300);
  EXPECT_FALSE(s.hints.HintShowing());
  // And freed while its hint shows.
  s.MoveTo(s.button, 20, 15);
  ASSERT_TRUE(s.WaitShown());
  delete s.button;
  EXPECT_FALSE(s.hints.HintShowing());
}

TEST(PlatformHints, HugeMultiLineAndMixedScriptTexts) {
  HintSite s;
  s.hints.HintHidePause = 5000;
  const QString texts[] = {QString(10000, QLatin1Char('x')), QStringLiteral("line one\nline two\nline three"),
                           QStringLiteral("שלום עולם مرحبا"), QStringLiteral("傳票資料異動紀錄"), QString()};
  int lastHeight = 0;
  for (const QString& t : texts) {
    s.hints.CancelHint();
    s.button->SetHint(t);
    s.MoveTo(s.button, 20, 15);
    if (t.isEmpty()) {
      QTest::qWait(300);
      EXPECT_FALSE(s.hints.HintShowing()) << "an empty hint shows nothing";
      continue;
    }
    ASSERT_TRUE(s.WaitShown()) << t.left(20).toStdString();
    THintWindow* w = s.hints.Window();
    // Kept on the screen, however long the text.
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_LE(w->Left() + w->Width(), std::max(screen.width(), w->Width()));
    if (t.contains(QLatin1Char('\n'))) EXPECT_GT(w->Height(), lastHeight);
    lastHeight = w->Height();
    QImage img = w->Handle()->grab().toImage();
    EXPECT_FALSE(img.isNull());
  }
}

}  // namespace
