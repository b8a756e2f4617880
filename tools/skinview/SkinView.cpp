#include "SkinView.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QFileDialog>
#include <QWidget>
#include <algorithm>

#include "BuiltInSkins.h"
#include "SkinSource.h"
#include "SkinViewArt.h"
#include "platform/Dialogs.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/form/bsSkinForm.h"
#include "skin/form/bsSkinMainMenuBar.h"
#include "skin/menus/bsSkinHint.h"
#include "skin/menus/bsTrayIcon.h"

namespace {
const QString kTitle = QStringLiteral("Skinview");

// Holds the painting of some top-level forms (and everything inside them) for its life; when it
// goes, each form paints once.
class TPaintFreeze {
 public:
  explicit TPaintFreeze(std::initializer_list<TForm*> forms) {
    for (TForm* f : forms)
      if (f && f->HandleAllocated() && f->Handle()->updatesEnabled()) {
        f->Handle()->setUpdatesEnabled(false);
        held_.push_back(f->Handle());
      }
  }
  ~TPaintFreeze() {
    for (QWidget* w : held_) Release(w, true);
  }
  TPaintFreeze(const TPaintFreeze&) = delete;
  TPaintFreeze& operator=(const TPaintFreeze&) = delete;

 private:
  std::vector<QWidget*> held_;

  // What Qt counts as painting every pixel of itself: its children's repaints never show it.
  static bool Opaque(const QWidget* w) {
    if (w->testAttribute(Qt::WA_OpaquePaintEvent) || w->testAttribute(Qt::WA_PaintOnScreen)) return true;
    if (!w->autoFillBackground()) return false;
    const QBrush& b = w->palette().brush(w->backgroundRole());
    return b.style() != Qt::NoBrush && b.isOpaque();
  }

  // Lets `w` and the widgets held with it paint again, as Qt's own release does, except that a
  // see-through widget is not marked dirty on its own: the widget under it repaints its area and
  // paints it there. (Marked on its own as well, Qt paints it and the opaque widget under it a
  // second time.)
  static void Release(QWidget* w, bool form) {
    w->setAttribute(Qt::WA_UpdatesDisabled, false);
    if (form || Opaque(w)) w->update();
    for (QObject* o : w->children()) {
      auto* c = qobject_cast<QWidget*>(o);
      if (c && !c->isWindow() && !c->testAttribute(Qt::WA_ForceUpdatesDisabled) && c->testAttribute(Qt::WA_UpdatesDisabled))
        Release(c, false);
    }
  }
};
}  // namespace

TSkinView::TSkinView(TApplication& app) : app_(app) {
  app_.SetTitle(kTitle);
  MakeParent();
  MakeToolForm();
}

TSkinView::~TSkinView() {
  // Children first: each takes its item out of the parent's window menu as it goes.
  while (!children_.empty()) {
    TForm* c = children_.back();
    children_.pop_back();
    c->OnDestroy.Clear();
    delete c;
  }
  delete tool_;
  delete parent_;
}

