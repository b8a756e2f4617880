// Connecting: the files that give the settings, every failure text of the way there, the
// options handed to the driver and the pointer while connecting.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Screen.h"
#include "support/Chain.h"
#include "support/Firebird.h"
#include "tests/TestUtil.h"

namespace {

class ConnectionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new QTemporaryDir;
    db_ = dir_->path() + QStringLiteral("/c.fdb");
    MakeDatabase(db_, {"CREATE TABLE ACC_MAIN_TEMP (MASTERBILLID VARCHAR(20) NOT NULL PRIMARY KEY)"});
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }
  // Builds the form; the connect at the end of loading must fail with `text`.
  void ExpectStartFailure(const QString& text) {
    try {
      Chain chain;
      ADD_FAILURE() << "connected";
    } catch (const EDatabaseError& e) {
      EXPECT_EQ(e.Message(), text);
    }
    EXPECT_EQ(Screen()->Cursor(), crDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  }

  ConnectionFiles files_;
  static QTemporaryDir* dir_;
  static QString db_;
};
QTemporaryDir* ConnectionTest::dir_ = nullptr;
QString ConnectionTest::db_;

int argc_ = 1;
char arg0_[] = "connection_test";
char* argv_[] = {arg0_, nullptr};

TEST_F(ConnectionTest, EveryFailureTextOnTheWayToTheServer) {
  static QGuiApplication app(argc_, argv_);  // the hourglass is an application override cursor
  // No connections file.
  ExpectStartFailure(QStringLiteral("Driver/Connection Registry File '%1' not found").arg(files_.ConnectionsPath()));
  // A connections file without the section.
  files_.WriteConnections(ConnectionFiles::KestrelParams(db_), QStringLiteral("Other"));
  ExpectStartFailure(QStringLiteral("Missing DriverName property"));
  // No drivers file; then one without the driver's section; then an empty vendor library.
  files_.WriteConnections(ConnectionFiles::KestrelParams(db_));
  ExpectStartFailure(QStringLiteral("SQLConnection1: DLL/Shared Library Name not Set"));
  files_.WriteDrivers();
  files_.WriteConnections(ConnectionFiles::KestrelParams(db_, {QStringLiteral("DriverName=Kestrel Driver")}));
  ExpectStartFailure(QStringLiteral("SQLConnection1: DLL/Shared Library Name not Set"));
  files_.WriteConnections(ConnectionFiles::KestrelParams(db_));
  files_.WriteDrivers(QStringLiteral("libsqlib.so"), QStringLiteral("  "));
  ExpectStartFailure(QStringLiteral("SQLConnection1: DLL/Shared Library Name not Set"));
  // No database.
  files_.WriteDrivers();
  files_.WriteConnections(ConnectionFiles::KestrelParams(QStringLiteral("  ")));
  ExpectStartFailure(QStringLiteral("Missing Database property"));
  // Libraries and entry points that are not there.
  files_.WriteConnections(ConnectionFiles::KestrelParams(db_));
  files_.WriteDrivers(QStringLiteral(" libnosuchdriver.so "));
  ExpectStartFailure(QStringLiteral("Unable to Load libnosuchdriver.so"));
  files_.WriteDrivers(QStringLiteral("libsqlib.so"), QStringLiteral("libfbclient.so.2"), QStringLiteral("getSQLDriverNOPE"));
  ExpectStartFailure(QStringLiteral("Unable to Find Procedure getSQLDriverNOPE"));
  files_.WriteDrivers(QStringLiteral("libsqlib.so"), QStringLiteral("libnosuchclient.so.9"));
  ExpectStartFailure(QStringLiteral("Unable to Load libnosuchclient.so.9"));
  // The vendor library exists but is not a client library.
  files_.WriteDrivers(QStringLiteral("libsqlib.so"), QStringLiteral("libz.so.1"));
  ExpectStartFailure(QStringLiteral("Unable to Load libz.so.1"));
  // A database file that is not there: the embedded engine's own reason, not the network's.
  files_.WriteDrivers();
  const QString missing = dir_->path() + QStringLiteral("/missing.fdb");
  files_.WriteConnections(ConnectionFiles::KestrelParams(missing));
  try {
    Chain chain;
    ADD_FAILURE() << "connected";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("SQL Server Error: "))) << e.what();
    EXPECT_TRUE(e.Message().contains(missing)) << e.what();
    EXPECT_FALSE(e.Message().contains(QStringLiteral("network request"))) << e.what();
    EXPECT_FALSE(e.Message().contains(QStringLiteral("k7Rw2qZx")));
  }
  EXPECT_EQ(Screen()->Cursor(), crDefault);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  // And with everything in place it connects.
  files_.WriteConnections(ConnectionFiles::KestrelParams(db_));
  Chain chain;
  EXPECT_TRUE(chain.connection->Connected());
  EXPECT_EQ(Screen()->Cursor(), crDefault);
}

