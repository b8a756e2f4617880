// The skinned frame of a form with the stored skin (Daylight): client inset and minimum size,
// frame pixels against the skin picture, the window shape, hit tests at 800 x 600, roll-up,
// magnetic edges, the component's own window states and the parking of minimized forms, the
// caption buttons under the mouse, the caption text, and the plain frame without a skin.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QSet>
#include <QTest>
#include <QWidget>
#include <memory>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Forms.h"
#include "platform/Screen.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/draw/bsUtils.h"
#include "skin/form/bsSkinForm.h"
#include "tests/TestUtil.h"

namespace {

QString SkinIni(const char* folder) {
  return SourceDir() + QStringLiteral("/skins/%1/SKIN.INI").arg(QLatin1String(folder));
}

void LoadSkin(TbsSkinData* data, const char* folder) {
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SkinIni(folder));
  data->LoadFromStoredSkin(stored);
}

// A form at the screen's origin (screen points are window points) with the frame component.
struct Framed {
  explicit Framed(int w = 800, int h = 600, const char* skin = "daylight",
                  TFormBorderStyle style = TFormBorderStyle::bsSizeable) {
    form->SetBorderStyle(style);
    form->SetBounds(0, 0, w, h);
    frame = new TbsSkinForm(form.get());
    data = new TbsSkinData(form.get());
    if (skin) LoadSkin(data, skin);
    frame->SetSkinData(data);
  }
  int Hit(int x, int y) {
    return static_cast<int>(form->Perform(WM_NCHITTEST, 0, MakeLParam(x + form->Left(), y + form->Top())));
  }
  void Activate(bool on = true) {
    form->Perform(WM_NCACTIVATE, on ? 1 : 0);
    form->Perform(WM_ACTIVATE, on ? WA_ACTIVE : WA_INACTIVE);
  }
  // The non-client area as the window paints it (white where nothing is painted).
  QImage Paint() {
    QImage img(form->Width(), form->Height(), QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas canvas(&img);
    form->Perform(WM_NCPAINT, reinterpret_cast<intptr_t>(&canvas));
    return img;
  }
  void Mouse(uint32_t msg, int x, int y) {
    const int hit = Hit(x, y);
    form->Perform(msg, hit, MakeLParam(x + form->Left(), y + form->Top()));
  }
  std::unique_ptr<TForm> form = std::make_unique<TForm>(nullptr);
  TbsSkinForm* frame;
  TbsSkinData* data;
};

uint32_t Rgb(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }
uint32_t Rgb(const TBitmap& bmp, int x, int y) { return bmp.Image().pixel(x, y) & 0xFFFFFF; }
uint32_t Rgb(TColor c) {
  const QColor q = ToQColor(c);
  return static_cast<uint32_t>(q.rgb() & 0xFFFFFF);
}

TEST(SkinFormFrame, GeometryInsetShapeAndHitTestsAt800x600) {
  Framed f;
  ASSERT_TRUE(f.frame->Skinned());
  EXPECT_EQ(f.frame->GetMinWidth(), 176);
  EXPECT_EQ(f.frame->GetMinHeight(), 56);
  EXPECT_EQ(f.form->ClientRect(), TRect(0, 0, 800 - 15 - 13, 600 - 33 - 23));
  EXPECT_EQ(f.frame->FrameClientRect, TRect(15, 33, 787, 577));
  EXPECT_EQ(f.frame->HitRightTop, TPoint(789, 8));

  // Objects keep their distance from the nearest corner; the caption grows with the width.
  ASSERT_NE(f.frame->ObjectByName(QStringLiteral("caption1")), nullptr);
  EXPECT_EQ(f.frame->ObjectByName(QStringLiteral("caption1"))->ObjectRect, TRect(41, 3, 726, 18));
  EXPECT_EQ(f.frame->StdButton(cmClose)->ObjectRect, TRect(779, 6, 788, 15));
  EXPECT_EQ(f.frame->StdButton(cmSysMenu)->ObjectRect, TRect(12, 6, 21, 15));

  EXPECT_EQ(f.Hit(300, 10), HTCAPTION);
  EXPECT_EQ(f.Hit(783, 10), HTOBJECT);
  EXPECT_EQ(f.Hit(795, 8), HTTOPRIGHT);
  EXPECT_EQ(f.Hit(400, 300), HTCLIENT);
  EXPECT_EQ(f.Hit(1, 300), HTLEFT);
  EXPECT_EQ(f.Hit(798, 598), HTBOTTOMRIGHT);
  EXPECT_EQ(f.Hit(400, 598), HTBOTTOM);

  // The shape: the mask cut for this size, the client rectangle wholly inside.
  const QRegion& shape = f.frame->WindowRegion();
  ASSERT_FALSE(shape.isEmpty());
  EXPECT_TRUE(shape.contains(QRect(15, 33, 772, 544)));
  const TBitmap& mask = f.data->mask;
  for (int x = 0; x < 6; ++x) {
    EXPECT_EQ(shape.contains(QPoint(x, 0)), Rgb(mask, x, 0) == 0) << x;
    EXPECT_EQ(shape.contains(QPoint(799 - x, 599)), Rgb(mask, 175 - x, 146) == 0) << x;
  }
  // A maximized or rolled-up window has no sizing border.
  f.frame->SetRollUpState(true);
  EXPECT_EQ(f.Hit(795, 8), HTOBJECT);
  f.frame->SetRollUpState(false);
}

TEST(SkinFormFrame, FramePiecesFollowThePicture) {
  Framed f(176 + 40, 147 + 30);
  f.Activate();
  const QImage img = f.Paint();
  const TBitmap& pic = f.data->picture;
  // The top-left corner part is the picture's; the top-right one moved by the widening.
  for (int y = 0; y < 33; y += 3)
    for (int x = 0; x < 48; ++x)
      if (x < 12 || x >= 21 || y < 6 || y >= 15)  // the system-menu button is drawn there
        ASSERT_EQ(Rgb(img, x, y), Rgb(pic, x, y)) << x << "," << y;
  for (int y = 0; y < 33; y += 3)
    for (int x = 99; x < 176; ++x)
      if (y < 6 || y >= 15 || x < 119)  // the buttons
        ASSERT_EQ(Rgb(img, x + 40, y), Rgb(pic, x, y)) << x << "," << y;
  // The tiled top span starts its pattern at the piece origin.
  for (int x = 48; x < 99 + 40; ++x)
    if (x < 41 || x >= 102 + 40) ASSERT_EQ(Rgb(img, x, 30), Rgb(pic, 48 + x % 51, 30)) << x;
  // The bottom edge and the sides.
  EXPECT_EQ(Rgb(img, 5, 147 + 30 - 3), Rgb(pic, 5, 144));
  EXPECT_EQ(Rgb(img, 216 - 3, 147 + 30 - 3), Rgb(pic, 173, 144));
  // The client area is not touched.
  EXPECT_EQ(Rgb(img, 100, 100), 0xFFFFFFu);
}

TEST(SkinFormFrame, RollUpMagneticEdgesAndWindowStates) {
  Framed f;
  f.form->SetBounds(100, 100, 800, 600);
  int rolls = 0;
  f.frame->OnChangeRollUpState = [&](TComponent*) { ++rolls; };
  f.frame->SetRollUpState(true);
  EXPECT_EQ(f.form->Height(), 56);
  EXPECT_TRUE(f.frame->RollUpState());
  f.frame->SetRollUpState(false);
  EXPECT_EQ(f.form->Height(), 600);
  EXPECT_EQ(rolls, 2);

  // Without biRollUp nothing rolls.
  f.frame->SetBorderIcons(biSystemMenu | biMinimize | biMaximize);
  f.frame->SetRollUpState(true);
  EXPECT_FALSE(f.frame->RollUpState());
  f.frame->SetBorderIcons(biSystemMenu | biMinimize | biMaximize | biRollUp);
  // Set at run time, the icons give the default buttons until the skin is applied again.
  EXPECT_EQ(f.frame->ObjectByName(QStringLiteral("caption1")), nullptr);
  f.frame->ChangeSkinData();
  ASSERT_NE(f.frame->ObjectByName(QStringLiteral("caption1")), nullptr);

  // Magnetic edges: 4 pixels from the work area's left edge snaps, 5 does not.
  const TRect area = TScreen::Instance().WorkAreaRect();
  ASSERT_FALSE(area.IsZero());
  f.frame->Magnetic = true;
  f.frame->MagneticSize = 5;
  TRect r(area.Left + 4, area.Top + 50, area.Left + 4 + 300, area.Top + 250);
  f.form->SetBounds(r.Left, r.Top, 300, 200);
  f.form->Perform(WM_MOVING, 0, reinterpret_cast<intptr_t>(&r));
  EXPECT_EQ(r, TRect(area.Left, area.Top + 50, area.Left + 300, area.Top + 250));
  r = TRect(area.Left + 5, area.Top + 50, area.Left + 5 + 300, area.Top + 250);
  f.form->Perform(WM_MOVING, 0, reinterpret_cast<intptr_t>(&r));
  EXPECT_EQ(r.Left, area.Left + 5);
  // Near the right edge the right edge wins.
  r = TRect(area.Right - 302, area.Top + 50, area.Right - 2, area.Top + 250);
  f.form->Perform(WM_MOVING, 0, reinterpret_cast<intptr_t>(&r));
  EXPECT_EQ(r.Right, area.Right);

  // Maximized: the work area, and a drag proposes the same bounds again.
  f.form->SetBounds(100, 100, 400, 300);
  f.frame->SetWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(f.form->BoundsRect(), area);
  EXPECT_EQ(f.frame->RestoreBounds(), TRect(100, 100, 500, 400));
  r = TRect(area.Left + 30, area.Top + 30, area.Right + 30, area.Bottom + 30);
  f.form->Perform(WM_MOVING, 0, reinterpret_cast<intptr_t>(&r));
  EXPECT_EQ(r, area);
  EXPECT_EQ(f.Hit(area.Width() - 2, 3), HTOBJECT);  // no sizing border while maximized
  EXPECT_EQ(f.Hit(300, 10), HTCAPTION);
  // A caption double click restores.
  f.Mouse(WM_NCLBUTTONDBLCLK, 300, 10);
  EXPECT_EQ(f.frame->WindowState(), TWindowState::wsNormal);
  EXPECT_EQ(f.form->BoundsRect(), TRect(100, 100, 500, 400));
  EXPECT_TRUE(f.frame->RestoreBounds().IsZero());
}

TEST(SkinFormFrame, FixedSizeFormRollsUpOnCaptionDoubleClick) {
  Framed f(400, 300, "daylight", TFormBorderStyle::bsSingle);
  f.Mouse(WM_NCLBUTTONDBLCLK, 200, 10);
  EXPECT_TRUE(f.frame->RollUpState());
  EXPECT_EQ(f.form->Height(), 56);
  EXPECT_EQ(f.frame->WindowState(), TWindowState::wsNormal);
  // A fixed-size form has no sizing border.
  EXPECT_EQ(f.Hit(398, 20), HTOBJECT);
  f.Mouse(WM_NCLBUTTONDBLCLK, 200, 10);
  EXPECT_FALSE(f.frame->RollUpState());
  EXPECT_EQ(f.form->Height(), 300);
}

TEST(SkinFormFrame, MinimizedFormsParkAlongTheBottomAndTheMainFormMinimizesTheApplication) {
  ASSERT_NE(Application, nullptr);
  TCustomForm* mainForm = Application->MainForm();
  if (!mainForm) mainForm = Application->CreateForm<TForm>();
  ASSERT_EQ(Application->MainForm(), mainForm);
  auto* mainFrame = new TbsSkinForm(mainForm);
  auto* mainData = new TbsSkinData(mainForm);
  LoadSkin(mainData, "daylight");
  mainFrame->SetSkinData(mainData);
  mainForm->SetBounds(50, 50, 400, 300);
  mainFrame->SetWindowState(TWindowState::wsMinimized);
  EXPECT_EQ(mainFrame->WindowState(), TWindowState::wsNormal);
  EXPECT_TRUE(Application->Minimized());
  EXPECT_EQ(mainForm->BoundsRect(), TRect(50, 50, 450, 350));
  Application->Restore();
  EXPECT_FALSE(Application->Minimized());

  const TRect area = TScreen::Instance().WorkAreaRect();
  const int perRow = area.Width() / 176;
  ASSERT_GE(perRow, 1);
  std::vector<std::unique_ptr<Framed>> forms;
  for (int i = 0; i < perRow + 1; ++i) {
    forms.push_back(std::make_unique<Framed>(300, 200));
    forms.back()->form->SetBounds(60 + i, 60, 300, 200);
    forms.back()->form->Show();
  }
  for (auto& f : forms) f->frame->SetWindowState(TWindowState::wsMinimized);
  for (int i = 0; i < perRow; ++i) {
    EXPECT_EQ(forms[i]->form->BoundsRect(),
              TRect(area.Left + 176 * i, area.Bottom - 56, area.Left + 176 * (i + 1), area.Bottom))
        << i;
    EXPECT_EQ(forms[i]->frame->WindowState(), TWindowState::wsMinimized);
  }
  // The row is full: the next one goes above it.
  EXPECT_EQ(forms[perRow]->form->BoundsRect(), TRect(area.Left, area.Bottom - 112, area.Left + 176, area.Bottom - 56));
  // Restoring gives the old bounds back.
  forms[0]->frame->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(forms[0]->form->BoundsRect(), TRect(60, 60, 360, 260));
}

TEST(SkinFormFrame, CaptionButtonsActOnReleaseOverThemAndTheSystemMenuButtonClosesOnDoubleClick) {
  Framed f;
  f.Activate();
  int closeQueries = 0;
  f.form->OnCloseQuery = [&](TComponent*, bool& canClose) {
    ++closeQueries;
    canClose = false;
  };
  TbsSkinStdButtonObject* max = f.frame->StdButton(cmMaximize);
  ASSERT_NE(max, nullptr);
  const TRect mr = max->ObjectRect;
  const int mx = (mr.Left + mr.Right) / 2, my = (mr.Top + mr.Bottom) / 2;

  // Press, drag off, release: nothing.
  f.Mouse(WM_NCMOUSEMOVE, mx, my);
  EXPECT_TRUE(max->Highlighted);
  f.Mouse(WM_NCLBUTTONDOWN, mx, my);
  EXPECT_TRUE(max->Pressed);
  f.Mouse(WM_NCMOUSEMOVE, 400, 10);
  EXPECT_FALSE(max->Highlighted);
  f.Mouse(WM_NCLBUTTONUP, 400, 10);
  EXPECT_EQ(f.frame->WindowState(), TWindowState::wsNormal);
  EXPECT_FALSE(max->Pressed);
  EXPECT_EQ(f.frame->CaptureIndex(), -1);

  // Press, drag off, drag back, release: maximized; the button shows its restore image.
  f.Mouse(WM_NCMOUSEMOVE, mx, my);
  f.Mouse(WM_NCLBUTTONDOWN, mx, my);
  f.Mouse(WM_NCMOUSEMOVE, 400, 10);
  // While the button holds the mouse, another object under it counts as none.
  f.Mouse(WM_NCMOUSEMOVE, (f.frame->StdButton(cmClose)->ObjectRect.Left + 4), 10);
  EXPECT_EQ(f.frame->HoverIndex(), -1);
  f.Mouse(WM_NCMOUSEMOVE, mx, my);
  EXPECT_TRUE(max->Highlighted);
  f.Mouse(WM_NCLBUTTONUP, mx, my);
  EXPECT_EQ(f.frame->WindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(closeQueries, 0);

  // A right press does not press a standard button.
  TbsSkinStdButtonObject* roll = f.frame->StdButton(cmRollUp);
  const int rx = (roll->ObjectRect.Left + roll->ObjectRect.Right) / 2;
  f.Mouse(WM_NCMOUSEMOVE, rx, 10);
  f.Mouse(WM_NCRBUTTONDOWN, rx, 10);
  f.Mouse(WM_NCRBUTTONUP, rx, 10);
  EXPECT_FALSE(f.frame->RollUpState());

  // Double click on the system-menu button: the form is asked to close.
  TbsSkinStdButtonObject* sys = f.frame->StdButton(cmSysMenu);
  const int sx = (sys->ObjectRect.Left + sys->ObjectRect.Right) / 2,
            sy = (sys->ObjectRect.Top + sys->ObjectRect.Bottom) / 2;
  f.Mouse(WM_NCMOUSEMOVE, sx, sy);
  f.Mouse(WM_NCLBUTTONDBLCLK, sx, sy);
  EXPECT_EQ(closeQueries, 1);
  f.Mouse(WM_NCLBUTTONUP, sx, sy);

  // Object events carry the section name.
  QStringList events;
  f.frame->OnMouseEnterEvent = [&](TComponent*, const QString& id) { events << QStringLiteral("enter ") + id; };
  f.frame->OnMouseLeaveEvent = [&](TComponent*, const QString& id) { events << QStringLiteral("leave ") + id; };
  f.Mouse(WM_NCMOUSEMOVE, rx, 10);
  f.Mouse(WM_NCMOUSEMOVE, 400, 300);
  EXPECT_EQ(events, QStringList({QStringLiteral("leave sysmenubutton"), QStringLiteral("enter rollupbutton"),
                                 QStringLiteral("leave rollupbutton")}));
}

TEST(SkinFormFrame, ButtonsWithoutTheirIconAndTheFade) {
  Framed f;
  f.Activate();
  f.frame->SetBorderIcons(biSystemMenu | biMinimize | biRollUp);
  f.frame->ChangeSkinData();
  TbsSkinStdButtonObject* max = f.frame->StdButton(cmMaximize);
  ASSERT_NE(max, nullptr);
  // Drawn in the main picture: it stays visible but does not react.
  EXPECT_TRUE(max->IsVisible);
  EXPECT_FALSE(max->IsEnabled);
  const int mx = max->ObjectRect.Left + 4, my = max->ObjectRect.Top + 4;
  f.Mouse(WM_NCMOUSEMOVE, mx, my);
  EXPECT_FALSE(max->Highlighted);
  f.Mouse(WM_NCLBUTTONDOWN, mx, my);
  f.Mouse(WM_NCLBUTTONUP, mx, my);
  EXPECT_EQ(f.frame->WindowState(), TWindowState::wsNormal);

  // The close button fades in 0.1 steps on the 20 ms timer and then stops it.
  TbsSkinStdButtonObject* close = f.frame->StdButton(cmClose);
  ASSERT_TRUE(close->morphing);
  f.Mouse(WM_NCMOUSEMOVE, close->ObjectRect.Left + 4, close->ObjectRect.Top + 4);
  f.frame->HoverTimer().SetEnabled(false);  // the pointer is not really there
  EXPECT_TRUE(close->Highlighted);
  EXPECT_TRUE(f.frame->FadeTimer().Enabled());
  EXPECT_EQ(f.frame->FadeTimer().Interval(), 20);
  EXPECT_EQ(close->MorphFactor, 0);
  for (int i = 0; i < 500 && f.frame->FadeTimer().Enabled(); ++i) QTest::qWait(10);
  EXPECT_FALSE(f.frame->FadeTimer().Enabled());
  EXPECT_DOUBLE_EQ(close->MorphFactor, 1);
  // Fully faded: the active image at the button's place.
  const QImage img = f.Paint();
  const TBitmap* hot = f.data->ActivePicture(0);
  ASSERT_NE(hot, nullptr);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 9; ++x)
      ASSERT_EQ(Rgb(img, close->ObjectRect.Left + x, close->ObjectRect.Top + y), Rgb(*hot, x, y)) << x << "," << y;
}

TEST(SkinFormFrame, CaptionTextColoursFollowTheActivation) {
  Framed f;
  f.form->SetCaption(QStringLiteral("Ledger"));
  auto colours = [&](const QImage& img) {
    QSet<uint32_t> c;
    const TbsActiveSkinObject* cap = f.frame->ObjectByName(QStringLiteral("caption1"));
    for (int y = cap->ObjectRect.Top; y < cap->ObjectRect.Bottom; ++y)
      for (int x = cap->ObjectRect.Left; x < cap->ObjectRect.Right; ++x) c.insert(Rgb(img, x, y));
    return c;
  };
  f.Activate(false);
  const QSet<uint32_t> inactive = colours(f.Paint());
  EXPECT_TRUE(inactive.contains(12632256u));     // fontcolor
  EXPECT_TRUE(inactive.contains(Rgb(4210752)));  // shadowcolor
  EXPECT_FALSE(inactive.contains(0xFFFFFFu));
  f.Activate(true);
  const QSet<uint32_t> active = colours(f.Paint());
  EXPECT_TRUE(active.contains(0xFFFFFFu));     // activefontcolor
  EXPECT_TRUE(active.contains(Rgb(2105376)));  // activeshadowcolor
  EXPECT_FALSE(active.contains(12632256u));

  // A caption wider than its area ends in "..." and stays inside the area.
  f.form->SetCaption(QString(300, QLatin1Char('W')));
  const QImage img = f.Paint();
  for (int y = 3; y < 18; ++y) {
    for (int x = 20; x < 41 + 2; ++x) ASSERT_NE(Rgb(img, x, y), 0xFFFFFFu) << x << "," << y;
  }
  QImage scratch(10, 10, QImage::Format_RGB32);
  TCanvas c(&scratch);
  c.Font.Name = QStringLiteral("Arial");
  c.Font.Height = 14;
  const QString shortText = EllipsizeText(c, QString(300, QLatin1Char('W')), 100);
  EXPECT_TRUE(shortText.endsWith(QStringLiteral("...")));
  EXPECT_LE(c.TextWidth(shortText), 100);
  EXPECT_GT(c.TextWidth(shortText + QLatin1Char('W')), 100 - c.TextWidth(QStringLiteral("W")));
  EXPECT_EQ(EllipsizeText(c, QStringLiteral("fits"), 100), QStringLiteral("fits"));
}

TEST(SkinFormFrame, PlainFrameLayoutInsetAndHitTest) {
  Framed f(300, 200, nullptr);
  ASSERT_FALSE(f.frame->Skinned());
  EXPECT_TRUE(f.frame->WindowRegion().isEmpty());
  EXPECT_EQ(f.form->ClientRect(), TRect(0, 0, 294, 200 - 22 - 3));
  f.Activate();
  const QImage img = f.Paint();  // creates the default buttons
  EXPECT_EQ(f.frame->StdButton(cmClose)->ObjectRect, TRect(280, 4, 297, 21));
  EXPECT_EQ(f.frame->StdButton(cmMaximize)->ObjectRect, TRect(263, 4, 280, 21));
  EXPECT_EQ(f.frame->StdButton(cmMinimize)->ObjectRect, TRect(246, 4, 263, 21));
  EXPECT_EQ(f.frame->StdButton(cmRollUp)->ObjectRect, TRect(229, 4, 246, 21));
  EXPECT_EQ(f.frame->StdButton(cmSysMenu)->ObjectRect, TRect(3, 4, 20, 21));
  EXPECT_EQ(f.frame->PlainCaptionRect, TRect(20, 3, 229, 19));
  // Outlines: outer edge cl3DLight / cl3DDkShadow, then highlight / shadow, then face.
  EXPECT_EQ(Rgb(img, 100, 0), Rgb(cl3DLight));
  EXPECT_EQ(Rgb(img, 100, 199), Rgb(cl3DDkShadow));
  EXPECT_EQ(Rgb(img, 1, 100), Rgb(clBtnHighlight));
  EXPECT_EQ(Rgb(img, 298, 100), Rgb(clBtnShadow));
  EXPECT_EQ(Rgb(img, 2, 100), Rgb(clBtnFace));
  EXPECT_EQ(Rgb(img, 100, 100), 0xFFFFFFu);  // the client area is not painted
  // The ridges: highlight on row 2 of the caption image, shadow on row 3.
  EXPECT_EQ(Rgb(img, 30, 3 + 2), Rgb(clBtnHighlight));
  EXPECT_EQ(Rgb(img, 30, 3 + 3), Rgb(clBtnShadow));

  EXPECT_EQ(f.Hit(1, 1), HTTOPLEFT);
  EXPECT_EQ(f.Hit(299, 199), HTBOTTOMRIGHT);
  EXPECT_EQ(f.Hit(100, 10), HTCAPTION);
  EXPECT_EQ(f.Hit(100, 100), HTCLIENT);
  EXPECT_EQ(f.Hit(285, 10), HTOBJECT);

  // The default buttons work like skinned ones.
  f.Mouse(WM_NCMOUSEMOVE, 237, 10);
  f.Mouse(WM_NCLBUTTONDOWN, 237, 10);
  f.Mouse(WM_NCLBUTTONUP, 237, 10);
  EXPECT_TRUE(f.frame->RollUpState());
  EXPECT_EQ(f.form->Height(), 25);

  // Without biMaximize the minimize button moves into its place.
  f.frame->SetBorderIcons(biSystemMenu | biMinimize | biRollUp);
  f.Paint();
  EXPECT_FALSE(f.frame->StdButton(cmMaximize)->IsVisible);
  EXPECT_EQ(f.frame->StdButton(cmMinimize)->ObjectRect, TRect(263, 4, 280, 21));

  Framed tool(200, 100, nullptr, TFormBorderStyle::bsToolWindow);
  tool.frame->SetRollUpState(true);
  EXPECT_EQ(tool.form->Height(), 21);
}

TEST(SkinFormFrame, SwitchingToAnEmptySkinAndBackLeavesNothingStale) {
  Framed f;
  f.Activate();
  TbsSkinStdButtonObject* close = f.frame->StdButton(cmClose);
  f.Mouse(WM_NCMOUSEMOVE, close->ObjectRect.Left + 3, close->ObjectRect.Top + 3);
  f.Mouse(WM_NCLBUTTONDOWN, close->ObjectRect.Left + 3, close->ObjectRect.Top + 3);
  ASSERT_GE(f.frame->CaptureIndex(), 0);

  auto* empty = new TbsSkinData(f.form.get());
  f.frame->SetSkinData(empty);
  EXPECT_FALSE(f.frame->Skinned());
  EXPECT_EQ(f.frame->HoverIndex(), -1);
  EXPECT_EQ(f.frame->CaptureIndex(), -1);
  EXPECT_TRUE(f.frame->WindowRegion().isEmpty());
  EXPECT_EQ(f.form->ClientRect().Height(), 600 - 25);
  f.Mouse(WM_NCLBUTTONUP, 300, 300);  // the release of the old press finds nothing
  f.Paint();
  EXPECT_EQ(f.frame->Objects().size(), 5u);  // the plain frame's buttons
  EXPECT_EQ(f.Hit(300, 10), HTCAPTION);

  f.frame->SetSkinData(f.data);
  EXPECT_TRUE(f.frame->Skinned());
  EXPECT_EQ(f.frame->StdButton(cmClose)->ObjectRect, TRect(779, 6, 788, 15));
  EXPECT_FALSE(f.frame->WindowRegion().isEmpty());
  EXPECT_EQ(f.Hit(783, 10), HTOBJECT);
  f.Paint();

  // The skin data going away while a button is hovered.
  f.Mouse(WM_NCMOUSEMOVE, 783, 10);
  delete f.data;
  EXPECT_FALSE(f.frame->Skinned());
  EXPECT_EQ(f.frame->HoverIndex(), -1);
  f.Mouse(WM_NCMOUSEMOVE, 783, 10);
  f.Paint();
}

}  // namespace

