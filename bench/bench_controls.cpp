// The skinned controls of the query form with its skin (slate), offscreen at 1920 x 1080:
//  (a) one full repaint of the form's controls (three panels, two buttons, two labels, two
//      edits and the page control, laid out as the query form lays them out), rendered into
//      one image through Qt's widget rendering, against the same area painted by plain Qt
//      widgets of the same kinds (frames, push buttons, labels, line edits, a tab widget) in
//      the same layout, rendered the same way;
//      (also shown: a resize and repaint, where every image is composed anew);
//  (b) one fade step of a button: both looks composed, morphed by the section's kind and drawn,
//      against 1/100 of the 20 ms fade tick (200 us).
// Prints the figures, then RATIO lines (ours / reference).
#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "bench/BestTime.h"
#include "platform/Canvas.h"
#include "platform/Exceptions.h"
#include "platform/Forms.h"
#include "platform/Messages.h"
#include "skin/controls/bsSkinButton.h"
#include "skin/controls/bsSkinEdit.h"
#include "skin/controls/bsSkinPanel.h"
#include "skin/controls/bsSkinStdLabel.h"
#include "skin/controls/bsSkinTabs.h"
#include "skin/data/SkinData.h"
#include "skin/data/StoredSkin.h"

namespace {

constexpr int W = 1920, H = 1080;
constexpr int kTop = 73, kBottom = 40;

// The query form's layout: a top strip with the page control (two edits and two labels on
// its page) and the query button, a bottom strip with the leave button, a grid area between.
struct SkinnedForm {
  TForm form{nullptr};
  TbsSkinButton* query = nullptr;
  explicit SkinnedForm(TbsSkinData* data) {
    form.SetPlatformFrame(false);
    form.SetBounds(0, 0, W, H);
    auto panel = [&](TAlign align, int h) {
      auto* p = new TbsSkinPanel(&form);
      p->SetParent(&form);
      p->SetAlign(align);
      p->SetHeight(h);
      p->SetSkinData(data);
      return p;
    };
    TbsSkinPanel* top = panel(TAlign::alTop, kTop);
    TbsSkinPanel* bottom = panel(TAlign::alBottom, kBottom);
    panel(TAlign::alClient, 0);
    auto* pages = new TbsSkinPageControl(&form);
    pages->SetParent(top);
    pages->SetBounds(4, 2, 600, 66);
    auto* numbers = new TbsSkinTabSheet(&form);
    numbers->SetPageControl(pages);
    numbers->SetCaption(QStringLiteral("單號查詢"));
    auto* dates = new TbsSkinTabSheet(&form);
    dates->SetPageControl(pages);
    dates->SetCaption(QStringLiteral("日期查詢"));
    pages->SetSkinData(data);
    for (int i = 0; i < 2; ++i) {
      auto* label = new TbsSkinStdLabel(&form);
      label->SetParent(numbers);
      label->SetBounds(8 + 280 * i, 12, 60, 14);
      label->SetCaption(i == 0 ? QStringLiteral("單號從") : QStringLiteral("至"));
      label->SetSkinData(data);
      auto* edit = new TbsSkinEdit(&form);
      edit->SetParent(numbers);
      edit->SetBounds(70 + 280 * i, 8, 180, 21);
      edit->SetText(QStringLiteral("A0001234"));
      edit->SetSkinData(data);
    }
    query = new TbsSkinButton(&form);
    query->SetParent(top);
    query->SetBounds(620, 20, 75, 25);
    query->SetCaption(QStringLiteral("查詢"));
    query->SetSkinData(data);
    auto* leave = new TbsSkinButton(&form);
    leave->SetParent(bottom);
    leave->SetBounds(W - 90, 8, 75, 25);
    leave->SetCaption(QStringLiteral("離開"));
    leave->SetSkinData(data);
    form.Show();
  }
};

// The same kinds of plain Qt widgets in the same places.
struct PlainForm {
  QWidget root;
  PlainForm() {
    root.setGeometry(0, 0, W, H);
    auto frame = [&](int y, int h) {
      auto* f = new QFrame(&root);
      f->setFrameStyle(QFrame::Panel | QFrame::Raised);
      f->setGeometry(0, y, W, h);
      return f;
    };
    QFrame* top = frame(0, kTop);
    QFrame* bottom = frame(H - kBottom, kBottom);
    frame(kTop, H - kTop - kBottom);
    auto* tabs = new QTabWidget(top);
    tabs->setGeometry(4, 2, 600, 66);
    auto* numbers = new QWidget;
    tabs->addTab(numbers, QStringLiteral("單號查詢"));
    tabs->addTab(new QWidget, QStringLiteral("日期查詢"));
    for (int i = 0; i < 2; ++i) {
      auto* label = new QLabel(i == 0 ? QStringLiteral("單號從") : QStringLiteral("至"), numbers);
      label->setGeometry(8 + 280 * i, 12, 60, 14);
      auto* edit = new QLineEdit(QStringLiteral("A0001234"), numbers);
      edit->setGeometry(70 + 280 * i, 8, 180, 21);
    }
    (new QPushButton(QStringLiteral("查詢"), top))->setGeometry(620, 20, 75, 25);
    (new QPushButton(QStringLiteral("離開"), bottom))->setGeometry(W - 90, 8, 75, 25);
    root.show();
  }
};

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TApplication app(argc, argv);
  const char* src = std::getenv("LEDGERLY_SOURCE_DIR");
  const QString root = src ? QString::fromLocal8Bit(src) : QStringLiteral(LEDGERLY_SOURCE_DIR_DEFAULT);

