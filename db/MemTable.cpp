#include "db/MemTable.h"

#include <algorithm>
#include <cstring>

#include "platform/Exceptions.h"

TMemTable::TMemTable(TDataPacket&& packet) : packet_(std::move(packet)) {
  rows_ = packet_.RowCount();
  if (rows_ > 0x7fffffff) throw EDatabaseError(QStringLiteral("Too many records"));
  if (!packet_.DefaultOrder().empty()) ApplyOrder(packet_.DefaultOrder());
}

int TMemTable::ColumnIndex(const QString& name) const {
  const auto& cols = packet_.Columns();
  for (size_t i = 0; i < cols.size(); ++i)
    if (cols[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  return -1;
}

QString TMemTable::DecodeText(std::string_view bytes, int32_t charSet) {
  const auto n = static_cast<qsizetype>(bytes.size());
  // ISO8859_1: one byte per character; every other set here is read as UTF-8, which covers
  // UTF8, UNICODE_FSS, ASCII and NONE holding UTF-8 bytes.
  if (charSet == 21) return QString::fromLatin1(bytes.data(), n);
  return QString::fromUtf8(bytes.data(), n);
}

QString TMemTable::Text(int row, int col) const {
  const TColumnDesc& c = Column(col);
  if (c.storage != TStorage::Text) return QString();
  std::string_view v;
  if (!packet_.TextCell(Physical(row), c.slot, v)) return QString();
  return DecodeText(v, c.charSet);
}

double TMemTable::Float(int row, int col) const {
  const TColumnDesc& c = Column(col);
  if (c.storage == TStorage::Text) return 0;
  const uint64_t bits = packet_.NumberBits(Physical(row), c.slot);
  if (c.storage == TStorage::Float64) {
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
  }
  double v = static_cast<double>(static_cast<int64_t>(bits));
  for (int i = 0; i < c.scale && (c.dataType == ftFMTBcd || c.dataType == ftBCD); ++i) v /= 10;
  return v;
}

int64_t TMemTable::Int(int row, int col) const {
  const TColumnDesc& c = Column(col);
  if (c.storage == TStorage::Text) return 0;
  const uint64_t bits = packet_.NumberBits(Physical(row), c.slot);
  if (c.storage == TStorage::Float64) {
    double d;
    std::memcpy(&d, &bits, 8);
    if (!(d == d)) return 0;
    if (d >= 9223372036854775807.0) return INT64_MAX;
    if (d <= -9223372036854775808.0) return INT64_MIN;
    return static_cast<int64_t>(d);
  }
  return static_cast<int64_t>(bits);
}

namespace {
// Compares two packet rows on one key column: nulls first, text by bytes, numbers by value.
int CompareCell(const TDataPacket& pk, const TColumnDesc& c, int64_t a, int64_t b) {
  if (c.storage == TStorage::Text) {
    std::string_view va, vb;
    const bool ha = pk.TextCell(a, c.slot, va), hb = pk.TextCell(b, c.slot, vb);
    if (!ha || !hb) return ha == hb ? 0 : (ha ? 1 : -1);
    const int r = va.compare(vb);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
  }
  const bool na = pk.NumberIsNull(a, c.slot), nb = pk.NumberIsNull(b, c.slot);
  if (na || nb) return na == nb ? 0 : (na ? -1 : 1);
  const uint64_t xa = pk.NumberBits(a, c.slot), xb = pk.NumberBits(b, c.slot);
  if (c.storage == TStorage::Float64) {
    double da, db;
    std::memcpy(&da, &xa, 8);
    std::memcpy(&db, &xb, 8);
    return da < db ? -1 : (da > db ? 1 : 0);
  }
  const auto ia = static_cast<int64_t>(xa), ib = static_cast<int64_t>(xb);
  return ia < ib ? -1 : (ia > ib ? 1 : 0);
}

// A sortable 16-byte prefix of the first key: whenever two prefixes differ they order the
// rows as the full comparison does. Texts give their first 15 bytes and a length mark,
// numbers an order-preserving unsigned value. Nulls map to zero and sort first.
struct Prefix {
  uint64_t hi = 0, lo = 0;
};

Prefix KeyPrefix(const TDataPacket& pk, const TColumnDesc& c, int64_t row) {
  Prefix p;
  if (c.storage == TStorage::Text) {
    std::string_view v;
    if (!pk.TextCell(row, c.slot, v)) return p;
    uint8_t b[16] = {};
    std::memcpy(b, v.data(), std::min<size_t>(v.size(), 15));
    // Last byte: 1 + length for texts shorter than 15 bytes (they sort before longer texts
    // sharing their bytes), 255 for longer ones (ties go to the full comparison).
    b[15] = static_cast<uint8_t>(v.size() < 15 ? 1 + v.size() : 255u);
    for (int i = 0; i < 8; ++i) p.hi = (p.hi << 8) | b[i];
    for (int i = 8; i < 16; ++i) p.lo = (p.lo << 8) | b[i];
    return p;
  }
  if (pk.NumberIsNull(row, c.slot)) return p;
  uint64_t bits = pk.NumberBits(row, c.slot);
  if (c.storage == TStorage::Float64) {
    bits = (bits >> 63) ? ~bits : (bits | (uint64_t{1} << 63));
  } else {
    bits ^= uint64_t{1} << 63;
  }
  p.hi = bits;
  p.lo = 1;  // above null
  return p;
}
}  // namespace

void TMemTable::ApplyOrder(const std::vector<TSortKey>& keys) {
  const TDataPacket& pk = packet_;
  std::vector<const TColumnDesc*> cols;
  for (const TSortKey& k : keys) cols.push_back(&pk.Columns()[static_cast<size_t>(k.column)]);
  auto compareRows = [&](int64_t a, int64_t b) {
    for (size_t i = 0; i < keys.size(); ++i) {
      const int r = CompareCell(pk, *cols[i], a, b);
      if (r) return keys[i].descending ? -r : r;
    }
    return 0;
  };
  // Results often arrive in key order already: keep the identity then.
  bool sorted = true;
  for (int64_t r = 1; r < rows_ && sorted; ++r) sorted = compareRows(r - 1, r) <= 0;
  if (sorted) return;

  // Sort (prefix, row) items; equal prefixes fall back to the full comparison. Stable, so
  // rows with equal keys keep the server's order.
  struct Item {
    uint64_t hi, lo;
    uint32_t row;
  };
  std::vector<Item> items(static_cast<size_t>(rows_));
  const bool desc0 = keys[0].descending;
  for (int64_t r = 0; r < rows_; ++r) {
    Prefix p = KeyPrefix(pk, *cols[0], r);
    if (desc0) p = {~p.hi, ~p.lo};
    items[static_cast<size_t>(r)] = {p.hi, p.lo, static_cast<uint32_t>(r)};
  }
  std::stable_sort(items.begin(), items.end(), [&](const Item& a, const Item& b) {
    if (a.hi != b.hi) return a.hi < b.hi;
    if (a.lo != b.lo) return a.lo < b.lo;
    return compareRows(a.row, b.row) < 0;
  });
  order_.resize(static_cast<size_t>(rows_));
  for (size_t i = 0; i < items.size(); ++i) order_[i] = items[i].row;
}