namespace {

TEST(SkinFormFrame, LiveSizingReshapesBeforeTheWindowChanges) {
  Framed f(400, 300);
  const QRegion before = f.frame->WindowRegion();
  f.form->Perform(WM_ENTERSIZEMOVE);
  EXPECT_TRUE(f.frame->InSizeMove());
  TRect proposed(0, 0, 500, 350);
  f.form->Perform(WM_SIZING, 8, reinterpret_cast<intptr_t>(&proposed));
  // Region and frame follow the proposed size while the window still has the old one.
  EXPECT_EQ(f.form->Width(), 400);
  EXPECT_EQ(f.frame->WindowWidth(), 500);
  EXPECT_EQ(f.frame->WindowRegion().boundingRect(), QRect(0, 0, 500, 350));
  EXPECT_EQ(f.frame->StdButton(cmClose)->ObjectRect, TRect(155 + 324, 6, 164 + 324, 15));
  f.form->SetBounds(0, 0, 500, 350);
  f.form->Perform(WM_EXITSIZEMOVE);
  EXPECT_FALSE(f.frame->InSizeMove());
  EXPECT_EQ(f.frame->WindowRegion().boundingRect(), QRect(0, 0, 500, 350));
  EXPECT_NE(f.frame->WindowRegion(), before);

  // The limits the sizing loop asks for: the frame's minimum, the work area's maximum.
  TMinMaxInfo info;
  f.form->Perform(WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
  EXPECT_EQ(info.MinTrackSize, TPoint(176, 56));
  EXPECT_EQ(info.MaxTrackSize,
            TPoint(TScreen::Instance().WorkAreaRect().Width(), TScreen::Instance().WorkAreaRect().Height()));
  // A drag that ends at another size than proposed still leaves a matching frame.
  f.form->Perform(WM_ENTERSIZEMOVE);
  proposed = TRect(0, 0, 600, 400);
  f.form->Perform(WM_SIZING, 8, reinterpret_cast<intptr_t>(&proposed));
  f.form->SetBounds(0, 0, 550, 380);
  f.form->Perform(WM_EXITSIZEMOVE);
  EXPECT_EQ(f.frame->WindowWidth(), 550);
  EXPECT_EQ(f.frame->WindowRegion().boundingRect(), QRect(0, 0, 550, 380));
}

TEST(SkinFormFrame, TheInactiveLookFollowsTheActiveWindow) {
  Framed a(400, 300), b(400, 300);
  a.form->SetCaption(QStringLiteral("First"));
  b.form->SetCaption(QStringLiteral("Second"));
  b.form->SetBounds(420, 0, 400, 300);
  int activations = 0, deactivations = 0;
  a.frame->OnActivate = [&](TComponent*) { ++activations; };
  a.frame->OnDeActivate = [&](TComponent*) { ++deactivations; };
  a.form->Show();
  b.form->Show();
  auto captionHas = [](Framed& f, uint32_t colour) {
    const QImage img = f.Paint();
    const TRect r = f.frame->ObjectByName(QStringLiteral("caption1"))->ObjectRect;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x)
        if (Rgb(img, x, y) == colour) return true;
    return false;
  };
  a.form->Handle()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(a.form->Handle()));
  EXPECT_TRUE(a.form->Active());
  EXPECT_TRUE(a.frame->ObjectByName(QStringLiteral("caption1"))->Highlighted);
  EXPECT_TRUE(captionHas(a, 0xFFFFFF));
  EXPECT_GE(activations, 1);
  b.form->Handle()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(b.form->Handle()));
  EXPECT_FALSE(a.form->Active());
  EXPECT_FALSE(a.frame->ObjectByName(QStringLiteral("caption1"))->Highlighted);
  EXPECT_FALSE(captionHas(a, 0xFFFFFF));
  EXPECT_TRUE(captionHas(a, 12632256));
  EXPECT_TRUE(captionHas(b, 0xFFFFFF));
  EXPECT_GE(deactivations, 1);
}

