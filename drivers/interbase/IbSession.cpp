#include "drivers/interbase/IbSession.h"

#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>

IbApi& IbClient(const char* library) {
  static std::map<std::string, std::unique_ptr<IbApi>> apis;
  auto& api = apis[library];
  if (!api) {
    api = std::make_unique<IbApi>();
    std::string error;
    if (!api->Load(library, error)) {
      apis.erase(library);
      throw std::runtime_error("cannot load " + std::string(library) + ": " + error);
    }
  }
  return *api;
}

IbSession::~IbSession() {
  try {
    Detach();
  } catch (...) {
  }
}

void IbSession::Fail(const char* what) { throw std::runtime_error(std::string(what) + ": " + api_.Message(status_)); }

namespace {
std::vector<char> Dpb(const std::string& user, const std::string& password, const std::string& charSet) {
  std::vector<char> d = {isc_dpb_version1};
  auto add = [&d](char tag, const std::string& v) {
    if (v.empty()) return;
    d.push_back(tag);
    d.push_back(static_cast<char>(v.size()));
    d.insert(d.end(), v.begin(), v.end());
  };
  add(isc_dpb_user_name, user);
  add(isc_dpb_password, password);
  add(isc_dpb_lc_ctype, charSet);
  return d;
}
}  // namespace

void IbSession::Create(const std::string& target, const std::string& user, const std::string& password, int pageSize) {
  std::vector<char> d = Dpb(user, password, "UTF8");
  const char extra[] = {isc_dpb_page_size, 4, static_cast<char>(pageSize & 0xff), static_cast<char>((pageSize >> 8) & 0xff), 0, 0,
                        isc_dpb_set_db_charset, 4, 'U', 'T', 'F', '8',
                        isc_dpb_force_write, 1, 0,
                        isc_dpb_sql_dialect, 4, 3, 0, 0, 0};
  d.insert(d.end(), extra, extra + sizeof extra);
  if (api_.create_database(status_, 0, target.c_str(), &db_, static_cast<short>(d.size()), d.data(), 0)) {
    db_ = 0;
    Fail("create database");
  }
}

void IbSession::Attach(const std::string& target, const std::string& user, const std::string& password,
                       const std::string& charSet) {
  std::vector<char> d = Dpb(user, password, charSet);
  if (api_.attach_database(status_, 0, target.c_str(), &db_, static_cast<short>(d.size()), d.data())) {
    db_ = 0;
    Fail("attach database");
  }
}

void IbSession::Detach() {
  if (tr_) Commit();
  if (db_) {
    ISC_STATUS_ARRAY st{};
    api_.detach_database(st, &db_);
    db_ = 0;
  }
}

isc_tr_handle& IbSession::Tr() {
  if (!tr_) {
    static const char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_concurrency, isc_tpb_wait};
    if (api_.start_transaction(status_, &tr_, 1, &db_, static_cast<short>(sizeof tpb), tpb)) {
      tr_ = 0;
      Fail("start transaction");
    }
  }
  return tr_;
}

void IbSession::Commit() {
  if (!tr_) return;
  if (api_.commit_transaction(status_, &tr_)) Fail("commit");
  tr_ = 0;
}

void IbSession::Execute(const std::string& sql) {
  if (api_.dsql_execute_immediate(status_, &db_, &Tr(), 0, sql.c_str(), 3, nullptr)) Fail(sql.c_str());
}

int64_t IbSession::QueryInt(const std::string& sql) {
  isc_stmt_handle stmt = 0;
  if (api_.dsql_allocate_statement(status_, &db_, &stmt)) Fail("allocate");
  std::vector<char> buf(XSQLDA_LENGTH(1), 0);
  auto* da = reinterpret_cast<XSQLDA*>(buf.data());
  da->version = SQLDA_VERSION1;
  da->sqln = 1;
  int64_t value = 0;
  short ind = 0;
  auto cleanup = [&] {
    ISC_STATUS_ARRAY st{};
    api_.dsql_free_statement(st, &stmt, DSQL_drop);
  };
  if (api_.dsql_prepare(status_, &Tr(), &stmt, 0, sql.c_str(), 3, da) || da->sqld < 1) {
    cleanup();
    Fail(sql.c_str());
  }
  da->sqlvar[0].sqltype = SQL_INT64 | 1;
  da->sqlvar[0].sqlscale = 0;
  da->sqlvar[0].sqllen = 8;
  da->sqlvar[0].sqldata = reinterpret_cast<char*>(&value);
  da->sqlvar[0].sqlind = &ind;
  if (api_.dsql_execute(status_, &Tr(), &stmt, 3, nullptr) || api_.dsql_fetch(status_, &stmt, 3, da) != 0) {
    cleanup();
    Fail(sql.c_str());
  }
  cleanup();
  return ind ? 0 : value;
}

IbSession::Statement::Statement(IbSession& s, const std::string& sql) : s_(s) {
  IbApi& api = s.api_;
  if (api.dsql_allocate_statement(s.status_, &s.db_, &stmt_)) s.Fail("allocate");
  if (api.dsql_prepare(s.status_, &s.Tr(), &stmt_, 0, sql.c_str(), 3, nullptr)) s.Fail(sql.c_str());
  in_.assign(XSQLDA_LENGTH(1), 0);
  auto* da = reinterpret_cast<XSQLDA*>(in_.data());
  da->version = SQLDA_VERSION1;
  da->sqln = 1;
  if (api.dsql_describe_bind(s.status_, &stmt_, 3, da)) s.Fail("describe parameters");
  if (da->sqld > 1) {
    const short n = da->sqld;
    in_.assign(XSQLDA_LENGTH(n), 0);
    da = reinterpret_cast<XSQLDA*>(in_.data());
    da->version = SQLDA_VERSION1;
    da->sqln = n;
    if (api.dsql_describe_bind(s.status_, &stmt_, 3, da)) s.Fail("describe parameters");
  }
  nums_.assign(static_cast<size_t>(da->sqld), 0);
  inds_.assign(static_cast<size_t>(da->sqld), 0);
}

IbSession::Statement::~Statement() {
  ISC_STATUS_ARRAY st{};
  if (stmt_) s_.api_.dsql_free_statement(st, &stmt_, DSQL_drop);
}

void IbSession::Statement::Run(const std::vector<Value>& values) {
  auto* da = reinterpret_cast<XSQLDA*>(in_.data());
  if (static_cast<size_t>(da->sqld) != values.size()) throw std::runtime_error("parameter count mismatch");
  for (size_t i = 0; i < values.size(); ++i) {
    XSQLVAR& v = da->sqlvar[i];
    const Value& x = values[i];
    inds_[i] = x.kind == Value::kNull ? -1 : 0;
    v.sqlind = &inds_[i];
    if (x.kind == Value::kDouble) {
      nums_[i] = x.number;
      v.sqltype = SQL_DOUBLE | 1;
      v.sqlscale = 0;
      v.sqllen = 8;
      v.sqldata = reinterpret_cast<char*>(&nums_[i]);
    } else {
      v.sqltype = SQL_TEXT | 1;
      v.sqlscale = 0;
      v.sqllen = static_cast<short>(x.text.size());
      v.sqldata = const_cast<char*>(x.text.data());
    }
  }
  if (s_.api_.dsql_execute(s_.status_, &s_.Tr(), &stmt_, 3, da)) s_.Fail("insert");
}
