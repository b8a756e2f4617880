// Exporting a grid's whole result as CSV against fetching it: 1,000,000 rows of ACC_MAST_TEMP
// opened in a client data set (the fetch the window waits for on a query) and then written
// by the grid's CSV export to a file, both on the GUI thread. Copying every row as
// tab-separated text is timed too, for reference.
//
// The database is the one bench_db builds once with mkdemodb under /tmp/ledgerly-bench-db.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>

#include "db/ClientDataSet.h"
#include "db/DataSetProvider.h"
#include "db/DataSource.h"
#include "db/SQLConnection.h"
#include "db/SQLDataSet.h"
#include "grid/GridDataLink.h"
#include "grid/GridText.h"
#include "grid/zebdbgrid.h"

namespace {

QString EnsureDatabase(int lines) {
  const QString dir = QStringLiteral("/tmp/ledgerly-bench-db");
  QDir().mkpath(dir);
  const QString path = QStringLiteral("%1/mast_%2.fdb").arg(dir).arg(lines);
  if (QFile::exists(path)) return path;
  std::printf("building %s ...\n", qPrintable(path));
  std::fflush(stdout);
  QProcess p;
  p.setProcessChannelMode(QProcess::ForwardedChannels);
  p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/mkdemodb"),
          {QStringLiteral("--lines"), QString::number(lines), path + QStringLiteral(".part")});
  if (!p.waitForFinished(-1) || p.exitCode() != 0) {
    std::fprintf(stderr, "mkdemodb failed\n");
    std::exit(1);
  }
  QFile::rename(path + QStringLiteral(".part"), path);
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int lines = argc > 1 ? std::atoi(argv[1]) : 1000000;
  const QString path = EnsureDatabase(lines);
  QTemporaryDir dir;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir.path());
  {
    QFile f(dir.path() + QStringLiteral("/dbxconnections.ini"));
    f.open(QIODevice::WriteOnly);
    QTextStream(&f) << "[Kestrel]\nDriverName=Interbase\nDatabase=" << path
                    << "\nUser_Name=sysdba\nPassword=k7Rw2qZx\nSQLDialect=3\nLocaleCode=0000\n"
                       "Interbase TransIsolation=ReadCommited\n";
    QSettings s(QStringLiteral("Borland"), QStringLiteral("DBExpress"));
    s.setValue(QStringLiteral("Connection Registry File"), f.fileName());
  }
  TComponent form(nullptr);
  auto* conn = new TSQLConnection(&form);
  conn->SetName(QStringLiteral("SQLConnection1"));
  conn->SetConnectionName(QStringLiteral("Kestrel"));
  conn->SetLoadParamsOnConnect(true);
  conn->SetGetDriverFunc(QStringLiteral("getSQLDriverINTERBASE"));
  conn->Open();
  auto* sql = new TSQLDataSet(&form);
  sql->SetSQLConnection(conn);
  auto* prov = new TDataSetProvider(&form);
  prov->SetName(QStringLiteral("DataSetProvider2"));
  prov->SetDataSet(sql);
  prov->SetOptions(poAllowCommandText);
  auto* cds = new TClientDataSet(&form);
  cds->SetProviderName(prov->Name());
  cds->SetCommandText(QStringLiteral("select * from ACC_MAST_TEMP"));
  auto* source = new TDataSource(&form);
  source->SetDataSet(cds);
  auto* grid = new Tzebdbgrid(&form);
  grid->SetZebra(true);
  grid->SetDataSource(source);

  const QString out = dir.path() + QStringLiteral("/export.csv");
  // Best of several runs (the machine is shared); the fetch is a whole query: close and open.
  double fetch = 1e9, csv = 1e9, copy = 1e9;
  qint64 bytes = 0;
  const int runs = 3;
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer t;
    cds->Close();
    t.start();
    cds->Open();
    fetch = std::min(fetch, t.nsecsElapsed() / 1e9);
    t.restart();
    ExportGridCsv(*grid, out);
    csv = std::min(csv, t.nsecsElapsed() / 1e9);
    bytes = QFileInfo(out).size();
    t.restart();
    const QString text = GridRowsText(*grid, 0, cds->RecordCount() - 1);
    copy = std::min(copy, t.nsecsElapsed() / 1e9);
    if (text.isEmpty()) return 1;
  }
  std::printf("%d rows, %d columns: fetch %.3f s, CSV export %.3f s (%.1f MB), copy as text %.3f s\n",
              cds->RecordCount(), grid->Columns().Count(), fetch, csv, bytes / 1e6, copy);
  std::printf("RATIO export_csv_vs_fetch_1m %.3f\n", csv / fetch);
  std::printf("RATIO copy_all_vs_fetch_1m %.3f\n", copy / fetch);
  QSettings(QStringLiteral("Borland"), QStringLiteral("DBExpress")).remove(QStringLiteral("Connection Registry File"));
  return 0;
}
