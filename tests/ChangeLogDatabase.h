// A small change-log database made by a test with the command-line SQL tool (embedded engine,
// no server): vouchers A001-A004 with known rows, dated 2006/03/03-2006/03/05, and vouchers whose
// rows make the server fail while a result is fetched: "X-FAIL" in the line table, "Y-FAIL" in the
// header table (a computed column divides by zero for them).
//
//   voucher  date        header rows  line rows
//   A001     2006/03/03  2            6 (3 per header row, items 01-03)
//   A002     2006/03/03  1            4
//   A003     2006/03/04  3            6
//   A004     2006/03/05  1            5
#pragma once
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QString>

namespace change_log_fixture {
const char* kSchema = R"SQL(
SET NAMES UTF8;
CREATE DATABASE '%1' USER 'SYSDBA' DEFAULT CHARACTER SET UTF8;
CREATE TABLE ACC_MAIN_TEMP (
  MASTERBILLID VARCHAR(20) NOT NULL, ACC_DATE VARCHAR(10), CARD_NO VARCHAR(5), BILL_TYPE VARCHAR(10),
  DEP_NO VARCHAR(10), SOURCE_FLAG VARCHAR(1), SOURCE_MEMO VARCHAR(10), SOURCE_ID VARCHAR(20),
  C_AMT DOUBLE PRECISION, R_AMT DOUBLE PRECISION, ACC_CLASS VARCHAR(1), CHECK_USER VARCHAR(10),
  CHG_USER VARCHAR(10), CHG_DATE VARCHAR(10), REMARK_TEXT VARCHAR(20),
  REMARK COMPUTED BY (CASE WHEN MASTERBILLID = 'Y-FAIL' THEN CAST(1 / 0 AS VARCHAR(20)) ELSE REMARK_TEXT END),
  CHG_TIMESTAMP VARCHAR(20) NOT NULL,
  PRIMARY KEY (MASTERBILLID, CHG_TIMESTAMP));
CREATE TABLE ACC_MAST_TEMP (
  MASTERBILLID VARCHAR(20) NOT NULL, KEYINTIME VARCHAR(20), ITEM VARCHAR(2) NOT NULL, PROC_CODE VARCHAR(1),
  CORD VARCHAR(2), ACC_NO VARCHAR(10), ACC_NAME VARCHAR(25), HLP_NO VARCHAR(5), HLP_TEXT VARCHAR(80),
  HLP_NAME COMPUTED BY (CASE WHEN MASTERBILLID = 'X-FAIL' THEN CAST(1 / 0 AS VARCHAR(80)) ELSE HLP_TEXT END),
  AMOUNT DOUBLE PRECISION, R_AMOUNT DOUBLE PRECISION, YY VARCHAR(4), MM VARCHAR(2), DD VARCHAR(2),
  CODE1 VARCHAR(1), CODE2 VARCHAR(1), CODE3 VARCHAR(6), ACC_DATE VARCHAR(10) NOT NULL, CARD_NO VARCHAR(5) NOT NULL,
  DEP_NO VARCHAR(10), ACC_CLASS VARCHAR(1), CHG_TIMESTAMP VARCHAR(20) NOT NULL,
  PRIMARY KEY (MASTERBILLID, ITEM, CHG_TIMESTAMP));
COMMIT;
)SQL";

struct TVoucher {
  const char* Id;
  const char* Date;
  int Changes;  // header change rows
  int Lines;    // line rows per change
};

const TVoucher kVouchers[] = {
    {"A001", "2006/03/03", 2, 3}, {"A002", "2006/03/03", 1, 4}, {"A003", "2006/03/04", 3, 2},
    {"A004", "2006/03/05", 1, 5}, {"X-FAIL", "2006/04/01", 1, 2}, {"Y-FAIL", "2006/04/02", 1, 2},
};

const char* kAccounts[][2] = {{"1101", "現金"}, {"1102", "銀行存款"}, {"4101", "銷貨收入"}, {"6101", "薪資支出"},
                              {"2101", "應付帳款"}};
}  // namespace change_log_fixture

