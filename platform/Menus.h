// The platform's menu model: menu items in a tree under a menu (popup or main menu).
//
// A TMenuItem is a component: in a form definition it is owned by the form, and its parent
// component is the menu or the item it hangs under (the definition nests items under their
// menu, as the classic form definition does). Besides its owner, an item belongs to its parent
// item's list of children; freeing an item removes it from that list and frees its own children.
// A menu owns its root item (`Items`), which has no name and is never stored.
//
// Nothing here draws: skinned menus (skin/menus) show the items; TPopupMenu::Popup without a
// skin shows a plain Qt menu. GUI thread only.
#pragma once
#include <QChar>
#include <QString>
#include <memory>
#include <vector>

#include "platform/Component.h"
#include "platform/Events.h"
#include "platform/ShortCut.h"

class TMenu;
class TCustomImageList;

// The caption of a separator item.
inline const QString cLineCaption = QStringLiteral("-");

// The caption without its accelerator marks: "Ro&llUp" -> "RollUp", "&&" -> "&".
QString StripHotkey(const QString& caption);
// The accelerator character (the one after a single "&"), or a null QChar when there is none.
QChar GetHotkey(const QString& caption);
// True when the virtual key `key` (a letter's capital or a digit) is the caption's accelerator,
// compared without regard to case.
bool IsAccel(uint16_t key, const QString& caption);

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  QString ClassName() const override { return QStringLiteral("TMenuItem"); }

  // ---- Published properties ----
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& v) { caption_ = v; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut v) { shortCut_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other radio items of its group under the same parent.
  void SetChecked(bool v);
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool v) { radioItem_ = v; }
  uint8_t GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(uint8_t v) { groupIndex_ = v; }
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool v) { autoCheck_ = v; }
  bool Default() const { return default_; }
  void SetDefault(bool v) { default_ = v; }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { imageIndex_ = v; }
  const QString& Hint() const { return hint_; }
  void SetHint(const QString& v) { hint_ = v; }
  int Tag() const { return tag_; }
  void SetTag(int v) { tag_ = v; }
  TNotifyEvent OnClick;

  // The caption is "-".
  bool IsLine() const { return caption_ == cLineCaption; }
  // The shortcut's text ("Alt+F4"), empty without one.
  QString ShortCutText() const { return ShortCutToText(shortCut_); }

  // ---- Children ----
  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int i) const { return items_.at(static_cast<size_t>(i)); }
  const std::vector<TMenuItem*>& ItemList() const { return items_; }
  // Appends / inserts a child (taken out of its former parent first).
  void Add(TMenuItem* item);
  void Insert(int index, TMenuItem* item);
  // Takes the child at `index` out of the list without freeing it.
  void Delete(int index);
  void Remove(TMenuItem* item);
  // Frees every child.
  void Clear();
  int IndexOf(const TMenuItem* item) const;
  // The first child whose caption without accelerator marks equals StripHotkey(caption).
  TMenuItem* Find(const QString& caption) const;
  TMenuItem* Parent() const { return parent_; }
  // The menu the item's tree hangs under, or nullptr.
  TMenu* GetParentMenu() const;

  // What a click on the item does: AutoCheck toggles Checked, then OnClick runs.
  virtual void Click();

  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* parent) override;

 private:
  friend class TMenu;
  QString caption_;
  TShortCut shortCut_ = scNone;
  bool enabled_ = true;
  bool visible_ = true;
  bool checked_ = false;
  bool radioItem_ = false;
  uint8_t groupIndex_ = 0;
  bool autoCheck_ = false;
  bool default_ = false;
  int imageIndex_ = -1;
  QString hint_;
  int tag_ = 0;
  TMenuItem* parent_ = nullptr;      // referenced
  TMenu* menu_ = nullptr;            // set on a menu's root item only; referenced
  std::vector<TMenuItem*> items_;    // children; freed with this item
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  QString ClassName() const override { return QStringLiteral("TMenu"); }

  // The root item; its children are the menu's items. Owned.
  TMenuItem* Items() const { return items_; }
  // Image list the items' ImageIndex refers to. Referenced, cleared when it goes.
  TCustomImageList* Images() const { return images_; }
  void SetImages(TCustomImageList* v);

  // The platform's shortcut dispatch: finds the enabled, visible item (searching the whole
  // tree, enabled and visible parents only) whose ShortCut is that of key + shift and runs it
  // (Click). True when an item took the key.
  bool IsShortCut(uint16_t key, TShiftState shift);
  // The item with that shortcut (as IsShortCut finds it), without running it.
  TMenuItem* FindItemByShortCut(TShortCut shortCut) const;
  // True when `item` hangs (at any depth) under this menu's root.
  bool Holds(const TMenuItem* item) const;

 protected:
  void Notification(TComponent* c, TOperation op) override;

 private:
  TMenuItem* items_ = nullptr;              // owned
  TCustomImageList* images_ = nullptr;      // referenced
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* owner);
  QString ClassName() const override { return QStringLiteral("TPopupMenu"); }
  TNotifyEvent OnPopup;
  // The menu opens by itself where its owner asks for it (a right press, the tray icon).
  bool AutoPopup = true;
  // The component the menu was last shown for (set by whoever shows it).
  TComponent* PopupComponent = nullptr;  // referenced
  // Shows the menu at a screen point. The platform's own: OnPopup, then a plain Qt menu of the
  // items (the chosen item runs through Click). Skinned popup menus replace it.
  virtual void Popup(int x, int y);

 protected:
  void DoPopup() { OnPopup(this); }

 private:
  // Expires with the menu: a plain Qt menu still open then runs nothing.
  std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

class TMainMenu : public TMenu {
 public:
  explicit TMainMenu(TComponent* owner) : TMenu(owner) {}
  QString ClassName() const override { return QStringLiteral("TMainMenu"); }
};

// Registers TMenuItem, TMenu, TPopupMenu and TMainMenu with the form definition reader (called
// from RegisterPlatformClasses).
void RegisterMenuClasses();
