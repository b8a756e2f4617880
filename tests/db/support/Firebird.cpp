#include "support/Firebird.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSettings>
#include <QTextStream>
#include <QThread>

#include <arpa/inet.h>
#include <csignal>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "drivers/interbase/IbSession.h"
#include "tests/TestUtil.h"

void MakeDatabase(const QString& path, const std::vector<std::string>& statements) {
  QFile::remove(path);
  IbSession db(IbClient());
  db.Create(QFile::encodeName(path).toStdString());
  for (const std::string& s : statements) {
    db.Execute(s);
    db.Commit();  // DDL must be committed before rows go in
  }
  db.Detach();
}

void MakeDemoDatabase(const QString& path, int vouchers, int lines) {
  QFile::remove(path);
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("detect_leaks=0"));
  p.setProcessEnvironment(env);
  p.start(BinDir() + QStringLiteral("/mkdemodb"),
          {QStringLiteral("--vouchers"), QString::number(vouchers), QStringLiteral("--lines"), QString::number(lines), path});
  if (!p.waitForFinished(120000) || p.exitCode() != 0)
    throw std::runtime_error("mkdemodb failed: " + p.readAllStandardError().toStdString());
}

// ---------------------------------------------------------------------------------------------

ConnectionFiles::ConnectionFiles() {
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_.path());
  SetUserSetting(QStringLiteral("Connection Registry File"), ConnectionsPath());
  SetUserSetting(QStringLiteral("Driver Registry File"), DriversPath());
}

ConnectionFiles::~ConnectionFiles() {
  SetUserSetting(QStringLiteral("Connection Registry File"), QString());
  SetUserSetting(QStringLiteral("Driver Registry File"), QString());
}

void ConnectionFiles::SetUserSetting(const QString& key, const QString& value) {
  QSettings s(QStringLiteral("Borland"), QStringLiteral("DBExpress"));
  if (value.isEmpty()) s.remove(key);
  else s.setValue(key, value);
  s.sync();
}

QStringList ConnectionFiles::KestrelParams(const QString& database, const QStringList& extra) {
  QStringList lines = {
      QStringLiteral("DriverName=Interbase"),       QStringLiteral("Database=") + database,
      QStringLiteral("RoleName=RoleName"),          QStringLiteral("User_Name=sysdba"),
      QStringLiteral("Password=k7Rw2qZx"),          QStringLiteral("ServerCharSet="),
      QStringLiteral("SQLDialect=3"),               QStringLiteral("BlobSize=-1"),
      QStringLiteral("CommitRetain=False"),         QStringLiteral("WaitOnLocks=True"),
      QStringLiteral("ErrorResourceFile="),         QStringLiteral("LocaleCode=0000"),
      QStringLiteral("Interbase TransIsolation=ReadCommited"), QStringLiteral("Trim Char=False"),
  };
  for (const QString& e : extra) {
    const QString key = e.section(u'=', 0, 0);
    bool replaced = false;
    for (QString& l : lines)
      if (l.section(u'=', 0, 0).compare(key, Qt::CaseInsensitive) == 0) {
        l = e;
        replaced = true;
      }
    if (!replaced) lines << e;
  }
  return lines;
}

void ConnectionFiles::WriteConnections(const QStringList& lines, const QString& section) {
  QFile f(ConnectionsPath());
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  QTextStream out(&f);
  out << "[" << section << "]\n";
  for (const QString& l : lines) out << l << "\n";
}

void ConnectionFiles::WriteDrivers(const QString& library, const QString& vendor, const QString& func) {
  QFile f(DriversPath());
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  QTextStream out(&f);
  out << "[Interbase]\nLibraryName=" << library << "\nVendorLib=" << vendor << "\nGetDriverFunc=" << func << "\n";
}

// ---------------------------------------------------------------------------------------------

namespace {
int FreePort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = 0;
  socklen_t len = sizeof a;
  if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || getsockname(s, reinterpret_cast<sockaddr*>(&a), &len) != 0) {
    close(s);
    throw std::runtime_error("no free port");
  }
  close(s);
  return ntohs(a.sin_port);
}

bool Accepts(int port) {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  a.sin_port = htons(static_cast<uint16_t>(port));
  const bool ok = connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  close(s);
  return ok;
}

void WriteText(const QString& path, const QString& text) {
  QFile f(path);
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(text.toUtf8());
}

