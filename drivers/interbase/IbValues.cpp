#include "drivers/interbase/IbValues.h"

#include <ibase.h>

#include <cmath>
#include <cstring>

namespace {
template <typename T>
T At(const uint8_t* row, uint32_t offset) {
  T v;
  std::memcpy(&v, row + offset, sizeof v);
  return v;
}

constexpr int64_t kPow10[19] = {1LL,
                                10LL,
                                100LL,
                                1000LL,
                                10000LL,
                                100000LL,
                                1000000LL,
                                10000000LL,
                                100000000LL,
                                1000000000LL,
                                10000000000LL,
                                100000000000LL,
                                1000000000000LL,
                                10000000000000LL,
                                100000000000000LL,
                                1000000000000000LL,
                                10000000000000000LL,
                                100000000000000000LL,
                                1000000000000000000LL};

uint32_t Align(uint32_t v, uint32_t a) { return (v + a - 1) & ~(a - 1); }
}  // namespace

int32_t IbBytesPerChar(int32_t cs) {
  switch (cs) {
    case 3: return 3;   // UNICODE_FSS
    case 4: return 4;   // UTF8
    case 5:             // SJIS_0208
    case 6:             // EUCJ_0208
    case 44:            // KSC_5601
    case 56:            // BIG_5
    case 57:            // GB_2312
    case 67:            // GBK
    case 68: return 2;  // CP943C
    case 69: return 4;  // GB18030
    default: return 1;
  }
}

void IbClassify(IbColumn& c) {
  const int16_t t = static_cast<int16_t>(c.sqltype & ~1);
  c.sqltype = t;
  c.scale = c.sqlscale < 0 ? -c.sqlscale : 0;
  if (c.scale > 18) c.scale = 18;
  c.precision = 0;
  switch (t) {
    case SQL_TEXT:
    case SQL_VARYING:
      c.type = t == SQL_TEXT ? dbx::ColumnType::FixedText : dbx::ColumnType::Text;
      c.charSet = c.sqlsubtype & 0xff;
      c.bytesPerChar = IbBytesPerChar(c.charSet);
      if (c.sqllen < 0) c.sqllen = 0;
      c.chars = c.sqllen / c.bytesPerChar;
      break;
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
      if (c.scale > 0) {
        c.type = dbx::ColumnType::Fixed;
        c.precision = t == SQL_SHORT ? 4 : (t == SQL_LONG ? 9 : 18);
      } else {
        c.type = t == SQL_SHORT ? dbx::ColumnType::Int16 : (t == SQL_LONG ? dbx::ColumnType::Int32 : dbx::ColumnType::Int64);
      }
      break;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
      // A scaled double is a fixed-point column of dialect 1.
      if (c.scale > 0) {
        c.type = dbx::ColumnType::Fixed;
        c.precision = 15;
      } else {
        c.type = dbx::ColumnType::Float;
      }
      break;
    case SQL_TYPE_DATE: c.type = dbx::ColumnType::Date; break;
    case SQL_TYPE_TIME: c.type = dbx::ColumnType::Time; break;
    case SQL_TIMESTAMP: c.type = dbx::ColumnType::Timestamp; break;
    case SQL_BOOLEAN: c.type = dbx::ColumnType::Boolean; break;
    case SQL_BLOB:
      c.type = c.sqlsubtype == 1 ? dbx::ColumnType::Memo : dbx::ColumnType::Blob;
      c.charSet = 0;
      break;
    default:
      c.type = dbx::ColumnType::Unknown;
      break;
  }
}

size_t IbLayout(std::vector<IbColumn>& columns) {
  uint32_t off = 0;
  for (IbColumn& c : columns) {
    // Fixed-size kinds take their own size whatever the description claims.
    uint32_t align = 1, len = static_cast<uint32_t>(c.sqllen < 0 ? 0 : c.sqllen);
    switch (c.sqltype) {
      case SQL_VARYING: align = 2; len += 2; break;
      case SQL_SHORT: align = 2; len = 2; break;
      case SQL_LONG:
      case SQL_FLOAT:
      case SQL_TYPE_DATE:
      case SQL_TYPE_TIME: align = 4; len = 4; break;
      case SQL_TIMESTAMP:
      case SQL_BLOB:
      case SQL_ARRAY:
      case SQL_QUAD: align = 4; len = 8; break;
      case SQL_INT64:
      case SQL_DOUBLE:
      case SQL_D_FLOAT: align = 8; len = 8; break;
      case SQL_BOOLEAN: len = 1; break;
      default: break;
    }
    off = Align(off, align);
    c.offset = off;
    off += len;
    off = Align(off, 2);
    c.nullOffset = off;
    off += 2;
  }
  return Align(off, 8);
}

