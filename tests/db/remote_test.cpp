// The chain against a real Firebird server over TCP, started by the test on a free port
// with its own SYSDBA password: reading, a refused login, and a server that goes away.
#include <gtest/gtest.h>

#include "platform/Exceptions.h"
#include "support/Chain.h"
#include "support/Firebird.h"
#include "tests/TestUtil.h"

namespace {

class RemoteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The database is made before the server opens it.
    path_ = server_.DataDir() + QStringLiteral("/remote.fdb");
    MakeDemoDatabase(path_, 40, 160);
    server_.Start();
    files_.WriteDrivers();
  }
  void Use(const QString& password) {
    files_.WriteConnections(ConnectionFiles::KestrelParams(server_.Target(path_), {QStringLiteral("Password=") + password}));
  }

  FirebirdServer server_;
  ConnectionFiles files_;
  QString path_;
};

TEST_F(RemoteTest, ReadsOverTcpInKeyOrder) {
  Use(server_.Password());
  Chain chain;
  ASSERT_TRUE(chain.connection->Connected());
  Chain::Run(chain.cds1, QStringLiteral("select * from ACC_MAIN_TEMP"));
  EXPECT_EQ(chain.cds1->RecordCount(), 40);
  Chain::Run(chain.cds2, QStringLiteral("select * from ACC_MAST_TEMP"));
  ASSERT_EQ(chain.cds2->RecordCount(), 160);
  const int id = chain.cds2->FieldByName(QStringLiteral("MASTERBILLID"))->Index();
  const int item = chain.cds2->FieldByName(QStringLiteral("ITEM"))->Index();
  for (int r = 1; r < chain.cds2->RecordCount(); ++r)
    ASSERT_LE(chain.cds2->DisplayText(r - 1, id) + chain.cds2->DisplayText(r - 1, item),
              chain.cds2->DisplayText(r, id) + chain.cds2->DisplayText(r, item));
  EXPECT_FALSE(chain.cds2->FieldByName(QStringLiteral("HLP_NAME"))->AsString().isEmpty());
}

TEST_F(RemoteTest, RefusedLoginNamesNoPassword) {
  const QString wrong = QStringLiteral("Wr0ngPassw0rd");
  Use(wrong);
  try {
    Chain chain;
    FAIL() << "connected";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("SQL Server Error: "))) << e.what();
    EXPECT_TRUE(e.Message().contains(QStringLiteral("password"))) << e.what();
    EXPECT_FALSE(e.Message().contains(wrong));
    EXPECT_FALSE(e.Message().contains(server_.Password()));
  }
}

TEST_F(RemoteTest, ServerRestartIsBridgedByConnectingAgainOnce) {
  Use(server_.Password());
  Chain chain;
  Chain::Run(chain.cds1, QStringLiteral("select * from ACC_MAIN_TEMP"));
  Chain::Run(chain.cds2, QStringLiteral("select * from ACC_MAST_TEMP"));
  ASSERT_EQ(chain.cds2->RecordCount(), 160);

  // The server restarts between two queries: both statements run as if nothing happened.
  server_.Stop();
  server_.Start();
  Chain::Run(chain.cds1, QStringLiteral("select * from ACC_MAIN_TEMP"));
  EXPECT_EQ(chain.cds1->RecordCount(), 40);
  Chain::Run(chain.cds2, QStringLiteral("select * from ACC_MAST_TEMP"));
  EXPECT_EQ(chain.cds2->RecordCount(), 160);

  // The server goes and stays away: the one new connect fails too, and the message says that
  // the connection was lost. The other data set keeps its result.
  server_.Kill();
  try {
    Chain::Run(chain.cds1, QStringLiteral("select * from ACC_MAIN_TEMP"));
    FAIL() << "ran without a server";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("dbExpress Error: The connection to the server was lost\n"
                                                      "SQL Server Error: ")))
        << e.what();
  }
  EXPECT_FALSE(chain.cds1->Active());
  EXPECT_TRUE(chain.cds2->Active());
  EXPECT_EQ(chain.cds2->RecordCount(), 160);

  // Back again: the next statement connects anew.
  server_.Start();
  Chain::Run(chain.cds1, QStringLiteral("select * from ACC_MAIN_TEMP"));
  EXPECT_EQ(chain.cds1->RecordCount(), 40);
  EXPECT_TRUE(chain.connection->Connected());
}

TEST_F(RemoteTest, LostConnectionFailsTheStatementAndKeepsTheProgramUsable) {
  Use(server_.Password());
  Chain chain;
  Chain::Run(chain.cds2, QStringLiteral("select * from ACC_MAST_TEMP"));
  ASSERT_EQ(chain.cds2->RecordCount(), 160);
  server_.Kill();
  for (int attempt = 0; attempt < 2; ++attempt) {
    try {
      Chain::Run(chain.cds2, QStringLiteral("select * from ACC_MAST_TEMP"));
      FAIL() << "ran without a server";
    } catch (const EDatabaseError& e) {
      EXPECT_TRUE(e.Message().startsWith(QStringLiteral("dbExpress Error: The connection to the server was lost\n"
                                                        "SQL Server Error: ")))
          << e.what();
      EXPECT_TRUE(e.Message().contains(QStringLiteral("network request"), Qt::CaseInsensitive)) << e.what();
    }
    EXPECT_FALSE(chain.cds2->Active());
    EXPECT_EQ(chain.cds2->RecordCount(), 0);
    EXPECT_FALSE(chain.sql2->Active());
  }
  // The connection can still be closed and the form freed.
  chain.connection->Close();
  EXPECT_FALSE(chain.connection->Connected());
}

}  // namespace