TEST_F(ConnectionTest, FileSectionReplacesTheStoredParameters) {
  files_.WriteDrivers();
  files_.WriteConnections(ConnectionFiles::KestrelParams(db_, {QStringLiteral("Custom String= kept ")}));
  Chain chain(false);
  ASSERT_TRUE(chain.connection->Connected());
  EXPECT_EQ(chain.connection->ParamValue(QStringLiteral("database")), db_);
  EXPECT_EQ(chain.connection->ParamValue(QStringLiteral("CUSTOM STRING")), QStringLiteral("kept"));
  EXPECT_EQ(chain.connection->LibraryName(), QStringLiteral("libsqlib.so"));
  EXPECT_EQ(chain.connection->VendorLib(), QStringLiteral("libfbclient.so.2"));
  // Stays open when its data sets close; closes with its form.
  Chain::Run(chain.cds1, QStringLiteral("select * from ACC_MAIN_TEMP"));
  chain.cds1->Close();
  EXPECT_TRUE(chain.connection->Connected());
  // Without a connection name nothing is read.
  chain.connection->SetConnectionName(QString());
  EXPECT_FALSE(chain.connection->Connected());
  try {
    chain.connection->Open();
    FAIL();
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), QStringLiteral("Connection name missing"));
  }
}

TEST_F(ConnectionTest, DefaultFilesLiveBesideTheExecutable) {
  ConnectionFiles::SetUserSetting(QStringLiteral("Connection Registry File"), QString());
  ConnectionFiles::SetUserSetting(QStringLiteral("Driver Registry File"), QString());
  TSQLConnection c(nullptr);
  EXPECT_EQ(c.ConnectionFileName(), BinDir() + QStringLiteral("/dbxconnections.ini"));
  EXPECT_EQ(c.DriverFileName(), BinDir() + QStringLiteral("/dbxdrivers.ini"));
  // The drivers file is looked up each time, the connections file only at creation.
  ConnectionFiles::SetUserSetting(QStringLiteral("Driver Registry File"), files_.DriversPath());
  ConnectionFiles::SetUserSetting(QStringLiteral("Connection Registry File"), files_.ConnectionsPath());
  EXPECT_EQ(c.DriverFileName(), files_.DriversPath());
  EXPECT_EQ(c.ConnectionFileName(), BinDir() + QStringLiteral("/dbxconnections.ini"));
  // The build's own files open the demo database.
  TMemIniFile ini;
  ASSERT_TRUE(ini.LoadFromFile(BinDir() + QStringLiteral("/dbxconnections.ini")));
  EXPECT_EQ(ini.ReadString(QStringLiteral("Kestrel"), QStringLiteral("Database"), QString()), BinDir() + QStringLiteral("/demo.fdb"));
  // It holds the password: only its owner may read it.
  EXPECT_FALSE(ini.ReadString(QStringLiteral("Kestrel"), QStringLiteral("Password"), QString()).isEmpty());
  EXPECT_EQ(QFile::permissions(BinDir() + QStringLiteral("/dbxconnections.ini")) &
                (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup | QFileDevice::ReadOther |
                 QFileDevice::WriteOther | QFileDevice::ExeOther),
            QFileDevice::Permissions());
  ASSERT_TRUE(ini.LoadFromFile(BinDir() + QStringLiteral("/dbxdrivers.ini")));
  EXPECT_TRUE(QFile::exists(BinDir() + u'/' + ini.ReadString(QStringLiteral("Interbase"), QStringLiteral("LibraryName"), QString())));
}

TEST(ConnectionOptions, HandedOverInOrderWithTheirValues) {
  const QStringList params = {
      QStringLiteral("Trim Char= true "),        QStringLiteral("Connection Timeout= 7"),
      QStringLiteral("Interbase TransIsolation=DirtyRead"), QStringLiteral("SQLDialect= 1 "),
      QStringLiteral("RoleName= Clerk "),        QStringLiteral("ServerCharSet=  "),
      QStringLiteral("WaitOnLocks=yes"),         QStringLiteral("HostName= db.local "),
      QStringLiteral("CommitRetain=TRUE"),       QStringLiteral("Password=secret"),
  };
  using O = dbx::ConnOption;
  std::vector<std::pair<O, int64_t>> got;
  QList<QByteArray> texts;
  for (const auto& o : TSQLConnection::ConnectionOptions(params, QStringLiteral("Interbase"))) {
    got.push_back({o.option, o.value});
    texts << o.text;
  }
  const std::vector<std::pair<O, int64_t>> want = {
      {O::HostName, 0},   {O::RoleName, 0},   {O::WaitOnLocks, 0}, {O::CommitRetain, 1},
      {O::TxnIsolation, 2}, {O::SqlDialect, 1}, {O::TrimChar, 1},   {O::ConnectionTimeout, 7},
  };
  EXPECT_EQ(got, want);
  EXPECT_EQ(texts[0], QByteArray("db.local"));
  EXPECT_EQ(texts[1], QByteArray("Clerk"));
  EXPECT_EQ(TSQLConnection::IsolationLevel(QStringLiteral("ReadCommited")), 0);
  EXPECT_EQ(TSQLConnection::IsolationLevel(QStringLiteral(" repeatableREAD ")), 1);
  EXPECT_EQ(TSQLConnection::IsolationLevel(QStringLiteral("Serializable")), 0);
  // The isolation key follows the driver's name.
  EXPECT_TRUE(TSQLConnection::ConnectionOptions({QStringLiteral("Interbase TransIsolation=RepeatableRead")},
                                                QStringLiteral("Other")).empty());
  EXPECT_THROW(TSQLConnection::ConnectionOptions({QStringLiteral("SqlDialect=three")}, QStringLiteral("Interbase")),
               EConvertError);
}

}  // namespace
