// The installed viewer: `cmake --install` into a fresh prefix puts the programs, the driver
// library, the connection files and the demo database in one folder, launchers in bin/, and
// the desktop entry, icons and man page in share/; the launcher then starts the viewer on the
// demo database from a folder that holds nothing of it, and it shows that voucher's rows.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/Accessibility.h"
#include "support/Desktop.h"
#include "support/Stripes.h"
#include "support/ViewerSite.h"
#include "tests/TestUtil.h"

namespace {

const QString kCaption = QStringLiteral("傳票資料異動紀錄");

QString BuildDir() { return QFileInfo(qEnvironmentVariable("LEDGERLY_BIN_DIR")).absolutePath(); }

QString ReadText(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

class Installed : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    prefix_ = new QTemporaryDir;
    const TRunResult r = RunProgram(QStringLiteral(LEDGERLY_CMAKE),
                                    {QStringLiteral("--install"), BuildDir(), QStringLiteral("--prefix"), prefix_->path()},
                                    QProcessEnvironment::systemEnvironment(), 300000);
    installed_ = r.Finished && r.ExitCode == 0;
    if (!installed_) std::fprintf(stderr, "cmake --install failed:\n%s\n%s\n", qPrintable(r.Out), qPrintable(r.Err));
  }
  static void TearDownTestSuite() {
    delete prefix_;
    prefix_ = nullptr;
  }
  void SetUp() override { ASSERT_TRUE(installed_); }
  static QString In(const QString& rel) { return prefix_->path() + QLatin1Char('/') + rel; }

  static QTemporaryDir* prefix_;
  static bool installed_;
};
QTemporaryDir* Installed::prefix_ = nullptr;
bool Installed::installed_ = false;

}  // namespace

TEST_F(Installed, OneFolderHoldsWhatTheViewerReads) {
  for (const char* f : {"ledgerly", "skintool", "skinview"}) {
    EXPECT_TRUE(QFileInfo(In(QStringLiteral("lib/ledgerly/%1").arg(QLatin1String(f)))).isExecutable()) << f;
    EXPECT_TRUE(QFileInfo(In(QStringLiteral("bin/%1").arg(QLatin1String(f)))).isExecutable()) << f;
  }
  for (const char* f : {"libsqlib.so", "dbxdrivers.ini", "dbxconnections.ini", "demo.fdb"})
    EXPECT_TRUE(QFileInfo::exists(In(QStringLiteral("lib/ledgerly/%1").arg(QLatin1String(f))))) << f;
  // The connections file names the installed demo database, the drivers file our driver.
  QSettings conn(In(QStringLiteral("lib/ledgerly/dbxconnections.ini")), QSettings::IniFormat);
  EXPECT_EQ(conn.value(QStringLiteral("Kestrel/Database")).toString(), In(QStringLiteral("lib/ledgerly/demo.fdb")));
  QSettings drv(In(QStringLiteral("lib/ledgerly/dbxdrivers.ini")), QSettings::IniFormat);
  EXPECT_EQ(drv.value(QStringLiteral("Interbase/LibraryName")).toString(), QStringLiteral("libsqlib.so"));
}

TEST_F(Installed, DesktopEntryIconAndManPage) {
  QSettings entry(In(QStringLiteral("share/applications/ledgerly.desktop")), QSettings::IniFormat);
  EXPECT_EQ(entry.value(QStringLiteral("Desktop Entry/Type")).toString(), QStringLiteral("Application"));
  EXPECT_EQ(entry.value(QStringLiteral("Desktop Entry/Exec")).toString(), QStringLiteral("ledgerly"));
  EXPECT_EQ(entry.value(QStringLiteral("Desktop Entry/Icon")).toString(), QStringLiteral("ledgerly"));
  EXPECT_FALSE(entry.value(QStringLiteral("Desktop Entry/Name")).toString().isEmpty());
  // The desktop tools' own check, when they are there.
  if (!QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate")).isEmpty()) {
    const TRunResult v = RunProgram(QStringLiteral("desktop-file-validate"), {In(QStringLiteral("share/applications/ledgerly.desktop"))},
                                    QProcessEnvironment::systemEnvironment());
    EXPECT_EQ(v.ExitCode, 0) << v.Out.toStdString() << v.Err.toStdString();
  }
  // The icon at every size, drawn opaque in the middle and clear in the corner.
  for (int size : {48, 128, 256}) {
    const QImage icon(In(QStringLiteral("share/icons/hicolor/%1x%1/apps/ledgerly.png").arg(size)));
    ASSERT_FALSE(icon.isNull()) << size;
    EXPECT_EQ(icon.size(), QSize(size, size));
    EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
  }
  // The man page lists the arguments, the files read and the exit codes.
  const QString man = ReadText(In(QStringLiteral("share/man/man1/ledgerly.1")));
  for (const char* s : {".SH SYNOPSIS", ".SH ARGUMENTS", ".SH FILES", ".SH EXIT STATUS", "dbxconnections.ini",
                        "dbxdrivers.ini", "DBExpress.conf", ".B 0", ".B 1"})
    EXPECT_TRUE(man.contains(QLatin1String(s))) << s;
  if (!QStandardPaths::findExecutable(QStringLiteral("groff")).isEmpty()) {
    const TRunResult g = RunProgram(QStringLiteral("groff"), {QStringLiteral("-k"), QStringLiteral("-man"), QStringLiteral("-Tutf8"), QStringLiteral("-ww"),
                                                            In(QStringLiteral("share/man/man1/ledgerly.1"))},
                                    QProcessEnvironment::systemEnvironment());
    EXPECT_EQ(g.ExitCode, 0);
    EXPECT_TRUE(g.Err.trimmed().isEmpty()) << g.Err.toStdString();
  }
}

