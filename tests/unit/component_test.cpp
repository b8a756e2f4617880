#include <gtest/gtest.h>

#include <vector>

#include "platform/Component.h"
#include "tests/TestUtil.h"
#include "platform/Exceptions.h"

namespace {
std::vector<QString> g_log;

class Probe : public TComponent {
 public:
  Probe(TComponent* owner, const QString& name) : TComponent(owner) { SetName(name); }
  ~Probe() override { g_log.push_back("free " + Name()); }
  TComponent* ref = nullptr;

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    if (op == TOperation::opRemove && c == ref) {
      g_log.push_back(Name() + " drops " + c->Name());
      ref = nullptr;
    }
  }
};
}  // namespace

TEST(Component, OwnershipNamesAndNotices) {
  g_log.clear();
  auto* form = new Probe(nullptr, "Form");
  auto* a = new Probe(form, "A");
  auto* b = new Probe(form, "B");
  EXPECT_EQ(form->ComponentCount(), 2);
  EXPECT_EQ(form->FindComponent("a"), a);
  EXPECT_THROW(b->SetName("A"), EComponentError);
  // A sibling is told when another sibling goes; a free-notification partner outside too.
  auto* outsider = new Probe(nullptr, "Out");
  a->ref = b;
  outsider->ref = b;
  b->FreeNotification(outsider);
  delete b;
  EXPECT_EQ(a->ref, nullptr);
  EXPECT_EQ(outsider->ref, nullptr);
  EXPECT_EQ(form->ComponentCount(), 1);
  g_log.clear();
  delete form;
  // The form's own destructor body runs before its children are freed.
  EXPECT_EQ(g_log, (std::vector<QString>{"free Form", "free A"}));
  delete outsider;
}

TEST(Component, LoadingState) {
  TComponent c(nullptr);
  c.BeginLoading();
  EXPECT_TRUE(c.IsLoading());
  c.Loaded();
  EXPECT_FALSE(c.IsLoading());
}
