// The InterBase driver library: the driver interfaces of db/DriverApi.h over the InterBase
// client API, which it binds at run time from the vendor library it is given.
//
// Sections: error texts; transactions; statements and cursors; metadata; connection; driver
// and entry point.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "db/DriverApi.h"
#include "drivers/interbase/EmbeddedRoot.h"
#include "drivers/interbase/IbApi.h"
#include "drivers/interbase/IbValues.h"

namespace {

using namespace dbx;

// --- error texts -----------------------------------------------------------------------------

const char* BuiltinErrorText(TStatus code) {
  switch (code) {
    case kNoMemory: return "Insufficient memory for this operation";
    case kInvalidFieldType: return "Invalid field type";
    case kInvalidHandle: return "Invalid handle";
    case kNotSupported: return "Operation not supported";
    case kInvalidParam: return "Invalid parameter";
    case kOutOfRange: return "Parameter/column out of range";
    case kEof: return "End of cursor";
    case kInvalidUserPass: return "Invalid user name or password";
    case kNotConnected: return "Not connected to a database";
    case kVendorLibMissing: return "Unable to load the client library";
    case kVendorFuncMissing: return "The client library lacks a required function";
    case kInvalidText: return "Invalid statement text";
    case kConnectionLost: return "The connection to the server was lost";
    case kTimedOut: return "The server did not answer in time";
    default: return nullptr;
  }
}

// --- connection state shared by its objects ---------------------------------------------------

struct Session {
  IbApi* api = nullptr;
  isc_db_handle db = 0;
  isc_tr_handle tr = 0;
  int trUsers = 0;
  std::string serverMessage;
  // Options.
  std::string hostName, roleName, serverCharSet, serverPort, customString;
  bool waitOnLocks = true, commitRetain = false, trimChar = false, osAuth = false;
  int isolation = 0;
  int dialect = 3;
  int connectTimeout = kDefaultConnectionTimeout;
  int64_t blobSize = -1;
  ISC_STATUS_ARRAY status{};

  // Records the server's text of a failed call and returns kServerError, or kConnectionLost
  // when the connection broke under the call.
  TStatus Fail() {
    serverMessage = api->Message(status);
    return IbConnectionLost(status) ? kConnectionLost : kServerError;
  }

  // Every statement runs in the connection's transaction, started on first use and committed
  // when its last user is done.
  TStatus AcquireTransaction() {
    if (tr == 0) {
      std::vector<char> tpb = {isc_tpb_version3, isc_tpb_write};
      switch (isolation) {
        case 1: tpb.push_back(isc_tpb_concurrency); break;
        case 2:
          tpb.push_back(isc_tpb_read_committed);
          tpb.push_back(isc_tpb_rec_version);
          break;
        default:
          tpb.push_back(isc_tpb_read_committed);
          tpb.push_back(isc_tpb_rec_version);
          break;
      }
      tpb.push_back(waitOnLocks ? isc_tpb_wait : isc_tpb_nowait);
      if (api->start_transaction(status, &tr, 1, &db, static_cast<short>(tpb.size()), tpb.data())) {
        tr = 0;
        return Fail();
      }
    }
    ++trUsers;
    return kOk;
  }
  void ReleaseTransaction() {
    if (trUsers > 0 && --trUsers == 0 && tr != 0) {
      ISC_STATUS_ARRAY st{};
      const bool failed = commitRetain ? api->commit_retaining(st, &tr) != 0 : api->commit_transaction(st, &tr) != 0;
      if (failed) {
        // A lost connection: drop the handle, the server has forgotten it.
        api->rollback_transaction(st, &tr);
        tr = 0;
      }
      if (commitRetain && !failed) return;
      tr = 0;
    }
  }
};

// --- statements and cursors ------------------------------------------------------------------

class IbCommand;

class IbCursor final : public ISQLCursor {
 public:
  IbCursor(IbCommand* command, bool ownsCommand) : command_(command), ownsCommand_(ownsCommand) {}
  int32_t ColumnCount() override;
  TStatus Describe(int32_t column, ColumnInfo* info) override;
  TStatus Next() override;
  bool IsNull(int32_t column) override;
  const char* GetText(int32_t column, int32_t* length) override;
  double GetDouble(int32_t column) override;
  int64_t GetInt64(int32_t column) override;
  void Release() override;
  // The cursor frees its command when released (statements made for metadata).
  void OwnCommand() { ownsCommand_ = true; }

