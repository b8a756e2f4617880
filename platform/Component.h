// Components: named objects with an owner that frees them, a component state, the
// end-of-loading call and removal notices. GUI thread only.
#pragma once
#include <QString>
#include <cstdint>
#include <vector>

enum class TOperation { opInsert, opRemove };

// Base of everything whose properties a form definition can store (components, fonts,
// collection items). Only the virtual destructor: it lets the property tables cast safely.
class TPersistent {
 public:
  virtual ~TPersistent() = default;
};

enum TComponentStateFlag : uint32_t {
  csLoading = 1u << 0,
  csReading = 1u << 1,
  csDesigning = 1u << 2,
  csDestroying = 1u << 3,
};

class TComponent : public TPersistent {
 public:
  // The owner, when given, owns this component and frees it in its destructor.
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  // The platform class name ("TSQLConnection"); subclasses override.
  virtual QString ClassName() const { return QStringLiteral("TComponent"); }

  const QString& Name() const { return name_; }
  virtual void SetName(const QString& name);
  TComponent* Owner() const { return owner_; }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TComponent* Components(int i) const { return components_.at(static_cast<size_t>(i)); }
  const std::vector<TComponent*>& ComponentList() const { return components_; }
  // Owned component by name, compared without regard to case; nullptr when absent.
  TComponent* FindComponent(const QString& name) const;

  uint32_t ComponentState() const { return state_; }
  bool HasState(TComponentStateFlag f) const { return (state_ & f) != 0; }
  void SetState(TComponentStateFlag f, bool on) { state_ = on ? (state_ | f) : (state_ & ~static_cast<uint32_t>(f)); }
  bool IsLoading() const { return HasState(csLoading); }
  bool IsDestroying() const { return HasState(csDestroying); }
  bool IsDesigning() const { return HasState(csDesigning); }

  // Marks the start of restoring stored properties; Loaded() ends it.
  void BeginLoading() { SetState(csLoading, true); }
  // Called once every component of a definition has its properties and references.
  virtual void Loaded();

  // Asks `c` to be told (Notification opRemove) when this component goes, and vice versa.
  void FreeNotification(TComponent* c);
  void RemoveFreeNotification(TComponent* c);

  // The component that holds this one in a stored definition (a control's parent, a tab
  // sheet's page control); nullptr for components stored at the top level.
  virtual TComponent* GetParentComponent() const { return nullptr; }
  // Called by the definition reader with the enclosing object before any property is read.
  virtual void SetParentComponent(TComponent* parent) {}

  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

 protected:
  // Told about components inserted into or removed from the owner, and about components
  // that asked for free notification going away. Override to drop references.
  virtual void Notification(TComponent* c, TOperation op);
  // Frees owned components, last first.
  void DestroyComponents();
  void Destroying() { SetState(csDestroying, true); }

 private:
  void NotifyAll(TComponent* c, TOperation op);

  QString name_;
  TComponent* owner_ = nullptr;           // referenced, not owned
  std::vector<TComponent*> components_;   // owned
  std::vector<TComponent*> freeNotifies_; // referenced, not owned
  uint32_t state_ = 0;
};
