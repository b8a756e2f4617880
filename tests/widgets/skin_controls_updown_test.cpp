// The skinned up-down on real offscreen widgets and real timers: nothing on the press, the
// first step after 500 ms and then one every 100 ms while the button is held, one more step
// and the click event on a release over it, none over the other button, Min and Max that
// refuse steps silently, the size a fixed-size skin section imposes and its button looks.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <vector>

#include "platform/Colors.h"
#include "platform/Forms.h"
#include "skin/controls/bsSkinUpDown.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "tests/TestUtil.h"

namespace {

void Mouse(TWinControl* c, QEvent::Type type, QPoint p, Qt::MouseButtons held) {
  QWidget* w = c->Handle();
  const Qt::MouseButton b = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(p), QPointF(w->mapToGlobal(p)), b, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}
void Press(TWinControl* c, QPoint p) {
  Mouse(c, QEvent::MouseMove, p, Qt::NoButton);
  Mouse(c, QEvent::MouseButtonPress, p, Qt::LeftButton);
}
void DragTo(TWinControl* c, QPoint p) { Mouse(c, QEvent::MouseMove, p, Qt::LeftButton); }
void Release(TWinControl* c, QPoint p) { Mouse(c, QEvent::MouseButtonRelease, p, Qt::NoButton); }

struct Fixture {
  TForm form{nullptr};
  TbsSkinUpDown* ud;
  QElapsedTimer clock;
  std::vector<qint64> changes;  // when OnChange fired, ms after the press
  int upClicks = 0, downClicks = 0;
  Fixture() {
    form.SetBounds(0, 0, 300, 200);
    ud = new TbsSkinUpDown(&form);
    ud->SetParent(&form);
    ud->SetBounds(20, 20, 25, 50);
    ud->OnChange = [this](TComponent*) { changes.push_back(clock.elapsed()); };
    ud->OnUpButtonClick = [this](TComponent*) { ++upClicks; };
    ud->OnDownButtonClick = [this](TComponent*) { ++downClicks; };
    form.Show();
    QApplication::processEvents();
  }
};

// Without a skin the horizontal up-down is two halves: down on the left, up on the right.
const QPoint kDown(5, 25), kUp(19, 25);

TEST(SkinUpDown, HoldingRepeatsAfterAPauseAndTheReleaseAddsOneStep) {
  Fixture f;
  ASSERT_EQ(f.ud->SectionIndex(), -1);
  EXPECT_EQ(f.ud->ArrowButton(1).R, TRect(0, 0, 12, 50));
  EXPECT_EQ(f.ud->ArrowButton(0).R, TRect(12, 0, 25, 50));
  f.clock.start();
  Press(f.ud, kUp);
  // The press itself changes nothing; the repeat waits 500 ms.
  EXPECT_EQ(f.ud->Position(), 0);
  EXPECT_TRUE(f.changes.empty());
  EXPECT_EQ(f.ud->CapturedButton(), 0);
  EXPECT_TRUE(f.ud->ArrowButton(0).Pressed);
  EXPECT_TRUE(f.ud->ArrowButton(0).Hot);
  EXPECT_EQ(f.ud->RepeatInterval(), 500);
  // The first tick only shortens the period; the steps follow every 100 ms.
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.ud->RepeatInterval() == 100; }, 5000));
  EXPECT_GE(f.clock.elapsed(), 450);
  EXPECT_EQ(f.ud->Position(), 0);
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.ud->Position() >= 3; }, 5000));
  ASSERT_GE(f.changes.size(), 3u);
  // Timers may come late on a busy machine, and a little early (coarse timers), never much.
  EXPECT_GE(f.changes[0], 540);
  EXPECT_GE((f.changes.back() - f.changes.front()) / static_cast<qint64>(f.changes.size() - 1), 80);
  const int held = f.ud->Position();
  EXPECT_EQ(static_cast<int>(f.changes.size()), held);
  Release(f.ud, kUp);
  EXPECT_EQ(f.ud->Position(), held + 1);
  EXPECT_EQ(f.upClicks, 1);
  EXPECT_EQ(f.downClicks, 0);
  EXPECT_EQ(f.ud->RepeatInterval(), 0);
  EXPECT_EQ(f.ud->CapturedButton(), -1);
  EXPECT_FALSE(f.ud->ArrowButton(0).Pressed);
  // A quick click on the down button: one step down and its click event.
  Press(f.ud, kDown);
  Release(f.ud, kDown);
  EXPECT_EQ(f.ud->Position(), held);
  EXPECT_EQ(f.downClicks, 1);
}