void TSkinView::MakeParent() {
  parent_ = app_.CreateForm<TForm>();
  parent_->SetName(QStringLiteral("SkinViewParent"));
  parent_->SetFormStyle(TFormStyle::fsMDIForm);
  parent_->SetBounds(60, 40, 1000, 720);
  frame_ = new TbsSkinForm(parent_);
  frame_->SetName(QStringLiteral("bsSkinForm1"));
  frame_->SetBorderIcons(frame_->BorderIcons() | biMinimizeToTray);
  data_ = new TbsSkinData(parent_);
  data_->SetName(QStringLiteral("bsSkinData1"));
  frame_->SetSkinData(data_);

  hint_ = new TbsSkinHint(parent_);
  hint_->SetSkinData(data_);
  frame_->SetSkinHint(hint_);
  frame_->ShowObjectHint = true;

  tray_ = new TbsTrayIcon(parent_);
  tray_->SetIcon(ViewerIcon());
  tray_->SetHint(kTitle);
  tray_->SetShowHint(true);
  frame_->SetTrayIcon(tray_);

  TSkinViewCommands c;
  c.OpenFolder = [this] { ChooseSkinFolder(); };
  c.OpenPacked = [this] { ChoosePackedSkin(); };
  c.Reload = [this] { Reload(); };
  c.Exit = [this] { parent_->Close(); };
  c.UseBuiltIn = [this](int i) { UseBuiltInSkin(i); };
  c.Tile = [this] { parent_->Tile(); };
  c.Cascade = [this] { parent_->Cascade(); };
  c.ArrangeIcons = [this] { parent_->ArrangeIcons(); };
  c.About = [this] { ShowAbout(); };
  menu_ = BuildSkinViewMenu(*parent_, c);
  parent_->SetWindowMenu(menu_.WindowItem);
  bar_ = new TbsSkinMainMenuBar(parent_);
  bar_->SetName(QStringLiteral("bsSkinMainMenuBar1"));
  bar_->SetParent(parent_);
  bar_->SetAlign(TAlign::alTop);
  bar_->SetSkinData(data_);
  bar_->SetSkinForm(frame_);
  bar_->SetMainMenu(menu_.Menu);
  frame_->SetMainMenuBar(bar_);
  RouteShortCuts(*parent_);
  UpdateCaption();
}

void TSkinView::MakeToolForm() {
  tool_ = app_.CreateForm<TForm>();
  tool_->SetName(QStringLiteral("SkinViewTool"));
  tool_->SetCaption(QStringLiteral("Normal form"));
  tool_->SetBounds(1080, 60, 300, 220);
  auto* frame = new TbsSkinForm(tool_);
  frame->SetBorderIcons(biSystemMenu | biMinimize | biMaximize | biRollUp | biMinimizeToTray);
  frame->Magnetic = true;
  frame->SetSkinData(data_);
  frame->SetTrayIcon(tray_);
  FillToolForm(*tool_, data_);
  RouteShortCuts(*tool_);
}

TForm* TSkinView::OpenChild(TChildTopic topic) {
  const int t = static_cast<int>(topic);
  const int n = ++opened_[t];
  auto* child = app_.CreateForm<TForm>();
  child->SetName(ChildTopicCaption(topic) + QStringLiteral("Child%1").arg(n));
  child->SetFormStyle(TFormStyle::fsMDIChild);
  child->SetCaption(n == 1 ? ChildTopicCaption(topic) : QStringLiteral("%1 %2").arg(ChildTopicCaption(topic)).arg(n));
  int w = 0, h = 0;
  ChildTopicSize(topic, w, h);
  const int step = static_cast<int>(children_.size()) % 8;
  child->SetBounds(24 * step, 24 * step, w, h);
  auto* frame = new TbsSkinForm(child);
  frame->SetSkinData(data_);
  frame->SetSkinHint(hint_);
  frame->ShowObjectHint = true;
  FillChild(*child, topic, data_);
  RouteShortCuts(*child);
  // Closing a child frees it.
  child->OnClose = [](TComponent*, TCloseAction& action) { action = TCloseAction::caFree; };
  child->OnDestroy = [this, child](TComponent*) { ChildGone(child); };
  children_.push_back(child);
  child->Show();
  return child;
}

void TSkinView::OpenAllChildren() {
  for (int i = 0; i < kChildTopicCount; ++i) OpenChild(static_cast<TChildTopic>(i));
}

void TSkinView::ShowForms(bool normalForm) {
  parent_->Show();
  QApplication::processEvents();
  parent_->Tile();
  if (normalForm) tool_->Show();
}