TEST(SkinFormFrame, TranslucencyAndTheFadeIn) {
  {
    Framed f(300, 200);
    f.frame->SetAlphaBlendValue(180);
    f.frame->SetAlphaBlend(true);
    EXPECT_TRUE(f.form->AlphaBlend());
    EXPECT_EQ(f.form->AlphaBlendValue(), 180);
    f.form->Show();
    // Shown: alpha 0 first, then the value once the one-shot timer has run.
    for (int i = 0; i < 200 && f.form->AlphaBlendValue() != 180; ++i) QTest::qWait(5);
    EXPECT_EQ(f.form->AlphaBlendValue(), 180);
    EXPECT_NEAR(f.form->Handle()->windowOpacity(), 180 / 255.0, 0.01);
    f.frame->SetAlphaBlend(false);
    EXPECT_FALSE(f.form->AlphaBlend());
  }
  {
    Framed f(300, 200);
    f.frame->AlphaBlendAnimation = true;
    f.form->Show();
    EXPECT_TRUE(f.form->AlphaBlend());  // faded in from 0 ...
    for (int i = 0; i < 200 && f.form->AlphaBlend(); ++i) QTest::qWait(5);
    EXPECT_FALSE(f.form->AlphaBlend());  // ... to opaque, no longer layered
    EXPECT_EQ(f.form->AlphaBlendValue(), 255);
  }
  {
    // Neither set: never layered.
    Framed f(300, 200);
    f.form->Show();
    QTest::qWait(20);
    EXPECT_FALSE(f.form->AlphaBlend());
  }
}

}  // namespace

