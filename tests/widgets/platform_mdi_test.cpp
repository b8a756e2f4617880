// MDI parent and child forms of the platform alone (no frame component): the style read from a
// stored definition, child windows inside the parent's MDI client window, activation and
// z-order, Tile, Cascade, ArrangeIcons and Next, and the children's own states.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QWidget>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/MDIClient.h"
#include "tests/TestUtil.h"

inline void PrintTo(const TRect& r, std::ostream* os) {
  *os << "(" << r.Left << ", " << r.Top << ", " << r.Right << ", " << r.Bottom << ")";
}

namespace {

// A parent read from a definition (the application's main form) with three plain children.
struct Parent {
  Parent() {
    parent = Application->CreateForm<TForm>();
    parent->LoadDefinition(QStringLiteral(R"(object Books: TForm
  Left = 0
  Top = 0
  Width = 640
  Height = 480
  Caption = 'Books'
  FormStyle = fsMDIForm
end
)"));
    parent->Show();
    for (int i = 0; i < 3; ++i) {
      auto* c = Application->CreateForm<TForm>();
      c->LoadDefinition(QStringLiteral("object Ledger%1: TForm\n  Left = %2\n  Top = %2\n  Width = 200\n"
                                       "  Height = 150\n  Caption = 'Ledger %1'\n  FormStyle = fsMDIChild\nend\n")
                            .arg(i)
                            .arg(10 * i));
      c->Show();
      children.push_back(c);
    }
  }
  ~Parent() {
    for (TForm* c : children) delete c;
    delete parent;
  }
  TForm* parent;
  std::vector<TForm*> children;
};

TEST(PlatformMdi, ChildWindowsLiveInTheParentsClientWindow) {
  Parent p;
  ASSERT_EQ(p.parent->FormStyle(), TFormStyle::fsMDIForm);
  TMDIClient* client = p.parent->MDIClient();
  ASSERT_NE(client, nullptr);
  EXPECT_EQ(client->BoundsRect(), TRect(0, 0, p.parent->ClientWidth(), p.parent->ClientHeight()));
  QAccessibleInterface* workspace = QAccessible::queryAccessibleInterface(client->Handle());
  ASSERT_NE(workspace, nullptr);
  EXPECT_EQ(workspace->text(QAccessible::Name), QStringLiteral("Workspace"));
  EXPECT_EQ(p.parent->MDIChildCount(), 3);
  TForm* c = p.children[1];
  EXPECT_EQ(c->FormStyle(), TFormStyle::fsMDIChild);
  EXPECT_EQ(c->MDIHost(), client);
  EXPECT_FALSE(c->Handle()->isWindow());
  EXPECT_EQ(c->Handle()->parentWidget(), client->Handle());
  // Bounds are in the client window's coordinates.
  EXPECT_EQ(c->Handle()->geometry(), QRect(10, 10, 200, 150));
  const QPoint origin = client->Handle()->mapToGlobal(QPoint(10, 10));
  EXPECT_EQ(c->ClientToScreen(TPoint(0, 0)), TPoint(origin.x(), origin.y()));
  // The last one shown is active and on top; hiding it hands over to the one below.
  EXPECT_EQ(p.parent->ActiveMDIChild(), p.children[2]);
  EXPECT_TRUE(p.children[2]->Active());
  EXPECT_FALSE(p.children[1]->Active());
  p.children[2]->Hide();
  EXPECT_EQ(p.parent->MDIChildCount(), 2);
  EXPECT_EQ(p.parent->ActiveMDIChild(), p.children[1]);
  EXPECT_TRUE(p.children[1]->Active());
  EXPECT_FALSE(p.children[2]->Active());
  p.children[2]->Show();
  EXPECT_EQ(p.parent->MDIChildren(0), p.children[2]);
  EXPECT_THROW(p.parent->MDIChildren(3), EListError);
  // Next brings the one below up and sends the active one to the bottom.
  p.parent->Next();
  EXPECT_EQ(p.parent->ActiveMDIChild(), p.children[1]);
  EXPECT_EQ(p.parent->MDIChildren(2), p.children[2]);
  // A normal form has no MDI client and no children.
  TForm plain(nullptr);
  EXPECT_EQ(plain.MDIClient(), nullptr);
  EXPECT_EQ(plain.MDIChildCount(), 0);
  EXPECT_EQ(plain.ActiveMDIChild(), nullptr);
}

TEST(PlatformMdi, TileCascadeAndArrangeIcons) {
  Parent p;
  TMDIClient* client = p.parent->MDIClient();
  const int W = client->ClientWidth(), H = client->ClientHeight();
  ASSERT_GT(W, 300);
  ASSERT_GT(H, 200);
  // Three windows: two over the top half, the active one over the whole bottom half.
  p.parent->Tile();
  EXPECT_EQ(p.children[0]->BoundsRect(), TRect(0, 0, W / 2, H / 2));
  EXPECT_EQ(p.children[1]->BoundsRect(), TRect(W / 2, 0, W / 2 * 2, H / 2));
  EXPECT_EQ(p.children[2]->BoundsRect(), TRect(0, H / 2, W, H / 2 * 2));
  // Cascade: the bottom one at the corner, each above it one step further, all of one size.
  p.parent->Cascade();
  const int w = std::max(W * 2 / 3, W - 40), h = std::max(H * 2 / 3, H - 40);
  EXPECT_EQ(p.children[0]->BoundsRect(), TRect(0, 0, w, h));
  EXPECT_EQ(p.children[1]->BoundsRect(), TRect(20, 20, 20 + w, 20 + h));
  EXPECT_EQ(p.children[2]->BoundsRect(), TRect(40, 40, 40 + w, 40 + h));
  // Minimized children line up along the bottom; Tile leaves them there and the row free.
  p.children[0]->SetWindowState(TWindowState::wsMinimized);
  p.children[1]->SetWindowState(TWindowState::wsMinimized);
  p.parent->ArrangeIcons();
  const int iconH = p.children[0]->Height();
  EXPECT_EQ(p.children[0]->BoundsRect(), TRect(0, H - iconH, 160, H));
  EXPECT_EQ(p.children[1]->BoundsRect(), TRect(160, H - iconH, 320, H));
  p.parent->Tile();
  EXPECT_EQ(p.children[2]->BoundsRect(), TRect(0, 0, W, H - iconH));
  EXPECT_EQ(p.children[1]->BoundsRect(), TRect(160, H - iconH, 320, H));
  // A maximized child covers the client window; restored it gets its bounds back.
  const TRect before = p.children[2]->BoundsRect();
  p.children[2]->SetWindowState(TWindowState::wsMaximized);
  EXPECT_EQ(p.children[2]->BoundsRect(), TRect(0, 0, W, H));
  p.children[2]->SetWindowState(TWindowState::wsNormal);
  EXPECT_EQ(p.children[2]->BoundsRect(), before);
}

TEST(PlatformMdi, ChildrenOutliveTheirParentsWindowAndAStyleChange) {
  auto* p = new Parent;
  TForm* c = p->children[0];
  // Back to a normal form: the child leaves the client window; shown again it is a window.
  c->SetFormStyle(TFormStyle::fsNormal);
  EXPECT_EQ(c->MDIHost(), nullptr);
  EXPECT_TRUE(c->Handle()->isWindow());
  EXPECT_EQ(p->parent->MDIChildCount(), 2);
  c->SetFormStyle(TFormStyle::fsMDIChild);
  EXPECT_EQ(c->MDIHost(), p->parent->MDIClient());
  EXPECT_EQ(p->parent->MDIChildCount(), 3);
  delete p->parent;
  p->parent = nullptr;
  for (TForm* child : p->children) {
    EXPECT_EQ(child->MDIHost(), nullptr);
    EXPECT_FALSE(child->HandleAllocated());
    EXPECT_FALSE(child->Visible());
    EXPECT_THROW(child->Show(), EInvalidOperation);
  }
  delete p;
}

}  // namespace
