// Skinned popup menus with the query form's skin (slate), offscreen:
//  (a) opening a 40-item menu window (items built, measured, mapped, laid out, shaped, shown and
//      painted onto the window surface) and closing it, against a QMenu with the same 40
//      actions popped up, painted and closed in the same process;
//  (b) one hover step that moves the highlight to the next item (the two items repainted on the
//      window), against a full repaint of the same window;
//  (c) one hover step along a skinned menu bar of 8 items (the two items repainted on the bar),
//      against a full repaint of the bar.
// Prints the figures, then RATIO lines (ours / reference).
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Menus.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinObjectData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsMenuBarObjects.h"
#include "skin/form/bsSkinMainMenuBar.h"
#include "skin/menus/bsSkinMenus.h"

namespace {

// Best time of `runs` calls, in microseconds (the least disturbed run on a shared machine).
double Micros(int runs, const std::function<void()>& f) {
  f();  // warm up
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const auto a = std::chrono::steady_clock::now();
    f();
    t.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - a).count());
  }
  return *std::min_element(t.begin(), t.end());
}

QString Caption(int i) { return QStringLiteral("Menu item number %1").arg(i); }

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TApplication app(argc, argv);
  const char* src = std::getenv("LEDGERLY_SOURCE_DIR");
  const QString root = src ? QString::fromLocal8Bit(src) : QStringLiteral(LEDGERLY_SOURCE_DIR_DEFAULT);

  TForm form(nullptr);
  auto* driver = new TbsSkinMenu(&form);
  driver->SetOwnerForm(&form);
  auto* data = new TbsSkinData(&form);
  auto* compressed = new TbsCompressedStoredSkin(&form);
  try {
    compressed->CompressFromSkinFile(root + QStringLiteral("/skins/slate/SKIN.INI"));
  } catch (const Exception& e) {
    std::fprintf(stderr, "bench_menus: %s\n", qPrintable(e.Message()));
    return 1;
  }
  data->SetCompressedStoredSkin(compressed);
  auto* popup = new TPopupMenu(&form);
  for (int i = 0; i < 40; ++i) {
    auto* item = new TMenuItem(&form);
    item->SetCaption(i % 10 == 9 ? QStringLiteral("-") : Caption(i));
    if (i % 7 == 0) item->SetShortCut(ShortCut('A' + i % 26, ssCtrl));
    popup->Items()->Add(item);
  }
  driver->OpenMenu(nullptr, data, false, popup->Items(), TRect(100, 40, 100, 40), 0);
  if (!driver->LastWindow() || !driver->LastWindow()->Skinned()) {
    std::fprintf(stderr, "bench_menus: the menu did not open skinned\n");
    return 1;
  }
  driver->CloseAll();

  // (a) Opening.
  const int runs = 40;
  // Both sides paint through their widget's paint event (grab), as the window system would ask.
  const double ours = Micros(runs, [&] {
    driver->OpenMenu(nullptr, data, false, popup->Items(), TRect(100, 40, 100, 40), 0);
    driver->LastWindow()->Handle()->grab();
    driver->CloseAll();
  });
  const double qt = Micros(runs, [&] {
    auto* menu = new QMenu();
    for (int i = 0; i < 40; ++i) {
      if (i % 10 == 9) {
        menu->addSeparator();
        continue;
      }
      QAction* a = menu->addAction(Caption(i));
      if (i % 7 == 0) a->setShortcut(QKeySequence(ShortCutToText(ShortCut('A' + i % 26, ssCtrl))));
    }
    menu->popup(QPoint(100, 40));
    menu->grab();
    menu->hide();
    delete menu;
  });
  std::printf("open a 40-item menu window: %.1f us; QMenu with 40 actions: %.1f us\n", ours, qt);

  // (b) Hover steps, without the fade (the change is drawn at once), against full repaints.
  for (auto& o : data->SkinObjects)
    if (auto* m = dynamic_cast<TbsDataSkinMenuItem*>(o.get())) m->morphing = false;
  driver->OpenMenu(nullptr, data, false, popup->Items(), TRect(100, 40, 100, 40), 0);
  TbsSkinPopupWindow* w = driver->LastWindow();
  // The window system shows the window (an expose) before anything is drawn on it.
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  int paints = 0;
  const TWndMethod old = w->WindowProc;
  w->WindowProc = [&paints, old](TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) ++paints;
    old(m);
  };
  // A run: ten steps down from the first item, then ten back up (every step moves the highlight).
  const double step = Micros(100, [&] {
                        for (int i = 0; i < 10; ++i) w->SelectNext();
                        for (int i = 0; i < 10; ++i) w->SelectPrevious();
                      }) /
                      20;
  const int stepPaints = paints;
  const double full = Micros(100, [&] { w->RepaintAll(); });
  if (stepPaints < 2000 || paints - stepPaints < 100) {
    std::fprintf(stderr, "bench_menus: the window did not paint (%d, %d)\n", stepPaints, paints - stepPaints);
    return 1;
  }
  std::printf("hover step (two items repainted): %.1f us; full window repaint (%d x %d): %.1f us\n", step, w->Width(),
              w->Height(), full);
  driver->CloseAll();

  // (c) The menu bar: the mouse moves from item to item, without the fade, against full repaints.
  for (auto& o : data->SkinObjects)
    if (auto* m = dynamic_cast<TbsDataSkinMainMenuItem*>(o.get())) m->morphing = false;
  TForm barForm(nullptr);
  barForm.SetBounds(0, 0, 900, 200);
  auto* mainMenu = new TMainMenu(&barForm);
  for (int i = 0; i < 8; ++i) {
    auto* item = new TMenuItem(&barForm);
    item->SetCaption(QStringLiteral("&Menu %1").arg(i));
    mainMenu->Items()->Add(item);
    auto* sub = new TMenuItem(&barForm);
    sub->SetCaption(Caption(i));
    item->Add(sub);
  }
  auto* bar = new TbsSkinMainMenuBar(&barForm);
  bar->SetParent(&barForm);
  bar->SetSkinData(data);
  bar->SetMainMenu(mainMenu);
  barForm.Show();
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
  if (!bar->HasSection() || bar->Items().size() != 8 || bar->Overflow()) {
    std::fprintf(stderr, "bench_menus: the bar is not skinned or does not show its 8 items\n");
    return 1;
  }
  int barPaints = 0;
  const TWndMethod barOld = bar->WindowProc;
  bar->WindowProc = [&barPaints, barOld](TMessage& m) {
    if (m.Msg == WM_ERASEBKGND) ++barPaints;
    barOld(m);
  };
  std::vector<TPoint> centres;
  for (TbsSkinMainMenuBarItem* i : bar->Items())
    centres.emplace_back((i->ObjectRect.Left + i->ObjectRect.Right) / 2, (i->ObjectRect.Top + i->ObjectRect.Bottom) / 2);
  const double barStep = Micros(100, [&] {
                           for (int i = 1; i < 8; ++i) bar->TrackBar(centres[i].X, centres[i].Y);
                           for (int i = 6; i >= 0; --i) bar->TrackBar(centres[i].X, centres[i].Y);
                         }) /
                         14;
  const int barStepPaints = barPaints;
  const double barFull = Micros(100, [&] { bar->Repaint(); });
  if (barStepPaints < 2000 || barPaints - barStepPaints < 100) {
    std::fprintf(stderr, "bench_menus: the bar did not paint (%d, %d)\n", barStepPaints, barPaints - barStepPaints);
    return 1;
  }
  std::printf("bar hover step (two items repainted): %.1f us; full bar repaint (%d x %d): %.1f us\n", barStep,
              bar->Width(), bar->Height(), barFull);

  std::printf("RATIO menu_open_vs_qmenu %.3f\n", ours / qt);
  std::printf("RATIO menu_hover_step_vs_full_repaint %.3f\n", step / full);
  std::printf("RATIO menubar_hover_step_vs_full_repaint %.3f\n", barStep / barFull);
  return 0;
}