const char* const kSystemRoot = "/usr/lib/x86_64-linux-gnu/firebird/3.0";
const char* const kSystemSecurity = "/var/lib/firebird/3.0/system/security3.fdb";
}  // namespace

FirebirdServer::FirebirdServer() {
  QDir().mkpath(DataDir());
  static const char kChars[] = "abcdefghjkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ23456789";
  for (int i = 0; i < 12; ++i) password_ += QLatin1Char(kChars[QRandomGenerator::global()->bounded(int(sizeof kChars - 1))]);
}

FirebirdServer::~FirebirdServer() { Kill(); }

QString FirebirdServer::Target(const QString& path) const {
  return QStringLiteral("127.0.0.1/%1:%2").arg(port_).arg(path);
}

void FirebirdServer::Start() {
  if (pid_ > 0) return;
  const QString root = dir_.path() + QStringLiteral("/root");
  const QString lock = dir_.path() + QStringLiteral("/lock");
  const QString security = dir_.path() + QStringLiteral("/security3.fdb");
  QDir().mkpath(root);
  QDir().mkpath(lock);
  QDir().mkpath(DataDir());
  // A root of our own: the system's engine pieces, our configuration and security database.
  for (const char* piece : {"intl", "plugins", "lib", "UDF", "firebird.msg", "plugins.conf"})
    QFile::link(QStringLiteral("%1/%2").arg(QLatin1String(kSystemRoot), QLatin1String(piece)), root + u'/' + QLatin1String(piece));
  QFile::remove(security);
  if (!QFile::copy(QLatin1String(kSystemSecurity), security)) throw std::runtime_error("cannot copy the security database");
  QFile(security).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  if (port_ == 0) port_ = FreePort();
  WriteText(root + QStringLiteral("/firebird.conf"),
            QStringLiteral("SecurityDatabase = %1\nRemoteBindAddress = 127.0.0.1\nIpcName = ledgerly%2\n"
                           "GuardianOption = 0\nRemoteServicePort = %2\n")
                .arg(security)
                .arg(port_));
  WriteText(root + QStringLiteral("/databases.conf"), QStringLiteral("security.db = %1\n").arg(security));

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("FIREBIRD"), root);
  env.insert(QStringLiteral("FIREBIRD_LOCK"), lock);
  env.insert(QStringLiteral("ISC_USER"), QString());
  env.insert(QStringLiteral("ISC_PASSWORD"), QString());

  // The SYSDBA password, set while no server runs, through the embedded engine.
  {
    QProcess isql;
    isql.setProcessEnvironment(env);
    isql.start(QStringLiteral("isql-fb"), {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), security});
    isql.write(QStringLiteral("create or alter user SYSDBA password '%1' using plugin Srp;\ncommit;\nquit;\n")
                   .arg(password_)
                   .toUtf8());
    isql.closeWriteChannel();
    if (!isql.waitForFinished(60000) || isql.exitCode() != 0)
      throw std::runtime_error("isql failed: " + isql.readAllStandardError().toStdString());
  }

  const QByteArray exe = "/usr/sbin/firebird";
  const QByteArray portArg = QByteArray::number(port_);
  const QByteArray rootEnv = QFile::encodeName(root), lockEnv = QFile::encodeName(lock);
  const pid_t parent = getpid();
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    // The server goes when the test process goes, however it ends.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent) _exit(1);
    setenv("FIREBIRD", rootEnv.constData(), 1);
    setenv("FIREBIRD_LOCK", lockEnv.constData(), 1);
    execl(exe.constData(), exe.constData(), "-p", portArg.constData(), static_cast<char*>(nullptr));
    _exit(127);
  }
  pid_ = pid;
  for (int i = 0; i < 200 && !Accepts(port_); ++i) {
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      throw std::runtime_error("the Firebird server did not start");
    }
    QThread::msleep(50);
  }
  if (!Accepts(port_)) {
    Kill();
    throw std::runtime_error("the Firebird server does not listen");
  }
}

void FirebirdServer::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  int status = 0;
  for (int i = 0; i < 200; ++i) {
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return;
    }
    QThread::msleep(50);
  }
  Kill();
}

void FirebirdServer::Kill() {
  if (pid_ <= 0) return;
  kill(pid_, SIGKILL);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
}
