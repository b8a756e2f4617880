// skinview's forms: an MDI parent (the application's main form) with a skinned frame, a main
// menu shown in a skinned menu bar, a skinned hint and a tray icon; one MDI child per topic showing the skinned controls;
// and one normal top-level form with every frame button and magnetic edges. All of them read
// one skin data, which the Skin and File menus switch at run time.
//
// TSkinView makes the forms through the application and frees them when it goes (children
// first, the parent last), so it must outlive the message loop that runs them. A child closed
// by the user is freed at once and leaves Children(). GUI thread only.
#pragma once
#include <QImage>
#include <QString>
#include <memory>
#include <vector>

#include "SkinViewChildren.h"
#include "BuiltInSkins.h"
#include "SkinViewMenu.h"

class TApplication;
class TForm;
class TbsSkinData;
class TbsSkinForm;
class TbsSkinHint;
class TbsSkinMainMenuBar;
class TbsTrayIcon;
class TSkinSource;

class TSkinView {
 public:
  // Makes the parent (the first form of `app`, so its main form) and the normal form; no
  // children and no skin yet.
  explicit TSkinView(TApplication& app);
  ~TSkinView();
  TSkinView(const TSkinView&) = delete;
  TSkinView& operator=(const TSkinView&) = delete;

  TForm* ParentForm() const { return parent_; }
  TbsSkinForm* ParentFrame() const { return frame_; }
  TbsSkinData* SkinData() const { return data_; }
  const TSkinViewMenu& Menu() const { return menu_; }
  TbsSkinMainMenuBar* MenuBar() const { return bar_; }
  TbsSkinHint* Hint() const { return hint_; }
  TbsTrayIcon* TrayIcon() const { return tray_; }
  TForm* ToolForm() const { return tool_; }
  const std::vector<TForm*>& Children() const { return children_; }

  // Opens one child of `topic` (a second one of a topic gets a number after its caption).
  TForm* OpenChild(TChildTopic topic);
  // One child of every topic.
  void OpenAllChildren();
  // Shows the parent with its children tiled over its client area, and the normal form.
  void ShowForms(bool normalForm);

  // The skin every form shows now (nullptr before the first), and the built-in one it is
  // (-1 for a skin a user opened).
  const TSkinSource* CurrentSkin() const { return current_.get(); }
  int CurrentBuiltIn() const { return builtIn_; }
  // Loads a checked skin into every form and makes it the current one.
  void UseSkin(std::shared_ptr<const TSkinSource> skin, int builtIn = -1);
  void UseBuiltInSkin(int index);
  // Reads the skin at `path` and uses it. When it cannot be read: the failure box (the
  // application's, with the reason) and the current skin stays. True when it was loaded.
  bool OpenSkin(const QString& path);
  // Reads the current skin again from where it came from (keeping it when that fails).
  bool Reload();

  // The menu commands that ask for a file first.
  void ChooseSkinFolder();
  void ChoosePackedSkin();
  void ShowAbout();

  // The parent window as it draws itself now (its own paint code, children included).
  QImage RenderParent();

 private:
  void MakeParent();
  void MakeToolForm();
  void UpdateCaption();
  // Lets the main menu's shortcuts work from `form` (the parent's frame answers for the bar).
  void RouteShortCuts(TForm& form);
  void ChildGone(TForm* child);

  TApplication& app_;
  TForm* parent_ = nullptr;       // owned (freed last)
  TbsSkinForm* frame_ = nullptr;  // the parent's component
  TbsSkinData* data_ = nullptr;   // the parent's component
  TbsSkinHint* hint_ = nullptr;   // the parent's component
  TbsSkinMainMenuBar* bar_ = nullptr;  // the parent's component
  TbsTrayIcon* tray_ = nullptr;   // the parent's component
  TForm* tool_ = nullptr;         // owned
  std::vector<TForm*> children_;  // owned until the user closes one
  TSkinViewMenu menu_;
  std::shared_ptr<const TSkinSource> current_;
  // The built-in skins, read and checked once, when first used.
  std::shared_ptr<const TSkinSource> builtIns_[kBuiltInSkinCount];
  int builtIn_ = -1;
  int opened_[kChildTopicCount] = {};  // children opened per topic, for their captions
};
