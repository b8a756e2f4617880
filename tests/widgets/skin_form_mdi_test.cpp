// Frame components on an MDI parent and its children, with the stored skin (Daylight) and
// without one: the parent's combined caption while a child is maximized, the maximized child
// without a frame over the whole MDI client area, refitting when the parent's size changes,
// minimized children parked side by side at the bottom of the MDI client area, dragging a
// child's caption inside the client area with magnetic edges, activation by a mouse press,
// skin changes and going away in any order.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>
#include <memory>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Colors.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/MDIClient.h"
#include "platform/Menus.h"
#include "platform/SizeMoveLoop.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"
#include "tests/TestUtil.h"

inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

void LoadSkin(TbsSkinData* data, const char* folder) {
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(SourceDir() + QStringLiteral("/skins/%1/SKIN.INI").arg(QLatin1String(folder)));
  data->LoadFromStoredSkin(stored);
}

// A skinned MDI parent "Books" (the application's main form) with `n` children "Ledger i".
struct Mdi {
  explicit Mdi(const char* skin = "daylight", int n = 3) {
    parent = Application->CreateForm<TForm>();
    parent->SetFormStyle(TFormStyle::fsMDIForm);
    parent->SetCaption(QStringLiteral("Books"));
    parent->SetBounds(0, 0, 780, 560);
    pframe = new TbsSkinForm(parent);
    data = new TbsSkinData(parent);
    if (skin) LoadSkin(data, skin);
    pframe->SetSkinData(data);
    parent->Show();
    for (int i = 0; i < n; ++i) AddChild(QStringLiteral("Ledger %1").arg(i), 20 + 40 * i, 20 + 30 * i);
  }
  ~Mdi() {
    for (TForm* c : children) delete c;
    delete parent;
  }
  TForm* AddChild(const QString& caption, int x, int y) {
    auto* c = Application->CreateForm<TForm>();
    c->SetFormStyle(TFormStyle::fsMDIChild);
    c->SetCaption(caption);
    c->SetBounds(x, y, 320, 220);
    auto* f = new TbsSkinForm(c);
    f->SetSkinData(data);
    c->Show();
    children.push_back(c);
    frames.push_back(f);
    return c;
  }
  // Forgets child i (the caller frees it).
  TForm* Take(int i) {
    TForm* c = children[static_cast<size_t>(i)];
    children.erase(children.begin() + i);
    frames.erase(frames.begin() + i);
    return c;
  }
  // The non-client area of a form as its window paints it (white where nothing is painted).
  static QImage Paint(TCustomForm* form) {
    QImage img(form->Width(), form->Height(), QImage::Format_RGB32);
    img.fill(Qt::white);
    TCanvas canvas(&img);
    form->Perform(WM_NCPAINT, reinterpret_cast<intptr_t>(&canvas));
    return img;
  }
  TForm* parent;
  TbsSkinForm* pframe;
  TbsSkinData* data;
  std::vector<TForm*> children;
  std::vector<TbsSkinForm*> frames;
};

TRect BoundsOf(const TControl* c) { return c->BoundsRect(); }

bool AllWhite(const QImage& img) {
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) return false;
  return true;
}

