// Result columns of the InterBase client API: their kinds, their places in the fetch buffer,
// and reading their values out of a fetched row. The row bytes come from the server and are
// read defensively: a length beyond the column's size is clamped, never followed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "db/DriverApi.h"

struct IbColumn {
  // As described by the server (sqltype without its null bit).
  int16_t sqltype = 0;
  int16_t sqlscale = 0;
  int16_t sqlsubtype = 0;
  int16_t sqllen = 0;
  // Derived by IbClassify.
  dbx::ColumnType type = dbx::ColumnType::Unknown;
  int32_t charSet = 0;
  int32_t bytesPerChar = 1;
  int32_t chars = 0;  // text: characters
  int32_t precision = 0;
  int32_t scale = 0;
  // Placed by IbLayout.
  uint32_t offset = 0;
  uint32_t nullOffset = 0;
};

// Bytes per character of a server character set id (UTF8 4, UNICODE_FSS 3, ...).
int32_t IbBytesPerChar(int32_t charSet);
void IbClassify(IbColumn& c);
// Places every column and its null indicator where the engine's own message puts them
// (each value aligned for its type, a 2-byte indicator after it), so the client library
// fetches straight into the buffer. Returns the row size.
size_t IbLayout(std::vector<IbColumn>& columns);

bool IbIsNull(const uint8_t* row, const IbColumn& c);
// Bytes of a text value. CHAR values lose the padding the server added beyond their
// characters (all trailing blanks when `trimChar`). `scratch` may hold the result.
const char* IbText(const uint8_t* row, const IbColumn& c, bool trimChar, std::string& scratch, int32_t* length);
double IbDouble(const uint8_t* row, const IbColumn& c);
// Whole numbers, fixed-point values scaled to integers, dates, times, timestamps, booleans.
int64_t IbInt64(const uint8_t* row, const IbColumn& c);

// Days between 0001-01-01 (day 1) and the server's day 0, 1858-11-17.
constexpr int64_t kIbDateBias = 678576;