 private:
  IbCommand* command_;
  bool ownsCommand_;
  std::string scratch_;
};

class IbCommand final : public ISQLCommand {
 public:
  static constexpr short kInitialColumns = 64;

  explicit IbCommand(Session* s) : s_(s) {}
  ~IbCommand() { Free(); }

  TStatus Prepare(const char* sql, int32_t length) override {
    // A failure of this statement must not carry the server's text of an earlier one.
    s_->serverMessage.clear();
    if (!s_->db) return kNotConnected;
    Free();
    if (!usingTr_) {
      if (TStatus st = s_->AcquireTransaction()) return st;
      usingTr_ = true;
    }
    if (s_->api->dsql_allocate_statement(s_->status, &s_->db, &stmt_)) return s_->Fail();
    // Room for most results at once, so the description comes with the prepare.
    sqlda_.assign(XSQLDA_LENGTH(kInitialColumns), 0);
    Da()->version = SQLDA_VERSION1;
    Da()->sqln = kInitialColumns;
    if (length < 0 || length > 0xffff) return kInvalidText;
    if (s_->api->dsql_prepare(s_->status, &s_->tr, &stmt_, static_cast<unsigned short>(length), sql,
                              static_cast<unsigned short>(s_->dialect), Da()))
      return s_->Fail();
    if (Da()->sqld > Da()->sqln) {
      const short n = Da()->sqld;
      sqlda_.assign(XSQLDA_LENGTH(n), 0);
      Da()->version = SQLDA_VERSION1;
      Da()->sqln = n;
      if (s_->api->dsql_describe(s_->status, &stmt_, static_cast<unsigned short>(s_->dialect), Da()))
        return s_->Fail();
    }
    const int n = Da()->sqld;
    cols_.assign(static_cast<size_t>(n), IbColumn{});
    names_.assign(static_cast<size_t>(n), std::string());
    for (int i = 0; i < n; ++i) {
      const XSQLVAR& v = Da()->sqlvar[i];
      IbColumn& c = cols_[static_cast<size_t>(i)];
      c.sqltype = v.sqltype;
      c.sqlscale = v.sqlscale;
      c.sqlsubtype = v.sqlsubtype;
      c.sqllen = v.sqllen;
      IbClassify(c);
      nullable_.push_back((v.sqltype & 1) != 0);
      // The column's name as the result calls it: its alias when given.
      const short len = v.aliasname_length > 0 ? v.aliasname_length : v.sqlname_length;
      const char* src = v.aliasname_length > 0 ? v.aliasname : v.sqlname;
      names_[static_cast<size_t>(i)].assign(src, static_cast<size_t>(len < 0 ? 0 : (len > 32 ? 32 : len)));
    }
    row_.assign(IbLayout(cols_) + 8, 0);
    // Point every variable into the one row buffer, indicator included, so the client
    // library fetches straight into it.
    for (int i = 0; i < n; ++i) {
      XSQLVAR& v = Da()->sqlvar[i];
      v.sqltype = static_cast<short>(cols_[static_cast<size_t>(i)].sqltype | 1);
      v.sqldata = reinterpret_cast<ISC_SCHAR*>(row_.data() + cols_[static_cast<size_t>(i)].offset);
      v.sqlind = reinterpret_cast<ISC_SHORT*>(row_.data() + cols_[static_cast<size_t>(i)].nullOffset);
    }
    return kOk;
  }

  TStatus Execute(ISQLCursor** cursor) override {
    *cursor = nullptr;
    if (!stmt_) return kInvalidHandle;
    if (s_->api->dsql_execute(s_->status, &s_->tr, &stmt_, static_cast<unsigned short>(s_->dialect), nullptr))
      return s_->Fail();
    if (cols_.empty()) return kOk;
    open_ = true;
    *cursor = new IbCursor(this, false);
    return kOk;
  }