inline QString MakeTestDatabase(const QString& path) {
  QFile::remove(path);
  QString sql = QString::fromUtf8(change_log_fixture::kSchema).arg(path);
  for (const change_log_fixture::TVoucher& v : change_log_fixture::kVouchers) {
    for (int c = 0; c < v.Changes; ++c) {
      const QString stamp = QStringLiteral("%1 10:%2:00").arg(QString::fromLatin1(v.Date)).arg(c, 2, 10, QLatin1Char('0'));
      sql += QStringLiteral(
                 "INSERT INTO ACC_MAIN_TEMP (MASTERBILLID, ACC_DATE, CARD_NO, BILL_TYPE, DEP_NO, SOURCE_FLAG, "
                 "SOURCE_MEMO, SOURCE_ID, C_AMT, R_AMT, ACC_CLASS, CHECK_USER, CHG_USER, CHG_DATE, REMARK_TEXT, "
                 "CHG_TIMESTAMP) VALUES ('%1', '%2', '00001', '轉帳', 'D10', 'A', '進貨', 'S%1', %3, %3, '1', '王小明', "
                 "'陳美玲', '%2', '第%4次異動', '%5');\n")
                 .arg(QString::fromLatin1(v.Id), QString::fromLatin1(v.Date))
                 .arg(1234.5 * (c + 1))
                 .arg(c + 1)
                 .arg(stamp);
      for (int i = 0; i < v.Lines; ++i) {
        const auto& acc = change_log_fixture::kAccounts[i % 5];
        sql += QStringLiteral(
                   "INSERT INTO ACC_MAST_TEMP (MASTERBILLID, KEYINTIME, ITEM, PROC_CODE, CORD, ACC_NO, ACC_NAME, "
                   "HLP_NO, HLP_TEXT, AMOUNT, R_AMOUNT, YY, MM, DD, CODE1, CODE2, CODE3, ACC_DATE, CARD_NO, DEP_NO, "
                   "ACC_CLASS, CHG_TIMESTAMP) VALUES ('%1', '%2', '%3', 'A', '%4', '%5', '%6', 'H01', '摘要%3', %7, 0, "
                   "'%8', '%9', '%10', '1', '2', '000001', '%11', '00001', 'D10', '1', '%2');\n")
                   .arg(QString::fromLatin1(v.Id), stamp)
                   .arg(i + 1, 2, 10, QLatin1Char('0'))
                   .arg(QString::fromUtf8(i % 2 ? "貸" : "借"), QString::fromLatin1(acc[0]), QString::fromUtf8(acc[1]))
                   .arg(100.25 * (i + 1))
                   .arg(QString::fromLatin1(v.Date).mid(0, 4), QString::fromLatin1(v.Date).mid(5, 2),
                        QString::fromLatin1(v.Date).mid(8, 2), QString::fromLatin1(v.Date));
      }
    }
  }
  sql += QStringLiteral("COMMIT;\n");
  const QString script = path + QStringLiteral(".sql");
  QFile f(script);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QStringLiteral("cannot write ") + script;
  f.write(sql.toUtf8());
  f.close();
  QProcess isql;
  isql.setProcessChannelMode(QProcess::MergedChannels);
  isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-b"), QStringLiteral("-i"), script});
  const bool finished = isql.waitForFinished(120000);
  const QString out = QString::fromUtf8(isql.readAll());
  if (!finished || isql.exitStatus() != QProcess::NormalExit || isql.exitCode() != 0 || !QFileInfo::exists(path))
    return QStringLiteral("isql-fb failed: ") + out;
  return QString();
}

// Makes the test database at `dir`/changes.fdb and points the connection's per-user settings
// (read from $XDG_CONFIG_HOME, which the caller has set to `dir`) at a connections file there
// naming it, and at the drivers file beside the executables. Returns an error text or empty.
inline QString MakeTestDatabaseAndSettings(const QString& dir, const QString& driversFile) {
  const QString database = dir + QStringLiteral("/changes.fdb");
  const QString err = MakeTestDatabase(database);
  if (!err.isEmpty()) return err;
  const QString connections = dir + QStringLiteral("/dbxconnections.ini");
  QFile c(connections);
  if (!c.open(QIODevice::WriteOnly | QIODevice::Truncate)) return QStringLiteral("cannot write ") + connections;
  c.write(QStringLiteral("[Kestrel]\nDriverName=Interbase\nDatabase=%1\nUser_Name=sysdba\nPassword=x\n"
                         "SQLDialect=3\nLocaleCode=0000\n")
              .arg(database)
              .toUtf8());
  c.close();
  QSettings settings(QStringLiteral("Borland"), QStringLiteral("DBExpress"));
  settings.setValue(QStringLiteral("Connection Registry File"), connections);
  settings.setValue(QStringLiteral("Driver Registry File"), driversFile);
  settings.sync();
  return settings.status() == QSettings::NoError ? QString() : QStringLiteral("cannot write the per-user settings");
}
