// The database connection: settings from the connections and drivers files, the driver
// library loaded by name, and the open driver connection the SQL data sets run on.
//
// Files: the connections file is the per-user setting "Connection Registry File", else
// "dbxconnections.ini" beside the executable (settled when the component is created); the
// drivers file is "Driver Registry File", else "dbxdrivers.ini" beside the executable (looked
// up each time). The per-user settings live in the user's Qt settings file for
// organisation "Borland", application "DBExpress" (~/.config/Borland/DBExpress.conf).
#pragma once
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "db/DriverApi.h"
#include "platform/Component.h"

class TSQLConnection : public TComponent {
 public:
  explicit TSQLConnection(TComponent* owner);
  ~TSQLConnection() override;
  QString ClassName() const override { return QStringLiteral("TSQLConnection"); }

  const QString& ConnectionName() const { return connectionName_; }
  void SetConnectionName(const QString& name);
  const QString& DriverName() const { return driverName_; }
  void SetDriverName(const QString& name) { driverName_ = name; }
  const QString& GetDriverFunc() const { return getDriverFunc_; }
  void SetGetDriverFunc(const QString& name) { getDriverFunc_ = name; }
  const QString& LibraryName() const { return libraryName_; }
  void SetLibraryName(const QString& name) { libraryName_ = name; }
  const QString& VendorLib() const { return vendorLib_; }
  void SetVendorLib(const QString& name) { vendorLib_ = name; }
  bool LoadParamsOnConnect() const { return loadParamsOnConnect_; }
  void SetLoadParamsOnConnect(bool on) { loadParamsOnConnect_ = on; }
  bool LoginPrompt() const { return loginPrompt_; }
  void SetLoginPrompt(bool on) { loginPrompt_ = on; }
  bool KeepConnection() const { return keepConnection_; }
  void SetKeepConnection(bool on) { keepConnection_ = on; }
  // "key=value" lines; keys match without regard to case.
  QStringList& Params() { return params_; }
  const QStringList& Params() const { return params_; }
  void SetParams(const QStringList& p) { params_ = p; }
  // The value of `key` in Params (untrimmed), empty when absent.
  QString ParamValue(const QString& key) const;
  bool HasParam(const QString& key) const;

  bool Connected() const { return connection_ != nullptr; }
  void SetConnected(bool on);
  void Open() { SetConnected(true); }
  void Close() { SetConnected(false); }
  void Loaded() override;

  QString ConnectionFileName() const { return connectionFile_; }
  QString DriverFileName() const;
  // The folder of the running executable, where the default files live.
  static QString ExecutableFolder();

  // One option for the driver connection, as handed over before connecting.
  struct Option {
    dbx::ConnOption option;
    QString key;
    int64_t value = 0;
    QByteArray text;
    friend bool operator==(const Option&, const Option&) = default;
  };
  // The options that `params` gives, in the order they are handed to the driver.
  static std::vector<Option> ConnectionOptions(const QStringList& params, const QString& driverName);
  // Isolation level of a "<driver> TransIsolation" value: 1 repeatable read, 2 dirty read,
  // 0 read committed (anything else).
  static int IsolationLevel(const QString& value);

  // --- for the SQL data sets and providers (connection open)
  dbx::ISQLConnection* DriverConnection() const { return connection_; }
  dbx::ISQLMetaData* MetaData() const { return metaData_; }
  int MaxStmtsPerConn() const { return maxStmts_; }
  QString QuoteChar() const { return quoteChar_; }
  bool TransactionsSupported() const { return transactionsSupported_; }
  // Raises the driver's and the server's text for a failed status; no-op for success.
  void CheckError(dbx::TStatus status) const;
  // The status CheckError saw last, and whether it told of a lost (or not restored) connection.
  dbx::TStatus LastStatus() const { return lastStatus_; }
  bool ConnectionLost() const { return lastStatus_ == dbx::kConnectionLost || lastStatus_ == dbx::kNotConnected; }
  // Drops the driver's broken connection and connects again with the settings of the last
  // connect (the files are not read again). Raises the failure, naming the lost connection.
  void Reconnect();
  // Primary key columns of `table` in key order; empty when it has none.
  QStringList PrimaryKeyColumns(const QString& table) const;
  // "LocaleCode" read as hexadecimal; 0 when absent or invalid.
  int32_t LocaleCode() const;

 private:
  void DoConnect();
  void DoDisconnect();
  void LoadParamsFromFile();
  [[noreturn]] void NamedError(const QString& message) const;

  QString connectionName_;
  QString driverName_;
  QString getDriverFunc_;
  QString libraryName_;
  QString vendorLib_;
  bool loadParamsOnConnect_ = false;
  bool loginPrompt_ = true;
  bool keepConnection_ = true;
  QStringList params_;
  bool paramsLoaded_ = false;
  bool streamedConnected_ = false;
  QString connectionFile_;

  dbx::ISQLDriver* driver_ = nullptr;          // owned (Release)
  dbx::ISQLConnection* connection_ = nullptr;  // owned (Release)
  dbx::ISQLMetaData* metaData_ = nullptr;      // owned (Release)
  int maxStmts_ = 0;
  QString quoteChar_;
  bool transactionsSupported_ = false;
  mutable dbx::TStatus lastStatus_ = dbx::kOk;
  // The login of the open connection, for Reconnect.
  QByteArray loginDatabase_, loginUser_, loginPassword_;
};