void TSkinView::ChildGone(TForm* child) {
  children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

void TSkinView::RouteShortCuts(TForm& form) {
  // The parent's frame answers for its menu bar (Alt and an item's letter) and the menu's
  // shortcuts go to the menu; the keys of the other forms go to the parent, as the keys of
  // MDI children go to the parent's menu.
  TShortCutEvent previous = form.OnShortCut;
  TMainMenu* menu = menu_.Menu;
  TForm* parent = parent_;
  form.OnShortCut = [previous, menu, parent, &form](TWMKey& key, bool& handled) {
    previous(key, handled);
    if (handled) return;
    if (&form == parent) handled = menu->IsShortCut(key.CharCode, key.Shift);
    else handled = parent->IsShortCut(key);
  };
}

void TSkinView::UseSkin(std::shared_ptr<const TSkinSource> skin, int builtIn) {
  if (!skin) return;
  {
    // Every form takes the new skin with its painting held, then paints once: the frames
    // repaint as they change, and twelve forms each painting twice on the way cost more than
    // the change itself.
    const TPaintFreeze freeze({parent_, tool_});
    skin->LoadInto(*data_);
  }
  current_ = std::move(skin);
  builtIn_ = builtIn;
  for (int i = 0; i < kBuiltInSkinCount; ++i)
    if (menu_.BuiltIn[i]) menu_.BuiltIn[i]->SetChecked(i == builtIn_);
  UpdateCaption();
}

void TSkinView::UseBuiltInSkin(int index) {
  try {
    if (index < 0 || index >= kBuiltInSkinCount) throw ESkinSourceError(QStringLiteral("There is no built-in skin %1.").arg(index));
    if (!builtIns_[index]) builtIns_[index] = BuiltInSkin(index);
    UseSkin(builtIns_[index], index);
  } catch (const Exception& e) {
    app_.ShowException(e.Message());
  }
}

bool TSkinView::OpenSkin(const QString& path) {
  std::shared_ptr<const TSkinSource> skin;
  try {
    skin = TSkinSource::Open(path);
  } catch (const Exception& e) {
    app_.ShowException(e.Message());
    return false;
  }
  UseSkin(std::move(skin));
  return true;
}

bool TSkinView::Reload() {
  if (!current_) return false;
  if (builtIn_ >= 0) {
    UseBuiltInSkin(builtIn_);
    return true;
  }
  return OpenSkin(current_->Label());
}

void TSkinView::ChooseSkinFolder() {
  const QString folder = QFileDialog::getExistingDirectory(
      parent_->Handle(), QStringLiteral("Open skin folder"), QString(),
      QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
  if (!folder.isEmpty()) OpenSkin(folder);
}

void TSkinView::ChoosePackedSkin() {
  const QString file = QFileDialog::getOpenFileName(parent_->Handle(), QStringLiteral("Open packed skin file"), QString(),
                                                    QStringLiteral("Packed skins (*.skin *.bin);;All files (*)"), nullptr,
                                                    QFileDialog::DontUseNativeDialog);
  if (!file.isEmpty()) OpenSkin(file);
}

void TSkinView::ShowAbout() {
  QString text = QStringLiteral("Skinview shows every skinned element of Ledgerly with one skin.");
  if (current_) {
    text += QStringLiteral("\n\nSkin: %1").arg(current_->SkinName());
    if (!current_->SkinAuthor().isEmpty()) text += QStringLiteral("\nAuthor: %1").arg(current_->SkinAuthor());
    text += QStringLiteral("\nFrom: %1").arg(current_->Label());
  }
  MessageBox(text, QStringLiteral("About Skinview"), MB_OK | MB_ICONINFORMATION);
}

void TSkinView::UpdateCaption() {
  parent_->SetCaption(current_ ? QStringLiteral("%1 - %2").arg(kTitle, current_->SkinName()) : kTitle);
}

QImage TSkinView::RenderParent() {
  // Buttons fade between their looks (ten 20 ms steps) when the focus or a skin arrives: the
  // picture shows the looks they settle on.
  QEventLoop settle;
  QTimer::singleShot(300, &settle, &QEventLoop::quit);
  settle.exec();
  return parent_->Handle()->grab().toImage();
}
