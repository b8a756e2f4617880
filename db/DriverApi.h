// The boundary between the connection and a driver library. A driver is a shared object
// whose entry point (named in the drivers file) fills in an ISQLDriver:
//
//   extern "C" int32_t getSQLDriverINTERBASE(const char* vendorLib, const char* errorResourceFile,
//                                            dbx::ISQLDriver** driver);
//
// Plain C++ only (no Qt) so that a driver needs nothing but this header. Every call that can
// fail returns a status: 0 for success, a driver code otherwise. For kServerError the text comes
// from the connection's ServerMessage(); for other codes from the driver's ErrorText(), and for
// kConnectionLost and kTimedOut from both.
// Objects are freed with Release(); texts returned by a call stay valid until the next call on
// the same object.
#pragma once
#include <cstdint>

namespace dbx {

using TStatus = int32_t;

enum StatusCode : int32_t {
  kOk = 0,
  kNoMemory = 1,
  kInvalidFieldType = 2,
  kInvalidHandle = 3,
  kNotSupported = 5,
  kInvalidParam = 7,
  kOutOfRange = 8,
  kEof = 10,
  kInvalidUserPass = 11,
  kNotConnected = 12,
  kServerError = 14,     // the server reported the failure; see ISQLConnection::ServerMessage
  kVendorLibMissing = 15,
  kVendorFuncMissing = 16,
  kInvalidText = 17,
  kConnectionLost = 18,  // the connection to the server broke; ServerMessage says how
  kTimedOut = 19,        // the server did not answer within the connection timeout
};

// Seconds a connect waits for the server when no "Connection Timeout" is given.
constexpr int32_t kDefaultConnectionTimeout = 15;

// Settings handed to a connection before it connects (and BlobSize after).
enum class ConnOption : int32_t {
  HostName,
  RoleName,
  WaitOnLocks,
  CommitRetain,
  AutoCommit,
  BlockingMode,
  ServerCharSet,
  TxnIsolation,     // 0 read committed, 1 repeatable read, 2 dirty read
  SqlDialect,
  OSAuthentication,
  ServerPort,
  MultipleTransaction,
  TrimChar,
  CustomString,
  ConnectionTimeout,  // seconds; kDefaultConnectionTimeout unless set, 0 or less: no limit of ours
  BlobSize,          // -1: whole blobs; otherwise the limit in kilobytes
  MaxActiveStatements,  // read: 0 means no limit
};

enum class MetaOption : int32_t {
  SchemaName,
  ObjectQuoteChar,
  SupportsTransaction,
};

// Logical kinds of result columns.
enum class ColumnType : int32_t {
  Unknown,
  Text,       // VARCHAR: GetText
  FixedText,  // CHAR: GetText (padding handled by the driver)
  Int16,      // GetInt64
  Int32,      // GetInt64
  Int64,      // GetInt64
  Float,      // GetDouble (single and double precision)
  Fixed,      // scaled integer: GetInt64 holds value * 10^-scale
  Date,       // GetInt64: days since 0001-01-01 (day 1 = 0001-01-01)
  Time,       // GetInt64: 1/10000 seconds since midnight
  Timestamp,  // GetInt64: days * 864000000 + time
  Boolean,    // GetInt64: 0 or 1
  Memo,       // text blob: GetText
  Blob,       // binary blob: GetText (bytes)
};

struct ColumnInfo {
  const char* name = nullptr;  // UTF-8, valid while the cursor lives
  int32_t nameLength = 0;
  ColumnType type = ColumnType::Unknown;
  int32_t size = 0;       // text: characters; others: bytes of the value
  int32_t precision = 0;  // digits of a fixed-point column
  int32_t scale = 0;      // decimal digits after the point (positive)
  int32_t charSet = 0;    // the server's character set id of a text column
  int32_t bytesPerChar = 1;
  bool nullable = true;
};

class ISQLCursor {
 public:
  virtual int32_t ColumnCount() = 0;
  virtual TStatus Describe(int32_t column, ColumnInfo* info) = 0;
  // Moves to the next row: kOk, kEof at the end, or a failure.
  virtual TStatus Next() = 0;
  virtual bool IsNull(int32_t column) = 0;
  // Bytes of a text or blob value, valid until the next Next().
  virtual const char* GetText(int32_t column, int32_t* length) = 0;
  virtual double GetDouble(int32_t column) = 0;
  virtual int64_t GetInt64(int32_t column) = 0;
  virtual void Release() = 0;

 protected:
  ~ISQLCursor() = default;
};

class ISQLCommand {
 public:
  virtual TStatus Prepare(const char* sql, int32_t length) = 0;
  // Runs the prepared statement; *cursor is null when it gives no rows.
  virtual TStatus Execute(ISQLCursor** cursor) = 0;
  virtual void Release() = 0;

 protected:
  ~ISQLCommand() = default;
};

class ISQLMetaData {
 public:
  virtual TStatus SetOption(MetaOption option, int64_t value, const char* text) = 0;
  virtual TStatus GetOption(MetaOption option, int64_t* value, const char** text) = 0;
  // Columns of the table's primary key in key order: a cursor with one text column.
  virtual TStatus GetPrimaryKey(const char* table, ISQLCursor** cursor) = 0;
  virtual void Release() = 0;

 protected:
  ~ISQLMetaData() = default;
};

class ISQLConnection {
 public:
  // `text` is used for text options, `value` for switches and numbers.
  virtual TStatus SetOption(ConnOption option, int64_t value, const char* text) = 0;
  virtual TStatus GetOption(ConnOption option, int64_t* value) = 0;
  virtual TStatus Connect(const char* database, const char* user, const char* password) = 0;
  virtual TStatus Disconnect() = 0;
  virtual TStatus GetMetaData(ISQLMetaData** meta) = 0;
  virtual TStatus GetCommand(ISQLCommand** command) = 0;
  // The server's text for the last failure on this connection or its objects; "" when none.
  virtual const char* ServerMessage() = 0;
  virtual void Release() = 0;

 protected:
  ~ISQLConnection() = default;
};

class ISQLDriver {
 public:
  virtual TStatus GetConnection(ISQLConnection** connection) = 0;
  // The driver's text for one of its codes; null when it has none.
  virtual const char* ErrorText(TStatus code) = 0;
  virtual void Release() = 0;

 protected:
  ~ISQLDriver() = default;
};

using GetDriverFunc = TStatus (*)(const char* vendorLib, const char* errorResourceFile, ISQLDriver** driver);

}  // namespace dbx
