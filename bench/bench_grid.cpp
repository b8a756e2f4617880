// The lower grid of the query form at 1920x1080 over 1,000,000 (and 10,000) voucher lines:
// one full paint, and one scroll by one row (the current record steps past the bottom row),
// against a plain QTableView over the same rows of the same client data set, in the same
// process and on the same offscreen backing store.
#include <QAbstractTableModel>
#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "db/ClientDataSet.h"
#include "db/DataSource.h"
#include "db/Field.h"
#include "grid/zebdbgrid.h"
#include "platform/Colors.h"
#include "platform/Forms.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;

struct Col {
  const char* name;
  const char* label;
  int size;  // 0: floating-point
};
// The voucher line columns the lower grid shows, plus an amount it holds but does not show.
const Col kCols[] = {
    {"MASTERBILLID", "傳票編號", 20}, {"ACC_DATE", "傳票日期", 10}, {"ACC_NO", "科目代號", 10},
    {"ACC_NAME", "科目名稱", 25},     {"HLP_NO", "輔助代號", 5},    {"HLP_NAME", "摘要", 80},
    {"CHG_TIMESTAMP", "註記", 20},    {"AMOUNT", "金額", 0},
};
constexpr int kShown = 7;

TDataPacket MakeRows(int rows) {
  TDataPacket p;
  for (const Col& c : kCols) {
    TColumnDesc d;
    d.name = QString::fromLatin1(c.name);
    d.dataType = c.size ? ftString : ftFloat;
    d.size = c.size;
    d.charSet = 4;  // UTF8
    p.AddColumn(d);
  }
  const char* names[] = {"現金", "銀行存款", "應收帳款", "存貨", "應付帳款", "營業收入"};
  std::string s;
  for (int i = 0; i < rows; ++i) {
    p.BeginRow();
    auto put = [&](const std::string& v) { p.PutText(v.data(), v.size()); };
    char buf[64];
    std::snprintf(buf, sizeof buf, "V%08d", i / 4);
    put(buf);
    std::snprintf(buf, sizeof buf, "2006/%02d/%02d", 1 + (i / 31) % 12, 1 + i % 28);
    put(buf);
    std::snprintf(buf, sizeof buf, "%04d", 1101 + i % 900);
    put(buf);
    put(names[i % 6]);
    std::snprintf(buf, sizeof buf, "H%03d", i % 997);
    put(buf);
    s = std::string("摘要 ") + std::to_string(i) + " 本月份費用轉帳";
    put(s);
    std::snprintf(buf, sizeof buf, "2006-03-03 10:%02d:%02d.%04d", (i / 60) % 60, i % 60, i % 10000);
    put(buf);
    p.PutDouble(0, 1234.5 + i, false);
    p.EndRow();
  }
  p.Finish();
  return p;
}

// Fields with the labels, as the form's persistent fields give them.
void AddFields(TComponent* owner, TClientDataSet* ds) {
  for (const Col& c : kCols) {
    TField* f = c.size ? static_cast<TField*>(new TStringField(owner)) : new TFloatField(owner);
    f->SetFieldName(QString::fromLatin1(c.name));
    f->SetDisplayLabel(QString::fromUtf8(c.label));
    if (c.size) f->SetSize(c.size);
    f->SetDataSet(ds);
  }
}

class DataSetModel : public QAbstractTableModel {
 public:
  explicit DataSetModel(TDataSet* ds) : ds_(ds) {}
  int rowCount(const QModelIndex& = {}) const override { return ds_->RecordCount(); }
  int columnCount(const QModelIndex& = {}) const override { return kShown; }
  QVariant data(const QModelIndex& i, int role) const override {
    if (role == Qt::DisplayRole) return ds_->DisplayText(i.row(), i.column());
    if (role == Qt::TextAlignmentRole) return QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
  }
  QVariant headerData(int s, Qt::Orientation o, int role) const override {
    if (role == Qt::DisplayRole && o == Qt::Horizontal) return ds_->Fields(s)->DisplayName();
    return QAbstractTableModel::headerData(s, o, role);
  }

 private:
  TDataSet* ds_;
};

// Processor time of the whole process (Qt's helper threads included), so that other work on
// a shared machine does not count.
struct CpuTimer {
  double start = 0;
  static double Now() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
  }
  void Start() { start = Now(); }
  double MsPer(int n) const { return (Now() - start) / n; }
};

struct Figures {
  double ourPaint = 0, ourScroll = 0, viewPaint = 0, viewScroll = 0;
};