TEST_F(Installed, SkintoolRunsThroughItsLauncher) {
  QTemporaryDir work;
  const QString out = work.path() + QStringLiteral("/frame.png");
  const QString skins = qEnvironmentVariable("LEDGERLY_SOURCE_DIR") + QStringLiteral("/skins/slate");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const TRunResult r = RunProgram(In(QStringLiteral("bin/skintool")),
                                  {QStringLiteral("frame"), skins, QStringLiteral("320"), QStringLiteral("200"), out}, env);
  EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
  EXPECT_EQ(QImage(out).size(), QSize(320, 200));
}

TEST_F(Installed, SkinviewDrawsItsWindowThroughItsLauncher) {
  QTemporaryDir work;
  const QString out = work.path() + QStringLiteral("/skinview.png");
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  const TRunResult r = RunProgram(In(QStringLiteral("bin/skinview")), {QStringLiteral("--screenshot"), out}, env);
  EXPECT_EQ(r.ExitCode, 0) << r.Err.toStdString();
  const QImage shot(out);
  EXPECT_GT(shot.width(), 400);
  EXPECT_GT(shot.height(), 300);
}

TEST_F(Installed, StartsOnTheDemoDatabaseFromACleanFolder) {
  const QString demo = In(QStringLiteral("lib/ledgerly/demo.fdb"));
  // A voucher of the demo data and its row counts, read before the viewer holds the file.
  const QStringList voucher = QueryColumn(demo, "SELECT FIRST 1 MASTERBILLID FROM ACC_MAIN_TEMP ORDER BY MASTERBILLID");
  ASSERT_EQ(voucher.size(), 1);
  const QStringList lines =
      QueryColumn(demo, QStringLiteral("SELECT COUNT(*) FROM ACC_MAST_TEMP WHERE MASTERBILLID = '%1'").arg(voucher[0]));
  ASSERT_EQ(lines.size(), 1);

  TAccessibilityBus bus;
  ASSERT_TRUE(bus.Ok());
  QTemporaryDir home, cwd;
  QProcessEnvironment env = bus.Environment(DesktopEnvironment());
  env.insert(QStringLiteral("HOME"), home.path());
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path() + QStringLiteral("/.config"));
  const QString boxes = home.path() + QStringLiteral("/boxes.log");
  env.insert(QStringLiteral("LEDGERLY_MESSAGEBOX_LOG"), boxes);
  // The launcher that a PATH holding DIR/bin finds.
  const QString launcher = QStandardPaths::findExecutable(QStringLiteral("ledgerly"), {In(QStringLiteral("bin"))});
  ASSERT_FALSE(launcher.isEmpty());
  QProcess viewer;
  viewer.setProcessEnvironment(env);
  viewer.setWorkingDirectory(cwd.path());
  viewer.start(launcher, {voucher[0]});
  ASSERT_TRUE(viewer.waitForStarted(10000));
  const auto window = Xdo::WaitForWindow(kCaption, 60000);
  ASSERT_TRUE(window.has_value()) << viewer.readAllStandardError().toStdString();
  const auto tree = bus.Tree(viewer.processId(), QStringLiteral("查詢"));
  ASSERT_TRUE(tree.has_value());
  // The lower grid shows the voucher's lines, as many as the database holds.
  auto tables = FindNodes(*tree, [](const QJsonObject& n) { return n.contains(QStringLiteral("table")); });
  ASSERT_EQ(tables.size(), 2u);
  std::sort(tables.begin(), tables.end(), [](const QJsonObject& a, const QJsonObject& b) {
    return a.value("extents").toArray().at(1).toInt() < b.value("extents").toArray().at(1).toInt();
  });
  EXPECT_EQ(tables[1].value("table").toObject().value("rows").toInt(), lines[0].toInt());
  EXPECT_GT(lines[0].toInt(), 0);
  // And they are painted, striped.
  const QImage shot = Screenshot();
  SaveShot(shot, QStringLiteral("installed-start"));
  const QJsonArray e = tables[1].value("extents").toArray();
  const auto stripes = FindStripes(shot, QRect(e.at(0).toInt(), e.at(1).toInt(), e.at(2).toInt(), e.at(3).toInt()),
                                   {qRgb(206, 249, 208), qRgb(255, 255, 255)});
  EXPECT_GE(LongestAlternation(stripes, qRgb(206, 249, 208), qRgb(255, 255, 255)), 2);
  EXPECT_TRUE(ReadText(boxes).isEmpty()) << ReadText(boxes).toStdString();
  // Nothing was written into the folder it was started from.
  EXPECT_TRUE(QDir(cwd.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
  EXPECT_TRUE(bus.DoAction(viewer.processId(), QStringLiteral("離開"), QStringLiteral("Press")));
  ASSERT_TRUE(viewer.waitForFinished(30000));
  EXPECT_EQ(viewer.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(viewer.exitCode(), 0) << viewer.readAllStandardError().toStdString();
}