  void Release() override { delete this; }

  // --- for the cursor
  TStatus Fetch() {
    if (!open_) return kEof;
    const ISC_STATUS r = s_->api->dsql_fetch(s_->status, &stmt_, static_cast<unsigned short>(s_->dialect), Da());
    if (r == 100) {
      CloseCursor();
      return kEof;
    }
    if (r) return s_->Fail();
    return kOk;
  }
  void CloseCursor() {
    if (open_ && stmt_) {
      ISC_STATUS_ARRAY st{};
      s_->api->dsql_free_statement(st, &stmt_, DSQL_close);
    }
    open_ = false;
  }
  const char* BlobText(int32_t col, std::string& out, int32_t* length) {
    out.clear();
    ISC_QUAD id;
    std::memcpy(&id, row_.data() + cols_[static_cast<size_t>(col)].offset, sizeof id);
    isc_blob_handle blob = 0;
    ISC_STATUS_ARRAY st{};
    if (s_->api->open_blob2(st, &s_->db, &s_->tr, &blob, &id, 0, nullptr) == 0) {
      const size_t limit = s_->blobSize > 0 ? static_cast<size_t>(s_->blobSize) * 1024 : SIZE_MAX;
      char seg[32768];
      for (;;) {
        unsigned short got = 0;
        const ISC_STATUS r = s_->api->get_segment(st, &blob, &got, sizeof seg, seg);
        if (r != 0 && r != isc_segment) break;
        out.append(seg, got);
        if (out.size() >= limit) {
          out.resize(limit);
          break;
        }
      }
      s_->api->close_blob(st, &blob);
    }
    *length = static_cast<int32_t>(out.size());
    return out.data();
  }

  Session* s_;
  std::vector<IbColumn> cols_;
  std::vector<std::string> names_;
  std::vector<bool> nullable_;
  std::vector<uint8_t> row_;

 private:
  XSQLDA* Da() { return reinterpret_cast<XSQLDA*>(sqlda_.data()); }
  void Free() {
    CloseCursor();
    if (stmt_) {
      ISC_STATUS_ARRAY st{};
      s_->api->dsql_free_statement(st, &stmt_, DSQL_drop);
      stmt_ = 0;
    }
    cols_.clear();
    names_.clear();
    nullable_.clear();
    if (usingTr_) {
      usingTr_ = false;
      s_->ReleaseTransaction();
    }
  }

