// A folder of its own for one run of the real viewer: a copy of the executable with the
// connections and drivers files beside it (where it looks for them by default), and a demo
// database made by the demo database builder.
#pragma once
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <optional>
#include <vector>

class TViewerSite {
 public:
  TViewerSite();
  bool Ok() const { return ok_; }
  QString Dir() const { return dir_.path(); }
  QString Executable() const { return dir_.path() + QStringLiteral("/ledgerly"); }
  QString PathOf(const QString& name) const { return dir_.path() + QLatin1Char('/') + name; }
  void WriteFile(const QString& name, const QString& text) const;
  void RemoveFile(const QString& name) const;

  // The drivers file of the build, with the driver library named by its full path.
  QString DefaultDrivers() const;
  // A connections file whose "Kestrel" section opens `database` with the stored settings.
  static QString ConnectionsFor(const QString& database, const QString& password = QStringLiteral("masterkey"));
  // Writes both files for `database`.
  void UseDatabase(const QString& database, const QString& password = QStringLiteral("masterkey")) const;

 private:
  QTemporaryDir dir_;
  bool ok_ = false;
};

// Row counts and values read straight from a database with the command-line SQL tool, to check
// what the viewer shows against the database itself.
QStringList QueryColumn(const QString& database, const QString& sql);

// A message box the viewer showed.
struct TShownBox {
  QString Caption;
  QString Text;
  uint32_t Flags = 0;
};

// The viewer running in a site. Its per-user settings are the site's (none), and every message
// box it shows is also noted in the site's box log.
class TViewerRun {
 public:
  TViewerRun(const TViewerSite& site, const QStringList& args, const QProcessEnvironment& env);
  ~TViewerRun();
  TViewerRun(const TViewerRun&) = delete;
  TViewerRun& operator=(const TViewerRun&) = delete;
  qint64 Pid() const { return process_.processId(); }
  bool Running() const { return process_.state() == QProcess::Running; }
  // A visible window of this run titled `title`, waiting up to `timeoutMs` while the program runs.
  std::optional<QString> WaitForWindow(const QString& title, int timeoutMs);
  // Waits for the end; the exit code, or -1 when it did not end in time or crashed.
  int WaitForExit(int timeoutMs);
  QString StandardError();
  // The boxes shown so far, oldest first.
  std::vector<TShownBox> Boxes() const;

 private:
  QString boxLog_;
  QProcess process_;
  QString err_;
};
