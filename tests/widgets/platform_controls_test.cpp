// Controls and forms on real (offscreen) Qt widgets: messages, the window procedure hook,
// alignment, painting, mouse routing and the application's failure handling.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "support/WidgetTest.h"
#include "tests/TestUtil.h"
#include "platform/Colors.h"
#include "platform/Controls.h"
#include "platform/Dialogs.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"

namespace {

constexpr uint32_t WM_ASK = WM_USER + 7;

class Probe : public TCustomControl {
 public:
  explicit Probe(TComponent* owner) : TCustomControl(owner) {}
  std::vector<uint32_t> seen;
  TColor fill = clRed;
  void WndProc(TMessage& m) override {
    seen.push_back(m.Msg);
    if (m.Msg == WM_ASK) {
      m.Result = m.WParam * 10 + m.LParam;
      return;
    }
    TCustomControl::WndProc(m);
  }

 protected:
  void Paint() override {
    Canvas().Brush.Color = fill;
    Canvas().FillRect(ClientRect());
  }
};

class Mark : public TGraphicControl {
 public:
  explicit Mark(TComponent* owner) : TGraphicControl(owner) {}
  int clicks = 0;
  TPoint lastDown;

 protected:
  void Paint() override {
    Canvas().Brush.Color = clBlue;
    Canvas().FillRect(TRect(0, 0, Width(), Height()));
  }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    lastDown = TPoint(x, y);
    TGraphicControl::MouseDown(b, s, x, y);
  }
  void Click() override { ++clicks; }
};

QRgb PixelAt(QWidget* w, int x, int y) { return w->grab().toImage().pixel(x, y); }

}  // namespace

TEST(PlatformControls, PerformGoesThroughWindowProcAndHooksSeeMessagesFirst) {
  TForm form(nullptr);
  Probe* p = new Probe(&form);
  p->SetParent(&form);
  EXPECT_EQ(p->Perform(WM_ASK, 4, 2), 42);

  // A hook installed over WindowProc sees the message first and may answer it alone.
  std::vector<uint32_t> hooked;
  TWndMethod old = p->WindowProc;
  p->WindowProc = [&](TMessage& m) {
    hooked.push_back(m.Msg);
    if (m.Msg == WM_ASK && m.WParam == 0) {
      m.Result = -1;
      return;
    }
    old(m);
  };
  p->seen.clear();
  EXPECT_EQ(p->Perform(WM_ASK, 0, 5), -1);
  EXPECT_TRUE(p->seen.empty());
  EXPECT_EQ(p->Perform(WM_ASK, 1, 5), 15);
  EXPECT_EQ(hooked.size(), 2u);
  EXPECT_EQ(p->seen, std::vector<uint32_t>{WM_ASK});

  // Qt events arrive as messages through the same hook.
  form.SetBounds(10, 10, 200, 100);
  p->SetBounds(5, 5, 50, 30);
  form.Show();
  hooked.clear();
  SendMouse(p->Handle(), QEvent::MouseButtonPress, QPoint(3, 4));
  SendMouse(p->Handle(), QEvent::MouseButtonRelease, QPoint(3, 4));
  ASSERT_GE(hooked.size(), 2u);
  EXPECT_EQ(hooked[0], WM_LBUTTONDOWN);
  EXPECT_EQ(hooked[1], WM_LBUTTONUP);
}

TEST(PlatformControls, ClickComesOnReleaseInsideOnly) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  Probe* p = new Probe(&form);
  p->SetParent(&form);
  p->SetBounds(10, 10, 40, 40);
  int clicks = 0;
  p->OnClick = [&](TComponent* s) {
    EXPECT_EQ(s, p);
    ++clicks;
  };
  form.Show();
  SendMouse(p->Handle(), QEvent::MouseButtonPress, QPoint(5, 5));
  SendMouse(p->Handle(), QEvent::MouseButtonRelease, QPoint(5, 5));
  EXPECT_EQ(clicks, 1);
  SendMouse(p->Handle(), QEvent::MouseButtonPress, QPoint(5, 5));
  SendMouse(p->Handle(), QEvent::MouseButtonRelease, QPoint(60, 5));  // released outside
  EXPECT_EQ(clicks, 1);
  // Right button never clicks.
  SendMouse(p->Handle(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton);
  SendMouse(p->Handle(), QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton);
  EXPECT_EQ(clicks, 1);
}

