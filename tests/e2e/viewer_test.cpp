// The real viewer under X: started with a voucher number on a database, found by its title,
// driven with xdotool, checked by screenshots and through the accessibility tree.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QTemporaryDir>
#include <QThread>

#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "support/Stripes.h"
#include "tests/ChangeLogDatabase.h"
#include "support/ViewerSite.h"
#include "tests/TestUtil.h"

namespace {
const QString kCaption = QStringLiteral("傳票資料異動紀錄");
const QRgb kPaleGreen = qRgb(206, 249, 208);
const QRgb kWindowWhite = qRgb(255, 255, 255);

const QStringList kHeaderTitles = {"傳摽種類", "傳票編號", "傳票日期", "借方金額", "貸方金額", "異動日期", "異動人員",
                                   "部門代號", "轉入單別", "轉入單別", "轉入單號", "註記",     "備註"};
const QStringList kLineTitles = {"傳票編號", "傳票日期", "科目代號", "科目名稱", "輔助代號", "摘要", "註記"};

QJsonObject TableOf(const QJsonObject& node) { return node.value(QStringLiteral("table")).toObject(); }

// The two grids, upper first (by their top edge on screen).
std::vector<QJsonObject> Grids(const QJsonObject& tree) {
  auto tables = FindNodes(tree, [](const QJsonObject& n) { return n.contains(QStringLiteral("table")); });
  std::sort(tables.begin(), tables.end(), [](const QJsonObject& a, const QJsonObject& b) {
    return a.value("extents").toArray().at(1).toInt() < b.value("extents").toArray().at(1).toInt();
  });
  return tables;
}

QStringList Headers(const QJsonObject& grid) {
  QStringList out;
  for (const QJsonValue& v : TableOf(grid).value(QStringLiteral("headers")).toArray()) out << v.toString();
  return out;
}

// Cell texts of one column, for every row read.
QStringList ColumnTexts(const QJsonObject& grid, int column) {
  QStringList out;
  for (const QJsonValue& row : TableOf(grid).value(QStringLiteral("cells")).toArray())
    out << row.toArray().at(column).toString();
  return out;
}

int Rows(const QJsonObject& grid) { return TableOf(grid).value(QStringLiteral("rows")).toInt(); }

QRect ExtentsOf(const QJsonObject& node) {
  const QJsonArray e = node.value(QStringLiteral("extents")).toArray();
  return QRect(e.at(0).toInt(), e.at(1).toInt(), e.at(2).toInt(), e.at(3).toInt());
}

class Viewer : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(site.Ok());
    ASSERT_TRUE(bus.Ok());
    database = dbDir.path() + QStringLiteral("/t.fdb");
    const QString err = MakeTestDatabase(database);
    ASSERT_TRUE(err.isEmpty()) << err.toStdString();
    site.UseDatabase(database);
  }

  // Clicks the centre of the node named `name`.
  void ClickOn(const QJsonObject& tree, const QString& name, const QString& role = QString()) {
    const auto node = NodeNamed(tree, name, role);
    ASSERT_TRUE(node.has_value()) << name.toStdString();
    const auto c = CentreOf(*node);
    ASSERT_TRUE(c.has_value()) << name.toStdString();
    Xdo::ClickAt(c->first, c->second);
  }

  // Replaces the text of an edit box (found by its extents) with `text`.
  void TypeInto(const QString& window, const QJsonObject& edit, const QString& text) {
    const auto c = CentreOf(edit);
    ASSERT_TRUE(c.has_value());
    Xdo::ClickAt(c->first, c->second);
    Xdo::Key(window, QStringLiteral("ctrl+a"));
    Xdo::Key(window, QStringLiteral("BackSpace"));
    if (!text.isEmpty()) Xdo::Type(window, text);
  }

  QTemporaryDir dbDir;
  QString database;
  TViewerSite site;
  TAccessibilityBus bus;
};
}  // namespace