namespace {

// Forms framed by one skin share its shapes and widened pictures; a new skin replaces them all.
TEST(SkinFormFrame, SharedShapesAndPicturesFollowASkinChange) {
  Framed a(400, 300);
  Framed b(400, 300, nullptr);
  b.frame->SetSkinData(a.data);
  ASSERT_TRUE(b.frame->Skinned());
  const QRegion shape = a.frame->WindowRegion();
  ASSERT_FALSE(shape.isEmpty());
  EXPECT_NE(shape, QRegion(0, 0, 400, 300));  // the daylight mask cuts the corners
  EXPECT_EQ(b.frame->WindowRegion(), shape);
  EXPECT_GE(a.data->FrameCache.ShapeCount(), 1u);
  EXPECT_LE(a.data->FrameCache.ShapeCount(), TSkinFrameCache::kMaxShapes);
  a.Activate();
  b.Activate();
  const QImage daylight = a.Paint();
  EXPECT_EQ(b.Paint(), daylight);

  // The same skin with a mask that keeps every pixel and a picture in other colours.
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SkinIni("daylight"));
  QImage full(stored.mask.Width(), stored.mask.Height(), QImage::Format_RGB32);
  full.fill(Qt::black);
  stored.mask.SetImage(full);
  QImage inverted = stored.picture.Image().convertToFormat(QImage::Format_RGB32);
  inverted.invertPixels();
  stored.picture.SetImage(inverted);
  a.data->LoadFromStoredSkin(stored);
  ASSERT_TRUE(a.frame->Skinned());
  EXPECT_EQ(a.frame->WindowRegion(), QRegion(0, 0, 400, 300));
  EXPECT_EQ(b.frame->WindowRegion(), QRegion(0, 0, 400, 300));
  EXPECT_TRUE(a.frame->PointInMask(TPoint(0, 0)));

  // A form with a skin data of its own, never shared, paints what the shared one now paints.
  Framed alone(400, 300, nullptr);
  auto* own = new TbsSkinData(alone.form.get());
  own->LoadFromStoredSkin(stored);
  alone.frame->SetSkinData(own);
  alone.Activate();
  a.Activate();
  const QImage changed = a.Paint();
  EXPECT_NE(changed, daylight);
  EXPECT_EQ(alone.Paint(), changed);

  // Back to the stored skin: its shape again, not the full one.
  LoadSkin(a.data, "daylight");
  EXPECT_EQ(a.frame->WindowRegion(), shape);
  EXPECT_EQ(b.frame->WindowRegion(), shape);
  EXPECT_EQ(a.Paint(), daylight);
}

}  // namespace
