// Several viewers side by side on one database file opened with the embedded engine: each
// starts, shows its window and queries, none is refused the file.
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QThread>

#include <memory>

#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "support/TestDatabaseSite.h"
#include "support/ViewerSite.h"
#include "tests/TestUtil.h"

namespace {
const QString kCaption = QStringLiteral("傳票資料異動紀錄");

// Rows of the two grids of a viewer, upper first; empty when its tree cannot be read.
std::vector<int> GridRows(const TAccessibilityBus& bus, qint64 pid) {
  const auto tree = bus.Tree(pid, QStringLiteral("查詢"));
  if (!tree) return {};
  auto tables = FindNodes(*tree, [](const QJsonObject& n) { return n.contains(QStringLiteral("table")); });
  std::sort(tables.begin(), tables.end(), [](const QJsonObject& a, const QJsonObject& b) {
    return a.value("extents").toArray().at(1).toInt() < b.value("extents").toArray().at(1).toInt();
  });
  std::vector<int> rows;
  for (const QJsonObject& t : tables) rows.push_back(t.value("table").toObject().value("rows").toInt());
  return rows;
}

class SharedDatabase : public TestDatabaseSite {};
}  // namespace

TEST_F(SharedDatabase, ThreeViewersQueryOneFileAtOnce) {
  TAccessibilityBus bus;
  ASSERT_TRUE(bus.Ok());

  // Started together, each on its own voucher.
  const QString vouchers[] = {QStringLiteral("A001"), QStringLiteral("A002"), QStringLiteral("A003")};
  std::vector<std::unique_ptr<TViewerRun>> runs;
  for (const QString& v : vouchers) runs.push_back(std::make_unique<TViewerRun>(site, QStringList{v}, bus.Environment(DesktopEnvironment())));
  for (auto& run : runs) {
    ASSERT_TRUE(run->WaitForWindow(kCaption, 90000).has_value())
        << "no window; boxes: " << (run->Boxes().empty() ? std::string() : run->Boxes()[0].Text.toStdString())
        << run->StandardError().toStdString();
  }
  // Every first query found its rows (A001: 2 and 6, A002: 1 and 4, A003: 3 and 6).
  const std::vector<int> expected[] = {{2, 6}, {1, 4}, {3, 6}};
  for (size_t i = 0; i < runs.size(); ++i) EXPECT_EQ(GridRows(bus, runs[i]->Pid()), expected[i]) << i;

  // All three query again while the others hold the file open.
  for (auto& run : runs) EXPECT_TRUE(bus.DoAction(run->Pid(), QStringLiteral("查詢"), QStringLiteral("Press")));
  QThread::msleep(1000);
  for (size_t i = 0; i < runs.size(); ++i) {
    EXPECT_EQ(GridRows(bus, runs[i]->Pid()), expected[i]) << i;
    EXPECT_TRUE(runs[i]->Boxes().empty()) << runs[i]->Boxes()[0].Text.toStdString();
  }
  for (auto& run : runs) {
    EXPECT_TRUE(bus.DoAction(run->Pid(), QStringLiteral("離開"), QStringLiteral("Press")));
    EXPECT_EQ(run->WaitForExit(30000), 0) << run->StandardError().toStdString();
  }
}