TEST_F(Viewer, OpensOnVoucherShowsStripesAndQueriesAgainOnClick) {
  // What the database holds, read before the viewer opens it (the embedded engine holds the file alone).
  const QStringList mainCount = QueryColumn(database, "SELECT COUNT(*) FROM ACC_MAIN_TEMP WHERE MASTERBILLID = 'A001'");
  const QStringList mastCount = QueryColumn(database, "SELECT COUNT(*) FROM ACC_MAST_TEMP WHERE MASTERBILLID = 'A001'");
  ASSERT_EQ(mainCount.size(), 1);
  ASSERT_EQ(mastCount.size(), 1);
  TViewerRun run(site, {QStringLiteral("A001")}, bus.Environment(DesktopEnvironment()));
  const auto window = run.WaitForWindow(kCaption, 60000);
  ASSERT_TRUE(window.has_value()) << run.StandardError().toStdString();

  // Shown maximised: with no window manager on this display, the window still covers the
  // whole screen (which has no panels, so the work area is all of it).
  const auto screen = Xdo::DisplaySize();
  const auto geometry = Xdo::Geometry(*window);
  ASSERT_TRUE(screen.has_value());
  ASSERT_TRUE(geometry.has_value());
  EXPECT_EQ(geometry->X, 0);
  EXPECT_EQ(geometry->Y, 0);
  EXPECT_EQ(geometry->Width, screen->width());
  EXPECT_EQ(geometry->Height, screen->height());

  // The first query ran on showing: both grids hold the rows of A001, as the database has them.
  auto tree = bus.Tree(run.Pid(), QStringLiteral("查詢"));
  ASSERT_TRUE(tree.has_value());
  auto grids = Grids(*tree);
  ASSERT_EQ(grids.size(), 2u);
  EXPECT_EQ(Headers(grids[0]), kHeaderTitles);
  EXPECT_EQ(Headers(grids[1]), kLineTitles);
  EXPECT_EQ(Rows(grids[0]), mainCount[0].toInt());
  EXPECT_EQ(Rows(grids[1]), mastCount[0].toInt());
  EXPECT_EQ(ColumnTexts(grids[1], 0), QStringList(mastCount[0].toInt(), QStringLiteral("A001")));
  // Amounts: general format, right-aligned in their own columns (column 3 of the upper grid).
  EXPECT_EQ(ColumnTexts(grids[0], 3), (QStringList{"1234.5", "2469"}));

  // The lower grid's rows are striped: pale green on top, then white, alternating.
  QImage shot = Screenshot();
  SaveShot(shot, QStringLiteral("viewer-start"));
  const QRect lower = ExtentsOf(grids[1]);
  auto stripes = FindStripes(shot, lower, {kPaleGreen, kWindowWhite});
  EXPECT_GE(LongestAlternation(stripes, kPaleGreen, kWindowWhite), 3) << "no zebra stripes in the lower grid";

  // Another voucher typed into both edits, then "查詢" clicked: both grids show its rows.
  const auto edits = FindNodes(*tree, [](const QJsonObject& n) {
    return n.value("editable").toBool() && n.value("role").toString() == QLatin1String("text") &&
           n.value("text").toString() == QLatin1String("A001");
  });
  ASSERT_EQ(edits.size(), 2u);
  TypeInto(*window, edits[0], QStringLiteral("A003"));
  TypeInto(*window, edits[1], QStringLiteral("A004"));
  ClickOn(*tree, QStringLiteral("查詢"), QStringLiteral("push button"));
  QThread::msleep(1000);
  tree = bus.Tree(run.Pid(), QStringLiteral("查詢"));
  ASSERT_TRUE(tree.has_value());
  grids = Grids(*tree);
  ASSERT_EQ(grids.size(), 2u);
  EXPECT_EQ(Rows(grids[0]), 3 + 1);
  EXPECT_EQ(Rows(grids[1]), 3 * 2 + 5);
  EXPECT_EQ(ColumnTexts(grids[0], 1), (QStringList{"A003", "A003", "A003", "A004"}));
  shot = Screenshot();
  SaveShot(shot, QStringLiteral("viewer-after-query"));
  stripes = FindStripes(shot, ExtentsOf(grids[1]), {kPaleGreen, kWindowWhite});
  EXPECT_GE(LongestAlternation(stripes, kPaleGreen, kWindowWhite), 5);

  // "離開" ends the program normally.
  ClickOn(*tree, QStringLiteral("離開"), QStringLiteral("push button"));
  EXPECT_EQ(run.WaitForExit(30000), 0) << run.StandardError().toStdString();
}

TEST_F(Viewer, ControlsAreExposedToScreenReaders) {
  TViewerRun run(site, {QStringLiteral("A002")}, bus.Environment(DesktopEnvironment()));
  ASSERT_TRUE(run.WaitForWindow(kCaption, 60000).has_value()) << run.StandardError().toStdString();
  const auto tree = bus.Tree(run.Pid(), QStringLiteral("查詢"));
  ASSERT_TRUE(tree.has_value());
  // The form is a window named by its caption.
  const auto form = NodeNamed(*tree, kCaption);
  ASSERT_TRUE(form.has_value());
  EXPECT_TRUE(form->value("role").toString() == QLatin1String("frame") ||
              form->value("role").toString() == QLatin1String("window"))
      << form->value("role").toString().toStdString();
  // Buttons are push buttons named by their captions, with a press action.
  for (const QString& name : {QStringLiteral("查詢"), QStringLiteral("離開")}) {
    const auto b = NodeNamed(*tree, name, QStringLiteral("push button"));
    ASSERT_TRUE(b.has_value()) << name.toStdString();
    EXPECT_TRUE(b->value("actions").toArray().contains(QStringLiteral("Press"))) << name.toStdString();
  }
  // The tabs are page tabs named by their captions.
  EXPECT_TRUE(NodeNamed(*tree, QStringLiteral("單號查詢"), QStringLiteral("page tab")).has_value());
  EXPECT_TRUE(NodeNamed(*tree, QStringLiteral("日期查詢"), QStringLiteral("page tab")).has_value());
  // Both edits are editable texts holding argument 1.
  const auto edits = FindNodes(*tree, [](const QJsonObject& n) {
    return n.value("editable").toBool() && n.value("text").toString() == QLatin1String("A002");
  });
  EXPECT_EQ(edits.size(), 2u);
  // The grids are tables whose cells hold the display texts of the whole result in grid order.
  const auto grids = Grids(*tree);
  ASSERT_EQ(grids.size(), 2u);
  EXPECT_EQ(Rows(grids[1]), 4);
  EXPECT_EQ(ColumnTexts(grids[1], 3), (QStringList{"現金", "銀行存款", "銷貨收入", "薪資支出"}));
  EXPECT_EQ(ColumnTexts(grids[1], 2), (QStringList{"1101", "1102", "4101", "6101"}));
  // Pressing "離開" through its action closes the program with exit code 0.
  EXPECT_TRUE(bus.DoAction(run.Pid(), QStringLiteral("離開"), QStringLiteral("Press")));
  EXPECT_EQ(run.WaitForExit(30000), 0) << run.StandardError().toStdString();
}
