// The driver's own Firebird root for the embedded engine: the system's pieces linked, a
// configuration that includes the system's and shares database files, FIREBIRD pointed at it;
// a FIREBIRD the user set, and a folder someone else could have planted, are left alone.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <sys/stat.h>

#include "drivers/interbase/EmbeddedRoot.h"

namespace {
class EmbeddedRoot : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(system_.isValid() && runtime_.isValid());
    QDir(system_.path()).mkpath(QStringLiteral("plugins"));
    for (const char* f : {"firebird.msg", "firebird.conf", "plugins.conf"}) {
      QFile file(system_.path() + u'/' + QLatin1String(f));
      ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    savedFirebird_ = qgetenv("FIREBIRD");
    savedRuntime_ = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("FIREBIRD");
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
  }
  void TearDown() override {
    qputenv("FIREBIRD", savedFirebird_);
    if (savedFirebird_.isEmpty()) qunsetenv("FIREBIRD");
    qputenv("XDG_RUNTIME_DIR", savedRuntime_);
  }
  std::string SystemRoot() const { return system_.path().toStdString(); }

  QTemporaryDir system_, runtime_;
  QByteArray savedFirebird_, savedRuntime_;
};
}  // namespace

TEST_F(EmbeddedRoot, LinksTheSystemPiecesAndSharesDatabaseFiles) {
  const std::string root = UseSharedEmbeddedRoot(SystemRoot());
  const QString expected = runtime_.path() + QStringLiteral("/ledgerly-firebird");
  ASSERT_EQ(QString::fromStdString(root), expected);
  EXPECT_EQ(qgetenv("FIREBIRD"), expected.toLocal8Bit());
  for (const char* piece : {"plugins", "firebird.msg", "plugins.conf"})
    EXPECT_EQ(QFileInfo(expected + u'/' + QLatin1String(piece)).symLinkTarget(), system_.path() + u'/' + QLatin1String(piece));
  EXPECT_FALSE(QFileInfo(expected + QStringLiteral("/firebird.conf")).isSymLink());
  QFile conf(expected + QStringLiteral("/firebird.conf"));
  ASSERT_TRUE(conf.open(QIODevice::ReadOnly));
  const QByteArray text = conf.readAll();
  EXPECT_TRUE(text.contains("\ninclude " + system_.path().toLocal8Bit() + "/firebird.conf\n")) << text.toStdString();
  EXPECT_TRUE(text.endsWith("\nServerMode = SuperClassic\n")) << text.toStdString();
  EXPECT_EQ(QFileInfo(expected).permissions() & (QFileDevice::WriteGroup | QFileDevice::WriteOther), QFileDevice::Permissions());

  // A second start reuses it; a link left pointing elsewhere is put right.
  qunsetenv("FIREBIRD");
  QFile::remove(expected + QStringLiteral("/plugins.conf"));
  ASSERT_TRUE(QFile::link(QStringLiteral("/nowhere"), expected + QStringLiteral("/plugins.conf")));
  EXPECT_EQ(UseSharedEmbeddedRoot(SystemRoot()), root);
  EXPECT_EQ(QFileInfo(expected + QStringLiteral("/plugins.conf")).symLinkTarget(), system_.path() + QStringLiteral("/plugins.conf"));
}

TEST_F(EmbeddedRoot, LeavesThingsAsTheyAreWhenItCannotBeSafe) {
  // The user's own choice of root.
  qputenv("FIREBIRD", "/opt/mine");
  EXPECT_EQ(UseSharedEmbeddedRoot(SystemRoot()), std::string());
  EXPECT_EQ(qgetenv("FIREBIRD"), QByteArray("/opt/mine"));
  qunsetenv("FIREBIRD");
  // No system root to build on.
  EXPECT_EQ(UseSharedEmbeddedRoot(SystemRoot() + "/missing"), std::string());
  EXPECT_TRUE(qgetenv("FIREBIRD").isEmpty());
  // A folder that others may write to (planted, or made carelessly) is not used.
  const QString planted = runtime_.path() + QStringLiteral("/ledgerly-firebird");
  ASSERT_TRUE(QDir().mkpath(planted));
  ASSERT_EQ(chmod(planted.toLocal8Bit().constData(), 0777), 0);
  EXPECT_EQ(UseSharedEmbeddedRoot(SystemRoot()), std::string());
  EXPECT_TRUE(qgetenv("FIREBIRD").isEmpty());
  EXPECT_FALSE(QFileInfo::exists(planted + QStringLiteral("/firebird.conf")));
  // Nor a link to a folder elsewhere.
  ASSERT_TRUE(QDir(planted).removeRecursively());
  QTemporaryDir elsewhere;
  ASSERT_TRUE(QFile::link(elsewhere.path(), planted));
  EXPECT_EQ(UseSharedEmbeddedRoot(SystemRoot()), std::string());
  EXPECT_FALSE(QFileInfo::exists(elsewhere.path() + QStringLiteral("/firebird.conf")));
}
