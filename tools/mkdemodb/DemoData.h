// The demo voucher change log: schema and generated rows of ACC_MAIN_TEMP (voucher
// headers) and ACC_MAST_TEMP (voucher lines), in Traditional Chinese. Rows come in the order
// the changes happened, not in key order. Deterministic for given counts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "drivers/interbase/IbSession.h"

struct DemoCounts {
  int64_t vouchers = 2000;
  int64_t lines = 10000;
};

// CREATE TABLE statements of both tables with their primary keys.
std::vector<std::string> DemoSchema();

// Creates the tables and fills them (commits every few thousand rows).
void FillDemoDatabase(IbSession& db, const DemoCounts& counts);
