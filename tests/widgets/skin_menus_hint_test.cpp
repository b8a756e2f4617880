// Skinned hints: installing the skinned window class (with hints on and off), one active
// component on the main form, the window's size from the skin's hint picture and client
// rectangle, the plain look, fitting to the screen, the mask shape, the delayed texts of
// ShowHintText/HideHintText, the fonts, and the frame's object hints over its caption buttons.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QFontMetrics>
#include <QTest>
#include <QWidget>
#include <memory>

#include "platform/ApplicationHints.h"
#include "platform/Colors.h"
#include "platform/CursorImage.h"
#include "platform/Forms.h"
#include "platform/Screen.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"
#include "skin/menus/bsSkinHint.h"
#include "tests/TestUtil.h"

namespace {

uint32_t Rgb(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }
uint32_t Rgb(TColor c) { return static_cast<uint32_t>(ToQColor(c).rgb() & 0xFFFFFF); }

void LoadSkin(TbsSkinData* data, const char* folder) {
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/%1/SKIN.INI").arg(QLatin1String(folder)));
  data->LoadFromStoredSkin(stored);
}

// The main form of the application with a hint component and a skin.
struct MainSite {
  MainSite() {
    form = Application->CreateForm<TForm>();
    data = new TbsSkinData(form);
    LoadSkin(data, "daylight");
    hint = new TbsSkinHint(form);
    hint->SetSkinData(data);
  }
  ~MainSite() { delete form; }
  TbsSkinHintWindow* Window() { return hint->OwnWindow(); }
  // A hint picture of w x h (a grey frame around white) with the given client rectangle.
  void HintPicture(int w, int h, const TRect& client, const TPoint& lt, const TPoint& rt, const TPoint& lb,
                   const TPoint& rb) {
    TbsDataSkinHintWindow& d = *data->HintWindow;
    auto pic = std::make_unique<TBitmap>(w, h);
    pic->Canvas().Brush.Color = 0x808080;
    pic->Canvas().FillRect(TRect(0, 0, w, h));
    pic->Canvas().Brush.Color = 0xFFFFFF;
    pic->Canvas().FillRect(TRect(2, 2, w - 2, h - 2));
    data->activepictures.push_back(std::move(pic));
    d.windowpictureindex = static_cast<int>(data->activepictures.size()) - 1;
    d.clientrect = client;
    d.lefttoppoint = lt;
    d.righttoppoint = rt;
    d.leftbottompoint = lb;
    d.rightbottompoint = rb;
  }
  TForm* form;
  TbsSkinData* data;
  TbsSkinHint* hint;
};

QSize Extent(const TFont& f, const QString& text) {
  TCanvas c;
  c.Font = f;
  TRect r;
  c.DrawText(text, r, DT_CALCRECT | DT_CENTER | DT_NOPREFIX);
  return QSize(r.Width(), r.Height());
}

TFont SkinFont(const TbsSkinData* data) {
  TFont f;
  f.Height = data->HintWindow->fontheight;
  f.Name = data->HintWindow->fontname;
  f.Style = data->HintWindow->fontstyle;
  return f;
}

// Runs first: installing the component replaces the application's hint window.
TEST(SkinHint, InstallingReplacesTheApplicationsWindowWithHintsOnAndOff) {
  THintController& hints = Application->Hints();
  ASSERT_TRUE(hints.ShowHint());
  ASSERT_EQ(dynamic_cast<TbsSkinHintWindow*>(hints.Window()), nullptr);
  {
    MainSite s;
    EXPECT_NE(dynamic_cast<TbsSkinHintWindow*>(hints.Window()), nullptr) << "replaced at once while hints are on";
    EXPECT_TRUE(hints.ShowHint());
    EXPECT_EQ(hints.HintShortPause, 100);
    EXPECT_TRUE(static_cast<bool>(hints.OnShowHint));
    EXPECT_TRUE(s.hint->Active());
    EXPECT_TRUE(s.hint->UseSkinFont);
    EXPECT_FALSE(s.hint->OwnWindow()->Visible());
    // The event goes on to the component's own handler, which may change the text.
    s.hint->OnShowHint = [](QString& text, bool&, THintInfo&) { text += QStringLiteral("!"); };
    QString text = QStringLiteral("a");
    bool can = true;
    THintInfo info;
    hints.OnShowHint(text, can, info);
    EXPECT_EQ(text, QStringLiteral("a!"));
  }
  // The component is gone: the event it held is cleared, the skinned class stays.
  EXPECT_FALSE(static_cast<bool>(hints.OnShowHint));
  EXPECT_EQ(HintWindowClass, &MakeSkinHintWindow);
  // With hints off, they stay off; switching them on later makes a skinned window.
  hints.SetShowHint(false);
  {
    MainSite s;
    EXPECT_FALSE(hints.ShowHint());
    EXPECT_EQ(hints.Window(), nullptr);
    hints.SetShowHint(true);
    EXPECT_NE(dynamic_cast<TbsSkinHintWindow*>(hints.Window()), nullptr);
  }
}

TEST(SkinHint, OneActiveComponentOnTheMainForm) {
  MainSite s;
  auto* second = new TbsSkinHint(s.form);
  EXPECT_TRUE(s.hint->Active());
  EXPECT_TRUE(second->Active());
  EXPECT_EQ(TbsSkinHintWindow::FindHintComponent(), s.hint) << "the first active one in component order";
  second->SetActive(true);
  EXPECT_FALSE(s.hint->Active());
  EXPECT_EQ(TbsSkinHintWindow::FindHintComponent(), second);
  second->SetActive(false);
  EXPECT_EQ(TbsSkinHintWindow::FindHintComponent(), nullptr);
  // No active component: nothing shows, the window keeps its state.
  s.Window()->ActivateHint(TRect(10, 10, 10, 10), QStringLiteral("nothing"));
  EXPECT_FALSE(s.Window()->Visible());
  EXPECT_EQ(s.Window()->HintComponent(), nullptr);
}

TEST(SkinHint, SizeFromTheSkinPictureAndCentredText) {
  MainSite s;
  s.HintPicture(40, 20, TRect(9, 1, 28, 16), TPoint(9, 1), TPoint(28, 1), TPoint(9, 16), TPoint(28, 16));
  const QString text = QStringLiteral("Close the window");
  TbsSkinHintWindow* w = s.Window();
  w->ActivateHint(TRect(30, 40, 0, 0), text);
  ASSERT_TRUE(w->Visible());
  ASSERT_EQ(w->SkinInUse(), s.data);
  const QSize t = Extent(SkinFont(s.data), text);
  EXPECT_EQ(w->Width(), std::max(40, t.width() + 9 + (40 - 28)));
  EXPECT_EQ(w->Height(), std::max(20, t.height() + 1 + (20 - 16)));
  EXPECT_EQ(w->Left(), 30);
  EXPECT_EQ(w->Top(), 40);
  const int dx = w->Width() - 40, dy = w->Height() - 20;
  EXPECT_EQ(w->MappedClientRect, TRect(9, 1, 28 + dx, 16 + dy));
  EXPECT_EQ(w->MappedRightBottom, TPoint(28 + dx, 16 + dy));
  EXPECT_EQ(w->MappedRightTop, TPoint(28 + dx, 1));
  EXPECT_EQ(w->MappedLeftBottom, TPoint(9, 16 + dy));
  // The frame from the picture; the text in the skin's font colour, centred in the client area.
  TBitmap img;
  w->PaintTo(img);
  const QImage& q = img.Image();
  EXPECT_EQ(Rgb(q, 0, 0), 0x808080u);
  EXPECT_EQ(Rgb(q, w->Width() - 1, w->Height() - 1), 0x808080u);
  const uint32_t ink = Rgb(s.data->HintWindow->fontcolor);
  int minX = 1 << 20, maxX = -1;
  for (int y = 0; y < q.height(); ++y)
    for (int x = 0; x < q.width(); ++x)
      if (Rgb(q, x, y) == ink) minX = std::min(minX, x), maxX = std::max(maxX, x);
  ASSERT_GE(maxX, 0) << "text in the skin's font colour";
  const int centre = (w->MappedClientRect.Left + w->MappedClientRect.Right) / 2;
  EXPECT_LE(std::abs((minX + maxX) / 2 - centre), 5);
  EXPECT_GT(minX, w->MappedClientRect.Left);
  // A tiny text never makes the window smaller than the picture.
  w->ActivateHint(TRect(0, 0, 0, 0), QStringLiteral("."));
  EXPECT_EQ(w->Width(), 40);
  EXPECT_EQ(w->Height(), 20);
}

TEST(SkinHint, PlainLookWithoutAHintPicture) {
  MainSite s;
  s.data->HintWindow->windowpictureindex = -1;
  TFont f;
  f.Name = QStringLiteral("Liberation Sans");
  f.Height = -13;
  s.hint->SetDefaultFont(f);
  const QString text = QStringLiteral("Plain hint");
  TbsSkinHintWindow* w = s.Window();
  w->ActivateHint(TRect(5, 5, 5, 5), text);
  ASSERT_TRUE(w->Visible());
  EXPECT_EQ(w->SkinInUse(), nullptr);
  const QSize t = Extent(f, text);
  EXPECT_EQ(w->Width(), t.width() + 4);
  EXPECT_EQ(w->Height(), t.height() + 4);
  EXPECT_TRUE(w->Region().isEmpty());
  TBitmap img;
  w->PaintTo(img);
  const QImage& q = img.Image();
  EXPECT_EQ(Rgb(q, 0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(Rgb(q, w->Width() - 1, 3), Rgb(clBtnShadow));
  EXPECT_EQ(Rgb(q, 1, 1), Rgb(clInfoBk));
  // The text starts at (2, 2): nothing of it left of column 2 or above row 2.
  int minX = 1 << 20, minY = 1 << 20;
  for (int y = 1; y < q.height() - 1; ++y)
    for (int x = 1; x < q.width() - 1; ++x)
      if (Rgb(q, x, y) != Rgb(clInfoBk)) minX = std::min(minX, x), minY = std::min(minY, y);
  EXPECT_GE(minX, 2);
  EXPECT_GE(minY, 2);
  EXPECT_LE(minX, 4);
  // An empty skin: the plain look too.
  s.data->HintWindow->windowpictureindex = 7;
  s.data->IsEmpty = true;
  w->ActivateHint(TRect(5, 5, 5, 5), text);
  EXPECT_EQ(w->SkinInUse(), nullptr);
}

TEST(SkinHint, FittedToTheRightAndBottomEdgesOnly) {
  MainSite s;
  TbsSkinHintWindow* w = s.Window();
  const int sw = Screen()->Width(), sh = Screen()->Height();
  ASSERT_GT(sw, 0);
  w->ActivateHint(TRect(sw - 3, sh - 2, 0, 0), QStringLiteral("At the corner"));
  EXPECT_EQ(w->Left() + w->Width(), sw);
  EXPECT_EQ(w->Top() + w->Height(), sh);
  w->ActivateHint(TRect(-25, -7, 0, 0), QStringLiteral("Left of the screen"));
  EXPECT_EQ(w->Left(), -25);
  EXPECT_EQ(w->Top(), -7);
}

TEST(SkinHint, MaskShapesTheWindowAndTranslucency) {
  MainSite s;
  s.HintPicture(40, 20, TRect(6, 6, 34, 14), TPoint(6, 6), TPoint(34, 6), TPoint(6, 14), TPoint(34, 14));
  // A mask with the top-left 3 x 3 corner cut off.
  auto mask = std::make_unique<TBitmap>(40, 20);
  mask->Canvas().Brush.Color = 0;
  mask->Canvas().FillRect(TRect(0, 0, 40, 20));
  mask->Canvas().Brush.Color = 0xFFFFFF;
  mask->Canvas().FillRect(TRect(0, 0, 3, 3));
  s.data->activepictures.push_back(std::move(mask));
  s.data->HintWindow->maskpictureindex = static_cast<int>(s.data->activepictures.size()) - 1;
  TbsSkinHintWindow* w = s.Window();
  w->ActivateHint(TRect(0, 0, 0, 0), QStringLiteral("A longer text that widens the window"));
  ASSERT_FALSE(w->Region().isEmpty());
  EXPECT_FALSE(w->Region().contains(QPoint(1, 1)));
  EXPECT_TRUE(w->Region().contains(QPoint(w->Width() / 2, w->Height() / 2)));
  EXPECT_TRUE(w->Region().contains(QPoint(w->Width() - 2, w->Height() - 2)));
  // Back to no mask: the region is removed.
  s.data->HintWindow->maskpictureindex = -1;
  w->ActivateHint(TRect(0, 0, 0, 0), QStringLiteral("x"));
  EXPECT_TRUE(w->Region().isEmpty());
  EXPECT_FALSE(w->HasWindowRegion());
  // Translucency: the value applies, and applies again after switching off and on.
  s.hint->AlphaBlend = true;
  s.hint->AlphaBlendValue = 128;
  w->ActivateHint(TRect(0, 0, 0, 0), QStringLiteral("x"));
  EXPECT_TRUE(w->LastAlphaBlend());
  EXPECT_NEAR(w->Handle()->windowOpacity(), 128 / 255.0, 0.01);
  s.hint->AlphaBlend = false;
  w->ActivateHint(TRect(0, 0, 0, 0), QStringLiteral("x"));
  EXPECT_NEAR(w->Handle()->windowOpacity(), 1.0, 0.01);
  s.hint->AlphaBlend = true;
  w->ActivateHint(TRect(0, 0, 0, 0), QStringLiteral("x"));
  EXPECT_NEAR(w->Handle()->windowOpacity(), 128 / 255.0, 0.01);
}

TEST(SkinHint, FontsSkinOrDefaultButAlwaysTheSkinColour) {
  MainSite s;
  s.HintPicture(40, 20, TRect(9, 1, 28, 16), TPoint(9, 1), TPoint(28, 1), TPoint(9, 16), TPoint(28, 16));
  s.data->HintWindow->fontheight = 30;
  s.data->HintWindow->fontcolor = 0x0000FF;  // red
  TFont def;
  def.Name = QStringLiteral("Liberation Sans");
  def.Height = -10;
  s.hint->SetDefaultFont(def);
  const QString text = QStringLiteral("Hg");
  TbsSkinHintWindow* w = s.Window();
  w->ActivateHint(TRect(0, 0, 0, 0), text);
  const int skinHeight = w->Height();
  EXPECT_EQ(skinHeight, std::max(20, Extent(SkinFont(s.data), text).height() + 5));
  s.hint->UseSkinFont = false;
  w->ActivateHint(TRect(0, 0, 0, 0), text);
  EXPECT_LT(w->Height(), skinHeight);
  TBitmap img;
  w->PaintTo(img);
  bool red = false;
  for (int y = 0; y < img.Height() && !red; ++y)
    for (int x = 0; x < img.Width() && !red; ++x) {
      const QColor c = img.Image().pixelColor(x, y);
      red = c.red() > 150 && c.green() < 90 && c.blue() < 90;
    }
  EXPECT_TRUE(red) << "the skin's font colour with the default font";
}

TEST(SkinHint, DelayedTextsWaitShowAndHide) {
  MainSite s;
  THintController& hints = Application->Hints();
  hints.HintPause = 150;
  hints.HintHidePause = 300;
  TbsSkinHintWindow* w = s.Window();
  // Hidden while waiting: never shown.
  s.hint->ShowHintText(QStringLiteral("first"));
  ASSERT_NE(s.hint->DelayTimer(), nullptr);
  EXPECT_EQ(s.hint->DelayTimer()->Interval(), 150);
  s.hint->HideHintText();
  EXPECT_EQ(s.hint->DelayTimer(), nullptr);
  QTest::qWait(300);
  EXPECT_FALSE(w->Visible());
  // Twice in quick succession: only the second text, one pause after the second call.
  s.hint->ShowHintText(QStringLiteral("first"));
  QTest::qWait(100);
  s.hint->ShowHintText(QStringLiteral("second"));
  QTest::qWait(80);
  EXPECT_FALSE(w->Visible()) << "the pause starts again with the second call";
  ASSERT_TRUE(QTest::qWaitFor([&] { return w->Visible(); }, 2000));
  EXPECT_EQ(w->Text(), QStringLiteral("second"));
  EXPECT_EQ(s.hint->PendingText(), QStringLiteral("second"));
  // Placed below the cursor image.
  const QPoint c = QCursor::pos();
  EXPECT_EQ(w->Left(), std::min(c.x(), Screen()->Width() - w->Width()));
  EXPECT_EQ(w->Top(), std::min(c.y() + TbsSkinHint::CursorBottomOffset(), Screen()->Height() - w->Height()));
  ASSERT_NE(s.hint->DelayTimer(), nullptr);
  EXPECT_EQ(s.hint->DelayTimer()->Interval(), 300);
  // Hidden after the hide pause; no timer left.
  ASSERT_TRUE(QTest::qWaitFor([&] { return !w->Visible(); }, 2000));
  EXPECT_EQ(s.hint->DelayTimer(), nullptr);
  hints.HintPause = 500;
  hints.HintHidePause = 2500;
}

TEST(SkinHint, NoHintComponentTheTimerStillEnds) {
  MainSite s;
  s.hint->SetActive(false);
  Application->Hints().HintPause = 30;
  Application->Hints().HintHidePause = 30;
  s.hint->ShowHintText(QStringLiteral("never"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.hint->DelayTimer() == nullptr; }, 2000));
  EXPECT_FALSE(s.Window()->Visible());
  Application->Hints().HintPause = 500;
  Application->Hints().HintHidePause = 2500;
}

TEST(SkinHint, HostileTextsAndPictures) {
  MainSite s;
  TbsSkinHintWindow* w = s.Window();
  // A picture smaller than its points and client rectangle.
  s.HintPicture(6, 5, TRect(9, 1, 28, 16), TPoint(9, 1), TPoint(28, 1), TPoint(9, 16), TPoint(28, 16));
  const QString texts[] = {QString(10000, QLatin1Char('W')), QStringLiteral("one\ntwo\n\nfour"),
                           QStringLiteral("עברית ועוד مرحبا"), QStringLiteral("傳票資料異動紀錄"), QString()};
  for (const QString& t : texts) {
    w->ActivateHint(TRect(10, 10, 10, 10), t);
    TBitmap img;
    w->PaintTo(img);
    EXPECT_GE(w->Width(), 6);
    EXPECT_GE(w->Height(), 5);
    // A text wider than any screen is cut, not drawn into a window of its own width.
    EXPECT_LE(w->Width(), 4096);
  }
  // Multi-line text is as high as its lines.
  s.data->HintWindow->windowpictureindex = -1;
  w->ActivateHint(TRect(0, 0, 0, 0), QStringLiteral("one"));
  const int one = w->Height();
  w->ActivateHint(TRect(0, 0, 0, 0), QStringLiteral("one\ntwo\nthree"));
  EXPECT_GT(w->Height(), 2 * (one - 4));
  // A picture index past the list: the plain look.
  s.data->HintWindow->windowpictureindex = 999;
  w->ActivateHint(TRect(0, 0, 0, 0), QStringLiteral("x"));
  TBitmap img;
  w->PaintTo(img);
  EXPECT_EQ(Rgb(img.Image(), 0, 0), Rgb(clBtnShadow));
}

TEST(SkinHint, FrameObjectHintsOverTheCaptionButtons) {
  MainSite s;
  auto* frame = new TbsSkinForm(s.form);
  s.form->SetBounds(0, 0, 800, 600);
  frame->SetSkinData(s.data);
  frame->SetSkinHint(s.hint);
  s.form->Perform(WM_NCACTIVATE, 1);
  s.form->Perform(WM_ACTIVATE, WA_ACTIVE);
  ASSERT_TRUE(frame->Skinned());
  TbsSkinStdButtonObject* close = frame->StdButton(cmClose);
  ASSERT_NE(close, nullptr);
  ASSERT_EQ(close->Hint, QStringLiteral("Close"));
  const TRect r = close->ObjectRect;
  // ShowObjectHint off: no hint.
  frame->TrackObjects(r.Left + 1, r.Top + 1, true);
  EXPECT_EQ(s.hint->DelayTimer(), nullptr);
  frame->TrackObjects(-1, -1, true);
  frame->ShowObjectHint = true;
  frame->TrackObjects(r.Left + 1, r.Top + 1, true);
  ASSERT_NE(s.hint->DelayTimer(), nullptr);
  EXPECT_EQ(s.hint->PendingText(), QStringLiteral("Close"));
  // On to the maximize button: its text replaces the pending one.
  TbsSkinStdButtonObject* max = frame->StdButton(cmMaximize);
  ASSERT_NE(max, nullptr);
  frame->TrackObjects(max->ObjectRect.Left + 1, max->ObjectRect.Top + 1, true);
  EXPECT_EQ(s.hint->PendingText(), max->Hint);
  // Leaving every object hides it.
  frame->TrackObjects(-1, -1, false);
  EXPECT_EQ(s.hint->DelayTimer(), nullptr);
  EXPECT_FALSE(s.Window()->Visible());
  // The hint component freed: the frame forgets it.
  delete s.hint;
  s.hint = nullptr;
  EXPECT_EQ(frame->SkinHint(), nullptr);
  frame->TrackObjects(r.Left + 1, r.Top + 1, true);
}

}  // namespace
