// Real Firebird for the data tests: databases made with the embedded engine, connection
// and driver files pointed at through the per-user settings, and a private Firebird server
// on a free TCP port with its own security database and SYSDBA password.
#pragma once
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include <sys/types.h>

// Makes a database file (UTF8) and runs `statements` in it.
void MakeDatabase(const QString& path, const std::vector<std::string>& statements);
// Runs the real demo builder: `mkdemodb --vouchers V --lines L PATH`.
void MakeDemoDatabase(const QString& path, int vouchers, int lines);

// The connections and drivers files of one test, in a private folder, named by the per-user
// settings for as long as the object lives.
class ConnectionFiles {
 public:
  ConnectionFiles();
  ~ConnectionFiles();
  QString Dir() const { return dir_.path(); }
  QString ConnectionsPath() const { return dir_.path() + QStringLiteral("/dbxconnections.ini"); }
  QString DriversPath() const { return dir_.path() + QStringLiteral("/dbxdrivers.ini"); }
  // The stored parameter list with `database`; `extra` lines replace keys of the same name.
  static QStringList KestrelParams(const QString& database, const QStringList& extra = {});
  void WriteConnections(const QStringList& kestrelLines, const QString& section = QStringLiteral("Kestrel"));
  void WriteDrivers(const QString& library = QStringLiteral("libsqlib.so"),
                    const QString& vendor = QStringLiteral("libfbclient.so.2"),
                    const QString& func = QStringLiteral("getSQLDriverINTERBASE"));
  // Points the per-user settings somewhere else (empty removes the setting).
  static void SetUserSetting(const QString& key, const QString& value);

 private:
  QTemporaryDir dir_;
  QTemporaryDir settingsDir_;
};

// A Firebird server of our own. Start() picks a free port; the server dies with this
// process even if the test crashes.
class FirebirdServer {
 public:
  FirebirdServer();
  ~FirebirdServer();
  // Starts the server; a server started again keeps its port.
  void Start();
  // Stops the server at once (SIGKILL), as a crash or a pulled cable would.
  void Kill();
  // Stops the server the way an administrator does (SIGTERM) and waits for its end.
  void Stop();
  bool Running() const { return pid_ > 0; }
  pid_t Pid() const { return pid_; }
  int Port() const { return port_; }
  const QString& Password() const { return password_; }
  QString DataDir() const { return dir_.path() + QStringLiteral("/data"); }
  // "127.0.0.1/PORT:PATH"
  QString Target(const QString& path) const;

 private:
  QTemporaryDir dir_;
  int port_ = 0;
  pid_t pid_ = -1;
  QString password_;
};
