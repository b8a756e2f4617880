// Showing a hint, offscreen, with the daylight skin's hint picture: the skinned hint window's
// whole show (measure, compose, region, show, paint on the event loop, hide) against Qt's own
// tool tip showing the same texts in the same process (show, paint on the event loop, hide).
// Two texts take turns so that neither side can keep a shown text.
// Prints the figures, then a RATIO line (ours / reference).
#include <QApplication>
#include <QToolTip>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "platform/Forms.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/menus/bsSkinHint.h"

namespace {

// Best time of `runs` calls, in microseconds (the least disturbed run on a shared machine).
double Micros(int runs, const std::function<void(int)>& f) {
  f(0);
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const auto a = std::chrono::steady_clock::now();
    f(i);
    t.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - a).count());
  }
  return *std::min_element(t.begin(), t.end());
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TApplication app(argc, argv);
  const char* src = std::getenv("LEDGERLY_SOURCE_DIR");
  const QString root = QString::fromLocal8Bit(src ? src : LEDGERLY_SOURCE_DIR_DEFAULT);
  TForm* form = app.CreateForm<TForm>();
  auto* data = new TbsSkinData(form);
  TbsStoredSkin stored(nullptr);
  stored.LoadFromSkinFile(root + QStringLiteral("/skins/daylight/SKIN.INI"));
  data->LoadFromStoredSkin(stored);
  auto* hint = new TbsSkinHint(form);
  hint->SetSkinData(data);
  TbsSkinHintWindow* w = hint->OwnWindow();
  const QString texts[] = {QStringLiteral("Close the window"), QStringLiteral("Minimize the window")};
  constexpr int kRuns = 300;

  const double ours = Micros(kRuns, [&](int i) {
    w->ActivateHint(TRect(200, 200, 200, 200), texts[i % 2]);
    QCoreApplication::processEvents();
    w->ReleaseHint();
  });
  const double reference = Micros(kRuns, [&](int i) {
    QToolTip::showText(QPoint(200, 200), texts[i % 2]);
    QCoreApplication::processEvents();
    QToolTip::hideText();
  });
  std::printf("skinned hint show+paint+hide: %.1f us (window %d x %d)\n", ours, w->Width(), w->Height());
  std::printf("QToolTip show+paint+hide:     %.1f us\n", reference);
  std::printf("RATIO hint_show %.3f\n", ours / reference);
  delete form;
  return 0;
}
