// Opening a client data set over 100,000 and 1,000,000 rows of ACC_MAST_TEMP in an embedded
// database, against (a) a raw InterBase API fetch loop that reads every column of every row
// into memory (the floor) and (b) Qt's QIBASE driver with a forward-only QSqlQuery reading
// every value. Also the bytes the open result holds against the raw bytes of its values.
//
// The databases are built once with mkdemodb under /tmp/ledgerly-bench-db and reused.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "db/ClientDataSet.h"
#include "db/DataSetProvider.h"
#include "db/SQLConnection.h"
#include "db/SQLDataSet.h"
#include "drivers/interbase/IbSession.h"
#include "drivers/interbase/IbValues.h"

namespace {

const char* const kSql = "select * from ACC_MAST_TEMP";

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

struct RawResult {
  double seconds = 0;
  int64_t rows = 0;
  size_t valueBytes = 0;  // text bytes + 8 per non-null number
};

// (a) The floor: prepare, fetch straight into one row buffer laid out as the engine's
// message, and copy every value into column arrays.
RawResult RawFetch(const QString& path) {
  IbApi& api = IbClient();
  IbSession session(api);
  session.Attach(QFile::encodeName(path).toStdString(), "SYSDBA", "", "");
  ISC_STATUS_ARRAY st{};
  isc_db_handle& db = session.Db();
  RawResult out;
  QElapsedTimer t;
  t.start();
  isc_tr_handle tr = 0;
  static const char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_wait};
  api.start_transaction(st, &tr, 1, &db, static_cast<short>(sizeof tpb), tpb);
  isc_stmt_handle stmt = 0;
  api.dsql_allocate_statement(st, &db, &stmt);
  std::vector<char> da(XSQLDA_LENGTH(64), 0);
  auto* sqlda = reinterpret_cast<XSQLDA*>(da.data());
  sqlda->version = SQLDA_VERSION1;
  sqlda->sqln = 64;
  if (api.dsql_prepare(st, &tr, &stmt, 0, kSql, 3, sqlda)) {
    std::fprintf(stderr, "prepare: %s\n", api.Message(st).c_str());
    std::exit(1);
  }
  const int n = sqlda->sqld;
  std::vector<IbColumn> cols(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    cols[static_cast<size_t>(i)].sqltype = sqlda->sqlvar[i].sqltype;
    cols[static_cast<size_t>(i)].sqllen = sqlda->sqlvar[i].sqllen;
    cols[static_cast<size_t>(i)].sqlscale = sqlda->sqlvar[i].sqlscale;
    cols[static_cast<size_t>(i)].sqlsubtype = sqlda->sqlvar[i].sqlsubtype;
    IbClassify(cols[static_cast<size_t>(i)]);
  }
  std::vector<uint8_t> row(IbLayout(cols), 0);
  for (int i = 0; i < n; ++i) {
    sqlda->sqlvar[i].sqltype = static_cast<short>(cols[static_cast<size_t>(i)].sqltype | 1);
    sqlda->sqlvar[i].sqldata = reinterpret_cast<char*>(row.data() + cols[static_cast<size_t>(i)].offset);
    sqlda->sqlvar[i].sqlind = reinterpret_cast<short*>(row.data() + cols[static_cast<size_t>(i)].nullOffset);
  }
  api.dsql_execute(st, &tr, &stmt, 3, nullptr);
  // Column arrays: one byte arena with offsets per text column, one array per number column.
  struct TextCol {
    std::string bytes;
    std::vector<uint32_t> ends;
  };
  std::vector<TextCol> texts(static_cast<size_t>(n));
  std::vector<std::vector<double>> nums(static_cast<size_t>(n));
  std::vector<std::vector<uint8_t>> nulls(static_cast<size_t>(n));
  while (api.dsql_fetch(st, &stmt, 3, sqlda) == 0) {
    for (int i = 0; i < n; ++i) {
      const IbColumn& c = cols[static_cast<size_t>(i)];
      const bool isNull = *reinterpret_cast<short*>(row.data() + c.nullOffset) != 0;
      nulls[static_cast<size_t>(i)].push_back(isNull);
      if (c.sqltype == SQL_VARYING) {
        TextCol& tc = texts[static_cast<size_t>(i)];
        if (!isNull) {
          uint16_t len;
          std::memcpy(&len, row.data() + c.offset, 2);
          tc.bytes.append(reinterpret_cast<const char*>(row.data() + c.offset + 2), len);
          out.valueBytes += len;
        }
        tc.ends.push_back(static_cast<uint32_t>(tc.bytes.size()));
      } else {
        double d = 0;
        if (!isNull) {
          std::memcpy(&d, row.data() + c.offset, 8);
          out.valueBytes += 8;
        }
        nums[static_cast<size_t>(i)].push_back(d);
      }
    }
    ++out.rows;
  }
  api.dsql_free_statement(st, &stmt, DSQL_drop);
  api.commit_transaction(st, &tr);
  out.seconds = t.nsecsElapsed() / 1e9;
  return out;
}

