// A plain session on the InterBase client API for the tools, tests and benchmarks that
// build databases: create or attach, run statements, insert rows through a prepared
// statement, read single values. Failures raise std::runtime_error with the server's text.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "drivers/interbase/IbApi.h"

// The client library, loaded once (libfbclient.so.2 unless named).
IbApi& IbClient(const char* library = "libfbclient.so.2");

class IbSession {
 public:
  explicit IbSession(IbApi& api) : api_(api) {}
  ~IbSession();
  IbSession(const IbSession&) = delete;
  IbSession& operator=(const IbSession&) = delete;

  // Creates a database file (UTF8 by default, forced writes off) and stays attached.
  void Create(const std::string& target, const std::string& user = "SYSDBA", const std::string& password = "",
              int pageSize = 8192);
  void Attach(const std::string& target, const std::string& user = "SYSDBA", const std::string& password = "",
              const std::string& charSet = "UTF8");
  void Detach();
  // Runs one statement (in the session's transaction).
  void Execute(const std::string& sql);
  void Commit();
  // First column of the first row as an integer.
  int64_t QueryInt(const std::string& sql);

  struct Value {
    enum Kind { kNull, kText, kDouble } kind = kNull;
    std::string text;
    double number = 0;
    static Value Null() { return {}; }
    static Value Text(std::string t) { return {kText, std::move(t), 0}; }
    static Value Double(double d) { return {kDouble, {}, d}; }
  };
  // A prepared statement with parameters, run once per Run call.
  class Statement {
   public:
    Statement(IbSession& s, const std::string& sql);
    ~Statement();
    void Run(const std::vector<Value>& values);

   private:
    IbSession& s_;
    isc_stmt_handle stmt_ = 0;
    std::vector<char> in_;
    std::vector<double> nums_;
    std::vector<short> inds_;
  };

  isc_db_handle& Db() { return db_; }
  isc_tr_handle& Tr();
  [[noreturn]] void Fail(const char* what);

 private:
  IbApi& api_;
  isc_db_handle db_ = 0;
  isc_tr_handle tr_ = 0;
  ISC_STATUS_ARRAY status_{};
};
