// Showing a hint, offscreen, with the daylight skin's hint picture: the skinned hint window's
// whole show (measure, compose, region, show, paint on the event loop, hide) against Qt's own
// tool tip showing the same texts in the same process (show, paint on the event loop, hide).
// Each run waits until the window has really painted the new text (counted by an event filter)
// and fails the benchmark when it never does, so that neither side is measured without its
// paint.
// The first measure shows a text never shown before at every show, so that nothing of it can
// be kept: the whole work of a hint (the background composed for the size may be kept). The
// second lets two texts take turns, as when the mouse goes back and forth between two controls:
// the window never shows the text it just painted, but our hint window keeps the composed
// pictures of the last few hints it showed.
// Prints the figures, then RATIO lines (ours / reference).
#include <QApplication>
#include <QElapsedTimer>
#include <QToolTip>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Forms.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"
#include "skin/menus/bsSkinHint.h"

namespace {

// Best time of `runs` calls, in microseconds (the least disturbed run on a shared machine).
double Micros(int runs, const std::function<void(int)>& f) {
  f(1);  // warm-up; the runs then take turns from the other text
  std::vector<double> t;
  for (int i = 0; i < runs; ++i) {
    const auto a = std::chrono::steady_clock::now();
    f(i);
    t.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - a).count());
  }
  return *std::min_element(t.begin(), t.end());
}

// Counts the paint events of top-level windows whose class name starts with `prefix`.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QByteArray prefix) : prefix_(std::move(prefix)) {}
  int paints = 0;
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint && o->isWidgetType() && static_cast<QWidget*>(o)->isWindow() &&
        QByteArray(o->metaObject()->className()).startsWith(prefix_))
      ++paints;
    return false;
  }

 private:
  QByteArray prefix_;
};

// Runs the event loop until `counter` saw one more paint; false when none came.
bool WaitPaint(PaintCounter& counter, int before) {
  QElapsedTimer t;
  t.start();
  while (counter.paints == before) {
    QCoreApplication::processEvents();
    if (t.elapsed() > 2000) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  // The offscreen platform warns at every raise of a window (both sides raise theirs).
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
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
  const char* runsText = std::getenv("BENCH_RUNS");  // more runs for a profile
  const int kRuns = runsText ? std::max(1, std::atoi(runsText)) : 300;

  // Our window's widget and Qt's tip label; everything else is not counted.
  w->ActivateHint(TRect(200, 200, 200, 200), texts[0]);
  PaintCounter ourPaints(w->Handle()->metaObject()->className()), tipPaints("QTipLabel");
  w->ReleaseHint();
  qApp->installEventFilter(&ourPaints);
  qApp->installEventFilter(&tipPaints);

  bool ok = true;
  const double ours = Micros(kRuns, [&](int i) {
    const int before = ourPaints.paints;
    w->ActivateHint(TRect(200, 200, 200, 200), texts[i % 2]);
    ok = WaitPaint(ourPaints, before) && ok;
    w->ReleaseHint();
  });
  const int ourCount = ourPaints.paints;
  const int shownWidth = w->Width(), shownHeight = w->Height();
  if (std::getenv("BENCH_OURS_ONLY")) return 0;  // for a profile of our side alone
  const double reference = Micros(kRuns, [&](int i) {
    const int before = tipPaints.paints;
    QToolTip::showText(QPoint(200, 200), texts[i % 2]);
    ok = WaitPaint(tipPaints, before) && ok;
    QToolTip::hideText();
  });
  const int tipCount = tipPaints.paints;
  // Where our time goes: the activation alone (font, measure, bounds, region, show), and the
  // window's image alone (compose and text).
  const double activate = Micros(kRuns, [&](int i) {
    w->ActivateHint(TRect(200, 200, 200, 200), texts[i % 2]);
    w->ReleaseHint();
  });
  TBitmap image;
  const double compose = Micros(kRuns, [&](int) { w->PaintTo(image); });
  // A new text at every show, the same texts on both sides.
  const int kNewTexts = kRuns + 1;
  std::vector<QString> fresh;
  for (int i = 0; i < kNewTexts; ++i) fresh.push_back(QStringLiteral("Close window %1").arg(i));
  int next = 0;
  const double oursNew = Micros(kRuns, [&](int) {
    const int before = ourPaints.paints;
    w->ActivateHint(TRect(200, 200, 200, 200), fresh[static_cast<size_t>(next++ % kNewTexts)]);
    ok = WaitPaint(ourPaints, before) && ok;
    w->ReleaseHint();
  });
  next = 0;
  const double referenceNew = Micros(kRuns, [&](int) {
    const int before = tipPaints.paints;
    QToolTip::showText(QPoint(200, 200), fresh[static_cast<size_t>(next++ % kNewTexts)]);
    ok = WaitPaint(tipPaints, before) && ok;
    QToolTip::hideText();
  });
  std::printf("  of which activation and hide: %.1f us, window image: %.1f us\n", activate, compose);
  std::printf("two texts in turn: skinned hint show+paint+hide: %.1f us (window %d x %d, %d paints)\n", ours, shownWidth, shownHeight,
              ourCount);
  std::printf("QToolTip show+paint+hide:     %.1f us (%d paints)\n", reference, tipCount);
  std::printf("new text each show: skinned hint %.1f us, QToolTip %.1f us\n", oursNew, referenceNew);
  if (!ok) {
    std::printf("a window did not paint\n");
    return 1;
  }
  std::printf("RATIO hint_show_vs_qtooltip %.3f\n", oursNew / referenceNew);
  std::printf("RATIO hint_reshow_vs_qtooltip %.3f\n", ours / reference);
  delete form;
  return 0;
}
