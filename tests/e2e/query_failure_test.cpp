// A statement that the server fails in the middle of a session: the message box titled with
// the application title, the window staying usable, and which grid keeps which result; and a
// server that restarts or goes away while the viewer runs.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QTemporaryDir>
#include <QThread>

#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "tests/ChangeLogDatabase.h"
#include "support/TestDatabaseSite.h"
#include "support/ViewerSite.h"
#include "tests/TestUtil.h"
#include "tests/db/support/Firebird.h"

namespace {
const QString kCaption = QStringLiteral("傳票資料異動紀錄");

struct TGridState {
  int Rows = -1;
  QString FirstVoucher;
};

class QueryFailure : public TestDatabaseSite {
 protected:
  void SetUp() override {
    TestDatabaseSite::SetUp();
    ASSERT_TRUE(bus.Ok());
  }

  // Upper and lower grid: row count and the voucher number of the first row.
  std::pair<TGridState, TGridState> GridStates(qint64 pid) {
    const auto tree = bus.Tree(pid, QStringLiteral("查詢"));
    if (!tree) return {};
    auto tables = FindNodes(*tree, [](const QJsonObject& n) { return n.contains(QStringLiteral("table")); });
    if (tables.size() != 2) return {};
    std::sort(tables.begin(), tables.end(), [](const QJsonObject& a, const QJsonObject& b) {
      return a.value("extents").toArray().at(1).toInt() < b.value("extents").toArray().at(1).toInt();
    });
    auto state = [](const QJsonObject& grid, int voucherColumn) {
      const QJsonObject t = grid.value("table").toObject();
      TGridState s;
      s.Rows = t.value("rows").toInt();
      const QJsonArray cells = t.value("cells").toArray();
      if (!cells.isEmpty()) s.FirstVoucher = cells.at(0).toArray().at(voucherColumn).toString();
      return s;
    };
    return {state(tables[0], 1), state(tables[1], 0)};
  }

  // Types `voucher` into both edits and presses "查詢" through its accessible action.
  void QueryVoucher(const QString& window, qint64 pid, const QString& voucher) {
    const auto tree = bus.Tree(pid, QStringLiteral("查詢"));
    ASSERT_TRUE(tree.has_value());
    const auto edits = FindNodes(*tree, [](const QJsonObject& n) {
      return n.value("editable").toBool() && n.value("role").toString() == QLatin1String("text");
    });
    ASSERT_GE(edits.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
      const auto c = CentreOf(edits[i]);
      ASSERT_TRUE(c.has_value());
      Xdo::ClickAt(c->first, c->second);
      Xdo::Key(window, QStringLiteral("ctrl+a"));
      Xdo::Key(window, QStringLiteral("BackSpace"));
      Xdo::Type(window, voucher);
    }
    const auto button = NodeNamed(*tree, QStringLiteral("查詢"), QStringLiteral("push button"));
    ASSERT_TRUE(button.has_value());
    const auto c = CentreOf(*button);
    ASSERT_TRUE(c.has_value());
    Xdo::ClickAt(c->first, c->second);
  }

  TAccessibilityBus bus;
};
}  // namespace

