// The data packet: one complete result as the provider writes it and the client data set
// loads it. Column descriptions, the attributes ("LCID", "DEFAULT_ORDER") and every row.
//
// Layout (what the in-memory table keeps, adopted without copying):
// - text arena: rows are contiguous; each row holds its text-like cells in column order, each
//   cell a LEB128 varint of (byte length + 1), 0 meaning null, followed by the bytes. Rows live
//   in chunks so the arena never reallocates; `rowStart` holds (chunk << 32 | offset) per row.
// - one array of 8-byte values per number column (double bits or a 64-bit integer) and a null
//   bitmap beside it (bit set = null).
// Save/Load give a flat byte form; Load checks everything and raises EReadError on bad bytes.
#pragma once
#include <QString>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "db/FieldTypes.h"

enum class TStorage : uint8_t { Text, Float64, Int64 };

// How a column of the given kind is stored.
TStorage StorageFor(TFieldType t);

struct TColumnDesc {
  QString name;
  TFieldType dataType = ftUnknown;
  int32_t size = 0;       // text: characters; others 0
  int32_t precision = 0;  // fixed-point digits
  int32_t scale = 0;      // fixed-point: digits after the point
  int32_t charSet = 0;    // server character set id of text (decides the decoding)
  bool required = false;
  TStorage storage = TStorage::Text;
  int32_t slot = 0;  // index among the text cells of a row, or among the number arrays
};

struct TSortKey {
  int32_t column = 0;
  bool descending = false;
  friend bool operator==(const TSortKey&, const TSortKey&) = default;
};

class TDataPacket {
 public:
  static constexpr uint32_t kChunkSize = 4u << 20;

  TDataPacket() = default;
  TDataPacket(TDataPacket&&) noexcept = default;
  TDataPacket& operator=(TDataPacket&&) noexcept = default;

  // --- description
  // Adds a column; its storage and slot follow from its kind. Only before the first row.
  void AddColumn(TColumnDesc column);
  const std::vector<TColumnDesc>& Columns() const { return columns_; }
  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  int TextColumnCount() const { return textCount_; }
  int NumberColumnCount() const { return static_cast<int>(numbers_.size()); }

  int32_t Lcid() const { return lcid_; }
  void SetLcid(int32_t lcid) { lcid_ = lcid; }
  const std::vector<TSortKey>& DefaultOrder() const { return defaultOrder_; }
  void SetDefaultOrder(std::vector<TSortKey> keys) { defaultOrder_ = std::move(keys); }

  // --- writing rows: BeginRow, then for every column in order one Put call, then EndRow.
  void BeginRow() { rowBuf_.clear(); }
  void PutText(const char* data, size_t length) {
    PutVarint(rowBuf_, static_cast<uint64_t>(length) + 1);
    rowBuf_.append(data, length);
  }
  void PutNullText() { rowBuf_.push_back('\0'); }
  void PutNumber(int32_t slot, uint64_t bits, bool isNull) {
    const size_t row = numbers_[static_cast<size_t>(slot)].size();
    numbers_[static_cast<size_t>(slot)].push_back(isNull ? 0 : bits);
    std::vector<uint64_t>& nulls = nulls_[static_cast<size_t>(slot)];
    if ((row & 63) == 0) nulls.push_back(0);
    if (isNull) nulls.back() |= uint64_t{1} << (row & 63);
  }
  void PutDouble(int32_t slot, double v, bool isNull) {
    uint64_t bits;
    std::memcpy(&bits, &v, 8);
    PutNumber(slot, bits, isNull);
  }
  void EndRow();
  // Gives back spare capacity once every row is written.
  void Finish();

  // --- reading
  int64_t RowCount() const { return static_cast<int64_t>(rowStart_.size()); }
  const uint8_t* RowText(int64_t row) const {
    const uint64_t s = rowStart_[static_cast<size_t>(row)];
    return chunks_[static_cast<size_t>(s >> 32)].data.get() + static_cast<uint32_t>(s);
  }
  // The cell of text slot `slot` in a row: null -> false.
  bool TextCell(int64_t row, int32_t slot, std::string_view& out) const {
    const uint8_t* p = RowText(row);
    for (int32_t i = 0;; ++i) {
      uint64_t v = *p++;
      if (v & 0x80) {
        v &= 0x7f;
        int shift = 7;
        uint8_t b;
        do {
          b = *p++;
          v |= static_cast<uint64_t>(b & 0x7f) << shift;
          shift += 7;
        } while (b & 0x80);
      }
      if (i == slot) {
        if (v == 0) return false;
        out = std::string_view(reinterpret_cast<const char*>(p), static_cast<size_t>(v - 1));
        return true;
      }
      if (v) p += v - 1;
    }
  }
  uint64_t NumberBits(int64_t row, int32_t slot) const {
    return numbers_[static_cast<size_t>(slot)][static_cast<size_t>(row)];
  }
  bool NumberIsNull(int64_t row, int32_t slot) const {
    return (nulls_[static_cast<size_t>(slot)][static_cast<size_t>(row) >> 6] >> (row & 63)) & 1;
  }

  // Bytes held for the rows (arena chunks, row starts, number arrays, null bitmaps).
  size_t MemoryBytes() const;

  // --- flat byte form
  std::vector<uint8_t> Save() const;
  static TDataPacket Load(const uint8_t* data, size_t size);

  static void PutVarint(std::string& out, uint64_t v) {
    while (v >= 0x80) {
      out.push_back(static_cast<char>((v & 0x7f) | 0x80));
      v >>= 7;
    }
    out.push_back(static_cast<char>(v));
  }

 private:
  struct Chunk {
    std::unique_ptr<uint8_t[]> data;
    uint32_t capacity = 0;
    uint32_t used = 0;
  };
  void AppendRowBytes(const char* data, size_t size);

  std::vector<TColumnDesc> columns_;
  int textCount_ = 0;
  int32_t lcid_ = 0;
  std::vector<TSortKey> defaultOrder_;
  std::vector<Chunk> chunks_;
  std::vector<uint64_t> rowStart_;
  std::vector<std::vector<uint64_t>> numbers_;
  std::vector<std::vector<uint64_t>> nulls_;
  std::string rowBuf_;
};
