// The in-memory table of a client data set: the adopted data packet, its rows put in the
// packet's default order through an index permutation. Read-only; rows are 0-based in
// presentation order.
#pragma once
#include <QString>
#include <cstdint>
#include <string_view>
#include <vector>

#include "db/DataPacket.h"

class TMemTable {
 public:
  explicit TMemTable(TDataPacket&& packet);

  int RowCount() const { return static_cast<int>(rows_); }
  int ColumnCount() const { return packet_.ColumnCount(); }
  const TColumnDesc& Column(int i) const { return packet_.Columns()[static_cast<size_t>(i)]; }
  // Column index by name (without regard to case), -1 when absent.
  int ColumnIndex(const QString& name) const;
  int32_t Lcid() const { return packet_.Lcid(); }
  const TDataPacket& Packet() const { return packet_; }

  bool IsNull(int row, int col) const {
    const TColumnDesc& c = Column(col);
    const int64_t r = Physical(row);
    if (c.storage == TStorage::Text) {
      std::string_view v;
      return !packet_.TextCell(r, c.slot, v);
    }
    return packet_.NumberIsNull(r, c.slot);
  }
  // Bytes of a text cell; empty for null.
  std::string_view TextBytes(int row, int col) const {
    std::string_view v;
    packet_.TextCell(Physical(row), Column(col).slot, v);
    return v;
  }
  QString Text(int row, int col) const;
  double Float(int row, int col) const;
  int64_t Int(int row, int col) const;

  // Bytes held: the packet's storage plus the permutation.
  size_t MemoryBytes() const { return packet_.MemoryBytes() + order_.capacity() * sizeof(uint32_t); }

  // Decodes text bytes of a column with the given server character set.
  static QString DecodeText(std::string_view bytes, int32_t charSet);

 private:
  int64_t Physical(int row) const { return order_.empty() ? row : order_[static_cast<size_t>(row)]; }
  void ApplyOrder(const std::vector<TSortKey>& keys);

  TDataPacket packet_;
  int64_t rows_ = 0;
  std::vector<uint32_t> order_;  // presentation row -> packet row; empty means the same
};
