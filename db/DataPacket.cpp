#include "db/DataPacket.h"

#include <algorithm>

#include "platform/Exceptions.h"

TStorage StorageFor(TFieldType t) {
  switch (t) {
    case ftFloat:
    case ftCurrency:
      return TStorage::Float64;
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
    case ftLargeint:
    case ftBoolean:
    case ftBCD:
    case ftFMTBcd:
    case ftDate:
    case ftTime:
    case ftDateTime:
    case ftTimeStamp:
      return TStorage::Int64;
    default:
      return TStorage::Text;
  }
}

void TDataPacket::AddColumn(TColumnDesc column) {
  column.storage = StorageFor(column.dataType);
  if (column.storage == TStorage::Text) {
    column.slot = textCount_++;
  } else {
    column.slot = static_cast<int32_t>(numbers_.size());
    numbers_.emplace_back();
    nulls_.emplace_back();
  }
  columns_.push_back(std::move(column));
}

void TDataPacket::AppendRowBytes(const char* data, size_t size) {
  if (size > 0x7fffffffu) throw EDatabaseError(QStringLiteral("Record too large"));
  const uint32_t n = static_cast<uint32_t>(size);
  if (chunks_.empty() || chunks_.back().capacity - chunks_.back().used < n) {
    Chunk c;
    c.capacity = std::max(kChunkSize, n == 0 ? 1u : n);
    c.data.reset(new uint8_t[c.capacity]);
    chunks_.push_back(std::move(c));
  }
  Chunk& c = chunks_.back();
  if (n) std::memcpy(c.data.get() + c.used, data, n);
  rowStart_.push_back((static_cast<uint64_t>(chunks_.size() - 1) << 32) | c.used);
  c.used += n;
}

void TDataPacket::EndRow() { AppendRowBytes(rowBuf_.data(), rowBuf_.size()); }

void TDataPacket::Finish() {
  // The last chunk is usually far from full: move its rows into one that fits.
  if (!chunks_.empty()) {
    Chunk& c = chunks_.back();
    if (c.used < c.capacity / 2) {
      const uint32_t cap = std::max(c.used, 1u);
      std::unique_ptr<uint8_t[]> fit(new uint8_t[cap]);
      if (c.used) std::memcpy(fit.get(), c.data.get(), c.used);
      c.data = std::move(fit);
      c.capacity = cap;
    }
  }
  rowStart_.shrink_to_fit();
  for (auto& v : numbers_) v.shrink_to_fit();
  for (auto& v : nulls_) v.shrink_to_fit();
  rowBuf_ = std::string();
}

size_t TDataPacket::MemoryBytes() const {
  size_t n = rowStart_.capacity() * 8;
  for (const Chunk& c : chunks_) n += c.capacity;
  for (const auto& v : numbers_) n += v.capacity() * 8;
  for (const auto& v : nulls_) n += v.capacity() * 8;
  return n + columns_.size() * sizeof(TColumnDesc);
}

// ---------------------------------------------------------------------------------------------
// Flat byte form.

namespace {
constexpr char kMagic[4] = {'L', 'G', 'D', 'P'};
constexpr uint32_t kVersion = 1;

template <typename T>
void PutRaw(std::vector<uint8_t>& out, T v) {
  const size_t at = out.size();
  out.resize(at + sizeof v);
  std::memcpy(out.data() + at, &v, sizeof v);
}

class Reader {
 public:
  Reader(const uint8_t* p, size_t n) : p_(p), n_(n) {}
  template <typename T>
  T Get() {
    T v;
    std::memcpy(&v, Take(sizeof v), sizeof v);
    return v;
  }
  const uint8_t* Take(size_t n) {
    if (n > n_ - pos_) Fail();
    const uint8_t* r = p_ + pos_;
    pos_ += n;
    return r;
  }
  size_t Left() const { return n_ - pos_; }
  [[noreturn]] static void Fail() { throw EReadError(QStringLiteral("Invalid data packet")); }

 private:
  const uint8_t* p_;
  size_t n_;
  size_t pos_ = 0;
};
}  // namespace

std::vector<uint8_t> TDataPacket::Save() const {
  std::vector<uint8_t> out(kMagic, kMagic + 4);
  PutRaw<uint32_t>(out, kVersion);
  PutRaw<uint32_t>(out, static_cast<uint32_t>(columns_.size()));
  for (const TColumnDesc& c : columns_) {
    const QByteArray name = c.name.toUtf8();
    PutRaw<uint32_t>(out, static_cast<uint32_t>(name.size()));
    out.insert(out.end(), name.begin(), name.end());
    PutRaw<uint8_t>(out, static_cast<uint8_t>(c.dataType));
    PutRaw<int32_t>(out, c.size);
    PutRaw<int32_t>(out, c.precision);
    PutRaw<int32_t>(out, c.scale);
    PutRaw<int32_t>(out, c.charSet);
    PutRaw<uint8_t>(out, c.required ? 1 : 0);
  }
  PutRaw<int32_t>(out, lcid_);
  PutRaw<uint32_t>(out, static_cast<uint32_t>(defaultOrder_.size()));
  for (const TSortKey& k : defaultOrder_) {
    PutRaw<int32_t>(out, k.column);
    PutRaw<uint8_t>(out, k.descending ? 1 : 0);
  }
  const int64_t rows = RowCount();
  PutRaw<uint64_t>(out, static_cast<uint64_t>(rows));
  // Text rows, concatenated; their lengths follow from the varints.
  size_t textBytes = 0;
  for (const Chunk& c : chunks_) textBytes += c.used;
  PutRaw<uint64_t>(out, textBytes);
  for (const Chunk& c : chunks_) out.insert(out.end(), c.data.get(), c.data.get() + c.used);
  for (size_t s = 0; s < numbers_.size(); ++s) {
    const auto* b = reinterpret_cast<const uint8_t*>(numbers_[s].data());
    out.insert(out.end(), b, b + numbers_[s].size() * 8);
    const auto* nb = reinterpret_cast<const uint8_t*>(nulls_[s].data());
    out.insert(out.end(), nb, nb + nulls_[s].size() * 8);
  }
  return out;
}