TEST_F(QueryFailure, LineStatementFailsThenHeaderStatementFails) {
  TViewerRun run(site, {QStringLiteral("A001")}, bus.Environment(DesktopEnvironment()));
  const auto window = run.WaitForWindow(kCaption, 60000);
  ASSERT_TRUE(window.has_value()) << run.StandardError().toStdString();
  auto [upper, lower] = GridStates(run.Pid());
  EXPECT_EQ(upper.Rows, 2);
  EXPECT_EQ(lower.Rows, 6);

  // X-FAIL: the header statement succeeds, the line statement fails while its rows are fetched.
  QueryVoucher(*window, run.Pid(), QStringLiteral("X-FAIL"));
  auto box = run.WaitForWindow(QStringLiteral("ledgerly"), 30000);
  ASSERT_TRUE(box.has_value()) << "no message box titled with the application title";
  auto boxes = run.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].Caption, QStringLiteral("ledgerly"));
  EXPECT_TRUE(boxes[0].Text.contains(QStringLiteral("divide by zero"), Qt::CaseInsensitive)) << boxes[0].Text.toStdString();
  EXPECT_TRUE(boxes[0].Text.endsWith(QLatin1Char('.')));
  EXPECT_EQ(boxes[0].Flags, 0x10u);  // stop icon, one OK button
  Xdo::Key(*box, QStringLiteral("Return"));
  QThread::msleep(500);
  ASSERT_TRUE(run.Running());
  std::tie(upper, lower) = GridStates(run.Pid());
  EXPECT_EQ(upper.Rows, 1);  // the new header result is shown
  EXPECT_EQ(upper.FirstVoucher, QStringLiteral("X-FAIL"));
  EXPECT_EQ(lower.FirstVoucher, QString());  // the line data set stays closed

  // The window stays usable: A001 again gives both results.
  QueryVoucher(*window, run.Pid(), QStringLiteral("A001"));
  QThread::msleep(1000);
  std::tie(upper, lower) = GridStates(run.Pid());
  EXPECT_EQ(upper.Rows, 2);
  EXPECT_EQ(lower.Rows, 6);
  EXPECT_EQ(lower.FirstVoucher, QStringLiteral("A001"));

  // Y-FAIL: the header statement fails; the upper grid empties, the lower keeps A001's lines.
  QueryVoucher(*window, run.Pid(), QStringLiteral("Y-FAIL"));
  box = run.WaitForWindow(QStringLiteral("ledgerly"), 30000);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(run.Boxes().size(), 2u);
  Xdo::Key(*box, QStringLiteral("Return"));
  QThread::msleep(500);
  std::tie(upper, lower) = GridStates(run.Pid());
  EXPECT_EQ(upper.FirstVoucher, QString());
  EXPECT_EQ(lower.Rows, 6);
  EXPECT_EQ(lower.FirstVoucher, QStringLiteral("A001"));

  // A quote in the bounds keeps the statement well formed: no rows and no message.
  QueryVoucher(*window, run.Pid(), QStringLiteral("A'001"));
  EXPECT_FALSE(run.WaitForWindow(QStringLiteral("ledgerly"), 3000).has_value());
  EXPECT_EQ(run.Boxes().size(), 2u);
  std::tie(upper, lower) = GridStates(run.Pid());
  EXPECT_EQ(upper.FirstVoucher, QString());
  EXPECT_EQ(lower.FirstVoucher, QString());

  EXPECT_TRUE(bus.DoAction(run.Pid(), QStringLiteral("離開"), QStringLiteral("Press")));
  EXPECT_EQ(run.WaitForExit(30000), 0) << run.StandardError().toStdString();
}

TEST_F(QueryFailure, ServerRestartWhileTheViewerRuns) {
  FirebirdServer server;
  const QString path = server.DataDir() + QStringLiteral("/t.fdb");
  ASSERT_TRUE(MakeTestDatabase(path).isEmpty());
  server.Start();
  site.UseDatabase(server.Target(path), server.Password());
  TViewerRun run(site, {QStringLiteral("A001")}, bus.Environment(DesktopEnvironment()));
  const auto window = run.WaitForWindow(kCaption, 60000);
  ASSERT_TRUE(window.has_value()) << run.StandardError().toStdString();
  auto [upper, lower] = GridStates(run.Pid());
  EXPECT_EQ(upper.Rows, 2);
  EXPECT_EQ(lower.Rows, 6);

  // The server restarts: the next query reconnects on its own, shows no box and both results.
  server.Stop();
  server.Start();
  QueryVoucher(*window, run.Pid(), QStringLiteral("A002"));
  EXPECT_FALSE(run.WaitForWindow(QStringLiteral("ledgerly"), 3000).has_value());
  EXPECT_TRUE(run.Boxes().empty());
  std::tie(upper, lower) = GridStates(run.Pid());
  EXPECT_EQ(upper.Rows, 1);
  EXPECT_EQ(upper.FirstVoucher, QStringLiteral("A002"));
  EXPECT_EQ(lower.Rows, 4);

  // The server goes for good: the box names the lost connection; the lower grid keeps A002's lines.
  server.Kill();
  QueryVoucher(*window, run.Pid(), QStringLiteral("A001"));
  const auto box = run.WaitForWindow(QStringLiteral("ledgerly"), 30000);
  ASSERT_TRUE(box.has_value());
  const auto boxes = run.Boxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_TRUE(boxes[0].Text.startsWith(QStringLiteral("dbExpress Error: The connection to the server was lost\n")))
      << boxes[0].Text.toStdString();
  Xdo::Key(*box, QStringLiteral("Return"));
  QThread::msleep(500);
  std::tie(upper, lower) = GridStates(run.Pid());
  EXPECT_EQ(upper.FirstVoucher, QString());
  EXPECT_EQ(lower.Rows, 4);
  EXPECT_EQ(lower.FirstVoucher, QStringLiteral("A002"));

  EXPECT_TRUE(bus.DoAction(run.Pid(), QStringLiteral("離開"), QStringLiteral("Press")));
  EXPECT_EQ(run.WaitForExit(30000), 0) << run.StandardError().toStdString();
}
