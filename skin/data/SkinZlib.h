// zlib streams for the compressed stored skin: one zlib stream (level 9, method 8, window 15
// bits, memory level 8, default strategy), worked through 65536-byte buffers.
//
// The compressing stream only takes writes and the decompressing stream only gives reads;
// anything else fails with "Invalid stream operation". Damaged data fails with
// "compression error".
#pragma once
#include <memory>

#include "platform/Exceptions.h"
#include "platform/Stream.h"

LG_DECLARE_EXCEPTION(EZlibError, Exception)
LG_DECLARE_EXCEPTION(ECompressionError, EZlibError)
LG_DECLARE_EXCEPTION(EDecompressionError, EZlibError)

enum class TCompressionLevel { clNone = 0, clFastest = 1, clDefault = 2, clMax = 3 };

struct z_stream_s;

// Deflates everything written to it into `dest` (referenced, not owned). Finish() ends the
// zlib stream; the destructor only releases zlib's state.
class TCompressionStream : public TStream {
 public:
  TCompressionStream(TCompressionLevel level, TStream& dest);
  ~TCompressionStream() override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  // Only asking for the position (bytes taken so far) is allowed.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void Finish();

 private:
  void Flush(int mode);
  TStream& dest_;
  std::unique_ptr<z_stream_s> z_;
  std::unique_ptr<uint8_t[]> buf_;
  bool finished_ = false;
};

// Inflates one zlib stream read from `source` (referenced, not owned). Reading stops at the
// end of the zlib stream; bytes after it are never looked at.
class TDecompressionStream : public TStream {
 public:
  explicit TDecompressionStream(TStream& source);
  ~TDecompressionStream() override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  // Forward moves read and drop; going back is allowed only to the start.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override;

 private:
  void Restart();
  TStream& source_;
  int64_t sourceStart_;
  std::unique_ptr<z_stream_s> z_;
  std::unique_ptr<uint8_t[]> buf_;
  bool ended_ = false;
};

// Rewinds `source` and writes all of it into `target` as one zlib stream at level 9.
void DeflateInto(TStream& source, TStream& target);
// Rewinds `source`, inflates it and appends everything to `target`, 4096 bytes at a time.
void InflateInto(TStream& target, TStream& source);
