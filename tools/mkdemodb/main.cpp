// mkdemodb: builds the demo voucher change log database with the embedded engine.
//   mkdemodb [--vouchers N] [--lines N] [--force] PATH   create and fill PATH
//   mkdemodb --counts PATH                                print the row counts of both tables
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <sys/stat.h>

#include "drivers/interbase/IbSession.h"
#include "tools/mkdemodb/DemoData.h"

namespace {
int Usage() {
  std::fprintf(stderr,
               "usage: mkdemodb [--vouchers N] [--lines N] [--force] PATH\n"
               "       mkdemodb --counts PATH\n");
  return 2;
}

bool ParseCount(const char* text, int64_t& out) {
  char* end = nullptr;
  const long long v = std::strtoll(text, &end, 10);
  if (!*text || *end || v < 1) return false;
  out = v;
  return true;
}
}  // namespace

int main(int argc, char** argv) {
  DemoCounts counts;
  bool countsOnly = false, force = false, vouchersGiven = false;
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--counts") {
      countsOnly = true;
    } else if (a == "--force") {
      force = true;
    } else if (a == "--vouchers" && i + 1 < argc) {
      if (!ParseCount(argv[++i], counts.vouchers)) return Usage();
      vouchersGiven = true;
    } else if (a == "--lines" && i + 1 < argc) {
      if (!ParseCount(argv[++i], counts.lines)) return Usage();
    } else if (!a.empty() && a[0] != '-' && path.empty()) {
      path = a;
    } else {
      return Usage();
    }
  }
  if (path.empty()) return Usage();
  // About five lines per voucher unless the voucher count is given.
  if (!vouchersGiven && counts.lines != 10000) counts.vouchers = std::max<int64_t>(1, counts.lines / 5);

  try {
    IbSession db(IbClient());
    if (countsOnly) {
      db.Attach(path);
      std::printf("ACC_MAIN_TEMP %lld\n", static_cast<long long>(db.QueryInt("SELECT COUNT(*) FROM ACC_MAIN_TEMP")));
      std::printf("ACC_MAST_TEMP %lld\n", static_cast<long long>(db.QueryInt("SELECT COUNT(*) FROM ACC_MAST_TEMP")));
      return 0;
    }
    struct stat st;
    if (stat(path.c_str(), &st) == 0) {
      if (!force) {
        std::fprintf(stderr, "mkdemodb: %s already exists (use --force to replace it)\n", path.c_str());
        return 1;
      }
      if (std::remove(path.c_str()) != 0) {
        std::fprintf(stderr, "mkdemodb: cannot remove %s\n", path.c_str());
        return 1;
      }
    }
    db.Create(path);
    FillDemoDatabase(db, counts);
    db.Detach();
    std::printf("%s: %lld vouchers, %lld lines\n", path.c_str(), static_cast<long long>(counts.vouchers),
                static_cast<long long>(counts.lines));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "mkdemodb: %s\n", e.what());
    return 1;
  }
}
