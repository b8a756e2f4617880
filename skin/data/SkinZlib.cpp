#include "skin/data/SkinZlib.h"

#include <zlib.h>

#include <algorithm>

namespace {
constexpr int kBufferSize = 65536;
constexpr int kLevels[] = {Z_NO_COMPRESSION, Z_BEST_SPEED, Z_DEFAULT_COMPRESSION, Z_BEST_COMPRESSION};

[[noreturn]] void CompressFail() { throw ECompressionError(QStringLiteral("compression error")); }
[[noreturn]] void DecompressFail() { throw EDecompressionError(QStringLiteral("compression error")); }
[[noreturn]] void InvalidCompress() { throw ECompressionError(QStringLiteral("Invalid stream operation")); }
[[noreturn]] void InvalidDecompress() { throw EDecompressionError(QStringLiteral("Invalid stream operation")); }
}  // namespace

TCompressionStream::TCompressionStream(TCompressionLevel level, TStream& dest)
    : dest_(dest), z_(std::make_unique<z_stream>()), buf_(std::make_unique_for_overwrite<uint8_t[]>(kBufferSize)) {
  *z_ = z_stream{};
  if (deflateInit2(z_.get(), kLevels[static_cast<int>(level)], Z_DEFLATED, 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    z_.reset();
    CompressFail();
  }
  z_->next_out = buf_.get();
  z_->avail_out = kBufferSize;
}

TCompressionStream::~TCompressionStream() {
  if (z_) deflateEnd(z_.get());
}

int64_t TCompressionStream::Read(void*, int64_t) { InvalidCompress(); }

int64_t TCompressionStream::Write(const void* buffer, int64_t count) {
  if (finished_) InvalidCompress();
  const uint8_t* p = static_cast<const uint8_t*>(buffer);
  int64_t left = count;
  while (left > 0) {
    const uInt n = static_cast<uInt>(std::min<int64_t>(left, 1 << 30));
    z_->next_in = const_cast<uint8_t*>(p);
    z_->avail_in = n;
    while (z_->avail_in > 0) {
      if (deflate(z_.get(), Z_NO_FLUSH) == Z_STREAM_ERROR) CompressFail();
      if (z_->avail_out == 0) {
        dest_.WriteBuffer(buf_.get(), kBufferSize);
        z_->next_out = buf_.get();
        z_->avail_out = kBufferSize;
      }
    }
    p += n;
    left -= n;
  }
  return count;
}

int64_t TCompressionStream::Seek(int64_t offset, TSeekOrigin origin) {
  if (offset == 0 && origin == TSeekOrigin::soCurrent) return static_cast<int64_t>(z_->total_in);
  InvalidCompress();
}

void TCompressionStream::Finish() {
  if (finished_) return;
  z_->next_in = nullptr;
  z_->avail_in = 0;
  for (;;) {
    const int rc = deflate(z_.get(), Z_FINISH);
    if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) CompressFail();
    const uInt have = kBufferSize - z_->avail_out;
    if (have > 0) dest_.WriteBuffer(buf_.get(), have);
    z_->next_out = buf_.get();
    z_->avail_out = kBufferSize;
    if (rc == Z_STREAM_END) break;
  }
  finished_ = true;
}

TDecompressionStream::TDecompressionStream(TStream& source)
    : source_(source), sourceStart_(source.Position()), z_(std::make_unique<z_stream>()),
      buf_(std::make_unique_for_overwrite<uint8_t[]>(kBufferSize)) {
  *z_ = z_stream{};
  if (inflateInit(z_.get()) != Z_OK) {
    z_.reset();
    DecompressFail();
  }
}

TDecompressionStream::~TDecompressionStream() {
  if (z_) inflateEnd(z_.get());
}

int64_t TDecompressionStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || ended_) return 0;
  z_->next_out = static_cast<Bytef*>(buffer);
  z_->avail_out = static_cast<uInt>(std::min<int64_t>(count, 1 << 30));
  const uInt wanted = z_->avail_out;
  while (z_->avail_out > 0) {
    if (z_->avail_in == 0) {
      const int64_t got = source_.Read(buf_.get(), kBufferSize);
      // The source ran out before the zlib stream ended: the block is cut short.
      if (got <= 0) DecompressFail();
      z_->next_in = buf_.get();
      z_->avail_in = static_cast<uInt>(got);
    }
    const int rc = inflate(z_.get(), Z_NO_FLUSH);
    if (rc == Z_STREAM_END) {
      ended_ = true;
      break;
    }
    if (rc != Z_OK && rc != Z_BUF_ERROR) DecompressFail();
  }
  return static_cast<int64_t>(wanted - z_->avail_out);
}

int64_t TDecompressionStream::Write(const void*, int64_t) { InvalidDecompress(); }

void TDecompressionStream::Restart() {
  if (inflateReset(z_.get()) != Z_OK) DecompressFail();
  z_->next_in = nullptr;
  z_->avail_in = 0;
  ended_ = false;
  source_.SetPosition(sourceStart_);
}

int64_t TDecompressionStream::Seek(int64_t offset, TSeekOrigin origin) {
  const int64_t pos = static_cast<int64_t>(z_->total_out);
  int64_t target;
  if (origin == TSeekOrigin::soBeginning) target = offset;
  else if (origin == TSeekOrigin::soCurrent) target = pos + offset;
  else InvalidDecompress();
  if (target == 0 && pos != 0) {
    Restart();
    return 0;
  }
  if (target < pos) InvalidDecompress();
  uint8_t scratch[4096];
  while (static_cast<int64_t>(z_->total_out) < target) {
    const int64_t want = std::min<int64_t>(target - static_cast<int64_t>(z_->total_out), sizeof scratch);
    if (want <= 0 || Read(scratch, want) == 0) break;
  }
  return static_cast<int64_t>(z_->total_out);
}

int64_t TDecompressionStream::Size() { InvalidDecompress(); }

void DeflateInto(TStream& source, TStream& target) {
  source.SetPosition(0);
  TCompressionStream z(TCompressionLevel::clMax, target);
  std::unique_ptr<uint8_t[]> buf = std::make_unique_for_overwrite<uint8_t[]>(kBufferSize);
  for (;;) {
    const int64_t n = source.Read(buf.get(), kBufferSize);
    if (n <= 0) break;
    z.Write(buf.get(), n);
  }
  z.Finish();
}

void InflateInto(TStream& target, TStream& source) {
  source.SetPosition(0);
  TDecompressionStream z(source);
  if (auto* memory = dynamic_cast<TMemoryStream*>(&target)) {
    // Straight into the stream's own bytes, a step at a time.
    constexpr size_t kStep = size_t{1} << 16;
    std::vector<uint8_t>& bytes = memory->Bytes();
    for (;;) {
      const size_t at = static_cast<size_t>(memory->Position());
      const size_t before = bytes.size();
      if (before < at + kStep) bytes.resize(at + kStep);
      const size_t n = static_cast<size_t>(std::max<int64_t>(0, z.Read(bytes.data() + at, kStep)));
      memory->SetPosition(static_cast<int64_t>(at + n));
      if (n < kStep) {
        bytes.resize(std::max(before, at + n));
        return;
      }
    }
  }
  uint8_t buf[4096];
  for (;;) {
    const int64_t n = z.Read(buf, sizeof buf);
    if (n <= 0) break;
    target.WriteBuffer(buf, n);
  }
}