  isc_stmt_handle stmt_ = 0;
  std::vector<char> sqlda_;
  bool open_ = false;
  bool usingTr_ = false;
};

int32_t IbCursor::ColumnCount() { return static_cast<int32_t>(command_->cols_.size()); }

TStatus IbCursor::Describe(int32_t column, ColumnInfo* info) {
  if (column < 0 || column >= ColumnCount()) return kOutOfRange;
  const IbColumn& c = command_->cols_[static_cast<size_t>(column)];
  const std::string& name = command_->names_[static_cast<size_t>(column)];
  info->name = name.data();
  info->nameLength = static_cast<int32_t>(name.size());
  info->type = c.type;
  info->size = c.type == ColumnType::Text || c.type == ColumnType::FixedText ? c.chars : c.sqllen;
  info->precision = c.precision;
  info->scale = c.scale;
  info->charSet = c.charSet;
  info->bytesPerChar = c.bytesPerChar;
  info->nullable = command_->nullable_[static_cast<size_t>(column)];
  return kOk;
}

TStatus IbCursor::Next() { return command_->Fetch(); }

bool IbCursor::IsNull(int32_t column) {
  return IbIsNull(command_->row_.data(), command_->cols_[static_cast<size_t>(column)]);
}

const char* IbCursor::GetText(int32_t column, int32_t* length) {
  const IbColumn& c = command_->cols_[static_cast<size_t>(column)];
  if (c.type == ColumnType::Memo || c.type == ColumnType::Blob) {
    if (c.sqltype != SQL_BLOB) {
      *length = 0;
      return "";
    }
    return command_->BlobText(column, scratch_, length);
  }
  return IbText(command_->row_.data(), c, command_->s_->trimChar, scratch_, length);
}

double IbCursor::GetDouble(int32_t column) {
  return IbDouble(command_->row_.data(), command_->cols_[static_cast<size_t>(column)]);
}

int64_t IbCursor::GetInt64(int32_t column) {
  return IbInt64(command_->row_.data(), command_->cols_[static_cast<size_t>(column)]);
}

void IbCursor::Release() {
  command_->CloseCursor();
  if (ownsCommand_) delete command_;
  delete this;
}

// --- metadata ----------------------------------------------------------------------------------

class IbMetaData final : public ISQLMetaData {
 public:
  explicit IbMetaData(Session* s) : s_(s) {}
  TStatus SetOption(MetaOption option, int64_t, const char* text) override {
    if (option == MetaOption::SchemaName) schema_ = text ? text : "";
    return kOk;
  }
  TStatus GetOption(MetaOption option, int64_t* value, const char** text) override {
    switch (option) {
      case MetaOption::SchemaName:
        if (text) *text = schema_.c_str();
        return kOk;
      case MetaOption::ObjectQuoteChar:
        if (text) *text = s_->dialect >= 3 ? "\"" : "";
        return kOk;
      case MetaOption::SupportsTransaction:
        if (value) *value = 1;
        return kOk;
    }
    return kNotSupported;
  }
  TStatus GetPrimaryKey(const char* table, ISQLCursor** cursor) override {
    *cursor = nullptr;
    std::string name;
    for (const char* p = table; *p; ++p) {
      if (*p == '\'') name += '\'';
      name += *p;
    }
    const std::string sql =
        "select s.RDB$FIELD_NAME from RDB$RELATION_CONSTRAINTS c join RDB$INDEX_SEGMENTS s "
        "on s.RDB$INDEX_NAME = c.RDB$INDEX_NAME where c.RDB$RELATION_NAME = '" + name +
        "' and c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' order by s.RDB$FIELD_POSITION";
    auto* cmd = new IbCommand(s_);
    TStatus st = cmd->Prepare(sql.data(), static_cast<int32_t>(sql.size()));
    ISQLCursor* inner = nullptr;
    if (st == kOk) st = cmd->Execute(&inner);
    if (st != kOk || !inner) {
      cmd->Release();
      return st;
    }
    static_cast<IbCursor*>(inner)->OwnCommand();
    *cursor = inner;
    return kOk;
  }
  void Release() override { delete this; }

 private:
  Session* s_;
  std::string schema_;
};

// --- connection ----------------------------------------------------------------------------

class IbConnection final : public ISQLConnection {
 public:
  explicit IbConnection(IbApi* api) { s_.api = api; }
  ~IbConnection() { Disconnect(); }

  TStatus SetOption(ConnOption option, int64_t value, const char* text) override {
    const std::string t = text ? text : "";
    switch (option) {
      case ConnOption::HostName: s_.hostName = t; break;
      case ConnOption::RoleName: s_.roleName = t; break;
      case ConnOption::WaitOnLocks: s_.waitOnLocks = value != 0; break;
      case ConnOption::CommitRetain: s_.commitRetain = value != 0; break;
      case ConnOption::AutoCommit:
      case ConnOption::BlockingMode:
      case ConnOption::MultipleTransaction: break;  // every statement commits when done
      case ConnOption::ServerCharSet: s_.serverCharSet = t; break;
      case ConnOption::TxnIsolation: s_.isolation = static_cast<int>(value); break;
      case ConnOption::SqlDialect:
        if (value < 1 || value > 3) return kInvalidParam;
        s_.dialect = static_cast<int>(value);
        break;
      case ConnOption::OSAuthentication: s_.osAuth = value != 0; break;
      case ConnOption::ServerPort: s_.serverPort = t; break;
      case ConnOption::TrimChar: s_.trimChar = value != 0; break;
      case ConnOption::CustomString: s_.customString = t; break;
      case ConnOption::ConnectionTimeout: s_.connectTimeout = static_cast<int>(value); break;
      case ConnOption::BlobSize: s_.blobSize = value; break;
      default: return kNotSupported;
    }
    return kOk;
  }

