// How long a connect waits for the server: a server that takes the connection and never
// answers ends the connect after the timeout with a message that says so, and without a
// "Connection Timeout" in the connections file the wait is bounded all the same.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>

#include "platform/Exceptions.h"
#include "support/Chain.h"
#include "support/Firebird.h"
#include "tests/SilentServer.h"
#include "tests/TestUtil.h"

namespace {

class ConnectTimeout : public ::testing::Test {
 protected:
  void SetUp() override { files_.WriteDrivers(); }
  ConnectionFiles files_;
};

TEST_F(ConnectTimeout, SilentServerEndsTheConnectWithTheTimeoutGiven) {
  SilentServer server;
  ASSERT_GT(server.Port(), 0);
  files_.WriteConnections(ConnectionFiles::KestrelParams(
      QStringLiteral("127.0.0.1/%1:/data/kestrel.fdb").arg(server.Port()), {QStringLiteral("Connection Timeout=2")}));
  QElapsedTimer clock;
  clock.start();
  try {
    Chain chain;
    FAIL() << "connected to a server that never answers";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("dbExpress Error: The server did not answer in time\n")))
        << e.what();
  }
  EXPECT_GE(clock.elapsed(), 1500);
  EXPECT_LT(clock.elapsed(), 30000);
}

TEST_F(ConnectTimeout, DefaultWaitUnlessTheFileGivesOne) {
  QTemporaryDir dir;
  const QString path = dir.path() + QStringLiteral("/t.fdb");
  MakeDatabase(path, {"create table T (A integer)"});
  {
    files_.WriteConnections(ConnectionFiles::KestrelParams(path));
    Chain chain;
    ASSERT_TRUE(chain.connection->Connected());
    int64_t seconds = -1;
    ASSERT_EQ(chain.connection->DriverConnection()->GetOption(dbx::ConnOption::ConnectionTimeout, &seconds), dbx::kOk);
    EXPECT_EQ(seconds, 15);
  }
  {
    files_.WriteConnections(ConnectionFiles::KestrelParams(path, {QStringLiteral("Connection Timeout= 40")}));
    Chain chain;
    int64_t seconds = -1;
    ASSERT_EQ(chain.connection->DriverConnection()->GetOption(dbx::ConnOption::ConnectionTimeout, &seconds), dbx::kOk);
    EXPECT_EQ(seconds, 40);
  }
}

}  // namespace
