// MDI children with the slate skin, offscreen, a 1280 x 900 parent with ten 400 x 300 children:
//  (a) maximizing one child and restoring it (the component's state, the refit over the MDI
//      client area, the frame leaving and coming back) plus one paint of the parent's frame
//      with the combined caption and one of the child's frame, against Qt's own MDI area doing
//      showMaximized / showNormal on one of ten sub-windows of the same sizes;
//  (b) a parent resize step with one child maximized and three minimized (refit and re-parking),
//      against the same resize of a Qt MDI area with one maximized and three minimized
//      sub-windows;
//  (c) switching the skin of skinview's parent with ten open children (two of every topic: every
//      form and control re-reads its skin and everything repaints) against loading that skin
//      alone into a skin data no form uses.
// Prints the figures, then RATIO lines (ours / reference).
#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <numeric>
#include <unordered_map>
#include <vector>

#include "BuiltInSkins.h"
#include "SkinSource.h"
#include "SkinView.h"
#include "bench/BestTime.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Messages.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/form/bsSkinForm.h"

namespace {

volatile uint64_t g_sink = 0;

// Counts the paint events each widget receives while it is installed on the application.
class TPaintCounter : public QObject {
 public:
  std::unordered_map<const QObject*, int> Paints;

 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint) ++Paints[o];
    return false;
  }
};