struct OursResult {
  double seconds = 0;
  int64_t rows = 0;
  size_t heldBytes = 0;
};

OursResult OpenClientDataSet(const QString& path) {
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
  cds->SetCommandText(QString::fromLatin1(kSql));
  OursResult out;
  QElapsedTimer t;
  t.start();
  cds->Open();
  out.seconds = t.nsecsElapsed() / 1e9;
  out.rows = cds->RecordCount();
  out.heldBytes = cds->Table()->MemoryBytes();
  QSettings(QStringLiteral("Borland"), QStringLiteral("DBExpress")).remove(QStringLiteral("Connection Registry File"));
  return out;
}

double QibaseFetch(const QString& path, int64_t& rows) {
  double seconds = 0;
  {
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QIBASE"), QStringLiteral("bench"));
    db.setDatabaseName(path);
    db.setUserName(QStringLiteral("SYSDBA"));
    if (!db.open()) {
      std::fprintf(stderr, "QIBASE: %s\n", qPrintable(db.lastError().text()));
      std::exit(1);
    }
    QElapsedTimer t;
    t.start();
    QSqlQuery q(db);
    q.setForwardOnly(true);
    q.exec(QString::fromLatin1(kSql));
    const int n = q.record().count();
    size_t sink = 0;
    rows = 0;
    while (q.next()) {
      for (int i = 0; i < n; ++i) {
        const QVariant v = q.value(i);
        sink += v.isNull() ? 0 : (v.typeId() == QMetaType::QString ? static_cast<size_t>(v.toString().size()) : 8);
      }
      ++rows;
    }
    seconds = t.nsecsElapsed() / 1e9;
    if (sink == 1) std::printf(" ");
    db.close();
  }
  QSqlDatabase::removeDatabase(QStringLiteral("bench"));
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  for (int lines : {100000, 1000000}) {
    const QString path = EnsureDatabase(lines);
    const char* tag = lines == 100000 ? "100k" : "1m";
    // Best of several runs each, interleaved, after one warm-up read of the file (the machine
    // is shared, so single runs are noisy).
    RawFetch(path);
    double raw = 1e9, ours = 1e9, qib = 1e9;
    RawResult r;
    OursResult o;
    int64_t qrows = 0;
    const int runs = lines == 100000 ? 5 : 2;
    for (int i = 0; i < runs; ++i) {
      r = RawFetch(path);
      raw = std::min(raw, r.seconds);
      o = OpenClientDataSet(path);
      ours = std::min(ours, o.seconds);
      qib = std::min(qib, QibaseFetch(path, qrows));
    }
    std::printf("%s rows: raw %lld in %.3f s (%.0f rows/s), client data set %lld in %.3f s, QIBASE %lld in %.3f s\n", tag,
                static_cast<long long>(r.rows), raw, r.rows / raw, static_cast<long long>(o.rows), ours,
                static_cast<long long>(qrows), qib);
    std::printf("%s memory: value bytes %.1f MB, held by the client data set %.1f MB\n", tag, r.valueBytes / 1e6,
                o.heldBytes / 1e6);
    std::printf("RATIO open_vs_raw_fetch_%s %.3f\n", tag, ours / raw);
    std::printf("RATIO open_vs_qibase_%s %.3f\n", tag, ours / qib);
    std::printf("RATIO held_memory_vs_value_bytes_%s %.3f\n", tag, static_cast<double>(o.heldBytes) / static_cast<double>(r.valueBytes));
    std::fflush(stdout);
  }
  return 0;
}