TEST(SkinUpDown, LeavingThePressedButtonStopsAndReleasingOverTheOtherDoesNothing) {
  Fixture f;
  f.ud->SetPosition(10);
  f.changes.clear();
  f.clock.start();
  Press(f.ud, kUp);
  // Over the other button nothing is hot and the repeat stops.
  DragTo(f.ud, kDown);
  EXPECT_EQ(f.ud->HotButton(), -1);
  EXPECT_FALSE(f.ud->ArrowButton(0).Hot);
  EXPECT_FALSE(f.ud->ArrowButton(1).Hot);
  EXPECT_TRUE(f.ud->ArrowButton(0).Pressed);
  EXPECT_EQ(f.ud->RepeatInterval(), 0);
  QTest::qWait(700);
  EXPECT_TRUE(f.changes.empty());
  // Back over the pressed button the timer restarts with 50 ms.
  DragTo(f.ud, kUp);
  EXPECT_TRUE(f.ud->ArrowButton(0).Hot);
  EXPECT_EQ(f.ud->RepeatInterval(), 50);
  DragTo(f.ud, kDown);
  EXPECT_EQ(f.ud->RepeatInterval(), 0);
  const size_t before = f.changes.size();
  Release(f.ud, kDown);
  EXPECT_EQ(f.changes.size(), before);
  EXPECT_EQ(f.upClicks, 0);
  EXPECT_EQ(f.downClicks, 0);
  EXPECT_FALSE(f.ud->ArrowButton(0).Pressed);
  EXPECT_EQ(f.ud->CapturedButton(), -1);
}

TEST(SkinUpDown, MinAndMaxRefuseStepsSilently) {
  Fixture f;
  f.ud->SetMax(3);
  f.ud->SetPosition(3);
  EXPECT_EQ(f.changes.size(), 1u);  // setting a value fires OnChange
  f.ud->SetPosition(3);
  EXPECT_EQ(f.changes.size(), 2u);  // also when unchanged
  f.ud->SetPosition(4);
  f.ud->SetPosition(-1);
  EXPECT_EQ(f.ud->Position(), 3);
  EXPECT_EQ(f.changes.size(), 2u);
  f.changes.clear();
  f.clock.start();
  Press(f.ud, kUp);
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.ud->RepeatInterval() == 100; }, 5000));
  QTest::qWait(350);
  EXPECT_EQ(f.ud->RepeatInterval(), 100);  // the timer keeps running
  Release(f.ud, kUp);
  EXPECT_EQ(f.ud->Position(), 3);
  EXPECT_TRUE(f.changes.empty());
  EXPECT_EQ(f.upClicks, 1);
  // Max below Position lowers it, Min above raises it, neither fires OnChange.
  f.ud->SetMax(1);
  EXPECT_EQ(f.ud->Position(), 1);
  f.ud->SetMin(2);
  EXPECT_EQ(f.ud->Position(), 2);
  EXPECT_TRUE(f.changes.empty());
  // Increment 0: neither repeat nor step, the click event still fires.
  f.ud->SetMax(10);
  f.ud->SetIncrement(0);
  Press(f.ud, kUp);
  EXPECT_EQ(f.ud->RepeatInterval(), 0);
  Release(f.ud, kUp);
  EXPECT_EQ(f.ud->Position(), 2);
  EXPECT_EQ(f.upClicks, 2);
}

TEST(SkinUpDown, FixedSizeSectionKeepsItsSizeAndDrawsItsButtonLooks) {
  Fixture f;
  auto* stored = new TbsStoredSkin(&f.form);
  stored->LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/daylight/SKIN.INI"));
  auto* data = new TbsSkinData(&f.form);
  data->SetStoredSkin(stored);
  f.ud->SetSkinData(data);
  ASSERT_NE(f.ud->SectionIndex(), -1);
  EXPECT_EQ(f.ud->StretchMode(), 0);
  EXPECT_EQ(f.ud->Width(), 36);
  EXPECT_EQ(f.ud->Height(), 18);
  f.ud->SetBounds(10, 10, 120, 60);
  EXPECT_EQ(f.ud->Width(), 36);
  EXPECT_EQ(f.ud->Height(), 18);
  // Up is the right half, down the left half.
  EXPECT_EQ(f.ud->ArrowButton(0).R, TRect(18, 0, 36, 18));
  EXPECT_EQ(f.ud->ArrowButton(1).R, TRect(0, 0, 18, 18));
  QApplication::processEvents();
  const TBitmap* pic = data->ActivePicture(5);
  ASSERT_NE(pic, nullptr);
  auto expectPiece = [&](const TRect& at, int sx, int sy) {
    const QImage shot = f.ud->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = at.Top; y < at.Bottom; ++y)
      for (int x = at.Left; x < at.Right; ++x)
        ASSERT_EQ(FromQColor(shot.pixelColor(x, y)),
                  FromQColor(pic->Image().pixelColor(sx + x - at.Left, sy + y - at.Top)))
            << "at " << x << "," << y;
  };
  // Normal: the skin rectangle unchanged; hot and pressed: the state pieces.
  expectPiece(TRect(0, 0, 36, 18), 0, 0);
  Press(f.ud, QPoint(27, 9));
  expectPiece(TRect(18, 0, 36, 18), 18, 36);
  expectPiece(TRect(0, 0, 18, 18), 0, 0);
  Release(f.ud, QPoint(27, 9));
  expectPiece(TRect(18, 0, 36, 18), 18, 18);
  EXPECT_EQ(f.upClicks, 1);
  EXPECT_EQ(f.ud->Position(), 1);
  // The mouse leaving clears the hot look.
  f.ud->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<intptr_t>(static_cast<TControl*>(f.ud)));
  EXPECT_FALSE(f.ud->ArrowButton(0).Hot);
  expectPiece(TRect(0, 0, 36, 18), 0, 0);
}

}  // namespace
