#include "db/SQLConnection.h"

#include <dlfcn.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSettings>

#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/Screen.h"

namespace {

QString PerUserSetting(const QString& name) {
  QSettings settings(QStringLiteral("Borland"), QStringLiteral("DBExpress"));
  return settings.value(name).toString().trimmed();
}

bool IsTrue(const QString& v) { return v.trimmed().toUpper() == QStringLiteral("TRUE"); }

int ParseIntParam(const QString& v) {
  bool ok = false;
  const int n = v.trimmed().toInt(&ok);
  if (!ok) throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(v.trimmed()));
  return n;
}

// Driver libraries stay loaded for the rest of the run (the client library they bind is
// not safe to unload); one handle per path.
void* LoadLibraryOnce(const QString& name) {
  static QHash<QString, void*> loaded;
  if (void* h = loaded.value(name)) return h;
  // A bare name is looked for beside the executable first, then where the system looks.
  QByteArray path = QFile::encodeName(name);
  if (!name.contains(u'/')) {
    const QString beside = TSQLConnection::ExecutableFolder() + u'/' + name;
    if (QFileInfo::exists(beside)) path = QFile::encodeName(beside);
  }
  void* h = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
  if (h) loaded.insert(name, h);
  return h;
}

const QString* FindParam(const QStringList& params, const QString& key, qsizetype& eq) {
  for (const QString& line : params) {
    eq = line.indexOf(u'=');
    if (eq >= 0 && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0) return &line;
  }
  return nullptr;
}

QString ParamValueIn(const QStringList& params, const QString& key) {
  qsizetype eq = 0;
  const QString* line = FindParam(params, key, eq);
  return line ? line->mid(eq + 1) : QString();
}

// The screen's pointer is the hourglass while the object lives (library loads, server waits).
struct HourGlass {
  HourGlass() { Screen()->SetCursor(crHourGlass); }
  ~HourGlass() { Screen()->SetCursor(crDefault); }
};

bool HasParamIn(const QStringList& params, const QString& key) {
  qsizetype eq = 0;
  return FindParam(params, key, eq) != nullptr;
}

}  // namespace

TSQLConnection::TSQLConnection(TComponent* owner) : TComponent(owner) {
  connectionFile_ = PerUserSetting(QStringLiteral("Connection Registry File"));
  if (connectionFile_.isEmpty()) connectionFile_ = ExecutableFolder() + QStringLiteral("/dbxconnections.ini");
}

TSQLConnection::~TSQLConnection() {
  Destroying();
  DoDisconnect();
}