  TForm owner(nullptr);
  auto* data = new TbsSkinData(&owner);
  auto* compressed = new TbsCompressedStoredSkin(&owner);
  try {
    compressed->CompressFromSkinFile(root + QStringLiteral("/skins/slate/SKIN.INI"));
  } catch (const Exception& e) {
    std::fprintf(stderr, "bench_controls: %s\n", qPrintable(e.Message()));
    return 1;
  }
  data->SetCompressedStoredSkin(compressed);
  if (data->IsEmpty) {
    std::fprintf(stderr, "bench_controls: the skin did not load\n");
    return 1;
  }

  SkinnedForm skinned(data);
  PlainForm plain;
  QApplication::processEvents();
  if (skinned.query->SectionIndex() == -1) {
    std::fprintf(stderr, "bench_controls: the button found no section\n");
    return 1;
  }

  // (a) Full repaint of every control into one image.
  QImage target(W, H, QImage::Format_ARGB32_Premultiplied);
  const int runs = 40;
  const double ours = BestMicros(runs, [&] { skinned.form.Handle()->render(&target); });
  const double qt = BestMicros(runs, [&] { plain.root.render(&target); });
  std::printf("full repaint of the query form's controls at %dx%d: skinned %.0f us, plain Qt widgets %.0f us\n", W, H,
              ours, qt);
  // The controls keep their composed images between paints; after a resize they compose anew.
  // The form alternates between two widths, so no image kept from the last paint fits.
  int flip = 0;
  const double resized = BestMicros(10, [&] {
    skinned.form.SetBounds(0, 0, W - 2 * (++flip % 2), H);
    skinned.form.Handle()->render(&target);
  });
  skinned.form.SetBounds(0, 0, W, H);
  std::printf("resize and full repaint (every image composed anew): skinned %.0f us\n", resized);

  // (b) One fade step of the query button: both looks, the morph, the draw.
  TbsSkinButton* b = skinned.query;
  b->Perform(CM_MOUSEENTER);
  QImage face(b->Width(), b->Height(), QImage::Format_RGB32);
  double fade = 0;
  {
    QPainter painter(&face);
    TCanvas canvas;
    canvas.Attach(&painter);
    b->SetMorphFactor(0.5);
    fade = BestMicros(200, [&] { b->Perform(WM_PAINT, reinterpret_cast<intptr_t>(&canvas)); });
    canvas.Detach();
  }
  std::printf("button fade step (%dx%d, two looks composed, morphed, drawn): %.1f us; tick budget 1/100 of 20 ms\n",
              b->Width(), b->Height(), fade);

  std::printf("RATIO controls_full_repaint %.3f\n", ours / qt);
  std::printf("RATIO button_fade_step %.3f\n", fade / 200.0);
  return 0;
}