TEST(PlatformControls, AlignmentFillsTheClientAreaInPlatformOrder) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 400, 300);
  auto make = [&](TAlign a, int l, int t, int w, int h) {
    auto* c = new Probe(&form);
    c->SetBounds(l, t, w, h);
    c->SetParent(&form);
    c->SetAlign(a);
    return c;
  };
  Probe* top2 = make(TAlign::alTop, 0, 50, 10, 20);   // stored lower: placed second
  Probe* top1 = make(TAlign::alTop, 0, 0, 10, 30);
  Probe* bottom = make(TAlign::alBottom, 0, 0, 10, 25);
  Probe* left = make(TAlign::alLeft, 0, 0, 40, 10);
  Probe* right = make(TAlign::alRight, 0, 0, 60, 10);
  Probe* client = make(TAlign::alClient, 0, 0, 1, 1);

  EXPECT_EQ(top1->BoundsRect(), Bounds(0, 0, 400, 30));
  EXPECT_EQ(top2->BoundsRect(), Bounds(0, 30, 400, 20));
  EXPECT_EQ(bottom->BoundsRect(), Bounds(0, 275, 400, 25));
  EXPECT_EQ(left->BoundsRect(), Bounds(0, 50, 40, 225));
  EXPECT_EQ(right->BoundsRect(), Bounds(340, 50, 60, 225));
  EXPECT_EQ(client->BoundsRect(), Bounds(40, 50, 300, 225));

  // The parent's new size realigns; a hidden control gives its room to the others.
  form.SetBounds(0, 0, 500, 400);
  EXPECT_EQ(client->BoundsRect(), Bounds(40, 50, 400, 325));
  top2->SetVisible(false);
  EXPECT_EQ(left->BoundsRect(), Bounds(0, 30, 40, 345));
  EXPECT_EQ(client->BoundsRect(), Bounds(40, 30, 400, 345));
  // Changing an aligned control's height moves its neighbours.
  top1->SetHeight(100);
  EXPECT_EQ(client->BoundsRect(), Bounds(40, 100, 400, 275));
  // The widgets follow the bounds once they exist.
  form.Show();
  EXPECT_EQ(client->Handle()->geometry(), QRect(40, 100, 400, 275));
}

TEST(PlatformControls, NonClientInsetFromHookMovesTheClientArea) {
  TForm form(nullptr);
  TWndMethod old = form.WindowProc;
  int ncPaints = 0;
  form.WindowProc = [&](TMessage& m) {
    if (m.Msg == WM_NCCALCSIZE) {
      auto* r = reinterpret_cast<TRect*>(m.LParam);
      r->Left += 5;
      r->Top += 20;
      r->Right -= 7;
      r->Bottom -= 3;
      return;
    }
    if (m.Msg == WM_NCPAINT && m.WParam) {
      ++ncPaints;
      auto* c = reinterpret_cast<TCanvas*>(m.WParam);
      c->Brush.Color = clLime;
      c->FillRect(TRect(0, 0, form.Width(), form.Height()));
      return;
    }
    old(m);
  };
  form.FrameChanged();
  form.SetBounds(0, 0, 200, 120);
  EXPECT_EQ(form.ClientWidth(), 188);
  EXPECT_EQ(form.ClientHeight(), 97);
  EXPECT_EQ(form.ClientOrigin(), TPoint(5, 20));
  Probe* full = new Probe(&form);
  full->SetParent(&form);
  full->SetAlign(TAlign::alClient);
  EXPECT_EQ(full->BoundsRect(), Bounds(0, 0, 188, 97));
  form.Show();
  const QImage img = form.Handle()->grab().toImage();
  EXPECT_EQ(img.pixel(2, 2), qRgb(0, 255, 0));      // frame
  EXPECT_EQ(img.pixel(10, 30), qRgb(255, 0, 0));    // client, covered by the probe
  EXPECT_EQ(img.pixel(197, 60), qRgb(0, 255, 0));   // right border
  EXPECT_GT(ncPaints, 0);
  // Hit testing: the default window procedure answers HTCLIENT only inside the client area.
  const QPoint inside = form.Handle()->mapToGlobal(QPoint(10, 30));
  const QPoint border = form.Handle()->mapToGlobal(QPoint(2, 2));
  EXPECT_EQ(form.Perform(WM_NCHITTEST, 0, MakeLParam(inside.x(), inside.y())), HTCLIENT);
  EXPECT_EQ(form.Perform(WM_NCHITTEST, 0, MakeLParam(border.x(), border.y())), HTNOWHERE);
}