TEST(SkinFormMdi, MaximizedChildHasNoFrameFillsTheClientAreaAndJoinsTheParentCaption) {
  Mdi m;
  ASSERT_EQ(Application->MainForm(), m.parent);
  ASSERT_TRUE(m.pframe->Skinned());
  ASSERT_EQ(m.parent->MDIChildCount(), 3);
  TForm* child = m.children[1];
  TbsSkinForm* frame = m.frames[1];
  const TRect area = m.pframe->MDIClientArea();
  // The MDI client window covers the parent's client area (no bars here).
  EXPECT_EQ(area, TRect(0, 0, m.parent->ClientWidth(), m.parent->ClientHeight()));
  EXPECT_EQ(BoundsOf(m.parent->MDIClient()), area);
  EXPECT_EQ(child->ClientOrigin(), TPoint(15, 33));
  const TRect before = child->BoundsRect();

  frame->SetWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(child->BoundsRect(), TRect(0, 0, area.Width(), area.Height()));
  // No frame: the client is the whole window, nothing is painted outside it, no shape.
  EXPECT_EQ(child->ClientOrigin(), TPoint(0, 0));
  EXPECT_EQ(child->ClientWidth(), area.Width());
  EXPECT_EQ(child->ClientHeight(), area.Height());
  EXPECT_TRUE(AllWhite(Mdi::Paint(child)));
  EXPECT_FALSE(child->HasWindowRegion());
  EXPECT_TRUE(m.pframe->MDIChildMaximized());
  EXPECT_EQ(m.pframe->MaximizedChildForm(), child);
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books - [Ledger 1]"));
  // The caption follows the child's text.
  child->SetCaption(QStringLiteral("Ledger one"));
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books - [Ledger one]"));
  // A child that is not maximized keeps its frame.
  EXPECT_EQ(m.children[0]->ClientOrigin(), TPoint(15, 33));

  frame->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(child->BoundsRect(), before);
  EXPECT_EQ(child->ClientOrigin(), TPoint(15, 33));
  EXPECT_FALSE(AllWhite(Mdi::Paint(child)));
  EXPECT_FALSE(m.pframe->MDIChildMaximized());
  EXPECT_EQ(m.pframe->MaximizedChildForm(), nullptr);
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books"));
}

TEST(SkinFormMdi, DestroyingOrClosingAMaximizedChildClearsTheCombinedCaption) {
  Mdi m;
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  m.frames[2]->SetWindowState(TWindowState::wsMaximized);
  // The active child wins when more than one is maximized.
  m.parent->MDIClient()->Activate(m.children[2]);
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books - [Ledger 2]"));
  delete m.Take(2);
  // Another one is still maximized: it shows.
  EXPECT_TRUE(m.pframe->MDIChildMaximized());
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books - [Ledger 0]"));
  delete m.Take(0);
  EXPECT_FALSE(m.pframe->MDIChildMaximized());
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books"));
  EXPECT_EQ(m.parent->MDIChildCount(), 1);
  EXPECT_EQ(m.parent->ActiveMDIChild(), m.children[0]);
  // Closing (hiding) a maximized child clears it as well; showing it again brings it back.
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  ASSERT_TRUE(m.pframe->MDIChildMaximized());
  m.children[0]->Close();
  EXPECT_FALSE(m.children[0]->Visible());
  EXPECT_FALSE(m.pframe->MDIChildMaximized());
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books"));
  m.children[0]->Show();
  EXPECT_TRUE(m.pframe->MDIChildMaximized());
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books - [Ledger 1]"));
}

TEST(SkinFormMdi, MinimizedChildrenParkSideBySideAtTheBottomOfTheClientArea) {
  Mdi m;
  for (TbsSkinForm* f : m.frames) f->SetWindowState(TWindowState::wsMinimized);
  const TRect area = m.pframe->MDIClientArea();
  const int w = m.frames[0]->GetMinWidth(), h = m.frames[0]->GetMinHeight();
  EXPECT_EQ(w, 176);
  EXPECT_EQ(h, 56);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(m.children[static_cast<size_t>(i)]->BoundsRect(), TRect(i * w, area.Height() - h, (i + 1) * w, area.Height()))
        << i;
  EXPECT_FALSE(m.pframe->MDIChildMaximized());
  // A narrow client area: two fit in a row, the third goes above them.
  m.parent->SetBounds(0, 0, 176 * 2 + 30, 560);
  const TRect narrow = m.pframe->MDIClientArea();
  ASSERT_LT(narrow.Width(), 3 * w);
  EXPECT_EQ(m.children[0]->BoundsRect().Top, narrow.Height() - h);
  EXPECT_EQ(m.children[1]->BoundsRect().Top, narrow.Height() - h);
  EXPECT_EQ(m.children[2]->BoundsRect(), TRect(0, narrow.Height() - 2 * h, w, narrow.Height() - h));
  // Restoring one takes it back where it was.
  m.frames[1]->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(m.children[1]->BoundsRect(), TRect(60, 50, 380, 270));
}

