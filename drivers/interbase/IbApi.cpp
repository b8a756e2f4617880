#include "drivers/interbase/IbApi.h"

#include <dlfcn.h>

#include <cstdlib>
#include <mutex>

namespace {
decltype(&::fb_shutdown) g_shutdown = nullptr;

void ShutdownClient() {
  if (g_shutdown) g_shutdown(0, fb_shutrsn_app_stopped);
}

template <typename F>
bool Bind(void* lib, F& slot, const char* name, std::string& error) {
  slot = reinterpret_cast<F>(dlsym(lib, name));
  if (!slot && error.empty()) error = name;
  return slot != nullptr;
}
}  // namespace

bool IbApi::Load(const char* library, std::string& error) {
  error.clear();
  void* lib = dlopen(library, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
  if (!lib) {
    const char* e = dlerror();
    error = e ? e : library;
    return false;
  }
  Bind(lib, attach_database, "isc_attach_database", error);
  Bind(lib, detach_database, "isc_detach_database", error);
  Bind(lib, create_database, "isc_create_database", error);
  Bind(lib, start_transaction, "isc_start_transaction", error);
  Bind(lib, commit_transaction, "isc_commit_transaction", error);
  Bind(lib, commit_retaining, "isc_commit_retaining", error);
  Bind(lib, rollback_transaction, "isc_rollback_transaction", error);
  Bind(lib, dsql_allocate_statement, "isc_dsql_allocate_statement", error);
  Bind(lib, dsql_prepare, "isc_dsql_prepare", error);
  Bind(lib, dsql_describe, "isc_dsql_describe", error);
  Bind(lib, dsql_describe_bind, "isc_dsql_describe_bind", error);
  Bind(lib, dsql_execute, "isc_dsql_execute", error);
  Bind(lib, dsql_execute_immediate, "isc_dsql_execute_immediate", error);
  Bind(lib, dsql_fetch, "isc_dsql_fetch", error);
  Bind(lib, dsql_free_statement, "isc_dsql_free_statement", error);
  Bind(lib, open_blob2, "isc_open_blob2", error);
  Bind(lib, get_segment, "isc_get_segment", error);
  Bind(lib, close_blob, "isc_close_blob", error);
  Bind(lib, interpret, "fb_interpret", error);
  Bind(lib, shutdown, "fb_shutdown", error);
  if (!error.empty()) return false;
  static std::once_flag once;
  std::call_once(once, [this] {
    g_shutdown = shutdown;
    std::atexit(ShutdownClient);
  });
  return true;
}

std::string IbApi::Message(const ISC_STATUS* status) const {
  std::string out;
  if (!interpret || !status) return out;
  const ISC_STATUS* p = status;
  char line[1024];
  while (interpret(line, sizeof line, &p) > 0) {
    if (!out.empty()) out += '\n';
    out += line;
  }
  return out;
}

bool IbStatusHas(const ISC_STATUS* status, ISC_STATUS code) {
  // Clusters: isc_arg_gds code, isc_arg_string text, isc_arg_number n, ... ending in isc_arg_end.
  for (int i = 0; i < ISC_STATUS_LENGTH - 1 && status[i] != isc_arg_end;) {
    const ISC_STATUS arg = status[i];
    if (arg == isc_arg_gds && status[i + 1] == code) return true;
    if (arg == isc_arg_cstring) i += 3;
    else i += 2;
  }
  return false;
}

bool IbConnectionLost(const ISC_STATUS* status) {
  for (const ISC_STATUS code : {isc_network_error, isc_net_read_err, isc_net_write_err, isc_lost_db_connection,
                                isc_bad_db_handle, isc_att_shutdown, isc_shutdown})
    if (IbStatusHas(status, code)) return true;
  return false;
}