TDataPacket TDataPacket::Load(const uint8_t* data, size_t size) {
  Reader r(data, size);
  if (std::memcmp(r.Take(4), kMagic, 4) != 0) Reader::Fail();
  if (r.Get<uint32_t>() != kVersion) Reader::Fail();
  TDataPacket pk;
  const uint32_t ncols = r.Get<uint32_t>();
  if (ncols > 32768 || ncols > r.Left() / 22) Reader::Fail();
  for (uint32_t i = 0; i < ncols; ++i) {
    TColumnDesc c;
    const uint32_t len = r.Get<uint32_t>();
    if (len > r.Left()) Reader::Fail();
    c.name = QString::fromUtf8(reinterpret_cast<const char*>(r.Take(len)), static_cast<qsizetype>(len));
    const uint8_t t = r.Get<uint8_t>();
    if (t > ftFMTBcd) Reader::Fail();
    c.dataType = static_cast<TFieldType>(t);
    c.size = r.Get<int32_t>();
    c.precision = r.Get<int32_t>();
    c.scale = r.Get<int32_t>();
    c.charSet = r.Get<int32_t>();
    const uint8_t req = r.Get<uint8_t>();
    if (req > 1 || c.size < 0 || c.precision < 0 || c.scale < 0 || c.scale > 18) Reader::Fail();
    c.required = req == 1;
    pk.AddColumn(std::move(c));
  }
  pk.lcid_ = r.Get<int32_t>();
  const uint32_t norder = r.Get<uint32_t>();
  if (norder > ncols) Reader::Fail();
  for (uint32_t i = 0; i < norder; ++i) {
    TSortKey k;
    k.column = r.Get<int32_t>();
    const uint8_t d = r.Get<uint8_t>();
    if (k.column < 0 || static_cast<uint32_t>(k.column) >= ncols || d > 1) Reader::Fail();
    k.descending = d == 1;
    pk.defaultOrder_.push_back(k);
  }
  const uint64_t rows = r.Get<uint64_t>();
  const uint64_t textBytes = r.Get<uint64_t>();
  if (textBytes > r.Left() || textBytes >= (uint64_t{1} << 32)) Reader::Fail();
  // Every row takes at least one byte per text cell and 8 per number cell.
  const uint64_t perRow = static_cast<uint64_t>(pk.textCount_) + 8u * pk.numbers_.size();
  if (perRow == 0 ? rows > 0 : rows > r.Left() / perRow) Reader::Fail();
  const uint8_t* text = r.Take(static_cast<size_t>(textBytes));

  Chunk chunk;
  chunk.capacity = std::max<uint32_t>(static_cast<uint32_t>(textBytes), 1u);
  chunk.data.reset(new uint8_t[chunk.capacity]);
  if (textBytes) std::memcpy(chunk.data.get(), text, static_cast<size_t>(textBytes));
  chunk.used = static_cast<uint32_t>(textBytes);
  pk.rowStart_.reserve(static_cast<size_t>(rows));
  uint64_t pos = 0;
  for (uint64_t row = 0; row < rows; ++row) {
    pk.rowStart_.push_back(pos);
    for (int i = 0; i < pk.textCount_; ++i) {
      uint64_t v = 0;
      int shift = 0;
      for (;;) {
        if (pos >= textBytes || shift > 63) Reader::Fail();
        const uint8_t b = text[pos++];
        v |= static_cast<uint64_t>(b & 0x7f) << shift;
        shift += 7;
        if (!(b & 0x80)) break;
      }
      if (v > 0 && v - 1 > textBytes - pos) Reader::Fail();
      if (v > 0) pos += v - 1;
    }
  }
  if (pos != textBytes) Reader::Fail();
  pk.chunks_.push_back(std::move(chunk));

  const size_t words = static_cast<size_t>((rows + 63) / 64);
  for (size_t s = 0; s < pk.numbers_.size(); ++s) {
    if (rows > r.Left() / 8) Reader::Fail();
    const uint8_t* b = r.Take(static_cast<size_t>(rows) * 8);
    pk.numbers_[s].resize(static_cast<size_t>(rows));
    if (rows) std::memcpy(pk.numbers_[s].data(), b, static_cast<size_t>(rows) * 8);
    if (words > r.Left() / 8) Reader::Fail();
    const uint8_t* nb = r.Take(words * 8);
    pk.nulls_[s].resize(words);
    if (words) std::memcpy(pk.nulls_[s].data(), nb, words * 8);
  }
  if (r.Left() != 0) Reader::Fail();
  return pk;
}