bool IbIsNull(const uint8_t* row, const IbColumn& c) { return At<int16_t>(row, c.nullOffset) != 0; }

const char* IbText(const uint8_t* row, const IbColumn& c, bool trimChar, std::string& scratch, int32_t* length) {
  const uint32_t cap = static_cast<uint32_t>(c.sqllen < 0 ? 0 : c.sqllen);
  if (c.sqltype == SQL_VARYING) {
    uint32_t n = At<uint16_t>(row, c.offset);
    if (n > cap) n = cap;
    *length = static_cast<int32_t>(n);
    return reinterpret_cast<const char*>(row + c.offset + 2);
  }
  if (c.sqltype != SQL_TEXT) {
    *length = 0;
    return "";
  }
  const char* p = reinterpret_cast<const char*>(row + c.offset);
  uint32_t n = cap;
  if (!trimChar && c.bytesPerChar == 1) {
    *length = static_cast<int32_t>(n);
    return p;
  }
  while (n > 0 && p[n - 1] == ' ') --n;
  if (trimChar) {
    *length = static_cast<int32_t>(n);
    return p;
  }
  // Multi-byte set: the server padded to bytes, the value is padded to characters.
  int32_t chars = 0;
  if (c.bytesPerChar > 1 && (c.charSet == 3 || c.charSet == 4)) {
    for (uint32_t i = 0; i < n; ++i) chars += (static_cast<uint8_t>(p[i]) & 0xC0) != 0x80;
  } else {
    chars = static_cast<int32_t>(n / static_cast<uint32_t>(c.bytesPerChar));
  }
  scratch.assign(p, n);
  if (chars < c.chars) scratch.append(static_cast<size_t>(c.chars - chars), ' ');
  *length = static_cast<int32_t>(scratch.size());
  return scratch.data();
}

double IbDouble(const uint8_t* row, const IbColumn& c) {
  double v;
  switch (c.sqltype) {
    case SQL_FLOAT: return static_cast<double>(At<float>(row, c.offset));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return At<double>(row, c.offset);
    case SQL_SHORT: v = At<int16_t>(row, c.offset); break;
    case SQL_LONG: v = At<int32_t>(row, c.offset); break;
    case SQL_INT64: v = static_cast<double>(At<int64_t>(row, c.offset)); break;
    default: return static_cast<double>(IbInt64(row, c));
  }
  return c.scale > 0 ? v / static_cast<double>(kPow10[c.scale]) : v;
}

int64_t IbInt64(const uint8_t* row, const IbColumn& c) {
  switch (c.sqltype) {
    case SQL_SHORT: return At<int16_t>(row, c.offset);
    case SQL_LONG: return At<int32_t>(row, c.offset);
    case SQL_INT64: return At<int64_t>(row, c.offset);
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
      double d = c.sqltype == SQL_FLOAT ? At<float>(row, c.offset) : At<double>(row, c.offset);
      if (c.scale > 0) d *= static_cast<double>(kPow10[c.scale]);
      if (!(d > -9.2e18 && d < 9.2e18)) return 0;  // out of range or NaN
      return std::llround(d);
    }
    case SQL_TYPE_DATE: return static_cast<int64_t>(At<int32_t>(row, c.offset)) + kIbDateBias;
    case SQL_TYPE_TIME: return static_cast<int64_t>(At<uint32_t>(row, c.offset));
    case SQL_TIMESTAMP: {
      const int64_t day = static_cast<int64_t>(At<int32_t>(row, c.offset)) + kIbDateBias;
      const int64_t time = static_cast<int64_t>(At<uint32_t>(row, c.offset + 4));
      return day * 864000000LL + time;
    }
    case SQL_BOOLEAN: return At<uint8_t>(row, c.offset) != 0;
    default: return 0;
  }
}
