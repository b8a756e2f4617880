// The grids' context menu in the real viewer: a right click on the lower grid opens the skinned
// menu with its four commands, which a screen reader sees and can press; "匯出 CSV…" asks for a
// file and writes the grid's rows there.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <QThread>

#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "support/ViewerSite.h"
#include "tests/ChangeLogDatabase.h"
#include "tests/TestUtil.h"

namespace {
const QString kCaption = QStringLiteral("傳票資料異動紀錄");

QRect ExtentsOf(const QJsonObject& node) {
  const QJsonArray e = node.value(QStringLiteral("extents")).toArray();
  return QRect(e.at(0).toInt(), e.at(1).toInt(), e.at(2).toInt(), e.at(3).toInt());
}

QByteArray WaitForFile(const QString& path, int timeoutMs) {
  for (int waited = 0; waited < timeoutMs; waited += 100) {
    QFile f(path);
    if (f.exists() && f.open(QIODevice::ReadOnly)) return f.readAll();
    QThread::msleep(100);
  }
  return QByteArray();
}
}  // namespace

TEST(GridMenu, RightClickOpensTheMenuAndExportWritesTheRows) {
  TViewerSite site;
  ASSERT_TRUE(site.Ok());
  TAccessibilityBus bus;
  ASSERT_TRUE(bus.Ok());
  QTemporaryDir dbDir, outDir;
  const QString database = dbDir.path() + QStringLiteral("/t.fdb");
  const QString err = MakeTestDatabase(database);
  ASSERT_TRUE(err.isEmpty()) << err.toStdString();
  site.UseDatabase(database);
  const QStringList lines = QueryColumn(database, "SELECT COUNT(*) FROM ACC_MAST_TEMP WHERE MASTERBILLID = 'A001'");
  ASSERT_EQ(lines.size(), 1);

  TViewerRun run(site, {QStringLiteral("A001")}, bus.Environment(DesktopEnvironment()));
  const auto window = run.WaitForWindow(kCaption, 60000);
  ASSERT_TRUE(window.has_value()) << run.StandardError().toStdString();
  auto tree = bus.Tree(run.Pid(), QStringLiteral("查詢"));
  ASSERT_TRUE(tree.has_value());
  auto tables = FindNodes(*tree, [](const QJsonObject& n) { return n.contains(QStringLiteral("table")); });
  ASSERT_EQ(tables.size(), 2u);
  std::sort(tables.begin(), tables.end(),
            [](const QJsonObject& a, const QJsonObject& b) { return ExtentsOf(a).top() < ExtentsOf(b).top(); });
  const QRect lower = ExtentsOf(tables[1]);

  // A right click on the lower grid's second row.
  const int x = lower.left() + 60, y = lower.top() + 30;
  RunProgram(QStringLiteral("xdotool"), {QStringLiteral("mousemove"), QString::number(x), QString::number(y),
                                         QStringLiteral("click"), QStringLiteral("3")},
             DesktopEnvironment());
  tree = bus.Tree(run.Pid(), QStringLiteral("全部複製"));
  ASSERT_TRUE(tree.has_value()) << "no menu after the right click";
  SaveShot(Screenshot(), QStringLiteral("grid-menu"));
  for (const char* name : {"複製", "複製整列", "全部複製", "匯出 CSV…"})
    EXPECT_TRUE(NodeNamed(*tree, QString::fromUtf8(name), QStringLiteral("menu item")).has_value()) << name;

  // Pressed as a screen reader would: the file dialog asks for a name.
  ASSERT_TRUE(bus.DoAction(run.Pid(), QStringLiteral("匯出 CSV…"), QStringLiteral("Press")));
  const auto dialog = Xdo::WaitForWindow(QStringLiteral("匯出 CSV"), 30000);
  ASSERT_TRUE(dialog.has_value());
  const QString path = outDir.path() + QStringLiteral("/lines.csv");
  Xdo::Key(*dialog, QStringLiteral("ctrl+a"));
  Xdo::Type(*dialog, path);
  Xdo::Key(*dialog, QStringLiteral("Return"));
  const QByteArray csv = WaitForFile(path, 30000);
  ASSERT_TRUE(csv.startsWith("\xEF\xBB\xBF")) << csv.left(40).toStdString();
  const QStringList records = QString::fromUtf8(csv.mid(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  ASSERT_EQ(records.size(), lines[0].toInt() + 1);
  EXPECT_TRUE(records[0].startsWith(QStringLiteral("傳票編號,傳票日期,"))) << records[0].toStdString();
  for (int r = 1; r < records.size(); ++r) EXPECT_TRUE(records[r].startsWith(QStringLiteral("A001,"))) << r;
  EXPECT_TRUE(run.Boxes().empty());

  EXPECT_TRUE(bus.DoAction(run.Pid(), QStringLiteral("離開"), QStringLiteral("Press")));
  EXPECT_EQ(run.WaitForExit(30000), 0) << run.StandardError().toStdString();
}