TEST(PlatformControls, GraphicChildrenPaintOnTheParentAndGetTheirMouse) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  Probe* host = new Probe(&form);
  host->SetParent(&form);
  host->SetBounds(0, 0, 200, 100);
  host->fill = clWhite;
  Mark* mark = new Mark(&form);
  mark->SetParent(host);
  mark->SetBounds(50, 20, 30, 10);
  form.Show();
  EXPECT_EQ(PixelAt(host->Handle(), 55, 25), qRgb(0, 0, 255));
  EXPECT_EQ(PixelAt(host->Handle(), 49, 25), qRgb(255, 255, 255));
  EXPECT_EQ(PixelAt(host->Handle(), 80, 25), qRgb(255, 255, 255));

  int hostClicks = 0;
  host->OnClick = [&](TComponent*) { ++hostClicks; };
  SendMouse(host->Handle(), QEvent::MouseButtonPress, QPoint(60, 25));
  SendMouse(host->Handle(), QEvent::MouseButtonRelease, QPoint(60, 25));
  EXPECT_EQ(mark->clicks, 1);
  EXPECT_EQ(mark->lastDown, TPoint(10, 5));  // in the mark's own coordinates
  EXPECT_EQ(hostClicks, 0);
  SendMouse(host->Handle(), QEvent::MouseButtonPress, QPoint(10, 10));
  SendMouse(host->Handle(), QEvent::MouseButtonRelease, QPoint(10, 10));
  EXPECT_EQ(hostClicks, 1);
  EXPECT_EQ(mark->clicks, 1);
  // A hidden graphic control is neither painted nor hit.
  mark->SetVisible(false);
  EXPECT_EQ(PixelAt(host->Handle(), 55, 25), qRgb(255, 255, 255));
}