  TStatus GetOption(ConnOption option, int64_t* value) override {
    switch (option) {
      case ConnOption::MaxActiveStatements: *value = 0; return kOk;
      case ConnOption::SqlDialect: *value = s_.dialect; return kOk;
      case ConnOption::TxnIsolation: *value = s_.isolation; return kOk;
      case ConnOption::BlobSize: *value = s_.blobSize; return kOk;
      case ConnOption::ConnectionTimeout: *value = s_.connectTimeout; return kOk;
      default: return kNotSupported;
    }
  }

  TStatus Connect(const char* database, const char* user, const char* password) override {
    if (s_.db) return kOk;
    std::string target = Target(database ? database : "");
    std::vector<char> dpb = Dpb(user, password, nullptr);
    const auto start = std::chrono::steady_clock::now();
    if (!s_.api->attach_database(s_.status, 0, target.c_str(), &s_.db, static_cast<short>(dpb.size()), dpb.data()))
      return kOk;
    s_.db = 0;
    s_.serverMessage = s_.api->Message(s_.status);
    // The client gives up on a silent server with a plain rejection; only the time spent
    // tells that the wait ran out.
    const auto waited = std::chrono::steady_clock::now() - start;
    if (s_.connectTimeout > 0 && IbStatusHas(s_.status, isc_connect_reject) &&
        waited >= std::chrono::seconds(s_.connectTimeout) - std::chrono::milliseconds(500))
      return kTimedOut;
    TStatus st = kServerError;
    // A local file is tried by every provider in turn and the last (the loopback network
    // one) hides why the embedded engine refused it: ask the engine alone for the reason.
    if (IsLocal(target) && IbStatusHas(s_.status, kIbNetworkError)) {
      std::vector<char> engineOnly = Dpb(user, password, "Providers=Engine12");
      if (!s_.api->attach_database(s_.status, 0, target.c_str(), &s_.db, static_cast<short>(engineOnly.size()),
                                   engineOnly.data()))
        return kOk;
      s_.db = 0;
      s_.serverMessage = s_.api->Message(s_.status);
      st = kServerError;
    }
    return st;
  }

  TStatus Disconnect() override {
    if (s_.tr) {
      ISC_STATUS_ARRAY st{};
      if (s_.api->commit_transaction(st, &s_.tr)) s_.api->rollback_transaction(st, &s_.tr);
      s_.tr = 0;
      s_.trUsers = 0;
    }
    if (s_.db) {
      ISC_STATUS_ARRAY st{};
      s_.api->detach_database(st, &s_.db);
      s_.db = 0;
    }
    return kOk;
  }

  TStatus GetMetaData(ISQLMetaData** meta) override {
    *meta = new IbMetaData(&s_);
    return kOk;
  }
  TStatus GetCommand(ISQLCommand** command) override {
    if (!s_.db) return kNotConnected;
    *command = new IbCommand(&s_);
    return kOk;
  }
  const char* ServerMessage() override { return s_.serverMessage.c_str(); }
  void Release() override { delete this; }

 private:
  // "host[/port]:path" from the database text and the HostName and Server Port options.
  std::string Target(const std::string& db) const {
    std::string host, path = db;
    const size_t colon = db.find(':');
    // "C:\..." style drive letters and local paths have no host part.
    if (colon != std::string::npos && colon > 1 && db[0] != '/') {
      host = db.substr(0, colon);
      path = db.substr(colon + 1);
    }
    if (host.empty()) host = s_.hostName;
    if (host.empty()) return path;
    if (!s_.serverPort.empty() && host.find('/') == std::string::npos) host += "/" + s_.serverPort;
    return host + ":" + path;
  }
  static bool IsLocal(const std::string& target) { return !target.empty() && target[0] == '/'; }

