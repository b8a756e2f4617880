// Data packets from bytes: loading, ordering by the default order, and the display text of
// every cell through a client data set's default fields.
#include <cstddef>
#include <cstdint>

#include "db/ClientDataSet.h"
#include "platform/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    TClientDataSet ds(nullptr);
    ds.SetData(TDataPacket::Load(data, size));
    ds.Open();
    const TMemTable& table = *ds.Table();
    const int rows = ds.RecordCount() < 2000 ? ds.RecordCount() : 2000;
    size_t sink = 0;
    for (int r = 0; r < rows; ++r)
      for (int c = 0; c < table.ColumnCount(); ++c) {
        sink += static_cast<size_t>(ds.DisplayText(r, c).size());
        sink += static_cast<size_t>(table.Int(r, c));
        const double d = table.Float(r, c);
        sink += d == d;
      }
    ds.Last();
    for (int c = 0; c < ds.FieldCount(); ++c) sink += static_cast<size_t>(ds.Fields(c)->AsLargeInt());
    return sink == 1 ? 0 : 0;
  } catch (const Exception&) {
    return 0;
  }
}
