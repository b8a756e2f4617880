// Loading the compressed skin from its stored block to a usable TbsSkinData, against zlib
// alone inflating the same block in the same process.
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/Exceptions.h"
#include "skin/data/SkinData.h"

namespace {
using Clock = std::chrono::steady_clock;

template <class F>
double BestMicros(int rounds, F&& f) {
  double best = 1e30;
  for (int i = 0; i < rounds; ++i) {
    const auto t0 = Clock::now();
    f();
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    best = std::min(best, us);
  }
  return best;
}
}  // namespace

int main() {
  const char* src = std::getenv("LEDGERLY_SOURCE_DIR");
  const QString root = src ? QString::fromLocal8Bit(src) : QStringLiteral(LEDGERLY_SOURCE_DIR_DEFAULT);
  TbsCompressedStoredSkin made(nullptr);
  try {
    made.CompressFromSkinFile(root + QStringLiteral("/skins/slate/SKIN.INI"));
  } catch (const Exception& e) {
    std::fprintf(stderr, "bench_skin_data: %s\n", qPrintable(e.Message()));
    return 1;
  }
  // The block exactly as the form definition stores it.
  const std::vector<uint8_t> block = made.CompressedData.Bytes();
  std::vector<uint8_t> out(1 << 22);
  uLongf contentSize = static_cast<uLongf>(out.size());
  if (uncompress(out.data(), &contentSize, block.data(), static_cast<uLong>(block.size())) != Z_OK) return 1;

  constexpr int kRounds = 200;
  size_t sink = 0;
  const double inflateUs = BestMicros(kRounds, [&] {
    uLongf n = static_cast<uLongf>(out.size());
    uncompress(out.data(), &n, block.data(), static_cast<uLong>(block.size()));
    sink += n;
  });
  // Timed: the stored bytes into the container, then the reference assignment that loads
  // the skin. Creating the empty components and freeing the loaded skin are not.
  double loadUs = 1e30;
  for (int i = 0; i < kRounds; ++i) {
    auto container = std::make_unique<TbsCompressedStoredSkin>(nullptr);
    auto skin = std::make_unique<TbsSkinData>(nullptr);
    const auto t0 = Clock::now();
    TBytesStream prop(block.data(), static_cast<int64_t>(block.size()));
    container->ReadData(prop);
    skin->SetCompressedStoredSkin(container.get());
    const double us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    loadUs = std::min(loadUs, us);
    sink += skin->SkinControls.size() + skin->activepictures.size();
  }
  std::printf("block %zu bytes, content %lu bytes (best of %d)\n", block.size(), static_cast<unsigned long>(contentSize), kRounds);
  std::printf("zlib inflate alone        %10.1f us\n", inflateUs);
  std::printf("block to loaded skin data %10.1f us\n", loadUs);
  std::printf("(checksum %zu)\n", sink);
  std::printf("RATIO skin_compressed_load_vs_inflate %.3f\n", loadUs / inflateUs);
  return 0;
}
