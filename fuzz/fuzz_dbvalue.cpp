// Values of fetched rows as the client library leaves them in the row buffer: column
// descriptions and row bytes both come from the input.
#include <ibase.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "drivers/interbase/IbValues.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const int16_t kTypes[] = {SQL_TEXT,   SQL_VARYING,   SQL_SHORT,     SQL_LONG,    SQL_INT64,
                                   SQL_FLOAT,  SQL_DOUBLE,    SQL_D_FLOAT,   SQL_TYPE_DATE, SQL_TYPE_TIME,
                                   SQL_TIMESTAMP, SQL_BOOLEAN, SQL_BLOB,     SQL_ARRAY,   SQL_QUAD, 12345};
  if (size < 1) return 0;
  const size_t n = 1 + data[0] % 8;
  size_t pos = 1;
  std::vector<IbColumn> cols;
  for (size_t i = 0; i < n; ++i) {
    if (pos + 7 > size) return 0;
    IbColumn c;
    c.sqltype = static_cast<int16_t>(kTypes[data[pos] % (sizeof kTypes / sizeof kTypes[0])] | (data[pos] & 1));
    std::memcpy(&c.sqllen, data + pos + 1, 2);
    if (c.sqllen > 4096) c.sqllen = 4096;  // the server's limit is 32765; keep rows small
    std::memcpy(&c.sqlscale, data + pos + 3, 2);
    std::memcpy(&c.sqlsubtype, data + pos + 5, 2);
    pos += 7;
    IbClassify(c);
    cols.push_back(c);
  }
  const size_t rowSize = IbLayout(cols);
  std::vector<uint8_t> row(rowSize, 0);
  std::memcpy(row.data(), data + pos, std::min(rowSize, size - pos));
  std::string scratch;
  size_t sink = 0;
  for (const IbColumn& c : cols) {
    sink += IbIsNull(row.data(), c);
    int32_t len = 0;
    for (bool trim : {false, true}) {
      const char* p = IbText(row.data(), c, trim, scratch, &len);
      if (len < 0) __builtin_trap();
      for (int32_t k = 0; k < len; ++k) sink += static_cast<uint8_t>(p[k]);
    }
    const double d = IbDouble(row.data(), c);
    sink += d == d;
    sink += static_cast<size_t>(IbInt64(row.data(), c));
  }
  return sink == 1 ? 0 : 0;
}
