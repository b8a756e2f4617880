// Actions: a command with a caption, an image (by index into its action list's image list), an
// enabled state and an OnExecute handler, shared by the controls that name it as their Action.
//
//   TActionList  owns nothing but the reference to its Images; an action belongs to one list.
//   TAction      tells its change listeners (the linked controls) after every change of its
//                caption, image index, enabled state or list, and when the list's images change.
//
// Lists and images are referenced, never owned; each side drops its reference when the other
// goes (free notification). In a form definition the actions are stored inside their list.
// GUI thread only.
#pragma once
#include <QString>
#include <functional>
#include <vector>

#include "platform/Component.h"
#include "platform/Events.h"

class TCustomImageList;
class TAction;

class TActionList : public TComponent {
 public:
  explicit TActionList(TComponent* owner);
  ~TActionList() override;
  QString ClassName() const override { return QStringLiteral("TActionList"); }

  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* images);
  // The actions of this list, in the order they joined it.
  const std::vector<TAction*>& Actions() const { return actions_; }

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  friend class TAction;
  void ImagesChanged();
  TCustomImageList* images_ = nullptr;  // referenced
  std::vector<TAction*> actions_;       // referenced
};

class TAction : public TComponent {
 public:
  explicit TAction(TComponent* owner);
  ~TAction() override;
  QString ClassName() const override { return QStringLiteral("TAction"); }

  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& v);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  TActionList* ActionList() const { return list_; }
  void SetActionList(TActionList* list);

  // Runs OnExecute when the action is enabled and has one; true when it ran.
  bool Execute();
  TNotifyEvent OnExecute;

  // Change listeners, keyed by their owner (one per key; adding again replaces it).
  void AddChangeListener(const void* key, std::function<void()> onChange);
  void RemoveChangeListener(const void* key);

  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  friend class TActionList;
  void Changed();
  QString caption_;
  int imageIndex_ = -1;
  bool enabled_ = true;
  TActionList* list_ = nullptr;  // referenced
  struct Listener {
    const void* key;
    std::function<void()> onChange;
  };
  std::vector<Listener> listeners_;
};

// Registers TActionList and TAction for form definitions (part of the platform classes).
void RegisterActionClasses();