TEST(PlatformControls, FailuresInHandlersShowTheBoxAndTheProgramGoesOn) {
  ASSERT_NE(Application, nullptr);
  EXPECT_EQ(TApplication::TitleFor(QStringLiteral("/opt/x/LEDGERLY.EXE")), QStringLiteral("Ledgerly"));
  EXPECT_EQ(TApplication::TitleFor(QStringLiteral("/opt/x/ledgerly")), QStringLiteral("ledgerly"));
  EXPECT_EQ(TApplication::TitleFor(QStringLiteral("qUERY.Tool.exe")), QStringLiteral("query.tool"));
  EXPECT_EQ(Application->Title(), TApplication::TitleFor(Application->ExeName()));
  std::vector<std::pair<QString, QString>> boxes;
  SetMessageBoxObserver([&](const QString& text, const QString& caption, uint32_t flags) {
    boxes.emplace_back(text, caption);
    EXPECT_EQ(flags, MB_OK | MB_ICONSTOP);
    // Close the box as soon as it is up.
    QTimer::singleShot(0, [] {
      if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
  });
  TForm form(nullptr);
  form.SetBounds(0, 0, 100, 100);
  Probe* p = new Probe(&form);
  p->SetParent(&form);
  p->SetBounds(0, 0, 50, 50);
  p->OnClick = [](TComponent*) { throw EDatabaseError(QStringLiteral("Table unknown")); };
  form.Show();
  SendMouse(p->Handle(), QEvent::MouseButtonPress, QPoint(5, 5));
  SendMouse(p->Handle(), QEvent::MouseButtonRelease, QPoint(5, 5));
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].first, QStringLiteral("Table unknown."));
  EXPECT_EQ(boxes[0].second, Application->Title());
  // A message ending in a character that sorts before "." gets no full stop.
  p->OnClick = [](TComponent*) { throw EConvertError(QStringLiteral("bad value -")); };
  SendMouse(p->Handle(), QEvent::MouseButtonPress, QPoint(5, 5));
  SendMouse(p->Handle(), QEvent::MouseButtonRelease, QPoint(5, 5));
  ASSERT_EQ(boxes.size(), 2u);
  EXPECT_EQ(boxes[1].first, QStringLiteral("bad value -"));
  EXPECT_TRUE(form.Showing());
  SetMessageBoxObserver(nullptr);

  const QString startup = Application->StartupFailureText(QStringLiteral("EDatabaseError"), QStringLiteral("no file"));
  EXPECT_TRUE(startup.startsWith(QStringLiteral("Exception EDatabaseError in module ") + Application->ExeFileName() +
                                 QStringLiteral(" at ")));
  EXPECT_TRUE(startup.endsWith(QStringLiteral(".\nno file.")));
}

TEST(PlatformControls, ClosingTheMainFormEndsTheLoop) {
  auto* form = Application->CreateForm<TForm>();
  ASSERT_EQ(Application->MainForm(), form);
  ASSERT_FALSE(Application->Forms().empty());
  EXPECT_EQ(Application->Forms().back(), form);
  int shows = 0, closes = 0;
  form->OnShow = [&](TComponent*) { ++shows; };
  form->OnClose = [&](TComponent*, TCloseAction&) { ++closes; };
  // Closing through the window (a platform close request) once the loop runs.
  QTimer::singleShot(0, [form] { form->Handle()->close(); });
  EXPECT_EQ(Application->Run(), 0);
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_FALSE(form->Showing());
  delete form;
  EXPECT_EQ(Application->MainForm(), nullptr);
}

TEST(PlatformControls, AFormHookSeesTheKeysOfItsControlsFirst) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 100, 100);
  Probe* p = new Probe(&form);
  p->SetParent(&form);
  p->SetBounds(0, 0, 50, 50);
  p->SetTabStop(true);
  std::vector<uint16_t> down;
  p->OnKeyDown = [&](TComponent*, uint16_t& key, TShiftState) { down.push_back(key); };
  TWndMethod old = form.WindowProc;
  std::vector<std::pair<intptr_t, intptr_t>> previewed;
  form.WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_CHILDKEY) {
      previewed.emplace_back(m.WParam, m.LParam);
      if (m.WParam == VK_ESCAPE) {
        m.Result = 1;  // taken by the form
        return;
      }
    }
    old(m);
  };
  form.Show();
  for (int key : {Qt::Key_A, Qt::Key_Escape, Qt::Key_Down}) {
    QKeyEvent e(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(p->Handle(), &e);
  }
  EXPECT_EQ(down, (std::vector<uint16_t>{'A', VK_DOWN}));
  ASSERT_EQ(previewed.size(), 3u);
  EXPECT_EQ(previewed[1].first, VK_ESCAPE);
  EXPECT_EQ(previewed[1].second, reinterpret_cast<intptr_t>(static_cast<TWinControl*>(p)));
}