Figures Run(int rows) {
  TComponent owner(nullptr);
  auto* ds = new TClientDataSet(&owner);
  AddFields(&owner, ds);
  ds->SetData(MakeRows(rows));
  auto* src = new TDataSource(&owner);
  src->SetDataSet(ds);
  ds->Open();

  // The lower grid fills its form's client area, as it does in a maximised query form.
  auto* form = new TForm(&owner);
  form->SetBounds(0, 0, kWidth, kHeight);
  auto* grid = new Tzebdbgrid(&owner);
  grid->SetParent(form);
  grid->SetAlign(TAlign::alClient);
  grid->SetColor(RGBColor(206, 249, 208));
  grid->SetReadOnly(true);
  grid->SetZebra(true);
  grid->SetZebraColor(clWindow);
  grid->SetZebraFontColor(clWindowText);
  for (int i = 0; i < kShown; ++i) grid->Columns().Add()->SetFieldName(QString::fromLatin1(kCols[i].name));
  grid->SetDataSource(src);
  form->Show();
  QApplication::processEvents();

  DataSetModel model(ds);
  QTableView view;
  view.setModel(&model);
  view.setFont(grid->Font().ToQFont());
  view.setAlternatingRowColors(true);
  view.verticalHeader()->setDefaultSectionSize(grid->Geometry().RowPitch());
  for (int i = 0; i < kShown; ++i) view.setColumnWidth(i, grid->Geometry().ColWidths[static_cast<size_t>(i)]);
  view.resize(kWidth, kHeight);
  view.show();
  QApplication::processEvents();

  Figures f;
  // Each figure is the best of several batches, so that other work on the machine counts less.
  auto best = [](auto&& batch) {
    double m = 1e300;
    for (int i = 0; i < 5; ++i) m = std::min(m, batch());
    return m;
  };
  const int paints = 20, scrolls = 40;

  // Full frames through the same path: everything marked dirty, then painted and flushed.
  auto ourFrame = [&] {
    grid->Invalidate();
    QApplication::processEvents();
  };
  auto viewFrame = [&] {
    view.viewport()->update();
    view.horizontalHeader()->viewport()->update();
    view.verticalHeader()->viewport()->update();
    QApplication::processEvents();
  };
  ourFrame();
  viewFrame();
  f.ourPaint = best([&] {
    CpuTimer t;
    t.Start();
    for (int i = 0; i < paints; ++i) ourFrame();
    return t.MsPer(paints);
  });
  f.viewPaint = best([&] {
    CpuTimer t;
    t.Start();
    for (int i = 0; i < paints; ++i) viewFrame();
    return t.MsPer(paints);
  });

  // One-row scrolls: the current record steps past the bottom row each time.
  ds->First();
  ds->MoveBy(grid->VisibleRowCount() - 1);
  QApplication::processEvents();
  f.ourScroll = best([&] {
    CpuTimer t;
    t.Start();
    for (int i = 0; i < scrolls; ++i) {
      ds->MoveBy(1);
      QApplication::processEvents();
    }
    return t.MsPer(scrolls);
  });
  QScrollBar* bar = view.verticalScrollBar();
  bar->setValue(0);
  QApplication::processEvents();
  f.viewScroll = best([&] {
    CpuTimer t;
    t.Start();
    for (int i = 0; i < scrolls; ++i) {
      bar->setValue(bar->value() + 1);
      QApplication::processEvents();
    }
    return t.MsPer(scrolls);
  });
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  TApplication app(argc, argv);
  const Figures small = Run(10000);
  const Figures big = Run(1000000);
  std::printf("rows       grid paint  grid scroll  view paint  view scroll   (ms per frame)\n");
  std::printf("10000      %10.3f  %11.3f  %10.3f  %11.3f\n", small.ourPaint, small.ourScroll, small.viewPaint,
              small.viewScroll);
  std::printf("1000000    %10.3f  %11.3f  %10.3f  %11.3f\n", big.ourPaint, big.ourScroll, big.viewPaint,
              big.viewScroll);
  std::printf("RATIO grid_full_paint_1M_vs_qtableview %.3f\n", big.ourPaint / big.viewPaint);
  std::printf("RATIO grid_scroll_one_row_1M_vs_qtableview %.3f\n", big.ourScroll / big.viewScroll);
  std::printf("RATIO grid_full_paint_1M_vs_10k %.3f\n", big.ourPaint / small.ourPaint);
  std::printf("RATIO grid_scroll_one_row_1M_vs_10k %.3f\n", big.ourScroll / small.ourScroll);
  return 0;
}
