#include "ViewerSite.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include "Desktop.h"
#include "tests/TestUtil.h"

namespace {
QString ReadText(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return QString();
  return QString::fromUtf8(f.readAll());
}
}  // namespace

TViewerSite::TViewerSite() {
  if (!dir_.isValid()) return;
  ok_ = QFile::copy(BinDir() + QStringLiteral("/ledgerly"), Executable());
}

void TViewerSite::WriteFile(const QString& name, const QString& text) const {
  QFile f(PathOf(name));
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(text.toUtf8());
}

void TViewerSite::RemoveFile(const QString& name) const { QFile::remove(PathOf(name)); }

QString TViewerSite::DefaultDrivers() const {
  // The build's drivers file names the driver library relative to its folder; the copy here
  // names it by its full path instead.
  QStringList lines = ReadText(BinDir() + QStringLiteral("/dbxdrivers.ini")).split(QLatin1Char('\n'));
  for (QString& line : lines) {
    const QString key = line.section(QLatin1Char('='), 0, 0).trimmed();
    const QString value = line.section(QLatin1Char('='), 1).trimmed();
    if (key.compare(QLatin1String("LibraryName"), Qt::CaseInsensitive) == 0 && !value.isEmpty() &&
        !QFileInfo(value).isAbsolute()) {
      const QString built = BinDir() + QLatin1Char('/') + value;
      if (QFileInfo::exists(built)) line = key + QLatin1Char('=') + built;
    }
  }
  return lines.join(QLatin1Char('\n'));
}

QString TViewerSite::ConnectionsFor(const QString& database, const QString& password) {
  return QStringLiteral(
             "[Kestrel]\n"
             "DriverName=Interbase\n"
             "Database=%1\n"
             "RoleName=RoleName\n"
             "User_Name=sysdba\n"
             "Password=%2\n"
             "ServerCharSet=\n"
             "SQLDialect=3\n"
             "BlobSize=-1\n"
             "CommitRetain=False\n"
             "WaitOnLocks=True\n"
             "ErrorResourceFile=\n"
             "LocaleCode=0000\n"
             "Interbase TransIsolation=ReadCommited\n"
             "Trim Char=False\n")
      .arg(database, password);
}

void TViewerSite::UseDatabase(const QString& database, const QString& password) const {
  WriteFile(QStringLiteral("dbxconnections.ini"), ConnectionsFor(database, password));
  WriteFile(QStringLiteral("dbxdrivers.ini"), DefaultDrivers());
}

QStringList QueryColumn(const QString& database, const QString& sql) {
  QTemporaryDir dir;
  const QString script = dir.path() + QStringLiteral("/q.sql");
  QFile f(script);
  if (!f.open(QIODevice::WriteOnly)) return {};
  f.write(("SET HEADING OFF;\n" + sql + ";\n").toUtf8());
  f.close();
  const TRunResult r = RunProgram(QStringLiteral("isql-fb"),
                                  {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                                   QStringLiteral("-i"), script, database},
                                  QProcessEnvironment::systemEnvironment(), 60000);
  QStringList out;
  if (!r.Finished || r.ExitCode != 0) return out;
  for (const QString& line : r.Out.split(QLatin1Char('\n'))) {
    const QString t = line.trimmed();
    if (!t.isEmpty()) out << t;
  }
  return out;
}

TViewerRun::TViewerRun(const TViewerSite& site, const QStringList& args, const QProcessEnvironment& env) {
  boxLog_ = site.PathOf(QStringLiteral("boxes.log"));
  QFile::remove(boxLog_);
  QProcessEnvironment e = env;
  e.insert(QStringLiteral("LEDGERLY_MESSAGEBOX_LOG"), boxLog_);
  e.insert(QStringLiteral("XDG_CONFIG_HOME"), site.Dir());
  process_.setProcessEnvironment(e);
  process_.setWorkingDirectory(site.Dir());
  process_.start(site.Executable(), args);
  process_.waitForStarted(10000);
}

TViewerRun::~TViewerRun() {
  if (process_.state() != QProcess::NotRunning) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

std::optional<QString> TViewerRun::WaitForWindow(const QString& title, int timeoutMs) {
  QElapsedTimer t;
  t.start();
  do {
    if (auto w = Xdo::WaitForWindow(title, 0, Pid())) return w;
    if (process_.waitForFinished(250)) return std::nullopt;
  } while (t.elapsed() < timeoutMs);
  return std::nullopt;
}

int TViewerRun::WaitForExit(int timeoutMs) {
  if (!process_.waitForFinished(timeoutMs)) return -1;
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QString TViewerRun::StandardError() {
  err_ += QString::fromUtf8(process_.readAllStandardError());
  return err_;
}

std::vector<TShownBox> TViewerRun::Boxes() const {
  std::vector<TShownBox> out;
  for (const QString& line : ReadText(boxLog_).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
    const QStringList parts = line.split(QLatin1Char('\t'));
    if (parts.size() < 3) continue;
    // The log writes a backslash as two, CR as \r and LF as \n.
    QString text;
    const QString& raw = parts[1];
    for (qsizetype i = 0; i < raw.size(); ++i) {
      if (raw[i] == QLatin1Char('\\') && i + 1 < raw.size()) {
        const QChar n = raw[++i];
        text += n == QLatin1Char('n') ? QChar(u'\n') : n == QLatin1Char('r') ? QChar(u'\r') : n;
      } else {
        text += raw[i];
      }
    }
    out.push_back({parts[0], text, parts[2].toUInt(nullptr, 0)});
  }
  return out;
}