TEST(SkinFormMdi, ParentResizeRefitsMaximizedAndReparksMinimizedChildren) {
  Mdi m;
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  m.frames[1]->SetWindowState(TWindowState::wsMinimized);
  m.parent->SetBounds(0, 0, 720, 520);
  const TRect area = m.pframe->MDIClientArea();
  EXPECT_EQ(area.Width(), 720 - 15 - 13);
  EXPECT_EQ(area.Height(), 520 - 33 - 23);
  EXPECT_EQ(m.children[0]->BoundsRect(), TRect(0, 0, area.Width(), area.Height()));
  EXPECT_EQ(m.children[1]->BoundsRect(), TRect(0, area.Height() - 56, 176, area.Height()));
  // A bar aligned to the top takes its height off the area; the maximized child follows.
  auto* bar = new TbsSkinPanel(m.parent);
  bar->SetParent(m.parent);
  bar->SetHeight(40);
  bar->SetAlign(TAlign::alTop);
  const TRect less = m.pframe->MDIClientArea();
  EXPECT_EQ(less, TRect(0, 40, area.Width(), area.Height()));
  EXPECT_EQ(BoundsOf(m.parent->MDIClient()), less);
  EXPECT_EQ(m.children[0]->BoundsRect(), TRect(0, 0, less.Width(), less.Height()));
  EXPECT_EQ(m.children[1]->BoundsRect().Bottom, less.Height());
}