// The widgets of `form` that show on screen and so must paint when everything repaints: the
// frame, and every windowed control (and the client) with a visible part.
void ShowingWidgets(TWinControl& c, std::vector<const QWidget*>& out) {
  if (!c.HandleAllocated()) return;
  QWidget* w = c.Handle();
  if (w->isVisible() && !w->visibleRegion().isEmpty()) out.push_back(w);
  for (int i = 0; i < c.ControlCount(); ++i)
    if (auto* wc = dynamic_cast<TWinControl*>(c.Controls(i))) ShowingWidgets(*wc, out);
}
}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TApplication app(argc, argv);
  const char* src = std::getenv("LEDGERLY_SOURCE_DIR");
  const QString root = src ? QString::fromLocal8Bit(src) : QStringLiteral(LEDGERLY_SOURCE_DIR_DEFAULT);
  constexpr int kChildren = 10, PW = 1280, PH = 900, CW = 400, CH = 300;

  auto* parent = app.CreateForm<TForm>();
  parent->SetFormStyle(TFormStyle::fsMDIForm);
  parent->SetCaption(QStringLiteral("Books"));
  parent->SetBounds(0, 0, PW, PH);
  auto* pframe = new TbsSkinForm(parent);
  auto* data = new TbsSkinData(parent);
  try {
    TbsStoredSkin stored(nullptr);
    stored.LoadFromSkinFile(root + QStringLiteral("/skins/slate/SKIN.INI"));
    data->LoadFromStoredSkin(stored);
  } catch (const Exception& e) {
    std::fprintf(stderr, "bench_mdi: %s\n", qPrintable(e.Message()));
    return 1;
  }
  pframe->SetSkinData(data);
  parent->Show();
  std::vector<TForm*> children;
  std::vector<TbsSkinForm*> frames;
  for (int i = 0; i < kChildren; ++i) {
    auto* c = app.CreateForm<TForm>();
    c->SetFormStyle(TFormStyle::fsMDIChild);
    c->SetCaption(QStringLiteral("Ledger %1").arg(i + 1));
    c->SetBounds(20 * i, 20 * i, CW, CH);
    auto* f = new TbsSkinForm(c);
    f->SetSkinData(data);
    c->Show();
    children.push_back(c);
    frames.push_back(f);
  }
  if (!pframe->Skinned() || parent->MDIChildCount() != kChildren) {
    std::fprintf(stderr, "bench_mdi: the skin or the children did not come up\n");
    return 1;
  }
  const TRect area = pframe->MDIClientArea();
  std::printf("parent %dx%d, MDI client area %dx%d, %d children of %dx%d\n", PW, PH, area.Width(), area.Height(),
              kChildren, CW, CH);

  // (a) Maximize and restore one child, with the frame paints that follow.
  TForm* child = children[kChildren / 2];
  TbsSkinForm* frame = frames[kChildren / 2];
  QImage parentSurface(PW, PH, QImage::Format_ARGB32_Premultiplied);
  QImage childSurface(CW, CH, QImage::Format_ARGB32_Premultiplied);
  const double ours = BestMicros(101, [&] {
    frame->SetWindowState(TWindowState::wsMaximized);
    {
      TCanvas canvas(&parentSurface);
      parent->Perform(WM_NCPAINT, reinterpret_cast<intptr_t>(&canvas));
    }
    frame->SetWindowState(TWindowState::wsNormal);
    TCanvas canvas(&childSurface);
    child->Perform(WM_NCPAINT, reinterpret_cast<intptr_t>(&canvas));
    g_sink = g_sink + childSurface.pixel(CW / 2, 5) + static_cast<uint64_t>(child->Width());
  });
  if (child->Width() != CW || pframe->MDIChildMaximized()) {
    std::fprintf(stderr, "bench_mdi: the child did not come back\n");
    return 1;
  }

  QMdiArea qarea;
  qarea.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  qarea.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  qarea.resize(area.Width(), area.Height());
  std::vector<QMdiSubWindow*> subs;
  for (int i = 0; i < kChildren; ++i) {
    auto* w = new QWidget;
    QMdiSubWindow* s = qarea.addSubWindow(w);
    s->setWindowTitle(QStringLiteral("Ledger %1").arg(i + 1));
    s->setGeometry(20 * i, 20 * i, CW, CH);
    subs.push_back(s);
  }
  qarea.show();
  QMdiSubWindow* sub = subs[kChildren / 2];
  sub->show();
  QImage areaSurface(area.Width(), area.Height(), QImage::Format_ARGB32_Premultiplied);
  const double reference = BestMicros(101, [&] {
    sub->showMaximized();
    qarea.render(&areaSurface);
    sub->showNormal();
    sub->render(&childSurface);
    g_sink = g_sink + static_cast<uint64_t>(sub->width());
  });
  std::printf("maximize + restore one of %d children with frame paints: %.1f us; Qt's MDI area: %.1f us\n", kChildren,
              ours, reference);

  // (b) Parent resize steps with one child maximized and three minimized.
  frames[0]->SetWindowState(TWindowState::wsMaximized);
  for (int i = 1; i <= 3; ++i) frames[static_cast<size_t>(i)]->SetWindowState(TWindowState::wsMinimized);
  bool big = false;
  const double refit = BestMicros(101, [&] {
    big = !big;
    parent->SetBounds(0, 0, big ? PW : PW - 40, big ? PH : PH - 30);
    g_sink = g_sink + static_cast<uint64_t>(children[0]->Width() + children[1]->Top());
  });
  subs[0]->showMaximized();
  for (int i = 1; i <= 3; ++i) subs[static_cast<size_t>(i)]->showMinimized();
  big = false;
  const double refitRef = BestMicros(101, [&] {
    big = !big;
    qarea.resize(big ? area.Width() : area.Width() - 40, big ? area.Height() : area.Height() - 30);
    QApplication::sendPostedEvents();
    g_sink = g_sink + static_cast<uint64_t>(subs[0]->width() + subs[1]->y());
  });
  std::printf("parent resize step with 1 maximized + 3 minimized children: %.1f us; Qt's MDI area: %.1f us\n", refit,
              refitRef);

  for (TForm* c : children) delete c;
  delete parent;

  // (c) skinview's skin switch between its two built-in skins.
  double switchMicros = 0, loadMicros = 0;
  {
    TSkinView view(app);
    view.UseBuiltInSkin(0);
    view.OpenAllChildren();
    view.OpenAllChildren();
    view.ShowForms(true);
    QApplication::processEvents();
    if (view.Children().size() != 10 || view.ParentForm()->MDIChildCount() != 10 || view.CurrentBuiltIn() != 0) {
      std::fprintf(stderr, "bench_mdi: skinview did not open ten children\n");
      return 1;
    }
    // Each call switches to the other skin and lets every form repaint.
    int next = 1;
    const char* runsText = std::getenv("BENCH_SWITCH_RUNS");  // more runs for a profile
    const int runs = runsText ? std::max(21, std::atoi(runsText)) : 21;
    switchMicros = BestMicros(runs, [&] {
      view.UseBuiltInSkin(next);
      QApplication::processEvents();
      next = 1 - next;
      g_sink = g_sink + static_cast<uint64_t>(view.SkinData()->SkinControls.size());
    });
    if (view.CurrentBuiltIn() != 1 - next) {
      std::fprintf(stderr, "bench_mdi: the skin did not switch\n");
      return 1;
    }
    // One more switch, as timed, with the paints counted: every form's frame and every control
    // window that shows must have painted (offscreen windows that are never exposed paint
    // nothing, and a switch would then cost nothing).
    {
      std::vector<const QWidget*> showing;
      std::vector<TForm*> forms{view.ParentForm(), view.ToolForm()};
      forms.insert(forms.end(), view.Children().begin(), view.Children().end());
      for (TForm* f : forms) ShowingWidgets(*f, showing);
      TPaintCounter counter;
      qApp->installEventFilter(&counter);
      view.UseBuiltInSkin(next);
      QApplication::processEvents();
      qApp->removeEventFilter(&counter);
      int painted = 0;
      for (const QWidget* w : showing) painted += counter.Paints.count(w) ? 1 : 0;
      std::printf("paints in one switch: %zu widgets of %zu showing painted, %zu paint events\n",
                  static_cast<size_t>(painted), showing.size(),
                  static_cast<size_t>(std::accumulate(counter.Paints.begin(), counter.Paints.end(), 0,
                                                      [](int n, const auto& p) { return n + p.second; })));
      if (painted != static_cast<int>(showing.size()) || showing.size() < forms.size() * 2) {
        std::fprintf(stderr, "bench_mdi: not every form and control painted in a skin switch\n");
        return 1;
      }
    }
    // The same skins loaded into a skin data no form reads.
    const std::unique_ptr<TSkinSource> skins[2] = {BuiltInSkin(0), BuiltInSkin(1)};
    TbsSkinData alone(nullptr);
    next = 1;
    loadMicros = BestMicros(21, [&] {
      skins[next]->LoadInto(alone);
      next = 1 - next;
      g_sink = g_sink + static_cast<uint64_t>(alone.SkinControls.size());
    });
  }
  std::printf("skinview skin switch with 10 children (every control re-reads, everything repaints): %.1f us; loading the skin alone: %.1f us\n",
              switchMicros, loadMicros);

  std::printf("RATIO mdi_maximize_restore %.3f\n", ours / reference);
  std::printf("RATIO mdi_parent_resize %.3f\n", refit / refitRef);
  std::printf("RATIO skinview_skin_switch_vs_load %.3f\n", switchMicros / loadMicros);
  return 0;
}
