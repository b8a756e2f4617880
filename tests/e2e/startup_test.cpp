// The real viewer's start-up failures: each shows the "Application Error" box, shows no main
// window, and ends with exit code 1 once the box is dismissed.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QTemporaryDir>

#include "support/Desktop.h"
#include "tests/ChangeLogDatabase.h"
#include "support/TestDatabaseSite.h"
#include "support/ViewerSite.h"
#include "tests/SilentServer.h"
#include "tests/TestUtil.h"

namespace {
const QString kCaption = QStringLiteral("傳票資料異動紀錄");

struct TStartupFailure {
  int ExitCode = -1;
  QString Err;  // the text of the "Application Error" box
  bool BoxShown = false;
  bool MainWindowShown = false;
};

TStartupFailure RunToFailure(const TViewerSite& site) {
  TStartupFailure f;
  TViewerRun run(site, {QStringLiteral("A001")}, DesktopEnvironment());
  const auto box = run.WaitForWindow(QStringLiteral("Application Error"), 60000);
  f.BoxShown = box.has_value();
  f.MainWindowShown = run.WaitForWindow(kCaption, 200).has_value();
  if (box) Xdo::Key(*box, QStringLiteral("Return"));
  f.ExitCode = run.WaitForExit(30000);
  for (const TShownBox& b : run.Boxes())
    if (b.Caption == QLatin1String("Application Error")) f.Err = b.Text;
  return f;
}

class StartupFailure : public TestDatabaseSite {};

// The box text: "Exception <class> in module <module> at <address>." and the message on the next line.
::testing::AssertionResult IsStartupBox(const QString& err, const QString& message) {
  const QString head = QStringLiteral("Exception EDatabaseError in module ledgerly at ");
  const qsizetype at = err.indexOf(head);
  if (at < 0) return ::testing::AssertionFailure() << "no start-up failure text in: " << err.toStdString();
  const QString rest = err.mid(at + head.size());
  const QString address = rest.section(QLatin1Char('\n'), 0, 0);
  const QString second = rest.section(QLatin1Char('\n'), 1, 1);
  if (!QRegularExpression(QStringLiteral("^[0-9A-F]{8,16}\\.$")).match(address).hasMatch())
    return ::testing::AssertionFailure() << "address line: " << address.toStdString();
  if (second != message) return ::testing::AssertionFailure() << "message line: " << second.toStdString();
  return ::testing::AssertionSuccess();
}
}  // namespace

TEST_F(StartupFailure, MissingConnectionsFile) {
  site.RemoveFile(QStringLiteral("dbxconnections.ini"));
  const TStartupFailure f = RunToFailure(site);
  EXPECT_TRUE(f.BoxShown);
  EXPECT_FALSE(f.MainWindowShown);
  EXPECT_EQ(f.ExitCode, 1);
  EXPECT_TRUE(IsStartupBox(f.Err, QStringLiteral("Driver/Connection Registry File '%1' not found.")
                                      .arg(site.PathOf(QStringLiteral("dbxconnections.ini")))));
}

TEST_F(StartupFailure, ConnectionsFileWithoutTheSection) {
  site.WriteFile(QStringLiteral("dbxconnections.ini"),
                 TViewerSite::ConnectionsFor(QStringLiteral("/nowhere.fdb")).replace("[Kestrel]", "[Other]"));
  const TStartupFailure f = RunToFailure(site);
  EXPECT_TRUE(f.BoxShown);
  EXPECT_FALSE(f.MainWindowShown);
  EXPECT_EQ(f.ExitCode, 1);
  EXPECT_TRUE(IsStartupBox(f.Err, QStringLiteral("Missing DriverName property.")));
}

TEST_F(StartupFailure, MissingDriversFileOrSection) {
  site.RemoveFile(QStringLiteral("dbxdrivers.ini"));
  TStartupFailure f = RunToFailure(site);
  EXPECT_TRUE(f.BoxShown);
  EXPECT_EQ(f.ExitCode, 1);
  EXPECT_TRUE(IsStartupBox(f.Err, QStringLiteral("SQLConnection1: DLL/Shared Library Name not Set.")));
  site.WriteFile(QStringLiteral("dbxdrivers.ini"), site.DefaultDrivers().replace("[Interbase]", "[Other]"));
  f = RunToFailure(site);
  EXPECT_EQ(f.ExitCode, 1);
  EXPECT_TRUE(IsStartupBox(f.Err, QStringLiteral("SQLConnection1: DLL/Shared Library Name not Set.")));
}

TEST_F(StartupFailure, DatabaseThatCannotBeOpened) {
  site.UseDatabase(dbDir.path() + QStringLiteral("/missing.fdb"));
  const TStartupFailure f = RunToFailure(site);
  EXPECT_TRUE(f.BoxShown);
  EXPECT_FALSE(f.MainWindowShown);
  EXPECT_EQ(f.ExitCode, 1);
  EXPECT_TRUE(f.Err.contains(QStringLiteral("Exception EDatabaseError in module ledgerly at "))) << f.Err.toStdString();
  EXPECT_TRUE(f.Err.contains(QStringLiteral("missing.fdb"))) << f.Err.toStdString();
}

TEST_F(StartupFailure, ServerThatNeverAnswers) {
  SilentServer server;
  ASSERT_GT(server.Port(), 0);
  site.WriteFile(QStringLiteral("dbxconnections.ini"),
                 TViewerSite::ConnectionsFor(QStringLiteral("127.0.0.1/%1:/data/kestrel.fdb").arg(server.Port())) +
                     QStringLiteral("Connection Timeout=3\n"));
  const TStartupFailure f = RunToFailure(site);
  EXPECT_TRUE(f.BoxShown);
  EXPECT_FALSE(f.MainWindowShown);
  EXPECT_EQ(f.ExitCode, 1);
  EXPECT_TRUE(f.Err.contains(QStringLiteral("\ndbExpress Error: The server did not answer in time\n"))) << f.Err.toStdString();
}