// Drives the platform's move loop the way the pointer does.
void Drag(TForm* child, const TPoint& from, const TPoint& to) {
  child->Perform(WM_NCLBUTTONDOWN, HTCAPTION, MakeLParam(from.X, from.Y));
  QWidget* w = child->Handle();
  ASSERT_EQ(SizeMoveLoop::ActiveForm(), child);
  const QPointF global(to.X, to.Y), local = w->mapFromGlobal(global);
  QMouseEvent move(QEvent::MouseMove, local, global, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &move);
  QMouseEvent up(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(w, &up);
  EXPECT_EQ(SizeMoveLoop::ActiveForm(), nullptr);
}

TEST(SkinFormMdi, DraggingAChildsCaptionMovesItInsideTheClientAreaWithMagneticEdges) {
  Mdi m;
  TForm* child = m.children[0];
  TbsSkinForm* frame = m.frames[0];
  // The caption of the child, on the screen, answers as the caption.
  const TPoint origin = frame->WindowScreenOrigin();
  const QPoint clientOnScreen = m.parent->MDIClient()->Handle()->mapToGlobal(QPoint(0, 0));
  EXPECT_EQ(origin, TPoint(clientOnScreen.x() + 20, clientOnScreen.y() + 20));
  const TPoint grab(origin.X + 100, origin.Y + 10);
  ASSERT_EQ(child->Perform(WM_NCHITTEST, 0, MakeLParam(grab.X, grab.Y)), HTCAPTION);
  EXPECT_EQ(frame->ScreenToWindowPoint(grab), TPoint(100, 10));

  Drag(child, grab, TPoint(grab.X + 70, grab.Y + 45));
  EXPECT_EQ(child->BoundsRect(), TRect(90, 65, 410, 285));

  // Magnetic: 4 pixels from the client area's left and top edges snaps onto them; 5 does not.
  frame->Magnetic = true;
  const TPoint g2(frame->WindowScreenOrigin().X + 100, frame->WindowScreenOrigin().Y + 10);
  Drag(child, g2, TPoint(g2.X - 86, g2.Y - 61));
  EXPECT_EQ(child->Left(), 0);
  EXPECT_EQ(child->Top(), 0);
  const TPoint g3(frame->WindowScreenOrigin().X + 100, frame->WindowScreenOrigin().Y + 10);
  Drag(child, g3, TPoint(g3.X + 5, g3.Y + 5));
  EXPECT_EQ(child->Left(), 5);
  EXPECT_EQ(child->Top(), 5);
  // The right and bottom edges of the client area.
  const TRect area = m.pframe->MDIClientArea();
  const TPoint g4(frame->WindowScreenOrigin().X + 100, frame->WindowScreenOrigin().Y + 10);
  Drag(child, g4, TPoint(g4.X + (area.Width() - 320 - 5) - 3, g4.Y + (area.Height() - 220 - 5) + 2));
  EXPECT_EQ(child->Left(), area.Width() - 320);
  EXPECT_EQ(child->Top(), area.Height() - 220);
}

TEST(SkinFormMdi, APressActivatesAChildAndTheCaptionsFollow) {
  Mdi m;
  // The last shown child is active and on top.
  EXPECT_EQ(m.parent->ActiveMDIChild(), m.children[2]);
  EXPECT_EQ(m.parent->MDIChildren(0), m.children[2]);
  EXPECT_TRUE(m.frames[2]->MDIActive());
  EXPECT_FALSE(m.frames[0]->MDIActive());
  EXPECT_TRUE(m.frames[2]->FormActive());
  // A press into the first child's client area activates it and raises it.
  QWidget* client = m.children[0]->ClientHandle();
  const QPointF at(5, 5), global = client->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(client, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(client, &release);
  EXPECT_EQ(m.parent->ActiveMDIChild(), m.children[0]);
  EXPECT_EQ(m.parent->MDIChildren(0), m.children[0]);
  EXPECT_TRUE(m.frames[0]->MDIActive());
  EXPECT_FALSE(m.frames[2]->MDIActive());
  EXPECT_TRUE(m.children[0]->Active());
  EXPECT_FALSE(m.children[2]->Active());
  const QObjectList& order = m.parent->MDIClient()->Handle()->children();
  EXPECT_EQ(order.back(), m.children[0]->Handle());
  // The parent going inactive takes the active child's caption along, and back.
  m.parent->Perform(WM_NCACTIVATE, 0);
  EXPECT_FALSE(m.frames[0]->MDIActive());
  m.parent->Perform(WM_NCACTIVATE, 1);
  EXPECT_TRUE(m.frames[0]->MDIActive());
  // Hiding the active child hands the activation on.
  m.children[0]->Hide();
  EXPECT_EQ(m.parent->MDIChildCount(), 2);
  EXPECT_NE(m.parent->ActiveMDIChild(), m.children[0]);
  ASSERT_NE(m.parent->ActiveMDIChild(), nullptr);
  EXPECT_TRUE(TbsSkinForm::FindSkinForm(m.parent->ActiveMDIChild())->MDIActive());
}

TEST(SkinFormMdi, WithoutASkinEveryFrameIsPlainAndTheSameRulesHold) {
  Mdi m(nullptr);
  ASSERT_FALSE(m.pframe->Skinned());
  TForm* child = m.children[0];
  EXPECT_EQ(child->ClientOrigin(), TPoint(3, 22));
  EXPECT_EQ(m.frames[0]->ScreenToWindowPoint(child->ClientToScreen(TPoint(0, 0))), TPoint(3, 22));
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  const TRect area = m.pframe->MDIClientArea();
  EXPECT_EQ(area, TRect(0, 0, 780 - 6, 560 - 25));
  EXPECT_EQ(child->BoundsRect(), TRect(0, 0, area.Width(), area.Height()));
  EXPECT_EQ(child->ClientOrigin(), TPoint(0, 0));
  EXPECT_TRUE(AllWhite(Mdi::Paint(child)));
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books - [Ledger 0]"));
  // The plain caption of the parent shows the combined text.
  EXPECT_FALSE(AllWhite(Mdi::Paint(m.parent)));
  for (TbsSkinForm* f : {m.frames[1], m.frames[2]}) f->SetWindowState(TWindowState::wsMinimized);
  EXPECT_EQ(m.children[1]->BoundsRect(), TRect(0, area.Height() - 25, 120, area.Height()));
  EXPECT_EQ(m.children[2]->BoundsRect(), TRect(120, area.Height() - 25, 240, area.Height()));
  m.frames[0]->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(child->ClientOrigin(), TPoint(3, 22));
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books"));
  // The MDI client's background is the application work space colour without a skin.
  QImage bg(50, 50, QImage::Format_RGB32);
  bg.fill(Qt::white);
  TCanvas canvas(&bg);
  m.parent->MDIClient()->Perform(WM_ERASEBKGND, reinterpret_cast<intptr_t>(&canvas));
  EXPECT_EQ(bg.pixel(10, 10) & 0xFFFFFF, ToQColor(clAppWorkSpace).rgb() & 0xFFFFFF);
}

TEST(SkinFormMdi, SkinChangesWithChildrenOpenKeepTheirStates) {
  Mdi m;
  m.frames[0]->SetWindowState(TWindowState::wsMaximized);
  m.frames[1]->SetWindowState(TWindowState::wsMinimized);
  // The MDI client shows the skin's client background, not the plain colour.
  QImage bg(40, 40, QImage::Format_RGB32);
  bg.fill(Qt::white);
  {
    TCanvas canvas(&bg);
    m.parent->MDIClient()->Perform(WM_ERASEBKGND, reinterpret_cast<intptr_t>(&canvas));
  }
  EXPECT_NE(bg.pixel(5, 5) & 0xFFFFFF, ToQColor(clAppWorkSpace).rgb() & 0xFFFFFF);
  LoadSkin(m.data, "slate");
  ASSERT_TRUE(m.pframe->Skinned());
  TRect area = m.pframe->MDIClientArea();
  EXPECT_EQ(m.children[0]->BoundsRect(), TRect(0, 0, area.Width(), area.Height()));
  EXPECT_EQ(m.children[0]->ClientOrigin(), TPoint(0, 0));
  EXPECT_EQ(m.children[1]->BoundsRect().Bottom, area.Height());
  EXPECT_EQ(m.children[1]->Height(), m.frames[1]->GetMinHeight());
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books - [Ledger 0]"));
  // A skin without a frame section: plain frames everywhere, still maximized and parked.
  TbsStoredSkin none(nullptr);
  m.data->LoadFromStoredSkin(none);
  ASSERT_FALSE(m.pframe->Skinned());
  area = m.pframe->MDIClientArea();
  EXPECT_EQ(m.children[0]->BoundsRect(), TRect(0, 0, area.Width(), area.Height()));
  EXPECT_EQ(m.children[1]->BoundsRect(), TRect(0, area.Height() - 25, 120, area.Height()));
  EXPECT_EQ(m.children[2]->ClientOrigin(), TPoint(3, 22));
  m.frames[0]->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books"));
}

TEST(SkinFormMdi, ThePartsGoAwayInAnyOrder) {
  {
    // The parent first, with a maximized child: the children lose their windows, not their lives.
    auto m = std::make_unique<Mdi>();
    m->frames[1]->SetWindowState(TWindowState::wsMaximized);
    delete m->parent;
    for (TForm* c : m->children) {
      EXPECT_FALSE(c->HandleAllocated());
      EXPECT_EQ(c->MDIHost(), nullptr);
    }
    m->frames[0]->SetWindowState(TWindowState::wsMaximized);  // nothing to fit: no crash
    m->parent = nullptr;
    for (TForm* c : m->children) delete c;
    m->children.clear();
  }
  {
    // A frame component freed before its child form, a skin data freed before the frames.
    Mdi m;
    m.frames[0]->SetWindowState(TWindowState::wsMaximized);
    delete m.frames[0];
    EXPECT_FALSE(m.pframe->MDIChildMaximized() && m.pframe->MaximizedChildForm());
    delete m.data;
    EXPECT_FALSE(m.pframe->Skinned());
    m.frames[1]->SetWindowState(TWindowState::wsMaximized);
    EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books - [Ledger 1]"));
  }
  {
    // A child cannot be shown without an MDI parent.
    Mdi m(nullptr, 0);
    m.parent->SetFormStyle(TFormStyle::fsNormal);
    EXPECT_EQ(m.parent->MDIClient(), nullptr);
    TForm orphan(nullptr);
    orphan.SetFormStyle(TFormStyle::fsMDIChild);
    EXPECT_THROW(orphan.Show(), EInvalidOperation);
    EXPECT_FALSE(orphan.HandleAllocated());
  }
}

// The window menu's items as "Caption" with a "*" for a check mark.
QStringList ItemTexts(const TMenuItem* menu) {
  QStringList out;
  for (const TMenuItem* i : menu->ItemList()) out << i->Caption() + (i->Checked() ? QStringLiteral("*") : QString());
  return out;
}

TEST(SkinFormMdi, TheWindowMenuListsTheChildrenWithTheActiveOneChecked) {
  auto* parent = Application->CreateForm<TForm>();
  parent->SetFormStyle(TFormStyle::fsMDIForm);
  parent->SetBounds(0, 0, 700, 500);
  auto* main = new TMainMenu(parent);
  auto* window = new TMenuItem(parent);
  window->SetCaption(QStringLiteral("&Window"));
  main->Items()->Add(window);
  auto* tile = new TMenuItem(parent);
  tile->SetCaption(QStringLiteral("&Tile"));
  window->Add(tile);
  parent->SetWindowMenu(window);
  new TbsSkinForm(parent);
  parent->Show();
  std::vector<TForm*> children;
  for (int i = 0; i < 3; ++i) {
    auto* c = Application->CreateForm<TForm>();
    c->SetName(QStringLiteral("Ledger%1").arg(i));
    c->SetFormStyle(TFormStyle::fsMDIChild);
    c->SetCaption(QStringLiteral("Ledger %1").arg(i));
    c->SetBounds(10 * i, 10 * i, 300, 200);
    new TbsSkinForm(c);
    c->Show();
    children.push_back(c);
  }
  EXPECT_EQ(ItemTexts(window), QStringList({"&Tile", "-", "Ledger 0", "Ledger 1", "Ledger 2*"}));
  EXPECT_EQ(window->Items(1)->Name(), QStringLiteral("DIVIDER_BSFCHILDITEM"));
  EXPECT_EQ(window->Items(2)->Name(), QStringLiteral("Ledger0_BSFCHILDITEM"));
  // Activation moves the check mark; a new caption renames the item.
  parent->MDIClient()->Activate(children[0]);
  EXPECT_EQ(ItemTexts(window), QStringList({"&Tile", "-", "Ledger 0*", "Ledger 1", "Ledger 2"}));
  children[1]->SetCaption(QStringLiteral("Journal"));
  EXPECT_EQ(window->Items(3)->Caption(), QStringLiteral("Journal"));
  // Choosing an item restores its minimized child and activates it.
  auto* frame1 = TbsSkinForm::FindSkinForm(children[1]);
  frame1->SetWindowState(TWindowState::wsMinimized);
  window->Items(3)->Click();
  EXPECT_EQ(frame1->WindowState(), TWindowState::wsNormal);
  EXPECT_EQ(parent->ActiveMDIChild(), children[1]);
  EXPECT_EQ(ItemTexts(window), QStringList({"&Tile", "-", "Ledger 0", "Journal*", "Ledger 2"}));
  // Hidden children leave the menu; the divider goes with the last one and comes back first.
  children[0]->Hide();
  children[2]->Hide();
  EXPECT_EQ(ItemTexts(window), QStringList({"&Tile", "-", "Journal*"}));
  children[1]->Hide();
  EXPECT_EQ(ItemTexts(window), QStringList({"&Tile"}));
  children[2]->Show();
  EXPECT_EQ(ItemTexts(window), QStringList({"&Tile", "-", "Ledger 2*"}));
  // A freed child takes its item along; the menu freed first leaves nothing behind.
  delete children[2];
  EXPECT_EQ(ItemTexts(window), QStringList({"&Tile"}));
  children[0]->Show();
  delete window;
  EXPECT_EQ(parent->WindowMenu(), nullptr);
  children[0]->Hide();
  delete children[0];
  delete children[1];
  delete parent;
}

TEST(SkinFormMdi, ScreenReadersSeeChildrenAsWindowsNamedByTheirCaptions) {
  Mdi m;
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(m.children[1]->Handle());
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->role(), QAccessible::Window);
  EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Ledger 1"));
  // Its caption buttons come first, each with a press action.
  ASSERT_GT(a->childCount(), 1);
  QAccessibleInterface* first = a->child(0);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->role(), QAccessible::TitleBar);
  bool maximize = false;
  for (int i = 0; i < a->childCount(); ++i) {
    QAccessibleInterface* c = a->child(i);
    if (c && c->role() == QAccessible::Button && c->text(QAccessible::Name) == QStringLiteral("Maximize")) {
      ASSERT_NE(c->actionInterface(), nullptr);
      c->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
      maximize = true;
      break;
    }
  }
  ASSERT_TRUE(maximize);
  EXPECT_EQ(m.frames[1]->WindowState(), TWindowState::wsMaximized);
  EXPECT_EQ(m.pframe->CaptionText(), QStringLiteral("Books - [Ledger 1]"));
}

}  // namespace