QString TSQLConnection::ExecutableFolder() {
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

QString TSQLConnection::DriverFileName() const {
  const QString s = PerUserSetting(QStringLiteral("Driver Registry File"));
  return s.isEmpty() ? ExecutableFolder() + QStringLiteral("/dbxdrivers.ini") : s;
}

void TSQLConnection::SetConnectionName(const QString& name) {
  if (name == connectionName_) return;
  if (!IsLoading()) Close();
  connectionName_ = name;
  paramsLoaded_ = false;
}

QString TSQLConnection::ParamValue(const QString& key) const { return ParamValueIn(params_, key); }
bool TSQLConnection::HasParam(const QString& key) const { return HasParamIn(params_, key); }

int32_t TSQLConnection::LocaleCode() const {
  bool ok = false;
  const uint v = ParamValue(QStringLiteral("LocaleCode")).trimmed().toUInt(&ok, 16);
  return ok ? static_cast<int32_t>(v) : 0;
}

void TSQLConnection::NamedError(const QString& message) const {
  throw EDatabaseError(Name().isEmpty() ? message : Name() + QStringLiteral(": ") + message);
}

void TSQLConnection::SetConnected(bool on) {
  if (IsLoading()) {
    streamedConnected_ = on;
    return;
  }
  if (on == Connected()) return;
  if (on) DoConnect();
  else DoDisconnect();
}

void TSQLConnection::Loaded() {
  TComponent::Loaded();
  if (streamedConnected_) {
    streamedConnected_ = false;
    SetConnected(true);
  }
}

int TSQLConnection::IsolationLevel(const QString& value) {
  const QString v = value.trimmed();
  if (v.compare(QStringLiteral("RepeatableRead"), Qt::CaseInsensitive) == 0) return 1;
  if (v.compare(QStringLiteral("DirtyRead"), Qt::CaseInsensitive) == 0) return 2;
  return 0;
}

std::vector<TSQLConnection::Option> TSQLConnection::ConnectionOptions(const QStringList& params,
                                                                      const QString& driverName) {
  std::vector<Option> out;
  enum Kind { kText, kSwitch, kNonEmptyText, kIsolation, kInteger };
  struct ParamRule {
    dbx::ConnOption option;
    QString key;
    Kind kind;
  };
  const ParamRule rules[] = {
      {dbx::ConnOption::HostName, QStringLiteral("HostName"), kText},
      {dbx::ConnOption::RoleName, QStringLiteral("RoleName"), kText},
      {dbx::ConnOption::WaitOnLocks, QStringLiteral("WaitOnLocks"), kSwitch},
      {dbx::ConnOption::CommitRetain, QStringLiteral("CommitRetain"), kSwitch},
      {dbx::ConnOption::AutoCommit, QStringLiteral("AutoCommit"), kSwitch},
      {dbx::ConnOption::BlockingMode, QStringLiteral("BlockingMode"), kSwitch},
      {dbx::ConnOption::ServerCharSet, QStringLiteral("ServerCharSet"), kNonEmptyText},
      {dbx::ConnOption::TxnIsolation, driverName + QStringLiteral(" TransIsolation"), kIsolation},
      {dbx::ConnOption::SqlDialect, QStringLiteral("SqlDialect"), kInteger},
      {dbx::ConnOption::OSAuthentication, QStringLiteral("OS Authentication"), kSwitch},
      {dbx::ConnOption::ServerPort, QStringLiteral("Server Port"), kText},
      {dbx::ConnOption::MultipleTransaction, QStringLiteral("Multiple Transaction"), kSwitch},
      {dbx::ConnOption::TrimChar, QStringLiteral("Trim Char"), kSwitch},
      {dbx::ConnOption::CustomString, QStringLiteral("Custom String"), kText},
      {dbx::ConnOption::ConnectionTimeout, QStringLiteral("Connection Timeout"), kInteger},
  };
  for (const ParamRule& s : rules) {
    if (!HasParamIn(params, s.key)) continue;
    const QString v = ParamValueIn(params, s.key);
    Option o{s.option, s.key, 0, {}};
    switch (s.kind) {
      case kText:
        o.text = v.trimmed().toUtf8();
        break;
      case kNonEmptyText:
        if (v.trimmed().isEmpty()) continue;
        o.text = v.trimmed().toUtf8();
        break;
      case kSwitch:
        o.value = IsTrue(v) ? 1 : 0;
        break;
      case kIsolation:
        o.value = IsolationLevel(v);
        break;
      case kInteger:
        o.value = ParseIntParam(v);
        break;
    }
    out.push_back(std::move(o));
  }
  return out;
}

void TSQLConnection::LoadParamsFromFile() {
  if (connectionName_.isEmpty()) throw EDatabaseError(QStringLiteral("Connection name missing"));
  if (!QFileInfo(connectionFile_).isFile())
    throw EDatabaseError(QStringLiteral("Driver/Connection Registry File '%1' not found").arg(connectionFile_));
  TMemIniFile ini;
  ini.LoadFromFile(connectionFile_);
  params_ = ini.ReadSectionValues(connectionName_);
  paramsLoaded_ = true;
}

void TSQLConnection::DoConnect() {
  // 1-2: parameters and driver name.
  if (loadParamsOnConnect_) {
    if (!paramsLoaded_) LoadParamsFromFile();
    driverName_ = ParamValue(QStringLiteral("DriverName")).trimmed();
  }
  if (driverName_.isEmpty()) throw EDatabaseError(QStringLiteral("Missing DriverName property"));

  // 3: the driver's library names.
  {
    TMemIniFile drivers;
    const QString path = DriverFileName();
    if (QFileInfo(path).isFile()) drivers.LoadFromFile(path);
    libraryName_ = drivers.ReadString(driverName_, QStringLiteral("LibraryName"), QString());
    if (libraryName_.trimmed().isEmpty()) NamedError(QStringLiteral("DLL/Shared Library Name not Set"));
    vendorLib_ = drivers.ReadString(driverName_, QStringLiteral("VendorLib"), QString()).trimmed();
    if (vendorLib_.isEmpty()) NamedError(QStringLiteral("DLL/Shared Library Name not Set"));
    const QString func = drivers.ReadString(driverName_, QStringLiteral("GetDriverFunc"), QString());
    if (!func.trimmed().isEmpty()) getDriverFunc_ = func;
  }

  // 4
  const QString database = ParamValue(QStringLiteral("Database")).trimmed();
  if (database.isEmpty()) throw EDatabaseError(QStringLiteral("Missing Database property"));

  // 5: the hourglass while the library loads and the server answers.
  const HourGlass hourGlass;

  try {
    // 6-7
    const QString lib = libraryName_.trimmed();
    void* handle = LoadLibraryOnce(lib);
    if (!handle) throw EDatabaseError(QStringLiteral("Unable to Load %1").arg(lib));
    const QString funcName = getDriverFunc_.trimmed();
    auto entry = reinterpret_cast<dbx::GetDriverFunc>(dlsym(handle, funcName.toUtf8().constData()));
    if (!entry) throw EDatabaseError(QStringLiteral("Unable to Find Procedure %1").arg(funcName));
    const QByteArray vendor = QFile::encodeName(vendorLib_);
    const QByteArray errorFile = QFile::encodeName(ParamValue(QStringLiteral("ErrorResourceFile")).trimmed());
    if (entry(vendor.constData(), errorFile.constData(), &driver_) != 0 || !driver_) {
      driver_ = nullptr;
      throw EDatabaseError(QStringLiteral("Unable to Load %1").arg(vendorLib_));
    }
    dbx::ISQLConnection* conn = nullptr;
    const dbx::TStatus st = driver_->GetConnection(&conn);
    if (st != dbx::kOk || !conn) {
      const char* t = driver_->ErrorText(st);
      throw EDatabaseError(t ? QStringLiteral("dbExpress Error: %1").arg(QString::fromUtf8(t))
                             : QStringLiteral("dbExpress Error: Unknown Error Code '%1'").arg(st));
    }
    connection_ = conn;

    // 8: login values (no login dialog: LoginPrompt is honoured only by an interactive shell).
    const QByteArray password = ParamValue(QStringLiteral("Password")).toUtf8();
    const QString userName = ParamValue(QStringLiteral("User_Name"));
    const QByteArray user = userName.toUtf8();
    const QByteArray db = database.toUtf8();

    // 9
    for (const Option& o : ConnectionOptions(params_, driverName_))
      CheckError(connection_->SetOption(o.option, o.value, o.text.constData()));

    // 10
    CheckError(connection_->Connect(db.constData(), user.constData(), password.constData()));
    loginDatabase_ = db;
    loginUser_ = user;
    loginPassword_ = password;
    lastStatus_ = dbx::kOk;

    // 11
    int64_t v = 0;
    CheckError(connection_->GetOption(dbx::ConnOption::MaxActiveStatements, &v));
    maxStmts_ = static_cast<int>(v);
    CheckError(connection_->GetMetaData(&metaData_));
    const QByteArray schema = userName.trimmed().toUtf8();
    if (!schema.isEmpty()) CheckError(metaData_->SetOption(dbx::MetaOption::SchemaName, 0, schema.constData()));
    const char* quote = nullptr;
    CheckError(metaData_->GetOption(dbx::MetaOption::ObjectQuoteChar, &v, &quote));
    quoteChar_ = quote ? QString::fromUtf8(quote) : QString();
    const int blobSize = HasParam(QStringLiteral("BlobSize")) ? ParseIntParam(ParamValue(QStringLiteral("BlobSize"))) : -1;
    CheckError(connection_->SetOption(dbx::ConnOption::BlobSize, blobSize, nullptr));
    CheckError(metaData_->GetOption(dbx::MetaOption::SupportsTransaction, &v, nullptr));
    transactionsSupported_ = v != 0;
  } catch (...) {
    DoDisconnect();
    throw;
  }
}

void TSQLConnection::DoDisconnect() {
  if (metaData_) metaData_->Release();
  metaData_ = nullptr;
  if (connection_) {
    connection_->Disconnect();
    connection_->Release();
  }
  connection_ = nullptr;
  if (driver_) driver_->Release();
  driver_ = nullptr;
  loginDatabase_.clear();
  loginUser_.clear();
  loginPassword_.clear();
  lastStatus_ = dbx::kOk;
  // The next connect reads the connections file again.
  paramsLoaded_ = false;
}

void TSQLConnection::Reconnect() {
  if (!connection_) {
    Open();
    return;
  }
  const HourGlass hourGlass;
  lastStatus_ = dbx::kOk;
  connection_->Disconnect();
  const dbx::TStatus st =
      connection_->Connect(loginDatabase_.constData(), loginUser_.constData(), loginPassword_.constData());
  // The server's reason for refusing the new connection, under the news of the lost one.
  CheckError(st == dbx::kServerError ? dbx::kConnectionLost : st);
}

void TSQLConnection::CheckError(dbx::TStatus status) const {
  lastStatus_ = status;
  if (status == dbx::kOk) return;
  QStringList parts;
  if (status != dbx::kServerError && driver_) {
    if (const char* t = driver_->ErrorText(status)) parts << QStringLiteral("dbExpress Error: %1").arg(QString::fromUtf8(t));
  }
  if (connection_) {
    const QString server = QString::fromUtf8(connection_->ServerMessage());
    if (!server.isEmpty()) parts << QStringLiteral("SQL Server Error: %1").arg(server);
  }
  if (parts.isEmpty()) throw EDatabaseError(QStringLiteral("dbExpress Error: Unknown Error Code '%1'").arg(status));
  throw EDatabaseError(parts.join(u'\n'));
}

QStringList TSQLConnection::PrimaryKeyColumns(const QString& table) const {
  QStringList out;
  if (!metaData_) return out;
  const QByteArray name = table.toUtf8();
  dbx::ISQLCursor* cur = nullptr;
  CheckError(metaData_->GetPrimaryKey(name.constData(), &cur));
  if (!cur) return out;
  struct Releaser {
    dbx::ISQLCursor* c;
    ~Releaser() { c->Release(); }
  } releaser{cur};
  for (;;) {
    const dbx::TStatus st = cur->Next();
    if (st == dbx::kEof) break;
    CheckError(st);
    int32_t len = 0;
    const char* p = cur->GetText(0, &len);
    out << QString::fromUtf8(p, len).trimmed();
  }
  return out;
}
