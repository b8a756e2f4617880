// The InterBase client API functions, bound at run time from the client library named by
// the drivers file (nothing links against it). Types and constants come from ibase.h.
#pragma once
#include <ibase.h>

#include <string>

struct IbApi {
  decltype(&::isc_attach_database) attach_database = nullptr;
  decltype(&::isc_detach_database) detach_database = nullptr;
  decltype(&::isc_create_database) create_database = nullptr;
  decltype(&::isc_start_transaction) start_transaction = nullptr;
  decltype(&::isc_commit_transaction) commit_transaction = nullptr;
  decltype(&::isc_commit_retaining) commit_retaining = nullptr;
  decltype(&::isc_rollback_transaction) rollback_transaction = nullptr;
  decltype(&::isc_dsql_allocate_statement) dsql_allocate_statement = nullptr;
  decltype(&::isc_dsql_prepare) dsql_prepare = nullptr;
  decltype(&::isc_dsql_describe) dsql_describe = nullptr;
  decltype(&::isc_dsql_describe_bind) dsql_describe_bind = nullptr;
  decltype(&::isc_dsql_execute) dsql_execute = nullptr;
  decltype(&::isc_dsql_execute_immediate) dsql_execute_immediate = nullptr;
  decltype(&::isc_dsql_fetch) dsql_fetch = nullptr;
  decltype(&::isc_dsql_free_statement) dsql_free_statement = nullptr;
  decltype(&::isc_open_blob2) open_blob2 = nullptr;
  decltype(&::isc_get_segment) get_segment = nullptr;
  decltype(&::isc_close_blob) close_blob = nullptr;
  decltype(&::fb_interpret) interpret = nullptr;
  decltype(&::fb_shutdown) shutdown = nullptr;

  // Loads the library by name (dlopen's search rules) and binds every function; on failure
  // `error` names what was missing. The library stays loaded for the rest of the run, and
  // the client is shut down (fb_shutdown) when the program ends.
  bool Load(const char* library, std::string& error);

  // The server's message for a status vector: every fb_interpret line, joined by "\n".
  std::string Message(const ISC_STATUS* status) const;
};

// Whether `code` appears as an error code anywhere in the status vector.
bool IbStatusHas(const ISC_STATUS* status, ISC_STATUS code);

// Whether the status vector tells of a connection to the server that broke or was shut down.
bool IbConnectionLost(const ISC_STATUS* status);

// Firebird status codes worth knowing by name.
constexpr ISC_STATUS kIbNetworkError = 335544721;  // "Unable to complete network request"
constexpr ISC_STATUS kIbTableUnknown = 335544580;
