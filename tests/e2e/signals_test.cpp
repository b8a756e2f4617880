// The real viewer asked to end by a signal (kill, Ctrl-C in its terminal, the end of the desktop
// session): it closes as "離開" closes it and ends with 0 (SIGTERM, SIGHUP) or 130 (SIGINT), also
// while a message box is open and while a statement waits for the server.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QThread>

#include <csignal>

#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "support/TestDatabaseSite.h"
#include "support/ViewerSite.h"
#include "tests/ChangeLogDatabase.h"
#include "tests/TestUtil.h"
#include "tests/db/support/Firebird.h"

namespace {
const QString kCaption = QStringLiteral("傳票資料異動紀錄");

class QuitSignal : public TestDatabaseSite {};
}  // namespace

TEST_F(QuitSignal, EachSignalEndsTheProgramWithItsExitCode) {
  for (const auto& [signal, exitCode] : {std::pair{SIGTERM, 0}, std::pair{SIGHUP, 0}, std::pair{SIGINT, 130}}) {
    SCOPED_TRACE(signal);
    TViewerRun run(site, {QStringLiteral("A001")}, DesktopEnvironment());
    ASSERT_TRUE(run.WaitForWindow(kCaption, 60000).has_value()) << run.StandardError().toStdString();
    ASSERT_EQ(kill(static_cast<pid_t>(run.Pid()), signal), 0);
    EXPECT_EQ(run.WaitForExit(30000), exitCode) << run.StandardError().toStdString();
    EXPECT_TRUE(run.Boxes().empty());
  }
}

TEST_F(QuitSignal, OpenMessageBoxClosesWithTheProgram) {
  // The first query's line statement fails: the failure box is open when the signal comes.
  TViewerRun run(site, {QStringLiteral("X-FAIL")}, DesktopEnvironment());
  ASSERT_TRUE(run.WaitForWindow(QStringLiteral("ledgerly"), 60000).has_value()) << run.StandardError().toStdString();
  ASSERT_EQ(run.Boxes().size(), 1u);
  ASSERT_EQ(kill(static_cast<pid_t>(run.Pid()), SIGTERM), 0);
  EXPECT_EQ(run.WaitForExit(30000), 0) << run.StandardError().toStdString();
}

TEST_F(QuitSignal, SignalDuringAStatementEndsTheProgramRightAfterIt) {
  TAccessibilityBus bus;
  ASSERT_TRUE(bus.Ok());
  FirebirdServer server;
  const QString path = server.DataDir() + QStringLiteral("/t.fdb");
  ASSERT_TRUE(MakeTestDatabase(path).isEmpty());
  server.Start();
  site.UseDatabase(server.Target(path), server.Password());

  TViewerRun run(site, {QStringLiteral("A001")}, bus.Environment(DesktopEnvironment()));
  ASSERT_TRUE(run.WaitForWindow(kCaption, 60000).has_value()) << run.StandardError().toStdString();
  const auto tree = bus.Tree(run.Pid(), QStringLiteral("查詢"));
  ASSERT_TRUE(tree.has_value());
  const auto button = NodeNamed(*tree, QStringLiteral("查詢"), QStringLiteral("push button"));
  ASSERT_TRUE(button.has_value());
  const auto centre = CentreOf(*button);
  ASSERT_TRUE(centre.has_value());

  // The server stops answering; "查詢" starts a statement that waits for it.
  ASSERT_EQ(kill(server.Pid(), SIGSTOP), 0);
  Xdo::ClickAt(centre->first, centre->second);
  QThread::msleep(1500);
  ASSERT_EQ(kill(static_cast<pid_t>(run.Pid()), SIGTERM), 0);
  // The statement still waits: the program does too, without dropping the connection.
  EXPECT_EQ(run.WaitForExit(2000), -1);
  EXPECT_TRUE(run.Running());
  // The server answers again: the statement completes, then the program ends.
  ASSERT_EQ(kill(server.Pid(), SIGCONT), 0);
  EXPECT_EQ(run.WaitForExit(30000), 0) << run.StandardError().toStdString();
  EXPECT_TRUE(run.Boxes().empty());
}