  std::vector<char> Dpb(const char* user, const char* password, const char* config) const {
    std::vector<char> d = {isc_dpb_version1};
    auto add = [&d](char tag, const std::string& v) {
      if (v.empty()) return;
      const size_t n = v.size() > 255 ? 255 : v.size();
      d.push_back(tag);
      d.push_back(static_cast<char>(n));
      d.insert(d.end(), v.begin(), v.begin() + static_cast<std::ptrdiff_t>(n));
    };
    add(isc_dpb_user_name, user ? user : "");
    add(isc_dpb_password, password ? password : "");
    add(isc_dpb_lc_ctype, s_.serverCharSet);
    add(isc_dpb_sql_role_name, s_.roleName);
    if (s_.connectTimeout > 0) {
      d.push_back(isc_dpb_connect_timeout);
      d.push_back(4);
      const uint32_t t = static_cast<uint32_t>(s_.connectTimeout);
      for (int i = 0; i < 4; ++i) d.push_back(static_cast<char>((t >> (8 * i)) & 0xff));
    }
    d.push_back(isc_dpb_sql_dialect);
    d.push_back(4);
    for (int i = 0; i < 4; ++i) d.push_back(static_cast<char>((s_.dialect >> (8 * i)) & 0xff));
    if (s_.osAuth) {
      d.push_back(isc_dpb_trusted_auth);
      d.push_back(0);
    }
    if (config) add(isc_dpb_config, config);
    return d;
  }

  Session s_;
};

// --- driver and entry point --------------------------------------------------------------------

class IbDriver final : public ISQLDriver {
 public:
  IbDriver(IbApi* api, std::map<TStatus, std::string> texts) : api_(api), texts_(std::move(texts)) {}
  TStatus GetConnection(ISQLConnection** connection) override {
    *connection = new IbConnection(api_);
    return kOk;
  }
  const char* ErrorText(TStatus code) override {
    auto it = texts_.find(code);
    if (it != texts_.end()) return it->second.c_str();
    return BuiltinErrorText(code);
  }
  void Release() override { delete this; }

 private:
  IbApi* api_;  // one per vendor library, lives for the run
  std::map<TStatus, std::string> texts_;
};

// "code=text" lines of an error resource file replace the built-in texts.
std::map<TStatus, std::string> ReadErrorTexts(const char* file) {
  std::map<TStatus, std::string> out;
  if (!file || !*file) return out;
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos || eq == 0) continue;
    char* end = nullptr;
    const long code = std::strtol(line.c_str(), &end, 10);
    if (end != line.c_str() + eq) continue;
    std::string text = line.substr(eq + 1);
    while (!text.empty() && (text.back() == '\r' || text.back() == ' ')) text.pop_back();
    out[static_cast<TStatus>(code)] = text;
  }
  return out;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) dbx::TStatus getSQLDriverINTERBASE(const char* vendorLib,
                                                                                    const char* errorResourceFile,
                                                                                    dbx::ISQLDriver** driver) {
  if (!driver) return dbx::kInvalidParam;
  *driver = nullptr;
  if (!vendorLib || !*vendorLib) return dbx::kVendorLibMissing;
  // Before the client library reads its configuration: an embedded engine that shares
  // database files with other processes (several viewers on one file).
  static const bool sharedRoot = (UseSharedEmbeddedRoot(LEDGERLY_FIREBIRD_ROOT), true);
  (void)sharedRoot;
  // One binding per vendor library name, kept for the run.
  static std::map<std::string, std::unique_ptr<IbApi>> apis;
  auto& api = apis[vendorLib];
  if (!api) {
    auto fresh = std::make_unique<IbApi>();
    std::string error;
    if (!fresh->Load(vendorLib, error)) {
      apis.erase(vendorLib);
      return dbx::kVendorLibMissing;
    }
    api = std::move(fresh);
  }
  *driver = new IbDriver(api.get(), ReadErrorTexts(errorResourceFile));
  return dbx::kOk;
}
