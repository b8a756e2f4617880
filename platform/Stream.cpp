#include "platform/Stream.h"

#include <QFile>
#include <algorithm>
#include <cstring>

#include "platform/Exceptions.h"

int64_t TStream::Size() {
  const int64_t pos = Seek(0, TSeekOrigin::soCurrent);
  const int64_t end = Seek(0, TSeekOrigin::soEnd);
  Seek(pos, TSeekOrigin::soBeginning);
  return end;
}

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError(QStringLiteral("Stream read error"));
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError(QStringLiteral("Stream write error"));
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count == 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  std::vector<uint8_t> buf(static_cast<size_t>(std::min<int64_t>(count, 1 << 16)));
  int64_t left = count;
  while (left > 0) {
    const int64_t n = std::min<int64_t>(left, static_cast<int64_t>(buf.size()));
    source.ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    left -= n;
  }
  return count;
}

int64_t TMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || pos_ >= Size()) return 0;
  const int64_t n = std::min<int64_t>(count, Size() - pos_);
  std::memcpy(buffer, data_.data() + pos_, static_cast<size_t>(n));
  pos_ += n;
  return n;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  if (pos_ + count > Size()) data_.resize(static_cast<size_t>(pos_ + count));
  std::memcpy(data_.data() + pos_, buffer, static_cast<size_t>(count));
  pos_ += count;
  return count;
}

int64_t TMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t p = origin == TSeekOrigin::soBeginning ? offset : origin == TSeekOrigin::soCurrent ? pos_ + offset : Size() + offset;
  pos_ = std::max<int64_t>(0, p);
  return pos_;
}

void TMemoryStream::SetSize(int64_t n) {
  data_.resize(static_cast<size_t>(std::max<int64_t>(0, n)));
  pos_ = std::min(pos_, Size());
}

void TMemoryStream::LoadFromFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly))
    throw EFOpenError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, f.errorString()));
  const QByteArray b = f.readAll();
  data_.assign(b.begin(), b.end());
  pos_ = 0;
}

void TMemoryStream::SaveToFile(const QString& path) const {
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      f.write(reinterpret_cast<const char*>(data_.data()), static_cast<qint64>(data_.size())) != static_cast<qint64>(data_.size()))
    throw EFOpenError(QStringLiteral("Cannot create file \"%1\". %2").arg(path, f.errorString()));
}

int64_t TBytesStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || pos_ >= size_) return 0;
  const int64_t n = std::min<int64_t>(count, size_ - pos_);
  std::memcpy(buffer, data_ + pos_, static_cast<size_t>(n));
  pos_ += n;
  return n;
}

int64_t TBytesStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t p = origin == TSeekOrigin::soBeginning ? offset : origin == TSeekOrigin::soCurrent ? pos_ + offset : size_ + offset;
  pos_ = std::max<int64_t>(0, p);
  return pos_;
}
