// Byte streams: the memory stream that byte-block properties and skin containers use,
// and a file stream. Reading past the end with ReadBuffer raises EReadError.
#pragma once
#include <QString>
#include <cstdint>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream {
 public:
  virtual ~TStream() = default;
  // Reads up to `count` bytes; returns how many were read.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;

  int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
  void SetPosition(int64_t p) { Seek(p, TSeekOrigin::soBeginning); }
  virtual int64_t Size();
  // Exactly `count` bytes or EReadError("Stream read error").
  void ReadBuffer(void* buffer, int64_t count);
  // Exactly `count` bytes or EWriteError("Stream write error").
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies `count` bytes from `source` (all of it from its start when count is 0).
  int64_t CopyFrom(TStream& source, int64_t count);
};

class TMemoryStream : public TStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::vector<uint8_t> bytes) : data_(std::move(bytes)) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return static_cast<int64_t>(data_.size()); }
  void SetSize(int64_t n);
  void Clear() { data_.clear(); pos_ = 0; }
  const uint8_t* Memory() const { return data_.data(); }
  uint8_t* Memory() { return data_.data(); }
  const std::vector<uint8_t>& Bytes() const { return data_; }
  std::vector<uint8_t>& Bytes() { return data_; }
  void LoadFromFile(const QString& path);  // EFOpenError when it cannot be read
  void SaveToFile(const QString& path) const;

 private:
  std::vector<uint8_t> data_;
  int64_t pos_ = 0;
};

// A read-only view over bytes the caller keeps alive.
class TBytesStream : public TStream {
 public:
  TBytesStream(const void* data, int64_t size) : data_(static_cast<const uint8_t*>(data)), size_(size) {}
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void*, int64_t) override { return 0; }
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size_; }

 private:
  const uint8_t* data_;
  int64_t size_;
  int64_t pos_ = 0;
};
